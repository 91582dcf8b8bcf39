#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "case_name.h"
#include "kivhost/kivhost.h"

namespace strataread_test {
namespace {

using kivhost::PropertyList;
using kivhost::Ref;

struct ValueCase {
  const char* name;
  std::int32_t type;
  std::vector<std::uint8_t> value;  // strings: with the terminator
  std::uint32_t sizeArgument;
};

class PropertyValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(PropertyValueTest, PutThenGetGivesTheValueBack) {
  const ValueCase& c = GetParam();
  Ref<PropertyList> list = PropertyList::Create();
  ASSERT_EQ(list->Put(c.type, c.value.data(), c.sizeArgument, "key"), kKivResult_OK);
  std::vector<std::uint8_t> back(c.value.size() + 4, 0xEE);
  ASSERT_EQ(list->Get(c.type, back.data(), static_cast<std::uint32_t>(c.value.size()), "key"), kKivResult_OK);
  EXPECT_TRUE(std::equal(c.value.begin(), c.value.end(), back.begin()));
  EXPECT_EQ(back[c.value.size()], 0xEE);  // nothing beyond the size given
  // Another type or another key is absent.
  const std::int32_t other = c.type == kKivType_Int32 ? kKivType_Flag : kKivType_Int32;
  EXPECT_EQ(list->Get(other, back.data(), 4, "key"), kKivResult_BadArgument);
  EXPECT_EQ(list->Get(c.type, back.data(), 4, "Key"), kKivResult_BadArgument);
}

INSTANTIATE_TEST_SUITE_P(
    Types, PropertyValueTest,
    ::testing::Values(ValueCase{"Int32", kKivType_Int32, {0xFF, 0xFF, 0xFF, 0xFF}, 4},
                      ValueCase{"Flag", kKivType_Flag, {1}, 1},
                      ValueCase{"Id", kKivType_Id, std::vector<std::uint8_t>(16, 0x42), 16},
                      ValueCase{"Bytes", kKivType_Bytes, {1, 2, 3}, 3},
                      ValueCase{"NoBytes", kKivType_Bytes, {}, 0},
                      ValueCase{"String", kKivType_String, {'8', 'B', 'P', 'S', 0}, 0},
                      ValueCase{"Rect", kKivType_Rect, std::vector<std::uint8_t>(16, 7), 16}),
    CaseName());

struct BadPutCase {
  const char* name;
  std::int32_t type;
  std::uint32_t size;
  bool nullValue;
};

class PropertyBadPutTest : public ::testing::TestWithParam<BadPutCase> {};

TEST_P(PropertyBadPutTest, IsRefusedAndStoresNothing) {
  const BadPutCase& c = GetParam();
  Ref<PropertyList> list = PropertyList::Create();
  const std::uint8_t value[32] = {'x', 0};
  EXPECT_EQ(list->Put(c.type, c.nullValue ? nullptr : value, c.size, "key"), kKivResult_BadArgument);
  EXPECT_TRUE(list->Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Puts, PropertyBadPutTest,
                         ::testing::Values(BadPutCase{"Int32Size2", kKivType_Int32, 2, false},
                                           BadPutCase{"FlagSize4", kKivType_Flag, 4, false},
                                           BadPutCase{"IdSize8", kKivType_Id, 8, false},
                                           BadPutCase{"RectSize32", kKivType_Rect, 32, false},
                                           BadPutCase{"StringSize5", kKivType_String, 5, false},
                                           BadPutCase{"NullString", kKivType_String, 0, true},
                                           BadPutCase{"NullBytes", kKivType_Bytes, 3, true},
                                           BadPutCase{"UnknownType", 5, 4, false}),
                         CaseName());

TEST(PropertyListTest, KeepsTheOrderOfFirstPuts) {
  Ref<PropertyList> list = PropertyList::Create();
  const std::int32_t one = 1;
  const std::int32_t two = 2;
  ASSERT_EQ(list->Put(kKivType_Int32, &one, 4, "b"), kKivResult_OK);
  ASSERT_EQ(list->Put(kKivType_String, "text", 0, "a"), kKivResult_OK);
  ASSERT_EQ(list->Put(kKivType_Int32, &two, 4, "b"), kKivResult_OK);
  ASSERT_EQ(list->Entries().size(), 2u);
  EXPECT_EQ(list->Entries()[0].key, "b");
  EXPECT_EQ(list->Entries()[0].Int32(), 2);
  EXPECT_EQ(list->Entries()[1].Text(), "text");
  EXPECT_EQ(list->PutLog(), (std::vector<std::string>{"b", "a", "b"}));
}

TEST(PropertyListTest, FailsPutsOfAChosenKey) {
  Ref<PropertyList> list = PropertyList::Create();
  list->FailPutOn("bad", kKivResult_ReadFailed);
  const std::int32_t value = 5;
  EXPECT_EQ(list->Put(kKivType_Int32, &value, 4, "bad"), kKivResult_ReadFailed);
  EXPECT_EQ(list->Put(kKivType_Int32, &value, 4, "good"), kKivResult_OK);
  EXPECT_EQ(list->Find("bad"), nullptr);
  EXPECT_EQ(list->PutLog(), (std::vector<std::string>{"bad", "good"}));
}

TEST(PropertyListTest, CutsAStringToTheBuffer) {
  Ref<PropertyList> list = PropertyList::Create();
  list->PutString("name", "Background");
  char small[5] = {'#', '#', '#', '#', '#'};
  ASSERT_EQ(list->Get(kKivType_String, small, sizeof small, "name"), kKivResult_OK);
  EXPECT_STREQ(small, "Back");
}

TEST(RegistrarTest, KeepsItsEntriesAndHandsNoReference) {
  Ref<kivhost::Registrar> registrar = kivhost::Registrar::Create();
  IKivPropertyList* list = nullptr;
  ASSERT_EQ(registrar->NewEntry(7, &CLSID_CPS30Agent, &IID_IKivAgent, &list), kKivResult_OK);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(registrar->Entries().size(), 1u);
  EXPECT_EQ(registrar->Entries()[0].list.get(), list);
  EXPECT_EQ(registrar->Entries()[0].list->References(), 1);
  EXPECT_EQ(registrar->NewEntry(7, nullptr, &IID_IKivAgent, &list), kKivResult_BadArgument);
  EXPECT_EQ(list, nullptr);
}

}  // namespace
}  // namespace strataread_test
