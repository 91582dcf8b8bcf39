#include <cstdlib>
#include <cstring>

#include "kivhost/memory.h"

namespace kivhost {

Ref<Allocator> Allocator::Create() { return Ref<Allocator>::Share(new Allocator()); }

Allocator::~Allocator() {
  for (auto& [address, size] : blocks_) std::free(const_cast<void*>(address));
  for (void* address : quarantined_) std::free(address);
}

void* KIV_CALL Allocator::Alloc(std::uint32_t size) {
  lastSize_ = size;
  if (faults_.Fails() || liveBytes_ + size > limit_) {
    ++failed_;
    return nullptr;
  }
  const std::size_t bytes = size == 0 ? 1 : size;
  void* const address = std::malloc(bytes);
  if (address == nullptr) {
    ++failed_;
    return nullptr;
  }
  std::memset(address, kFreshByte, bytes);
  blocks_.emplace(address, size);
  liveBytes_ += size;
  return address;
}

void KIV_CALL Allocator::Free(void* address) {
  if (address == nullptr) return;
  ++freeCalls_;
  const auto found = blocks_.find(address);
  if (found == blocks_.end()) {
    ++badFrees_;
    return;
  }
  const std::uint32_t size = found->second;
  blocks_.erase(found);
  liveBytes_ -= size;
  std::memset(address, kFreedByte, size == 0 ? 1 : size);
  if (quarantine_) {
    quarantined_.push_back(address);
  } else {
    std::free(address);
  }
}

std::uint32_t Allocator::SizeOf(const void* address) const {
  const auto found = blocks_.find(address);
  return found == blocks_.end() ? 0 : found->second;
}

}  // namespace kivhost
