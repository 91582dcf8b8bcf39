#pragma once
// A plug-in library loaded by path, questioned through its five exports.
#include <memory>
#include <string>

#include "kivhost/ref.h"

namespace kivhost {

class Plugin {
public:
  // Null with *error set (when error is not null) if the library cannot be
  // loaded or lacks one of the five exports.
  static std::unique_ptr<Plugin> Load(const std::string& path, std::string* error);

  // Unloads the library only when DllCanUnloadNow answers 0: objects still
  // alive keep their code.
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // The exports, called as they are (null arguments pass through).
  KivResult GetClassForm(const KivGuid* clsid, std::uint32_t* instanceSize,
                         KivClassInitializer* initializer, KivClassFinalizer* finalizer) const;
  KivResult GetClassInfo(IKivAllocator* allocator, ClassTableRow** table) const;
  KivResult GetInterface(KivOwner* owner, const KivGuid* clsid, const KivGuid* iid, void** object) const;
  KivResult GetClassObject(const void* a, const void* b, void** c) const;
  KivResult CanUnloadNow() const;

  // Has an object of class clsid created for owner and answers its interface
  // iid (which must be the one of I) in *out.
  template <class I>
  KivResult Create(KivOwner* owner, const KivGuid& iid, Ref<I>* out,
                   const KivGuid* clsid = &CLSID_CPS30Agent) const {
    void* object = nullptr;
    const KivResult result = GetInterface(owner, clsid, &iid, &object);
    *out = Ref<I>::Adopt(result == kKivResult_OK ? static_cast<I*>(object) : nullptr);
    return result;
  }

  const std::string& Path() const { return path_; }

private:
  Plugin() = default;

  std::string path_;
  void* library_ = nullptr;
  DllGetClassFormFn getClassForm_ = nullptr;
  DllGetClassInfoFn getClassInfo_ = nullptr;
  DllGetInterfaceFn getInterface_ = nullptr;
  DllGetClassObjectFn getClassObject_ = nullptr;
  DllCanUnloadNowFn canUnloadNow_ = nullptr;
};

}  // namespace kivhost
