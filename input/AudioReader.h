#pragma once
// One open input as an object: a reader owns its file and its library
// handle and releases both when it is destroyed. Its open takes a typed
// request and gives back the reader or an open error, both as values.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "input/CommentList.h"
#include "input/SourceType.h"
#include "input/StreamInfo.h"
#include "settings/ErrorReport.h"
#include "settings/Settings.h"

inline constexpr int32_t kBlockFrames = 1152;

// What a job asks of an open.
struct OpenRequest {
    bool WantComments = false;                      // the comments and pictures, for the tags
    ScaleModeChoice Scaling = ScaleModeChoice::None;  // the gain a reader that scales itself applies
    // Filled by the open from the path.
    MpegLayer Layer = MpegLayer::None;              // the layer an MPEG file must hold
    std::string Path{};                             // as messages name the input
    ErrorReporter Warnings{};                       // where a reader's warnings go; the reader keeps a copy
};

enum class OpenErrorKind {
    NotAudio,     // no reader recognises the bytes
    Unsupported,  // a format or layout the readers do not take
    Damaged,      // recognised, but the headers or the data are broken
    CannotRead,   // the file cannot be opened or read
};

struct OpenError {
    OpenErrorKind Kind = OpenErrorKind::NotAudio;
    std::string Text;      // the message, as the program shows it
    int SystemError = 0;   // the saved errno of the call that failed; 0: none
};

// Why a reader stopped short: a read that failed, or data that ends before
// its declared length. Reason holds the system's or the library's own words.
struct ReadError {
    std::string Reason;
    int SystemError = 0;
};

class AudioReader {
public:
    virtual ~AudioReader() = default;
    AudioReader() = default;
    AudioReader(const AudioReader&) = delete;
    AudioReader& operator=(const AudioReader&) = delete;

    // Fills buffers[c][0..n) for every channel of the stream record on the
    // 16-bit scale (full scale 32768.0) and returns n, 1..frames; 0 at the
    // end of the data or after a read failure (which also marks the reader
    // damaged); negative when the stream changed its layout: what was read
    // in the other layout is dropped, and the MPEG reader goes on with the
    // next frame when called again.
    virtual int32_t Read(float** buffers, int32_t frames) = 0;
    virtual const StreamInfo& Stream() const = 0;
    // Filled at the open when the request wanted them.
    virtual CommentList& Comments() = 0;
    // Set once the reader met damage; every whole frame it got is still delivered.
    virtual const ReadError* Damage() const = 0;
    // Readers that round their samples themselves take the job's ReplayGain
    // factor here, after the open; the others ignore it.
    virtual void TakeScaleFactor(double) {}
};

// What the readers of the format table share: the record they fill and the
// damage mark.
class ReaderBase : public AudioReader {
public:
    const StreamInfo& Stream() const override { return stream_; }
    CommentList& Comments() override { return comments_; }
    const ReadError* Damage() const override { return damage_ ? &*damage_ : nullptr; }

protected:
    // The first damage is the one told; later ones follow from it.
    void MarkDamaged(std::string reason = {}, int systemError = 0) {
        if (!damage_) damage_ = ReadError{std::move(reason), systemError};
    }
    StreamInfo stream_;
    CommentList comments_;

private:
    std::optional<ReadError> damage_;
};

using OpenedReader = std::variant<std::unique_ptr<AudioReader>, OpenError>;
