#include "settings_file.h"

#include <limits>

namespace reelshow {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::int32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  // Eight hex digits fill the 32 bits; the top bit is the sign.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<std::int32_t> ParseSettingsInteger(std::string_view text) {
  if (text.size() >= 1 && text[0] == '$') return ParseHex(text.substr(1));
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return ParseHex(text.substr(2));
  }
  return ParseDecimal(text);
}

std::string UnableToWriteMessage(const std::string& path) {
  return "Unable to write to " + path;
}

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& def) const {
  return store_.GetString(path_, section, key, def, kProfileValueBuffer);
}

std::int32_t SettingsFile::ReadInteger(const std::string& section, const std::string& key,
                                       std::int32_t def) const {
  // Read with an empty default so that a missing key and a non-number both
  // fall back to def.
  const std::string text = ReadString(section, key, "");
  return ParseSettingsInteger(text).value_or(def);
}

bool SettingsFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool SettingsFile::WriteString(const std::string& section, const std::string& key,
                               const std::string& value) {
  return store_.WriteString(path_, section, key, value);
}

bool SettingsFile::WriteInteger(const std::string& section, const std::string& key,
                                std::int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool SettingsFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

}  // namespace reelshow
