#pragma once
// The four modal dialogs of the popup menu. Each edits the settings record
// it is given, on Accept only.

#include <cstdint>

struct Settings;
class QWidget;

// `sliderPosition`: the VBR slider's working position, kept between two
// openings of the dialog but never saved.
void RunEncodingOptionsDialog(QWidget* owner, Settings& settings, int32_t& sliderPosition);
void RunOutputDirectoryDialog(QWidget* owner, Settings& settings);
void RunTaggingSetupDialog(QWidget* owner, Settings& settings);
void RunAboutDialog(QWidget* owner);
