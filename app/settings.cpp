#include "app/settings.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <limits>
#include <locale>
#include <sstream>

#include "platform/settings_file.h"

namespace {

// Scrap, prices, rewards, scores, health and damage: the 24 bits a stored score has.
constexpr SettingRange kAmount{-16777215, 16777215};
// Periods in seconds: a day at most, which keeps them in milliseconds far from overflow.
constexpr SettingRange kSeconds{-86400, 86400};
// Counts of 50 ms ticks: a day of them.
constexpr SettingRange kTicks{-1728000, 1728000};
// Pushes and radii in cells, counts of things on the field, percentages and weights.
constexpr SettingRange kCells{-1000, 1000};
// Only zero or not zero matters.
constexpr SettingRange kAnyInt{INT_MIN, INT_MAX};
constexpr SettingRange kText{0, 0};

}  // namespace

#define MIBBETFALL_SETTING(name, range) \
  SettingKey { #name, &TSettings::name, range }

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = {
      MIBBETFALL_SETTING(MIBBETKILL, kAmount),
      MIBBETFALL_SETTING(TURRETKILL, kAmount),
      MIBBETFALL_SETTING(FMIBBETBASESPEED, kTicks),
      MIBBETFALL_SETTING(EMIBBETBASESPEED, kTicks),
      MIBBETFALL_SETTING(SMIBBETBASESPEED, kTicks),
      MIBBETFALL_SETTING(BASESCRAP, kAmount),
      MIBBETFALL_SETTING(SIGNCOST, kAmount),
      MIBBETFALL_SETTING(BOTCOST, kAmount),
      MIBBETFALL_SETTING(MAX_SIGN, kCells),
      MIBBETFALL_SETTING(GATHER_SCRAP, kAmount),
      MIBBETFALL_SETTING(FMIBBETBASEEMERGE, kTicks),
      MIBBETFALL_SETTING(SMIBBETBASEEMERGE, kTicks),
      MIBBETFALL_SETTING(EMIBBETBASEEMERGE, kTicks),
      MIBBETFALL_SETTING(FMIBBETFORCEY, kCells),
      MIBBETFALL_SETTING(EMIBBETFORCEY, kCells),
      MIBBETFALL_SETTING(SMIBBETFORCEY, kCells),
      MIBBETFALL_SETTING(BASEMIBBETHEALTH, kAmount),
      MIBBETFALL_SETTING(BASEORBHEALTH, kAmount),
      MIBBETFALL_SETTING(BLOCKSIGNBUILDBY, kCells),
      MIBBETFALL_SETTING(MIBBETEMERGESWAP, kSeconds),
      MIBBETFALL_SETTING(MIBBETTUNNELSWAP, kSeconds),
      MIBBETFALL_SETTING(MIBBETTUNNELSWAPRED, kSeconds),
      MIBBETFALL_SETTING(MIBBETTUNNELSWAPMIN, kSeconds),
      MIBBETFALL_SETTING(MIBBETEMERGEHOLE, kSeconds),
      MIBBETFALL_SETTING(MIBBETEMERGEHOLERED, kSeconds),
      MIBBETFALL_SETTING(MIBBETEMERGEHOLEMIN, kSeconds),
      MIBBETFALL_SETTING(CONFSTATERPAUSEA, kTicks),
      MIBBETFALL_SETTING(CONFSTATERPAUSEB, kTicks),
      MIBBETFALL_SETTING(MIBBETSHOTSTRENGTH, kAmount),
      MIBBETFALL_SETTING(TURRETSHOTSTRENGTH, kAmount),
      MIBBETFALL_SETTING(NUMSTARTRES, kCells),
      MIBBETFALL_SETTING(MIBBETSCRAPPERC, kCells),
      MIBBETFALL_SETTING(TURRETHEALTH, kAmount),
      MIBBETFALL_SETTING(INITDELAY, kTicks),
      MIBBETFALL_SETTING(NONSIGNPRIREDUCTION, kCells),
      MIBBETFALL_SETTING(DEBUG, kAnyInt),
      MIBBETFALL_SETTING(HISCORESERVER, kText),
  };
  return keys;
}

#undef MIBBETFALL_SETTING

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::string LowerCase(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

bool ParseIntegerSetting(const std::string& text, std::int64_t& value) {
  const std::string t = Trimmed(text);
  std::size_t digitsFrom = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
  if (t.size() == digitsFrom) return false;
  for (std::size_t i = digitsFrom; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  // Beyond 64 bits strtoll gives the nearer end, which every key's range then takes in: a whole
  // number is out of range however many digits it has.
  value = std::strtoll(t.c_str(), nullptr, 10);
  return true;
}

bool ParseFloatSetting(const std::string& text, double& value) {
  const std::string t = Trimmed(text);
  if (t.empty()) return false;
  std::istringstream in(t);
  in.imbue(std::locale::classic());
  double parsed = 0;
  in >> parsed;
  // A number too large for a double fails with the largest one of its sign, which the key's
  // range takes in like any other number out of range.
  const bool tooLarge = in.fail() && in.eof() && std::abs(parsed) == std::numeric_limits<double>::max();
  if ((in.fail() && !tooLarge) || !in.eof() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

namespace {

// A value as the file writes it, cut short so that a line about it stays a line.
std::string AsWritten(const std::string& raw) {
  constexpr std::size_t kLongest = 40;
  const std::string written = Trimmed(raw);
  return written.size() <= kLongest ? written : written.substr(0, kLongest - 3) + "...";
}

template <typename T>
T WithinRange(const SettingKey& key, T value, const std::string& raw, const std::string& fileName) {
  const T within = std::clamp(value, T(key.Range.Lowest), T(key.Range.Highest));
  if (within != value)
    std::cerr << "mibbetfall: " << fileName << ": " << key.Name << "=" << AsWritten(raw) << " is outside "
              << key.Range.Lowest << ".." << key.Range.Highest << "; " << within << " holds\n";
  return within;
}

void ApplySetting(const SettingKey& key, const std::string& raw, TSettings& settings, const std::string& fileName) {
  if (const auto* intField = std::get_if<int TSettings::*>(&key.Field)) {
    std::int64_t value;
    if (ParseIntegerSetting(raw, value)) settings.*(*intField) = int(WithinRange(key, value, raw, fileName));
  } else if (const auto* textField = std::get_if<std::string TSettings::*>(&key.Field)) {
    // A key written empty means "none".
    settings.*(*textField) = Trimmed(raw);
  } else {
    double value;
    if (ParseFloatSetting(raw, value))
      settings.*std::get<double TSettings::*>(key.Field) = WithinRange(key, value, raw, fileName);
  }
}

}  // namespace

TSettings SettingsFromValues(const SettingsValues& values, const std::string& name) {
  TSettings settings;
  // An older file without a key keeps its default.
  for (const SettingKey& key : SettingKeys()) {
    if (const auto value = values.find(LowerCase(key.Name)); value != values.end())
      ApplySetting(key, value->second, settings, name);
  }
  return settings;
}

namespace {

std::string ValueText(const TSettings& settings, const SettingKey& key) {
  if (const auto* intField = std::get_if<int TSettings::*>(&key.Field)) return std::to_string(settings.*(*intField));
  if (const auto* textField = std::get_if<std::string TSettings::*>(&key.Field)) return settings.*(*textField);
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", settings.*std::get<double TSettings::*>(key.Field));
  return text;
}

}  // namespace

std::vector<std::string> SettingsLines(const TSettings& settings) {
  std::vector<std::string> lines;
  for (const SettingKey& key : SettingKeys()) lines.push_back(std::string(key.Name) + "=" + ValueText(settings, key));
  return lines;
}

std::optional<TSettings> SettingsFromLines(const std::vector<std::string>& lines, const std::string& name,
                                           std::string& why) {
  SettingsValues values;
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    const std::string key = line.substr(0, equals);
    const bool known = std::any_of(SettingKeys().begin(), SettingKeys().end(),
                                   [&](const SettingKey& setting) { return key == setting.Name; });
    if (equals == std::string::npos || !known) {
      why = "the setting \"" + line.substr(0, 40) + "\" is not one of this version's";
      return std::nullopt;
    }
    values[LowerCase(key)] = line.substr(equals + 1);
  }
  return SettingsFromValues(values, name);
}

TSettings ReadSettings(const std::string& path) {
  return SettingsFromValues(ReadSettingsValues(path), std::filesystem::path(path).filename().string());
}

int AddToTotal(int total, std::int64_t change) {
  return int(std::clamp<std::int64_t>(std::int64_t(total) + change, -LargestTotal, LargestTotal));
}
