#include "cli/ProgressDisplay.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr std::size_t kFallbackWidth = 80;
constexpr const char* kEraseLine = "\r\033[K";

std::size_t TerminalWidth(std::FILE* terminal) {
    winsize size{};
    if (ioctl(fileno(terminal), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return kFallbackWidth;
}

// Cuts at a character boundary so a UTF-8 name never ends in half a letter.
std::string CutToWidth(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (++characters > width) return text.substr(0, i);
    }
    return text;
}

}  // namespace

ProgressDisplay::ProgressDisplay(std::FILE* terminal, std::size_t totalFiles, std::size_t slots)
    : terminal_(terminal), totalFiles_(totalFiles), slots_(slots) {}

void ProgressDisplay::StartFile(std::size_t slot, const std::string& name) {
    std::lock_guard<std::mutex> hold(lock_);
    slots_[slot] = Slot{name, 0.0, true};
}

void ProgressDisplay::Progress(std::size_t slot, int64_t total, int64_t done) {
    std::lock_guard<std::mutex> hold(lock_);
    slots_[slot].Fraction = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 0.0;
}

void ProgressDisplay::FinishFile(std::size_t slot, JobResult result) {
    std::lock_guard<std::mutex> hold(lock_);
    slots_[slot].Active = false;
    if (result == JobResult::Done) ++converted_;
    if (result == JobResult::Failed) ++failed_;
}

void ProgressDisplay::PrintMessage(const std::string& text) {
    std::lock_guard<std::mutex> hold(lock_);
    ClearLocked();
    std::string line = text;
    while (!line.empty() && line.back() == '\n') line.pop_back();
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void ProgressDisplay::Redraw() {
    std::lock_guard<std::mutex> hold(lock_);
    if (!terminal_) return;
    std::string line;
    line.append("[").append(std::to_string(converted_ + failed_)).append("/").append(std::to_string(totalFiles_));
    line.append("]");
    if (failed_ > 0) line.append(" ").append(std::to_string(failed_)).append(" failed");
    for (const Slot& slot : slots_) {
        if (!slot.Active) continue;
        double fraction = slot.Fraction < 0.0 ? 0.0 : (slot.Fraction > 1.0 ? 1.0 : slot.Fraction);
        line.append("  ").append(slot.Name).append(" ");
        line.append(std::to_string(static_cast<int>(fraction * 100.0))).append("%");
    }
    // One column is kept free so the terminal never wraps the line.
    line = CutToWidth(line, TerminalWidth(terminal_) - 1);
    std::fputs(kEraseLine, terminal_);
    std::fputs(line.c_str(), terminal_);
    std::fflush(terminal_);
    drawn_ = true;
}

void ProgressDisplay::Clear() {
    std::lock_guard<std::mutex> hold(lock_);
    ClearLocked();
}

void ProgressDisplay::ClearLocked() {
    if (!terminal_ || !drawn_) return;
    std::fputs(kEraseLine, terminal_);
    std::fflush(terminal_);
    drawn_ = false;
}

std::size_t ProgressDisplay::Converted() const {
    std::lock_guard<std::mutex> hold(lock_);
    return converted_;
}

std::size_t ProgressDisplay::Failed() const {
    std::lock_guard<std::mutex> hold(lock_);
    return failed_;
}
