// The steps both jobs share: an output is replaced only by a conversion that
// fully succeeded, and an input is deleted only after its output is on disk.

#include "job/JobSkeleton.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "decode/DecodeJob.h"
#include "encode/EncodeJob.h"
#include "input/InputTestSupport.h"
#include "job/OutputFile.h"
#include "support/MpegFixtures.h"

namespace {

namespace fs = std::filesystem;
using namespace mpeg_fixtures;

// The input of each job, cut or spliced with noise so that the job fails
// after it has written part of its output.
fs::path MakeInput(const fs::path& dir, bool encode, bool damaged) {
    const fs::path wav = fixtures::WriteSineWav(dir / "source" / "x.wav", 2 * 44100);
    if (encode) {
        EXPECT_TRUE(fixtures::EncodeFlac(wav, dir / "x.flac"));
        if (damaged) fs::resize_file(dir / "x.flac", fs::file_size(dir / "x.flac") * 7 / 8);
    } else {
        const Bytes mp3 = fixtures::ReadFile(Lame(wav, dir / "x.mp3", "-b 128"));
        if (damaged) fixtures::WriteFile(dir / "x.mp3", input_test::Spliced(mp3, std::ssize(mp3) / 2, Noise(5000, 41)));
    }
    fs::remove_all(dir / "source");
    return dir / (encode ? "x.flac" : "x.mp3");
}

TEST(JobSkeleton, OnlyASuccessReplacesWhatIsAtTheOutputName) {
    enum class Before { EarlierFile, Link, DanglingLink };
    const struct {
        const char* what;
        bool encode;
        Before before;
        bool damaged, stopped;
        JobResult result;
    } cases[] = {
        {"a failed encode", true, Before::EarlierFile, true, false, JobResult::Failed},
        {"a stopped encode", true, Before::EarlierFile, false, true, JobResult::Cancelled},
        {"a failed decode", false, Before::EarlierFile, true, false, JobResult::Failed},
        {"a stopped decode", false, Before::EarlierFile, false, true, JobResult::Cancelled},
        // Written through, the link's target (another recording) was lost.
        {"an encode over a link", true, Before::Link, false, false, JobResult::Done},
        {"a decode over a dangling link", false, Before::DanglingLink, false, false, JobResult::Done},
    };
    const std::string earlier = "the earlier output", target = "the link's target";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fixtures::TempDir dir;
        const fs::path input = MakeInput(dir.path(), c.encode, c.damaged);
        const fs::path output = dir / (c.encode ? "x.mp3" : "x.wav");
        if (c.before == Before::EarlierFile) fixtures::WriteText(output, earlier);
        if (c.before == Before::Link) fixtures::WriteText(dir / "kept.bin", target);
        if (c.before != Before::EarlierFile) fs::create_symlink(c.before == Before::Link ? "kept.bin" : "gone.bin", output);
        const std::set<std::string> namesBefore = fixtures::NamesIn(dir.path());

        fixtures::ErrorCapture errors;
        JobHooks hooks = fixtures::CapturingHooks();
        const std::atomic<int32_t> stop{c.stopped ? 1 : 0};
        hooks.Stop = &stop;
        const JobResult result = c.encode ? EncodeFile(input.string(), Settings{}, "", hooks)
                                          : RunDecodeJob(input.string(), Settings{}, "", hooks);
        EXPECT_EQ(result, c.result) << errors.joined();
        EXPECT_EQ(fixtures::NamesIn(dir.path()), namesBefore);
        if (c.before == Before::EarlierFile) {
            EXPECT_EQ(fixtures::ReadText(output), earlier);
        } else {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(output)));
            EXPECT_GT(fs::file_size(output), 1000u);
        }
        if (c.before == Before::Link) {
            EXPECT_EQ(fixtures::ReadText(dir / "kept.bin"), target);
        }
    }
}

// A power cut must cost either the input or nothing: the output's data, its
// name and the folder entry reach the disk before the input is unlinked. An
// input that cannot be deleted fails the file.
TEST(JobSkeleton, TheOutputIsOnDiskUnderItsNameBeforeTheInputIsDeleted) {
    for (const int unlinkResult : {0, -1}) {
        fixtures::TempDir dir;
        const fs::path wav = fixtures::WriteSineWav(dir / "x.wav");
        std::vector<std::string> calls;
        const FileSystemCalls recording{
            [&](int fd) {
                struct stat info {};
                fstat(fd, &info);
                calls.push_back(S_ISDIR(info.st_mode) ? "sync folder" : "sync file");
                return fsync(fd);
            },
            [&](int fromFolder, const char* from, int toFolder, const char* to) {
                calls.push_back(std::string("rename to ") + to);
                return renameat(fromFolder, from, toFolder, to);
            },
            [&](const char* path) {
                calls.push_back("unlink " + fs::path(path).filename().string());
                return unlinkResult == 0 ? unlink(path) : (errno = EACCES, -1);
            }};
        JobHooks hooks = fixtures::CapturingHooks();
        hooks.FileSystem = &recording;
        Settings settings;
        settings.DeleteInput = MenuSwitch(true);
        EXPECT_EQ(EncodeFile(wav.string(), settings, "", hooks), unlinkResult == 0 ? JobResult::Done : JobResult::Failed);
        EXPECT_EQ(calls, (std::vector<std::string>{"sync file", "rename to x.mp3", "sync folder", "unlink x.wav"}));
        EXPECT_TRUE(fs::exists(dir / "x.mp3"));
    }
}

}  // namespace
