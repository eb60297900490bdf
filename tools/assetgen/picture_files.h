// Writing pictures: BMP files with alpha companions, the embedded-picture source and the contact sheet.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/catalogue.h"

namespace assetgen {

// Writes dir/<name>.bmp and, for a transparent picture, dir/<name>A.bmp (grey: white opaque).
bool WritePicture(const std::string& dir, const std::string& name, const Bitmap32& picture, bool transparent);
// C++ source defining the functions of presentation/embedded_pictures.h from run-length pixel data.
std::string EmbeddedPicturesSource();
// Every catalogue picture on a grid over the floor tile, each labelled with its index and name.
Bitmap32 ContactSheet(const std::vector<PictureSpec>& specs, const std::vector<Bitmap32>& pictures);

}  // namespace assetgen
