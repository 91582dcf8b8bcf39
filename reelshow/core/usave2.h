#pragma once
// The settings dialog.
//
// The Win32 layer only translates: it creates the dialog from the layout
// data, builds a TForm2 over its controls and calls FormCreate, then shows
// the dialog; a scroll of ScrollBar1 or ScrollBar2 becomes ScrollBar1Scroll
// or ScrollBar2Scroll with the new position (ScrollPositionAfter gives it),
// a press of Cmdwebsite CmdwebsiteClick, a press of OK (or Enter)
// cmdcloseClick, and the window's close request (Alt+F4) FormCloseRequest.
// The dialog ends only through System::CloseMainWindow.
#include <cstdint>
#include <string>
#include <string_view>

#include "controls.h"
#include "platform/controls.h"
#include "platform/system.h"
#include "profile_store.h"

namespace reelshow {

inline constexpr const char* kDialogIniMissingText =
    "E45 - An error has occured, the ini file is missing. Please reinstall the screensaver.";

// The message when the system has no program for the web address.
std::string NoWebViewerMessage(const std::string& address);
// "'%s' is not a valid integer value" with text in place of %s.
std::string NotAnIntegerMessage(const std::string& text);
// The program's name as its windows show it: the file name without its
// directory and without its last extension.
std::string ApplicationTitle(std::string_view programPath);

struct DialogControls {
  platform::RadioButton& radpicl;
  platform::RadioButton& radpicm;
  platform::RadioButton& radpics;
  platform::RadioButton& Raddefault;
  platform::RadioButton& Radpicc;
  platform::RadioButton& RadioButton1;
  platform::RadioButton& RadioButton2;
  platform::RadioButton& radsndon;
  platform::RadioButton& radsndof;
  platform::RadioButton& radrepon;
  platform::RadioButton& radrepoff;
  platform::RadioButton& radcol1;
  platform::RadioButton& radcol2;
  platform::RadioButton& radcol3;
  platform::RadioButton& Radcol4;
  platform::ScrollBar& ScrollBar1;
  platform::ScrollBar& ScrollBar2;
  platform::Label& Lblwidth;
  platform::Label& Lblheight;
  platform::Button& Cmdwebsite;
};

class TForm2 {
public:
  TForm2(const DialogControls& controls, platform::System& system, ProfileStore& profile);
  TForm2(const TForm2&) = delete;
  TForm2& operator=(const TForm2&) = delete;

  // Handlers.
  void FormCreate();
  void ScrollBar1Scroll(std::int32_t position);
  void ScrollBar2Scroll(std::int32_t position);
  void CmdwebsiteClick();
  void cmdcloseClick();
  // Ends the dialog without saving: the way out when saving keeps failing.
  void FormCloseRequest();

  void LoadDialog();

  const std::string& WindowsDir() const { return windowsDir_; }
  const std::string& IniPath() const { return iniPath_; }
  const std::string& SiteAddress() const { return siteAddress_; }

  platform::RadioButton& radpicl;
  platform::RadioButton& radpicm;
  platform::RadioButton& radpics;
  platform::RadioButton& Raddefault;
  platform::RadioButton& Radpicc;
  platform::RadioButton& RadioButton1;
  platform::RadioButton& RadioButton2;
  platform::RadioButton& radsndon;
  platform::RadioButton& radsndof;
  platform::RadioButton& radrepon;
  platform::RadioButton& radrepoff;
  platform::RadioButton& radcol1;
  platform::RadioButton& radcol2;
  platform::RadioButton& radcol3;
  platform::RadioButton& Radcol4;
  ScrollBar ScrollBar1;
  ScrollBar ScrollBar2;
  Label Lblwidth;
  Label Lblheight;
  Button Cmdwebsite;

private:
  // False (after the message) when the save stopped.
  bool Save();

  platform::System& system_;
  ProfileStore& profile_;
  std::string windowsDir_;
  std::string iniPath_;
  std::string siteAddress_;
};

}  // namespace reelshow
