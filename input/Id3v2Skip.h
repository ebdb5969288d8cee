#pragma once
// The ID3v2 tag that taggers put in front of MPEG and FLAC streams. One rule
// for both readers: "ID3", a major version of 2 to 4, a revision that is
// never 0xFF, and four size bytes without their top bits; a footer of ten
// more bytes when the flags say so. Bytes that break the rule are no tag.

#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

// "ID3" and a major version the rule allows: enough for a probe.
bool StartsWithId3v2(std::span<const uint8_t> bytes);

// `head` holds the first bytes read from the file (none, or more); it is
// filled to the tag's 10-byte header when it starts like a tag. A tag is
// dropped: what of it `head` holds is erased and the rest skipped in the
// file. Bytes that are no tag stay in `head`. False when the file ends
// before four bytes, or inside the tag.
bool DropLeadingId3v2(std::FILE* file, std::vector<uint8_t>& head);

// Makes `bytes` hold at least `count` bytes, reading the missing ones from
// `file`. False when the file ends first.
bool FillHead(std::FILE* file, std::vector<uint8_t>& bytes, std::size_t count);
