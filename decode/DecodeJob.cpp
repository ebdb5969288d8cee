#include "decode/DecodeJob.h"

#include <algorithm>
#include <cerrno>
#include <limits>

#include "decode/WavWriter.h"
#include "job/JobSkeleton.h"
#include "job/OutputNaming.h"
#include "settings/ErrorReport.h"

namespace {

constexpr const char* kWriteErrorMessage = "Error writing wav output \n";
constexpr uint16_t kOutputBits = 16;
constexpr int64_t kNoCut = std::numeric_limits<int64_t>::max();

// The padding is cut where the stream's own frame count says it ends;
// without a count the end is not known before it is reached, and nothing is
// cut there.
struct EndCut {
    int64_t From = kNoCut;
    int64_t To = kNoCut;
};

EndCut EndCutFor(const EdgeTrim& trim, const StreamInfo& info) {
    if (trim.End <= 0 || info.FrameCount <= 0 || info.FrameSize <= 0) return {};
    const int64_t streamEnd = info.FrameCount * info.FrameSize;
    return {std::max<int64_t>(0, streamEnd - trim.End), streamEnd};
}

bool FinishOutput(std::FILE* output, uint64_t framesWritten, const StreamInfo& info, int32_t channels) {
    const uint64_t bytes = framesWritten * 2u * static_cast<uint64_t>(channels);
    const auto dataSize = static_cast<uint32_t>(std::min<uint64_t>(bytes, kLargestDataSize));
    if (std::fflush(output) != 0) return false;
    if (std::fseek(output, 0, SEEK_SET) != 0) {
        // An output that cannot seek (a pipe) keeps the provisional header.
        errno = 0;
        return true;
    }
    return WriteWavHeader(output, dataSize, static_cast<uint32_t>(info.SampleRate), static_cast<uint16_t>(channels),
                          kOutputBits) == 0 &&
           std::fflush(output) == 0;
}

}  // namespace

EdgeTrim TrimFor(SourceType type, const StreamInfo& info) {
    EdgeTrim trim;
    if (type.Layer == MpegLayer::I || type.Layer == MpegLayer::II) {
        trim.Start = kLayer12DecoderDelay;
    } else if (type.Layer == MpegLayer::III) {
        const int64_t delay = info.EncoderDelay;
        const int64_t padding = info.EncoderPadding;
        if (delay >= 0) {
            trim.Start = delay + kLayer3DecoderDelay;
        } else if (padding < 0) {
            trim.Start = kUsualEncoderDelay + kLayer3DecoderDelay;
        }
        // A padding shorter than the decoder's delay would cut a negative
        // count: samples past the decoded ones would be written.
        if (padding >= 0) trim.End = std::max<int64_t>(0, padding - kLayer3DecoderDelay);
    }
    return trim;
}

JobResult DecodeToWav(std::FILE* output, AudioSource& source, const std::atomic<int32_t>* stop) {
    const int32_t channels = source.Channels;
    if (channels != 1 && channels != 2) {
        ReportError(source.Errors, "Internal error.  Aborting.");
        return JobResult::Failed;
    }
    const EdgeTrim trim = TrimFor(source.Type, source.Info);
    const EndCut cut = EndCutFor(trim, source.Info);
    if (WriteWavHeader(output, kProvisionalDataSize, static_cast<uint32_t>(source.Info.SampleRate),
                       static_cast<uint16_t>(channels), kOutputBits) != 0) {
        ReportError(source.Errors, "%s", kWriteErrorMessage);
        return JobResult::Failed;
    }

    int16_t block[2][kBlockFrames];
    // Positions count the samples actually decoded, from 0; 64 bits, so
    // hours of audio never wrap.
    int64_t decoded = 0;
    uint64_t written = 0;
    for (;;) {
        if (stop && stop->load(std::memory_order_relaxed) != 0) return JobResult::Cancelled;
        const int32_t count = ReadSourceBlock16(block, source);
        if (count == 0) break;
        // A frame in another layout than the stream's first: dropped, counted nowhere.
        if (count < 0) continue;
        const int64_t blockStart = decoded;
        decoded += count;
        if (source.ProgressOp) source.ProgressOp(source.SampleCountHint, decoded);
        // The block's samples outside the start trim and the end cut.
        const int64_t keptRanges[2][2] = {{std::max(blockStart, trim.Start), std::min(decoded, cut.From)},
                                          {std::max({blockStart, trim.Start, cut.To}), decoded}};
        for (const auto& range : keptRanges) {
            if (range[1] <= range[0]) continue;
            if (!WriteWavFrames(output, block, channels, static_cast<int32_t>(range[0] - blockStart),
                                static_cast<int32_t>(range[1] - blockStart))) {
                ReportError(source.Errors, "%s", kWriteErrorMessage);
                return JobResult::Failed;
            }
            written += static_cast<uint64_t>(range[1] - range[0]);
        }
    }

    if (!FinishOutput(output, written, source.Info, channels)) {
        ReportError(source.Errors, "%s", kWriteErrorMessage);
        return JobResult::Failed;
    }
    // The header is whole, but an input that broke off must not pass as
    // converted: its output never replaces anything.
    if (source.Damaged()) {
        ReportReadDamage(source);
        return JobResult::Failed;
    }
    return JobResult::Done;
}

JobResult RunDecodeJob(const std::string& inputPath, const Settings&, const std::string& outputDir,
                       const JobHooks& hooks) {
    const ErrorReporter errors{inputPath, hooks.Report};
    errno = 0;  // a stale error number must not decorate this file's messages

    AudioSource source;
    source.Errors = errors;
    source.ProgressOp = hooks.Progress;

    JobPlan plan;
    plan.Extension = kWavExtension;
    plan.WriteErrorMessage = kWriteErrorMessage;
    plan.OpenInput = [&] { return OpenAudioSource(inputPath, {}, source); };
    plan.Convert = [&](std::FILE* output) {
        const JobResult decoded = DecodeToWav(output, source, hooks.Stop);
        const bool inputClosed = CloseAudioSource(source);
        return decoded == JobResult::Done && !inputClosed ? JobResult::Failed : decoded;
    };
    return RunJobSkeleton(inputPath, outputDir, hooks, errors, plan);
}
