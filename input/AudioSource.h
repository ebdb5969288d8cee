#pragma once
// The format table, and one open input as a job holds it: the reader object
// and what the job needs around it, read in blocks of 1152 frames.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "input/AudioReader.h"
#include "input/InputFile.h"
#include "input/SourceType.h"
#include "settings/ErrorReport.h"

using ProgressOperation = std::function<void(int64_t totalFrames, int64_t framesDone)>;

// One extension of a format; MPEG extensions name the layer their files must hold.
struct FormatExtension {
    const char* Extension = nullptr;  // with its dot, matched ignoring ASCII case
    MpegLayer Layer = MpegLayer::None;
};
inline constexpr std::size_t kMostExtensionsPerFormat = 5;

// One row of the format table: one reader, and everything else that knows
// the format (the file types, the job, the desktop's MIME types) learns it here.
struct InputFormat {
    FormatId Id = FormatId::Unknown;
    FormatExtension Extensions[kMostExtensionsPerFormat];  // unused entries have no Extension
    InputJob Job = InputJob::Encode;
    // Rows read by content recognise a file's first bytes (at most
    // kProbeBytes, the same for every probe). A file of any probing row's
    // type is read by the row whose probe takes its bytes; the probes never
    // take the same bytes, so their order does not matter. Null for rows
    // chosen by the file's type alone.
    bool (*Probe)(std::span<const uint8_t> head) = nullptr;
    // A probing row that still reads a file of its own type when no probe
    // takes the bytes, so the file fails with this row's own message.
    bool ReadsUnrecognised = false;
    // The file stands at its first byte.
    OpenedReader (*Open)(FilePtr file, const OpenRequest& request) = nullptr;
    // The reader applies the gain the job's scaling asks for itself, so the
    // job must not scale its samples again.
    bool AppliesScaleFactor = false;
    const char* MimeTypes = "";  // each followed by ';', as a desktop entry lists them
    const char* Name = "";
    const char* Description = "";
};

struct AudioSource {
    // What the block reads call: the reader, or the encode job's scaling
    // stage around it.
    std::unique_ptr<AudioReader> Reader;
    const InputFormat* Format = nullptr;
    ProgressOperation ProgressOp;
    int32_t Channels = 0;            // 1 or 2 after a successful open
    SourceType Type = kSourceUnknown;
    StreamInfo Info;
    // What the encoder and the progress are told: the stream's own count, or
    // an estimate from the file size; kSampleCountNotGiven when neither.
    int64_t SampleCountHint = kSampleCountNotGiven;
    std::string Path;
    ErrorReporter Errors;            // where the open's and the reads' messages go

    // Set by a reader that met a read error or data that ends before its
    // declared length; every whole frame it got is still delivered.
    bool Damaged() const { return Reader && Reader->Damage(); }
};

// The readers. Their order does not matter.
std::span<const InputFormat> InputFormats();
// The row of `id`, or null.
const InputFormat* FormatNamed(FormatId id);

// The reader of `path`: the row its type names when that row has no probe,
// or else the probing row of `formats` that recognises the content.
struct OpenedInput {
    std::unique_ptr<AudioReader> Reader;  // null when Error tells why
    const InputFormat* Format = nullptr;
    OpenError Error;
};
OpenedInput OpenInput(const std::string& path, SourceType type, const OpenRequest& request,
                      std::span<const InputFormat> formats = InputFormats());

// Opens `path` for a job: its type from the extension, the reader, and the
// checks every job needs (1 or 2 channels, a usable rate). Returns false
// after reporting when the input cannot be opened or is refused; the source
// then holds nothing.
bool OpenAudioSource(const std::string& path, const OpenRequest& request, AudioSource& source);

// The encoder's layout: 16-bit values x 65536. Mono fills out[1] with zeros.
// Both block reads return 1..kBlockFrames, 0 at the end of the data (then
// check source.Damaged()), or -1 when the stream changed its layout; they
// saturate values a stage around the reader pushed beyond 16 bits.
int32_t ReadSourceBlock(int32_t out[2][kBlockFrames], AudioSource& source);
// The decoder's layout: signed 16-bit values; a mono source leaves out[1] alone.
int32_t ReadSourceBlock16(int16_t out[2][kBlockFrames], AudioSource& source);

// "Error reading input file '...'", with the reason the reader gave.
void ReportReadDamage(const AudioSource& source);

// Releases the reader, which closes its file. Always succeeds: an input is
// only read, so its close loses nothing.
bool CloseAudioSource(AudioSource& source);

// File size in bytes, or -1.
int64_t QueryFileSize(const std::string& path);
