#pragma once
// The system services of the saver, the dialog and the start-up over Win32.
#include <windows.h>

#include "platform/system.h"

namespace reelshow {

class Win32System final : public platform::System {
public:
  // The program's one window (the saver or the dialog), once it exists: the
  // owner of message boxes and of the password prompt, and the window that
  // CloseMainWindow closes.
  void SetMainWindow(HWND window) { main_ = window; }
  HWND MainWindow() const;

  bool FileExists(const std::string& path) override;
  platform::ScreenSize Screen() override;
  void SetPointerVisible(bool visible) override;
  void ShowMessage(const std::string& text, const std::string& caption,
                   platform::MessageIcon icon) override;
  void SetScreenSaverRunning(bool running) override;
  std::uint32_t PlatformId() override;
  platform::RegistryDword ReadCurrentUserDword(const std::string& keyPath,
                                               const std::string& valueName) override;
  std::unique_ptr<platform::Library> OpenLibrary(const std::string& path) override;
  std::string SystemDirectory() override;
  std::string WindowsDirectory() override;
  std::string ProgramPath() override;
  std::intptr_t ShellOpen(const std::string& address) override;
  void CloseMainWindow() override;
  void TerminateApplication() override;

private:
  HWND main_ = nullptr;
};

}  // namespace reelshow
