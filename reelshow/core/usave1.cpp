// The saver's set-up, input watch, password check and end.
#include "usave1.h"

#include "dispatch.h"
#include "form_layout.h"
#include "ini_path.h"
#include "input_messages.h"
#include "random_draw.h"

namespace reelshow {

TForm1::TForm1(const SaverControls& controls, platform::System& system, ProfileStore& profile,
               RandomDraw draw)
    : Panel1(controls.Panel1),
      lblinfo(controls.lblinfo, "", false),
      MediaPlayer1(controls.MediaPlayer1),
      MediaPlayer2(controls.MediaPlayer2),
      Timer1(controls.Timer1),
      window_(controls.window),
      system_(system),
      profile_(profile),
      draw_(draw ? std::move(draw) : RandomDraw(ClockSeededDraw)) {}

TForm1::~TForm1() { ShutDown(); }

void TForm1::FormCreate() {
  created_ = true;
  system_.SetScreenSaverRunning(true);
  state_.WindowsDir = WindowsDirFrom(system_.WindowsDirectory());
  state_.IniPath = IniPathFor(state_.WindowsDir, system_.ProgramPath());
  if (!system_.FileExists(state_.IniPath)) {
    system_.ShowMessage(kSaverIniMissingText, kInformationCaption, platform::MessageIcon::Information);
    // The window may have been closed while the message was up.
    if (ended_) return;
  }
  system_.SetPointerVisible(false);
  state_.OrderPos = 0;
  state_.ColorStep = 0;
  window_.SetColor(layout::kBlack);
  hookInstalled_ = true;
  LoadSettings();
  if (state_.SoundOn) StartSound();
  if (state_.VideoCount > 0) {
    window_.SetColor(layout::kBlack);
    LayoutPanel();
    PlayFirstVideo();
    Timer1.SetEnabled(true);
  } else {
    Panel1.SetVisible(false);
    lblinfo.SetVisible(true);
    window_.SetColor(layout::kWhite);
  }
}

void TForm1::deactivate(std::uint32_t message) {
  if (!hookInstalled_ || ended_ || state_.Quitting) return;
  // The release of the key that dismissed a failed password prompt must not
  // bring the prompt straight back: only a new press does.
  if (IsPress(message)) ignoreReleases_ = false;
  if (ignoreReleases_ && IsKeyRelease(message)) return;

  state_.Quitting = IsEndingMessage(message);
  if (state_.Quitting && IsWindowsNT()) {
    EndSaver();
  } else if (state_.Quitting) {
    PasswordCheck();
  }
  state_.Quitting = false;
}

void TForm1::PasswordCheck() {
  const platform::RegistryDword use =
      system_.ReadCurrentUserDword("Control Panel\\desktop", "ScreenSaveUsePassword");
  if (use.answer != platform::RegistryDword::Answer::Number || use.value == 0) {
    EndSaver();
    return;
  }
  system_.SetPointerVisible(true);
  {
    const auto library =
        system_.OpenLibrary(SystemLibraryPath(system_.SystemDirectory(), "PASSWORD.CPL"));
    const platform::VerifyScreenSavePwdFunction verify =
        library ? library->FindVerifyScreenSavePwd() : platform::VerifyScreenSavePwdFunction{};
    if (!verify) {
      EndSaver();
      return;
    }
    promptShown_ = true;
    const bool passed = verify(platform::PasswordOwner::SaverWindow);
    promptShown_ = false;
    if (passed) EndSaver();
  }
  if (ended_) return;
  ignoreReleases_ = true;
  system_.SetPointerVisible(false);
}

bool TForm1::IsWindowsNT() { return system_.PlatformId() == 2; }

void TForm1::EndSaver() {
  if (!state_.Quitting || ended_) return;
  ShutDown();
  system_.CloseMainWindow();
  system_.TerminateApplication();
}

void TForm1::FormClose() { ShutDown(); }

// The one clean-up of every way out; it acts once.
void TForm1::ShutDown() {
  if (!created_ || ended_) return;
  ended_ = true;
  Timer1.SetEnabled(false);
  if (MediaPlayer1.Mode() == platform::PlayerMode::Playing) (void)MediaPlayer1.Stop();
  if (MediaPlayer2.Mode() == platform::PlayerMode::Playing) (void)MediaPlayer2.Stop();
  system_.SetScreenSaverRunning(false);
  system_.SetPointerVisible(true);
}

}  // namespace reelshow
