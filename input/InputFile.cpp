#include "input/InputFile.h"

#include <cerrno>
#include <cstring>
#include <sys/types.h>

namespace {

// A pipe cannot be rewound, so the bytes the probes read are handed out
// again before the pipe's own.
struct Replay {
    FilePtr Source;
    std::vector<uint8_t> Head;
    std::size_t Given = 0;
};

ssize_t ReadReplay(void* cookie, char* into, std::size_t size) {
    auto& replay = *static_cast<Replay*>(cookie);
    const std::size_t fromHead = std::min(size, replay.Head.size() - replay.Given);
    if (fromHead > 0) std::memcpy(into, replay.Head.data() + replay.Given, fromHead);
    replay.Given += fromHead;
    if (fromHead == size) return static_cast<ssize_t>(size);
    const std::size_t got = std::fread(into + fromHead, 1, size - fromHead, replay.Source.get());
    // A failed read is an error only when nothing came before it.
    if (got == 0 && fromHead == 0 && std::ferror(replay.Source.get())) return -1;
    return static_cast<ssize_t>(fromHead + got);
}

int CloseReplay(void* cookie) {
    delete static_cast<Replay*>(cookie);
    return 0;
}

}  // namespace

ProbedFile OpenProbedFile(const std::string& path) {
    ProbedFile probed;
    probed.File.reset(std::fopen(path.c_str(), "rb"));
    if (!probed.File) {
        probed.SystemError = errno;
        return probed;
    }
    probed.Head.resize(kProbeBytes);
    probed.Head.resize(std::fread(probed.Head.data(), 1, kProbeBytes, probed.File.get()));
    std::clearerr(probed.File.get());
    if (fseeko(probed.File.get(), 0, SEEK_SET) == 0) return probed;
    auto* replay = new Replay{std::move(probed.File), probed.Head};
    // No seek function: the replaying stream cannot seek, as the pipe could not.
    probed.File.reset(fopencookie(replay, "rb", {ReadReplay, nullptr, nullptr, CloseReplay}));
    if (!probed.File) {
        probed.SystemError = errno;
        delete replay;
    }
    return probed;
}
