#pragma once
// The profile-file functions beneath the settings file: one implementation
// over the platform's own functions, one portable implementation that reads
// exactly as they do.
#include <cstddef>
#include <string>

namespace reelshow {

class ProfileStore {
public:
  // Reads key in section of the file at path. A missing file, section or key
  // gives def. The answer holds at most bufferSize - 1 characters, as the
  // platform's function fills a buffer of bufferSize characters.
  virtual std::string GetString(const std::string& path, const std::string& section,
                                const std::string& key, const std::string& def,
                                std::size_t bufferSize) = 0;

  // Writes key=value into section, creating the file, the section or the key
  // as needed. False when the file could not be written.
  virtual bool WriteString(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& value) = 0;

protected:
  ~ProfileStore() = default;
};

}  // namespace reelshow
