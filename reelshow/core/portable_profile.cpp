#include "portable_profile.h"

#include <cstdio>

namespace reelshow {

namespace {

constexpr std::size_t npos = std::string::npos;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// C stdio rather than streams: reading must never throw, whatever the path
// names (a directory, a file that vanishes).
bool ReadWholeFile(const std::string& path, std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  text.clear();
  char chunk[4096];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, got);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) text.clear();
  return ok;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool wrote = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  const bool closed = std::fclose(f) == 0;
  return wrote && closed;
}

}  // namespace

ProfileText::ProfileText(std::string_view text) {
  if (text.find("\r\n") == npos && text.find('\n') != npos) eol_ = "\n";
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == npos) end = text.size();
    std::string_view raw = text.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    start = end + 1;

    Line line;
    line.text = std::string(raw);
    std::string_view body = Trim(raw);
    if (body.empty()) {
      line.kind = Line::Blank;
    } else if (body.front() == ';') {
      line.kind = Line::Comment;
    } else if (body.front() == '[' && body.find(']') != npos) {
      line.kind = Line::Section;
      const std::size_t close = body.rfind(']');
      line.name = std::string(Trim(body.substr(1, close - 1)));
    } else {
      line.kind = Line::Entry;
      const std::size_t eq = body.find('=');
      if (eq == npos) {
        line.name = std::string(body);
      } else {
        line.name = std::string(Trim(body.substr(0, eq)));
        line.value = std::string(Unquote(Trim(body.substr(eq + 1))));
        line.hasValue = true;
      }
    }
    lines_.push_back(std::move(line));
  }
}

std::size_t ProfileText::FindSection(std::string_view section) const {
  const std::string_view wanted = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Line::Section && SameName(lines_[i].name, wanted)) return i;
  }
  return npos;
}

bool ProfileText::Find(std::string_view section, std::string_view key, std::string& value) const {
  const std::size_t at = FindSection(section);
  if (at == npos) return false;
  const std::string_view wanted = Trim(key);
  for (std::size_t i = at + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i) {
    if (lines_[i].kind == Line::Entry && SameName(lines_[i].name, wanted)) {
      // A key line without "=" has no value: the reader's default applies.
      if (!lines_[i].hasValue) return false;
      value = lines_[i].value;
      return true;
    }
  }
  return false;
}

std::string ProfileText::WithValue(std::string_view section, std::string_view key,
                                   std::string_view value) const {
  const std::string entry = std::string(Trim(key)) + "=" + std::string(value);
  std::vector<std::string> out;
  out.reserve(lines_.size() + 3);
  for (const Line& line : lines_) out.push_back(line.text);

  const std::size_t at = FindSection(section);
  if (at == npos) {
    if (!out.empty() && !out.back().empty()) out.emplace_back();
    out.push_back("[" + std::string(Trim(section)) + "]");
    out.push_back(entry);
  } else {
    const std::string_view wanted = Trim(key);
    std::size_t lastContent = at;
    std::size_t i = at + 1;
    bool replaced = false;
    for (; i < lines_.size() && lines_[i].kind != Line::Section; ++i) {
      if (lines_[i].kind == Line::Entry && SameName(lines_[i].name, wanted)) {
        out[i] = entry;
        replaced = true;
        break;
      }
      if (lines_[i].kind != Line::Blank) lastContent = i;
    }
    if (!replaced) out.insert(out.begin() + static_cast<std::ptrdiff_t>(lastContent + 1), entry);
  }

  std::string text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    text += out[i];
    text += eol_;
  }
  return text;
}

std::string PortableProfile::GetString(const std::string& path, const std::string& section,
                                       const std::string& key, const std::string& def,
                                       std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::string value;
  std::string text;
  if (!ReadWholeFile(path, text) || !ProfileText(text).Find(section, key, value)) {
    // The platform drops trailing blanks of the default, but keeps its first
    // character even when that is a blank.
    std::string_view d = def;
    while (d.size() > 1 && d.back() == ' ') d.remove_suffix(1);
    value = std::string(d);
  }
  if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
  return value;
}

bool PortableProfile::WriteString(const std::string& path, const std::string& section,
                                  const std::string& key, const std::string& value) {
  std::string text;
  if (!ReadWholeFile(path, text)) text.clear();
  const std::string updated = ProfileText(text).WithValue(section, key, value);
  return WriteWholeFile(path, updated);
}

}  // namespace reelshow
