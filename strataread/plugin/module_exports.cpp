#include "module_exports.h"

#include <cstring>
#include <type_traits>

#include "class_table.h"
#include "object_base.h"

namespace strataread {
namespace {

// The exports must match the types the host calls them through.
static_assert(std::is_same_v<decltype(&DllGetClassForm), DllGetClassFormFn>);
static_assert(std::is_same_v<decltype(&DllGetClassInfo), DllGetClassInfoFn>);
static_assert(std::is_same_v<decltype(&DllGetInterface), DllGetInterfaceFn>);
static_assert(std::is_same_v<decltype(&DllGetClassObject), DllGetClassObjectFn>);
static_assert(std::is_same_v<decltype(&DllCanUnloadNow), DllCanUnloadNowFn>);

struct ClassForm {
  std::uint32_t* instanceSize;
  KivClassInitializer* initializer;
  KivClassFinalizer* finalizer;
  bool found;
};

KivResult StoreClassForm(const KivGuid&, std::uint32_t, std::uint32_t instanceSize, KivClassInitializer initializer,
                         KivClassFinalizer finalizer, void* context) {
  auto* const form = static_cast<ClassForm*>(context);
  if (form->instanceSize != nullptr) *form->instanceSize = instanceSize;
  if (form->initializer != nullptr) *form->initializer = initializer;
  if (form->finalizer != nullptr) *form->finalizer = finalizer;
  form->found = true;
  return 1;
}

struct InterfaceSearch {
  const KivGuid* interfaceId;
  CreationFunction create;
};

KivResult FindCreation(const KivGuid&, std::uint32_t, const KivGuid& interfaceId, std::uint32_t,
                       CreationFunction create, void* context) {
  auto* const search = static_cast<InterfaceSearch*>(context);
  if (!KivSameId(interfaceId, *search->interfaceId)) return kKivResult_OK;
  search->create = create;
  return 1;
}

// The class-info table: rows are counted in one walk and written in the next.
struct TableFill {
  unsigned char* rows;  // null while counting
  std::uint32_t capacity;
  std::uint32_t count;
};

void AddRow(TableFill& fill, const ClassTableRow& row) {
  if (fill.rows != nullptr && fill.count < fill.capacity) {
    // The host's address need not suit the row's alignment: copy bytes.
    std::memcpy(fill.rows + std::size_t{fill.count} * sizeof row, &row, sizeof row);
  }
  ++fill.count;
}

KivResult AddClassRow(const KivGuid& classId, std::uint32_t flags, std::uint32_t, KivClassInitializer,
                      KivClassFinalizer, void* context) {
  AddRow(*static_cast<TableFill*>(context), ClassTableRow{classId, flags, IID_KivClassFactory, kClassRowNumber});
  return kKivResult_OK;
}

KivResult AddInterfaceRow(const KivGuid& classId, std::uint32_t flags, const KivGuid& interfaceId,
                          std::uint32_t number, CreationFunction, void* context) {
  AddRow(*static_cast<TableFill*>(context), ClassTableRow{classId, flags, interfaceId, number});
  return kKivResult_OK;
}

}  // namespace
}  // namespace strataread

using namespace strataread;

extern "C" KivResult KIV_CALL DllGetClassForm(const KivGuid* clsid, std::uint32_t* instanceSize,
                                              KivClassInitializer* initializer, KivClassFinalizer* finalizer) {
  ClassForm form{instanceSize, initializer, finalizer, false};
  EnumerateClassTable(clsid, &StoreClassForm, nullptr, &form);
  return form.found ? kKivResult_OK : kKivResult_NoSuchClass;
}

extern "C" KivResult KIV_CALL DllGetClassInfo(IKivAllocator* allocator, ClassTableRow** table) {
  if (table == nullptr) return kKivResult_BadArgument;
  if (allocator == nullptr) {
    *table = nullptr;
    return kKivResult_BadArgument;
  }
  TableFill fill{nullptr, 0, 0};
  EnumerateClassTable(nullptr, &AddClassRow, &AddInterfaceRow, &fill);
  // One row more ends the table.
  const std::uint32_t rows = fill.count + 1;
  const std::uint32_t bytes = rows * static_cast<std::uint32_t>(sizeof(ClassTableRow));
  auto* const memory = static_cast<unsigned char*>(allocator->Alloc(bytes));
  *table = reinterpret_cast<ClassTableRow*>(memory);
  if (memory == nullptr) return kKivResult_OutOfMemory;
  fill = TableFill{memory, rows - 1, 0};
  EnumerateClassTable(nullptr, &AddClassRow, &AddInterfaceRow, &fill);
  // The last row is all zero, flags and number too: the host reads them.
  std::memset(memory + std::size_t{rows - 1} * sizeof(ClassTableRow), 0, sizeof(ClassTableRow));
  return kKivResult_OK;
}

extern "C" KivResult KIV_CALL DllGetInterface(KivOwner* owner, const KivGuid* clsid, const KivGuid* iid,
                                              void** object) {
  if (iid == nullptr || object == nullptr) return kKivResult_BadArgument;
  InterfaceSearch search{iid, nullptr};
  EnumerateClassTable(clsid, nullptr, &FindCreation, &search);
  if (search.create == nullptr) return kKivResult_NoSuchInterface;
  return search.create(owner, object);
}

extern "C" KivResult KIV_CALL DllGetClassObject(const void* a, const void* b, void** c) {
  (void)a;
  (void)b;
  (void)c;
  return kKivResult_NoSuchClass;
}

extern "C" KivResult KIV_CALL DllCanUnloadNow() {
  return InstanceCount == 0 ? kKivResult_OK : kKivResult_StillInUse;
}
