#include "input/AiffReader.h"

#include <algorithm>
#include <cmath>
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

constexpr const char* kChunkEofMessage = "Warning: Unexpected EOF in AIFF chunk\n";
constexpr const char* kNoCommonMessage = "Warning: No common chunk found in AIFF file\n";
constexpr const char* kNoSoundMessage = "Warning: No SSND chunk found in AIFF file\n";
constexpr const char* kShortCommonMessage = "Warning: Truncated common chunk in AIFF header\n";
constexpr const char* kCommonEofMessage = "Warning: Unexpected EOF in reading AIFF header\n";
constexpr const char* kShortAifcMessage = "Warning: AIFF-C header truncated.\n";
constexpr const char* kShortSoundMessage = "Warning: Corrupted SSND chunk in AIFF header\n";
constexpr const char* kSoundEofMessage = "Warning: Unexpected EOF reading AIFF header\n";
constexpr const char* kUnsupportedMessage =
    "Warning: Quavermill does not support this type of AIFF/AIFC file\n Must be 8 or 16 bit PCM.\n";

// The file header the probe consumed; a chunk search restarts after it.
constexpr off_t kFirstChunkOffset = 12;
constexpr uint32_t kMinCommonLength = 18;
// Channels, frames, sample size, rate and the AIFF-C compression type: the
// compression name after them is not used and is skipped, never loaded.
constexpr uint32_t kAifcCommonLength = 22;
constexpr uint32_t kSoundHeaderLength = 8;
// Exponent bias of the 80-bit format (16383) plus the 63 places of its
// explicit-integer-bit mantissa.
constexpr int kExtendedMantissaBias = 16383 + 63;
constexpr int kExtendedInfiniteExponent = 0x7FFF;

void Report(const ErrorReporter& errors, const char* text) { ReportError(errors, "%s", text); }

// Leaves the file after the header of chunk `id`. Chunks may come in any
// order, so a search that reaches the end starts once more from the first
// chunk to find one placed before the chunk found last.
bool FindChunk(const ErrorReporter& errors, std::FILE* file, const char* id, uint32_t& length, const char* notFoundMessage) {
    bool restarted = false;
    for (;;) {
        uint8_t header[8];
        if (std::fread(header, 1, sizeof header, file) < sizeof header) {
            if (!restarted && fseeko(file, kFirstChunkOffset, SEEK_SET) == 0) {
                restarted = true;
                continue;
            }
            Report(errors, kChunkEofMessage);
            Report(errors, notFoundMessage);
            return false;
        }
        uint32_t bodyLength = LoadBE32(header + 4);
        if (std::memcmp(header, id, 4) == 0) {
            length = bodyLength;
            return true;
        }
        if (!SkipForwardBytes(file, static_cast<uint64_t>(bodyLength) + (bodyLength & 1))) {
            Report(errors, notFoundMessage);
            return false;
        }
    }
}

// Frames the sound chunk holds after its 8-byte header and its offset, for a
// common chunk that gives no frame count.
bool SoundChunkFrames(uint32_t soundLength, uint32_t offset, int64_t frameBytes, int64_t& frames) {
    if (IsStreamingLength(soundLength) || frameBytes <= 0) return false;
    int64_t dataBytes = static_cast<int64_t>(soundLength) - kSoundHeaderLength - offset;
    frames = dataBytes > 0 ? dataBytes / frameBytes : 0;
    return true;
}

}  // namespace

int32_t AiffRateToHertz(const uint8_t* extended) {
    // The sign bit is ignored: a negative rate is read as its magnitude.
    int exponent = ((extended[0] & 0x7F) << 8) | extended[1];
    if (exponent == kExtendedInfiniteExponent) return 0;
    uint64_t mantissa = LoadBE64(extended + 2);
    double rate = std::ldexp(static_cast<double>(mantissa), exponent - kExtendedMantissaBias);
    if (!(rate >= 1.0) || rate >= static_cast<double>(std::numeric_limits<int32_t>::max()) + 1.0) return 0;
    return static_cast<int32_t>(rate);
}

bool ProbeAiff(const uint8_t* bytes, std::size_t count) {
    return count >= kAiffProbeLength && std::memcmp(bytes, "FORM", 4) == 0 && std::memcmp(bytes + 8, "AIF", 3) == 0 &&
           (bytes[11] == 'C' || bytes[11] == 'F');
}

namespace {

// Reads the header up to the first sample byte; `opened` is set last, so a
// failure leaves nothing to release.
bool ReadAiffHeader(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount, OpenedReader& opened) {
    const ErrorReporter& errors = source.Errors;
    const bool aifc = probeCount >= kAiffProbeLength && probeBytes[11] == 'C';

    uint32_t commonLength = 0;
    if (!FindChunk(errors, file, "COMM", commonLength, kNoCommonMessage)) return false;
    if (commonLength < kMinCommonLength) {
        Report(errors, kShortCommonMessage);
        return false;
    }
    uint8_t common[kAifcCommonLength] = {};
    std::size_t kept = std::min(commonLength, kAifcCommonLength);
    uint64_t rest = static_cast<uint64_t>(commonLength - kept) + (commonLength & 1);
    if (std::fread(common, 1, kept, file) < kept || !SkipForwardBytes(file, rest)) {
        Report(errors, kCommonEofMessage);
        return false;
    }

    const int16_t channels = LoadSignedBE16(common);
    const uint32_t declaredFrames = LoadBE32(common + 2);
    const int16_t sampleBits = LoadSignedBE16(common + 6);
    const int32_t rate = AiffRateToHertz(common + 8);
    bool bigEndian = true;
    if (aifc) {
        if (commonLength < kAifcCommonLength) {
            Report(errors, kShortAifcMessage);
            return false;
        }
        const uint8_t* compression = common + 18;
        if (std::memcmp(compression, "NONE", 4) == 0) {
            bigEndian = true;
        } else if (std::memcmp(compression, "sowt", 4) == 0) {
            bigEndian = false;
        } else {
            ReportError(source.Errors, "Warning: Can't handle compressed AIFF-C (%c%c%c%c)\n", compression[0], compression[1],
                        compression[2], compression[3]);
            return false;
        }
    }

    uint32_t soundLength = 0;
    if (!FindChunk(errors, file, "SSND", soundLength, kNoSoundMessage)) return false;
    if (soundLength < kSoundHeaderLength) {
        Report(errors, kShortSoundMessage);
        return false;
    }
    uint8_t soundHeader[kSoundHeaderLength];
    if (std::fread(soundHeader, 1, sizeof soundHeader, file) < sizeof soundHeader) {
        Report(errors, kSoundEofMessage);
        return false;
    }
    const uint32_t offset = LoadBE32(soundHeader);
    const uint32_t blockSize = LoadBE32(soundHeader + 4);
    if (blockSize != 0 || (sampleBits != 8 && sampleBits != 16)) {
        Report(errors, kUnsupportedMessage);
        return false;
    }

    // AIFF 8-bit sample points are two's complement, unlike WAV's unsigned bytes.
    const PcmEncoding encoding = sampleBits == 8 ? PcmEncoding::Signed8
                                 : bigEndian     ? PcmEncoding::Signed16BE
                                                 : PcmEncoding::Signed16LE;
    const int64_t frameBytes = channels > 0 ? static_cast<int64_t>(channels) * (sampleBits / 8) : 0;
    int64_t totalFrames = declaredFrames;
    bool totalKnown = !IsStreamingLength(declaredFrames);
    if (!totalKnown) totalKnown = SoundChunkFrames(soundLength, offset, frameBytes, totalFrames);
    if (!totalKnown) totalFrames = 0;

    source.Info.Channels = channels;
    source.Info.SampleRate = rate;
    source.Info.SampleCount = totalKnown ? totalFrames : kSampleCountNotGiven;
    opened = {CreatePcmState(file, channels, encoding, totalFrames, totalKnown, &source.Damaged), ReadPcmFrames};
    // A sound data offset beyond the file shows as data ending early.
    SkipForwardBytes(file, offset);
    return true;
}

}  // namespace

OpenedReader OpenAiff(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount) {
    OpenedReader opened;
    ReadAiffHeader(file, source, probeBytes, probeCount, opened);
    return opened;
}
