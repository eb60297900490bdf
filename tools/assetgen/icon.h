// The game's icon for desktops and menus: the three kinds before the base's orb.
#pragma once

#include <string>

#include "presentation/bitmap32.h"

namespace assetgen {

// The icon drawn at size x size pixels (any size; drawn afresh, not scaled, so it stays crisp).
Bitmap32 DrawIcon(int size);

// Writes DIR/NxN/apps/mibbetfall.png for each size a desktop asks for, in the layout of the
// hicolor icon theme.
bool WriteIcons(const std::string& dir);

}  // namespace assetgen
