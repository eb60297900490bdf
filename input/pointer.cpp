// The playfield pointer and the build and orb menus.
#include "app/main_window.h"

void TForm1::PlayfieldMouseMove(int x, int y) {
  Cursor->SetCellX(x / CellSize);
  Cursor->SetCellY(y / CellSize);
}

void TForm1::PlayfieldMouseDown(MouseButton, int, int) {}

void TForm1::MenuImgMouseMove(int, int) {}

void TForm1::MenuImgMouseDown(MouseButton, int, int) {}

void TForm1::OrbMenuImgMouseMove(int, int) {}

void TForm1::OrbMenuImgMouseDown(MouseButton, int, int) {}
