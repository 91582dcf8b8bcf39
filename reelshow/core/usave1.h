#pragma once
// The saver window: set-up, the playback cycle, the input watch and the end.
//
// The Win32 layer only translates: it creates the window from the layout
// data, builds a TForm1 over its controls and calls FormCreate, then shows
// the window; every message its message loop (or a nested modal loop) takes
// from the queue is passed to deactivate before it is dispatched; a tick of
// Timer1 calls Timer1Timer; a close request or the end of the session calls
// FormClose before the window goes. The TForm1 is destroyed before the
// platform objects it was built over; destroying it runs the same clean-up
// as every other way out (pointer shown, screensaver-running mark cleared).
#include <cstdint>
#include <functional>
#include <string>

#include "controls.h"
#include "platform/controls.h"
#include "platform/media_player.h"
#include "platform/system.h"
#include "profile_store.h"
#include "saver_state.h"

namespace reelshow {

inline constexpr const char* kSaverIniMissingText =
    "The ini file is missing. Please reinstall this software or copy the included ini file into "
    "your windows directory.";
inline constexpr const char* kNothingToPlayText =
    "These files no longer exists on your system!  Please go into your screensaver settings and "
    "remove this from your viewing list!";
inline constexpr const char* kVideoErrorText =
    "An error occurred trying to play the video file. The video file appears to be corrupt. "
    "Please verify that your video files are viewable.";
inline constexpr const char* kSoundErrorText = "The sound file is corrupt and cannot be played!";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kInformationCaption = "Information";

struct SaverControls {
  platform::Window& window;
  platform::Panel& Panel1;
  platform::Label& lblinfo;
  platform::MediaPlayer& MediaPlayer1;  // sound
  platform::MediaPlayer& MediaPlayer2;  // video
  platform::Timer& Timer1;
};

class TForm1 {
public:
  // Draws a whole number from 0 to count - 1; by default a generator seeded
  // afresh from the clock for each draw.
  using RandomDraw = std::function<std::int32_t(std::int32_t count)>;

  TForm1(const SaverControls& controls, platform::System& system, ProfileStore& profile,
         RandomDraw draw = {});
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Handlers.
  void FormCreate();
  // The message hook: message is the window message code. Never marks a
  // message as handled.
  void deactivate(std::uint32_t message);
  void Timer1Timer();
  // The window is going for another reason than EndSaver (a close request,
  // the end of the session): the same clean-up as EndSaver.
  void FormClose();

  // Routines of the saver.
  void LoadSettings();
  void LayoutPanel();
  [[nodiscard]] bool StartVideo();
  void PlayFirstVideo();
  void ChooseNextVideo();
  void StepBackground();
  void StartSound();
  bool IsWindowsNT();
  void EndSaver();

  const SaverState& State() const { return state_; }
  // EndSaver (or another way out) has run: nothing acts any more.
  bool Ended() const { return ended_; }

  Panel Panel1;
  Label lblinfo;
  platform::MediaPlayer& MediaPlayer1;
  platform::MediaPlayer& MediaPlayer2;
  Timer Timer1;

private:
  void PasswordCheck();
  void ShutDown();
  bool VideoStopped();
  void RestartSound();
  void ShowVideoAtOwnSize();

  platform::Window& window_;
  platform::System& system_;
  ProfileStore& profile_;
  RandomDraw draw_;
  SaverState state_;

  bool created_ = false;         // FormCreate has begun
  bool hookInstalled_ = false;
  bool ended_ = false;
  bool inTick_ = false;
  bool promptShown_ = false;     // the system's password prompt is on the screen
  bool ignoreReleases_ = false;  // after a failed password check, until the next press
};

}  // namespace reelshow
