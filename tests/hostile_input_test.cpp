// Damaged and hostile files where the game expects its own: pictures that claim more than they
// hold, and FIFOs or devices in place of files. The game goes on as without the file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "platform/bmp_file.h"
#include "platform/files.h"
#include "tests/test_support.h"

namespace {

void Put(std::string& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes += char((value >> (8 * i)) & 0xFF);
}

struct BmpClaim {
  int Width, Height, BitsPerPixel = 24;
  std::uint32_t PixelOffset = 54;
};

// A BMP file whose header claims the size given, followed by bodyBytes zero bytes.
std::string BmpBytes(const BmpClaim& claim, std::size_t bodyBytes) {
  std::string b = "BM";
  Put(b, std::uint32_t(54 + bodyBytes), 4);
  Put(b, 0, 4);
  Put(b, claim.PixelOffset, 4);
  Put(b, 40, 4);
  Put(b, std::uint32_t(claim.Width), 4);
  Put(b, std::uint32_t(claim.Height), 4);
  Put(b, 1, 2);
  Put(b, std::uint32_t(claim.BitsPerPixel), 2);
  for (int field = 0; field < 6; ++field) Put(b, 0, 4);
  return b + std::string(bodyBytes, '\0');
}

// The same with the old 12-byte header, whose sizes are 16 bits.
std::string CoreBmpBytes(int width, int height, std::size_t bodyBytes) {
  std::string b = "BM";
  Put(b, std::uint32_t(26 + bodyBytes), 4);
  Put(b, 0, 4);
  Put(b, 26, 4);
  Put(b, 12, 4);
  Put(b, std::uint32_t(width), 2);
  Put(b, std::uint32_t(height), 2);
  Put(b, 1, 2);
  Put(b, 24, 2);
  return b + std::string(bodyBytes, '\0');
}

std::size_t RowBytes(int width, int bitsPerPixel) { return std::size_t(width * bitsPerPixel + 31) / 32 * 4; }

TEST(PictureFile, AHeaderClaimingTooMuchOrMoreThanTheFileHoldsIsRefused) {
  struct Case {
    const char* name;
    std::string bytes;
    bool readable;
  } cases[] = {
      {"30000 x 30000, a header and nothing more", BmpBytes({30000, 30000}, 0), false},
      {"30000 x 30000 in the old header", CoreBmpBytes(30000, 30000, 0), false},
      {"4097 wide, whole", BmpBytes({4097, 1}, RowBytes(4097, 24)), false},
      {"4097 high, whole", BmpBytes({1, 4097}, RowBytes(1, 24) * 4097), false},
      {"4097 high top-down, whole", BmpBytes({1, -4097}, RowBytes(1, 24) * 4097), false},
      {"the smallest int as height", BmpBytes({1, INT32_MIN}, 64), false},
      {"no width", BmpBytes({0, 1}, 64), false},
      {"10 x 10 with five rows", BmpBytes({10, 10, 32}, RowBytes(10, 32) * 5), false},
      {"pixels beyond the end of the file", BmpBytes({1, 1, 24, 1000000}, 4), false},
      {"4096 wide, whole", BmpBytes({4096, 1}, RowBytes(4096, 24)), true},
      {"4096 high top-down, whole", BmpBytes({1, -4096, 32}, RowBytes(1, 32) * 4096), true},
      {"2 x 2 in the old header", CoreBmpBytes(2, 2, RowBytes(2, 24) * 2), true},
  };
  TestAssetDir dir;
  for (const Case& c : cases) {
    dir.Write("picture.bmp", c.bytes);
    EXPECT_EQ(ReadBmp(dir.Path() + "picture.bmp").has_value(), c.readable) << c.name;
  }
}

// A picture one pixel wide, red above blue, in each layout a file may store it: rows bottom-up or
// top-down, every depth the reader knows and the oldest header.
TEST(PictureFile, RowsComeOutTopFirstWhicheverWayTheFileStoresThem) {
  // Blue, green, red, then a 24-bit row's padding, a 32-bit pixel's alpha (all 0: opaque) or a
  // palette entry's spare byte.
  const std::string red{0, 0, char(255), 0}, blue{char(255), 0, 0, 0};
  const std::string redIndex{0, 0, 0, 0}, blueIndex{1, 0, 0, 0};
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"24-bit, bottom row first", BmpBytes({1, 2}, 0) + blue + red},
      {"24-bit, top row first", BmpBytes({1, -2}, 0) + red + blue},
      {"32-bit, bottom row first", BmpBytes({1, 2, 32}, 0) + blue + red},
      {"32-bit, top row first", BmpBytes({1, -2, 32}, 0) + red + blue},
      {"8-bit palette, bottom row first", BmpBytes({1, 2, 8, 54 + 8}, 0) + red + blue + blueIndex + redIndex},
      {"the oldest header, bottom row first", CoreBmpBytes(1, 2, 0) + blue + red},
  };
  TestAssetDir dir;
  for (const auto& c : cases) {
    dir.Write("picture.bmp", c.bytes);
    const std::optional<Bitmap32> picture = ReadBmp(dir.Path() + "picture.bmp");
    ASSERT_TRUE(picture) << c.name;
    EXPECT_EQ(picture->At(0, 0), MakePixel(255, 0, 0)) << c.name;
    EXPECT_EQ(picture->At(0, 1), MakePixel(0, 0, 255)) << c.name;
  }
}

// 32-bit pictures keep their alpha, unless every alpha byte is 0: then the file was written by a
// program that leaves the fourth byte unused, and the picture is opaque.
TEST(PictureFile, AThirtyTwoBitPictureKeepsItsAlphaUnlessItHasNone) {
  const auto twoPixels = [](std::uint8_t alpha0, std::uint8_t alpha1) {
    std::string bytes = BmpBytes({2, -1, 32}, 0);
    for (const std::uint8_t alpha : {alpha0, alpha1}) bytes += std::string{char(30), char(20), char(10), char(alpha)};
    return bytes;
  };
  TestAssetDir dir;
  const struct {
    const char* name;
    std::string bytes;
    Pixel first, second;
  } cases[] = {
      {"alpha given", twoPixels(0, 200), MakePixel(10, 20, 30, 0), MakePixel(10, 20, 30, 200)},
      {"no alpha at all", twoPixels(0, 0), MakePixel(10, 20, 30), MakePixel(10, 20, 30)},
  };
  for (const auto& c : cases) {
    dir.Write("picture.bmp", c.bytes);
    const std::optional<Bitmap32> picture = ReadBmp(dir.Path() + "picture.bmp");
    ASSERT_TRUE(picture) << c.name;
    EXPECT_EQ(picture->At(0, 0), c.first) << c.name;
    EXPECT_EQ(picture->At(1, 0), c.second) << c.name;
  }
}

TEST(PictureFile, AnOversizedTileIsOneLineAndAnEmptyTileAndTheGameGoesOn) {
  TestAssetDir assets;
  assets.Write("Tile.bmp", BmpBytes({4097, 4097}, 0));
  SimulatorOptions options;
  options.AssetDir = assets.Path();
  options.SystemFonts = false;
  testing::internal::CaptureStderr();
  Simulator sim(options);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("Tile.bmp"), std::string::npos) << said;
  const TForm1& g = sim.Game();
  EXPECT_EQ(g.Sprites.At(g.BmpTile)->Width(), 35);
  EXPECT_EQ(g.Sprites.At(g.BmpTile)->Height(), 35);
  EXPECT_EQ(g.Sprites.NameAt(g.BmpTile + 1), "TileSnow") << "later pictures keep their places";
  sim.Press(350, 350);
  sim.Key("N");
  sim.Wait(5000);
  EXPECT_EQ(g.GameMode, ModePlaying);
}

// Runs the loader in a child process that an alarm ends, so that a loader that blocks fails the
// test instead of hanging it; the loader's answer is the child's exit code.
void ExpectAnswersAtOnce(const std::string& name, const std::function<bool()>& loaderGivesUp) {
  EXPECT_EXIT(
      {
        ::alarm(30);
        std::_Exit(loaderGivesUp() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "")
      << name;
}

TEST(SpecialFiles, AFifoOrADeviceInPlaceOfAFileIsLeftAlone) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TestAssetDir dir;
  const std::string fifo = dir.Path() + "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    ExpectAnswersAtOnce("settings from " + path, [&] { return ReadSettings(path).BASESCRAP == TSettings().BASESCRAP; });
    ExpectAnswersAtOnce("picture from " + path, [&] { return !ReadBmp(path).has_value(); });
  }
  // The temporary file of an atomic write: what lies there is not ours, and the write fails.
  const std::string table = dir.Path() + "table.bmp";
  ASSERT_EQ(::mkfifo((table + ".tmp").c_str(), 0600), 0);
  ExpectAnswersAtOnce("table written beside a FIFO", [&] { return !WriteBmp24Atomically(table, Bitmap32(5, 10)); });
  ExpectAnswersAtOnce("text written beside a FIFO", [&] { return !WriteFileAtomically(table, "text"); });
  EXPECT_FALSE(std::filesystem::exists(table));
}

}  // namespace
