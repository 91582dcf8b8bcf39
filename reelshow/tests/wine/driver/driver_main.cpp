// The end-to-end test driver: one command per run, answers on stdout as
// tab-separated key=value fields. Exit status 0 when the command did what it
// was asked, 1 when it could not (window not found, timeout), 2 for a usage
// error, 3 when a started program had to be ended at the timeout.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "input.h"
#include "run_program.h"
#include "window_query.h"

namespace {

using Args = std::vector<std::string>;

constexpr DWORD kPollMs = 100;

int Usage() {
  std::fputs(
      "usage: reelshow-driver COMMAND ...\n"
      "  run MS PROGRAM [ARG...]           start, wait up to MS, report exit code and windows shown\n"
      "  wait-window CLASS TITLE MS        wait for a top-level window ('-' = any)\n"
      "  wait-gone CLASS TITLE MS          wait until no such window exists\n"
      "  tree CLASS TITLE                  describe the window and its descendants\n"
      "  wait-tree CLASS TITLE MS TOKEN... wait until a line of the tree has every key=value\n"
      "  press CLASS TITLE TOKEN...        click the first descendant matching the tokens\n"
      "  post CLASS TITLE MSG WP LP [TOKEN...]  post a message (to a descendant if tokens)\n"
      "  scroll CLASS TITLE CODE N TOKEN...     scroll request (lineright, pageleft, thumb:P...)\n"
      "  focus CLASS TITLE TOKEN...        give a descendant the keyboard focus\n"
      "  key CLASS TITLE VK                real key press after bringing the window forward\n"
      "  mouse X Y [left|right|middle]     real pointer move, and click\n"
      "  ini PATH SECTION KEY              a value of a settings file\n"
      "  spi-running [0|1]                 the system's screensaver-running state (set first)\n"
      "  screen                            the screen's size\n"
      "  short-path PATH                   the 8.3 form of a path\n"
      "  kill CLASS TITLE                  end the process that owns the window\n",
      stderr);
  return 2;
}

HWND WaitTop(const std::string& cls, const std::string& title, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND h = driver::FindTop(cls, title)) return h;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

HWND NeedTop(const Args& a) {
  HWND h = driver::FindTop(a[0], a[1]);
  if (!h) std::printf("error=no-window\tclass=%s\ttitle=%s\n", a[0].c_str(), a[1].c_str());
  return h;
}

HWND NeedChild(HWND top, const Args& tokens) {
  HWND h = driver::FindChild(top, tokens);
  if (!h) std::printf("error=no-child\n");
  return h;
}

DWORD Ms(const std::string& s) { return static_cast<DWORD>(driver::Number(s).value_or(0)); }

int CmdRun(const Args& a) {
  if (a.size() < 2) return Usage();
  return driver::RunProgram(Ms(a[0]), a[1], Args(a.begin() + 2, a.end()));
}

int CmdWaitWindow(const Args& a) {
  if (a.size() != 3) return Usage();
  HWND h = WaitTop(a[0], a[1], Ms(a[2]));
  if (!h) {
    std::printf("error=timeout\n");
    return 1;
  }
  std::printf("%s\n", driver::DescribeTree(h)[0].text.c_str());
  return 0;
}

int CmdWaitGone(const Args& a) {
  if (a.size() != 3) return Usage();
  const DWORD start = GetTickCount();
  while (driver::FindTop(a[0], a[1])) {
    if (GetTickCount() - start >= Ms(a[2])) {
      std::printf("error=timeout\n");
      return 1;
    }
    Sleep(kPollMs);
  }
  std::printf("gone_ms=%lu\n", GetTickCount() - start);
  return 0;
}

int CmdTree(const Args& a) {
  if (a.size() != 2) return Usage();
  HWND top = NeedTop(a);
  if (!top) return 1;
  for (const auto& line : driver::DescribeTree(top)) std::printf("%s\n", line.text.c_str());
  return 0;
}

int CmdWaitTree(const Args& a) {
  if (a.size() < 4) return Usage();
  const Args tokens(a.begin() + 3, a.end());
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND top = driver::FindTop(a[0], a[1])) {
      for (const auto& line : driver::DescribeTree(top)) {
        if (driver::LineMatches(line.text, tokens)) {
          std::printf("%s\twaited_ms=%lu\n", line.text.c_str(), GetTickCount() - start);
          return 0;
        }
      }
    }
    if (GetTickCount() - start >= Ms(a[2])) {
      std::printf("error=timeout\n");
      return 1;
    }
    Sleep(kPollMs);
  }
}

int CmdPress(const Args& a) {
  if (a.size() < 3) return Usage();
  HWND top = NeedTop(a);
  HWND child = top ? NeedChild(top, Args(a.begin() + 2, a.end())) : nullptr;
  if (!child) return 1;
  // Posted, not sent: a click that opens a modal box must not hold us.
  return driver::PostTo(child, BM_CLICK, 0, 0) ? 0 : 1;
}

int CmdPost(const Args& a) {
  if (a.size() < 5) return Usage();
  const auto msg = driver::MessageCode(a[2]);
  const auto wp = driver::Number(a[3]);
  const auto lp = driver::Number(a[4]);
  if (!msg || !wp || !lp) return Usage();
  HWND target = NeedTop(a);
  if (target && a.size() > 5) target = NeedChild(target, Args(a.begin() + 5, a.end()));
  if (!target) return 1;
  return driver::PostTo(target, *msg, static_cast<WPARAM>(*wp), static_cast<LPARAM>(*lp)) ? 0 : 1;
}

int CmdScroll(const Args& a) {
  if (a.size() < 5) return Usage();
  HWND top = NeedTop(a);
  HWND bar = top ? NeedChild(top, Args(a.begin() + 4, a.end())) : nullptr;
  if (!bar) return 1;
  return driver::ScrollRequest(bar, a[2], Ms(a[3])) ? 0 : 1;
}

int CmdFocus(const Args& a) {
  if (a.size() < 3) return Usage();
  HWND top = NeedTop(a);
  HWND child = top ? NeedChild(top, Args(a.begin() + 2, a.end())) : nullptr;
  if (!child) return 1;
  if (!driver::FocusControl(child)) {
    std::printf("error=focus\n");
    return 1;
  }
  return 0;
}

int CmdKey(const Args& a) {
  if (a.size() != 3) return Usage();
  const auto vk = driver::Number(a[2]);
  if (!vk) return Usage();
  HWND top = NeedTop(a);
  if (!top) return 1;
  return driver::SendKey(top, static_cast<WORD>(*vk)) ? 0 : 1;
}

int CmdMouse(const Args& a) {
  if (a.size() != 2 && a.size() != 3) return Usage();
  const auto x = driver::Number(a[0]);
  const auto y = driver::Number(a[1]);
  if (!x || !y) return Usage();
  return driver::SendMouse(static_cast<int>(*x), static_cast<int>(*y), a.size() == 3 ? a[2] : "") ? 0 : 1;
}

int CmdIni(const Args& a) {
  if (a.size() != 3) return Usage();
  // A default that no settings file holds tells a missing key from a value.
  const char* const kMissing = "\x01missing\x01";
  char buf[4096] = {};
  GetPrivateProfileStringA(a[1].c_str(), a[2].c_str(), kMissing, buf, sizeof buf, a[0].c_str());
  if (std::string(buf) == kMissing) {
    std::printf("missing\n");
  } else {
    std::printf("value=%s\n", buf);
  }
  return 0;
}

int CmdSpiRunning(const Args& a) {
  if (a.size() > 1) return Usage();
  // With a value: set the state first (a saver that was killed leaves it set).
  if (a.size() == 1) SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, a[0] == "1" ? TRUE : FALSE, nullptr, 0);
  BOOL running = FALSE;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0)) {
    std::printf("error=spi\n");
    return 1;
  }
  std::printf("running=%d\n", running ? 1 : 0);
  return 0;
}

int CmdScreen(const Args& a) {
  if (!a.empty()) return Usage();
  std::printf("w=%d\th=%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return 0;
}

int CmdShortPath(const Args& a) {
  if (a.size() != 1) return Usage();
  char buf[MAX_PATH] = {};
  const DWORD n = GetShortPathNameA(a[0].c_str(), buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) {
    std::printf("error=short-path\n");
    return 1;
  }
  std::printf("path=%s\n", buf);
  return 0;
}

int CmdKill(const Args& a) {
  if (a.size() != 2) return Usage();
  HWND top = NeedTop(a);
  if (!top) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(top, &pid);
  HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!p) return 1;
  const bool ok = TerminateProcess(p, 255) && WaitForSingleObject(p, 5000) == WAIT_OBJECT_0;
  CloseHandle(p);
  std::printf("killed=%lu\n", pid);
  return ok ? 0 : 1;
}

struct Command {
  const char* name;
  int (*run)(const Args&);
};

constexpr Command kCommands[] = {
    {"run", CmdRun},         {"wait-window", CmdWaitWindow}, {"wait-gone", CmdWaitGone},
    {"tree", CmdTree},       {"wait-tree", CmdWaitTree},     {"press", CmdPress},
    {"post", CmdPost},       {"scroll", CmdScroll},          {"focus", CmdFocus},
    {"key", CmdKey},         {"mouse", CmdMouse},            {"ini", CmdIni},
    {"spi-running", CmdSpiRunning}, {"screen", CmdScreen},   {"short-path", CmdShortPath},
    {"kill", CmdKill},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string name = argv[1];
  const Args args(argv + 2, argv + argc);
  for (const Command& c : kCommands) {
    if (name == c.name) {
      const int rc = c.run(args);
      std::fflush(stdout);
      return rc;
    }
  }
  return Usage();
}
