#include "screens/high_score_table.h"

#include <algorithm>
#include <cctype>

namespace {
constexpr int kPictureWidth = 1 + HighScoreNameLength / 3;
constexpr int kZeroPadWidth = 10;

std::string Lowered(const std::string& text) {
  std::string lowered = text;
  for (char& c : lowered) c = char(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}
}  // namespace

std::string ZeroPad(std::int64_t number, int width) {
  std::string text = std::to_string(number);
  if (int(text.size()) < width) text.insert(0, std::size_t(width) - text.size(), '0');
  return text;
}

std::string HighScoreLine(std::int64_t score, const std::string& name) {
  return ZeroPad(std::clamp<std::int64_t>(score, 0, LargestStoredScore), kZeroPadWidth) + " " + name;
}

std::int64_t HighScoreOfLine(const std::string& line) {
  std::int64_t score = 0;
  for (char c : line.substr(0, line.find(' '))) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    score = std::min<std::int64_t>(score * 10 + (c - '0'), LargestStoredScore);
  }
  return score;
}

std::string NameOfLine(const std::string& line) {
  const std::size_t space = line.find(' ');
  return space == std::string::npos ? std::string() : line.substr(space + 1);
}

std::vector<std::string> DefaultHighScoreLines() {
  std::vector<std::string> lines;
  for (int i = 1; i <= HighScoreLineCount; ++i) {
    const int score = i == 10 ? 10000 : i == 9 ? 5000 : 500 * i;
    lines.push_back(HighScoreLine(score, i % 2 == 0 ? "MIB" : "BET"));
  }
  SortHighScoreLines(lines);
  return lines;
}

void SortHighScoreLines(std::vector<std::string>& lines) {
  std::stable_sort(lines.begin(), lines.end(),
                   [](const std::string& a, const std::string& b) { return Lowered(a) < Lowered(b); });
  std::reverse(lines.begin(), lines.end());
}

Bitmap32 HighScorePicture(const std::vector<std::string>& lines) {
  Bitmap32 picture(kPictureWidth, int(lines.size()));
  for (int y = 0; y < int(lines.size()); ++y) {
    const auto score = std::uint32_t(HighScoreOfLine(lines[std::size_t(y)]));
    picture.Set(0, y, MakePixel(score & 0xFF, (score >> 8) & 0xFF, (score >> 16) & 0xFF));
    const std::string name =
        (NameOfLine(lines[std::size_t(y)]) + std::string(HighScoreNameLength, ' ')).substr(0, HighScoreNameLength);
    const auto code = [&](int i) { return static_cast<unsigned char>(name[std::size_t(i)]); };
    for (int p = 1; p < kPictureWidth; ++p) {
      const int first = 3 * (p - 1);
      picture.Set(p, y, MakePixel(code(first), code(first + 1), code(first + 2)));
    }
  }
  return picture;
}

std::vector<std::string> HighScoreLinesFromPicture(const Bitmap32& picture) {
  std::vector<std::string> lines = DefaultHighScoreLines();
  if (picture.Width() < kPictureWidth) return lines;
  for (int y = 0; y < std::min(picture.Height(), HighScoreLineCount); ++y) {
    const Pixel scorePixel = picture.At(0, y);
    const std::int64_t score = PixelRed(scorePixel) | (PixelGreen(scorePixel) << 8) | (PixelBlue(scorePixel) << 16);
    std::string name;
    for (int p = 1; p < kPictureWidth; ++p) {
      const Pixel pixel = picture.At(p, y);
      for (int channel : {PixelRed(pixel), PixelGreen(pixel), PixelBlue(pixel)}) name += char(channel);
    }
    lines[std::size_t(y)] = HighScoreLine(score, name);
  }
  return lines;
}
