#include "input/LibavReader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avstring.h>
#include <libavutil/replaygain.h>
#include <libswresample/swresample.h>
}

#include "input/AsciiCase.h"
#include "input/LayoutChange.h"
#include "input/PictureBlock.h"
#include "input/SampleConversion.h"

// Matched against each of a demuxer's names ("mov,mp4,m4a,3gp,3g2,mj2").
const char* const kLibavDemuxers = "mov,aac,asf,wv,ape,mpc,mpc8,tta,ac3,eac3,dts,caf,matroska";
const char* const kLibavDecoders =
    "aac,aac_fixed,alac,wmav1,wmav2,wmapro,wmalossless,wavpack,ape,mpc7,mpc8,tta,ac3,ac3_fixed,eac3,dca,"
    "mp3float,mp3,mp2float,mp2,flac,vorbis,opus,pcm_s16le,pcm_s16be,pcm_s24le,pcm_s24be,pcm_s32le,pcm_s32be,"
    "pcm_f32le,pcm_f32be,pcm_f64le,pcm_f64be,pcm_u8,pcm_s8,pcm_alaw,pcm_mulaw";

namespace {

constexpr int kIoBufferBytes = 64 * 1024;
// Only local files, and only the input: the I/O is ours, and every other
// open a demuxer attempts is refused.
constexpr const char* kProtocols = "file";
// The decoders report what they would otherwise conceal, and fail on it.
constexpr int kErrorDetection = AV_EF_CRCCHECK | AV_EF_BITSTREAM | AV_EF_BUFFER | AV_EF_EXPLODE;
constexpr uint32_t kFrontCover = 3;
// Decoded frames held ahead of the encoder: enough to keep both busy.
constexpr std::size_t kFramesAhead = 16;

struct FormatCloser {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
struct CodecFreer {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct IoFreer {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ResamplerFreer {
    void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};

std::string LibavReason(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

// The libraries print their own warnings on standard error, where the
// tool's lines must each start with a path; ours tell the user instead.
void SilenceLibraryLog() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// Container keys as the Vorbis-comment path names them.
struct KeyAlias {
    const char* Key;
    const char* Comment;
};
constexpr KeyAlias kKeyAliases[] = {{"track", "TRACKNUMBER"}, {"year", "DATE"}};

std::string CommentName(const char* key) {
    for (const KeyAlias& alias : kKeyAliases) {
        if (EqualsIgnoringAsciiCase(key, alias.Key)) return alias.Comment;
    }
    std::string name = key;
    for (char& c : name) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return name;
}

// One decoded frame on the 16-bit scale, one array per channel.
struct DecodedFrame {
    std::vector<std::vector<float>> Channels;
    int32_t Frames = 0;
};

// The decoding runs on a thread of its own, ahead of the reads, as a
// decoder and an encoder piped together would run: the encoder then never
// waits for it. Only that thread touches the libraries after the open.
class LibavReader final : public ReaderBase {
public:
    LibavReader(FilePtr file, const OpenRequest& request) : file_(std::move(file)), warnings_(request.Warnings) {}
    ~LibavReader() override;
    std::optional<OpenError> Start(const OpenRequest& request);
    int32_t Read(float** buffers, int32_t frames) override;

private:
    static int ReadBytes(void* reader, uint8_t* into, int count);
    static int64_t SeekFile(void* reader, int64_t offset, int whence);
    static int RefuseOtherFiles(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
        return AVERROR(EPERM);
    }
    std::optional<OpenError> OpenDecoder(const std::string& path);
    void TakeComments(const AVDictionary* metadata, bool gainsOnly);
    void TakeGainSideData(const AVStream& stream);
    void TakeCovers();
    void DecodeAhead();
    bool DecodeFrame();
    bool Convert();
    void EndData(std::string reason = {});
    void Fail(std::string reason);
    bool TakeNextFrame();

    FilePtr file_;
    ErrorReporter warnings_;
    int systemError_ = 0;  // of the last failed read
    // Declared in the order they are released in reverse.
    std::unique_ptr<AVIOContext, IoFreer> io_;
    std::unique_ptr<AVFormatContext, FormatCloser> format_;
    std::unique_ptr<AVCodecContext, CodecFreer> codec_;
    std::unique_ptr<SwrContext, ResamplerFreer> resampler_;
    std::unique_ptr<AVPacket, PacketFreer> packet_;
    std::unique_ptr<AVFrame, FrameFreer> frame_;
    std::unique_ptr<AVFrame, FrameFreer> converted_;
    int streamIndex_ = -1;

    // The container's stated length, when it states one that is not a guess.
    int64_t statedFrames_ = kSampleCountNotGiven;
    int64_t framesDecoded_ = 0;
    int32_t longestFrame_ = 0;
    bool draining_ = false;
    bool ended_ = false;

    // The decoding thread's: the frame it converted, and the first damage it
    // met, which the reads mark once they reach the end.
    DecodedFrame decoded_;
    std::optional<ReadError> damageAhead_;
    int32_t changedRate_ = 0;

    std::thread decoder_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<DecodedFrame> ready_;  // guarded by lock_
    bool decoderDone_ = false;        // guarded by lock_
    bool stopping_ = false;           // guarded by lock_

    DecodedFrame current_;  // the frame the reads take from
    int32_t currentStart_ = 0;
    bool endTold_ = false;
};

LibavReader::~LibavReader() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (decoder_.joinable()) decoder_.join();
}

int LibavReader::ReadBytes(void* reader, uint8_t* into, int count) {
    auto& self = *static_cast<LibavReader*>(reader);
    const std::size_t got = std::fread(into, 1, static_cast<std::size_t>(count), self.file_.get());
    if (got > 0) return static_cast<int>(got);
    if (std::ferror(self.file_.get())) {
        self.systemError_ = errno != 0 ? errno : EIO;
        return AVERROR(self.systemError_);
    }
    return AVERROR_EOF;
}

int64_t LibavReader::SeekFile(void* reader, int64_t offset, int whence) {
    std::FILE* file = static_cast<LibavReader*>(reader)->file_.get();
    if (whence & AVSEEK_SIZE) {
        struct stat status {};
        return fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) ? status.st_size : -1;
    }
    if (fseeko(file, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE) != 0) return AVERROR(errno);
    return ftello(file);
}

void LibavReader::TakeComments(const AVDictionary* metadata, bool gainsOnly) {
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(metadata, "", entry, AV_DICT_IGNORE_SUFFIX))) {
        const std::string name = CommentName(entry->key);
        if (gainsOnly && name.rfind("REPLAYGAIN_", 0) != 0) continue;
        std::string value = entry->value;
        // MP4 and ASF give "3/12"; the tag path would turn the slash into
        // a '_', and the track is the number.
        if (name == "TRACKNUMBER") value = value.substr(0, value.find('/'));
        AppendComment(comments_, (name + "=" + value).c_str());
    }
}

// Demuxers that parse ReplayGain tags themselves hand them over as side
// data, in microbels.
void LibavReader::TakeGainSideData(const AVStream& stream) {
    for (int i = 0; i < stream.nb_side_data; ++i) {
        const AVPacketSideData& side = stream.side_data[i];
        if (side.type != AV_PKT_DATA_REPLAYGAIN || side.size < static_cast<int>(sizeof(AVReplayGain))) continue;
        AVReplayGain gain{};
        std::memcpy(&gain, side.data, sizeof gain);
        constexpr double kMicrobelsPerDb = 100000.0;
        if (gain.track_gain != INT32_MIN) {
            AppendComment(comments_, ("REPLAYGAIN_TRACK_GAIN=" + std::to_string(gain.track_gain / kMicrobelsPerDb)).c_str());
        }
        if (gain.album_gain != INT32_MIN) {
            AppendComment(comments_, ("REPLAYGAIN_ALBUM_GAIN=" + std::to_string(gain.album_gain / kMicrobelsPerDb)).c_str());
        }
    }
}

// MP4 covr, ASF WM/Picture, APE cover art and Matroska image attachments
// all come as a stream holding one picture.
void LibavReader::TakeCovers() {
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        const AVStream& stream = *format_->streams[i];
        if (!(stream.disposition & AV_DISPOSITION_ATTACHED_PIC) || stream.attached_pic.size <= 0) continue;
        const AVCodecID codec = stream.codecpar->codec_id;
        if (codec != AV_CODEC_ID_MJPEG && codec != AV_CODEC_ID_PNG) continue;
        SourcePicture picture;
        picture.Type = kFrontCover;
        picture.MimeType = codec == AV_CODEC_ID_PNG ? "image/png" : "image/jpeg";
        if (const AVDictionaryEntry* title = av_dict_get(stream.metadata, "title", nullptr, 0)) {
            picture.Description = title->value;
        }
        const uint8_t* data = stream.attached_pic.data;
        picture.Data.assign(data, data + stream.attached_pic.size);
        OfferPicture(comments_, std::move(picture), warnings_);
    }
}

std::optional<OpenError> LibavReader::OpenDecoder(const std::string& path) {
    AVStream& stream = *format_->streams[streamIndex_];
    const AVCodec* decoder = avcodec_find_decoder(stream.codecpar->codec_id);
    codec_.reset(avcodec_alloc_context3(decoder));
    if (!decoder || !codec_ || avcodec_parameters_to_context(codec_.get(), stream.codecpar) < 0) {
        return OpenError{OpenErrorKind::Unsupported, "Unsupported audio codec in input file '" + path + "'\n"};
    }
    codec_->pkt_timebase = stream.time_base;
    codec_->err_recognition = kErrorDetection;
    codec_->flags &= ~AV_CODEC_FLAG_OUTPUT_CORRUPT;
    // The batch already runs one file per core.
    codec_->thread_count = 1;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "codec_whitelist", kLibavDecoders, 0);
    const int opened = avcodec_open2(codec_.get(), decoder, &options);
    av_dict_free(&options);
    if (opened < 0) {
        return OpenError{OpenErrorKind::Unsupported, "Unsupported audio codec in input file '" + path + "'\n"};
    }
    return std::nullopt;
}

std::optional<OpenError> LibavReader::Start(const OpenRequest& request) {
    SilenceLibraryLog();
    const OpenError notAudio{OpenErrorKind::NotAudio, ""};
    const OpenError damaged{OpenErrorKind::Damaged, "Error reading input file '" + request.Path + "'\n"};
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
    if (!buffer) return damaged;
    // A pipe cannot seek; the demuxers then read it in order.
    const bool seekable = fseeko(file_.get(), 0, SEEK_CUR) == 0;
    AVIOContext* io = avio_alloc_context(buffer, kIoBufferBytes, 0, this, ReadBytes, nullptr, seekable ? SeekFile : nullptr);
    if (!io) {
        av_free(buffer);
        return damaged;
    }
    io_.reset(io);

    // The format is probed first so that a file of a demuxer outside the
    // list is told apart from a damaged one.
    const AVInputFormat* demuxer = nullptr;
    if (av_probe_input_buffer2(io, &demuxer, "", nullptr, 0, 0) < 0 || !demuxer ||
        av_match_list(demuxer->name, kLibavDemuxers, ',') <= 0) {
        return notAudio;
    }
    AVFormatContext* format = avformat_alloc_context();
    if (!format) return damaged;
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->io_open = RefuseOtherFiles;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "format_whitelist", kLibavDemuxers, 0);
    av_dict_set(&options, "protocol_whitelist", kProtocols, 0);
    av_dict_set(&options, "codec_whitelist", kLibavDecoders, 0);
    av_dict_set_int(&options, "err_detect", kErrorDetection, 0);
    const int opened = avformat_open_input(&format, "", demuxer, &options);
    av_dict_free(&options);
    if (opened < 0) return damaged;  // the call freed the context
    format_.reset(format);
    // Its look ahead meets a cut or a damaged packet first: what comes
    // before still decodes, and the file ends marked damaged.
    const int found = avformat_find_stream_info(format, nullptr);
    if (found < 0) MarkDamaged(LibavReason(found), systemError_);

    streamIndex_ = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (streamIndex_ < 0) {
        return OpenError{OpenErrorKind::Unsupported, "No audio stream in input file '" + request.Path + "'\n"};
    }
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (static_cast<int>(i) != streamIndex_) format->streams[i]->discard = AVDISCARD_ALL;
    }
    if (std::optional<OpenError> refused = OpenDecoder(request.Path)) return refused;

    const AVStream& stream = *format->streams[streamIndex_];
    stream_.Channels = codec_->ch_layout.nb_channels;
    stream_.SampleRate = codec_->sample_rate;
    if (codec_->ch_layout.order == AV_CHANNEL_ORDER_NATIVE) stream_.ChannelMask = codec_->ch_layout.u.mask;
    // A length estimated from the bitrate (ADTS) is a guess, not a statement.
    if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0 &&
        format->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE && codec_->sample_rate > 0) {
        statedFrames_ = av_rescale_q(stream.duration, stream.time_base, AVRational{1, codec_->sample_rate});
    }
    stream_.SampleCount = statedFrames_;
    if (request.WantComments) {
        TakeComments(format->metadata, false);
        TakeComments(stream.metadata, true);
        TakeGainSideData(stream);
        TakeCovers();
    }
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    converted_.reset(av_frame_alloc());
    resampler_.reset(swr_alloc());
    if (!packet_ || !frame_ || !converted_ || !resampler_) return damaged;
    decoder_ = std::thread(&LibavReader::DecodeAhead, this);
    return std::nullopt;
}

void LibavReader::Fail(std::string reason) {
    if (!damageAhead_) damageAhead_ = ReadError{std::move(reason), systemError_};
}

void LibavReader::EndData(std::string reason) {
    ended_ = true;
    if (!reason.empty()) Fail(std::move(reason));
}

void LibavReader::DecodeAhead() {
    while (DecodeFrame()) {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [this] { return stopping_ || ready_.size() < kFramesAhead; });
        if (stopping_) return;
        ready_.push_back(std::move(decoded_));
        changed_.notify_all();
    }
    std::lock_guard<std::mutex> hold(lock_);
    decoderDone_ = true;
    changed_.notify_all();
}

// The next decoded frame into `current_`; false at the end of the data,
// where the damage the decoding met is marked.
bool LibavReader::TakeNextFrame() {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return !ready_.empty() || decoderDone_; });
    if (ready_.empty()) {
        hold.unlock();
        if (!endTold_) {
            endTold_ = true;
            if (changedRate_ != 0) ReportSampleRateChange(warnings_, stream_.SampleRate, changedRate_);
            if (damageAhead_) MarkDamaged(damageAhead_->Reason, damageAhead_->SystemError);
        }
        return false;
    }
    current_ = std::move(ready_.front());
    ready_.pop_front();
    currentStart_ = 0;
    changed_.notify_all();
    return true;
}

// The decoded frame as planar floats at its own rate and layout, into `decoded_`.
bool LibavReader::Convert() {
    AVFrame* out = converted_.get();
    av_frame_unref(out);
    if (av_channel_layout_copy(&out->ch_layout, &frame_->ch_layout) < 0) return false;
    out->format = AV_SAMPLE_FMT_FLTP;
    out->sample_rate = frame_->sample_rate;
    int converted = swr_convert_frame(resampler_.get(), out, frame_.get());
    if (converted == AVERROR_INPUT_CHANGED || converted == AVERROR_OUTPUT_CHANGED) {
        swr_close(resampler_.get());
        if (swr_config_frame(resampler_.get(), out, frame_.get()) < 0) return false;
        converted = swr_convert_frame(resampler_.get(), out, frame_.get());
    }
    if (converted < 0) return false;
    const int32_t frames = out->nb_samples;
    const int32_t frameChannels = out->ch_layout.nb_channels;
    decoded_.Channels.resize(static_cast<std::size_t>(stream_.Channels));
    for (int32_t c = 0; c < stream_.Channels; ++c) {
        std::vector<float>& samples = decoded_.Channels[static_cast<std::size_t>(c)];
        samples.resize(static_cast<std::size_t>(frames));
        const auto* decoded = reinterpret_cast<const float*>(out->extended_data[StreamChannelFor(c, frameChannels)]);
        // Rounded as ffmpeg rounds to 16 bits, so that the MP3 is the one
        // its decoded output would give; the later truncation keeps it.
        for (int32_t i = 0; i < frames; ++i) samples[i] = std::nearbyint(FloatToScale(decoded[i]));
    }
    decoded_.Frames = frames;
    framesDecoded_ += frames;
    longestFrame_ = std::max(longestFrame_, frames);
    return true;
}

// Decodes until a frame is in `decoded_` or the data ends.
bool LibavReader::DecodeFrame() {
    while (!ended_) {
        const int received = avcodec_receive_frame(codec_.get(), frame_.get());
        if (received == 0) {
            if (frame_->decode_error_flags != 0 || (frame_->flags & AV_FRAME_FLAG_CORRUPT)) {
                EndData("a frame of the stream is damaged");
            } else if (frame_->sample_rate != stream_.SampleRate) {
                changedRate_ = frame_->sample_rate;
                EndData("the sample rate changes inside the stream");
            } else if (!Convert()) {
                EndData("a frame could not be converted");
            } else {
                return true;
            }
            return false;
        }
        if (received == AVERROR_EOF) {
            const bool whole = statedFrames_ < 0 || framesDecoded_ + longestFrame_ >= statedFrames_;
            EndData(whole ? std::string() : "the file ends before its stated length");
            return false;
        }
        if (received != AVERROR(EAGAIN) || draining_) {
            EndData(LibavReason(received));
            return false;
        }
        const int read = av_read_frame(format_.get(), packet_.get());
        if (read < 0) {
            // What the decoder holds is still delivered before the end.
            if (read != AVERROR_EOF) Fail(LibavReason(read));
            draining_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            continue;
        }
        const bool ours = packet_->stream_index == streamIndex_;
        const int sent = ours ? avcodec_send_packet(codec_.get(), packet_.get()) : 0;
        av_packet_unref(packet_.get());
        if (sent < 0) EndData(LibavReason(sent));
    }
    return false;
}

int32_t LibavReader::Read(float** buffers, int32_t frames) {
    int32_t delivered = 0;
    while (delivered < frames) {
        if (currentStart_ == current_.Frames && !TakeNextFrame()) break;
        const int32_t n = std::min(current_.Frames - currentStart_, frames - delivered);
        for (int32_t c = 0; c < stream_.Channels; ++c) {
            const float* samples = current_.Channels[static_cast<std::size_t>(c)].data() + currentStart_;
            std::copy(samples, samples + n, buffers[c] + delivered);
        }
        currentStart_ += n;
        delivered += n;
    }
    return delivered;
}

}  // namespace

OpenedReader OpenLibav(FilePtr file, const OpenRequest& request) {
    auto reader = std::make_unique<LibavReader>(std::move(file), request);
    if (std::optional<OpenError> refused = reader->Start(request)) return *refused;
    return reader;
}
