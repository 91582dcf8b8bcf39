#include "run_program.h"

#include <windows.h>

#include <cstdio>
#include <set>

#include "window_query.h"

namespace driver {

namespace {

std::string Quoted(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  std::size_t slashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    if (c == '"') {
      out.append(slashes * 2 + 1, '\\');
    } else {
      out.append(slashes, '\\');
    }
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, '\\');
  out += '"';
  return out;
}

struct Seen {
  DWORD pid;
  std::set<std::string>* shown;
};

BOOL CALLBACK NoteShown(HWND hwnd, LPARAM param) {
  auto* seen = reinterpret_cast<Seen*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == seen->pid && IsWindowVisible(hwnd)) {
    // The title as the system holds it: no message to a program that may be
    // busy or about to end.
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    seen->shown->insert("class=" + ClassOf(hwnd) + "\ttitle=" + title);
  }
  return TRUE;
}

}  // namespace

std::string CommandLine(const std::string& program, const std::vector<std::string>& args) {
  std::string line = Quoted(program);
  for (const std::string& a : args) line += " " + Quoted(a);
  return line;
}

int RunProgram(unsigned timeoutMs, const std::string& program, const std::vector<std::string>& args) {
  std::string cmd = CommandLine(program, args);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const DWORD started = GetTickCount();
  if (!CreateProcessA(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("exit=cannot-start\terror=%lu\n", GetLastError());
    return 1;
  }
  std::set<std::string> shown;
  Seen seen{pi.dwProcessId, &shown};
  bool ended = false;
  // Poll often: a program that shows a window and ends at once must not slip
  // between two looks.
  while (GetTickCount() - started < timeoutMs) {
    EnumWindows(NoteShown, reinterpret_cast<LPARAM>(&seen));
    if (WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0) {
      ended = true;
      break;
    }
  }
  const DWORD elapsed = GetTickCount() - started;
  int rc = 0;
  if (ended) {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    std::printf("exit=%lu\telapsed_ms=%lu\tshown=%u\n", code, elapsed, static_cast<unsigned>(shown.size()));
  } else {
    TerminateProcess(pi.hProcess, 255);
    WaitForSingleObject(pi.hProcess, 5000);
    std::printf("exit=timeout\telapsed_ms=%lu\tshown=%u\n", elapsed, static_cast<unsigned>(shown.size()));
    rc = 3;
  }
  for (const std::string& w : shown) std::printf("shown:\t%s\n", w.c_str());
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return rc;
}

}  // namespace driver
