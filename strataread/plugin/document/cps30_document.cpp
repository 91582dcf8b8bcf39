// The document object's life: construction, the host services it keeps,
// the tables it owns, and the readers every section is read with.
#include "cps30_document.h"

#include <cstring>

#include "big_endian.h"

namespace strataread {

IKivByteStream* DocumentStream = nullptr;

KivResult ReadFully(IKivByteStream* stream, void* buffer, std::uint32_t count) {
  if (stream == nullptr) return kKivResult_ReadFailed;
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::uint32_t done = 0;
  while (done < count) {
    std::uint32_t delivered = 0;
    const std::uint32_t wanted = count - done;
    const KivResult result = stream->Read(bytes + done, wanted, &delivered);
    if (result != kKivResult_OK) return result;
    // A stream that delivers nothing before the count is met has ended.
    if (delivered == 0) return kKivResult_ReadFailed;
    done += delivered < wanted ? delivered : wanted;
  }
  return kKivResult_OK;
}

KivResult ReadBigEndian16(IKivByteStream* stream, std::uint16_t* target) {
  std::uint8_t bytes[2];
  const KivResult result = ReadFully(stream, bytes, sizeof bytes);
  if (result != kKivResult_OK) return result;
  *target = BigEndian16At(bytes);
  return kKivResult_OK;
}

KivResult ReadBigEndian32(IKivByteStream* stream, std::uint32_t* target) {
  std::uint8_t bytes[4];
  const KivResult result = ReadFully(stream, bytes, sizeof bytes);
  if (result != kKivResult_OK) return result;
  *target = BigEndian32At(bytes);
  return kKivResult_OK;
}

CPS30Document::CPS30Document() = default;

CPS30Document::~CPS30Document() {
  ReleaseLayerTable();
  if (handleMemory != nullptr) {
    ReleaseColorTable();
    handleMemory->Release();
    handleMemory = nullptr;
  }
}

KivResult CPS30Document::AttachServices(IKivHandleMemory* handles, IKivAllocator* allocator,
                                        IKivHostServices* hostServices) {
  if (handles != nullptr) handles->AddRef();
  if (handleMemory != nullptr) {
    // A table is given back to the memory it came from.
    if (handleMemory != handles) ReleaseColorTable();
    handleMemory->Release();
  }
  handleMemory = handles;
  if (allocator != memory) ReleaseLayerTable();
  memory = allocator;
  services = hostServices;
  return kKivResult_OK;
}

KivResult CPS30Document::MakeColorTable() {
  ReleaseColorTable();
  if (handleMemory == nullptr) return kKivResult_OutOfMemory;
  const KivHandle handle = handleMemory->NewHandle(kColorTableBytes);
  if (handle == 0) return kKivResult_OutOfMemory;
  void* address = handleMemory->LockHandle(handle);
  if (address == nullptr) {
    handleMemory->FreeHandle(handle);
    return kKivResult_OutOfMemory;
  }
  std::memset(address, 0, kColorTableBytes);
  colorTableHandle = handle;
  colorTable = static_cast<std::uint8_t*>(address);
  return kKivResult_OK;
}

void CPS30Document::ReleaseColorTable() {
  const KivHandle handle = colorTableHandle;
  colorTableHandle = 0;
  colorTable = nullptr;
  if (handle != 0 && handleMemory != nullptr) handleMemory->FreeHandle(handle);
}

void CPS30Document::ReleaseLayerTable() {
  LayerRecord* table = layers;
  layers = nullptr;
  layerCount = 0;
  if (table != nullptr && memory != nullptr) memory->Free(table);
}

}  // namespace strataread
