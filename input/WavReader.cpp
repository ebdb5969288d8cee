#include "input/WavReader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <sys/types.h>

#include "input/ByteOrder.h"
#include "input/ChunkWalk.h"
#include "input/FileSkip.h"
#include "input/PcmReader.h"
#include "input/StreamingLength.h"

namespace {

constexpr const char* kEofMessage = "Warning: Unexpected EOF in reading WAV header\n";
constexpr const char* kShortFormatMessage = "Warning: Unrecognised format chunk in WAV header\n";
constexpr const char* kOddFormatMessage =
    "Warning: INVALID format chunk in wav header.\n Trying to read anyway (may not work)...\n";
constexpr const char* kUnsupportedTagMessage =
    "ERROR: Wav file is unsupported type (must be standard PCM\n or type 3 floating point PCM)(1)\n";
constexpr const char* kUnsupportedSubFormatMessage =
    "ERROR: Wav file is unsupported type (must be standard PCM\n or type 3 floating point PCM)(2)\n";
constexpr const char* kBlockAlignMessage =
    "Warning: WAV 'block alignment' value is incorrect, ignoring.\nThe software that created this file is "
    "incorrect.\n";
constexpr const char* kUnsupportedBitsMessage =
    "ERROR: Wav file is unsupported subformat (must be 8, 16, 24 or 32 bit PCM\nor floating point PCM)\n";

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

constexpr uint32_t kMinFormatLength = 16;
// Only the first 40 bytes of a format chunk carry fields read here; the rest
// is skipped, never loaded, whatever length the header claims.
constexpr uint32_t kFullFormatLength = 40;
constexpr std::size_t kChannelMaskOffset = 20;
constexpr std::size_t kSubFormatOffset = 24;
constexpr uint8_t kSubFormatGuidTail[15] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

OpenError Refuse(OpenErrorKind kind, const char* text) { return {kind, text}; }

// RIFF keeps every chunk at an even offset; the header was read by the probe's row.
constexpr ChunkWalk kRiffWalk{ChunkLengthOrder::LittleEndian};
constexpr std::size_t kFileHeaderBytes = 12;

struct SampleLayout {
    PcmEncoding Encoding;
    int32_t BytesPerSample;
};

// Bytes per sample come from the declared bits; a size other than 1 to 4
// bytes is refused by the bits check once the data chunk is found.
SampleLayout IntegerLayout(uint16_t bits) {
    static constexpr PcmEncoding kByWidth[5] = {PcmEncoding::Unsigned8, PcmEncoding::Unsigned8, PcmEncoding::Signed16LE,
                                                PcmEncoding::Signed24LE, PcmEncoding::Signed32LE};
    int32_t bytes = bits / 8;
    return {bytes <= 4 ? kByWidth[bytes] : PcmEncoding::Unsigned8, bytes};
}

SampleLayout FloatLayout() { return {PcmEncoding::Float32LE, 4}; }

// Chooses the layout from the format tag; the refusal's text for another tag.
const char* ChooseLayout(const uint8_t* format, uint32_t formatLength, SampleLayout& layout) {
    uint16_t tag = LoadLE16(format);
    uint16_t bits = LoadLE16(format + 14);
    if (tag == kFormatPcm) {
        layout = IntegerLayout(bits);
        return nullptr;
    }
    if (tag == kFormatFloat) {
        layout = FloatLayout();
        return nullptr;
    }
    if (tag != kFormatExtensible) return kUnsupportedTagMessage;
    // An extensible chunk cut before its sub-format names no sample format.
    const uint8_t* subFormat = format + kSubFormatOffset;
    bool hasGuid = formatLength >= kFullFormatLength &&
                   std::memcmp(subFormat + 1, kSubFormatGuidTail, sizeof kSubFormatGuidTail) == 0;
    if (hasGuid && subFormat[0] == kFormatPcm) {
        layout = IntegerLayout(bits);
        return nullptr;
    }
    if (hasGuid && subFormat[0] == kFormatFloat) {
        layout = FloatLayout();
        return nullptr;
    }
    return kUnsupportedSubFormatMessage;
}

// Frames from the current position to the end of the file, for a data
// chunk whose length was not written. False when the file cannot seek.
bool RemainingFrames(std::FILE* file, int64_t frameBytes, int64_t& frames) {
    off_t start = ftello(file);
    off_t end = -1;
    if (start < 0 || fseeko(file, 0, SEEK_END) != 0 || (end = ftello(file)) < 0 ||
        fseeko(file, start, SEEK_SET) != 0) {
        return false;
    }
    frames = end > start ? static_cast<int64_t>(end - start) / frameBytes : 0;
    return true;
}

}  // namespace

bool ProbeWav(std::span<const uint8_t> head) {
    return head.size() >= kFileHeaderBytes && std::memcmp(head.data(), "RIFF", 4) == 0 &&
           std::memcmp(head.data() + 8, "WAVE", 4) == 0;
}

OpenedReader OpenWav(FilePtr owned, const OpenRequest& request) {
    std::FILE* file = owned.get();
    const ErrorReporter& warnings = request.Warnings;
    uint32_t formatLength = 0;
    if (!SkipForwardBytes(file, kFileHeaderBytes)) return Refuse(OpenErrorKind::Damaged, kEofMessage);
    const ChunkSearch format = FindChunk(file, kRiffWalk, "fmt ", formatLength);
    if (format == ChunkSearch::EndOfFile) return Refuse(OpenErrorKind::Damaged, kEofMessage);
    if (format != ChunkSearch::Found) return OpenError{OpenErrorKind::Damaged, ""};
    if (formatLength < kMinFormatLength) return Refuse(OpenErrorKind::Damaged, kShortFormatMessage);
    if (formatLength != 16 && formatLength != 18 && formatLength != kFullFormatLength) {
        ReportMessage(warnings, kOddFormatMessage);
    }

    uint8_t fields[kFullFormatLength] = {};
    std::size_t kept = std::min(formatLength, kFullFormatLength);
    uint64_t rest = static_cast<uint64_t>(formatLength - kept) + (formatLength & 1);
    if (std::fread(fields, 1, kept, file) < kept || !SkipForwardBytes(file, rest)) {
        return Refuse(OpenErrorKind::Damaged, kEofMessage);
    }

    SampleLayout layout{};
    if (const char* refusal = ChooseLayout(fields, formatLength, layout)) return Refuse(OpenErrorKind::Unsupported, refusal);
    const uint16_t channels = LoadLE16(fields + 2);
    const uint32_t rate = LoadLE32(fields + 4);
    const uint16_t blockAlign = LoadLE16(fields + 12);
    const uint16_t bits = LoadLE16(fields + 14);

    uint32_t dataLength = 0;
    const ChunkSearch data = FindChunk(file, kRiffWalk, "data", dataLength);
    if (data == ChunkSearch::EndOfFile) return Refuse(OpenErrorKind::Damaged, kEofMessage);
    if (data != ChunkSearch::Found) return OpenError{OpenErrorKind::Damaged, ""};

    const int64_t frameBytes = static_cast<int64_t>(channels) * layout.BytesPerSample;
    if (blockAlign != frameBytes) ReportMessage(warnings, kBlockAlignMessage);
    if (bits != layout.BytesPerSample * 8 || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
        return Refuse(OpenErrorKind::Unsupported, kUnsupportedBitsMessage);
    }

    // A format chunk of 0 channels leaves the count unknown (no division by
    // zero); the channel check after the open refuses the file.
    PcmLayout pcm{.Channels = channels, .Encoding = layout.Encoding};
    if (LoadLE16(fields) == kFormatExtensible && formatLength >= kFullFormatLength) {
        pcm.ChannelMask = LoadLE32(fields + kChannelMaskOffset);
    }
    if (frameBytes > 0) {
        if (IsStreamingLength(dataLength)) {
            pcm.TotalKnown = RemainingFrames(file, frameBytes, pcm.TotalFrames);
        } else {
            pcm.TotalFrames = dataLength / frameBytes;
            pcm.TotalKnown = true;
        }
    }
    // A rate beyond the signed field is no rate; 0 makes the open refuse it.
    pcm.SampleRate = rate <= static_cast<uint32_t>(std::numeric_limits<int>::max()) ? static_cast<int>(rate) : 0;
    return std::make_unique<PcmReader>(std::move(owned), pcm);
}
