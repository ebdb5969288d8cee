#pragma once
// The claims rule of a batch: no file of a batch writes a file that another
// file of the batch reads or writes. Without it a decode of "01.mp3" would
// write over the "01.wav" dropped with it, and two albums' "01 Track.wav"
// would end in one MP3. Files are compared as the kernel sees them
// (job/FileIdentity.h), so links, "..", and names that differ only in case
// in a folder that ignores case all meet.

#include <string>
#include <vector>

#include "job/FileIdentity.h"

// What one batch has read and written so far: every input it was given
// (queued, running or done), and every output granted.
struct BatchClaims {
    std::vector<FileKey> Inputs;
    std::vector<FileKey> Outputs;
    CaseFoldProbe FoldsCase = FolderFoldsCase;
};

// Called when a path joins the batch. False, and nothing recorded, when the
// batch has that input already (reached through another path): it is
// converted once.
bool AddBatchInput(BatchClaims& claims, const FileKey& input);

// The rule, asked when a file of the batch has named its output: the output
// must not be an input of the batch (other than the file's own input, which
// the job refuses with its own message) nor an output already granted, and
// the file's input must not be an output already granted. Grants and
// records the output when none of these holds.
bool ClaimOutput(BatchClaims& claims, const std::string& input, const std::string& output);
