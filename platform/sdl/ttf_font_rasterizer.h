// System text through SDL_ttf with the DejaVu typeface.
#pragma once

#include <map>
#include <utility>

#include "platform/font_rasterizer.h"

struct _TTF_Font;

class TtfFontRasterizer : public FontRasterizer {
 public:
  TtfFontRasterizer();
  ~TtfFontRasterizer() override;
  TtfFontRasterizer(const TtfFontRasterizer&) = delete;
  TtfFontRasterizer& operator=(const TtfFontRasterizer&) = delete;

  Bitmap32 Render(const std::string& text, int pixelHeight, bool bold, Pixel colour) override;

 private:
  _TTF_Font* FontFor(int pixelHeight, bool bold);
  bool ready_ = false;
  std::map<std::pair<int, bool>, _TTF_Font*> fonts_;
};
