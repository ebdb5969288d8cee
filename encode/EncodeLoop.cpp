#include "encode/EncodeLoop.h"

#include <cerrno>
#include <memory>
#include <optional>
#include <vector>

#include "encode/CoverArt.h"
#include "settings/ErrorReport.h"

namespace {

// lame_encode_buffer_int and lame_encode_flush give -1 when the output
// buffer is too small; other negative values are internal errors.
constexpr int kLameBufferTooSmall = -1;

bool WriteAll(std::FILE* output, const unsigned char* bytes, std::size_t count) {
    return count == 0 || std::fwrite(bytes, 1, count, output) == count;
}

void ReportEncodeError(const ErrorReporter& errors, int result) {
    if (result == kLameBufferTooSmall) ReportError(errors, "mp3 buffer is not big enough... \n");
    else ReportError(errors, "mp3 internal error:  error code=%i\n", result);
}

void ReportProgressOf(const AudioSource& source, lame_t context, int64_t samplesRead) {
    if (source.ProgressOp) source.ProgressOp(static_cast<int64_t>(lame_get_num_samples(context)), samplesRead);
}

// The library's tag with the picture added; the library's alone, after a
// warning, when the picture cannot join it.
std::vector<unsigned char> TagWithCover(const ErrorReporter& errors, std::vector<unsigned char> tag,
                                        const SourcePicture& cover) {
    std::optional<std::vector<unsigned char>> withCover = WithApicFrame(tag, cover);
    if (withCover) return std::move(*withCover);
    ReportError(errors, "Warning: the picture could not be added to the ID3v2 tag\n");
    return tag;
}

// Returns the size written, or -1 after reporting a short write. The library
// only fills the tag; the picture is added here, since the library's own
// picture support fails on large pictures.
long WriteId3v2Tag(const ErrorReporter& errors, lame_t context, std::FILE* output, const SourcePicture* cover) {
    std::vector<unsigned char> tag(lame_get_id3v2_tag(context, nullptr, 0));
    if (!tag.empty()) tag.resize(lame_get_id3v2_tag(context, tag.data(), tag.size()));
    if (cover) tag = TagWithCover(errors, std::move(tag), *cover);
    if (!WriteAll(output, tag.data(), tag.size())) {
        ReportError(errors, "Error writing ID3v2 tag \n");
        return -1;
    }
    return static_cast<long>(tag.size());
}

// Returns false after reporting a short write; a tag that does not fit is
// reported and skipped.
bool WriteId3v1Tag(const ErrorReporter& errors, lame_t context, std::FILE* output) {
    unsigned char tag[kId3v1TagSize];
    std::size_t size = lame_get_id3v1_tag(context, tag, sizeof tag);
    if (size > sizeof tag) {
        ReportError(errors, "Error writing ID3v1 tag: buffer too small: buffer size=%d  ID3v1 size=%d\n",
                    static_cast<int>(sizeof tag), static_cast<int>(size));
        return true;
    }
    if (!WriteAll(output, tag, size)) {
        ReportError(errors, "Error writing ID3v1 tag \n");
        return false;
    }
    return true;
}

// Problems here are reported but leave the audio usable.
void RewriteLameTagFrame(const ErrorReporter& errors, lame_t context, std::FILE* output, long audioStart, unsigned char* buffer) {
    std::size_t size = lame_get_lametag_frame(context, buffer, kMp3BufferSize);
    if (size == 0) return;
    if (size > kMp3BufferSize) {
        ReportError(errors, "Error writing LAME-tag frame: buffer too small: buffer size=%d  frame size=%d\n",
                    static_cast<int>(kMp3BufferSize), static_cast<int>(size));
        return;
    }
    if (std::fseek(output, audioStart, SEEK_SET) != 0) {
        ReportError(errors, "fatal error: can't update LAME-tag frame!\n");
        return;
    }
    if (!WriteAll(output, buffer, size)) ReportError(errors, "Error writing LAME-tag \n");
}

}  // namespace

int EncodeLoop(lame_t context, std::FILE* output, AudioSource& source, const std::atomic<int32_t>* stop,
               BlockReader readBlock, const SourcePicture* cover) {
    const ErrorReporter& errors = source.Errors;
    const long audioStart = WriteId3v2Tag(errors, context, output, cover);
    if (audioStart < 0) return kEncodeLoopFailed;

    // Taken once: nothing is allocated while the audio runs.
    auto samples = std::make_unique<int32_t[][kBlockFrames]>(2);
    auto mp3 = std::make_unique<unsigned char[]>(kMp3BufferSize);

    SampleTally tally;
    bool readFailed = false;
    int32_t count = 0;
    do {
        if (stop && stop->load(std::memory_order_relaxed) != 0) return kEncodeLoopCancelled;
        count = readBlock(samples.get(), source);
        if (count < 0) {
            readFailed = true;
            break;
        }
        if (tally.Add(count)) ReportProgressOf(source, context, tally.Read);
        int encoded = lame_encode_buffer_int(context, samples[0], samples[1], count, mp3.get(),
                                             static_cast<int>(kMp3BufferSize));
        if (encoded < 0) {
            ReportEncodeError(errors, encoded);
            return kEncodeLoopFailed;
        }
        if (!WriteAll(output, mp3.get(), static_cast<std::size_t>(encoded))) {
            ReportError(errors, "Error writing mp3 output \n");
            return kEncodeLoopFailed;
        }
    } while (count > 0);

    int flushed = lame_encode_flush(context, mp3.get(), static_cast<int>(kMp3BufferSize));
    if (flushed < 0) {
        ReportEncodeError(errors, flushed);
        return kEncodeLoopFailed;
    }
    ReportProgressOf(source, context, tally.Read);
    if (!WriteAll(output, mp3.get(), static_cast<std::size_t>(flushed))) {
        ReportError(errors, "Error writing mp3 output \n");
        return kEncodeLoopFailed;
    }

    if (!WriteId3v1Tag(errors, context, output)) return kEncodeLoopFailed;
    // Buffered bytes that cannot be written (a full disk) would otherwise
    // only show as a failed seek below, which leaves the file counted as done.
    if (std::fflush(output) != 0) {
        ReportError(errors, "Error writing mp3 output \n");
        return kEncodeLoopFailed;
    }
    RewriteLameTagFrame(errors, context, output, audioStart, mp3.get());

    // The stream is finished so that what was read stays playable, but a file
    // whose input broke off must not pass as a complete conversion.
    if (readFailed || source.Damaged()) {
        ReportReadDamage(source);
        return kEncodeLoopFailed;
    }
    return kEncodeLoopDone;
}

bool CloseMp3Output(std::FILE* output, const ErrorReporter* errors) {
    errno = 0;
    if (std::fclose(output) == 0) return true;
    if (errors) ReportError(*errors, "%s", kMp3WriteErrorMessage);
    return false;
}
