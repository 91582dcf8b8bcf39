#include <cstdlib>
#include <cstring>

#include "kivhost/memory.h"

namespace kivhost {

Ref<HandleMemory> HandleMemory::Create() { return Ref<HandleMemory>::Share(new HandleMemory()); }

HandleMemory::~HandleMemory() {
  for (auto& [handle, block] : blocks_) std::free(block.bytes);
}

KivHandle KIV_CALL HandleMemory::NewHandle(std::uint32_t size) {
  if (newFaults_.Fails() || liveBytes_ + size > limit_) {
    ++failed_;
    return 0;
  }
  const std::size_t bytes = size == 0 ? 1 : size;
  auto* const memory = static_cast<std::uint8_t*>(std::malloc(bytes));
  if (memory == nullptr) {
    ++failed_;
    return 0;
  }
  if (fill_) std::memset(memory, kFreshByte, bytes);
  const KivHandle handle = next_;
  next_ += 0x10;
  blocks_.emplace(handle, Block{memory, size, 0});
  liveBytes_ += size;
  return handle;
}

KivResult KIV_CALL HandleMemory::FreeHandle(KivHandle handle) {
  ++freeCalls_;
  const auto found = blocks_.find(handle);
  if (found == blocks_.end()) {
    ++badCalls_;
    return kKivResult_BadArgument;
  }
  std::free(found->second.bytes);
  liveBytes_ -= found->second.size;
  blocks_.erase(found);
  return kKivResult_OK;
}

void* KIV_CALL HandleMemory::LockHandle(KivHandle handle) {
  const auto found = blocks_.find(handle);
  if (found == blocks_.end()) {
    ++badCalls_;
    return nullptr;
  }
  if (lockFaults_.Fails()) return nullptr;
  ++found->second.locks;
  return found->second.bytes;
}

KivResult KIV_CALL HandleMemory::UnlockHandle(KivHandle handle) {
  const auto found = blocks_.find(handle);
  if (found == blocks_.end() || found->second.locks == 0) {
    ++badCalls_;
    return kKivResult_BadArgument;
  }
  --found->second.locks;
  return kKivResult_OK;
}

KivResult KIV_CALL HandleMemory::Unused4() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL HandleMemory::Unused6() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}
KivResult KIV_CALL HandleMemory::Unused7() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}

std::size_t HandleMemory::LockedHandles() const {
  std::size_t locked = 0;
  for (const auto& [handle, block] : blocks_) locked += block.locks > 0 ? 1 : 0;
  return locked;
}

std::uint32_t HandleMemory::SizeOf(KivHandle handle) const {
  const auto found = blocks_.find(handle);
  return found == blocks_.end() ? 0 : found->second.size;
}

int HandleMemory::LockCount(KivHandle handle) const {
  const auto found = blocks_.find(handle);
  return found == blocks_.end() ? 0 : found->second.locks;
}

const std::uint8_t* HandleMemory::Peek(KivHandle handle) const {
  const auto found = blocks_.find(handle);
  return found == blocks_.end() ? nullptr : found->second.bytes;
}

}  // namespace kivhost
