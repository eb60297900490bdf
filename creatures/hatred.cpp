// The hatred meter: which kind hunts which, its warning and its picture.
#include "app/main_window.h"
#include "platform/bmp_file.h"

namespace {
constexpr int kShortestWarningGapMs = 45000;
constexpr int kWarningGapStepMs = 5000;
}  // namespace

void TForm1::SetHatred() {
  const std::string file = HatredState == 1 ? "rhs1.bmp" : HatredState == 2 ? "rhs2.bmp" : "";
  if (file.empty()) return;
  if (std::optional<Bitmap32> picture = ReadBmp(AssetDir + file)) imHatred.Image.Bitmap = std::move(*picture);
}

void TForm1::NextHatred() {
  int next;
  do next = Rng.RandomRange(1, 3);
  while (next == HatredState);
  HatredState = next;
  SetHatred();
}

void TForm1::tmrRHSTimer() {
  tmrRHS.SetEnabled(false);
  spHatred.Visible = true;
  spHatred.Tag = 0;
  if (GameMode != ModeGameOver) PlaySfx("hatewarning", 0);
  // Warnings come more often the longer the game runs, down to every 40 seconds.
  if (tmrRHS.Interval() >= kShortestWarningGapMs) tmrRHS.SetInterval(tmrRHS.Interval() - kWarningGapStepMs);
  tmrRHS.SetEnabled(true);
}
