// Seed pictures for the fuzz targets of the picture readers: one small, valid file of each form
// the readers know, from which the fuzzer mutates its way into the damaged ones.
#pragma once

#include <string>

namespace assetgen {

// Writes DIR/bmp/*.bmp (palette, 16-bit bit fields, 24-bit, top-down 32-bit with alpha, the old
// core header) and DIR/high_scores/default.bmp (the table a first start writes).
bool WriteFuzzSeeds(const std::string& dir);

}  // namespace assetgen
