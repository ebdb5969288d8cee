#include "queue/BatchClaims.h"

#include <algorithm>

namespace {

bool AnyIsSame(const std::vector<FileKey>& keys, const FileKey& key) {
    return std::any_of(keys.begin(), keys.end(), [&](const FileKey& other) { return SameFile(other, key); });
}

}  // namespace

bool AddBatchInput(BatchClaims& claims, const FileKey& input) {
    if (AnyIsSame(claims.Inputs, input)) return false;
    claims.Inputs.push_back(input);
    return true;
}

bool ClaimOutput(BatchClaims& claims, const std::string& input, const std::string& output) {
    const FileKey ownInput = KeyOfFile(input, claims.FoldsCase);
    const FileKey claimed = KeyOfFile(output, claims.FoldsCase);
    for (const FileKey& other : claims.Inputs) {
        if (!SameFile(other, ownInput) && SameFile(other, claimed)) return false;
    }
    for (FileKey& granted : claims.Outputs) RefreshKey(granted);
    if (AnyIsSame(claims.Outputs, claimed) || AnyIsSame(claims.Outputs, ownInput)) return false;
    claims.Outputs.push_back(claimed);
    return true;
}
