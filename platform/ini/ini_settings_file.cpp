#include <ini.h>
#include <strings.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/settings_file.h"

namespace {

// How often a key was given, and how it was last spelled.
struct KeyRepeats {
  int Times = 0;
  std::string LastSpelling;
};

// One reading of a settings file: the last value given for each key, by its name in the table.
struct SettingsFileReading {
  std::FILE* File;
  const std::string& Name;
  SettingsValues Values;
  int LineNumber = 0;
  bool AtLineStart = true;
  // Keys in the order they were first given, so that the lines about repeats come in file order.
  std::vector<std::string> KeysInOrder = {};
  std::map<std::string, KeyRepeats> Repeats = {};
};

// inih reads a line that begins with blanks as the continuation of the key above it, which
// spoiled both keys; the blanks are dropped before inih sees the line.
char* ReadLineWithoutLeadingBlanks(char* buffer, int size, void* stream) {
  auto& reading = *static_cast<SettingsFileReading*>(stream);
  if (!std::fgets(buffer, size, reading.File)) return nullptr;
  const bool lineStart = reading.AtLineStart;
  const std::size_t length = std::strlen(buffer);
  reading.AtLineStart = length > 0 && buffer[length - 1] == '\n';
  if (lineStart) ++reading.LineNumber;
  const std::size_t blanks = std::strspn(buffer, " \t");
  if (blanks == 0) return buffer;
  if (lineStart && std::strspn(buffer + blanks, "\r\n") != length - blanks)
    std::cerr << "mibbetfall: " << reading.Name << " line " << reading.LineNumber
              << " begins with blanks; read as a line of its own\n";
  std::memmove(buffer, buffer + blanks, length - blanks + 1);
  return buffer;
}

int TakeSetting(void* user, const char* section, const char* name, const char* value) {
  auto& reading = *static_cast<SettingsFileReading*>(user);
  if (::strcasecmp(section, "Settings") != 0) return 1;
  std::string key = name;
  for (char& c : key) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (reading.Values.insert_or_assign(key, value).second) reading.KeysInOrder.push_back(key);
  KeyRepeats& repeats = reading.Repeats[key];
  ++repeats.Times;
  repeats.LastSpelling = name;
  return 1;
}

// One line for each key given more than once, however often: a file that repeats a key a
// hundred thousand times must not bury every other message.
void ReportRepeatedKeys(const SettingsFileReading& reading) {
  for (const std::string& key : reading.KeysInOrder) {
    const KeyRepeats& repeats = reading.Repeats.at(key);
    if (repeats.Times > 1)
      std::cerr << "mibbetfall: " << reading.Name << ": " << repeats.LastSpelling << " is given " << repeats.Times
                << " times; its last value holds\n";
  }
}

}  // namespace

SettingsValues ReadSettingsValuesFrom(std::FILE* file, const std::string& name) {
  SettingsFileReading reading{file, name, {}};
  ini_parse_stream(ReadLineWithoutLeadingBlanks, &reading, TakeSetting, &reading);
  ReportRepeatedKeys(reading);
  return reading.Values;
}

SettingsValues ReadSettingsValues(const std::string& path) {
  const FileOpening opening = OpenFileForReading(path);
  if (opening.File) return ReadSettingsValuesFrom(opening.File.get(), std::filesystem::path(path).filename().string());
  // A game without a settings file plays with the defaults and need not say so.
  if (!opening.Missing)
    std::cerr << "mibbetfall: cannot read " << path << ": " << opening.Why << "; the default settings hold\n";
  return {};
}
