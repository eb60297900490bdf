// Keyboard dispatch: which key does what in which state of the game.
#include <cctype>

#include "app/main_window.h"

namespace {
constexpr char kEsc = 27;
}

void TForm1::FormKeyPress(char ch) {
  if (NameEntryState == 1) {
    NameEntryKey(ch);
    return;
  }
  if (NameEntryState == 2) {
    PostAnswerKey(ch);
    return;
  }
  const char key = char(std::toupper(static_cast<unsigned char>(ch)));
  if (ch == kEsc && GameMode == ModeTutorial) EndTutorial();
  if (pnlTutorial.Visible) {
    if (key == 'Y') {
      pnlTutorial.Visible = false;
      StartTutorial();
    } else if (key == 'N') {
      pnlTutorial.Visible = false;
      StartGame();
    }
  }
  if (key == 'M') ToggleMusic();
  if (key == 'S') SoundOn = !SoundOn;
  if (key == 'P' && GameMode == ModePlaying) ToggleGamePause();
}

void TForm1::FormKeyUp(int key) {
  constexpr int kBackspace = 8;
  if (NameEntryState == 1 && key == kBackspace && !EnteredName.empty()) NameEntryBackspace();
}
