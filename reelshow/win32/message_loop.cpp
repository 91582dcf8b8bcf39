#include "message_loop.h"

namespace reelshow {

namespace {

bool IsEnterOn(const MSG& msg, HWND button) {
  return button && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == button &&
         IsWindowVisible(button) && IsWindowEnabled(button);
}

}  // namespace

void RunMessageLoop(HWND dialog, HWND pictureButton) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsEnterOn(msg, pictureButton)) {
      SendMessageA(pictureButton, BM_CLICK, 0, 0);
      continue;
    }
    if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace reelshow
