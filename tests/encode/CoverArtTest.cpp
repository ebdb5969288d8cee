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

// The album folder's picture when the tags come from the path, the source's own when they come from its
// comments; none without an ID3v2 tag.
TEST(CoverArt, TheMp3CarriesThePictureOfItsTagSource) {
    fixtures::ErrorCapture errors;
    fixtures::TempDir dir;
    // Megabytes, which the library itself cannot carry.
    const fixtures::Bytes cover = FakeJpeg(3 * 1024 * 1024), front = FakeJpeg(2 * 1024 * 1024, 3);
    const fixtures::Bytes folder = FakeJpeg(100, 2), small = FakeJpeg(60000, 4);
    const fixtures::Bytes back = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 9, 9, 9};
    for (const char* album : {"Album", "Big"}) {
        fixtures::WriteSineWav(dir / album / "01 Song.wav");
        fixtures::WriteFile(dir / album / "folder.jpg", folder);
    }
    fixtures::WriteFile(dir / "Album" / "Cover.JPG", cover);
    fixtures::WriteFile(dir / "Big" / "cover.jpg", FakeJpeg(kMaxPictureBytes + 1));
    fixtures::WriteFile(dir / "front.jpg", front);
    fixtures::WriteFile(dir / "back.png", back);
    fixtures::WriteFile(dir / "small.jpg", small);
    const fs::path wav = dir / "Album" / "01 Song.wav";
    const std::string frontOption = "--picture='3|image/jpeg|Front|1x1x24|" + (dir / "front.jpg").string() + "'";
    const std::string backOption = "--picture='4|image/png|Back|1x1x24|" + (dir / "back.png").string() + "'";
    const std::string nihon = "Caf\xC3\xA9 \xE6\x97\xA5";
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

    const Switch on = MenuSwitch(true);
    const Settings comments{.TagMode = TagModeChoice::Comments};
    const std::string skipped = "Warning: a damaged picture was skipped\n";
    const struct {
        std::string input;
        Settings options;
        std::string title;                  // ID3v1's
        const fixtures::Bytes* picture;
        std::string apic;                   // type, MIME type and description
        std::vector<std::string> warnings;  // each after the input's path
    } rows[] = {
        // cover.* before folder.*, whatever the case.
        {"Album/01 Song.wav", {.AutoTag = on}, "01 Song", &cover, "3 image/jpeg ", {}},
        {"Album/01 Song.wav", {.TagMode = TagModeChoice::Custom, .AutoTag = on, .Title = "%1"}, "01 Song", &cover,
         "3 image/jpeg ", {}},
        {"Album/01 Song.wav", {.TagMode = TagModeChoice::Custom, .AutoTag = on, .id3Tag = Id3TagChoice::V1Only,
                               .Title = "%1"}, "01 Song", nullptr, "", {}},
        {"Album/01 Song.wav", {}, "", nullptr, "", {}},
        // Too large to copy: skipped with a warning, and the next name is taken.
        {"Big/01 Song.wav", {.AutoTag = on}, "01 Song", &folder, "3 image/jpeg ",
         {"Warning: the picture '" + (dir / "Big/cover.jpg").string() +
          "' is larger than 16 MiB and was not copied\n"}},
        {"two.flac", comments, "Two", &front, "3 image/jpeg Front", {}},  // the front cover, though it comes second
        {"back.flac", comments, "Back", &back, "4 image/png Back", {}},   // no front cover: the first picture
        // A NUL in the description would end it in the APIC frame and start the picture inside it.
        {"cover.ogg", comments, "Ogg", &small, "3 image/jpeg " + nihon, {skipped, skipped}},
        {"damaged.flac", comments, "Back", nullptr, "", {skipped}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.input + ", picture " + row.apic);
        errors.clear();
        const fs::path input = dir / row.input;
        ASSERT_EQ(EncodeFile(input.string(), row.options, "", fixtures::CapturingHooks()), JobResult::Done);
        const std::string mp3 = fs::path(input).replace_extension(".mp3").string();
        auto tags = mp3inspect::ReadMp3(mp3);
        EXPECT_EQ(std::tie(tags["complete"], tags["v1:TIT2"]), std::make_tuple("1", row.title));
        std::vector<std::string> warnings;
        for (const std::string& warning : row.warnings) warnings.push_back(input.string() + ": " + warning);
        EXPECT_EQ(errors.messages(), warnings);
        ASSERT_EQ(tags["apic"], row.picture ? "1" : "0");
        if (!row.picture) continue;
        EXPECT_EQ(tags["apic:type"] + " " + tags["apic:mime"] + " " + tags["apic:desc"], row.apic);
        EXPECT_EQ(fixtures::ReadFile(mp3 + ".picture"), *row.picture);
    }
}

}  // namespace
