// libFuzzer target for the open-and-read path of every reader: any bytes are opened as an input and, when
// a reader accepts them, read to the end in both block layouts. The first byte picks a seekable file or a
// pipe (which cannot seek, so chunks are skipped by reading), and the extension of the format table the
// input is named by: ".wav" is read by content (WAV, AIFF, FLAC), the others by their type's reader.

#include <string>
#include <vector>
#include <sys/mman.h>
#include <unistd.h>

#include "input/AudioSource.h"
#include "settings/ErrorReport.h"

namespace {

// 4096 blocks are more than an input of the fuzzer's size limit holds: a
// reader that has not ended by then is a finding.
void ReadToEnd(AudioSource& source) {
    int32_t encoder[2][kBlockFrames];
    int16_t decoder[2][kBlockFrames];
    for (int block = 0; block < 4096; ++block) {
        int32_t frames = (block & 1) ? ReadSourceBlock16(decoder, source) : ReadSourceBlock(encoder, source);
        if (frames == 0 || frames == -1) return;
        if (frames < 0 || frames > kBlockFrames) __builtin_trap();
    }
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A pipe's buffer takes 64 KiB before its writer would wait for a reader.
    if (size == 0 || size > 65536) return 0;
    const bool seekable = !(data[0] & 1);
    int ends[2];
    if (seekable ? (ends[0] = ends[1] = memfd_create("quavermill-fuzz", 0)) < 0 : pipe(ends) != 0) return 0;
    const bool written = write(ends[1], data + 1, size - 1) == static_cast<ssize_t>(size - 1);
    if (!seekable) close(ends[1]);
    // In table order, so a new format is reached without a change here.
    static const std::vector<SourceType> kTypes = [] {
        std::vector<SourceType> types;
        for (const InputFormat& format : InputFormats()) {
            for (const FormatExtension& extension : format.Extensions) {
                if (extension.Extension) types.push_back(ClassifyPath(extension.Extension));
            }
        }
        return types;
    }();
    AudioSource source;
    source.Type = kTypes[((data[0] >> 1) & 15) % kTypes.size()];
    source.CommentMode = 2;  // the comment paths too
    if (written && OpenAudioSource("/proc/self/fd/" + std::to_string(ends[0]), source)) {
        if (source.Channels != 1 && source.Channels != 2) __builtin_trap();
        ReadToEnd(source);
    }
    close(ends[0]);
    return 0;
}
