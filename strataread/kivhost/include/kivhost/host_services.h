#pragma once
// The host's services as the plug-in reaches them through KivOwner: the
// utilities class (stream maker, format table, property-list maker) made by
// CreateInstance, and the handle memory answered by QueryInterface.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kivhost/fault_plan.h"
#include "kivhost/memory.h"
#include "kivhost/property_list.h"
#include "kivhost/ref.h"
#include "kivhost/streams.h"

namespace kivhost {

// Answered by QueryInterface of a Source only: how the stream maker knows a
// source object of this host.
// {6B1F3A52-0D47-4C1E-9A3B-5E2C7D8F9012}
inline constexpr KivGuid IID_KivHostSource = {0x6B1F3A52, 0x0D47, 0x4C1E,
                                              {0x9A, 0x3B, 0x5E, 0x2C, 0x7D, 0x8F, 0x90, 0x12}};

// An import source as the host hands it to the reader's SetSource: bytes in
// memory or a file.
class Source final : public Object<IKivUnknown> {
public:
  static Ref<Source> FromBytes(std::vector<std::uint8_t> bytes);
  static Ref<Source> FromFile(std::string path);

  bool IsFile() const { return isFile_; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  const std::string& Path() const { return path_; }
  // A new, closed stream over the source.
  Ref<ByteStream> MakeStream() const;

private:
  Source() = default;
  IKivUnknown* InterfaceFor(const KivGuid& iid) override;

  bool isFile_ = false;
  std::vector<std::uint8_t> bytes_;
  std::string path_;
};

// The format id that "kKivCfFormat_PS30" looks up to.
inline constexpr std::int16_t kPs30FormatId = 0x0153;

class FormatTable final : public Object<IKivFormatTable> {
public:
  static Ref<FormatTable> Create();  // knows "kKivCfFormat_PS30"

  // Null arguments or an unknown name: kKivResult_BadArgument, record not
  // written. Only formatId is written.
  KivResult KIV_CALL LookUpFormat(const char* name, KivStreamAccess* access) override;

  void AddFormat(std::string name, std::int16_t id);
  bool Knows(std::int16_t id) const;
  FaultPlan& Faults() { return faults_; }
  std::uint64_t LookUpCalls() const { return faults_.Calls(); }
  const std::vector<std::string>& NamesLookedUp() const { return looked_; }

private:
  FormatTable();

  std::vector<std::pair<std::string, std::int16_t>> formats_;
  FaultPlan faults_;
  std::vector<std::string> looked_;
};

class StreamMaker final : public Object<IKivStreamMaker> {
public:
  static Ref<StreamMaker> Create(Ref<FormatTable> formats);

  KivResult KIV_CALL Unused3() override;
  KivResult KIV_CALL Unused4() override;
  KivResult KIV_CALL Unused5() override;
  KivResult KIV_CALL Unused6() override;
  KivResult KIV_CALL Unused7() override;
  KivResult KIV_CALL Unused8() override;
  // source must be a Source of this host, access a record whose formatId the
  // format table knows; otherwise (or with out null) kKivResult_BadArgument.
  // The stream comes closed. A planned fault answers its Result, out null.
  KivResult KIV_CALL MakeSourceStream(IKivUnknown* source, KivStreamAccess* access,
                                      IKivByteStream** out) override;
  // fileReference is a zero-terminated path; the file is opened by Open.
  KivResult KIV_CALL MakeFileStream(const void* fileReference, IKivByteStream** out) override;

  FaultPlan& SourceStreamFaults() { return sourceFaults_; }
  FaultPlan& FileStreamFaults() { return fileFaults_; }
  // Runs on every stream made, before the plug-in sees it (to plan faults).
  void SetStreamSetup(std::function<void(ByteStream&)> setup) { setup_ = std::move(setup); }

  // Every stream made, in order. The maker keeps a reference to each, so a
  // stream the plug-in released properly has References() == 1.
  const std::vector<Ref<ByteStream>>& Made() const { return made_; }
  // The access record of the last MakeSourceStream call, as it came.
  std::optional<KivStreamAccess> LastAccess() const { return lastAccess_; }
  std::uint64_t UnusedCalls() const { return unusedCalls_; }

private:
  explicit StreamMaker(Ref<FormatTable> formats) : formats_(std::move(formats)) {}
  KivResult Hand(Ref<ByteStream> stream, IKivByteStream** out);

  Ref<FormatTable> formats_;
  FaultPlan sourceFaults_;
  FaultPlan fileFaults_;
  std::function<void(ByteStream&)> setup_;
  std::vector<Ref<ByteStream>> made_;
  std::optional<KivStreamAccess> lastAccess_;
  std::uint64_t unusedCalls_ = 0;
};

// What CreateInstance and QueryInterface of the services hand out.
enum class Utility { StreamMaker, FormatTable, PropertyListMaker, HandleMemory };

class HostServices final : public Object<IKivHostServices> {
public:
  static Ref<HostServices> Create();  // with a new HandleMemory
  static Ref<HostServices> Create(Ref<HandleMemory> handles);

  // QueryInterface(IID_IKivHandleMemory) gives the handle memory.
  KivResult KIV_CALL QueryInterface(const KivGuid* iid, void** out) override;
  // CLSID_KivHostUtilities with IID_IKivStreamMaker, IID_IKivFormatTable or
  // IID_IKivPropertyListMaker gives the one object of each kind (with a
  // reference); another class: kKivResult_NoSuchClass; another interface:
  // kKivResult_NoSuchInterface; null arguments: kKivResult_BadArgument. *out
  // is null after every failure.
  KivResult KIV_CALL CreateInstance(const KivGuid* clsid, const KivGuid* iid, void** out) override;

  // Failures planned per utility (HandleMemory: its QueryInterface). The plan
  // counts the requests for that utility.
  FaultPlan& Faults(Utility which);

  StreamMaker& Streams() { return *streams_; }
  FormatTable& Formats() { return *formats_; }
  PropertyListMaker& Lists() { return *lists_; }
  HandleMemory& Handles() { return *handles_; }
  std::uint64_t CreateInstanceCalls() const { return createCalls_; }

private:
  explicit HostServices(Ref<HandleMemory> handles);
  KivResult Hand(Utility which, IKivUnknown* object, void** out);

  Ref<HandleMemory> handles_;
  Ref<FormatTable> formats_;
  Ref<StreamMaker> streams_;
  Ref<PropertyListMaker> lists_;
  FaultPlan faults_[4];
  std::uint64_t createCalls_ = 0;
};

}  // namespace kivhost
