// The settings file: one field per key, with the defaults the game ships with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/settings_file.h"

struct TSettings {
  int MIBBETKILL = 50;
  int TURRETKILL = 10;
  int FMIBBETBASESPEED = 20;
  int EMIBBETBASESPEED = 20;
  int SMIBBETBASESPEED = 20;
  int BASESCRAP = 50;
  int SIGNCOST = 10;
  int BOTCOST = 100;
  int MAX_SIGN = 4;
  int GATHER_SCRAP = 10;
  int FMIBBETBASEEMERGE = 80;
  int SMIBBETBASEEMERGE = 100;
  int EMIBBETBASEEMERGE = 50;
  int FMIBBETFORCEY = 17;
  int EMIBBETFORCEY = 9;
  int SMIBBETFORCEY = 9;
  int BASEMIBBETHEALTH = 15;
  int BASEORBHEALTH = 30;
  int BLOCKSIGNBUILDBY = 1;
  int MIBBETEMERGESWAP = 30;
  int MIBBETTUNNELSWAP = 30;
  int MIBBETTUNNELSWAPRED = 10;
  int MIBBETTUNNELSWAPMIN = 10;
  int MIBBETEMERGEHOLE = 90;
  int MIBBETEMERGEHOLERED = 10;
  int MIBBETEMERGEHOLEMIN = 10;
  int CONFSTATERPAUSEA = 2;
  int CONFSTATERPAUSEB = 1;
  double MIBBETSHOTSTRENGTH = 1.0;
  double TURRETSHOTSTRENGTH = 0.1;
  int NUMSTARTRES = 25;
  int MIBBETSCRAPPERC = 20;
  int TURRETHEALTH = 10;
  int INITDELAY = 0;
  int NONSIGNPRIREDUCTION = 20;
  int DEBUG = 0;
  // host:port of the high-score server; empty means no server, so no post is offered.
  std::string HISCORESERVER = "127.0.0.1:8787";
};

// The values a key may take: wide enough for every meaning the rules give the key, negative
// values included, and narrow enough that no sum, difference or product the game forms with it
// overflows. A value outside is taken as the nearer end, with one line on stderr.
struct SettingRange {
  std::int64_t Lowest, Highest;
};

// One key of section "Settings", the field it fills and its range (unused for a text key).
struct SettingKey {
  const char* Name;
  std::variant<int TSettings::*, double TSettings::*, std::string TSettings::*> Field;
  SettingRange Range;
};
// The one table of keys: a newcomer finds every key's field and range here.
const std::vector<SettingKey>& SettingKeys();

// The settings a file's values give: a missing key, or a value that is not a whole decimal number
// (integer keys) or a decimal number (float keys), leaves the default; a value out of its key's
// range is clamped (said in one line). name is what the lines on stderr call the file.
TSettings SettingsFromValues(const SettingsValues& values, const std::string& name);
// Reads the file through the host's reader (platform/settings_file.h): a key given twice takes
// its last value, blanks before a line are ignored, only a regular file is read.
TSettings ReadSettings(const std::string& path);

// Every key as a "KEY=VALUE" line, written so that SettingsFromLines gives back the same
// settings exactly (decimal numbers to the last bit).
std::vector<std::string> SettingsLines(const TSettings& settings);
// The settings that such lines give: a key not given keeps its default. Empty when a line is not
// "KEY=VALUE" with a key of the table; why then names the line.
std::optional<TSettings> SettingsFromLines(const std::vector<std::string>& lines, const std::string& name,
                                           std::string& why);

// Strict readers of one value, in the C locale; exposed for the tests. A whole number beyond 64
// bits, or a number beyond a double, gives the nearer end, for the key's range to take in.
bool ParseIntegerSetting(const std::string& text, std::int64_t& value);
bool ParseFloatSetting(const std::string& text, double& value);

// Scrap and score are running totals of settings. Kept within this bound, a total can still
// take off or add the largest price or reward without overflow.
constexpr int LargestTotal = 1'000'000'000;
// The total after the change, held within +-LargestTotal.
int AddToTotal(int total, std::int64_t change);
