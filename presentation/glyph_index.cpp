// Which characters the bitmap fonts draw, and where: shared with the score server, which takes
// only names the game could have typed.
#include "presentation/text.h"

int GlyphIndex(char ch, int setBase) {
  int offset = -1;
  if (ch >= '0' && ch <= '9') offset = ch - '0';
  else if (ch == '/') offset = 10;
  else if (ch >= 'A' && ch <= 'Z') offset = 11 + (ch - 'A');
  else if (ch == ' ') offset = 37;
  else if (ch == '_') offset = 38;
  else if (ch == '-') offset = 39;
  return offset < 0 ? -1 : setBase + offset;
}
