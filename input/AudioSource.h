#pragma once
// One open input and the operations that read it in blocks of 1152 frames.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "input/CommentList.h"
#include "input/SourceType.h"
#include "input/StreamInfo.h"
#include "settings/ErrorReport.h"

inline constexpr int32_t kBlockFrames = 1152;

struct AudioSource;

struct FileCloser {
    void operator()(std::FILE* file) const { if (file) std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reader contract: fills buffers[c][0..n) for every channel of the stream
// record on the 16-bit scale (full scale 32768.0) and returns n, 1..frames;
// 0 at the end of the data or after a read failure (which also marks the
// source damaged); negative when the stream changed its layout: what was
// read in the other layout is dropped, and the MPEG reader goes on with the
// next frame when called again (the decode job reads on, the encode job
// stops).
using ReadOperation = int32_t (*)(void* readerState, float** buffers, int32_t frames);
using ProgressOperation = std::function<void(int64_t totalFrames, int64_t framesDone)>;

using CloseOperation = void (*)(void* readerState);
using ReaderStatePtr = std::unique_ptr<void, CloseOperation>;

// What a reader's open hands back. A null State is a failed open, which has
// reported why and released whatever it made.
struct OpenedReader {
    void* State = nullptr;
    ReadOperation Read = nullptr;
};

// One extension of a format and the type a path ending in it is given. An
// extension without a type gives its row's own one; the named types are for
// the rows whose reader or job tells them apart.
struct FormatExtension {
    const char* Extension = nullptr;  // with its dot, matched ignoring ASCII case
    SourceType Type = kSourceUnknown;
};
inline constexpr std::size_t kMostExtensionsPerFormat = 4;

// One row of the format table: one reader, and everything else that knows
// the format (the file types, the job, the desktop's MIME types) learns it here.
struct InputFormat {
    FormatExtension Extensions[kMostExtensionsPerFormat];  // unused entries have no Extension
    InputJob Job = InputJob::Encode;
    // Rows read by content: recognise the first ProbeLength bytes. A file of
    // any probing row's type is read by the first probing row that takes its
    // content. Null for rows chosen by the file's type.
    bool (*Probe)(const uint8_t* bytes, std::size_t count) = nullptr;
    std::size_t ProbeLength = 0;
    // Content rows: the file stands after the probed bytes, which are handed
    // over. Type rows: the file stands at its start, and no bytes are given.
    // Fills source.Info (and source.Comments when source.CommentMode asks).
    OpenedReader (*Open)(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount) =
        nullptr;
    CloseOperation Close = nullptr;
    // The reader applies the gain the job's scaling asks for itself, so the
    // job must not scale its samples again.
    bool AppliesScaleFactor = false;
    const char* MimeTypes = "";  // each followed by ';', as a desktop entry lists them
    const char* Name = "";
    const char* Description = "";
};

struct AudioSource {
    // What the block reads call. The encode job's scaling stage may stand in
    // between; the reader's own state stays owned by `Reader`.
    ReadOperation ReadOp = nullptr;
    void* ReadState = nullptr;
    ProgressOperation ProgressOp;
    int32_t CommentMode = 0;         // 2: readers hand their comments to Comments
    int32_t ScaleMode = 0;
    double ScaleFactor = 1.0;        // read by rows that apply it themselves
    int32_t Channels = 0;            // 1 or 2 after a successful open
    SourceType Type = kSourceUnknown;  // set by the job before opening
    StreamInfo Info;
    // What the encoder and the progress are told: the stream's own count, or
    // an estimate from the file size; kSampleCountNotGiven when neither.
    int64_t SampleCountHint = kSampleCountNotGiven;
    const InputFormat* Format = nullptr;
    CommentList Comments;            // this job's source comments
    std::string Path;
    ErrorReporter Errors;            // where the readers' messages go
    // Set by a reader that met a read error or data that ends before its
    // declared length; every whole frame it got is still delivered.
    bool Damaged = false;
    FilePtr File;
    // Declared after File, so the reader is released before its file closes.
    ReaderStatePtr Reader{nullptr, nullptr};

    AudioSource() = default;
    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;
    ~AudioSource();  // closes whatever is still open
};

// The readers, in the order content rows are probed.
std::span<const InputFormat> InputFormats();
// The row whose extension gives `type`, or null.
const InputFormat* FormatNamingType(SourceType type);

// Opens `path` with the row source.Type names when that row has no probe,
// or else with the first probing row that recognises the content and opens it.
// Returns false (after reporting) when the input cannot be opened, is not
// recognised, or has a channel count other than 1 or 2 or no usable rate;
// the source is then closed again and the process goes on.
bool OpenAudioSource(const std::string& path, AudioSource& source);
// Used inside OpenAudioSource for the rows read by content.
const InputFormat* ProbeInputFormats(std::FILE* file, AudioSource& source);

// The encoder's layout: 16-bit values x 65536. Mono fills out[1] with zeros.
// Both block reads return 1..kBlockFrames, 0 at the end of the data (then
// check source.Damaged), or -1 when the stream changed its layout; they
// saturate values a stage around ReadOp pushed beyond 16 bits.
int32_t ReadSourceBlock(int32_t out[2][kBlockFrames], AudioSource& source);
// The decoder's layout: signed 16-bit values; a mono source leaves out[1] alone.
int32_t ReadSourceBlock16(int16_t out[2][kBlockFrames], AudioSource& source);

// Releases the reader state and closes the file. Returns false (after
// reporting) when the file cannot be closed.
bool CloseAudioSource(AudioSource& source);

// File size in bytes, or -1.
int64_t QueryFileSize(const std::string& path);
