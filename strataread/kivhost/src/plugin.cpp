#include "kivhost/plugin.h"

#include <cstring>

#include "library_loader.h"

namespace kivhost {
namespace {

template <class Function>
bool Resolve(void* library, const char* name, Function* function, std::string* error) {
  void* const address = detail::FindExport(library, name);
  if (address == nullptr) {
    *error = std::string("export missing: ") + name;
    return false;
  }
  static_assert(sizeof *function == sizeof address);
  std::memcpy(function, &address, sizeof *function);
  return true;
}

}  // namespace

std::unique_ptr<Plugin> Plugin::Load(const std::string& path, std::string* error) {
  std::string why;
  std::unique_ptr<Plugin> plugin(new Plugin());
  plugin->path_ = path;
  plugin->library_ = detail::OpenSharedLibrary(path, &why);
  const bool complete =
      plugin->library_ != nullptr && Resolve(plugin->library_, "DllGetClassForm", &plugin->getClassForm_, &why) &&
      Resolve(plugin->library_, "DllGetClassInfo", &plugin->getClassInfo_, &why) &&
      Resolve(plugin->library_, "DllGetInterface", &plugin->getInterface_, &why) &&
      Resolve(plugin->library_, "DllGetClassObject", &plugin->getClassObject_, &why) &&
      Resolve(plugin->library_, "DllCanUnloadNow", &plugin->canUnloadNow_, &why);
  if (!complete) {
    if (plugin->library_ != nullptr) detail::CloseSharedLibrary(plugin->library_);
    plugin->library_ = nullptr;
    plugin->canUnloadNow_ = nullptr;
    if (error != nullptr) *error = why;
    return nullptr;
  }
  return plugin;
}

Plugin::~Plugin() {
  if (library_ != nullptr && canUnloadNow_() == kKivResult_OK) detail::CloseSharedLibrary(library_);
}

KivResult Plugin::GetClassForm(const KivGuid* clsid, std::uint32_t* instanceSize, KivClassInitializer* initializer,
                               KivClassFinalizer* finalizer) const {
  return getClassForm_(clsid, instanceSize, initializer, finalizer);
}

KivResult Plugin::GetClassInfo(IKivAllocator* allocator, ClassTableRow** table) const {
  return getClassInfo_(allocator, table);
}

KivResult Plugin::GetInterface(KivOwner* owner, const KivGuid* clsid, const KivGuid* iid, void** object) const {
  return getInterface_(owner, clsid, iid, object);
}

KivResult Plugin::GetClassObject(const void* a, const void* b, void** c) const { return getClassObject_(a, b, c); }

KivResult Plugin::CanUnloadNow() const { return canUnloadNow_(); }

}  // namespace kivhost
