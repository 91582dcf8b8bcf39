#pragma once
// The settings file of the saver and the dialog: typed reads and writes over
// the profile-file functions. A SettingsFile is made for one load or one save
// and then dropped; every read goes to the file itself.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "profile_store.h"

namespace reelshow {

// Values are read through a buffer of this size, so they are cut to 2,047
// characters.
inline constexpr std::size_t kProfileValueBuffer = 2048;

// The integer rule of the settings file: decimal digits with an optional sign,
// or hexadecimal digits after "$", "0x" or "0X" (up to 32 bits, taken as a
// signed number). The whole text must be the number.
std::optional<std::int32_t> ParseSettingsInteger(std::string_view text);

// "Unable to write to %s" with the path in place of %s.
std::string UnableToWriteMessage(const std::string& path);

class SettingsFile {
public:
  SettingsFile(ProfileStore& store, std::string path) : store_(store), path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  std::int32_t ReadInteger(const std::string& section, const std::string& key,
                           std::int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;

  // Each answers false when the value could not be written; the caller then
  // shows UnableToWriteMessage(Path()).
  [[nodiscard]] bool WriteString(const std::string& section, const std::string& key,
                                 const std::string& value);
  [[nodiscard]] bool WriteInteger(const std::string& section, const std::string& key,
                                  std::int32_t value);
  [[nodiscard]] bool WriteBool(const std::string& section, const std::string& key, bool value);

private:
  ProfileStore& store_;
  std::string path_;
};

}  // namespace reelshow
