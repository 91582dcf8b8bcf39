#include <algorithm>

#include "kivhost/streams.h"

namespace kivhost {

ByteStream::ByteStream()
    : openFaults_(kKivResult_ReadFailed),
      readFaults_(kKivResult_ReadFailed),
      getFaults_(kKivResult_ReadFailed),
      setFaults_(kKivResult_ReadFailed) {}

KivResult KIV_CALL ByteStream::Open(std::int32_t mode, std::int32_t flags) {
  lastMode_ = mode;
  lastFlags_ = flags;
  if (openFaults_.Fails()) return openFaults_.Result();
  if (open_) DoClose();
  open_ = false;
  const KivResult result = DoOpen();
  if (result != kKivResult_OK) return result;
  open_ = true;
  position_ = 0;
  return kKivResult_OK;
}

KivResult KIV_CALL ByteStream::Close() {
  ++closeCalls_;
  if (!open_) {
    ++misuse_;
    return kKivResult_ReadFailed;
  }
  DoClose();
  open_ = false;
  return kKivResult_OK;
}

KivResult KIV_CALL ByteStream::Read(void* buffer, std::uint32_t count, std::uint32_t* actual) {
  if (actual != nullptr) *actual = 0;
  if (readFaults_.Fails()) return readFaults_.Result();
  if (!open_) {
    ++misuse_;
    return kKivResult_ReadFailed;
  }
  if (count == 0) return kKivResult_OK;
  if (buffer == nullptr) return kKivResult_BadArgument;
  // Positions are 32-bit: nothing lies beyond the last one.
  std::uint32_t asked = std::min(count, 0xFFFFFFFFu - position_);
  if (maxChunk_ != 0) asked = std::min(asked, maxChunk_);
  std::uint32_t delivered = 0;
  if (!DoRead(position_, buffer, asked, &delivered)) return kKivResult_ReadFailed;
  position_ += delivered;
  delivered_ += delivered;
  if (actual != nullptr) *actual = delivered;
  return kKivResult_OK;
}

KivResult KIV_CALL ByteStream::GetPosition(std::uint32_t* position) {
  if (getFaults_.Fails()) return getFaults_.Result();
  if (!open_) {
    ++misuse_;
    return kKivResult_ReadFailed;
  }
  if (position == nullptr) return kKivResult_BadArgument;
  *position = position_;
  return kKivResult_OK;
}

KivResult KIV_CALL ByteStream::SetPosition(std::uint32_t position) {
  if (setFaults_.Fails()) return setFaults_.Result();
  if (!open_) {
    ++misuse_;
    return kKivResult_ReadFailed;
  }
  position_ = position;
  return kKivResult_OK;
}

KivResult KIV_CALL ByteStream::Unused6() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}

KivResult KIV_CALL ByteStream::Unused7() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}

}  // namespace kivhost
