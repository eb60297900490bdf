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
  // How many loop points have passed. They change nothing on screen, so a window host need not
  // draw again after a wake that only they used.
  int LoopPointsPassed() const { return loopPointsPassed_; }

 private:
  void ArmLoopTimer();
  void LoopPoint();
  void PlaybackStarted();
  // Loop timer intervals never fall below 100 ms: 0 or less would fire without end.
  void StartLoopTimer(int intervalMs);

  Scheduler& timers_;
  std::unique_ptr<MusicTrack> track_;
  Timer& loopTimer_;
  int loopPointsPassed_ = 0;
};
