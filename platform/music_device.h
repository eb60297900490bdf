// Port: music tracks. Only one track sounds at a time; a track that does not own the output
// never silences the one that does.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

class MusicTrack {
 public:
  virtual ~MusicTrack() = default;
  // False when the file is missing or cannot be decoded; the track then stays silent.
  virtual bool Open(const std::string& path) = 0;
  // Starts or resumes playback from the current position.
  virtual void Run() = 0;
  virtual void Pause() = 0;
  virtual void Halt() = 0;
  virtual void SeekToStart() = 0;
  virtual std::optional<int> DurationMs() const = 0;
  virtual int PositionMs() const = 0;
  // Called when playback actually starts running from a stopped state.
  void OnStarted(std::function<void()> listener) { started_ = std::move(listener); }

 protected:
  void ReportStarted() {
    if (started_) started_();
  }

 private:
  std::function<void()> started_;
};

class MusicDevice {
 public:
  virtual ~MusicDevice() = default;
  virtual std::unique_ptr<MusicTrack> CreateTrack() = 0;
};
