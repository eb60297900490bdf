// Port: system text for the few places that use a typeface rather than the game's bitmap
// fonts (the version text on the splash picture, the debug key help).
#pragma once

#include <string>

#include "presentation/bitmap32.h"

class FontRasterizer {
 public:
  virtual ~FontRasterizer() = default;
  // The text in the given colour on a transparent background; empty when no typeface is
  // available. pixelHeight is the typeface size in pixels.
  virtual Bitmap32 Render(const std::string& text, int pixelHeight, bool bold, Pixel colour) = 0;
};
