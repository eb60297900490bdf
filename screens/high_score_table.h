// The table of the ten best scores: its lines and the 5 x 10 picture file that stores them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "presentation/bitmap32.h"

constexpr int HighScoreLineCount = 10;
constexpr int HighScoreNameLength = 12;
// A score is stored in 24 bits; a larger one is kept as the largest that fits.
constexpr std::int64_t LargestStoredScore = 16777215;

// The number as decimal text, with "0" put in front until it is at least width characters long.
std::string ZeroPad(std::int64_t number, int width);
// A table line: the zero-padded score, one space, the name.
std::string HighScoreLine(std::int64_t score, const std::string& name);
// The number before the line's first space; the name is everything after it.
std::int64_t HighScoreOfLine(const std::string& line);
std::string NameOfLine(const std::string& line);

// The table a first start writes, best first.
std::vector<std::string> DefaultHighScoreLines();
// Best first: the lines' whole texts compared without regard to case, in descending order.
void SortHighScoreLines(std::vector<std::string>& lines);

// One row a line: pixel 0 holds the score in red, green and blue (low byte first), pixels 1 to 4
// the name's twelve characters, three a pixel.
Bitmap32 HighScorePicture(const std::vector<std::string>& lines);
// Ten lines from a picture; a row the picture does not have, or cannot hold, takes the default
// table's line of that row.
std::vector<std::string> HighScoreLinesFromPicture(const Bitmap32& picture);
