// Any bytes as hs.bmp: read as the game reads its table, then sorted and written back.
#include <cstdint>

#include "platform/bmp_file.h"
#include "screens/high_score_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<Bitmap32> picture = DecodeBmp(data, size);
  if (!picture) return 0;
  std::vector<std::string> lines = HighScoreLinesFromPicture(*picture);
  if (lines.size() != std::size_t(HighScoreLineCount)) __builtin_trap();
  for (const std::string& line : lines)
    if (HighScoreOfLine(line) < 0 || HighScoreOfLine(line) > LargestStoredScore) __builtin_trap();
  SortHighScoreLines(lines);
  HighScorePicture(lines);
  return 0;
}
