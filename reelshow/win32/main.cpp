// reelshow.scr: the program entry. Windows starts a screensaver with one
// switch; the portable dispatch decides, this file only carries it out.
#include <windows.h>

#include "command_line.h"
#include "dispatch.h"
#include "form_layout.h"
#include "saver_window.h"
#include "settings_dialog.h"
#include "win32_profile.h"
#include "win32_system.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using reelshow::Action;
  const bool saverExists = FindWindowA(reelshow::layout::kSaverClass, reelshow::layout::kSaverTitle) != nullptr;
  const std::string first = reelshow::FirstArgument(GetCommandLineA());
  reelshow::Win32System system;
  reelshow::Win32Profile profile;
  switch (reelshow::Dispatch(saverExists, first)) {
    case Action::RunSaver: return reelshow::RunSaver(instance, system, profile);
    case Action::ShowSettings: return reelshow::RunSettingsDialog(instance, system, profile);
    case Action::ChangePassword: reelshow::ChangePassword(system); break;
    case Action::End: break;
  }
  return reelshow::kExitStatus;
}
