#include "input/AiffReader.h"
#include "input/AudioSource.h"
#include "input/FlacReader.h"
#include "input/MpegReader.h"
#include "input/OggVorbisReader.h"
#include "input/PcmReader.h"
#include "input/WavReader.h"

namespace {

// Files of these types are read by content: a FLAC stream named ".wav" is
// read as FLAC, and a WAV file named ".flac" as WAV.
constexpr uint32_t kContainerTypes = TypeBit(kSourceWav) | TypeBit(kSourceAiff) | TypeBit(kSourceFlac);
// The extension names the layer an MPEG file must hold.
constexpr uint32_t kMpegTypes =
    TypeBit(kSourceMpegLayer1) | TypeBit(kSourceMpegLayer2) | TypeBit(kSourceMpegLayer3);

// Probing rows are tried in this order; the first whose probe recognises
// the first bytes and whose open succeeds reads the file, whatever its
// extension says. A row without a probe reads its types by itself.
const InputFormat InputFormatTable[] = {
    {ProbeWav, kWavProbeLength, kContainerTypes, OpenWav, ReleasePcmState, false, "wav", "WAV file reader"},
    {ProbeAiff, kAiffProbeLength, kContainerTypes, OpenAiff, ReleasePcmState, false, "aiff", "AIFF/AIFC file reader"},
    {ProbeFlac, kFlacProbeLength, kContainerTypes, OpenFlac, CloseFlac, false, "flac", "FLAC file reader"},
    {nullptr, 0, kMpegTypes, OpenMpeg, ReleaseMpegState, false, "mpeg", "MPEG audio reader"},
    // The reader rounds to 16-bit values itself, so the gain is applied there.
    {nullptr, 0, TypeBit(kSourceOgg), OpenOggVorbis, CloseOggVorbis, true, "ogg", "Ogg Vorbis file reader"},
};

}  // namespace

std::span<const InputFormat> InputFormats() { return InputFormatTable; }
