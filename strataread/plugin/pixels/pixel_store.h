#pragma once
// Putting decoded rows into the interleaved image buffer: StoreSamples
// converts one row of one channel into one plane under the conversion
// flags, FillSpan writes one value into part of a plane, and both combine
// transparency and masks into the alpha plane by the same rules.
#include <cstdint>

#include "cps30_document.h"

namespace strataread {

class RowClearing;

// The image buffer as the stores see it: height rows of width pixels, each
// pixel planes samples of sampleBytes bytes (two only for 16-bit
// deliveries, high byte first, as the file stores them). Row r starts at
// r x width x planes x sampleBytes. With clearing set, every row is zeroed
// just before the first store into it.
struct ImageBuffer {
  std::uint8_t* pixels = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t planes = 0;
  std::int32_t sampleBytes = 1;
  RowClearing* clearing = nullptr;

  std::int64_t PixelBytes() const { return static_cast<std::int64_t>(planes) * sampleBytes; }
  std::int64_t RowBytes() const { return PixelBytes() * width; }
};

// Zeroes an image's rows in order, each just before it is first written, so
// that no host memory reaches the picture without a pass of its own over
// the whole buffer: a row is cleared while it is about to be in cache anyway.
class RowClearing {
public:
  explicit RowClearing(const ImageBuffer& image) : image_(image) {}
  // Every row up to and including row is zero or written.
  void Through(std::int32_t row);
  // Every row is: called when the read ends.
  void Rest() { Through(image_.height - 1); }

private:
  ImageBuffer image_;
  std::int32_t cleared_ = 0;  // rows below this one are cleared
};

// The product of two fractions of 255, rounded to the nearest step:
// (a x b + 127) / 255, computed without a division.
inline std::uint8_t mul(std::uint8_t a, std::uint8_t b) {
  return static_cast<std::uint8_t>((static_cast<std::uint32_t>(a) * b * 65793u + 8388608u) >> 24);
}

// The same for 16-bit samples: (a x b + 32767) / 65535.
inline std::uint16_t mul16(std::uint16_t a, std::uint16_t b) {
  return static_cast<std::uint16_t>((static_cast<std::uint32_t>(a) * b + 32767u) / 65535u);
}

// How a sample s meets the byte d already in the alpha plane: inverted
// first when invert is set, then stored, or multiplied with d.
struct Combine {
  bool multiply = false;
  bool invert = false;

  // The native sense: the document's alpha combine flags as they stand.
  static Combine Native(const CPS30Document& document) {
    return {document.alphaMultiply != 0, document.alphaInvert != 0};
  }
  // The CMYK sense: samples of a CMYK document arrive inverted from the
  // decoder, so the invert setting is reversed to give the file's sense.
  static Combine Cmyk(const CPS30Document& document) {
    return {document.alphaMultiply != 0, document.alphaInvert == 0};
  }

  std::uint8_t Apply(std::uint8_t s, std::uint8_t d) const {
    const auto v = invert ? static_cast<std::uint8_t>(255 - s) : s;
    return multiply ? mul(v, d) : v;
  }
  std::uint16_t Apply16(std::uint16_t s, std::uint16_t d) const {
    const auto v = invert ? static_cast<std::uint16_t>(65535 - s) : s;
    return multiply ? mul16(v, d) : v;
  }
};

// Bytes of one decoded sample: 16-bit rows keep both bytes of each sample
// (WideSamples says so for 16-bit RGB); the 8-bit stores use the first.
inline int DecodedSampleBytes(const CPS30Document& document) { return document.depth == 16 ? 2 : 1; }

// Stores count samples of one decoded row into one plane of image row row,
// from pixel startX on, converting under the document's convertFlags. A
// sample whose pixel would lie outside the row, or a plane the pixel does
// not have, is not stored. Answers 0.
KivResult StoreSamples(const CPS30Document& document, const ImageBuffer& image, std::int32_t row,
                       std::int32_t plane, const std::uint8_t* samples, std::int32_t count,
                       std::int32_t startX);

// Combines value, in the native sense, into one plane of image row row for
// pixels fromX up to toX (exclusive, limited to the row). A plane at or
// beyond the pixel's last means its last byte, with the invert setting
// reversed: the CMYK-to-RGB alpha byte. Looks at no conversion flag.
void FillSpan(const CPS30Document& document, const ImageBuffer& image, std::int32_t row, std::int32_t plane,
              std::uint8_t value, std::int32_t fromX, std::int32_t toX);

}  // namespace strataread
