#include "encode/EncodeJob.h"

#include <cerrno>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>

#include "encode/EncodeLoop.h"
#include "encode/EncoderConfig.h"
#include "encode/PathSplit.h"
#include "encode/ScalingStage.h"
#include "encode/TagAssembly.h"
#include "input/AudioSource.h"
#include "settings/ErrorReport.h"

namespace {

constexpr const char* kMp3Extension = ".mp3";
// Handed to the MPEG opener; -1 means not known yet.
constexpr int kUnknownDecoderOffset = -1;

// The library fills some process-wide tables the first time a context is
// made or initialised; several files at once must not race on that.
std::mutex lameSetupLock;

LameContext NewLameContext() {
    std::lock_guard<std::mutex> hold(lameSetupLock);
    return LameContext(lame_init());
}

int InitLameParams(lame_t context) {
    std::lock_guard<std::mutex> hold(lameSetupLock);
    return lame_init_params(context);
}

void ReportInitFailure(const std::string& inputPath, const std::string& outputPath) {
    ReportError("Error initializing input and output files %s/%s", inputPath.c_str(), outputPath.c_str());
}

double ScaleFactorFor(int32_t scaleMode, const ReplayGains& gains) {
    if (scaleMode == kScaleByTrackGain) return GainToScaleFactor(gains.Track);
    if (scaleMode == kScaleByAlbumGain) return GainToScaleFactor(gains.Album);
    return 1.0;
}

void DeleteInput(const std::string& inputPath) {
    std::error_code error;
    // remove() reports a file that is already gone as "nothing removed", not
    // as an error; the user still has to hear that the input was not deleted.
    if (std::filesystem::remove(inputPath, error)) return;
    errno = error ? error.value() : ENOENT;
    ReportError("Error deleting input file '%s'\n", inputPath.c_str());
}

}  // namespace

EncodeOptions TakeEncodeOptionsForJob() {
    EncodeOptions options = SnapshotEncodeOptions();
    if (options.ScaleMode > 0) {
        SetEncodeTagMode(kTagModeComments);
        options.TagMode = kTagModeComments;
    }
    return options;
}

JobResult EncodeFile(const std::string& inputPath, const EncodeOptions& requested, const std::string& outputDir,
                     const JobHooks& hooks) {
    EncodeOptions options = requested;
    // The gain comments reach the job only through the comment list.
    if (options.ScaleMode > 0) options.TagMode = kTagModeComments;

    SetErrorContext(inputPath);
    errno = 0;  // a stale error number must not decorate this file's messages

    LameContext context = NewLameContext();
    if (!context) {
        ReportError("Failed to initialize lame encoder correctly.\n");
        return JobResult::Failed;
    }
    lame_t lame = context.get();
    AudioSource source;
    source.Type = ClassifyPath(inputPath);
    source.Path = inputPath;
    id3tag_init(lame);
    source.ProgressOp = hooks.Progress;
    source.CommentMode = options.TagMode;
    source.ScaleMode = options.ScaleMode;

    const InputPathParts parts = SplitInputPath(inputPath);
    const std::string outputPath = BuildOutputPath(parts, outputDir, kMp3Extension);
    if (hooks.OutputNamed) hooks.OutputNamed(outputPath);

    ConfigureEncoder(lame, options);

    if (NamesSameFile(inputPath, outputPath)) {
        ReportError("Input file and Output file are the same. Abort.\n");
        ReportInitFailure(inputPath, outputPath);
        return JobResult::Failed;
    }

    int decoderDelay = kUnknownDecoderOffset;
    int decoderPadding = kUnknownDecoderOffset;
    if (!OpenAudioSource(lame, inputPath, &decoderDelay, &decoderPadding, source)) return JobResult::Failed;

    FilePtr output = OpenOutputFile(outputPath, lame_get_decode_only(lame));
    if (!output) {
        ReportError("Can't init outfile '%s'\n", outputPath.c_str());
        ReportInitFailure(inputPath, outputPath);
        CloseAudioSource(source);
        return JobResult::Failed;
    }

    const ReplayGains gains = AssembleTags(lame, options, parts, source.Comments);
    source.ScaleFactor = ScaleFactorFor(options.ScaleMode, gains);
    // An Ogg Vorbis reader scales by itself, from ScaleFactor.
    std::optional<ScopedScalingStage> scaling;
    if (source.Type != kSourceOgg && options.ScaleMode > 0) {
        scaling.emplace(source, static_cast<float>(source.ScaleFactor));
    }

    ApplyId3Version(lame, options);
    // The encode loop writes both tags itself.
    lame_set_write_id3tag_automatic(lame, 0);

    int loopResult = kEncodeLoopFailed;
    if (InitLameParams(lame) != 0) {
        ReportError("Failed to initialize lame encoder correctly.\n");
    } else {
        loopResult = EncodeLoop(lame, output.get(), source, hooks.Stop);
    }

    scaling.reset();
    const bool cancelled = loopResult == kEncodeLoopCancelled;
    const bool outputClosed = CloseMp3Output(output.release(), loopResult == kEncodeLoopDone);
    const bool inputClosed = CloseAudioSource(source);

    if (cancelled) {
        // A partial file must never be taken for a finished one.
        std::error_code ignored;
        std::filesystem::remove(outputPath, ignored);
        return JobResult::Cancelled;
    }
    if (loopResult != kEncodeLoopDone || !outputClosed || !inputClosed) return JobResult::Failed;

    if (options.DeleteInput != 0) DeleteInput(inputPath);
    return JobResult::Done;
}

void RunEncodeJob(FileQueue& queue) {
    while (queue.Quitting == 0) {
        std::optional<std::string> path = PopPath(queue);
        if (!path) return;
        queue.Busy = 1;
        const EncodeOptions options = TakeEncodeOptionsForJob();
        const std::string outputDir = TakeActiveOutputDirForJob();
        JobHooks hooks;
        hooks.Progress = [&queue](int64_t total, int64_t done) { ReportProgress(queue, total, done); };
        hooks.OutputNamed = [&queue](const std::string& outputPath) { queue.SetCurrentOutput(outputPath); };
        hooks.Stop = &queue.Quitting;
        EncodeFile(*path, options, outputDir, hooks);
        FinishPath(queue);
    }
}
