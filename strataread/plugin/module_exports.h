#pragma once
// The library's five exports, the only names it exports. Their types are the
// Dll*Fn types of the host interface.
#include "kiv/kiv_abi.h"

#if defined(_WIN32)
// The .def file names the exports.
#define STRATAREAD_EXPORT
#else
#define STRATAREAD_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
STRATAREAD_EXPORT KivResult KIV_CALL DllGetClassForm(const KivGuid* clsid, std::uint32_t* instanceSize,
                                                     KivClassInitializer* initializer,
                                                     KivClassFinalizer* finalizer);
STRATAREAD_EXPORT KivResult KIV_CALL DllGetClassInfo(IKivAllocator* allocator, ClassTableRow** table);
STRATAREAD_EXPORT KivResult KIV_CALL DllGetInterface(KivOwner* owner, const KivGuid* clsid, const KivGuid* iid,
                                                     void** object);
STRATAREAD_EXPORT KivResult KIV_CALL DllGetClassObject(const void* a, const void* b, void** c);
STRATAREAD_EXPORT KivResult KIV_CALL DllCanUnloadNow();
}
