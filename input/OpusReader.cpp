#include "input/OpusReader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <sys/types.h>

#include <opusfile.h>

#include "input/FileSkip.h"
#include "input/OggPageWatch.h"
#include "input/PictureBlock.h"
#include "input/SampleConversion.h"
#include "settings/Settings.h"
#include "settings/ErrorReport.h"

namespace {

// libopusfile always decodes at 48 kHz, whatever rate the file was made from.
constexpr int32_t kOpusRate = 48000;
// R128 gains aim at -23 LUFS, ReplayGain at about -18 LUFS: 5 dB more brings
// an Opus file to the level of a Vorbis file of the same music. In 1/256 dB.
constexpr int32_t kR128ToReplayGainQ8 = 5 * 256;

struct OpusReaderState {
    OggOpusFile* Opus = nullptr;
    std::FILE* File = nullptr;  // owned by the AudioSource; the callbacks never close it
    bool* Damaged = nullptr;
    int32_t Channels = 0;       // of the first link
    bool Ended = false;
    float Stereo[2 * kBlockFrames];

    // libopusfile ends the data without an error when the file breaks off
    // inside the stream, and passes over a page lost just after the headers;
    // every byte it decodes also passes the page watch.
    OggPageWatch Pages;

    OpusReaderState() = default;
    ~OpusReaderState() {
        if (Opus) op_free(Opus);
    }
    OpusReaderState(const OpusReaderState&) = delete;
    OpusReaderState& operator=(const OpusReaderState&) = delete;
};

// A failed read is an error to libopusfile, which the read then reports.
int ReadBytes(void* stream, unsigned char* destination, int count) {
    auto* file = static_cast<std::FILE*>(stream);
    const std::size_t got = std::fread(destination, 1, static_cast<std::size_t>(count), file);
    return got == 0 && std::ferror(file) ? -1 : static_cast<int>(got);
}

int SeekBytes(void* stream, opus_int64 offset, int whence) {
    return fseeko(static_cast<std::FILE*>(stream), static_cast<off_t>(offset), whence);
}

opus_int64 TellBytes(void* stream) { return ftello(static_cast<std::FILE*>(stream)); }

int ReadFollowingPages(void* stream, unsigned char* destination, int count) {
    auto& state = *static_cast<OpusReaderState*>(stream);
    const int got = ReadBytes(state.File, destination, count);
    if (got > 0) {
        state.Pages.Follow(destination, static_cast<std::size_t>(got));
        if (state.Pages.Damaged() && state.Damaged) *state.Damaged = true;
    }
    return got;
}

// The exact length of every link, after the pre-skip and the end trim, from
// a seekable open that only looks at the pages. Decoding is left to an open
// that reads the file in order, so that every page passes the page watch.
int64_t CountFrames(std::FILE* file) {
    const OpusFileCallbacks callbacks = {ReadBytes, SeekBytes, TellBytes, nullptr};
    OggOpusFile* counting = op_open_callbacks(file, &callbacks, nullptr, 0, nullptr);
    if (!counting) return kSampleCountNotGiven;
    const ogg_int64_t total = op_pcm_total(counting, -1);
    op_free(counting);
    return total >= 0 ? total : kSampleCountNotGiven;
}

// The header's output gain is part of the format and libopusfile always
// applies it; scaling adds the chosen R128 gain, when the file carries one.
void ApplyR128Gain(OggOpusFile* opus, ScaleModeChoice scaleMode) {
    const OpusTags* tags = op_tags(opus, -1);
    int gain = 0;
    const bool given = tags && ((scaleMode == ScaleModeChoice::TrackGain && opus_tags_get_track_gain(tags, &gain) == 0) ||
                                (scaleMode == ScaleModeChoice::AlbumGain && opus_tags_get_album_gain(tags, &gain) == 0));
    if (given) op_set_gain_offset(opus, OP_HEADER_GAIN, gain + kR128ToReplayGainQ8);
}

// Ends the data; what was delivered before stays delivered.
int32_t EndData(OpusReaderState& state, bool damaged) {
    state.Ended = true;
    if (damaged && state.Damaged) *state.Damaged = true;
    return 0;
}

// Every link comes as two channels, a mono link on both: the first layout
// takes what it holds of them.
int32_t ReadOpusFrames(void* opaque, float** buffers, int32_t frames) {
    auto& state = *static_cast<OpusReaderState*>(opaque);
    if (state.Ended || frames <= 0) return 0;
    const int wanted = std::min(frames, kBlockFrames);
    const int got = op_read_float_stereo(state.Opus, state.Stereo, 2 * wanted);
    // A hole in the pages, a packet that does not decode, a failed read.
    if (got < 0) return EndData(state, true);
    if (got == 0) return EndData(state, !state.Pages.StreamsEnded());
    const int32_t n = std::min(got, wanted);
    for (int32_t c = 0; c < std::min(state.Channels, 2); ++c) {
        for (int32_t i = 0; i < n; ++i) buffers[c][i] = FloatToScale(state.Stereo[2 * i + c]);
    }
    return n;
}

}  // namespace

OpenedReader OpenOpus(std::FILE* file, AudioSource& source, const uint8_t*, std::size_t) {
    auto state = std::make_unique<OpusReaderState>();
    state->File = file;
    state->Damaged = &source.Damaged;
    int64_t total = kSampleCountNotGiven;
    if (CanSeek(file)) {
        total = CountFrames(file);
        if (fseeko(file, 0, SEEK_SET) != 0) total = kSampleCountNotGiven;
    }
    const OpusFileCallbacks inOrder = {ReadFollowingPages, nullptr, nullptr, nullptr};
    state->Opus = op_open_callbacks(state.get(), &inOrder, nullptr, 0, nullptr);
    if (!state->Opus) {
        ReportError(source.Errors, "Error reading headers in opus input file %s.\n", source.Path.c_str());
        return {};
    }
    state->Channels = op_channel_count(state->Opus, -1);
    source.Info.Channels = state->Channels;
    source.Info.SampleRate = kOpusRate;
    source.Info.SampleCount = total;
    if (source.ScaleMode > 0) ApplyR128Gain(state->Opus, static_cast<ScaleModeChoice>(source.ScaleMode));
    const OpusTags* tags = op_tags(state->Opus, -1);
    if (source.CommentMode == kCommentModeHandOver && tags) {
        HandOverOggComments(source.Comments, tags->user_comments, tags->comment_lengths, tags->comments, source.Errors);
    }
    return {state.release(), ReadOpusFrames};
}

void CloseOpus(void* state) { delete static_cast<OpusReaderState*>(state); }
