#pragma once
// Test doubles of the platform: each records its calls into one shared log,
// so that tests can check the order across controls, players and system, and
// each can be told to fail.
#include <algorithm>
#include <cctype>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls.h"
#include "platform/media_player.h"
#include "platform/system.h"
#include "profile_store.h"

namespace reelshow::testing {

using Log = std::vector<std::string>;

inline std::string Text(const platform::Bounds& b) {
  return std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.width) +
         "," + std::to_string(b.height);
}

inline std::string Text(const platform::Rgb& c) {
  return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

// The entries of log that start with prefix, in order.
inline Log Matching(const Log& log, const std::string& prefix) {
  Log out;
  for (const auto& e : log) {
    if (e.rfind(prefix, 0) == 0) out.push_back(e);
  }
  return out;
}

class FakeWindow final : public platform::Window {
public:
  explicit FakeWindow(Log& log) : log_(log) {}
  void SetColor(platform::Rgb color) override {
    color_ = color;
    log_.push_back("window.SetColor(" + Text(color) + ")");
  }
  std::optional<platform::Rgb> color_;

private:
  Log& log_;
};

class FakePanel final : public platform::Panel {
public:
  explicit FakePanel(Log& log) : log_(log) {}
  void SetBounds(const platform::Bounds& b) override { log_.push_back("Panel1.SetBounds(" + Text(b) + ")"); }
  void SetVisible(bool v) override { log_.push_back(std::string("Panel1.SetVisible(") + (v ? "1" : "0") + ")"); }

private:
  Log& log_;
};

class FakeLabel final : public platform::Label {
public:
  FakeLabel(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
  void SetText(const std::string& t) override {
    text_ = t;
    log_.push_back(name_ + ".SetText(" + t + ")");
  }
  void SetVisible(bool v) override { log_.push_back(name_ + ".SetVisible(" + (v ? "1" : "0") + ")"); }
  std::string text_;

private:
  Log& log_;
  std::string name_;
};

class FakeTimer final : public platform::Timer {
public:
  explicit FakeTimer(Log& log) : log_(log) {}
  void SetEnabled(bool e) override {
    enabled_ = e;
    log_.push_back(std::string("Timer1.SetEnabled(") + (e ? "1" : "0") + ")");
  }
  bool enabled_ = false;

private:
  Log& log_;
};

class FakeRadio final : public platform::RadioButton {
public:
  void SetChecked(bool c) override { checked_ = c; }
  bool Checked() const override { return checked_; }
  bool checked_ = false;
};

class FakeScrollBar final : public platform::ScrollBar {
public:
  void SetRange(std::int32_t min, std::int32_t max) override { min_ = min, max_ = max; }
  void SetPosition(std::int32_t p) override { position_ = p; }
  std::int32_t min_ = 0, max_ = 0, position_ = 0;
};

class FakeButton final : public platform::Button {
public:
  void SetCaption(const std::string& c) override { caption_ = c; }
  void SetVisible(bool v) override { visible_ = v; }
  std::string caption_;
  std::optional<bool> visible_;
};

// A media player over a set of files it can open. Open makes it stopped,
// Play playing; Finish() plays the file to its end.
class FakePlayer final : public platform::MediaPlayer {
public:
  FakePlayer(Log& log, std::string name) : log_(log), name_(std::move(name)) {}

  void SetFileName(const std::string& path) override {
    fileName_ = path;
    Record("SetFileName(" + path + ")");
  }
  void SetAutoSelectDevice() override { Record("SetAutoSelectDevice"); }
  void SetWaitForNext(bool wait) override { Record(std::string("SetWaitForNext(") + (wait ? "1" : "0") + ")"); }
  bool Open() override {
    Record("Open");
    if (!openable_.contains(fileName_)) return false;
    mode_ = platform::PlayerMode::Stopped;
    open_ = fileName_;
    isOpen_ = true;
    return true;
  }
  bool SetDisplayRect(const platform::Bounds& r) override {
    Record("SetDisplayRect(" + Text(r) + ")");
    if (failDisplayRect_) return false;
    if (r == platform::Bounds{}) {
      const auto own = ownSize_.find(open_);
      rect_ = own == ownSize_.end() ? platform::Bounds{0, 0, 160, 120} : own->second;
    } else {
      rect_ = r;
    }
    return true;
  }
  std::optional<platform::Bounds> DisplayRect() override {
    Record("DisplayRect");
    if (failDisplayRect_) return std::nullopt;
    return rect_;
  }
  bool Play() override {
    Record("Play");
    if (!isOpen_ || failPlay_) return false;
    mode_ = platform::PlayerMode::Playing;
    return true;
  }
  platform::PlayerMode Mode() override { return mode_; }
  bool Stop() override {
    Record("Stop");
    if (mode_ == platform::PlayerMode::Playing) mode_ = platform::PlayerMode::Stopped;
    return true;
  }
  void Close() override {
    Record("Close");
    open_.clear();
    isOpen_ = false;
    mode_ = platform::PlayerMode::NotOpen;
  }

  void Finish() { if (mode_ == platform::PlayerMode::Playing) mode_ = platform::PlayerMode::Stopped; }

  std::set<std::string> openable_;
  std::map<std::string, platform::Bounds> ownSize_;  // by file; else 160 by 120
  bool failDisplayRect_ = false;
  bool failPlay_ = false;
  platform::PlayerMode mode_ = platform::PlayerMode::NotOpen;
  std::string fileName_;
  std::string open_;
  bool isOpen_ = false;
  platform::Bounds rect_{};

private:
  void Record(const std::string& what) { log_.push_back(name_ + "." + what); }
  Log& log_;
  std::string name_;
};

class FakeLibrary final : public platform::Library {
public:
  FakeLibrary(Log& log, std::string path, platform::VerifyScreenSavePwdFunction verify,
              platform::PwdChangePasswordFunction change)
      : log_(log), path_(std::move(path)), verify_(std::move(verify)), change_(std::move(change)) {}
  ~FakeLibrary() override { log_.push_back("FreeLibrary(" + path_ + ")"); }
  platform::VerifyScreenSavePwdFunction FindVerifyScreenSavePwd() override { return verify_; }
  platform::PwdChangePasswordFunction FindPwdChangePasswordA() override { return change_; }

private:
  Log& log_;
  std::string path_;
  platform::VerifyScreenSavePwdFunction verify_;
  platform::PwdChangePasswordFunction change_;
};

class FakeSystem final : public platform::System {
public:
  explicit FakeSystem(Log& log) : log_(log) {}

  bool FileExists(const std::string& path) override { return files_.contains(path); }
  platform::ScreenSize Screen() override { return screen_; }
  void SetPointerVisible(bool visible) override {
    pointerVisible_ = visible;
    log_.push_back(std::string("SetPointerVisible(") + (visible ? "1" : "0") + ")");
  }
  void ShowMessage(const std::string& text, const std::string& caption,
                   platform::MessageIcon icon) override {
    messages_.push_back({text, caption, icon});
    log_.push_back("ShowMessage(" + text + ")");
    // What the user does while the box is up (the nested message loop).
    if (whileMessageShown_) whileMessageShown_();
  }
  void SetScreenSaverRunning(bool running) override {
    running_ = running;
    log_.push_back(std::string("SetScreenSaverRunning(") + (running ? "1" : "0") + ")");
  }
  std::uint32_t PlatformId() override { return platformId_; }
  platform::RegistryDword ReadCurrentUserDword(const std::string& keyPath,
                                               const std::string& valueName) override {
    log_.push_back("ReadCurrentUserDword(" + keyPath + "," + valueName + ")");
    return registry_;
  }
  std::unique_ptr<platform::Library> OpenLibrary(const std::string& path) override {
    log_.push_back("OpenLibrary(" + path + ")");
    if (!libraryLoads_) return nullptr;
    platform::VerifyScreenSavePwdFunction verify;
    if (hasVerify_) {
      verify = [this](platform::PasswordOwner owner) {
        log_.push_back(std::string("VerifyScreenSavePwd(") +
                       (owner == platform::PasswordOwner::SaverWindow ? "saver" : "none") + ")");
        if (duringPrompt_) duringPrompt_();
        if (passwordAnswers_.empty()) return false;
        const bool answer = passwordAnswers_.front();
        passwordAnswers_.pop_front();
        return answer;
      };
    }
    platform::PwdChangePasswordFunction change;
    if (hasChange_) {
      change = [this](const std::string& key, platform::PasswordOwner owner, std::uint32_t r1,
                      std::uint32_t r2) {
        log_.push_back("PwdChangePasswordA(" + key + "," +
                       (owner == platform::PasswordOwner::None ? "none" : "saver") + "," +
                       std::to_string(r1) + "," + std::to_string(r2) + ")");
      };
    }
    return std::make_unique<FakeLibrary>(log_, path, verify, change);
  }
  std::string SystemDirectory() override { return systemDir_; }
  std::string WindowsDirectory() override { return windowsDir_; }
  std::string ProgramPath() override { return programPath_; }
  std::intptr_t ShellOpen(const std::string& address) override {
    log_.push_back("ShellOpen(" + address + ")");
    return shellAnswer_;
  }
  void CloseMainWindow() override { log_.push_back("CloseMainWindow"); }
  void TerminateApplication() override { log_.push_back("TerminateApplication"); }

  struct Message {
    std::string text;
    std::string caption;
    platform::MessageIcon icon;
  };

  std::set<std::string> files_;
  platform::ScreenSize screen_{1024, 768};
  std::optional<bool> pointerVisible_;
  std::vector<Message> messages_;
  std::function<void()> whileMessageShown_;
  std::optional<bool> running_;
  std::uint32_t platformId_ = 2;
  platform::RegistryDword registry_{};
  bool libraryLoads_ = true;
  bool hasVerify_ = true;
  bool hasChange_ = true;
  std::deque<bool> passwordAnswers_;
  std::function<void()> duringPrompt_;
  std::string systemDir_ = "C:\\WINDOWS\\SYSTEM";
  std::string windowsDir_ = "C:\\WINDOWS";
  std::string programPath_ = "C:\\WINDOWS\\SYSTEM\\reelshow.scr";
  std::intptr_t shellAnswer_ = 33;

private:
  Log& log_;
};

// Profile functions over memory: names match without regard to case, every
// write is recorded as "section/key=value", and a write of failKey fails.
class MemoryProfile final : public ProfileStore {
public:
  std::string GetString(const std::string&, const std::string& section, const std::string& key,
                        const std::string& def, std::size_t bufferSize) override {
    const auto it = values_.find(Key(section, key));
    std::string value = it == values_.end() ? def : it->second;
    if (bufferSize > 0 && value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
  }
  bool WriteString(const std::string&, const std::string& section, const std::string& key,
                   const std::string& value) override {
    if (Lower(key) == Lower(failKey_)) return false;
    writes_.push_back(section + "/" + key + "=" + value);
    values_[Key(section, key)] = value;
    return true;
  }
  void Set(const std::string& section, const std::string& key, const std::string& value) {
    values_[Key(section, key)] = value;
  }

  std::vector<std::string> writes_;
  std::string failKey_;

private:
  static std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
  static std::pair<std::string, std::string> Key(const std::string& s, const std::string& k) {
    return {Lower(s), Lower(k)};
  }
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

}  // namespace reelshow::testing
