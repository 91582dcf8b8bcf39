#pragma once
// The library's one class, CPS30Agent, and its three interfaces, as the
// exports hand them to the host.
#include <cstdint>

#include "kiv/kiv_abi.h"

namespace strataread {

inline constexpr std::uint32_t kClassFlags = 0x080000C0;
inline constexpr std::uint32_t kInstanceSize = 24;
inline constexpr std::uint32_t kInterfaceNumber = 2;
// The class row of the class-info table carries COM's class-factory id and 1.
inline constexpr std::uint32_t kClassRowNumber = 1;

// Makes an interface object for owner and stores it in *object.
using CreationFunction = KivResult (*)(KivOwner* owner, void** object);

using ClassCallback = KivResult (*)(const KivGuid& classId, std::uint32_t flags, std::uint32_t instanceSize,
                                    KivClassInitializer initializer, KivClassFinalizer finalizer, void* context);
using InterfaceCallback = KivResult (*)(const KivGuid& classId, std::uint32_t flags, const KivGuid& interfaceId,
                                        std::uint32_t number, CreationFunction create, void* context);

// Walks the table: with a filter other than CLSID_CPS30Agent nothing is
// called; otherwise the class callback, then the interface callback once per
// interface in table order. The first non-zero answer ends the walk and is
// returned; callbacks may be null.
KivResult EnumerateClassTable(const KivGuid* classFilter, ClassCallback onClass, InterfaceCallback onInterface,
                              void* context);

KivResult KIV_CALL InitializeInstance(void* instance);
void KIV_CALL FinalizeInstance(void* instance);

}  // namespace strataread
