#!/usr/bin/env python3
"""Writes a seed corpus for probe_and_read_fuzz: a WAV or AIFF file of each
layout the readers take, once per stream kind (first byte 0: seekable, 1:
cannot seek). Usage: make-seeds.py DIR"""
import struct
import sys
from pathlib import Path


def chunk(tag, body, order="<"):
    return tag + struct.pack(order + "I", len(body)) + body + b"\0" * (len(body) % 2)


def wav(tag, channels, bits, samples, sub_format=None):
    align = channels * bits // 8
    fmt = struct.pack("<HHIIHH", tag, channels, 44100, 44100 * align, align, bits)
    if sub_format:
        fmt += struct.pack("<HHIH", 22, bits, 0, sub_format) + bytes.fromhex("000000001000800000aa00389b71")
    return chunk(b"RIFF", b"WAVE" + chunk(b"LIST", b"abc") + chunk(b"fmt ", fmt) + chunk(b"data", samples))


def aiff(channels, bits, samples, compression=b""):
    # 44100 as an 80-bit extended float: exponent 16383 + 15, mantissa 44100 << 48.
    comm = struct.pack(">hIhHQ", channels, len(samples) // (channels * bits // 8), bits, 16398, 44100 << 48)
    body = chunk(b"COMM", comm + (compression + b"\0\0" if compression else b""), ">")
    body += chunk(b"SSND", bytes(8) + samples, ">")
    return chunk(b"FORM", (b"AIFC" if compression else b"AIFF") + body, ">")


pcm, floats = bytes(range(48)), struct.pack("<4f", 1.0, -1.0, 2.0, 0.5)
seeds = {
    "wav8": wav(1, 1, 8, pcm[:7]), "wav16": wav(1, 2, 16, pcm), "wav24": wav(1, 2, 24, pcm),
    "wav32": wav(1, 1, 32, pcm), "wavfloat": wav(3, 2, 32, floats), "wavext16": wav(0xFFFE, 2, 16, pcm, 1),
    "wavextfloat": wav(0xFFFE, 1, 32, floats, 3), "aiff8": aiff(1, 8, pcm[:7]), "aiff16": aiff(2, 16, pcm),
    "aifcnone": aiff(2, 16, pcm, b"NONE"), "aifcsowt": aiff(1, 16, pcm, b"sowt"),
}
out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
for name, data in seeds.items():
    for mode in (0, 1):
        (out / f"{name}-{mode}").write_bytes(bytes([mode]) + data)
