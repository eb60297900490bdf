// The main window: the whole game. Its state lives here, its controls are plain data composed
// into one frame, and every game action is one of its operations. The operations are defined
// in the folder of the subsystem that owns them (creatures/, builders/, input/, screens/, ...).
#pragma once

#include <array>
#include <bitset>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/game_random.h"
#include "app/game_state.h"
#include "app/text_format.h"
#include "audio/MusicBG.h"
#include "creatures/cell_census.h"
#include "platform/font_rasterizer.h"
#include "platform/host_window.h"
#include "platform/http_client.h"
#include "platform/music_device.h"
#include "platform/scheduler.h"
#include "platform/sound_device.h"
#include "presentation/catalogue.h"
#include "presentation/controls.h"

// Everything outside the process that the game talks to.
struct Platform {
  Scheduler& Timers;
  SoundDevice& Sound;
  MusicDevice& Music;
  HttpClient& Http;
  FontRasterizer& Fonts;
  HostWindow& Host;
};

constexpr int WindowWidth = 903;
constexpr int WindowHeight = 717;
constexpr int PlayfieldSize = 700;
constexpr const char* ApplicationTitle = "Mibbetfall";

// A timer interval from a period in seconds: never below one second, so a damaged setting
// cannot make a timer fire without end, and never beyond a day.
int TimerPeriodMs(std::int64_t seconds);

// The battle track for the number of base turrets still standing: 1 for four, 2 for two or
// three, 3 for one or none.
int MusicStageForBaseTurrets(int standing);

class TForm1 : public TGameState {
 public:
  // Lays out the window and its timers; the game itself starts with FormCreate.
  TForm1(Platform platform, std::string assetDir);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // ---- Host entry points: window client pixels and typed characters ----
  void WindowMouseMove(int x, int y);
  void WindowMouseDown(int x, int y, MouseButton button);
  void WindowMouseUp(int x, int y, MouseButton button);
  void FormKeyPress(char ch);
  void FormKeyUp(int key);
  // Debug commands typed in debug mode; each returns after doing its one thing.
  bool DebugKeysEnabled() const;
  void RunDebugKey(char key);

  void DebugAddScrap(int amount);
  void DebugReplaceTurrets();
  void DebugFastMibbets();
  void DebugAddScore(int amount);
  void DebugGather();
  // Composes every visible control into the 903 x 717 frame.
  const Bitmap32& ComposeFrame();
  // Where the last ComposeFrame changed the frame: all of it the first time.
  const std::vector<ClipRect>& FrameChanges() const { return frameChanges_.Areas(); }

  // ---- Start-up, settings, theme and shutdown ----
  void FormCreate();
  void FormDestroy();
  static std::string VersionString();
  // The seed of the next world: the run's seed for the first, then a fresh one for each new
  // game, all following from the run's seed so that a recording replays every game of a run.
  std::uint32_t NextWorldSeed();
  static std::string VersionText(int major, int minor, int release, int build);
  void DecideTheme();
  void ScatterGifts();
  void LogDebug(const std::string& text);
  // A formatted debug line ("Mibbet %d at sign %d"), formatted only in debug mode: the tick
  // logs at every creature's step.
  template <class First, class... Rest>
  void LogDebug(const char* format, First first, Rest... rest) {
    if (DEBUG != 0) LogDebug(Format(format, first, rest...));
  }

  // ---- The world ----
  void LayOutWorld();
  void PaintFloor();
  // The base markers, the base turrets and the orb; old markers are destroyed first.
  void LayOutBase();
  // The three tunnels on their start cells, with fresh sprites.
  void LayOutTunnels();
  void CreateCursorSprites();
  void ResetCursorSprites();
  void ClearWorld();
  void NewGame();

  // ---- The main tick ----
  void tmrTickTimer();
  void ClearHitFlags();
  void EmergenceTick();

  // ---- Presentation ----
  void LoadAssets();
  void LoadPicture(const std::string& name);
  int LoadPictureIndexed(const std::string& name);
  void DrawText(TLayeredImageControl& image, const std::string& text, int set, bool clear, int x, int y, int tag);
  void AddPictureLayer(TLayeredImageControl& image, int x, int y, int picture, int alpha, int tag = 0);
  TSprite& AddEffect(int x, int y, int alpha, int life, int frameCount, int firstBitmap);
  TSprite& AddEffect(int x, int y, const EffectPreset& preset, int firstBitmap);
  // The one way an effect leaves Effects: it keeps the Orb pointer and a walk over the list valid.
  void RemoveEffectAt(int index);
  void UpdateEffects();
  void AddBeam(int x1, int y1, int startX, int startY, int x2, int y2, int endX, int endY, Pixel colour, bool jitter);
  void ShowPicture(TSprite& sprite, int index) { sprite.ShowPicture(Sprites, index); }

  // ---- Creatures ----
  void EmergeFromTunnel(TunnelRec& tunnel);
  void SpawnMibbet(int x, int y, int type);
  void EmergeFromHoles(int type);
  void UpdateMibbets();
  void CheckCell(int gx, int gy, int i);
  TMibbet& AddMibbet(MibbetKind kind, int x, int y, int forceY);
  // The creature at a list position, or none when the position is stale.
  TMibbet* MibbetAt(int i);
  void FaceMibbet(TMibbet& m, int facing);
  void StepMibbet(TMibbet& m, int i);
  void TakeStep(TMibbet& m);
  void ApplyPush(TMibbet& m, int i);
  void WalkMibbet(TMibbet& m, int gx, int gy, int i);
  // The one way a listed creature changes cell: the census follows it.
  void MoveMibbetTo(TMibbet& m, int x, int y);
  void LookAround(TMibbet& m, int gx, int gy, int i);
  void TrampleTrees(int gx, int gy);
  void SteerBySign(TMibbet& m, int gx, int gy, int i);
  // The one way a creature leaves Mibbets. A creature whose step is running learns its new
  // position from it when an earlier entry goes.
  void RemoveMibbetAt(int index);
  // Every creature gone at once, without a trace: no explosion, no score, no scrap.
  void RemoveAllMibbets();
  int AcquireTarget(int i);
  bool InReach(int x, int y, TargetKind type, int index);
  int FindTurretTarget(int i);
  int FindOrbTarget(int i);
  int FindHatedMibbet(int i);
  // The list position of the creature with that Id, or -1.
  int IndexOfMibbet(int id) const;
  // Step 6 of a creature's step: the shot at the target CheckCell found in this step.
  void FireShot(int i);
  // A creature's shot at a turret or the orb: one hit a tick, shown by a flash; true when it
  // destroyed the defence.
  bool HitDefence(TSprite& defence);
  void DamageTurret(int index);
  void DamageOrb();
  // The one way a creature loses health; it may remove the creature from Mibbets.
  void DamageMibbet(int index, Shooter shooter, double amount);
  void PlayExplosionSound();
  // A timer period in seconds from a base, a random spread that also shortens it, and a floor.
  std::int64_t RandomPeriodSeconds(int base, int spread, int shortest);
  bool IsFreeHoleCell(int x, int y) const;
  void tmrTunnelTimer();
  void MoveTunnel(int x, int y, int type);
  void tmrEmergeSwapTimer();
  void tmrEmergeHoleTimer();
  void WarnHole(int x, int y, int type);
  void OpenEmergenceHole(int x, int y, int type);
  void tmrRHSTimer();
  void SetHatred();
  void NextHatred();

  // ---- Builders, scrap, signs, turrets ----
  void AddBuilder();
  void AssignOrders();
  bool AssignOrdersPass();
  void ProposeNearestOrder(int builderIndex);
  void HandOutOrder(TOrder& queued, int queueIndex);
  TOrder& QueueOrder(int x, int y, OrderKind kind);
  void CompleteOrder(TOrder& order);
  void StepBuilders();
  int FindGatherable(int x, int y) const;
  void MakeScrap(int x, int y, bool retry);
  bool OrderGather(int x, int y);
  void CompleteGatherOrder(const TOrder& order);
  // The one way a resource leaves the list; a stale position is skipped.
  void RemoveResourceAt(int index);
  void PlayGiftFanfare();
  void RedrawScrap();
  TSign& CreateSign(int x, int y, bool solid, int direction);
  int FindSign(int x, int y) const;
  bool IsNoBuildCell(int x, int y) const;
  void ShowNoBuildMarks(bool show);
  void AddNoBuildMark(int x, int y);
  // Why a sign may not be ordered on a cell, in the order the checks run.
  enum class SignRefusal { None, SignThere, NoBuildMark, SignLimit, NoScrap };
  SignRefusal SignPlacementRefusal(int x, int y) const;
  void OrderSign(int x, int y, int direction);
  // False when the sign's removal is already ordered: the order is refused.
  bool OrderSignRemoval(int x, int y);
  bool SignRemovalOrdered(int signId) const;
  void CompleteSignOrder(const TOrder& order);
  void RefreshSignCounter();
  void CreateTurret(int x, int y);
  void LayOutBaseTurrets();
  // The turret at a list position, or none when the position is stale.
  TSign* TurretAt(int i);
  // The one way a turret leaves Turrets.
  void RemoveTurretAt(int index);
  // Every turret shoots every creature next to it; called once per tick while the game is on.
  void TurretsFire();
  struct CellXY {
    int X, Y;
  };
  // Where each creature stands, in list order.
  std::vector<CellXY> CrowdCells() const;

  // ---- Pointer and keys ----
  void PlayfieldMouseMove(int x, int y);
  void PlayfieldMouseDown(MouseButton button, int x, int y);
  void MenuImgMouseMove(int x, int y);
  void MenuImgMouseDown(MouseButton button, int x, int y);
  void OrbMenuImgMouseMove(int x, int y);
  void OrbMenuImgMouseDown(MouseButton button, int x, int y);
  bool PassPlayfieldTutorialGate();
  bool PassBuildMenuTutorialGate();
  bool CloseOpenMenu();
  void OpenOrbMenu();
  void OpenBuildMenu();
  void ShowMenu(TLayeredImageControl& menu, int left, int top);
  std::string CarryOutBuildMenuItem(int tag);
  std::string OrderSignFromMenu(int direction);
  void BuyBuilder();
  static void StartWarningFlash(TShape& frame);

  // ---- Screens ----
  void StartGame();
  void EndGame();
  void ShowTutorialQuestion();
  void ToggleGamePause();
  void imSplashClick();
  void tmrDivTimer();
  void tmrScrollSTTimer();
  void tmrSplodeTimer();
  void tmrScrollETTimer();
  void PaintBox1Click();
  void imHiScoreClick();
  void StartTutorial();
  void EndTutorial();
  void AdvanceTutorial(bool requireArrived);
  // Builds the scene of a stage and sets what it waits for.
  void SetTutorialStage(int stage);
  void ClearTutorialOverlays();
  void tmrTickTutTimer();
  void AddExplosionWave(int cells);
  // From the high-score screen back to the splash, over a fresh world.
  void ReturnToSplash();
  // The high-score file lives beside the assets, or in the player's data folder when the
  // assets may not be written (an installed game).
  void ChooseHighScoreFolder();
  std::string HighScorePath() const;
  void EnsureHighScoreFile();
  void LoadHighScores();
  void SaveHighScores();
  void InsertHighScore(bool post);
  // Sends the new entry to the high-score server, when one is configured.
  void PostHighScore();
  bool HighScoreServerConfigured() const;
  std::string HttpGet(const std::string& url);
  // Stores the typed name in the table, posting it first when asked to.
  void FinishNameEntry(bool post);
  void DrawHighScores();
  // The blinking name cursor, found by its tag; none when the screen holds none.
  BitmapLayer* NameCursor();
  void MoveNameCursor(int dx);
  void ShowNameCursor(bool shown);
  void NameEntryKey(char ch);
  void NameEntryBackspace();
  void PostAnswerKey(char ch);
  void tmrHiScoreFlickerTimer();

  // ---- Audio ----
  void PlaySfx(const std::string& name, int channel);
  void ResetSoundThrottle();
  // Stops every track but the current stage's, and gives that one (none for a stray stage).
  TBackgroundMusic* StopAllButStageTrack();
  void ApplyMusicStage();
  void UpdateMusicStage();
  void ToggleMusic();
  // The key legend shows whether sound and music are on.
  void ShowSwitches();

  // ---- Helpers shared by several rooms ----
  TunnelRec& TunnelOfKind(MibbetKind kind);
  void DrawCounter(TLayeredImageControl& counter, const std::string& text) {
    DrawText(counter, text, 0, true, 0, 0, 0);
  }
  static bool InReachOf(int x, int y, int cellX, int cellY) {
    return cellX >= x - 1 && cellX <= x + 1 && cellY >= y - 1 && cellY <= y + 1;
  }

  // ---- Platform ----
  Platform Ports;
  GameRandom Rng;

  // ---- Window controls, in creation order (later ones lie above earlier siblings) ----
  Control Window;
  TPanel pnlPause;
  TImage Image3;
  TPanel Pane;
  TLayeredImageControl Playfield;
  TLayeredImageControl MenuImg;
  TPanel pnlCash;
  TImage imScrap;
  TLayeredImageControl imScrapCt;
  TShape spNoCash;
  TPanel pnlSigns;
  TImage imSigns;
  TLayeredImageControl imSignsCt;
  TShape spTooManySigns;
  TLayeredImageControl OrbMenuImg;
  TPanel pnlGameOver;
  TImage imEnd, imGOTop, imGOR, imGOBot, imGOL;
  TPaintBox PaintBox1;
  TPanel pnlSplash;
  TImage imStart;
  TImage imSplash;
  TPaintBox PaintBox2;
  TPanel pnlHated;
  TLayeredImageControl imHatred;
  TShape spHatred;
  TPanel Panel1;
  TImage Image1;
  TPanel Panel2;
  TLayeredImageControl imScore;
  TPanel Panel3;
  TImage Image2;
  TMemo memDbg;
  TPanel pnlHighScores;
  TLayeredImageControl imHiScore;
  TPanel pnlTutorial;
  TImage imTutorial;
  Pixel WindowColour;
  // The shapes of the beams drawn so far, by size and end points within their cells.
  std::map<std::array<int, 6>, PicturePtr> BeamShapes;
  std::string Caption = ApplicationTitle;

  // ---- Timers ----
  Timer& tmrTick;
  Timer& tmrSplode;
  Timer& tmrScrollET;
  Timer& tmrScrollST;
  Timer& tmrDiv;
  Timer& tmrRHS;
  Timer& tmrTunnel;
  Timer& tmrEmergeSwap;
  Timer& tmrHiScoreFlicker;
  Timer& tmrEmergeHole;
  Timer& tmrTickTut;

  // ---- Assets and music ----
  Catalogue Sprites;
  std::array<std::unique_ptr<TBackgroundMusic>, 5> Music;

  // ---- Entities (declared after the controls: their layers live on the controls' images) ----
  OwnedList<TSprite> Builders;
  OwnedList<TMibbet> Mibbets;
  CellCensus Census;  // who stands where, while the creatures take their steps
  OwnedList<TSign> Signs;
  OwnedList<TOrder> Orders;
  OwnedList<TSprite> Resources;
  OwnedList<TSprite> Effects;
  OwnedList<TAnimKill> KillAnims;
  OwnedList<TSign> Turrets;
  std::array<std::unique_ptr<TSprite>, 6> BaseCells;
  TSprite* Orb = nullptr;  // an entry of Effects
  // The field cells, row by row, that the no-build marks covered when the build menu opened. A
  // snapshot: a sign removed or a hole closed while the menu is open still blocks until it closes.
  std::bitset<FieldCells * FieldCells> NoBuildCells;
  std::unique_ptr<TSprite> Cursor, MenuHighlight, OrbMenuHighlight;
  TunnelRec ETunnel, STunnel, FTunnel;
  // The list position of the creature whose step is running, -1 between steps.
  int SteppingMibbet = -1;

 private:
  void BuildLayout();
  void CreateTimers();
  void ApplyDebugLook();
  void PlaceStartingResources();
  bool ChooseFreeResourceCell(TSprite& item);
  void BlinkWarningFrame(TShape& frame, bool flipsHatred);
  void MaybeShowSpeechBubble();
  void RunEndAction(const TMBType& action);
  void LoadMenuFrames();
  void LoadPanelPictures();
  // The game-over panel's pictures, read the first time the panel is shown.
  void LoadGameOverPictures();
  void DrawVersionText();
  bool LoadControlPicture(TImage& control, const std::string& file);

  Control* pressedControl_ = nullptr;
  bool gameOverPicturesLoaded_ = false;
  Bitmap32 frame_;
  DamageList frameChanges_;
  std::optional<Pixel> composedColour_;
};
