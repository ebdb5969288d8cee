#include "input/FlacReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <FLAC/stream_decoder.h>

#include "input/FlacPictures.h"
#include "input/Id3v2Skip.h"
#include "input/LayoutChange.h"
#include "input/PictureBlock.h"
#include "input/SampleConversion.h"

namespace {

struct DecoderDeleter {
    void operator()(FLAC__StreamDecoder* decoder) const { FLAC__stream_decoder_delete(decoder); }
};

constexpr uint8_t kFlacMarker[4] = {'f', 'L', 'a', 'C'};

class FlacReader final : public ReaderBase {
public:
    FlacReader(FilePtr file, const OpenRequest& request) : file_(std::move(file)), warnings_(request.Warnings) {}
    // Reads the metadata and the first frame; false when the file holds no
    // FLAC stream behind its ID3v2 tag.
    bool Start(bool wantComments);
    int32_t Read(float** buffers, int32_t frames) override;

private:
    static FlacReader& Of(void* clientData) { return *static_cast<FlacReader*>(clientData); }
    static FLAC__StreamDecoderReadStatus ReadBytes(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes,
                                                   void* clientData);
    static FLAC__bool AtEnd(const FLAC__StreamDecoder*, void* clientData);
    static void TakeMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* clientData);
    static FLAC__StreamDecoderWriteStatus TakeFrame(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                    const FLAC__int32* const buffer[], void* clientData);
    static void TakeError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus status, void* clientData);
    void KeepComments(const FLAC__StreamMetadata_VorbisComment& block);
    void DecodeNextFrame();

    FilePtr file_;
    ErrorReporter warnings_;
    // Declared after the file: the decoder is released first.
    std::unique_ptr<FLAC__StreamDecoder, DecoderDeleter> decoder_;
    bool wantComments_ = false;

    // The layout the open reported: the first frame's channels, the rate of
    // STREAMINFO (or of the first frame when there is none).
    int32_t channels_ = 0;
    uint32_t sampleRate_ = 0;
    uint64_t totalSamples_ = 0;  // 0: STREAMINFO does not give it
    uint64_t framesDecoded_ = 0;
    uint32_t changedRate_ = 0;   // a frame's rate that ended the data

    // The last decoded frame, on the 16-bit scale, one array per layout channel.
    std::vector<std::vector<float>> samples_;
    int32_t bufferStart_ = 0;
    int32_t bufferFill_ = 0;
    bool endOfStream_ = false;

    // The bytes read before the decoder started (the head after an ID3v2
    // tag, the metadata without its pictures); the decoder gets them first.
    std::vector<uint8_t> head_;
    std::size_t headDelivered_ = 0;
};

FLAC__StreamDecoderReadStatus FlacReader::ReadBytes(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes,
                                                    void* clientData) {
    FlacReader& reader = Of(clientData);
    const std::size_t wanted = *bytes;
    std::size_t delivered = std::min(wanted, reader.head_.size() - reader.headDelivered_);
    std::memcpy(buffer, reader.head_.data() + reader.headDelivered_, delivered);
    reader.headDelivered_ += delivered;
    if (delivered < wanted) delivered += std::fread(buffer + delivered, 1, wanted - delivered, reader.file_.get());
    *bytes = delivered;
    if (delivered > 0) return FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
    if (std::ferror(reader.file_.get())) {
        reader.MarkDamaged({}, errno);
        return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
    }
    return FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
}

FLAC__bool FlacReader::AtEnd(const FLAC__StreamDecoder*, void* clientData) {
    FlacReader& reader = Of(clientData);
    return reader.headDelivered_ == reader.head_.size() && std::feof(reader.file_.get());
}

void FlacReader::KeepComments(const FLAC__StreamMetadata_VorbisComment& block) {
    for (FLAC__uint32 i = 0; i < block.num_comments; ++i) {
        const FLAC__StreamMetadata_VorbisComment_Entry& entry = block.comments[i];
        if (!entry.entry) continue;
        // The entry is counted, not terminated; a zero byte inside ends the text.
        const std::string text(reinterpret_cast<const char*>(entry.entry), entry.length);
        if (!TakePictureComment(comments_, text, warnings_)) AppendComment(comments_, text.c_str());
    }
}

void FlacReader::TakeMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* clientData) {
    FlacReader& reader = Of(clientData);
    if (metadata->type == FLAC__METADATA_TYPE_STREAMINFO) {
        reader.sampleRate_ = metadata->data.stream_info.sample_rate;
        reader.totalSamples_ = metadata->data.stream_info.total_samples;
    } else if (metadata->type == FLAC__METADATA_TYPE_VORBIS_COMMENT && reader.wantComments_) {
        reader.KeepComments(metadata->data.vorbis_comment);
    }
}

FLAC__StreamDecoderWriteStatus FlacReader::TakeFrame(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                     const FLAC__int32* const buffer[], void* clientData) {
    FlacReader& reader = Of(clientData);
    const FLAC__FrameHeader& header = frame->header;
    if (reader.channels_ == 0) {
        reader.channels_ = static_cast<int32_t>(header.channels);
        if (reader.sampleRate_ == 0) reader.sampleRate_ = header.sample_rate;
        reader.samples_.resize(static_cast<std::size_t>(reader.channels_));
    }
    if (header.sample_rate != reader.sampleRate_) {
        reader.changedRate_ = header.sample_rate;
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    }
    const auto frames = static_cast<int32_t>(header.blocksize);
    const auto streamChannels = static_cast<int32_t>(header.channels);
    for (int32_t c = 0; c < reader.channels_; ++c) {
        std::vector<float>& samples = reader.samples_[static_cast<std::size_t>(c)];
        samples.resize(static_cast<std::size_t>(frames));
        const FLAC__int32* decoded = buffer[StreamChannelFor(c, streamChannels)];
        for (int32_t i = 0; i < frames; ++i) samples[i] = FlacSampleToFloat(decoded[i], header.bits_per_sample);
    }
    reader.bufferStart_ = 0;
    reader.bufferFill_ = frames;
    reader.framesDecoded_ += header.blocksize;
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

// Lost sync, a bad header or a CRC mismatch: the decoder goes on with what it
// can still decode, but the file is not whole.
void FlacReader::TakeError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus status, void* clientData) {
    Of(clientData).MarkDamaged(FLAC__StreamDecoderErrorStatusString[status]);
}

// Decodes until a frame is buffered or the data ends. The states up to
// READ_FRAME are the decoder still working through the stream. A stream that
// stops decoding, or ends before the count STREAMINFO gives, is damaged.
void FlacReader::DecodeNextFrame() {
    while (bufferFill_ == 0 && !endOfStream_) {
        FLAC__StreamDecoder* decoder = decoder_.get();
        const bool processed = FLAC__stream_decoder_process_single(decoder);
        const FLAC__StreamDecoderState after = FLAC__stream_decoder_get_state(decoder);
        if (changedRate_ != 0) {
            ReportSampleRateChange(warnings_, static_cast<long>(sampleRate_), static_cast<long>(changedRate_));
            MarkDamaged("the sample rate changes inside the stream");
            endOfStream_ = true;
        } else if (!processed || after > FLAC__STREAM_DECODER_READ_FRAME) {
            endOfStream_ = true;
            const bool complete = processed && after == FLAC__STREAM_DECODER_END_OF_STREAM &&
                                  (totalSamples_ == 0 || framesDecoded_ >= totalSamples_);
            if (!complete) MarkDamaged(FLAC__StreamDecoderStateString[after]);
        }
    }
}

int32_t FlacReader::Read(float** buffers, int32_t frames) {
    int32_t delivered = 0;
    while (delivered < frames) {
        if (bufferFill_ == 0) {
            DecodeNextFrame();
            if (bufferFill_ == 0) break;
        }
        const int32_t n = std::min(bufferFill_, frames - delivered);
        for (int32_t c = 0; c < channels_; ++c) {
            const float* samples = samples_[static_cast<std::size_t>(c)].data() + bufferStart_;
            std::copy(samples, samples + n, buffers[c] + delivered);
        }
        bufferStart_ += n;
        bufferFill_ -= n;
        delivered += n;
    }
    return delivered;
}

bool FlacReader::Start(bool wantComments) {
    wantComments_ = wantComments;
    std::FILE* file = file_.get();
    // Some taggers put an ID3v2 tag in front of the stream, as libFLAC's own tools accept.
    if (!DropLeadingId3v2(file, head_) || !FillHead(file, head_, sizeof kFlacMarker) ||
        std::memcmp(head_.data(), kFlacMarker, sizeof kFlacMarker) != 0) {
        return false;
    }
    // Pictures travel only with the comments; otherwise the decoder skips
    // their blocks unread.
    if (wantComments) head_ = TakeFlacPictures(file, std::move(head_), comments_, warnings_);
    decoder_.reset(FLAC__stream_decoder_new());
    FLAC__StreamDecoder* decoder = decoder_.get();
    // A stream in which no frame decodes keeps 0 channels; the channel check
    // after the open refuses it with its own message.
    if (decoder) {
        FLAC__stream_decoder_set_md5_checking(decoder, false);
        FLAC__stream_decoder_set_metadata_respond(decoder, FLAC__METADATA_TYPE_VORBIS_COMMENT);
        if (FLAC__stream_decoder_init_stream(decoder, ReadBytes, nullptr, nullptr, nullptr, AtEnd, TakeFrame,
                                             TakeMetadata, TakeError, this) == FLAC__STREAM_DECODER_INIT_STATUS_OK) {
            FLAC__stream_decoder_process_until_end_of_metadata(decoder);
            DecodeNextFrame();
        }
    }
    stream_.Channels = channels_;
    stream_.SampleRate = static_cast<int32_t>(sampleRate_);  // 20 bits in STREAMINFO
    // FLAC writes 0 when the encoder could not go back to fill the count in.
    stream_.SampleCount = totalSamples_ > 0 ? static_cast<int64_t>(totalSamples_) : kSampleCountNotGiven;
    return true;
}

}  // namespace

bool ProbeFlac(std::span<const uint8_t> head) {
    return (head.size() >= sizeof kFlacMarker && std::memcmp(head.data(), kFlacMarker, sizeof kFlacMarker) == 0) ||
           StartsWithId3v2(head);
}

OpenedReader OpenFlac(FilePtr file, const OpenRequest& request) {
    auto reader = std::make_unique<FlacReader>(std::move(file), request);
    if (!reader->Start(request.WantComments)) return OpenError{OpenErrorKind::NotAudio, ""};
    return reader;
}
