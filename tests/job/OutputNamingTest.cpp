// The names a job takes from its input path: the output beside the input or
// in the output folder, and the folder names the path-derived tags use.

#include "job/OutputNaming.h"

#include <gtest/gtest.h>

namespace {

TEST(OutputNaming, SplitsTheFileItsFolderAndTheFolderAboveWithoutCuttingLongNames) {
    const std::string folder(300, 'f'), name(280, 'n');
    // path, output beside it, output in "/out", parent, grand-parent
    const std::vector<std::string> cases[] = {
        {"/Music/Band/Record/01 Song.flac", "/Music/Band/Record/01 Song.mp3", "/out/01 Song.mp3", "Record", "Band"},
        {"/a.wav", "/a.mp3", "/out/a.mp3", " ", ""},
        {"/a/b.c.flac", "/a/b.c.mp3", "/out/b.c.mp3", "a", " "},
        {"/x//noext", "/x//noext.mp3", "/out/noext.mp3", "", "x"},
        {"/" + folder + "/" + name + ".wav", "/" + folder + "/" + name + ".mp3", "/out/" + name + ".mp3", folder, " "},
    };
    for (const auto& c : cases) {
        const InputPathParts p = SplitInputPath(c[0]);
        EXPECT_EQ((std::vector<std::string>{c[0], BuildOutputPath(p, "", ".mp3"), BuildOutputPath(p, "/out", ".mp3"),
                                            p.ParentName, p.GrandParentName}),
                  c);
    }
}

}  // namespace
