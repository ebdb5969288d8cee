#pragma once
// One input file to one MP3 file.

#include <string>

#include "job/JobHooks.h"
#include "settings/Settings.h"

// Encodes `inputPath` with the encoder and tag choices of `settings` into
// `outputDir` (empty: beside the input), reporting every failure through
// hooks.Report. With scaling on, the tags come from the source's comments,
// which carry the gains. The input is deleted (with DeleteInput on) only
// when every step succeeded. Safe to run on several threads at once.
JobResult EncodeFile(const std::string& inputPath, const Settings& settings, const std::string& outputDir,
                     const JobHooks& hooks);
