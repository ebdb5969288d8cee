#pragma once
// The encode job's working copy of the encoder and tag settings, the output
// directory in force for this run, and the VBR slider's working position.
//
// The main thread changes these while a job may be running; a job takes one
// consistent snapshot when it starts a file, so it never sees half a change.

#include <cstdint>
#include <string>

struct Settings;

// TagMode: where the tags of a file come from.
inline constexpr int32_t kTagModeDefault = 0;   // the path's names (with automatic tagging)
inline constexpr int32_t kTagModeCustom = 1;    // the templates and literals
inline constexpr int32_t kTagModeComments = 2;  // the source's Vorbis/FLAC comments

// ScaleMode: which ReplayGain comment scales the input.
inline constexpr int32_t kScaleNone = 0;
inline constexpr int32_t kScaleByTrackGain = 1;
inline constexpr int32_t kScaleByAlbumGain = 2;

// Gain values come only from Vorbis/FLAC comments, so any scaling makes the
// tags come from the comments too; otherwise the chosen mode stands.
inline int32_t TagModeForScaling(int32_t tagMode, int32_t scaleMode) {
    return scaleMode > kScaleNone ? kTagModeComments : tagMode;
}

struct EncodeOptions {
    int32_t SetBitrate = 0;
    int32_t Mono = 0;
    int32_t Quality = 3;        // the library's engine quality, already mapped
    float VBRQuality = 801.0f;  // slider position 1..1001
    int32_t SetCBR = 0;
    int32_t ABRBitrate = 128;
    int32_t CBRBitrate = 128;
    int32_t DeleteInput = 0;
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Year;
    std::string Genre = "Other";
    int32_t TagMode = 0;
    int32_t AutoTag = 0;
    int32_t id3Tag = 0;
    int32_t ScaleMode = 0;
};

// Engine quality for a choice index of the dialog: 0 -> 2, 1 -> 3, 2 -> 7,
// anything else unchanged.
int32_t MapEngineQuality(int32_t choiceIndex);

void SetEncodeSetBitrate(int32_t value);
void SetEncodeMono(int32_t value);
void SetEncodeQuality(int32_t mappedQuality);
void SetEncodeVBRQuality(int32_t sliderPosition);
void SetEncodeSetCBR(int32_t value);
void SetEncodeABRBitrate(int32_t value);
void SetEncodeCBRBitrate(int32_t value);
void SetEncodeDeleteInput(int32_t value);
void SetEncodeTitle(const std::string& text);
void SetEncodeArtist(const std::string& text);
void SetEncodeAlbum(const std::string& text);
void SetEncodeYear(const std::string& text);
void SetEncodeGenre(const std::string& text);
void SetEncodeTagMode(int32_t value);
void SetEncodeAutoTag(int32_t value);
void SetEncodeid3Tag(int32_t value);
void SetEncodeScaleMode(int32_t value);

// A whole, consistent copy for one file.
EncodeOptions SnapshotEncodeOptions();

// The output directory of every job of this run; empty means beside the input.
std::string ActiveOutputDir();
void SetActiveOutputDir(const std::string& dir);
// What a job uses: removes one trailing '/' from the stored value (so the
// stored value changes too) and returns the result, in one step.
std::string TakeActiveOutputDirForJob();

// Working position 1..1001 of the VBR quality slider; main thread only.
int32_t& VBRSliderPos();

// Copies the job-related fields of `settings` through the setters and sets
// ActiveOutputDir from OutputDirMode/OutputDir (clearing OutputDir when the
// mode is 0).
void ApplySettingsToJobs(Settings& settings);
void ApplySettingsToJobs();
