// The playback cycle: the tick, the choice and start of a video, the
// background colours and the sound.
#include <cstdlib>

#include "background_colors.h"
#include "saver_layout.h"
#include "usave1.h"

namespace reelshow {

namespace {

// Clears a flag when the scope ends, however it ends.
class FlagScope {
public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

private:
  bool& flag_;
};

}  // namespace

void TForm1::Timer1Timer() {
  // Ticks queued before the timer went off, ticks after the end, and ticks
  // that a modal message box of this very tick dispatches are not ticks.
  if (!Timer1.Enabled() || ended_ || inTick_) return;
  const FlagScope inTick(inTick_);

  if (state_.Color != 4) StepBackground();
  if (VideoStopped()) {
    MediaPlayer2.Close();
    ChooseNextVideo();
    if (!StartVideo()) {
      Timer1.SetEnabled(false);
      if (MediaPlayer1.Mode() == platform::PlayerMode::Playing) (void)MediaPlayer1.Stop();
      state_.SoundOn = false;
      system_.ShowMessage(kVideoErrorText, kErrorCaption, platform::MessageIcon::Error);
    }
    if (ended_) return;
    // The password prompt keeps its pointer.
    if (!promptShown_) system_.SetPointerVisible(false);
  }
  if (state_.SoundOn && state_.RepeatOn &&
      MediaPlayer1.Mode() == platform::PlayerMode::Stopped) {
    RestartSound();
  }
}

// A player with nothing open (the first video failed) counts as stopped, so
// that the cycle moves on.
bool TForm1::VideoStopped() {
  const platform::PlayerMode mode = MediaPlayer2.Mode();
  return mode == platform::PlayerMode::Stopped || mode == platform::PlayerMode::NotOpen;
}

void TForm1::RestartSound() {
  MediaPlayer1.SetFileName(state_.SoundFile);
  MediaPlayer1.SetAutoSelectDevice();
  if (!MediaPlayer1.Open() || !MediaPlayer1.Play()) {
    system_.ShowMessage(kSoundErrorText, kErrorCaption, platform::MessageIcon::Error);
  }
}

void TForm1::ChooseNextVideo() {
  const std::int32_t count = state_.VideoCount;
  if (count <= 0) {
    state_.CurrentVideo = 0;
    return;
  }
  if (state_.Picord == 1) {
    const std::int32_t drawn = draw_(count);
    state_.CurrentVideo = (drawn >= 0 && drawn < count) ? drawn + 1 : 1;
    return;
  }
  state_.CurrentVideo = state_.OrderPos >= count ? 1 : state_.OrderPos + 1;
  state_.OrderPos = state_.CurrentVideo;
}

// Only opening and playing decide whether the start failed: the display
// rectangle is where the picture goes, and a refusal there leaves a good
// video playing.
bool TForm1::StartVideo() {
  const std::int32_t index = state_.CurrentVideo;
  if (index < 1 || index > static_cast<std::int32_t>(state_.VideoList.size())) return false;
  MediaPlayer2.SetFileName(state_.VideoList[static_cast<std::size_t>(index - 1)]);
  MediaPlayer2.SetAutoSelectDevice();
  if (!MediaPlayer2.Open()) return false;
  if (state_.Picdis == 5) {
    ShowVideoAtOwnSize();
  } else if (Panel1.Visible()) {
    const platform::Bounds& panel = Panel1.Bounds();
    (void)MediaPlayer2.SetDisplayRect({0, 0, panel.width, panel.height});
  }
  return MediaPlayer2.Play();
}

void TForm1::ShowVideoAtOwnSize() {
  (void)MediaPlayer2.SetDisplayRect({0, 0, 0, 0});
  const auto own = MediaPlayer2.DisplayRect();
  if (!own) return;
  // A device may report a bottom-up picture with a negative height.
  const platform::Bounds panel = CentredOnScreen(
      system_.Screen(), std::llabs(std::int64_t{own->width}), std::llabs(std::int64_t{own->height}));
  Panel1.SetBounds(panel);
  Panel1.SetVisible(ShowsSomething(panel));
  if (ShowsSomething(panel)) (void)MediaPlayer2.SetDisplayRect({0, 0, panel.width, panel.height});
}

void TForm1::PlayFirstVideo() {
  ChooseNextVideo();
  ++state_.ColorStep;
  (void)StartVideo();
}

void TForm1::StepBackground() {
  state_.ColorStep = NextColorStep(state_.ColorStep);
  window_.SetColor(BackgroundColor(state_.Color, state_.ColorStep));
}

void TForm1::StartSound() {
  MediaPlayer1.SetWaitForNext(false);
  MediaPlayer1.SetFileName(state_.SoundFile);
  MediaPlayer1.SetAutoSelectDevice();
  if (!MediaPlayer1.Open() || !MediaPlayer1.Play()) state_.SoundOn = false;
}

}  // namespace reelshow
