// Creature movement and steering by signs.
#include "app/main_window.h"

void TForm1::UpdateMibbets() {}

void TForm1::CheckCell(int, int, int) {}
