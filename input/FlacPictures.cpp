#include "input/FlacPictures.h"

#include <string_view>

#include "input/Id3v2Skip.h"
#include "input/PictureBlock.h"
#include "settings/ErrorReport.h"

namespace {

constexpr std::size_t kMarkerBytes = 4;  // "fLaC"
constexpr std::size_t kBlockHeaderBytes = 4;
constexpr uint8_t kLastBlockFlag = 0x80;
constexpr uint8_t kBlockTypeMask = 0x7F;
constexpr uint8_t kPictureBlockType = 6;
// The metadata held back for the decoder stays within this; past it the
// decoder reads on from the file and skips any later picture unread.
constexpr std::size_t kMostHeldBytes = 64u * 1024u * 1024u;

}  // namespace

std::vector<uint8_t> TakeFlacPictures(std::FILE* file, std::vector<uint8_t> head, CommentList& list,
                                      const ErrorReporter& errors) {
    std::size_t at = kMarkerBytes;
    std::size_t lastKept = 0;  // header offset of the last block kept; 0: none yet
    for (;;) {
        if (!FillHead(file, head, at + kBlockHeaderBytes)) return head;
        const bool last = (head[at] & kLastBlockFlag) != 0;
        const uint8_t type = head[at] & kBlockTypeMask;
        const std::size_t length = std::size_t{head[at + 1]} << 16 | std::size_t{head[at + 2]} << 8 | head[at + 3];
        const std::size_t end = at + kBlockHeaderBytes + length;
        if (end > kMostHeldBytes || !FillHead(file, head, end)) return head;
        if (type != kPictureBlockType) {
            lastKept = at;
            at = end;
        } else {
            const std::string_view body(reinterpret_cast<const char*>(head.data() + at + kBlockHeaderBytes), length);
            if (std::optional<SourcePicture> picture = ParsePictureBlock(body)) {
                OfferPicture(list, std::move(*picture), errors);
            } else {
                ReportMessage(errors, "Warning: a damaged picture was skipped\n");
            }
            head.erase(head.begin() + static_cast<std::ptrdiff_t>(at), head.begin() + static_cast<std::ptrdiff_t>(end));
            // The block before takes over the mark that ends the metadata.
            if (last && lastKept != 0) head[lastKept] |= kLastBlockFlag;
        }
        if (last) return head;
    }
}
