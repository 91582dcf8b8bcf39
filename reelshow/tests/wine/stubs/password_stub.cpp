// Stand-in for the system's screensaver password check. It answers as its
// answers file says, and notes who asked and whether the pointer was shown.
#include <windows.h>

#include "stub_record.h"

namespace {

HMODULE g_self = nullptr;
int g_depth = 0;

bool PointerShown() {
  CURSORINFO ci{};
  ci.cbSize = sizeof ci;
  return GetCursorInfo(&ci) && (ci.flags & CURSOR_SHOWING) != 0;
}

// Keeps the caller's messages flowing for a while, as the system's own
// prompt does while it waits for the password.
void HoldMessageLoop(unsigned ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

}  // namespace

extern "C" BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
  const unsigned call = stub::RecordedCalls(g_self) + 1;
  ++g_depth;
  const stub::Answer answer = stub::AnswerFor(g_self, call);
  stub::Record(g_self, "VerifyScreenSavePwd call=" + std::to_string(call) + " depth=" +
                           std::to_string(g_depth) + " owner=" + stub::WindowName(owner) +
                           " pointer=" + (PointerShown() ? "shown" : "hidden") +
                           " answer=" + std::to_string(answer.value));
  HoldMessageLoop(answer.holdMs);
  --g_depth;
  return answer.value != 0 ? TRUE : FALSE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = self;
  return TRUE;
}
