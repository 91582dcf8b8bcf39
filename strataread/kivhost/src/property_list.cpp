#include <algorithm>
#include <cstring>

#include "kivhost/property_list.h"

namespace kivhost {
namespace {

// The size argument each value type takes; -1 for any.
std::int64_t SizeArgumentOf(std::int32_t type) {
  switch (type) {
    case kKivType_Int32: return 4;
    case kKivType_Flag: return 1;
    case kKivType_Id: return 16;
    case kKivType_Rect: return 16;
    case kKivType_String: return 0;
    case kKivType_Bytes: return -1;
    default: return -2;
  }
}

}  // namespace

Ref<PropertyList> PropertyList::Create() { return Ref<PropertyList>::Share(new PropertyList()); }

KivResult KIV_CALL PropertyList::Unused3() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}

KivResult KIV_CALL PropertyList::Unused4() {
  ++unusedCalls_;
  return kKivResult_NoSuchInterface;
}

KivResult KIV_CALL PropertyList::Put(std::int32_t type, const void* value, std::uint32_t size,
                                     const char* key) {
  if (key == nullptr) return kKivResult_BadArgument;
  putLog_.emplace_back(key);
  if (const auto failing = failingKeys_.find(std::string_view(key)); failing != failingKeys_.end()) {
    return failing->second;
  }
  const std::int64_t expected = SizeArgumentOf(type);
  if (expected == -2 || (expected >= 0 && size != expected)) return kKivResult_BadArgument;
  if (value == nullptr && (size != 0 || type == kKivType_String)) return kKivResult_BadArgument;
  const std::size_t length = type == kKivType_String ? std::strlen(static_cast<const char*>(value)) : size;
  return Store(type, key, value, length);
}

KivResult PropertyList::Store(std::int32_t type, std::string_view key, const void* value, std::size_t size) {
  const auto* const bytes = static_cast<const std::uint8_t*>(value);
  std::vector<std::uint8_t> stored(bytes, bytes + size);
  const auto same = std::find_if(entries_.begin(), entries_.end(),
                                 [key](const PropertyEntry& entry) { return entry.key == key; });
  if (same != entries_.end()) {
    same->type = type;
    same->value = std::move(stored);
  } else {
    entries_.push_back(PropertyEntry{type, std::string(key), std::move(stored)});
  }
  return kKivResult_OK;
}

KivResult KIV_CALL PropertyList::Get(std::int32_t type, void* buffer, std::uint32_t size, const char* key) {
  ++getCalls_;
  if (key == nullptr) return kKivResult_BadArgument;
  const PropertyEntry* const entry = Find(key);
  if (entry == nullptr || entry->type != type) return kKivResult_BadArgument;
  if (size == 0) return kKivResult_OK;
  if (buffer == nullptr) return kKivResult_BadArgument;
  auto* const out = static_cast<std::uint8_t*>(buffer);
  if (type == kKivType_String) {
    const std::size_t copied = std::min<std::size_t>(entry->value.size(), size - 1);
    std::memcpy(out, entry->value.data(), copied);
    out[copied] = 0;
  } else {
    const std::size_t copied = std::min<std::size_t>(entry->value.size(), size);
    if (copied != 0) std::memcpy(out, entry->value.data(), copied);
  }
  return kKivResult_OK;
}

void PropertyList::FailPutOn(std::string key, KivResult result) { failingKeys_[std::move(key)] = result; }

const PropertyEntry* PropertyList::Find(std::string_view key) const {
  for (const PropertyEntry& entry : entries_) {
    if (entry.key == key) return &entry;
  }
  return nullptr;
}

void PropertyList::PutInt32(std::string_view key, std::int32_t value) {
  Store(kKivType_Int32, key, &value, sizeof value);
}

void PropertyList::PutString(std::string_view key, std::string_view value) {
  Store(kKivType_String, key, value.data(), value.size());
}

}  // namespace kivhost
