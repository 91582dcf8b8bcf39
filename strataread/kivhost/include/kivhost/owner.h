#pragma once
// The host object every plug-in object is created for. It holds the services
// and the allocator that the plug-in reaches through KivOwner's fields.
#include <cstdint>

#include "kivhost/host_services.h"
#include "kivhost/memory.h"
#include "kivhost/ref.h"

namespace kivhost {

class Owner final : public Object<KivOwner> {
public:
  static Ref<Owner> Create();  // new services, handle memory and allocator
  static Ref<Owner> Create(Ref<HostServices> hostServices, Ref<Allocator> hostAllocator);

  // The plug-in's objects forward QueryInterface here. This owner answers no
  // interface (kKivResult_NoSuchInterface, *out null) and counts the calls.
  KivResult KIV_CALL QueryInterface(const KivGuid* iid, void** out) override;

  HostServices& Services() { return *services_; }
  Allocator& Memory() { return *allocator_; }
  HandleMemory& Handles() { return services_->Handles(); }
  std::uint64_t QueryCalls() const { return queryCalls_; }
  KivGuid LastQueriedId() const { return lastQueried_; }

private:
  Owner(Ref<HostServices> hostServices, Ref<Allocator> hostAllocator);

  Ref<HostServices> services_;
  Ref<Allocator> allocator_;
  std::uint64_t queryCalls_ = 0;
  KivGuid lastQueried_ = kKivNullId;
};

}  // namespace kivhost
