#include <cstring>

#include "kivhost/host_services.h"

namespace kivhost {

Ref<FormatTable> FormatTable::Create() { return Ref<FormatTable>::Share(new FormatTable()); }

FormatTable::FormatTable() : faults_(kKivResult_BadArgument) { AddFormat("kKivCfFormat_PS30", kPs30FormatId); }

KivResult KIV_CALL FormatTable::LookUpFormat(const char* name, KivStreamAccess* access) {
  if (faults_.Fails()) return faults_.Result();
  if (name == nullptr || access == nullptr) return kKivResult_BadArgument;
  looked_.emplace_back(name);
  for (const auto& [known, id] : formats_) {
    if (known == name) {
      access->formatId = id;
      return kKivResult_OK;
    }
  }
  return kKivResult_BadArgument;
}

void FormatTable::AddFormat(std::string name, std::int16_t id) { formats_.emplace_back(std::move(name), id); }

bool FormatTable::Knows(std::int16_t id) const {
  for (const auto& [name, known] : formats_) {
    if (known == id) return true;
  }
  return false;
}

}  // namespace kivhost
