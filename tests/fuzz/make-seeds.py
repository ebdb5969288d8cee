#!/usr/bin/env python3
"""Writes a seed corpus for probe_and_read_fuzz: a WAV, AIFF, FLAC or Ogg
Vorbis file of each layout the readers take, Opus files, and MPEG streams of
each layer, once per stream kind (bit 0 of the first byte: 0 seekable, 1 cannot seek;
bits 1 to 4 pick the extension in the format table's order, see
ProbeAndReadFuzz.cpp: 0 ".wav", read by content, 4 ".mp1", 5 ".mp2",
6 ".mp3", 7 ".ogg", 8 ".opus"). The FLAC, Ogg Vorbis and Opus files are
made with the flac, oggenc and opusenc tools. Usage: make-seeds.py DIR"""
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


def mpeg_frames(header, size, count):
    """Silent frames: every allocation and side-information field is zero."""
    return (header + bytes(size - 4)) * count


def mp3(count, before=b""):
    # MPEG-1 Layer III, 32 kbit/s, 32 kHz, mono: 144-byte frames, the first an Info frame.
    header = b"\xff\xfb\x18\xc0"
    info = (header + bytes(17) + b"Info" + struct.pack(">II", 1, count - 1)).ljust(144, b"\0")
    return before + info + mpeg_frames(header, 144, count - 1)


pcm, floats = bytes(range(48)), struct.pack("<4f", 1.0, -1.0, 2.0, 0.5)
seeds = {
    "wav8": wav(1, 1, 8, pcm[:7]), "wav16": wav(1, 2, 16, pcm), "wav24": wav(1, 2, 24, pcm),
    "wav32": wav(1, 1, 32, pcm), "wavfloat": wav(3, 2, 32, floats), "wavext16": wav(0xFFFE, 2, 16, pcm, 1),
    "wavextfloat": wav(0xFFFE, 1, 32, floats, 3), "aiff8": aiff(1, 8, pcm[:7]), "aiff16": aiff(2, 16, pcm),
    "aifcnone": aiff(2, 16, pcm, b"NONE"), "aifcsowt": aiff(1, 16, pcm, b"sowt"),
}


def encoded(tool, wav_bytes, *options):
    """A small file made by flac, oggenc or opusenc from a WAV file."""
    with tempfile.TemporaryDirectory() as work:
        source, target = Path(work) / "in.wav", Path(work) / "out"
        source.write_bytes(wav_bytes)
        command = {"flac": ["flac", "--silent", "--force", "--no-padding"], "oggenc": ["oggenc", "--quiet"],
                   "opusenc": ["opusenc", "--quiet", "--max-delay", "10"]}[tool]
        output = [str(source), str(target)] if tool == "opusenc" else ["-o", str(target), str(source)]
        subprocess.run(command + list(options) + output, check=True)
        return target.read_bytes()


def plain_wav(channels, bits, samples):
    return wav(1, channels, bits, samples, padded_list=False)


tone = bytes(range(256)) * 8
flac_seeds = {
    "flac8": encoded("flac", plain_wav(1, 8, tone[:300]), "-T", "ARTIST=x", "--blocksize=64"),
    "flac16": encoded("flac", plain_wav(2, 16, tone), "-T", "REPLAYGAIN_TRACK_GAIN=-3.00 dB", "--blocksize=128"),
    "flac24": encoded("flac", plain_wav(2, 24, tone[:1200])),
}
mono_ogg = encoded("oggenc", plain_wav(1, 16, tone), "-c", "TITLE=y", "--serial", "2")
ogg_seeds = {
    "ogg": encoded("oggenc", plain_wav(2, 16, tone), "-c", "ARTIST=x", "--serial", "1"),
    "oggmono": mono_ogg,
}
ogg_seeds["oggchained"] = ogg_seeds["ogg"] + mono_ogg
opus_seeds = {
    "opus": encoded("opusenc", plain_wav(2, 16, tone), "--comment", "R128_TRACK_GAIN=-1541"),
    "opusmono": encoded("opusenc", plain_wav(1, 16, tone), "--comment", "TITLE=y"),
}
# The first link without its last page, the one that ends its stream.
ogg_seeds["oggcutlink"] = ogg_seeds["ogg"][:ogg_seeds["ogg"].rfind(b"OggS")] + mono_ogg

id3 = b"ID3\x04\x00\x00\x00\x00\x00\x10" + bytes(16)
# A second tag whose frame holds bytes that pass for a frame header.
id3_header_inside = b"ID3\x03\x00\x00\x00\x00\x00\x10PRIV\x00\x00\x00\x06\x00\x00x\x00\xff\xfb\x90\x64"
flac_seeds["flacid3"] = id3 + flac_seeds["flac16"]
mpeg_seeds = {  # the type's index in ProbeAndReadFuzz.cpp, the stream
    "mp3": (6, mp3(4)), "mp3id3": (6, mp3(3, id3)), "mp3aid": (6, mp3(3, b"AiD\x01\x08\x00ab")),
    "mp3twoid3": (6, mp3(3, id3 + id3_header_inside)), "mp3cut": (6, mp3(4)[:-200]),
    # MPEG-1 Layer II, 32 kbit/s, 32 kHz, single channel: 144-byte frames.
    "mp2": (5, mpeg_frames(b"\xff\xfd\x18\xc0", 144, 4)),
    # MPEG-1 Layer I, 32 kbit/s, 48 kHz, single channel: 32-byte frames.
    "mp1": (4, mpeg_frames(b"\xff\xff\x14\xc0", 32, 6)),
}

out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
for type_bits, group in ((0, seeds), (0, flac_seeds), (7 << 1, ogg_seeds), (8 << 1, opus_seeds)):
    for name, data in group.items():
        for mode in (0, 1):
            (out / f"{name}-{mode}").write_bytes(bytes([type_bits | mode]) + data)
for name, (kind, data) in mpeg_seeds.items():
    for mode in (0, 1):
        (out / f"{name}-{mode}").write_bytes(bytes([kind << 1 | mode]) + data)
