#pragma once
// One MPEG audio file to one 16-bit WAV file.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "input/AudioSource.h"
#include "job/JobHooks.h"
#include "settings/Settings.h"

// Sample frames the decoder gives before the first sample of the stream
// (its delay plus one): Layer III, and Layers I and II.
inline constexpr int64_t kLayer3DecoderDelay = 529;
inline constexpr int64_t kLayer12DecoderDelay = 241;
// What an encoder that writes no delay into the stream is taken to have added.
inline constexpr int64_t kUsualEncoderDelay = 576;

// Sample frames dropped from the start and the end of the decoded stream.
struct EdgeTrim {
    int64_t Start = 0;
    int64_t End = 0;
};
EdgeTrim TrimFor(SourceType type, const StreamInfo& info);

// Decodes the open `source` into `output` (open for reading and writing at
// its start): a provisional header, the samples without the trimmed edges,
// then the final header when the output can seek. Reports every failure.
// Returns Done, Failed, or Cancelled when `stop` was raised.
JobResult DecodeToWav(std::FILE* output, AudioSource& source, const std::atomic<int32_t>* stop = nullptr);

// Decodes `inputPath` into `outputDir` (empty: beside the input), reporting
// every failure through hooks.Report. No setting changes a decode; the
// settings are taken so that both jobs run alike. Never deletes the input.
// Safe to run on several threads at once.
JobResult RunDecodeJob(const std::string& inputPath, const Settings& settings, const std::string& outputDir,
                       const JobHooks& hooks);
