// The album picture: found beside the input or handed over by a reader,
// carried in the MP3's ID3v2 tag and read back with mutagen.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "encode/EncodeJob.h"
#include "encode/Mp3Inspect.h"
#include "input/PictureBlock.h"
#include "support/Fixtures.h"

// The rows name only the settings they change; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

namespace fs = std::filesystem;

// A JPEG's first bytes followed by `size` - 4 bytes of noise.
fixtures::Bytes FakeJpeg(std::size_t size, unsigned seed = 1) {
    fixtures::Bytes bytes = {0xFF, 0xD8, 0xFF, 0xE0};
    std::mt19937 noise(seed);
    while (bytes.size() < size) bytes.push_back(static_cast<uint8_t>(noise()));
    return bytes;
}

Settings Templates(Id3TagChoice versions) {
    return {.TagMode = TagModeChoice::Custom, .AutoTag = MenuSwitch(true), .id3Tag = versions, .Title = "%1"};
}

TEST(CoverArt, TheAlbumFoldersPictureFollowsTheTagChoices) {
    const struct {
        const char* name;
        Settings options;
        int pictures;
        std::size_t coverBytes = 3 * 1024 * 1024;  // megabytes, which the library itself cannot carry
    } rows[] = {
        {"path tags", {.AutoTag = MenuSwitch(true)}, 1},
        {"templates, ID3v2 if necessary", Templates(Id3TagChoice::V2IfNeeded), 1},
        {"templates, ID3v2 only", Templates(Id3TagChoice::V2Only), 1},
        {"templates, ID3v1 only", Templates(Id3TagChoice::V1Only), 0},
        {"no automatic tagging", {}, 0},
        // Skipped with a warning: the next name is taken.
        {"a cover too large to copy", {.AutoTag = MenuSwitch(true)}, 1, kMaxPictureBytes + 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fixtures::ErrorCapture errors;
        fixtures::TempDir dir;
        const fixtures::Bytes picture = FakeJpeg(row.coverBytes), folder = FakeJpeg(100, 2);
        const fs::path wav = fixtures::WriteSineWav(dir / "Album" / "01 Song.wav");
        fixtures::WriteFile(dir / "Album" / "Cover.JPG", picture);
        fixtures::WriteFile(dir / "Album" / "folder.jpg", folder);  // cover.* comes first
        ASSERT_EQ(EncodeFile(wav.string(), row.options, "", fixtures::CapturingHooks()), JobResult::Done);
        const std::string mp3 = (dir / "Album" / "01 Song.mp3").string();
        auto tags = mp3inspect::ReadMp3(mp3);
        ASSERT_EQ(tags["apic"], std::to_string(row.pictures));
        const bool warned = errors.joined().find("is larger than 16 MiB and was not copied") != std::string::npos;
        EXPECT_EQ(warned, row.coverBytes > kMaxPictureBytes) << errors.joined();
        if (row.pictures == 0) continue;
        EXPECT_EQ(tags["apic:mime"], "image/jpeg");
        EXPECT_EQ(tags["apic:type"], "3");
        EXPECT_EQ(fixtures::ReadFile(mp3 + ".picture"), warned ? folder : picture);
        // The library's own frames stay readable around the picture.
        EXPECT_EQ(tags["complete"], "1");
        EXPECT_EQ(tags["v2:TIT2"], "01 Song");
    }
}

// A FLAC PICTURE block as an Ogg Vorbis comment carries it.
std::string PictureBlock(uint32_t type, const std::string& mime, const std::string& description,
                         const fixtures::Bytes& data) {
    fixtures::Bytes block;
    auto number = [&block](uint32_t value) { fixtures::PutBE32(block, value); };
    auto text = [&](const std::string& value) {
        number(static_cast<uint32_t>(value.size()));
        block.insert(block.end(), value.begin(), value.end());
    };
    number(type);
    text(mime);
    text(description);
    for (int i = 0; i < 4; ++i) number(0);  // width, height, depth, colours
    number(static_cast<uint32_t>(data.size()));
    block.insert(block.end(), data.begin(), data.end());
    return std::string(block.begin(), block.end());
}

std::string Base64(const std::string& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t taken = std::min<std::size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) group = group << 8 | (k < taken ? uint8_t(bytes[i + k]) : 0);
        // `taken` bytes need taken + 1 digits; '=' fills the group of four.
        for (std::size_t k = 0; k < 4; ++k) text += k <= taken ? digits[group >> (18 - 6 * k) & 63] : '=';
    }
    return text;
}

TEST(PictureBlock, PictureCommentsAreDecodedAndDamagedOnesSkippedWithAWarning) {
    fixtures::ErrorCapture errors;
    const fixtures::Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1, 2, 3};
    const std::string back = PictureBlock(4, "image/png", "Back", png);
    const std::string front = PictureBlock(3, "image/jpeg", "Caf\xC3\xA9 \xE6\x97\xA5", FakeJpeg(50));
    std::string cut = front;
    cut.resize(cut.size() - 1);  // the data length runs past the block
    CommentList list;
    const ErrorReporter captured{{}, fixtures::CaptureSink()};
    EXPECT_TRUE(TakePictureComment(list, "METADATA_BLOCK_PICTURE=" + Base64(back), captured));
    EXPECT_TRUE(TakePictureComment(list, "metadata_block_picture=" + Base64(front), captured));
    EXPECT_TRUE(TakePictureComment(list, "METADATA_BLOCK_PICTURE=" + Base64(cut), captured));
    EXPECT_TRUE(TakePictureComment(list, "METADATA_BLOCK_PICTURE=not*base64", captured));
    EXPECT_TRUE(TakePictureComment(
        list, "METADATA_BLOCK_PICTURE=" + Base64(PictureBlock(3, "image/gif", "", {'G', 'I', 'F'})), captured));
    EXPECT_FALSE(TakePictureComment(list, "TITLE=METADATA_BLOCK_PICTURE=", captured));
    ASSERT_EQ(list.Pictures.size(), 2u);  // the GIF is passed over
    EXPECT_EQ(list.Pictures[0].Type, 4u);
    EXPECT_EQ(list.Pictures[0].Data, png);
    EXPECT_EQ(list.Pictures[1].Description, "Caf\xC3\xA9 \xE6\x97\xA5");
    EXPECT_EQ(errors.messages(), (std::vector<std::string>(2, "Warning: a damaged picture was skipped\n")));
    EXPECT_TRUE(list.Entries.empty());  // never read as comment text
    // Padding is optional; a lone digit or anything after the padding is damage.
    for (const auto& [text, bytes] : {std::pair{"QUJDRA==", "ABCD"}, {"QUJDRA", "ABCD"}, {"QUI", "AB"}, {"", ""}}) {
        EXPECT_EQ(DecodeBase64(text), std::optional<std::string>(bytes)) << text;
    }
    EXPECT_FALSE(DecodeBase64("Q").has_value() || DecodeBase64("QQ==QQ").has_value());
}

TEST(CoverArt, TheSourcesOwnPicturesTravelWhenTheTagsComeFromItsComments) {
    fixtures::ErrorCapture errors;
    fixtures::TempDir dir;
    const fixtures::Bytes front = FakeJpeg(2 * 1024 * 1024, 3);
    const fixtures::Bytes back = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 9, 9, 9};
    fixtures::WriteFile(dir / "front.jpg", front);
    fixtures::WriteFile(dir / "back.png", back);
    const fs::path wav = fixtures::WriteSineWav(dir / "src" / "01 Song.wav");
    const std::string frontOption = "--picture='3|image/jpeg|Front|1x1x24|" + (dir / "front.jpg").string() + "'";
    const std::string backOption = "--picture='4|image/png|Back|1x1x24|" + (dir / "back.png").string() + "'";
    const std::string nihon = "Caf\xC3\xA9 \xE6\x97\xA5";
    // A command line takes at most 128 KiB in one argument.
    const fixtures::Bytes small = FakeJpeg(60000, 4);
    // A NUL in the description would end it in the APIC frame and start the picture inside it.
    const std::string oggPicture =
        "METADATA_BLOCK_PICTURE=" + Base64(PictureBlock(3, "image/jpeg", nihon + std::string("\0B", 2), small));
    ASSERT_TRUE(fixtures::EncodeFlac(wav, dir / "two.flac", {"TITLE=Two"}, backOption + " " + frontOption));
    ASSERT_TRUE(fixtures::EncodeFlac(wav, dir / "back.flac", {"TITLE=Back"}, backOption));
    ASSERT_TRUE(fixtures::EncodeOgg(wav, dir / "cover.ogg", {"TITLE=Ogg", oggPicture}));
    // A picture block whose MIME type claims more bytes than the block holds.
    fixtures::Bytes damaged = fixtures::ReadFile(dir / "back.flac");
    const std::string mime = "image/png";
    const auto at = std::search(damaged.begin(), damaged.end(), mime.begin(), mime.end());
    ASSERT_NE(at, damaged.end());
    std::fill(at - 4, at, 0x7F);
    fixtures::WriteFile(dir / "damaged.flac", damaged);

    const struct {
        const char* name;
        std::string title;
        const fixtures::Bytes* picture;
        const char* type;
        std::string description;
    } rows[] = {
        {"two.flac", "Two", &front, "3", "Front"},  // the front cover, though it comes second
        {"back.flac", "Back", &back, "4", "Back"},  // no front cover: the first picture
        {"cover.ogg", "Ogg", &small, "3", nihon},
        {"damaged.flac", "Back", nullptr, "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        errors.clear();
        const fs::path input = dir / row.name;
        ASSERT_EQ(EncodeFile(input.string(), {.TagMode = TagModeChoice::Comments}, "", fixtures::CapturingHooks()),
                  JobResult::Done)
            << errors.joined();
        const std::string mp3 = fs::path(input).replace_extension(".mp3").string();
        auto tags = mp3inspect::ReadMp3(mp3);
        EXPECT_EQ(tags["v1:TIT2"], row.title);
        if (!row.picture) {
            EXPECT_EQ(tags["apic"], "0");
            EXPECT_NE(errors.joined().find("Warning: a damaged picture was skipped"), std::string::npos) << errors.joined();
            continue;
        }
        ASSERT_EQ(tags["apic"], "1");
        EXPECT_EQ(tags["apic:type"], row.type);
        EXPECT_EQ(tags["apic:desc"], row.description);
        EXPECT_EQ(fixtures::ReadFile(mp3 + ".picture"), *row.picture);
    }
}

}  // namespace
