#pragma once
// The PICTURE blocks of a FLAC stream, taken out before the decoder sees
// them: the decoder fails the whole stream on a damaged picture block, and a
// picture must never stop a file from converting.

#include <cstdint>
#include <cstdio>
#include <vector>

#include "input/CommentList.h"
#include "settings/ErrorReport.h"

// `head` holds the bytes already read from the stream's start ("fLaC" and
// what follows). Reads on through the metadata blocks, offers every PICTURE
// block to `list` (a damaged one is reported and skipped) and returns the
// stream's head without them, so the decoder reads that and then the rest of
// the file. A stream that breaks off inside its metadata keeps what was
// read, for the decoder to fail on. At most 64 MiB of metadata are held.
std::vector<uint8_t> TakeFlacPictures(std::FILE* file, std::vector<uint8_t> head, CommentList& list,
                                      const ErrorReporter& errors);
