// The module's one document stream: closed and free after every operation,
// on success and on failure, and never taken from an operation in progress
// by a host that calls back into the plug-in during an import.
#include <optional>

#include "reader_fixture.h"

namespace strataread_test {
namespace {

constexpr KivResult kHostFailure = static_cast<KivResult>(0x80049999u);

KivResult SetSourceBytes(IKivReader& reader, psdbuild::ByteVector bytes) {
  return reader.SetSource(kivhost::Source::FromBytes(std::move(bytes)).get());
}

psdbuild::Document LayeredDocument() {
  psdbuild::Document document = RgbDocument(3, 2);
  psdbuild::Layer layer;
  layer.bottom = 2;
  layer.right = 3;
  layer.channels = {0, 1, 2};
  document.layers = {layer};
  return document;
}

struct Scene {
  Owner& owner;
  IKivReader& reader;
};

KivResult ReadInto(Scene& scene, ImageReceptor& receptor) {
  return scene.reader.ReadImage(&receptor, &IID_IKivImageReceptor);
}

// Runs an operation that may hand out a list, and gives the list back.
template <class Operation>
KivResult ReleasingList(Operation operation) {
  IKivPropertyList* list = nullptr;
  const KivResult result = operation(&list);
  if (list != nullptr) list->Release();
  return result;
}

struct OperationCase {
  const char* name;
  // Runs the operation under test (after a SetSource of LayeredDocument).
  KivResult (*run)(Scene& scene);
  KivResult expected;
};

class EveryOperationTest : public ReaderParamTest<OperationCase> {};

TEST_P(EveryOperationTest, LeavesTheStreamClosedAndTheSlotFree) {
  ASSERT_EQ(SetSource(LayeredDocument()), kKivResult_OK);
  Scene scene{*owner, *reader};
  EXPECT_EQ(GetParam().run(scene), GetParam().expected);
  ExpectStreamsAtRest();
}

const OperationCase kOperationCases[] = {
    {"SetSource", [](Scene& s) { return SetSourceBytes(s.reader, psdbuild::Build(LayeredDocument())); },
     kKivResult_OK},
    {"SetSourceNotADocument", [](Scene& s) { return SetSourceBytes(s.reader, psdbuild::ByteVector(40, 'x')); },
     kKivResult_UnsupportedFile},
    {"SetSourceCutShort",
     [](Scene& s) {
       psdbuild::ByteVector bytes = psdbuild::Build(LayeredDocument());
       bytes.resize(30);
       return SetSourceBytes(s.reader, bytes);
     },
     kKivResult_ReadFailed},
    {"SetSourceOpenFails",
     [](Scene& s) {
       s.owner.Services().Streams().SetStreamSetup([](kivhost::ByteStream& stream) { stream.OpenFaults().FailNth(1); });
       return SetSourceBytes(s.reader, psdbuild::Build(LayeredDocument()));
     },
     kKivResult_ReadFailed},
    {"SetSourceNull", [](Scene& s) { return s.reader.SetSource(nullptr); }, kKivResult_OutOfMemory},
    {"CheckFileMissing", [](Scene& s) { return s.reader.CheckFile("/nonexistent/strataread.psd", nullptr); },
     kKivResult_ReadFailed},
    {"ReadImage",
     [](Scene& s) {
       Ref<ImageReceptor> receptor = ImageReceptor::Create();
       return ReadInto(s, *receptor);
     },
     kKivResult_OK},
    {"ReadImageBeginRefused",
     [](Scene& s) {
       Ref<ImageReceptor> receptor = ImageReceptor::Create();
       receptor->FailBeginImage(kHostFailure);
       return ReadInto(s, *receptor);
     },
     kHostFailure},
    {"ReadImagePixelsCutShort",
     [](Scene& s) {
       psdbuild::ByteVector bytes = psdbuild::Build(LayeredDocument());
       bytes.resize(bytes.size() - 4);
       const KivResult parsed = SetSourceBytes(s.reader, bytes);
       if (parsed != kKivResult_OK) return parsed;
       Ref<ImageReceptor> receptor = ImageReceptor::Create();
       return ReadInto(s, *receptor);
     },
     kKivResult_ReadFailed},
    {"ReadImageForcedLayout",
     [](Scene& s) {
       Ref<ImageReceptor> receptor = ImageReceptor::Create();
       receptor->SetLayoutChoice([](std::span<const std::int32_t>, const ImageInfo&) {
         return static_cast<std::int32_t>(LayoutBitmap);
       });
       return ReadInto(s, *receptor);
     },
     kKivResult_UnsupportedFile},
    {"ReadImageWrongId",
     [](Scene& s) {
       Ref<ImageReceptor> receptor = ImageReceptor::Create();
       return s.reader.ReadImage(receptor.get(), &IID_IKivReader);
     },
     kKivResult_BadArgument},
    {"GetDefaultOptions",
     [](Scene& s) {
       return ReleasingList([&](IKivPropertyList** list) { return s.reader.GetDefaultOptions(list); });
     },
     kKivResult_OK},
    {"GetSelectorInfo",
     [](Scene& s) {
       return ReleasingList([&](IKivPropertyList** list) { return s.reader.GetSelectorInfo(0, nullptr, list); });
     },
     kKivResult_OK},
    {"GetSelectorInfoOutOfRange",
     [](Scene& s) {
       return ReleasingList([&](IKivPropertyList** list) { return s.reader.GetSelectorInfo(1, nullptr, list); });
     },
     kKivResult_BadArgument},
    {"SetSelectorOutOfRange",
     [](Scene& s) {
       Ref<kivhost::PropertyList> selector = kivhost::PropertyList::Create();
       selector->PutInt32("kKivSelectorKey_layerIndex", 1);
       return s.reader.SetSelector(selector.get());
     },
     kKivResult_BadArgument},
};

INSTANTIATE_TEST_SUITE_P(Operations, EveryOperationTest, ::testing::ValuesIn(kOperationCases), CaseName());

// A host that calls back into the plug-in from inside BeginImage.
struct Callback {
  Owner& owner;
  IKivReader& importing;  // the reader whose import is running
  Ref<IKivReader>& other;  // another reader with a source of its own
  const kivhost::Plugin& plugin;
};

struct ReentryCase {
  const char* name;
  KivResult (*action)(Callback& callback);
  KivResult expected;
};

class ReentryTest : public ReaderParamTest<ReentryCase> {};

TEST_P(ReentryTest, TheRunningImportIsUndisturbed) {
  const psdbuild::Document document = LayeredDocument();
  ASSERT_EQ(SetSource(document), kKivResult_OK);
  Ref<IKivReader> other = NewReader();
  ASSERT_EQ(SetSource(*other, document), kKivResult_OK);

  Callback callback{*owner, *reader, other, plugin()};
  std::optional<KivResult> answered;
  std::uint64_t hostCalls = 0;
  Ref<ImageReceptor> inner = ImageReceptor::Create();
  Ref<CallbackReceptor> receptor = CallbackReceptor::Create(inner, [&] {
    const std::uint64_t before = owner->Services().CreateInstanceCalls();
    answered = GetParam().action(callback);
    hostCalls = owner->Services().CreateInstanceCalls() - before;
  });
  EXPECT_EQ(Read(receptor.get()), kKivResult_OK);
  EXPECT_EQ(answered, GetParam().expected);
  // A refused operation asks nothing of the host.
  if (GetParam().expected == kKivResult_StillInUse) {
    EXPECT_EQ(hostCalls, 0u);
  }
  EXPECT_EQ(RowsOf(*inner), InterleavedRows(document.merged, document.width, document.height));
  ExpectStreamsAtRest();
}

const ReentryCase kReentryCases[] = {
    {"SameReaderSetSource", [](Callback& c) { return c.importing.SetSource(nullptr); }, kKivResult_StillInUse},
    {"SameReaderReadImage",
     [](Callback& c) {
       Ref<ImageReceptor> receptor = ImageReceptor::Create();
       return c.importing.ReadImage(receptor.get(), &IID_IKivImageReceptor);
     },
     kKivResult_StillInUse},
    {"SameReaderSetSelector", [](Callback& c) { return c.importing.SetSelector(nullptr); }, kKivResult_StillInUse},
    {"SameReaderCountSelectors",
     [](Callback& c) {
       std::int32_t count = 0;
       return c.importing.CountSelectors(&count);
     },
     kKivResult_StillInUse},
    {"SameReaderGetSelectorInfo",
     [](Callback& c) {
       return ReleasingList([&](IKivPropertyList** list) { return c.importing.GetSelectorInfo(0, nullptr, list); });
     },
     kKivResult_StillInUse},
    {"OtherReaderGetDefaultOptions",
     [](Callback& c) {
       return ReleasingList([&](IKivPropertyList** list) { return c.other->GetDefaultOptions(list); });
     },
     kKivResult_StillInUse},
    {"OtherReaderCheckFile", [](Callback& c) { return c.other->CheckFile("/nonexistent/x.psd", nullptr); },
     kKivResult_StillInUse},
    {"OtherReaderSetSource", [](Callback& c) { return c.other->SetSource(nullptr); }, kKivResult_StillInUse},
    {"ReaderMadeAndReleased",
     [](Callback& c) {
       Ref<IKivReader> made;
       return c.plugin.Create(&c.owner, IID_IKivReader, &made);
     },
     kKivResult_OK},
    {"OtherReaderReleased",
     [](Callback& c) {
       c.other.Reset();
       return kKivResult_OK;
     },
     kKivResult_OK},
};

INSTANTIATE_TEST_SUITE_P(Callbacks, ReentryTest, ::testing::ValuesIn(kReentryCases), CaseName());

}  // namespace
}  // namespace strataread_test
