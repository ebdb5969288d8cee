#include "input/FlacReader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <FLAC/stream_decoder.h>

#include "input/ByteOrder.h"
#include "input/FileSkip.h"
#include "input/FlacPictures.h"
#include "input/LayoutChange.h"
#include "input/PictureBlock.h"
#include "input/SampleConversion.h"

namespace {

struct DecoderDeleter {
    void operator()(FLAC__StreamDecoder* decoder) const { FLAC__stream_decoder_delete(decoder); }
};

struct FlacReaderState {
    std::unique_ptr<FLAC__StreamDecoder, DecoderDeleter> Decoder;
    std::FILE* File = nullptr;           // owned by the AudioSource
    bool* Damaged = nullptr;             // the AudioSource's mark
    CommentList* Comments = nullptr;     // null unless the job asked for comments
    const ErrorReporter* Errors = nullptr;  // the AudioSource's

    // The layout the open reported: the first frame's channels, the rate of
    // STREAMINFO (or of the first frame when there is none).
    int32_t Channels = 0;
    uint32_t SampleRate = 0;
    uint64_t TotalSamples = 0;           // 0: STREAMINFO does not give it
    uint64_t FramesDecoded = 0;
    uint32_t ChangedRate = 0;            // a frame's rate that ended the data

    // The last decoded frame, on the 16-bit scale, one array per layout channel.
    std::vector<std::vector<float>> Samples;
    int32_t BufferStart = 0;
    int32_t BufferFill = 0;
    bool EndOfStream = false;

    // The bytes the format probes had read; the decoder gets them first.
    std::vector<uint8_t> Probe;
    std::size_t ProbeDelivered = 0;
};

constexpr uint8_t kFlacMarker[4] = {'f', 'L', 'a', 'C'};
constexpr uint8_t kId3v2Marker[3] = {'I', 'D', '3'};
constexpr uint8_t kId3v2OldestVersion = 2;
constexpr uint8_t kId3v2NewestVersion = 4;
constexpr std::size_t kId3v2HeaderBytes = 10;  // marker, version, revision, flags, size
constexpr std::size_t kId3v2SizeAt = 6;
constexpr std::size_t kId3v2FooterBytes = 10;
constexpr uint8_t kId3v2FooterFlag = 0x10;

bool StartsWithId3v2Version(const uint8_t* bytes, std::size_t count) {
    return count >= 4 && std::memcmp(bytes, kId3v2Marker, sizeof kId3v2Marker) == 0 &&
           bytes[3] >= kId3v2OldestVersion && bytes[3] <= kId3v2NewestVersion;
}

// `head` holds the bytes read so far from the file's start. Some taggers put
// an ID3v2 tag in front of the stream, as libFLAC's own tools accept: the
// tag is dropped (whatever of it `head` holds, the rest skipped in the file)
// and `head` then starts with "fLaC". False when it does not.
bool SkipLeadingId3v2(std::FILE* file, std::vector<uint8_t>& head) {
    if (StartsWithId3v2Version(head.data(), head.size())) {
        if (!FillHead(file, head, kId3v2HeaderBytes)) return false;
        const uint8_t* size = head.data() + kId3v2SizeAt;
        // The revision is never 0xFF, and no size byte has its top bit set.
        if (head[4] == 0xFF || ((size[0] | size[1] | size[2] | size[3]) & 0x80) != 0) return false;
        const uint64_t tagBytes =
            kId3v2HeaderBytes + LoadSyncsafe28(size) + ((head[5] & kId3v2FooterFlag) ? kId3v2FooterBytes : 0);
        if (head.size() >= tagBytes) {
            head.erase(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(tagBytes));
        } else {
            const uint64_t rest = tagBytes - head.size();
            head.clear();
            if (!SkipForwardBytes(file, rest)) return false;
        }
    }
    return FillHead(file, head, sizeof kFlacMarker) && std::memcmp(head.data(), kFlacMarker, sizeof kFlacMarker) == 0;
}

FlacReaderState& StateOf(void* clientData) { return *static_cast<FlacReaderState*>(clientData); }

void MarkDamaged(FlacReaderState& state) {
    if (state.Damaged) *state.Damaged = true;
}

FLAC__StreamDecoderReadStatus ReadBytes(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes,
                                        void* clientData) {
    FlacReaderState& state = StateOf(clientData);
    const std::size_t wanted = *bytes;
    std::size_t delivered = std::min(wanted, state.Probe.size() - state.ProbeDelivered);
    std::memcpy(buffer, state.Probe.data() + state.ProbeDelivered, delivered);
    state.ProbeDelivered += delivered;
    if (delivered < wanted) delivered += std::fread(buffer + delivered, 1, wanted - delivered, state.File);
    *bytes = delivered;
    if (delivered > 0) return FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
    if (std::ferror(state.File)) {
        MarkDamaged(state);
        return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
    }
    return FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
}

FLAC__bool AtEnd(const FLAC__StreamDecoder*, void* clientData) {
    FlacReaderState& state = StateOf(clientData);
    return state.ProbeDelivered == state.Probe.size() && std::feof(state.File);
}

void KeepComments(FlacReaderState& state, const FLAC__StreamMetadata_VorbisComment& block) {
    for (FLAC__uint32 i = 0; i < block.num_comments; ++i) {
        const FLAC__StreamMetadata_VorbisComment_Entry& entry = block.comments[i];
        if (!entry.entry) continue;
        // The entry is counted, not terminated; a zero byte inside ends the text.
        const std::string text(reinterpret_cast<const char*>(entry.entry), entry.length);
        if (!TakePictureComment(*state.Comments, text, *state.Errors)) AppendComment(*state.Comments, text.c_str());
    }
}

void TakeMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* clientData) {
    FlacReaderState& state = StateOf(clientData);
    if (metadata->type == FLAC__METADATA_TYPE_STREAMINFO) {
        state.SampleRate = metadata->data.stream_info.sample_rate;
        state.TotalSamples = metadata->data.stream_info.total_samples;
    } else if (metadata->type == FLAC__METADATA_TYPE_VORBIS_COMMENT && state.Comments) {
        KeepComments(state, metadata->data.vorbis_comment);
    }
}

FLAC__StreamDecoderWriteStatus TakeFrame(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                         const FLAC__int32* const buffer[], void* clientData) {
    FlacReaderState& state = StateOf(clientData);
    const FLAC__FrameHeader& header = frame->header;
    if (state.Channels == 0) {
        state.Channels = static_cast<int32_t>(header.channels);
        if (state.SampleRate == 0) state.SampleRate = header.sample_rate;
        state.Samples.resize(static_cast<std::size_t>(state.Channels));
    }
    if (header.sample_rate != state.SampleRate) {
        state.ChangedRate = header.sample_rate;
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    }
    const auto frames = static_cast<int32_t>(header.blocksize);
    const auto streamChannels = static_cast<int32_t>(header.channels);
    for (int32_t c = 0; c < state.Channels; ++c) {
        std::vector<float>& samples = state.Samples[static_cast<std::size_t>(c)];
        samples.resize(static_cast<std::size_t>(frames));
        const FLAC__int32* decoded = buffer[StreamChannelFor(c, streamChannels)];
        for (int32_t i = 0; i < frames; ++i) samples[i] = FlacSampleToFloat(decoded[i], header.bits_per_sample);
    }
    state.BufferStart = 0;
    state.BufferFill = frames;
    state.FramesDecoded += header.blocksize;
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

// Lost sync, a bad header or a CRC mismatch: the decoder goes on with what it
// can still decode, but the file is not whole.
void TakeError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* clientData) {
    MarkDamaged(StateOf(clientData));
}

// Decodes until a frame is buffered or the data ends. The states up to
// READ_FRAME are the decoder still working through the stream. A stream that stops
// decoding, or ends before the count STREAMINFO gives, is damaged.
void DecodeNextFrame(FlacReaderState& state) {
    while (state.BufferFill == 0 && !state.EndOfStream) {
        FLAC__StreamDecoder* decoder = state.Decoder.get();
        const bool processed = FLAC__stream_decoder_process_single(decoder);
        const FLAC__StreamDecoderState after = FLAC__stream_decoder_get_state(decoder);
        if (state.ChangedRate != 0) {
            ReportSampleRateChange(*state.Errors, static_cast<long>(state.SampleRate), static_cast<long>(state.ChangedRate));
            MarkDamaged(state);
            state.EndOfStream = true;
        } else if (!processed || after > FLAC__STREAM_DECODER_READ_FRAME) {
            state.EndOfStream = true;
            const bool complete = processed && after == FLAC__STREAM_DECODER_END_OF_STREAM &&
                                  (state.TotalSamples == 0 || state.FramesDecoded >= state.TotalSamples);
            if (!complete) MarkDamaged(state);
        }
    }
}

int32_t ReadFlacFrames(void* opaque, float** buffers, int32_t frames) {
    FlacReaderState& state = *static_cast<FlacReaderState*>(opaque);
    int32_t delivered = 0;
    while (delivered < frames) {
        if (state.BufferFill == 0) {
            DecodeNextFrame(state);
            if (state.BufferFill == 0) break;
        }
        const int32_t n = std::min(state.BufferFill, frames - delivered);
        for (int32_t c = 0; c < state.Channels; ++c) {
            const float* samples = state.Samples[static_cast<std::size_t>(c)].data() + state.BufferStart;
            std::copy(samples, samples + n, buffers[c] + delivered);
        }
        state.BufferStart += n;
        state.BufferFill -= n;
        delivered += n;
    }
    return delivered;
}

}  // namespace

bool ProbeFlac(const uint8_t* bytes, std::size_t count) {
    return (count >= sizeof kFlacMarker && std::memcmp(bytes, kFlacMarker, sizeof kFlacMarker) == 0) ||
           StartsWithId3v2Version(bytes, count);
}

OpenedReader OpenFlac(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount) {
    auto state = std::make_unique<FlacReaderState>();
    state->File = file;
    state->Damaged = &source.Damaged;
    state->Errors = &source.Errors;
    if (source.CommentMode == kCommentModeHandOver) state->Comments = &source.Comments;
    state->Probe.assign(probeBytes, probeBytes + probeCount);
    if (!SkipLeadingId3v2(file, state->Probe)) return {};
    // Pictures travel only with the comments; otherwise the decoder skips
    // their blocks unread.
    if (state->Comments) state->Probe = TakeFlacPictures(file, std::move(state->Probe), *state->Comments, source.Errors);
    state->Decoder.reset(FLAC__stream_decoder_new());
    FLAC__StreamDecoder* decoder = state->Decoder.get();
    // A stream in which no frame decodes keeps 0 channels; the channel check
    // after the open refuses it with its own message.
    if (decoder) {
        FLAC__stream_decoder_set_md5_checking(decoder, false);
        FLAC__stream_decoder_set_metadata_respond(decoder, FLAC__METADATA_TYPE_VORBIS_COMMENT);
        if (FLAC__stream_decoder_init_stream(decoder, ReadBytes, nullptr, nullptr, nullptr, AtEnd, TakeFrame,
                                             TakeMetadata, TakeError, state.get()) ==
            FLAC__STREAM_DECODER_INIT_STATUS_OK) {
            FLAC__stream_decoder_process_until_end_of_metadata(decoder);
            DecodeNextFrame(*state);
        }
    }
    source.Info.Channels = state->Channels;
    source.Info.SampleRate = static_cast<int32_t>(state->SampleRate);  // 20 bits in STREAMINFO
    // FLAC writes 0 when the encoder could not go back to fill the count in.
    source.Info.SampleCount = state->TotalSamples > 0 ? static_cast<int64_t>(state->TotalSamples) : kSampleCountNotGiven;
    return {state.release(), ReadFlacFrames};
}

void CloseFlac(void* state) { delete static_cast<FlacReaderState*>(state); }
