#include "kivhost/host_services.h"

namespace kivhost {

Ref<HostServices> HostServices::Create() { return Create(HandleMemory::Create()); }

Ref<HostServices> HostServices::Create(Ref<HandleMemory> handles) {
  return Ref<HostServices>::Share(new HostServices(std::move(handles)));
}

HostServices::HostServices(Ref<HandleMemory> handles)
    : handles_(std::move(handles)),
      formats_(FormatTable::Create()),
      streams_(StreamMaker::Create(formats_)),
      lists_(PropertyListMaker::Create()) {}

FaultPlan& HostServices::Faults(Utility which) { return faults_[static_cast<int>(which)]; }

KivResult KIV_CALL HostServices::QueryInterface(const KivGuid* iid, void** out) {
  if (out == nullptr) return kKivResult_BadArgument;
  *out = nullptr;
  if (iid == nullptr) return kKivResult_BadArgument;
  if (KivSameId(*iid, IID_IKivHandleMemory)) return Hand(Utility::HandleMemory, handles_.get(), out);
  return kKivResult_NoSuchInterface;
}

KivResult KIV_CALL HostServices::CreateInstance(const KivGuid* clsid, const KivGuid* iid, void** out) {
  ++createCalls_;
  if (out == nullptr) return kKivResult_BadArgument;
  *out = nullptr;
  if (clsid == nullptr || iid == nullptr) return kKivResult_BadArgument;
  if (!KivSameId(*clsid, CLSID_KivHostUtilities)) return kKivResult_NoSuchClass;
  if (KivSameId(*iid, IID_IKivStreamMaker)) return Hand(Utility::StreamMaker, streams_.get(), out);
  if (KivSameId(*iid, IID_IKivFormatTable)) return Hand(Utility::FormatTable, formats_.get(), out);
  if (KivSameId(*iid, IID_IKivPropertyListMaker)) return Hand(Utility::PropertyListMaker, lists_.get(), out);
  return kKivResult_NoSuchInterface;
}

KivResult HostServices::Hand(Utility which, IKivUnknown* object, void** out) {
  FaultPlan& plan = Faults(which);
  if (plan.Fails()) return plan.Result();
  object->AddRef();
  *out = object;
  return kKivResult_OK;
}

}  // namespace kivhost
