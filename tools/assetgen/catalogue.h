// Every picture the game loads, with its file name, in the order the game loads the catalogue.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "presentation/bitmap32.h"

namespace assetgen {

struct PictureSpec {
  std::string name;  // file name without ".bmp", "font/" names in the sub-folder
  std::function<Bitmap32()> draw;
  bool transparent = false;  // gets an alpha companion "<name>A.bmp"
};

// The 184 catalogue pictures, in load order.
std::vector<PictureSpec> CataloguePictures();
// Menu frames, panel pictures and screens loaded straight into window controls.
std::vector<PictureSpec> ScreenPictures();

}  // namespace assetgen
