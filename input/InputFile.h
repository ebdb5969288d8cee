#pragma once
// The input file as the readers get it: owned, and standing at its first
// byte after the format probes have looked at its head.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

struct FileCloser {
    void operator()(std::FILE* file) const { if (file) std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Every probe looks at this many first bytes (fewer when the file is shorter):
// enough for an Ogg file's first packet to name its codec.
inline constexpr std::size_t kProbeBytes = 64;

struct ProbedFile {
    FilePtr File;                // at its first byte, or null when it could not be opened
    std::vector<uint8_t> Head;   // its first bytes, at most kProbeBytes
    int SystemError = 0;         // why it could not be opened
};

// Opens `path`, reads its head and puts the file back at its start: a file
// that can seek is rewound; a pipe is given a stream that replays the head
// before it reads on.
ProbedFile OpenProbedFile(const std::string& path);
