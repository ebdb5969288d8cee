#include "input/MpegReader.h"

#include <mpg123.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "input/ByteOrder.h"
#include "input/FileSkip.h"
#include "input/Id3v2Skip.h"
#include "input/SampleConversion.h"

namespace {

// Bytes handed to the decoder per read once the stream has started. The
// decoder takes one frame per call whatever it holds, so a larger piece only
// saves calls.
constexpr std::size_t kFeedBytes = 16384;

constexpr uint8_t kAlbumIdMagic[4] = {'A', 'i', 'D', 1};
// The four magic bytes and the two length bytes count toward the length.
constexpr uint32_t kAlbumIdHeadBytes = 6;

// MPEG-1 Layer II: for each bitrate index, the channel modes (bit 0 stereo,
// 1 joint stereo, 2 dual channel, 3 single channel) that bitrate is not
// allowed with.
constexpr uint8_t kLayer2RefusedModes[16] = {0, 7, 7, 7, 0, 7, 0, 0, 0, 0, 0, 8, 8, 8, 8, 8};

struct HandleDeleter {
    void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};
using DecoderHandle = std::unique_ptr<mpg123_handle, HandleDeleter>;

enum class StartResult { Started, NoFrame, TryFurther };

class MpegReader final : public ReaderBase {
public:
    explicit MpegReader(FilePtr file) : file_(std::move(file)) {}
    // Finds the first frame of `layer` and starts the decoder on it; the
    // open's error when there is none.
    std::optional<OpenError> Start(MpegLayer layer, const std::string& path);
    int32_t Read(float** buffers, int32_t frames) override;

private:
    bool NextByte(uint8_t& byte);
    bool ReadExactly(uint8_t* into, std::size_t count);
    bool SkipLeadingHeaders(uint8_t (&window)[4]);
    bool FindFrameHeader(uint8_t (&window)[4], MpegLayer layer);
    int64_t FeedMore();
    StartResult StartDecoder(const uint8_t (&window)[4], MpegLayer layer);
    void DescribeStream();
    void EndStream(bool onJunk, int result);
    int32_t DecodeNextFrame();

    FilePtr file_;
    // Declared after the file: the decoder is released first.
    DecoderHandle decoder_;
    // Bytes read at the start that the frame search has not taken yet.
    std::vector<uint8_t> pending_;
    // The layout of the stream record; frames in another one are refused.
    int32_t channels_ = 0;
    long sampleRate_ = 0;
    // What the decoder puts out now.
    int outputChannels_ = 0;
    long outputRate_ = 0;
    // The first frame's header, fed once more at the end of the file: the
    // decoder holds back a frame until it has seen the header after it,
    // so without it a one-frame stream would give nothing.
    uint8_t endMarker_[4] = {};
    bool endMarkerFed_ = false;
    bool ended_ = false;
    int64_t frameCount_ = -1;  // from the Xing/Info frame the decoder read, -1 when not given
    int64_t framesDecoded_ = 0;
    // The decoded frame not yet delivered, interleaved, inside the decoder.
    const int16_t* held_ = nullptr;
    int32_t heldFrames_ = 0;
    std::vector<uint8_t> piece_ = std::vector<uint8_t>(kFeedBytes);
};

// Old versions of the library need one process-wide set-up before the
// first handle; several jobs may open MPEG files at once.
DecoderHandle NewDecoder() {
    static std::once_flag libraryReady;
    std::call_once(libraryReady, [] { mpg123_init(); });
    DecoderHandle decoder(mpg123_new(nullptr, nullptr));
    if (!decoder) return decoder;
    mpg123_handle* handle = decoder.get();
    // Replacing all flags turns gapless trimming (the job trims) and
    // automatic resampling off; nothing is printed. A tag's TLEN frame must
    // not pass for the stream's own frame count.
    bool ready = mpg123_param(handle, MPG123_FLAGS, MPG123_QUIET | MPG123_SKIP_ID3V2, 0.0) == MPG123_OK &&
                 mpg123_format_none(handle) == MPG123_OK;
    // Signed 16-bit at the stream's own rate and channel count: every rate
    // and both counts are allowed, so a changed layout is announced instead
    // of converted.
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; ready && i < rateCount; ++i) {
        ready = mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16) == MPG123_OK;
    }
    if (!ready || mpg123_open_feed(handle) != MPG123_OK) decoder.reset();
    // With the size unknown, the decoder gives a length only from the Xing/Info
    // frame it read, never a guess from the bytes fed so far.
    if (decoder) mpg123_set_filesize(handle, -1);
    return decoder;
}

bool MpegReader::NextByte(uint8_t& byte) {
    if (!pending_.empty()) {
        byte = pending_.front();
        pending_.erase(pending_.begin());
        return true;
    }
    const int next = std::fgetc(file_.get());
    byte = static_cast<uint8_t>(next);
    return next != EOF;
}

bool MpegReader::ReadExactly(uint8_t* into, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!NextByte(into[i])) return false;
    }
    return true;
}

// Leaves the first four bytes after a leading ID3v2 tag and an "Album ID"
// header in `window`. Only one tag is skipped; a second one is scanned
// through by the frame search like any other bytes.
bool MpegReader::SkipLeadingHeaders(uint8_t (&window)[4]) {
    if (!DropLeadingId3v2(file_.get(), pending_) || !ReadExactly(window, 4)) return false;
    if (std::memcmp(window, kAlbumIdMagic, 4) == 0) {
        uint8_t lengthBytes[2];
        if (!ReadExactly(lengthBytes, 2)) return false;
        const uint32_t length = LoadLE16(lengthBytes);
        // A length shorter than the bytes already read would move backwards
        // onto the same header and start the search over for ever.
        if (length < kAlbumIdHeadBytes) return false;
        SkipForwardBytes(file_.get(), length - kAlbumIdHeadBytes);
        if (!ReadExactly(window, 4)) return false;
    }
    return true;
}

bool MpegReader::FindFrameHeader(uint8_t (&window)[4], MpegLayer layer) {
    while (!IsAcceptableFrameHeader(window, layer)) {
        uint8_t next = 0;
        if (!NextByte(next)) return false;
        std::memmove(window, window + 1, 3);
        window[3] = next;
    }
    return true;
}

// Hands the decoder the next piece of the file, or at its end the end
// marker once. Returns the bytes of the file fed (0 for the marker); -1
// when nothing more can be given.
int64_t MpegReader::FeedMore() {
    const std::size_t got = std::fread(piece_.data(), 1, piece_.size(), file_.get());
    if (got > 0) return mpg123_feed(decoder_.get(), piece_.data(), got) == MPG123_OK ? int64_t(got) : -1;
    if (std::ferror(file_.get())) {
        MarkDamaged({}, errno);
        return -1;
    }
    if (endMarkerFed_) return -1;
    endMarkerFed_ = true;
    return mpg123_feed(decoder_.get(), endMarker_, sizeof endMarker_) == MPG123_OK ? 0 : -1;
}

// Feeds the decoder from the frame header in `window` on until it has
// parsed a frame and chosen its output.
StartResult MpegReader::StartDecoder(const uint8_t (&window)[4], MpegLayer layer) {
    mpg123_handle* handle = decoder_.get();
    std::memcpy(endMarker_, window, 4);
    if (mpg123_feed(handle, window, 4) != MPG123_OK) return StartResult::NoFrame;
    // The decoder reads on from the file; what the search holds goes first.
    if (!pending_.empty() && mpg123_feed(handle, pending_.data(), pending_.size()) != MPG123_OK) {
        return StartResult::NoFrame;
    }
    pending_.clear();
    for (;;) {
        off_t frameNumber = 0;
        unsigned char* audio = nullptr;
        std::size_t bytes = 0;
        const int result = mpg123_decode_frame(handle, &frameNumber, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT) break;
        // Our header was no frame, and the decoder found none close after
        // it: the search goes on after our header.
        if (result != MPG123_NEED_MORE) return StartResult::TryFurther;
        if (FeedMore() < 0) return StartResult::NoFrame;
    }
    mpg123_frameinfo2 info{};
    if (mpg123_info2(handle, &info) != MPG123_OK) return StartResult::NoFrame;
    // The decoder may have synchronised past our header onto frames of
    // another layer: the search goes on after our header.
    const bool freeFormat = (window[2] & 0xF0) == 0;
    if (info.layer != static_cast<int>(layer) || (info.bitrate == 0 && !freeFormat)) return StartResult::TryFurther;
    return StartResult::Started;
}

// Everything comes from the decoder, which read the Xing/Info and LAME frame
// wherever it synchronised: our header may have been bytes inside a second
// ID3v2 tag that the decoder passed over.
void MpegReader::DescribeStream() {
    mpg123_handle* handle = decoder_.get();
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    mpg123_getformat(handle, &rate, &channels, &encoding);
    mpg123_frameinfo2 info{};
    mpg123_info2(handle, &info);
    long delay = -1;
    long padding = -1;
    double unused = 0.0;
    if (mpg123_getstate(handle, MPG123_ENC_DELAY, &delay, &unused) != MPG123_OK) delay = -1;
    if (mpg123_getstate(handle, MPG123_ENC_PADDING, &padding, &unused) != MPG123_OK) padding = -1;

    channels_ = channels;
    sampleRate_ = rate;
    outputChannels_ = channels;
    outputRate_ = rate;
    // A Xing/Info frame that gives the byte count but no frame count makes
    // the decoder guess the frames from the bytes, and a guess is no count:
    // the damage check and the end trim would both trust it. Forgetting
    // that size leaves only a counted length.
    mpg123_set_filesize(handle, -1);
    frameCount_ = mpg123_length(handle) >= 0 ? mpg123_framelength(handle) : -1;

    StreamInfo& record = stream_;
    record.Channels = channels;
    record.SampleRate = static_cast<int32_t>(rate);
    record.Layer = info.layer;
    record.Bitrate = info.bitrate;
    record.Mode = info.mode;
    record.ModeExtension = info.mode_ext;
    record.FrameSize = mpg123_spf(handle);
    record.FrameCount = frameCount_ >= 0 ? frameCount_ : kMpegFieldUnknown;
    record.SampleCount = frameCount_ >= 0 ? frameCount_ * record.FrameSize : kSampleCountNotGiven;
    record.EncoderDelay = static_cast<int32_t>(delay);
    record.EncoderPadding = static_cast<int32_t>(padding);
}

// A stream that ends before the frame count of its own Xing/Info frame was
// cut short. Junk after the last frame a stream announced is no damage;
// without a count, junk the decoder cannot pass means the rest is lost.
void MpegReader::EndStream(bool onJunk, int result) {
    const bool counted = frameCount_ >= 0;
    if (counted && framesDecoded_ < frameCount_) {
        MarkDamaged("the stream ends before the frame count of its Xing/Info frame");
    } else if (!counted && onJunk) {
        MarkDamaged(mpg123_plain_strerror(result));
    }
    ended_ = true;
}

// Decodes the next frame into Held. Returns its frames, 0 at the end, or -1
// for a frame in another layout than the stream record's (dropped).
int32_t MpegReader::DecodeNextFrame() {
    mpg123_handle* handle = decoder_.get();
    while (!ended_) {
        off_t frameNumber = 0;
        unsigned char* audio = nullptr;
        std::size_t bytes = 0;
        const int result = mpg123_decode_frame(handle, &frameNumber, &audio, &bytes);
        if (result == MPG123_OK) {
            const std::size_t frameBytes = sizeof(int16_t) * static_cast<std::size_t>(outputChannels_);
            if (bytes < frameBytes) continue;
            ++framesDecoded_;
            if (outputChannels_ != channels_ || outputRate_ != sampleRate_) return -1;
            held_ = reinterpret_cast<const int16_t*>(audio);
            heldFrames_ = static_cast<int32_t>(bytes / frameBytes);
            return heldFrames_;
        }
        if (result == MPG123_NEW_FORMAT) {
            int encoding = 0;
            mpg123_getformat(handle, &outputRate_, &outputChannels_, &encoding);
            continue;
        }
        if (result == MPG123_NEED_MORE) {
            if (FeedMore() < 0) EndStream(false, result);
            continue;
        }
        // The decoder found no frame it could resynchronise to.
        EndStream(result != MPG123_DONE, result);
    }
    return 0;
}

int32_t MpegReader::Read(float** buffers, int32_t frames) {
    if (frames <= 0) return 0;
    if (heldFrames_ == 0) {
        const int32_t decoded = DecodeNextFrame();
        if (decoded <= 0) return decoded;
    }
    const int32_t count = std::min(frames, heldFrames_);
    const int16_t* from = held_;
    if (channels_ == 2) {
        for (int32_t i = 0; i < count; ++i) {
            buffers[0][i] = Signed16ToFloat(from[2 * i]);
            buffers[1][i] = Signed16ToFloat(from[2 * i + 1]);
        }
    } else {
        for (int32_t i = 0; i < count; ++i) buffers[0][i] = Signed16ToFloat(from[i]);
    }
    held_ += count * channels_;
    heldFrames_ -= count;
    return count;
}

std::optional<OpenError> MpegReader::Start(MpegLayer layer, const std::string& path) {
    // A false header is tried with pieces of the file fed after it; the
    // search goes on from the byte after it, where the file can seek back,
    // so that frames inside those pieces are still found. Each try starts
    // further on, so the file's end bounds the tries.
    std::FILE* file = file_.get();
    const bool canSeek = CanSeek(file);
    off_t falseHeaderAt = -1;
    while (layer != MpegLayer::None) {
        uint8_t window[4];
        bool searching = false;
        if (falseHeaderAt < 0) {
            searching = SkipLeadingHeaders(window);
        } else {
            pending_.clear();
            searching = fseeko(file, falseHeaderAt + 1, SEEK_SET) == 0 && ReadExactly(window, sizeof window);
        }
        if (!searching || !FindFrameHeader(window, layer)) break;
        // Bytes still pending lie before the file's position.
        if (canSeek) falseHeaderAt = ftello(file) - static_cast<off_t>(sizeof window + pending_.size());
        decoder_ = NewDecoder();
        if (!decoder_) return OpenError{OpenErrorKind::CannotRead, "Failed to initialize the MPEG audio decoder\n"};
        endMarkerFed_ = false;
        const StartResult started = StartDecoder(window, layer);
        if (started == StartResult::NoFrame) break;
        if (started == StartResult::TryFurther) continue;
        DescribeStream();
        return std::nullopt;
    }
    if (Damage()) return OpenError{OpenErrorKind::CannotRead, "Error reading input file '" + path + "'\n"};
    char text[512 + 64];
    std::snprintf(text, sizeof text, kNoMpegFrameMessage, path.substr(0, 512).c_str());
    return OpenError{OpenErrorKind::NotAudio, text};
}

}  // namespace

bool IsAcceptableFrameHeader(const uint8_t header[4], MpegLayer wanted) {
    const auto layer = static_cast<int>(wanted);
    if (header[0] != 0xFF || (header[1] & 0xE0) != 0xE0) return false;
    const int version = (header[1] >> 3) & 3;
    if (version == 1) return false;  // reserved
    // The header's layer bits count down: 3 is Layer I, 1 Layer III, 0 reserved.
    const int layerBits = (header[1] >> 1) & 3;
    if (layerBits == 0 || 4 - layerBits != layer) return false;
    const int bitrateIndex = header[2] >> 4;
    if (bitrateIndex == 15 || ((header[2] >> 2) & 3) == 3) return false;
    const int mode = header[3] >> 6;
    if (version == 3 && layer == 2 && (kLayer2RefusedModes[bitrateIndex] >> mode & 1) != 0) return false;
    return (header[3] & 3) != 2;  // reserved emphasis
}

OpenedReader OpenMpeg(FilePtr file, const OpenRequest& request) {
    auto reader = std::make_unique<MpegReader>(std::move(file));
    if (std::optional<OpenError> error = reader->Start(request.Layer, request.Path)) return std::move(*error);
    return reader;
}
