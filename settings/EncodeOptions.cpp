#include "settings/EncodeOptions.h"

#include <mutex>

#include "settings/Settings.h"

namespace {

// The main thread replaces fields while the worker may be starting a file;
// one small lock keeps every snapshot whole.
std::mutex optionsLock;
EncodeOptions options;
std::string activeOutputDir;

template <typename Field, typename Value>
void Store(Field EncodeOptions::*field, const Value& value) {
    std::lock_guard<std::mutex> hold(optionsLock);
    options.*field = value;
}

}  // namespace

int32_t MapEngineQuality(int32_t choiceIndex) {
    switch (choiceIndex) {
        case 0: return 2;
        case 1: return 3;
        case 2: return 7;
        default: return choiceIndex;
    }
}

void SetEncodeSetBitrate(int32_t value) { Store(&EncodeOptions::SetBitrate, value); }
void SetEncodeMono(int32_t value) { Store(&EncodeOptions::Mono, value); }
void SetEncodeQuality(int32_t mappedQuality) { Store(&EncodeOptions::Quality, mappedQuality); }
void SetEncodeVBRQuality(int32_t sliderPosition) {
    Store(&EncodeOptions::VBRQuality, static_cast<float>(sliderPosition));
}
void SetEncodeSetCBR(int32_t value) { Store(&EncodeOptions::SetCBR, value); }
void SetEncodeABRBitrate(int32_t value) { Store(&EncodeOptions::ABRBitrate, value); }
void SetEncodeCBRBitrate(int32_t value) { Store(&EncodeOptions::CBRBitrate, value); }
void SetEncodeDeleteInput(int32_t value) { Store(&EncodeOptions::DeleteInput, value); }
void SetEncodeTitle(const std::string& text) { Store(&EncodeOptions::Title, text); }
void SetEncodeArtist(const std::string& text) { Store(&EncodeOptions::Artist, text); }
void SetEncodeAlbum(const std::string& text) { Store(&EncodeOptions::Album, text); }
void SetEncodeYear(const std::string& text) { Store(&EncodeOptions::Year, text); }
void SetEncodeGenre(const std::string& text) { Store(&EncodeOptions::Genre, text); }
void SetEncodeTagMode(int32_t value) { Store(&EncodeOptions::TagMode, value); }
void SetEncodeAutoTag(int32_t value) { Store(&EncodeOptions::AutoTag, value); }
void SetEncodeid3Tag(int32_t value) { Store(&EncodeOptions::id3Tag, value); }
void SetEncodeScaleMode(int32_t value) { Store(&EncodeOptions::ScaleMode, value); }

EncodeOptions SnapshotEncodeOptions() {
    std::lock_guard<std::mutex> hold(optionsLock);
    return options;
}

std::string ActiveOutputDir() {
    std::lock_guard<std::mutex> hold(optionsLock);
    return activeOutputDir;
}

void SetActiveOutputDir(const std::string& dir) {
    std::lock_guard<std::mutex> hold(optionsLock);
    activeOutputDir = dir;
}

std::string TakeActiveOutputDirForJob() {
    std::lock_guard<std::mutex> hold(optionsLock);
    if (!activeOutputDir.empty() && activeOutputDir.back() == '/') activeOutputDir.pop_back();
    return activeOutputDir;
}

int32_t& VBRSliderPos() {
    static int32_t position = Settings{}.VBRQuality;
    return position;
}

void ApplySettingsToJobs(Settings& settings) {
    SetEncodeSetBitrate(settings.SetBitrate);
    SetEncodeMono(settings.Mono);
    SetEncodeQuality(MapEngineQuality(settings.Quality));
    SetEncodeVBRQuality(settings.VBRQuality);
    SetEncodeSetCBR(settings.SetCBR);
    SetEncodeABRBitrate(settings.ABRBitrate);
    SetEncodeCBRBitrate(settings.CBRBitrate);
    SetEncodeTagMode(settings.TagMode);
    SetEncodeScaleMode(settings.ScaleMode);
    SetEncodeAutoTag(settings.AutoTag);
    SetEncodeid3Tag(settings.id3Tag);
    SetEncodeDeleteInput(settings.DeleteInput);
    SetEncodeTitle(settings.Title);
    SetEncodeArtist(settings.Artist);
    SetEncodeAlbum(settings.Album);
    SetEncodeGenre(settings.Genre);
    SetEncodeYear(settings.Year);
    if (settings.OutputDirMode != 0) {
        SetActiveOutputDir(settings.OutputDir);
    } else {
        // A folder chosen for one run only is forgotten at the next start.
        settings.OutputDir.clear();
        SetActiveOutputDir("");
    }
}

void ApplySettingsToJobs() {
    ApplySettingsToJobs(CurrentSettings());
}
