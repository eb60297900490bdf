// Port: the one sound-effect voice.
#pragma once

#include <string>

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // Plays a WAV file. A plain request stops the playing cue first; with onlyIfIdle the request
  // is dropped while another cue still sounds.
  virtual void Play(const std::string& path, bool onlyIfIdle) = 0;
  virtual void Stop() = 0;
  // A cue its channel's throttle refused; it never reaches the voice. Only tools listen.
  virtual void HeldBack(const std::string& path) { (void)path; }
};
