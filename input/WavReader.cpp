#include "input/WavReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/types.h>

#include "input/AudioSource.h"
#include "input/ByteOrder.h"
#include "input/FileSkip.h"
#include "input/PcmReader.h"
#include "input/StreamingLength.h"
#include "settings/ErrorReport.h"

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
constexpr std::size_t kSubFormatOffset = 24;
constexpr uint8_t kSubFormatGuidTail[15] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

void Report(const ErrorReporter& errors, const char* text) { ReportError(errors, "%s", text); }

// Leaves the file after the header of chunk `id`. A chunk of another kind is
// skipped with its pad byte: RIFF keeps every chunk at an even offset.
bool FindChunk(const ErrorReporter& errors, std::FILE* file, const char* id, uint32_t& length) {
    for (;;) {
        uint8_t header[8];
        if (std::fread(header, 1, sizeof header, file) < sizeof header) {
            Report(errors, kEofMessage);
            return false;
        }
        uint32_t bodyLength = LoadLE32(header + 4);
        if (std::memcmp(header, id, 4) == 0) {
            length = bodyLength;
            return true;
        }
        if (!SkipForwardBytes(file, static_cast<uint64_t>(bodyLength) + (bodyLength & 1))) return false;
    }
}

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

// Chooses the layout from the format tag, reporting a refused tag.
bool ChooseLayout(const ErrorReporter& errors, const uint8_t* format, uint32_t formatLength, SampleLayout& layout) {
    uint16_t tag = LoadLE16(format);
    uint16_t bits = LoadLE16(format + 14);
    if (tag == kFormatPcm) {
        layout = IntegerLayout(bits);
        return true;
    }
    if (tag == kFormatFloat) {
        layout = FloatLayout();
        return true;
    }
    if (tag != kFormatExtensible) {
        Report(errors, kUnsupportedTagMessage);
        return false;
    }
    // An extensible chunk cut before its sub-format names no sample format.
    const uint8_t* subFormat = format + kSubFormatOffset;
    bool hasGuid = formatLength >= kFullFormatLength &&
                   std::memcmp(subFormat + 1, kSubFormatGuidTail, sizeof kSubFormatGuidTail) == 0;
    if (hasGuid && subFormat[0] == kFormatPcm) {
        layout = IntegerLayout(bits);
        return true;
    }
    if (hasGuid && subFormat[0] == kFormatFloat) {
        layout = FloatLayout();
        return true;
    }
    Report(errors, kUnsupportedSubFormatMessage);
    return false;
}

// Frames from the current position to the end of the file, for a data
// chunk whose length was not written. False when the file cannot seek.
bool RemainingFrames(std::FILE* file, int64_t frameBytes, int64_t& frames) {
    off_t start = ftello(file);
    off_t end = -1;
    if (start < 0 || fseeko(file, 0, SEEK_END) != 0 || (end = ftello(file)) < 0 ||
        fseeko(file, start, SEEK_SET) != 0) {
        errno = 0;  // a stream that cannot seek is no error of the file
        return false;
    }
    frames = end > start ? static_cast<int64_t>(end - start) / frameBytes : 0;
    return true;
}

}  // namespace

bool ProbeWav(const uint8_t* bytes, std::size_t count) {
    return count >= kWavProbeLength && std::memcmp(bytes, "RIFF", 4) == 0 && std::memcmp(bytes + 8, "WAVE", 4) == 0;
}

namespace {

// Reads the header up to the first sample byte; `opened` is set last, so a
// failure leaves nothing to release.
bool ReadWavHeader(std::FILE* file, AudioSource& source, const uint8_t*, std::size_t, OpenedReader& opened) {
    const ErrorReporter& errors = source.Errors;
    uint32_t formatLength = 0;
    if (!FindChunk(errors, file, "fmt ", formatLength)) return false;
    if (formatLength < kMinFormatLength) {
        Report(errors, kShortFormatMessage);
        return false;
    }
    if (formatLength != 16 && formatLength != 18 && formatLength != kFullFormatLength) Report(errors, kOddFormatMessage);

    uint8_t format[kFullFormatLength] = {};
    std::size_t kept = std::min(formatLength, kFullFormatLength);
    uint64_t rest = static_cast<uint64_t>(formatLength - kept) + (formatLength & 1);
    if (std::fread(format, 1, kept, file) < kept || !SkipForwardBytes(file, rest)) {
        Report(errors, kEofMessage);
        return false;
    }

    SampleLayout layout{};
    if (!ChooseLayout(errors, format, formatLength, layout)) return false;
    const uint16_t channels = LoadLE16(format + 2);
    const uint32_t rate = LoadLE32(format + 4);
    const uint16_t blockAlign = LoadLE16(format + 12);
    const uint16_t bits = LoadLE16(format + 14);

    uint32_t dataLength = 0;
    if (!FindChunk(errors, file, "data", dataLength)) return false;

    const int64_t frameBytes = static_cast<int64_t>(channels) * layout.BytesPerSample;
    if (blockAlign != frameBytes) Report(errors, kBlockAlignMessage);
    if (bits != layout.BytesPerSample * 8 || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
        Report(errors, kUnsupportedBitsMessage);
        return false;
    }

    // A format chunk of 0 channels leaves the count unknown (no division by
    // zero); the channel check after the open refuses the file.
    int64_t totalFrames = 0;
    bool totalKnown = false;
    if (frameBytes > 0) {
        if (IsStreamingLength(dataLength)) {
            totalKnown = RemainingFrames(file, frameBytes, totalFrames);
        } else {
            totalFrames = dataLength / frameBytes;
            totalKnown = true;
        }
    }

    source.Info.Channels = channels;
    // A rate beyond the signed field is no rate; 0 makes the open refuse it.
    source.Info.SampleRate = rate <= static_cast<uint32_t>(std::numeric_limits<int>::max()) ? static_cast<int>(rate) : 0;
    source.Info.SampleCount = totalKnown ? totalFrames : kSampleCountNotGiven;
    opened = {CreatePcmState(file, channels, layout.Encoding, totalFrames, totalKnown, &source.Damaged), ReadPcmFrames};
    return true;
}

}  // namespace

OpenedReader OpenWav(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount) {
    OpenedReader opened;
    ReadWavHeader(file, source, probeBytes, probeCount, opened);
    return opened;
}
