#include "import_driver.h"

#include <memory>
#include <optional>
#include <utility>

#include "kivhost/import.h"
#include "kivhost/kivhost.h"
#include "kivhost/receptor.h"

namespace strataread_fuzz {
namespace {

using kivhost::ImageReceptor;
using kivhost::Importer;
using kivhost::Owner;
using kivhost::Ref;

constexpr std::uint32_t kChunks[4] = {0, 1, 7, 512};

void Fault(ImportOutcome& outcome, std::string what) { outcome.faults.push_back(std::move(what)); }

// The host's memory limits and the receptor's conduct, before the plug-in
// is loaded.
void PrepareHost(const HostChoices& choices, Owner& owner, ImageReceptor& receptor) {
  owner.Handles().SetByteLimit(kHostMemoryLimit);
  owner.Memory().SetByteLimit(kHostMemoryLimit);
  const std::uint32_t chunk = kChunks[choices.conduct & 3];
  const std::uint64_t failingRead = (choices.conduct >> 2) & 3;
  owner.Services().Streams().SetStreamSetup([chunk, failingRead](kivhost::ByteStream& stream) {
    stream.SetMaxChunk(chunk);
    stream.ReadFaults().FailNth(failingRead);
  });

  switch (static_cast<ReceptorScript>((choices.conduct >> 4) & 7)) {
    case ReceptorScript::Plain: break;
    case ReceptorScript::IncompleteAtRow1: receptor.FailPutRowAt(1, kKivResult_Incomplete); break;
    case ReceptorScript::FinishIncompleteOnce:
      receptor.SetFinishResults({kKivResult_Incomplete, kKivResult_OK});
      break;
    case ReceptorScript::BeginImageIncomplete: receptor.FailBeginImage(kKivResult_Incomplete); break;
    case ReceptorScript::SetImageInfoFails: receptor.FailSetImageInfo(kKivResult_CorruptFile); break;
    case ReceptorScript::FirstRowFails: receptor.FailPutRowAt(0, kKivResult_ReadFailed); break;
    case ReceptorScript::FinishFails: receptor.SetFinishResults({kKivResult_BadArgument}); break;
    case ReceptorScript::BeginImageFails: receptor.FailBeginImage(kKivResult_BadArgument); break;
  }

  const std::uint8_t layout = choices.layout;
  receptor.SetLayoutChoice([layout](std::span<const std::int32_t> offers,
                                    const ImageInfo&) -> std::optional<std::int32_t> {
    if ((layout & 0x80) != 0) return static_cast<std::int32_t>(layout & 7);
    if (offers.empty()) return std::nullopt;
    return offers[(layout & 0x7F) % offers.size()];
  });
}

// Memory faults count from the reader's first call, so that loading and
// registering always succeed.
void PlanMemoryFaults(const HostChoices& choices, Owner& owner) {
  owner.Handles().NewHandleFaults().FailNth(choices.memory & 0x0F);
  owner.Handles().LockFaults().FailNth((choices.memory >> 4) & 3);
  owner.Memory().Faults().FailNth((choices.memory >> 6) & 3);
}

KivResult Select(Importer& importer, const HostChoices& choices, std::int32_t layers) {
  const std::int32_t known = layers > 0 ? layers : 0;
  const std::int32_t pick = choices.selection % (known + 3);
  if (pick == 0) return importer.SelectMerged();
  if (pick == 1) {
    Ref<kivhost::PropertyList> unrelated = kivhost::PropertyList::Create();
    unrelated->PutInt32("kKivSelectorKey_layerName", 0);
    return importer.Reader()->SetSelector(unrelated.get());
  }
  return importer.SelectLayer(pick == 2 ? known : pick - 3);
}

// Rows as the reader handed them: numbered from 0, each as long as the
// description given to SetImageInfo says, none from a null address.
void CheckRows(const ImageReceptor& receptor, ImportOutcome& outcome) {
  const auto& rows = receptor.Rows();
  outcome.rowsDelivered = rows.size();
  if (rows.empty()) return;
  if (!receptor.Info()) return Fault(outcome, "rows delivered before SetImageInfo");
  const ImageInfo& info = *receptor.Info();
  if (rows.size() > info.height) Fault(outcome, "more rows than the image's height");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const kivhost::ReceivedRow& row = rows[i];
    if (row.row != static_cast<std::int32_t>(i)) return Fault(outcome, "rows out of order");
    if (row.nullAddress || row.length != info.rowBytes) return Fault(outcome, "a row of the wrong length");
  }
}

// What the plug-in owes the host once the reader is gone.
void CheckNothingHeld(Owner& owner, ImportOutcome& outcome) {
  if (owner.Handles().LiveHandles() != 0) Fault(outcome, "handle memory not given back");
  if (owner.Handles().BadCalls() != 0) Fault(outcome, "handle memory misused (bad handle)");
  if (owner.Memory().LiveAllocations() != 0) Fault(outcome, "allocator memory not given back");
  if (owner.Memory().BadFrees() != 0) Fault(outcome, "allocator memory freed wrongly");
  for (const auto& stream : owner.Services().Streams().Made()) {
    if (stream->IsOpen()) Fault(outcome, "a stream left open");
    if (stream->References() != 1) Fault(outcome, "a stream not released");
    if (stream->MisuseCalls() != 0) Fault(outcome, "a stream used while closed");
  }
  for (const auto& list : owner.Services().Lists().Made()) {
    if (list->References() != 1) Fault(outcome, "a property list not released");
  }
  if (owner.References() != 1) Fault(outcome, "the owner not released");
}

}  // namespace

HostChoices ChoicesFrom(std::span<const std::uint8_t> input) {
  HostChoices choices;
  const std::size_t n = input.size();
  if (n >= 1) choices.selection = input[n - 1];
  if (n >= 2) choices.layout = input[n - 2];
  if (n >= 3) choices.memory = input[n - 3];
  if (n >= 4) choices.conduct = input[n - 4];
  return choices;
}

ImportOutcome ImportDocument(const std::string& pluginPath, std::span<const std::uint8_t> input) {
  ImportOutcome outcome;
  const std::int64_t objectsBefore = kivhost::LiveObjects();
  const HostChoices choices = ChoicesFrom(input);
  {
    Ref<Owner> owner = Owner::Create();
    Ref<ImageReceptor> receptor = ImageReceptor::Create();
    PrepareHost(choices, *owner, *receptor);
    {
      std::unique_ptr<Importer> importer;
      std::string detail;
      outcome.open = Importer::Open(pluginPath, &importer, &detail, owner);
      if (outcome.open != kKivResult_OK) {
        Fault(outcome, "cannot open the plug-in: " + detail);
        return outcome;
      }
      PlanMemoryFaults(choices, *owner);
      outcome.setSource = importer->SetSourceBytes(std::vector<std::uint8_t>(input.begin(), input.end()));
      IKivReader& reader = *importer->Reader();
      reader.SetOptions(nullptr);
      IKivPropertyList* options = nullptr;
      if (reader.GetOptions(&options) == kKivResult_OK && options != nullptr) options->Release();
      Ref<kivhost::PropertyList> list;
      importer->DocumentOptions(&list);
      list = nullptr;
      importer->CountLayers(&outcome.layers);
      for (std::int32_t i = 0; i < outcome.layers; ++i) {
        importer->LayerOptions(i, &list);
        list = nullptr;
      }
      outcome.select = Select(*importer, choices, outcome.layers);
      outcome.readImage = importer->ReadImage(*receptor);
    }
    CheckRows(*receptor, outcome);
    receptor = nullptr;
    CheckNothingHeld(*owner, outcome);
  }
  if (kivhost::LiveObjects() != objectsBefore) Fault(outcome, "host objects left alive");
  return outcome;
}

}  // namespace strataread_fuzz
