// Port: the settings file's values, as the host's INI reader finds them. The game's own table of
// keys (app/settings.h) turns them into settings; the reader only splits the file into keys and
// values. The desktop hosts read with inih (platform/ini/), the browser host with its own reader.
#pragma once

#include <cstdio>
#include <map>
#include <string>

// The last value given for each key of section "Settings", by the key's name in lower case.
using SettingsValues = std::map<std::string, std::string>;

// The file's values; none when it is missing or not a regular file (said in one line on stderr).
SettingsValues ReadSettingsValues(const std::string& path);
// The same from an open file; name is what the lines on stderr call it.
SettingsValues ReadSettingsValuesFrom(std::FILE* file, const std::string& name);
