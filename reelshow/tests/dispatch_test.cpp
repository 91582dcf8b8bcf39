#include "dispatch.h"

#include <gtest/gtest.h>

#include "doubles.h"

namespace reelshow {
namespace {

using testing::FakeSystem;
using testing::Log;

struct SwitchCase {
  bool saverExists;
  const char* argument;  // "" for none
  Action action;
};

class DispatchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(DispatchTest, ChoosesTheWayTheProgramLives) {
  const SwitchCase& c = GetParam();
  EXPECT_EQ(Dispatch(c.saverExists, c.argument), c.action)
      << "argument '" << c.argument << "', saver " << c.saverExists;
}

INSTANTIATE_TEST_SUITE_P(
    Switches, DispatchTest,
    ::testing::Values(SwitchCase{false, "/s", Action::RunSaver}, SwitchCase{false, "/S", Action::RunSaver},
                      SwitchCase{false, "/S1", Action::End}, SwitchCase{false, "/SS", Action::End},
                      SwitchCase{false, "/c", Action::ShowSettings},
                      SwitchCase{false, "/C", Action::ShowSettings},
                      SwitchCase{false, "/c:4711", Action::ShowSettings},
                      SwitchCase{false, "/Cx", Action::ShowSettings}, SwitchCase{false, "/", Action::End},
                      SwitchCase{false, "/x", Action::End}, SwitchCase{false, "/a", Action::ChangePassword},
                      SwitchCase{false, "/A", Action::ChangePassword},
                      SwitchCase{false, "/a:1", Action::ChangePassword},
                      SwitchCase{false, "/p", Action::End}, SwitchCase{false, "/P", Action::End},
                      SwitchCase{false, "", Action::End}, SwitchCase{false, "s", Action::End},
                      SwitchCase{false, "C", Action::End},
                      // Only a to z change case: a long s is not an S.
                      SwitchCase{false, "/\xc5\xbf", Action::End},
                      SwitchCase{true, "/s", Action::End}, SwitchCase{true, "/C", Action::End},
                      SwitchCase{true, "/a", Action::End}, SwitchCase{true, "", Action::End}));

TEST(UpperSwitchTest, ChangesOnlyAToZ) {
  EXPECT_EQ(UpperSwitch("/c:4711az{`@\xe9"), "/C:4711AZ{`@\xe9");
}

struct PathCase {
  const char* directory;
  const char* path;
};

class SystemLibraryPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(SystemLibraryPathTest, JoinsWithOneBackslash) {
  EXPECT_EQ(SystemLibraryPath(GetParam().directory, "MPR.DLL"), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Directories, SystemLibraryPathTest,
                         ::testing::Values(PathCase{"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\MPR.DLL"},
                                           PathCase{"C:\\", "C:\\MPR.DLL"}, PathCase{"", "MPR.DLL"}));

struct ChangeCase {
  const char* name;
  bool loads;
  bool hasEntry;
  Log expected;
};

class ChangePasswordTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangePasswordTest, CallsTheSystemDialogOnlyWhenBound) {
  Log log;
  FakeSystem system(log);
  system.libraryLoads_ = GetParam().loads;
  system.hasChange_ = GetParam().hasEntry;
  ChangePassword(system);
  EXPECT_EQ(log, GetParam().expected);
  EXPECT_TRUE(system.messages_.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, ChangePasswordTest,
    ::testing::Values(
        ChangeCase{"present", true, true,
                   {"OpenLibrary(C:\\WINDOWS\\SYSTEM\\MPR.DLL)", "PwdChangePasswordA(SCRSAVE,none,0,0)",
                    "FreeLibrary(C:\\WINDOWS\\SYSTEM\\MPR.DLL)"}},
        ChangeCase{"no_entry", true, false,
                   {"OpenLibrary(C:\\WINDOWS\\SYSTEM\\MPR.DLL)", "FreeLibrary(C:\\WINDOWS\\SYSTEM\\MPR.DLL)"}},
        ChangeCase{"no_library", false, true, {"OpenLibrary(C:\\WINDOWS\\SYSTEM\\MPR.DLL)"}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ChangePasswordTest, EmptySystemDirectoryLoadsTheBareName) {
  Log log;
  FakeSystem system(log);
  system.systemDir_ = "";
  ChangePassword(system);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "OpenLibrary(MPR.DLL)");
}

}  // namespace
}  // namespace reelshow
