#include "input/AiffReader.h"
#include "input/AudioSource.h"
#include "input/FlacReader.h"
#include "input/MpegReader.h"
#include "input/OggVorbisReader.h"
#include "input/OpusReader.h"
#include "input/PcmReader.h"
#include "input/WavReader.h"

namespace {

// Every input format, each in one row. Probing rows are tried in this order:
// the first whose probe recognises the first bytes and whose open succeeds
// reads the file, whatever its extension says (a FLAC stream named ".wav" is
// read as FLAC). A row without a probe reads the files its extensions name.
const InputFormat InputFormatTable[] = {
    {.Extensions = {{".wav", kSourceWav}},
     .Probe = ProbeWav, .ProbeLength = kWavProbeLength, .Open = OpenWav, .Close = ReleasePcmState,
     .MimeTypes = "audio/x-wav;audio/wav;audio/vnd.wave;", .Name = "wav", .Description = "WAV file reader"},
    {.Extensions = {{".aif", kSourceAiff}},
     .Probe = ProbeAiff, .ProbeLength = kAiffProbeLength, .Open = OpenAiff, .Close = ReleasePcmState,
     .MimeTypes = "audio/x-aiff;audio/aiff;", .Name = "aiff", .Description = "AIFF/AIFC file reader"},
    // The last probing row: a FLAC open that fails behind an ID3v2 tag has
    // moved the file, where a later probing row would read from.
    {.Extensions = {{".flac", kSourceFlac}},
     .Probe = ProbeFlac, .ProbeLength = kFlacProbeLength, .Open = OpenFlac, .Close = CloseFlac,
     .MimeTypes = "audio/flac;audio/x-flac;", .Name = "flac", .Description = "FLAC file reader"},
    // The extension names the layer an MPEG file must hold.
    {.Extensions = {{".mpg", kSourceMpegLayer1}, {".mp1", kSourceMpegLayer1}, {".mp2", kSourceMpegLayer2},
                    {".mp3", kSourceMpegLayer3}},
     .Job = InputJob::Decode, .Open = OpenMpeg, .Close = ReleaseMpegState,
     .MimeTypes = "audio/mpeg;audio/x-mpeg;audio/mp2;", .Name = "mpeg", .Description = "MPEG audio reader"},
    // The reader rounds to 16-bit values itself, so the gain is applied there.
    {.Extensions = {{".ogg", kSourceOgg}},
     .Open = OpenOggVorbis, .Close = CloseOggVorbis, .AppliesScaleFactor = true,
     .MimeTypes = "audio/ogg;audio/x-vorbis+ogg;", .Name = "ogg", .Description = "Ogg Vorbis file reader"},
    // libopusfile applies the R128 gain in the decoder.
    {.Extensions = {{".opus"}},
     .Open = OpenOpus, .Close = CloseOpus, .AppliesScaleFactor = true,
     .MimeTypes = "audio/ogg;audio/x-opus+ogg;", .Name = "opus", .Description = "Opus file reader"},
};

}  // namespace

std::span<const InputFormat> InputFormats() { return InputFormatTable; }
