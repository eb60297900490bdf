#include "platform/sdl/ttf_font_rasterizer.h"

#include <SDL_ttf.h>

#include <cstring>
#include <iostream>

namespace {
const char* const kRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
}  // namespace

TtfFontRasterizer::TtfFontRasterizer() {
  ready_ = TTF_Init() == 0;
  if (!ready_) std::cerr << "mibbetfall: no typeface: " << TTF_GetError() << "\n";
}

TtfFontRasterizer::~TtfFontRasterizer() {
  for (auto& [key, font] : fonts_)
    if (font) TTF_CloseFont(font);
  if (ready_) TTF_Quit();
}

TTF_Font* TtfFontRasterizer::FontFor(int pixelHeight, bool bold) {
  const auto key = std::make_pair(pixelHeight, bold);
  if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second;
  TTF_Font* font = TTF_OpenFont(bold ? kBold : kRegular, pixelHeight);
  if (!font) std::cerr << "mibbetfall: typeface missing: " << TTF_GetError() << "\n";
  fonts_[key] = font;
  return font;
}

Bitmap32 TtfFontRasterizer::Render(const std::string& text, int pixelHeight, bool bold, Pixel colour) {
  if (!ready_ || text.empty()) return {};
  TTF_Font* font = FontFor(pixelHeight, bold);
  if (!font) return {};
  const SDL_Color ink{Uint8(PixelRed(colour)), Uint8(PixelGreen(colour)), Uint8(PixelBlue(colour)), 255};
  SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), ink);
  if (!rendered) return {};
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (!argb) return {};
  Bitmap32 picture(argb->w, argb->h);
  for (int y = 0; y < argb->h; ++y)
    std::memcpy(picture.Row(y), static_cast<const unsigned char*>(argb->pixels) + std::size_t(y) * argb->pitch,
                std::size_t(argb->w) * sizeof(Pixel));
  SDL_FreeSurface(argb);
  return picture;
}
