#pragma once
// Byte streams as the host hands them to the plug-in: over a memory block or
// over a file. A stream must be opened before it is read; Open starts at
// offset 0. Read delivers fewer bytes than asked (possibly none) at the end
// and still succeeds, as a real stream does; SetPosition beyond the end is
// allowed and later reads deliver nothing.
//
// Calls on a stream that is not open answer kKivResult_ReadFailed and are
// counted in MisuseCalls. Injected faults answer their plan's Result
// (kKivResult_ReadFailed unless set); a failing Read delivers nothing.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "kivhost/fault_plan.h"
#include "kivhost/ref.h"

namespace kivhost {

class ByteStream : public Object<IKivByteStream> {
public:
  KivResult KIV_CALL Open(std::int32_t mode, std::int32_t flags) final;
  KivResult KIV_CALL Close() final;
  KivResult KIV_CALL Read(void* buffer, std::uint32_t count, std::uint32_t* actual) final;
  KivResult KIV_CALL Unused6() final;
  KivResult KIV_CALL Unused7() final;
  KivResult KIV_CALL GetPosition(std::uint32_t* position) final;
  KivResult KIV_CALL SetPosition(std::uint32_t position) final;

  FaultPlan& OpenFaults() { return openFaults_; }
  FaultPlan& ReadFaults() { return readFaults_; }
  FaultPlan& GetPositionFaults() { return getFaults_; }
  FaultPlan& SetPositionFaults() { return setFaults_; }
  // Every read delivers at most this many bytes (0: no limit), for testing
  // readers against streams that deliver less than asked before the end.
  void SetMaxChunk(std::uint32_t bytes) { maxChunk_ = bytes; }

  bool IsOpen() const { return open_; }
  std::uint32_t Position() const { return position_; }
  std::uint64_t OpenCalls() const { return openFaults_.Calls(); }
  std::uint64_t CloseCalls() const { return closeCalls_; }
  std::uint64_t ReadCalls() const { return readFaults_.Calls(); }
  std::uint64_t BytesDelivered() const { return delivered_; }
  std::uint64_t GetPositionCalls() const { return getFaults_.Calls(); }
  std::uint64_t SetPositionCalls() const { return setFaults_.Calls(); }
  std::uint64_t MisuseCalls() const { return misuse_; }
  std::uint64_t UnusedCalls() const { return unusedCalls_; }
  std::int32_t LastOpenMode() const { return lastMode_; }
  std::int32_t LastOpenFlags() const { return lastFlags_; }

protected:
  ByteStream();
  ~ByteStream() override = default;

  virtual KivResult DoOpen() = 0;
  virtual void DoClose() = 0;
  // Copies up to count bytes from offset into buffer; false on a read error.
  virtual bool DoRead(std::uint32_t offset, void* buffer, std::uint32_t count,
                      std::uint32_t* delivered) = 0;

private:
  FaultPlan openFaults_;
  FaultPlan readFaults_;
  FaultPlan getFaults_;
  FaultPlan setFaults_;
  std::uint32_t maxChunk_ = 0;
  bool open_ = false;
  std::uint32_t position_ = 0;
  std::uint64_t closeCalls_ = 0;
  std::uint64_t delivered_ = 0;
  std::uint64_t misuse_ = 0;
  std::uint64_t unusedCalls_ = 0;
  std::int32_t lastMode_ = 0;
  std::int32_t lastFlags_ = 0;
};

class MemoryStream final : public ByteStream {
public:
  static Ref<MemoryStream> Create(std::vector<std::uint8_t> bytes);
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  KivResult DoOpen() override { return kKivResult_OK; }
  void DoClose() override {}
  bool DoRead(std::uint32_t offset, void* buffer, std::uint32_t count,
              std::uint32_t* delivered) override;

  std::vector<std::uint8_t> bytes_;
};

// Opens the file at Open (a missing or unreadable file: kKivResult_ReadFailed)
// and closes it at Close and at destruction. Offsets past 4 GiB are not
// reachable through the 32-bit positions of the interface.
class FileStream final : public ByteStream {
public:
  static Ref<FileStream> Create(std::string path);
  const std::string& Path() const { return path_; }

private:
  explicit FileStream(std::string path) : path_(std::move(path)) {}
  ~FileStream() override;
  KivResult DoOpen() override;
  void DoClose() override;
  bool DoRead(std::uint32_t offset, void* buffer, std::uint32_t count,
              std::uint32_t* delivered) override;
  bool SeekTo(std::uint32_t offset);

  std::string path_;
  std::FILE* file_ = nullptr;
  std::uint32_t fileOffset_ = 0;  // where the next fread starts
};

}  // namespace kivhost
