#pragma once
// The genre names offered by the tagging setup dialog's genre box.

#include <array>
#include <cstddef>

inline constexpr std::size_t kGenreCount = 148;

extern const std::array<const char*, kGenreCount> GenreNames;
