#include "input/AiffReader.h"
#include "input/AudioSource.h"
#include "input/FlacReader.h"
#include "input/MpegReader.h"
#include "input/OggVorbisReader.h"
#include "input/OpusReader.h"
#include "input/WavReader.h"

namespace {

// Every input format, each in one row. A file of a probing row's type is
// read by the probing row that recognises its first bytes, whatever its
// extension says (a FLAC stream named ".wav" is read as FLAC, an Opus stream
// named ".ogg" as Opus). A row without a probe reads the files its
// extensions name.
const InputFormat InputFormatTable[] = {
    {.Id = FormatId::Wav, .Extensions = {{".wav"}}, .Probe = ProbeWav, .Open = OpenWav,
     .MimeTypes = "audio/x-wav;audio/wav;audio/vnd.wave;", .Name = "wav", .Description = "WAV file reader"},
    {.Id = FormatId::Aiff, .Extensions = {{".aif"}, {".aiff"}, {".aifc"}}, .Probe = ProbeAiff, .Open = OpenAiff,
     .MimeTypes = "audio/x-aiff;audio/x-aifc;", .Name = "aiff", .Description = "AIFF/AIFC file reader"},
    {.Id = FormatId::Flac, .Extensions = {{".flac"}}, .Probe = ProbeFlac, .Open = OpenFlac,
     .MimeTypes = "audio/flac;audio/x-flac;", .Name = "flac", .Description = "FLAC file reader"},
    // The extension names the layer an MPEG file must hold.
    {.Id = FormatId::Mpeg,
     .Extensions = {{".mpg", MpegLayer::I}, {".mp1", MpegLayer::I}, {".mp2", MpegLayer::II}, {".mp3", MpegLayer::III},
                    {".mpga", MpegLayer::III}},
     .Job = InputJob::Decode, .Open = OpenMpeg,
     .MimeTypes = "audio/mpeg;audio/x-mpeg;audio/mp2;", .Name = "mpeg", .Description = "MPEG audio reader"},
    // The reader rounds to 16-bit values itself, so the gain is applied there.
    {.Id = FormatId::OggVorbis, .Extensions = {{".ogg"}, {".oga"}}, .Probe = ProbeOggVorbis,
     .ReadsUnrecognised = true, .Open = OpenOggVorbis, .AppliesScaleFactor = true,
     .MimeTypes = "audio/ogg;audio/x-vorbis+ogg;", .Name = "ogg", .Description = "Ogg Vorbis file reader"},
    // The reader applies each link's R128 gain itself.
    {.Id = FormatId::Opus, .Extensions = {{".opus"}}, .Probe = ProbeOpus, .ReadsUnrecognised = true,
     .Open = OpenOpus, .AppliesScaleFactor = true,
     .MimeTypes = "audio/ogg;audio/x-opus+ogg;", .Name = "opus", .Description = "Opus file reader"},
};

}  // namespace

std::span<const InputFormat> InputFormats() { return InputFormatTable; }
