#include "png_read.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <fstream>
#include <iterator>

namespace pngread {
namespace {

struct Cursor {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at;
};

void ReadFromCursor(png_structp png, png_bytep out, png_size_t length) {
  auto* const cursor = static_cast<Cursor*>(png_get_io_ptr(png));
  if (cursor->size - cursor->at < length) png_error(png, "truncated");
  std::memcpy(out, cursor->data + cursor->at, length);
  cursor->at += length;
}

int Channels(int colourType) {
  switch (colourType) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_GA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGBA: return 4;
    default: return 1;  // palette
  }
}

// Only plain locals here: libpng leaves by longjmp on an error.
bool Decode(Cursor* cursor, Png* out, std::vector<png_bytep>* rowPointers) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, cursor, ReadFromCursor);
  png_read_info(png, info);
  out->width = png_get_image_width(png, info);
  out->height = png_get_image_height(png, info);
  out->colourType = png_get_color_type(png, info);
  out->bitDepth = png_get_bit_depth(png, info);
  png_colorp palette = nullptr;
  int entries = 0;
  if (png_get_PLTE(png, info, &palette, &entries) != 0) {
    for (int i = 0; i < entries; ++i) {
      out->palette.push_back(palette[i].red);
      out->palette.push_back(palette[i].green);
      out->palette.push_back(palette[i].blue);
    }
  }
  png_bytep alpha = nullptr;
  int alphaCount = 0;
  png_color_16p alphaColour = nullptr;
  if (png_get_tRNS(png, info, &alpha, &alphaCount, &alphaColour) != 0 && alpha != nullptr) {
    out->transparency.assign(alpha, alpha + alphaCount);
  }
  out->rows.resize(out->RowBytes() * out->height);
  rowPointers->resize(out->height);
  for (std::uint32_t y = 0; y < out->height; ++y) (*rowPointers)[y] = out->rows.data() + y * out->RowBytes();
  png_read_image(png, rowPointers->data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

unsigned Sample(const Png& png, const std::uint8_t* row, std::uint32_t index) {
  switch (png.bitDepth) {
    case 16: return row[index * 2];
    case 8: return row[index];
    default: {
      const unsigned perByte = 8u / static_cast<unsigned>(png.bitDepth);
      const unsigned shift = 8u - static_cast<unsigned>(png.bitDepth) * (index % perByte + 1);
      return (row[index / perByte] >> shift) & ((1u << png.bitDepth) - 1);
    }
  }
}

}  // namespace

std::size_t Png::RowBytes() const {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(Channels(colourType)) *
              static_cast<std::size_t>(bitDepth) +
          7) /
         8;
}

std::optional<Png> ReadBytes(const std::vector<std::uint8_t>& bytes) {
  Cursor cursor{bytes.data(), bytes.size(), 0};
  Png png;
  std::vector<png_bytep> rowPointers;
  if (!Decode(&cursor, &png, &rowPointers)) return std::nullopt;
  return png;
}

std::optional<Png> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return ReadBytes(bytes);
}

std::vector<std::uint8_t> ToRgba8(const Png& png) {
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(png.width) * png.height * 4);
  const int channels = Channels(png.colourType);
  const unsigned maximum = png.bitDepth >= 8 ? 255u : (1u << png.bitDepth) - 1;
  for (std::uint32_t y = 0; y < png.height; ++y) {
    const std::uint8_t* const row = png.rows.data() + y * png.RowBytes();
    for (std::uint32_t x = 0; x < png.width; ++x) {
      unsigned s[4];
      for (int c = 0; c < channels; ++c) s[c] = Sample(png, row, x * static_cast<std::uint32_t>(channels) + static_cast<std::uint32_t>(c));
      std::uint8_t rgba[4] = {0, 0, 0, 255};
      if (png.colourType == PNG_COLOR_TYPE_PALETTE) {
        const std::size_t entry = s[0];
        if (entry * 3 + 2 < png.palette.size()) {
          rgba[0] = png.palette[entry * 3];
          rgba[1] = png.palette[entry * 3 + 1];
          rgba[2] = png.palette[entry * 3 + 2];
        }
        if (entry < png.transparency.size()) rgba[3] = png.transparency[entry];
      } else if (channels <= 2) {
        const auto grey = static_cast<std::uint8_t>(s[0] * 255u / maximum);
        rgba[0] = rgba[1] = rgba[2] = grey;
        if (channels == 2) rgba[3] = static_cast<std::uint8_t>(s[1]);
      } else {
        for (int c = 0; c < channels; ++c) rgba[c] = static_cast<std::uint8_t>(s[c]);
      }
      out.insert(out.end(), rgba, rgba + 4);
    }
  }
  return out;
}

}  // namespace pngread
