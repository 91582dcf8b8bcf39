#include "kivhost/owner.h"

namespace kivhost {

Ref<Owner> Owner::Create() { return Create(HostServices::Create(), Allocator::Create()); }

Ref<Owner> Owner::Create(Ref<HostServices> hostServices, Ref<Allocator> hostAllocator) {
  return Ref<Owner>::Share(new Owner(std::move(hostServices), std::move(hostAllocator)));
}

Owner::Owner(Ref<HostServices> hostServices, Ref<Allocator> hostAllocator)
    : services_(std::move(hostServices)), allocator_(std::move(hostAllocator)) {
  unused = 0;
  services = services_.get();
  allocator = allocator_.get();
}

KivResult KIV_CALL Owner::QueryInterface(const KivGuid* iid, void** out) {
  ++queryCalls_;
  if (iid != nullptr) lastQueried_ = *iid;
  if (out == nullptr) return kKivResult_BadArgument;
  *out = nullptr;
  return kKivResult_NoSuchInterface;
}

}  // namespace kivhost
