// Which music track sounds: the stage of the game, and the music key.
#include <algorithm>

#include "app/main_window.h"

namespace {
constexpr int kClosingStage = 4;
}

TBackgroundMusic* TForm1::StopAllButStageTrack() {
  // Only one track may sound: every other track stops before the stage's track is touched.
  for (int i = 0; i < int(Music.size()); ++i)
    if (i != MusicStage && Music[std::size_t(i)]) Music[std::size_t(i)]->Stop();
  return MusicStage >= 0 && MusicStage < int(Music.size()) ? Music[std::size_t(MusicStage)].get() : nullptr;
}

void TForm1::ApplyMusicStage() {
  if (!MusicOn) return;
  if (TBackgroundMusic* track = StopAllButStageTrack()) track->Play();
}

int MusicStageForBaseTurrets(int standing) {
  if (standing >= 4) return 1;
  if (standing >= 2) return 2;
  return 3;
}

void TForm1::UpdateMusicStage() {
  if (MusicStage == kClosingStage) return;
  const int standing = int(std::count_if(Turrets.begin(), Turrets.end(), [](const auto& t) { return t->BaseTurret; }));
  const int stage = MusicStageForBaseTurrets(standing);
  if (stage == MusicStage) return;
  MusicStage = stage;
  ApplyMusicStage();
}

void TForm1::ToggleMusic() {
  MusicOn = !MusicOn;
  ShowSwitches();
  if (TBackgroundMusic* track = StopAllButStageTrack()) track->TogglePause();
}
