// Whole files through the encode job, read back with python3-mutagen.

#include "encode/EncodeJob.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "encode/Mp3Inspect.h"
#include "support/Fixtures.h"

// The rows name only the settings they change; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

namespace fs = std::filesystem;

// A WAV, FLAC or Ogg Vorbis file of a sine, as the extension says; FLAC and
// Ogg Vorbis files carry `comments`.
fs::path MakeInput(const fs::path& path, int64_t frames = 4410, const std::vector<std::string>& comments = {},
                   double amplitude = 0.5) {
    if (path.extension() == ".wav") return fixtures::WriteSineWav(path, frames, amplitude);
    const fs::path wav = fixtures::WriteSineWav(fs::path(path).replace_extension(".source.wav"), frames, amplitude);
    const bool made = path.extension() == ".ogg" ? fixtures::EncodeOgg(wav, path, comments)
                                                 : fixtures::EncodeFlac(wav, path, comments);
    EXPECT_TRUE(made) << path;
    fs::remove(wav);
    return path;
}

// The reader and loop tests find each damage; here a failed file must keep its
// input whole, even with deletion on, and name it in its message. A stopped
// one: JobSkeleton.OnlyASuccessReplacesWhatIsAtTheOutputName.
TEST(EncodeJob, AFailedFileKeepsItsInputWhole) {
    const std::string same = "Input file and Output file are the same. Abort.\n";
    const std::pair<std::string, std::string> cases[] = {
        // Writing x.mp3 when it is the input would truncate the file being read.
        {"symlink", same}, {"MPEG input", same},
        // An input whose data breaks off once let the input be deleted.
        {"cut short", "Error reading input file '"},
        {"rate change", "The sample rate changes inside the stream, from 44100 Hz to 22050 Hz\n"},
    };
    for (const auto& [how, message] : cases) {
        SCOPED_TRACE(how);
        fixtures::ErrorCapture errors;
        fixtures::TempDir dir;
        fs::path input = dir / (how == "cut short" ? "x.flac" : how == "rate change" ? "x.ogg" : "x.wav");
        const fs::path mp3 = dir / "x.mp3";
        // The rate change: a stereo link at 44100 Hz followed by a mono one at 22050 Hz.
        const std::string chain = "cd " + fixtures::ShellQuote(dir.path()) + " && sox -n -r 44100 -c 2 1.ogg synth 1 "
                                  "sine 440 && sox -n -r 22050 -c 1 2.ogg synth 1 sine 330 && cat 1.ogg 2.ogg >x.ogg";
        if (how == "rate change") ASSERT_EQ(std::system(chain.c_str()), 0);
        else MakeInput(input, 2 * 44100);
        if (how == "symlink") fs::create_symlink(input, mp3);
        if (how == "MPEG input") fixtures::WriteText(input = mp3, "not really mpeg");
        // Beyond the padding flac leaves before the first frame.
        if (how == "cut short") fs::resize_file(input, fs::file_size(input) - fs::file_size(input) / 8);
        const fixtures::Bytes original = fixtures::ReadFile(input);
        const Settings settings{.DeleteInput = MenuSwitch(true)};
        EXPECT_EQ(EncodeFile(input.string(), settings, "", fixtures::CapturingHooks()), JobResult::Failed);
        EXPECT_EQ(fixtures::ReadFile(input), original);
        EXPECT_NE(errors.joined().find(input.string() + ": " + message), std::string::npos) << errors.joined();
    }
}

TEST(EncodeJob, PathTemplatesAndCommentsReachBothTags) {
    const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC", cafe = "Caf\xC3\xA9", note = "\xF0\x9F\x8E\xB5";
    struct Case {
        std::string path;
        Settings options;
        std::vector<std::string> comments;            // carried by a FLAC or Ogg Vorbis input
        std::map<std::string, std::string> expected;  // "" also stands for a missing field
    };
    const Case cases[] = {
        // A name Latin-1 cannot hold comes back whole from ID3v2; ID3v1 keeps what Latin-1 can say. A name
        // that is not UTF-8 is read as Latin-1.
        {"M\xFCsic/" + note + " Mix/" + nihon + " " + cafe + ".wav", {.AutoTag = MenuSwitch(true)}, {},
         {{"v2:TIT2", nihon + " " + cafe}, {"enc:TIT2", "1"}, {"v2:TALB", note + " Mix"}, {"v1:TIT2", "?? " + cafe},
          {"v1:TALB", "? Mix"}, {"v2:TPE1", "M\xC3\xBCsic"}}},
        // ID3v2.3's year frame takes four digits: a date gives its year.
        {"Music/B\xE4nd/Record/01 Song.wav",
         {.TagMode = TagModeChoice::Custom, .AutoTag = MenuSwitch(true), .id3Tag = Id3TagChoice::AlsoV2,
          .Title = "%1 (live)", .Artist = "%3", .Album = "Best of %2", .Genre = "Rock", .Year = "1999-12-31"},
         {},
         {{"v2:TIT2", "01 Song (live)"}, {"v2:TPE1", "B\xC3\xA4nd"}, {"v2:TALB", "Best of Record"},
          {"v2:TYER", "1999"}, {"v1:TIT2", "01 Song (live)"}, {"v1:TCON", "Rock"}}},
        // Unknown names are ignored; the file-name filter applies to every field, in both forms.
        {"c/x.flac", {.TagMode = TagModeChoice::Comments, .id3Tag = Id3TagChoice::AlsoV2},
         {"TITLE=a/b " + nihon + "?", "Artist=" + cafe, "ALBUMARTIST=Y", "album=<Best>: \"1|2\"*?\\",
          "TRACKNUMBER=12/15", "GENRE=", "COMMENT=z", "DATE=2001-05-17"},
         {{"v2:TIT2", "a_b " + nihon + "_"}, {"v1:TIT2", "a_b ___"}, {"v2:TPE1", cafe}, {"enc:TPE1", "0"},
          {"v2:TYER", "2001"}, {"v2:TPE2", ""}, {"v2:TALB", "_Best__ _1_2____"}, {"v2:TRCK", "12_15"},
          {"v2:TCON", ""}, {"v2:COMM", ""}}},
        // ID3v1 only: no ID3v2 even for what Latin-1 lacks, the short limits, and Other for an unknown genre.
        {"c/x.ogg", {.TagMode = TagModeChoice::Comments, .id3Tag = Id3TagChoice::V1Only},
         {"DATE=2001-05-17", "TRACKNUMBER=12/15", "GENRE=Chillout", "TITLE=" + nihon + std::string(40, 't')},
         {{"id3v2", "0"}, {"v1:TDRC", "2001"}, {"v1:TRCK", "12"}, {"v1:TCON", "Other"},
          {"v1:TIT2", "__" + std::string(28, 't')}}},
    };
    for (const Case& c : cases) {
        fixtures::TempDir dir;
        const fs::path input = MakeInput(dir / c.path, 4410, c.comments);
        ASSERT_EQ(EncodeFile(input.string(), c.options, "", fixtures::CapturingHooks()), JobResult::Done) << c.path;
        auto mp3 = mp3inspect::ReadMp3(fs::path(input).replace_extension(".mp3"));
        ASSERT_EQ(mp3["complete"], "1") << c.path;
        for (const auto& [key, text] : c.expected) EXPECT_EQ(mp3[key], text) << c.path << " " << key;
    }
}

// The RMS level of an MP3 file, decoded by lame and measured by Python.
double DecodedRms(const fs::path& mp3) {
    auto found = mp3inspect::RunScript(R"PY(
import array, math, subprocess, sys, wave
subprocess.run(['lame', '--quiet', '--decode', sys.argv[1], sys.argv[2]], check=True)
w = wave.open(sys.argv[2]); a = array.array('h', w.readframes(w.getnframes()))
print(f'rms\t{math.sqrt(sum(x * x for x in a) / max(len(a), 1))}'))PY",
                                       {mp3.string(), fs::path(mp3).replace_extension(".decoded.wav").string()});
    return found.count("rms") ? std::stod(found["rms"]) : -1.0;
}

// A lossless input gives the MP3 of its WAV, byte for byte.
TEST(EncodeJob, AFlacInputGivesItsWavsMp3AndReplayGainScalesFlacAndOggInputs) {
    // -6.0206 dB halves the level, +6.0206 dB doubles it.
    const std::vector<std::string> gains = {"REPLAYGAIN_TRACK_GAIN=-6.0206 dB", "REPLAYGAIN_ALBUM_GAIN=+6.0206 dB"};
    fixtures::TempDir dir;
    const fs::path wav = MakeInput(dir / "x.wav", 22067, {}, 0.25);
    ASSERT_EQ(EncodeFile(wav.string(), {}, "", fixtures::CapturingHooks()), JobResult::Done);
    const fixtures::Bytes fromWav = fixtures::ReadFile(dir / "x.mp3");
    for (const std::string name : {"x.flac", "x.ogg"}) {
        const fs::path input = MakeInput(dir / name, 22067, gains, 0.25);
        ASSERT_EQ(EncodeFile(input.string(), {}, "", fixtures::CapturingHooks()), JobResult::Done);
        EXPECT_TRUE(name == "x.ogg" || fixtures::ReadFile(dir / "x.mp3") == fromWav);
        const double unscaled = DecodedRms(dir / "x.mp3");
        ASSERT_GT(unscaled, 1000.0) << name;
        // The track gain without automatic tagging, the album gain with it.
        for (int32_t mode : {1, 2}) {
            SCOPED_TRACE(name + " mode " + std::to_string(mode));
            const Settings settings{.AutoTag = MenuSwitch(mode == 2), .ScaleMode = ScaleModeChoice{mode}};
            ASSERT_EQ(EncodeFile(input.string(), settings, "", fixtures::CapturingHooks()), JobResult::Done);
            EXPECT_NEAR(DecodedRms(dir / "x.mp3") / unscaled, mode == 1 ? 0.5 : 2.0, 0.02);
        }
    }
}

}  // namespace
