#pragma once
// The system services of the saver, the dialog and the start-up. What the
// Win32 layer must guarantee:
// - SetPointerVisible is a state, not a counter: hiding a hidden pointer or
//   showing a shown one changes nothing;
// - ShowMessage is modal with one OK button and returns when dismissed; its
//   nested message loop goes on calling the form's handlers (ticks, the
//   message hook), as the real message loop does;
// - SetScreenSaverRunning is the system setting of action 97 (value 1 or 0);
// - ReadCurrentUserDword opens keyPath under the current user's root key
//   without creating it and reads valueName as a 32-bit number;
// - OpenLibrary answers null when the library cannot be loaded; dropping the
//   answer frees the library; a lookup answers an empty function when the
//   entry point is missing. The functions handed out call the entry point
//   with the platform's calling convention and are not used after the
//   library is freed;
// - SystemDirectory and WindowsDirectory answer "" when the system names
//   none (room for 260 and 200 characters respectively);
// - ShellOpen hands the whole address, however long, to the system with the
//   verb "open", the current window as owner, no parameters, no working
//   directory and the opened window shown maximised, and answers the
//   system's result code (greater than 32 on success);
// - CloseMainWindow closes the program's one window; TerminateApplication
//   makes the message loop end after the messages queued before it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace reelshow::platform {

enum class MessageIcon { Error, Information };

struct ScreenSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct RegistryDword {
  enum class Answer { KeyMissing, ValueMissingOrNotNumber, Number };
  Answer answer = Answer::KeyMissing;
  std::uint32_t value = 0;  // meaningful for Number only
};

// The owner window of the system's password dialogs.
enum class PasswordOwner { None, SaverWindow };

// VerifyScreenSavePwd(owner): true when the right password was given.
using VerifyScreenSavePwdFunction = std::function<bool(PasswordOwner owner)>;
// PwdChangePasswordA(key name, owner, reserved, reserved); its result is not used.
using PwdChangePasswordFunction =
    std::function<void(const std::string& keyName, PasswordOwner owner, std::uint32_t reserved1,
                       std::uint32_t reserved2)>;

// A library loaded at run time; freed when the object is destroyed.
class Library {
public:
  virtual ~Library() = default;
  virtual VerifyScreenSavePwdFunction FindVerifyScreenSavePwd() = 0;
  virtual PwdChangePasswordFunction FindPwdChangePasswordA() = 0;
};

class System {
public:
  virtual bool FileExists(const std::string& path) = 0;
  virtual ScreenSize Screen() = 0;
  virtual void SetPointerVisible(bool visible) = 0;
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
  virtual void SetScreenSaverRunning(bool running) = 0;
  // 0 Win32s, 1 Windows 95/98/Me, 2 the NT family.
  virtual std::uint32_t PlatformId() = 0;
  virtual RegistryDword ReadCurrentUserDword(const std::string& keyPath,
                                             const std::string& valueName) = 0;
  virtual std::unique_ptr<Library> OpenLibrary(const std::string& path) = 0;
  virtual std::string SystemDirectory() = 0;
  virtual std::string WindowsDirectory() = 0;
  // The program's own file, with its directory.
  virtual std::string ProgramPath() = 0;
  virtual std::intptr_t ShellOpen(const std::string& address) = 0;
  virtual void CloseMainWindow() = 0;
  virtual void TerminateApplication() = 0;

protected:
  ~System() = default;
};

}  // namespace reelshow::platform
