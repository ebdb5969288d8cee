#pragma once
// Pictures in the sources' metadata: the FLAC PICTURE block, which Ogg
// Vorbis files carry base64-encoded in a METADATA_BLOCK_PICTURE comment.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "input/CommentList.h"
#include "settings/ErrorReport.h"

// A larger picture is skipped with a warning: it would swell every MP3 made
// from the source, and no player needs one that large.
inline constexpr std::size_t kMaxPictureBytes = 16u * 1024u * 1024u;
inline constexpr uint32_t kFrontCoverPicture = 3;

// The fields of a PICTURE block body, or nothing when a length runs past
// the block's end. The description ends at its first NUL.
std::optional<SourcePicture> ParsePictureBlock(std::string_view block);

// Standard base64 (with or without '=' padding, line breaks ignored), or
// nothing for any other character or a cut group.
std::optional<std::string> DecodeBase64(std::string_view text);

// True when the bytes begin as a JPEG or PNG file does: the only pictures
// an MP3 is given.
bool IsJpegOrPng(const std::vector<uint8_t>& data);

// Keeps a picture for the tag step: a JPEG or PNG of at most
// kMaxPictureBytes. An oversized one is reported and skipped; other formats
// are passed over.
void OfferPicture(CommentList& list, SourcePicture picture, const ErrorReporter& errors);

// A METADATA_BLOCK_PICTURE (or COVERART, plain picture bytes) comment is
// decoded and offered here, never handed on as text; a damaged one is
// reported and skipped. False for any other comment.
bool TakePictureComment(CommentList& list, std::string_view comment, const ErrorReporter& errors);

// The comments of a Vorbis or Opus stream, which share their layout: picture
// comments become pictures, the others are appended as text.
void HandOverOggComments(CommentList& list, char* const* texts, const int* lengths, int count,
                         const ErrorReporter& errors);
