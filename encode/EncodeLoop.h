#pragma once
// Writes one complete MP3 stream: ID3v2 tag, audio, final frames, ID3v1 tag,
// then the LAME-tag frame rewritten over the first audio frame.

#include <atomic>
#include <cstdint>
#include <cstdio>

#include <lame/lame.h>

#include "input/AudioSource.h"

inline constexpr int kEncodeLoopDone = 0;       // the audio was written completely
inline constexpr int kEncodeLoopFailed = 1;     // the file is unusable; the input must be kept
inline constexpr int kEncodeLoopCancelled = 2;  // `stop` was raised; the output is partial

// What a job reports when its MP3 cannot be written out whole.
inline constexpr const char* kMp3WriteErrorMessage = "Error writing mp3 output \n";

// The library's largest output of one encode or flush call.
inline constexpr std::size_t kMp3BufferSize = LAME_MAXMP3BUFFER;
inline constexpr std::size_t kId3v1TagSize = 128;
// Progress is reported when the running sample total is a multiple of this.
inline constexpr int64_t kProgressSampleStep = 50;

// Reads the next block: the count per channel, 0 at the end, negative when
// the stream cannot go on.
using BlockReader = int32_t (*)(int32_t out[2][kBlockFrames], AudioSource& source);

// The running total of samples read per channel; 64 bits, so recordings past
// 2^31 samples (about 13 hours at 44.1 kHz) keep counting correctly.
struct SampleTally {
    int64_t Read = 0;
    // Adds a block and tells whether progress is due (a multiple of the step, 0 included).
    bool Add(int32_t count) {
        Read += count;
        return Read % kProgressSampleStep == 0;
    }
};

// `context` is initialised (lame_init_params done); `output` is open for
// reading and writing at position 0 and stays open. `stop`, when given, is
// checked once per block.
// `cover`, when given, joins the ID3v2 tag as its APIC frame.
int EncodeLoop(lame_t context, std::FILE* output, AudioSource& source,
               const std::atomic<int32_t>* stop = nullptr, BlockReader readBlock = ReadSourceBlock,
               const SourcePicture* cover = nullptr);

// Closes the MP3 output. Bytes still buffered go out now, so a full disk may
// show only here; with `errors`, a failure is reported there as
// "Error writing mp3 output \n". Returns false when the file is not whole.
bool CloseMp3Output(std::FILE* output, const ErrorReporter* errors);
