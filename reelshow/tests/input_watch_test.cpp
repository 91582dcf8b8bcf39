// Set-up, the input watch, the password check and the end of the saver.
#include <gtest/gtest.h>

#include "input_messages.h"
#include "saver_rig.h"

namespace reelshow {
namespace {

using testing::Log;
using testing::Matching;
using testing::SaverRig;

constexpr std::uint32_t kMouseMove = 0x0200;
constexpr std::uint32_t kLeftButtonUp = 0x0202;
constexpr std::uint32_t kRightButtonUp = 0x0205;
constexpr std::uint32_t kMouseWheel = 0x020A;
constexpr std::uint32_t kTimerMessage = 0x0113;
constexpr std::uint32_t kPaint = 0x000F;

const platform::RegistryDword kPasswordOn{platform::RegistryDword::Answer::Number, 1};

bool Closed(const Log& log) { return !Matching(log, "TerminateApplication").empty(); }

TEST(SaverSetUpTest, RunsInOrder) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.Create();
  const Log expected = {
      "SetScreenSaverRunning(1)",
      "SetPointerVisible(0)",
      "window.SetColor(0,0,0)",
      "MediaPlayer1.SetWaitForNext(0)",
      "MediaPlayer1.SetFileName()",
      "MediaPlayer1.SetAutoSelectDevice",
      "MediaPlayer1.Open",
      "window.SetColor(0,0,0)",
      "Panel1.SetBounds(512,384,-1,-1)",
      "Panel1.SetVisible(0)",
      "MediaPlayer2.SetFileName(" + testing::VideoName(1) + ")",
      "MediaPlayer2.SetAutoSelectDevice",
      "MediaPlayer2.Open",
      "MediaPlayer2.SetDisplayRect(0,0,0,0)",
      "MediaPlayer2.DisplayRect",
      "Panel1.SetBounds(432,324,160,120)",
      "Panel1.SetVisible(1)",
      "MediaPlayer2.SetDisplayRect(0,0,160,120)",
      "MediaPlayer2.Play",
      "Timer1.SetEnabled(1)",
  };
  EXPECT_EQ(rig.log, expected);
}

TEST(SaverSetUpTest, HookWatchesNothingBeforeItIsInstalled) {
  SaverRig rig;
  rig.system.files_.clear();
  rig.Make();
  // A key on the missing-file message, which comes before the hook.
  rig.system.whileMessageShown_ = [&] { rig.form->deactivate(kKeyDown); };
  rig.form->FormCreate();
  EXPECT_FALSE(Closed(rig.log));
  EXPECT_FALSE(rig.form->Ended());
  rig.form->deactivate(kKeyDown);
  EXPECT_TRUE(Closed(rig.log));
}

struct MessageCase {
  std::uint32_t message;
  bool ends;
};

class EndingMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(EndingMessageTest, OnlyPressesAndKeyReleasesEnd) {
  SaverRig rig;
  rig.AddVideos(1);
  TForm1& form = rig.Create();
  form.deactivate(GetParam().message);
  EXPECT_EQ(Closed(rig.log), GetParam().ends) << std::hex << GetParam().message;
  EXPECT_EQ(form.Ended(), GetParam().ends);
  EXPECT_FALSE(form.State().Quitting);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, EndingMessageTest,
    ::testing::Values(MessageCase{kKeyDown, true}, MessageCase{kKeyUp, true}, MessageCase{kSysKeyDown, true},
                      MessageCase{kSysKeyUp, true}, MessageCase{kLeftButtonDown, true},
                      MessageCase{kRightButtonDown, true}, MessageCase{kMiddleButtonDown, true},
                      MessageCase{kMouseMove, false}, MessageCase{kLeftButtonUp, false},
                      MessageCase{kRightButtonUp, false}, MessageCase{kMouseWheel, false},
                      MessageCase{kTimerMessage, false}, MessageCase{kPaint, false}));

TEST(EndSaverTest, StopsPlaybackClearsTheMarkAndShowsThePointer) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.sound.openable_.insert("");
  TForm1& form = rig.Create();
  rig.log.clear();
  form.deactivate(kKeyDown);
  EXPECT_EQ(rig.log, (Log{"Timer1.SetEnabled(0)", "MediaPlayer1.Stop", "MediaPlayer2.Stop",
                          "SetScreenSaverRunning(0)", "SetPointerVisible(1)", "CloseMainWindow",
                          "TerminateApplication"}));
}

TEST(EndSaverTest, ActsOnlyWhileQuittingAndOnlyOnce) {
  SaverRig rig;
  rig.AddVideos(1);
  TForm1& form = rig.Create();
  rig.log.clear();
  form.EndSaver();  // not quitting
  EXPECT_TRUE(rig.log.empty());
  form.deactivate(kKeyDown);
  rig.log.clear();
  form.deactivate(kKeyUp);
  form.deactivate(kLeftButtonDown);
  rig.TickAfterEnd();
  EXPECT_TRUE(rig.log.empty());
}

// Every other way out runs the same clean-up once.
TEST(ShutDownTest, CloseRequestAndDestructionCleanUpOnce) {
  SaverRig rig;
  rig.AddVideos(1);
  TForm1& form = rig.Create();
  form.FormClose();
  EXPECT_FALSE(rig.system.running_.value());
  EXPECT_TRUE(rig.system.pointerVisible_.value());
  EXPECT_FALSE(rig.timer.enabled_);
  EXPECT_FALSE(Closed(rig.log));  // the window is already going
  rig.log.clear();
  form.deactivate(kKeyDown);
  rig.TickAfterEnd();
  rig.form.reset();
  EXPECT_TRUE(rig.log.empty());

  SaverRig dropped;
  dropped.AddVideos(1);
  dropped.Create();
  dropped.form.reset();
  EXPECT_FALSE(dropped.system.running_.value());
  EXPECT_TRUE(dropped.system.pointerVisible_.value());
}

TEST(ShutDownTest, CloseDuringTheMissingFileMessageStopsTheSetUp) {
  SaverRig rig;
  rig.system.files_.clear();
  rig.Make();
  rig.system.whileMessageShown_ = [&] { rig.form->FormClose(); };
  rig.form->FormCreate();
  EXPECT_FALSE(rig.system.running_.value());
  EXPECT_TRUE(rig.system.pointerVisible_.value());
  EXPECT_TRUE(Matching(rig.log, "Timer1.SetEnabled(1)").empty());
}

TEST(ShutDownTest, FormNeverCreatedTouchesNothing) {
  SaverRig rig;
  rig.Make();
  rig.form.reset();
  EXPECT_TRUE(rig.log.empty());
}

TEST(InputWatchTest, NtEndsWithoutAskingForAPassword) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.system.registry_ = kPasswordOn;
  TForm1& form = rig.Create();
  form.deactivate(kKeyDown);
  EXPECT_TRUE(Closed(rig.log));
  EXPECT_TRUE(Matching(rig.log, "ReadCurrentUserDword").empty());
  EXPECT_TRUE(Matching(rig.log, "OpenLibrary").empty());
}

// Windows 95/98: which registry and library answers end the saver at once,
// and which ask the password.
struct PasswordCase {
  const char* name;
  platform::RegistryDword registry;
  bool libraryLoads;
  bool hasVerify;
  std::deque<bool> answers;
  bool opensLibrary;
  bool prompted;
  bool ends;
};

class PasswordCheckTest : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(PasswordCheckTest, EndsOnlyAfterTheCheckWhereOneApplies) {
  const PasswordCase& c = GetParam();
  SaverRig rig;
  rig.AddVideos(1);
  rig.system.platformId_ = 1;
  rig.system.registry_ = c.registry;
  rig.system.libraryLoads_ = c.libraryLoads;
  rig.system.hasVerify_ = c.hasVerify;
  rig.system.passwordAnswers_ = c.answers;
  TForm1& form = rig.Create();
  rig.log.clear();
  form.deactivate(kKeyDown);
  EXPECT_EQ(Matching(rig.log, "ReadCurrentUserDword"),
            (Log{"ReadCurrentUserDword(Control Panel\\desktop,ScreenSaveUsePassword)"}));
  EXPECT_EQ(Matching(rig.log, "VerifyScreenSavePwd").size(), c.prompted ? 1u : 0u);
  EXPECT_EQ(Closed(rig.log), c.ends);
  EXPECT_EQ(rig.system.pointerVisible_.value(), c.ends);
  EXPECT_EQ(rig.system.running_.value(), !c.ends);
  EXPECT_EQ(form.Timer1.Enabled(), !c.ends);
  EXPECT_FALSE(form.State().Quitting);
  const std::string library = "(C:\\WINDOWS\\SYSTEM\\PASSWORD.CPL)";
  EXPECT_EQ(Matching(rig.log, "OpenLibrary"), c.opensLibrary ? Log{"OpenLibrary" + library} : Log{});
  // A loaded library is freed once, after the answer.
  EXPECT_EQ(Matching(rig.log, "FreeLibrary"),
            c.opensLibrary && c.libraryLoads ? Log{"FreeLibrary" + library} : Log{});
}

using Answer = platform::RegistryDword::Answer;

INSTANTIATE_TEST_SUITE_P(
    Answers, PasswordCheckTest,
    ::testing::Values(
        PasswordCase{"no_key", {Answer::KeyMissing, 0}, true, true, {true}, false, false, true},
        PasswordCase{"no_value", {Answer::ValueMissingOrNotNumber, 0}, true, true, {true}, false, false, true},
        PasswordCase{"value_0", {Answer::Number, 0}, true, true, {true}, false, false, true},
        PasswordCase{"right_password", {Answer::Number, 1}, true, true, {true}, true, true, true},
        PasswordCase{"any_number_is_on", {Answer::Number, 7}, true, true, {true}, true, true, true},
        PasswordCase{"wrong_password", {Answer::Number, 1}, true, true, {false}, true, true, false},
        PasswordCase{"no_library", {Answer::Number, 1}, false, true, {false}, true, false, true},
        PasswordCase{"no_entry_point", {Answer::Number, 1}, true, false, {false}, true, false, true}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(PasswordCheckTest, PromptHasTheSaverAsOwnerAndThePointerShown) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.system.platformId_ = 1;
  rig.system.registry_ = kPasswordOn;
  rig.system.passwordAnswers_ = {false};
  std::optional<bool> pointerDuringPrompt;
  rig.system.duringPrompt_ = [&] { pointerDuringPrompt = rig.system.pointerVisible_; };
  TForm1& form = rig.Create();
  form.deactivate(kLeftButtonDown);
  EXPECT_EQ(Matching(rig.log, "VerifyScreenSavePwd"), (Log{"VerifyScreenSavePwd(saver)"}));
  EXPECT_EQ(pointerDuringPrompt, true);
  EXPECT_EQ(rig.system.pointerVisible_, false);
}

TEST(PasswordCheckTest, WrongThenRightPassword) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.system.platformId_ = 1;
  rig.system.registry_ = kPasswordOn;
  rig.system.passwordAnswers_ = {false, true};
  TForm1& form = rig.Create();
  form.deactivate(kKeyDown);
  EXPECT_FALSE(Closed(rig.log));
  rig.TickAfterEnd();  // the videos go on
  EXPECT_EQ(Matching(rig.log, "MediaPlayer2.Play").size(), 2u);
  form.deactivate(kKeyDown);
  EXPECT_TRUE(Closed(rig.log));
  EXPECT_EQ(Matching(rig.log, "VerifyScreenSavePwd").size(), 2u);
}

TEST(PasswordCheckTest, ReleaseAfterAWrongPasswordWaitsForTheNextPress) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.system.platformId_ = 1;
  rig.system.registry_ = kPasswordOn;
  rig.system.passwordAnswers_ = {false, false};
  TForm1& form = rig.Create();
  form.deactivate(kKeyDown);
  form.deactivate(kKeyUp);     // the key that dismissed the prompt
  form.deactivate(kSysKeyUp);
  EXPECT_EQ(Matching(rig.log, "VerifyScreenSavePwd").size(), 1u);
  form.deactivate(kRightButtonDown);
  EXPECT_EQ(Matching(rig.log, "VerifyScreenSavePwd").size(), 2u);
}

TEST(PasswordCheckTest, ReleaseOfTheConfirmingKeyDoesNotPromptAgain) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.system.platformId_ = 1;
  rig.system.registry_ = kPasswordOn;
  rig.system.passwordAnswers_ = {true, true};
  TForm1& form = rig.Create();
  form.deactivate(kKeyDown);
  form.deactivate(kKeyUp);
  EXPECT_EQ(Matching(rig.log, "VerifyScreenSavePwd").size(), 1u);
  EXPECT_EQ(Matching(rig.log, "TerminateApplication").size(), 1u);
}

TEST(PasswordCheckTest, MessagesDuringThePromptAreIgnored) {
  SaverRig rig;
  rig.AddVideos(1);
  rig.system.platformId_ = 1;
  rig.system.registry_ = kPasswordOn;
  rig.system.passwordAnswers_ = {false};
  TForm1& form = rig.Create();
  rig.system.duringPrompt_ = [&] { form.deactivate(kKeyDown); };
  form.deactivate(kKeyDown);
  EXPECT_EQ(Matching(rig.log, "VerifyScreenSavePwd").size(), 1u);
  EXPECT_FALSE(Closed(rig.log));
}

TEST(PasswordCheckTest, VideoSwitchDuringThePromptKeepsThePointerShown) {
  SaverRig rig;
  rig.AddVideos(2);
  rig.system.platformId_ = 1;
  rig.system.registry_ = kPasswordOn;
  rig.system.passwordAnswers_ = {false};
  TForm1& form = rig.Create();
  std::optional<bool> pointerAfterTick;
  rig.system.duringPrompt_ = [&] {
    rig.TickAfterEnd();
    pointerAfterTick = rig.system.pointerVisible_;
  };
  form.deactivate(kKeyDown);
  EXPECT_EQ(Matching(rig.log, "MediaPlayer2.SetFileName").size(), 2u);
  EXPECT_EQ(pointerAfterTick, true);
}

// A press on the video error message ends the saver, after the check where
// one applies; the tick then hides no pointer.
TEST(InputWatchTest, KeyOnAnErrorMessageEndsTheSaver) {
  for (const std::uint32_t platformId : {1u, 2u}) {
    SaverRig rig;
    rig.AddVideos(2);
    rig.system.platformId_ = platformId;
    rig.system.registry_ = kPasswordOn;
    rig.system.passwordAnswers_ = {true};
    TForm1& form = rig.Create();
    rig.video.openable_.erase(testing::VideoName(2));
    rig.system.whileMessageShown_ = [&] { form.deactivate(kKeyDown); };
    rig.TickAfterEnd();
    EXPECT_TRUE(Closed(rig.log)) << platformId;
    EXPECT_EQ(rig.system.pointerVisible_, true) << platformId;
    EXPECT_EQ(Matching(rig.log, "VerifyScreenSavePwd").size(), platformId == 1 ? 1u : 0u);
  }
}

TEST(InputWatchTest, NothingToPlayEndsOnAKeyAsUsual) {
  SaverRig rig;
  TForm1& form = rig.Create();
  form.deactivate(kMouseMove);
  EXPECT_FALSE(Closed(rig.log));
  form.deactivate(kMiddleButtonDown);
  EXPECT_TRUE(Closed(rig.log));
}

}  // namespace
}  // namespace reelshow
