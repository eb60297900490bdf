// What a creature shoots at, and its shot.
#include "app/main_window.h"

int TForm1::AcquireTarget(int) { return -1; }

void TForm1::FireShot(int) {}
