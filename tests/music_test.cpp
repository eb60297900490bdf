// A music track's loop point, pause and stop.
#include <gtest/gtest.h>

#include "audio/MusicBG.h"
#include "platform/fakes.h"

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
