#pragma once
// The source comments (NAME=value) of one input, filled by the FLAC and Ogg
// Vorbis readers and drained by the tag step of the same job.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

// The AudioSource comment mode in which the readers hand their comments over
// (the tag mode that takes the tags from them).
inline constexpr int32_t kCommentModeHandOver = 2;

struct CommentList {
    std::deque<std::string> Entries;
};

// Appends a comment as the source stores it (UTF-8); a null text is ignored.
void AppendComment(CommentList& list, const char* utf8Text);
// The oldest comment, or nothing when the list is empty.
std::optional<std::string> TakeComment(CommentList& list);
