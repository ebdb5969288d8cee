#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>

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
        fixtures::TempDir dir;
        for (const char* folder : {"out", "Empty"}) fs::create_directories(dir / folder);
        fixtures::MakeFolderPastPathMax(dir / "Deep");
        for (const auto& [name, text] : {std::pair<const char*, std::string>{"Quavermill.ini", ini},
                                         {"other.ini", "[Quavermill]\nSetBitrate=1\nSetCBR=1\nCBRBitrate=128\n"},
                                         {"bad.wav", "not audio"}, {"notes.txt", "x"}, {"noframe.mp2", "no frame"}})
            fixtures::WriteText(dir / name, text);
        for (const char* name : {"good.wav", "a.wav", "b.wav", "Albums/Disc 1/01.wav"})
            fixtures::WriteSineWav(dir / name);
        const std::string cd = "cd " + fixtures::ShellQuote(dir.path().string()) + " && ";
        ASSERT_EQ(std::system((cd + "lame --quiet -b 192 a.wav song.mp3").c_str()), 0);

        std::string command = cd + fixtures::ShellQuote(QM_CLI_PATH);
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
        EXPECT_EQ(fixtures::ReadText(dir / "Quavermill.ini"), ini);
        EXPECT_FALSE(fs::exists(dir / "Quavermill.log"));
    }
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
