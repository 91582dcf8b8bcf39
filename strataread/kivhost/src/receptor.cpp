#include "kivhost/receptor.h"

#include <algorithm>
#include <new>

namespace kivhost {

LayoutChoice PreferLayouts(std::vector<std::int32_t> preferred) {
  return [preferred = std::move(preferred)](std::span<const std::int32_t> offers,
                                                 const ImageInfo&) -> std::optional<std::int32_t> {
    for (const std::int32_t layout : preferred) {
      if (std::find(offers.begin(), offers.end(), layout) != offers.end()) return layout;
    }
    if (offers.empty()) return std::nullopt;
    return offers.front();
  };
}

LayoutChoice OnlyLayout(std::int32_t layout) {
  return [layout](std::span<const std::int32_t> offers, const ImageInfo&) -> std::optional<std::int32_t> {
    if (std::find(offers.begin(), offers.end(), layout) == offers.end()) return std::nullopt;
    return layout;
  };
}

Ref<ImageReceptor> ImageReceptor::Create() { return Ref<ImageReceptor>::Share(new ImageReceptor()); }

ImageReceptor::ImageReceptor() : choose_(PreferLayouts({})) {}

KivResult KIV_CALL ImageReceptor::Unused3() {
  calls_.push_back(ReceptorCall::Unused);
  return kKivResult_NoSuchInterface;
}

KivResult KIV_CALL ImageReceptor::Unused4() {
  calls_.push_back(ReceptorCall::Unused);
  return kKivResult_NoSuchInterface;
}

// Host code below may allocate; nothing it throws may unwind into the
// plug-in's frames, so every operation turns a failure into a result.
KivResult KIV_CALL ImageReceptor::BeginImage(std::int32_t offerCount, std::int32_t* offers, std::int32_t one,
                                             ImageInfo* info, std::int32_t zero, std::int32_t alsoOne,
                                             std::int32_t* outValue) {
  (void)outValue;
  try {
    calls_.push_back(ReceptorCall::BeginImage);
    constants_ = {one, zero, alsoOne};
    if (beginResult_ != kKivResult_OK) return beginResult_;
    return Begin(offerCount, offers, info);
  } catch (...) {
    return kKivResult_OutOfMemory;
  }
}

KivResult ImageReceptor::Begin(std::int32_t offerCount, std::int32_t* offers, const ImageInfo* info) {
  offerCount_ = offerCount;
  offers_.clear();
  chosen_.reset();
  if (info != nullptr) beginInfo_ = *info;
  if (offers == nullptr || info == nullptr) return kKivResult_BadArgument;
  offers_.assign(offers, offers + std::clamp(offerCount, 0, kMaxOffers));
  const std::optional<std::int32_t> choice = choose_(offers_, *info);
  if (!choice) return kKivResult_BadArgument;
  const auto at = std::find(offers_.begin(), offers_.end(), *choice);
  if (at != offers_.end()) {
    // Keep every offer, moving the chosen one to the front.
    std::rotate(offers, offers + (at - offers_.begin()), offers + (at - offers_.begin()) + 1);
  } else {
    offers[0] = *choice;
  }
  chosen_ = choice;
  return kKivResult_OK;
}

KivResult KIV_CALL ImageReceptor::SetImageInfo(ImageInfo* info) {
  try {
    calls_.push_back(ReceptorCall::SetImageInfo);
    if (info != nullptr) info_ = *info;
    if (infoResult_ != kKivResult_OK) return infoResult_;
    return info == nullptr ? kKivResult_BadArgument : kKivResult_OK;
  } catch (...) {
    return kKivResult_OutOfMemory;
  }
}

void ImageReceptor::FailPutRowAt(std::int32_t row, KivResult result) { rowResults_.emplace_back(row, result); }

KivResult KIV_CALL ImageReceptor::PutRow(std::int32_t row, const void* address, std::int32_t rowBytes) {
  try {
    calls_.push_back(ReceptorCall::PutRow);
    ReceivedRow received;
    received.row = row;
    received.length = rowBytes;
    received.nullAddress = address == nullptr;
    if (address != nullptr && rowBytes > 0) {
      const auto* const bytes = static_cast<const std::uint8_t*>(address);
      received.bytes.assign(bytes, bytes + rowBytes);
    }
    rows_.push_back(std::move(received));
    for (const auto& [failingRow, result] : rowResults_) {
      if (failingRow == row) return result;
    }
    return kKivResult_OK;
  } catch (...) {
    return kKivResult_OutOfMemory;
  }
}

KivResult KIV_CALL ImageReceptor::Finish() {
  try {
    calls_.push_back(ReceptorCall::Finish);
  } catch (...) {
    return kKivResult_OutOfMemory;
  }
  if (finishNext_ < finishResults_.size()) return finishResults_[finishNext_++];
  return kKivResult_OK;
}

std::uint64_t ImageReceptor::CountOf(ReceptorCall call) const {
  return static_cast<std::uint64_t>(std::count(calls_.begin(), calls_.end(), call));
}

}  // namespace kivhost
