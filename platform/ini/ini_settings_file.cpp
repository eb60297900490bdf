#include <ini.h>
#include <strings.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "platform/files.h"
#include "platform/settings_file.h"

namespace {

// One reading of a settings file: the last value given for each key, by its name in the table.
struct SettingsFileReading {
  std::FILE* File;
  const std::string& Name;
  SettingsValues Values;
  int LineNumber = 0;
  bool AtLineStart = true;
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
  const bool firstTime = reading.Values.insert_or_assign(key, value).second;
  if (!firstTime)
    std::cerr << "mibbetfall: " << reading.Name << ": " << name << " is given again; its last value holds\n";
  return 1;
}

}  // namespace

SettingsValues ReadSettingsValuesFrom(std::FILE* file, const std::string& name) {
  SettingsFileReading reading{file, name, {}};
  ini_parse_stream(ReadLineWithoutLeadingBlanks, &reading, TakeSetting, &reading);
  return reading.Values;
}

SettingsValues ReadSettingsValues(const std::string& path) {
  const FilePtr file = OpenRegularFile(path);
  if (file) return ReadSettingsValuesFrom(file.get(), std::filesystem::path(path).filename().string());
  std::error_code ignored;
  if (std::filesystem::exists(path, ignored))
    std::cerr << "mibbetfall: " << path << " is not a regular file; the default settings hold\n";
  return {};
}
