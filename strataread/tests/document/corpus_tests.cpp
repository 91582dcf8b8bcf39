// Every document of the shared corpus parses with the result its index
// implies, and what the parse reads matches the index.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "document_fixture.h"

namespace strataread {
namespace {

const std::string kCorpus = STRATAREAD_PSD_CORPUS;

struct CorpusRow {
  std::string file;
  int version = 0;
  std::string mode;
  int depth = 0;
  int channels = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int layers = 0;
  int masks = 0;
  double dpi = 0;
  std::optional<int> guides;
  std::string error;
};

void PrintTo(const CorpusRow& row, std::ostream* os) { *os << row.file; }

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.emplace_back();
  return fields;
}

// The index's rows; one row without a file when the corpus is not there.
std::vector<CorpusRow> LoadIndex() {
  std::ifstream index(kCorpus + "/INDEX.tsv");
  if (!index) return {CorpusRow{}};
  std::string line;
  std::getline(index, line);
  const std::vector<std::string> header = SplitTabs(line);
  std::vector<CorpusRow> rows;
  while (std::getline(index, line)) {
    const std::vector<std::string> f = SplitTabs(line);
    auto column = [&](const char* name) {
      for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name) return i < f.size() ? f[i] : std::string();
      }
      return std::string();
    };
    CorpusRow row;
    row.file = column("file");
    row.version = std::stoi(column("ver"));
    row.mode = column("mode");
    row.depth = std::stoi(column("depth"));
    row.channels = std::stoi(column("channels"));
    const std::string size = column("WxH");
    row.width = static_cast<std::uint32_t>(std::stoul(size.substr(0, size.find('x'))));
    row.height = static_cast<std::uint32_t>(std::stoul(size.substr(size.find('x') + 1)));
    row.layers = std::stoi(column("layers"));
    row.masks = std::stoi(column("masks"));
    row.dpi = std::stod(column("dpi").empty() ? "0" : column("dpi"));
    if (!column("guides").empty()) row.guides = std::stoi(column("guides"));
    row.error = column("error");
    rows.push_back(row);
  }
  return rows;
}

// Documents deeper than 8 bits keep their layers in a tagged block after
// the global mask information, which a Photoshop 3.0 reader does not parse;
// their layer-info section is empty.
int LayersOfThreePointZero(const CorpusRow& row) { return row.depth > 8 ? 0 : row.layers; }
int MasksOfThreePointZero(const CorpusRow& row) { return row.depth > 8 ? 0 : row.masks; }

bool Importable(const CorpusRow& row) {
  const bool modeOk = row.mode == "bitmap" || row.mode == "grey" || row.mode == "indexed" || row.mode == "rgb" ||
                      row.mode == "cmyk" || row.mode == "duotone";
  return row.version == 1 && modeOk && (row.depth == 1 || row.depth == 8 || row.depth == 16);
}

// The layers' Unicode names ("luni" blocks of the additional layer data),
// in file order, where every character is ASCII; a name with other
// characters is empty. An independent look at where names are stored.
std::vector<std::optional<std::string>> UnicodeNames(const psdbuild::ByteVector& file) {
  std::vector<std::optional<std::string>> names;
  const std::string key = "8BIMluni";
  for (std::size_t at = 0; at + 16 <= file.size(); ++at) {
    if (std::memcmp(file.data() + at, key.data(), key.size()) != 0) continue;
    const std::uint8_t* p = file.data() + at + 12;
    const std::size_t count = static_cast<std::size_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    if (at + 16 + 2 * count > file.size()) break;
    std::string name;
    bool ascii = true;
    for (std::size_t i = 0; i < count; ++i) {
      const unsigned unit = static_cast<unsigned>(p[4 + 2 * i] << 8 | p[5 + 2 * i]);
      if (unit >= 0x80) ascii = false;
      if (unit != 0) name.push_back(static_cast<char>(unit));
    }
    names.push_back(ascii ? std::optional<std::string>(name) : std::nullopt);
  }
  return names;
}

class CorpusTest : public DocumentTest, public ::testing::WithParamInterface<CorpusRow> {};

TEST_P(CorpusTest, ParsesAsTheIndexSays) {
  const CorpusRow& row = GetParam();
  if (row.file.empty()) GTEST_SKIP() << "no PSD corpus at " << kCorpus;
  std::ifstream in(kCorpus + "/" + row.file, std::ios::binary);
  ASSERT_TRUE(in) << row.file;
  const psdbuild::ByteVector bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Open(bytes);
  const KivResult result = document->ParseDocument(&info, &offerCount, offers);

  if (!row.error.empty()) {
    EXPECT_NE(result, kKivResult_OK) << row.error;
    return;
  }
  if (!Importable(row)) {
    EXPECT_EQ(result, kKivResult_UnsupportedFile);
    if (row.version == 1) {
      EXPECT_EQ(document->layerCount, LayersOfThreePointZero(row));
    }
    return;
  }
  ASSERT_EQ(result, kKivResult_OK);
  EXPECT_EQ(document->channelCount, row.channels);
  EXPECT_EQ(document->depth, row.depth);
  EXPECT_EQ(info.width, row.width);
  EXPECT_EQ(info.height, row.height);
  EXPECT_NEAR(document->resolution, row.dpi, 0.001);
  if (row.guides) {
    EXPECT_EQ(document->guideCount, *row.guides);
  }
  ASSERT_EQ(document->layerCount, LayersOfThreePointZero(row));

  // The records were read from the right places: their channel data fills
  // the section after them, and the merged image lies inside the file.
  std::uint64_t channelData = 0;
  int masks = 0;
  for (int i = 0; i < document->layerCount; ++i) {
    channelData += document->layers[i].channelDataLength;
    masks += document->layers[i].hasMask;
  }
  const std::uint64_t sectionEnd = std::uint64_t{document->layerSectionStart} + document->layerSectionLength;
  EXPECT_LE(document->layerDataStart + channelData, sectionEnd);
  EXPECT_LE(sectionEnd, bytes.size());
  EXPECT_EQ(masks, MasksOfThreePointZero(row));

  const std::vector<std::optional<std::string>> names = UnicodeNames(bytes);
  auto selector = kivhost::PropertyList::Create();
  for (std::int32_t i = 0; i < document->layerCount; ++i) {
    SCOPED_TRACE(i);
    const LayerRecord& layer = document->layers[i];
    EXPECT_LE(layer.bounds.left, layer.bounds.right);
    EXPECT_LE(layer.bounds.top, layer.bounds.bottom);
    if (names.size() == static_cast<std::size_t>(document->layerCount) && names[i]) {
      // Editors cut the stored name to 31 characters; the Unicode one is whole.
      const std::string name = layer.layerName;
      EXPECT_EQ(name, names[i]->substr(0, std::max<std::size_t>(31, name.size())));
    }
    selector->PutInt32("kKivSelectorKey_layerIndex", i);
    ASSERT_EQ(document->SelectImage(selector.get(), &info, &offerCount, offers), kKivResult_OK);
    EXPECT_EQ(info.width, static_cast<std::uint32_t>(layer.bounds.right - layer.bounds.left));
    EXPECT_EQ(info.height, static_cast<std::uint32_t>(layer.bounds.bottom - layer.bounds.top));
    IKivPropertyList* list = nullptr;
    ASSERT_EQ(document->GetLayerOptions(i, &list), kKivResult_OK);
    list->Release();
  }
}

INSTANTIATE_TEST_SUITE_P(Index, CorpusTest, ::testing::ValuesIn(LoadIndex()), [](const auto& p) {
  std::string name = p.param.file.empty() ? "absent" : p.param.file;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
});

}  // namespace
}  // namespace strataread
