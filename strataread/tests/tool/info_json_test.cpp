// The JSON of strata info and the names strata gives layer files.
#include <gtest/gtest.h>

#include <string>

#include "info_json.h"
#include "kivhost/property_list.h"
#include "layer_file_name.h"

namespace {

struct TextCase {
  std::string in;
  std::string out;
};

class JsonStringTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(JsonStringTest, Escapes) { EXPECT_EQ(strata::JsonString(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonStringTest,
    ::testing::Values(TextCase{"Sky", "\"Sky\""}, TextCase{"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
                      TextCase{std::string("a\nb\x01", 4), "\"a\\u000Ab\\u0001\""},
                      TextCase{"caf\xC3\xA9 \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xF0\x9F\x98\x80\""},  // valid UTF-8
                      TextCase{"caf\xE9", "\"caf\\u00E9\""},              // a Latin-1 byte
                      TextCase{"\xC3", "\"\\u00C3\""},                    // a cut sequence
                      TextCase{"\xC0\xAF", "\"\\u00C0\\u00AF\""},          // an overlong form
                      TextCase{"\xED\xA0\x80", "\"\\u00ED\\u00A0\\u0080\""}));  // a surrogate

class SafeFileStemTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(SafeFileStemTest, KeepsOnlyPlainCharacters) { EXPECT_EQ(strata::SafeFileStem(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(Names, SafeFileStemTest,
                         ::testing::Values(TextCase{"Background", "Background"},
                                           TextCase{"Sun (masked)", "Sun_masked"},
                                           TextCase{"a/b\\c:d", "a_b_c_d"}, TextCase{"../../etc", "etc"},
                                           TextCase{"v1.2-final_", "v1.2-final"}, TextCase{"", "layer"},
                                           TextCase{"\xF0\x9F\x98\x80", "layer"}, TextCase{"..", "layer"},
                                           TextCase{std::string(100, 'x'), std::string(64, 'x')},
                                           TextCase{std::string(63, 'x') + " y", std::string(63, 'x')}));

TEST(LayerFileNameTest, IndexInThreeDigits) {
  EXPECT_EQ(strata::LayerFileName(7, "Sky", ".png"), "007-Sky.png");
  EXPECT_EQ(strata::LayerFileName(1234, "", ".pam"), "1234-layer.pam");
}

TEST(InfoJsonTest, GuidesAsNumbers) {
  kivhost::Ref<kivhost::PropertyList> list = kivhost::PropertyList::Create();
  list->PutInt32("kKivOptionsKey_numGuides", 4);
  list->PutString("kKivOptionsKey_guideInfo0", "100.000000 1");
  list->PutString("kKivOptionsKey_guideInfo1", "-0.500000 0");
  list->PutString("kKivOptionsKey_guideInfo2", "nan -1");
  list->PutString("kKivOptionsKey_guideInfo3", "12");
  list->PutString("kKivOptionsKey_other", "1 1");
  EXPECT_EQ(strata::GuidesJson(*list),
            "[{\"position\": 100.000000, \"direction\": 1}, {\"position\": -0.500000, \"direction\": 0}, "
            "{\"position\": null, \"direction\": -1}, {\"position\": 12, \"direction\": null}]");
}

TEST(InfoJsonTest, LayerKeysWithoutTheirPrefix) {
  kivhost::Ref<kivhost::PropertyList> list = kivhost::PropertyList::Create();
  const KivRectValue bounds{1, 2, 3, 4};
  const std::uint8_t flag = 1;
  const std::uint8_t ranges[8] = {0, 0, 255, 255, 10, 20, 30, 40};
  const std::int32_t mode = 0x64697373;  // "diss"
  list->PutString("kKivSelectorKey_layerName", "Ink");
  list->Put(kKivType_Rect, &bounds, sizeof bounds, "kKivSelectorKey_layerBounds");
  list->Put(kKivType_Int32, &mode, sizeof mode, "kKivSelectorKey_blendMode");
  list->Put(kKivType_Flag, &flag, 1, "kKivSelectorKey_visible");
  list->Put(kKivType_Bytes, ranges, sizeof ranges, "kKivSelectorKey_blendRanges");
  list->Put(kKivType_Bytes, ranges, 0, "kKivSelectorKey_empty");
  EXPECT_EQ(strata::LayerJson(*list),
            "{\"layerName\": \"Ink\", \"layerBounds\": [1, 2, 3, 4], \"blendMode\": 1684632435, "
            "\"blendModeKey\": \"diss\", \"visible\": true, \"blendRanges\": [[0, 0, 255, 255], [10, 20, 30, 40]], "
            "\"empty\": []}");
}

}  // namespace
