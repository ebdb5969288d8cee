#include "support/Fixtures.h"

#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <stdexcept>

#include "settings/ErrorReport.h"

namespace fixtures {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quavermill-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    // rm walks folders by handle, so it also removes a tree deeper than PATH_MAX.
    if (error) std::system(("rm -rf " + ShellQuote(path_.string())).c_str());
}

ScopedWorkingDir::ScopedWorkingDir(const std::filesystem::path& dir) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

ScopedWorkingDir::~ScopedWorkingDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

std::filesystem::path MakeFolderPastPathMax(const std::filesystem::path& root) {
    std::filesystem::create_directories(root);
    ScopedWorkingDir inside(root);
    std::filesystem::path path = root;
    // Each step is a relative one, which the system takes at any depth.
    for (const std::string name(200, 'd'); path.string().size() < PATH_MAX; path /= name) {
        std::filesystem::create_directory(name);
        std::filesystem::current_path(name);
    }
    return path;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    WriteFile(path, Bytes(text.begin(), text.end()));
}

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::filesystem::path& path) {
    Bytes bytes = ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

void PutLE16(Bytes& out, uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void PutLE32(Bytes& out, uint32_t value) {
    PutLE16(out, value & 0xFFFF);
    PutLE16(out, value >> 16);
}

void PutBE16(Bytes& out, uint32_t value) {
    out.push_back((value >> 8) & 0xFF);
    out.push_back(value & 0xFF);
}

void PutBE32(Bytes& out, uint32_t value) {
    PutBE16(out, value >> 16);
    PutBE16(out, value & 0xFFFF);
}

void PutTag(Bytes& out, const char (&fourcc)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(fourcc[i]));
}

Bytes Pcm16LE(const std::vector<int16_t>& samples) {
    Bytes out;
    out.reserve(samples.size() * 2);
    for (int16_t sample : samples) PutLE16(out, static_cast<uint16_t>(sample));
    return out;
}

std::vector<int16_t> Sine16(int channels, int rate, int64_t frames, double hz, double amplitude) {
    std::vector<int16_t> samples;
    samples.reserve(static_cast<std::size_t>(frames * channels));
    for (int64_t i = 0; i < frames; ++i) {
        double value = amplitude * 32767.0 * std::sin(2.0 * M_PI * hz * static_cast<double>(i) / rate);
        for (int c = 0; c < channels; ++c) {
            // A slightly different level per channel keeps the channels apart in checks.
            samples.push_back(static_cast<int16_t>(std::lround(value * (c == 0 ? 1.0 : 0.8))));
        }
    }
    return samples;
}

Bytes MakeWav(const WavLayout& layout, const Bytes& sampleBytes) {
    Bytes fmt;
    PutLE16(fmt, layout.formatTag);
    PutLE16(fmt, layout.channels);
    PutLE32(fmt, layout.rate);
    uint32_t blockAlign = layout.blockAlign >= 0 ? static_cast<uint32_t>(layout.blockAlign)
                                                 : layout.channels * layout.bits / 8u;
    PutLE32(fmt, layout.rate * blockAlign);
    PutLE16(fmt, blockAlign);
    PutLE16(fmt, layout.bits);
    if (layout.fmtSize >= 18) PutLE16(fmt, layout.fmtSize - 18);
    if (layout.fmtSize >= 40) {
        PutLE16(fmt, layout.bits);  // valid bits
        PutLE32(fmt, 0);            // channel mask
        const uint8_t guidTail[15] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        fmt.push_back(layout.subFormatCode);
        fmt.insert(fmt.end(), guidTail, guidTail + 15);
    }
    while (fmt.size() < layout.fmtSize) fmt.push_back(0);

    Bytes out;
    PutTag(out, "RIFF");
    std::size_t padded = sampleBytes.size() + (sampleBytes.size() & 1);
    PutLE32(out, static_cast<uint32_t>(4 + 8 + fmt.size() + 8 + padded));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLE32(out, static_cast<uint32_t>(fmt.size()));
    out.insert(out.end(), fmt.begin(), fmt.end());
    PutTag(out, "data");
    PutLE32(out, layout.dataLength >= 0 ? static_cast<uint32_t>(layout.dataLength)
                                        : static_cast<uint32_t>(sampleBytes.size()));
    out.insert(out.end(), sampleBytes.begin(), sampleBytes.end());
    if (sampleBytes.size() & 1) out.push_back(0);
    return out;
}

void WriteWav16(const std::filesystem::path& path, int channels, int rate, const std::vector<int16_t>& interleaved) {
    WavLayout layout;
    layout.channels = static_cast<uint16_t>(channels);
    layout.rate = static_cast<uint32_t>(rate);
    WriteFile(path, MakeWav(layout, Pcm16LE(interleaved)));
}

std::filesystem::path WriteSineWav(const std::filesystem::path& path, int64_t frames, double amplitude) {
    std::filesystem::create_directories(path.parent_path());
    WriteWav16(path, 2, 44100, Sine16(2, 44100, frames, 440.0, amplitude));
    return path;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

namespace {

bool RunTool(const std::string& tool, const std::string& commentFlag, const std::filesystem::path& in,
             const std::filesystem::path& out, const std::vector<std::string>& comments,
             const std::string& toolOptions) {
    std::string command = tool + " " + toolOptions;
    for (const std::string& comment : comments) command += " " + commentFlag + " " + ShellQuote(comment);
    command += " -o " + ShellQuote(out.string()) + " " + ShellQuote(in.string());
    return std::system(command.c_str()) == 0;
}

}  // namespace

bool EncodeFlac(const std::filesystem::path& wav, const std::filesystem::path& flac,
                const std::vector<std::string>& comments, const std::string& toolOptions) {
    return RunTool("flac --silent --force", "-T", wav, flac, comments, toolOptions);
}

bool EncodeOgg(const std::filesystem::path& wav, const std::filesystem::path& ogg,
               const std::vector<std::string>& comments, const std::string& toolOptions) {
    return RunTool("oggenc --quiet", "-c", wav, ogg, comments, toolOptions);
}

Bytes WithoutFlacTotal(Bytes flac) {
    // "fLaC", the block header, then STREAMINFO; its 36-bit count takes the
    // low 4 bits of body byte 13 and bytes 14 to 17.
    constexpr std::size_t kBody = 8;
    flac.at(kBody + 13) &= 0xF0;
    for (std::size_t i = 14; i <= 17; ++i) flac.at(kBody + i) = 0;
    return flac;
}

Bytes AiffRate80(uint32_t rate) {
    Bytes out(10, 0);
    if (rate == 0) return out;
    int shift = 0;
    uint64_t mantissa = rate;
    while (!(mantissa & 0x8000000000000000ull)) {
        mantissa <<= 1;
        ++shift;
    }
    uint32_t exponent = 16383 + 63 - shift;
    out[0] = (exponent >> 8) & 0x7F;
    out[1] = exponent & 0xFF;
    for (int i = 0; i < 8; ++i) out[2 + i] = (mantissa >> (56 - 8 * i)) & 0xFF;
    return out;
}

namespace {
std::mutex captureLock;
std::vector<std::string> captured;
bool capturing = false;
}  // namespace

ErrorCapture::ErrorCapture() {
    std::lock_guard<std::mutex> hold(captureLock);
    captured.clear();
    capturing = true;
}

ErrorCapture::~ErrorCapture() {
    std::lock_guard<std::mutex> hold(captureLock);
    capturing = false;
}

ErrorSink CaptureSink() {
    return [](const ErrorMessage& message) {
        std::lock_guard<std::mutex> hold(captureLock);
        if (capturing) captured.push_back(FormatForMessageBox(message));
    };
}

JobHooks CapturingHooks() {
    JobHooks hooks;
    hooks.Report = CaptureSink();
    return hooks;
}

std::vector<std::string> ErrorCapture::messages() const {
    std::lock_guard<std::mutex> hold(captureLock);
    return captured;
}

std::string ErrorCapture::joined() const {
    std::string all;
    for (const std::string& message : messages()) all += message;
    return all;
}

void ErrorCapture::clear() {
    std::lock_guard<std::mutex> hold(captureLock);
    captured.clear();
}

}  // namespace fixtures
