// libFuzzer target for the open-and-read path of every reader: any bytes are opened as an input and, when
// a reader accepts them, read to the end in both block layouts. The first byte picks a seekable file or a
// pipe (which cannot seek, so chunks are skipped by reading), and the extension of the format table the
// input is named by: the probing rows read by content (WAV, AIFF, FLAC, Vorbis, Opus), MPEG and the
// libavformat rows by their type.

#include <cstdlib>
#include <string>
#include <vector>
#include <sys/mman.h>
#include <unistd.h>

#include "input/AudioSource.h"
#include "settings/ErrorReport.h"

namespace {

// No format holds more frames per byte than this (a FLAC frame of 65535
// samples of one constant value takes about ten bytes; an Opus or Vorbis
// packet of one byte decodes to at most a few thousand): a reader that
// delivers more has not ended where its data did, and is a finding. A bound
// on blocks would be wrong: a FLAC file of silence holds hours in little.
constexpr int64_t kMostFramesPerByte = 8192;

void ReadToEnd(AudioSource& source, std::size_t inputBytes) {
    int32_t encoder[2][kBlockFrames];
    int16_t decoder[2][kBlockFrames];
    const int64_t mostFrames = kMostFramesPerByte * static_cast<int64_t>(inputBytes) + kBlockFrames;
    int64_t delivered = 0;
    for (int block = 0; delivered <= mostFrames; ++block) {
        int32_t frames = (block & 1) ? ReadSourceBlock16(decoder, source) : ReadSourceBlock(encoder, source);
        if (frames == 0 || frames == -1) return;
        if (frames < 0 || frames > kBlockFrames) __builtin_trap();
        delivered += frames;
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
    // In table order, so a new format is reached without a change here; the
    // path is a link named with the extension, as the type comes from the name.
    static const std::vector<std::string> kExtensions = [] {
        std::vector<std::string> extensions;
        for (const InputFormat& format : InputFormats()) {
            for (const FormatExtension& extension : format.Extensions) {
                if (extension.Extension) extensions.push_back(extension.Extension);
            }
        }
        return extensions;
    }();
    static const std::string kFolder = [] {
        char folder[] = "/tmp/quavermill-fuzz-XXXXXX";
        return std::string(mkdtemp(folder) ? folder : "/tmp");
    }();
    const std::string path = kFolder + "/input" + kExtensions[(data[0] >> 1) % kExtensions.size()];
    unlink(path.c_str());
    AudioSource source;
    // The comment paths too.
    if (written && symlink(("/proc/self/fd/" + std::to_string(ends[0])).c_str(), path.c_str()) == 0 &&
        OpenAudioSource(path, {.WantComments = true, .Scaling = ScaleModeChoice::TrackGain}, source)) {
        if (source.Channels != 1 && source.Channels != 2) __builtin_trap();
        ReadToEnd(source, size);
    }
    close(ends[0]);
    return 0;
}
