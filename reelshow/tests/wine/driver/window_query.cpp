#include "window_query.h"

#include <cstdio>

namespace driver {

namespace {

std::string Hex(unsigned long value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%lx", value);
  return buf;
}

void Field(std::string& line, const char* key, const std::string& value) {
  if (!line.empty()) line += '\t';
  line += key;
  line += '=';
  line += value;
}

void Field(std::string& line, const char* key, long value) { Field(line, key, std::to_string(value)); }

// Text may hold tabs or line breaks (a message box's text); keep one line.
std::string OneLine(std::string s) {
  for (char& c : s) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return s;
}

bool SameClass(const std::string& cls, const char* name) {
  return lstrcmpiA(cls.c_str(), name) == 0;
}

// Fields that only some kinds of control have.
void ControlState(std::string& line, HWND hwnd, const std::string& cls) {
  if (SameClass(cls, "Button")) {
    DWORD_PTR check = 0;
    SendMessageTimeoutA(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check);
    Field(line, "check", static_cast<long>(check));
  }
  if (SameClass(cls, "ScrollBar")) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (GetScrollInfo(hwnd, SB_CTL, &si)) {
      Field(line, "pos", si.nPos);
      Field(line, "min", si.nMin);
      Field(line, "max", si.nMax);
      Field(line, "page", static_cast<long>(si.nPage));
    }
  }
  Field(line, "enabled", IsWindowEnabled(hwnd) ? 1 : 0);
}

std::string Describe(HWND hwnd, HWND top, int depth) {
  std::string line;
  const std::string cls = ClassOf(hwnd);
  RECT r{};
  GetWindowRect(hwnd, &r);
  POINT origin{0, 0};
  if (hwnd != top) ClientToScreen(top, &origin);
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  const LONG exstyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
  Field(line, "depth", depth);
  Field(line, "hwnd", Hex(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hwnd))));
  Field(line, "class", cls);
  Field(line, "id", hwnd == top ? 0L : static_cast<long>(GetDlgCtrlID(hwnd)));
  Field(line, "x", r.left - origin.x);
  Field(line, "y", r.top - origin.y);
  Field(line, "w", r.right - r.left);
  Field(line, "h", r.bottom - r.top);
  if (hwnd == top) {
    RECT c{};
    GetClientRect(hwnd, &c);
    POINT co{0, 0};
    ClientToScreen(hwnd, &co);
    Field(line, "cx", co.x);
    Field(line, "cy", co.y);
    Field(line, "cw", c.right);
    Field(line, "ch", c.bottom);
    Field(line, "topmost", (exstyle & WS_EX_TOPMOST) ? 1 : 0);
    Field(line, "foreground", GetForegroundWindow() == hwnd ? 1 : 0);
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(hwnd, &pid);
    Field(line, "pid", static_cast<long>(pid));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    const bool known = GetGUIThreadInfo(thread, &gui) != 0;
    Field(line, "active", known ? Hex(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(gui.hwndActive))) : "?");
    Field(line, "focus", known ? Hex(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(gui.hwndFocus))) : "?");
  }
  Field(line, "visible", IsWindowVisible(hwnd) ? 1 : 0);
  Field(line, "style", Hex(static_cast<unsigned long>(style)));
  Field(line, "exstyle", Hex(static_cast<unsigned long>(exstyle)));
  ControlState(line, hwnd, cls);
  // The text comes last: it is the one field that may hold blanks.
  Field(line, "text", OneLine(TextOf(hwnd)));
  return line;
}

struct TreeWalk {
  HWND top;
  std::vector<WindowLine>* out;
};

int DepthBelow(HWND hwnd, HWND top) {
  int depth = 0;
  for (HWND p = hwnd; p && p != top; p = GetParent(p)) ++depth;
  return depth;
}

BOOL CALLBACK AddChild(HWND hwnd, LPARAM param) {
  auto* walk = reinterpret_cast<TreeWalk*>(param);
  walk->out->push_back({hwnd, Describe(hwnd, walk->top, DepthBelow(hwnd, walk->top))});
  return TRUE;
}

}  // namespace

std::string ClassOf(HWND hwnd) {
  char buf[256] = {};
  GetClassNameA(hwnd, buf, sizeof buf);
  return buf;
}

std::string TextOf(HWND hwnd) {
  char buf[4096] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                      2000, &got);
  buf[sizeof buf - 1] = '\0';
  return buf;
}

HWND FindTop(const std::string& cls, const std::string& title) {
  return FindWindowA(cls == "-" ? nullptr : cls.c_str(), title == "-" ? nullptr : title.c_str());
}

std::vector<WindowLine> DescribeTree(HWND top) {
  std::vector<WindowLine> lines;
  lines.push_back({top, Describe(top, top, 0)});
  TreeWalk walk{top, &lines};
  EnumChildWindows(top, AddChild, reinterpret_cast<LPARAM>(&walk));
  return lines;
}

bool LineMatches(const std::string& line, const std::vector<std::string>& tokens) {
  for (const std::string& token : tokens) {
    bool found = false;
    std::size_t start = 0;
    while (start <= line.size()) {
      std::size_t end = line.find('\t', start);
      if (end == std::string::npos) end = line.size();
      if (line.compare(start, end - start, token) == 0) {
        found = true;
        break;
      }
      start = end + 1;
    }
    if (!found) return false;
  }
  return true;
}

HWND FindChild(HWND top, const std::vector<std::string>& tokens) {
  const std::vector<WindowLine> lines = DescribeTree(top);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (LineMatches(lines[i].text, tokens)) return lines[i].hwnd;
  }
  return nullptr;
}

}  // namespace driver
