// The high-score table: hs.bmp on disk, the table in memory, the screen, the name entry and the
// post question.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/bmp_file.h"
#include "presentation/text.h"
#include "screens/high_score_table.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPanelX = 358, kPanelY = 358;  // a window point over the middle of the panels
constexpr int kNameCursorTag = -2, kNameCursorBlankTag = -3;

// The default table as hs.bmp gives it back: names padded to twelve characters.
const std::vector<std::string> kDefaultTable = {
    "0000010000 MIB         ", "0000005000 BET         ", "0000004000 MIB         ", "0000003500 BET         ",
    "0000003000 MIB         ", "0000002500 BET         ", "0000002000 MIB         ", "0000001500 BET         ",
    "0000001000 MIB         ", "0000000500 BET         "};

std::string Padded(std::int64_t score, const std::string& name) {
  return ZeroPad(score, 10) + " " + (name + std::string(12, ' ')).substr(0, 12);
}

// Lines as the file holds them: a default line made in memory carries its name unpadded.
std::vector<std::string> AsInFile(const std::vector<std::string>& lines) {
  std::vector<std::string> padded;
  for (const std::string& line : lines) padded.push_back(Padded(HighScoreOfLine(line), NameOfLine(line)));
  return padded;
}

// Reads the high-score screen back: which character each layer shows in the screen's font.
class Screen {
 public:
  explicit Screen(TForm1& g) : g_(g) {
    for (char c : std::string("0123456789/ABCDEFGHIJKLMNOPQRSTUVWXYZ _-"))
      glyphs_[g.Sprites.At(g.BmpFont + GlyphIndex(c, GlyphsPerSet)).get()] = c;
  }
  const LayeredImage& Image() const { return g_.imHiScore.Image; }
  char CharOf(const BitmapLayer& layer) const {
    const auto found = glyphs_.find(&layer.Picture());
    return found == glyphs_.end() ? '?' : found->second;
  }
  // The text drawn on row y from x on and left of xEnd, in pen order.
  std::string TextAt(int y, int x, int xEnd) const {
    std::vector<std::pair<float, char>> cells;
    for (int i = 0; i < Image().LayerCount(); ++i) {
      const BitmapLayer& l = Image().LayerAt(i);
      if (l.Location.Top == y && l.Location.Left >= x && l.Location.Left < xEnd && l.Tag == 0 && l.Visible)
        cells.push_back({l.Location.Left, CharOf(l)});
    }
    std::sort(cells.begin(), cells.end());
    std::string text;
    for (const auto& cell : cells) text += cell.second;
    return text;
  }
  // Score and name of table row i as drawn.
  std::pair<std::string, std::string> Row(int i) const {
    const int y = 72 + 56 * i;
    return {TextAt(y, 150, 370), TextAt(y, 370, 700)};
  }
  // The typed name: the layers tagged 1 to 12, in tag order, each where the pen left it.
  std::string TypedName() const {
    std::string name;
    float pen = 206;
    for (int tag = 1; tag <= 12; ++tag) {
      int found = 0;
      for (int i = 0; i < Image().LayerCount(); ++i) {
        const BitmapLayer& l = Image().LayerAt(i);
        if (l.Tag != tag) continue;
        ++found;
        EXPECT_EQ(l.Location.Left, pen) << "character " << tag;
        EXPECT_EQ(l.Location.Top, 300) << "character " << tag;
        pen += float(l.PictureWidth());
        name += CharOf(l);
      }
      EXPECT_LE(found, 1) << "character " << tag;
    }
    return name;
  }
  // The one name cursor, found by its tag; none when the screen holds none.
  const BitmapLayer* Cursor() const {
    const BitmapLayer* cursor = nullptr;
    for (int i = 0; i < Image().LayerCount(); ++i) {
      const BitmapLayer& l = Image().LayerAt(i);
      if (l.Tag != kNameCursorTag && l.Tag != kNameCursorBlankTag) continue;
      EXPECT_EQ(cursor, nullptr) << "two name cursors";
      cursor = &l;
    }
    return cursor;
  }
  bool CursorOnTop() const {
    return Image().LayerCount() > 0 && &Image().LayerAt(Image().LayerCount() - 1) == Cursor();
  }
  // A catalogue picture centred on the screen at y.
  bool Shows(int picture, int y) const {
    const Bitmap32* wanted = g_.Sprites.At(picture).get();
    for (int i = 0; i < Image().LayerCount(); ++i) {
      const BitmapLayer& l = Image().LayerAt(i);
      if (&l.Picture() == wanted && l.Location.Top == y && l.Location.Left == (700 - l.PictureWidth()) / 2) return true;
    }
    return false;
  }

 private:
  TForm1& g_;
  std::map<const Bitmap32*, char> glyphs_;
};

// ---- hs.bmp written by hand ----

void Put16(std::string& b, int v) {
  b += char(v & 0xFF);
  b += char((v >> 8) & 0xFF);
}
void Put32(std::string& b, std::uint32_t v) {
  Put16(b, int(v & 0xFFFF));
  Put16(b, int(v >> 16));
}

// An uncompressed BMP file, rows bottom-up as Windows writes them. Pixels are 0xRRGGBB; at 8 bits
// a pixel is the palette index of its red channel (the palette is grey), at 16 bits it is 5-5-5.
std::string BmpFile(int bitsPerPixel, const std::vector<std::vector<std::uint32_t>>& rows) {
  const int height = int(rows.size());
  const int width = height ? int(rows[0].size()) : 0;
  const int rowBytes = (width * bitsPerPixel / 8 + 3) / 4 * 4;
  const int paletteBytes = bitsPerPixel == 8 ? 256 * 4 : 0;
  const int offset = 14 + 40 + paletteBytes;
  std::string b = "BM";
  Put32(b, std::uint32_t(offset + rowBytes * height));
  Put32(b, 0);
  Put32(b, std::uint32_t(offset));
  Put32(b, 40);
  Put32(b, std::uint32_t(width));
  Put32(b, std::uint32_t(height));
  Put16(b, 1);
  Put16(b, bitsPerPixel);
  Put32(b, 0);  // no compression
  Put32(b, std::uint32_t(rowBytes * height));
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, bitsPerPixel == 8 ? 256 : 0);
  Put32(b, 0);
  for (int i = 0; i < paletteBytes / 4; ++i) b += {char(i), char(i), char(i), 0};
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (std::uint32_t p : rows[std::size_t(y)]) {
      const int r = int(p >> 16) & 0xFF, gr = int(p >> 8) & 0xFF, bl = int(p) & 0xFF;
      if (bitsPerPixel == 8) row += char(r);
      if (bitsPerPixel == 16) Put16(row, ((r >> 3) << 10) | ((gr >> 3) << 5) | (bl >> 3));
      if (bitsPerPixel >= 24) row += {char(bl), char(gr), char(r)};
      if (bitsPerPixel == 32) row += char(0xFF);
    }
    row.resize(std::size_t(rowBytes), '\0');
    b += row;
  }
  return b;
}

// The pixel rows that hold these lines in the table's layout.
std::vector<std::vector<std::uint32_t>> TableRows(const std::vector<std::pair<int, std::string>>& lines) {
  std::vector<std::vector<std::uint32_t>> rows;
  for (const auto& [score, name] : lines) {
    const std::string padded = (name + std::string(12, ' ')).substr(0, 12);
    std::vector<std::uint32_t> row{std::uint32_t(((score & 0xFF) << 16) | (score & 0xFF00) | ((score >> 16) & 0xFF))};
    for (int p = 0; p < 4; ++p) {
      const auto c = [&](int i) { return std::uint32_t(static_cast<unsigned char>(padded[std::size_t(3 * p + i)])); };
      row.push_back((c(0) << 16) | (c(1) << 8) | c(2));
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> LinesInFile(const std::string& path) {
  const std::optional<Bitmap32> picture = ReadBmp(path);
  EXPECT_TRUE(picture.has_value()) << path;
  return picture ? HighScoreLinesFromPicture(*picture) : std::vector<std::string>{};
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// ---- The file ----

TEST(HighScoreFile, AFirstStartWritesTheDefaultTable) {
  GameFixture f;
  TForm1& g = f.Game();
  const std::string path = f.Assets.Path() + "hs.bmp";
  ASSERT_TRUE(fs::exists(path));
  EXPECT_EQ(BmpBitsPerPixel(path), 24);
  const std::optional<Bitmap32> picture = ReadBmp(path);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->Width(), 5);
  EXPECT_EQ(picture->Height(), 10);
  EXPECT_EQ(HighScoreLinesFromPicture(*picture), kDefaultTable);
  EXPECT_EQ(g.HighScoreLines, kDefaultTable);
  EXPECT_EQ(g.HighScoreFloor, 500);
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  // The screen lists them best first.
  g.DrawHighScores();
  Screen screen(g);
  EXPECT_EQ(screen.Row(0), std::make_pair(std::string("10000"), std::string("MIB")));
  EXPECT_EQ(screen.Row(9), std::make_pair(std::string("500"), std::string("BET")));
}

// The table players already have was written by an earlier writer: it must still load, and what
// the game writes now must be the same bytes, so that older and newer games share one file. The
// asset generator lays that file out byte by byte, apart from the game's writer.
TEST(HighScoreFile, TheDefaultTableIsTheFileEarlierVersionsWrote) {
  const std::string earlier = std::string(MIBBETFALL_FUZZ_SEED_DIR) + "/high_scores/default.bmp";
  EXPECT_EQ(LinesInFile(earlier), kDefaultTable);
  GameFixture f;
  f.Game();
  EXPECT_EQ(FileText(f.Assets.Path() + "hs.bmp"), FileText(earlier));
}

TEST(HighScoreFile, ATableWrittenAndReadBackGivesTheSameLines) {
  GameFixture f;
  TForm1& g = f.Game();
  g.HighScoreLines = {"0000000042 -/_", "0016777215 A B C D E F",  "0000000000 ",    "0000001234 NAMELONGERTHAN12",
                      "0000065536 x",   "0000000255 ZZZZZZZZZZZZ", "0000000256 ONE", "0000070000  LEADING SPACE",
                      "0000000001 9",   "0000012345 MIXED case"};
  g.SaveHighScores();
  g.HighScoreLines.clear();
  g.LoadHighScores();
  const std::vector<std::string> expected = {Padded(16777215, "A B C D E F"),
                                             Padded(70000, " LEADING SPACE"),
                                             Padded(65536, "x"),
                                             Padded(12345, "MIXED case"),
                                             Padded(1234, "NAMELONGERTHAN12"),
                                             Padded(256, "ONE"),
                                             Padded(255, "ZZZZZZZZZZZZ"),
                                             Padded(42, "-/_"),
                                             Padded(1, "9"),
                                             Padded(0, "")};
  EXPECT_EQ(g.HighScoreLines, expected);
  EXPECT_EQ(g.HighScoreFloor, 0);
}

TEST(HighScoreFile, DamagedFilesAreReadAsFarAsTheyHoldATable) {
  const std::vector<std::pair<int, std::string>> three = {{9000, "ANN"}, {8000, "BOB"}, {7000, "CY"}};
  std::vector<std::pair<int, std::string>> twelve;
  for (int i = 0; i < 12; ++i) twelve.push_back({12000 - 1000 * i, "ROW" + std::to_string(i)});
  std::vector<std::pair<int, std::string>> ten(twelve.begin(), twelve.begin() + 10);
  std::vector<std::vector<std::uint32_t>> narrow = TableRows(ten);
  for (auto& row : narrow) row.pop_back();

  std::vector<std::string> threeThenDefaults = kDefaultTable;
  for (std::size_t i = 0; i < three.size(); ++i) threeThenDefaults[i] = Padded(three[i].first, three[i].second);
  std::vector<std::string> firstTen;
  for (const auto& [score, name] : ten) firstTen.push_back(Padded(score, name));

  struct Case {
    const char* name;
    std::string file;
    std::vector<std::string> table;
    bool keptAside;  // renamed to hs.bmp.bad and the default table written
  };
  const Case cases[] = {
      {"text, not a picture", "these are not the scores you are looking for", kDefaultTable, true},
      {"an empty file", "", kDefaultTable, true},
      {"a picture header and nothing more", BmpFile(24, TableRows(ten)).substr(0, 54), kDefaultTable, true},
      {"three rows: the rest from the default table", BmpFile(24, TableRows(three)), threeThenDefaults, false},
      {"twelve rows: the first ten", BmpFile(24, TableRows(twelve)), firstTen, false},
      {"32 bits per pixel", BmpFile(32, TableRows(ten)), firstTen, false},
      {"8 bits per pixel", BmpFile(8, TableRows(ten)), kDefaultTable, false},
      {"16 bits per pixel", BmpFile(16, TableRows(ten)), kDefaultTable, false},
      {"four pixels wide", BmpFile(24, narrow), kDefaultTable, false},
  };
  for (const Case& c : cases) {
    GameFixture f;
    TForm1& g = f.Game();
    const std::string path = f.Assets.Path() + "hs.bmp";
    f.Assets.Write("hs.bmp", c.file);
    testing::internal::CaptureStderr();
    g.NewGame();  // every new game reads the file again
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(AsInFile(g.HighScoreLines), c.table) << c.name;
    EXPECT_EQ(g.HighScoreFloor, HighScoreOfLine(c.table.back())) << c.name;
    EXPECT_EQ(fs::exists(path + ".bad"), c.keptAside) << c.name;
    if (c.keptAside) {
      EXPECT_EQ(FileText(path + ".bad"), c.file) << c.name;
      EXPECT_EQ(BmpBitsPerPixel(path), 24) << c.name;
      EXPECT_EQ(LinesInFile(path), kDefaultTable) << c.name;
      EXPECT_EQ(Occurrences(err, "hs.bmp.bad"), 1) << c.name << ": " << err;
    } else {
      EXPECT_EQ(FileText(path), c.file) << c.name << ": a readable file is left as it is";
    }
  }
}

TEST(HighScoreFile, AnUnwritableFileIsReportedOnceAndTheTableLivesOnForTheRun) {
  struct Case {
    const char* name;
    const char* directory;  // made where the writer wants a file; a file inside keeps it from removal
  };
  const Case cases[] = {{"a directory where the temporary file goes", "hs.bmp.tmp"},
                        {"a directory in place of hs.bmp", "hs.bmp"}};
  for (const Case& c : cases) {
    GameFixture f;
    TForm1& g = f.Game();
    const std::string dir = f.Assets.Path() + c.directory;
    fs::remove(dir);
    fs::create_directory(dir);
    std::ofstream(dir + "/keep") << "x";
    testing::internal::CaptureStderr();
    ReachHighScores(f, 7000);
    Type(f, "ann\rn");
    ASSERT_EQ(g.NameEntryState, 3) << c.name;
    EXPECT_EQ(g.HighScoreLines[1], "0000007000 ANN") << c.name;
    f.Sim->Press(kPanelX, kPanelY);  // back to the splash: a new game reloads the table
    ASSERT_EQ(g.GameMode, ModeSplash) << c.name;
    EXPECT_EQ(g.HighScoreLines[1], "0000007000 ANN") << c.name << ": the table lives on in memory";
    EXPECT_EQ(g.HighScoreFloor, 1000) << c.name;
    // A second entry in the same run, failing again.
    ReachHighScores(f, 6000);
    Type(f, "bob\rn");
    f.Sim->Press(kPanelX, kPanelY);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(g.HighScoreLines[1], "0000007000 ANN") << c.name;
    EXPECT_EQ(g.HighScoreLines[2], "0000006000 BOB") << c.name;
    EXPECT_EQ(g.HighScoreFloor, 1500) << c.name;
    EXPECT_EQ(Occurrences(err, "cannot write"), 1) << c.name << ": " << err;
    EXPECT_TRUE(fs::is_directory(dir)) << c.name;
    if (fs::is_regular_file(f.Assets.Path() + "hs.bmp")) {
      EXPECT_EQ(LinesInFile(f.Assets.Path() + "hs.bmp"), kDefaultTable) << c.name << ": the old file is whole";
    }
    // Once the way is clear again (a disk with room again), the next save writes the whole table:
    // nothing of the run is lost.
    fs::remove_all(dir);
    ReachHighScores(f, 5000);
    Type(f, "cat\rn");
    const std::vector<std::string> saved = LinesInFile(f.Assets.Path() + "hs.bmp");
    ASSERT_GE(saved.size(), 4u) << c.name;
    EXPECT_EQ(saved[1], Padded(7000, "ANN")) << c.name;
    EXPECT_EQ(saved[3], Padded(5000, "CAT")) << c.name;
  }
}

TEST(HighScoreTable, AScoreAboveTheLargestStoredIsStoredAsTheLargest) {
  GameFixture f;
  TForm1& g = f.Game();
  ReachHighScores(f, 20000000);
  Type(f, "max\rn");
  EXPECT_EQ(g.HighScoreLines[0], "0016777215 MAX");
  EXPECT_EQ(LinesInFile(f.Assets.Path() + "hs.bmp")[0], Padded(16777215, "MAX"));
  EXPECT_EQ(Screen(g).Row(0).first, "16777215");
}

TEST(HighScoreTable, ANewLineGoesAboveAnEqualScoreAndTheSortOrdersEqualScoresByNameDescending) {
  GameFixture f;
  TForm1& g = f.Game();
  const std::vector<std::string> fromFile = g.HighScoreLines;
  ASSERT_EQ(fromFile, kDefaultTable);
  struct Case {
    int score;
    const char* name;
    int row;  // where the new line lies after the save
    const char* next;  // the line below it
  };
  const Case cases[] = {
      {5000, "AAA", 2, "0000004000 MIB         "},  // inserted above 5000 BET, then sorted below it
      {5000, "ZED", 1, "0000005000 BET         "},
      {20000, "TOP", 0, "0000010000 MIB         "},
      {501, "LOW", 9, nullptr},
      {1000, "", 9, nullptr},  // an empty name sorts below MIB
  };
  for (const Case& c : cases) {
    g.HighScoreLines = fromFile;
    g.Score = c.score;
    g.EnteredName = c.name;
    g.InsertHighScore(false);
    ASSERT_EQ(g.HighScoreLines.size(), 10u) << c.name;
    EXPECT_EQ(g.HighScoreLines[std::size_t(c.row)], HighScoreLine(c.score, c.name)) << c.name;
    if (c.next) {
      EXPECT_EQ(g.HighScoreLines[std::size_t(c.row) + 1], c.next) << c.name;
    }
    EXPECT_EQ(std::count(g.HighScoreLines.begin(), g.HighScoreLines.end(), kDefaultTable[9]), 0)
        << c.name << ": the last line is dropped";
    EXPECT_TRUE(std::is_sorted(
        g.HighScoreLines.rbegin(), g.HighScoreLines.rend(),
        [](const std::string& a, const std::string& b) { return HighScoreOfLine(a) < HighScoreOfLine(b); }))
        << c.name;
    // Saved as shown.
    std::vector<std::string> saved = LinesInFile(f.Assets.Path() + "hs.bmp");
    for (std::size_t i = 0; i < saved.size(); ++i)
      EXPECT_EQ(saved[i], Padded(HighScoreOfLine(g.HighScoreLines[i]), NameOfLine(g.HighScoreLines[i]))) << c.name;
  }
  // Letter case does not order the names: c before b before A, whatever their case.
  std::vector<std::string> lines = {"0000000100 b", "0000000100 A", "0000000100 c", "0000000200 a"};
  SortHighScoreLines(lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"0000000200 a", "0000000100 c", "0000000100 b", "0000000100 A"}));
}

// ---- The screen and the name entry ----

TEST(NameEntry, StartsOnlyForAScoreAboveTheTenthLine) {
  struct Case {
    int score;
    bool entry;
  };
  for (const Case c : {Case{500, false}, Case{501, true}}) {
    GameFixture f;
    TForm1& g = f.Game();
    ReachHighScores(f, c.score);
    Screen screen(g);
    EXPECT_TRUE(screen.Shows(g.BmpHighScores, 6)) << c.score;
    EXPECT_EQ(g.NameEntryState, c.entry ? 1 : 0) << c.score;
    EXPECT_EQ(g.tmrHiScoreFlicker.Enabled(), c.entry) << c.score;
    EXPECT_EQ(screen.Shows(g.BmpEnterName, 72), c.entry) << c.score;
    EXPECT_EQ(screen.Shows(g.BmpEnterName + 1, 670), c.entry) << c.score << ": press Enter to go on";
    EXPECT_EQ(screen.Shows(g.BmpEnterName + 2, 670), !c.entry) << c.score << ": click to go on";
    EXPECT_EQ(screen.Cursor() != nullptr, c.entry) << c.score;
    if (c.entry) {
      EXPECT_EQ(g.EnteredName, "");
      EXPECT_EQ(g.NameEntryX, 206);
      const BitmapLayer& cursor = *screen.Cursor();
      EXPECT_EQ(screen.CharOf(cursor), '_');
      EXPECT_EQ(cursor.Location.Left, 206);
      EXPECT_EQ(cursor.Location.Top, 300);
      EXPECT_TRUE(cursor.Visible);
    } else {
      EXPECT_EQ(screen.Row(9), std::make_pair(std::string("500"), std::string("BET")));
    }
  }
}

TEST(NameEntry, TakesTheFontsCharactersUpperCasedAndIgnoresTheRest) {
  GameFixture f;
  TForm1& g = f.Game();
  ReachHighScores(f, 2600);
  Type(f, "a!b1.-/_ z,?");
  EXPECT_EQ(g.EnteredName, "AB1-/_ Z");
  Screen screen(g);
  EXPECT_EQ(screen.TypedName(), "AB1-/_ Z");
  const BitmapLayer* cursor = screen.Cursor();
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->Location.Left, g.NameEntryX);
  EXPECT_GT(g.NameEntryX, 206);
  EXPECT_TRUE(cursor->Visible);
  EXPECT_TRUE(screen.CursorOnTop());
  EXPECT_EQ(cursor->Mode, DrawMode::Blend);
  EXPECT_EQ(g.NameEntryState, 1);
}

TEST(NameEntry, TwelveCharactersAtMostAndBackspaceTakesTheLastOneBack) {
  GameFixture f;
  TForm1& g = f.Game();
  ReachHighScores(f, 2600);
  Screen screen(g);
  Type(f, "abcdefghijklm");
  EXPECT_EQ(g.EnteredName, "ABCDEFGHIJKL");
  EXPECT_EQ(screen.TypedName(), "ABCDEFGHIJKL");
  ASSERT_NE(screen.Cursor(), nullptr);
  EXPECT_FALSE(screen.Cursor()->Visible) << "hidden after the twelfth character";
  f.Sim->Wait(500);
  EXPECT_FALSE(screen.Cursor()->Visible) << "the blink does not show it again";
  const float fullX = float(g.NameEntryX);

  Type(f, "\b");
  EXPECT_EQ(g.EnteredName, "ABCDEFGHIJK");
  EXPECT_EQ(screen.TypedName(), "ABCDEFGHIJK");
  ASSERT_NE(screen.Cursor(), nullptr);
  EXPECT_TRUE(screen.Cursor()->Visible);
  EXPECT_EQ(screen.Cursor()->Location.Left, g.NameEntryX);
  EXPECT_LT(float(g.NameEntryX), fullX);
  EXPECT_TRUE(screen.CursorOnTop());
  Type(f, "z");
  EXPECT_EQ(screen.TypedName(), "ABCDEFGHIJKZ");

  // Back to nothing, and one Backspace more: the cursor is never taken.
  Type(f, std::string(13, '\b'));
  EXPECT_EQ(g.EnteredName, "");
  EXPECT_EQ(screen.TypedName(), "");
  EXPECT_EQ(g.NameEntryX, 206);
  ASSERT_NE(screen.Cursor(), nullptr);
  EXPECT_EQ(screen.Cursor()->Location.Left, 206);
  Type(f, "q");
  EXPECT_EQ(screen.TypedName(), "Q");
  EXPECT_TRUE(screen.Cursor()->Visible);
  EXPECT_EQ(g.NameEntryState, 1);
}

TEST(NameEntry, TheCursorBlinksEveryHundredMilliseconds) {
  GameFixture f;
  TForm1& g = f.Game();
  ReachHighScores(f, 2600);
  Screen screen(g);
  const auto shows = [&] { return screen.Cursor() ? screen.CharOf(*screen.Cursor()) : '!'; };
  EXPECT_EQ(shows(), '_');
  EXPECT_EQ(screen.Cursor()->Tag, kNameCursorTag);
  f.Sim->Wait(99);
  EXPECT_EQ(shows(), '_');
  f.Sim->Wait(1);
  EXPECT_EQ(shows(), ' ');
  EXPECT_EQ(screen.Cursor()->Tag, kNameCursorBlankTag);
  f.Sim->Wait(100);
  EXPECT_EQ(shows(), '_');
  // It blinks on where the name has moved it, drawn opaque.
  Type(f, "w");
  const float x = screen.Cursor()->Location.Left;
  f.Sim->Wait(100);
  EXPECT_EQ(screen.Cursor()->Location.Left, x);
  EXPECT_EQ(screen.Cursor()->Mode, DrawMode::Opaque);
  for (int i = 0; i < 6; ++i) {
    const char before = shows();
    f.Sim->Wait(100);
    EXPECT_NE(shows(), before) << "blink " << i;
  }
  // Enter ends the entry and the blink.
  Type(f, "\r");
  EXPECT_FALSE(g.tmrHiScoreFlicker.Enabled());
  EXPECT_EQ(screen.Cursor(), nullptr);
}

TEST(NameEntry, EnterEndsTheEntryAndAnyAnswerButTheKeysAroundYStoresIt) {
  struct Case {
    const char* name;  // typed before Enter
    std::string answer;  // the key that answers the post question
  };
  const Case cases[] = {{"", "n"}, {"abcdefghijkl", "Y"}, {"ace", "y"}, {"ace", "Esc"}, {"ace", "Enter"}};
  for (const Case& c : cases) {
    const std::string label = std::string("'") + c.name + "' answered " + c.answer;
    GameFixture f;
    TForm1& g = f.Game();
    ReachHighScores(f, 2600);
    Type(f, c.name);
    f.Sim->Key("Enter");
    ASSERT_EQ(g.NameEntryState, 2) << label << ": Enter ends the entry, also with twelve characters";
    Screen screen(g);
    EXPECT_TRUE(screen.Shows(g.BmpEnterName, 72)) << label;
    EXPECT_TRUE(screen.Shows(g.BmpEnterName + 3, 300)) << label << ": the post question";
    EXPECT_EQ(screen.TypedName(), "") << label << ": the name is not shown with the question";
    EXPECT_EQ(screen.Cursor(), nullptr) << label;
    EXPECT_FALSE(g.tmrHiScoreFlicker.Enabled()) << label;
    // The keys around Y are taken for a slip of the finger.
    for (const char* key : {"T", "G", "H", "J", "U", "7", "6", "t", "u"}) f.Sim->Key(key);
    EXPECT_EQ(g.NameEntryState, 2) << label;
    EXPECT_EQ(g.HighScoreLines, kDefaultTable) << label;

    f.Sim->Key(c.answer);
    std::string upper = c.name;
    for (char& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
    EXPECT_EQ(g.NameEntryState, 3) << label;
    EXPECT_EQ(g.HighScoreLines[5], HighScoreLine(2600, upper)) << label;
    EXPECT_EQ(LinesInFile(f.Assets.Path() + "hs.bmp")[5], Padded(2600, upper)) << label;
    EXPECT_EQ(screen.Row(5), std::make_pair(std::string("2600"), upper)) << label;
    EXPECT_EQ(screen.Row(6), std::make_pair(std::string("2500"), std::string("BET"))) << label;
    EXPECT_TRUE(screen.Shows(g.BmpEnterName + 2, 670)) << label;
  }
}

TEST(HighScoreScreen, ClicksWaitForTheEntryAndThenReturnToAFreshGame) {
  GameFixture f;
  TForm1& g = f.Game();
  ReachHighScores(f, 2600);
  f.Sim->Press(kPanelX, kPanelY);
  EXPECT_TRUE(g.pnlHighScores.Visible) << "a click while the name is typed";
  EXPECT_EQ(g.NameEntryState, 1);
  Type(f, "ace\r");
  f.Sim->Press(kPanelX, kPanelY);
  EXPECT_TRUE(g.pnlHighScores.Visible) << "a click on the post question";
  EXPECT_EQ(g.NameEntryState, 2);
  Type(f, "n");
  ASSERT_EQ(g.NameEntryState, 3);
  EXPECT_EQ(g.HighScoreFloor, 500) << "the floor changes only when the table is read again";

  f.Sim->Press(kPanelX, kPanelY);
  EXPECT_EQ(g.GameMode, ModeSplash);
  EXPECT_TRUE(g.pnlSplash.IsShowing());
  EXPECT_FALSE(g.pnlHighScores.Visible);
  EXPECT_EQ(g.MusicStage, 0);
  EXPECT_EQ(g.NameEntryState, 0);
  EXPECT_EQ(g.Score, 0);
  EXPECT_TRUE(g.Mibbets.empty());
  EXPECT_EQ(g.Turrets.size(), 4u);
  EXPECT_EQ(g.HighScoreLines[5], Padded(2600, "ACE")) << "read back from the file";
  EXPECT_EQ(g.HighScoreFloor, 1000);
  EXPECT_EQ(Screen(g).Cursor(), nullptr);
  EXPECT_FALSE(g.tmrHiScoreFlicker.Enabled());
  // The next game's entry needs more than the new tenth line.
  ReachHighScores(f, 1000);
  EXPECT_EQ(g.NameEntryState, 0);
}

}  // namespace

namespace {

TEST(NameEntry, SoundMusicAndPauseKeysAreLettersOfTheNameUntilTheEntryIsDone) {
  GameFixture f;
  TForm1& g = f.Game();
  ReachHighScores(f, 9000);
  Type(f, "smp");
  EXPECT_EQ(g.EnteredName, "SMP");
  EXPECT_TRUE(g.SoundOn && g.MusicOn);
  Type(f, "\r");
  Type(f, "m");  // the answer to the post question: stored without posting
  EXPECT_EQ(g.NameEntryState, 3);
  EXPECT_TRUE(g.MusicOn) << "the answer is not the music key";
  Type(f, "sm");
  EXPECT_FALSE(g.SoundOn || g.MusicOn) << "after the entry the keys work again";
}

}  // namespace
