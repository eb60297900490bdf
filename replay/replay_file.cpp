#include "replay/replay_file.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

namespace {

constexpr char kMagic[] = "# mibbetfall recording";
constexpr char kTableLine[] = "# table ";
constexpr char kSettingLine[] = "# setting ";

}  // namespace

std::string GameFileVersion() {
  return std::to_string(MIBBETFALL_VERSION_MAJOR) + "." + std::to_string(MIBBETFALL_VERSION_MINOR) + "." +
         std::to_string(MIBBETFALL_VERSION_PATCH) + "." + std::to_string(MIBBETFALL_VERSION_TWEAK);
}

namespace {

constexpr std::pair<const char*, char> kNamedKeys[] = {{"Esc", 27}, {"Enter", 13}, {"Backspace", 8}, {"Space", ' '}};

}  // namespace

std::optional<char> KeyCharacter(const std::string& name) {
  for (const auto& [keyName, ch] : kNamedKeys)
    if (name == keyName) return ch;
  if (name.size() == 1 && name[0] > ' ' && name[0] < 127) return name[0];
  return std::nullopt;
}

std::string KeyName(char ch) {
  for (const auto& [keyName, named] : kNamedKeys)
    if (ch == named) return keyName;
  return std::string(1, ch);
}

std::string ReplayHeaderLines(const ReplayHeader& header) {
  char date[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", header.Start.Year, header.Start.Month, header.Start.Day);
  std::string lines = std::string(kMagic) + " version=" + header.Version + " seed=" + std::to_string(header.Seed) +
                      " date=" + date + "\n";
  for (const std::string& line : header.HighScores) lines += kTableLine + line + "\n";
  for (const std::string& line : header.Settings) lines += kSettingLine + line + "\n";
  return lines;
}

LineRead ReadBoundedLine(std::istream& in, std::string& line, std::size_t longest) {
  line.resize(longest + 1);
  in.getline(line.data(), std::streamsize(longest + 1));
  const std::size_t taken = std::size_t(in.gcount());
  if (in.fail() && !in.eof() && taken == longest) {
    line.clear();
    return LineRead::TooLong;
  }
  if (taken == 0 && in.fail()) {
    line.clear();
    return LineRead::End;
  }
  // The newline was taken but not kept, unless the file ended without one.
  line.resize(in.eof() ? taken : taken - 1);
  in.clear(in.rdstate() & ~std::ios::failbit);
  return LineRead::Line;
}

namespace {

std::optional<ReplayHeader> ReadReplayHeader(const std::string& line, std::string& why) {
  ReplayHeader header;
  char version[32] = "";
  unsigned long seed = 0;
  char tail = 0;
  const std::string format = std::string(kMagic) + " version=%31s seed=%lu date=%4d-%2d-%2d%c";
  const int read = std::sscanf(line.c_str(), format.c_str(), version, &seed, &header.Start.Year, &header.Start.Month,
                               &header.Start.Day, &tail);
  if (read != 5 || seed > UINT32_MAX || header.Start.Month < 1 || header.Start.Month > 12 || header.Start.Day < 1 ||
      header.Start.Day > 31) {
    why = "not a Mibbetfall recording (its first line is not a recording's header)";
    return std::nullopt;
  }
  header.Version = version;
  header.Seed = std::uint32_t(seed);
  return header;
}

// The table's lines, then the settings' lines, follow the first line; the file is left at the
// first line of neither kind, counted in lineNumber.
void ReadHeaderLines(std::ifstream& file, ReplayHeader& header, int& lineNumber) {
  constexpr std::size_t kMostTableLines = 10, kLongestTableLine = 64;
  std::string line;
  for (std::streampos before = file.tellg();; before = file.tellg()) {
    const bool read = ReadBoundedLine(file, line, LongestRecordingLine) == LineRead::Line;
    if (read && line.rfind(kTableLine, 0) == 0 && line.size() <= kLongestTableLine &&
        header.HighScores.size() < kMostTableLines && header.Settings.empty()) {
      header.HighScores.push_back(line.substr(std::strlen(kTableLine)));
    } else if (read && line.rfind(kSettingLine, 0) == 0) {
      header.Settings.push_back(line.substr(std::strlen(kSettingLine)));
    } else {
      file.clear();
      file.seekg(before);
      return;
    }
    ++lineNumber;
  }
}

}  // namespace

std::optional<ReplayHeader> OpenReplay(const std::string& path, std::ifstream& file, std::string& why, int& bodyLine) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    why = "cannot open " + path;
    return std::nullopt;
  }
  file.open(path);
  std::string first;
  const LineRead firstRead = file ? ReadBoundedLine(file, first, LongestRecordingLine) : LineRead::End;
  if (firstRead == LineRead::End) {
    why = "cannot read " + path;
    return std::nullopt;
  }
  auto header = ReadReplayHeader(first, why);
  if (header && header->Version != GameFileVersion()) {
    why = path + " was recorded by version " + header->Version + "; this is version " + GameFileVersion();
    return std::nullopt;
  }
  if (!header) {
    why = path + " is " + why;
    return std::nullopt;
  }
  bodyLine = 2;
  ReadHeaderLines(file, *header, bodyLine);
  return header;
}

ReplayRecorder::ReplayRecorder(const std::string& path, const ReplayHeader& header, std::int64_t startMs,
                               std::int64_t maxBytes, RecordingFile kind)
    : path_(path), lastMs_(startMs), bytesLeft_(maxBytes) {
  if (kind == RecordingFile::Named) {
    file_ = FileWriter(OpenNamedFileForWriting(path, error_));
  } else {
    file_ = FileWriter(CreatePrivateFile(path.c_str()));
    if (!file_.IsOpen()) error_ = std::strerror(errno);
  }
  Start(header);
}

ReplayRecorder::ReplayRecorder(FileWriter file, const std::string& path, const ReplayHeader& header,
                               std::int64_t startMs, std::int64_t maxBytes)
    : path_(path), file_(std::move(file)), lastMs_(startMs), bytesLeft_(maxBytes) {
  Start(header);
}

ReplayRecorder::~ReplayRecorder() { Flush(); }

void ReplayRecorder::Start(const ReplayHeader& header) {
  const std::string lines = ReplayHeaderLines(header);
  WriteLine(lines.substr(0, lines.size() - 1));
  // The header on disk at once: a game that dies early still names its seed.
  Flush();
}

void ReplayRecorder::Input(std::int64_t nowMs, const std::string& line) {
  WaitUntil(nowMs);
  WriteLine(line);
}

void ReplayRecorder::Flush() {
  if (buffer_.empty()) return;
  if (!file_.Write(buffer_)) SayIncomplete();
  buffer_.clear();
}

void ReplayRecorder::Close(std::int64_t nowMs) {
  WaitUntil(nowMs);
  Flush();
  if (file_.IsOpen() && !file_.Close()) SayIncomplete();
}

void ReplayRecorder::SayIncomplete() {
  if (saidIncomplete_ || !file_.Failed()) return;
  saidIncomplete_ = true;
  std::fprintf(stderr, "mibbetfall: the recording %s is incomplete: %s\n", path_.c_str(), file_.Error().c_str());
}

void ReplayRecorder::WaitUntil(std::int64_t nowMs) {
  // A replay takes waits of at most a day a line.
  constexpr std::int64_t kLongestWaitLine = 86'400'000;
  while (nowMs > lastMs_) {
    const std::int64_t wait = std::min(nowMs - lastMs_, kLongestWaitLine);
    WriteLine("wait " + std::to_string(wait));
    lastMs_ += wait;
  }
}

void ReplayRecorder::WriteLine(const std::string& line) {
  if (!file_.IsOpen() || file_.Failed() || bytesLeft_ < std::int64_t(line.size()) + 1) return;
  buffer_ += line;
  buffer_ += '\n';
  bytesLeft_ -= std::int64_t(line.size()) + 1;
  // A burst of input between two flushes still takes little memory.
  constexpr std::size_t kLargestBuffer = 64 << 10;
  if (buffer_.size() >= kLargestBuffer) Flush();
}

std::string NextRecentRecording(const std::string& folder, std::int64_t unixSeconds, int keep) {
  namespace fs = std::filesystem;
  std::error_code error;
  std::vector<fs::path> recordings;
  for (const auto& entry : fs::directory_iterator(folder, error))
    if (entry.path().extension() == ".replay" && entry.path().filename().string().rfind("game-", 0) == 0)
      recordings.push_back(entry.path());
  std::sort(recordings.begin(), recordings.end());
  // Room for the new one among the kept.
  const std::size_t kept = std::size_t(std::max(keep - 1, 0));
  for (std::size_t i = 0; i + kept < recordings.size(); ++i) fs::remove(recordings[i], error);
  char name[64];
  std::snprintf(name, sizeof name, "game-%012lld-%d.replay", static_cast<long long>(unixSeconds), int(::getpid()));
  return folder + name;
}
