#include "info_json.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace strata {
namespace {

constexpr std::string_view kSelectorPrefix = "kKivSelectorKey_";
constexpr std::string_view kGuidePrefix = "kKivOptionsKey_guideInfo";
constexpr char kGuideCountKey[] = "kKivOptionsKey_numGuides";
constexpr char kBlendRangesKey[] = "kKivSelectorKey_blendRanges";
constexpr char kBlendModeKey[] = "kKivSelectorKey_blendMode";

// Length of the UTF-8 sequence starting at text[at], 0 when it is not one.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  std::uint32_t code = 0;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

std::string Escape(unsigned code) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\u%04X", code);
  return escaped;
}

std::string Number(std::int64_t value) { return std::to_string(value); }

std::string Rect(const KivRectValue& rect) {
  return "[" + Number(rect.top) + ", " + Number(rect.left) + ", " + Number(rect.bottom) + ", " + Number(rect.right) +
         "]";
}

std::string IdText(const KivGuid& id) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(id.data1), id.data2, id.data3, id.data4[0], id.data4[1], id.data4[2],
                id.data4[3], id.data4[4], id.data4[5], id.data4[6], id.data4[7]);
  return text;
}

// Blending ranges: one list of four bytes per range, as stored.
std::string BlendRanges(const std::vector<std::uint8_t>& bytes) {
  std::string out = "[";
  for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
    if (at != 0) out += ", ";
    out += "[" + Number(bytes[at]) + ", " + Number(bytes[at + 1]) + ", " + Number(bytes[at + 2]) + ", " +
           Number(bytes[at + 3]) + "]";
  }
  return out + "]";
}

std::string ByteList(const std::vector<std::uint8_t>& bytes) {
  std::string out = "[";
  for (std::size_t at = 0; at < bytes.size(); ++at) out += (at != 0 ? ", " : "") + Number(bytes[at]);
  return out + "]";
}

std::string FourCharacters(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const char text[4] = {static_cast<char>(bits >> 24), static_cast<char>(bits >> 16), static_cast<char>(bits >> 8),
                        static_cast<char>(bits)};
  return JsonString(std::string_view(text, 4));
}

std::string ValueJson(const kivhost::PropertyEntry& entry) {
  switch (entry.type) {
    case kKivType_Int32:
      if (const auto value = entry.Int32()) return Number(*value);
      break;
    case kKivType_Flag:
      if (const auto value = entry.Flag()) return *value ? "true" : "false";
      break;
    case kKivType_Id:
      if (const auto value = entry.Id()) return JsonString(IdText(*value));
      break;
    case kKivType_Rect:
      if (const auto value = entry.Rect()) return Rect(*value);
      break;
    case kKivType_String: return JsonString(entry.Text());
    case kKivType_Bytes: return entry.key == kBlendRangesKey ? BlendRanges(entry.value) : ByteList(entry.value);
    default: break;
  }
  return "null";
}

// A number in JSON's grammar: -?digits(.digits)?
bool IsJsonNumber(std::string_view text) {
  std::size_t at = 0;
  if (at < text.size() && text[at] == '-') ++at;
  const std::size_t digits = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  if (at == digits || (text[digits] == '0' && at - digits > 1)) return false;
  if (at < text.size() && text[at] == '.') {
    const std::size_t fraction = ++at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
    if (at == fraction) return false;
  }
  return at == text.size();
}

// "100.000000 1" -> {"position": 100.000000, "direction": 1}; the numbers
// are given as the reader wrote them.
std::string GuideJson(const std::string& text) {
  const std::size_t space = text.find(' ');
  const std::string position = space == std::string::npos ? text : text.substr(0, space);
  const std::string direction = space == std::string::npos ? "" : text.substr(space + 1);
  const bool integral = IsJsonNumber(direction) && direction.find('.') == std::string::npos;
  return std::string("{\"position\": ") + (IsJsonNumber(position) ? position : "null") +
         ", \"direction\": " + (integral ? direction : "null") + "}";
}

std::string Optional(const std::optional<std::int64_t>& value) { return value ? Number(*value) : "null"; }

}  // namespace

std::optional<DocumentHeader> ReadDocumentHeader(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char bytes[26];
  if (!file.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return std::nullopt;
  const auto u16 = [&bytes](std::size_t at) { return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]); };
  return DocumentHeader{u16(12), u16(22), u16(24)};
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t at = 0; at < text.size();) {
    const auto c = static_cast<unsigned char>(text[at]);
    const std::size_t length = Utf8Length(text, at);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      out += Escape(c);
    } else if (length == 0) {
      out += Escape(c);  // a stray byte, taken as Latin-1
      ++at;
      continue;
    } else {
      out.append(text.substr(at, length));
      at += length;
      continue;
    }
    ++at;
  }
  return out + "\"";
}

std::string LayerJson(const kivhost::PropertyList& list) {
  std::string out = "{";
  bool first = true;
  for (const kivhost::PropertyEntry& entry : list.Entries()) {
    std::string_view key = entry.key;
    if (key.substr(0, kSelectorPrefix.size()) == kSelectorPrefix) key.remove_prefix(kSelectorPrefix.size());
    out += (first ? "" : ", ") + JsonString(key) + ": " + ValueJson(entry);
    first = false;
    if (entry.key == kBlendModeKey) {
      if (const auto mode = entry.Int32()) out += ", \"blendModeKey\": " + FourCharacters(*mode);
    }
  }
  return out + "}";
}

std::string GuidesJson(const kivhost::PropertyList& list) {
  std::string out = "[";
  bool first = true;
  for (const kivhost::PropertyEntry& entry : list.Entries()) {
    if (entry.key.compare(0, kGuidePrefix.size(), kGuidePrefix) != 0 || entry.type != kKivType_String) continue;
    out += (first ? "" : ", ") + GuideJson(entry.Text());
    first = false;
  }
  return out + "]";
}

std::string InfoJson(const DocumentInfo& info) {
  std::optional<std::int64_t> channels, depth, mode, guides;
  if (info.header) {
    channels = info.header->channels;
    depth = info.header->depth;
    mode = info.header->colorMode;
  }
  if (info.options) {
    if (const kivhost::PropertyEntry* count = info.options->Find(kGuideCountKey)) {
      if (const auto value = count->Int32()) guides = *value;
    }
  }
  std::string offers = "[";
  for (std::size_t i = 0; i < info.offers.size(); ++i) offers += (i != 0 ? ", " : "") + Number(info.offers[i]);
  offers += "]";
  std::string layers = "[";
  for (std::size_t i = 0; i < info.layers.size(); ++i) {
    layers += std::string(i != 0 ? "," : "") + "\n    " + (info.layers[i] ? LayerJson(*info.layers[i]) : "null");
  }
  layers += info.layers.empty() ? "]" : "\n  ]";

  const ImageInfo& image = info.description;
  return "{\n  \"width\": " + Number(image.width) + ",\n  \"height\": " + Number(image.height) +
         ",\n  \"channels\": " + Optional(channels) + ",\n  \"depth\": " + Optional(depth) +
         ",\n  \"colorMode\": " + Optional(mode) + ",\n  \"resolution\": " + Number(image.horizontalResolution) +
         ",\n  \"offers\": " + offers + ",\n  \"numGuides\": " + Optional(guides) +
         ",\n  \"guides\": " + (info.options ? GuidesJson(*info.options) : "[]") + ",\n  \"layers\": " + layers +
         "\n}\n";
}

}  // namespace strata
