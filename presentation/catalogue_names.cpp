#include "presentation/catalogue_names.h"

std::vector<std::string> FontGlyphNames(const std::string& setPrefix) {
  std::vector<std::string> names;
  for (char c = '0'; c <= '9'; ++c) names.push_back(setPrefix + c);
  names.push_back(setPrefix + "of");
  for (char c = 'a'; c <= 'z'; ++c) names.push_back(setPrefix + c);
  names.push_back(setPrefix + " ");
  names.push_back(setPrefix + "_");
  names.push_back(setPrefix + "-");
  return names;
}

namespace {

std::vector<std::string> BuildCatalogueNames() {
  std::vector<std::string> names = {"Tile",      "TileSnow",  "Cursor",      "Builder_D", "Builder_U",
                                    "Builder_L", "Builder_R", "Base_Floor",  "Turret",    "Sign_D",
                                    "Sign_U",    "Sign_L",    "Sign_R",      "Cancel",    "Destroy",
                                    "Get",       "Scrap",     "ScrapMedium", "ScrapLarge"};
  for (const char* kind : {"S", "F", "E"})
    for (const char* facing : {"D", "U", "L", "R"}) names.push_back(std::string(kind) + "Mibbet_" + facing);
  for (const char* kind : {"S", "E", "F"}) names.push_back(std::string(kind) + "MibbetTunnel");
  for (const char* n : {"Tree1", "Tree2", "Rock1", "Rock2", "Ruin1"}) names.push_back(n);
  for (const char* kind : {"F", "S", "E"})
    for (int frame = 1; frame <= 3; ++frame) names.push_back(std::string(kind) + "Exclaim" + std::to_string(frame));
  for (int frame = 1; frame <= 4; ++frame) names.push_back("Orb" + std::to_string(frame));
  for (int frame = 1; frame <= 7; ++frame) names.push_back("Splode" + std::to_string(frame));
  names.push_back("SpeechMib");
  names.push_back("SpeechBet");
  for (const char* set : {"f0", "f1"})
    for (const std::string& glyph : FontGlyphNames(set)) names.push_back("font/" + glyph);
  for (const char* n :
       {"redsquare", "highscores", "entername", "presstocont", "clicktocont", "postonline", "mibbetbump", "mibbethole",
        "Trans", "gifta", "giftb", "giftc", "arrowd", "arrowu", "arrowl", "arrowr", "redcross"})
    names.push_back(n);
  for (int page = 0; page <= 25; ++page) names.push_back("tutorial" + std::to_string(page));
  return names;
}

}  // namespace

const std::vector<std::string>& CatalogueNames() {
  static const std::vector<std::string> names = BuildCatalogueNames();
  return names;
}
