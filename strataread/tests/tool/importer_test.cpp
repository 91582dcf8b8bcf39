// The host's import helper with the real plug-in: loading, registration,
// one import, and nothing of the host left held afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "kivhost/import.h"
#include "psd_builder.h"

namespace {

using kivhost::Importer;
using kivhost::Ref;

// What the host made must be back to rest once the importer is gone.
void ExpectNothingHeld(kivhost::Owner& owner) {
  EXPECT_EQ(owner.Handles().LiveHandles(), 0u);
  EXPECT_EQ(owner.Memory().LiveAllocations(), 0u);
  for (const auto& stream : owner.Services().Streams().Made()) {
    EXPECT_EQ(stream->References(), 1);
    EXPECT_FALSE(stream->IsOpen());
  }
  for (const auto& list : owner.Services().Lists().Made()) EXPECT_EQ(list->References(), 1);
  EXPECT_EQ(owner.References(), 1);
}

TEST(ImporterTest, LibraryThatCannotBeLoaded) {
  std::unique_ptr<Importer> importer;
  std::string detail;
  EXPECT_EQ(Importer::Open("/nonexistent/strataread.so", &importer, &detail), kKivResult_NoSuchClass);
  EXPECT_FALSE(importer);
  EXPECT_FALSE(detail.empty());
}

TEST(ImporterTest, RegistersAndMakesAReader) {
  Ref<kivhost::Owner> owner = kivhost::Owner::Create();
  {
    std::unique_ptr<Importer> importer;
    std::string detail;
    ASSERT_EQ(Importer::Open(STRATA_PLUGIN_PATH, &importer, &detail, owner), kKivResult_OK) << detail;
    ASSERT_NE(importer->Reader(), nullptr);
    ASSERT_EQ(importer->Registrations().Entries().size(), 2u);
    EXPECT_TRUE(KivSameId(importer->Registrations().Entries()[1].interfaceId, IID_IKivReader));
    EXPECT_EQ(importer->Registrations().Entries()[0].registration, kivhost::kRegistrationHandle);
  }
  ExpectNothingHeld(*owner);
}

TEST(ImporterTest, ImportsTheMergedImageAndALayer) {
  psdbuild::Document document;
  document.width = 2;
  document.merged = {{1, 2}, {3, 4}, {5, 6}};
  psdbuild::Layer layer;
  layer.bottom = 1;
  layer.right = 1;
  for (std::int16_t id = 0; id < 3; ++id) {
    psdbuild::Channel channel(id);
    channel.rows = {static_cast<std::uint8_t>(70 + id)};
    layer.channels.push_back(channel);
  }
  document.layers = {layer};

  Ref<kivhost::Owner> owner = kivhost::Owner::Create();
  {
    std::unique_ptr<Importer> importer;
    std::string detail;
    ASSERT_EQ(Importer::Open(STRATA_PLUGIN_PATH, &importer, &detail, owner), kKivResult_OK) << detail;
    ASSERT_EQ(importer->SetSourceBytes(psdbuild::Build(document)), kKivResult_OK);
    std::int32_t layers = 0;
    ASSERT_EQ(importer->CountLayers(&layers), kKivResult_OK);
    EXPECT_EQ(layers, 1);
    Ref<kivhost::PropertyList> options;
    ASSERT_EQ(importer->DocumentOptions(&options), kKivResult_OK);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Find("kKivOptionsKey_numGuides")->Int32(), 0);

    Ref<kivhost::ImageReceptor> merged = kivhost::ImageReceptor::Create();
    ASSERT_EQ(importer->ReadImage(*merged), kKivResult_OK);
    ASSERT_EQ(merged->Rows().size(), 1u);
    EXPECT_EQ(merged->Rows()[0].bytes, (std::vector<std::uint8_t>{1, 3, 5, 2, 4, 6}));

    ASSERT_EQ(importer->SelectLayer(0), kKivResult_OK);
    Ref<kivhost::ImageReceptor> first = kivhost::ImageReceptor::Create();
    ASSERT_EQ(importer->ReadImage(*first), kKivResult_OK);
    ASSERT_EQ(first->Rows().size(), 1u);
    EXPECT_EQ(first->Rows()[0].bytes, (std::vector<std::uint8_t>{70, 71, 72}));
    EXPECT_EQ(importer->SelectLayer(1), kKivResult_BadArgument);
  }
  ExpectNothingHeld(*owner);
}

}  // namespace
