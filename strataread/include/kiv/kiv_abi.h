#pragma once
// The authoring host's plug-in interface, as the plug-in and every host see it.
//
// Every interface is an operation table whose first three operations are
// QueryInterface, AddRef and Release. Operations that the plug-in never calls
// still have their slot (named UnusedN) so that the tables line up with the
// host's. No interface has a virtual destructor: it would take slots of its
// own and shift every operation. On 32-bit Windows every operation and export
// uses __stdcall.
//
// Conventions: every operation returns a 32-bit result, 0 for success (except
// the few that return an address or a handle, marked below). Values come back
// through out-pointers; an interface handed out through an out-pointer carries
// one reference for the receiver.
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(_WIN32) && !defined(_WIN64)
#define KIV_CALL __stdcall
#else
#define KIV_CALL
#endif

using KivResult = std::int32_t;

// ---------------------------------------------------------------------------
// Result codes

inline constexpr KivResult kKivResult_OK = 0;
inline constexpr KivResult kKivResult_BadArgument = static_cast<KivResult>(0x80040001u);
inline constexpr KivResult kKivResult_OutOfMemory = static_cast<KivResult>(0x80040002u);  // also: no import source
inline constexpr KivResult kKivResult_StillInUse = static_cast<KivResult>(0x80040003u);
inline constexpr KivResult kKivResult_NoSuchInterface = static_cast<KivResult>(0x80040004u);
inline constexpr KivResult kKivResult_NoSuchClass = static_cast<KivResult>(0x80040005u);
inline constexpr KivResult kKivResult_ReadFailed = static_cast<KivResult>(0x80040053u);
inline constexpr KivResult kKivResult_Incomplete = static_cast<KivResult>(0x80040054u);  // host only
inline constexpr KivResult kKivResult_CorruptFile = static_cast<KivResult>(0x80040064u);
inline constexpr KivResult kKivResult_UnsupportedFile = static_cast<KivResult>(0x800412C3u);

// ---------------------------------------------------------------------------
// Ids: 16-byte GUIDs in the usual byte layout (first three fields little-endian
// in memory on every machine we build for), compared as four 32-bit words.

struct KivGuid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};
static_assert(sizeof(KivGuid) == 16);

inline bool KivSameId(const KivGuid& a, const KivGuid& b) {
  std::uint32_t wa[4];
  std::uint32_t wb[4];
  std::memcpy(wa, &a, sizeof wa);
  std::memcpy(wb, &b, sizeof wb);
  return wa[0] == wb[0] && wa[1] == wb[1] && wa[2] == wb[2] && wa[3] == wb[3];
}

// {00000000-0000-0000-0000-000000000000}
inline constexpr KivGuid kKivNullId = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
// Host utilities class: stream maker, format table, property-list maker.
// {F3C0E046-33C0-11CF-B96E-080007160DC3}
inline constexpr KivGuid CLSID_KivHostUtilities = {0xF3C0E046, 0x33C0, 0x11CF, {0xB9, 0x6E, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// {AB9D9921-7F02-2F99-487F-080007160DC3}
inline constexpr KivGuid IID_IKivHandleMemory = {0xAB9D9921, 0x7F02, 0x2F99, {0x48, 0x7F, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// {2253DDA6-CA88-11CF-AD29-080007160DC3}
inline constexpr KivGuid IID_IKivStreamMaker = {0x2253DDA6, 0xCA88, 0x11CF, {0xAD, 0x29, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// {0DC991D2-CA88-11CF-AD29-080007160DC3}
inline constexpr KivGuid IID_IKivFormatTable = {0x0DC991D2, 0xCA88, 0x11CF, {0xAD, 0x29, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// {45F459C4-4B54-11CF-9244-080007160DC3}
inline constexpr KivGuid IID_IKivPropertyListMaker = {0x45F459C4, 0x4B54, 0x11CF, {0x92, 0x44, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// {BCC00E6A-B303-11CF-9432-080007160DC3}
inline constexpr KivGuid IID_IKivImageReceptor = {0xBCC00E6A, 0xB303, 0x11CF, {0x94, 0x32, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// The plug-in's class and its three interfaces.
// {538393C0-A509-11CF-A05C-000502D0A999}
inline constexpr KivGuid CLSID_CPS30Agent = {0x538393C0, 0xA509, 0x11CF, {0xA0, 0x5C, 0x00, 0x05, 0x02, 0xD0, 0xA9, 0x99}};
// {AC3E7803-0002-8FE5-0000-080007160DC3}
inline constexpr KivGuid IID_IKivRegister = {0xAC3E7803, 0x0002, 0x8FE5, {0x00, 0x00, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// {0FA45856-33C1-11CF-B96E-080007160DC3}
inline constexpr KivGuid IID_IKivAgent = {0x0FA45856, 0x33C1, 0x11CF, {0xB9, 0x6E, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// {573C95EA-8C6B-11CF-8B95-080007160DC3}
inline constexpr KivGuid IID_IKivReader = {0x573C95EA, 0x8C6B, 0x11CF, {0x8B, 0x95, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// COM's class-factory interface id, in the class row of the class-info table.
// {00000001-0000-0000-C000-000000000046}
inline constexpr KivGuid IID_KivClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// The "SelectorID" value of every per-layer list.
// {E64A762C-172E-11D1-93A6-000502E85810}
inline constexpr KivGuid PS30LayerSelectorId = {0xE64A762C, 0x172E, 0x11D1, {0x93, 0xA6, 0x00, 0x05, 0x02, 0xE8, 0x58, 0x10}};

// ---------------------------------------------------------------------------
// Property-list value types (type code: size argument, value)

inline constexpr std::int32_t kKivType_Int32 = 3;   // 4: signed 32-bit integer
inline constexpr std::int32_t kKivType_Flag = 6;    // 1: one byte, 0 or 1
inline constexpr std::int32_t kKivType_Id = 7;      // 16: KivGuid
inline constexpr std::int32_t kKivType_Bytes = 8;   // any: raw bytes
inline constexpr std::int32_t kKivType_String = 9;  // 0: zero-terminated string
inline constexpr std::int32_t kKivType_Rect = 12;   // 16: top, left, bottom, right (signed 32-bit)

// ---------------------------------------------------------------------------
// Pixel layouts the host understands (ImageInfo::pixelLayout, offer lists)

inline constexpr std::uint32_t LayoutRgb = 0;          // R, G, B, 8 bits each
inline constexpr std::uint32_t LayoutRgba = 1;         // R, G, B, A, 8 bits each
inline constexpr std::uint32_t LayoutIndexed = 2;      // one 8-bit palette index
inline constexpr std::uint32_t LayoutIndexedPlus = 3;  // index or grey, then further channels
inline constexpr std::uint32_t LayoutCmyk = 4;         // C, M, Y, K (and further channels)
inline constexpr std::uint32_t LayoutRgb48 = 6;        // R, G, B (and further), 16 bits each
inline constexpr std::uint32_t LayoutBitmap = 7;       // one bit per pixel

// ---------------------------------------------------------------------------
// Records

using KivHandle = std::uintptr_t;  // handle-memory block; 0 is none

// Filled by the plug-in, completed by the host's LookUpFormat, passed to
// MakeSourceStream.
struct KivStreamAccess {
  std::int16_t formatId;
  std::uint8_t padding[2];
  std::int32_t values[4];  // preset to 0, 1, -1, 2147483647
};
static_assert(sizeof(KivStreamAccess) == 20);

// The value of a kKivType_Rect property.
struct KivRectValue {
  std::int32_t top;
  std::int32_t left;
  std::int32_t bottom;
  std::int32_t right;
};
static_assert(sizeof(KivRectValue) == 16);

struct KivPaletteEntry {
  std::uint16_t reserved;  // 0
  std::uint16_t red;       // 0 to 65535
  std::uint16_t green;
  std::uint16_t blue;
};
static_assert(sizeof(KivPaletteEntry) == 8);

// The image as described to the host.
struct ImageInfo {
  std::uint32_t height;
  std::uint32_t width;
  std::uint32_t horizontalResolution;  // whole pixels per inch
  std::uint32_t verticalResolution;
  std::int32_t rowBytes;               // bytes of one delivered row
  std::uint32_t pixelLayout;           // Layout* code
  std::int16_t components;
  std::uint16_t bitsPerComponent;
  std::uint16_t reserved;              // always 0xFFFF
  std::uint16_t unused;                // not written
  std::uint32_t paletteUsed;           // meaningful palette entries
  std::uint32_t paletteSize;           // always 256
  KivPaletteEntry palette[256];
};
static_assert(offsetof(ImageInfo, components) == 24);
static_assert(offsetof(ImageInfo, paletteUsed) == 32);
static_assert(sizeof(ImageInfo) == 40 + 256 * 8);

// One row of the class-info table that DllGetClassInfo hands out.
struct ClassTableRow {
  KivGuid classId;
  std::uint32_t classFlags;
  KivGuid interfaceId;
  std::uint32_t number;
};
static_assert(sizeof(ClassTableRow) == 40);

// ---------------------------------------------------------------------------
// Interfaces
//
// "Host" marks what the host implements and the plug-in calls; "plug-in"
// what the plug-in implements and the host calls. Placeholders (UnusedN)
// stand for operations that the plug-in never calls; a host answers them as
// it likes.

struct IKivUnknown {
  // iid: the interface asked for (not null). out: receives that interface of
  // the object, with one reference for the caller, or null when the object
  // has none (kKivResult_NoSuchInterface).
  virtual KivResult KIV_CALL QueryInterface(const KivGuid* iid, void** out) = 0;
  // Both return the object's reference count after the call; the object is
  // gone when Release returns 0.
  virtual std::int32_t KIV_CALL AddRef() = 0;
  virtual std::int32_t KIV_CALL Release() = 0;

protected:
  ~IKivUnknown() = default;
};

// Host: the allocator of plug-in objects and of tables the host keeps.
struct IKivAllocator : IKivUnknown {
  // size: bytes wanted (0 is allowed). Returns the block's address, or null
  // when no memory can be had.
  virtual void* KIV_CALL Alloc(std::uint32_t size) = 0;
  // address: a block from Alloc of this allocator, or null (ignored).
  virtual void KIV_CALL Free(void* address) = 0;

protected:
  ~IKivAllocator() = default;
};

// Host: reached through KivOwner::services.
struct IKivHostServices : IKivUnknown {
  // clsid: the class (CLSID_KivHostUtilities); iid: the interface wanted of
  // the new object (IID_IKivStreamMaker, IID_IKivFormatTable,
  // IID_IKivPropertyListMaker); out: receives it with one reference, null on
  // failure. QueryInterface(IID_IKivHandleMemory) on the services answers
  // the host's handle memory.
  virtual KivResult KIV_CALL CreateInstance(const KivGuid* clsid, const KivGuid* iid, void** out) = 0;

protected:
  ~IKivHostServices() = default;
};

// Host: movable memory blocks named by handles.
struct IKivHandleMemory : IKivUnknown {
  // size: bytes of the new block. Returns its handle, or 0 on failure.
  virtual KivHandle KIV_CALL NewHandle(std::uint32_t size) = 0;
  virtual KivResult KIV_CALL Unused4() = 0;
  // handle: a live block, freed even when locked.
  virtual KivResult KIV_CALL FreeHandle(KivHandle handle) = 0;
  virtual KivResult KIV_CALL Unused6() = 0;
  virtual KivResult KIV_CALL Unused7() = 0;
  // handle: a live block. Returns its address, fixed until it is unlocked
  // or freed; null for handle 0 or on failure.
  virtual void* KIV_CALL LockHandle(KivHandle handle) = 0;
  // handle: a block locked before.
  virtual KivResult KIV_CALL UnlockHandle(KivHandle handle) = 0;

protected:
  ~IKivHandleMemory() = default;
};

// Host: a readable byte stream (the document stream of the plug-in).
struct IKivByteStream : IKivUnknown {
  // mode, flags: the plug-in passes 0 and 1 (for reading); their meaning
  // lies with the host. Reading starts at offset 0.
  virtual KivResult KIV_CALL Open(std::int32_t mode, std::int32_t flags) = 0;
  virtual KivResult KIV_CALL Close() = 0;
  // buffer: room for count bytes; count: bytes wanted; actual: receives the
  // number delivered (may be null). At the end of the stream a read delivers
  // fewer bytes (possibly none) and still succeeds. Reading advances the
  // position by the bytes delivered.
  virtual KivResult KIV_CALL Read(void* buffer, std::uint32_t count, std::uint32_t* actual) = 0;
  virtual KivResult KIV_CALL Unused6() = 0;
  virtual KivResult KIV_CALL Unused7() = 0;
  // position: receives the absolute byte offset of the next read.
  virtual KivResult KIV_CALL GetPosition(std::uint32_t* position) = 0;
  // position: absolute byte offset from the start of the stream.
  virtual KivResult KIV_CALL SetPosition(std::uint32_t position) = 0;

protected:
  ~IKivByteStream() = default;
};

// Host: makes byte streams.
struct IKivStreamMaker : IKivUnknown {
  virtual KivResult KIV_CALL Unused3() = 0;
  virtual KivResult KIV_CALL Unused4() = 0;
  virtual KivResult KIV_CALL Unused5() = 0;
  virtual KivResult KIV_CALL Unused6() = 0;
  virtual KivResult KIV_CALL Unused7() = 0;
  virtual KivResult KIV_CALL Unused8() = 0;
  // source: the import source the host gave the reader; access: the record
  // completed by LookUpFormat; out: receives a new, closed stream over the
  // source with one reference, null on failure.
  virtual KivResult KIV_CALL MakeSourceStream(IKivUnknown* source, KivStreamAccess* access,
                                              IKivByteStream** out) = 0;
  // fileReference: the host's own reference to a file (our host: a
  // zero-terminated path); out: as for MakeSourceStream.
  virtual KivResult KIV_CALL MakeFileStream(const void* fileReference, IKivByteStream** out) = 0;

protected:
  ~IKivStreamMaker() = default;
};

// Host: the table of data formats the host knows.
struct IKivFormatTable : IKivUnknown {
  // name: zero-terminated format name ("kKivCfFormat_PS30"); access: the
  // record whose formatId receives the format's identifier.
  virtual KivResult KIV_CALL LookUpFormat(const char* name, KivStreamAccess* access) = 0;

protected:
  ~IKivFormatTable() = default;
};

// Host: typed values under string keys.
struct IKivPropertyList : IKivUnknown {
  virtual KivResult KIV_CALL Unused3() = 0;
  virtual KivResult KIV_CALL Unused4() = 0;
  // type: a kKivType_* code; buffer: receives the value, at most size bytes;
  // key: zero-terminated. 0 when the key is present with that type.
  virtual KivResult KIV_CALL Get(std::int32_t type, void* buffer, std::uint32_t size, const char* key) = 0;
  // type: a kKivType_* code; value: the value's address; size: as the value
  // type says (0 for a string, the byte count for bytes); key:
  // zero-terminated. The list copies the value.
  virtual KivResult KIV_CALL Put(std::int32_t type, const void* value, std::uint32_t size, const char* key) = 0;

protected:
  ~IKivPropertyList() = default;
};

// Host: makes empty property lists.
struct IKivPropertyListMaker : IKivUnknown {
  // out: receives a new list with one reference for the caller.
  virtual KivResult KIV_CALL NewPropertyList(IKivPropertyList** out) = 0;

protected:
  ~IKivPropertyListMaker() = default;
};

// Host: given to IKivRegister::Register.
struct IKivRegistrar : IKivUnknown {
  virtual KivResult KIV_CALL Unused3() = 0;
  virtual KivResult KIV_CALL Unused4() = 0;
  virtual KivResult KIV_CALL Unused5() = 0;
  virtual KivResult KIV_CALL Unused6() = 0;
  // registration: the value the host passed to Register; clsid, iid: the
  // class and interface the entry describes; out: receives the entry's
  // list. The registrar keeps the list: no reference passes to the caller.
  virtual KivResult KIV_CALL NewEntry(std::uint32_t registration, const KivGuid* clsid,
                                      const KivGuid* iid, IKivPropertyList** out) = 0;

protected:
  ~IKivRegistrar() = default;
};

// Host: receives one image, row by row.
struct IKivImageReceptor : IKivUnknown {
  virtual KivResult KIV_CALL Unused3() = 0;
  virtual KivResult KIV_CALL Unused4() = 0;
  // offerCount: entries of offers; offers: Layout* codes, preferred first;
  // the host puts the layout it chooses into offers[0]. info: the image as
  // described. The plug-in passes 1, 0, 1 for one, zero and alsoOne and does
  // not use *outValue; their meaning lies with the host.
  virtual KivResult KIV_CALL BeginImage(std::int32_t offerCount, std::int32_t* offers, std::int32_t one,
                                        ImageInfo* info, std::int32_t zero, std::int32_t alsoOne,
                                        std::int32_t* outValue) = 0;
  // info: the description adapted to the chosen layout.
  virtual KivResult KIV_CALL SetImageInfo(ImageInfo* info) = 0;
  // row: its number, from 0; address: its first byte; rowBytes: its length.
  // kKivResult_Incomplete asks the plug-in to stop delivering and finish.
  virtual KivResult KIV_CALL PutRow(std::int32_t row, const void* address, std::int32_t rowBytes) = 0;
  // Ends the image; kKivResult_Incomplete: call again.
  virtual KivResult KIV_CALL Finish() = 0;

protected:
  ~IKivImageReceptor() = default;
};

// Plug-in: writes the library's registration entries.
struct IKivRegister : IKivUnknown {
  // registrar: where the entries go; registration: the host's value, passed
  // unchanged to every NewEntry.
  virtual KivResult KIV_CALL Register(IKivRegistrar* registrar, std::uint32_t registration) = 0;

protected:
  ~IKivRegister() = default;
};

// Plug-in: the format agent.
struct IKivAgent : IKivUnknown {
  // argument: not used.
  virtual KivResult KIV_CALL Notify(void* argument) = 0;

protected:
  ~IKivAgent() = default;
};

// Plug-in: imports one document.
struct IKivReader : IKivUnknown {
  // count: receives the number of receptor kinds the reader delivers to.
  virtual KivResult KIV_CALL CountReceptors(std::int32_t* count) = 0;
  // index: from 0; id: receives that receptor kind's id.
  virtual KivResult KIV_CALL GetReceptorId(std::int32_t index, KivGuid* id) = 0;
  // source: the import source (kept with a reference), or null.
  virtual KivResult KIV_CALL SetSource(IKivUnknown* source) = 0;
  // argument: not used.
  virtual KivResult KIV_CALL SetOptions(void* argument) = 0;
  // list: receives a new list of the document's options (one reference).
  virtual KivResult KIV_CALL GetOptions(IKivPropertyList** list) = 0;
  virtual KivResult KIV_CALL GetDefaultOptions(IKivPropertyList** list) = 0;
  // argument: not used; value: set to null.
  virtual KivResult KIV_CALL QueryExtra(void* argument, void** value) = 0;
  // fileReference: the host's reference to a file, as for MakeFileStream;
  // argument: not used. 0 when the file is a document the reader reads.
  virtual KivResult KIV_CALL CheckFile(const void* fileReference, void* argument) = 0;
  // count: receives the number of selectable images (layers).
  virtual KivResult KIV_CALL CountSelectors(std::int32_t* count) = 0;
  // index: a layer, from 0; argument: not used; list: receives a new list
  // describing the layer (one reference).
  virtual KivResult KIV_CALL GetSelectorInfo(std::int32_t index, void* argument, IKivPropertyList** list) = 0;
  // list: names the image to read (kept with a reference); null: the
  // merged image.
  virtual KivResult KIV_CALL SetSelector(IKivPropertyList* list) = 0;
  // receptor: where the image goes; receptorId: its kind, one of those
  // GetReceptorId answers.
  virtual KivResult KIV_CALL ReadImage(IKivImageReceptor* receptor, const KivGuid* receptorId) = 0;

protected:
  ~IKivReader() = default;
};

// Host: the object every plug-in object is created for. Plug-in objects
// answer QueryInterface through it and mirror their references onto it.
struct KivOwner : IKivUnknown {
  std::uint32_t unused;  // not read by the plug-in
  IKivHostServices* services;
  IKivAllocator* allocator;

protected:
  ~KivOwner() = default;
};

// ---------------------------------------------------------------------------
// Exports of the plug-in library (undecorated names on Windows)

// The class's initialiser and finaliser; instance: memory of the class's
// instance size, owned by the host.
using KivClassInitializer = KivResult(KIV_CALL*)(void* instance);
using KivClassFinalizer = void(KIV_CALL*)(void* instance);

extern "C" {
// clsid: the class asked for, or null for the library's class. Writes the
// instance size, initialiser and finaliser (each out-pointer may be null)
// and answers 0; kKivResult_NoSuchClass for another class, nothing written.
using DllGetClassFormFn = KivResult(KIV_CALL*)(const KivGuid* clsid, std::uint32_t* instanceSize,
                                              KivClassInitializer* initializer,
                                              KivClassFinalizer* finalizer);
// allocator: where the table's memory comes from; table: receives the
// table (ClassTableRow rows ended by a row of zeros), which the caller owns,
// or null (kKivResult_OutOfMemory).
using DllGetClassInfoFn = KivResult(KIV_CALL*)(IKivAllocator* allocator, ClassTableRow** table);
// owner: the host object the new object is created for; clsid: the class,
// or null for any; iid: the interface wanted; object: receives the new
// object with one reference. kKivResult_NoSuchInterface, object untouched,
// when the class has no such interface.
using DllGetInterfaceFn = KivResult(KIV_CALL*)(KivOwner* owner, const KivGuid* clsid,
                                              const KivGuid* iid, void** object);
// Not used: always kKivResult_NoSuchClass.
using DllGetClassObjectFn = KivResult(KIV_CALL*)(const void* a, const void* b, void** c);
// 0 when no object of the library is alive, else kKivResult_StillInUse.
using DllCanUnloadNowFn = KivResult(KIV_CALL*)();
}
