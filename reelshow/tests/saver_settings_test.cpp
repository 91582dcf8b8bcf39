// The saver's settings and video list, read at set-up.
#include <gtest/gtest.h>

#include "saver_rig.h"

namespace reelshow {
namespace {

using testing::SaverRig;
using testing::VideoName;

TEST(SaverVideoListTest, KeepsListedExistingFilesInOrder) {
  SaverRig rig;
  // Name1 missing; Name2 the placeholder; Name3 exists; Name4 does not;
  // Name5 exists; Name6 a lower-case null that exists as a file; Name7
  // repeats Name3.
  rig.profile.Set("VidConfig", "Name2", "Null");
  rig.profile.Set("VidConfig", "Name3", VideoName(3));
  rig.profile.Set("VidConfig", "Name4", VideoName(4));
  rig.profile.Set("VidConfig", "Name5", VideoName(5));
  rig.profile.Set("VidConfig", "Name6", "null");
  rig.profile.Set("VidConfig", "Name7", VideoName(3));
  rig.system.files_.insert({VideoName(3), VideoName(5), "null", "Null"});
  TForm1& form = rig.Make();
  form.LoadSettings();
  EXPECT_EQ(form.State().VideoList, (std::vector<std::string>{VideoName(3), VideoName(5), "null", VideoName(3)}));
  EXPECT_EQ(form.State().VideoCount, 4);
}

TEST(SaverVideoListTest, KeepsEveryExistingFileBeyondTheNinetyNinth) {
  SaverRig rig;
  rig.AddVideos(200);
  TForm1& form = rig.Make();
  form.LoadSettings();
  ASSERT_EQ(form.State().VideoCount, 200);
  EXPECT_EQ(form.State().VideoList[199], VideoName(200));
}

TEST(SaverVideoListTest, AllPlaceholdersShowTheInformationOnWhite) {
  SaverRig rig;
  for (int i = 1; i <= 200; ++i) rig.profile.Set("VidConfig", "Name" + std::to_string(i), "Null");
  rig.system.files_.insert("Null");
  TForm1& form = rig.Create();
  EXPECT_EQ(form.State().VideoCount, 0);
  EXPECT_EQ(rig.lblinfo.text_, kNothingToPlayText);
  EXPECT_TRUE(form.lblinfo.Visible());
  EXPECT_FALSE(form.Panel1.Visible());
  EXPECT_EQ(rig.window.color_, (platform::Rgb{255, 255, 255}));
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_TRUE(testing::Matching(rig.log, "MediaPlayer2").empty());
}

struct OptionCase {
  const char* name;
  const char* key;
  const char* value;  // null: missing
  std::int32_t SaverState::*field;
  std::int32_t expected;
};

class SaverOptionTest : public ::testing::TestWithParam<OptionCase> {};

TEST_P(SaverOptionTest, ReadsTheOptionAsTheSaverTakesIt) {
  SaverRig rig;
  const OptionCase& c = GetParam();
  if (c.value) rig.Option(c.key, c.value);
  TForm1& form = rig.Make();
  form.LoadSettings();
  EXPECT_EQ(form.State().*c.field, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Options, SaverOptionTest,
    ::testing::Values(OptionCase{"color_1", "Color", "1", &SaverState::Color, 1},
                      OptionCase{"color_3", "Color", "3", &SaverState::Color, 3},
                      OptionCase{"color_0", "Color", "0", &SaverState::Color, 4},
                      OptionCase{"color_9", "Color", "9", &SaverState::Color, 4},
                      OptionCase{"color_missing", "Color", nullptr, &SaverState::Color, 4},
                      OptionCase{"picdis_1", "Picdis", "1", &SaverState::Picdis, 1},
                      OptionCase{"picdis_4", "Picdis", "4", &SaverState::Picdis, 4},
                      OptionCase{"picdis_7", "Picdis", "7", &SaverState::Picdis, 5},
                      OptionCase{"picdis_missing", "Picdis", nullptr, &SaverState::Picdis, 5},
                      OptionCase{"picord_1", "Picord", "1", &SaverState::Picord, 1},
                      OptionCase{"picord_0", "Picord", "0", &SaverState::Picord, 2},
                      OptionCase{"picord_hex_1", "Picord", "0x1", &SaverState::Picord, 1},
                      OptionCase{"height_unchecked", "Height", "-50", &SaverState::Height, -50},
                      OptionCase{"height_missing", "Height", nullptr, &SaverState::Height, -1},
                      OptionCase{"width_large", "Width", "99999", &SaverState::Width, 99999},
                      OptionCase{"width_text", "Width", "wide", &SaverState::Width, -1}),
    [](const auto& test) { return std::string(test.param.name); });

struct SwitchCase {
  const char* value;  // null: missing
  bool expected;
};

class SaverSoundOptionTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(SaverSoundOptionTest, ReadsSoundAndRepeatAsBooleans) {
  SaverRig rig;
  if (GetParam().value) {
    rig.Option("Sound", GetParam().value);
    rig.Option("Repeat", GetParam().value);
  }
  TForm1& form = rig.Make();
  form.LoadSettings();
  EXPECT_EQ(form.State().SoundOn, GetParam().expected);
  EXPECT_EQ(form.State().RepeatOn, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, SaverSoundOptionTest,
                         ::testing::Values(SwitchCase{nullptr, true}, SwitchCase{"yes", true},
                                           SwitchCase{"0", false}, SwitchCase{"0x0", false},
                                           SwitchCase{"2", true}));

TEST(SaverSettingsTest, MissingFileIsReportedAndDefaultsApply) {
  SaverRig rig;
  rig.system.files_.clear();
  TForm1& form = rig.Create();
  ASSERT_EQ(rig.system.messages_.size(), 1u);
  EXPECT_EQ(rig.system.messages_[0].text, kSaverIniMissingText);
  EXPECT_EQ(rig.system.messages_[0].caption, "Information");
  EXPECT_EQ(rig.system.messages_[0].icon, platform::MessageIcon::Information);
  EXPECT_EQ(form.State().IniPath, testing::kSaverIni);
  EXPECT_EQ(form.State().VideoCount, 0);
  EXPECT_EQ(rig.window.color_, (platform::Rgb{255, 255, 255}));
}

TEST(SaverSettingsTest, IniPathFollowsTheProgramName) {
  SaverRig rig;
  rig.system.windowsDir_ = "";
  rig.system.programPath_ = "D:\\SAVERS\\Holiday.Clips.scr";
  TForm1& form = rig.Create();
  EXPECT_EQ(form.State().WindowsDir, "c:\\windows");
  EXPECT_EQ(form.State().IniPath, "c:\\windows\\Holiday.ini");
}

}  // namespace
}  // namespace reelshow
