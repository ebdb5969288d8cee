#pragma once
// The persisted settings record and its INI file "Quavermill.ini".

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "settings/SettingsTrust.h"

inline constexpr const char* kIniFileName = "Quavermill.ini";

// Longest text, in bytes, that reading the INI file gives each text field.
inline constexpr std::size_t kTagTextLimit = 63;    // Title, Artist, Album, Genre
inline constexpr std::size_t kYearTextLimit = 31;   // Year
inline constexpr std::size_t kOutputDirLimit = 245; // OutputDir

// Toggles from the popup menu store the menu's check value; dialogs store 1.
inline constexpr int32_t kMenuChecked = 8;
inline constexpr int32_t kDialogChecked = 1;

// A switch as the INI file holds it: any nonzero value is on. The stored
// number is kept as read, so a value from a hand-edited file is written back
// unchanged.
struct Switch {
    int32_t Stored = 0;
    constexpr bool On() const { return Stored != 0; }
    bool operator==(const Switch&) const = default;
};
constexpr Switch MenuSwitch(bool on) { return Switch{on ? kMenuChecked : 0}; }
constexpr Switch DialogSwitch(bool on) { return Switch{on ? kDialogChecked : 0}; }

// The choices below keep any number the file holds too; a value outside the
// named ones behaves as each comment says.

// SetBitrate: only 1 asks for a bitrate target; anything else encodes VBR.
enum class TargetChoice : int32_t { Quality = 0, Bitrate = 1 };
// SetCBR, with a bitrate target: any other value makes no bitrate call.
enum class BitrateKindChoice : int32_t { Average = 0, Constant = 1 };
// Quality: the dialog's engine quality index; other values reach the
// library unchanged.
enum class EngineQualityChoice : int32_t { High = 0, Standard = 1, Fast = 2 };
// TagMode: where the tags of a file come from.
enum class TagModeChoice : int32_t {
    Default = 0,   // the path's names (with automatic tagging)
    Custom = 1,    // the templates and literals
    Comments = 2,  // the source's Vorbis/FLAC comments
};
// id3Tag, obeyed with TagMode Custom or Comments; other values leave the
// library's default.
enum class Id3TagChoice : int32_t { V2IfNeeded = 0, AlsoV2 = 1, V1Only = 2, V2Only = 3 };
// ScaleMode: which ReplayGain comment scales the input; any value above 0
// turns scaling on.
enum class ScaleModeChoice : int32_t { None = 0, TrackGain = 1, AlbumGain = 2 };

struct Settings {
    int32_t Window_X = 64;
    int32_t Window_Y = 64;
    Switch AlwaysOnTop{kMenuChecked};
    Switch Logerr{kMenuChecked};
    Switch DeleteInput;
    TargetChoice SetBitrate = TargetChoice::Quality;
    Switch Mono;
    EngineQualityChoice Quality = EngineQualityChoice::Standard;
    int32_t VBRQuality = 801;  // VBR slider position 1..1001
    BitrateKindChoice SetCBR = BitrateKindChoice::Average;
    int32_t ABRBitrate = 128;
    int32_t CBRBitrate = 128;
    TagModeChoice TagMode = TagModeChoice::Default;
    Switch AutoTag;
    Id3TagChoice id3Tag = Id3TagChoice::V2IfNeeded;
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Genre = "Other";
    std::string Year;
    Switch OutputDirMode;
    // The output directory of every file of this run, with a trailing '/';
    // empty: beside the input. Kept in the file only with OutputDirMode on.
    std::string OutputDir;
    ScaleModeChoice ScaleMode = ScaleModeChoice::None;

    bool operator==(const Settings&) const = default;
};

// What a file starts with: the settings at that moment, never changed
// afterwards. A change of settings makes a new snapshot for the files that
// start after it.
using SettingsSnapshot = std::shared_ptr<const Settings>;

inline bool ScalingOn(ScaleModeChoice mode) { return static_cast<int32_t>(mode) > 0; }

// Gain values come only from Vorbis/FLAC comments, so any scaling makes the
// tags come from the comments too; otherwise the chosen mode stands.
inline TagModeChoice TagModeForScaling(TagModeChoice tagMode, ScaleModeChoice scaleMode) {
    return ScalingOn(scaleMode) ? TagModeChoice::Comments : tagMode;
}

// The library's engine quality for the dialog's choice: High 2, Standard 3,
// Fast 7; any other stored value unchanged.
int32_t LibraryEngineQuality(EngineQualityChoice choice);

// The folder a job writes into: OutputDir without its trailing '/' ("/" stays).
std::string JobOutputDir(const Settings& settings);

// A folder chosen for one run only is forgotten at the next start.
void ForgetRunOnlyOutputDir(Settings& settings);

// Loads `file` into `settings`, from the defaults, creating the file with the
// defaults when it is missing and `createIfMissing` is on (readers that must
// never write turn it off). A file JudgeSettingsFile refuses is neither read
// nor created: the defaults stand, and the returned text says why (it is
// empty otherwise).
std::string LoadSettingsFile(Settings& settings, const std::filesystem::path& file, bool createIfMissing = true,
                             const FileOwners& owners = RealFileOwners());
// A symbolic link is written through to the file at its end, which keeps its
// permissions; a file the user may not write, or that JudgeSettingsFile
// refuses, is left alone. Returns false when the file was not replaced; the
// old file is then kept.
bool SaveSettingsFile(const Settings& settings, const std::filesystem::path& file,
                      const FileOwners& owners = RealFileOwners());
// The exact text SaveSettingsFile writes; control characters in the text
// values are left out, so every value stays on its own line.
std::string FormatSettings(const Settings& settings);

// Whether `text` holds a control character (a byte below 0x20, or 0x7F),
// which no text setting may hold: each value is one line of the INI file.
bool HasControlCharacter(const std::string& text);

// Cuts `text` to at most `limit` bytes without splitting a UTF-8 sequence.
std::string CutUtf8(const std::string& text, std::size_t limit);
