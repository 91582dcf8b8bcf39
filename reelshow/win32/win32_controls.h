#pragma once
// The forms' controls over Win32 windows. Each is a thin wrapper that passes
// the behaviour's settings on to its window at once.
#include <windows.h>

#include "platform/controls.h"

namespace reelshow {

COLORREF ColorRefOf(platform::Rgb color);

// A window's background colour, painted by the window procedure from the
// brush kept here (for WM_ERASEBKGND and WM_CTLCOLORSTATIC alike).
class Win32Background final : public platform::Window {
public:
  explicit Win32Background(platform::Rgb initial);
  ~Win32Background();
  Win32Background(const Win32Background&) = delete;
  Win32Background& operator=(const Win32Background&) = delete;

  // The window to repaint, and a child that shows the colour too.
  void Attach(HWND window, HWND textChild);
  void SetColor(platform::Rgb color) override;
  HBRUSH Brush() const { return brush_; }
  COLORREF Color() const { return color_; }

private:
  HWND window_ = nullptr;
  HWND textChild_ = nullptr;
  COLORREF color_;
  HBRUSH brush_;
};

class Win32Panel final : public platform::Panel {
public:
  explicit Win32Panel(HWND window) : window_(window) {}
  void SetBounds(const platform::Bounds& bounds) override;
  void SetVisible(bool visible) override;

private:
  HWND window_;
};

// A static text. An auto-sizing label takes the size of its text in its own
// font whenever the text changes.
class Win32Label final : public platform::Label {
public:
  Win32Label(HWND window, bool autoSize) : window_(window), autoSize_(autoSize) {}
  void SetText(const std::string& text) override;
  void SetVisible(bool visible) override;
  void FitToText();

private:
  HWND window_;
  bool autoSize_;
};

// Ticks arrive as WM_TIMER with the id given, in the window's procedure.
class Win32Timer final : public platform::Timer {
public:
  Win32Timer(HWND window, UINT_PTR id, UINT intervalMs) : window_(window), id_(id), intervalMs_(intervalMs) {}
  void SetEnabled(bool enabled) override;

private:
  HWND window_;
  UINT_PTR id_;
  UINT intervalMs_;
};

class Win32RadioButton final : public platform::RadioButton {
public:
  explicit Win32RadioButton(HWND window) : window_(window) {}
  void SetChecked(bool checked) override;
  bool Checked() const override;

private:
  HWND window_;
};

class Win32ScrollBar final : public platform::ScrollBar {
public:
  explicit Win32ScrollBar(HWND window) : window_(window) {}
  void SetRange(std::int32_t min, std::int32_t max) override;
  void SetPosition(std::int32_t position) override;

private:
  HWND window_;
};

class Win32Button final : public platform::Button {
public:
  explicit Win32Button(HWND window) : window_(window) {}
  void SetCaption(const std::string& caption) override;
  void SetVisible(bool visible) override;

private:
  HWND window_;
};

}  // namespace reelshow
