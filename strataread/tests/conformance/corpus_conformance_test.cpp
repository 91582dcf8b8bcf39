// The shared corpus through strata: supported documents import (merged image
// as RGB, and as RGBA where offered) and match their reference pictures
// where peers agree; the others are refused with their result codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <regex>
#include <string>
#include <vector>

#include "corpus_index.h"
#include "png_read.h"
#include "strata_runner.h"

namespace {

using strata_test::Outcome;
using strata_test::RunStrata;
using strata_test::ScratchDir;

const std::string kCorpus = PSD_CORPUS_DIR;
const char kAbsent[] = "corpus_absent";

std::vector<corpus::Document> Documents() {
  std::vector<corpus::Document> documents = corpus::ReadIndex(kCorpus);
  if (documents.empty()) {
    corpus::Document absent;
    absent.file = kAbsent;
    documents.push_back(absent);
  }
  return documents;
}

std::string FirstLine(const Outcome& outcome) { return outcome.errLines.empty() ? "" : outcome.errLines[0]; }

std::vector<int> OffersIn(const std::string& json) {
  std::smatch match;
  std::vector<int> offers;
  if (!std::regex_search(json, match, std::regex("\"offers\": \\[([0-9, ]*)\\]"))) return offers;
  const std::string list = match[1];
  const std::regex number("[0-9]+");
  for (std::sregex_iterator it(list.begin(), list.end(), number), end; it != end; ++it) {
    offers.push_back(std::stoi(it->str()));
  }
  return offers;
}

struct Difference {
  std::size_t samples = 0;
  std::size_t differing = 0;
  std::size_t beyondTolerance = 0;
  std::uint64_t total = 0;
  std::size_t first = 0;  // pixel of the first difference
};

// Compares the given channels (0 to 3 of RGBA) of the pixels where the
// reference is opaque, or of all pixels.
Difference Compare(const std::vector<std::uint8_t>& ours, const std::vector<std::uint8_t>& theirs, int fromChannel,
                   int toChannel, bool opaqueOnly, int tolerance) {
  Difference difference;
  for (std::size_t pixel = 0; pixel * 4 + 3 < ours.size() && pixel * 4 + 3 < theirs.size(); ++pixel) {
    if (opaqueOnly && theirs[pixel * 4 + 3] != 255) continue;
    for (int channel = fromChannel; channel <= toChannel; ++channel) {
      const std::size_t i = pixel * 4 + static_cast<std::size_t>(channel);
      ++difference.samples;
      const int delta = std::abs(int{ours[i]} - int{theirs[i]});
      if (delta == 0) continue;
      if (difference.differing++ == 0) difference.first = pixel;
      if (delta > tolerance) ++difference.beyondTolerance;
      difference.total += static_cast<std::uint64_t>(delta);
    }
  }
  return difference;
}

int ColourChannels(const std::string& mode) {
  if (mode == "rgb") return 3;
  if (mode == "cmyk") return 4;
  return 1;
}

bool Translucent(const std::vector<std::uint8_t>& rgba) {
  for (std::size_t i = 3; i < rgba.size(); i += 4) {
    if (rgba[i] != 255) return true;
  }
  return false;
}

class CorpusTest : public ::testing::TestWithParam<corpus::Document> {
protected:
  std::string Path() const { return kCorpus + "/" + GetParam().file; }
  std::string Reference() const {
    const std::string stem = std::filesystem::path(GetParam().file).stem().string();
    return kCorpus + "/reference/" + stem + ".png";
  }

  void ExpectRefused(const ScratchDir& dir, const std::string& result) {
    const Outcome outcome = RunStrata({"import", Path(), "-o", dir.File("out.png")}, dir.path());
    EXPECT_EQ(outcome.status, 1);
    ASSERT_EQ(outcome.errLines.size(), 1u);
    const std::regex line("strata: " + std::regex_replace(Path(), std::regex(R"([.+()\[\]])"), R"(\$&)") + ": " +
                          result + R"( \(0x[0-9A-F]{8}\))");
    EXPECT_TRUE(std::regex_match(outcome.errLines[0], line)) << outcome.errLines[0];
    EXPECT_TRUE(dir.Entries().empty());
  }

  // A broken file is refused with a result, or, where what the plug-in
  // reads of it is whole, imported whole: never a crash, never a part.
  void ExpectSafe(const ScratchDir& dir) {
    const Outcome outcome = RunStrata({"import", Path(), "-o", dir.File("out.png")}, dir.path());
    ASSERT_TRUE(outcome.status == 0 || outcome.status == 1) << "status " << outcome.status;
    if (outcome.status == 1) {
      ASSERT_EQ(outcome.errLines.size(), 1u);
      const std::regex line("strata: .*: kKivResult_[A-Za-z]+ \\(0x[0-9A-F]{8}\\)");
      EXPECT_TRUE(std::regex_match(outcome.errLines[0], line)) << outcome.errLines[0];
      EXPECT_TRUE(dir.Entries().empty());
      return;
    }
    const std::optional<pngread::Png> png = pngread::ReadFile(dir.File("out.png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, GetParam().width);
    EXPECT_EQ(png->height, GetParam().height);
    const Outcome layers = RunStrata({"layers", Path(), "-o", dir.File("layers")}, dir.path());
    EXPECT_TRUE(layers.status == 0 || layers.status == 1) << "status " << layers.status;
  }

  std::optional<pngread::Png> Import(const ScratchDir& dir, const std::string& layout) {
    const std::string out = dir.File(layout + ".png");
    const Outcome outcome = RunStrata({"import", Path(), "-o", out, "--layout", layout}, dir.path());
    EXPECT_EQ(outcome.status, 0) << FirstLine(outcome);
    if (outcome.status != 0) return std::nullopt;
    std::optional<pngread::Png> png = pngread::ReadFile(out);
    EXPECT_TRUE(png) << out;
    if (png) {
      EXPECT_EQ(png->width, GetParam().width);
      EXPECT_EQ(png->height, GetParam().height);
    }
    return png;
  }

  // Where peers agree: the colour of pixels the reference shows opaque
  // (a fourth merged channel is transparency to some peers, which then
  // take the white matte out of the colour, and is ignored by others), and
  // the transparency itself where the reference has one. A reference with
  // transparency for a document without a transparency channel is the
  // reference decoder's recomposition from the layers, not the stored
  // merged image: only its size is compared.
  void CompareWithReference(const pngread::Png& ours, const std::string& layout) {
    const corpus::Document& document = GetParam();
    const std::optional<pngread::Png> reference = pngread::ReadFile(Reference());
    if (!reference) {
      std::cout << document.file << ": no reference picture; not compared\n";
      return;
    }
    ASSERT_EQ(reference->width, ours.width);
    ASSERT_EQ(reference->height, ours.height);
    const std::vector<std::uint8_t> theirs = pngread::ToRgba8(*reference);
    const bool transparencyChannel = document.channels > ColourChannels(document.mode);
    if (!transparencyChannel && Translucent(theirs)) {
      std::cout << document.file << ": the reference is a recomposition; only its size is compared\n";
      return;
    }
    const std::vector<std::uint8_t> rgba = pngread::ToRgba8(ours);
    const bool exact = document.expect == corpus::Expect::Exact;
    const int tolerance = exact ? 0 : 8;
    std::vector<std::pair<const char*, Difference>> checks = {
        {"colour", Compare(rgba, theirs, 0, 2, true, tolerance)}};
    if (layout == "rgba" && Translucent(theirs)) checks.push_back({"alpha", Compare(rgba, theirs, 3, 3, false, tolerance)});
    for (const auto& [what, difference] : checks) {
      if (exact) {
        EXPECT_EQ(difference.differing, 0u) << layout << " " << what << ": " << difference.differing << " of "
                                            << difference.samples << " samples differ, first at pixel "
                                            << difference.first;
      } else {
        // 16 bits: the reference's 8 bits, most samples within a few steps.
        const double mean =
            difference.samples == 0 ? 0.0 : static_cast<double>(difference.total) / static_cast<double>(difference.samples);
        EXPECT_LE(mean, 2.0) << layout << " " << what;
        EXPECT_LE(difference.beyondTolerance * 100, difference.samples)
            << layout << " " << what << ": more than 1% beyond " << tolerance << " steps";
      }
    }
  }
};

TEST_P(CorpusTest, ImportsAsPeersAgree) {
  const corpus::Document& document = GetParam();
  if (document.file == kAbsent) GTEST_SKIP() << "the PSD corpus is not at " << kCorpus << "; skipped";
  const ScratchDir dir("corpus-" + corpus::TestName(document.file));
  switch (document.expect) {
    case corpus::Expect::Unsupported: return ExpectRefused(dir, "kKivResult_UnsupportedFile");
    case corpus::Expect::Malformed: return ExpectSafe(dir);
    default: break;
  }

  const Outcome info = RunStrata({"info", Path()}, dir.path());
  ASSERT_EQ(info.status, 0) << FirstLine(info);
  EXPECT_NE(info.out.find("\"width\": " + std::to_string(document.width) + ","), std::string::npos) << info.out;
  const std::vector<int> offers = OffersIn(info.out);
  ASSERT_FALSE(offers.empty()) << info.out;

  const bool compare = document.expect != corpus::Expect::ImportOnly;
  if (const auto rgb = Import(dir, "rgb"); rgb && compare) CompareWithReference(*rgb, "rgb");
  if (std::find(offers.begin(), offers.end(), 1) != offers.end()) {
    if (const auto rgba = Import(dir, "rgba"); rgba && compare) CompareWithReference(*rgba, "rgba");
  }

  const Outcome layers = RunStrata({"layers", Path(), "-o", dir.File("layers")}, dir.path());
  EXPECT_EQ(layers.status, 0) << FirstLine(layers);
  const std::vector<std::string> files = dir.Entries("layers");
  EXPECT_TRUE(std::find(files.begin(), files.end(), "merged.png") != files.end());
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTest, ::testing::ValuesIn(Documents()),
                         [](const auto& test) { return corpus::TestName(test.param.file); });

}  // namespace
