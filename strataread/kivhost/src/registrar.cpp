#include "kivhost/property_list.h"

namespace kivhost {

Ref<Registrar> Registrar::Create() { return Ref<Registrar>::Share(new Registrar()); }

KivResult KIV_CALL Registrar::NewEntry(std::uint32_t registration, const KivGuid* clsid, const KivGuid* iid,
                                       IKivPropertyList** out) {
  if (out == nullptr) return kKivResult_BadArgument;
  *out = nullptr;
  if (faults_.Fails()) return faults_.Result();
  if (clsid == nullptr || iid == nullptr) return kKivResult_BadArgument;
  Ref<PropertyList> list = PropertyList::Create();
  for (const auto& [key, result] : failingKeys_) list->FailPutOn(key, result);
  *out = list.get();
  entries_.push_back(RegistrationEntry{registration, *clsid, *iid, std::move(list)});
  return kKivResult_OK;
}

void Registrar::FailPutOn(std::string key, KivResult result) { failingKeys_.emplace_back(std::move(key), result); }

KivResult KIV_CALL Registrar::Unused3() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL Registrar::Unused4() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL Registrar::Unused5() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL Registrar::Unused6() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}

}  // namespace kivhost
