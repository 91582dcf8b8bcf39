#include "settings_dialog.h"

#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "dispatch.h"
#include "message_loop.h"
#include "picture_button.h"
#include "usave2.h"
#include "win32_controls.h"
#include "window_fonts.h"
#include "window_geometry.h"

namespace reelshow {

namespace {

constexpr std::size_t kControlCount = std::size(layout::kDialogControls);
constexpr int kFirstControlId = 100;
// Not WS_CLIPCHILDREN: the dialog paints its colour beneath the group boxes,
// which draw only their frames.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;

// The controls' windows, in the order of the layout table.
using ControlWindows = std::array<HWND, kControlCount>;

std::size_t IndexOf(std::string_view name) {
  for (std::size_t i = 0; i < kControlCount; ++i) {
    if (name == layout::kDialogControls[i].name) return i;
  }
  return kControlCount;
}

HWND WindowOf(const ControlWindows& windows, std::string_view name) {
  const std::size_t i = IndexOf(name);
  return i < kControlCount ? windows[i] : nullptr;
}

int IdOf(std::size_t index) {
  return layout::kDialogControls[index].kind == layout::Kind::OkButton ? IDOK
                                                                        : kFirstControlId + static_cast<int>(index);
}

// The first radio button of each group box starts a group, so that a click
// unchecks only its own group's buttons, and every other kind of control
// ends the group before it.
bool StartsGroup(std::size_t index) {
  const layout::Control& c = layout::kDialogControls[index];
  if (c.kind != layout::Kind::RadioButton) return true;
  if (index == 0) return true;
  const layout::Control& before = layout::kDialogControls[index - 1];
  return before.kind != layout::Kind::RadioButton || std::string_view(before.parent) != c.parent;
}

struct WindowKind {
  const char* className;
  DWORD style;
};

WindowKind KindOf(const layout::Control& c) {
  switch (c.kind) {
    case layout::Kind::GroupBox: return {"BUTTON", BS_GROUPBOX};
    case layout::Kind::RadioButton: return {"BUTTON", BS_AUTORADIOBUTTON};
    case layout::Kind::Label: return {"STATIC", SS_LEFT | SS_NOPREFIX};
    case layout::Kind::ScrollBar: return {"SCROLLBAR", SBS_HORZ | WS_TABSTOP};
    case layout::Kind::PictureButton: return {"BUTTON", BS_OWNERDRAW | WS_TABSTOP};
    case layout::Kind::OkButton: return {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP};
  }
  return {"STATIC", 0};
}

struct Dialog {
  HWND window = nullptr;
  ControlWindows controls{};
  HBRUSH brush = nullptr;
  COLORREF color = 0;
  HBITMAP glyphs = nullptr;
  HFONT font = nullptr;
  TForm2* form = nullptr;
};
Dialog g_dialog;

std::optional<ScrollRequest> RequestOf(WORD code) {
  switch (code) {
    case SB_LINELEFT: return ScrollRequest::LineLess;
    case SB_LINERIGHT: return ScrollRequest::LineMore;
    case SB_PAGELEFT: return ScrollRequest::PageLess;
    case SB_PAGERIGHT: return ScrollRequest::PageMore;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return ScrollRequest::Thumb;
    case SB_LEFT: return ScrollRequest::ToMin;
    case SB_RIGHT: return ScrollRequest::ToMax;
    case SB_ENDSCROLL: return ScrollRequest::EndScroll;
    default: return std::nullopt;
  }
}

void OnScroll(WPARAM wParam, HWND bar) {
  TForm2* form = g_dialog.form;
  const auto request = RequestOf(LOWORD(wParam));
  if (!form || !request) return;
  const std::int32_t thumb = HIWORD(wParam);
  if (bar == WindowOf(g_dialog.controls, "ScrollBar1")) {
    const ScrollBar& s = form->ScrollBar1;
    form->ScrollBar1Scroll(ScrollPositionAfter(*request, s.Position(), thumb, s.Min(), s.Max()));
  } else if (bar == WindowOf(g_dialog.controls, "ScrollBar2")) {
    const ScrollBar& s = form->ScrollBar2;
    form->ScrollBar2Scroll(ScrollPositionAfter(*request, s.Position(), thumb, s.Min(), s.Max()));
  }
}

void OnCommand(WPARAM wParam) {
  TForm2* form = g_dialog.form;
  if (!form || HIWORD(wParam) != BN_CLICKED) return;
  if (LOWORD(wParam) == IDOK) {
    form->cmdcloseClick();
  } else if (LOWORD(wParam) == IdOf(IndexOf("Cmdwebsite"))) {
    form->CmdwebsiteClick();
  }
}

LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(wParam);
      return 0;
    case WM_HSCROLL:
      OnScroll(wParam, reinterpret_cast<HWND>(lParam));
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, g_dialog.color);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(g_dialog.brush);
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType == ODT_BUTTON) DrawPictureButton(*item, g_dialog.glyphs, g_dialog.font);
      return TRUE;
    }
    case WM_CLOSE:
      if (g_dialog.form) g_dialog.form->FormCloseRequest();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

bool CreateDialogWindow(HINSTANCE instance, Win32System& system) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = DialogProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.hbrBackground = g_dialog.brush;
  cls.lpszClassName = layout::kDialogClass;
  if (!RegisterClassA(&cls)) return false;

  RECT frame{0, 0, layout::kDialogClientWidth, layout::kDialogClientHeight};
  AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const platform::ScreenSize screen = system.Screen();
  // No title text, no title-bar buttons (no system menu).
  g_dialog.window = CreateWindowExA(kDialogExStyle, layout::kDialogClass, "", kDialogStyle,
                                    CentredStart(screen.width, width), CentredStart(screen.height, height),
                                    width, height, nullptr, nullptr, instance, nullptr);
  return g_dialog.window != nullptr;
}

bool CreateControls(HINSTANCE instance) {
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const layout::Control& c = layout::kDialogControls[i];
    const WindowKind kind = KindOf(c);
    const platform::Bounds b = DialogClientBounds(c);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style | (c.visible ? WS_VISIBLE : 0);
    if (StartsGroup(i)) style |= WS_GROUP;
    if (c.kind == layout::Kind::RadioButton && StartsGroup(i)) style |= WS_TABSTOP;
    HWND hwnd = CreateWindowExA(0, kind.className, c.caption, style, b.left, b.top, b.width, b.height,
                                g_dialog.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(i))),
                                instance, nullptr);
    if (!hwnd) return false;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(g_dialog.font), FALSE);
    g_dialog.controls[i] = hwnd;
  }
  // A group box is only a frame: below every other control, so that it
  // never covers the ones inside it, and an outer one below the one inside
  // it (parents come first in the table, so the last one sent to the bottom
  // is the outermost). The others keep their creation order, the tab order.
  for (std::size_t i = kControlCount; i-- > 0;) {
    if (layout::kDialogControls[i].kind == layout::Kind::GroupBox) {
      SetWindowPos(g_dialog.controls[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  return true;
}

// The behaviour's view of the controls, over their windows.
struct DialogPlatform {
  explicit DialogPlatform(const ControlWindows& w)
      : radpicl(WindowOf(w, "radpicl")), radpicm(WindowOf(w, "radpicm")), radpics(WindowOf(w, "radpics")),
        Raddefault(WindowOf(w, "Raddefault")), Radpicc(WindowOf(w, "Radpicc")),
        RadioButton1(WindowOf(w, "RadioButton1")), RadioButton2(WindowOf(w, "RadioButton2")),
        radsndon(WindowOf(w, "radsndon")), radsndof(WindowOf(w, "radsndof")),
        radrepon(WindowOf(w, "radrepon")), radrepoff(WindowOf(w, "radrepoff")),
        radcol1(WindowOf(w, "radcol1")), radcol2(WindowOf(w, "radcol2")), radcol3(WindowOf(w, "radcol3")),
        Radcol4(WindowOf(w, "Radcol4")), ScrollBar1(WindowOf(w, "ScrollBar1")),
        ScrollBar2(WindowOf(w, "ScrollBar2")), Lblwidth(WindowOf(w, "Lblwidth"), true),
        Lblheight(WindowOf(w, "Lblheight"), true), Cmdwebsite(WindowOf(w, "Cmdwebsite")) {}

  DialogControls Controls() {
    return {radpicl,  radpicm,  radpics,   Raddefault, Radpicc,  RadioButton1, RadioButton2,
            radsndon, radsndof, radrepon,  radrepoff,  radcol1,  radcol2,      radcol3,
            Radcol4,  ScrollBar1, ScrollBar2, Lblwidth, Lblheight, Cmdwebsite};
  }

  Win32RadioButton radpicl, radpicm, radpics, Raddefault, Radpicc, RadioButton1, RadioButton2;
  Win32RadioButton radsndon, radsndof, radrepon, radrepoff, radcol1, radcol2, radcol3, Radcol4;
  Win32ScrollBar ScrollBar1, ScrollBar2;
  Win32Label Lblwidth, Lblheight;
  Win32Button Cmdwebsite;
};

// The labels that size themselves do so in the dialog's font.
void FitLabels(const ControlWindows& windows) {
  for (std::size_t i = 0; i < kControlCount; ++i) {
    if (layout::kDialogControls[i].autoSize) Win32Label(windows[i], true).FitToText();
  }
}

void Release() {
  if (g_dialog.window && IsWindow(g_dialog.window)) DestroyWindow(g_dialog.window);
  if (g_dialog.glyphs) DeleteObject(g_dialog.glyphs);
  if (g_dialog.brush) DeleteObject(g_dialog.brush);
  g_dialog = {};
}

}  // namespace

int RunSettingsDialog(HINSTANCE instance, Win32System& system, ProfileStore& profile) {
  const WindowFont font(layout::kDialogFont);
  g_dialog.color = ColorRefOf(layout::kDialogColor);
  g_dialog.brush = CreateSolidBrush(g_dialog.color);
  g_dialog.font = font.Handle();
  g_dialog.glyphs = LoadPictureButtonGlyphs(instance);
  if (!CreateDialogWindow(instance, system) || !CreateControls(instance)) {
    Release();
    return kExitStatus;
  }
  FitLabels(g_dialog.controls);
  system.SetMainWindow(g_dialog.window);
  {
    DialogPlatform controls(g_dialog.controls);
    TForm2 form(controls.Controls(), system, profile);
    g_dialog.form = &form;
    form.FormCreate();
    if (IsWindow(g_dialog.window)) {
      ShowWindow(g_dialog.window, SW_SHOWNORMAL);
      SetForegroundWindow(g_dialog.window);
      SetFocus(GetNextDlgTabItem(g_dialog.window, nullptr, FALSE));
      RunMessageLoop(g_dialog.window, WindowOf(g_dialog.controls, "Cmdwebsite"));
    }
    g_dialog.form = nullptr;
  }
  Release();
  return kExitStatus;
}

}  // namespace reelshow
