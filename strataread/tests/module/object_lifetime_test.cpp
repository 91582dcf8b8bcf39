#include <new>

#include "plugin_under_test.h"

namespace strataread_test {
namespace {

using kivhost::Allocator;
using kivhost::Owner;
using kivhost::Ref;

struct ObjectKind {
  const char* name;
  KivGuid interfaceId;
};

const ObjectKind kKinds[] = {{"Register", IID_IKivRegister}, {"Agent", IID_IKivAgent}, {"Reader", IID_IKivReader}};

class ObjectLifetimeTest : public PluginParamTest<ObjectKind> {
protected:
  IKivUnknown* Create(Owner& owner) {
    void* object = nullptr;
    EXPECT_EQ(plugin().GetInterface(&owner, nullptr, &GetParam().interfaceId, &object), kKivResult_OK);
    return static_cast<IKivUnknown*>(object);
  }
};

TEST_P(ObjectLifetimeTest, CreateAndReleaseLeaveTheCountsAsBefore) {
  Ref<Owner> owner = Owner::Create();
  const std::int64_t hostObjects = kivhost::LiveObjects();
  IKivUnknown* const object = Create(*owner);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(owner->References(), 1 + 2);
  EXPECT_EQ(owner->Memory().LiveAllocations(), 1u);
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_StillInUse);

  EXPECT_EQ(object->Release(), 0);
  EXPECT_EQ(owner->References(), 1);
  EXPECT_EQ(owner->Memory().LiveAllocations(), 0u);
  EXPECT_EQ(owner->Memory().BadFrees(), 0u);
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_OK);
  EXPECT_EQ(kivhost::LiveObjects(), hostObjects);
}

TEST_P(ObjectLifetimeTest, TheLastOfThreeReleasesDestroysTheObject) {
  Ref<Owner> owner = Owner::Create();
  // Freed blocks stay filled with a pattern: a Release that read the object
  // after freeing it would answer the pattern instead of 0.
  owner->Memory().SetQuarantine(true);
  IKivUnknown* const object = Create(*owner);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->AddRef(), 2);
  EXPECT_EQ(object->AddRef(), 3);
  EXPECT_EQ(owner->References(), 1 + 1 + 3);

  const std::int32_t expected[] = {2, 1, 0};
  for (std::int32_t left : expected) {
    EXPECT_EQ(object->Release(), left);
    EXPECT_EQ(owner->References(), left == 0 ? 1 : 1 + 1 + left);
    EXPECT_EQ(owner->Memory().LiveAllocations(), left == 0 ? 0u : 1u);
  }
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_OK);
}

TEST_P(ObjectLifetimeTest, QueryInterfaceIsTheOwnersAnswer) {
  Ref<Owner> owner = Owner::Create();
  IKivUnknown* const object = Create(*owner);
  ASSERT_NE(object, nullptr);
  int sentinel = 0;
  void* answer = &sentinel;
  EXPECT_EQ(object->QueryInterface(&IID_IKivReader, &answer), kKivResult_NoSuchInterface);
  EXPECT_EQ(answer, nullptr);  // as the owner left it
  EXPECT_EQ(owner->QueryCalls(), 1u);
  EXPECT_TRUE(KivSameId(owner->LastQueriedId(), IID_IKivReader));
  EXPECT_EQ(object->Release(), 0);
}

TEST_P(ObjectLifetimeTest, FailedAllocationWithoutNewHandlerStoresNull) {
  const std::new_handler previous = std::set_new_handler(nullptr);
  Ref<Owner> owner = Owner::Create();
  owner->Memory().Faults().FailAlways();
  int sentinel = 0;
  void* object = &sentinel;
  EXPECT_EQ(plugin().GetInterface(owner.get(), nullptr, &GetParam().interfaceId, &object),
            kKivResult_OutOfMemory);
  std::set_new_handler(previous);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(owner->Memory().AllocCalls(), 1u);
  EXPECT_EQ(owner->References(), 1);
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_OK);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ObjectLifetimeTest, ::testing::ValuesIn(kKinds), CaseName());

// New-handlers see no arguments: the one under test reaches its allocator
// through this.
Allocator* handlerAllocator = nullptr;
int handlerCalls = 0;

void HandlerFreeingNothing() { ++handlerCalls; }
void HandlerThrowing() {
  ++handlerCalls;
  throw std::bad_alloc();
}
void HandlerFreeingMemory() {
  ++handlerCalls;
  handlerAllocator->Faults().Clear();
}
void HandlerGivingUp() {
  ++handlerCalls;
  std::set_new_handler(nullptr);
}

struct HandlerCase {
  const char* name;
  std::new_handler handler;
  KivResult expected;
  // Alloc calls beyond the handler calls: the first, unless the handler's
  // throw ended the retry.
  int extraAllocCalls;
  bool retriesMoreThanOnce;
};

class NewHandlerTest : public PluginParamTest<HandlerCase> {
protected:
  void TearDown() override { std::set_new_handler(previous_); }
  std::new_handler previous_ = std::get_new_handler();
};

TEST_P(NewHandlerTest, RetryEndsWithTheHandlersHelpOrWithoutIt) {
  const HandlerCase& c = GetParam();
  Ref<Owner> owner = Owner::Create();
  owner->Memory().Faults().FailAlways();
  handlerAllocator = &owner->Memory();
  handlerCalls = 0;
  std::set_new_handler(c.handler);
  void* object = nullptr;
  EXPECT_EQ(plugin().GetInterface(owner.get(), nullptr, &IID_IKivAgent, &object), c.expected);
  std::set_new_handler(previous_);

  EXPECT_EQ(owner->Memory().AllocCalls(), static_cast<std::uint64_t>(handlerCalls + c.extraAllocCalls));
  EXPECT_EQ(handlerCalls > 1, c.retriesMoreThanOnce);
  if (c.expected == kKivResult_OK) {
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(static_cast<IKivUnknown*>(object)->Release(), 0);
  } else {
    EXPECT_EQ(object, nullptr);
  }
  EXPECT_EQ(owner->References(), 1);
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, NewHandlerTest,
    ::testing::Values(HandlerCase{"FreesMemory", &HandlerFreeingMemory, kKivResult_OK, 1, false},
                      HandlerCase{"FreesNothing", &HandlerFreeingNothing, kKivResult_OutOfMemory, 1, true},
                      HandlerCase{"Throws", &HandlerThrowing, kKivResult_OutOfMemory, 0, false},
                      HandlerCase{"UninstallsItself", &HandlerGivingUp, kKivResult_OutOfMemory, 1, false}),
    CaseName());

}  // namespace
}  // namespace strataread_test
