// The settings dialog.
#include "usave2.h"

#include <initializer_list>

#include "form_layout.h"
#include "ini_path.h"
#include "settings_file.h"

namespace reelshow {

namespace {

constexpr const char* kOptions = "Options";

// Blanks as the dialog trims them: every character up to and including the
// space.
bool IsBlank(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

// Checks chosen and unchecks the others of its group.
void Select(std::initializer_list<platform::RadioButton*> group, platform::RadioButton& chosen) {
  for (platform::RadioButton* button : group) {
    if (button != &chosen) button->SetChecked(false);
  }
  chosen.SetChecked(true);
}

// The size a label shows for a value read: the value within 25 and the
// screen's size.
std::int32_t ShownSize(std::int32_t value, std::int32_t screen) {
  if (value > screen) return screen;
  if (value < layout::kScrollBarMin) return layout::kScrollBarMin;
  return value;
}

}  // namespace

std::string NoWebViewerMessage(const std::string& address) {
  return "Your system does not have a default webpage viewer (for viewing the webpage). You can "
         "view this by opening your browser and typing " +
         address + " in the location box.";
}

std::string NotAnIntegerMessage(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

std::string ApplicationTitle(std::string_view programPath) {
  const auto slash = programPath.find_last_of("\\/:");
  std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

TForm2::TForm2(const DialogControls& c, platform::System& system, ProfileStore& profile)
    : radpicl(c.radpicl),
      radpicm(c.radpicm),
      radpics(c.radpics),
      Raddefault(c.Raddefault),
      Radpicc(c.Radpicc),
      RadioButton1(c.RadioButton1),
      RadioButton2(c.RadioButton2),
      radsndon(c.radsndon),
      radsndof(c.radsndof),
      radrepon(c.radrepon),
      radrepoff(c.radrepoff),
      radcol1(c.radcol1),
      radcol2(c.radcol2),
      radcol3(c.radcol3),
      Radcol4(c.Radcol4),
      ScrollBar1(c.ScrollBar1, layout::kScrollBarMin, layout::kScrollBarInitialMax, layout::kScrollBarInitial),
      ScrollBar2(c.ScrollBar2, layout::kScrollBarMin, layout::kScrollBarInitialMax, layout::kScrollBarInitial),
      Lblwidth(c.Lblwidth, "Lblwidth", true),
      Lblheight(c.Lblheight, "Lblheight", true),
      Cmdwebsite(c.Cmdwebsite, false),
      system_(system),
      profile_(profile) {}

void TForm2::FormCreate() {
  windowsDir_ = WindowsDirFrom(system_.WindowsDirectory());
  iniPath_ = IniPathFor(windowsDir_, system_.ProgramPath());
  const platform::ScreenSize screen = system_.Screen();
  ScrollBar1.SetMax(screen.width);
  ScrollBar2.SetMax(screen.height);
  if (system_.FileExists(iniPath_)) {
    LoadDialog();
  } else {
    system_.ShowMessage(kDialogIniMissingText, "Error", platform::MessageIcon::Error);
  }
}

void TForm2::LoadDialog() {
  const SettingsFile file(profile_, iniPath_);
  Select({&radsndon, &radsndof}, file.ReadBool(kOptions, "Sound", true) ? radsndon : radsndof);
  Select({&radrepon, &radrepoff}, file.ReadBool(kOptions, "Repeat", true) ? radrepon : radrepoff);

  const std::initializer_list<platform::RadioButton*> colours{&radcol1, &radcol2, &radcol3, &Radcol4};
  switch (file.ReadInteger(kOptions, "Color", -1)) {
    case 1: Select(colours, radcol1); break;
    case 2: Select(colours, radcol2); break;
    case 3: Select(colours, radcol3); break;
    default: Select(colours, Radcol4); break;
  }

  const std::initializer_list<platform::RadioButton*> sizes{&radpicl, &radpicm, &radpics, &Raddefault, &Radpicc};
  switch (file.ReadInteger(kOptions, "Picdis", -1)) {
    case 5: Select(sizes, Raddefault); break;
    case 4: Select(sizes, Radpicc); break;
    case 3: Select(sizes, radpics); break;
    case 2: Select(sizes, radpicm); break;
    default: Select(sizes, radpicl); break;
  }

  Select({&RadioButton1, &RadioButton2},
         file.ReadInteger(kOptions, "Picord", -1) == 1 ? RadioButton1 : RadioButton2);

  const std::string button = file.ReadString("Link", "Button", "");
  siteAddress_ = file.ReadString("Link", "Site", "");
  if (!IsBlank(button)) {
    Cmdwebsite.SetCaption(button);
    Cmdwebsite.SetVisible(true);
  } else {
    Cmdwebsite.SetVisible(false);
  }

  const platform::ScreenSize screen = system_.Screen();
  const std::int32_t height = ShownSize(file.ReadInteger(kOptions, "Height", -1), screen.height);
  const std::int32_t width = ShownSize(file.ReadInteger(kOptions, "Width", -1), screen.width);
  Lblheight.SetText(std::to_string(height));
  Lblwidth.SetText(std::to_string(width));
  ScrollBar1.SetPosition(width);
  ScrollBar2.SetPosition(height);
}

void TForm2::ScrollBar1Scroll(std::int32_t position) {
  ScrollBar1.SetPosition(position);
  Lblwidth.SetText(std::to_string(ScrollBar1.Position()));
}

void TForm2::ScrollBar2Scroll(std::int32_t position) {
  ScrollBar2.SetPosition(position);
  Lblheight.SetText(std::to_string(ScrollBar2.Position()));
}

void TForm2::CmdwebsiteClick() {
  // A blank address would open whatever the system makes of nothing.
  if (IsBlank(siteAddress_)) return;
  if (system_.ShellOpen(siteAddress_) <= 32) {
    system_.ShowMessage(NoWebViewerMessage(siteAddress_), "Error", platform::MessageIcon::Error);
  }
}

void TForm2::cmdcloseClick() {
  if (Save()) system_.CloseMainWindow();
}

void TForm2::FormCloseRequest() { system_.CloseMainWindow(); }

bool TForm2::Save() {
  SettingsFile file(profile_, iniPath_);
  const auto unableToWrite = [&] {
    system_.ShowMessage(UnableToWriteMessage(iniPath_), ApplicationTitle(system_.ProgramPath()),
                        platform::MessageIcon::Error);
    return false;
  };
  // The sizes are converted from the labels' texts as each is written.
  const auto writeSize = [&](const char* key, const Label& label) {
    const auto value = ParseSettingsInteger(label.Text());
    if (!value) {
      system_.ShowMessage(NotAnIntegerMessage(label.Text()), "Error", platform::MessageIcon::Error);
      return false;
    }
    return file.WriteInteger(kOptions, key, *value) || unableToWrite();
  };

  const std::int32_t color = radcol1.Checked() ? 1 : radcol2.Checked() ? 2 : radcol3.Checked() ? 3 : 4;
  const std::int32_t picdis = Raddefault.Checked() ? 5
                              : Radpicc.Checked()  ? 4
                              : radpics.Checked()  ? 3
                              : radpicm.Checked()  ? 2
                                                   : 1;
  return (file.WriteBool(kOptions, "Sound", radsndon.Checked()) || unableToWrite()) &&
         (file.WriteBool(kOptions, "Repeat", radrepon.Checked()) || unableToWrite()) &&
         (file.WriteInteger(kOptions, "Color", color) || unableToWrite()) &&
         (file.WriteInteger(kOptions, "Picdis", picdis) || unableToWrite()) &&
         (file.WriteInteger(kOptions, "Picord", RadioButton1.Checked() ? 1 : 2) || unableToWrite()) &&
         writeSize("Height", Lblheight) && writeSize("Width", Lblwidth) &&
         (file.WriteBool(kOptions, "Status", false) || unableToWrite());
}

}  // namespace reelshow
