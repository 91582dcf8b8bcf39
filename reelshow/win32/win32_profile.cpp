#include "win32_profile.h"

#include <windows.h>

#include <limits>
#include <vector>

namespace reelshow {

std::string Win32Profile::GetString(const std::string& path, const std::string& section,
                                    const std::string& key, const std::string& def,
                                    std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  if (bufferSize > std::numeric_limits<DWORD>::max()) bufferSize = std::numeric_limits<DWORD>::max();
  std::vector<char> buffer(bufferSize, '\0');
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                           static_cast<DWORD>(bufferSize), path.c_str());
  return std::string(buffer.data(), n < bufferSize ? n : bufferSize - 1);
}

bool Win32Profile::WriteString(const std::string& path, const std::string& section,
                               const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != 0;
}

}  // namespace reelshow
