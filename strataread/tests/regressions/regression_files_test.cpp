// Every saved fuzz input, imported the way the fuzz target imports it, gives
// the results recorded for it, and the host finds nothing wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "import_driver.h"

namespace {

struct SavedInput {
  const char* file;
  KivResult setSource;
  KivResult readImage;
};

// Documents that claim rows tens of millions of pixels wide: the plug-in
// refuses their buffers itself, rather than have the host give and clear
// hundreds of megabytes for two rows that are not in the file.
const SavedInput kSaved[] = {
    {"wide-rgba16-rows.psd", kKivResult_OK, kKivResult_OutOfMemory},
    {"wide-bitmap-rows.psd", kKivResult_OK, kKivResult_OutOfMemory},
};

std::filesystem::path SavedDirectory() { return STRATAREAD_REGRESSIONS; }

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class SavedInputTest : public ::testing::TestWithParam<SavedInput> {};

TEST_P(SavedInputTest, ImportsWithTheResultsRecorded) {
  const SavedInput& saved = GetParam();
  const std::vector<std::uint8_t> bytes = ReadAll(SavedDirectory() / saved.file);
  ASSERT_FALSE(bytes.empty()) << saved.file;
  const auto outcome = strataread_fuzz::ImportDocument(STRATAREAD_PLUGIN_PATH, bytes);
  EXPECT_EQ(outcome.open, kKivResult_OK);
  EXPECT_EQ(outcome.setSource, saved.setSource);
  EXPECT_EQ(outcome.readImage, saved.readImage);
  EXPECT_EQ(outcome.rowsDelivered, 0u);
  EXPECT_TRUE(outcome.faults.empty()) << ::testing::PrintToString(outcome.faults);
}

INSTANTIATE_TEST_SUITE_P(Saved, SavedInputTest, ::testing::ValuesIn(kSaved), [](const auto& tested) {
  std::string name = tested.param.file;
  name = name.substr(0, name.find('.'));
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

// A saved input without a recorded result would be replayed only for
// crashes; every one must be in the table above.
TEST(SavedInputs, EveryFileHasItsResults) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(SavedDirectory())) {
    files.push_back(entry.path().filename().string());
  }
  ASSERT_FALSE(files.empty());
  for (const std::string& file : files) {
    const bool recorded =
        std::any_of(std::begin(kSaved), std::end(kSaved), [&](const SavedInput& s) { return file == s.file; });
    EXPECT_TRUE(recorded) << file << " has no recorded results";
  }
}

}  // namespace
