// The document stream over the import source: made by the host's stream
// maker for the format the host's format table names, opened for reading,
// and closed by the same operation before it returns.
#include "cps30_reader.h"
#include "reader_utilities.h"

namespace strataread {
namespace {

constexpr char kFormatName[] = "kKivCfFormat_PS30";

KivStreamAccess PresetAccess() {
  KivStreamAccess access{};
  access.formatId = 0;
  access.values[0] = 0;
  access.values[1] = 1;
  access.values[2] = -1;
  access.values[3] = 2147483647;
  return access;
}

}  // namespace

void CloseDocumentStream() {
  IKivByteStream* const stream = DocumentStream;
  if (stream == nullptr) return;
  stream->Close();
  DocumentStream = nullptr;
  stream->Release();
}

KivResult CPS30Agent_IKivReader::OpenDocumentStream() {
  if (source == nullptr) return kKivResult_OutOfMemory;
  IKivStreamMaker* maker = nullptr;
  IKivFormatTable* formats = nullptr;
  KivResult result = CreateUtility(owner, IID_IKivStreamMaker, &maker);
  if (result == kKivResult_OK) result = CreateUtility(owner, IID_IKivFormatTable, &formats);
  KivStreamAccess access = PresetAccess();
  if (result == kKivResult_OK) result = formats->LookUpFormat(kFormatName, &access);
  if (result == kKivResult_OK) result = maker->MakeSourceStream(source, &access, &DocumentStream);
  if (result == kKivResult_OK && DocumentStream == nullptr) result = kKivResult_OutOfMemory;
  if (result == kKivResult_OK) result = DocumentStream->Open(0, 1);
  if (formats != nullptr) formats->Release();
  if (maker != nullptr) maker->Release();
  return result;
}

}  // namespace strataread
