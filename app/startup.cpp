// Start-up and shutdown of the game, the seasonal theme and the version text.
#include <iostream>

#include "app/main_window.h"
#include "platform/files.h"
#include "presentation/embedded_pictures.h"

void TForm1::FormCreate() {
  Ports.Host.ShowLoadingBanner(EmbeddedLoadingBanner());
  GameMode = ModeSplash;
  Rng.Seed(NextWorldSeed());
  Orb = nullptr;
  Theme = NoTheme;
  DecideTheme();
  ChooseHighScoreFolder();
  EnsureHighScoreFile();
  LoadHighScores();
  TickCount = 0;
  TutCellX = TutCellY = TutMenuTag = -1;
  SplashClicked = false;
  LoadAssets();
  MusicOn = true;
  SoundOn = true;
  ShowSwitches();
  static_cast<TSettings&>(*this) = RecordedSettings ? *RecordedSettings : ReadSettings(AssetDir + "settings.ini");
  if (DEBUG != 0) ApplyDebugLook();
  Scrap = BASESCRAP;
  Score = 0;
  GameOver = false;
  pnlGameOver.Colour = pnlSplash.Colour = MakePixel(0, 0, 0);
  pnlSplash.Visible = PaintBox1.Visible = PaintBox2.Visible = true;
  tmrDiv.SetEnabled(true);
  ResetSoundThrottle();
  HatredState = 1;
  SetHatred();
  NameEntryState = 0;
  imScrapCt.Image.Bitmap.Resize(imScrapCt.Width, imScrapCt.Height, MakePixel(255, 255, 255));
  DrawCounter(imScrapCt, std::to_string(Scrap));
  DrawCounter(imScore, std::to_string(Score));
  MusicStage = 0;
  ApplyMusicStage();
  Ports.Host.HideLoadingBanner();
  LayOutWorld();
  CreateCursorSprites();
}

void TForm1::FormDestroy() {
  if (DEBUG == 0 || Replaying) return;
  const std::string folder = WritableFolder(AssetDir, "XDG_STATE_HOME", ".local/state");
  const std::string path = (folder.empty() ? AssetDir : folder) + "debug.txt";
  std::string text;
  if (DebugLinesDropped > 0) text += "(" + std::to_string(DebugLinesDropped) + " earlier lines dropped)\r\n";
  for (const std::string& line : DebugLog) text += line + "\r\n";
  if (!WriteFileAtomically(path, text)) std::cerr << "mibbetfall: could not write " << path << "\n";
}

void TForm1::LogDebug(const std::string& text) {
  // Collected only in debug mode: the log is written out only then, and would otherwise grow
  // for as long as a game runs.
  if (DEBUG == 0) return;
  constexpr std::size_t kKeptDebugLines = 100000;
  DebugLog.push_back(text);
  if (DebugLog.size() > kKeptDebugLines) {
    DebugLog.pop_front();
    ++DebugLinesDropped;
  }
}

std::uint32_t TForm1::NextWorldSeed() {
  constexpr std::uint32_t kGoldenRatio = 0x9E3779B9u;  // spreads consecutive worlds far apart
  return Ports.Timers.GetClock().RandomSeed() + kGoldenRatio * std::uint32_t(WorldsSeeded++);
}

std::string TForm1::VersionText(int major, int minor, int release, int build) {
  std::string text =
      std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) + "." + std::to_string(build);
  for (int i = 0; i < 2; ++i)
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, ".0") == 0) text.resize(text.size() - 2);
  return text;
}

std::string TForm1::VersionString() {
  return VersionText(MIBBETFALL_VERSION_MAJOR, MIBBETFALL_VERSION_MINOR, MIBBETFALL_VERSION_PATCH,
                     MIBBETFALL_VERSION_TWEAK);
}

void TForm1::DecideTheme() {
  const CalendarDate today = Ports.Timers.GetClock().Today();
  if (today.Month == 1 && today.Day == 12) Theme = 0;
  if (today.Month == 6 && today.Day == 30) Theme = 1;
  if (today.Month == 12 && today.Day == 25) Theme = 2;
}

void TForm1::ScatterGifts() {
  if (Theme == NoTheme) return;
  for (int i = 0; i < 5; ++i) {
    Resources.push_back(std::make_unique<TSprite>(Playfield.Image));
    TSprite& gift = *Resources.back();
    gift.Variant = 5 + Theme;
    gift.Resource = ResourceKind::Gift;
    ShowPicture(gift, BmpGift + Theme);
    gift.Gatherable = true;
    gift.Id = ++NextId;
    if (!ChooseFreeResourceCell(gift)) return;
    gift.Place();
  }
}
