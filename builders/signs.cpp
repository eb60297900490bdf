// Signs: creation, the cell tests of the build menu, no-build marks and the sign counter.
#include "app/main_window.h"

void TForm1::CreateSign(int, int, bool, int) {}

int TForm1::FindSign(int, int) const { return -1; }

bool TForm1::IsNoBuildCell(int, int) const { return false; }

void TForm1::ShowNoBuildMarks(bool) {}

void TForm1::RefreshSignCounter() {
  ShownSignCount = int(Signs.size());
  DrawCounter(imSignsCt, std::to_string(ShownSignCount) + "/" + std::to_string(int(Builders.size()) * MAX_SIGN));
}
