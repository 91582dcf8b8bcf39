#include "kivhost/property_list.h"

namespace kivhost {

Ref<PropertyListMaker> PropertyListMaker::Create() {
  return Ref<PropertyListMaker>::Share(new PropertyListMaker());
}

KivResult KIV_CALL PropertyListMaker::NewPropertyList(IKivPropertyList** out) {
  if (out == nullptr) return kKivResult_BadArgument;
  *out = nullptr;
  if (faults_.Fails()) return faults_.Result();
  if (giveNone_) return kKivResult_OK;
  Ref<PropertyList> list = PropertyList::Create();
  for (const auto& [key, result] : failingKeys_) list->FailPutOn(key, result);
  made_.push_back(list);
  *out = list.Detach();
  return kKivResult_OK;
}

void PropertyListMaker::FailPutOn(std::string key, KivResult result) {
  failingKeys_.emplace_back(std::move(key), result);
}

}  // namespace kivhost
