#include "png_writer.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>

#include "layout_names.h"

namespace strata {
namespace {

struct PngShape {
  int colourType;
  int bitDepth;
};

std::optional<PngShape> ShapeOf(const DeliveredImage& image) {
  const std::uint32_t bytes = image.BytesPerComponent();
  switch (image.layout) {
    case LayoutRgb:
      if (bytes == 1 && image.components == 3) return PngShape{PNG_COLOR_TYPE_RGB, 8};
      break;
    case LayoutRgba:
      if (bytes == 1 && image.components == 4) return PngShape{PNG_COLOR_TYPE_RGBA, 8};
      break;
    case LayoutIndexed:
      if (bytes == 1 && image.components == 1) {
        return PngShape{image.PaletteIsGreyRamp() ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_PALETTE, 8};
      }
      break;
    case LayoutIndexedPlus:
      if (bytes == 1 && image.components == 2 && image.PaletteIsGreyRamp()) return PngShape{PNG_COLOR_TYPE_GA, 8};
      break;
    case LayoutRgb48:
      if (bytes != 0 && (image.components == 3 || image.components == 4)) {
        return PngShape{image.components == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, static_cast<int>(bytes * 8)};
      }
      break;
    default: break;
  }
  return std::nullopt;
}

// The palette entries the indices need: all that are meaningful, and at
// least one past the largest index that occurs, so that every pixel has
// its colour.
std::vector<png_color> PaletteOf(const DeliveredImage& image) {
  std::uint32_t count = std::min<std::uint32_t>(image.paletteUsed, 256);
  for (const std::uint8_t index : image.pixels) count = std::max<std::uint32_t>(count, index + 1u);
  std::vector<png_color> colours(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const KivPaletteEntry& entry = image.palette[i];
    colours[i] = png_color{static_cast<png_byte>(entry.red >> 8), static_cast<png_byte>(entry.green >> 8),
                           static_cast<png_byte>(entry.blue >> 8)};
  }
  return colours;
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* const out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  bool stored = true;
  try {
    out->insert(out->end(), data, data + length);
  } catch (...) {
    stored = false;
  }
  // Outside the handler: png_error leaves this frame by longjmp.
  if (!stored) png_error(png, "out of memory");
}

void NoFlush(png_structp) {}

// libpng reports errors by longjmp, so this frame and the ones libpng
// unwinds hold nothing that needs a destructor; the vectors live in the
// caller.
bool WritePng(const DeliveredImage& image, const PngShape& shape, const std::vector<png_color>& palette,
              std::vector<png_bytep>& rows, std::vector<std::uint8_t>* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, AppendBytes, NoFlush);
  png_set_IHDR(png, info, image.width, image.height, shape.bitDepth, shape.colourType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (shape.colourType == PNG_COLOR_TYPE_PALETTE) {
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  }
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool PngCanHold(std::int32_t layout, const ImageInfo& info) {
  switch (layout) {
    case static_cast<std::int32_t>(LayoutRgb):
    case static_cast<std::int32_t>(LayoutRgba):
    case static_cast<std::int32_t>(LayoutIndexed): return true;
    case static_cast<std::int32_t>(LayoutIndexedPlus): return info.components == 2 && IsGreyRamp(info);
    case static_cast<std::int32_t>(LayoutRgb48): return info.components == 3 || info.components == 4;
    default: return false;
  }
}

std::optional<std::vector<std::uint8_t>> EncodePng(const DeliveredImage& image, std::string* why) {
  if (image.Empty()) {
    *why = "the image is empty (" + std::to_string(image.width) + " x " + std::to_string(image.height) + ")";
    return std::nullopt;
  }
  const std::optional<PngShape> shape = ShapeOf(image);
  if (!shape || image.width > PNG_USER_WIDTH_MAX || image.height > PNG_USER_HEIGHT_MAX) {
    *why = "a PNG cannot hold " + LayoutName(static_cast<std::int32_t>(image.layout)) + " rows of " +
           std::to_string(image.components) + " components in " + std::to_string(image.rowBytes) +
           " bytes; write .pam";
    return std::nullopt;
  }
  const std::vector<png_color> palette =
      shape->colourType == PNG_COLOR_TYPE_PALETTE ? PaletteOf(image) : std::vector<png_color>{};
  std::vector<png_bytep> rows(image.height);
  for (std::uint32_t y = 0; y < image.height; ++y) rows[y] = const_cast<png_bytep>(image.Row(y));
  std::vector<std::uint8_t> out;
  if (!WritePng(image, *shape, palette, rows, &out)) {
    *why = "libpng could not write the image";
    return std::nullopt;
  }
  return out;
}

}  // namespace strata
