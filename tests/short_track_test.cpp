// A very short or damaged music track: its loop timer keeps a sane pace, and its loop points
// change nothing on screen, so the window host may sleep through them without drawing.
#include <gtest/gtest.h>

#include "audio/MusicBG.h"
#include "platform/fakes.h"
#include "tests/test_support.h"

namespace {

struct ShortTrack {
  explicit ShortTrack(int durationMs) {
    device.TrackDurationMs = durationMs;
    music = std::make_unique<TBackgroundMusic>(timers, device.CreateTrack(), "loop");
  }
  // Fires every timer due in the next ms milliseconds, one at a time.
  void Run(int ms) {
    const std::int64_t end = clock.NowMs() + ms;
    while (const auto due = timers.NextDue()) {
      if (*due > end) break;
      clock.SetNow(*due);
      timers.FireNextDue(*due);
    }
    clock.SetNow(end);
  }
  VirtualClock clock;
  Scheduler timers{clock};
  RecordingMusicDevice device;
  std::unique_ptr<TBackgroundMusic> music;
};

TEST(ShortTrack, TheLoopTimerNeverFiresMoreThanTenTimesASecond) {
  // Four MP3 frames last about 104 ms, less than the lead of 100 ms and a little.
  for (const int duration : {1, 104, 150, 199}) {
    ShortTrack t(duration);
    t.music->Play();
    EXPECT_EQ(t.music->LoopTimer().Interval(), 100) << duration << " ms";
    t.Run(10000);
    EXPECT_EQ(t.music->LoopPointsPassed(), 100) << duration << " ms";
  }
  ShortTrack longer(200);
  longer.music->Play();
  EXPECT_EQ(longer.music->LoopTimer().Interval(), 100);
  ShortTrack normal(60000);
  normal.music->Play();
  EXPECT_EQ(normal.music->LoopTimer().Interval(), 59900);
}

TEST(ShortTrack, ResumingAtTheVeryEndWaitsAtLeastATenthOfASecond) {
  ShortTrack t(104);
  t.music->Play();
  t.music->TogglePause();
  t.music->PausedAtMs = 104;
  t.music->TogglePause();
  EXPECT_TRUE(t.music->LoopTimer().Enabled());
  EXPECT_EQ(t.music->LoopTimer().Interval(), 100);
}

// The host draws after input and after timers, except after wakes that only passed a loop point:
// that is sound only if a loop point never changes the composed frame.
TEST(ShortTrack, ALoopPointOnTheSplashLeavesTheFrameAsItWas) {
  GameFixture f;
  TForm1& g = f.Game();
  f.Sim->Music().TrackDurationMs = 104;
  TBackgroundMusic& title = *g.Music[0];
  title.Stop();
  title.Play();
  Scheduler& timers = f.Sim->Timers();
  int loopPoints = 0, otherWakes = 0;
  while (f.Sim->Time().NowMs() < 10000) {
    const std::int64_t due = *timers.NextDue();
    f.Sim->Time().SetNow(due);
    const Bitmap32 before = g.ComposeFrame();
    const int passed = title.LoopPointsPassed();
    timers.FireNextDue(due);
    if (title.LoopPointsPassed() == passed) {
      ++otherWakes;
      continue;
    }
    ++loopPoints;
    ASSERT_EQ(g.ComposeFrame(), before) << "a loop point at " << due << " ms changed the frame";
  }
  EXPECT_GE(loopPoints, 99);
  EXPECT_GT(otherWakes, 0) << "the splash's own timers run beside the music";
}

}  // namespace
