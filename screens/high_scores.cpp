// The local high-score table, its file and the name entry.
#include "app/main_window.h"

void TForm1::EnsureHighScoreFile() {}

void TForm1::LoadHighScores() {}

void TForm1::imHiScoreClick() {}

void TForm1::NameEntryKey(char) {}

void TForm1::NameEntryBackspace() {}

void TForm1::PostAnswerKey(char) {}

void TForm1::tmrHiScoreFlickerTimer() {}
