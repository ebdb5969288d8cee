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
// that counts them comes first, then whole MPEG frames without gaps, then
// nothing or an ID3v1 tag); "id3v1"; "v2:TIT2", "enc:TIT2" (text encoding), "v1:TIT2" ...;
// "apic" (the count of pictures), then "apic:mime", "apic:type" and "apic:desc"
// of the first, whose bytes go to the MP3's path with ".picture" added.
inline const char* kReaderScript = R"PY(
import io, sys
from mutagen.id3 import ID3, ParseID3v1, ID3NoHeaderError
from mutagen.mp3 import MPEGFrame
d = open(sys.argv[1], 'rb').read()
def put(key, value): sys.stdout.buffer.write(f'{key}\t{value}\n'.encode())
size = 10 + (d[6] << 21 | d[7] << 14 | d[8] << 7 | d[9]) if d[:3] == b'ID3' else 0
stream, ends = io.BytesIO(d), [size]  # where each whole frame ends
try:
    while stream.seek(ends[-1]) + 4 <= len(d) and MPEGFrame(stream) and stream.tell() <= len(d):
        ends.append(stream.tell())
except Exception: pass  # no frame header here
pos, frames, first = ends[-1], len(ends) - 1, d[size:ends[min(1, len(ends) - 1)]]
id3v1 = len(d) - pos == 128 and d[pos:pos + 3] == b'TAG'
tag = max(first.find(b'Xing'), first.find(b'Info'))  # then flags, and the count of the frames after it
lametag = tag >= 0 and b'LAME' in first and int.from_bytes(first[tag + 8:tag + 12], 'big') == frames - 1
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
