#pragma once
// A block of the host's handle memory, held locked for one scope and given
// back (unlocked, then freed) on every way out of it.
#include <cstdint>

#include "kiv/kiv_abi.h"

namespace strataread {

// The largest block the pixel pipeline asks the host for, image or work
// row. Its sizes come from the header and the records, which the file's
// length does not bound (rows that are not stored are zeros). 256 MiB is
// well above the documents the plug-in is for and already an eighth of a
// 32-bit host's address space, so a larger block is refused as memory the
// host cannot give, before the host is asked.
inline constexpr std::uint64_t kMaxBlockBytes = std::uint64_t{256} << 20;

class HandleBlock {
public:
  explicit HandleBlock(IKivHandleMemory* memory) : memory_(memory) {}
  ~HandleBlock() { Release(); }
  HandleBlock(const HandleBlock&) = delete;
  HandleBlock& operator=(const HandleBlock&) = delete;

  // Gives back what is held and obtains size bytes, locked. False when the
  // size is above kMaxBlockBytes, or the host refuses it.
  bool Obtain(std::uint64_t size) {
    Release();
    if (memory_ == nullptr || size > kMaxBlockBytes) return false;
    const KivHandle handle = memory_->NewHandle(static_cast<std::uint32_t>(size));
    if (handle == 0) return false;
    void* address = memory_->LockHandle(handle);
    if (address == nullptr) {
      memory_->FreeHandle(handle);
      return false;
    }
    handle_ = handle;
    bytes_ = static_cast<std::uint8_t*>(address);
    size_ = static_cast<std::uint32_t>(size);
    return true;
  }

  void Release() {
    if (handle_ == 0) return;
    memory_->UnlockHandle(handle_);
    memory_->FreeHandle(handle_);
    handle_ = 0;
    bytes_ = nullptr;
    size_ = 0;
  }

  std::uint8_t* Bytes() const { return bytes_; }
  std::uint32_t Size() const { return size_; }

private:
  IKivHandleMemory* memory_;
  KivHandle handle_ = 0;
  std::uint8_t* bytes_ = nullptr;
  std::uint32_t size_ = 0;
};

}  // namespace strataread
