#include <gtest/gtest.h>

#include <vector>

#include "case_name.h"
#include "kivhost/kivhost.h"

namespace strataread_test {
namespace {

using kivhost::Allocator;
using kivhost::FaultPlan;
using kivhost::HandleMemory;
using kivhost::Ref;

struct PlanCase {
  const char* name;
  std::vector<std::uint64_t> failNth;
  int failAfter;  // -1: none
  std::vector<bool> firstSix;  // which of the next six calls fail
};

class FaultPlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(FaultPlanTest, FailsTheCallsPlanned) {
  const PlanCase& c = GetParam();
  FaultPlan plan;
  EXPECT_FALSE(plan.Fails());  // calls before the plan do not count
  for (std::uint64_t n : c.failNth) plan.FailNth(n);
  if (c.failAfter >= 0) plan.FailAfter(static_cast<std::uint64_t>(c.failAfter));
  std::vector<bool> seen;
  for (int i = 0; i < 6; ++i) seen.push_back(plan.Fails());
  EXPECT_EQ(seen, c.firstSix);
  EXPECT_EQ(plan.Calls(), 7u);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, FaultPlanTest,
    ::testing::Values(PlanCase{"None", {}, -1, {false, false, false, false, false, false}},
                      PlanCase{"First", {1}, -1, {true, false, false, false, false, false}},
                      PlanCase{"SecondAndFifth", {2, 5}, -1, {false, true, false, false, true, false}},
                      PlanCase{"AllAfterThree", {}, 3, {false, false, false, true, true, true}},
                      PlanCase{"Always", {}, 0, {true, true, true, true, true, true}}),
    CaseName());

TEST(AllocatorTest, CountsBlocksAndCatchesBadFrees) {
  Ref<Allocator> allocator = Allocator::Create();
  auto* const a = static_cast<std::uint8_t*>(allocator->Alloc(10));
  void* const b = allocator->Alloc(0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(static_cast<void*>(a), b);
  EXPECT_EQ(a[9], kivhost::kFreshByte);
  EXPECT_EQ(allocator->LiveAllocations(), 2u);
  EXPECT_EQ(allocator->LiveBytes(), 10u);
  allocator->Free(a);
  allocator->Free(a);
  int notOurs = 0;
  allocator->Free(&notOurs);
  allocator->Free(nullptr);
  EXPECT_EQ(allocator->BadFrees(), 2u);
  EXPECT_EQ(allocator->LiveAllocations(), 1u);
  allocator->Free(b);
  EXPECT_EQ(allocator->LiveBytes(), 0u);
}

TEST(AllocatorTest, FailsByPlanAndByLimit) {
  Ref<Allocator> allocator = Allocator::Create();
  allocator->SetByteLimit(100);
  allocator->Faults().FailNth(2);
  void* const first = allocator->Alloc(60);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(allocator->Alloc(1), nullptr);   // planned
  EXPECT_EQ(allocator->Alloc(41), nullptr);  // over the limit
  void* const last = allocator->Alloc(40);
  EXPECT_NE(last, nullptr);
  EXPECT_EQ(allocator->FailedAllocs(), 2u);
  allocator->Free(first);
  allocator->Free(last);
}

TEST(HandleMemoryTest, TracksHandlesLocksAndBytes) {
  Ref<HandleMemory> memory = HandleMemory::Create();
  const KivHandle a = memory->NewHandle(16);
  const KivHandle b = memory->NewHandle(0);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_EQ(memory->LiveHandles(), 2u);
  EXPECT_EQ(memory->LiveBytes(), 16u);
  auto* const bytes = static_cast<std::uint8_t*>(memory->LockHandle(a));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[15], kivhost::kFreshByte);
  EXPECT_EQ(memory->LockHandle(a), bytes);
  EXPECT_EQ(memory->LockCount(a), 2);
  EXPECT_EQ(memory->LockedHandles(), 1u);
  EXPECT_EQ(memory->UnlockHandle(a), kKivResult_OK);
  EXPECT_NE(memory->LockHandle(b), nullptr);
  EXPECT_EQ(memory->LockedHandles(), 2u);
  // A locked block is freed too.
  EXPECT_EQ(memory->FreeHandle(a), kKivResult_OK);
  EXPECT_EQ(memory->LockedHandles(), 1u);
  EXPECT_EQ(memory->LiveBytes(), 0u);
  EXPECT_EQ(memory->BadCalls(), 0u);
  EXPECT_EQ(memory->FreeHandle(b), kKivResult_OK);
}

TEST(HandleMemoryTest, RefusesHandlesThatAreNotLive) {
  Ref<HandleMemory> memory = HandleMemory::Create();
  const KivHandle gone = memory->NewHandle(4);
  ASSERT_EQ(memory->FreeHandle(gone), kKivResult_OK);
  for (KivHandle handle : {KivHandle{0}, gone, KivHandle{12345}}) {
    EXPECT_EQ(memory->LockHandle(handle), nullptr);
    EXPECT_EQ(memory->UnlockHandle(handle), kKivResult_BadArgument);
    EXPECT_EQ(memory->FreeHandle(handle), kKivResult_BadArgument);
  }
  EXPECT_EQ(memory->BadCalls(), 9u);
  const KivHandle unlocked = memory->NewHandle(4);
  EXPECT_EQ(memory->UnlockHandle(unlocked), kKivResult_BadArgument);
  EXPECT_EQ(memory->FreeHandle(unlocked), kKivResult_OK);
}

TEST(HandleMemoryTest, FailsByPlanAndByLimit) {
  Ref<HandleMemory> memory = HandleMemory::Create();
  memory->SetByteLimit(1000);
  memory->NewHandleFaults().FailAfter(1);
  const KivHandle first = memory->NewHandle(8);
  EXPECT_NE(first, 0u);
  EXPECT_EQ(memory->NewHandle(8), 0u);
  memory->NewHandleFaults().Clear();
  EXPECT_EQ(memory->NewHandle(993), 0u);
  memory->LockFaults().FailNth(1);
  EXPECT_EQ(memory->LockHandle(first), nullptr);
  EXPECT_EQ(memory->LockCount(first), 0);
  EXPECT_EQ(memory->FailedNewHandles(), 2u);
  EXPECT_EQ(memory->FreeHandle(first), kKivResult_OK);
}

}  // namespace
}  // namespace strataread_test
