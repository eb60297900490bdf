// One background-music track that loops without a gap by restarting a little before its end.
#pragma once

#include <memory>
#include <string>

#include "platform/music_device.h"
#include "platform/scheduler.h"

class TBackgroundMusic {
 public:
  TBackgroundMusic(Scheduler& timers, std::unique_ptr<MusicTrack> track, const std::string& timerName);
  ~TBackgroundMusic();
  TBackgroundMusic(const TBackgroundMusic&) = delete;
  TBackgroundMusic& operator=(const TBackgroundMusic&) = delete;

  void Open(const std::string& name);
  void Play();
  void TogglePause();
  void Stop();

  bool Loop = true;
  int LeadMs = 100;
  bool Playing = false;
  bool Paused = false;
  int PausedAtMs = 0;
  std::string FileName;
  const Timer& LoopTimer() const { return loopTimer_; }

 private:
  void ArmLoopTimer();
  void LoopPoint();
  void PlaybackStarted();
  // Loop timer intervals never reach 0 or less, which would fire without end.
  void StartLoopTimer(int intervalMs);

  Scheduler& timers_;
  std::unique_ptr<MusicTrack> track_;
  Timer& loopTimer_;
};
