#include "input/OggVorbisReader.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <string>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "input/LayoutChange.h"
#include "input/OggInput.h"
#include "input/PictureBlock.h"
#include "input/SampleConversion.h"

namespace {

class OggVorbisReader final : public ReaderBase {
public:
    OggVorbisReader(FilePtr file, const OpenRequest& request)
        : input_(std::move(file)), warnings_(request.Warnings), scaling_(ScalingOn(request.Scaling)) {}
    ~OggVorbisReader() override {
        if (vorbisOpen_) ov_clear(&vorbis_);
    }
    // False when libvorbisfile cannot open the stream.
    bool Start(bool wantComments);
    int32_t Read(float** buffers, int32_t frames) override;
    void TakeScaleFactor(double factor) override { factor_ = factor; }

private:
    static size_t ReadInOrder(void* into, size_t size, size_t count, void* reader);
    static size_t ReadFile(void* into, size_t size, size_t count, void* file);
    static int SeekFile(void* file, ogg_int64_t offset, int whence) { return OggInput::SeekFile(file, offset, whence); }
    static long TellFile(void* file) { return static_cast<long>(OggInput::TellFile(file)); }
    static int64_t CountFrames(std::FILE* file);
    int32_t EndData(bool damaged, const char* reason);

    OggInput input_;
    ErrorReporter warnings_;
    bool scaling_ = false;
    double factor_ = 1.0;
    OggVorbis_File vorbis_{};
    bool vorbisOpen_ = false;
    int32_t channels_ = 0;  // of the first link
    long sampleRate_ = 0;
    int link_ = 0;          // of the last samples delivered
    bool ended_ = false;
};

size_t OggVorbisReader::ReadInOrder(void* into, size_t size, size_t count, void* reader) {
    return static_cast<OggVorbisReader*>(reader)->input_.ReadInOrder(into, size * count) / (size ? size : 1);
}

size_t OggVorbisReader::ReadFile(void* into, size_t size, size_t count, void* file) {
    return std::fread(into, size, count, static_cast<std::FILE*>(file));
}

int64_t OggVorbisReader::CountFrames(std::FILE* file) {
    const ov_callbacks callbacks = {ReadFile, SeekFile, nullptr, TellFile};
    OggVorbis_File counting{};
    if (ov_open_callbacks(file, &counting, nullptr, 0, callbacks) < 0) return kSampleCountNotGiven;
    const ogg_int64_t total = ov_pcm_total(&counting, -1);
    ov_clear(&counting);
    return total >= 0 ? total : kSampleCountNotGiven;
}

// Ends the data; what was delivered before stays delivered.
int32_t OggVorbisReader::EndData(bool damaged, const char* reason) {
    ended_ = true;
    if (damaged) MarkDamaged(reason, input_.SystemError());
    return 0;
}

int32_t OggVorbisReader::Read(float** buffers, int32_t frames) {
    if (ended_ || frames <= 0) return 0;
    float** pcm = nullptr;
    int link = link_;
    long got = ov_read_float(&vorbis_, &pcm, frames, &link);
    if (got == OV_HOLE) {
        // Read in order, a chained file shows a hole where one link ends and
        // the next begins; a hole within a link is lost data. What follows
        // it is still delivered.
        got = ov_read_float(&vorbis_, &pcm, frames, &link);
        if (got <= 0 || link == link_) MarkDamaged("a page of the stream is missing");
    }
    if (input_.Damaged()) MarkDamaged("a page of the stream is missing or damaged", input_.SystemError());
    // A second hole, a damaged page or a bad link.
    if (got < 0) return EndData(true, "a page of the stream is missing or damaged");
    if (got == 0) return EndData(!input_.StreamsEnded(), "the file ends inside the stream");
    link_ = link;
    const vorbis_info* info = ov_info(&vorbis_, link);
    if (!info || info->channels < 1) return EndData(true, "a link of the chain has no channels");
    if (info->rate != sampleRate_) {
        ReportSampleRateChange(warnings_, sampleRate_, info->rate);
        return EndData(true, "the sample rate changes inside the stream");
    }
    const auto n = static_cast<int32_t>(std::min<long>(got, frames));
    const bool mixing = channels_ == 1 && info->channels > 1;
    for (int32_t c = 0; c < channels_; ++c) {
        const float* decoded = pcm[StreamChannelFor(c, info->channels)];
        float* out = buffers[c];
        for (int32_t i = 0; i < n; ++i) {
            int16_t sample = VorbisFloatToInt16(mixing ? MixedToMono(pcm, info->channels, i) : decoded[i]);
            if (scaling_) sample = ScaleVorbisSample(sample, factor_);
            out[i] = static_cast<float>(sample);
        }
    }
    return n;
}

bool OggVorbisReader::Start(bool wantComments) {
    stream_.SampleCount = input_.CountThenRewind(CountFrames);
    const ov_callbacks inOrder = {ReadInOrder, nullptr, nullptr, nullptr};
    if (ov_open_callbacks(this, &vorbis_, nullptr, 0, inOrder) < 0) return false;
    vorbisOpen_ = true;
    const vorbis_info* info = ov_info(&vorbis_, -1);
    channels_ = info ? info->channels : 0;
    sampleRate_ = info ? info->rate : 0;
    stream_.Channels = channels_;
    stream_.Order = ChannelOrder::Vorbis;
    stream_.SampleRate = sampleRate_ > 0 && sampleRate_ <= INT32_MAX ? static_cast<int32_t>(sampleRate_) : 0;
    if (wantComments) {
        if (const vorbis_comment* comments = ov_comment(&vorbis_, -1)) {
            HandOverOggComments(comments_, comments->user_comments, comments->comment_lengths, comments->comments,
                                warnings_);
        }
    }
    return true;
}

}  // namespace

bool ProbeOggVorbis(std::span<const uint8_t> head) { return OggFirstPacketStartsWith(head, "\x01vorbis"); }

OpenedReader OpenOggVorbis(FilePtr file, const OpenRequest& request) {
    auto reader = std::make_unique<OggVorbisReader>(std::move(file), request);
    if (!reader->Start(request.WantComments)) {
        return OpenError{OpenErrorKind::Damaged, "Error reading headers in ogg input file " + request.Path + ".\n"};
    }
    return reader;
}
