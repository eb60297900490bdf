// Runs mibbetfall-assetgen into a scratch folder and checks what the game relies on: every file
// name, the sizes the window layout needs, the glyph sets, decodable sounds and music with the
// right lengths, and byte-identical output from a second run.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/bmp_file.h"
#include "presentation/catalogue_names.h"

namespace {

namespace fs = std::filesystem;

int RunGenerator(const std::string& args) {
  const std::string command = std::string("\"") + MIBBETFALL_ASSETGEN_PATH + "\" " + args + " > /dev/null 2>&1";
  return std::system(command.c_str());
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The generator must write exactly the pictures the game loads, in the game's own names.
std::vector<std::string> FontNames(int set) {
  std::vector<std::string> names;
  for (const std::string& glyph : FontGlyphNames("f" + std::to_string(set))) names.push_back("font/" + glyph);
  return names;
}

class AssetgenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new fs::path(fs::temp_directory_path() / ("mibbetfall-assetgen-test-" + std::to_string(::getpid())));
    fs::remove_all(*dir_);
    generatorExit_ = RunGenerator("--out \"" + dir_->string() + "\"");
  }
  static void TearDownTestSuite() {
    fs::remove_all(*dir_);
    delete dir_;
  }
  void SetUp() override { ASSERT_EQ(generatorExit_, 0); }

  static Bitmap32 Load(const std::string& name) {
    auto b = ReadBmp((*dir_ / (name + ".bmp")).string());
    EXPECT_TRUE(b.has_value()) << name;
    return b ? *b : Bitmap32();
  }
  // The picture with its alpha taken from the companion, as the game loads it.
  static Bitmap32 LoadWithAlpha(const std::string& name) {
    Bitmap32 b = Load(name);
    const auto a = ReadBmp((*dir_ / (name + "A.bmp")).string());
    if (!a) return b;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const Pixel g = a->At(x, y);
        const int alpha = (61 * PixelRed(g) + 174 * PixelGreen(g) + 21 * PixelBlue(g)) >> 8;
        b.Set(x, y, (b.At(x, y) & 0xFFFFFFu) | (Pixel(alpha) << 24));
      }
    return b;
  }
  static bool HasCompanion(const std::string& name) { return fs::exists(*dir_ / (name + "A.bmp")); }

  static fs::path* dir_;
  static int generatorExit_;
};

fs::path* AssetgenTest::dir_ = nullptr;
int AssetgenTest::generatorExit_ = -1;

TEST_F(AssetgenTest, WritesEveryCataloguePictureAndCellArtIsOneCellLarge) {
  const auto names = CatalogueNames();
  ASSERT_EQ(names.size(), 184u);
  const std::set<std::string> notCellArt = {"highscores", "entername", "presstocont", "clicktocont", "postonline",
                                            "arrowd",     "arrowu",    "arrowl",      "arrowr"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    const Bitmap32 b = Load(name);
    const bool glyphOrPage = name.rfind("font/", 0) == 0 || name.rfind("tutorial", 0) == 0;
    if (!glyphOrPage && !notCellArt.count(name)) {
      EXPECT_EQ(b.Width(), 35) << i << " " << name;
      EXPECT_EQ(b.Height(), 35) << i << " " << name;
    }
  }
}

TEST_F(AssetgenTest, AlphaCompanionsExactlyWhereThePictureHasTransparency) {
  for (const std::string& name : CatalogueNames()) {
    const bool opaque = name == "Tile" || name == "TileSnow" || name == "Base_Floor" || name.rfind("font/", 0) == 0 ||
                        name == "highscores" || name == "entername" || name == "presstocont" || name == "clicktocont" ||
                        name == "postonline";
    EXPECT_EQ(HasCompanion(name), !opaque) << name;
    if (!HasCompanion(name)) continue;
    const auto a = ReadBmp((*dir_ / (name + "A.bmp")).string());
    ASSERT_TRUE(a.has_value()) << name;
    const Bitmap32 b = Load(name);
    EXPECT_EQ(a->Width(), b.Width()) << name;
    EXPECT_EQ(a->Height(), b.Height()) << name;
  }
  const Bitmap32 trans = LoadWithAlpha("Trans");
  for (Pixel p : trans.Pixels()) ASSERT_EQ(PixelAlpha(p), 0);
}

TEST_F(AssetgenTest, ScreenPicturesHaveTheSizesOfTheirControls) {
  const std::map<std::string, std::pair<int, int>> sizes = {
      {"ScrapCount", {35, 35}},       {"SignCount", {35, 35}},     {"rhs1", {100, 172}},    {"rhs2", {100, 172}},
      {"splash", {700, 700}},         {"starttext", {600, 600}},   {"endtext", {550, 450}}, {"gameovertop", {700, 101}},
      {"gameoverbottom", {700, 100}}, {"gameoverleft", {50, 499}},
  };
  for (const auto& [name, size] : sizes) {
    const Bitmap32 b = Load(name);
    EXPECT_EQ(b.Width(), size.first) << name;
    EXPECT_EQ(b.Height(), size.second) << name;
  }
  const int glyphH = Load("font/f00").Height();
  // The build menu holds icons up to (44+35, 99+35) and a price at (27, 139), and must fit when it
  // opens at x 595 and y 525 over the 700-pixel playfield (window offset 8).
  const Bitmap32 menu = Load("menuframe");
  EXPECT_GE(menu.Width(), 79 + 2);
  EXPECT_GE(menu.Height(), 139 + glyphH);
  EXPECT_LE(595 + menu.Width(), 708);
  EXPECT_LE(525 + menu.Height(), 708);
  const Bitmap32 orb = Load("orbmenuframe");
  EXPECT_GE(orb.Width(), 24 + 35 + 2);
  EXPECT_GE(orb.Height(), 54 + glyphH);
  const Bitmap32 play = Load("playtut"), leave = Load("leavetut");
  EXPECT_LE(23 + play.Width(), 700);
  EXPECT_LE(300 + play.Height(), 650);
  EXPECT_LE(36 + leave.Width(), 700);
  EXPECT_LE(650 + leave.Height(), 700);
}

TEST_F(AssetgenTest, EachGlyphSetHasOneHeightAndFitsItsScreens) {
  for (int set = 0; set < 2; ++set) {
    std::set<int> heights;
    int widest = 0;
    for (const auto& name : FontNames(set)) {
      const Bitmap32 g = Load(name);
      heights.insert(g.Height());
      widest = std::max(widest, g.Width());
      // Glyphs are drawn opaque: their background must be the colour they are drawn on.
      EXPECT_EQ(g.At(0, 0) & 0xFFFFFFu, set == 0 ? 0xFFFFFFu : 0u) << name;
    }
    ASSERT_EQ(heights.size(), 1u) << "set " << set;
    if (set == 0) {
      EXPECT_LE(*heights.begin(), 20);
      EXPECT_LE(3 * widest, 129);  // "0/4" in the sign counter
    } else {
      EXPECT_LE(*heights.begin(), 50);  // lines are 56 pixels apart
      EXPECT_LE(widest, 27);  // 12 name characters from x 370
    }
  }
}

// Where each stage puts each page: x (-1 = centred) and y on the 700 x 700 playfield.
TEST_F(AssetgenTest, TutorialPagesFitWhereTheStagesDrawThem) {
  const std::vector<std::tuple<int, int, int>> placements = {
      {0, -1, 245},  {1, -1, 263},   {2, -1, 280},   {3, 210, 10},  {4, 460, 45},  {5, 245, 140}, {6, -1, 250},
      {7, -1, 105},  {8, -1, 125},   {9, -1, 145},   {25, -1, 255}, {10, -1, 355}, {11, -1, 210}, {12, -1, 105},
      {13, 70, 455}, {14, 260, 455}, {15, 515, 455}, {16, -1, 105}, {17, -1, 105}, {18, 70, 105}, {19, 605, 20},
      {20, 545, 70}, {21, 595, 132}, {22, -1, 105},  {23, -1, 140}, {24, -1, 245}};
  for (const auto& [page, x, y] : placements) {
    const Bitmap32 b = Load("tutorial" + std::to_string(page));
    const int left = x == -1 ? (700 - b.Width()) / 2 : x;
    EXPECT_GE(left, 0) << page;
    EXPECT_LE(left + b.Width(), 700) << page;
    EXPECT_LE(y + b.Height(), 700) << page;
  }
  // Pages shown together must not cover each other's text. The one-liners 0, 1, 2 and 7, 8, 9
  // form one block each: every card ends on the row where the next one starts (a shared border)
  // and all are as wide.
  for (const auto& stack :
       std::vector<std::vector<std::pair<int, int>>>{{{0, 245}, {1, 263}, {2, 280}}, {{7, 105}, {8, 125}, {9, 145}}}) {
    for (std::size_t row = 0; row + 1 < stack.size(); ++row) {
      const Bitmap32 card = Load("tutorial" + std::to_string(stack[row].first));
      EXPECT_EQ(stack[row].second + card.Height() - 1, stack[row + 1].second) << stack[row].first;
      EXPECT_EQ(card.Width(), Load("tutorial" + std::to_string(stack[row + 1].first)).Width()) << stack[row].first;
    }
  }
  EXPECT_LE(145 + Load("tutorial9").Height(), 255);
  EXPECT_LE(105 + Load("tutorial22").Height(), 140);
  EXPECT_LE(140 + Load("tutorial23").Height(), 245);
  // Page 11 sits left of the arrow at x 595 that points at the hatred panel.
  EXPECT_LE((700 + Load("tutorial11").Width()) / 2, 595);
}

int SilhouetteDifference(const Bitmap32& a, const Bitmap32& b) {
  int d = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) d += (PixelAlpha(a.At(x, y)) >= 128) != (PixelAlpha(b.At(x, y)) >= 128);
  return d;
}

TEST_F(AssetgenTest, KindsDifferInOutlineAndFacingsAndFramesDiffer) {
  const Bitmap32 f = LoadWithAlpha("FMibbet_D"), s = LoadWithAlpha("SMibbet_D"), e = LoadWithAlpha("EMibbet_D");
  EXPECT_GT(SilhouetteDifference(f, s), 80);
  EXPECT_GT(SilhouetteDifference(s, e), 80);
  EXPECT_GT(SilhouetteDifference(f, e), 80);
  for (const char* kind : {"F", "S", "E"}) {
    std::set<std::vector<Pixel>> facings;
    for (const char* suffix : {"_D", "_U", "_L", "_R"})
      facings.insert(LoadWithAlpha(std::string(kind) + "Mibbet" + suffix).Pixels());
    EXPECT_EQ(facings.size(), 4u) << kind;
  }
  // Animations: every frame differs from the one before it.
  const std::vector<std::vector<std::string>> animations = {
      {"Orb1", "Orb2", "Orb3", "Orb4"},
      {"Splode1", "Splode2", "Splode3", "Splode4", "Splode5", "Splode6", "Splode7"},
      {"FExclaim1", "FExclaim2", "FExclaim3"},
      {"SExclaim1", "SExclaim2", "SExclaim3"},
      {"EExclaim1", "EExclaim2", "EExclaim3"},
      {"mibbetbump", "mibbethole"}};
  for (const auto& frames : animations)
    for (std::size_t i = 1; i < frames.size(); ++i)
      EXPECT_NE(LoadWithAlpha(frames[i - 1]).Pixels(), LoadWithAlpha(frames[i]).Pixels()) << frames[i];
}

// Rec. 601 luma, the weights of a grey-scale conversion, over the pixels a player sees of the creature.
double MeanLuma(const Bitmap32& b) {
  double sum = 0;
  int count = 0;
  for (Pixel p : b.Pixels())
    if (PixelAlpha(p) >= 128) sum += 0.299 * PixelRed(p) + 0.587 * PixelGreen(p) + 0.114 * PixelBlue(p), ++count;
  return count ? sum / count / 255.0 : 0.0;
}

// The kinds must tell apart in grey as well: a player who cannot tell red from grey or green still
// sees a dark, a middling and a light creature. 12 % of full scale is one step of an eight-shade
// grey ramp, the finest step the eye sorts at a glance on a 35-pixel sprite.
TEST_F(AssetgenTest, KindsDifferInLightnessInEveryFacing) {
  for (const char* suffix : {"_D", "_U", "_L", "_R"}) {
    const double f = MeanLuma(LoadWithAlpha(std::string("FMibbet") + suffix));
    const double s = MeanLuma(LoadWithAlpha(std::string("SMibbet") + suffix));
    const double e = MeanLuma(LoadWithAlpha(std::string("EMibbet") + suffix));
    std::printf("luma %s: F %.3f S %.3f E %.3f\n", suffix, f, s, e);
    EXPECT_GT(std::abs(f - s), 0.12) << suffix;
    EXPECT_GT(std::abs(s - e), 0.12) << suffix;
    EXPECT_GT(std::abs(f - e), 0.12) << suffix;
  }
}

std::vector<std::string> SoundNames() {
  std::vector<std::string> n = {"menuopen", "menuselect",  "nocando",    "nomoney",  "beamshot1",
                                "turret",   "hatewarning", "tunnelwarn", "holewarn", "hooray"};
  for (int i = 1; i <= 14; ++i) n.push_back("explosion" + std::to_string(i));
  return n;
}

TEST_F(AssetgenTest, SoundsAreShortUnclippedMonoPcmOfEvenLoudness) {
  std::set<std::string> explosions;
  double quietest = 1e9, loudest = 0;
  for (const auto& name : SoundNames()) {
    SDL_AudioSpec spec;
    Uint8* data = nullptr;
    Uint32 length = 0;
    ASSERT_NE(SDL_LoadWAV((*dir_ / (name + ".wav")).string().c_str(), &spec, &data, &length), nullptr) << name;
    EXPECT_EQ(spec.format, AUDIO_S16LSB) << name;
    EXPECT_EQ(spec.channels, 1) << name;
    const auto* pcm = reinterpret_cast<const Sint16*>(data);
    const std::size_t count = length / 2;
    const double seconds = double(count) / spec.freq;
    EXPECT_GT(seconds, 0.05) << name;
    EXPECT_LT(seconds, 2.0) << name;
    double sum = 0;
    int peak = 0;
    for (std::size_t i = 0; i < count; ++i)
      sum += double(pcm[i]) * pcm[i], peak = std::max(peak, std::abs(int(pcm[i])));
    EXPECT_LT(peak, 32000) << name;
    const double rms = std::sqrt(sum / double(count)) / 32768.0;
    quietest = std::min(quietest, rms), loudest = std::max(loudest, rms);
    if (name.rfind("explosion", 0) == 0) explosions.insert(std::string(reinterpret_cast<char*>(data), length));
    SDL_FreeWAV(data);
  }
  EXPECT_EQ(explosions.size(), 14u);
  EXPECT_LT(loudest / quietest, 3.0);
}

TEST_F(AssetgenTest, MusicDecodesAndLoopsEndLeadMsBeforeTheFileEnds) {
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  Mix_Init(MIX_INIT_MP3);
  ASSERT_EQ(Mix_OpenAudio(32000, AUDIO_S16SYS, 1, 1024), 0) << Mix_GetError();
  // Track, LeadMs, and the length of its musical loop: the loop must end exactly where the game
  // restarts the track (duration - LeadMs); the closing track is cut there too.
  const std::vector<std::tuple<int, int, int>> tracks = {
      {0, 200, 48000}, {1, 180, 34560}, {2, 180, 38400}, {3, 150, 40320}, {4, 200, 32000}};
  for (const auto& [index, leadMs, loopMs] : tracks) {
    const std::string path = (*dir_ / ("mmusic" + std::to_string(index) + ".mp3")).string();
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    ASSERT_NE(music, nullptr) << path << ": " << Mix_GetError();
    const double duration = Mix_MusicDuration(music);
    EXPECT_GE(duration, 30.0) << index;
    EXPECT_LE(duration, 90.0) << index;
    EXPECT_NEAR(duration * 1000.0 - leadMs, loopMs, 1.0) << index;
    Mix_FreeMusic(music);

    // Decoded, the last LeadMs must repeat the first: that is what the restart plays next. The
    // closing track instead falls silent there, so the cut is not heard.
    Mix_Chunk* pcm = Mix_LoadWAV(path.c_str());
    ASSERT_NE(pcm, nullptr) << Mix_GetError();
    const auto* s = reinterpret_cast<const Sint16*>(pcm->abuf);
    const std::size_t n = pcm->alen / 2, lead = std::size_t(leadMs) * 32000 / 1000, tail = n - lead;
    double cross = 0, tailEnergy = 0, headEnergy = 0;
    for (std::size_t i = 0; i < lead; ++i) {
      cross += double(s[tail + i]) * s[i];
      tailEnergy += double(s[tail + i]) * s[tail + i];
      headEnergy += double(s[i]) * s[i];
    }
    if (index < 4) EXPECT_GT(cross / std::sqrt(tailEnergy * headEnergy + 1.0), 0.98) << index;
    else EXPECT_LT(std::sqrt(tailEnergy / double(lead)), 30.0);
    Mix_FreeChunk(pcm);
  }
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TEST_F(AssetgenTest, TwoRunsWriteIdenticalFiles) {
  const fs::path again = *dir_ / "again";
  ASSERT_EQ(RunGenerator("--out \"" + again.string() + "\""), 0);
  std::size_t compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(*dir_)) {
    if (!entry.is_regular_file() || entry.path().string().rfind(again.string(), 0) == 0) continue;
    const fs::path twin = again / fs::relative(entry.path(), *dir_);
    ASSERT_TRUE(fs::exists(twin)) << twin;
    EXPECT_EQ(Slurp(entry.path()), Slurp(twin)) << entry.path();
    ++compared;
  }
  EXPECT_GT(compared, 184u + 14u + 24u + 5u);
  fs::remove_all(again);
}

TEST_F(AssetgenTest, EmbeddedSourceAndContactSheet) {
  const fs::path source = *dir_ / "embedded.cpp", sheet = *dir_ / "sheet.bmp";
  ASSERT_EQ(RunGenerator("--embedded \"" + source.string() + "\" --sheet \"" + sheet.string() + "\""), 0);
  const std::string text = Slurp(source);
  for (const char* fn : {"EmbeddedLoadingBanner()", "EmbeddedPaused()", "EmbeddedKeyLegend(bool soundOn, bool musicOn)",
                         "EmbeddedCredits()"})
    EXPECT_NE(text.find(std::string("Bitmap32 ") + fn), std::string::npos) << fn;
  const auto contact = ReadBmp(sheet.string());
  ASSERT_TRUE(contact.has_value());
  EXPECT_GT(contact->Width() * contact->Height(), 184 * 35 * 35);
  fs::remove(source);
  fs::remove(sheet);
  EXPECT_NE(RunGenerator("--bogus x"), 0);
}

}  // namespace
