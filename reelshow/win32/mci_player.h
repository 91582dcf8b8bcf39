#pragma once
// A media player over the system's media control interface (winmm).
#include <windows.h>

#include <string>

#include "platform/media_player.h"

namespace reelshow {

class MciPlayer final : public platform::MediaPlayer {
public:
  // display: the window the picture shows in; null for a player of sound.
  explicit MciPlayer(HWND display) : display_(display) {}
  ~MciPlayer();
  MciPlayer(const MciPlayer&) = delete;
  MciPlayer& operator=(const MciPlayer&) = delete;

  void SetFileName(const std::string& path) override { fileName_ = path; }
  // Every open lets the system choose the device from the file's type.
  void SetAutoSelectDevice() override {}
  void SetWaitForNext(bool wait) override { waitNext_ = wait; }

  bool Open() override;
  bool SetDisplayRect(const platform::Bounds& rect) override;
  std::optional<platform::Bounds> DisplayRect() override;
  bool Play() override;
  platform::PlayerMode Mode() override;
  bool Stop() override;
  void Close() override;

private:
  // MCI_WAIT, unless the next command was asked not to wait; the request
  // holds for that one command only.
  DWORD WaitFlag();
  void CloseDevice();
  std::optional<platform::Bounds> Where(DWORD which);

  HWND display_;
  std::string fileName_;
  UINT device_ = 0;
  bool waitNext_ = true;
};

}  // namespace reelshow
