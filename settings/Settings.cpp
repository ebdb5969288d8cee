#include "settings/Settings.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <type_traits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "settings/SettingsFolder.h"
#include "settings/WriteAll.h"

namespace {

constexpr const char* kSectionLine = "[Quavermill]";
// Lines are read in pieces of at most this many bytes; a longer line is
// matched piece by piece, as if each piece were a line of its own.
constexpr std::size_t kLinePieceLength = 255;

// The number a field stands for in the file, and back.
int32_t StoredNumber(int32_t value) { return value; }
int32_t StoredNumber(Switch value) { return value.Stored; }
template <typename Choice>
    requires std::is_enum_v<Choice>
int32_t StoredNumber(Choice value) {
    return static_cast<int32_t>(value);
}

template <typename Field>
Field FromStoredNumber(int32_t number) {
    if constexpr (std::is_same_v<Field, Switch>) {
        return Switch{number};
    } else {
        return static_cast<Field>(number);
    }
}

template <auto Member>
int32_t ReadNumber(const Settings& settings) {
    return StoredNumber(settings.*Member);
}

template <auto Member>
void WriteNumber(Settings& settings, int32_t number) {
    using Field = std::remove_reference_t<decltype(settings.*Member)>;
    settings.*Member = FromStoredNumber<Field>(number);
}

struct KeyRow {
    const char* key;
    int32_t (*readNumber)(const Settings&);  // null for a text key
    void (*writeNumber)(Settings&, int32_t);
    std::string Settings::*text;
    std::size_t limit;
};

template <auto Member>
constexpr KeyRow NumberKey(const char* key) {
    return {key, ReadNumber<Member>, WriteNumber<Member>, nullptr, 0};
}
constexpr KeyRow TextKey(const char* key, std::string Settings::*text, std::size_t limit) {
    return {key, nullptr, nullptr, text, limit};
}

// The file's line order; loading matches keys in the same order.
const KeyRow kKeys[] = {
    NumberKey<&Settings::Window_X>("Window_X"),
    NumberKey<&Settings::Window_Y>("Window_Y"),
    NumberKey<&Settings::AlwaysOnTop>("AlwaysOnTop"),
    NumberKey<&Settings::Logerr>("Logerr"),
    NumberKey<&Settings::DeleteInput>("DeleteInput"),
    NumberKey<&Settings::SetBitrate>("SetBitrate"),
    NumberKey<&Settings::Mono>("Mono"),
    NumberKey<&Settings::Quality>("Quality"),
    NumberKey<&Settings::VBRQuality>("VBRQuality"),
    NumberKey<&Settings::SetCBR>("SetCBR"),
    NumberKey<&Settings::ABRBitrate>("ABRBitrate"),
    NumberKey<&Settings::CBRBitrate>("CBRBitrate"),
    NumberKey<&Settings::TagMode>("TagMode"),
    NumberKey<&Settings::AutoTag>("AutoTag"),
    NumberKey<&Settings::id3Tag>("id3Tag"),
    TextKey("Title", &Settings::Title, kTagTextLimit),
    TextKey("Artist", &Settings::Artist, kTagTextLimit),
    TextKey("Album", &Settings::Album, kTagTextLimit),
    TextKey("Genre", &Settings::Genre, kTagTextLimit),
    TextKey("Year", &Settings::Year, kYearTextLimit),
    NumberKey<&Settings::OutputDirMode>("OutputDirMode"),
    TextKey("OutputDir", &Settings::OutputDir, kOutputDirLimit),
    NumberKey<&Settings::ScaleMode>("ScaleMode"),
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A decimal integer with optional sign after optional blanks; anything after
// it is ignored. Values beyond 32 bits are held at the nearest end.
bool ParseInteger(const std::string& value, int32_t& out) {
    std::size_t pos = 0;
    while (pos < value.size() && IsBlank(value[pos])) ++pos;
    bool negative = false;
    if (pos < value.size() && (value[pos] == '+' || value[pos] == '-')) {
        negative = value[pos] == '-';
        ++pos;
    }
    if (pos >= value.size() || value[pos] < '0' || value[pos] > '9') return false;
    long long magnitude = 0;
    for (; pos < value.size() && value[pos] >= '0' && value[pos] <= '9'; ++pos) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) magnitude = magnitude * 10 + (value[pos] - '0');
    }
    long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX) signedValue = INT_MAX;
    if (signedValue < INT_MIN) signedValue = INT_MIN;
    out = static_cast<int32_t>(signedValue);
    return true;
}

void MatchLine(Settings& settings, const std::string& line) {
    for (const KeyRow& row : kKeys) {
        std::size_t keyLength = std::strlen(row.key);
        if (line.size() <= keyLength || line.compare(0, keyLength, row.key) != 0 || line[keyLength] != '=') continue;
        std::string value = line.substr(keyLength + 1);
        if (row.readNumber) {
            int32_t number = 0;
            if (!ParseInteger(value, number)) continue;
            row.writeNumber(settings, number);
        } else {
            std::size_t end = value.find_first_of("\r\n");
            if (end != std::string::npos) value.resize(end);
            if (value.empty()) continue;
            settings.*row.text = CutUtf8(value, row.limit);
        }
        return;
    }
}

// Splits the file into pieces as a line reader with a 256-byte buffer would:
// each piece ends after a line feed or after 255 bytes, whichever comes first.
std::vector<std::string> SplitPieces(const std::string& content) {
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t newline = content.find('\n', pos);
        std::size_t end = newline == std::string::npos ? content.size() : newline + 1;
        if (end - pos > kLinePieceLength) end = pos + kLinePieceLength;
        pieces.push_back(content.substr(pos, end - pos));
        pos = end;
    }
    return pieces;
}

}  // namespace

int32_t LibraryEngineQuality(EngineQualityChoice choice) {
    switch (choice) {
    case EngineQualityChoice::High: return 2;
    case EngineQualityChoice::Standard: return 3;
    case EngineQualityChoice::Fast: return 7;
    }
    return static_cast<int32_t>(choice);
}

std::string JobOutputDir(const Settings& settings) {
    std::string dir = settings.OutputDir;
    // The root is a folder like any other, not "beside the input".
    if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

void ForgetRunOnlyOutputDir(Settings& settings) {
    if (!settings.OutputDirMode.On()) settings.OutputDir.clear();
}

std::string CutUtf8(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t cut = limit;
    // Step back over continuation bytes so the cut falls before the lead byte
    // of a sequence that would not fit whole.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

namespace {

// UTF-8 sequences never hold such a byte, so a text is checked byte by byte.
bool IsControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// A line break in a value would end its line early and turn the rest into a
// key line of its own, which then overrides the real one when read back; the
// other control characters are dropped too, as no setting has a use for them.
std::string WithoutControlCharacters(std::string value) {
    std::erase_if(value, IsControlByte);
    return value;
}

}  // namespace

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(), IsControlByte);
}

std::string FormatSettings(const Settings& settings) {
    std::string out = std::string(kSectionLine) + "\n";
    for (const KeyRow& row : kKeys) {
        out += row.key;
        out += '=';
        if (row.readNumber) {
            out += std::to_string(row.readNumber(settings));
        } else {
            out += WithoutControlCharacters(settings.*row.text);
        }
        out += '\n';
    }
    return out;
}

namespace {

constexpr mode_t kNewFileMode = 0644;

// Creates a new, uniquely named file beside `file` with the permissions the
// user's umask gives any new file (mkstemp would make it private, and
// changing the umask would race with files the worker creates meanwhile),
// but never writable by others: such a file would not be read back.
int CreateTemporaryBeside(const std::filesystem::path& file, std::string& name) {
    std::filesystem::path directory = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    static std::atomic<unsigned> sequence{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = (directory / (file.filename().string() + ".tmp-" + std::to_string(getpid()) + "-" +
                             std::to_string(sequence++)))
                   .string();
        int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// Whether `target` exists (then `info` describes it); false when it cannot
// be looked at for another reason than its absence.
bool InspectTarget(const std::filesystem::path& target, struct stat& info, bool& exists) {
    if (stat(target.c_str(), &info) == 0) {
        exists = true;
        return true;
    }
    exists = false;
    return errno == ENOENT;
}

// An INI file the user may not write keeps its settings unsaved. The check
// uses the effective ids, as opening the file for writing would. A file with
// no write permission for anyone was made read-only on purpose; root, whom
// the check lets through, leaves it alone too.
bool MayReplace(const std::filesystem::path& target, const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

bool SaveSettingsFile(const Settings& settings, const std::filesystem::path& file, const FileOwners& owners) {
    // A symlinked INI file (kept with the user's dotfiles, say) stays a link:
    // the new text replaces the file at its end.
    std::filesystem::path target;
    struct stat old_file {};
    bool replacing = false;
    if (!JudgeSettingsFile(file, owners, target).empty() || !InspectTarget(target, old_file, replacing) ||
        (replacing && !MayReplace(target, old_file))) {
        errno = 0;
        return false;
    }

    // Write a new file beside the old one and rename it over: a full disk or a
    // crash mid-write must not leave the user with a cut-off settings file.
    std::string temporary;
    int descriptor = CreateTemporaryBeside(target, temporary);
    if (descriptor < 0) {
        errno = 0;
        return false;
    }
    // The replacement keeps the permissions the user gave the old file (a
    // private 0600 must not become readable by others).
    bool written = !replacing || fchmod(descriptor, old_file.st_mode & 07777) == 0;
    std::string text = FormatSettings(settings);
    written = written && WriteAll(descriptor, text);
    if (written && fsync(descriptor) != 0) written = false;
    if (close(descriptor) != 0) written = false;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        errno = 0;
        return false;
    }
    return true;
}

std::string LoadSettingsFile(Settings& settings, const std::filesystem::path& file, bool createIfMissing,
                             const FileOwners& owners) {
    settings = Settings{};
    std::filesystem::path target;
    std::string distrust = JudgeSettingsFile(file, owners, target);
    if (!distrust.empty()) {
        errno = 0;
        return distrust;
    }
    std::ifstream in(target, std::ios::binary);
    if (!in) {
        std::error_code ignored;
        if (createIfMissing && !std::filesystem::exists(target, ignored)) SaveSettingsFile(settings, file, owners);
        errno = 0;
        return std::string();
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> pieces = SplitPieces(content);
    if (pieces.empty() || pieces.front().compare(0, std::strlen(kSectionLine), kSectionLine) != 0) return std::string();
    for (std::size_t i = 1; i < pieces.size(); ++i) MatchLine(settings, pieces[i]);
    return std::string();
}
