#include "settings_file.h"

#include <gtest/gtest.h>

#include "ini_path.h"
#include "portable_profile.h"
#include "temp_dir.h"

namespace reelshow {
namespace {

using testing::TempDir;

struct IntegerCase {
  const char* text;
  std::optional<std::int32_t> value;
};

class SettingsIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(SettingsIntegerTest, ParsesByTheSettingsRule) {
  EXPECT_EQ(ParseSettingsInteger(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsIntegerTest,
    ::testing::Values(IntegerCase{"0", 0}, IntegerCase{"42", 42}, IntegerCase{"+7", 7},
                      IntegerCase{"-1", -1}, IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", INT32_MIN}, IntegerCase{"2147483648", std::nullopt},
                      IntegerCase{"$10", 16}, IntegerCase{"0x1f", 31}, IntegerCase{"0X1F", 31},
                      IntegerCase{"0x0", 0}, IntegerCase{"$FFFFFFFF", -1},
                      IntegerCase{"$100000000", std::nullopt}, IntegerCase{"0x", std::nullopt},
                      IntegerCase{"$", std::nullopt}, IntegerCase{"", std::nullopt},
                      IntegerCase{"-", std::nullopt}, IntegerCase{"12abc", std::nullopt},
                      IntegerCase{"yes", std::nullopt}, IntegerCase{"1 2", std::nullopt},
                      IntegerCase{"-0x10", std::nullopt}, IntegerCase{"0x-1", std::nullopt},
                      IntegerCase{"00012", 12}));

TEST(SettingsFileTest, TypedReadsFollowTheValueRules) {
  TempDir dir;
  PortableProfile store;
  SettingsFile ini(store, dir.Write("s.ini",
                                    "[OPTIONS]\r\nSound=yes\r\nRepeat=0x0\r\nColor=2\r\n"
                                    "Picdis=\r\nHeight=$20\r\nFlag=2\r\nName=  text  \r\n"));
  EXPECT_TRUE(ini.ReadBool("Options", "Sound", true));    // not a number: the default
  EXPECT_FALSE(ini.ReadBool("Options", "Sound", false));
  EXPECT_FALSE(ini.ReadBool("Options", "Repeat", true));  // 0x0 is 0
  EXPECT_TRUE(ini.ReadBool("Options", "Flag", false));    // any other number is true
  EXPECT_EQ(ini.ReadInteger("options", "color", -1), 2);
  EXPECT_EQ(ini.ReadInteger("Options", "Picdis", -1), -1);  // empty value: the default
  EXPECT_EQ(ini.ReadInteger("Options", "Height", -1), 32);
  EXPECT_EQ(ini.ReadInteger("Options", "Width", -1), -1);   // missing key
  EXPECT_EQ(ini.ReadString("Options", "Name", "d"), "text");
  EXPECT_EQ(ini.ReadString("Options", "Missing", "d"), "d");
}

TEST(SettingsFileTest, MissingFileReadsDefaults) {
  TempDir dir;
  PortableProfile store;
  SettingsFile ini(store, dir.File("absent.ini"));
  EXPECT_EQ(ini.ReadInteger("Options", "Color", -1), -1);
  EXPECT_TRUE(ini.ReadBool("Options", "Sound", true));
  EXPECT_EQ(ini.ReadString("vidConfig", "Name1", " "), " ");
}

TEST(SettingsFileTest, LongValuesAreCutTo2047Characters) {
  TempDir dir;
  PortableProfile store;
  const std::string longValue(5000, 'x');
  SettingsFile ini(store, dir.Write("s.ini", "[VidConfig]\nName1=" + longValue + "\n"));
  EXPECT_EQ(ini.ReadString("vidConfig", "Name1", " "), std::string(2047, 'x'));
}

TEST(SettingsFileTest, WritesDecimalAndBooleansAndReadsThemBack) {
  TempDir dir;
  PortableProfile store;
  SettingsFile ini(store, dir.File("new.ini"));
  ASSERT_TRUE(ini.WriteBool("Options", "Sound", true));
  ASSERT_TRUE(ini.WriteBool("Options", "Repeat", false));
  ASSERT_TRUE(ini.WriteInteger("Options", "Height", -25));
  EXPECT_EQ(TempDir::Read(ini.Path()), "[Options]\r\nSound=1\r\nRepeat=0\r\nHeight=-25\r\n");
  EXPECT_EQ(ini.ReadInteger("Options", "Height", 0), -25);
}

TEST(SettingsFileTest, WriteFailureIsReportedWithThePath) {
  TempDir dir;
  PortableProfile store;
  // A directory in place of the file cannot be written as a file.
  std::filesystem::create_directories(dir.Path() / "blocked.ini");
  SettingsFile ini(store, dir.File("blocked.ini"));
  EXPECT_FALSE(ini.WriteInteger("Options", "Color", 1));
  EXPECT_EQ(UnableToWriteMessage(ini.Path()), "Unable to write to " + ini.Path());
}

struct IniPathCase {
  const char* windowsDir;
  const char* program;
  const char* iniPath;
};

class IniPathTest : public ::testing::TestWithParam<IniPathCase> {};

TEST_P(IniPathTest, FollowsTheBaseNameRule) {
  const auto& c = GetParam();
  EXPECT_EQ(IniPathFor(WindowsDirFrom(c.windowsDir), c.program), c.iniPath);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, IniPathTest,
    ::testing::Values(IniPathCase{"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM\\Holiday.Clips.scr", "C:\\WINDOWS\\Holiday.ini"},
                      IniPathCase{"C:\\WINDOWS", "a.b.c.scr", "C:\\WINDOWS\\a.ini"},
                      IniPathCase{"C:\\WINDOWS", "C:\\x\\reelshow", "C:\\WINDOWS\\reelshow.ini"},
                      IniPathCase{"", "D:\\savers\\Reel.SCR", "c:\\windows\\Reel.ini"},
                      IniPathCase{"C:\\", "C:\\r.scr", "C:\\r.ini"},
                      IniPathCase{"C:\\WINDOWS", "C:\\dotted.dir\\saver.scr", "C:\\WINDOWS\\saver.ini"}));

}  // namespace
}  // namespace reelshow
