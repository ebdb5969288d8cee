#include "input/AudioSource.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "input/SampleConversion.h"
#include "settings/ErrorReport.h"

namespace {

bool Adopt(AudioSource& source, const InputFormat& row, const OpenedReader& opened) {
    if (!opened.State) return false;
    source.Reader = ReaderStatePtr(opened.State, row.Close);
    source.ReadOp = opened.Read;
    source.ReadState = opened.State;
    source.Format = &row;
    return true;
}

// A row chosen by the type reads the file whatever it holds; otherwise the
// content decides among the probing rows.
bool OpenReader(AudioSource& source) {
    const InputFormat* named = FormatNamingType(source.Type);
    if (!named) {
        ReportError(source.Errors, "No reader for this input type: '%s'\n", source.Path.c_str());
        return false;
    }
    if (!named->Probe) return Adopt(source, *named, named->Open(source.File.get(), source, nullptr, 0));
    if (ProbeInputFormats(source.File.get(), source)) return true;
    ReportError(source.Errors, "Unrecognised format\n");
    return false;
}

// The count was not given: an estimate from the file size helps the encoder
// size its VBR table and gives the progress a total.
void EstimateSampleCount(AudioSource& source) {
    int64_t size = QueryFileSize(source.Path);
    if (size < 0) return;
    if (IsMpegStream(source.Info)) {
        // A free-format stream (bitrate 0) keeps the count not given.
        if (source.Info.Bitrate <= 0) return;
        double frames = static_cast<double>(size) * 8.0 / (1000.0 * source.Info.Bitrate) * source.Info.SampleRate;
        source.SampleCountHint = static_cast<int64_t>(frames);
        source.Info.SampleCount = source.SampleCountHint;
    } else {
        double frames = static_cast<double>(size) / (2.0 * source.Info.Channels);
        source.SampleCountHint = static_cast<int64_t>(frames);
    }
}

// Frames of the next block on the float scale. The count is held to the
// block even if a stage around ReadOp misbehaves.
int32_t ReadBlock(AudioSource& source, float (&left)[kBlockFrames], float (&right)[kBlockFrames]) {
    if (!source.ReadOp) return 0;
    float* buffers[2] = {left, right};
    int32_t frames = source.ReadOp(source.ReadState, buffers, kBlockFrames);
    if (frames < 0) return -1;
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
    if (File || Reader) CloseAudioSource(*this);
}

const InputFormat* ProbeInputFormats(std::FILE* file, AudioSource& source) {
    // Bytes read for one probe are never put back: every later probe sees the
    // same bytes, and each open continues from where the file stands.
    std::vector<uint8_t> probe;
    std::size_t filled = 0;
    for (const InputFormat& row : InputFormats()) {
        if (!row.Probe) continue;
        if (row.ProbeLength > probe.size()) probe.resize(row.ProbeLength);
        if (row.ProbeLength > filled) filled += std::fread(probe.data() + filled, 1, probe.size() - filled, file);
        if (filled < row.ProbeLength) continue;
        if (!row.Probe(probe.data(), filled)) continue;
        if (Adopt(source, row, row.Open(file, source, probe.data(), filled))) return &row;
    }
    return nullptr;
}

bool OpenAudioSource(const std::string& path, AudioSource& source) {
    if (source.File || source.Reader) CloseAudioSource(source);
    source.Path = path;
    source.Damaged = false;
    source.Info = StreamInfo{};
    source.SampleCountHint = kSampleCountNotGiven;

    source.File.reset(std::fopen(path.c_str(), "rb"));
    if (!source.File) {
        ReportError(source.Errors, "Can't open input file '%s'\n", path.c_str());
        return false;
    }
    errno = 0;  // a stale error number must not be appended to a reader's message

    if (!OpenReader(source)) return FailOpen(source);
    if (source.Info.Channels != 1 && source.Info.Channels != 2) {
        ReportError(source.Errors, "Unsupported number of channels: %ud\n", static_cast<unsigned>(source.Info.Channels));
        return FailOpen(source);
    }
    if (source.Info.SampleRate < 1) {
        ReportError(source.Errors, "Unsupported sample rate\n");
        return FailOpen(source);
    }
    source.Channels = source.Info.Channels;
    source.SampleCountHint = source.Info.SampleCount;
    if (source.SampleCountHint == kSampleCountNotGiven) EstimateSampleCount(source);
    return true;
}

int32_t ReadSourceBlock(int32_t out[2][kBlockFrames], AudioSource& source) {
    float left[kBlockFrames];
    float right[kBlockFrames];
    const int32_t frames = ReadBlock(source, left, right);
    // lame_encode_buffer_int takes the 16-bit value in the upper half of the word.
    for (int32_t i = 0; i < frames; ++i) out[0][i] = SaturateToInt16(left[i]) * 65536;
    if (source.Channels == 2) {
        for (int32_t i = 0; i < frames; ++i) out[1][i] = SaturateToInt16(right[i]) * 65536;
    } else {
        for (int32_t i = 0; i < frames; ++i) out[1][i] = 0;
    }
    return frames;
}

int32_t ReadSourceBlock16(int16_t out[2][kBlockFrames], AudioSource& source) {
    float left[kBlockFrames];
    float right[kBlockFrames];
    const int32_t frames = ReadBlock(source, left, right);
    for (int32_t i = 0; i < frames; ++i) out[0][i] = SaturateToInt16(left[i]);
    if (source.Channels == 2) {
        for (int32_t i = 0; i < frames; ++i) out[1][i] = SaturateToInt16(right[i]);
    }
    return frames;
}

bool CloseAudioSource(AudioSource& source) {
    source.Reader.reset();
    source.Format = nullptr;
    source.ReadState = nullptr;
    source.ReadOp = nullptr;
    if (!source.File) return true;
    if (std::fclose(source.File.release()) != 0) {
        ReportError(source.Errors, "Can't close input file '%s'\n", source.Path.c_str());
        return false;
    }
    return true;
}

int64_t QueryFileSize(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error) return -1;
    return static_cast<int64_t>(size);
}
