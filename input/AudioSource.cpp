#include "input/AudioSource.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/FileQueue.h"
#include "input/SampleConversion.h"
#include "settings/ErrorReport.h"

namespace {

enum class SourceFamily { Container, Mpeg, OggVorbis, Unknown };

// The extension picks the family; inside the container family the content
// picks the reader (InputFormatTable).
SourceFamily FamilyOf(int32_t type) {
    switch (type) {
    case kSourceWav:
    case kSourceAiff:
    case kSourceFlac: return SourceFamily::Container;
    case kSourceMpegLayer1:
    case kSourceMpegLayer2:
    case kSourceMpegLayer3: return SourceFamily::Mpeg;
    case kSourceOgg: return SourceFamily::OggVorbis;
    default: return SourceFamily::Unknown;
    }
}

bool OpenContainer(AudioSource& source) {
    source.Format = ProbeInputFormats(source.File.get(), source);
    if (!source.Format) {
        ReportError("Unrecognised format\n");
        return false;
    }
    return true;
}

// Opens the reader of the source's family; the MPEG and Ogg Vorbis readers
// take their cases here.
bool OpenByFamily(AudioSource& source) {
    switch (FamilyOf(source.Type)) {
    case SourceFamily::Container: return OpenContainer(source);
    case SourceFamily::Mpeg:
    case SourceFamily::OggVorbis:
    case SourceFamily::Unknown: break;
    }
    ReportError("No reader for this input type: '%s'\n", source.Path.c_str());
    return false;
}

// Frames of the next block of a container source on the float scale. The
// count is held to the block even if a stage around ReadOp misbehaves.
int32_t ReadContainerBlock(AudioSource& source, float (&left)[kBlockFrames], float (&right)[kBlockFrames]) {
    if (!source.ReadOp) return 0;
    float* buffers[2] = {left, right};
    int32_t frames = source.ReadOp(source.ReaderState, buffers, kBlockFrames);
    if (frames < 0) return 0;
    return frames < kBlockFrames ? frames : kBlockFrames;
}

// A failed open leaves nothing behind: the reader's state and the file are
// released without a further message.
bool FailOpen(AudioSource& source) {
    CloseAudioSource(source);
    return false;
}

}  // namespace

AudioSource::~AudioSource() {
    if (File || ReaderState) CloseAudioSource(*this);
}

bool OpenAudioSource(lame_t context, const std::string& path, int* decoderDelay, int* decoderPadding,
                     AudioSource& source) {
    (void)decoderDelay;    // for the MPEG reader
    (void)decoderPadding;  // for the MPEG reader
    if (source.File || source.ReaderState) CloseAudioSource(source);
    source.Path = path;
    source.Damaged = false;
    source.Info = mp3data_struct{};
    if (context) lame_set_num_samples(context, kUnknownSampleCount);

    source.File.reset(std::fopen(path.c_str(), "rb"));
    if (!source.File) {
        ReportError("Can't open input file '%s'\n", path.c_str());
        return false;
    }
    errno = 0;  // a stale error number must not be appended to a reader's message

    if (!OpenByFamily(source)) return FailOpen(source);
    if (source.Info.stereo != 1 && source.Info.stereo != 2) {
        ReportError("Unsupported number of channels: %ud\n", static_cast<unsigned>(source.Info.stereo));
        return FailOpen(source);
    }
    if (source.Info.samplerate < 1) {
        ReportError("Unsupported sample rate\n");
        return FailOpen(source);
    }
    source.Channels = source.Info.stereo;
    if (!context) return true;

    lame_set_num_channels(context, source.Info.stereo);
    lame_set_in_samplerate(context, source.Info.samplerate);
    lame_set_num_samples(context, source.Info.nsamp);
    if (lame_get_num_samples(context) != kUnknownSampleCount) return true;

    // The count was not given: an estimate from the file size helps the
    // encoder size its VBR table.
    int64_t size = QueryFileSize(path);
    if (size < 0) return true;
    if (FamilyOf(source.Type) == SourceFamily::Mpeg) {
        if (source.Info.bitrate > 0) {
            double frames = static_cast<double>(size) * 8.0 / (1000.0 * source.Info.bitrate) *
                            lame_get_in_samplerate(context);
            lame_set_num_samples(context, static_cast<unsigned long>(frames));
            source.Info.nsamp = static_cast<unsigned long>(frames);
        }
    } else {
        double frames = static_cast<double>(size) / (2.0 * lame_get_num_channels(context));
        lame_set_num_samples(context, static_cast<unsigned long>(frames));
    }
    return true;
}

int32_t ReadSourceBlock(lame_t, int32_t out[2][kBlockFrames], AudioSource& source) {
    int32_t frames = 0;
    float left[kBlockFrames];
    float right[kBlockFrames];
    if (FamilyOf(source.Type) == SourceFamily::Container) frames = ReadContainerBlock(source, left, right);
    // lame_encode_buffer_int takes the 16-bit value in the upper half of the word.
    for (int32_t i = 0; i < frames; ++i) out[0][i] = SaturateToInt16(left[i]) * 65536;
    if (source.Channels == 2) {
        for (int32_t i = 0; i < frames; ++i) out[1][i] = SaturateToInt16(right[i]) * 65536;
    } else {
        for (int32_t i = 0; i < frames; ++i) out[1][i] = 0;
    }
    return frames;
}

int32_t ReadSourceBlock16(lame_t, int16_t out[2][kBlockFrames], AudioSource& source) {
    int32_t frames = 0;
    float left[kBlockFrames];
    float right[kBlockFrames];
    if (FamilyOf(source.Type) == SourceFamily::Container) frames = ReadContainerBlock(source, left, right);
    for (int32_t i = 0; i < frames; ++i) out[0][i] = SaturateToInt16(left[i]);
    // A mono source leaves the second array as it was.
    if (source.Channels == 2) {
        for (int32_t i = 0; i < frames; ++i) out[1][i] = SaturateToInt16(right[i]);
    }
    return frames;
}

bool CloseAudioSource(AudioSource& source) {
    if (source.Format && source.ReaderState) source.Format->Close(source.ReaderState);
    source.Format = nullptr;
    source.ReaderState = nullptr;
    source.ReadOp = nullptr;
    if (!source.File) return true;
    if (std::fclose(source.File.release()) != 0) {
        ReportError("Can't close input file '%s'\n", source.Path.c_str());
        return false;
    }
    return true;
}

FilePtr OpenOutputFile(const std::string& path, int) { return FilePtr(std::fopen(path.c_str(), "w+b")); }

int64_t QueryFileSize(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error) return -1;
    return static_cast<int64_t>(size);
}
