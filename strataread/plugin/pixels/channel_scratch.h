#pragma once
// The two scratch rows of one channel read, sized once for its largest row.
#include <cstdint>

#include "cps30_document.h"
#include "handle_block.h"

namespace strataread {

class ChannelScratch {
public:
  explicit ChannelScratch(IKivHandleMemory* memory) : read_(memory), output_(memory) {}

  // Both rows of size bytes. When either cannot be had, what was obtained
  // is given back, the document's colour table is released (so the host
  // gets memory back before it hears of the failure) and the answer is
  // kKivResult_OutOfMemory.
  KivResult Obtain(CPS30Document& document, std::uint64_t size) {
    if (size == 0) size = 1;
    if (read_.Obtain(size) && output_.Obtain(size)) return kKivResult_OK;
    read_.Release();
    output_.Release();
    document.ReleaseColorTable();
    return kKivResult_OutOfMemory;
  }

  std::uint8_t* Read() const { return read_.Bytes(); }
  std::uint8_t* Output() const { return output_.Bytes(); }
  std::uint32_t Size() const { return read_.Size(); }

private:
  HandleBlock read_;
  HandleBlock output_;
};

}  // namespace strataread
