#include "input/OpusReader.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include <opusfile.h>

#include "input/LayoutChange.h"
#include "input/OggInput.h"
#include "input/PictureBlock.h"
#include "input/SampleConversion.h"
#include "input/SurroundDownmix.h"

namespace {

// libopusfile always decodes at 48 kHz, whatever rate the file was made from.
constexpr int32_t kOpusRate = 48000;
// R128 gains aim at -23 LUFS, ReplayGain at about -18 LUFS: 5 dB more brings
// an Opus file to the level of a Vorbis file of the same music.
constexpr double kR128ToReplayGainDb = 5.0;
constexpr double kGainStepsPerDb = 256.0;  // R128 gains are in 1/256 dB
constexpr int kNoLink = -1;

class OpusReader final : public ReaderBase {
public:
    OpusReader(FilePtr file, const OpenRequest& request)
        : input_(std::move(file)), warnings_(request.Warnings), scaling_(request.Scaling) {}
    ~OpusReader() override {
        if (opus_) op_free(opus_);
    }
    // libopusfile's error when it cannot open the stream; 0 when it opened.
    int Start(bool wantComments);
    int32_t Read(float** buffers, int32_t frames) override;
    // The file ended before the open saw a whole link: a cut, not bad headers.
    bool CutShort() const { return input_.AtEnd() && !input_.StreamsEnded(); }

private:
    static int ReadInOrder(void* reader, unsigned char* into, int count);
    static int ReadFile(void* file, unsigned char* into, int count);
    static int64_t CountFrames(std::FILE* file);
    double GainOf(int link) const;
    int32_t EndData(bool damaged, std::string reason);

    OggInput input_;
    ErrorReporter warnings_;
    ScaleModeChoice scaling_ = ScaleModeChoice::None;
    OggOpusFile* opus_ = nullptr;
    int32_t channels_ = 0;  // of the first link
    bool ended_ = false;
    int gainLink_ = kNoLink;  // the link `gain_` belongs to
    double gain_ = 1.0;
    // Decoded samples, interleaved: two channels, or the link's own when
    // the first link is surround, which the downmix then mixes.
    float decoded_[kMostDownmixChannels * kBlockFrames];
};

// A failed read is an error to libopusfile, which the read then reports.
int OpusReader::ReadInOrder(void* reader, unsigned char* into, int count) {
    OggInput& input = static_cast<OpusReader*>(reader)->input_;
    const std::size_t got = input.ReadInOrder(into, static_cast<std::size_t>(count));
    return got == 0 && input.SystemError() != 0 ? -1 : static_cast<int>(got);
}

int OpusReader::ReadFile(void* file, unsigned char* into, int count) {
    auto* stream = static_cast<std::FILE*>(file);
    const std::size_t got = std::fread(into, 1, static_cast<std::size_t>(count), stream);
    return got == 0 && std::ferror(stream) ? -1 : static_cast<int>(got);
}

// The exact length of every link, after the pre-skip and the end trim.
int64_t OpusReader::CountFrames(std::FILE* file) {
    const OpusFileCallbacks callbacks = {ReadFile, OggInput::SeekFile, OggInput::TellFile, nullptr};
    OggOpusFile* counting = op_open_callbacks(file, &callbacks, nullptr, 0, nullptr);
    if (!counting) return kSampleCountNotGiven;
    const ogg_int64_t total = op_pcm_total(counting, -1);
    op_free(counting);
    return total >= 0 ? total : kSampleCountNotGiven;
}

// The header's output gain is part of the format and libopusfile always
// applies it; scaling adds the link's own R128 gain, when it carries one.
double OpusReader::GainOf(int link) const {
    const OpusTags* tags = op_tags(opus_, link);
    int gain = 0;
    const bool given = tags && ((scaling_ == ScaleModeChoice::TrackGain && opus_tags_get_track_gain(tags, &gain) == 0) ||
                                (scaling_ == ScaleModeChoice::AlbumGain && opus_tags_get_album_gain(tags, &gain) == 0));
    if (!given) return 1.0;
    return std::pow(10.0, (gain / kGainStepsPerDb + kR128ToReplayGainDb) / 20.0);
}

// Ends the data; what was delivered before stays delivered.
int32_t OpusReader::EndData(bool damaged, std::string reason) {
    ended_ = true;
    if (damaged) MarkDamaged(std::move(reason), input_.SystemError());
    return 0;
}

// A mono or stereo first layout gets every link as two channels, a mono
// link on both, and takes what it holds of them. A surround first layout
// gets each link's own channels.
int32_t OpusReader::Read(float** buffers, int32_t frames) {
    if (ended_ || frames <= 0) return 0;
    const int wanted = std::min(frames, kBlockFrames);
    int link = 0;
    // The size is in values: a link of any channel count then gives at most
    // the frames asked (the blocks ask for 1152), and never none.
    const int got = channels_ > 2 ? op_read_float(opus_, decoded_, std::max(wanted, kMostDownmixChannels), &link)
                                  : op_read_float_stereo(opus_, decoded_, 2 * wanted);
    if (input_.Damaged()) MarkDamaged("a page of the stream is missing or damaged", input_.SystemError());
    // A hole in the pages, a packet that does not decode, a failed read.
    if (got < 0) return EndData(true, "libopusfile error " + std::to_string(got));
    if (got == 0) return EndData(!input_.StreamsEnded(), "the file ends inside the stream");
    // Each read gives samples of one link, the one op_current_link names.
    if (scaling_ != ScaleModeChoice::None && op_current_link(opus_) != gainLink_) {
        gainLink_ = op_current_link(opus_);
        gain_ = GainOf(gainLink_);
    }
    const auto gain = static_cast<float>(gain_);
    const int32_t n = std::min(got, wanted);
    if (channels_ > 2) {
        const int32_t linkChannels = op_channel_count(opus_, link);
        for (int32_t c = 0; c < channels_; ++c) {
            const int32_t from = StreamChannelFor(c, linkChannels);
            for (int32_t i = 0; i < n; ++i) buffers[c][i] = FloatToScale(decoded_[i * linkChannels + from] * gain);
        }
        return n;
    }
    if (channels_ == 1) {
        // A mono link fills both sides alike; a later stereo one is mixed.
        for (int32_t i = 0; i < n; ++i) {
            buffers[0][i] = FloatToScale((decoded_[2 * i] + decoded_[2 * i + 1]) * 0.5f * gain);
        }
        return n;
    }
    for (int32_t c = 0; c < 2; ++c) {
        for (int32_t i = 0; i < n; ++i) buffers[c][i] = FloatToScale(decoded_[2 * i + c] * gain);
    }
    return n;
}

int OpusReader::Start(bool wantComments) {
    stream_.SampleCount = input_.CountThenRewind(CountFrames);
    const OpusFileCallbacks inOrder = {ReadInOrder, nullptr, nullptr, nullptr};
    int error = 0;
    opus_ = op_open_callbacks(this, &inOrder, nullptr, 0, &error);
    if (!opus_) return error != 0 ? error : OP_EFAULT;
    // Beyond the downmix's channels, the channel check refuses the file.
    channels_ = op_channel_count(opus_, -1);
    stream_.Channels = channels_;
    stream_.Order = ChannelOrder::Vorbis;
    stream_.SampleRate = kOpusRate;
    const OpusTags* tags = op_tags(opus_, -1);
    if (wantComments && tags) {
        HandOverOggComments(comments_, tags->user_comments, tags->comment_lengths, tags->comments, warnings_);
    }
    return 0;
}

}  // namespace

bool ProbeOpus(std::span<const uint8_t> head) { return OggFirstPacketStartsWith(head, "OpusHead"); }

OpenedReader OpenOpus(FilePtr file, const OpenRequest& request) {
    auto reader = std::make_unique<OpusReader>(std::move(file), request);
    if (reader->Start(request.WantComments) == 0) return reader;
    if (reader->CutShort()) {
        return OpenError{OpenErrorKind::Damaged, "Error reading input file '" + request.Path + "'\n"};
    }
    return OpenError{OpenErrorKind::Damaged, "Error reading headers in opus input file " + request.Path + ".\n"};
}
