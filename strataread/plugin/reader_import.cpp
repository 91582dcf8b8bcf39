// The import: parse, choose the image, let the receptor choose its layout,
// read the pixels into one buffer and hand the receptor its rows, straight
// from that buffer.
#include <cstddef>

#include "cps30_reader.h"
#include "read_pixels.h"

namespace strataread {
namespace {

// A receptor that answers kKivResult_Incomplete asks for the image to be
// finished now: Finish is called for as long as it answers that, and its
// last answer is the import's.
KivResult FinishAfter(IKivImageReceptor* receptor, KivResult answer) {
  while (answer == kKivResult_Incomplete) answer = receptor->Finish();
  return answer;
}

// Whether the rows announced to the receptor lie exactly on the buffer
// ReadPixels filled: as many rows as it read, each one buffer row long, all
// of them within the buffer.
bool RowsMatchBuffer(const ImageInfo& info, const CPS30Document& document, std::uint32_t layout) {
  if (document.readWidth <= 0 || document.readHeight <= 0) return false;
  const std::int64_t bufferRow = std::int64_t{document.readWidth} * PlanFor(document, layout).PixelBytes();
  const std::int64_t bufferBytes = bufferRow * document.readHeight;
  const std::int64_t announced = std::int64_t{info.height} * info.rowBytes;
  return info.height == static_cast<std::uint32_t>(document.readHeight) && info.rowBytes > 0 &&
         info.rowBytes == bufferRow && announced <= bufferBytes;
}

}  // namespace

KivResult KIV_CALL CPS30Agent_IKivReader::ReadImage(IKivImageReceptor* receptor, const KivGuid* receptorId) {
  if (DocumentStream != nullptr) return kKivResult_StillInUse;
  if (receptor == nullptr || receptorId == nullptr || !KivSameId(*receptorId, IID_IKivImageReceptor)) {
    return kKivResult_BadArgument;
  }
  // Without handle memory there is nowhere to put the image: refused before
  // anything is asked of the host or the receptor.
  if (handleMemory == nullptr) return handleMemoryFailure;

  KivHandle image = 0;
  const KivResult result = Import(receptor, &image);
  if (image != 0) handleMemory->FreeHandle(image);
  CloseDocumentStream();
  return result;
}

KivResult CPS30Agent_IKivReader::Import(IKivImageReceptor* receptor, KivHandle* image) {
  KivResult result = OpenDocumentStream();
  if (result == kKivResult_OK) result = document.ParseDocument(&imageInfo, &layoutOfferCount, layoutOffers);
  if (result == kKivResult_OK) result = document.SelectImage(selector, &imageInfo, &layoutOfferCount, layoutOffers);
  if (result == kKivResult_OK && imageInfo.height > kMaxDeliveredRows) result = kKivResult_UnsupportedFile;
  if (result != kKivResult_OK) return result;
  return Deliver(receptor, image);
}

KivResult CPS30Agent_IKivReader::Deliver(IKivImageReceptor* receptor, KivHandle* image) {
  std::int32_t unused = 0;
  KivResult result = receptor->BeginImage(layoutOfferCount, layoutOffers, 1, &imageInfo, 0, 1, &unused);
  if (result != kKivResult_OK) return FinishAfter(receptor, result);
  // The receptor has put the layout it chose first.
  const auto layout = static_cast<std::uint32_t>(layoutOffers[0]);
  document.ApplyChosenLayout(layout, &imageInfo);
  result = receptor->SetImageInfo(&imageInfo);
  if (result != kKivResult_OK) return FinishAfter(receptor, result);

  result = ReadPixels(document, layout, image);
  if (result != kKivResult_OK) return result;
  // An empty read has no buffer: no row can be handed over.
  if (*image == 0) return FinishAfter(receptor, receptor->Finish());
  if (!RowsMatchBuffer(imageInfo, document, layout)) return kKivResult_UnsupportedFile;
  const auto* const pixels = static_cast<const std::uint8_t*>(handleMemory->LockHandle(*image));
  if (pixels == nullptr) return kKivResult_OutOfMemory;

  const auto rowBytes = static_cast<std::size_t>(imageInfo.rowBytes);
  for (std::int32_t row = 0; static_cast<std::uint32_t>(row) < imageInfo.height; ++row) {
    result = receptor->PutRow(row, pixels + static_cast<std::size_t>(row) * rowBytes, imageInfo.rowBytes);
    if (result != kKivResult_OK) return FinishAfter(receptor, result);
  }
  return FinishAfter(receptor, receptor->Finish());
}

}  // namespace strataread
