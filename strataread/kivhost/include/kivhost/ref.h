#pragma once
// Reference counting for the host's own objects.
//
// Every host object derives from Object<Interface>, lives on the heap, is made
// by a static Create(...) that returns a Ref<T>, and deletes itself when its
// last reference is released. Ref<T> works for any interface of the ABI, so
// objects that come from the plug-in are held the same way.
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "kiv/kiv_abi.h"

namespace kivhost {

// Host objects alive in this process (all kinds). Tests compare it before and
// after a scenario to prove that nothing the host made was leaked.
std::int64_t LiveObjects();

namespace detail {
void CountObject(int delta);
}  // namespace detail

template <class T>
class Ref {
public:
  Ref() = default;
  Ref(std::nullptr_t) {}  // NOLINT: a null reference converts implicitly

  // Takes over a reference the caller already holds (an out-pointer's).
  static Ref Adopt(T* object) {
    Ref ref;
    ref.object_ = object;
    return ref;
  }
  // Adds a reference of its own.
  static Ref Share(T* object) {
    if (object != nullptr) object->AddRef();
    return Adopt(object);
  }

  Ref(const Ref& other) : object_(other.object_) {
    if (object_ != nullptr) object_->AddRef();
  }
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) : object_(other.get()) {  // NOLINT: upcast
    if (object_ != nullptr) object_->AddRef();
  }
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(Ref<U>&& other) noexcept : object_(other.Detach()) {}  // NOLINT: upcast

  // The new object gains its reference before the old one loses its own, so
  // assigning a reference to the object it already holds keeps that alive.
  Ref& operator=(const Ref& other) {
    T* const old = object_;
    if (other.object_ != nullptr) other.object_->AddRef();
    object_ = other.object_;
    if (old != nullptr) old->Release();
    return *this;
  }
  Ref& operator=(Ref&& other) noexcept {
    if (this != &other) {
      T* const old = std::exchange(object_, std::exchange(other.object_, nullptr));
      if (old != nullptr) old->Release();
    }
    return *this;
  }
  Ref& operator=(std::nullptr_t) {
    Reset();
    return *this;
  }
  ~Ref() { Reset(); }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

  void Reset() {
    if (T* const old = std::exchange(object_, nullptr)) old->Release();
  }
  // Gives the reference up without releasing it.
  T* Detach() { return std::exchange(object_, nullptr); }
  // For an out-pointer argument: releases what is held and returns the slot.
  T** Put() {
    Reset();
    return &object_;
  }
  void** PutVoid() {
    Reset();
    return reinterpret_cast<void**>(&object_);
  }

private:
  T* object_ = nullptr;
};

// Base of every host object. QueryInterface answers what InterfaceFor gives
// (nothing by default); the count starts at 0 and Create's Ref takes the
// first one.
template <class Interface>
class Object : public Interface {
public:
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  KivResult KIV_CALL QueryInterface(const KivGuid* iid, void** out) override {
    if (out == nullptr) return kKivResult_BadArgument;
    *out = nullptr;
    if (iid == nullptr) return kKivResult_BadArgument;
    IKivUnknown* const found = InterfaceFor(*iid);
    if (found == nullptr) return kKivResult_NoSuchInterface;
    found->AddRef();
    *out = found;
    return kKivResult_OK;
  }
  std::int32_t KIV_CALL AddRef() override { return ++references_; }
  std::int32_t KIV_CALL Release() override {
    const std::int32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

  std::int32_t References() const { return references_; }

protected:
  Object() { detail::CountObject(+1); }
  // Virtual here, below the interface, so its slots follow the interface's.
  virtual ~Object() { detail::CountObject(-1); }

  // The interface that answers iid, or null.
  virtual IKivUnknown* InterfaceFor(const KivGuid& iid) {
    (void)iid;
    return nullptr;
  }

private:
  std::int32_t references_ = 0;
};

}  // namespace kivhost
