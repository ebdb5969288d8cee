#pragma once
// One write loop for the files this program writes through a descriptor (the
// settings file, the log): a signal may cut a write short or make it fail
// with EINTR, and neither is a failure of the file.

#include <string_view>

// Writes every byte of `bytes`; false when a write fails or writes nothing.
bool WriteAll(int descriptor, std::string_view bytes);
