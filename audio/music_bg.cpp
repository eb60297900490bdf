#include "audio/MusicBG.h"

#include <algorithm>

TBackgroundMusic::TBackgroundMusic(Scheduler& timers, std::unique_ptr<MusicTrack> track, const std::string& timerName)
    : timers_(timers), track_(std::move(track)), loopTimer_(timers.Add(timerName, 0, [this] { LoopPoint(); })) {
  track_->OnStarted([this] { PlaybackStarted(); });
}

TBackgroundMusic::~TBackgroundMusic() { timers_.Remove(loopTimer_); }

void TBackgroundMusic::Open(const std::string& name) {
  if (name == FileName) return;
  FileName = name;
  track_->Open(name);
}

void TBackgroundMusic::StartLoopTimer(int intervalMs) {
  // A damaged or very short track must not wake the game a thousand times a second: such a
  // track is restarted ten times a second at most.
  constexpr int kShortestLoopMs = 100;
  loopTimer_.SetEnabled(false);
  loopTimer_.SetInterval(std::max(intervalMs, kShortestLoopMs));
  loopTimer_.SetEnabled(true);
}

void TBackgroundMusic::ArmLoopTimer() {
  if (const auto duration = track_->DurationMs()) StartLoopTimer(*duration - LeadMs);
}

void TBackgroundMusic::Play() {
  track_->Run();
  Playing = true;
  Paused = false;
  if (!loopTimer_.Enabled()) ArmLoopTimer();
}

void TBackgroundMusic::TogglePause() {
  if (!Playing) {
    Play();
  } else if (Paused) {
    track_->Run();
    Paused = false;
    if (const auto duration = track_->DurationMs()) StartLoopTimer(*duration - PausedAtMs - LeadMs);
  } else {
    PausedAtMs = track_->PositionMs();
    track_->Pause();
    Paused = true;
    loopTimer_.SetEnabled(false);
  }
}

void TBackgroundMusic::Stop() {
  track_->SeekToStart();
  Playing = false;
  Paused = false;
  loopTimer_.SetEnabled(false);
  track_->Halt();
}

void TBackgroundMusic::LoopPoint() {
  ++loopPointsPassed_;
  track_->SeekToStart();
  loopTimer_.SetEnabled(false);
  ArmLoopTimer();
  if (!Loop) {
    track_->Halt();
    loopTimer_.SetEnabled(false);
  }
}

void TBackgroundMusic::PlaybackStarted() {
  loopTimer_.SetEnabled(false);
  ArmLoopTimer();
}
