#pragma once
// AIFF and AIFF-C input: uncompressed 8- and 16-bit samples, AIFF-C with the
// compression types "NONE" (big-endian) and "sowt" (little-endian).

#include <cstdint>
#include <span>

#include "input/AudioReader.h"
#include "input/InputFile.h"

// "FORM", a size, "AIFF" or "AIFC".
bool ProbeAiff(std::span<const uint8_t> head);

// The file stands at its start; byte 11 tells AIFF-C from AIFF.
OpenedReader OpenAiff(FilePtr file, const OpenRequest& request);

// The sample rate in an 80-bit IEEE 754 extended float (10 bytes,
// big-endian), truncated to whole hertz. 0 when it gives no usable rate:
// zero or below one hertz, infinite, not a number, or beyond the signed
// 32-bit range of mp3data_struct::samplerate.
int32_t AiffRateToHertz(const uint8_t* extended);
