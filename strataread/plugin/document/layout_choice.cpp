// Adapting the description to the layout the host chose, and the
// conversion flags that tell the pixel pipeline how to get there.
#include <cstdint>

#include "cps30_document.h"

namespace strataread {
namespace {

constexpr std::int32_t kUnchanged = -1;

struct LayoutRow {
  std::uint32_t chosen;
  std::uint32_t described;
  std::int32_t components;
  std::int32_t bitsPerComponent;
  std::uint32_t flags;
};

constexpr LayoutRow kLayoutRows[] = {
    {LayoutRgb, LayoutRgba, 3, kUnchanged, CopyPlanes},
    {LayoutRgb, LayoutIndexed, 3, kUnchanged, PaletteToRgb},
    {LayoutRgb, LayoutIndexedPlus, 3, kUnchanged, CopyPlanes | PaletteToRgb},
    {LayoutRgb, LayoutCmyk, 3, kUnchanged, CmykToRgb},
    {LayoutRgb, LayoutRgb48, 3, 8, WideSamples | CopyPlanes},
    {LayoutRgb, LayoutBitmap, 3, 8, BitmapToRgb},
    {LayoutRgba, LayoutIndexedPlus, 4, kUnchanged, PaletteToRgba},
    {LayoutRgba, LayoutCmyk, 4, kUnchanged, CmykToRgb},
    {LayoutRgba, LayoutRgb48, 4, 8, WideSamples},
    // RGB with further channels: the pixel is still four bytes.
    {LayoutRgba, LayoutRgba, 4, kUnchanged, 0},
    {LayoutIndexed, LayoutIndexedPlus, 1, kUnchanged, CopyPlanes},
    {LayoutIndexed, LayoutBitmap, kUnchanged, 8, 0},
};

const LayoutRow* FindRow(std::uint32_t chosen, std::uint32_t described) {
  for (const LayoutRow& row : kLayoutRows) {
    if (row.chosen == chosen && row.described == described) return &row;
  }
  return nullptr;
}

}  // namespace

void CPS30Document::ApplyChosenLayout(std::uint32_t layout, ImageInfo* info) {
  const std::uint32_t described = info->pixelLayout;
  const LayoutRow* row = FindRow(layout, described);
  convertFlags = row != nullptr ? row->flags : 0;
  if (row != nullptr && row->components != kUnchanged) info->components = static_cast<std::int16_t>(row->components);
  if (row != nullptr && row->bitsPerComponent != kUnchanged) {
    info->bitsPerComponent = static_cast<std::uint16_t>(row->bitsPerComponent);
  }
  // 16-bit samples reach the host whole only in the 16-bit layout; every
  // other layout receives their high bytes.
  if (depth == 16 && layout != LayoutRgb48) info->bitsPerComponent = 8;

  if (layout == LayoutIndexed && described == LayoutBitmap) {
    // Decoded bitmap samples are 0 for set bits: entry 0 is black.
    if (MakeColorTable() == kKivResult_OK) {
      for (std::uint32_t i = 0; i < kColorTableBytes; ++i) colorTable[i] = i < 3 ? 0 : 255;
    }
    info->paletteUsed = 2;
    info->paletteSize = 256;
    info->palette[0] = KivPaletteEntry{0, 0, 0, 0};
    for (std::uint32_t i = 1; i < 256; ++i) info->palette[i] = KivPaletteEntry{0, 65535, 65535, 65535};
  }

  info->pixelLayout = layout;
  const std::uint64_t bytesPerSample = info->bitsPerComponent == 16 ? 2 : 1;
  const std::uint64_t rowBytes = layout == LayoutBitmap
                                     ? (std::uint64_t{info->width} + 7) / 8
                                     : static_cast<std::uint64_t>(info->components) * info->width * bytesPerSample;
  // DescribeImage bounded every row length a layout can ask for.
  info->rowBytes = static_cast<std::int32_t>(rowBytes);
}

}  // namespace strataread
