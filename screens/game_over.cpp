// The end of a game: explosions, the game-over panel and the way back to the splash.
#include "app/main_window.h"

void TForm1::EndGame() {}

void TForm1::tmrSplodeTimer() {}

void TForm1::tmrScrollETTimer() {}

void TForm1::PaintBox1Click() {}
