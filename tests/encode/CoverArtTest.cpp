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

// Appends picture comments to an Ogg Vorbis file: the back cover without its base64 padding, which is
// optional, the front one cut short, text that is not base64, a GIF front cover, then the front JPEG under
// a lower-case name, its description ending in a NUL.
constexpr const char* kOggPictures = R"PY(
import base64, sys
from mutagen.flac import Picture
from mutagen.oggvorbis import OggVorbis
def block(kind, mime, desc, data):
    p = Picture(); p.type, p.mime, p.desc, p.data = kind, mime, desc, data
    return base64.b64encode(p.write()).decode()
ogg, (jpeg, png), desc = OggVorbis(sys.argv[1]), (open(p, 'rb').read() for p in sys.argv[2:4]), sys.argv[4]
key, front = 'METADATA_BLOCK_PICTURE', block(3, 'image/jpeg', desc + '\0B', jpeg)
ogg.tags.extend([(key, block(4, 'image/png', 'Back', png).rstrip('=')), (key, front[:-8]), (key, 'not*base64'),
                 (key, block(3, 'image/gif', '', b'GIF')), (key.lower(), front)])
ogg.save()
print('saved\t1')
)PY";

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
    const fixtures::Bytes small = FakeJpeg(60000, 4);
    fixtures::WriteFile(dir / "small.jpg", small);
    ASSERT_TRUE(fixtures::EncodeFlac(wav, dir / "two.flac", {"TITLE=Two"}, backOption + " " + frontOption));
    ASSERT_TRUE(fixtures::EncodeFlac(wav, dir / "back.flac", {"TITLE=Back"}, backOption));
    ASSERT_TRUE(fixtures::EncodeOgg(wav, dir / "cover.ogg", {"TITLE=Ogg"}));
    const std::string ogg = (dir / "cover.ogg").string(), jpeg = (dir / "small.jpg").string();
    ASSERT_EQ(mp3inspect::RunScript(kOggPictures, {ogg, jpeg, (dir / "back.png").string(), nihon})["saved"], "1");
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
        int damaged;  // pictures skipped with a warning
    } rows[] = {
        {"two.flac", "Two", &front, "3", "Front", 0},  // the front cover, though it comes second
        {"back.flac", "Back", &back, "4", "Back", 0},  // no front cover: the first picture
        // A NUL in the description would end it in the APIC frame and start the picture inside it.
        {"cover.ogg", "Ogg", &small, "3", nihon, 2},
        {"damaged.flac", "Back", nullptr, "", "", 1},
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
        const std::string warning = input.string() + ": Warning: a damaged picture was skipped\n";
        EXPECT_EQ(errors.messages(), std::vector<std::string>(row.damaged, warning));
        ASSERT_EQ(tags["apic"], row.picture ? "1" : "0");
        if (!row.picture) continue;
        EXPECT_EQ(tags["apic:type"], row.type);
        EXPECT_EQ(tags["apic:desc"], row.description);
        EXPECT_EQ(fixtures::ReadFile(mp3 + ".picture"), *row.picture);
    }
}

}  // namespace
