#include "win32_controls.h"

#include <vector>

namespace reelshow {

namespace {

void Show(HWND window, bool visible) { ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE); }

}  // namespace

COLORREF ColorRefOf(platform::Rgb color) { return RGB(color.red, color.green, color.blue); }

Win32Background::Win32Background(platform::Rgb initial)
    : color_(ColorRefOf(initial)), brush_(CreateSolidBrush(color_)) {}

Win32Background::~Win32Background() { DeleteObject(brush_); }

void Win32Background::Attach(HWND window, HWND textChild) {
  window_ = window;
  textChild_ = textChild;
}

void Win32Background::SetColor(platform::Rgb color) {
  const COLORREF next = ColorRefOf(color);
  if (next == color_) return;
  HBRUSH brush = CreateSolidBrush(next);
  if (!brush) return;
  HBRUSH old = brush_;
  brush_ = brush;
  color_ = next;
  DeleteObject(old);
  // Only the window and the text on it: the video panel keeps its picture.
  if (window_) InvalidateRect(window_, nullptr, TRUE);
  if (textChild_ && IsWindowVisible(textChild_)) InvalidateRect(textChild_, nullptr, TRUE);
}

void Win32Panel::SetBounds(const platform::Bounds& b) {
  SetWindowPos(window_, nullptr, b.left, b.top, b.width < 0 ? 0 : b.width, b.height < 0 ? 0 : b.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Panel::SetVisible(bool visible) { Show(window_, visible); }

void Win32Label::SetText(const std::string& text) {
  SetWindowTextA(window_, text.c_str());
  if (autoSize_) FitToText();
}

void Win32Label::SetVisible(bool visible) { Show(window_, visible); }

void Win32Label::FitToText() {
  std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(window_)) + 1, '\0');
  const int length = GetWindowTextA(window_, text.data(), static_cast<int>(text.size()));
  HDC dc = GetDC(window_);
  if (!dc) return;
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), length, &size);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  if (old) SelectObject(dc, old);
  ReleaseDC(window_, dc);
  SetWindowPos(window_, nullptr, 0, 0, size.cx, metrics.tmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Timer::SetEnabled(bool enabled) {
  if (enabled) {
    SetTimer(window_, id_, intervalMs_, nullptr);
  } else {
    KillTimer(window_, id_);
  }
}

void Win32RadioButton::SetChecked(bool checked) {
  SendMessageA(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32RadioButton::Checked() const {
  return SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32ScrollBar::SetRange(std::int32_t min, std::int32_t max) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = min;
  info.nMax = max;
  info.nPage = 0;
  SetScrollInfo(window_, SB_CTL, &info, TRUE);
}

void Win32ScrollBar::SetPosition(std::int32_t position) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  info.nPos = position;
  SetScrollInfo(window_, SB_CTL, &info, TRUE);
}

void Win32Button::SetCaption(const std::string& caption) {
  SetWindowTextA(window_, caption.c_str());
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32Button::SetVisible(bool visible) { Show(window_, visible); }

}  // namespace reelshow
