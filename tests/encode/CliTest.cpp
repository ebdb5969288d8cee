#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>

#include "encode/Mp3Inspect.h"
#include "support/Fixtures.h"

namespace {

namespace fs = std::filesystem;

TEST(CliTool, ExitStatusMessagesAndFilesForEachKindOfRun) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::vector<std::string> errors;  // a leading '/' stands for the folder's path
        std::vector<std::string> present, absent;
    };
    const Case cases[] = {
        {{"good.wav", "bad.wav", "missing.wav", "notes.txt"}, 1,
         {"/bad.wav: Unrecognised format\n", "/missing.wav: ", "/notes.txt: Unsupported input file type\n",
          "1 of 4 files converted, 3 failed"},
         {"good.mp3", "bad.wav", "notes.txt"}, {"good.wav", "bad.mp3", "missing.mp3"}},
        // Several files at once set up the encoder library in parallel.
        {{"-q", "-j", "2", "-o", "out/", "a.wav", "b.wav", "good.wav"}, 0, {},
         {"out/a.mp3", "out/b.mp3", "out/good.mp3"}, {"a.mp3", "a.wav", "b.wav", "good.wav"}},
        // Two files of one run writing one output would interleave two streams in it.
        {{"-j", "2", "a.wav", "a.aif", "a.wav"}, 1,
         {"/a.aif: Output file '", "/a.mp3' is also written or read by another file of this run; skipped",
          "1 of 3 files converted, 2 failed"},
         {"a.mp3", "a.aif"}, {}},
        // MPEG files are decoded to WAV, and never deleted.
        {{"-q", "song.mp3", "noframe.mp2"}, 1, {"/noframe.mp2: Can't find an MPEG audio frame in '"},
         {"song.wav", "song.mp3", "noframe.mp2"}, {"noframe.wav"}},
        {{"--help"}, 0, {}, {}, {}},
        {{}, 2, {"no input files given"}, {}, {}},
        {{"-o", "nowhere", "a.wav"}, 2, {"the output directory 'nowhere' does not exist"}, {"a.wav"}, {"a.mp3"}},
        {{"-j", "0", "a.wav"}, 2, {"option -j needs a whole number from 1 to 256, not '0'"}, {"a.wav"}, {"a.mp3"}},
        {{"--bogus", "a.wav"}, 2, {"unknown option '--bogus'"}, {}, {}},
    };
    // Settings come from the settings file, which is read but never written, nor is a log.
    const std::string ini = "[Quavermill]\nSetBitrate=1\nSetCBR=1\nCBRBitrate=192\nDeleteInput=8\n";
    for (const Case& c : cases) {
        fixtures::TempDir dir;
        fs::create_directories(dir / "out");
        fixtures::WriteText(dir / "Quavermill.ini", ini);
        for (const char* name : {"good.wav", "a.wav", "b.wav"}) {
            fixtures::WriteWav16(dir / name, 2, 44100, fixtures::Sine16(2, 44100, 4410));
        }
        fixtures::WriteText(dir / "bad.wav", "not audio");
        fixtures::WriteText(dir / "notes.txt", "x");
        fixtures::WriteText(dir / "a.aif", "refused before it is opened");
        fixtures::WriteText(dir / "noframe.mp2", "no frame in here");
        ASSERT_EQ(std::system(("lame --quiet -b 192 " + mp3inspect::ShellQuote((dir / "a.wav").string()) + " " +
                               mp3inspect::ShellQuote((dir / "song.mp3").string()))
                                  .c_str()),
                  0);

        std::string command = "cd " + mp3inspect::ShellQuote(dir.path().string()) + " && " +
                              mp3inspect::ShellQuote(QM_CLI_PATH);
        for (const std::string& argument : c.arguments) command += " " + mp3inspect::ShellQuote(argument);
        const int raw = std::system((command + " >/dev/null 2>stderr.txt </dev/null").c_str());
        const std::string errors = fixtures::ReadText(dir / "stderr.txt");
        const std::string name = testing::PrintToString(c.arguments);
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << name << ": " << errors;
        EXPECT_EQ(errors.empty(), c.errors.empty()) << name << ": " << errors;
        for (const std::string& error : c.errors) {
            const std::string expected = error[0] == '/' ? dir.path().string() + error : error;
            EXPECT_NE(errors.find(expected), std::string::npos) << name << ": " << errors;
        }
        for (const std::string& file : c.present) {
            EXPECT_TRUE(fs::exists(dir / file)) << name << ": " << file;
            if (file.ends_with(".mp3")) {
                EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / file)) << name << ": " << file;
                // 192 kbit/s, bitrate index 11, in the first frame header.
                EXPECT_EQ(fixtures::ReadFile(dir / file).at(2) >> 4, 11) << name << ": " << file;
            }
        }
        for (const std::string& file : c.absent) EXPECT_FALSE(fs::exists(dir / file)) << name << ": " << file;
        EXPECT_EQ(fixtures::ReadText(dir / "Quavermill.ini"), ini) << name;
        EXPECT_FALSE(fs::exists(dir / "Quavermill.log")) << name;
    }
}

}  // namespace
