#include "kivhost/host_services.h"

namespace kivhost {

Ref<StreamMaker> StreamMaker::Create(Ref<FormatTable> formats) {
  return Ref<StreamMaker>::Share(new StreamMaker(std::move(formats)));
}

KivResult KIV_CALL StreamMaker::MakeSourceStream(IKivUnknown* source, KivStreamAccess* access,
                                                 IKivByteStream** out) {
  if (out == nullptr) return kKivResult_BadArgument;
  *out = nullptr;
  if (access != nullptr) lastAccess_ = *access;
  if (sourceFaults_.Fails()) return sourceFaults_.Result();
  if (source == nullptr || access == nullptr || !formats_->Knows(access->formatId)) {
    return kKivResult_BadArgument;
  }
  void* ours = nullptr;
  if (source->QueryInterface(&IID_KivHostSource, &ours) != kKivResult_OK || ours == nullptr) {
    return kKivResult_BadArgument;
  }
  const Ref<Source> known = Ref<Source>::Adopt(static_cast<Source*>(static_cast<IKivUnknown*>(ours)));
  return Hand(known->MakeStream(), out);
}

KivResult KIV_CALL StreamMaker::MakeFileStream(const void* fileReference, IKivByteStream** out) {
  if (out == nullptr) return kKivResult_BadArgument;
  *out = nullptr;
  if (fileFaults_.Fails()) return fileFaults_.Result();
  if (fileReference == nullptr) return kKivResult_BadArgument;
  return Hand(FileStream::Create(static_cast<const char*>(fileReference)), out);
}

KivResult StreamMaker::Hand(Ref<ByteStream> stream, IKivByteStream** out) {
  if (setup_) setup_(*stream);
  made_.push_back(stream);
  *out = stream.Detach();
  return kKivResult_OK;
}

KivResult KIV_CALL StreamMaker::Unused3() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL StreamMaker::Unused4() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL StreamMaker::Unused5() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL StreamMaker::Unused6() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL StreamMaker::Unused7() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL StreamMaker::Unused8() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}

}  // namespace kivhost
