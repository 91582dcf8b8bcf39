#pragma once
// What the stand-in system libraries share: each records its calls in a file
// beside itself (its own path + ".log", one line per call) and takes its
// answers from another (its own path + ".answers", one line per call: the
// answer, and optionally how many milliseconds to keep a message loop running
// before answering, as the system's dialog would).
#include <windows.h>

#include <cstdio>
#include <string>

// The exports of the two stand-ins, with the system's calling convention.
extern "C" {
BOOL WINAPI VerifyScreenSavePwd(HWND owner);
DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2);
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved);
}

namespace stub {

inline std::string OwnPath(HMODULE self) {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

// How many calls the log holds. The library is loaded afresh for every call,
// so the log, not a variable, carries the count from one call to the next.
inline unsigned RecordedCalls(HMODULE self) {
  const std::string path = OwnPath(self) + ".log";
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  unsigned lines = 0;
  for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f)) {
    if (c == '\n') ++lines;
  }
  std::fclose(f);
  return lines;
}

inline void Record(HMODULE self, const std::string& line) {
  const std::string path = OwnPath(self) + ".log";
  if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

struct Answer {
  int value = 0;
  unsigned holdMs = 0;
};

// The answer for the call with the given 1-based number; the last line holds
// for every later call, and no file at all answers 0.
inline Answer AnswerFor(HMODULE self, unsigned call) {
  Answer answer;
  const std::string path = OwnPath(self) + ".answers";
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return answer;
  char line[64];
  for (unsigned n = 1; n <= call && std::fgets(line, sizeof line, f); ++n) {
    int value = 0;
    unsigned hold = 0;
    const int got = std::sscanf(line, "%d %u", &value, &hold);
    if (got >= 1) answer = {value, got == 2 ? hold : 0u};
  }
  std::fclose(f);
  return answer;
}

inline std::string WindowName(HWND hwnd) {
  if (!hwnd) return "0";
  char cls[128] = {};
  char title[128] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  GetWindowTextA(hwnd, title, sizeof title);
  return std::string(cls) + "/" + title;
}

}  // namespace stub
