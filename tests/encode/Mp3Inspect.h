#pragma once
// Reads back the encode tests' MP3 files independently: frame layout and, through python3-mutagen, tags.

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/Fixtures.h"

namespace mp3inspect {

// Keys: "id3v2" (tag size, 0 without one); "complete" (1 when a LAME-tag frame
// comes first, then whole Layer III frames without gaps, then nothing or an
// ID3v1 tag); "id3v1"; "v2:TIT2", "enc:TIT2" (text encoding), "v1:TIT2" ...;
// "apic" (the count of pictures), then "apic:mime", "apic:type" and "apic:desc"
// of the first, whose bytes go to the MP3's path with ".picture" added.
inline const char* kReaderScript = R"PY(
import sys
from mutagen.id3 import ID3, ParseID3v1, ID3NoHeaderError
d = open(sys.argv[1], 'rb').read()
def put(key, value): sys.stdout.buffer.write(f'{key}\t{value}\n'.encode())
size = 10 + (d[6] << 21 | d[7] << 14 | d[8] << 7 | d[9]) if d[:3] == b'ID3' else 0
pos, frames, first = size, 0, b''
while pos + 4 <= len(d) and d[pos] == 0xFF and d[pos + 1] & 0xE6 == 0xE2:  # sync, Layer III
    v, b, r = d[pos + 1] >> 3 & 3, d[pos + 2] >> 4, d[pos + 2] >> 2 & 3
    if v == 1 or b in (0, 15) or r == 3: break
    kbps = ((0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160),
            (0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320))[v == 3][b]
    n = (144000 if v == 3 else 72000) * kbps // ((44100, 48000, 32000)[r] >> (3 - v if v else 2))
    n += d[pos + 2] >> 1 & 1
    if pos + n > len(d): break
    first = first or d[pos:pos + n]
    frames, pos = frames + 1, pos + n
id3v1 = len(d) - pos == 128 and d[pos:pos + 3] == b'TAG'
lametag = (b'Xing' in first or b'Info' in first) and b'LAME' in first
put('id3v2', size); put('id3v1', int(id3v1))
put('complete', int(lametag and frames > 1 and (pos == len(d) or id3v1)))
try: tags = ID3(sys.argv[1], load_v1=False, translate=False)
except ID3NoHeaderError: tags = ID3()
for f in tags.values():
    if hasattr(f, 'text'): put('v2:' + f.FrameID, '/'.join(map(str, f.text))); put('enc:' + f.FrameID, int(f.encoding))
pictures = tags.getall('APIC')
put('apic', len(pictures))
for f in pictures[:1]:
    put('apic:mime', f.mime); put('apic:type', int(f.type)); put('apic:desc', f.desc)
    open(sys.argv[1] + '.picture', 'wb').write(f.data)
for k, f in (ParseID3v1(d[-128:]) or {}).items() if d[-128:-125] == b'TAG' else []:
    put('v1:' + k, f.genres[0] if k == 'TCON' and f.genres else '/'.join(map(str, f.text)))
)PY";

// Runs a Python script on `arguments`; its "key<TAB>text" lines.
inline std::map<std::string, std::string> RunScript(const char* script, const std::vector<std::string>& arguments) {
    std::string command = "/usr/bin/python3 -c " + fixtures::ShellQuote(script);
    for (const std::string& argument : arguments) command += " " + fixtures::ShellQuote(argument);
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string output(1 << 16, '\0');
    output.resize(std::fread(output.data(), 1, output.size(), pipe));
    if (pclose(pipe) != 0) return {};
    std::map<std::string, std::string> found;
    std::istringstream lines(output);
    for (std::string key, text; std::getline(lines, key, '\t') && std::getline(lines, text);) found[key] = text;
    return found;
}

inline std::map<std::string, std::string> ReadMp3(const std::filesystem::path& mp3) {
    if (!std::filesystem::exists(mp3)) return {};
    return RunScript(kReaderScript, {mp3.string()});
}

inline bool IsCompleteMp3(const std::filesystem::path& mp3) { return ReadMp3(mp3)["complete"] == "1"; }

}  // namespace mp3inspect
