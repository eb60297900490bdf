#include "platform/sdl/window_fit.h"

#include <algorithm>

namespace {

// Division that rounds towards minus infinity: a pointer just left of the frame is left of it.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

int LargestScale(Size frame, Size room, Size decorations) {
  if (frame.Width <= 0 || frame.Height <= 0) return 1;
  const int across = (room.Width - decorations.Width) / frame.Width;
  const int down = (room.Height - decorations.Height) / frame.Height;
  return std::max(1, std::min(across, down));
}

FrameFit FitFrame(Size frame, Size window) {
  const int scale = LargestScale(frame, window);
  return {scale, std::max(0, (window.Width - frame.Width * scale) / 2),
          std::max(0, (window.Height - frame.Height * scale) / 2)};
}

FramePoint ToFramePixel(const FrameFit& fit, Size frame, int x, int y) {
  return {std::clamp(FloorDiv(x - fit.Left, fit.Scale), 0, frame.Width - 1),
          std::clamp(FloorDiv(y - fit.Top, fit.Scale), 0, frame.Height - 1)};
}
