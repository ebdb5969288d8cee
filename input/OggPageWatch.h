#pragma once
// The pages an Ogg reader reads, watched in file order for the damage that
// libvorbisfile and libopusfile pass over without an error: a page lost
// inside a stream, a link that lost its first page, a link that begins
// before every stream of the link before it has ended, and a file that
// stops before its streams end.

#include <cstddef>
#include <map>
#include <vector>

#include <ogg/ogg.h>

class OggPageWatch {
public:
    OggPageWatch() { ogg_sync_init(&sync_); }
    ~OggPageWatch() { ogg_sync_clear(&sync_); }
    OggPageWatch(const OggPageWatch&) = delete;
    OggPageWatch& operator=(const OggPageWatch&) = delete;

    // The bytes just read from the file, in file order.
    void Follow(const void* bytes, std::size_t count);
    // A lost page or a cut link has been seen.
    bool Damaged() const { return damaged_; }
    // Every stream begun so far has ended; at the end of the file, false
    // means the file stops short.
    bool StreamsEnded() const { return openStreams_.empty(); }

private:
    ogg_sync_state sync_{};
    std::map<int, long> nextPage_;  // by stream serial number
    std::vector<int> openStreams_;  // of the current link, not yet ended
    bool lastPageBegan_ = false;
    bool damaged_ = false;
};
