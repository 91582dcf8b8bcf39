#include <cstring>

#include "kivhost/property_list.h"

namespace kivhost {
namespace {

template <class T>
std::optional<T> ValueAs(const PropertyEntry& entry, std::int32_t type) {
  if (entry.type != type || entry.value.size() != sizeof(T)) return std::nullopt;
  T value;
  std::memcpy(&value, entry.value.data(), sizeof value);
  return value;
}

}  // namespace

std::optional<std::int32_t> PropertyEntry::Int32() const { return ValueAs<std::int32_t>(*this, kKivType_Int32); }

std::optional<bool> PropertyEntry::Flag() const {
  const auto byte = ValueAs<std::uint8_t>(*this, kKivType_Flag);
  if (!byte) return std::nullopt;
  return *byte != 0;
}

std::optional<KivGuid> PropertyEntry::Id() const { return ValueAs<KivGuid>(*this, kKivType_Id); }

std::optional<KivRectValue> PropertyEntry::Rect() const { return ValueAs<KivRectValue>(*this, kKivType_Rect); }

}  // namespace kivhost
