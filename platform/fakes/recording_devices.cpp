#include <filesystem>

#include "platform/fakes.h"
#include "platform/files.h"

void RecordingSoundDevice::Play(const std::string& path, bool) {
  Requested.push_back(std::filesystem::path(path).stem().string());
  Log.push_back({Requested.back(), true});
}

void RecordingSoundDevice::HeldBack(const std::string& path) {
  auto known = heldBackNames_.find(path);
  if (known == heldBackNames_.end())
    known = heldBackNames_.emplace(path, FileExists(path) ? std::filesystem::path(path).stem().string() : "").first;
  if (!known->second.empty()) Log.push_back({known->second, false});
}

namespace {

class RecordingTrack : public MusicTrack {
 public:
  explicit RecordingTrack(RecordingMusicDevice& device) : device_(device) {}
  bool Open(const std::string& path) override {
    name_ = std::filesystem::path(path).filename().string();
    return Record("open");
  }
  void Run() override {
    const bool fromStopped = !running_;
    running_ = true;
    Record("run");
    if (fromStopped) ReportStarted();
  }
  void Pause() override { Record("pause"); }
  void Halt() override {
    running_ = false;
    Record("halt");
  }
  void SeekToStart() override { Record("rewind"); }
  std::optional<int> DurationMs() const override { return device_.TrackDurationMs; }
  int PositionMs() const override { return 0; }

 private:
  bool Record(const char* what) {
    device_.Events.push_back(std::string(what) + " " + name_);
    return true;
  }
  RecordingMusicDevice& device_;
  std::string name_;
  bool running_ = false;
};

}  // namespace

std::unique_ptr<MusicTrack> RecordingMusicDevice::CreateTrack() { return std::make_unique<RecordingTrack>(*this); }
