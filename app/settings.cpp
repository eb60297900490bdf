#include "app/settings.h"

#include <INIReader.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale>
#include <sstream>

#define MIBBETFALL_SETTING(name) SettingKey{#name, &TSettings::name}

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = {
      MIBBETFALL_SETTING(MIBBETKILL),          MIBBETFALL_SETTING(TURRETKILL),
      MIBBETFALL_SETTING(FMIBBETBASESPEED),    MIBBETFALL_SETTING(EMIBBETBASESPEED),
      MIBBETFALL_SETTING(SMIBBETBASESPEED),    MIBBETFALL_SETTING(BASESCRAP),
      MIBBETFALL_SETTING(SIGNCOST),            MIBBETFALL_SETTING(BOTCOST),
      MIBBETFALL_SETTING(MAX_SIGN),            MIBBETFALL_SETTING(GATHER_SCRAP),
      MIBBETFALL_SETTING(FMIBBETBASEEMERGE),   MIBBETFALL_SETTING(SMIBBETBASEEMERGE),
      MIBBETFALL_SETTING(EMIBBETBASEEMERGE),   MIBBETFALL_SETTING(FMIBBETFORCEY),
      MIBBETFALL_SETTING(EMIBBETFORCEY),       MIBBETFALL_SETTING(SMIBBETFORCEY),
      MIBBETFALL_SETTING(BASEMIBBETHEALTH),    MIBBETFALL_SETTING(BASEORBHEALTH),
      MIBBETFALL_SETTING(BLOCKSIGNBUILDBY),    MIBBETFALL_SETTING(MIBBETEMERGESWAP),
      MIBBETFALL_SETTING(MIBBETTUNNELSWAP),    MIBBETFALL_SETTING(MIBBETTUNNELSWAPRED),
      MIBBETFALL_SETTING(MIBBETTUNNELSWAPMIN), MIBBETFALL_SETTING(MIBBETEMERGEHOLE),
      MIBBETFALL_SETTING(MIBBETEMERGEHOLERED), MIBBETFALL_SETTING(MIBBETEMERGEHOLEMIN),
      MIBBETFALL_SETTING(CONFSTATERPAUSEA),    MIBBETFALL_SETTING(CONFSTATERPAUSEB),
      MIBBETFALL_SETTING(MIBBETSHOTSTRENGTH),  MIBBETFALL_SETTING(TURRETSHOTSTRENGTH),
      MIBBETFALL_SETTING(NUMSTARTRES),         MIBBETFALL_SETTING(MIBBETSCRAPPERC),
      MIBBETFALL_SETTING(TURRETHEALTH),        MIBBETFALL_SETTING(INITDELAY),
      MIBBETFALL_SETTING(NONSIGNPRIREDUCTION), MIBBETFALL_SETTING(DEBUG),
      MIBBETFALL_SETTING(HISCORESERVER),
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

}  // namespace

bool ParseIntegerSetting(const std::string& text, int& value) {
  const std::string t = Trimmed(text);
  std::size_t digitsFrom = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
  if (t.size() == digitsFrom) return false;
  for (std::size_t i = digitsFrom; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  errno = 0;
  const long long parsed = std::strtoll(t.c_str(), nullptr, 10);
  if (errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) return false;
  value = int(parsed);
  return true;
}

bool ParseFloatSetting(const std::string& text, double& value) {
  const std::string t = Trimmed(text);
  if (t.empty()) return false;
  std::istringstream in(t);
  in.imbue(std::locale::classic());
  double parsed = 0;
  in >> parsed;
  if (in.fail() || !in.eof() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

TSettings ReadSettings(const std::string& path) {
  TSettings settings;
  INIReader reader(path);
  if (reader.ParseError() < 0) return settings;
  for (const SettingKey& key : SettingKeys()) {
    const std::string raw = reader.Get("Settings", key.Name, "");
    if (const auto* intField = std::get_if<int TSettings::*>(&key.Field)) {
      int value;
      if (ParseIntegerSetting(raw, value)) settings.*(*intField) = value;
    } else if (const auto* textField = std::get_if<std::string TSettings::*>(&key.Field)) {
      // An older file without the key keeps the default; a key written empty means "none".
      if (reader.HasValue("Settings", key.Name)) settings.*(*textField) = Trimmed(raw);
    } else {
      double value;
      if (ParseFloatSetting(raw, value)) settings.*std::get<double TSettings::*>(key.Field) = value;
    }
  }
  return settings;
}
