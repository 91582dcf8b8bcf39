#include "input.h"

#include <cstdlib>

namespace driver {

namespace {

struct NamedMessage {
  const char* name;
  UINT code;
};

constexpr NamedMessage kMessages[] = {
    {"close", WM_CLOSE},           {"syscommand", WM_SYSCOMMAND}, {"keydown", WM_KEYDOWN},
    {"keyup", WM_KEYUP},           {"char", WM_CHAR},             {"syskeydown", WM_SYSKEYDOWN},
    {"syskeyup", WM_SYSKEYUP},     {"mousemove", WM_MOUSEMOVE},   {"lbuttondown", WM_LBUTTONDOWN},
    {"lbuttonup", WM_LBUTTONUP},   {"rbuttondown", WM_RBUTTONDOWN}, {"rbuttonup", WM_RBUTTONUP},
    {"mbuttondown", WM_MBUTTONDOWN}, {"mbuttonup", WM_MBUTTONUP}, {"mousewheel", WM_MOUSEWHEEL},
    {"click", BM_CLICK},
};

struct NamedScroll {
  const char* name;
  WORD code;
};

constexpr NamedScroll kScrolls[] = {
    {"lineleft", SB_LINELEFT}, {"lineright", SB_LINERIGHT}, {"pageleft", SB_PAGELEFT},
    {"pageright", SB_PAGERIGHT}, {"left", SB_LEFT}, {"right", SB_RIGHT},
};

bool SendInputs(INPUT* inputs, UINT count) { return SendInput(count, inputs, sizeof(INPUT)) == count; }

}  // namespace

std::optional<unsigned long> Number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const bool negative = text[0] == '-';
  const unsigned long v = std::strtoul(text.c_str() + (negative ? 1 : 0), &end, 0);
  if (*end != '\0') return std::nullopt;
  return negative ? 0ul - v : v;
}

std::optional<UINT> MessageCode(const std::string& name) {
  for (const NamedMessage& m : kMessages) {
    if (name == m.name) return m.code;
  }
  if (auto n = Number(name)) return static_cast<UINT>(*n);
  return std::nullopt;
}

bool PostTo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(hwnd, msg, wParam, lParam) != 0;
}

bool ScrollRequest(HWND scrollBar, const std::string& code, unsigned count) {
  HWND parent = GetParent(scrollBar);
  if (!parent) return false;
  const UINT msg = (GetWindowLongA(scrollBar, GWL_STYLE) & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  const auto bar = reinterpret_cast<LPARAM>(scrollBar);
  WPARAM wParam = 0;
  bool known = false;
  for (const NamedScroll& s : kScrolls) {
    if (code == s.name) {
      wParam = s.code;
      known = true;
    }
  }
  if (!known && code.rfind("thumb:", 0) == 0) {
    const auto pos = Number(code.substr(6));
    if (!pos) return false;
    // A dragged thumb reports its track position, then where it was let go.
    wParam = MAKEWPARAM(SB_THUMBTRACK, *pos);
    if (!PostMessageA(parent, msg, wParam, bar)) return false;
    wParam = MAKEWPARAM(SB_THUMBPOSITION, *pos);
    known = true;
  }
  if (!known) return false;
  for (unsigned i = 0; i < count; ++i) {
    if (!PostMessageA(parent, msg, wParam, bar)) return false;
  }
  return PostMessageA(parent, msg, SB_ENDSCROLL, bar) != 0;
}

bool SendKey(HWND top, WORD vk) {
  SetForegroundWindow(top);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInputs(in, 2);
}

bool SendMouse(int x, int y, const std::string& button) {
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  INPUT in[3]{};
  in[0].type = INPUT_MOUSE;
  in[0].mi.dx = (x * 65535 + sw / 2) / (sw - 1);
  in[0].mi.dy = (y * 65535 + sh / 2) / (sh - 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  if (button.empty() || button == "none") return SendInputs(in, 1);
  DWORD down = 0;
  DWORD up = 0;
  if (button == "left") {
    down = MOUSEEVENTF_LEFTDOWN;
    up = MOUSEEVENTF_LEFTUP;
  } else if (button == "right") {
    down = MOUSEEVENTF_RIGHTDOWN;
    up = MOUSEEVENTF_RIGHTUP;
  } else if (button == "middle") {
    down = MOUSEEVENTF_MIDDLEDOWN;
    up = MOUSEEVENTF_MIDDLEUP;
  } else {
    return false;
  }
  in[1].type = in[2].type = INPUT_MOUSE;
  in[1].mi.dwFlags = down;
  in[2].mi.dwFlags = up;
  return SendInputs(in, 3);
}

bool FocusControl(HWND control) {
  const DWORD target = GetWindowThreadProcessId(control, nullptr);
  const DWORD self = GetCurrentThreadId();
  if (!AttachThreadInput(self, target, TRUE)) return false;
  SetFocus(control);
  const bool ok = GetFocus() == control;
  AttachThreadInput(self, target, FALSE);
  return ok;
}

}  // namespace driver
