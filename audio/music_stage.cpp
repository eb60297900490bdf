// Which music track sounds: the stage of the game, and the music key.
#include "app/main_window.h"

void TForm1::ApplyMusicStage() {
  if (!MusicOn) return;
  for (int i = 0; i < int(Music.size()); ++i) {
    if (!Music[i]) continue;
    if (i == MusicStage) Music[i]->Play();
    else Music[i]->Stop();
  }
}

void TForm1::UpdateMusicStage() {}

void TForm1::ToggleMusic() {
  MusicOn = !MusicOn;
  for (int i = 0; i < int(Music.size()); ++i) {
    if (!Music[i]) continue;
    if (i == MusicStage) Music[i]->TogglePause();
    else Music[i]->Stop();
  }
}
