#pragma once
// A row byte-count table as the file stores it: one big-endian 16-bit entry
// per row, the stored bytes of that row.
#include <algorithm>
#include <cstdint>

namespace strataread {

class RowTable {
public:
  RowTable() = default;  // no table: raw rows
  explicit RowTable(const std::uint8_t* entries) : entries_(entries) {}

  bool Present() const { return entries_ != nullptr; }
  std::uint32_t At(std::int64_t row) const {
    const std::uint8_t* e = entries_ + 2 * row;
    return static_cast<std::uint32_t>(e[0] << 8 | e[1]);
  }
  std::uint32_t Largest(std::int64_t from, std::int64_t count) const {
    std::uint32_t largest = 0;
    for (std::int64_t i = from; i < from + count; ++i) largest = std::max(largest, At(i));
    return largest;
  }
  std::uint64_t Sum(std::int64_t from, std::int64_t count) const {
    std::uint64_t sum = 0;
    for (std::int64_t i = from; i < from + count; ++i) sum += At(i);
    return sum;
  }

private:
  const std::uint8_t* entries_ = nullptr;
};

}  // namespace strataread
