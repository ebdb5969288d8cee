#pragma once
// Text conversions for the ID3 tag calls of the encoder library: its plain
// setters take Latin-1 (our "local code page"), its textinfo calls UTF-16.

#include <string>
#include <string_view>
#include <vector>

// Decodes UTF-8 (one- to four-byte sequences) into Latin-1. A character that
// Latin-1 lacks, and every malformed byte, becomes '?'. A sequence cut short
// by the end of the text ends the text.
std::string Utf8ToLocal(std::string_view utf8);

// True when every character of `utf8` is well-formed and exists in Latin-1,
// so the Latin-1 form loses nothing.
bool FitsLatin1(std::string_view utf8);

// The text as the library's *_utf16 calls want it: a byte-order mark,
// UTF-16 units in host order (surrogate pairs above U+FFFF), a terminating 0.
// Malformed bytes become U+FFFD.
std::vector<unsigned short> Utf8ToUtf16ForTag(std::string_view utf8);

// A file or folder name as UTF-8. Names are bytes: one that is valid UTF-8
// is kept as it is; any other is read as Latin-1, so that every byte stays a
// character (an old Latin-1 "Caf\xE9" becomes "Café").
std::string NameToUtf8(std::string_view name);
