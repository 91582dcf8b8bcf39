// The store rules. Each call picks its rule once and then runs one tight
// loop over the row with the pixel stride; nothing is decided per pixel.
#include "pixel_store.h"

#include <algorithm>
#include <cstring>

namespace strataread {
namespace {

// The bytes of one store: samples from src (every step bytes), one pixel
// per stride bytes of dst, n of them.
struct Run {
  const std::uint8_t* src;
  std::uint8_t* dst;  // pixel startX of the row
  std::int32_t n;
  std::int64_t stride;
};

template <int kStep, std::int64_t kStride, class Op>
void EachSample(const Run& run, Op op) {
  // Locals, so that the byte stores, which may alias anything, do not make
  // the compiler reload the run's fields on every pixel.
  const std::uint8_t* src = run.src;
  std::uint8_t* dst = run.dst;
  const std::int32_t n = run.n;
  const std::int64_t stride = kStride != 0 ? kStride : run.stride;
  std::int32_t i = 0;
  for (; i + 4 <= n; i += 4, src += 4 * kStep, dst += 4 * stride) {
    op(src[0], dst);
    op(src[kStep], dst + stride);
    op(src[2 * kStep], dst + 2 * stride);
    op(src[3 * kStep], dst + 3 * stride);
  }
  for (; i < n; ++i, src += kStep, dst += stride) op(*src, dst);
}

template <int kStep, class Op>
void EachSample(const Run& run, Op op) {
  // The usual pixel sizes get loops of their own, which the compiler can
  // unroll; any other size steps at run time.
  switch (run.stride) {
    case 3: EachSample<kStep, 3>(run, op); break;
    case 4: EachSample<kStep, 4>(run, op); break;
    default: EachSample<kStep, 0>(run, op); break;
  }
}

// Calls op(sample, pixel) for every sample of the run, the sample being the
// first (high) byte of each stored pair when step is 2.
template <class Op>
void EachSample(const Run& run, int step, Op op) {
  if (step == 2) {
    EachSample<2>(run, op);
  } else {
    EachSample<1>(run, op);
  }
}

void CopyToByte(const Run& run, int step, std::int32_t byte) {
  if (step == 1 && run.stride == 1) {
    std::memcpy(run.dst + byte, run.src, static_cast<std::size_t>(run.n));
    return;
  }
  EachSample(run, step, [byte](std::uint8_t s, std::uint8_t* pixel) { pixel[byte] = s; });
}

void CombineIntoByte(const Run& run, int step, std::int32_t byte, Combine combine) {
  if (!combine.multiply && !combine.invert) {
    CopyToByte(run, step, byte);
    return;
  }
  EachSample(run, step,
             [byte, combine](std::uint8_t s, std::uint8_t* pixel) { pixel[byte] = combine.Apply(s, pixel[byte]); });
}

// A 16-bit plane: big-endian samples as the file stores them. Samples
// narrower than that are widened so that 255 stays full scale.
void CombineIntoWidePlane(const Run& run, int step, std::int32_t plane, Combine combine) {
  const std::int32_t at = plane * 2;
  const std::uint8_t* src = run.src;
  std::uint8_t* dst = run.dst + at;
  for (std::int32_t i = 0; i < run.n; ++i, src += step, dst += run.stride) {
    const auto s = static_cast<std::uint16_t>(step == 2 ? (src[0] << 8 | src[1]) : src[0] * 257);
    const auto d = static_cast<std::uint16_t>(dst[0] << 8 | dst[1]);
    const std::uint16_t v = combine.multiply || combine.invert ? combine.Apply16(s, d) : s;
    dst[0] = static_cast<std::uint8_t>(v >> 8);
    dst[1] = static_cast<std::uint8_t>(v);
  }
}

void StorePalette(const CPS30Document& document, const Run& run, int step, std::int32_t plane,
                  std::int32_t planes) {
  if (plane == 0) {
    const std::uint8_t* table = document.colorTable;
    if (table == nullptr || planes < 3) return;
    EachSample(run, step, [table](std::uint8_t s, std::uint8_t* pixel) {
      const std::uint8_t* entry = table + 3 * s;
      pixel[0] = entry[0];
      pixel[1] = entry[1];
      pixel[2] = entry[2];
    });
    return;
  }
  if (plane < 0 || (document.convertFlags & CopyPlanes) != 0 || planes < 4) return;
  CombineIntoByte(run, step, 3, Combine::Native(document));
}

// Planes 0 to 2 hold cyan, magenta and yellow ink; black turns the three into
// red, green and blue; plane 4, the first beyond the colours, is the alpha
// byte, in the file's sense. Further planes have no place in the pixel.
void StoreCmyk(const CPS30Document& document, const Run& run, int step, std::int32_t plane,
               std::int32_t planes) {
  if (plane >= 0 && plane < 3) {
    if (plane < planes) CopyToByte(run, step, plane);
  } else if (plane == 3) {
    if (planes < 3) return;
    EachSample(run, step, [](std::uint8_t k, std::uint8_t* pixel) {
      for (int b = 0; b < 3; ++b) {
        const int sum = pixel[b] + k;
        pixel[b] = static_cast<std::uint8_t>(sum < 255 ? 255 - sum : 0);
      }
    });
  } else if (plane == 4 && planes >= 4) {
    CombineIntoByte(run, step, 3, Combine::Cmyk(document));
  }
}

// Decoded bitmap samples are 0 for black and 1 for white; the pixel gets
// the grey that says so in all three bytes.
void StoreBitmap(const Run& run, int step, std::int32_t plane, std::int32_t planes) {
  if (plane == 0) {
    const std::int32_t bytes = std::min(planes, 3);
    EachSample(run, step, [bytes](std::uint8_t s, std::uint8_t* pixel) {
      std::memset(pixel, s == 0 ? 0 : 255, static_cast<std::size_t>(bytes));
    });
  } else if (plane > 0 && plane < planes) {
    CopyToByte(run, step, plane);
  }
}

}  // namespace

void RowClearing::Through(std::int32_t row) {
  if (row < cleared_) return;
  const std::int32_t end = std::min(row + 1, image_.height);
  const std::int64_t rowBytes = image_.RowBytes();
  std::memset(image_.pixels + cleared_ * rowBytes, 0, static_cast<std::size_t>((end - cleared_) * rowBytes));
  cleared_ = end;
}

KivResult StoreSamples(const CPS30Document& document, const ImageBuffer& image, std::int32_t row,
                       std::int32_t plane, const std::uint8_t* samples, std::int32_t count,
                       std::int32_t startX) {
  if (image.pixels == nullptr || row < 0 || row >= image.height || startX < 0 || startX >= image.width ||
      count <= 0 || image.planes <= 0) {
    return kKivResult_OK;
  }
  if (image.clearing != nullptr) image.clearing->Through(row);
  const std::uint32_t flags = document.convertFlags;
  const int step = DecodedSampleBytes(document);
  const std::int64_t pixelBytes = image.PixelBytes();
  Run run{samples, image.pixels + (static_cast<std::int64_t>(row) * image.width + startX) * pixelBytes,
          std::min(count, image.width - startX), pixelBytes};

  const bool planeInPixel = plane >= 0 && plane < image.planes;
  if ((flags & (PaletteToRgba | PaletteToRgb)) != 0) {
    StorePalette(document, run, step, plane, image.planes);
  } else if ((flags & CopyPlanes) != 0) {
    if (!planeInPixel) return kKivResult_OK;
    if (image.sampleBytes == 2) {
      CombineIntoWidePlane(run, step, plane, Combine{});
    } else {
      CopyToByte(run, step, plane);
    }
  } else if ((flags & CmykToRgb) != 0) {
    StoreCmyk(document, run, step, plane, image.planes);
  } else if ((flags & BitmapToRgb) != 0) {
    StoreBitmap(run, step, plane, image.planes);
  } else if (planeInPixel) {
    if (image.sampleBytes == 2) {
      CombineIntoWidePlane(run, step, plane, Combine::Native(document));
    } else {
      CombineIntoByte(run, step, plane, Combine::Native(document));
    }
  }
  return kKivResult_OK;
}

void FillSpan(const CPS30Document& document, const ImageBuffer& image, std::int32_t row, std::int32_t plane,
              std::uint8_t value, std::int32_t fromX, std::int32_t toX) {
  if (image.pixels == nullptr || row < 0 || row >= image.height || image.planes <= 0 || plane < 0) return;
  Combine combine = Combine::Native(document);
  if (plane >= image.planes) {
    plane = image.planes - 1;
    combine.invert = !combine.invert;
  }
  fromX = std::max(fromX, 0);
  toX = std::min(toX, image.width);
  if (fromX >= toX) return;
  if (image.clearing != nullptr) image.clearing->Through(row);

  const std::int64_t pixelBytes = image.PixelBytes();
  std::uint8_t* dst = image.pixels + (static_cast<std::int64_t>(row) * image.width + fromX) * pixelBytes;
  const std::int32_t n = toX - fromX;
  if (image.sampleBytes == 2) {
    const std::uint8_t wide[2] = {value, value};  // value x 257, high byte first
    CombineIntoWidePlane(Run{wide, dst, n, pixelBytes}, 0, plane, combine);
    return;
  }
  std::uint8_t* at = dst + plane;
  if (!combine.multiply) {
    const std::uint8_t v = combine.Apply(value, 0);
    if (pixelBytes == 1) {
      std::memset(at, v, static_cast<std::size_t>(n));
    } else {
      for (std::int32_t i = 0; i < n; ++i, at += pixelBytes) *at = v;
    }
    return;
  }
  for (std::int32_t i = 0; i < n; ++i, at += pixelBytes) *at = combine.Apply(value, *at);
}

}  // namespace strataread
