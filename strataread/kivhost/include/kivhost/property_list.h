#pragma once
// Property lists (typed values under string keys), the maker the plug-in
// asks for new ones, and the registrar that keeps registration entries.
//
// Put checks the size argument against the value type: 4 for kKivType_Int32,
// 1 for kKivType_Flag, 16 for kKivType_Id and kKivType_Rect, 0 for
// kKivType_String, any for kKivType_Bytes; anything else (or an unknown type,
// a null key, a null value with a non-zero size) answers kKivResult_BadArgument
// and stores nothing. A key put again keeps its place and takes the new value.
//
// Get answers kKivResult_BadArgument for an absent key or a different type,
// and copies at most size bytes; a string is copied with its terminator and
// cut to size - 1 characters when it does not fit.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kivhost/fault_plan.h"
#include "kivhost/ref.h"

namespace kivhost {

struct PropertyEntry {
  std::int32_t type = 0;
  std::string key;
  std::vector<std::uint8_t> value;  // strings without their terminator

  std::string Text() const { return std::string(value.begin(), value.end()); }
  // The value read as the type says; nullopt for another type.
  std::optional<std::int32_t> Int32() const;
  std::optional<bool> Flag() const;
  std::optional<KivGuid> Id() const;
  std::optional<KivRectValue> Rect() const;
};

class PropertyList final : public Object<IKivPropertyList> {
public:
  static Ref<PropertyList> Create();

  KivResult KIV_CALL Unused3() override;
  KivResult KIV_CALL Unused4() override;
  KivResult KIV_CALL Get(std::int32_t type, void* buffer, std::uint32_t size, const char* key) override;
  KivResult KIV_CALL Put(std::int32_t type, const void* value, std::uint32_t size, const char* key) override;

  // Every later Put of key answers result and stores nothing.
  void FailPutOn(std::string key, KivResult result = kKivResult_OutOfMemory);

  // Stored values in the order of their first Put.
  const std::vector<PropertyEntry>& Entries() const { return entries_; }
  const PropertyEntry* Find(std::string_view key) const;
  // Keys of every Put call in call order, the failed ones included.
  const std::vector<std::string>& PutLog() const { return putLog_; }
  std::uint64_t GetCalls() const { return getCalls_; }
  std::uint64_t UnusedCalls() const { return unusedCalls_; }

  // The host's own puts (selector lists built by the host, test set-ups).
  void PutInt32(std::string_view key, std::int32_t value);
  void PutString(std::string_view key, std::string_view value);

private:
  PropertyList() = default;
  KivResult Store(std::int32_t type, std::string_view key, const void* value, std::size_t size);

  std::vector<PropertyEntry> entries_;
  std::vector<std::string> putLog_;
  std::map<std::string, KivResult, std::less<>> failingKeys_;
  std::uint64_t getCalls_ = 0;
  std::uint64_t unusedCalls_ = 0;
};

class PropertyListMaker final : public Object<IKivPropertyListMaker> {
public:
  static Ref<PropertyListMaker> Create();

  // out null: kKivResult_BadArgument. A planned fault answers its Result and
  // stores null.
  KivResult KIV_CALL NewPropertyList(IKivPropertyList** out) override;

  FaultPlan& Faults() { return faults_; }
  // Lists made later fail their Puts of key (see PropertyList::FailPutOn).
  void FailPutOn(std::string key, KivResult result = kKivResult_OutOfMemory);
  // Answer 0 but give no list (store null), as a host may.
  void SetGiveNoList(bool giveNone) { giveNone_ = giveNone; }

  // Every list made, in order. The maker keeps a reference to each, so a
  // list the plug-in released properly has References() == 1.
  const std::vector<Ref<PropertyList>>& Made() const { return made_; }

private:
  PropertyListMaker() = default;

  FaultPlan faults_;
  bool giveNone_ = false;
  std::vector<std::pair<std::string, KivResult>> failingKeys_;
  std::vector<Ref<PropertyList>> made_;
};

struct RegistrationEntry {
  std::uint32_t registration = 0;
  KivGuid classId = kKivNullId;
  KivGuid interfaceId = kKivNullId;
  Ref<PropertyList> list;
};

class Registrar final : public Object<IKivRegistrar> {
public:
  static Ref<Registrar> Create();

  KivResult KIV_CALL Unused3() override;
  KivResult KIV_CALL Unused4() override;
  KivResult KIV_CALL Unused5() override;
  KivResult KIV_CALL Unused6() override;
  // Null ids or out: kKivResult_BadArgument. The entry's list stays with the
  // registrar; *out receives it without a reference.
  KivResult KIV_CALL NewEntry(std::uint32_t registration, const KivGuid* clsid, const KivGuid* iid,
                              IKivPropertyList** out) override;

  FaultPlan& NewEntryFaults() { return faults_; }
  // Lists of later entries fail their Puts of key.
  void FailPutOn(std::string key, KivResult result = kKivResult_OutOfMemory);

  const std::vector<RegistrationEntry>& Entries() const { return entries_; }
  std::uint64_t NewEntryCalls() const { return faults_.Calls(); }
  std::uint64_t UnusedCalls() const { return unusedCalls_; }

private:
  Registrar() = default;

  FaultPlan faults_;
  std::vector<std::pair<std::string, KivResult>> failingKeys_;
  std::vector<RegistrationEntry> entries_;
  std::uint64_t unusedCalls_ = 0;
};

}  // namespace kivhost
