// Damaged and hostile files where the game expects its own: pictures that claim more than they
// hold, and FIFOs or devices in place of files. The game goes on as without the file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <vector>

#include "platform/bmp_file.h"
#include "platform/files.h"
#include "platform/sdl/sdl_platform.h"
#include "screens/high_score_table.h"
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

// Music and sound cues reach SDL_mixer through the adapters, which opened them by name; a FIFO in
// place of a track kept the window on its loading banner for ever.
TEST(SpecialFiles, AFifoInPlaceOfATrackOrACueIsSkippedWithOneLine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!SdlAudio().Available()) GTEST_SKIP() << "no audio output, not even the dummy one";
  TestAssetDir dir;
  const std::string track = dir.Path() + "mmusic0.mp3", cue = dir.Path() + "menuopen.wav";
  for (const std::string& path : {track, cue}) {
    dir.Remove(path.substr(dir.Path().size()));
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  }
  // Whether the adapter said one line naming the file and why; any other words go to the child's
  // stderr, which a failure shows.
  const auto oneLineAbout = [](const std::string& said, const std::string& path) {
    const bool ok = std::count(said.begin(), said.end(), '\n') == 1 && said.find(path) != std::string::npos &&
                    said.find("not a regular file") != std::string::npos;
    if (!ok) std::fputs(said.c_str(), stderr);
    return ok;
  };
  ExpectAnswersAtOnce("a FIFO as a track", [&] {
    SdlAudio audio;
    SdlMusicDevice music(audio);
    testing::internal::CaptureStderr();
    const bool opened = music.CreateTrack()->Open(track);
    return !opened && oneLineAbout(testing::internal::GetCapturedStderr(), track);
  });
  ExpectAnswersAtOnce("a FIFO as a cue, played twice", [&] {
    SdlAudio audio;
    SdlSoundDevice sound(audio);
    testing::internal::CaptureStderr();
    sound.Play(cue, false);
    sound.Play(cue, false);
    return oneLineAbout(testing::internal::GetCapturedStderr(), cue);
  });
}

// Permissions bind root only in name: while one of these lives, the files are looked at as nobody
// (the effective ids alone, so that the test takes its files away again as itself).
class LookingAsNobody {
 public:
  LookingAsNobody() : root_(::geteuid() == 0) {
    constexpr id_t kNobody = 65534;
    if (root_ && (::setegid(kNobody) != 0 || ::seteuid(kNobody) != 0)) ADD_FAILURE() << "cannot look as nobody";
  }
  ~LookingAsNobody() {
    if (root_ && ::seteuid(0) == 0) (void)::setegid(0);
  }
  LookingAsNobody(const LookingAsNobody&) = delete;
  LookingAsNobody& operator=(const LookingAsNobody&) = delete;

 private:
  const bool root_;
};

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int LineCount(const std::string& text) { return int(std::count(text.begin(), text.end(), '\n')); }

// The ways a file can be there and still not be read, each made at path.
struct Unreadable {
  const char* name;
  std::function<void(const std::string& path)> make;
  const char* why;
  bool asNobody;  // a matter of permissions
};

const std::vector<Unreadable>& UnreadableKinds() {
  static const std::vector<Unreadable> kinds = {
      {"a loop of links", [](const std::string& path) { std::filesystem::create_symlink(path, path); },
       "Too many levels of symbolic links", false},
      {"a directory",
       [](const std::string& path) {
         std::filesystem::create_directory(path);
         std::ofstream(path + "/keep") << "x";
       },
       "Is a directory", false},
      {"a FIFO", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "not a regular file",
       false},
      {"a file without read permission", [](const std::string& path) { std::filesystem::permissions(path, {}); },
       "Permission denied", true},
  };
  return kinds;
}

TEST(UnreadableFiles, ASettingsFileThatCannotBeReadIsNamedWithWhyAndTheDefaultsHold) {
  for (const Unreadable& kind : UnreadableKinds()) {
    TestAssetDir dir("BASESCRAP=77\n");
    const std::string path = dir.Path() + "settings.ini";
    if (!kind.asNobody) dir.Remove("settings.ini");
    kind.make(path);
    std::optional<LookingAsNobody> nobody;
    if (kind.asNobody) nobody.emplace();
    testing::internal::CaptureStderr();
    const TSettings settings = ReadSettings(path);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(settings.BASESCRAP, TSettings().BASESCRAP) << kind.name;
    EXPECT_EQ(LineCount(said), 1) << kind.name << ": " << said;
    EXPECT_NE(said.find("cannot read " + path + ": " + kind.why), std::string::npos) << kind.name << ": " << said;
  }
}

// The game started again on the fixture's folder, as the player's next start.
void StartAgain(GameFixture& f) {
  SimulatorOptions options;
  options.AssetDir = f.Assets.Path();
  options.Today = {2026, 3, 1};
  options.Seed = 7;
  options.SystemFonts = false;
  f.Sim.reset();
  f.Sim = std::make_unique<Simulator>(options);
}

// A table that cannot be read is not a damaged one: it may hold a player's scores that come back
// once the player mends it. It used to be kept aside as damaged and replaced, and a loop of links
// or a folder that cannot be searched stopped every start with an uncaught exception.
TEST(UnreadableFiles, AHighScoreTableThatCannotBeReadIsLeftAsItIsAndTheRunKeepsItsScoresInMemory) {
  namespace fs = std::filesystem;
  struct Case {
    std::string name;
    std::function<void(const std::string& path)> make;
    std::string why;
    bool asNobody;
    bool inUnsearchableFolder = false;  // hs.bmp kept in the player's data folder, which cannot be searched
  };
  std::vector<Case> cases;
  for (const Unreadable& kind : UnreadableKinds()) cases.push_back({kind.name, kind.make, kind.why, kind.asNobody});
  cases.push_back({"a folder that cannot be searched", {}, "Permission denied", true, true});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameFixture f;  // the first start writes the default table
    const std::string assets = f.Assets.Path();
    std::string path = assets + "hs.bmp";
    std::optional<ScopedEnvironment> dataHome;
    if (c.inUnsearchableFolder) {
      // The asset folder without write permission sends the table to the player's own folder.
      const std::string folder = assets + "data/mibbetfall";
      fs::create_directories(folder);
      fs::copy_file(path, folder + "/hs.bmp");
      path = folder + "/hs.bmp";
      fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
      fs::permissions(assets, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
      dataHome.emplace("XDG_DATA_HOME", assets + "data");
    } else if (c.asNobody) {
      c.make(path);
    } else {
      f.Assets.Remove("hs.bmp");
      c.make(path);
    }
    const std::string bytesBefore = c.asNobody ? FileBytes(path) : "";
    {
      std::optional<LookingAsNobody> nobody;
      if (c.asNobody) nobody.emplace();
      testing::internal::CaptureStderr();
      StartAgain(f);
      const std::string said = testing::internal::GetCapturedStderr();
      TForm1& g = f.Game();
      EXPECT_EQ(LineCount(said), 1) << said;
      EXPECT_NE(said.find("cannot read " + path + ": " + c.why), std::string::npos) << said;
      EXPECT_EQ(g.HighScoreLines, DefaultHighScoreLines());
      // Two games: the second one's start reads the table again, and keeps the one in memory.
      testing::internal::CaptureStderr();
      ReachHighScores(f, 7000);
      Type(f, "ann\rn");
      f.Sim->Press(358, 358);
      ASSERT_EQ(g.GameMode, ModeSplash);
      ReachHighScores(f, 6000);
      Type(f, "bob\rn");
      EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the player was told once";
      EXPECT_EQ(g.HighScoreLines[1], "0000007000 ANN");
      EXPECT_EQ(g.HighScoreLines[2], "0000006000 BOB");
    }
    fs::permissions(assets, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    if (c.inUnsearchableFolder) fs::permissions(assets + "data/mibbetfall", fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(fs::symlink_status(path + ".bad"))) << "nothing was kept aside";
    if (c.asNobody) {
      EXPECT_EQ(FileBytes(path), bytesBefore) << "the file is as it was";
    } else {
      const fs::file_status left = fs::symlink_status(path);
      EXPECT_TRUE(fs::is_symlink(left) || fs::is_directory(left) || fs::is_fifo(left)) << "the file is where it was";
    }
  }
}

}  // namespace
