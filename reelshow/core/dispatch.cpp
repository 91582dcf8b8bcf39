#include "dispatch.h"

namespace reelshow {

std::string UpperSwitch(std::string_view argument) {
  std::string upper(argument);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

Action Dispatch(bool saverWindowExists, std::string_view firstArgument) {
  if (saverWindowExists || firstArgument.empty()) return Action::End;
  const std::string s = UpperSwitch(firstArgument);
  if (s == "/S") return Action::RunSaver;
  if (s.starts_with("/C")) return Action::ShowSettings;
  if (s.starts_with("/A")) return Action::ChangePassword;
  return Action::End;
}

std::string SystemLibraryPath(std::string_view directory, std::string_view fileName) {
  std::string path(directory);
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += fileName;
  return path;
}

void ChangePassword(platform::System& system) {
  const auto library = system.OpenLibrary(SystemLibraryPath(system.SystemDirectory(), "MPR.DLL"));
  if (!library) return;
  if (const auto change = library->FindPwdChangePasswordA()) {
    change("SCRSAVE", platform::PasswordOwner::None, 0, 0);
  }
}

}  // namespace reelshow
