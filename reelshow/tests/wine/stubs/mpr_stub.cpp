// Stand-in for the system's screensaver password change: it only notes the
// arguments it was called with.
#include <windows.h>

#include <cstdio>

#include "stub_record.h"

namespace {

HMODULE g_self = nullptr;

}  // namespace

extern "C" DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1,
                                                                 DWORD reserved2) {
  char line[512];
  std::snprintf(line, sizeof line, "PwdChangePasswordA provider=%s owner=%s reserved=%lu,%lu",
                provider ? provider : "(null)", stub::WindowName(owner).c_str(), reserved1, reserved2);
  stub::Record(g_self, line);
  return 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = self;
  return TRUE;
}
