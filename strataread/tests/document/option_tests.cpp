// The per-layer option lists and the document's guide list.
#include "document_fixture.h"

namespace strataread {
namespace {

using psdbuild::Document;
using psdbuild::Layer;

const std::vector<std::string> kKeysWithoutMask = {
    "SelectorID",
    "kKivSelectorKey_layerName",
    "kKivSelectorKey_layerIndex",
    "kKivSelectorKey_layerBounds",
    "kKivSelectorKey_docBounds",
    "kKivSelectorKey_numChannels",
    "kKivSelectorKey_blendMode",
    "kKivSelectorKey_opacity",
    "kKivSelectorKey_isClippingBase",
    "kKivSelectorKey_transparencyProtected",
    "kKivSelectorKey_visible",
    "kKivSelectorKey_hasMask",
    "kKivSelectorKey_numBlendRanges",
    "kKivSelectorKey_blendRanges",
};

const std::vector<std::string> kMaskKeys = {
    "kKivSelectorKey_maskBounds",           "kKivSelectorKey_maskDefaultColor", "kKivSelectorKey_maskPositionRelative",
    "kKivSelectorKey_maskEnable",           "kKivSelectorKey_maskInverted",
};

std::vector<std::string> KeysWithMask() {
  std::vector<std::string> keys(kKeysWithoutMask.begin(), kKeysWithoutMask.begin() + 12);
  keys.insert(keys.end(), kMaskKeys.begin(), kMaskKeys.end());
  keys.insert(keys.end(), kKeysWithoutMask.begin() + 12, kKeysWithoutMask.end());
  return keys;
}

std::vector<std::string> KeysOf(const kivhost::PropertyList& list) {
  std::vector<std::string> keys;
  for (const kivhost::PropertyEntry& entry : list.Entries()) keys.push_back(entry.key);
  return keys;
}

class LayerOptionsTest : public DocumentTest {
protected:
  void SetUp() override {
    DocumentTest::SetUp();
    Document rgb;
    rgb.width = 640;
    rgb.height = 480;
    Layer plain = RgbLayer(3, 2, "plain");
    plain.opacity = 255;
    plain.blendMode = "diff";
    plain.top = -4;
    Layer masked = RgbLayer(1, 1, "masked");
    masked.channels.push_back({-2});
    masked.mask = psdbuild::Mask{1, 2, 3, 4, 200, 0x05};
    masked.blendRanges = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    masked.clipping = 1;
    masked.flags = 0x02;  // hidden
    rgb.layers = {plain, masked};
    ASSERT_EQ(Parse(rgb), kKivResult_OK);
  }

  // The list the layer's options went into: the last one the host made.
  kivhost::PropertyList& LastList() { return *services->Lists().Made().back(); }

  KivResult Options(std::int32_t index) {
    IKivPropertyList* raw = nullptr;
    const KivResult result = document->GetLayerOptions(index, &raw);
    handedOut = kivhost::Ref<IKivPropertyList>::Adopt(raw);
    return result;
  }

  kivhost::Ref<IKivPropertyList> handedOut;
};

TEST_F(LayerOptionsTest, LayerWithoutMask) {
  ASSERT_EQ(Options(0), kKivResult_OK);
  const kivhost::PropertyList& list = LastList();
  EXPECT_EQ(handedOut.get(), static_cast<const IKivPropertyList*>(&list));
  EXPECT_EQ(list.PutLog(), kKeysWithoutMask);
  EXPECT_EQ(KeysOf(list), kKeysWithoutMask);
  EXPECT_TRUE(KivSameId(*list.Find("SelectorID")->Id(), PS30LayerSelectorId));
  EXPECT_EQ(list.Find("kKivSelectorKey_layerName")->Text(), "plain");
  EXPECT_EQ(*list.Find("kKivSelectorKey_layerIndex")->Int32(), 0);
  const KivRectValue bounds = *list.Find("kKivSelectorKey_layerBounds")->Rect();
  EXPECT_EQ(bounds.top, -4);
  EXPECT_EQ(bounds.right, 3);
  const KivRectValue doc = *list.Find("kKivSelectorKey_docBounds")->Rect();
  EXPECT_EQ(doc.top, 0);
  EXPECT_EQ(doc.left, 0);
  EXPECT_EQ(doc.bottom, 480);
  EXPECT_EQ(doc.right, 640);
  EXPECT_EQ(*list.Find("kKivSelectorKey_numChannels")->Int32(), 4);
  EXPECT_EQ(*list.Find("kKivSelectorKey_blendMode")->Int32(), 0x64696666);
  EXPECT_EQ(*list.Find("kKivSelectorKey_opacity")->Int32(), 255);
  EXPECT_EQ(*list.Find("kKivSelectorKey_isClippingBase")->Flag(), false);
  EXPECT_EQ(*list.Find("kKivSelectorKey_visible")->Flag(), true);
  EXPECT_EQ(*list.Find("kKivSelectorKey_hasMask")->Flag(), false);
  EXPECT_EQ(*list.Find("kKivSelectorKey_numBlendRanges")->Int32(), 0);
  EXPECT_EQ(list.Find("kKivSelectorKey_blendRanges")->type, kKivType_Bytes);
  EXPECT_TRUE(list.Find("kKivSelectorKey_blendRanges")->value.empty());
  // The maker was released: only the services hold it.
  EXPECT_EQ(services->Lists().References(), 1);
}

TEST_F(LayerOptionsTest, LayerWithMask) {
  ASSERT_EQ(Options(1), kKivResult_OK);
  const kivhost::PropertyList& list = LastList();
  EXPECT_EQ(list.PutLog(), KeysWithMask());
  EXPECT_EQ(KeysOf(list), KeysWithMask());
  EXPECT_EQ(*list.Find("kKivSelectorKey_layerIndex")->Int32(), 1);
  EXPECT_EQ(*list.Find("kKivSelectorKey_numChannels")->Int32(), 5);
  EXPECT_EQ(*list.Find("kKivSelectorKey_isClippingBase")->Flag(), true);
  EXPECT_EQ(*list.Find("kKivSelectorKey_visible")->Flag(), false);
  const KivRectValue mask = *list.Find("kKivSelectorKey_maskBounds")->Rect();
  EXPECT_EQ(mask.top, 1);
  EXPECT_EQ(mask.left, 2);
  EXPECT_EQ(mask.bottom, 3);
  EXPECT_EQ(mask.right, 4);
  EXPECT_EQ(*list.Find("kKivSelectorKey_maskDefaultColor")->Int32(), 200);
  EXPECT_EQ(*list.Find("kKivSelectorKey_maskPositionRelative")->Flag(), true);
  EXPECT_EQ(*list.Find("kKivSelectorKey_maskEnable")->Flag(), true);
  EXPECT_EQ(*list.Find("kKivSelectorKey_maskInverted")->Flag(), true);
  EXPECT_EQ(*list.Find("kKivSelectorKey_numBlendRanges")->Int32(), 2);
  EXPECT_EQ(list.Find("kKivSelectorKey_blendRanges")->value, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(LayerOptionsTest, MaskBoundsAreReportedAsTheRecordHoldsThem) {
  // Reading a layer with a relative mask moves its rectangle into document
  // coordinates in the record; the list shows that until the next parse.
  LayerRecord& masked = document->layers[1];
  masked.maskBounds = KivRect{11, 12, 13, 14};
  ASSERT_EQ(Options(1), kKivResult_OK);
  EXPECT_EQ(LastList().Find("kKivSelectorKey_maskBounds")->Rect()->top, 11);
  EXPECT_EQ(LastList().Find("kKivSelectorKey_maskBounds")->Rect()->right, 14);
  ASSERT_EQ(stream->SetPosition(0), kKivResult_OK);
  ASSERT_EQ(document->ParseDocument(&info, &offerCount, offers), kKivResult_OK);
  ASSERT_EQ(Options(1), kKivResult_OK);
  EXPECT_EQ(LastList().Find("kKivSelectorKey_maskBounds")->Rect()->top, 1);
}

TEST_F(LayerOptionsTest, IndexOutOfRangeMakesNoList) {
  for (std::int32_t index : {-1, 2, INT32_MAX}) {
    SCOPED_TRACE(index);
    IKivPropertyList* out = reinterpret_cast<IKivPropertyList*>(std::uintptr_t{0x1234});
    EXPECT_EQ(document->GetLayerOptions(index, &out), kKivResult_BadArgument);
    EXPECT_EQ(out, reinterpret_cast<IKivPropertyList*>(std::uintptr_t{0x1234}));
  }
  EXPECT_TRUE(services->Lists().Made().empty());
  EXPECT_EQ(services->CreateInstanceCalls(), 0u);
}

struct FailingPutCase {
  std::string key;
  bool listFails;
};

void PrintTo(const FailingPutCase& c, std::ostream* os) { *os << c.key; }

class FailingPutTest : public LayerOptionsTest, public ::testing::WithParamInterface<FailingPutCase> {};

TEST_P(FailingPutTest, StopsOrGoesOn) {
  const FailingPutCase& c = GetParam();
  services->Lists().FailPutOn(c.key, kKivResult_CorruptFile);
  IKivPropertyList* out = nullptr;
  const KivResult result = document->GetLayerOptions(1, &out);
  const kivhost::PropertyList& list = LastList();
  const std::vector<std::string> all = KeysWithMask();
  if (c.listFails) {
    EXPECT_EQ(result, kKivResult_CorruptFile);
    EXPECT_EQ(out, nullptr);
    // Released by the plug-in: only the maker's record holds it.
    EXPECT_EQ(list.References(), 1);
    // No Put after the failing one.
    EXPECT_EQ(list.PutLog().back(), c.key);
  } else {
    EXPECT_EQ(result, kKivResult_OK);
    EXPECT_EQ(out, static_cast<const IKivPropertyList*>(&list));
    EXPECT_EQ(list.PutLog(), all);
    out->Release();
  }
}

std::vector<FailingPutCase> FailingPutCases() {
  std::vector<FailingPutCase> cases;
  for (const std::string& key : kKeysWithoutMask) cases.push_back({key, true});
  for (const std::string& key : kMaskKeys) cases.push_back({key, false});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryKey, FailingPutTest, ::testing::ValuesIn(FailingPutCases()),
                         [](const auto& p) { return p.param.key; });

TEST_F(LayerOptionsTest, HostThatCannotMakeTheList) {
  struct Case {
    const char* name;
    void (*plan)(kivhost::HostServices&);
    KivResult result;
  };
  const Case cases[] = {
      {"noMaker",
       [](kivhost::HostServices& s) {
         s.Faults(kivhost::Utility::PropertyListMaker).SetResult(kKivResult_NoSuchClass);
         s.Faults(kivhost::Utility::PropertyListMaker).FailNth(1);
       },
       kKivResult_NoSuchClass},
      {"noList",
       [](kivhost::HostServices& s) {
         s.Lists().Faults().SetResult(kKivResult_OutOfMemory);
         s.Lists().Faults().FailNth(1);
       },
       kKivResult_OutOfMemory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.plan(*services);
    IKivPropertyList* out = reinterpret_cast<IKivPropertyList*>(std::uintptr_t{0x10});
    EXPECT_EQ(document->GetLayerOptions(0, &out), c.result);
    EXPECT_EQ(out, reinterpret_cast<IKivPropertyList*>(std::uintptr_t{0x10}));
    EXPECT_EQ(services->Lists().References(), 1);
  }
  // A host that answers 0 without a list: none is handed out.
  services->Lists().SetGiveNoList(true);
  IKivPropertyList* out = reinterpret_cast<IKivPropertyList*>(std::uintptr_t{0x10});
  EXPECT_EQ(document->GetLayerOptions(0, &out), kKivResult_OK);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(services->Lists().References(), 1);
}

TEST_F(DocumentTest, LayerOptionsWithoutServices) {
  Document rgb;
  rgb.layers = {RgbLayer(1, 1)};
  ASSERT_EQ(Parse(rgb), kKivResult_OK);
  document->services = nullptr;
  IKivPropertyList* out = nullptr;
  EXPECT_EQ(document->GetLayerOptions(0, &out), kKivResult_OutOfMemory);
  EXPECT_EQ(out, nullptr);
}

// ---------------------------------------------------------------------------
// Guides

struct GuideCase {
  const char* name;
  std::int32_t count;
  std::vector<Guide> guides;
  std::vector<std::pair<std::string, std::string>> expected;  // guide keys and texts
};

void PrintTo(const GuideCase& c, std::ostream* os) { *os << c.name; }

class GuideOptionsTest : public DocumentTest, public ::testing::WithParamInterface<GuideCase> {};

TEST_P(GuideOptionsTest, PutsCountAndTexts) {
  const GuideCase& c = GetParam();
  document->guideCount = c.count;
  std::copy(c.guides.begin(), c.guides.end(), document->guides);
  auto list = kivhost::PropertyList::Create();
  document->PutGuideOptions(list.get());
  ASSERT_EQ(list->Entries().size(), 1 + c.expected.size());
  EXPECT_EQ(list->Entries()[0].key, "kKivOptionsKey_numGuides");
  EXPECT_EQ(*list->Entries()[0].Int32(), c.count);
  for (std::size_t i = 0; i < c.expected.size(); ++i) {
    EXPECT_EQ(list->Entries()[i + 1].key, c.expected[i].first);
    EXPECT_EQ(list->Entries()[i + 1].type, kKivType_String);
    EXPECT_EQ(list->Entries()[i + 1].Text(), c.expected[i].second);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GuideOptionsTest,
    ::testing::Values(GuideCase{"none", 0, {}, {}}, GuideCase{"negative", -1, {{32, 1}}, {}},
                      GuideCase{"two",
                                2,
                                {{3200, 1}, {-16, 0}},
                                {{"kKivOptionsKey_guideInfo0", "100.000000 1"},
                                 {"kKivOptionsKey_guideInfo1", "-0.500000 0"}}},
                      GuideCase{"directionSigned", 1, {{1, 0xFF}}, {{"kKivOptionsKey_guideInfo0", "0.031250 -1"}}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(DocumentTest, GuideListOfTheLargestDocumentAndFailingPuts) {
  Document rgb;
  std::vector<psdbuild::GuideEntry> many;
  for (int i = 0; i < 300; ++i) many.push_back({i * 32, 0});
  rgb.resources = {psdbuild::GuideResource(many)};
  ASSERT_EQ(Parse(rgb), kKivResult_OK);
  auto list = kivhost::PropertyList::Create();
  list->FailPutOn("kKivOptionsKey_numGuides");
  list->FailPutOn("kKivOptionsKey_guideInfo3");
  document->PutGuideOptions(list.get());
  // Failed Puts do not stop the others.
  ASSERT_EQ(list->PutLog().size(), 257u);
  EXPECT_EQ(list->PutLog().back(), "kKivOptionsKey_guideInfo255");
  EXPECT_EQ(list->Find("kKivOptionsKey_guideInfo255")->Text(), "255.000000 0");
  EXPECT_EQ(list->Find("kKivOptionsKey_guideInfo3"), nullptr);
}

}  // namespace
}  // namespace strataread
