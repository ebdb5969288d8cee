#include "input/OggPageWatch.h"

#include <algorithm>
#include <cstring>

void OggPageWatch::Follow(const void* bytes, std::size_t count) {
    char* buffer = ogg_sync_buffer(&sync_, static_cast<long>(count));
    if (!buffer) return;
    std::memcpy(buffer, bytes, count);
    ogg_sync_wrote(&sync_, static_cast<long>(count));
    ogg_page page;
    int result;
    while ((result = ogg_sync_pageout(&sync_, &page)) != 0) {
        if (result < 0) continue;  // bytes skipped to the next page; a checksum or a lost page tells
        const int serial = ogg_page_serialno(&page);
        const long number = ogg_page_pageno(&page);
        const bool begins = ogg_page_bos(&page) != 0;
        // The beginning pages of a link's streams come together, before any
        // other page of the link.
        if (begins && !lastPageBegan_) {
            if (!openStreams_.empty()) damaged_ = true;
            openStreams_.clear();
        }
        lastPageBegan_ = begins;
        // A stream's pages follow on from its beginning page: a page of a
        // serial never begun is a link that lost its first pages (or whose
        // beginning page failed its checksum and was skipped above).
        if (begins) {
            openStreams_.push_back(serial);
        } else if (const auto next = nextPage_.find(serial); next == nextPage_.end() || next->second != number) {
            damaged_ = true;
        }
        nextPage_[serial] = number + 1;
        if (ogg_page_eos(&page)) std::erase(openStreams_, serial);
    }
}
