#include "cli/ToolRun.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <utility>

#include "cli/CliOptions.h"
#include "cli/ProgressDisplay.h"
#include "cli/StopSignals.h"
#include "job/OutputNaming.h"
#include "queue/BatchEngine.h"
#include "queue/ConversionJobs.h"
#include "queue/DroppedPaths.h"
#include "settings/ErrorReport.h"
#include "settings/LegalBitrates.h"
#include "settings/Settings.h"

namespace {

constexpr const char* kToolName = "quavermill-cli";
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);
constexpr const char* kEmptyFolderMessage = "No audio files to convert in this folder\n";
constexpr const char* kUnreadableFolderMessage = "Can't read this folder: ";

// What the command line names: the files to convert, and the arguments
// refused before any conversion, each with its message.
struct ToolFiles {
    std::vector<QueuedFile> Files;
    std::vector<std::pair<std::string, std::string>> Refused;
};

// Files and folders as the window takes them, but each file is converted in
// the mode its own type asks for; files are made absolute, as the jobs see
// them.
ToolFiles CollectFiles(const std::vector<std::string>& arguments) {
    ToolFiles collected;
    for (const std::string& argument : arguments) {
        std::vector<QueuedFile> files;
        std::vector<UnreadableFolder> unreadable;
        switch (CollectDroppedPath(argument, files, unreadable)) {
        case DropOutcome::Queued: break;
        case DropOutcome::Ignored:
        case DropOutcome::Unsupported:
            collected.Refused.emplace_back(AbsolutePath(argument), "Unsupported input file type\n");
            break;
        case DropOutcome::EmptyFolder:
            collected.Refused.emplace_back(AbsolutePath(argument), kEmptyFolderMessage);
            break;
        }
        for (const UnreadableFolder& folder : unreadable) {
            collected.Refused.emplace_back(folder.Path, kUnreadableFolderMessage + folder.Reason + "\n");
        }
        for (QueuedFile& file : files) {
            file.Path = AbsolutePath(file.Path);
            collected.Files.push_back(std::move(file));
        }
    }
    return collected;
}

// The command line's encoder choices replace the settings file's for this
// run only; the file itself is never written.
void ApplyEncoderOverrides(const CliOptions& options, Settings& settings) {
    if (options.VbrSliderPosition) {
        settings.SetBitrate = TargetChoice::Quality;
        settings.VBRQuality = *options.VbrSliderPosition;
    }
    if (options.Bitrate || options.ConstantBitrate) {
        settings.SetBitrate = TargetChoice::Bitrate;
        settings.SetCBR = options.ConstantBitrate ? BitrateKindChoice::Constant : BitrateKindChoice::Average;
    }
    if (options.Bitrate) settings.ABRBitrate = *options.Bitrate;
    if (options.ConstantBitrate) settings.CBRBitrate = NearestLegalBitrate(options.Bitrate.value_or(settings.CBRBitrate));
    if (options.Mono) settings.Mono = DialogSwitch(true);
}

SettingsSnapshot LoadToolSettings(const CliOptions& options) {
    Settings settings;
    const std::string distrust =
        LoadSettingsFile(settings, options.SettingsFile.value_or(kIniFileName), /*createIfMissing=*/false);
    if (!distrust.empty())
        std::fprintf(stderr, "%s: settings not read, the defaults apply: %s\n", kToolName, distrust.c_str());
    ForgetRunOnlyOutputDir(settings);
    ApplyEncoderOverrides(options, settings);
    if (options.OutputDir) settings.OutputDir = *options.OutputDir;
    return std::make_shared<const Settings>(std::move(settings));
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

int RunTool(const std::vector<std::string>& arguments, int stopFd) {
    CliOptions options;
    std::string problem = ParseCommandLine(arguments, options);
    if (options.Help) {
        std::fputs(UsageText().c_str(), stdout);
        return kExitConverted;
    }
    if (options.Version) {
        std::printf("%s %s\n", kToolName, QM_VERSION);
        return kExitConverted;
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kToolName, problem.c_str(), kToolName);
        return kExitUsage;
    }
    if (options.SettingsFile) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(*options.SettingsFile, error)) {
            std::fprintf(stderr, "%s: the settings file '%s' does not exist\n", kToolName,
                         options.SettingsFile->c_str());
            return kExitUsage;
        }
    }
    if (options.OutputDir) {
        std::error_code error;
        if (!std::filesystem::is_directory(*options.OutputDir, error)) {
            std::fprintf(stderr, "%s: the output directory '%s' does not exist\n", kToolName,
                         options.OutputDir->c_str());
            return kExitUsage;
        }
    }

    ToolFiles collected = CollectFiles(options.Files);
    DropRepeatedFiles(collected.Files);
    const std::size_t fileCount = collected.Files.size() + collected.Refused.size();
    std::size_t threadCount = options.Jobs > 0 ? static_cast<std::size_t>(options.Jobs)
                                               : std::max(1u, std::thread::hardware_concurrency());
    // No more workers than files, so the progress line has no idle slots.
    threadCount = std::max<std::size_t>(1, std::min(threadCount, collected.Files.size()));
    const bool showProgress = !options.Quiet && isatty(STDERR_FILENO);
    errno = 0;  // isatty's answer must not decorate the first message
    ProgressDisplay display(showProgress ? stderr : nullptr, fileCount, threadCount);
    const auto print = [&display](const ErrorMessage& message) { display.PrintMessage(FormatForMessageBox(message)); };

    for (const auto& [input, refusal] : collected.Refused) {
        ReportError(ErrorReporter{input, print}, "%s", refusal.c_str());
        display.FinishFile(0, JobResult::Failed);
    }

    EngineOptions engineOptions;
    engineOptions.Jobs = ConversionJobs();
    engineOptions.Workers = threadCount;
    engineOptions.Report = print;
    engineOptions.FileStarted = [&display](std::size_t worker, const std::string& input) {
        display.StartFile(worker, FileNameOf(input));
    };
    engineOptions.FileProgress = [&display](std::size_t worker, int64_t total, int64_t done) {
        display.Progress(worker, total, done);
    };
    engineOptions.FileFinished = [&display](std::size_t worker, const std::string&, JobResult result) {
        display.FinishFile(worker, result);
    };
    BatchEngine engine(std::move(engineOptions));
    engine.SetSettings(LoadToolSettings(options));
    {
        const StopWatch watch(stopFd, [&engine] { engine.RequestStop(); });
        engine.Push(collected.Files);
        if (showProgress) {
            while (!engine.WaitUntilIdleFor(kRedrawInterval)) display.Redraw();
        } else {
            engine.WaitUntilIdle();
        }
    }
    engine.Stop();
    display.Clear();

    const std::size_t converted = display.Converted();
    const std::size_t failed = display.Failed();
    // A stop that came after the last file ended stopped nothing.
    const bool interrupted = StopRaised(stopFd) && converted + failed < fileCount;
    if (!options.Quiet) {
        std::fprintf(stderr, "%s: %zu of %zu files converted", kToolName, converted, fileCount);
        if (failed > 0) std::fprintf(stderr, ", %zu failed", failed);
        if (interrupted) std::fprintf(stderr, ", interrupted");
        std::fputc('\n', stderr);
    }
    if (interrupted) return kExitInterrupted;
    return converted == fileCount ? kExitConverted : kExitSomeFailed;
}
