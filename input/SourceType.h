#pragma once
// The input type a path's extension names, and what else the format table
// tells of the formats: which job converts them and their MIME types.

#include <cstdint>
#include <string>

// One id per row of the format table.
enum class FormatId : int32_t {
    Unknown, Wav, Aiff, Flac, Mpeg, OggVorbis, Opus,
    // Read through libavformat.
    Mp4, Adts, Asf, WavPack, MonkeysAudio, Musepack, Tta, Ac3, Dts, Caf, Matroska,
};

// The MPEG layer an extension allows; a file of another layer is refused.
enum class MpegLayer : int32_t { None = 0, I = 1, II = 2, III = 3 };

// What a path's extension (ASCII case-insensitive) names: the format's row,
// and for MPEG files the layer.
struct SourceType {
    FormatId Format = FormatId::Unknown;
    MpegLayer Layer = MpegLayer::None;
    bool operator==(const SourceType&) const = default;
};

inline constexpr SourceType kSourceUnknown{};
inline constexpr SourceType kSourceWav{FormatId::Wav};
inline constexpr SourceType kSourceAiff{FormatId::Aiff};
inline constexpr SourceType kSourceFlac{FormatId::Flac};
inline constexpr SourceType kSourceOgg{FormatId::OggVorbis};
inline constexpr SourceType kSourceOpus{FormatId::Opus};
inline constexpr SourceType kSourceMpegLayer1{FormatId::Mpeg, MpegLayer::I};
inline constexpr SourceType kSourceMpegLayer2{FormatId::Mpeg, MpegLayer::II};
inline constexpr SourceType kSourceMpegLayer3{FormatId::Mpeg, MpegLayer::III};

// What a format's files become: MP3 files, or 16-bit WAV files.
enum class InputJob { Encode, Decode };

SourceType ClassifyPath(const std::string& path);
bool IsEncodeSource(SourceType type);
bool IsDecodeSource(SourceType type);

// The extensions of the formats one job converts, in table order, one space
// apart: ".wav .aif ...".
std::string ExtensionsConvertedBy(InputJob job);
// The MIME types of every format, each once and followed by ';'.
std::string InputMimeTypes();
