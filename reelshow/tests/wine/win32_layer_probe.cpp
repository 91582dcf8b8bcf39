// Checks of the Win32 layer's own promises, run under Wine: the long form
// of a short path, the registry values that count as numbers, the pointer
// as a state, run-time libraries, and the media player over real files.
// Arguments: a 320x240 AVI that shows its picture, a 320x240 AVI whose
// device reports a negative height, and the stand-in PASSWORD.CPL.
#include <windows.h>

#include <cstdio>
#include <string>

#include "long_path.h"
#include "mci_player.h"
#include "win32_system.h"

namespace {

int g_checks = 0;
int g_failures = 0;

void Check(const std::string& what, const std::string& got, const std::string& expected) {
  ++g_checks;
  if (got == expected) return;
  ++g_failures;
  std::printf("FAIL %s: got \"%s\", expected \"%s\"\n", what.c_str(), got.c_str(), expected.c_str());
}

std::string Text(const std::optional<reelshow::platform::Bounds>& b) {
  if (!b) return "none";
  return std::to_string(b->left) + "," + std::to_string(b->top) + "," + std::to_string(b->width) + "," +
         std::to_string(b->height);
}

std::string Text(reelshow::platform::PlayerMode mode) {
  switch (mode) {
    case reelshow::platform::PlayerMode::NotOpen: return "not open";
    case reelshow::platform::PlayerMode::Stopped: return "stopped";
    case reelshow::platform::PlayerMode::Playing: return "playing";
    case reelshow::platform::PlayerMode::Other: return "other";
  }
  return "?";
}

std::string Text(const reelshow::platform::RegistryDword& r) {
  using Answer = reelshow::platform::RegistryDword::Answer;
  switch (r.answer) {
    case Answer::KeyMissing: return "key missing";
    case Answer::ValueMissingOrNotNumber: return "not a number";
    case Answer::Number: return std::to_string(r.value);
  }
  return "?";
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

void CheckLongPath() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = reelshow::LongPathOf(temp);
  const std::string longName = dir + (dir.back() == '\\' ? "" : "\\") + "Holiday.Clips Reel.scr";
  HANDLE f = CreateFileA(longName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(f);
  char shortName[MAX_PATH] = {};
  GetShortPathNameA(longName.c_str(), shortName, MAX_PATH);
  Check("short name is another name", std::to_string(Lower(shortName) != Lower(longName)), "1");
  Check("long form of the short name", Lower(reelshow::LongPathOf(shortName)), Lower(longName));
  DeleteFileA(longName.c_str());
  Check("a path that names nothing stays", reelshow::LongPathOf("C:\\no\\such\\FILE~1.SCR"), "C:\\no\\such\\FILE~1.SCR");
}

void CheckRegistry(reelshow::Win32System& system) {
  const char* const key = "Software\\reelshow-layer-probe";
  HKEY k = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
  const BYTE one[4] = {1, 0, 0, 0};
  const BYTE bigger[4] = {0x01, 0x02, 0x03, 0x04};
  const BYTE shorter[2] = {1, 0};
  RegSetValueExA(k, "dword", 0, REG_DWORD, one, 4);
  RegSetValueExA(k, "binary", 0, REG_BINARY, bigger, 4);
  RegSetValueExA(k, "short", 0, REG_BINARY, shorter, 2);
  RegSetValueExA(k, "text", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
  RegSetValueExA(k, "long", 0, REG_SZ, reinterpret_cast<const BYTE*>("1234567890123"), 14);
  RegCloseKey(k);
  const struct {
    const char* value;
    const char* expected;
  } cases[] = {{"dword", "1"},          {"binary", "67305985"},    {"short", "not a number"},
               {"text", "not a number"}, {"long", "not a number"}, {"missing", "not a number"}};
  for (const auto& c : cases) {
    Check(std::string("registry value ") + c.value, Text(system.ReadCurrentUserDword(key, c.value)), c.expected);
  }
  RegDeleteKeyA(HKEY_CURRENT_USER, key);
  Check("registry key missing", Text(system.ReadCurrentUserDword(key, "dword")), "key missing");
}

// The count that ShowCursor keeps, read by a step there and back.
int PointerCount() {
  const int count = ShowCursor(TRUE) - 1;
  ShowCursor(FALSE);
  return count;
}

void CheckPointer(reelshow::Win32System& system) {
  system.SetPointerVisible(false);
  system.SetPointerVisible(false);
  Check("hidden twice", std::to_string(PointerCount()), "-1");
  system.SetPointerVisible(true);
  Check("shown once after two hides", std::to_string(PointerCount()), "0");
  system.SetPointerVisible(true);
  Check("shown twice", std::to_string(PointerCount()), "0");
}

void CheckLibraries(reelshow::Win32System& system, const std::string& stub) {
  Check("missing library", std::to_string(system.OpenLibrary("C:\\no\\such\\PASSWORD.CPL") == nullptr), "1");
  {
    auto library = system.OpenLibrary(stub);
    Check("stand-in library loads", std::to_string(library != nullptr), "1");
    if (!library) return;
    Check("entry point found", std::to_string(static_cast<bool>(library->FindVerifyScreenSavePwd())), "1");
    Check("entry point missing", std::to_string(static_cast<bool>(library->FindPwdChangePasswordA())), "0");
  }
  Check("library freed, missing entry point or not", std::to_string(GetModuleHandleA("PASSWORD.CPL") == nullptr), "1");
  Check("system directory", Lower(system.SystemDirectory()), "c:\\windows\\system32");
  Check("windows directory", Lower(system.WindowsDirectory()), "c:\\windows");
}

bool WaitForMode(reelshow::MciPlayer& player, reelshow::platform::PlayerMode mode, DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    if (player.Mode() == mode) return true;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(50);
  }
  return false;
}

void CheckPlayer(const std::string& picture, const std::string& upsideDown) {
  HWND display = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  reelshow::MciPlayer player(display);
  Check("nothing open", Text(player.Mode()), "not open");
  Check("play with nothing open", std::to_string(player.Play()), "0");
  player.Close();
  player.SetFileName("C:\\no\\such\\video.avi");
  Check("open a missing file", std::to_string(player.Open()), "0");
  player.SetFileName("");
  Check("open no file", std::to_string(player.Open()), "0");

  player.SetFileName(picture);
  Check("open", std::to_string(player.Open()), "1");
  Check("own size at the top left", std::to_string(player.SetDisplayRect({0, 0, 0, 0})), "1");
  Check("own size read back", Text(player.DisplayRect()), "0,0,320,240");
  Check("stretched", std::to_string(player.SetDisplayRect({0, 0, 512, 384})), "1");
  Check("stretched read back", Text(player.DisplayRect()), "0,0,512,384");
  const DWORD before = GetTickCount();
  Check("play", std::to_string(player.Play()), "1");
  Check("play returns at once", std::to_string(GetTickCount() - before < 500), "1");
  Check("playing", Text(player.Mode()), "playing");
  Check("stopped at the end", std::to_string(WaitForMode(player, reelshow::platform::PlayerMode::Stopped, 5000)), "1");
  Check("open closes the open file first", std::to_string(player.Open()), "1");
  Check("play again", std::to_string(player.Play()), "1");
  Sleep(300);
  // Wine without a sound device answers a stop with an error of its wave
  // output, after stopping: what counts is the mode that follows.
  (void)player.Stop();
  Check("stopped by a stop", Text(player.Mode()), "stopped");
  player.Close();
  Check("closed", Text(player.Mode()), "not open");

  player.SetFileName(upsideDown);
  Check("open a top-down picture", std::to_string(player.Open()), "1");
  Check("its own size, upright", std::to_string(player.SetDisplayRect({0, 0, 0, 0})), "1");
  Check("its own size read back", Text(player.DisplayRect()), "0,0,320,240");
  player.Close();

  reelshow::MciPlayer sound(nullptr);
  sound.SetWaitForNext(false);
  sound.SetFileName(picture);
  Check("sound player opens without a display", std::to_string(sound.Open()), "1");
  sound.Close();
  DestroyWindow(display);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: win32_layer_probe PICTURE.AVI TOP-DOWN.AVI PASSWORD.CPL\n", stderr);
    return 2;
  }
  reelshow::Win32System system;
  CheckLongPath();
  CheckRegistry(system);
  CheckPointer(system);
  CheckLibraries(system, argv[3]);
  CheckPlayer(argv[1], argv[2]);
  std::printf("win32-layer: %d checks, %d failures\n", g_checks, g_failures);
  return g_failures == 0 ? 0 : 1;
}
