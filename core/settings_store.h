// The settings record of this run, read from and written to the settings file.
#pragma once
#include <string>

#include "core/settings_rules.h"

namespace lt {

Settings& AppSettings();
const std::string& OpenFilter();

// Reads every key once, into AppSettings().
void LoadSettings(const std::string& iniPath);

// Writes MusicPlayer/Volume (at exit).
void WriteVolume(const std::string& iniPath);

// Writes the System section in the panel's order.
void WriteSystemSettings(const std::string& iniPath);

} // namespace lt
