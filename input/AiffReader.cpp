#include "input/AiffReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <sys/types.h>

#include "input/ByteOrder.h"
#include "input/ChunkWalk.h"
#include "input/FileSkip.h"
#include "input/PcmReader.h"
#include "input/StreamingLength.h"

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

constexpr ChunkWalk kIffWalk{ChunkLengthOrder::BigEndian, kFirstChunkOffset};
constexpr std::size_t kFileHeaderBytes = 12;

OpenError Refuse(OpenErrorKind kind, const char* text) { return {kind, text}; }

// A missing chunk: the end of the file is told as a warning first.
OpenError ChunkNotFound(ChunkSearch search, const char* notFoundMessage, const ErrorReporter& warnings) {
    if (search == ChunkSearch::EndOfFile) ReportMessage(warnings, kChunkEofMessage);
    return {OpenErrorKind::Damaged, notFoundMessage};
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

bool ProbeAiff(std::span<const uint8_t> head) {
    return head.size() >= kFileHeaderBytes && std::memcmp(head.data(), "FORM", 4) == 0 &&
           std::memcmp(head.data() + 8, "AIF", 3) == 0 && (head[11] == 'C' || head[11] == 'F');
}

OpenedReader OpenAiff(FilePtr owned, const OpenRequest& request) {
    std::FILE* file = owned.get();
    const ErrorReporter& warnings = request.Warnings;
    uint8_t fileHeader[kFileHeaderBytes];
    if (std::fread(fileHeader, 1, sizeof fileHeader, file) < sizeof fileHeader) {
        return Refuse(OpenErrorKind::Damaged, kCommonEofMessage);
    }
    const bool aifc = fileHeader[11] == 'C';

    uint32_t commonLength = 0;
    const ChunkSearch common = FindChunk(file, kIffWalk, "COMM", commonLength);
    if (common != ChunkSearch::Found) return ChunkNotFound(common, kNoCommonMessage, warnings);
    if (commonLength < kMinCommonLength) return Refuse(OpenErrorKind::Damaged, kShortCommonMessage);
    uint8_t fields[kAifcCommonLength] = {};
    std::size_t kept = std::min(commonLength, kAifcCommonLength);
    uint64_t rest = static_cast<uint64_t>(commonLength - kept) + (commonLength & 1);
    if (std::fread(fields, 1, kept, file) < kept || !SkipForwardBytes(file, rest)) {
        return Refuse(OpenErrorKind::Damaged, kCommonEofMessage);
    }

    const int16_t channels = LoadSignedBE16(fields);
    const uint32_t declaredFrames = LoadBE32(fields + 2);
    const int16_t sampleBits = LoadSignedBE16(fields + 6);
    const int32_t rate = AiffRateToHertz(fields + 8);
    bool bigEndian = true;
    if (aifc) {
        if (commonLength < kAifcCommonLength) return Refuse(OpenErrorKind::Damaged, kShortAifcMessage);
        const uint8_t* compression = fields + 18;
        if (std::memcmp(compression, "NONE", 4) == 0) {
            bigEndian = true;
        } else if (std::memcmp(compression, "sowt", 4) == 0) {
            bigEndian = false;
        } else {
            return OpenError{OpenErrorKind::Unsupported, "Warning: Can't handle compressed AIFF-C (" +
                                                             std::string(compression, compression + 4) + ")\n"};
        }
    }

    uint32_t soundLength = 0;
    const ChunkSearch sound = FindChunk(file, kIffWalk, "SSND", soundLength);
    if (sound != ChunkSearch::Found) return ChunkNotFound(sound, kNoSoundMessage, warnings);
    if (soundLength < kSoundHeaderLength) return Refuse(OpenErrorKind::Damaged, kShortSoundMessage);
    uint8_t soundHeader[kSoundHeaderLength];
    if (std::fread(soundHeader, 1, sizeof soundHeader, file) < sizeof soundHeader) {
        return Refuse(OpenErrorKind::Damaged, kSoundEofMessage);
    }
    const uint32_t offset = LoadBE32(soundHeader);
    const uint32_t blockSize = LoadBE32(soundHeader + 4);
    if (blockSize != 0 || (sampleBits != 8 && sampleBits != 16)) return Refuse(OpenErrorKind::Unsupported, kUnsupportedMessage);

    // AIFF 8-bit sample points are two's complement, unlike WAV's unsigned bytes.
    const PcmEncoding encoding = sampleBits == 8 ? PcmEncoding::Signed8
                                 : bigEndian     ? PcmEncoding::Signed16BE
                                                 : PcmEncoding::Signed16LE;
    const int64_t frameBytes = channels > 0 ? static_cast<int64_t>(channels) * (sampleBits / 8) : 0;
    int64_t totalFrames = declaredFrames;
    bool totalKnown = !IsStreamingLength(declaredFrames);
    if (!totalKnown) totalKnown = SoundChunkFrames(soundLength, offset, frameBytes, totalFrames);
    if (!totalKnown) totalFrames = 0;

    // A sound data offset beyond the file shows as data ending early.
    SkipForwardBytes(file, offset);
    const PcmLayout pcm{.Channels = channels, .SampleRate = rate, .Encoding = encoding,
                        .TotalFrames = totalFrames, .TotalKnown = totalKnown};
    return std::make_unique<PcmReader>(std::move(owned), pcm);
}
