#pragma once
// The host's image receptor: what a reader hands over during ReadImage is
// recorded here (the offers and description of BeginImage, the adapted
// description of SetImageInfo, a copy of every row, the Finish calls), and
// the layout is chosen the way a host chooses it, by putting its choice
// first in the offer list. Every answer can be scripted, so that tests can
// drive a reader through its failure paths.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "kivhost/ref.h"

namespace kivhost {

// The layout a host takes from the offers for the image described, or
// nullopt to refuse them all.
using LayoutChoice =
    std::function<std::optional<std::int32_t>(std::span<const std::int32_t> offers, const ImageInfo& info)>;

// The first of `preferred` that is offered, else the first offer (nullopt
// when nothing is offered).
LayoutChoice PreferLayouts(std::vector<std::int32_t> preferred);

// Exactly `layout`, when it is offered; otherwise the offers are refused.
LayoutChoice OnlyLayout(std::int32_t layout);

// How many offers a receptor reads at most: the reader's offer list holds
// eight entries, and a larger count must not make the host read past them.
inline constexpr std::int32_t kMaxOffers = 8;

struct ReceivedRow {
  std::int32_t row = 0;
  std::int32_t length = 0;         // as the reader passed it
  std::vector<std::uint8_t> bytes;  // a copy; empty for a null address or length <= 0
  bool nullAddress = false;
};

enum class ReceptorCall { BeginImage, SetImageInfo, PutRow, Finish, Unused };

class ImageReceptor final : public Object<IKivImageReceptor> {
public:
  static Ref<ImageReceptor> Create();  // chooses with PreferLayouts({})

  KivResult KIV_CALL Unused3() override;
  KivResult KIV_CALL Unused4() override;
  // Records offers and description, then puts the chosen layout first
  // (moving it there when offered, writing it over offers[0] otherwise).
  // Null offers or info, no offer, or a refused choice: kKivResult_BadArgument
  // with nothing chosen. A scripted failure answers before any choice.
  KivResult KIV_CALL BeginImage(std::int32_t offerCount, std::int32_t* offers, std::int32_t one, ImageInfo* info,
                                std::int32_t zero, std::int32_t alsoOne, std::int32_t* outValue) override;
  KivResult KIV_CALL SetImageInfo(ImageInfo* info) override;
  // Copies the row (length bytes from address) and answers the scripted
  // result for that row number, else 0.
  KivResult KIV_CALL PutRow(std::int32_t row, const void* address, std::int32_t rowBytes) override;
  // Answers the scripted results in order, then 0.
  KivResult KIV_CALL Finish() override;

  void SetLayoutChoice(LayoutChoice choose) { choose_ = std::move(choose); }

  // Scripted answers.
  void FailBeginImage(KivResult result) { beginResult_ = result; }
  void FailSetImageInfo(KivResult result) { infoResult_ = result; }
  void FailPutRowAt(std::int32_t row, KivResult result);
  void SetFinishResults(std::vector<KivResult> results) {
    finishResults_ = std::move(results);
    finishNext_ = 0;
  }

  // What was received.
  const std::vector<ReceptorCall>& Calls() const { return calls_; }
  std::uint64_t CountOf(ReceptorCall call) const;
  // Offers as BeginImage found them (at most kMaxOffers), and the count the
  // reader passed.
  const std::vector<std::int32_t>& Offers() const { return offers_; }
  std::int32_t OfferCount() const { return offerCount_; }
  // The three constants of the last BeginImage, in argument order.
  std::array<std::int32_t, 3> BeginConstants() const { return constants_; }
  std::optional<std::int32_t> ChosenLayout() const { return chosen_; }
  const std::optional<ImageInfo>& BeginInfo() const { return beginInfo_; }
  const std::optional<ImageInfo>& Info() const { return info_; }  // of SetImageInfo
  const std::vector<ReceivedRow>& Rows() const { return rows_; }

private:
  ImageReceptor();
  KivResult Begin(std::int32_t offerCount, std::int32_t* offers, const ImageInfo* info);

  LayoutChoice choose_;
  KivResult beginResult_ = kKivResult_OK;
  KivResult infoResult_ = kKivResult_OK;
  std::vector<std::pair<std::int32_t, KivResult>> rowResults_;
  std::vector<KivResult> finishResults_;
  std::size_t finishNext_ = 0;

  std::vector<ReceptorCall> calls_;
  std::vector<std::int32_t> offers_;
  std::int32_t offerCount_ = 0;
  std::array<std::int32_t, 3> constants_{};
  std::optional<std::int32_t> chosen_;
  std::optional<ImageInfo> beginInfo_;
  std::optional<ImageInfo> info_;
  std::vector<ReceivedRow> rows_;
};

}  // namespace kivhost
