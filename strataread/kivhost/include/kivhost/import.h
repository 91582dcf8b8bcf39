#pragma once
// One import the way a host runs it: the plug-in loaded by path and
// registered, a reader made for a host owner, the source set, the document
// and layer lists read, the merged image or a layer selected, and the image
// read into a receptor. Every step answers a result code; nothing throws
// across the plug-in, and everything the host holds is released when the
// Importer dies (the reader first, the library last).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kivhost/owner.h"
#include "kivhost/plugin.h"
#include "kivhost/property_list.h"
#include "kivhost/receptor.h"
#include "kivhost/ref.h"

namespace kivhost {

inline constexpr char kLayerIndexKey[] = "kKivSelectorKey_layerIndex";
inline constexpr char kPs30FormatName[] = "kKivCfFormat_PS30";
// The registration handle this host passes to Register.
inline constexpr std::uint32_t kRegistrationHandle = 1;

class Importer {
public:
  // Loads the plug-in, registers it and makes a reader for owner (a new one
  // when null). A library that cannot be loaded answers
  // kKivResult_NoSuchClass with the loader's reason in *detail (which no
  // other failure writes); a
  // registration without a PS30 agent entry and a reader entry that
  // understands the image receptor answers kKivResult_NoSuchInterface.
  static KivResult Open(const std::string& pluginPath, std::unique_ptr<Importer>* out, std::string* detail,
                        Ref<Owner> owner = nullptr);

  ~Importer();
  Importer(const Importer&) = delete;
  Importer& operator=(const Importer&) = delete;

  KivResult SetSource(Ref<Source> source);  // null passes through
  KivResult SetSourceFile(const std::string& path) { return SetSource(Source::FromFile(path)); }
  KivResult SetSourceBytes(std::vector<std::uint8_t> bytes) { return SetSource(Source::FromBytes(std::move(bytes))); }
  KivResult CheckFile(const std::string& path);

  // The document list (guides) and one layer's list. *out is null unless
  // the result is 0 and the reader handed out a list.
  KivResult DocumentOptions(Ref<PropertyList>* out);
  KivResult CountLayers(std::int32_t* count);
  KivResult LayerOptions(std::int32_t index, Ref<PropertyList>* out);

  KivResult SelectMerged();
  KivResult SelectLayer(std::int32_t index);

  // Asks the reader for its receptor ids first and reads only when it
  // names the image receptor (otherwise kKivResult_NoSuchInterface).
  KivResult ReadImage(ImageReceptor& receptor);

  IKivReader* Reader() const { return reader_.get(); }
  Owner& Host() const { return *owner_; }
  const Registrar& Registrations() const { return *registrar_; }
  const Plugin& Library() const { return *plugin_; }

private:
  Importer() = default;
  KivResult Register();
  KivResult TakeList(KivResult result, IKivPropertyList* handed, Ref<PropertyList>* out);

  // Declared in the order they are made, so that they die in reverse: the
  // reader before the host objects it holds, the library last of all.
  std::unique_ptr<Plugin> plugin_;
  Ref<Owner> owner_;
  Ref<Registrar> registrar_;
  Ref<IKivReader> reader_;
};

}  // namespace kivhost
