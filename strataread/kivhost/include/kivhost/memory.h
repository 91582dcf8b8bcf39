#pragma once
// The host's two kinds of memory: the plain allocator (plug-in objects, the
// class-info table, the layer table) and handle memory (colour tables, work
// buffers, images). Both keep running counts so that a test can assert that
// nothing leaked, and both can be told to fail.
//
// Fresh memory is filled with kFreshByte, so a reader of memory it never wrote
// sees a pattern rather than a lucky zero; given-back memory is filled with
// kFreedByte.
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "kivhost/fault_plan.h"
#include "kivhost/ref.h"

namespace kivhost {

inline constexpr std::uint8_t kFreshByte = 0xA5;
inline constexpr std::uint8_t kFreedByte = 0xDD;

// Requests that would take the live bytes above this fail (both kinds), so a
// hostile size in a file cannot make the host take all of the machine.
inline constexpr std::uint64_t kDefaultByteLimit = std::uint64_t{1} << 30;

class Allocator final : public Object<IKivAllocator> {
public:
  static Ref<Allocator> Create();

  // Alloc(0) gives a distinct address of a one-byte block.
  void* KIV_CALL Alloc(std::uint32_t size) override;
  // Null is ignored; an address this allocator did not give out (or gave
  // back already) is counted in BadFrees and otherwise left alone.
  void KIV_CALL Free(void* address) override;

  FaultPlan& Faults() { return faults_; }  // decides which Alloc calls fail
  void SetByteLimit(std::uint64_t limit) { limit_ = limit; }
  // Keep freed blocks (filled with kFreedByte) until the allocator dies, so
  // that a read after Free sees the fill instead of whatever reused the block.
  void SetQuarantine(bool keep) { quarantine_ = keep; }

  std::size_t LiveAllocations() const { return blocks_.size(); }
  std::uint64_t LiveBytes() const { return liveBytes_; }
  std::uint64_t AllocCalls() const { return faults_.Calls(); }
  std::uint64_t FailedAllocs() const { return failed_; }
  std::uint64_t FreeCalls() const { return freeCalls_; }
  std::uint64_t BadFrees() const { return badFrees_; }
  std::uint32_t LastRequestedSize() const { return lastSize_; }
  bool Owns(const void* address) const { return blocks_.count(address) != 0; }
  // Size of a live block, 0 for anything else.
  std::uint32_t SizeOf(const void* address) const;

private:
  Allocator() = default;
  ~Allocator() override;

  FaultPlan faults_;
  std::uint64_t limit_ = kDefaultByteLimit;
  bool quarantine_ = false;
  std::unordered_map<const void*, std::uint32_t> blocks_;
  std::vector<void*> quarantined_;
  std::uint64_t liveBytes_ = 0;
  std::uint64_t failed_ = 0;
  std::uint64_t freeCalls_ = 0;
  std::uint64_t badFrees_ = 0;
  std::uint32_t lastSize_ = 0;
};

class HandleMemory final : public Object<IKivHandleMemory> {
public:
  static Ref<HandleMemory> Create();

  // 0 when the request fails. Handles are never addresses and never reused.
  KivHandle KIV_CALL NewHandle(std::uint32_t size) override;
  KivResult KIV_CALL Unused4() override;
  // kKivResult_BadArgument for a handle that is not live (counted in
  // BadCalls); a locked block is freed too.
  KivResult KIV_CALL FreeHandle(KivHandle handle) override;
  KivResult KIV_CALL Unused6() override;
  KivResult KIV_CALL Unused7() override;
  // Null for a handle that is not live (counted in BadCalls) or when a lock
  // fault is planned. Locks nest.
  void* KIV_CALL LockHandle(KivHandle handle) override;
  // kKivResult_BadArgument for a handle that is not live or not locked.
  KivResult KIV_CALL UnlockHandle(KivHandle handle) override;

  FaultPlan& NewHandleFaults() { return newFaults_; }
  FaultPlan& LockFaults() { return lockFaults_; }
  void SetByteLimit(std::uint64_t limit) { limit_ = limit; }
  // Whether new blocks are filled with kFreshByte (benchmarks may skip it).
  void SetFreshFill(bool fill) { fill_ = fill; }

  std::size_t LiveHandles() const { return blocks_.size(); }
  std::uint64_t LiveBytes() const { return liveBytes_; }
  std::size_t LockedHandles() const;
  std::uint64_t NewHandleCalls() const { return newFaults_.Calls(); }
  std::uint64_t FailedNewHandles() const { return failed_; }
  std::uint64_t FreeHandleCalls() const { return freeCalls_; }
  std::uint64_t BadCalls() const { return badCalls_; }
  std::uint64_t UnusedCalls() const { return unusedCalls_; }
  bool IsLive(KivHandle handle) const { return blocks_.count(handle) != 0; }
  std::uint32_t SizeOf(KivHandle handle) const;  // 0 when not live
  int LockCount(KivHandle handle) const;         // 0 when not live
  // The block's bytes without taking a lock (null when not live).
  const std::uint8_t* Peek(KivHandle handle) const;

private:
  struct Block {
    std::uint8_t* bytes;
    std::uint32_t size;
    int locks;
  };

  HandleMemory() = default;
  ~HandleMemory() override;

  FaultPlan newFaults_;
  FaultPlan lockFaults_;
  std::uint64_t limit_ = kDefaultByteLimit;
  bool fill_ = true;
  std::map<KivHandle, Block> blocks_;
  KivHandle next_ = 0x10000;
  std::uint64_t liveBytes_ = 0;
  std::uint64_t failed_ = 0;
  std::uint64_t freeCalls_ = 0;
  std::uint64_t badCalls_ = 0;
  std::uint64_t unusedCalls_ = 0;
};

}  // namespace kivhost
