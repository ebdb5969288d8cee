#include "input/PcmReader.h"

#include <algorithm>
#include <cerrno>

#include "input/ByteOrder.h"
#include "input/SampleConversion.h"

namespace {

// One read serves a whole block of 32-bit stereo; wider frames get a piece
// of at least one frame.
constexpr std::size_t kPieceBytes = static_cast<std::size_t>(kBlockFrames) * 2 * 4;

// The sample size and the conversion are template arguments so that each
// layout gets its own loop with the conversion inlined: this runs once per
// sample of every file.
template <int BytesPerSample, float (*Convert)(const uint8_t*)>
void Deinterleave(const uint8_t* bytes, int64_t frames, int32_t channels, float** buffers, int32_t offset) {
    for (int64_t i = 0; i < frames; ++i) {
        for (int32_t c = 0; c < channels; ++c) {
            buffers[c][offset + i] = Convert(bytes);
            bytes += BytesPerSample;
        }
    }
}

float FromUnsigned8(const uint8_t* p) { return Unsigned8ToFloat(p[0]); }
float FromSigned8(const uint8_t* p) { return Signed8ToFloat(p[0]); }
float FromSigned16LE(const uint8_t* p) { return Signed16ToFloat(LoadSignedLE16(p)); }
float FromSigned16BE(const uint8_t* p) { return Signed16ToFloat(LoadSignedBE16(p)); }
float FromSigned24LE(const uint8_t* p) { return Signed24ToFloat(LoadSignedLE24(p)); }
float FromSigned32LE(const uint8_t* p) { return Signed32ToFloat(LoadSignedLE32(p)); }
float FromFloat32LE(const uint8_t* p) { return FloatToScale(LoadFloatLE32(p)); }

}  // namespace

int32_t PcmBytesPerSample(PcmEncoding encoding) {
    switch (encoding) {
    case PcmEncoding::Unsigned8:
    case PcmEncoding::Signed8: return 1;
    case PcmEncoding::Signed16LE:
    case PcmEncoding::Signed16BE: return 2;
    case PcmEncoding::Signed24LE: return 3;
    case PcmEncoding::Signed32LE:
    case PcmEncoding::Float32LE: return 4;
    }
    return 0;
}

PcmReader::PcmReader(FilePtr file, const PcmLayout& layout) : file_(std::move(file)), layout_(layout) {
    stream_.Channels = layout.Channels;
    stream_.SampleRate = layout.SampleRate;
    stream_.SampleCount = layout.TotalKnown ? layout.TotalFrames : kSampleCountNotGiven;
    stream_.ChannelMask = layout.ChannelMask;
    if (layout.Channels > 0) {
        // At most 65535 channels of 4 bytes: a frame fits 32 bits, and the
        // piece stays below 256 KiB whatever the header claims.
        frameBytes_ = layout.Channels * PcmBytesPerSample(layout.Encoding);
        const auto frameBytes = static_cast<std::size_t>(frameBytes_);
        pieceFrames_ = static_cast<int32_t>(std::max<std::size_t>(1, kPieceBytes / frameBytes));
        bytes_.resize(static_cast<std::size_t>(pieceFrames_) * frameBytes);
    }
}

void PcmReader::Convert(int64_t frames, float** buffers, int32_t offset) const {
    const uint8_t* bytes = bytes_.data();
    const int32_t channels = layout_.Channels;
    switch (layout_.Encoding) {
    case PcmEncoding::Unsigned8: Deinterleave<1, FromUnsigned8>(bytes, frames, channels, buffers, offset); break;
    case PcmEncoding::Signed8: Deinterleave<1, FromSigned8>(bytes, frames, channels, buffers, offset); break;
    case PcmEncoding::Signed16LE: Deinterleave<2, FromSigned16LE>(bytes, frames, channels, buffers, offset); break;
    case PcmEncoding::Signed16BE: Deinterleave<2, FromSigned16BE>(bytes, frames, channels, buffers, offset); break;
    case PcmEncoding::Signed24LE: Deinterleave<3, FromSigned24LE>(bytes, frames, channels, buffers, offset); break;
    case PcmEncoding::Signed32LE: Deinterleave<4, FromSigned32LE>(bytes, frames, channels, buffers, offset); break;
    case PcmEncoding::Float32LE: Deinterleave<4, FromFloat32LE>(bytes, frames, channels, buffers, offset); break;
    }
}

int32_t PcmReader::Read(float** buffers, int32_t frames) {
    if (frameBytes_ <= 0 || frames <= 0) return 0;
    int32_t delivered = 0;
    while (delivered < frames) {
        int64_t wanted = std::min<int64_t>(frames - delivered, pieceFrames_);
        if (layout_.TotalKnown) wanted = std::min(wanted, layout_.TotalFrames - framesRead_);
        if (wanted <= 0) break;
        const std::size_t requested = static_cast<std::size_t>(wanted) * static_cast<std::size_t>(frameBytes_);
        const std::size_t got = std::fread(bytes_.data(), 1, requested, file_.get());
        const int readError = std::ferror(file_.get()) ? errno : 0;
        // A partial frame at the end carries no whole sample set: dropped.
        const auto whole = static_cast<int64_t>(got / static_cast<std::size_t>(frameBytes_));
        Convert(whole, buffers, delivered);
        delivered += static_cast<int32_t>(whole);
        framesRead_ += whole;
        if (got < requested) {
            // Without a known total the end of the file is the end of the
            // data (a file written while streaming); with one, the copy is
            // cut short.
            if (readError != 0) {
                MarkDamaged({}, readError);
            } else if (layout_.TotalKnown) {
                MarkDamaged("the data ends before its declared length");
            }
            break;
        }
    }
    return delivered;
}
