// The bitmap-font character map.
#pragma once

constexpr int GlyphsPerSet = 40;

// setBase + the glyph offset of ch (digits, "/", A to Z, space, "_", "-"); -1 for any other.
int GlyphIndex(char ch, int setBase);
