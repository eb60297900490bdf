// The names of the catalogue pictures in load order: a picture's index is its position here.
// Shared by the game, which loads them, and the asset generator, which draws them.
#pragma once

#include <string>
#include <vector>

// The 40 glyph names of one font set ("f0" or "f1"), in glyph order: digits, the slash ("of"),
// A to Z, the space (a name ending in a blank), "_" and "-".
std::vector<std::string> FontGlyphNames(const std::string& setPrefix);

// All 184 catalogue names; the glyphs carry their "font/" folder.
const std::vector<std::string>& CatalogueNames();
