#include "tools/assetgen/catalogue.h"

#include "tools/assetgen/art.h"

namespace assetgen {

namespace {

const char* const kFacingSuffix[4] = {"_D", "_U", "_L", "_R"};
const char kKindLetter[3] = {'F', 'S', 'E'};

// The drawing comes last, so that a lambda there reads as the body of the entry.
void Add(std::vector<PictureSpec>& list, std::string name, bool transparent, std::function<Bitmap32()> draw) {
  list.push_back({std::move(name), std::move(draw), transparent});
}

void AddMibbets(std::vector<PictureSpec>& list, int kind) {
  for (int f = 0; f < 4; ++f)
    Add(list, std::string(1, kKindLetter[kind]) + "Mibbet" + kFacingSuffix[f], true,
        [=] { return DrawMibbet(kind, f); });
}

void AddExclaims(std::vector<PictureSpec>& list, int kind) {
  for (int frame = 0; frame < 3; ++frame)
    Add(list, std::string(1, kKindLetter[kind]) + "Exclaim" + std::to_string(frame + 1), true,
        [=] { return DrawExclaim(kind, frame); });
}

}  // namespace

std::vector<PictureSpec> CataloguePictures() {
  std::vector<PictureSpec> list;
  Add(list, "Tile", false, [] { return DrawTile(false); });
  Add(list, "TileSnow", false, [] { return DrawTile(true); });
  Add(list, "Cursor", true, DrawCursor);
  for (int f = 0; f < 4; ++f)
    Add(list, std::string("Builder") + kFacingSuffix[f], true, [=] { return DrawBuilder(f); });
  Add(list, "Base_Floor", false, DrawBaseFloor);
  Add(list, "Turret", true, DrawTurret);
  for (int d = 0; d < 4; ++d) Add(list, std::string("Sign") + kFacingSuffix[d], true, [=] { return DrawSign(d); });
  Add(list, "Cancel", true, DrawCancel);
  Add(list, "Destroy", true, DrawDestroy);
  Add(list, "Get", true, DrawGet);
  const char* const scrapNames[3] = {"Scrap", "ScrapMedium", "ScrapLarge"};
  for (int s = 0; s < 3; ++s) Add(list, scrapNames[s], true, [=] { return DrawScrap(s); });
  AddMibbets(list, 1);
  AddMibbets(list, 0);
  AddMibbets(list, 2);
  Add(list, "SMibbetTunnel", true, [] { return DrawTunnel(1); });
  Add(list, "EMibbetTunnel", true, [] { return DrawTunnel(2); });
  Add(list, "FMibbetTunnel", true, [] { return DrawTunnel(0); });
  for (int v = 0; v < 2; ++v) Add(list, "Tree" + std::to_string(v + 1), true, [=] { return DrawTree(v); });
  for (int v = 0; v < 2; ++v) Add(list, "Rock" + std::to_string(v + 1), true, [=] { return DrawRock(v); });
  Add(list, "Ruin1", true, DrawRuin);
  AddExclaims(list, 0);
  AddExclaims(list, 1);
  AddExclaims(list, 2);
  for (int f = 0; f < 4; ++f) Add(list, "Orb" + std::to_string(f + 1), true, [=] { return DrawOrb(f); });
  for (int f = 0; f < 7; ++f) Add(list, "Splode" + std::to_string(f + 1), true, [=] { return DrawSplode(f); });
  Add(list, "SpeechMib", true, [] { return DrawSpeech(false); });
  Add(list, "SpeechBet", true, [] { return DrawSpeech(true); });
  for (int set = 0; set < 2; ++set)
    for (int g = 0; g < 40; ++g) Add(list, GlyphName(set, g), false, [=] { return DrawGlyph(set, GlyphOrder()[g]); });
  Add(list, "redsquare", true, DrawRedSquare);
  const char* const captions[5] = {"highscores", "entername", "presstocont", "clicktocont", "postonline"};
  for (int c = 0; c < 5; ++c) Add(list, captions[c], false, [=] { return DrawCaption(c); });
  Add(list, "mibbetbump", true, DrawBump);
  Add(list, "mibbethole", true, DrawHole);
  Add(list, "Trans", true, DrawTrans);
  const char* const gifts[3] = {"gifta", "giftb", "giftc"};
  for (int t = 0; t < 3; ++t) Add(list, gifts[t], true, [=] { return DrawGift(t); });
  const char* const arrows[4] = {"arrowd", "arrowu", "arrowl", "arrowr"};
  for (int d = 0; d < 4; ++d) Add(list, arrows[d], true, [=] { return DrawArrow(d); });
  Add(list, "redcross", true, DrawRedCross);
  for (int p = 0; p < 26; ++p) Add(list, "tutorial" + std::to_string(p), true, [=] { return DrawTutorialPage(p); });
  return list;
}

std::vector<PictureSpec> ScreenPictures() {
  std::vector<PictureSpec> list;
  Add(list, "menuframe", false, DrawMenuFrame);
  Add(list, "orbmenuframe", false, DrawOrbMenuFrame);
  Add(list, "ScrapCount", false, DrawScrapCount);
  Add(list, "SignCount", false, DrawSignCount);
  Add(list, "rhs1", false, [] { return DrawHatredPanel(1); });
  Add(list, "rhs2", false, [] { return DrawHatredPanel(2); });
  Add(list, "splash", false, DrawSplash);
  Add(list, "starttext", false, DrawStartText);
  Add(list, "endtext", false, DrawEndText);
  Add(list, "gameovertop", false, DrawGameOverTop);
  Add(list, "gameoverbottom", false, DrawGameOverBottom);
  Add(list, "gameoverleft", false, DrawGameOverLeft);
  Add(list, "playtut", false, DrawPlayTutorialQuestion);
  Add(list, "leavetut", false, DrawLeaveTutorial);
  return list;
}

}  // namespace assetgen
