#!/usr/bin/env python3
"""Writes a seed corpus for probe_and_read_fuzz: a file of each layout every reader takes, made by hand
or by the flac, oggenc and opusenc tools, once per stream kind (the first byte, as ProbeAndReadFuzz.cpp
reads it). Usage: make-seeds.py DIR"""
import struct
import subprocess
import sys
import tempfile
from pathlib import Path


def chunk(tag, body, order="<"):
    return tag + struct.pack(order + "I", len(body)) + body + b"\0" * (len(body) % 2)


def wav(tag, channels, bits, samples, sub_format=None, padded_list=True):
    # The encoding tools take only plain files: oggenc trips over a padded LIST chunk.
    align = channels * bits // 8
    fmt = struct.pack("<HHIIHH", tag, channels, 44100, 44100 * align, align, bits)
    if sub_format:
        fmt += struct.pack("<HHIH", 22, bits, 0, sub_format) + bytes.fromhex("000000001000800000aa00389b71")
    extra = chunk(b"LIST", b"abc") if padded_list else b""
    return chunk(b"RIFF", b"WAVE" + extra + chunk(b"fmt ", fmt) + chunk(b"data", samples))


def aiff(channels, bits, samples, compression=b""):
    # 44100 as an 80-bit extended float: exponent 16383 + 15, mantissa 44100 << 48.
    comm = struct.pack(">hIhHQ", channels, len(samples) // (channels * bits // 8), bits, 16398, 44100 << 48)
    body = chunk(b"COMM", comm + (compression + b"\0\0" if compression else b""), ">")
    body += chunk(b"SSND", bytes(8) + samples, ">")
    return chunk(b"FORM", (b"AIFC" if compression else b"AIFF") + body, ">")


def encoded(tool, channels, bits, samples, *options):
    """A small file made by flac, oggenc or opusenc from a plain WAV file."""
    with tempfile.TemporaryDirectory() as work:
        source, target = Path(work) / "in.wav", Path(work) / "out"
        source.write_bytes(wav(1, channels, bits, samples, padded_list=False))
        quiet = {"flac": ["--silent", "--no-padding"], "oggenc": ["--quiet"], "opusenc": ["--quiet", "--max-delay", "10"]}
        files = [str(source), str(target)] if tool == "opusenc" else ["-o", str(target), str(source)]
        subprocess.run([tool, *quiet[tool], *options, *files], check=True)
        return target.read_bytes()


def mpeg(header, size, count, before=b"", info=True):
    """Silent frames, every allocation and side-information field zero; a Layer III stream opens with
    an Info frame counting the others."""
    first = header + bytes(size - 4)
    if info:
        first = (header + bytes(17) + b"Info" + struct.pack(">II", 1, count - 1)).ljust(size, b"\0")
    return before + first + (header + bytes(size - 4)) * (count - 1)


pcm, floats, tone = bytes(range(48)), struct.pack("<4f", 1.0, -1.0, 2.0, 0.5), bytes(range(256)) * 8
ogg, mono_ogg = (encoded("oggenc", ch, 16, tone, "-c", "TITLE=y", "--serial", str(ch)) for ch in (2, 1))
flac16 = encoded("flac", 2, 16, tone, "-T", "REPLAYGAIN_TRACK_GAIN=-3.00 dB", "--blocksize=128")
id3 = b"ID3\x04\x00\x00\x00\x00\x00\x10" + bytes(16)
# A second tag whose frame holds bytes that pass for a frame header.
id3_header_inside = b"ID3\x03\x00\x00\x00\x00\x00\x10PRIV\x00\x00\x00\x06\x00\x00x\x00\xff\xfb\x90\x64"
def ffmpeg_made(name, *options):
    """A small file of a libavformat format made by ffmpeg from a tenth of a second of a tone."""
    with tempfile.TemporaryDirectory() as work:
        target = Path(work) / name
        subprocess.run(["ffmpeg", "-v", "error", "-f", "lavfi", "-i", "sine=d=0.1", *options, str(target)], check=True)
        return target.read_bytes()


# MPEG-1 Layer III, 32 kbit/s, 32 kHz, mono: 144-byte frames.
mp3 = lambda count, before=b"": mpeg(b"\xff\xfb\x18\xc0", 144, count, before)
# The extensions of the format table in its order; a seed's first byte picks one by its index.
EXTENSIONS = [".wav", ".aif", ".aiff", ".aifc", ".flac", ".mpg", ".mp1", ".mp2", ".mp3", ".mpga", ".ogg", ".oga", ".opus",
              ".m4a", ".m4b", ".mp4", ".mov", ".aac", ".wma", ".asf", ".wv", ".ape", ".mpc", ".tta", ".ac3", ".eac3",
              ".dts", ".caf", ".mka", ".mkv", ".webm"]
opus = encoded("opusenc", 2, 16, tone, "--comment", "R128_TRACK_GAIN=-1541", "--serial", "2")
mono_opus = encoded("opusenc", 1, 16, tone, "--comment", "TITLE=y", "--serial", "1")
seeds = {
    # Surround is mixed down: six channels of the same samples.
    ".wav": {"wav51": wav(0xFFFE, 6, 16, pcm * 3, 1), "wav8": wav(1, 1, 8, pcm[:7]), "wav16": wav(1, 2, 16, pcm), "wav24": wav(1, 2, 24, pcm),
             "wav32": wav(1, 1, 32, pcm), "wavfloat": wav(3, 2, 32, floats), "wavext16": wav(0xFFFE, 2, 16, pcm, 1),
             "wavextfloat": wav(0xFFFE, 1, 32, floats, 3), "flacid3": id3 + flac16},
    ".aiff": {"aiff8": aiff(1, 8, pcm[:7]), "aiff16": aiff(2, 16, pcm), "aifcnone": aiff(2, 16, pcm, b"NONE"),
              "aifcsowt": aiff(1, 16, pcm, b"sowt")},
    ".flac": {"flac8": encoded("flac", 1, 8, tone[:300], "-T", "ARTIST=x", "--blocksize=64"), "flac16": flac16,
              "flac24": encoded("flac", 2, 24, tone[:1200])},
    # The first link of a chain without its last page, the one that ends its stream.
    ".ogg": {"ogg": ogg, "oggmono": mono_ogg, "oggchained": mono_ogg + ogg,
             "oggcutlink": ogg[:ogg.rfind(b"OggS")] + mono_ogg, "opusinogg": opus},
    ".opus": {"opus": opus, "opusmono": mono_opus, "opuschained": mono_opus + opus},
    ".mp3": {"mp3": mp3(4), "mp3id3": mp3(3, id3), "mp3aid": mp3(3, b"AiD\x01\x08\x00ab"),
             "mp3twoid3": mp3(3, id3 + id3_header_inside), "mp3cut": mp3(4)[:-200],
             # An Info frame with the byte count (flag 2) and no frame count.
             "mp3infobytes": (b"\xff\xfb\x18\xc0" + bytes(17) + b"Info" + struct.pack(">II", 2, 3 * 144)).ljust(144, b"\0")
             + mpeg(b"\xff\xfb\x18\xc0", 144, 3, info=False)},
    ".m4a": {"m4a": ffmpeg_made("x.m4a", "-c:a", "aac", "-b:a", "32k", "-metadata", "title=x"),
             "alac": ffmpeg_made("x.m4a", "-c:a", "alac")},
    ".aac": {"adts": ffmpeg_made("x.aac", "-c:a", "aac", "-b:a", "32k")},
    ".wma": {"wma": ffmpeg_made("x.wma", "-c:a", "wmav2", "-metadata", "artist=x")},
    ".wv": {"wv": ffmpeg_made("x.wv", "-c:a", "wavpack")},
    ".tta": {"tta": ffmpeg_made("x.tta", "-c:a", "tta")},
    ".ac3": {"ac3": ffmpeg_made("x.ac3", "-c:a", "ac3", "-ac", "6", "-b:a", "96k")},
    ".mka": {"mka": ffmpeg_made("x.mka", "-c:a", "flac", "-ac", "6")},
    # MPEG-1 Layer II, 32 kbit/s, 32 kHz, single channel: 144-byte frames.
    ".mp2": {"mp2": mpeg(b"\xff\xfd\x18\xc0", 144, 4, info=False)},
    # MPEG-1 Layer I, 32 kbit/s, 48 kHz, single channel: 32-byte frames.
    ".mp1": {"mp1": mpeg(b"\xff\xff\x14\xc0", 32, 6, info=False)},
}
out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
for extension, group in seeds.items():
    for name, data in group.items():
        for mode in (0, 1):  # bit 0: 0 a seekable file, 1 a pipe, which cannot seek
            (out / f"{name}-{mode}").write_bytes(bytes([EXTENSIONS.index(extension) << 1 | mode]) + data)
