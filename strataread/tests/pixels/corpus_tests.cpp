// The pipeline over the shared corpus of real documents: the merged image
// and every layer of every supported document, in every layout offered for
// it. The merged images of 8-bit and bitmap documents are compared with the
// corpus's reference pictures.
#include <png.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "driver_fixture.h"

namespace strataread {
namespace {

const std::string kCorpus = PSD_CORPUS_DIR;

struct CorpusFile {
  std::string name;
  std::string mode;
  int version = 0;
  int depth = 0;
  std::string layerCompression;
  std::string error;
};

std::vector<CorpusFile> ReadIndex() {
  std::vector<CorpusFile> files;
  std::ifstream index(kCorpus + "/INDEX.tsv");
  std::string line;
  std::getline(index, line);  // column names
  while (std::getline(index, line)) {
    std::vector<std::string> columns;
    std::stringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) columns.push_back(field);
    columns.resize(18);
    files.push_back({columns[0], columns[5], std::atoi(columns[4].c_str()), std::atoi(columns[6].c_str()),
                     columns[14], columns[17]});
  }
  return files;
}

// Files the plug-in reads: version 1, an importable mode and depth, and not
// one of the malformed regressions.
bool Supported(const CorpusFile& file) {
  const bool mode = file.mode == "rgb" || file.mode == "grey" || file.mode == "indexed" || file.mode == "cmyk" ||
                    file.mode == "bitmap" || file.mode == "duotone";
  const bool depth = file.depth == 1 || file.depth == 8 || file.depth == 16;
  const bool malformed = file.name.rfind("pil_psd-oob", 0) == 0 || !file.error.empty();
  return file.version == 1 && mode && depth && !malformed;
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The reference picture as 8-bit RGBA, or empty when there is none. A
// reference with transparency is a recomposition of the layers rather than
// the stored merged image, and is not used.
std::vector<std::uint8_t> Reference(const std::string& name, std::uint32_t* width, std::uint32_t* height) {
  const std::string path = kCorpus + "/reference/" + name.substr(0, name.rfind('.')) + ".png";
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) return {};
  if ((png.format & PNG_FORMAT_FLAG_ALPHA) != 0) {
    png_image_free(&png);
    return {};
  }
  png.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(png));
  if (png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr) == 0) return {};
  *width = png.width;
  *height = png.height;
  return rgba;
}

class CorpusTest : public DriverTest, public ::testing::WithParamInterface<CorpusFile> {
protected:
  // Reads the current selection in every layout offered for it.
  void ReadEveryOffer(const std::string& what, bool zipAllowed) {
    const std::vector<std::int32_t> offered(offers, offers + offerCount);
    const ImageInfo described = info;
    for (const std::int32_t layout : offered) {
      SCOPED_TRACE(what + " as layout " + std::to_string(layout));
      info = described;
      document->ApplyChosenLayout(static_cast<std::uint32_t>(layout), &info);
      const KivResult result = ReadAgain(static_cast<std::uint32_t>(layout));
      if (zipAllowed && result == kKivResult_UnsupportedFile) continue;
      EXPECT_EQ(result, kKivResult_OK);
      if (result == kKivResult_OK && layout == LayoutRgb && what == "merged") CompareWithReference();
    }
  }

  void CompareWithReference() {
    const CorpusFile& file = GetParam();
    if (file.depth == 16 || file.mode == "duotone" || file.mode == "cmyk") return;
    std::uint32_t width = 0, height = 0;
    const std::vector<std::uint8_t> reference = Reference(file.name, &width, &height);
    if (reference.empty()) return;
    ASSERT_EQ(width, info.width);
    ASSERT_EQ(height, info.height);
    for (std::uint32_t y = 0; y < height; ++y) {
      for (std::uint32_t x = 0; x < width; ++x) {
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 4;
        for (std::int32_t c = 0; c < 3; ++c) {
          ASSERT_EQ(Pixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), c),
                    reference[at + static_cast<std::size_t>(c)])
              << "pixel " << x << ", " << y << " byte " << c;
        }
      }
    }
    ++compared;
  }

  int compared = 0;
};

TEST_P(CorpusTest, ReadsMergedAndEveryLayer) {
  const CorpusFile& file = GetParam();
  if (file.name == "absent") GTEST_SKIP() << "the corpus is not at " << kCorpus;
  std::vector<std::uint8_t> bytes = FileBytes(kCorpus + "/" + file.name);
  ASSERT_FALSE(bytes.empty());
  Open(std::move(bytes));
  const KivResult parsed = document->ParseDocument(&info, &offerCount, offers);
  if (!Supported(file)) {
    // Refused by the parse, or read without harm; TearDown checks the handles.
    if (parsed == kKivResult_OK) {
      ReadEveryOffer("merged", true);
      for (std::int32_t layer = 0; layer < document->layerCount; ++layer) {
        if (Select(layer) == kKivResult_OK) ReadEveryOffer("layer", true);
      }
    }
    return;
  }
  ASSERT_EQ(parsed, kKivResult_OK);
  ReadEveryOffer("merged", false);
  const bool zip = file.layerCompression.find("zip") != std::string::npos;
  for (std::int32_t layer = 0; layer < document->layerCount; ++layer) {
    ASSERT_EQ(Select(layer), kKivResult_OK) << "layer " << layer;
    ReadEveryOffer("layer " + std::to_string(layer), zip);
  }
  const bool referenced = file.depth != 16 && file.mode != "duotone" && file.mode != "cmyk";
  std::uint32_t width = 0, height = 0;
  if (referenced && !Reference(file.name, &width, &height).empty()) {
    EXPECT_EQ(compared, 1) << "the merged image was compared with its reference";
  }
}

std::vector<CorpusFile> CorpusFiles() {
  std::vector<CorpusFile> files = ReadIndex();
  if (files.empty()) {
    CorpusFile absent;
    absent.name = "absent";
    files.push_back(absent);
  }
  return files;
}

INSTANTIATE_TEST_SUITE_P(Documents, CorpusTest, ::testing::ValuesIn(CorpusFiles()), [](const auto& tested) {
  std::string name = tested.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
});

// A CMYK layer that covers the document, fully opaque, with an empty mask
// rectangle whose default colour is 255: every delivery with an alpha byte
// must say opaque, as the file does.
TEST_F(DriverTest, CmykCorpusLayerIsOpaque) {
  std::vector<std::uint8_t> bytes = FileBytes(kCorpus + "/pt_4x4_8bit_cmyk.psd");
  if (bytes.empty()) GTEST_SKIP() << "the corpus is not at " << kCorpus;
  for (const std::uint32_t layout : {LayoutCmyk, LayoutRgba}) {
    SCOPED_TRACE(layout);
    ASSERT_EQ(Prepare(bytes, 1, layout), kKivResult_OK);
    ASSERT_EQ(document->layers[1].hasMask, 1);
    ASSERT_EQ(ReadAgain(layout), kKivResult_OK);
    ASSERT_GE(plan.alphaPlane, 0);
    for (std::int32_t y = 0; y < 4; ++y) {
      for (std::int32_t x = 0; x < 4; ++x) ASSERT_EQ(Pixel(x, y, plan.planes - 1), 255) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace strataread
