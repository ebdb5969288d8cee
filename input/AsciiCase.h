#pragma once
// Comparisons that ignore the case of ASCII letters only, as file
// extensions, comment names and picture file names are matched: the
// locale's rules must not decide whether "TITLE=" is a title.

#include <string_view>

inline char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool EqualsIgnoringAsciiCase(std::string_view first, std::string_view second) {
    if (first.size() != second.size()) return false;
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (FoldAscii(first[i]) != FoldAscii(second[i])) return false;
    }
    return true;
}

inline bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}
