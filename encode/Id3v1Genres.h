#pragma once
// The ID3v1 genre names the ID3v1-only genre check compares against.

#include <array>
#include <string>

inline constexpr std::size_t kId3v1GenreCount = 148;

// Index = ID3v1 genre code. The same as the encoder library's own list except
// index 123, which reads "Acappella" here.
const std::array<std::string, kId3v1GenreCount>& Id3v1GenreNames();
