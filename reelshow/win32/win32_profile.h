#pragma once
// The profile-file functions of the platform beneath the settings file.
#include "profile_store.h"

namespace reelshow {

class Win32Profile final : public ProfileStore {
public:
  std::string GetString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& def,
                        std::size_t bufferSize) override;
  bool WriteString(const std::string& path, const std::string& section,
                   const std::string& key, const std::string& value) override;
};

}  // namespace reelshow
