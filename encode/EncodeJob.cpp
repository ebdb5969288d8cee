#include "encode/EncodeJob.h"

#include <cerrno>
#include <mutex>
#include <optional>

#include "encode/CoverArt.h"
#include "encode/EncodeLoop.h"
#include "encode/EncoderConfig.h"
#include "encode/ScalingStage.h"
#include "encode/TagAssembly.h"
#include "input/AudioSource.h"
#include "job/JobSkeleton.h"
#include "job/OutputNaming.h"
#include "settings/ErrorReport.h"

namespace {

// What the encoder takes for a sample count that is not given.
constexpr unsigned long kEncoderCountNotGiven = 0xFFFFFFFFul;

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

double ScaleFactorFor(ScaleModeChoice scaleMode, const ReplayGains& gains) {
    if (scaleMode == ScaleModeChoice::TrackGain) return GainToScaleFactor(gains.Track);
    if (scaleMode == ScaleModeChoice::AlbumGain) return GainToScaleFactor(gains.Album);
    return 1.0;
}

// The encoder learns the source's layout from the stream record; the count
// is the stream's own or the estimate from the file size.
void DescribeSourceToEncoder(lame_t context, const AudioSource& source) {
    lame_set_num_channels(context, source.Info.Channels);
    lame_set_in_samplerate(context, source.Info.SampleRate);
    const int64_t count = source.SampleCountHint;
    lame_set_num_samples(context, count < 0 ? kEncoderCountNotGiven : static_cast<unsigned long>(count));
}

// The picture the MP3 carries: the source's own when the tags come from its
// comments, the album folder's when they come from the path; none when the
// file gets no ID3v2 tag.
std::optional<SourcePicture> CoverFor(const Settings& options, const InputPathParts& parts, CommentList& comments,
                                      const ErrorReporter& errors) {
    if (!MayWriteId3v2(options)) return std::nullopt;
    switch (ChooseTagSource(options)) {
    case TagSource::Comments: return TakeCover(comments.Pictures);
    case TagSource::Path:
    case TagSource::Templates: return FindFolderCover(parts.Directory, errors);
    case TagSource::None: break;
    }
    return std::nullopt;
}

}  // namespace

JobResult EncodeFile(const std::string& inputPath, const Settings& settings, const std::string& outputDir,
                     const JobHooks& hooks) {
    // The gain comments reach the job only through the comment list; the
    // change stays in this file's copy.
    Settings options = settings;
    options.TagMode = TagModeForScaling(options.TagMode, options.ScaleMode);

    const ErrorReporter errors{inputPath, hooks.Report};
    errno = 0;  // a stale error number must not decorate this file's messages

    LameContext context = NewLameContext();
    if (!context) {
        ReportError(errors, "Failed to initialize lame encoder correctly.\n");
        return JobResult::Failed;
    }
    lame_t lame = context.get();
    AudioSource source;
    source.Errors = errors;
    id3tag_init(lame);
    source.ProgressOp = hooks.Progress;
    OpenRequest request;
    request.WantComments = options.TagMode == TagModeChoice::Comments;
    request.Scaling = options.ScaleMode;

    const InputPathParts parts = SplitInputPath(inputPath);
    JobPlan plan;
    plan.Extension = kMp3Extension;
    plan.WriteErrorMessage = kMp3WriteErrorMessage;
    plan.DeleteInput = options.DeleteInput.On();
    plan.OpenInput = [&] {
        ConfigureEncoder(lame, options);
        if (!OpenAudioSource(inputPath, request, source)) return false;
        DescribeSourceToEncoder(lame, source);
        return true;
    };
    plan.Convert = [&](std::FILE* output) {
        const std::optional<SourcePicture> cover = CoverFor(options, parts, source.Reader->Comments(), errors);
        const ReplayGains gains = AssembleTags(lame, options, parts, source.Reader->Comments());
        if (ScalingOn(options.ScaleMode)) ApplyScaling(source, ScaleFactorFor(options.ScaleMode, gains));

        ApplyId3Version(lame, options, cover.has_value());
        // The encode loop writes both tags itself.
        lame_set_write_id3tag_automatic(lame, 0);

        int loopResult = kEncodeLoopFailed;
        if (InitLameParams(lame) != 0) {
            ReportError(errors, "Failed to initialize lame encoder correctly.\n");
        } else {
            loopResult = EncodeLoop(lame, output, source, hooks.Stop, ReadSourceBlock, cover ? &*cover : nullptr);
        }
        const bool inputClosed = CloseAudioSource(source);
        if (loopResult == kEncodeLoopCancelled) return JobResult::Cancelled;
        return loopResult == kEncodeLoopDone && inputClosed ? JobResult::Done : JobResult::Failed;
    };
    return RunJobSkeleton(inputPath, outputDir, hooks, errors, plan);
}
