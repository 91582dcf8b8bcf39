#include "object_base.h"

namespace strataread {
namespace {

// A handler that returns is meant to have freed memory, but what it frees is
// the run time's heap, which need not be the host's. A few rounds without
// success mean that no progress is to be had.
constexpr int kMaxHandlerCalls = 8;

}  // namespace

std::int32_t InstanceCount = 0;

void* AllocWithRetry(std::uint32_t size, IKivAllocator* allocator) noexcept {
  if (allocator == nullptr) return nullptr;
  for (int handlerCalls = 0;; ++handlerCalls) {
    void* const address = allocator->Alloc(size);
    if (address != nullptr) return address;
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr || handlerCalls == kMaxHandlerCalls) return nullptr;
    // A standard handler throws std::bad_alloc; nothing may leave through
    // the host's interface.
    try {
      handler();
    } catch (...) {
      return nullptr;
    }
  }
}

}  // namespace strataread
