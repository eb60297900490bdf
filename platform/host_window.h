// Port: what the window host does besides showing frames: the loading banner.
#pragma once

#include "presentation/bitmap32.h"

class HostWindow {
 public:
  virtual ~HostWindow() = default;
  virtual void ShowLoadingBanner(const Bitmap32& banner) = 0;
  virtual void HideLoadingBanner() = 0;
};
