// Loading the asset catalogue, the menu frames, the panel pictures and the music tracks.
#include <iostream>
#include <map>
#include <set>

#include "app/main_window.h"
#include "platform/bmp_file.h"
#include "platform/files.h"
#include "presentation/catalogue_names.h"

namespace {

// A missing picture keeps its catalogue position: later pictures must not shift.
constexpr int kPlaceholderSize = 35;

// The companion's brightness becomes the alpha; the picture takes the companion's size.
void ApplyAlphaCompanion(Bitmap32& picture, const Bitmap32& companion) {
  Bitmap32 sized(companion.Width(), companion.Height());
  sized.DrawOpaque(picture, 0, 0);
  for (int y = 0; y < sized.Height(); ++y)
    for (int x = 0; x < sized.Width(); ++x) {
      const Pixel grey = companion.At(x, y);
      const int alpha = (61 * PixelRed(grey) + 174 * PixelGreen(grey) + 21 * PixelBlue(grey)) >> 8;
      sized.Set(x, y, (sized.At(x, y) & 0x00FFFFFFu) | (Pixel(alpha) << 24));
    }
  picture = std::move(sized);
}

// The picture with its alpha companion applied, or the placeholder when it cannot be read.
Bitmap32 ReadCataloguePicture(const std::string& assetDir, const std::string& name) {
  const std::string path = assetDir + name + ".bmp";
  std::optional<Bitmap32> picture = ReadBmp(path);
  if (!picture) {
    std::cerr << "mibbetfall: missing or unreadable picture " << path << "\n";
    return Bitmap32(kPlaceholderSize, kPlaceholderSize, 0);
  }
  const std::string companionPath = assetDir + name + "A.bmp";
  if (FileExists(companionPath))
    if (const std::optional<Bitmap32> companion = ReadBmp(companionPath)) ApplyAlphaCompanion(*picture, *companion);
  return std::move(*picture);
}

// Pictures first shown in the tutorial or after a game has ended: many sessions never reach
// them, so they are read when first drawn rather than at start.
bool ShownOnlyLater(const std::string& name) {
  static const std::set<std::string> later = {"highscores", "entername", "presstocont", "clicktocont", "postonline",
                                              "arrowd",     "arrowu",    "arrowl",      "arrowr",      "redcross"};
  return later.contains(name) || name.starts_with("tutorial");
}

}  // namespace

void TForm1::LoadPicture(const std::string& name) {
  if (ShownOnlyLater(name))
    Sprites.AddDeferred(name, [assetDir = AssetDir, name] { return ReadCataloguePicture(assetDir, name); });
  else Sprites.Add(name, ReadCataloguePicture(AssetDir, name));
}

int TForm1::LoadPictureIndexed(const std::string& name) {
  LoadPicture(name);
  return Sprites.Count() - 1;
}

void TForm1::LoadAssets() {
  const std::map<std::string, int TGameState::*> families = {{"Tile", &TGameState::BmpTile},
                                                             {"Cursor", &TGameState::BmpCursor},
                                                             {"Builder_D", &TGameState::BmpBuilder},
                                                             {"Base_Floor", &TGameState::BmpBaseFloor},
                                                             {"Turret", &TGameState::BmpTurret},
                                                             {"Sign_D", &TGameState::BmpSign},
                                                             {"Cancel", &TGameState::BmpCancel},
                                                             {"Destroy", &TGameState::BmpDestroy},
                                                             {"Get", &TGameState::BmpGet},
                                                             {"Scrap", &TGameState::BmpScrap},
                                                             {"SMibbet_D", &TGameState::BmpSMibbet},
                                                             {"FMibbet_D", &TGameState::BmpFMibbet},
                                                             {"EMibbet_D", &TGameState::BmpEMibbet},
                                                             {"SMibbetTunnel", &TGameState::BmpSTunnel},
                                                             {"EMibbetTunnel", &TGameState::BmpETunnel},
                                                             {"FMibbetTunnel", &TGameState::BmpFTunnel},
                                                             {"Tree1", &TGameState::BmpTree},
                                                             {"Rock1", &TGameState::BmpRock},
                                                             {"Ruin1", &TGameState::BmpRuin},
                                                             {"FExclaim1", &TGameState::BmpFExclaim},
                                                             {"SExclaim1", &TGameState::BmpSExclaim},
                                                             {"EExclaim1", &TGameState::BmpEExclaim},
                                                             {"Orb1", &TGameState::BmpOrb},
                                                             {"Splode1", &TGameState::BmpSplode},
                                                             {"SpeechMib", &TGameState::BmpSpeechMib},
                                                             {"SpeechBet", &TGameState::BmpSpeechBet},
                                                             {"font/f00", &TGameState::BmpFont},
                                                             {"redsquare", &TGameState::BmpRedSquare},
                                                             {"highscores", &TGameState::BmpHighScores},
                                                             {"entername", &TGameState::BmpEnterName},
                                                             {"mibbetbump", &TGameState::BmpBump},
                                                             {"mibbethole", &TGameState::BmpHole},
                                                             {"Trans", &TGameState::BmpTrans},
                                                             {"gifta", &TGameState::BmpGift},
                                                             {"arrowd", &TGameState::BmpArrow},
                                                             {"redcross", &TGameState::BmpRedCross},
                                                             {"tutorial0", &TGameState::BmpTutorial}};
  for (const std::string& name : CatalogueNames()) {
    if (const auto family = families.find(name); family != families.end())
      this->*(family->second) = LoadPictureIndexed(name);
    else LoadPicture(name);
  }
  static constexpr int kLeadMs[5] = {200, 180, 180, 150, 200};
  for (int i = 0; i < 5; ++i) {
    const std::string index = std::to_string(i);
    Music[i] = std::make_unique<TBackgroundMusic>(Ports.Timers, Ports.Music.CreateTrack(), "Music" + index);
    Music[i]->Open(AssetDir + "mmusic" + index + ".mp3");
    Music[i]->LeadMs = kLeadMs[i];
  }
  Music[4]->Loop = false;
  LoadMenuFrames();
  LoadPanelPictures();
}

void TForm1::LoadMenuFrames() {
  // The icons carry transparency, so they are laid over the frame rather than copied onto it.
  struct Icon {
    int Picture, X, Y;
  };
  const auto loadFrame = [&](TLayeredImageControl& menu, const std::string& file, std::initializer_list<Icon> icons) {
    const std::optional<Bitmap32> frame = FileExists(AssetDir + file) ? ReadBmp(AssetDir + file) : std::nullopt;
    if (!frame) return;
    menu.Image.Bitmap = *frame;
    menu.Width = frame->Width();
    menu.Height = frame->Height();
    for (const Icon& icon : icons) menu.Image.Bitmap.DrawBlended(*Sprites.At(icon.Picture), icon.X, icon.Y, 255);
  };
  loadFrame(MenuImg, "menuframe.bmp",
            {{BmpSign + 0, 3, 17},
             {BmpSign + 1, 44, 17},
             {BmpSign + 2, 3, 58},
             {BmpSign + 3, 44, 58},
             {BmpGet, 3, 99},
             {BmpDestroy, 44, 99}});
  loadFrame(OrbMenuImg, "orbmenuframe.bmp", {{BmpBuilder, 24, 16}});
}

bool TForm1::LoadControlPicture(TImage& control, const std::string& file) {
  const std::string path = AssetDir + file;
  if (!FileExists(path)) return false;
  std::optional<Bitmap32> picture = ReadBmp(path);
  if (!picture) {
    std::cerr << "mibbetfall: unreadable picture " << path << "\n";
    return false;
  }
  control.Picture = std::move(*picture);
  return true;
}

void TForm1::LoadPanelPictures() {
  LoadControlPicture(imScrap, "ScrapCount.bmp");
  LoadControlPicture(imSigns, "SignCount.bmp");
  if (LoadControlPicture(imSplash, "splash.bmp")) DrawVersionText();
  LoadControlPicture(imStart, "starttext.bmp");
}

void TForm1::LoadGameOverPictures() {
  // Read when the panel is first shown: about 1.7 MB of pixels that a session which never loses
  // a game never needs.
  if (gameOverPicturesLoaded_) return;
  gameOverPicturesLoaded_ = true;
  LoadControlPicture(imGOBot, "gameoverbottom.bmp");
  if (LoadControlPicture(imGOL, "gameoverleft.bmp")) imGOR.Picture = imGOL.Picture;
  LoadControlPicture(imGOTop, "gameovertop.bmp");
  LoadControlPicture(imEnd, "endtext.bmp");
}

void TForm1::DrawVersionText() {
  Bitmap32& picture = imSplash.Picture;
  Bitmap32 text = Ports.Fonts.Render(VersionString(), 11, true, MakePixel(0, 0, 0));
  if (text.Empty()) return;
  const int x = imSplash.Width - text.Width() - 1;
  const int y = imSplash.Height - text.Height() - 1;
  if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return;
  const Pixel background = picture.At(x, y) | 0xFF000000u;
  // The text sits on a box of the corner's colour, in dark or light ink, whichever reads.
  const int brightness = PixelRed(background) + PixelGreen(background) + PixelBlue(background);
  if (brightness <= 3 * 128)
    for (int row = 0; row < text.Height(); ++row)
      for (Pixel* p = text.Row(row); p != text.Row(row) + text.Width(); ++p) *p |= 0x00FFFFFFu;
  picture.FillRect(x, y, text.Width(), text.Height(), background);
  picture.DrawBlended(text, x, y, 255);
}
