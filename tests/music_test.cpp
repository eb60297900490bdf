// A music track's loop point, pause and stop; which track the game plays when; the sound cues'
// throttle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "audio/MusicBG.h"
#include "platform/fakes.h"
#include "platform/sdl/sdl_platform.h"
#include "presentation/embedded_pictures.h"
#include "tests/test_support.h"

namespace {

class FakeTrack : public MusicTrack {
 public:
  explicit FakeTrack(std::optional<int> duration) : duration_(duration) {}
  bool Open(const std::string&) override { return true; }
  void Run() override {
    if (!running_) ReportStarted();
    running_ = true;
  }
  void Pause() override {}
  void Halt() override { running_ = false; }
  void SeekToStart() override { ++rewinds; }
  std::optional<int> DurationMs() const override { return duration_; }
  int PositionMs() const override { return position; }
  int position = 0;
  int rewinds = 0;

 private:
  std::optional<int> duration_;
  bool running_ = false;
};

struct Player {
  explicit Player(std::optional<int> duration) {
    auto owned = std::make_unique<FakeTrack>(duration);
    track = owned.get();
    music = std::make_unique<TBackgroundMusic>(timers, std::move(owned), "loop");
    music->LeadMs = 180;
  }
  VirtualClock clock;
  Scheduler timers{clock};
  FakeTrack* track;
  std::unique_ptr<TBackgroundMusic> music;
};

TEST(Music, LoopsLeadMsBeforeTheEnd) {
  Player p(100000);
  p.music->Play();
  EXPECT_TRUE(p.music->LoopTimer().Enabled());
  EXPECT_EQ(p.music->LoopTimer().Interval(), 99820);
  p.clock.SetNow(99820);
  p.timers.FireNextDue(99820);
  EXPECT_EQ(p.track->rewinds, 1);
  EXPECT_TRUE(p.music->LoopTimer().Enabled());
}

TEST(Music, ResumeArmsTheRemainingTimeAndStopForgetsThePause) {
  Player p(100000);
  p.music->Play();
  p.track->position = 30000;
  p.music->TogglePause();
  EXPECT_TRUE(p.music->Paused);
  EXPECT_FALSE(p.music->LoopTimer().Enabled());
  p.music->TogglePause();
  EXPECT_EQ(p.music->LoopTimer().Interval(), 69820);
  p.music->TogglePause();
  p.music->Stop();
  EXPECT_FALSE(p.music->Paused);
  EXPECT_FALSE(p.music->Playing);
}

TEST(Music, WithoutADurationTheLoopTimerNeverRuns) {
  Player p(std::nullopt);
  p.music->Play();
  EXPECT_FALSE(p.music->LoopTimer().Enabled());
  Player tiny(100);  // shorter than its lead: the loop point must still lie ahead
  tiny.music->Play();
  EXPECT_GE(tiny.music->LoopTimer().Interval(), 1);
}

TEST(Music, TheClosingTrackPlaysOnce) {
  Player p(60000);
  p.music->Loop = false;
  p.music->Play();
  p.clock.SetNow(59820);
  p.timers.FireNextDue(59820);
  EXPECT_FALSE(p.music->LoopTimer().Enabled());
  EXPECT_EQ(p.track->rewinds, 1);
}

}  // namespace

// ---- The game's music and sound cues ----

namespace {

void RemoveOneBaseTurret(TForm1& g) {
  for (int t = 0; t < int(g.Turrets.size()); ++t)
    if (g.Turrets[std::size_t(t)]->BaseTurret) {
      g.RemoveTurretAt(t);
      return;
    }
}

// Which tracks play: exactly the stage's track.
void ExpectOnlyTrack(TForm1& g, int stage, const std::string& when) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(g.Music[std::size_t(i)]->Playing, i == stage) << when << ", track " << i;
}

TEST(MusicStage, FollowsTheStandingBaseTurretsAndGiftTurretsDoNotCount) {
  const int stageFor[] = {3, 3, 2, 2, 1, 1, 1};
  for (int n = 0; n <= 6; ++n) EXPECT_EQ(MusicStageForBaseTurrets(n), stageFor[n]) << n << " base turrets";

  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  EXPECT_EQ(g.MusicStage, 0) << "the title track plays until the first tick";
  f.Sim->Wait(50);
  EXPECT_EQ(g.MusicStage, 1);
  struct Step {
    int baseTurretsRemoved;
    int giftTurretsAdded;
    int stage;
  };
  const Step steps[] = {{0, 3, 1}, {1, 0, 2}, {1, 0, 2}, {1, 0, 3}, {1, 0, 3}};
  int standing = 4;
  for (const Step& s : steps) {
    for (int i = 0; i < s.baseTurretsRemoved; ++i) RemoveOneBaseTurret(g);
    for (int i = 0; i < s.giftTurretsAdded; ++i) g.CreateTurret(3 + i, 5);
    standing -= s.baseTurretsRemoved;
    f.Sim->Wait(50);
    const std::string when =
        std::to_string(standing) + " base turrets and " + std::to_string(g.Turrets.size()) + " in all";
    EXPECT_EQ(g.MusicStage, s.stage) << when;
    ExpectOnlyTrack(g, s.stage, when);
  }
  // The closing stage stays, whatever stands.
  g.EndGame();
  EXPECT_EQ(g.MusicStage, 4);
  g.DebugReplaceTurrets();
  g.UpdateMusicStage();
  EXPECT_EQ(g.MusicStage, 4);
  ExpectOnlyTrack(g, 4, "after the end");
}

TEST(MusicStage, OneTrackAtATimeAndTheOldOneStopsBeforeTheNewOneStarts) {
  GameFixture f;
  TForm1& g = f.Game();
  const int lead[] = {200, 180, 180, 150, 200};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(g.Music[std::size_t(i)]->LeadMs, lead[i]) << i;
    EXPECT_EQ(g.Music[std::size_t(i)]->Loop, i != 4) << i << ": the closing track does not loop";
    EXPECT_EQ(g.Music[std::size_t(i)]->FileName, f.Assets.Path() + "mmusic" + std::to_string(i) + ".mp3");
  }
  // A whole game: the title, the three battle stages, the end, and the way back to the title.
  f.StartPlaying();
  f.Sim->Wait(50);
  RemoveOneBaseTurret(g);
  RemoveOneBaseTurret(g);
  f.Sim->Wait(50);
  RemoveOneBaseTurret(g);
  f.Sim->Wait(50);
  g.EndGame();
  for (int i = 0; i < 200 && g.GameMode != ModeGameOver; ++i) f.Sim->Wait(50);
  f.Sim->Press(358, 358);
  f.Sim->Press(358, 358);
  ASSERT_EQ(g.GameMode, ModeSplash);

  std::set<std::string> running;
  std::vector<std::string> started;
  const std::vector<std::string>& events = f.Sim->Music().Events;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const std::string& e = events[i];
    const std::string track = e.substr(e.find(' ') + 1);
    if (e.rfind("run ", 0) == 0) {
      running.insert(track);
      started.push_back(track);
      EXPECT_EQ(running, std::set<std::string>{track}) << "event " << i << ": " << e;
    } else if (e.rfind("halt ", 0) == 0) {
      running.erase(track);
    }
  }
  EXPECT_EQ(started, (std::vector<std::string>{"mmusic0.mp3", "mmusic1.mp3", "mmusic2.mp3", "mmusic3.mp3",
                                               "mmusic4.mp3", "mmusic0.mp3"}));
  ExpectOnlyTrack(g, 0, "back on the splash");
}

TEST(MusicStage, WithMusicOffAChangeStartsNothingAndTheKeyStartsTheStageOfThatMoment) {
  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  f.Sim->Wait(50);
  ASSERT_TRUE(g.Music[1]->Playing);
  f.Sim->Key("m");
  EXPECT_FALSE(g.MusicOn);
  EXPECT_TRUE(g.Music[1]->Paused);
  auto& events = f.Sim->Music().Events;
  events.clear();
  RemoveOneBaseTurret(g);
  RemoveOneBaseTurret(g);
  f.Sim->Wait(50);
  EXPECT_EQ(g.MusicStage, 2);
  EXPECT_TRUE(events.empty()) << "no track started or stopped, first: " << events.front();

  f.Sim->Key("M");
  EXPECT_TRUE(g.MusicOn);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), "run mmusic2.mp3");
  EXPECT_NE(std::find(events.begin(), events.end(), "halt mmusic1.mp3"), events.end());
  EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const std::string& e) { return e.rfind("run ", 0) == 0; }),
            1);
  ExpectOnlyTrack(g, 2, "after the key");
  EXPECT_FALSE(g.Music[1]->Paused);
}

TEST(Music, ATrackThatCannotBeOpenedDoesNoHarm) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  SdlAudio audio;
  if (!audio.Available()) GTEST_SKIP() << "no audio output, not even the dummy one";
  SdlMusicDevice device(audio);
  VirtualClock clock;
  Scheduler timers{clock};
  TestAssetDir assets;
  assets.Write("mmusic2.mp3", "not music at all");
  auto owned = device.CreateTrack();
  const MusicTrack* title = owned.get();
  TBackgroundMusic playing(timers, std::move(owned), "title");
  playing.Open(assets.Path() + "mmusic0.mp3");
  playing.Play();
  const MusicTrack* owner = device.Owner;
  EXPECT_EQ(owner, title) << "the generated title track plays";
  for (const std::string file : {"mmusic2.mp3", "missing.mp3"}) {
    TBackgroundMusic broken(timers, device.CreateTrack(), "broken");
    broken.Open(assets.Path() + file);
    broken.Play();
    broken.TogglePause();
    broken.TogglePause();
    EXPECT_FALSE(broken.LoopTimer().Enabled()) << file;
    broken.Stop();
    EXPECT_FALSE(broken.LoopTimer().Enabled()) << file;
    EXPECT_EQ(device.Owner, owner) << file << ": the playing track keeps the output";
  }
  playing.Stop();
}

// ---- Sound cues ----

struct Cue {
  std::int64_t atMs;
  const char* name;
  int channel;
  bool played;
};

void ExpectCues(GameFixture& f, const std::vector<Cue>& cues) {
  for (const Cue& c : cues) {
    f.Sim->Time().SetNow(c.atMs);
    f.Sim->Sound().Log.clear();
    f.Game().PlaySfx(c.name, c.channel);
    const std::string label =
        std::string(c.name) + " on channel " + std::to_string(c.channel) + " at " + std::to_string(c.atMs) + " ms";
    ASSERT_EQ(f.Sim->Sound().Log.size(), 1u) << label;
    EXPECT_EQ(f.Sim->Sound().Log[0], (SoundRequest{c.name, c.played})) << label;
  }
}

TEST(Sfx, ThrottledChannelsAreIndependentAndChannelZeroNeverIs) {
  GameFixture f;
  ExpectCues(f, {
                    {1000, "turret", 2, true},
                    {1000, "beamshot1", 1, true},
                    {1000, "explosion1", 3, true},
                    {1000, "menuopen", 0, true},
                    {1000, "menuopen", 0, true},
                    {1000, "explosion7", 0, true},
                    {1300, "turret", 2, false},
                    {1300, "beamshot1", 1, false},
                    {1499, "explosion2", 3, false},
                    {1500, "turret", 2, true},  // a held-back cue does not push the next time on
                    {1500, "beamshot1", 1, true},
                    {1500, "explosion2", 3, true},
                    {1999, "turret", 2, false},
                    {2000, "turret", 2, true},
                });
  // Switched off: nothing plays and no time is taken.
  TForm1& g = f.Game();
  g.SoundOn = false;
  f.Sim->Sound().Log.clear();
  f.Sim->Time().SetNow(3000);
  g.PlaySfx("turret", 2);
  g.PlaySfx("menuopen", 0);
  EXPECT_TRUE(f.Sim->Sound().Log.empty());
  g.SoundOn = true;
  ExpectCues(f, {{3000, "turret", 2, true}});
  // A missing file makes no sound and no error.
  f.Sim->Sound().Log.clear();
  g.PlaySfx("nosuchcue", 0);
  EXPECT_TRUE(f.Sim->Sound().Log.empty());
}

TEST(Sfx, ANewGameResetsTheThrottle) {
  GameFixture f;
  ExpectCues(f, {{1000, "beamshot1", 1, true}, {1000, "turret", 2, true}, {1000, "explosion1", 3, true}});
  f.Game().NewGame();
  ExpectCues(f, {{1100, "beamshot1", 1, true}, {1100, "turret", 2, true}, {1100, "explosion1", 3, true}});
}

TEST(Sfx, TheThrottleHoldsBeyondTwoToTheThirtySecondMilliseconds) {
  GameFixture f;
  constexpr std::int64_t k2To32 = std::int64_t(1) << 32;
  ExpectCues(f, {
                    {k2To32 - 100, "turret", 2, true},
                    {k2To32 - 50, "turret", 2, false},  // its next time lies past 2^32
                    {k2To32 + 399, "turret", 2, false},
                    {k2To32 + 400, "turret", 2, true},
                    {5 * k2To32 + 7, "turret", 2, true},
                    {5 * k2To32 + 506, "turret", 2, false},
                    {5 * k2To32 + 507, "turret", 2, true},
                });
}

// A player without sound still sees what S and M did: the key legend strikes out a switch that is off.
TEST(Switches, TheKeyLegendShowsWhetherSoundAndMusicAreOn) {
  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  const struct {
    const char* key;
    bool sound, music;
  } steps[] = {{"S", false, true}, {"M", false, false}, {"S", true, false}, {"M", true, true}};
  EXPECT_EQ(g.Image2.Picture, EmbeddedKeyLegend(true, true)) << "both on at the start";
  std::set<std::vector<Pixel>> seen{g.Image2.Picture.Pixels()};
  for (const auto& step : steps) {
    f.Sim->Key(step.key);
    ASSERT_EQ(g.SoundOn, step.sound);
    ASSERT_EQ(g.MusicOn, step.music);
    EXPECT_EQ(g.Image2.Picture, EmbeddedKeyLegend(step.sound, step.music)) << step.key;
    seen.insert(g.Image2.Picture.Pixels());
  }
  EXPECT_EQ(seen.size(), 4u) << "each state of the two switches looks different";
}

}  // namespace
