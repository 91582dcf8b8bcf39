#pragma once
// A media player of the system's media control interface, one per player
// (video and sound). What the Win32 layer must guarantee:
// - Open closes a file that is open first, and answers false when the file
//   cannot be opened; the video's own size is known after a true answer;
// - the video player's picture shows in the saver's panel, its display
//   window, and its own buttons are never shown; the sound player has no
//   display window and does not rewind by itself at the end;
// - SetDisplayRect with all four values 0 places the picture at the top left
//   of the display window in the video's own size; DisplayRect reports the
//   picture's rectangle as the device reports it (a height may be negative);
// - Play answers false when nothing is open or the device refuses;
// - Mode answers NotOpen when no file is open, and Other when the device
//   cannot be asked or is in any state but stopped or playing;
// - Close does nothing when no file is open;
// - SetWaitForNext(false) makes only the next command return without
//   waiting for it to finish;
// - a failure is only ever an answer: nothing is thrown and nothing shown.
#include <optional>
#include <string>

#include "controls.h"

namespace reelshow::platform {

enum class PlayerMode { NotOpen, Stopped, Playing, Other };

class MediaPlayer {
public:
  virtual void SetFileName(const std::string& path) = 0;
  // The device is chosen by the system from the file's type.
  virtual void SetAutoSelectDevice() = 0;
  virtual void SetWaitForNext(bool wait) = 0;

  [[nodiscard]] virtual bool Open() = 0;
  [[nodiscard]] virtual bool SetDisplayRect(const Bounds& rect) = 0;
  [[nodiscard]] virtual std::optional<Bounds> DisplayRect() = 0;
  [[nodiscard]] virtual bool Play() = 0;
  virtual PlayerMode Mode() = 0;
  [[nodiscard]] virtual bool Stop() = 0;
  virtual void Close() = 0;

protected:
  ~MediaPlayer() = default;
};

}  // namespace reelshow::platform
