#pragma once
// The persisted settings record and its INI file "Quavermill.ini".

#include <cstdint>
#include <filesystem>
#include <string>

inline constexpr const char* kIniFileName = "Quavermill.ini";

// Longest text, in bytes, that reading the INI file gives each text field.
inline constexpr std::size_t kTagTextLimit = 63;    // Title, Artist, Album, Genre
inline constexpr std::size_t kYearTextLimit = 31;   // Year
inline constexpr std::size_t kOutputDirLimit = 245; // OutputDir

// Toggles from the popup menu store the menu's check value; dialogs store 1.
inline constexpr int32_t kMenuChecked = 8;

struct Settings {
    int32_t Window_X = 64;
    int32_t Window_Y = 64;
    int32_t AlwaysOnTop = 8;
    int32_t Logerr = 8;
    int32_t DeleteInput = 0;
    int32_t SetBitrate = 0;
    int32_t Mono = 0;
    int32_t Quality = 1;
    int32_t VBRQuality = 801;
    int32_t SetCBR = 0;
    int32_t ABRBitrate = 128;
    int32_t CBRBitrate = 128;
    int32_t TagMode = 0;
    int32_t AutoTag = 0;
    int32_t id3Tag = 0;
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Genre = "Other";
    std::string Year;
    int32_t OutputDirMode = 0;
    std::string OutputDir;
    int32_t ScaleMode = 0;

    bool operator==(const Settings&) const = default;
};

// The process-wide record; read and written on the main thread only.
Settings& CurrentSettings();

// Loads "Quavermill.ini" from the working directory into CurrentSettings(),
// creating the file with the defaults when it is missing.
void LoadSettings();
// Writes CurrentSettings() to "Quavermill.ini"; failures are silent.
void SaveSettings();

// The same, on any record and file (tests, the command-line tool).
// `createIfMissing` is off for readers that must never write.
void LoadSettingsFile(Settings& settings, const std::filesystem::path& file, bool createIfMissing = true);
// A symbolic link is written through to the file at its end, which keeps its
// permissions; a file the user may not write is left alone. Returns false
// when the file was not replaced; the old file is then kept.
bool SaveSettingsFile(const Settings& settings, const std::filesystem::path& file);
// The exact text SaveSettingsFile writes; control characters in the text
// values are left out, so every value stays on its own line.
std::string FormatSettings(const Settings& settings);

// Whether `text` holds a control character (a byte below 0x20, or 0x7F),
// which no text setting may hold: each value is one line of the INI file.
bool HasControlCharacter(const std::string& text);

// Cuts `text` to at most `limit` bytes without splitting a UTF-8 sequence.
std::string CutUtf8(const std::string& text, std::size_t limit);
