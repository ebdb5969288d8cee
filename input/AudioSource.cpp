#include "input/AudioSource.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "input/SampleConversion.h"
#include "input/SurroundDownmix.h"

namespace {

constexpr const char* kUnrecognisedMessage = "Unrecognised format\n";

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
// block even if a stage around the reader misbehaves.
int32_t ReadBlock(AudioSource& source, float (&left)[kBlockFrames], float (&right)[kBlockFrames]) {
    if (!source.Reader) return 0;
    float* buffers[2] = {left, right};
    int32_t frames = source.Reader->Read(buffers, kBlockFrames);
    if (frames < 0) return -1;
    return frames < kBlockFrames ? frames : kBlockFrames;
}

OpenedInput Failed(OpenErrorKind kind, std::string text, int systemError = 0) {
    return {nullptr, nullptr, {kind, std::move(text), systemError}};
}

OpenedInput Opened(const InputFormat& row, FilePtr file, const OpenRequest& request) {
    OpenedReader opened = row.Open(std::move(file), request);
    if (OpenError* error = std::get_if<OpenError>(&opened)) return {nullptr, &row, std::move(*error)};
    return {std::move(std::get<std::unique_ptr<AudioReader>>(opened)), &row, {}};
}

}  // namespace

OpenedInput OpenInput(const std::string& path, SourceType type, const OpenRequest& request,
                      std::span<const InputFormat> formats) {
    // The probes and the libraries may leave errno set; the job's later
    // messages must not be decorated with it.
    ErrnoKeeper keepErrno;
    const auto named = std::find_if(formats.begin(), formats.end(), [&](const InputFormat& row) {
        return row.Id == type.Format && type.Format != FormatId::Unknown;
    });
    if (named == formats.end()) return Failed(OpenErrorKind::Unsupported, "No reader for this input type: '" + path + "'\n");
    OpenRequest asked = request;
    asked.Layer = type.Layer;
    asked.Path = path;
    ProbedFile probed = OpenProbedFile(path);
    if (!probed.File) {
        return Failed(OpenErrorKind::CannotRead, "Can't open input file '" + path + "'\n", probed.SystemError);
    }
    if (!named->Probe) return Opened(*named, std::move(probed.File), asked);
    for (const InputFormat& row : formats) {
        if (row.Probe && row.Probe(probed.Head)) return Opened(row, std::move(probed.File), asked);
    }
    if (named->ReadsUnrecognised) return Opened(*named, std::move(probed.File), asked);
    return Failed(OpenErrorKind::NotAudio, "");
}

bool OpenAudioSource(const std::string& path, const OpenRequest& request, AudioSource& source) {
    source.Reader.reset();
    source.Format = nullptr;
    source.Info = StreamInfo{};
    source.Path = path;
    source.Type = ClassifyPath(path);
    OpenRequest asked = request;
    asked.Warnings = source.Errors;
    OpenedInput opened = OpenInput(path, source.Type, asked);
    if (!opened.Reader) {
        // A reader that fails behind a recognised head (FLAC behind an ID3v2
        // tag) gives no text of its own.
        if (!opened.Error.Text.empty()) ReportMessage(source.Errors, opened.Error.Text, opened.Error.SystemError);
        // Content rows that refuse a file they recognised also say that no
        // reader took it.
        const bool byContent = opened.Format && opened.Format->Probe && !opened.Format->ReadsUnrecognised;
        if (opened.Error.Text.empty() || byContent) ReportMessage(source.Errors, kUnrecognisedMessage);
        return false;
    }
    // Surround is heard as stereo; the encoder takes no more.
    if (opened.Reader->Stream().Channels > 2 && opened.Reader->Stream().Channels <= kMostDownmixChannels) {
        opened.Reader = std::make_unique<DownmixStage>(std::move(opened.Reader));
    }
    const StreamInfo& info = opened.Reader->Stream();
    if (info.Channels != 1 && info.Channels != 2) {
        ReportMessage(source.Errors,
                      "Unsupported number of channels: " + std::to_string(static_cast<unsigned>(info.Channels)) + "d\n");
        return false;
    }
    if (info.SampleRate < 1) {
        ReportMessage(source.Errors, "Unsupported sample rate\n");
        return false;
    }
    source.Reader = std::move(opened.Reader);
    source.Format = opened.Format;
    source.Info = info;
    source.Channels = info.Channels;
    source.SampleCountHint = info.SampleCount;
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

void ReportReadDamage(const AudioSource& source) {
    const ReadError* damage = source.Reader ? source.Reader->Damage() : nullptr;
    ReportMessage(source.Errors, "Error reading input file '" + source.Path + "'\n", damage ? damage->SystemError : 0,
                  damage ? damage->Reason : std::string());
}

bool CloseAudioSource(AudioSource& source) {
    source.Reader.reset();
    source.Format = nullptr;
    return true;
}

int64_t QueryFileSize(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error) return -1;
    return static_cast<int64_t>(size);
}
