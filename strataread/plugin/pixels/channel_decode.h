#pragma once
// One stored row of one channel, raw or PackBits, turned into one row of
// samples: a byte per sample for depths 1 and 8, two big-endian bytes per
// sample for depth 16.
#include <cstddef>
#include <cstdint>

#include "cps30_document.h"

namespace strataread {

// Bytes of one unpacked row of the given number of samples, (depth x samples
// + 7) / 8. 64-bit, so no width taken from a file can wrap it.
std::uint64_t RowLength(std::int32_t depth, std::int64_t samples);

// Bytes one decoded row of the given number of samples occupies.
std::uint64_t DecodedRowLength(std::int32_t depth, std::int64_t samples);

// Unpacks PackBits data until length bytes are written or the source ends,
// consuming at most sourceLength bytes. A run that passes the destination's
// end is cut there; a header of -128 repeats its byte 129 times. Answers the
// number of bytes unpacked; nothing is written at or beyond length, but the
// bytes between the count and length are not meaningful.
std::size_t UnpackBits(const std::uint8_t* source, std::size_t sourceLength, std::uint8_t* destination,
                       std::size_t length);

// Reads byteCount stored bytes from DocumentStream into readBuffer and writes
// the row's samples decoded into outputBuffer, under the document's depth,
// colorMode and compression. Both buffers hold bufferSize bytes and must not
// overlap. The part of the row the stored bytes do not cover is 0.
// Answers kKivResult_CorruptFile for a byte count below 0 or beyond the
// buffer (or a row the buffer cannot hold), kKivResult_ReadFailed when the
// stream does not deliver the row, kKivResult_UnsupportedFile for a depth
// other than 1, 8 and 16.
KivResult DecodeRow(const CPS30Document& document, std::uint8_t* readBuffer, std::uint8_t* outputBuffer,
                    std::uint32_t bufferSize, std::int64_t byteCount, std::int32_t samples);

}  // namespace strataread
