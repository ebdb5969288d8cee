#pragma once
// The album picture of an MP3: chosen from the source's pictures or found
// beside the input, and carried in the ID3v2 tag's APIC frame.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/CommentList.h"
#include "settings/ErrorReport.h"

// Moves out the front cover, or else the first picture; nothing when there
// is none.
std::optional<SourcePicture> TakeCover(std::vector<SourcePicture>& pictures);

// The first of cover.jpg, cover.png, folder.jpg and front.jpg in
// `directory` (names matched without case), read whole, when it is a JPEG
// or PNG file of at most 16 MiB. A larger or unreadable one is reported
// and skipped.
std::optional<SourcePicture> FindFolderCover(const std::string& directory, const ErrorReporter& errors);

// `tag` (an ID3v2.3 tag as the encoder library makes it, or empty) with an
// APIC frame for `picture` added before its padding; a tag of its own when
// `tag` is empty. The MIME type follows the picture's bytes. Nothing when
// the tag cannot be read.
std::optional<std::vector<uint8_t>> WithApicFrame(const std::vector<uint8_t>& tag, const SourcePicture& picture);
