#include "kivhost/host_services.h"

namespace kivhost {

Ref<Source> Source::FromBytes(std::vector<std::uint8_t> bytes) {
  Ref<Source> source = Ref<Source>::Share(new Source());
  source->bytes_ = std::move(bytes);
  return source;
}

Ref<Source> Source::FromFile(std::string path) {
  Ref<Source> source = Ref<Source>::Share(new Source());
  source->isFile_ = true;
  source->path_ = std::move(path);
  return source;
}

Ref<ByteStream> Source::MakeStream() const {
  if (isFile_) return FileStream::Create(path_);
  return MemoryStream::Create(bytes_);
}

IKivUnknown* Source::InterfaceFor(const KivGuid& iid) { return KivSameId(iid, IID_KivHostSource) ? this : nullptr; }

}  // namespace kivhost
