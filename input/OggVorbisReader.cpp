#include "input/OggVorbisReader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>
#include <sys/types.h>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "input/FileSkip.h"
#include "input/LayoutChange.h"
#include "input/OggPageWatch.h"
#include "input/PictureBlock.h"
#include "input/SampleConversion.h"
#include "settings/ErrorReport.h"

namespace {

struct OggVorbisReaderState {
    OggVorbis_File Vorbis{};
    bool VorbisOpen = false;
    std::FILE* File = nullptr;  // owned by the AudioSource; the callbacks never close it
    const ErrorReporter* Errors = nullptr;  // the AudioSource's
    bool* Damaged = nullptr;
    const int32_t* ScaleMode = nullptr;
    const double* ScaleFactor = nullptr;
    int32_t Channels = 0;       // of the first link
    long SampleRate = 0;
    int Link = 0;               // of the last samples delivered
    bool Ended = false;

    // libvorbisfile ends the data without an error when the file breaks off
    // inside the stream, and goes on to the next link of a chain when one
    // link lost its end; every byte it decodes also passes the page watch.
    OggPageWatch Pages;

    OggVorbisReaderState() = default;
    ~OggVorbisReaderState() {
        if (VorbisOpen) ov_clear(&Vorbis);
    }
    OggVorbisReaderState(const OggVorbisReaderState&) = delete;
    OggVorbisReaderState& operator=(const OggVorbisReaderState&) = delete;
};

void MarkDamaged(OggVorbisReaderState& state) {
    if (state.Damaged) *state.Damaged = true;
}

size_t ReadBytes(void* destination, size_t size, size_t count, void* source) {
    return std::fread(destination, size, count, static_cast<std::FILE*>(source));
}

int SeekBytes(void* source, ogg_int64_t offset, int whence) {
    return fseeko(static_cast<std::FILE*>(source), static_cast<off_t>(offset), whence);
}

long TellBytes(void* source) { return static_cast<long>(ftello(static_cast<std::FILE*>(source))); }

size_t ReadFollowingPages(void* destination, size_t size, size_t count, void* source) {
    auto& state = *static_cast<OggVorbisReaderState*>(source);
    const std::size_t got = std::fread(destination, size, count, state.File);
    if (got > 0) {
        state.Pages.Follow(destination, got * size);
        if (state.Pages.Damaged()) MarkDamaged(state);
    }
    // libvorbisfile takes a failed read for the end of the file.
    else if (std::ferror(state.File)) MarkDamaged(state);
    return got;
}

// The total of every link, from a seekable open that only looks at the
// pages. Decoding is left to a separate open that reads the file in order:
// the seekable one, on this libvorbisfile, starts a chained file at its last
// link, and with a damaged page near the end reads nothing at all, both
// without an error.
int64_t CountFrames(std::FILE* file) {
    const ov_callbacks callbacks = {ReadBytes, SeekBytes, nullptr, TellBytes};
    OggVorbis_File counting{};
    if (ov_open_callbacks(file, &counting, nullptr, 0, callbacks) < 0) return kSampleCountNotGiven;
    const ogg_int64_t total = ov_pcm_total(&counting, -1);
    ov_clear(&counting);
    return total >= 0 ? total : kSampleCountNotGiven;
}

// Ends the data; what was delivered before stays delivered.
int32_t EndData(OggVorbisReaderState& state, bool damaged) {
    state.Ended = true;
    if (damaged) MarkDamaged(state);
    return 0;
}

int32_t ReadOggFrames(void* opaque, float** buffers, int32_t frames) {
    auto& state = *static_cast<OggVorbisReaderState*>(opaque);
    if (state.Ended || frames <= 0) return 0;
    float** pcm = nullptr;
    int link = state.Link;
    long got = ov_read_float(&state.Vorbis, &pcm, frames, &link);
    if (got == OV_HOLE) {
        // Read in order, a chained file shows a hole where one link ends and
        // the next begins; a hole within a link is lost data. What follows
        // it is still delivered.
        got = ov_read_float(&state.Vorbis, &pcm, frames, &link);
        if (got <= 0 || link == state.Link) MarkDamaged(state);
    }
    // A second hole, a damaged page or a bad link.
    if (got < 0) return EndData(state, true);
    if (got == 0) return EndData(state, !state.Pages.StreamsEnded());
    state.Link = link;
    const vorbis_info* info = ov_info(&state.Vorbis, link);
    if (!info || info->channels < 1) return EndData(state, true);
    if (info->rate != state.SampleRate) {
        ReportSampleRateChange(*state.Errors, state.SampleRate, info->rate);
        return EndData(state, true);
    }
    const bool scaling = *state.ScaleMode > 0;
    const double factor = *state.ScaleFactor;
    const auto n = static_cast<int32_t>(std::min<long>(got, frames));
    for (int32_t c = 0; c < state.Channels; ++c) {
        const float* decoded = pcm[StreamChannelFor(c, info->channels)];
        float* out = buffers[c];
        for (int32_t i = 0; i < n; ++i) {
            int16_t sample = VorbisFloatToInt16(decoded[i]);
            if (scaling) sample = ScaleVorbisSample(sample, factor);
            out[i] = static_cast<float>(sample);
        }
    }
    return n;
}

}  // namespace

OpenedReader OpenOggVorbis(std::FILE* file, AudioSource& source, const uint8_t*, std::size_t) {
    auto state = std::make_unique<OggVorbisReaderState>();
    state->File = file;
    state->Damaged = &source.Damaged;
    state->Errors = &source.Errors;
    state->ScaleMode = &source.ScaleMode;
    state->ScaleFactor = &source.ScaleFactor;
    int64_t total = kSampleCountNotGiven;
    if (CanSeek(file)) {
        total = CountFrames(file);
        if (fseeko(file, 0, SEEK_SET) != 0) total = kSampleCountNotGiven;
    }
    const ov_callbacks inOrder = {ReadFollowingPages, nullptr, nullptr, nullptr};
    if (ov_open_callbacks(state.get(), &state->Vorbis, nullptr, 0, inOrder) < 0) {
        ReportError(source.Errors, "Error reading headers in ogg input file %s.\n", source.Path.c_str());
        return {};
    }
    state->VorbisOpen = true;
    const vorbis_info* info = ov_info(&state->Vorbis, -1);
    state->Channels = info ? info->channels : 0;
    state->SampleRate = info ? info->rate : 0;
    source.Info.Channels = state->Channels;
    source.Info.SampleRate = state->SampleRate > 0 && state->SampleRate <= INT32_MAX ? static_cast<int32_t>(state->SampleRate) : 0;
    source.Info.SampleCount = total;
    if (source.CommentMode == kCommentModeHandOver) {
        if (const vorbis_comment* comments = ov_comment(&state->Vorbis, -1)) {
            HandOverOggComments(source.Comments, comments->user_comments, comments->comment_lengths,
                                comments->comments, source.Errors);
        }
    }
    return {state.release(), ReadOggFrames};
}

void CloseOggVorbis(void* state) { delete static_cast<OggVorbisReaderState*>(state); }
