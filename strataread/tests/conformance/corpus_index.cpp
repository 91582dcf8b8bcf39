#include "corpus_index.h"

#include <fstream>
#include <map>
#include <sstream>

namespace corpus {
namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, '\t')) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.emplace_back();
  return fields;
}

int Number(const std::string& text) {
  try {
    return std::stoi(text);
  } catch (...) {
    return 0;
  }
}

// What peers agree on (the corpus README): 8-bit RGB, greyscale and indexed
// colour to the value, bitmap polarity, 16 bits only loosely; CMYK and
// duotone have no agreed picture. Lab, multichannel, 32-bit and version-2
// files are not importable; the files of fuzz regressions are broken.
Expect ExpectationOf(const Document& document) {
  if (document.file.rfind("pil_psd-oob-write-", 0) == 0 || document.file == "pil_combined_larger_than_size.psd") {
    return Expect::Malformed;
  }
  const bool mode = document.mode == "rgb" || document.mode == "grey" || document.mode == "indexed" ||
                    document.mode == "bitmap" || document.mode == "cmyk" || document.mode == "duotone";
  if (document.version != 1 || !mode || (document.depth != 1 && document.depth != 8 && document.depth != 16)) {
    return Expect::Unsupported;
  }
  if (document.mode == "cmyk" || document.mode == "duotone") return Expect::ImportOnly;
  return document.depth == 16 ? Expect::HighByte : Expect::Exact;
}

}  // namespace

std::vector<Document> ReadIndex(const std::string& dir) {
  std::ifstream index(dir + "/INDEX.tsv");
  std::vector<Document> documents;
  std::string line;
  if (!std::getline(index, line)) return documents;
  std::map<std::string, std::size_t> column;
  const std::vector<std::string> names = Fields(line);
  for (std::size_t i = 0; i < names.size(); ++i) column[names[i]] = i;
  for (const char* needed : {"file", "ver", "mode", "depth", "channels", "WxH"}) {
    if (column.count(needed) == 0) return {};
  }
  while (std::getline(index, line)) {
    const std::vector<std::string> fields = Fields(line);
    if (fields.size() < names.size()) continue;
    Document document;
    document.file = fields[column["file"]];
    document.version = Number(fields[column["ver"]]);
    document.mode = fields[column["mode"]];
    document.depth = Number(fields[column["depth"]]);
    document.channels = Number(fields[column["channels"]]);
    const std::string& size = fields[column["WxH"]];
    const std::size_t x = size.find('x');
    if (x != std::string::npos) {
      document.width = static_cast<std::uint32_t>(Number(size.substr(0, x)));
      document.height = static_cast<std::uint32_t>(Number(size.substr(x + 1)));
    }
    document.expect = ExpectationOf(document);
    documents.push_back(document);
  }
  return documents;
}

std::string TestName(const std::string& file) {
  std::string name;
  for (const char c : file) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    name += plain ? c : '_';
  }
  return name;
}

}  // namespace corpus
