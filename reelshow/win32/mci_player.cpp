#include "mci_player.h"

#include <mmsystem.h>
// digitalv.h needs the types of mmsystem.h first.
#include <digitalv.h>

#include "window_geometry.h"

namespace reelshow {

namespace {

DWORD_PTR Parms(void* p) { return reinterpret_cast<DWORD_PTR>(p); }

// The media control interface's rectangles hold width and height in place
// of right and bottom.
platform::Bounds BoundsOf(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

}  // namespace

MciPlayer::~MciPlayer() { CloseDevice(); }

DWORD MciPlayer::WaitFlag() {
  const DWORD flag = waitNext_ ? MCI_WAIT : 0;
  waitNext_ = true;
  return flag;
}

bool MciPlayer::Open() {
  CloseDevice();
  const DWORD wait = WaitFlag();
  if (fileName_.empty()) return false;
  // No device type: the system picks it from the file name's extension.
  MCI_OPEN_PARMSA open{};
  open.lpstrElementName = fileName_.c_str();
  if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | wait, Parms(&open)) != 0) return false;
  device_ = open.wDeviceID;
  if (display_) {
    // A device without a picture (sound in the video player) still plays.
    MCI_DGV_WINDOW_PARMSA window{};
    window.hWnd = display_;
    mciSendCommandA(device_, MCI_WINDOW, MCI_DGV_WINDOW_HWND | MCI_WAIT, Parms(&window));
  }
  return true;
}

std::optional<platform::Bounds> MciPlayer::Where(DWORD which) {
  if (!device_) return std::nullopt;
  MCI_DGV_RECT_PARMS where{};
  if (mciSendCommandA(device_, MCI_WHERE, which | WaitFlag(), Parms(&where)) != 0) return std::nullopt;
  return BoundsOf(where.rc);
}

bool MciPlayer::SetDisplayRect(const platform::Bounds& rect) {
  if (!device_) {
    (void)WaitFlag();
    return false;
  }
  platform::Bounds destination = rect;
  // All zeros mean the video's own size at the top left: the device is told
  // so in its own terms, from the picture's source rectangle.
  if (IsAllZero(rect)) {
    const auto source = Where(MCI_DGV_WHERE_SOURCE);
    if (!source) return false;
    destination = OwnSizeRect(*source);
  }
  MCI_DGV_PUT_PARMS put{};
  put.rc = {destination.left, destination.top, destination.width, destination.height};
  return mciSendCommandA(device_, MCI_PUT, MCI_DGV_PUT_DESTINATION | MCI_DGV_RECT | WaitFlag(), Parms(&put)) == 0;
}

std::optional<platform::Bounds> MciPlayer::DisplayRect() { return Where(MCI_DGV_WHERE_DESTINATION); }

bool MciPlayer::Play() {
  // Never MCI_WAIT here: it would hold the one thread until the end.
  (void)WaitFlag();
  if (!device_) return false;
  MCI_PLAY_PARMS play{};
  return mciSendCommandA(device_, MCI_PLAY, 0, Parms(&play)) == 0;
}

platform::PlayerMode MciPlayer::Mode() {
  if (!device_) {
    (void)WaitFlag();
    return platform::PlayerMode::NotOpen;
  }
  MCI_STATUS_PARMS status{};
  status.dwItem = MCI_STATUS_MODE;
  // Asked and answered at once, whatever the next-command request said.
  (void)WaitFlag();
  if (mciSendCommandA(device_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, Parms(&status)) != 0) {
    return platform::PlayerMode::Other;
  }
  switch (status.dwReturn) {
    case MCI_MODE_STOP: return platform::PlayerMode::Stopped;
    case MCI_MODE_PLAY: return platform::PlayerMode::Playing;
    default: return platform::PlayerMode::Other;
  }
}

bool MciPlayer::Stop() {
  const DWORD wait = WaitFlag();
  if (!device_) return false;
  MCI_GENERIC_PARMS stop{};
  return mciSendCommandA(device_, MCI_STOP, wait, Parms(&stop)) == 0;
}

void MciPlayer::Close() {
  (void)WaitFlag();
  CloseDevice();
}

void MciPlayer::CloseDevice() {
  if (!device_) return;
  MCI_GENERIC_PARMS close{};
  mciSendCommandA(device_, MCI_CLOSE, MCI_WAIT, Parms(&close));
  device_ = 0;
}

}  // namespace reelshow
