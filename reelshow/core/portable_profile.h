#pragma once
// Profile-file functions of our own, for builds without the platform's. They
// read as the platform's functions do: names match without regard to case,
// blanks around names and values are dropped, one pair of surrounding quotes
// is removed, ';' opens a comment line, the first of repeated keys and the
// first of repeated sections win. A write changes or adds only the one line
// and creates the file, section or key as needed.
#include <string>
#include <string_view>
#include <vector>

#include "profile_store.h"

namespace reelshow {

class PortableProfile final : public ProfileStore {
public:
  std::string GetString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& def,
                        std::size_t bufferSize) override;
  bool WriteString(const std::string& path, const std::string& section,
                   const std::string& key, const std::string& value) override;
};

// The parsing rules, exposed for the fuzz harness and the tests: a profile
// text seen as the platform's functions see it.
class ProfileText {
public:
  explicit ProfileText(std::string_view text);

  // The value of key in the first section named section, if there is one.
  // A key line without "=" has no value.
  bool Find(std::string_view section, std::string_view key, std::string& value) const;

  // The whole text after key=value was written into section.
  std::string WithValue(std::string_view section, std::string_view key,
                        std::string_view value) const;

private:
  struct Line {
    std::string text;     // without its line ending
    enum Kind { Blank, Comment, Section, Entry } kind = Blank;
    std::string name;     // section name or key name, trimmed
    std::string value;    // entry value, trimmed, quotes removed
    bool hasValue = false;
  };
  std::vector<Line> lines_;
  std::string eol_ = "\r\n";

  // Index of the first section line named section, or npos.
  std::size_t FindSection(std::string_view section) const;
};

}  // namespace reelshow
