#include "win32_system.h"

#include <shellapi.h>

#include <vector>

#include "long_path.h"
#include "registry_number.h"

namespace reelshow {

namespace {

// The action codes of the screensaver-running setting.
constexpr UINT kSetScreenSaverRunning = 97;

// The system's directory functions answer the size they need, terminating
// zero included, when the buffer is too small: ask again with that size.
std::string DirectoryFrom(UINT(WINAPI* get)(LPSTR, UINT)) {
  std::vector<char> buffer(MAX_PATH);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const UINT n = get(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(static_cast<std::size_t>(n) + 1);
  }
  return "";
}

HWND OwnerFor(platform::PasswordOwner owner, const Win32System& system) {
  return owner == platform::PasswordOwner::SaverWindow ? system.MainWindow() : nullptr;
}

// A function pointer of GetProcAddress's type cast to the entry point's own
// type, through the one type the compiler lets stand for any function.
template <typename Function>
Function EntryPoint(HMODULE module, const char* name) {
  const FARPROC proc = GetProcAddress(module, name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

class Win32Library final : public platform::Library {
public:
  Win32Library(HMODULE module, const Win32System& system) : module_(module), system_(system) {}
  ~Win32Library() override { FreeLibrary(module_); }
  Win32Library(const Win32Library&) = delete;
  Win32Library& operator=(const Win32Library&) = delete;

  platform::VerifyScreenSavePwdFunction FindVerifyScreenSavePwd() override {
    using Verify = BOOL(WINAPI*)(HWND);
    const Verify verify = EntryPoint<Verify>(module_, "VerifyScreenSavePwd");
    if (!verify) return {};
    const Win32System& system = system_;
    return [verify, &system](platform::PasswordOwner owner) {
      return verify(OwnerFor(owner, system)) != FALSE;
    };
  }

  platform::PwdChangePasswordFunction FindPwdChangePasswordA() override {
    using Change = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);
    const Change change = EntryPoint<Change>(module_, "PwdChangePasswordA");
    if (!change) return {};
    const Win32System& system = system_;
    return [change, &system](const std::string& keyName, platform::PasswordOwner owner,
                             std::uint32_t reserved1, std::uint32_t reserved2) {
      (void)change(keyName.c_str(), OwnerFor(owner, system), reserved1, reserved2);
    };
  }

private:
  HMODULE module_;
  const Win32System& system_;
};

}  // namespace

HWND Win32System::MainWindow() const { return main_ && IsWindow(main_) ? main_ : nullptr; }

bool Win32System::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

platform::ScreenSize Win32System::Screen() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Win32System::SetPointerVisible(bool visible) {
  // The system counts shows and hides; the pointer is shown while the count
  // is not negative. One step there and back reads the count; then it is
  // moved just across zero when it is on the wrong side, and left alone
  // otherwise.
  int count = ShowCursor(TRUE) - 1;
  ShowCursor(FALSE);
  for (int step = 0; step < 64 && (visible ? count < 0 : count >= 0); ++step) {
    count = ShowCursor(visible ? TRUE : FALSE);
  }
}

void Win32System::ShowMessage(const std::string& text, const std::string& caption,
                              platform::MessageIcon icon) {
  HWND owner = MainWindow();
  UINT type = MB_OK | (icon == platform::MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
  // Above a window that stays on top, the box must stay on top too.
  if (owner && (GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOPMOST)) type |= MB_TOPMOST | MB_SETFOREGROUND;
  MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

void Win32System::SetScreenSaverRunning(bool running) {
  BOOL previous = FALSE;
  SystemParametersInfoA(kSetScreenSaverRunning, running ? TRUE : FALSE, &previous, 0);
}

std::uint32_t Win32System::PlatformId() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return 0;
  return version.dwPlatformId;
}

platform::RegistryDword Win32System::ReadCurrentUserDword(const std::string& keyPath,
                                                          const std::string& valueName) {
  using Answer = platform::RegistryDword::Answer;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return {Answer::KeyMissing, 0};
  }
  // Room for more than a number, so that a longer value is seen as such.
  BYTE data[8] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  const LONG read = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data, &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS) return {Answer::ValueMissingOrNotNumber, 0};
  const auto number = RegistryNumber(type, data, size);
  if (!number) return {Answer::ValueMissingOrNotNumber, 0};
  return {Answer::Number, *number};
}

std::unique_ptr<platform::Library> Win32System::OpenLibrary(const std::string& path) {
  // A library that cannot be loaded must not bring up a system box.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(path.c_str());
  SetErrorMode(previous);
  if (!module) return nullptr;
  return std::make_unique<Win32Library>(module, *this);
}

std::string Win32System::SystemDirectory() { return DirectoryFrom(GetSystemDirectoryA); }

std::string Win32System::WindowsDirectory() { return DirectoryFrom(GetWindowsDirectoryA); }

std::string Win32System::ProgramPath() { return LongPathOf(OwnModulePath()); }

std::intptr_t Win32System::ShellOpen(const std::string& address) {
  const HINSTANCE result =
      ShellExecuteA(MainWindow(), "open", address.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
  return reinterpret_cast<std::intptr_t>(result);
}

void Win32System::CloseMainWindow() {
  if (HWND window = MainWindow()) DestroyWindow(window);
}

void Win32System::TerminateApplication() { PostQuitMessage(0); }

}  // namespace reelshow
