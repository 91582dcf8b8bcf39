// The settings dialog: loading, scrolling, the web button and saving.
#include "usave2.h"

#include <gtest/gtest.h>

#include <memory>

#include "doubles.h"
#include "form_layout.h"

namespace reelshow {
namespace {

using testing::FakeButton;
using testing::FakeLabel;
using testing::FakeRadio;
using testing::FakeScrollBar;
using testing::FakeSystem;
using testing::Log;
using testing::Matching;
using testing::MemoryProfile;

const std::string kIni = "C:\\WINDOWS\\reelshow.ini";

struct DialogRig {
  Log log;
  FakeSystem system{log};
  MemoryProfile profile;
  FakeRadio radpicl, radpicm, radpics, Raddefault, Radpicc, RadioButton1, RadioButton2, radsndon,
      radsndof, radrepon, radrepoff, radcol1, radcol2, radcol3, Radcol4;
  FakeScrollBar ScrollBar1, ScrollBar2;
  FakeLabel Lblwidth{log, "Lblwidth"}, Lblheight{log, "Lblheight"};
  FakeButton Cmdwebsite;
  std::unique_ptr<TForm2> form;

  DialogRig() { system.files_.insert(kIni); }

  void Option(const std::string& key, const std::string& value) { profile.Set("Options", key, value); }

  TForm2& Create() {
    form = std::make_unique<TForm2>(
        DialogControls{radpicl, radpicm, radpics, Raddefault, Radpicc, RadioButton1, RadioButton2,
                       radsndon, radsndof, radrepon, radrepoff, radcol1, radcol2, radcol3, Radcol4,
                       ScrollBar1, ScrollBar2, Lblwidth, Lblheight, Cmdwebsite},
        system, profile);
    form->FormCreate();
    return *form;
  }

  // Which radio buttons are checked, by name.
  std::vector<std::string> Checked() const {
    const std::pair<const char*, const FakeRadio*> all[] = {
        {"radpicl", &radpicl},   {"radpicm", &radpicm},       {"radpics", &radpics},
        {"Raddefault", &Raddefault}, {"Radpicc", &Radpicc},   {"RadioButton1", &RadioButton1},
        {"RadioButton2", &RadioButton2}, {"radsndon", &radsndon}, {"radsndof", &radsndof},
        {"radrepon", &radrepon}, {"radrepoff", &radrepoff},   {"radcol1", &radcol1},
        {"radcol2", &radcol2},   {"radcol3", &radcol3},       {"Radcol4", &Radcol4}};
    std::vector<std::string> names;
    for (const auto& [name, radio] : all) {
      if (radio->checked_) names.push_back(name);
    }
    return names;
  }

  bool Closed() const { return !Matching(log, "CloseMainWindow").empty(); }
};

// One settings file, what the dialog shows for it and what OK writes.
struct LoadCase {
  const char* name;
  std::vector<std::pair<const char*, const char*>> options;
  std::vector<std::string> checked;
  const char* width;
  const char* height;
  std::vector<std::string> written;
};

class DialogLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(DialogLoadTest, ShowsTheFileAndWritesItBackInOrder) {
  const LoadCase& c = GetParam();
  DialogRig rig;
  for (const auto& [key, value] : c.options) rig.Option(key, value);
  TForm2& form = rig.Create();
  EXPECT_EQ(rig.Checked(), c.checked);
  EXPECT_EQ(form.Lblwidth.Text(), c.width);
  EXPECT_EQ(form.Lblheight.Text(), c.height);
  EXPECT_EQ(std::to_string(rig.ScrollBar1.position_), c.width);
  EXPECT_EQ(std::to_string(rig.ScrollBar2.position_), c.height);
  form.cmdcloseClick();
  EXPECT_EQ(rig.profile.writes_, c.written);
  EXPECT_TRUE(rig.Closed());
  EXPECT_TRUE(rig.system.messages_.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, DialogLoadTest,
    ::testing::Values(
        LoadCase{"all_missing",
                 {},
                 {"radpicl", "RadioButton2", "radsndon", "radrepon", "Radcol4"},
                 "25",
                 "25",
                 {"Options/Sound=1", "Options/Repeat=1", "Options/Color=4", "Options/Picdis=1",
                  "Options/Picord=2", "Options/Height=25", "Options/Width=25", "Options/Status=0"}},
        LoadCase{"kept_values",
                 {{"Sound", "0"}, {"Repeat", "0"}, {"Color", "3"}, {"Picdis", "4"}, {"Picord", "1"},
                  {"Height", "300"}, {"Width", "400"}, {"Status", "1"}},
                 {"Radpicc", "RadioButton1", "radsndof", "radrepoff", "radcol3"},
                 "400",
                 "300",
                 {"Options/Sound=0", "Options/Repeat=0", "Options/Color=3", "Options/Picdis=4",
                  "Options/Picord=1", "Options/Height=300", "Options/Width=400", "Options/Status=0"}},
        LoadCase{"out_of_range",
                 {{"Sound", "yes"}, {"Color", "7"}, {"Picdis", "9"}, {"Picord", "5"}, {"Height", "2000"},
                  {"Width", "10"}},
                 {"radpicl", "RadioButton2", "radsndon", "radrepon", "Radcol4"},
                 "25",
                 "768",
                 {"Options/Sound=1", "Options/Repeat=1", "Options/Color=4", "Options/Picdis=1",
                  "Options/Picord=2", "Options/Height=768", "Options/Width=25", "Options/Status=0"}},
        LoadCase{"other_choices",
                 {{"Color", "1"}, {"Picdis", "5"}, {"Width", "1024"}, {"Height", "24"}},
                 {"Raddefault", "RadioButton2", "radsndon", "radrepon", "radcol1"},
                 "1024",
                 "25",
                 {"Options/Sound=1", "Options/Repeat=1", "Options/Color=1", "Options/Picdis=5",
                  "Options/Picord=2", "Options/Height=25", "Options/Width=1024", "Options/Status=0"}},
        LoadCase{"medium_small",
                 {{"Color", "2"}, {"Picdis", "2"}, {"Width", "1025"}},
                 {"radpicm", "RadioButton2", "radsndon", "radrepon", "radcol2"},
                 "1024",
                 "25",
                 {"Options/Sound=1", "Options/Repeat=1", "Options/Color=2", "Options/Picdis=2",
                  "Options/Picord=2", "Options/Height=25", "Options/Width=1024", "Options/Status=0"}},
        LoadCase{"small",
                 {{"Picdis", "3"}},
                 {"radpics", "RadioButton2", "radsndon", "radrepon", "Radcol4"},
                 "25",
                 "25",
                 {"Options/Sound=1", "Options/Repeat=1", "Options/Color=4", "Options/Picdis=3",
                  "Options/Picord=2", "Options/Height=25", "Options/Width=25", "Options/Status=0"}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(DialogLoadTest, ScrollBarsSpanFromTwentyFiveToTheScreen) {
  DialogRig rig;
  rig.system.screen_ = {1366, 768};
  rig.Option("Height", "2000");
  TForm2& form = rig.Create();
  EXPECT_EQ(rig.ScrollBar1.min_, 25);
  EXPECT_EQ(rig.ScrollBar1.max_, 1366);
  EXPECT_EQ(rig.ScrollBar2.max_, 768);
  EXPECT_EQ(form.ScrollBar2.Position(), form.ScrollBar2.Max());
}

struct ButtonCase {
  const char* button;  // null: missing
  bool visible;
};

class DialogButtonTest : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(DialogButtonTest, ShowsTheWebButtonOnlyForACaption) {
  DialogRig rig;
  if (GetParam().button) rig.profile.Set("Link", "Button", GetParam().button);
  rig.Create();
  EXPECT_EQ(rig.Cmdwebsite.visible_, GetParam().visible);
  if (GetParam().visible) {
    EXPECT_EQ(rig.Cmdwebsite.caption_, GetParam().button);
  }
}

INSTANTIATE_TEST_SUITE_P(Captions, DialogButtonTest,
                         ::testing::Values(ButtonCase{nullptr, false}, ButtonCase{"", false},
                                           ButtonCase{"   ", false}, ButtonCase{"\t ", false},
                                           ButtonCase{"Visit", true}, ButtonCase{"  Visit us  ", true}));

TEST(DialogScrollTest, LabelsFollowTheScrollBarsWithinTheirRange) {
  DialogRig rig;
  TForm2& form = rig.Create();
  form.ScrollBar1Scroll(300);
  form.ScrollBar2Scroll(5000);
  EXPECT_EQ(form.Lblwidth.Text(), "300");
  EXPECT_EQ(form.Lblheight.Text(), "768");
  form.ScrollBar1Scroll(3);
  EXPECT_EQ(form.Lblwidth.Text(), "25");
  EXPECT_EQ(rig.ScrollBar1.position_, 25);
  form.cmdcloseClick();
  EXPECT_EQ(Matching(rig.profile.writes_, "Options/Height"), (Log{"Options/Height=768"}));
  EXPECT_EQ(Matching(rig.profile.writes_, "Options/Width"), (Log{"Options/Width=25"}));
}

struct ScrollCase {
  ScrollRequest request;
  std::int32_t current;
  std::int32_t thumb;
  std::int32_t expected;
};

class ScrollPositionTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollPositionTest, MovesOneStepOrToTheThumb) {
  const ScrollCase& c = GetParam();
  EXPECT_EQ(ScrollPositionAfter(c.request, c.current, c.thumb, 25, 1024), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ScrollPositionTest,
    ::testing::Values(ScrollCase{ScrollRequest::LineLess, 100, 0, 99}, ScrollCase{ScrollRequest::LineMore, 100, 0, 101},
                      ScrollCase{ScrollRequest::PageLess, 100, 0, 99}, ScrollCase{ScrollRequest::PageMore, 100, 0, 101},
                      ScrollCase{ScrollRequest::LineLess, 25, 0, 25}, ScrollCase{ScrollRequest::PageMore, 1024, 0, 1024},
                      ScrollCase{ScrollRequest::Thumb, 100, 700, 700}, ScrollCase{ScrollRequest::Thumb, 100, 9000, 1024},
                      ScrollCase{ScrollRequest::ToMin, 100, 0, 25}, ScrollCase{ScrollRequest::ToMax, 100, 0, 1024},
                      ScrollCase{ScrollRequest::EndScroll, 100, 700, 100}));

TEST(DialogMissingFileTest, ReportsItAndOkStopsAtHeight) {
  DialogRig rig;
  rig.system.files_.clear();
  TForm2& form = rig.Create();
  ASSERT_EQ(rig.system.messages_.size(), 1u);
  EXPECT_EQ(rig.system.messages_[0].text, kDialogIniMissingText);
  EXPECT_EQ(rig.system.messages_[0].caption, "Error");
  EXPECT_TRUE(rig.Checked().empty());
  EXPECT_EQ(form.Lblwidth.Text(), "Lblwidth");
  EXPECT_EQ(form.Lblheight.Text(), "Lblheight");
  EXPECT_EQ(form.ScrollBar1.Position(), 25);

  rig.system.messages_.clear();
  form.cmdcloseClick();
  EXPECT_EQ(rig.profile.writes_, (Log{"Options/Sound=0", "Options/Repeat=0", "Options/Color=4",
                                      "Options/Picdis=1", "Options/Picord=2"}));
  ASSERT_EQ(rig.system.messages_.size(), 1u);
  EXPECT_EQ(rig.system.messages_[0].text, "'Lblheight' is not a valid integer value");
  EXPECT_EQ(rig.system.messages_[0].caption, "Error");
  EXPECT_FALSE(rig.Closed());

  // Only the height moved: now the width stops it.
  form.ScrollBar2Scroll(100);
  rig.profile.writes_.clear();
  rig.system.messages_.clear();
  form.cmdcloseClick();
  EXPECT_EQ(Matching(rig.profile.writes_, "Options/Height"), (Log{"Options/Height=100"}));
  ASSERT_EQ(rig.system.messages_.size(), 1u);
  EXPECT_EQ(rig.system.messages_[0].text, "'Lblwidth' is not a valid integer value");
  EXPECT_FALSE(rig.Closed());

  form.ScrollBar1Scroll(200);
  rig.profile.writes_.clear();
  form.cmdcloseClick();
  EXPECT_EQ(rig.profile.writes_.size(), 8u);
  EXPECT_TRUE(rig.Closed());
}

TEST(DialogSaveFailureTest, UnwritableKeyStopsTheSaveAndCloseRequestStillEnds) {
  DialogRig rig;
  rig.system.programPath_ = "C:\\WINDOWS\\SYSTEM\\Holiday.Clips.scr";
  rig.system.files_ = {"C:\\WINDOWS\\Holiday.ini"};
  rig.profile.failKey_ = "Picdis";
  TForm2& form = rig.Create();
  form.cmdcloseClick();
  EXPECT_EQ(rig.profile.writes_, (Log{"Options/Sound=1", "Options/Repeat=1", "Options/Color=4"}));
  ASSERT_EQ(rig.system.messages_.size(), 1u);
  EXPECT_EQ(rig.system.messages_[0].text, "Unable to write to C:\\WINDOWS\\Holiday.ini");
  EXPECT_EQ(rig.system.messages_[0].caption, "Holiday.Clips");
  EXPECT_FALSE(rig.Closed());

  rig.profile.writes_.clear();
  form.FormCloseRequest();
  EXPECT_TRUE(rig.Closed());
  EXPECT_TRUE(rig.profile.writes_.empty());
}

struct WebCase {
  const char* name;
  const char* site;
  std::intptr_t answer;
  bool opened;
  bool message;
};

class DialogWebTest : public ::testing::TestWithParam<WebCase> {};

TEST_P(DialogWebTest, ReportsEveryFailureOfTheSystem) {
  const WebCase& c = GetParam();
  DialogRig rig;
  rig.profile.Set("Link", "Button", "Home");
  rig.profile.Set("Link", "Site", c.site);
  rig.system.shellAnswer_ = c.answer;
  TForm2& form = rig.Create();
  form.CmdwebsiteClick();
  EXPECT_EQ(Matching(rig.log, "ShellOpen"), c.opened ? Log{"ShellOpen(" + std::string(c.site) + ")"} : Log{});
  ASSERT_EQ(rig.system.messages_.size(), c.message ? 1u : 0u);
  if (c.message) {
    EXPECT_EQ(rig.system.messages_[0].text,
              "Your system does not have a default webpage viewer (for viewing the webpage). You can view "
              "this by opening your browser and typing " + std::string(c.site) + " in the location box.");
    EXPECT_EQ(rig.system.messages_[0].caption, "Error");
  }
  EXPECT_FALSE(rig.Closed());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DialogWebTest,
    ::testing::Values(WebCase{"opened", "http://127.0.0.1/", 33, true, false},
                      WebCase{"opened_high", "http://127.0.0.1/", 42, true, false},
                      WebCase{"not_found", "http://127.0.0.1/", 2, true, true},
                      WebCase{"no_association", "http://127.0.0.1/", 31, true, true},
                      WebCase{"failure_32", "http://127.0.0.1/", 32, true, true},
                      WebCase{"out_of_memory", "http://127.0.0.1/", 0, true, true},
                      WebCase{"empty_site", "", 2, false, false},
                      WebCase{"blank_site", " \t", 2, false, false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(DialogWebTest, LongAddressIsHandedOverWhole) {
  DialogRig rig;
  const std::string site = "http://127.0.0.1/" + std::string(400, 'a');
  rig.profile.Set("Link", "Site", site);
  TForm2& form = rig.Create();
  EXPECT_EQ(form.SiteAddress(), site);
  form.CmdwebsiteClick();
  EXPECT_EQ(Matching(rig.log, "ShellOpen"), (Log{"ShellOpen(" + site + ")"}));
}

struct TitleCase {
  const char* path;
  const char* title;
};

class ApplicationTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleTest, DropsDirectoryAndLastExtension) {
  EXPECT_EQ(ApplicationTitle(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(Paths, ApplicationTitleTest,
                         ::testing::Values(TitleCase{"C:\\WINDOWS\\reelshow.scr", "reelshow"},
                                           TitleCase{"C:\\a.b\\Holiday.Clips.scr", "Holiday.Clips"},
                                           TitleCase{"saver", "saver"}, TitleCase{"D:x.scr", "x"}));

TEST(DialogLayoutTest, EveryParentComesBeforeItsChildrenAndNamesAreUnique) {
  std::set<std::string> seen;
  for (const layout::Control& c : layout::kDialogControls) {
    EXPECT_TRUE(std::string(c.parent).empty() || seen.contains(c.parent)) << c.name;
    EXPECT_TRUE(seen.insert(c.name).second) << c.name;
  }
  for (const char* name : {"radpicl", "radpicm", "radpics", "Raddefault", "Radpicc", "RadioButton1",
                           "RadioButton2", "radsndon", "radsndof", "radrepon", "radrepoff", "radcol1",
                           "radcol2", "radcol3", "Radcol4", "ScrollBar1", "ScrollBar2", "Lblwidth",
                           "Lblheight", "Cmdwebsite", "CmdClose"}) {
    EXPECT_TRUE(seen.contains(name)) << name;
  }
}

}  // namespace
}  // namespace reelshow
