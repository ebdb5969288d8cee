#pragma once
// Where "Quavermill.ini" and "Quavermill.log" live: the working directory
// the program was started from, or the desktop's settings folder when the
// program was started from the desktop menu or a file manager.

#include <string>

// Set once at start, before any other thread runs; empty (the default)
// means the working directory.
void SetSettingsFolder(const std::string& folder);
// `fileName` in the settings folder.
std::string SettingsFilePath(const std::string& fileName);

// $XDG_CONFIG_HOME/quavermill, or ~/.config/quavermill when XDG_CONFIG_HOME
// is unset, empty or relative (which the XDG rules say to ignore); empty
// when neither it nor HOME is known.
std::string DesktopSettingsFolder();
