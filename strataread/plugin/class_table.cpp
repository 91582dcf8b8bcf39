#include "class_table.h"

#include "cps30_agent.h"
#include "cps30_reader.h"

namespace strataread {
namespace {

struct InterfaceRow {
  const KivGuid* interfaceId;
  CreationFunction create;
};

constexpr InterfaceRow kInterfaces[] = {
    {&IID_IKivRegister, &CreateRegisterObject},
    {&IID_IKivAgent, &CreateAgentObject},
    {&IID_IKivReader, &CreateReaderObject},
};

}  // namespace

KivResult KIV_CALL InitializeInstance(void* instance) {
  (void)instance;
  return kKivResult_OK;
}

void KIV_CALL FinalizeInstance(void* instance) { (void)instance; }

KivResult EnumerateClassTable(const KivGuid* classFilter, ClassCallback onClass, InterfaceCallback onInterface,
                              void* context) {
  if (classFilter != nullptr && !KivSameId(*classFilter, CLSID_CPS30Agent)) return kKivResult_OK;
  if (onClass != nullptr) {
    const KivResult answer =
        onClass(CLSID_CPS30Agent, kClassFlags, kInstanceSize, &InitializeInstance, &FinalizeInstance, context);
    if (answer != kKivResult_OK) return answer;
  }
  if (onInterface != nullptr) {
    for (const InterfaceRow& row : kInterfaces) {
      const KivResult answer =
          onInterface(CLSID_CPS30Agent, kClassFlags, *row.interfaceId, kInterfaceNumber, row.create, context);
      if (answer != kKivResult_OK) return answer;
    }
  }
  return kKivResult_OK;
}

}  // namespace strataread
