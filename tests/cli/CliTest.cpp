#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <set>
#include <thread>

#include "cli/ToolRun.h"
#include "encode/Mp3Inspect.h"
#include "support/Fixtures.h"

namespace fs = std::filesystem;

// Each MP3 is checked in its first frame's header, which holds the bitrate
// index and the channel mode; the header frame says VBR ("Xing") or not ("Info").
TEST(CliTool, ExitStatusMessagesAndFilesForEachKindOfRun) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::vector<std::string> errors;  // a leading '/' stands for the folder's path
        std::vector<std::string> present = {}, absent = {};
        int bitrate_index = 11, channel_mode = 1;  // the settings file's CBR 192 in joint stereo; index -1: VBR
    };
    const Case cases[] = {
        {{"good.wav", "bad.wav", "missing.wav", "notes.txt"}, 1,
         {"/bad.wav: Unrecognised format\n", "/missing.wav: ", "/notes.txt: Unsupported input file type\n",
          "1 of 4 files converted, 3 failed"},
         {"good.mp3", "bad.wav", "notes.txt"}, {"good.wav", "bad.mp3", "missing.mp3"}},
        // Several files at once set up the encoder library in parallel.
        {{"-q", "-j", "2", "-o", "out/", "a.wav", "b.wav", "good.wav"}, 0, {},
         {"out/a.mp3", "out/b.mp3", "out/good.mp3"}, {"a.mp3", "a.wav", "b.wav", "good.wav"}},
        // MPEG files are decoded to WAV, and never deleted.
        {{"-q", "song.mp3", "noframe.mp2"}, 1, {"/noframe.mp2: Can't find an MPEG audio frame in '"},
         {"song.wav", "song.mp3", "noframe.mp2"}, {"noframe.wav"}},
        // A folder's files keep their place below the output folder; an empty folder, and one the walk
        // cannot enter, are errors of their own.
        {{"-q", "-o", "out", "Albums", "Empty", "Deep"}, 1,
         {"/Empty: No audio files to convert in this folder", ": Can't read this folder: File name too long"},
         {"out/Albums/Disc 1/01.mp3"}, {"Albums/Disc 1/01.mp3"}},
        // Encoder options override the settings file for this run only.
        {{"-q", "-b", "100", "--cbr", "a.wav"}, 0, {}, {"a.mp3"}, {}, 7},  // 96 kbit/s is the nearest legal rate
        {{"-q", "-m", "a.wav"}, 0, {}, {"a.mp3"}, {}, 11, 3},
        {{"-q", "-V", "2.5", "a.wav"}, 0, {}, {"a.mp3"}, {}, -1},
        {{"-q", "--settings", "other.ini", "a.wav"}, 0, {}, {"a.mp3"}, {}, 9},  // its CBR 128
        // A file anyone may have written is not read: the defaults apply (VBR, inputs kept).
        {{"-q", "--settings", "planted.ini", "a.wav"}, 0,
         {"settings not read, the defaults apply: other users may write to '"}, {"a.mp3", "a.wav"}, {}, -1},
        // The kernel's work/sub/.. is elsewhere/, not work/: the file named is the one converted and deleted.
        {{"-q", "work/sub/../x.wav"}, 0, {}, {"elsewhere/x.mp3", "work/x.wav"}, {"elsewhere/x.wav", "work/x.mp3"}},
        // A FIFO would hold its worker in a read no stop reaches.
        {{"-q", "fifo.wav"}, 1, {"/fifo.wav: Unsupported input file type\n"}, {}, {"fifo.mp3"}},
        // An input reached twice is converted once, and its deletion does not fail the second time.
        {{"-q", "Albums", "Albums/Disc 1/01.wav"}, 0, {}, {"Albums/Disc 1/01.mp3"}, {"Albums/Disc 1/01.wav"}},
        // The root is an output directory, not "beside the input".
        {{"-q", "-o", "/", "quavermill-test-root.wav"}, 0, {}, {"/quavermill-test-root.mp3"},
         {"quavermill-test-root.mp3", "quavermill-test-root.wav"}},
        // A wrong command line converts nothing and exits with 2.
        {{}, 2, {"no input files"}},
        {{"-b"}, 2, {"option -b needs a value"}},
        {{"--bogus", "a.wav"}, 2, {"unknown option '--bogus'"}},
        {{"-o", "nowhere", "a.wav"}, 2, {"the output directory 'nowhere' does not exist"}, {}, {"a.mp3"}},
        {{"--settings", "missing.ini", "a.wav"}, 2, {"the settings file 'missing.ini' does not exist"}},
        {{"-V", "10.01", "a.wav"}, 2, {"option -V needs a quality from 0 to 10 with at most two decimals"}},
        {{"-V", "2.125", "a.wav"}, 2, {"not '2.125'"}},  // else read as 3.25
        {{"-b", "7", "a.wav"}, 2, {"option -b needs a bitrate from 8 to 320 kbit/s, not '7'"}, {}, {"a.mp3"}},
        {{"-V", "2", "-b", "128", "a.wav"}, 2, {"option -V (a VBR quality) cannot go with -b"}},
    };
    // Settings come from the settings file, which is read but never written, nor is a log.
    const std::string ini = "[Quavermill]\nSetBitrate=1\nSetCBR=1\nCBRBitrate=192\nDeleteInput=8\n";
    for (const Case& c : cases) {
        const bool intoRoot = std::find(c.arguments.begin(), c.arguments.end(), "/") != c.arguments.end();
        if (intoRoot && access("/", W_OK) != 0) continue;
        fixtures::TempDir dir;
        for (const char* folder : {"out", "Empty", "work", "elsewhere/dir"}) fs::create_directories(dir / folder);
        fs::create_symlink("../elsewhere/dir", dir / "work" / "sub");
        ASSERT_EQ(mkfifo((dir / "fifo.wav").c_str(), 0600), 0);
        fixtures::MakeFolderPastPathMax(dir / "Deep");
        for (const auto& [name, text] : {std::pair<const char*, std::string>{"Quavermill.ini", ini},
                                         {"other.ini", "[Quavermill]\nSetBitrate=1\nSetCBR=1\nCBRBitrate=128\n"},
                                         {"bad.wav", "not audio"}, {"notes.txt", "x"}, {"noframe.mp2", "no frame"}})
            fixtures::WriteText(dir / name, text);
        fixtures::WriteText(dir / "planted.ini", ini);
        fs::permissions(dir / "planted.ini", fs::perms::others_write, fs::perm_options::add);
        for (const char* name : {"good.wav", "a.wav", "b.wav", "Albums/Disc 1/01.wav", "work/x.wav", "elsewhere/x.wav",
                                 "quavermill-test-root.wav"})
            fixtures::WriteSineWav(dir / name);
        const std::string cd = "cd " + fixtures::ShellQuote(dir.path().string()) + " && ";
        ASSERT_EQ(std::system((cd + "lame --quiet -b 192 a.wav song.mp3").c_str()), 0);

        std::string command = cd + "timeout 60 " + fixtures::ShellQuote(QM_CLI_PATH);
        for (const std::string& argument : c.arguments) command += " " + fixtures::ShellQuote(argument);
        const int raw = std::system((command + " 2>stderr.txt </dev/null").c_str());
        const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        const std::string errors = fixtures::ReadText(dir / "stderr.txt");
        SCOPED_TRACE(testing::PrintToString(c.arguments) + ": " + errors);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(errors.empty(), c.errors.empty());
        for (const std::string& error : c.errors)
            EXPECT_NE(errors.find(error[0] == '/' ? dir.path().string() + error : error), std::string::npos) << error;
        for (const std::string& file : c.present) {
            EXPECT_TRUE(fs::exists(dir / file)) << file;
            if (!file.ends_with(".mp3")) continue;
            EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / file)) << file;
            const fixtures::Bytes mp3 = fixtures::ReadFile(dir / file);
            const std::string head(mp3.begin(), mp3.begin() + std::min<std::size_t>(mp3.size(), 200));
            EXPECT_EQ(head.find("Xing") != std::string::npos, c.bitrate_index < 0) << file;
            EXPECT_TRUE(c.bitrate_index < 0 || mp3.at(2) >> 4 == c.bitrate_index) << file << ": " << (mp3.at(2) >> 4);
            EXPECT_EQ(mp3.at(3) >> 6, c.channel_mode) << file;
        }
        for (const std::string& file : c.absent) EXPECT_FALSE(fs::exists(dir / file)) << file;
        if (intoRoot) fs::remove("/quavermill-test-root.mp3");
        EXPECT_EQ(fixtures::ReadText(dir / "Quavermill.ini"), ini);
        EXPECT_FALSE(fs::exists(dir / "Quavermill.log"));
    }
}

// A stop signal while a long file encodes stops it at once and keeps the file that was at its output name;
// the file after it never starts. Even a kill leaves no new file. A closed pipe on standard error changes
// nothing: the run goes on and ends as it would have.
TEST(CliTool, AStopOrAKillLosesNothingAndAClosedPipeStopsNothing) {
    fixtures::TempDir dir;
    fixtures::WriteSineWav(dir / "big.wav", 44100 * 60);
    fixtures::WriteSineWav(dir / "small.wav");
    fixtures::WriteText(dir / "bad.wav", "not audio");
    // The signal (none: standard error is a pipe closed at the other end) and the exit status (-1: killed).
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, {SIGTERM, 130}, {SIGKILL, -1}, {0, 1}}) {
        SCOPED_TRACE(signal);
        fixtures::WriteText(dir / "big.mp3", "the earlier big.mp3");
        fs::remove(dir / "small.mp3");
        int closedPipe[2];
        ASSERT_EQ(pipe(closedPipe), 0);
        const std::vector<std::string> arguments = {"-j", "1", signal != 0 ? "big.wav" : "bad.wav", "small.wav"};
        const int tool = fixtures::StartProgram(dir.path(), QM_CLI_PATH, arguments, signal == 0 ? closedPipe[1] : -1);
        close(closedPipe[0]);
        close(closedPipe[1]);
        for (int i = 0; signal != 0 && i < 400 && !fixtures::WritesAnUnnamedFile(tool); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (signal != 0) kill(tool, signal);
        EXPECT_EQ(fixtures::WaitForExit(tool), status);
        if (signal != 0) {
            EXPECT_EQ(fixtures::NamesIn(dir.path()), (std::set<std::string>{"big.wav", "big.mp3", "small.wav", "bad.wav"}));
            EXPECT_TRUE(fixtures::ReadText(dir / "big.mp3") == "the earlier big.mp3");
        } else {
            EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "small.mp3"));
        }
    }
}

// 130 says a stop left files unconverted; a stop that came when nothing was left to do says nothing. A stop
// that came before the files were queued lets none of them start.
TEST(CliTool, ExitStatus130OnlyWhenTheStopLeftAFileUnconverted) {
    fixtures::TempDir dir;
    const fixtures::ScopedWorkingDir inDir(dir.path());
    fixtures::WriteSineWav(dir / "a.wav");
    fixtures::WriteText(dir / "notes.txt", "x");
    int stopped[2];
    ASSERT_EQ(pipe(stopped), 0);
    ASSERT_EQ(write(stopped[1], "x", 1), 1);
    EXPECT_EQ(RunTool({"-q", "notes.txt"}, stopped[0]), 1);
    EXPECT_EQ(RunTool({"-q", "a.wav"}, stopped[0]), 130);
    EXPECT_FALSE(fs::exists(dir / "a.mp3"));
    close(stopped[0]);
    close(stopped[1]);
}

// A playlist and a concat script, given extensions the libavformat reader takes, name a file that is there:
// they are refused, and the tool never opens that file. A real M4A next to them converts.
TEST(CliTool, PlaylistsAndReferencesAreRefusedWithoutOpeningAnotherFile) {
    fixtures::TempDir dir;
    const std::string cd = "cd " + fixtures::ShellQuote(dir.path().string()) + " && ";
    ASSERT_EQ(std::system((cd + "ffmpeg -v error -f lavfi -i sine=d=1 -c:a aac named.aac real.m4a").c_str()), 0);
    fixtures::WriteText(dir / "list.m4a", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nnamed.aac\n#EXT-X-ENDLIST\n");
    fixtures::WriteText(dir / "script.mka", "ffconcat version 1.0\nfile named.aac\n");
    const std::string run = cd + "strace -f -e trace=openat -o opened.txt " + fixtures::ShellQuote(QM_CLI_PATH) +
                            " -q list.m4a script.mka real.m4a 2>stderr.txt";
    const int raw = std::system(run.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
    const std::string errors = fixtures::ReadText(dir / "stderr.txt");
    for (const char* name : {"/list.m4a: Unrecognised format", "/script.mka: Unrecognised format"})
        EXPECT_NE(errors.find(dir.path().string() + name), std::string::npos) << errors;
    EXPECT_EQ(fixtures::ReadText(dir / "opened.txt").find("named.aac"), std::string::npos);
    EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "real.mp3"));
}
