#pragma once
// The register object, which writes the library's registration entries, and
// the agent object, which has no behaviour of its own.
#include "kiv/kiv_abi.h"
#include "object_base.h"

namespace strataread {

class CPS30Agent_IKivRegister final : public PluginObject<CPS30Agent_IKivRegister, IKivRegister> {
public:
  explicit CPS30Agent_IKivRegister(KivOwner* objectOwner) : PluginObject(objectOwner) {}
  KivResult Construct() { return kKivResult_OK; }

  // The agent entry (six strings), then the reader entry (the receptor id).
  // The first failure ends it; nothing is undone.
  KivResult KIV_CALL Register(IKivRegistrar* registrar, std::uint32_t registration) override;

private:
  friend class PluginObject<CPS30Agent_IKivRegister, IKivRegister>;
  ~CPS30Agent_IKivRegister() = default;
};

class CPS30Agent_IKivAgent final : public PluginObject<CPS30Agent_IKivAgent, IKivAgent> {
public:
  explicit CPS30Agent_IKivAgent(KivOwner* objectOwner) : PluginObject(objectOwner) {}
  KivResult Construct() { return kKivResult_OK; }

  KivResult KIV_CALL Notify(void* argument) override;

private:
  friend class PluginObject<CPS30Agent_IKivAgent, IKivAgent>;
  ~CPS30Agent_IKivAgent() = default;
};

KivResult CreateRegisterObject(KivOwner* owner, void** object);
KivResult CreateAgentObject(KivOwner* owner, void** object);

}  // namespace strataread
