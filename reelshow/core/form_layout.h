#pragma once
// The look of the saver window and the settings dialog as data: the Win32
// layer builds the windows from these tables, so nothing of them is typed
// twice.
#include <cstdint>

#include "platform/controls.h"

namespace reelshow::layout {

struct Font {
  const char* face;
  std::int32_t height;  // character height in pixels
  bool bold;
};

inline constexpr Font kFont11{"MS Sans Serif", 11, true};
inline constexpr Font kFont16{"MS Sans Serif", 16, true};

// The saver window: borderless, topmost, maximised over the primary screen.
inline constexpr const char* kSaverClass = "TForm1";
inline constexpr const char* kSaverTitle = "Divezerar33";
inline constexpr std::int32_t kTimerIntervalMs = 200;
inline constexpr platform::Rgb kBlack{0, 0, 0};
inline constexpr platform::Rgb kWhite{255, 255, 255};
// lblinfo: fixed size, words wrapped, window-text colour, hidden at first.
inline constexpr platform::Bounds kLblinfoBounds{68, 87, 469, 106};
inline constexpr Font kLblinfoFont = kFont16;
// Panel1: black, no bevel; placed by the saver's layout.

// The settings dialog: fixed frame, no title text, no title-bar buttons,
// centred on the screen.
inline constexpr const char* kDialogClass = "TForm2";
inline constexpr std::int32_t kDialogClientWidth = 479;
inline constexpr std::int32_t kDialogClientHeight = 228;
inline constexpr platform::Rgb kDialogColor{184, 187, 199};
inline constexpr Font kDialogFont = kFont11;

inline constexpr std::int32_t kScrollBarMin = 25;
inline constexpr std::int32_t kScrollBarInitialMax = 100;  // until the dialog sets the screen's size
inline constexpr std::int32_t kScrollBarInitial = 25;
inline constexpr std::int32_t kScrollBarStep = 1;

enum class Kind { GroupBox, RadioButton, Label, ScrollBar, PictureButton, OkButton };

struct Control {
  const char* name;
  Kind kind;
  const char* parent;   // "" for the dialog itself
  const char* caption;  // a label's text as designed; "" for none
  platform::Bounds bounds;
  bool autoSize;        // a label that sizes itself to its text (width and height 0)
  bool visible;
};

// Parents come before their children, in tab order. The picture button's
// caption comes from the settings file; it is hidden until then. The OK
// button is the default button (Enter presses it unless another button has
// the focus). Radio buttons of one group box exclude each other.
inline constexpr Control kDialogControls[] = {
    {"GroupBox6", Kind::GroupBox, "", "Video Displays", {6, 7, 253, 213}, false, true},
    {"radpicl", Kind::RadioButton, "GroupBox6", "Large (Full Screen)", {14, 15, 211, 17}, false, true},
    {"radpicm", Kind::RadioButton, "GroupBox6", "Medium", {14, 32, 113, 17}, false, true},
    {"radpics", Kind::RadioButton, "GroupBox6", "Small", {14, 48, 203, 17}, false, true},
    {"Raddefault", Kind::RadioButton, "GroupBox6", "Default Video Size (Clearest Image)", {14, 72, 197, 17}, false, true},
    {"Radpicc", Kind::RadioButton, "GroupBox6", "Customize Video Window Below", {14, 96, 227, 17}, false, true},
    {"Groupcust", Kind::GroupBox, "GroupBox6", "Customize Video Display", {10, 120, 231, 81}, false, true},
    {"Label2", Kind::Label, "Groupcust", "Video Width", {10, 16, 0, 0}, true, true},
    {"ScrollBar1", Kind::ScrollBar, "Groupcust", "", {10, 35, 74, 13}, false, true},
    {"Lblwidth", Kind::Label, "Groupcust", "Lblwidth", {10, 58, 0, 0}, true, true},
    {"Label1", Kind::Label, "Groupcust", "Video Height", {108, 16, 0, 0}, true, true},
    {"ScrollBar2", Kind::ScrollBar, "Groupcust", "", {108, 35, 74, 13}, false, true},
    {"Lblheight", Kind::Label, "Groupcust", "Lblheight", {106, 58, 0, 0}, true, true},
    {"GroupBox5", Kind::GroupBox, "", "Play Videos:", {265, 7, 208, 65}, false, true},
    {"RadioButton1", Kind::RadioButton, "GroupBox5", "Randomly", {13, 21, 113, 17}, false, true},
    {"RadioButton2", Kind::RadioButton, "GroupBox5", "In The Order Listed", {13, 41, 148, 17}, false, true},
    {"Cmdwebsite", Kind::PictureButton, "", "", {310, 164, 166, 24}, false, false},
    {"CmdClose", Kind::OkButton, "", "OK", {311, 196, 166, 24}, false, true},
    // Never shown: they carry "Sound", "Repeat" and "Color" from load to save.
    {"GroupBox4", Kind::GroupBox, "", "Wav or Midi Sound?", {0, 0, 0, 0}, false, false},
    {"radsndon", Kind::RadioButton, "GroupBox4", "Sound ON", {0, 0, 0, 0}, false, false},
    {"radsndof", Kind::RadioButton, "GroupBox4", "Sound OFF", {0, 0, 0, 0}, false, false},
    {"GroupBox3", Kind::GroupBox, "", "Repeat Sound (Midi or Wav)", {0, 0, 0, 0}, false, false},
    {"radrepon", Kind::RadioButton, "GroupBox3", "Repeat On", {0, 0, 0, 0}, false, false},
    {"radrepoff", Kind::RadioButton, "GroupBox3", "Repeat Off", {0, 0, 0, 0}, false, false},
    {"GroupBox1", Kind::GroupBox, "", "Background Colors ", {0, 0, 0, 0}, false, false},
    {"radcol1", Kind::RadioButton, "GroupBox1", "Black - Gray - Silver - White", {0, 0, 0, 0}, false, false},
    {"radcol2", Kind::RadioButton, "GroupBox1", "Navy - Black - Purple - Maroon", {0, 0, 0, 0}, false, false},
    {"radcol3", Kind::RadioButton, "GroupBox1", "Green - Aqua - Fuschia - Yellow", {0, 0, 0, 0}, false, false},
    {"Radcol4", Kind::RadioButton, "GroupBox1", "Black Background Only", {0, 0, 0, 0}, false, false},
};

}  // namespace reelshow::layout
