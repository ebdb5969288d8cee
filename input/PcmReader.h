#pragma once
// The interleaved-sample reader shared by the WAV and AIFF readers.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "input/AudioReader.h"
#include "input/InputFile.h"

enum class PcmEncoding {
    Unsigned8,   // WAV 8-bit
    Signed8,     // AIFF / AIFF-C 8-bit
    Signed16LE,  // WAV, AIFF-C "sowt"
    Signed16BE,  // AIFF, AIFF-C "NONE"
    Signed24LE,
    Signed32LE,
    Float32LE,   // IEEE float, 1.0 = full scale
};

// Bytes one sample of the encoding takes.
int32_t PcmBytesPerSample(PcmEncoding encoding);

struct PcmLayout {
    int32_t Channels = 0;
    int32_t SampleRate = 0;
    PcmEncoding Encoding = PcmEncoding::Signed16LE;
    // Frames the data holds when TotalKnown; reading stops there, so chunks
    // after the sample data are never read as samples.
    int64_t TotalFrames = 0;
    bool TotalKnown = false;
    uint64_t ChannelMask = 0;  // the speakers of WAVE_FORMAT_EXTENSIBLE; 0: the usual ones
};

class PcmReader final : public ReaderBase {
public:
    // `file` stands at the first sample byte. The channels may still be
    // unusable (0, or more than two): the channel check after the open
    // refuses those, and reading such a reader delivers nothing harmful.
    PcmReader(FilePtr file, const PcmLayout& layout);
    // Reader contract, for every encoding. A read error, or data that ends
    // before the known total, marks the reader damaged.
    int32_t Read(float** buffers, int32_t frames) override;

private:
    void Convert(int64_t frames, float** buffers, int32_t offset) const;

    FilePtr file_;
    PcmLayout layout_;
    int64_t framesRead_ = 0;
    // One piece of interleaved frames as read from the file; sized at open
    // so the read loop never allocates.
    std::vector<uint8_t> bytes_;
    int32_t frameBytes_ = 0;
    int32_t pieceFrames_ = 0;
};
