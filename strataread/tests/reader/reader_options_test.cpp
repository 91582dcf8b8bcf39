// The document list of guides that GetDefaultOptions hands the host, and
// the out list when the host cannot make one.
#include <cstdio>
#include <optional>

#include "reader_fixture.h"

namespace strataread_test {
namespace {

using kivhost::PropertyEntry;
using kivhost::PropertyList;
using kivhost::Utility;

constexpr char kCountKey[] = "kKivOptionsKey_numGuides";

std::string GuideKey(int index) { return "kKivOptionsKey_guideInfo" + std::to_string(index); }

std::vector<psdbuild::GuideEntry> ManyGuides(int count) {
  std::vector<psdbuild::GuideEntry> guides;
  for (int i = 0; i < count; ++i) guides.push_back({i * 48 - 100, static_cast<std::uint8_t>(i % 2)});
  return guides;
}

struct GuideCase {
  const char* name;
  std::optional<std::vector<psdbuild::GuideEntry>> guides;  // no guide resource when absent
  std::optional<std::int32_t> declared;
  std::int32_t expectedCount;
  // Texts of the first guides, as the host reads them.
  std::vector<std::string> firstTexts;
  std::string lastText = "";  // of the last guide key, when given
};

class GuideOptionsTest : public ReaderParamTest<GuideCase> {};

TEST_P(GuideOptionsTest, ListHoldsTheCountAndOneTextPerGuide) {
  const GuideCase& c = GetParam();
  psdbuild::Document document = RgbDocument(2, 2);
  if (c.guides) document.resources.push_back(psdbuild::GuideResource(*c.guides, c.declared));
  ASSERT_EQ(SetSource(document), kKivResult_OK);

  IKivPropertyList* handed = nullptr;
  ASSERT_EQ(reader->GetDefaultOptions(&handed), kKivResult_OK);
  ASSERT_NE(handed, nullptr);
  const auto& made = owner->Services().Lists().Made();
  ASSERT_EQ(made.size(), 1u);
  ASSERT_EQ(static_cast<IKivPropertyList*>(made[0].get()), handed);
  const PropertyList& list = *made[0];

  const std::size_t guideKeys = c.expectedCount > 0 ? static_cast<std::size_t>(c.expectedCount) : 0;
  ASSERT_EQ(list.Entries().size(), 1 + guideKeys);
  EXPECT_EQ(list.Entries()[0].key, kCountKey);
  EXPECT_EQ(list.Entries()[0].Int32(), c.expectedCount);
  for (std::size_t i = 0; i < guideKeys; ++i) {
    const PropertyEntry& entry = list.Entries()[1 + i];
    EXPECT_EQ(entry.key, GuideKey(static_cast<int>(i)));
    EXPECT_EQ(entry.type, kKivType_String);
    if (i < c.firstTexts.size()) {
      EXPECT_EQ(entry.Text(), c.firstTexts[i]) << i;
    }
  }
  if (!c.lastText.empty()) {
    EXPECT_EQ(list.Entries().back().Text(), c.lastText);
  }
  handed->Release();
}

const GuideCase kGuideCases[] = {
    {"NoGuideResource", std::nullopt, std::nullopt, 0, {}},
    {"TwoGuides", std::vector<psdbuild::GuideEntry>{{3200, 1}, {-16, 0}}, std::nullopt, 2,
     {"100.000000 1", "-0.500000 0"}},
    {"DirectionReadSigned", std::vector<psdbuild::GuideEntry>{{32, 0xFF}}, std::nullopt, 1, {"1.000000 -1"}},
    {"ThreeHundredKeepsTheFirst256", ManyGuides(300), std::nullopt, 256,
     {"-3.125000 0", "-1.625000 1", "-0.125000 0"}, "379.375000 1"},
    {"NegativeCount", std::vector<psdbuild::GuideEntry>{}, -1, -1, {}},
};

INSTANTIATE_TEST_SUITE_P(Documents, GuideOptionsTest, ::testing::ValuesIn(kGuideCases), CaseName());

TEST_F(ReaderTest, GetOptionsGivesTheSameList) {
  psdbuild::Document document = RgbDocument(2, 2);
  document.resources.push_back(psdbuild::GuideResource({{64, 1}}));
  ASSERT_EQ(SetSource(document), kKivResult_OK);
  IKivPropertyList* first = nullptr;
  IKivPropertyList* second = nullptr;
  ASSERT_EQ(reader->GetDefaultOptions(&first), kKivResult_OK);
  ASSERT_EQ(reader->GetOptions(&second), kKivResult_OK);
  const auto& made = owner->Services().Lists().Made();
  ASSERT_EQ(made.size(), 2u);
  ASSERT_EQ(made[0]->Entries().size(), made[1]->Entries().size());
  for (std::size_t i = 0; i < made[0]->Entries().size(); ++i) {
    EXPECT_EQ(made[0]->Entries()[i].key, made[1]->Entries()[i].key);
    EXPECT_EQ(made[0]->Entries()[i].value, made[1]->Entries()[i].value);
  }
  first->Release();
  second->Release();
}

TEST_F(ReaderTest, BeforeAnySourceTheListHoldsNoGuides) {
  IKivPropertyList* handed = nullptr;
  ASSERT_EQ(reader->GetDefaultOptions(&handed), kKivResult_OK);
  ASSERT_NE(handed, nullptr);
  const PropertyList& list = *owner->Services().Lists().Made().at(0);
  ASSERT_EQ(list.Entries().size(), 1u);
  EXPECT_EQ(list.Entries()[0].Int32(), 0);
  handed->Release();
}

// The out list starts null; the reader releases only a list it was given.
struct NoListCase {
  const char* name;
  void (*plan)(Owner& owner);
  KivResult expected;
};

class NoListTest : public ReaderParamTest<NoListCase> {};

TEST_P(NoListTest, OutListIsNull) {
  GetParam().plan(*owner);
  Ref<PropertyList> hostsOwn = PropertyList::Create();
  IKivPropertyList* out = hostsOwn.get();
  EXPECT_EQ(reader->GetDefaultOptions(&out), GetParam().expected);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(hostsOwn->References(), 1);  // what the out list held was not released
}

const NoListCase kNoListCases[] = {
    {"MakerRefused",
     [](Owner& host) {
       host.Services().Faults(Utility::PropertyListMaker).SetResult(kKivResult_NoSuchClass);
       host.Services().Faults(Utility::PropertyListMaker).FailNth(1);
     },
     kKivResult_NoSuchClass},
    {"ListRefused",
     [](Owner& host) {
       host.Services().Lists().Faults().SetResult(kKivResult_OutOfMemory);
       host.Services().Lists().Faults().FailNth(1);
     },
     kKivResult_OutOfMemory},
    {"SuccessWithoutAList", [](Owner& host) { host.Services().Lists().SetGiveNoList(true); }, kKivResult_OK},
};

INSTANTIATE_TEST_SUITE_P(Hosts, NoListTest, ::testing::ValuesIn(kNoListCases), CaseName());

}  // namespace
}  // namespace strataread_test
