#pragma once
// The source comments (NAME=value) and pictures of one input, filled by the
// FLAC and Ogg Vorbis readers and drained by the tag step of the same job.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// A picture the source carries: a FLAC PICTURE block, or the same block in
// an Ogg Vorbis METADATA_BLOCK_PICTURE comment.
struct SourcePicture {
    uint32_t Type = 0;        // the ID3v2 picture types; 3 is the front cover
    std::string MimeType;     // as the source names it
    std::string Description;  // UTF-8
    std::vector<uint8_t> Data;
};

struct CommentList {
    std::deque<std::string> Entries;
    std::vector<SourcePicture> Pictures;  // in stream order
};

// Appends a comment as the source stores it (UTF-8); a null text is ignored.
void AppendComment(CommentList& list, const char* utf8Text);
// The oldest comment, or nothing when the list is empty.
std::optional<std::string> TakeComment(CommentList& list);
