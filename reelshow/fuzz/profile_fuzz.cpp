// Fuzz target: the settings file reader on arbitrary text. Any text must
// parse without fault, typed reads must stay within their rules, and a value
// written into any text must read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "portable_profile.h"
#include "settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const reelshow::ProfileText profile(text);

  static const char* const kSections[] = {"Options", "vidConfig", "Link", ""};
  static const char* const kKeys[] = {"Color", "Picdis", "Name1", "Button", ""};
  for (const char* section : kSections) {
    for (const char* key : kKeys) {
      std::string value;
      if (profile.Find(section, key, value)) {
        (void)reelshow::ParseSettingsInteger(value);
      }
    }
  }

  const std::string updated = profile.WithValue("Options", "Color", "42");
  std::string readBack;
  if (!reelshow::ProfileText(updated).Find("Options", "Color", readBack) || readBack != "42") {
    std::abort();
  }
  return 0;
}
