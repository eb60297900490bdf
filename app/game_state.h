// The game state: every field the rules read and write, the settings and the picture indices.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "builders/order.h"
#include "builders/sign.h"
#include "creatures/mibbet.h"
#include "presentation/effects.h"
#include "presentation/sprite.h"

// One tunnel on the bottom row, and the kind of creature it emits.
struct TunnelRec {
  MibbetKind Kind = KindF;
  int Bitmap = 0;
  int X = 0, Y = 0;
  int Counter = 0;
  int Interval = 0;
  std::unique_ptr<TSprite> Sprite;
};

template <class T>
using OwnedList = std::vector<std::unique_ptr<T>>;

// Game modes, with the numbers the state dump shows.
enum GameModeId { ModeSplash = 0, ModePlaying = 1, ModeGameOver = 2, ModeTutorial = 3 };

// Seasonal themes.
constexpr int NoTheme = -1;
constexpr int ThemeSnow = 2;

// The largest int: the life of effects that never end.
constexpr int EndlessLife = 2147483647;

struct TGameState : TSettings {
  std::string AssetDir;
  GameModeId GameMode = ModeSplash;
  bool GameOver = false;
  int Theme = NoTheme;
  int TickCount = 0;
  // Worlds laid out so far in this run; each draws its own seed from the run's seed.
  int WorldsSeeded = 0;
  int NextId = 0;
  int Scrap = 0;
  int Score = 0;
  int ShownSignCount = 0;
  int HatredState = 1;
  int HeldBuilder = -1;
  int SpeechToggle = 0;
  bool MusicOn = false, SoundOn = false;
  int MusicStage = 0;
  // Earliest time each throttled sound channel may play again, on the monotonic clock.
  std::array<std::int64_t, 11> SoundNextTime{};
  int MenuCellX = 0, MenuCellY = 0;
  bool SplashClicked = false;
  int NameEntryState = 0;
  int NameEntryX = 0;
  std::string EnteredName;
  int HighScoreFloor = 0;
  int TutCellX = -1, TutCellY = -1, TutMenuTag = -1;
  int TutorialStage = 0;
  bool DbgFreeze = false, DbgInvincible = false, DbgNoEmerge = false;
  bool TunnelMovePending = false;
  int SplodeWave = 0;

  // Catalogue positions of the first picture of each family.
  int BmpTile = 0, BmpCursor = 0, BmpBuilder = 0, BmpBaseFloor = 0, BmpTurret = 0, BmpSign = 0;
  int BmpCancel = 0, BmpDestroy = 0, BmpGet = 0, BmpScrap = 0;
  int BmpSMibbet = 0, BmpFMibbet = 0, BmpEMibbet = 0, BmpSTunnel = 0, BmpETunnel = 0, BmpFTunnel = 0;
  int BmpTree = 0, BmpRock = 0, BmpRuin = 0, BmpFExclaim = 0, BmpSExclaim = 0, BmpEExclaim = 0;
  int BmpOrb = 0, BmpSplode = 0, BmpSpeechMib = 0, BmpSpeechBet = 0, BmpFont = 0, BmpRedSquare = 0;
  int BmpHighScores = 0, BmpEnterName = 0, BmpBump = 0, BmpHole = 0, BmpTrans = 0, BmpGift = 0;
  int BmpArrow = 0, BmpRedCross = 0, BmpTutorial = 0;

  std::vector<std::string> HighScoreLines;
  std::string HighScoreFolder;
  // False while the table in memory is newer than the file: after a failed save, or when the file
  // could not be read.
  bool HighScoresSaved = true;
  // A replay plays with the table it was recorded with and touches none of the player's files
  // (the table, the debug log) nor the score server: a recording comes from elsewhere.
  bool Replaying = false;
  // A replay plays with the settings it was recorded with, not with the asset folder's.
  std::optional<TSettings> RecordedSettings;
  bool HighScoreSaveFailureReported = false;
  // hs.bmp is there but cannot be read (no permission, a loop of links, a folder): it is not
  // damaged, so this run never writes over it and keeps its table in memory.
  bool HighScoreFileOutOfReach = false;
  // The newest debug lines; older ones are dropped and counted, so a long debug session
  // cannot eat the memory.
  std::deque<std::string> DebugLog;
  std::int64_t DebugLinesDropped = 0;
};
