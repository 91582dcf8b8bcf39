#include "kivhost/import.h"

#include <algorithm>
#include <cstring>

namespace kivhost {
namespace {

bool IsEntryOf(const RegistrationEntry& entry, const KivGuid& iid) {
  return KivSameId(entry.classId, CLSID_CPS30Agent) && KivSameId(entry.interfaceId, iid) && entry.list;
}

bool AgentNamesFormat(const RegistrationEntry& entry) {
  const PropertyEntry* const format = entry.list->Find("Format");
  return format != nullptr && format->type == kKivType_String && format->Text() == kPs30FormatName;
}

bool ReaderUnderstandsImages(const RegistrationEntry& entry) {
  const PropertyEntry* const receptors = entry.list->Find("UnderstoodReceptors");
  if (receptors == nullptr || receptors->type != kKivType_Bytes) return false;
  // The value is a sequence of ids; any of them may be the image receptor.
  for (std::size_t at = 0; at + sizeof(KivGuid) <= receptors->value.size(); at += sizeof(KivGuid)) {
    KivGuid id;
    std::memcpy(&id, receptors->value.data() + at, sizeof id);
    if (KivSameId(id, IID_IKivImageReceptor)) return true;
  }
  return false;
}

}  // namespace

KivResult Importer::Open(const std::string& pluginPath, std::unique_ptr<Importer>* out, std::string* detail,
                         Ref<Owner> owner) {
  out->reset();
  std::unique_ptr<Importer> importer(new Importer());
  std::string why;
  importer->plugin_ = Plugin::Load(pluginPath, &why);
  if (!importer->plugin_) {
    if (detail != nullptr) *detail = why;
    return kKivResult_NoSuchClass;
  }
  importer->owner_ = owner ? std::move(owner) : Owner::Create();
  importer->registrar_ = Registrar::Create();
  if (const KivResult registered = importer->Register(); registered != kKivResult_OK) return registered;
  const KivResult made = importer->plugin_->Create(importer->owner_.get(), IID_IKivReader, &importer->reader_);
  if (made != kKivResult_OK) return made;
  if (!importer->reader_) return kKivResult_NoSuchInterface;
  *out = std::move(importer);
  return kKivResult_OK;
}

Importer::~Importer() = default;

KivResult Importer::Register() {
  Ref<IKivRegister> registering;
  const KivResult made = plugin_->Create(owner_.get(), IID_IKivRegister, &registering);
  if (made != kKivResult_OK) return made;
  if (!registering) return kKivResult_NoSuchInterface;
  const KivResult registered = registering->Register(registrar_.get(), kRegistrationHandle);
  if (registered != kKivResult_OK) return registered;
  const auto& entries = registrar_->Entries();
  const bool agent = std::any_of(entries.begin(), entries.end(), [](const RegistrationEntry& entry) {
    return IsEntryOf(entry, IID_IKivAgent) && AgentNamesFormat(entry);
  });
  const bool reader = std::any_of(entries.begin(), entries.end(), [](const RegistrationEntry& entry) {
    return IsEntryOf(entry, IID_IKivReader) && ReaderUnderstandsImages(entry);
  });
  return agent && reader ? kKivResult_OK : kKivResult_NoSuchInterface;
}

KivResult Importer::SetSource(Ref<Source> source) { return reader_->SetSource(source.get()); }

KivResult Importer::CheckFile(const std::string& path) { return reader_->CheckFile(path.c_str(), nullptr); }

KivResult Importer::TakeList(KivResult result, IKivPropertyList* handed, Ref<PropertyList>* out) {
  // The reference the reader handed over is ours to release in every case.
  Ref<IKivPropertyList> held = Ref<IKivPropertyList>::Adopt(handed);
  *out = nullptr;
  if (result != kKivResult_OK || !held) return result;
  // Lists the reader hands out come from this host's list maker; anything
  // else is not a list this host can read.
  for (const Ref<PropertyList>& made : owner_->Services().Lists().Made()) {
    if (static_cast<IKivPropertyList*>(made.get()) == handed) {
      *out = made;
      return kKivResult_OK;
    }
  }
  return kKivResult_NoSuchInterface;
}

KivResult Importer::DocumentOptions(Ref<PropertyList>* out) {
  IKivPropertyList* handed = nullptr;
  const KivResult result = reader_->GetDefaultOptions(&handed);
  return TakeList(result, handed, out);
}

KivResult Importer::CountLayers(std::int32_t* count) {
  *count = 0;
  return reader_->CountSelectors(count);
}

KivResult Importer::LayerOptions(std::int32_t index, Ref<PropertyList>* out) {
  IKivPropertyList* handed = nullptr;
  const KivResult result = reader_->GetSelectorInfo(index, nullptr, &handed);
  return TakeList(result, handed, out);
}

KivResult Importer::SelectMerged() { return reader_->SetSelector(nullptr); }

KivResult Importer::SelectLayer(std::int32_t index) {
  Ref<PropertyList> selector = PropertyList::Create();
  selector->PutInt32(kLayerIndexKey, index);
  return reader_->SetSelector(selector.get());
}

KivResult Importer::ReadImage(ImageReceptor& receptor) {
  std::int32_t count = 0;
  if (const KivResult counted = reader_->CountReceptors(&count); counted != kKivResult_OK) return counted;
  // A reader names a handful of receptors; a count beyond that is not
  // walked to its end.
  constexpr std::int32_t kMaxReceptors = 64;
  bool understood = false;
  for (std::int32_t index = 0; index < std::min(count, kMaxReceptors) && !understood; ++index) {
    KivGuid id = kKivNullId;
    if (const KivResult got = reader_->GetReceptorId(index, &id); got != kKivResult_OK) return got;
    understood = KivSameId(id, IID_IKivImageReceptor);
  }
  if (!understood) return kKivResult_NoSuchInterface;
  return reader_->ReadImage(&receptor, &IID_IKivImageReceptor);
}

}  // namespace kivhost
