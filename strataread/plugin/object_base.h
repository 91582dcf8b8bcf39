#pragma once
// What every plug-in object shares: memory from the owner's allocator, and a
// reference count mirrored onto the owner. The owner holds one reference for
// the object's existence and one for each reference on the object.
//
// A class derives from PluginObject<Class, Interface>, has a constructor
// taking the owner, a KivResult Construct() for the construction that can
// report a result, and a destructor that is its tear-down.
#include <cstdint>
#include <new>

#include "kiv/kiv_abi.h"

namespace strataread {

// Live plug-in objects of all classes; DllCanUnloadNow answers from it.
extern std::int32_t InstanceCount;

// Alloc through allocator; when it fails, the C++ run time's new-handler (if
// one is installed) gets the chance to free memory and the request is made
// again. Null when the allocation cannot succeed. Never throws.
void* AllocWithRetry(std::uint32_t size, IKivAllocator* allocator) noexcept;

template <class Class, class Interface>
class PluginObject : public Interface {
public:
  using InterfaceType = Interface;

  PluginObject(const PluginObject&) = delete;
  PluginObject& operator=(const PluginObject&) = delete;

  // The objects answer no interface themselves: the owner does.
  KivResult KIV_CALL QueryInterface(const KivGuid* iid, void** out) override {
    return owner->QueryInterface(iid, out);
  }

  std::int32_t KIV_CALL AddRef() override {
    owner->AddRef();
    return ++refCount;
  }

  std::int32_t KIV_CALL Release() override {
    // The tear-down frees this object: only copies are used after it.
    KivOwner* const heldOwner = owner;
    const std::int32_t left = --refCount;
    if (left == 0) {
      IKivAllocator* const memory = heldOwner->allocator;
      Class* const self = static_cast<Class*>(this);
      self->~Class();
      memory->Free(self);
      --InstanceCount;
      heldOwner->Release();
    }
    heldOwner->Release();
    return left;
  }

protected:
  explicit PluginObject(KivOwner* objectOwner) : owner(objectOwner), refCount(1) {
    owner->AddRef();
    owner->AddRef();
    ++InstanceCount;
  }
  ~PluginObject() = default;

  KivOwner* owner;
  std::int32_t refCount;
};

// The creation function of Class: a new object with one reference in
// *object, or null and the failure.
template <class Class>
KivResult CreatePluginObject(KivOwner* owner, void** object) {
  if (object == nullptr) return kKivResult_BadArgument;
  *object = nullptr;
  if (owner == nullptr || owner->allocator == nullptr) return kKivResult_BadArgument;
  void* const memory = AllocWithRetry(static_cast<std::uint32_t>(sizeof(Class)), owner->allocator);
  if (memory == nullptr) return kKivResult_OutOfMemory;
  // An address unfit for the object cannot hold it.
  if (reinterpret_cast<std::uintptr_t>(memory) % alignof(Class) != 0) {
    owner->allocator->Free(memory);
    return kKivResult_OutOfMemory;
  }
  Class* const created = new (memory) Class(owner);
  const KivResult result = created->Construct();
  if (result != kKivResult_OK) {
    created->Release();
    return result;
  }
  *object = static_cast<typename Class::InterfaceType*>(created);
  return kKivResult_OK;
}

// Replaces a counted reference kept in a field. The new object gains its
// reference before the old one loses its own, so passing the object the
// field already holds keeps it alive.
template <class T>
void ReplaceCounted(T*& field, T* value) {
  if (value != nullptr) value->AddRef();
  T* const old = field;
  field = value;
  if (old != nullptr) old->Release();
}

// Releases a counted reference kept in a field and clears the field.
template <class T>
void ReleaseCounted(T*& field) {
  T* const old = field;
  field = nullptr;
  if (old != nullptr) old->Release();
}

}  // namespace strataread
