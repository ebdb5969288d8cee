#include "support/Fixtures.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
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
    const Bytes bytes = ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

namespace {

// `value` in `width` bytes, least significant first unless `bigEndian`.
Bytes& Put(Bytes& out, uint64_t value, int width, bool bigEndian = false) {
    for (int i = 0; i < width; ++i) out.push_back(uint8_t(value >> 8 * (bigEndian ? width - 1 - i : i)));
    return out;
}

}  // namespace

Bytes Pcm16LE(const std::vector<int16_t>& samples) {
    Bytes out;
    for (int16_t sample : samples) Put(out, static_cast<uint16_t>(sample), 2);
    return out;
}

std::vector<int16_t> Sine16(int channels, int rate, int64_t frames, double hz, double amplitude) {
    std::vector<int16_t> samples;
    for (int64_t i = 0; i < frames; ++i) {
        double value = amplitude * 32767.0 * std::sin(2.0 * M_PI * hz * static_cast<double>(i) / rate);
        // A slightly different level per channel keeps the channels apart in checks.
        for (int c = 0; c < channels; ++c) samples.push_back(static_cast<int16_t>(std::lround(value * (c ? 0.8 : 1.0))));
    }
    return samples;
}

Bytes MakeWav(const WavLayout& layout, const Bytes& sampleBytes) {
    const uint32_t blockAlign =
        layout.blockAlign >= 0 ? static_cast<uint32_t>(layout.blockAlign) : layout.channels * layout.bits / 8u;
    Bytes fmt;
    Put(Put(Put(Put(fmt, layout.formatTag, 2), layout.channels, 2), layout.rate, 4), layout.rate * blockAlign, 4);
    Put(Put(fmt, blockAlign, 2), layout.bits, 2);
    if (layout.fmtSize >= 18) Put(fmt, layout.fmtSize - 18, 2);
    if (layout.fmtSize >= 40) {
        Put(Put(fmt, layout.bits, 2), 0, 4);  // valid bits, channel mask
        const uint8_t guid[16] = {layout.subFormatCode, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        fmt.insert(fmt.end(), guid, guid + 16);
    }
    fmt.resize(std::max<std::size_t>(fmt.size(), layout.fmtSize));
    const std::size_t odd = sampleBytes.size() & 1;
    Bytes out = {'R', 'I', 'F', 'F'};
    Put(out, 4 + 8 + fmt.size() + 8 + sampleBytes.size() + odd, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put(out, fmt.size(), 4).insert(out.end(), fmt.begin(), fmt.end());
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put(out, layout.dataLength >= 0 ? static_cast<uint64_t>(layout.dataLength) : sampleBytes.size(), 4);
    out.insert(out.end(), sampleBytes.begin(), sampleBytes.end());
    out.resize(out.size() + odd);
    return out;
}

void WriteWav16(const std::filesystem::path& path, int channels, int rate, const std::vector<int16_t>& interleaved) {
    WriteFile(path, MakeWav({.channels = uint16_t(channels), .rate = uint32_t(rate)}, Pcm16LE(interleaved)));
}

std::filesystem::path WriteSineWav(const std::filesystem::path& path, int64_t frames, double amplitude) {
    std::filesystem::create_directories(path.parent_path());
    WriteWav16(path, 2, 44100, Sine16(2, 44100, frames, 440.0, amplitude));
    return path;
}

Bytes AiffRate80(uint32_t rate) {
    if (rate == 0) return Bytes(10, 0);
    const int shift = std::countl_zero(uint64_t{rate});
    Bytes out;
    return Put(Put(out, 16383 + 63 - shift, 2, true), uint64_t{rate} << shift, 8, true);
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

namespace {

bool RunTool(std::string command, const std::string& commentFlag, const std::filesystem::path& in,
             const std::filesystem::path& out, const std::vector<std::string>& comments) {
    for (const std::string& comment : comments) command += " " + commentFlag + " " + ShellQuote(comment);
    return std::system((command + " -o " + ShellQuote(out.string()) + " " + ShellQuote(in.string())).c_str()) == 0;
}

}  // namespace

bool EncodeFlac(const std::filesystem::path& wav, const std::filesystem::path& flac,
                const std::vector<std::string>& comments, const std::string& toolOptions) {
    return RunTool("flac --silent --force " + toolOptions, "-T", wav, flac, comments);
}

bool EncodeOgg(const std::filesystem::path& wav, const std::filesystem::path& ogg,
               const std::vector<std::string>& comments, const std::string& toolOptions) {
    return RunTool("oggenc --quiet " + toolOptions, "-c", wav, ogg, comments);
}

Bytes WithoutFlacTotal(Bytes flac) {
    // "fLaC", the block header, then STREAMINFO; its 36-bit count takes the
    // low 4 bits of body byte 13 and bytes 14 to 17.
    constexpr std::size_t kBody = 8;
    flac.at(kBody + 13) &= 0xF0;
    for (std::size_t i = 14; i <= 17; ++i) flac.at(kBody + i) = 0;
    return flac;
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

bool WritesAnUnnamedFile(int pid) {
    std::error_code error;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        if (std::filesystem::read_symlink(fd.path(), error).string().ends_with("(deleted)")) return true;
    }
    return false;
}

int StartProgram(const std::filesystem::path& folder, const std::string& program,
                 const std::vector<std::string>& arguments, int stderrFd) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int null = open("/dev/null", O_WRONLY);
    if (chdir(folder.c_str()) != 0 || null < 0) _exit(127);
    dup2(null, STDOUT_FILENO);
    dup2(stderrFd < 0 ? null : stderrFd, STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

int WaitForExit(int pid) {
    int raw = 0;
    if (waitpid(pid, &raw, 0) != pid) return -2;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::set<std::string> NamesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

}  // namespace fixtures
