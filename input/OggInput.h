#pragma once
// What the Ogg Vorbis and Opus readers share: the two-pass open. A seekable
// pass only counts the frames of every link; the decoding pass then reads the
// file in order, so that every byte it decodes passes the page watch. A
// seekable open on these libraries starts a chained file at its last link,
// and with a damaged page near the end reads nothing at all, both without an
// error; read in order, the libraries still pass over a lost page or a cut
// file without one, which the watch tells.

#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>

#include "input/InputFile.h"
#include "input/OggPageWatch.h"

class OggInput {
public:
    explicit OggInput(FilePtr file) : file_(std::move(file)) {}

    // The frames of every link as `count` finds them on the seekable file
    // (kSampleCountNotGiven when it cannot seek or gives none); the file is
    // rewound for the decoding pass either way.
    int64_t CountThenRewind(int64_t (*count)(std::FILE* file));

    // The decoding pass: the bytes just as the file gives them, followed by
    // the page watch. 0 at the end; a failed read also returns 0 and is told
    // by SystemError.
    std::size_t ReadInOrder(void* into, std::size_t bytes);

    // The libraries' seek and tell on the plain file, for the counting pass.
    static int SeekFile(void* file, int64_t offset, int whence);
    static int64_t TellFile(void* file);

    // A lost page, a cut link or a failed read has been seen.
    bool Damaged() const { return pages_.Damaged() || systemError_ != 0; }
    // Every stream begun so far has ended; at the end, false means the file stops short.
    bool StreamsEnded() const { return pages_.StreamsEnded(); }
    int SystemError() const { return systemError_; }
    bool AtEnd() const { return std::feof(file_.get()) != 0; }

private:
    FilePtr file_;
    OggPageWatch pages_;
    int systemError_ = 0;
};

// The file starts with an Ogg page whose first packet begins with `magic`:
// the codec of the stream ("\x01vorbis", "OpusHead").
bool OggFirstPacketStartsWith(std::span<const uint8_t> head, std::string_view magic);
