#include "input/AiffReader.h"
#include "input/AudioSource.h"
#include "input/FlacReader.h"
#include "input/LibavReader.h"
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
    // The formats no reader above covers, through libavformat: the
    // extension chooses the row, and the reader probes among its own
    // demuxers only. A video file gives its best audio stream. Only MIME
    // types shared-mime-info knows are claimed (no audio/eac3, audio/x-caf
    // or audio/webm): a file manager offers a file by the type it finds
    // there, so any other type is never offered.
    {.Id = FormatId::Mp4, .Extensions = {{".m4a"}, {".m4b"}, {".mp4"}, {".mov"}}, .Open = OpenLibav,
     .MimeTypes = "audio/mp4;audio/x-m4a;video/mp4;video/quicktime;", .Name = "mp4",
     .Description = "MP4/M4A and QuickTime reader"},
    {.Id = FormatId::Adts, .Extensions = {{".aac"}}, .Open = OpenLibav, .MimeTypes = "audio/aac;",
     .Name = "aac", .Description = "AAC (ADTS) reader"},
    {.Id = FormatId::Asf, .Extensions = {{".wma"}, {".asf"}}, .Open = OpenLibav, .MimeTypes = "audio/x-ms-wma;",
     .Name = "wma", .Description = "Windows Media Audio reader"},
    {.Id = FormatId::WavPack, .Extensions = {{".wv"}}, .Open = OpenLibav, .MimeTypes = "audio/x-wavpack;",
     .Name = "wavpack", .Description = "WavPack reader"},
    {.Id = FormatId::MonkeysAudio, .Extensions = {{".ape"}}, .Open = OpenLibav, .MimeTypes = "audio/x-ape;",
     .Name = "ape", .Description = "Monkey's Audio reader"},
    {.Id = FormatId::Musepack, .Extensions = {{".mpc"}}, .Open = OpenLibav, .MimeTypes = "audio/x-musepack;",
     .Name = "musepack", .Description = "Musepack reader"},
    {.Id = FormatId::Tta, .Extensions = {{".tta"}}, .Open = OpenLibav, .MimeTypes = "audio/x-tta;",
     .Name = "tta", .Description = "TTA reader"},
    {.Id = FormatId::Ac3, .Extensions = {{".ac3"}, {".eac3"}}, .Open = OpenLibav, .MimeTypes = "audio/ac3;",
     .Name = "ac3", .Description = "AC-3 and E-AC-3 reader"},
    {.Id = FormatId::Dts, .Extensions = {{".dts"}}, .Open = OpenLibav, .MimeTypes = "audio/vnd.dts;",
     .Name = "dts", .Description = "DTS reader"},
    {.Id = FormatId::Caf, .Extensions = {{".caf"}}, .Open = OpenLibav, .Name = "caf", .Description = "Core Audio Format reader"},
    {.Id = FormatId::Matroska, .Extensions = {{".mka"}, {".mkv"}, {".webm"}}, .Open = OpenLibav,
     .MimeTypes = "audio/x-matroska;video/x-matroska;video/webm;", .Name = "matroska",
     .Description = "Matroska and WebM reader"},
};

}  // namespace

std::span<const InputFormat> InputFormats() { return InputFormatTable; }
