// Whole files through the encode job, read back with python3-mutagen.

#include "encode/EncodeJob.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

#include "encode/EncodeLoop.h"
#include "encode/EncoderConfig.h"
#include "encode/Mp3Inspect.h"
#include "encode/TagAssembly.h"
#include "settings/EncodeOptions.h"
#include "support/Fixtures.h"

// The rows name only the settings they change; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

namespace fs = std::filesystem;

fs::path MakeWav(const fs::path& path, int64_t frames = 4410) {
    fs::create_directories(path.parent_path());
    fixtures::WriteWav16(path, 2, 44100, fixtures::Sine16(2, 44100, frames));
    return path;
}

TEST(EncodeJob, MonoFromStereoBesideTheInput) {
    fixtures::TempDir dir;
    // Without an output folder, beside the input; mono from stereo shows in the frame header's channel mode.
    const fs::path wav = MakeWav(dir / "in" / "x.wav");
    EXPECT_EQ(EncodeFile(wav.string(), {.Mono = 1}, "", JobHooks{}), JobResult::Done);
    EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "in" / "x.mp3"));
    EXPECT_EQ(fixtures::ReadFile(dir / "in" / "x.mp3").at(3) >> 6, 3);
}

TEST(EncodeJob, AnInputThatVanishedBeforeItsDeletionIsReported) {
    fixtures::ErrorCapture errors;
    fixtures::TempDir dir;
    const fs::path wav = MakeWav(dir / "gone.wav");
    JobHooks hooks;
    hooks.Progress = [&](int64_t, int64_t) { fs::remove(wav); };  // the open file still reads to its end
    EXPECT_EQ(EncodeFile(wav.string(), {.DeleteInput = 8}, "", hooks), JobResult::Done);
    EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "gone.mp3"));
    EXPECT_NE(errors.joined().find("Error deleting input file '" + wav.string() + "'"), std::string::npos)
        << errors.joined();
}

TEST(EncodeJob, FailedOrStoppedFileKeepsItsInputWhole) {
    struct Case { std::string how; JobResult result; std::string message; };
    const Case cases[] = {
        // Writing x.mp3 when it is the input would truncate the file being read.
        {"symlink", JobResult::Failed, "Input file and Output file are the same. Abort.\n"},
        {"hard link", JobResult::Failed, "Input file and Output file are the same. Abort.\n"},
        {"MPEG input", JobResult::Failed, "Input file and Output file are the same. Abort.\n"},
        // A full disk, or an input whose data breaks off, once let the input be deleted.
        {"full disk", JobResult::Failed, "Error writing mp3 output \n"},
        {"cut short", JobResult::Failed, "Error reading input file '"},
        {"stopped", JobResult::Cancelled, ""},
    };
    for (const Case& c : cases) {
        fixtures::ErrorCapture errors;
        fixtures::TempDir dir;
        fs::path input = MakeWav(dir / "x.wav", c.how == "stopped" ? 5 * 44100 : 4410), mp3 = dir / "x.mp3";
        if (c.how == "symlink") fs::create_symlink(input, mp3);
        if (c.how == "hard link") fs::create_hard_link(input, mp3);
        if (c.how == "MPEG input") fixtures::WriteText(input = mp3, "not really mpeg");
        if (c.how == "full disk") fs::create_symlink("/dev/full", mp3);
        if (c.how == "cut short") fs::resize_file(input, fs::file_size(input) / 2);
        const fixtures::Bytes original = fixtures::ReadFile(input);
        std::atomic<int32_t> stop{0};
        JobHooks hooks;
        hooks.Stop = &stop;
        hooks.Progress = [&stop, &c](int64_t, int64_t done) { stop = c.how == "stopped" && done > 0; };
        EXPECT_EQ(EncodeFile(input.string(), {.DeleteInput = 8}, "", hooks), c.result) << c.how;
        EXPECT_EQ(fixtures::ReadFile(input), original) << c.how;
        EXPECT_EQ(fs::exists(mp3), c.how != "stopped") << c.how;
        // Every message names the input; a stopped file has none.
        EXPECT_EQ(errors.joined().find(input.string() + ": " + c.message) != std::string::npos, !c.message.empty())
            << c.how << ": " << errors.joined();
        if (c.how == "symlink") {
            EXPECT_EQ(errors.messages().back(), input.string() + ": Error initializing input and output files " +
                                                    input.string() + "/" + mp3.string());
        }
    }
}

TEST(EncodeJob, ScalingTurnsTheStoredTagModeToComments) {
    SetEncodeTagMode(1);
    SetEncodeScaleMode(1);
    EXPECT_EQ(TakeEncodeOptionsForJob().TagMode, 2);
    EXPECT_EQ(SnapshotEncodeOptions().TagMode, 2);
    SetEncodeScaleMode(0);
    SetEncodeTagMode(1);
    EXPECT_EQ(TakeEncodeOptionsForJob().TagMode, 1);
    SetEncodeTagMode(0);
}

// The job's steps with comments handed over, as a FLAC or Ogg Vorbis reader would.
bool EncodeWithComments(const fs::path& wav, const EncodeOptions& options, const std::vector<std::string>& comments) {
    LameContext context(lame_init());
    id3tag_init(context.get());
    ConfigureEncoder(context.get(), options);
    AudioSource source;
    source.Type = kSourceWav;
    if (!OpenAudioSource(wav.string(), source)) return false;
    lame_set_num_channels(context.get(), source.Info.Channels);
    lame_set_in_samplerate(context.get(), source.Info.SampleRate);
    lame_set_num_samples(context.get(), static_cast<unsigned long>(source.SampleCountHint));
    for (const std::string& comment : comments) AppendComment(source.Comments, comment.c_str());
    AssembleTags(context.get(), options, SplitInputPath(wav.string()), source.Comments);
    ApplyId3Version(context.get(), options);
    lame_set_write_id3tag_automatic(context.get(), 0);
    if (lame_init_params(context.get()) != 0) return false;
    FilePtr out(std::fopen(fs::path(wav).replace_extension(".mp3").c_str(), "w+b"));
    return EncodeLoop(context.get(), out.get(), source) == kEncodeLoopDone;
}

TEST(EncodeJob, PathTemplatesAndCommentsReachBothTags) {
    const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC", cafe = "Caf\xC3\xA9", note = "\xF0\x9F\x8E\xB5";
    struct Case {
        std::string path;
        EncodeOptions options;
        std::vector<std::string> comments;            // none: the whole job runs
        std::map<std::string, std::string> expected;  // "" also stands for a missing field
    };
    const Case cases[] = {
        // A name Latin-1 cannot hold comes back whole from ID3v2; ID3v1 keeps what Latin-1 can say.
        {note + " Mix/" + nihon + " " + cafe + ".wav", {.AutoTag = 8}, {},
         {{"v2:TIT2", nihon + " " + cafe}, {"enc:TIT2", "1"}, {"v2:TALB", note + " Mix"}, {"v1:TIT2", "?? " + cafe},
          {"v1:TALB", "? Mix"}}},
        {"Music/Band/Record/01 Song.wav",
         {.Title = "%1 (live)", .Artist = "%3", .Album = "Best of %2", .Year = "1999", .Genre = "Rock", .TagMode = 1,
          .AutoTag = 8, .id3Tag = 1},
         {},
         {{"v2:TIT2", "01 Song (live)"}, {"v2:TPE1", "Band"}, {"v2:TALB", "Best of Record"}, {"v2:TYER", "1999"},
          {"v1:TIT2", "01 Song (live)"}, {"v1:TCON", "Rock"}}},
        // Unknown names are ignored; the file-name filter applies to every field, in both forms.
        {"c/x.wav", {.TagMode = 2, .id3Tag = 1},
         {"TITLE=a/b " + nihon + "?", "Artist=" + cafe, "ALBUMARTIST=Y", "album=<Best>: \"1|2\"*?\\",
          "TRACKNUMBER=12/15", "GENRE=", "COMMENT=z"},
         {{"v2:TIT2", "a_b " + nihon + "_"}, {"v1:TIT2", "a_b ___"}, {"v2:TPE1", cafe}, {"enc:TPE1", "0"},
          {"v2:TPE2", ""}, {"v2:TALB", "_Best__ _1_2____"}, {"v2:TRCK", "12_15"}, {"v2:TCON", ""}, {"v2:COMM", ""}}},
        // ID3v1 only: no ID3v2 even for what Latin-1 lacks, the short limits, and Other for an unknown genre.
        {"c/x.wav", {.TagMode = 2, .id3Tag = 2},
         {"DATE=2001-05-17", "TRACKNUMBER=12/15", "GENRE=Chillout", "TITLE=" + nihon + std::string(40, 't')},
         {{"id3v2", "0"}, {"v1:TDRC", "2001"}, {"v1:TRCK", "12"}, {"v1:TCON", "Other"},
          {"v1:TIT2", "__" + std::string(28, 't')}}},
    };
    for (const Case& c : cases) {
        fixtures::TempDir dir;
        const fs::path wav = MakeWav(dir / c.path);
        if (c.comments.empty()) {
            ASSERT_EQ(EncodeFile(wav.string(), c.options, "", JobHooks{}), JobResult::Done) << c.path;
        } else {
            ASSERT_TRUE(EncodeWithComments(wav, c.options, c.comments)) << c.path;
        }
        auto mp3 = mp3inspect::ReadMp3(fs::path(wav).replace_extension(".mp3"));
        ASSERT_EQ(mp3["complete"], "1") << c.path;
        for (const auto& [key, text] : c.expected) EXPECT_EQ(mp3[key], text) << c.path << " " << key;
    }
}

}  // namespace
