// Runs the table of settings files and queries through the platform's profile
// functions and through our portable ones, side by side in one process, and
// reports every difference. Each case gets files of its own, one per side,
// because the platform caches profile files by name.
#include <windows.h>

#include <cstdio>
#include <string>

#include "../profile_cases.h"
#include "portable_profile.h"
#include "win32_profile.h"

namespace {

namespace cases = reelshow::profile_cases;

std::string CaseText(const char* text) {
  if (std::string(text) == "LONG") return "[V]\r\nName1=" + std::string(3000, 'x') + "\r\n";
  return text;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::string Show(const std::string& s) {
  if (s.size() > 40) return "<" + std::to_string(s.size()) + " chars>";
  return "\"" + s + "\"";
}

int differences = 0;
int checked = 0;

void Compare(const std::string& what, const std::string& platform, const std::string& portable,
             const std::string& expected) {
  ++checked;
  if (platform == portable && platform == expected) return;
  ++differences;
  std::printf("DIFF %s: platform=%s portable=%s expected=%s\n", what.c_str(), Show(platform).c_str(),
              Show(portable).c_str(), Show(expected).c_str());
}

}  // namespace

int main() {
  char temp[MAX_PATH];
  const DWORD n = GetTempPathA(MAX_PATH, temp);
  if (n == 0 || n >= MAX_PATH) return 2;
  const std::string dir = std::string(temp) + "profile-probe-" + std::to_string(GetCurrentProcessId());
  if (!CreateDirectoryA(dir.c_str(), nullptr)) return 2;

  reelshow::Win32Profile platform;
  reelshow::PortableProfile portable;

  int index = 0;
  for (const auto& c : cases::kReads) {
    ++index;
    const std::string base = dir + "\\r" + std::to_string(index);
    const std::string pathW = base + "w.ini";
    const std::string pathP = base + "p.ini";
    if (c.text) {
      if (!WriteFileBytes(pathW, CaseText(c.text)) || !WriteFileBytes(pathP, CaseText(c.text))) return 2;
    }
    const std::size_t buffer = c.buffer ? c.buffer : 2048;
    const std::string expected = c.expected ? c.expected : std::string(buffer - 1, 'x');
    Compare(std::string("read ") + c.name, platform.GetString(pathW, c.section, c.key, c.def, buffer),
            portable.GetString(pathP, c.section, c.key, c.def, buffer), expected);
  }

  index = 0;
  for (const auto& c : cases::kWrites) {
    ++index;
    const std::string base = dir + "\\w" + std::to_string(index);
    const std::string pathW = base + "w.ini";
    const std::string pathP = base + "p.ini";
    if (c.text) {
      if (!WriteFileBytes(pathW, c.text) || !WriteFileBytes(pathP, c.text)) return 2;
    }
    const bool okW = platform.WriteString(pathW, c.section, c.key, c.value);
    const bool okP = portable.WriteString(pathP, c.section, c.key, c.value);
    Compare(std::string("write ") + c.name + " result", okW ? "ok" : "failed", okP ? "ok" : "failed", "ok");
    for (const char* probe : c.probes) {
      if (!probe) break;
      const cases::Probe p{probe};
      const std::string section(probe, p.Slash());
      const std::string key(p.Slash() + 1, p.Equals());
      const std::string what = std::string("write ") + c.name + " then " + section + "/" + key;
      Compare(what, platform.GetString(pathW, section, key, "<missing>", 2048),
              portable.GetString(pathP, section, key, "<missing>", 2048), p.Equals() + 1);
      // The platform rewrites the file in its own form; our reader must read
      // that form the same way.
      Compare(what + " (platform's file, portable reader)",
              platform.GetString(pathW, section, key, "<missing>", 2048),
              portable.GetString(pathW, section, key, "<missing>", 2048), p.Equals() + 1);
    }
  }

  std::printf("profile-diff: %d checks, %d differences\n", checked, differences);
  return differences == 0 ? 0 : 1;
}
