// Text in the two bitmap fonts: one layer per character.
#include "presentation/text.h"

#include "app/main_window.h"

void TForm1::DrawText(TLayeredImageControl& image, const std::string& text, int set, bool clear, int x, int y,
                      int tag) {
  LayeredImage& target = image.Image;
  if (clear) {
    if (tag == 0) {
      // Counters sit on white panels; the high-score screen is black and clears to black.
      target.Bitmap.Fill(&image == &imHiScore ? MakePixel(0, 0, 0) : MakePixel(255, 255, 255));
    }
    for (int i = target.LayerCount() - 1; i >= 0; --i)
      if (tag == 0 || target.LayerAt(i).Tag == tag) target.DestroyLayerAt(i);
  }
  int pen = x;
  for (char ch : text) {
    const int glyph = GlyphIndex(ch, GlyphsPerSet * set);
    if (glyph < 0) continue;  // no glyph: nothing drawn, the pen stays
    BitmapLayer& layer = target.CreateLayer();
    layer.ShowPicture(Sprites.At(BmpFont + glyph));
    layer.Mode = DrawMode::Opaque;
    layer.Tag = tag;
    const int width = layer.PictureWidth();
    layer.Location = {float(pen), float(y), float(pen + width), float(y + layer.PictureHeight())};
    pen += width;
  }
  image.LastText = text;
}

void TForm1::AddPictureLayer(TLayeredImageControl& image, int x, int y, int picture, int alpha, int tag) {
  BitmapLayer& layer = image.Image.CreateLayer();
  layer.ShowPicture(Sprites.At(picture));
  if (x == -1) x = (PlayfieldSize - layer.PictureWidth()) / 2;
  layer.Location = {float(x), float(y), float(x + layer.PictureWidth()), float(y + layer.PictureHeight())};
  layer.MasterAlpha = alpha;
  layer.Mode = alpha != 255 ? DrawMode::Blend : DrawMode::Opaque;
  layer.Tag = tag;
}
