// Replacing counted references: the field's helpers of the plug-in and the
// host's Ref must both keep alive an object that replaces itself.
#include <gtest/gtest.h>

#include "kivhost/kivhost.h"
#include "object_base.h"

namespace strataread_test {
namespace {

using kivhost::PropertyList;
using kivhost::Ref;

TEST(CountedFieldTest, ReplacingWithTheHeldObjectKeepsIt) {
  const std::int64_t before = kivhost::LiveObjects();
  // The field holds the only reference.
  IKivPropertyList* field = PropertyList::Create().Detach();
  strataread::ReplaceCounted(field, field);
  ASSERT_EQ(kivhost::LiveObjects(), before + 1);
  EXPECT_EQ(static_cast<PropertyList*>(field)->References(), 1);
  strataread::ReleaseCounted(field);
  EXPECT_EQ(field, nullptr);
  EXPECT_EQ(kivhost::LiveObjects(), before);
}

TEST(CountedFieldTest, ReplacingMovesTheReference) {
  Ref<PropertyList> first = PropertyList::Create();
  Ref<PropertyList> second = PropertyList::Create();
  IKivPropertyList* field = nullptr;
  strataread::ReplaceCounted<IKivPropertyList>(field, first.get());
  EXPECT_EQ(first->References(), 2);
  strataread::ReplaceCounted<IKivPropertyList>(field, second.get());
  EXPECT_EQ(first->References(), 1);
  EXPECT_EQ(second->References(), 2);
  strataread::ReplaceCounted<IKivPropertyList>(field, nullptr);
  EXPECT_EQ(second->References(), 1);
  EXPECT_EQ(field, nullptr);
}

TEST(CountedFieldTest, RefAssignedItsOwnObjectKeepsIt) {
  const std::int64_t before = kivhost::LiveObjects();
  Ref<PropertyList> only = PropertyList::Create();
  const Ref<PropertyList>& alias = only;
  only = alias;
  ASSERT_EQ(kivhost::LiveObjects(), before + 1);
  EXPECT_EQ(only->References(), 1);
  Ref<PropertyList> moved = std::move(only);
  Ref<PropertyList>& same = moved;
  moved = std::move(same);
  ASSERT_EQ(kivhost::LiveObjects(), before + 1);
  EXPECT_EQ(moved->References(), 1);
  moved = nullptr;
  EXPECT_EQ(kivhost::LiveObjects(), before);
}

}  // namespace
}  // namespace strataread_test
