#pragma once
// The host utilities the reader asks its owner's services for.
#include "kiv/kiv_abi.h"

namespace strataread {

// A new object of the host utilities class answering iid, in *out with one
// reference. The host's own failure is passed on; a host that answers
// success without an object, or an owner without services, gives
// kKivResult_OutOfMemory. *out is null after every failure.
template <class Interface>
KivResult CreateUtility(KivOwner* owner, const KivGuid& iid, Interface** out) {
  *out = nullptr;
  if (owner == nullptr || owner->services == nullptr) return kKivResult_OutOfMemory;
  void* object = nullptr;
  const KivResult result = owner->services->CreateInstance(&CLSID_KivHostUtilities, &iid, &object);
  if (result != kKivResult_OK) {
    // What a failing host left behind is not ours to use or release.
    return result;
  }
  if (object == nullptr) return kKivResult_OutOfMemory;
  *out = static_cast<Interface*>(object);
  return kKivResult_OK;
}

}  // namespace strataread
