#pragma once
// Small writers for the files the tests convert, and helpers the test
// programs share. Nothing here is committed as audio: every file is made at
// run time.

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "job/JobHooks.h"
#include "settings/ErrorReport.h"

namespace fixtures {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Folders nested in `root` until the innermost one's path is longer than
// PATH_MAX, so no call that takes a path can open it; that one's path.
std::filesystem::path MakeFolderPastPathMax(const std::filesystem::path& root);

// Changes the working directory for the lifetime of the object.
class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::filesystem::path& dir) { std::filesystem::current_path(dir); }
    ~ScopedWorkingDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }

private:
    std::filesystem::path previous_ = std::filesystem::current_path();
};

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
void WriteText(const std::filesystem::path& path, const std::string& text);
Bytes ReadFile(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);

// `text` in single quotes, safe on a shell command line.
std::string ShellQuote(const std::string& text);

// Interleaved 16-bit samples as little-endian bytes.
Bytes Pcm16LE(const std::vector<int16_t>& samples);
// A sine of `frames` frames on each channel, amplitude 0..1 of full scale.
std::vector<int16_t> Sine16(int channels, int rate, int64_t frames, double hz = 440.0, double amplitude = 0.5);

struct WavLayout {
    uint16_t formatTag = 1;       // 1 PCM, 3 float, 0xFFFE extensible
    uint16_t channels = 2;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    int32_t blockAlign = -1;      // -1: channels * bits / 8
    uint32_t fmtSize = 16;        // 16, 18 or 40 (extensible)
    uint8_t subFormatCode = 1;    // first byte of the extensible sub-format GUID
    int64_t dataLength = -1;      // -1: the real length of the samples
};
// A RIFF WAVE file: header, "fmt ", "data" with `sampleBytes` (pad byte added
// when odd).
Bytes MakeWav(const WavLayout& layout, const Bytes& sampleBytes);
// A 16-bit PCM WAV file written to `path`.
void WriteWav16(const std::filesystem::path& path, int channels, int rate, const std::vector<int16_t>& interleaved);
// A stereo 44100 Hz sine as a 16-bit WAV file, its folders made as needed.
std::filesystem::path WriteSineWav(const std::filesystem::path& path, int64_t frames = 4410, double amplitude = 0.5);

// The 80-bit extended float of an AIFF rate field.
Bytes AiffRate80(uint32_t rate);

// FLAC and Ogg Vorbis files made from a WAV file by the flac and oggenc
// tools, with each comment (NAME=value) and any further tool options. True
// when the tool succeeded.
bool EncodeFlac(const std::filesystem::path& wav, const std::filesystem::path& flac,
                const std::vector<std::string>& comments = {}, const std::string& toolOptions = "");
bool EncodeOgg(const std::filesystem::path& wav, const std::filesystem::path& ogg,
               const std::vector<std::string>& comments = {}, const std::string& toolOptions = "");
// Sets the total sample count of a FLAC file's STREAMINFO to 0, as an encoder
// writing to a pipe leaves it.
Bytes WithoutFlacTotal(Bytes flac);

// Whether the process holds an open file whose name is gone: the unnamed
// output of a conversion under way.
bool WritesAnUnnamedFile(int pid);
// Starts `program` in `folder` with standard output on /dev/null and
// standard error on `stderrFd` (-1: /dev/null too); gives its pid.
int StartProgram(const std::filesystem::path& folder, const std::string& program,
                 const std::vector<std::string>& arguments, int stderrFd = -1);
// Its exit status, or -1 when a signal ended it.
int WaitForExit(int pid);
// The names in a folder, hidden ones too.
std::set<std::string> NamesIn(const std::filesystem::path& folder);

// Collects the messages given to CaptureSink(), worded as a box shows them,
// while alive.
class ErrorCapture {
public:
    ErrorCapture();
    ~ErrorCapture();
    std::vector<std::string> messages() const;
    std::string joined() const;  // every message, one after the other
    void clear();
};

// Delivers to the ErrorCapture alive at the time of the message; without
// one, messages are dropped. Jobs and sources under test report through it.
ErrorSink CaptureSink();
JobHooks CapturingHooks();

}  // namespace fixtures
