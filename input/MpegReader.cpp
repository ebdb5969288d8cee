#include "input/MpegReader.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "input/ByteOrder.h"
#include "input/FileSkip.h"
#include "input/SampleConversion.h"
#include "settings/ErrorReport.h"

namespace {

// Bytes handed to the decoder per read once the stream has started. The
// decoder takes one frame per call whatever it holds, so a larger piece only
// saves calls.
constexpr std::size_t kFeedBytes = 16384;

constexpr std::size_t kId3v2RestBytes = 6;  // revision, flags, four size bytes
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

struct MpegReaderState {
    DecoderHandle Decoder;
    std::FILE* File = nullptr;  // owned by the AudioSource
    bool* Damaged = nullptr;    // the AudioSource's mark
    // The layout of the stream record; frames in another one are refused.
    int32_t Channels = 0;
    long SampleRate = 0;
    // What the decoder puts out now.
    int OutputChannels = 0;
    long OutputRate = 0;
    // The first frame's header, fed once more at the end of the file: the
    // decoder holds back a frame until it has seen the header after it,
    // so without it a one-frame stream would give nothing.
    uint8_t EndMarker[4] = {};
    bool EndMarkerFed = false;
    bool Ended = false;
    int64_t FrameCount = -1;  // from the Xing/Info frame the decoder read, -1 when not given
    int64_t FramesDecoded = 0;
    // The decoded frame not yet delivered, interleaved, inside the decoder.
    const int16_t* Held = nullptr;
    int32_t HeldFrames = 0;
    std::vector<uint8_t> Piece = std::vector<uint8_t>(kFeedBytes);
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

bool ReadExactly(std::FILE* file, uint8_t* into, std::size_t count) {
    return std::fread(into, 1, count, file) == count;
}

// Leaves the first four bytes after a leading ID3v2 tag and an "Album ID"
// header in `window`. Only one tag is skipped; a second one is scanned
// through by the frame search like any other bytes.
bool SkipLeadingHeaders(std::FILE* file, uint8_t (&window)[4]) {
    if (!ReadExactly(file, window, 4)) return false;
    if (std::memcmp(window, "ID3", 3) == 0) {
        uint8_t rest[kId3v2RestBytes];
        if (!ReadExactly(file, rest, sizeof rest)) return false;
        // A tag longer than the file just leaves the search nothing to read.
        SkipForwardBytes(file, LoadSyncsafe28(rest + 2));
        if (!ReadExactly(file, window, 4)) return false;
    }
    if (std::memcmp(window, kAlbumIdMagic, 4) == 0) {
        uint8_t lengthBytes[2];
        if (!ReadExactly(file, lengthBytes, 2)) return false;
        const uint32_t length = LoadLE16(lengthBytes);
        // A length shorter than the bytes already read would move backwards
        // onto the same header and start the search over for ever.
        if (length < kAlbumIdHeadBytes) return false;
        SkipForwardBytes(file, length - kAlbumIdHeadBytes);
        if (!ReadExactly(file, window, 4)) return false;
    }
    return true;
}

bool FindFrameHeader(std::FILE* file, uint8_t (&window)[4], int32_t layer) {
    while (!IsAcceptableFrameHeader(window, layer)) {
        const int next = std::fgetc(file);
        if (next == EOF) return false;
        std::memmove(window, window + 1, 3);
        window[3] = static_cast<uint8_t>(next);
    }
    return true;
}

// Hands the decoder the next piece of the file, or at its end the end
// marker once. Returns the bytes of the file fed (0 for the marker); -1
// when nothing more can be given.
int64_t FeedMore(MpegReaderState& state) {
    const std::size_t got = std::fread(state.Piece.data(), 1, state.Piece.size(), state.File);
    if (got > 0) return mpg123_feed(state.Decoder.get(), state.Piece.data(), got) == MPG123_OK ? int64_t(got) : -1;
    if (std::ferror(state.File)) {
        *state.Damaged = true;
        return -1;
    }
    if (state.EndMarkerFed) return -1;
    state.EndMarkerFed = true;
    return mpg123_feed(state.Decoder.get(), state.EndMarker, sizeof state.EndMarker) == MPG123_OK ? 0 : -1;
}

enum class StartResult { Started, NoFrame, TryFurther };

// Feeds the decoder from the frame header in `window` on until it has
// parsed a frame and chosen its output.
StartResult StartDecoder(MpegReaderState& state, const uint8_t (&window)[4], int32_t layer) {
    mpg123_handle* handle = state.Decoder.get();
    std::memcpy(state.EndMarker, window, 4);
    if (mpg123_feed(handle, window, 4) != MPG123_OK) return StartResult::NoFrame;
    for (;;) {
        off_t frameNumber = 0;
        unsigned char* audio = nullptr;
        std::size_t bytes = 0;
        const int result = mpg123_decode_frame(handle, &frameNumber, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT) break;
        // Our header was no frame, and the decoder found none close after
        // it: the search goes on after our header.
        if (result != MPG123_NEED_MORE) return StartResult::TryFurther;
        if (FeedMore(state) < 0) return StartResult::NoFrame;
    }
    mpg123_frameinfo2 info{};
    if (mpg123_info2(handle, &info) != MPG123_OK) return StartResult::NoFrame;
    // The decoder may have synchronised past our header onto frames of
    // another layer: the search goes on after our header.
    const bool freeFormat = (window[2] & 0xF0) == 0;
    if (info.layer != layer || (info.bitrate == 0 && !freeFormat)) return StartResult::TryFurther;
    return StartResult::Started;
}

// Everything comes from the decoder, which read the Xing/Info and LAME frame
// wherever it synchronised: our header may have been bytes inside a second
// ID3v2 tag that the decoder passed over.
void DescribeStream(MpegReaderState& state, AudioSource& source) {
    mpg123_handle* handle = state.Decoder.get();
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

    state.Channels = channels;
    state.SampleRate = rate;
    state.OutputChannels = channels;
    state.OutputRate = rate;
    state.FrameCount = mpg123_length(handle) >= 0 ? mpg123_framelength(handle) : -1;

    StreamInfo& record = source.Info;
    record.Channels = channels;
    record.SampleRate = static_cast<int32_t>(rate);
    record.Layer = info.layer;
    record.Bitrate = info.bitrate;
    record.Mode = info.mode;
    record.ModeExtension = info.mode_ext;
    record.FrameSize = mpg123_spf(handle);
    record.FrameCount = state.FrameCount >= 0 ? state.FrameCount : kMpegFieldUnknown;
    record.SampleCount = state.FrameCount >= 0 ? state.FrameCount * record.FrameSize : kSampleCountNotGiven;
    record.EncoderDelay = static_cast<int32_t>(delay);
    record.EncoderPadding = static_cast<int32_t>(padding);
}

// A stream that ends before the frame count of its own Xing/Info frame was
// cut short. Junk after the last frame a stream announced is no damage;
// without a count, junk the decoder cannot pass means the rest is lost.
void EndStream(MpegReaderState& state, bool onJunk) {
    const bool counted = state.FrameCount >= 0;
    if ((counted && state.FramesDecoded < state.FrameCount) || (!counted && onJunk)) *state.Damaged = true;
    state.Ended = true;
}

// Decodes the next frame into Held. Returns its frames, 0 at the end, or -1
// for a frame in another layout than the stream record's (dropped).
int32_t DecodeNextFrame(MpegReaderState& state) {
    mpg123_handle* handle = state.Decoder.get();
    while (!state.Ended) {
        off_t frameNumber = 0;
        unsigned char* audio = nullptr;
        std::size_t bytes = 0;
        const int result = mpg123_decode_frame(handle, &frameNumber, &audio, &bytes);
        if (result == MPG123_OK) {
            const std::size_t frameBytes = sizeof(int16_t) * static_cast<std::size_t>(state.OutputChannels);
            if (bytes < frameBytes) continue;
            ++state.FramesDecoded;
            if (state.OutputChannels != state.Channels || state.OutputRate != state.SampleRate) return -1;
            state.Held = reinterpret_cast<const int16_t*>(audio);
            state.HeldFrames = static_cast<int32_t>(bytes / frameBytes);
            return state.HeldFrames;
        }
        if (result == MPG123_NEW_FORMAT) {
            int encoding = 0;
            mpg123_getformat(handle, &state.OutputRate, &state.OutputChannels, &encoding);
            continue;
        }
        if (result == MPG123_NEED_MORE) {
            if (FeedMore(state) < 0) EndStream(state, false);
            continue;
        }
        // The decoder found no frame it could resynchronise to.
        EndStream(state, result != MPG123_DONE);
    }
    return 0;
}

int32_t ReadMpegFrames(void* opaque, float** buffers, int32_t frames) {
    auto& state = *static_cast<MpegReaderState*>(opaque);
    if (frames <= 0) return 0;
    if (state.HeldFrames == 0) {
        const int32_t decoded = DecodeNextFrame(state);
        if (decoded <= 0) return decoded;
    }
    const int32_t count = std::min(frames, state.HeldFrames);
    const int32_t channels = state.Channels;
    const int16_t* from = state.Held;
    if (channels == 2) {
        for (int32_t i = 0; i < count; ++i) {
            buffers[0][i] = Signed16ToFloat(from[2 * i]);
            buffers[1][i] = Signed16ToFloat(from[2 * i + 1]);
        }
    } else {
        for (int32_t i = 0; i < count; ++i) buffers[0][i] = Signed16ToFloat(from[i]);
    }
    state.Held += count * channels;
    state.HeldFrames -= count;
    return count;
}

}  // namespace

int32_t MpegLayerOf(SourceType type) {
    switch (type) {
        case kSourceMpegLayer1: return 1;
        case kSourceMpegLayer2: return 2;
        case kSourceMpegLayer3: return 3;
        default: return 0;
    }
}

bool IsAcceptableFrameHeader(const uint8_t header[4], int32_t layer) {
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

OpenedReader OpenMpeg(std::FILE* file, AudioSource& source, const uint8_t*, std::size_t) {
    const int32_t layer = MpegLayerOf(source.Type);
    auto state = std::make_unique<MpegReaderState>();
    state->File = file;
    state->Damaged = &source.Damaged;
    // A false header is tried with pieces of the file fed after it; the
    // search goes on from the byte after it, where the file can seek back,
    // so that frames inside those pieces are still found. Each try starts
    // further on, so the file's end bounds the tries.
    const bool canSeek = CanSeek(file);
    off_t falseHeaderAt = -1;
    while (layer != 0) {
        uint8_t window[4];
        const bool searching = falseHeaderAt < 0 ? SkipLeadingHeaders(file, window)
                                                 : fseeko(file, falseHeaderAt + 1, SEEK_SET) == 0 &&
                                                       ReadExactly(file, window, sizeof window);
        if (!searching || !FindFrameHeader(file, window, layer)) break;
        if (canSeek) falseHeaderAt = ftello(file) - static_cast<off_t>(sizeof window);
        state->Decoder = NewDecoder();
        if (!state->Decoder) {
            ReportError(source.Errors, "Failed to initialize the MPEG audio decoder\n");
            return {};
        }
        state->EndMarkerFed = false;
        const StartResult started = StartDecoder(*state, window, layer);
        if (started == StartResult::NoFrame) break;
        if (started == StartResult::TryFurther) continue;
        DescribeStream(*state, source);
        return {state.release(), ReadMpegFrames};
    }
    if (source.Damaged) {
        ReportError(source.Errors, "Error reading input file '%s'\n", source.Path.c_str());
    } else {
        ReportError(source.Errors, kNoMpegFrameMessage, source.Path.c_str());
    }
    return {};
}

void ReleaseMpegState(void* state) { delete static_cast<MpegReaderState*>(state); }
