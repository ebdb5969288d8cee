#pragma once
// One open input and the operations that read it in blocks of 1152 frames.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include <lame/lame.h>

#include "encode/CommentList.h"

inline constexpr int32_t kBlockFrames = 1152;
// `mp3data_struct::nsamp` and lame_set_num_samples: the count is not given.
inline constexpr uint32_t kUnknownSampleCount = 0xFFFFFFFFu;

struct AudioSource;

struct FileCloser {
    void operator()(std::FILE* file) const { if (file) std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reader contract: fills buffers[c][0..n) on the 16-bit scale (full scale
// 32768.0) and returns n, 1..frames, or 0 at the end of the data or on a
// read failure (which also marks the source damaged).
using ReadOperation = int32_t (*)(void* readerState, float** buffers, int32_t frames);
using ProgressOperation = std::function<void(int64_t totalFrames, int64_t framesDone)>;

// One row of InputFormatTable: a container reader.
struct InputFormat {
    bool (*Probe)(const uint8_t* bytes, std::size_t count);
    std::size_t ProbeLength;
    // The file stands after the probed bytes; returns true on success and
    // then sets ReadOp, ReaderState and source.Info.
    bool (*Open)(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount);
    void (*Close)(void* readerState);
    const char* Name;
    const char* Description;
};

struct AudioSource {
    ReadOperation ReadOp = nullptr;
    ProgressOperation ProgressOp;
    void* ReaderState = nullptr;     // released through Format->Close
    int32_t CommentMode = 0;         // 2: readers hand their comments to Comments
    int32_t ScaleMode = 0;
    double ScaleFactor = 1.0;
    int32_t Channels = 0;
    int32_t Type = 0;                // SourceType, set by the job before opening
    FilePtr File;
    mp3data_struct Info{};
    const InputFormat* Format = nullptr;
    CommentList Comments;            // this job's source comments
    std::string Path;
    // Set by a reader that met a read error or data that ends before its
    // declared length; every whole frame it got is still delivered.
    bool Damaged = false;

    AudioSource() = default;
    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;
    ~AudioSource();  // closes whatever is still open
};

// The container readers, in probing order; ends with a row whose Probe is null.
extern const InputFormat InputFormatTable[];

// Opens `path` by source.Type and gives the encoder context the source's
// channel count, rate and sample count (a null context is given nothing).
// Returns false (after reporting) when the input cannot be opened, is not
// recognised, or has a channel count other than 1 or 2 or no usable rate;
// the source is then closed again and the process goes on.
bool OpenAudioSource(lame_t context, const std::string& path, int* decoderDelay, int* decoderPadding,
                     AudioSource& source);
// Used inside OpenAudioSource for the container family.
const InputFormat* ProbeInputFormats(std::FILE* file, AudioSource& source);

// The encoder's layout: 16-bit values x 65536. Mono fills out[1] with zeros.
// Both block reads return 1..kBlockFrames, or 0 at the end of the data (then
// check source.Damaged), and saturate values a stage around ReadOp pushed
// beyond 16 bits. A stage put around ReadOp must be removed again before
// CloseAudioSource, which hands ReaderState to Format->Close.
int32_t ReadSourceBlock(lame_t context, int32_t out[2][kBlockFrames], AudioSource& source);
// The decoder's layout: signed 16-bit values.
int32_t ReadSourceBlock16(lame_t context, int16_t out[2][kBlockFrames], AudioSource& source);

// Releases the reader state and closes the file. Returns false (after
// reporting) when the file cannot be closed.
bool CloseAudioSource(AudioSource& source);

// Creates or truncates the output file for reading and writing ("w+b").
FilePtr OpenOutputFile(const std::string& path, int decodeOnly);
// File size in bytes, or -1.
int64_t QueryFileSize(const std::string& path);
