#pragma once
// The interleaved-sample reader shared by the WAV and AIFF readers: its
// state, the integer and float read operations, and the release operation of
// their InputFormatTable rows.

#include <cstdint>
#include <cstdio>
#include <vector>

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

struct PcmReaderState {
    int32_t Channels = 0;
    PcmEncoding Encoding = PcmEncoding::Signed16LE;
    // Frames the data holds when TotalKnown; reading stops there, so chunks
    // after the sample data are never read as samples.
    int64_t TotalFrames = 0;
    bool TotalKnown = false;
    int64_t FramesRead = 0;
    std::FILE* File = nullptr;  // owned by the AudioSource
    bool* Damaged = nullptr;    // the AudioSource's mark
    // One piece of interleaved frames as read from the file; sized at open
    // so the read loop never allocates.
    std::vector<uint8_t> Bytes;
    int32_t FrameBytes = 0;
    int32_t PieceFrames = 0;
};

// Makes the state of an opened file positioned at its first sample byte.
// `channels` may still be unusable (0, or more than two): the channel check
// after the open refuses those, and reading such a state delivers nothing
// harmful. `damaged` must outlive the state.
PcmReaderState* CreatePcmState(std::FILE* file, int32_t channels, PcmEncoding encoding, int64_t totalFrames,
                               bool totalKnown, bool* damaged);

// Reader contract of AudioSource.h, for every encoding. A read error, or
// data that ends before the known total, marks the source damaged; every
// whole frame got is still delivered.
int32_t ReadPcmFrames(void* state, float** buffers, int32_t frames);

void ReleasePcmState(void* state);
