#include "cps30_agent.h"

#include "guid_bytes.h"

namespace strataread {
namespace {

struct AgentValue {
  const char* key;
  const char* value;
};

constexpr AgentValue kAgentValues[] = {
    {"Name", "Photoshop"},       {"Format", "kKivCfFormat_PS30"}, {"FileCreator", "8BIM"},
    {"FileTypes", "8BPS"},       {"MacScrapTypes", "8BPS"},       {"FileExts", "*.psd"},
};

// An entry; a registrar that answers success without a list has given no
// place to write to.
KivResult NewEntry(IKivRegistrar* registrar, std::uint32_t registration, const KivGuid& interfaceId,
                   IKivPropertyList** entry) {
  *entry = nullptr;
  const KivResult result = registrar->NewEntry(registration, &CLSID_CPS30Agent, &interfaceId, entry);
  if (result != kKivResult_OK) return result;
  return *entry != nullptr ? kKivResult_OK : kKivResult_OutOfMemory;
}

}  // namespace

KivResult KIV_CALL CPS30Agent_IKivRegister::Register(IKivRegistrar* registrar, std::uint32_t registration) {
  if (registrar == nullptr) return kKivResult_BadArgument;
  IKivPropertyList* agent = nullptr;
  KivResult result = NewEntry(registrar, registration, IID_IKivAgent, &agent);
  if (result != kKivResult_OK) return result;
  for (const AgentValue& value : kAgentValues) {
    result = agent->Put(kKivType_String, value.value, 0, value.key);
    if (result != kKivResult_OK) return result;
  }
  IKivPropertyList* reader = nullptr;
  result = NewEntry(registrar, registration, IID_IKivReader, &reader);
  if (result != kKivResult_OK) return result;
  const auto receptor = GuidBytes(IID_IKivImageReceptor);
  return reader->Put(kKivType_Bytes, receptor.data(), static_cast<std::uint32_t>(receptor.size()),
                     "UnderstoodReceptors");
}

KivResult KIV_CALL CPS30Agent_IKivAgent::Notify(void* argument) {
  (void)argument;
  return kKivResult_OK;
}

KivResult CreateRegisterObject(KivOwner* owner, void** object) {
  return CreatePluginObject<CPS30Agent_IKivRegister>(owner, object);
}

KivResult CreateAgentObject(KivOwner* owner, void** object) {
  return CreatePluginObject<CPS30Agent_IKivAgent>(owner, object);
}

}  // namespace strataread
