#include <array>
#include <string>
#include <vector>

#include "plugin_under_test.h"

namespace strataread_test {
namespace {

using kivhost::Owner;
using kivhost::PropertyEntry;
using kivhost::Ref;
using kivhost::Registrar;

const std::uint32_t kRegistration = 0x5EED1234;
// A host failure that only the host could have answered, to see it passed on.
const KivResult kHostFailure = static_cast<KivResult>(0x8004ABCDu);

const std::vector<std::pair<std::string, std::string>> kAgentStrings = {
    {"Name", "Photoshop"},   {"Format", "kKivCfFormat_PS30"}, {"FileCreator", "8BIM"},
    {"FileTypes", "8BPS"},   {"MacScrapTypes", "8BPS"},       {"FileExts", "*.psd"},
};

class RegistrationTest : public PluginTest {
protected:
  void SetUp() override {
    PluginTest::SetUp();
    owner_ = Owner::Create();
    ASSERT_EQ(plugin().Create(owner_.get(), IID_IKivRegister, &register_), kKivResult_OK);
  }

  Ref<Owner> owner_;
  Ref<IKivRegister> register_;
};

TEST_F(RegistrationTest, WritesTheAgentAndReaderEntries) {
  Ref<Registrar> registrar = Registrar::Create();
  ASSERT_EQ(register_->Register(registrar.get(), kRegistration), kKivResult_OK);
  const auto& entries = registrar->Entries();
  ASSERT_EQ(entries.size(), 2u);

  const auto& agent = entries[0];
  EXPECT_EQ(agent.registration, kRegistration);
  EXPECT_TRUE(KivSameId(agent.classId, CLSID_CPS30Agent));
  EXPECT_TRUE(KivSameId(agent.interfaceId, IID_IKivAgent));
  ASSERT_EQ(agent.list->Entries().size(), kAgentStrings.size());
  for (std::size_t i = 0; i < kAgentStrings.size(); ++i) {
    const PropertyEntry& value = agent.list->Entries()[i];
    EXPECT_EQ(value.type, kKivType_String);
    EXPECT_EQ(value.key, kAgentStrings[i].first);
    EXPECT_EQ(value.Text(), kAgentStrings[i].second);
  }

  const auto& reader = entries[1];
  EXPECT_EQ(reader.registration, kRegistration);
  EXPECT_TRUE(KivSameId(reader.classId, CLSID_CPS30Agent));
  EXPECT_TRUE(KivSameId(reader.interfaceId, IID_IKivReader));
  ASSERT_EQ(reader.list->Entries().size(), 1u);
  const PropertyEntry& receptor = reader.list->Entries()[0];
  EXPECT_EQ(receptor.key, "UnderstoodReceptors");
  EXPECT_EQ(receptor.type, kKivType_Bytes);
  const std::vector<std::uint8_t> layout = {0x6A, 0x0E, 0xC0, 0xBC, 0x03, 0xB3, 0xCF, 0x11,
                                            0x94, 0x32, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3};
  EXPECT_EQ(receptor.value, layout);

  // Neither the registrar nor its entries gained or lost a reference.
  EXPECT_EQ(registrar->References(), 1);
  EXPECT_EQ(agent.list->References(), 1);
  EXPECT_EQ(reader.list->References(), 1);
}

enum class Fault { NewEntry, Put };

struct FaultCase {
  const char* name;
  Fault fault;
  int newEntryCall;     // Fault::NewEntry: which call fails
  const char* putKey;   // Fault::Put: the key whose Put fails
  std::vector<std::string> putsMade;  // every Put attempted, in order
  std::uint64_t newEntryCalls;
};

class RegistrationFaultTest : public PluginParamTest<FaultCase> {};

TEST_P(RegistrationFaultTest, TheFirstFailureEndsItAndIsReturned) {
  const FaultCase& c = GetParam();
  Ref<Owner> owner = Owner::Create();
  Ref<IKivRegister> object;
  ASSERT_EQ(plugin().Create(owner.get(), IID_IKivRegister, &object), kKivResult_OK);
  Ref<Registrar> registrar = Registrar::Create();
  if (c.fault == Fault::NewEntry) {
    registrar->NewEntryFaults().FailNth(static_cast<std::uint64_t>(c.newEntryCall));
    registrar->NewEntryFaults().SetResult(kHostFailure);
  } else {
    registrar->FailPutOn(c.putKey, kHostFailure);
  }

  EXPECT_EQ(object->Register(registrar.get(), kRegistration), kHostFailure);
  EXPECT_EQ(registrar->NewEntryCalls(), c.newEntryCalls);
  std::vector<std::string> puts;
  for (const auto& entry : registrar->Entries()) {
    puts.insert(puts.end(), entry.list->PutLog().begin(), entry.list->PutLog().end());
  }
  EXPECT_EQ(puts, c.putsMade);
}

const std::vector<std::string> kAllAgentKeys = {"Name",      "Format",        "FileCreator",
                                                "FileTypes", "MacScrapTypes", "FileExts"};
std::vector<std::string> AgentKeysThen(const char* key) {
  std::vector<std::string> keys = kAllAgentKeys;
  keys.emplace_back(key);
  return keys;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RegistrationFaultTest,
    ::testing::Values(
        FaultCase{"FirstNewEntry", Fault::NewEntry, 1, nullptr, {}, 1},
        FaultCase{"PutName", Fault::Put, 0, "Name", {"Name"}, 1},
        FaultCase{"PutFileCreator", Fault::Put, 0, "FileCreator", {"Name", "Format", "FileCreator"}, 1},
        FaultCase{"PutFileExts", Fault::Put, 0, "FileExts", kAllAgentKeys, 1},
        FaultCase{"SecondNewEntry", Fault::NewEntry, 2, nullptr, kAllAgentKeys, 2},
        FaultCase{"PutUnderstoodReceptors", Fault::Put, 0, "UnderstoodReceptors",
                  AgentKeysThen("UnderstoodReceptors"), 2}),
    CaseName());

// A registrar that answers success but gives no list.
class ListlessRegistrar final : public kivhost::Object<IKivRegistrar> {
public:
  static Ref<ListlessRegistrar> Create() { return Ref<ListlessRegistrar>::Share(new ListlessRegistrar()); }
  KivResult KIV_CALL Unused3() override { return kKivResult_NoSuchInterface; }
  KivResult KIV_CALL Unused4() override { return kKivResult_NoSuchInterface; }
  KivResult KIV_CALL Unused5() override { return kKivResult_NoSuchInterface; }
  KivResult KIV_CALL Unused6() override { return kKivResult_NoSuchInterface; }
  KivResult KIV_CALL NewEntry(std::uint32_t, const KivGuid*, const KivGuid*, IKivPropertyList** out) override {
    *out = nullptr;
    ++calls;
    return kKivResult_OK;
  }
  int calls = 0;

private:
  ListlessRegistrar() = default;
};

TEST_F(RegistrationTest, ARegistrarWithoutListsOrNoneAtAllIsRefused) {
  Ref<ListlessRegistrar> listless = ListlessRegistrar::Create();
  EXPECT_EQ(register_->Register(listless.get(), kRegistration), kKivResult_OutOfMemory);
  EXPECT_EQ(listless->calls, 1);
  EXPECT_EQ(register_->Register(nullptr, kRegistration), kKivResult_BadArgument);
}

TEST_F(PluginTest, NotifyAnswersZeroForAnyArgument) {
  Ref<Owner> owner = Owner::Create();
  Ref<IKivAgent> agent;
  ASSERT_EQ(plugin().Create(owner.get(), IID_IKivAgent, &agent), kKivResult_OK);
  int something = 7;
  EXPECT_EQ(agent->Notify(nullptr), kKivResult_OK);
  EXPECT_EQ(agent->Notify(&something), kKivResult_OK);
  EXPECT_EQ(something, 7);
}

}  // namespace
}  // namespace strataread_test
