// libFuzzer target for the container probe-and-read path: any bytes are
// opened as a ".wav" input and, when a reader accepts them, read to the end
// in both block layouts. The first byte picks a seekable file or a pipe,
// which cannot seek, so chunks are skipped by reading.

#include <string>
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
        int32_t frames = (block & 1) ? ReadSourceBlock16(nullptr, decoder, source)
                                     : ReadSourceBlock(nullptr, encoder, source);
        if (frames == 0) return;
        if (frames < 0 || frames > kBlockFrames) __builtin_trap();
    }
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Reader warnings are expected for most inputs; they go nowhere.
    RegisterMessageBoxSink([](const std::string&) {});
    SelectErrorSink(0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A pipe's buffer takes 64 KiB before its writer would wait for a reader.
    if (size == 0 || size > 65536) return 0;
    const bool seekable = !(data[0] & 1);
    int ends[2];
    if (seekable ? (ends[0] = ends[1] = memfd_create("quavermill-fuzz", 0)) < 0 : pipe(ends) != 0) return 0;
    const bool written = write(ends[1], data + 1, size - 1) == static_cast<ssize_t>(size - 1);
    if (!seekable) close(ends[1]);
    AudioSource source;
    source.Type = 2;  // ".wav"
    int delay = -1, padding = -1;
    if (written && OpenAudioSource(nullptr, "/proc/self/fd/" + std::to_string(ends[0]), &delay, &padding, source)) {
        if (source.Channels != 1 && source.Channels != 2) __builtin_trap();
        ReadToEnd(source);
    }
    close(ends[0]);
    return 0;
}
