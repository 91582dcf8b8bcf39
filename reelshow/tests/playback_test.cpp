// The playback cycle: order, colours, the display area per video, failures
// and the tick's guards.
#include <gtest/gtest.h>

#include "saver_rig.h"

namespace reelshow {
namespace {

using testing::Log;
using testing::Matching;
using testing::SaverRig;
using testing::VideoName;

// The video player's file names, in the order they were set.
Log VideosStarted(const Log& log) { return Matching(log, "MediaPlayer2.SetFileName"); }

std::string Started(int n) { return "MediaPlayer2.SetFileName(" + VideoName(n) + ")"; }

TEST(PlaybackOrderTest, ListedOrderStartsAgainFromTheTop) {
  SaverRig rig;
  rig.AddVideos(3);
  rig.Create();
  for (int i = 0; i < 6; ++i) rig.TickAfterEnd();
  EXPECT_EQ(VideosStarted(rig.log),
            (Log{Started(1), Started(2), Started(3), Started(1), Started(2), Started(3), Started(1)}));
}

TEST(PlaybackOrderTest, OneVideoIsClosedAndOpenedAgain) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.Create();
  rig.TickAfterEnd();
  rig.TickAfterEnd();
  EXPECT_EQ(VideosStarted(rig.log), (Log{Started(1), Started(1), Started(1)}));
  EXPECT_EQ(Matching(rig.log, "MediaPlayer2.Close").size(), 2u);
}

TEST(PlaybackOrderTest, RandomOrderTakesEachDrawAndKeepsOrderPos) {
  SaverRig rig;
  rig.AddVideos(3);
  rig.Option("Picord", "1");
  rig.draws = {2, 2, 0, 1};
  TForm1& form = rig.Create();
  for (int i = 0; i < 3; ++i) rig.TickAfterEnd();
  EXPECT_EQ(VideosStarted(rig.log), (Log{Started(3), Started(3), Started(1), Started(2)}));
  EXPECT_EQ(form.State().OrderPos, 0);
}

TEST(PlaybackOrderTest, ClockSeededDrawStaysInRangeAndReachesEveryVideo) {
  SaverRig rig;
  rig.AddVideos(3);
  rig.Option("Picord", "1");
  TForm1& form = rig.Create();
  std::set<std::int32_t> seen;
  for (int i = 0; i < 300; ++i) {
    form.ChooseNextVideo();
    ASSERT_GE(form.State().CurrentVideo, 1);
    ASSERT_LE(form.State().CurrentVideo, 3);
    seen.insert(form.State().CurrentVideo);
  }
  EXPECT_EQ(seen.size(), 3u);
}

TEST(PlaybackColourTest, NavySetOverTheFirstTicks) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.Option("Color", "2");
  TForm1& form = rig.Create();
  EXPECT_EQ(form.State().ColorStep, 1);
  const std::string navy = "window.SetColor(0,0,128)", black = "window.SetColor(0,0,0)",
                    purple = "window.SetColor(128,0,128)", maroon = "window.SetColor(128,0,0)";
  const Log expected = {navy,   navy,   black,  black,  black,  purple, purple,
                        purple, maroon, maroon, maroon, navy,   navy,   navy};
  rig.log.clear();
  for (std::size_t i = 0; i < expected.size(); ++i) form.Timer1Timer();
  EXPECT_EQ(Matching(rig.log, "window.SetColor"), expected);
}

TEST(PlaybackColourTest, BlackOnlyNeverPaints) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.Option("Color", "4");
  TForm1& form = rig.Create();
  rig.log.clear();
  for (int i = 0; i < 20; ++i) form.Timer1Timer();
  EXPECT_TRUE(Matching(rig.log, "window.SetColor").empty());
  EXPECT_EQ(form.State().ColorStep, 1);
}

TEST(PlaybackDisplayTest, OwnSizeMovesThePanelForEachVideo) {
  SaverRig rig;
  rig.AddVideos(2);
  rig.video.ownSize_[VideoName(1)] = {0, 0, 320, 240};
  rig.video.ownSize_[VideoName(2)] = {0, 0, 352, 288};
  TForm1& form = rig.Create();
  EXPECT_EQ(form.Panel1.Bounds(), (platform::Bounds{352, 264, 320, 240}));
  rig.TickAfterEnd();
  EXPECT_EQ(form.Panel1.Bounds(), (platform::Bounds{336, 240, 352, 288}));
  EXPECT_EQ(Matching(rig.log, "MediaPlayer2.SetDisplayRect"),
            (Log{"MediaPlayer2.SetDisplayRect(0,0,0,0)", "MediaPlayer2.SetDisplayRect(0,0,320,240)",
                 "MediaPlayer2.SetDisplayRect(0,0,0,0)", "MediaPlayer2.SetDisplayRect(0,0,352,288)"}));
}

TEST(PlaybackDisplayTest, OwnSizeTakesABottomUpHeightByItsSize) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.video.ownSize_[VideoName(1)] = {0, 0, 320, -240};
  TForm1& form = rig.Create();
  EXPECT_EQ(form.Panel1.Bounds(), (platform::Bounds{352, 264, 320, 240}));
  EXPECT_TRUE(form.Panel1.Visible());
}

TEST(PlaybackDisplayTest, StretchedModesFillThePanel) {
  SaverRig rig;
  rig.AddVideos(2);
  rig.Option("Picdis", "2");
  rig.video.ownSize_[VideoName(1)] = {0, 0, 320, 240};
  TForm1& form = rig.Create();
  rig.TickAfterEnd();
  EXPECT_EQ(form.Panel1.Bounds(), (platform::Bounds{256, 192, 512, 384}));
  EXPECT_EQ(Matching(rig.log, "MediaPlayer2.SetDisplayRect"),
            (Log{"MediaPlayer2.SetDisplayRect(0,0,512,384)", "MediaPlayer2.SetDisplayRect(0,0,512,384)"}));
}

TEST(PlaybackDisplayTest, VideoDeviceIsChosenFromTheFileType) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.Create();
  const Log calls = Matching(rig.log, "MediaPlayer2.");
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(Log(calls.begin(), calls.begin() + 3),
            (Log{Started(1), "MediaPlayer2.SetAutoSelectDevice", "MediaPlayer2.Open"}));
}

// A refused display rectangle, or a panel of no size, leaves a good video
// playing and the cycle going.
struct DisplayFaultCase {
  const char* name;
  const char* picdis;
  const char* width;   // null: missing
  const char* height;  // null: missing
  bool failRect;
  bool panelVisible;
};

class PlaybackDisplayFaultTest : public ::testing::TestWithParam<DisplayFaultCase> {};

TEST_P(PlaybackDisplayFaultTest, PlaysOnWithoutTheVideoError) {
  const DisplayFaultCase& c = GetParam();
  SaverRig rig;
  rig.AddVideos(2);
  rig.Option("Picdis", c.picdis);
  rig.Option("Color", "2");
  if (c.width) rig.Option("Width", c.width);
  if (c.height) rig.Option("Height", c.height);
  rig.video.failDisplayRect_ = c.failRect;
  TForm1& form = rig.Create();
  EXPECT_EQ(rig.video.mode_, platform::PlayerMode::Playing);
  rig.TickAfterEnd();
  EXPECT_EQ(rig.video.mode_, platform::PlayerMode::Playing);
  EXPECT_EQ(VideosStarted(rig.log), (Log{Started(1), Started(2)}));
  EXPECT_TRUE(rig.system.messages_.empty());
  EXPECT_TRUE(form.Timer1.Enabled());
  EXPECT_EQ(form.Panel1.Visible(), c.panelVisible);
  EXPECT_EQ(rig.window.color_, (platform::Rgb{0, 0, 128}));  // the colours go on
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PlaybackDisplayFaultTest,
    ::testing::Values(DisplayFaultCase{"custom_missing_sizes", "4", nullptr, nullptr, false, false},
                      DisplayFaultCase{"custom_missing_height", "4", "300", nullptr, false, false},
                      DisplayFaultCase{"custom_zero_width", "4", "0", "100", false, false},
                      DisplayFaultCase{"custom_refused_rect", "4", "-1", "-1", true, false},
                      DisplayFaultCase{"full_refused_rect", "1", nullptr, nullptr, true, true},
                      DisplayFaultCase{"own_size_refused_rect", "5", nullptr, nullptr, true, false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(PlaybackDisplayTest, PanelHiddenForMissingCustomSizeIsNeverGivenTheRect) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.Option("Picdis", "4");
  TForm1& form = rig.Create();
  EXPECT_FALSE(form.Panel1.Visible());
  EXPECT_TRUE(Matching(rig.log, "MediaPlayer2.SetDisplayRect").empty());
  EXPECT_EQ(rig.video.mode_, platform::PlayerMode::Playing);
}

TEST(PlaybackFailureTest, VideoFailingInATickStopsTheCycleWithTheMessage) {
  SaverRig rig;
  rig.AddVideos(2);
  rig.Option("Color", "1");
  rig.sound.openable_.insert("");  // a sound that plays, to see it stopped
  TForm1& form = rig.Create();
  ASSERT_TRUE(form.State().SoundOn);
  rig.video.openable_.erase(VideoName(2));  // deleted after set-up
  rig.log.clear();
  rig.TickAfterEnd();
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_FALSE(form.State().SoundOn);
  EXPECT_EQ(rig.sound.mode_, platform::PlayerMode::Stopped);
  ASSERT_EQ(rig.system.messages_.size(), 1u);
  EXPECT_EQ(rig.system.messages_[0].text, kVideoErrorText);
  EXPECT_EQ(rig.system.messages_[0].caption, "Error");
  // The timer goes off before the message; the pointer is hidden after it.
  EXPECT_EQ(Matching(rig.log, "Timer1").size(), 1u);
  const Log tail(rig.log.end() - 2, rig.log.end());
  EXPECT_EQ(tail, (Log{"ShowMessage(" + std::string(kVideoErrorText) + ")", "SetPointerVisible(0)"}));
  // Later ticks do nothing at all.
  rig.log.clear();
  form.Timer1Timer();
  EXPECT_TRUE(rig.log.empty());
}

TEST(PlaybackFailureTest, FirstVideoFailsSilentlyAndTheNextTickMovesOn) {
  SaverRig rig;
  rig.AddVideos(2);
  rig.video.openable_.erase(VideoName(1));
  TForm1& form = rig.Create();
  EXPECT_TRUE(rig.system.messages_.empty());
  EXPECT_TRUE(form.Timer1.Enabled());
  form.Timer1Timer();  // nothing open counts as stopped
  EXPECT_EQ(VideosStarted(rig.log), (Log{Started(1), Started(2)}));
  EXPECT_EQ(rig.video.mode_, platform::PlayerMode::Playing);
  EXPECT_TRUE(rig.system.messages_.empty());
}

TEST(PlaybackFailureTest, FirstVideoFailsAndTheNextStartFailsTooShowsTheMessage) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.video.openable_.clear();
  TForm1& form = rig.Create();
  EXPECT_TRUE(rig.system.messages_.empty());
  form.Timer1Timer();
  ASSERT_EQ(rig.system.messages_.size(), 1u);
  EXPECT_EQ(rig.system.messages_[0].text, kVideoErrorText);
  EXPECT_FALSE(form.Timer1.Enabled());
}

TEST(PlaybackFailureTest, PlayingVideoIsLeftAlone) {
  SaverRig rig;
  rig.AddVideos(2);
  TForm1& form = rig.Create();
  rig.log.clear();
  form.Timer1Timer();
  EXPECT_TRUE(Matching(rig.log, "MediaPlayer2").empty());
  EXPECT_TRUE(Matching(rig.log, "SetPointerVisible").empty());
}

TEST(PlaybackTickGuardTest, TickAfterTheTimerWentOffDoesNothing) {
  SaverRig rig;
  rig.AddVideos(2);
  rig.Option("Color", "1");
  TForm1& form = rig.Create();
  form.Timer1.SetEnabled(false);
  rig.log.clear();
  rig.TickAfterEnd();
  EXPECT_TRUE(rig.log.empty());
}

TEST(PlaybackTickGuardTest, TicksInsideATicksMessageBoxDoNothing) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.Option("Color", "1");
  rig.sound.openable_.insert("");
  TForm1& form = rig.Create();
  ASSERT_TRUE(form.State().SoundOn);
  // The sound ends and cannot be restarted: its message box leaves the timer
  // on, and its nested loop delivers ticks.
  rig.sound.mode_ = platform::PlayerMode::Stopped;
  rig.sound.openable_.clear();
  int nestedTicks = 0;
  std::size_t logBefore = 0, logAfter = 0;
  rig.system.whileMessageShown_ = [&] {
    ++nestedTicks;
    logBefore = rig.log.size();
    form.Timer1Timer();
    logAfter = rig.log.size();
  };
  form.Timer1Timer();
  EXPECT_EQ(nestedTicks, 1);
  EXPECT_EQ(logAfter, logBefore);
  ASSERT_EQ(rig.system.messages_.size(), 1u);
  EXPECT_EQ(rig.system.messages_[0].text, kSoundErrorText);
  EXPECT_TRUE(form.State().SoundOn);
  EXPECT_TRUE(form.Timer1.Enabled());
}

TEST(PlaybackSoundTest, SoundStartsWithoutWaitingAndFailsSilently) {
  SaverRig rig;
  rig.AddVideos(1);
  TForm1& form = rig.Create();
  EXPECT_EQ(Matching(rig.log, "MediaPlayer1."),
            (Log{"MediaPlayer1.SetWaitForNext(0)", "MediaPlayer1.SetFileName()",
                 "MediaPlayer1.SetAutoSelectDevice", "MediaPlayer1.Open"}));
  EXPECT_FALSE(form.State().SoundOn);
  EXPECT_TRUE(rig.system.messages_.empty());
}

TEST(PlaybackSoundTest, EndedSoundIsRestartedOnlyWhenRepeatIsOn) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.sound.openable_.insert("");
  rig.Option("Repeat", "0");
  TForm1& form = rig.Create();
  rig.sound.Finish();
  rig.log.clear();
  form.Timer1Timer();
  EXPECT_TRUE(Matching(rig.log, "MediaPlayer1.").empty());

  SaverRig repeating;
  repeating.AddVideos(1);
  repeating.sound.openable_.insert("");
  TForm1& again = repeating.Create();
  repeating.sound.Finish();
  repeating.log.clear();
  again.Timer1Timer();
  EXPECT_EQ(Matching(repeating.log, "MediaPlayer1."),
            (Log{"MediaPlayer1.SetFileName()", "MediaPlayer1.SetAutoSelectDevice", "MediaPlayer1.Open",
                 "MediaPlayer1.Play"}));
  EXPECT_EQ(repeating.sound.mode_, platform::PlayerMode::Playing);
}

}  // namespace
}  // namespace reelshow
