#include "portable_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "profile_cases.h"
#include "temp_dir.h"

namespace reelshow {
namespace {

using testing::TempDir;
namespace cases = profile_cases;

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
  std::string n = param.param.name;
  for (char& ch : n) if (ch == '-') ch = '_';
  return n;
}

std::string CaseText(const char* text) {
  if (std::string(text) == "LONG") return "[V]\r\nName1=" + std::string(3000, 'x') + "\r\n";
  return text;
}

class ProfileReadTest : public ::testing::TestWithParam<cases::ReadCase> {};

TEST_P(ProfileReadTest, ReadsAsThePlatformDoes) {
  const auto& c = GetParam();
  TempDir dir;
  const std::string path = c.text ? dir.Write("case.ini", CaseText(c.text)) : dir.File("none.ini");
  const std::size_t buffer = c.buffer ? c.buffer : 2048;
  const std::string expected = c.expected ? c.expected : std::string(buffer - 1, 'x');
  PortableProfile store;
  EXPECT_EQ(store.GetString(path, c.section, c.key, c.def, buffer), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileReadTest, ::testing::ValuesIn(cases::kReads),
                         CaseName<cases::ReadCase>);

TEST(PortableProfileWriteTest, ChangesOnlyTheOneLine) {
  TempDir dir;
  PortableProfile store;
  const std::string path = dir.Write("w.ini", "; shipped\r\n[Options]\r\nSound = 1\r\nColor=2\r\n\r\n[VidConfig]\r\nName1=x\r\n");
  ASSERT_TRUE(store.WriteString(path, "options", "Color", "4"));
  EXPECT_EQ(TempDir::Read(path), "; shipped\r\n[Options]\r\nSound = 1\r\nColor=4\r\n\r\n[VidConfig]\r\nName1=x\r\n");
  ASSERT_TRUE(store.WriteString(path, "Options", "Picdis", "3"));
  EXPECT_EQ(TempDir::Read(path),
            "; shipped\r\n[Options]\r\nSound = 1\r\nColor=4\r\nPicdis=3\r\n\r\n[VidConfig]\r\nName1=x\r\n");
  ASSERT_TRUE(store.WriteString(path, "Link", "Site", "h"));
  EXPECT_EQ(TempDir::Read(path),
            "; shipped\r\n[Options]\r\nSound = 1\r\nColor=4\r\nPicdis=3\r\n\r\n[VidConfig]\r\nName1=x\r\n"
            "\r\n[Link]\r\nSite=h\r\n");
}

TEST(PortableProfileWriteTest, KeepsLineFeedEndings) {
  TempDir dir;
  PortableProfile store;
  const std::string path = dir.Write("w.ini", "[Options]\nSound=1\n");
  ASSERT_TRUE(store.WriteString(path, "Options", "Sound", "0"));
  EXPECT_EQ(TempDir::Read(path), "[Options]\nSound=0\n");
}

class ProfileWriteTest : public ::testing::TestWithParam<cases::WriteCase> {};

// The values read back after a write; the Wine probe compares the same
// read-backs with the platform's.
TEST_P(ProfileWriteTest, ValuesReadBackAfterTheWrite) {
  const auto& c = GetParam();
  TempDir dir;
  const std::string path = c.text ? dir.Write("w.ini", c.text) : dir.File("w.ini");
  PortableProfile store;
  ASSERT_TRUE(store.WriteString(path, c.section, c.key, c.value));
  for (const char* probe : c.probes) {
    if (!probe) break;
    const cases::Probe p{probe};
    const std::string section(probe, p.Slash());
    const std::string key(p.Slash() + 1, p.Equals());
    EXPECT_EQ(store.GetString(path, section, key, "<missing>", 2048), std::string(p.Equals() + 1)) << probe;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileWriteTest, ::testing::ValuesIn(cases::kWrites),
                         CaseName<cases::WriteCase>);

}  // namespace
}  // namespace reelshow
