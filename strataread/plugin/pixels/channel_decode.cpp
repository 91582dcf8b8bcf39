// Channel rows: PackBits, 1-bit expansion and the inversion of CMYK samples.
#include "channel_decode.h"

#include <algorithm>
#include <cstring>

namespace strataread {
namespace {

// Runs of up to this many bytes are moved as one fixed-size block.
constexpr std::size_t kBlock = 2 * sizeof(std::uint64_t);

// Photoshop stores CMYK samples as 255 minus the ink; the rest of the
// pipeline works with ink amounts. For 16-bit samples 65535 - v inverts
// both bytes alike, so one byte-wise pass serves every depth.
void InvertBytes(std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(255 - bytes[i]);
}

// Expands samples bits, most significant first, from bits into samples; a
// set bit is 0 (black). Runs from the last sample backwards, so bits may be
// the start of samples itself: byte j is read at samples 8j to 8j + 7,
// before sample j overwrites it.
void ExpandBits(const std::uint8_t* bits, std::uint8_t* samples, std::size_t count) {
  for (std::size_t i = count; i-- > 0;) {
    const unsigned bit = (bits[i >> 3] >> (7 - (i & 7))) & 1u;
    samples[i] = static_cast<std::uint8_t>(bit ^ 1u);
  }
}

// Checks a row against the buffer and reads its stored bytes.
KivResult ReadStoredRow(std::int32_t depth, std::uint8_t* readBuffer, std::uint32_t bufferSize,
                        std::int64_t byteCount, std::int32_t samples) {
  if (depth != 1 && depth != 8 && depth != 16) return kKivResult_UnsupportedFile;
  if (byteCount < 0 || static_cast<std::uint64_t>(byteCount) > bufferSize ||
      DecodedRowLength(depth, samples) > bufferSize) {
    return kKivResult_CorruptFile;
  }
  if (byteCount != 0 &&
      ReadFully(DocumentStream, readBuffer, static_cast<std::uint32_t>(byteCount)) != kKivResult_OK) {
    return kKivResult_ReadFailed;
  }
  return kKivResult_OK;
}

}  // namespace

std::uint64_t RowLength(std::int32_t depth, std::int64_t samples) {
  if (depth <= 0 || samples <= 0) return 0;
  return (static_cast<std::uint64_t>(depth) * static_cast<std::uint64_t>(samples) + 7) / 8;
}

std::uint64_t DecodedRowLength(std::int32_t depth, std::int64_t samples) {
  return std::max<std::uint64_t>(RowLength(depth, samples), samples > 0 ? static_cast<std::uint64_t>(samples) : 0);
}

std::size_t UnpackBits(const std::uint8_t* source, std::size_t sourceLength, std::uint8_t* destination,
                       std::size_t length) {
  std::size_t in = 0;
  std::size_t out = 0;
  while (out < length && in < sourceLength) {
    // While a block fits in the row and the source holds a header and a
    // block, short runs of both kinds are written as one block of kBlock
    // bytes; its bytes beyond the run lie inside the row, and the runs after
    // it overwrite them.
    while (out + kBlock <= length && in + 1 + kBlock <= sourceLength) {
      const int header = static_cast<std::int8_t>(source[in]);
      const std::size_t run = static_cast<std::size_t>(header >= 0 ? header + 1 : 1 - header);
      if (run > kBlock) break;
      if (header >= 0) {
        std::memcpy(destination + out, source + in + 1, kBlock);
        in += 1 + run;
      } else {
        std::memset(destination + out, source[in + 1], kBlock);
        in += 2;
      }
      out += run;
    }
    if (out >= length || in >= sourceLength) break;

    // One run with every bound checked: a long one, or one near the end.
    const int header = static_cast<std::int8_t>(source[in++]);
    const std::size_t missing = length - out;
    if (header >= 0) {
      const std::size_t run = static_cast<std::size_t>(header) + 1;
      const std::size_t cut = std::min({run, missing, sourceLength - in});
      std::memcpy(destination + out, source + in, cut);
      if (cut < run) return out + cut;
      in += run;
      out += run;
    } else {
      if (in >= sourceLength) break;
      const std::size_t run = static_cast<std::size_t>(1 - header);
      std::memset(destination + out, source[in++], std::min(run, missing));
      out += run;
    }
  }
  return std::min(out, length);
}

KivResult DecodeRow(const CPS30Document& document, std::uint8_t* readBuffer, std::uint8_t* outputBuffer,
                    std::uint32_t bufferSize, std::int64_t byteCount, std::int32_t samples) {
  const std::int32_t depth = document.depth;
  const KivResult result = ReadStoredRow(depth, readBuffer, bufferSize, byteCount, samples);
  if (result != kKivResult_OK) return result;
  const auto stored = static_cast<std::size_t>(byteCount);
  const auto length = static_cast<std::size_t>(RowLength(depth, samples));

  // Unpack (or copy) the stored bytes into the output buffer; what they do
  // not cover is zero, never the bytes of an earlier row.
  std::size_t filled = 0;
  if (document.compression == 1) {
    filled = UnpackBits(readBuffer, stored, outputBuffer, length);
  } else {
    filled = std::min(stored, length);
    std::memcpy(outputBuffer, readBuffer, filled);
  }
  std::memset(outputBuffer + filled, 0, length - filled);

  if (depth == 1) {
    ExpandBits(outputBuffer, outputBuffer, static_cast<std::size_t>(samples));
  } else if (document.colorMode == kModeCmyk) {
    InvertBytes(outputBuffer, length);
  }
  return kKivResult_OK;
}

}  // namespace strataread
