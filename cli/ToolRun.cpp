#include "cli/ToolRun.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "queue/ConversionJobs.h"
#include "input/SourceType.h"
#include "queue/DroppedPaths.h"
#include "settings/LegalBitrates.h"
#include "cli/CliOptions.h"
#include "cli/ProgressDisplay.h"
#include "job/OutputNaming.h"
#include "settings/EncodeOptions.h"
#include "settings/ErrorReport.h"
#include "settings/Settings.h"

namespace {

constexpr const char* kToolName = "quavermill-cli";
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);
constexpr int kLogSinkOff = 0;
constexpr const char* kEmptyFolderMessage = "No audio files to convert in this folder\n";
constexpr const char* kUnreadableFolderMessage = "Can't read this folder: ";

struct PlannedFile {
    std::string Input;            // absolute, as the jobs see it
    std::string OutputSubfolder;  // for a file from a folder, as QueuedPath keeps it
    bool Encode = false;
    std::string Refusal;          // non-empty: not converted, reported with this text
};

// Two files of one run must never write the same output, nor write over an
// input another file of the run is reading: with several files at once that
// would interleave two streams in one file, or lose an input.
std::vector<PlannedFile> PlanFiles(const std::vector<std::string>& arguments, const std::string& outputDir) {
    std::vector<PlannedFile> plan;
    std::vector<std::string> comparableInputs;
    auto add = [&](const std::string& path, SourceType type, const std::string& subfolder) {
        PlannedFile planned;
        planned.Input = AbsolutePath(path);
        planned.OutputSubfolder = subfolder;
        planned.Encode = IsEncodeSource(type);
        if (!planned.Encode && !IsDecodeSource(type)) planned.Refusal = "Unsupported input file type\n";
        comparableInputs.push_back(ComparablePath(planned.Input));
        plan.push_back(std::move(planned));
    };
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (!std::filesystem::is_directory(argument, error)) {
            add(argument, ClassifyPath(argument), std::string());
            continue;
        }
        std::vector<UnreadableFolder> unreadable;
        const std::vector<DroppedFile> files = AudioFilesInFolder(argument, unreadable);
        for (const DroppedFile& file : files) add(file.Path, file.Type, file.OutputSubfolder);
        for (const UnreadableFolder& folder : unreadable) {
            add(folder.Path, kSourceUnknown, std::string());
            plan.back().Refusal = kUnreadableFolderMessage + folder.Reason + "\n";
        }
        if (files.empty() && unreadable.empty()) {
            add(argument, kSourceUnknown, std::string());
            plan.back().Refusal = kEmptyFolderMessage;
        }
    }
    std::set<std::string> outputs;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        PlannedFile& planned = plan[i];
        if (!planned.Refusal.empty()) continue;
        const std::string named =
            BuildOutputPath(SplitInputPath(planned.Input), OutputFolderFor(outputDir, planned.OutputSubfolder),
                            planned.Encode ? ".mp3" : ".wav");
        const std::string output = ComparablePath(named);
        bool clash = outputs.count(output) != 0;
        for (std::size_t j = 0; j < plan.size() && !clash; ++j) {
            clash = j != i && comparableInputs[j] == output && comparableInputs[i] != output;
        }
        if (clash) {
            planned.Refusal = OutputClashMessage(named);
        } else {
            outputs.insert(output);
        }
    }
    return plan;
}

// The command line's encoder choices replace the settings file's for this
// run only; the file itself is never written.
void ApplyEncoderOverrides(const CliOptions& options, const Settings& settings) {
    if (options.VbrSliderPosition) {
        SetEncodeSetBitrate(0);
        SetEncodeVBRQuality(*options.VbrSliderPosition);
    }
    if (options.Bitrate || options.ConstantBitrate) {
        SetEncodeSetBitrate(1);
        SetEncodeSetCBR(options.ConstantBitrate ? 1 : 0);
    }
    if (options.Bitrate) SetEncodeABRBitrate(*options.Bitrate);
    if (options.ConstantBitrate) SetEncodeCBRBitrate(NearestLegalBitrate(options.Bitrate.value_or(settings.CBRBitrate)));
    if (options.Mono) SetEncodeMono(1);
}

void LoadToolSettings(const CliOptions& options) {
    Settings settings;
    LoadSettingsFile(settings, options.SettingsFile.value_or(kIniFileName), /*createIfMissing=*/false);
    ApplySettingsToJobs(settings);
    ApplyEncoderOverrides(options, settings);
    if (options.OutputDir) SetActiveOutputDir(*options.OutputDir);
}

JobResult ConvertOne(const WorkerJobs& jobs, const PlannedFile& planned, const std::string& outputDir,
                     const JobHooks& hooks) {
    const std::string folder = MakeOutputSubfolder(outputDir, planned.OutputSubfolder);
    return (planned.Encode ? jobs.Encode : jobs.Decode)(planned.Input, folder, hooks);
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

int RunTool(const std::vector<std::string>& arguments, const std::atomic<int32_t>& stop) {
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

    LoadToolSettings(options);
    // One directory for the whole run, so every file and the clash check agree.
    const std::string outputDir = TakeActiveOutputDirForJob();
    const std::vector<PlannedFile> plan = PlanFiles(options.Files, outputDir);

    std::size_t threadCount = options.Jobs > 0 ? static_cast<std::size_t>(options.Jobs)
                                               : std::max(1u, std::thread::hardware_concurrency());
    threadCount = std::min(threadCount, plan.size());
    const bool showProgress = !options.Quiet && isatty(STDERR_FILENO);
    errno = 0;  // isatty's answer must not decorate the first message
    ProgressDisplay display(showProgress ? stderr : nullptr, plan.size(), threadCount);

    SelectErrorSink(kLogSinkOff);
    RegisterMessageBoxSink([&display](const std::string& text) { display.PrintMessage(text); });

    for (const PlannedFile& planned : plan) {
        if (planned.Refusal.empty()) continue;
        // Printed whole: an error context leaves out a path as long as a
        // folder too deep to read.
        display.PrintMessage(planned.Input + ": " + planned.Refusal);
        display.FinishFile(0, JobResult::Failed);
    }

    const WorkerJobs jobs = ConversionJobs();
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (std::size_t slot = 0; slot < threadCount; ++slot) {
        workers.emplace_back([&, slot] {
            for (std::size_t i = next++; i < plan.size(); i = next++) {
                const PlannedFile& planned = plan[i];
                if (!planned.Refusal.empty()) continue;
                if (stop.load() != 0) break;
                display.StartFile(slot, FileNameOf(planned.Input));
                JobHooks hooks;
                hooks.Progress = [&display, slot](int64_t total, int64_t done) { display.Progress(slot, total, done); };
                hooks.Stop = &stop;
                display.FinishFile(slot, ConvertOne(jobs, planned, outputDir, hooks));
            }
        });
    }

    std::mutex doneLock;
    std::condition_variable doneSignal;
    bool allDone = false;
    std::thread ticker;
    if (showProgress) {
        ticker = std::thread([&] {
            std::unique_lock<std::mutex> hold(doneLock);
            while (!doneSignal.wait_for(hold, kRedrawInterval, [&] { return allDone; })) display.Redraw();
        });
    }
    for (std::thread& worker : workers) worker.join();
    {
        std::lock_guard<std::mutex> hold(doneLock);
        allDone = true;
    }
    doneSignal.notify_all();
    if (ticker.joinable()) ticker.join();
    display.Clear();
    RegisterMessageBoxSink(nullptr);

    const bool interrupted = stop.load() != 0;
    const std::size_t converted = display.Converted();
    const std::size_t failed = display.Failed();
    if (!options.Quiet) {
        std::fprintf(stderr, "%s: %zu of %zu files converted", kToolName, converted, plan.size());
        if (failed > 0) std::fprintf(stderr, ", %zu failed", failed);
        if (interrupted) std::fprintf(stderr, ", interrupted");
        std::fputc('\n', stderr);
    }
    if (interrupted) return kExitInterrupted;
    return converted == plan.size() ? kExitConverted : kExitSomeFailed;
}
