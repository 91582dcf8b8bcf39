#include <cstring>

#include "plugin_under_test.h"

namespace strataread_test {
namespace {

using kivhost::Allocator;
using kivhost::Owner;
using kivhost::Ref;

// Out-values the exports must leave alone when they answer a failure.
const std::uint32_t kSizeSentinel = 0xDEADBEEF;
KivResult KIV_CALL SentinelInitializer(void*) { return -1; }
void KIV_CALL SentinelFinalizer(void*) {}

struct ClassFormCase {
  const char* name;
  bool nullId;
  KivGuid id;
  KivResult expected;
};

class ClassFormTest : public PluginParamTest<ClassFormCase> {};

TEST_P(ClassFormTest, AnswersTheClassOrNothing) {
  const ClassFormCase& c = GetParam();
  std::uint32_t size = kSizeSentinel;
  KivClassInitializer initializer = &SentinelInitializer;
  KivClassFinalizer finalizer = &SentinelFinalizer;
  EXPECT_EQ(plugin().GetClassForm(c.nullId ? nullptr : &c.id, &size, &initializer, &finalizer), c.expected);
  if (c.expected == kKivResult_OK) {
    EXPECT_EQ(size, 24u);
    ASSERT_NE(initializer, &SentinelInitializer);
    ASSERT_NE(finalizer, &SentinelFinalizer);
    int instance[6] = {};
    EXPECT_EQ(initializer(instance), kKivResult_OK);
    finalizer(instance);
  } else {
    EXPECT_EQ(size, kSizeSentinel);
    EXPECT_EQ(initializer, &SentinelInitializer);
    EXPECT_EQ(finalizer, &SentinelFinalizer);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ids, ClassFormTest,
    ::testing::Values(ClassFormCase{"NullId", true, kKivNullId, kKivResult_OK},
                      ClassFormCase{"OwnClass", false, CLSID_CPS30Agent, kKivResult_OK},
                      ClassFormCase{"AllZeroId", false, kKivNullId, kKivResult_NoSuchClass},
                      ClassFormCase{"HostClass", false, CLSID_KivHostUtilities, kKivResult_NoSuchClass},
                      ClassFormCase{"InterfaceId", false, IID_IKivReader, kKivResult_NoSuchClass},
                      ClassFormCase{"FirstWordDiffers", false, AlteredId(CLSID_CPS30Agent, 0),
                                    kKivResult_NoSuchClass},
                      ClassFormCase{"SecondWordDiffers", false, AlteredId(CLSID_CPS30Agent, 1),
                                    kKivResult_NoSuchClass},
                      ClassFormCase{"ThirdWordDiffers", false, AlteredId(CLSID_CPS30Agent, 2),
                                    kKivResult_NoSuchClass},
                      ClassFormCase{"LastWordDiffers", false, AlteredId(CLSID_CPS30Agent, 3),
                                    kKivResult_NoSuchClass}),
    CaseName());

TEST_F(PluginTest, ClassFormToleratesNullOutPointers) {
  std::uint32_t size = 0;
  EXPECT_EQ(plugin().GetClassForm(nullptr, &size, nullptr, nullptr), kKivResult_OK);
  EXPECT_EQ(size, 24u);
}

struct InterfaceCase {
  const char* name;
  bool nullClass;
  KivGuid classId;
  KivGuid interfaceId;
  KivResult expected;
};

class GetInterfaceTest : public PluginParamTest<InterfaceCase> {};

TEST_P(GetInterfaceTest, CreatesOnlyTheTableInterfaces) {
  const InterfaceCase& c = GetParam();
  Ref<Owner> owner = Owner::Create();
  int sentinel = 0;
  void* object = &sentinel;
  EXPECT_EQ(plugin().GetInterface(owner.get(), c.nullClass ? nullptr : &c.classId, &c.interfaceId, &object),
            c.expected);
  if (c.expected == kKivResult_OK) {
    ASSERT_NE(object, nullptr);
    ASSERT_NE(object, &sentinel);
    EXPECT_EQ(owner->Memory().LiveAllocations(), 1u);
    EXPECT_EQ(static_cast<IKivUnknown*>(object)->Release(), 0);
  } else {
    EXPECT_EQ(object, &sentinel);
    EXPECT_EQ(owner->Memory().AllocCalls(), 0u);
  }
  EXPECT_EQ(owner->References(), 1);
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, GetInterfaceTest,
    ::testing::Values(
        InterfaceCase{"AnyClassRegister", true, kKivNullId, IID_IKivRegister, kKivResult_OK},
        InterfaceCase{"AnyClassAgent", true, kKivNullId, IID_IKivAgent, kKivResult_OK},
        InterfaceCase{"AnyClassReader", true, kKivNullId, IID_IKivReader, kKivResult_OK},
        InterfaceCase{"OwnClassReader", false, CLSID_CPS30Agent, IID_IKivReader, kKivResult_OK},
        InterfaceCase{"UnknownInterface", true, kKivNullId, IID_IKivImageReceptor, kKivResult_NoSuchInterface},
        InterfaceCase{"ClassFactoryId", true, kKivNullId, IID_KivClassFactory, kKivResult_NoSuchInterface},
        InterfaceCase{"ReaderIdAltered", true, kKivNullId, AlteredId(IID_IKivReader, 3),
                      kKivResult_NoSuchInterface},
        InterfaceCase{"OtherClass", false, CLSID_KivHostUtilities, IID_IKivReader, kKivResult_NoSuchInterface}),
    CaseName());

TEST_F(PluginTest, GetInterfaceRefusesNullArguments) {
  Ref<Owner> owner = Owner::Create();
  void* object = nullptr;
  EXPECT_EQ(plugin().GetInterface(owner.get(), nullptr, nullptr, &object), kKivResult_BadArgument);
  EXPECT_EQ(plugin().GetInterface(owner.get(), nullptr, &IID_IKivAgent, nullptr), kKivResult_BadArgument);
  EXPECT_EQ(plugin().GetInterface(nullptr, nullptr, &IID_IKivAgent, &object), kKivResult_BadArgument);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(owner->References(), 1);
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_OK);
}

TEST_F(PluginTest, ClassInfoIsTheFiveRowTable) {
  Ref<Allocator> allocator = Allocator::Create();
  ClassTableRow* table = nullptr;
  ASSERT_EQ(plugin().GetClassInfo(allocator.get(), &table), kKivResult_OK);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(allocator->AllocCalls(), 1u);
  EXPECT_EQ(allocator->SizeOf(table), 200u);
  // The allocator hands out patterned memory, so the zeros of the last row
  // were written by the library.
  const ClassTableRow expected[5] = {
      {CLSID_CPS30Agent, 0x080000C0, IID_KivClassFactory, 1}, {CLSID_CPS30Agent, 0x080000C0, IID_IKivRegister, 2},
      {CLSID_CPS30Agent, 0x080000C0, IID_IKivAgent, 2},       {CLSID_CPS30Agent, 0x080000C0, IID_IKivReader, 2},
      {kKivNullId, 0, kKivNullId, 0},
  };
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(std::memcmp(&table[row], &expected[row], sizeof(ClassTableRow)), 0) << "row " << row;
  }
  // The table is the caller's.
  EXPECT_EQ(allocator->LiveAllocations(), 1u);
  allocator->Free(table);
  EXPECT_EQ(allocator->BadFrees(), 0u);
}

TEST_F(PluginTest, ClassInfoWithAFailingAllocatorStoresNull) {
  Ref<Allocator> allocator = Allocator::Create();
  allocator->Faults().FailAlways();
  ClassTableRow sentinel{};
  ClassTableRow* table = &sentinel;
  EXPECT_EQ(plugin().GetClassInfo(allocator.get(), &table), kKivResult_OutOfMemory);
  EXPECT_EQ(table, nullptr);
  // Once, without the retry of object allocation.
  EXPECT_EQ(allocator->AllocCalls(), 1u);
}

TEST_F(PluginTest, ClassInfoRefusesNullArguments) {
  Ref<Allocator> allocator = Allocator::Create();
  ClassTableRow sentinel{};
  ClassTableRow* table = &sentinel;
  EXPECT_EQ(plugin().GetClassInfo(nullptr, &table), kKivResult_BadArgument);
  EXPECT_EQ(table, nullptr);
  EXPECT_EQ(plugin().GetClassInfo(allocator.get(), nullptr), kKivResult_BadArgument);
  EXPECT_EQ(allocator->AllocCalls(), 0u);
}

TEST_F(PluginTest, ClassObjectIsNeverGiven) {
  int a = 0;
  void* c = &a;
  EXPECT_EQ(plugin().GetClassObject(nullptr, nullptr, nullptr), kKivResult_NoSuchClass);
  EXPECT_EQ(plugin().GetClassObject(&CLSID_CPS30Agent, &IID_KivClassFactory, &c), kKivResult_NoSuchClass);
  EXPECT_EQ(c, &a);
}

TEST_F(PluginTest, CanUnloadOnlyWithoutLiveObjects) {
  Ref<Owner> owner = Owner::Create();
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_OK);
  Ref<IKivAgent> agent;
  Ref<IKivReader> reader;
  ASSERT_EQ(plugin().Create(owner.get(), IID_IKivAgent, &agent), kKivResult_OK);
  ASSERT_EQ(plugin().Create(owner.get(), IID_IKivReader, &reader), kKivResult_OK);
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_StillInUse);
  agent.Reset();
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_StillInUse);
  reader.Reset();
  EXPECT_EQ(plugin().CanUnloadNow(), kKivResult_OK);
}

TEST(PluginLoadTest, ReportsWhyALibraryIsRefused) {
  std::string error;
  EXPECT_EQ(kivhost::Plugin::Load("/nonexistent/strataread.so", &error), nullptr);
  EXPECT_FALSE(error.empty());
  // A real library without the five exports.
  error.clear();
  EXPECT_EQ(kivhost::Plugin::Load("libm.so.6", &error), nullptr);
  EXPECT_NE(error.find("DllGetClassForm"), std::string::npos) << error;
}

}  // namespace
}  // namespace strataread_test
