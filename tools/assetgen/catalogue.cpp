#include "tools/assetgen/catalogue.h"

#include "tools/assetgen/art.h"

namespace assetgen {

namespace {

const char* const kFacingSuffix[4] = {"_D", "_U", "_L", "_R"};
const char kKindLetter[3] = {'F', 'S', 'E'};

void Add(std::vector<PictureSpec>& list, std::string name, std::function<Bitmap32()> draw, bool transparent) {
  list.push_back({std::move(name), std::move(draw), transparent});
}

void AddMibbets(std::vector<PictureSpec>& list, int kind) {
  for (int f = 0; f < 4; ++f)
    Add(list, std::string(1, kKindLetter[kind]) + "Mibbet" + kFacingSuffix[f], [=] { return DrawMibbet(kind, f); },
        true);
}

void AddExclaims(std::vector<PictureSpec>& list, int kind) {
  for (int frame = 0; frame < 3; ++frame)
    Add(list, std::string(1, kKindLetter[kind]) + "Exclaim" + std::to_string(frame + 1),
        [=] { return DrawExclaim(kind, frame); }, true);
}

}  // namespace

std::vector<PictureSpec> CataloguePictures() {
  std::vector<PictureSpec> list;
  Add(list, "Tile", [] { return DrawTile(false); }, false);
  Add(list, "TileSnow", [] { return DrawTile(true); }, false);
  Add(list, "Cursor", DrawCursor, true);
  for (int f = 0; f < 4; ++f)
    Add(list, std::string("Builder") + kFacingSuffix[f], [=] { return DrawBuilder(f); }, true);
  Add(list, "Base_Floor", DrawBaseFloor, false);
  Add(list, "Turret", DrawTurret, true);
  for (int d = 0; d < 4; ++d) Add(list, std::string("Sign") + kFacingSuffix[d], [=] { return DrawSign(d); }, true);
  Add(list, "Cancel", DrawCancel, true);
  Add(list, "Destroy", DrawDestroy, true);
  Add(list, "Get", DrawGet, true);
  const char* const scrapNames[3] = {"Scrap", "ScrapMedium", "ScrapLarge"};
  for (int s = 0; s < 3; ++s) Add(list, scrapNames[s], [=] { return DrawScrap(s); }, true);
  AddMibbets(list, 1);
  AddMibbets(list, 0);
  AddMibbets(list, 2);
  Add(list, "SMibbetTunnel", [] { return DrawTunnel(1); }, true);
  Add(list, "EMibbetTunnel", [] { return DrawTunnel(2); }, true);
  Add(list, "FMibbetTunnel", [] { return DrawTunnel(0); }, true);
  for (int v = 0; v < 2; ++v) Add(list, "Tree" + std::to_string(v + 1), [=] { return DrawTree(v); }, true);
  for (int v = 0; v < 2; ++v) Add(list, "Rock" + std::to_string(v + 1), [=] { return DrawRock(v); }, true);
  Add(list, "Ruin1", DrawRuin, true);
  AddExclaims(list, 0);
  AddExclaims(list, 1);
  AddExclaims(list, 2);
  for (int f = 0; f < 4; ++f) Add(list, "Orb" + std::to_string(f + 1), [=] { return DrawOrb(f); }, true);
  for (int f = 0; f < 7; ++f) Add(list, "Splode" + std::to_string(f + 1), [=] { return DrawSplode(f); }, true);
  Add(list, "SpeechMib", [] { return DrawSpeech(false); }, true);
  Add(list, "SpeechBet", [] { return DrawSpeech(true); }, true);
  for (int set = 0; set < 2; ++set)
    for (int g = 0; g < 40; ++g)
      Add(list, GlyphName(set, g), [=] { return DrawGlyph(set, GlyphOrder()[g]); }, false);
  Add(list, "redsquare", DrawRedSquare, true);
  const char* const captions[5] = {"highscores", "entername", "presstocont", "clicktocont", "postonline"};
  for (int c = 0; c < 5; ++c) Add(list, captions[c], [=] { return DrawCaption(c); }, false);
  Add(list, "mibbetbump", DrawBump, true);
  Add(list, "mibbethole", DrawHole, true);
  Add(list, "Trans", DrawTrans, true);
  const char* const gifts[3] = {"gifta", "giftb", "giftc"};
  for (int t = 0; t < 3; ++t) Add(list, gifts[t], [=] { return DrawGift(t); }, true);
  const char* const arrows[4] = {"arrowd", "arrowu", "arrowl", "arrowr"};
  for (int d = 0; d < 4; ++d) Add(list, arrows[d], [=] { return DrawArrow(d); }, true);
  Add(list, "redcross", DrawRedCross, true);
  for (int p = 0; p < 26; ++p)
    Add(list, "tutorial" + std::to_string(p), [=] { return DrawTutorialPage(p); }, true);
  return list;
}

std::vector<PictureSpec> ScreenPictures() {
  std::vector<PictureSpec> list;
  Add(list, "menuframe", DrawMenuFrame, false);
  Add(list, "orbmenuframe", DrawOrbMenuFrame, false);
  Add(list, "ScrapCount", DrawScrapCount, false);
  Add(list, "SignCount", DrawSignCount, false);
  Add(list, "rhs1", [] { return DrawHatredPanel(1); }, false);
  Add(list, "rhs2", [] { return DrawHatredPanel(2); }, false);
  Add(list, "splash", DrawSplash, false);
  Add(list, "starttext", DrawStartText, false);
  Add(list, "endtext", DrawEndText, false);
  Add(list, "gameovertop", DrawGameOverTop, false);
  Add(list, "gameoverbottom", DrawGameOverBottom, false);
  Add(list, "gameoverleft", DrawGameOverLeft, false);
  Add(list, "playtut", DrawPlayTutorialQuestion, false);
  Add(list, "leavetut", DrawLeaveTutorial, false);
  return list;
}

}  // namespace assetgen
