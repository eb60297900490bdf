// The game state as JSON, named as the game names its fields.
#include <nlohmann/json.hpp>

#include "sim/simulator.h"

using Json = nlohmann::ordered_json;

namespace {

Json OrderJson(const TOrder& o) {
  return Json{{"CellX", o.CellX},       {"CellY", o.CellY},           {"Action", o.Action},
              {"TargetId", o.TargetId}, {"DwellTicks", o.DwellTicks}, {"BuilderIndex", o.BuilderIndex},
              {"Kind", o.Kind},         {"Taken", o.Taken},           {"AdvancesTutorial", o.AdvancesTutorial}};
}

Json SpriteJson(const TForm1& game, const TSprite& s) {
  Json j{{"Id", s.Id},
         {"CellX", s.CellX},
         {"CellY", s.CellY},
         {"DestX", s.DestX},
         {"DestY", s.DestY},
         {"Left", s.Location.Left},
         {"Top", s.Location.Top},
         {"Variant", s.Variant},
         {"Health", s.Health},
         {"Alpha", s.Alpha},
         {"LayerAlpha", s.Layer->MasterAlpha},
         {"Visible", s.Visible},
         {"Picture", game.Sprites.NameAt(s.ShownPicture)},
         {"Glide", s.Glide},
         {"Gatherable", s.Gatherable},
         {"BaseTurret", s.BaseTurret},
         {"HitThisTick", s.HitThisTick},
         {"Engaged", s.Engaged},
         {"EngagePause", s.EngagePause},
         {"Frame", s.Frame},
         {"FrameCount", s.FrameCount},
         {"Life", s.Life},
         {"EndsGame", s.EndsGame},
         {"NoBuildMark", s.NoBuildMark},
         {"MovesTunnel", s.MovesTunnel},
         {"TunnelKind", s.TunnelKind},
         {"OpensHole", s.OpensHole},
         {"HoleKind", s.HoleKind},
         {"LeavesHoleMark", s.LeavesHoleMark},
         {"ExplodeSound", s.ExplodeSound},
         // Its place in the stack of its image: later layers are drawn over earlier ones.
         {"LayerIndex", s.Image().IndexOf(s.Layer)}};
  j["Order"] = s.Order ? OrderJson(*s.Order) : Json(nullptr);
  return j;
}

Json MibbetJson(const TForm1& game, const TMibbet& m) {
  Json j = SpriteJson(game, m);
  for (const auto& [key, value] : std::initializer_list<std::pair<const char*, int>>{{"Kind", int(m.Kind)},
                                                                                     {"KindBitmap", m.KindBitmap},
                                                                                     {"ForceX", m.ForceX},
                                                                                     {"ForceY", m.ForceY},
                                                                                     {"HomeX", m.HomeX},
                                                                                     {"HomeY", m.HomeY},
                                                                                     {"LookPhase", m.LookPhase},
                                                                                     {"LookTimer", m.LookTimer},
                                                                                     {"TargetIndex", m.TargetIndex},
                                                                                     {"TargetType", int(m.TargetType)},
                                                                                     {"StepInterval", m.StepInterval},
                                                                                     {"StepCounter", m.StepCounter}})
    j[key] = value;
  // As seen on screen: red, green, blue.
  j["BeamColour"] = {PixelRed(m.BeamColour), PixelGreen(m.BeamColour), PixelBlue(m.BeamColour)};
  j["LooksAround"] = m.LooksAround;
  j["Active"] = m.Active;
  j["CanAttack"] = m.CanAttack;
  j["Arrived"] = m.Arrived;
  j["TutorialMark"] = m.TutorialMark;
  return j;
}

Json SignJson(const TForm1& game, const TSign& s) {
  Json j = SpriteJson(game, s);
  j["SteeredIds"] = s.SteeredIds;
  return j;
}

template <class T, class F>
Json ListJson(const OwnedList<T>& list, F&& toJson) {
  Json array = Json::array();
  for (const auto& entry : list) array.push_back(toJson(*entry));
  return array;
}

Json TunnelJson(const TForm1& game, const TunnelRec& t) {
  return Json{{"Kind", int(t.Kind)},
              {"X", t.X},
              {"Y", t.Y},
              {"Counter", t.Counter},
              {"Interval", t.Interval},
              {"Picture", game.Sprites.NameAt(t.Bitmap)},
              {"Visible", t.Sprite ? t.Sprite->Visible : false}};
}

Json WarningFrameJson(const TShape& frame) { return Json{{"Visible", frame.Visible}, {"Tag", frame.Tag}}; }

// Visible as drawn: the sprite's own flag reaches its layer only at the next Place.
Json CursorJson(const TSprite& s) {
  return Json{{"CellX", s.CellX}, {"CellY", s.CellY}, {"Visible", s.Layer->Visible}};
}

// A menu's price text is the only bitmap-font text ever drawn on it.
Json MenuJson(const TLayeredImageControl& menu, const TSprite* highlight) {
  return Json{{"Left", menu.Left},      {"Top", menu.Top},
              {"Tag", menu.Tag},        {"Visible", menu.Visible},
              {"Price", menu.LastText}, {"Highlight", highlight ? CursorJson(*highlight) : Json(nullptr)}};
}

void AddVisibility(Json& visible, const Control& control) {
  visible[control.Name] = control.Visible;
  for (const Control* child : control.Children) AddVisibility(visible, *child);
}

}  // namespace

std::string DumpGameState(const TForm1& game, std::int64_t timeMs, const SinceLastDump& since) {
  Json j;
  j["time"] = timeMs;
  j["TickCount"] = game.TickCount;
  j["GameMode"] = game.GameMode;
  j["GameOver"] = game.GameOver;
  j["Score"] = game.Score;
  j["Scrap"] = game.Scrap;
  j["Theme"] = game.Theme;
  j["NextId"] = game.NextId;
  j["HatredState"] = game.HatredState;
  j["ShownSignCount"] = game.ShownSignCount;
  j["HeldBuilder"] = game.HeldBuilder;
  j["SpeechToggle"] = game.SpeechToggle;
  j["MusicStage"] = game.MusicStage;
  j["MusicOn"] = game.MusicOn;
  j["SoundOn"] = game.SoundOn;
  j["NameEntryState"] = game.NameEntryState;
  j["SplashClicked"] = game.SplashClicked;
  j["MenuCellX"] = game.MenuCellX;
  j["MenuCellY"] = game.MenuCellY;
  j["MenuImgTag"] = game.MenuImg.Tag;
  j["TunnelMovePending"] = game.TunnelMovePending;
  j["TutorialStage"] = game.TutorialStage;
  j["Tunnels"] = Json{{"E", TunnelJson(game, game.ETunnel)},
                      {"S", TunnelJson(game, game.STunnel)},
                      {"F", TunnelJson(game, game.FTunnel)}};
  const auto sprite = [&](const TSprite& s) { return SpriteJson(game, s); };
  const auto sign = [&](const TSign& s) { return SignJson(game, s); };
  j["Builders"] = ListJson(game.Builders, sprite);
  j["Orders"] = ListJson(game.Orders, OrderJson);
  j["Resources"] = ListJson(game.Resources, sprite);
  j["Signs"] = ListJson(game.Signs, sign);
  j["Mibbets"] = ListJson(game.Mibbets, [&](const TMibbet& m) { return MibbetJson(game, m); });
  j["Effects"] = ListJson(game.Effects, sprite);
  j["Turrets"] = ListJson(game.Turrets, sign);
  j["Orb"] = game.Orb ? SpriteJson(game, *game.Orb) : Json(nullptr);
  j["KillAnims"] = game.KillAnims.size();
  Json timers = Json::object();
  for (const auto& t : game.Ports.Timers.Timers())
    timers[t->Name()] = Json{{"Enabled", t->Enabled()}, {"Interval", t->Interval()}};
  j["Timers"] = timers;
  Json visible = Json::object();
  for (const Control* child : game.Window.Children) AddVisibility(visible, *child);
  j["Visible"] = visible;
  j["Texts"] = Json{{"imScore", game.imScore.LastText},
                    {"imScrapCt", game.imScrapCt.LastText},
                    {"imSignsCt", game.imSignsCt.LastText}};
  j["WarningFrames"] = Json{{"spHatred", WarningFrameJson(game.spHatred)},
                            {"spNoCash", WarningFrameJson(game.spNoCash)},
                            {"spTooManySigns", WarningFrameJson(game.spTooManySigns)}};
  j["Cursor"] = game.Cursor ? CursorJson(*game.Cursor) : Json(nullptr);
  j["Menus"] = Json{{"MenuImg", MenuJson(game.MenuImg, game.MenuHighlight.get())},
                    {"OrbMenuImg", MenuJson(game.OrbMenuImg, game.OrbMenuHighlight.get())}};
  j["Caption"] = game.Caption;
  j["Sounds"] = since.Sounds;
  Json requests = Json::array();
  for (const SoundRequest& r : since.SoundRequests) requests.push_back(Json{{"Name", r.Name}, {"Played", r.Played}});
  j["SoundRequests"] = requests;
  j["DebugLines"] = since.DebugLines;
  j["DebugLinesLost"] = since.DebugLinesLost;
  return j.dump();
}
