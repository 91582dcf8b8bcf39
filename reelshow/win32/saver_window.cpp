#include "saver_window.h"

#include "dispatch.h"
#include "form_layout.h"
#include "input_messages.h"
#include "mci_player.h"
#include "message_loop.h"
#include "usave1.h"
#include "usave2.h"
#include "win32_controls.h"
#include "window_fonts.h"

namespace reelshow {

namespace {

constexpr const char* kApplicationClass = "TApplication";
constexpr const char* kPanelClass = "TPanel";
constexpr UINT_PTR kTimer1 = 1;

// The one saver of this run, for the window procedure and the message hook
// (which have no other way to reach it). Set while the form lives.
struct SaverRun {
  TForm1* form = nullptr;
  Win32Background* background = nullptr;
};
SaverRun g_run;

bool IsSwallowedSysCommand(WPARAM command) {
  const WPARAM c = command & 0xFFF0;
  return c == SC_CLOSE || c == SC_SCREENSAVE || c == SC_TASKLIST;
}

LRESULT CALLBACK SaverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == kTimer1 && g_run.form) g_run.form->Timer1Timer();
      return 0;
    case WM_ERASEBKGND:
      if (g_run.background) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, g_run.background->Brush());
      }
      return 1;
    case WM_CTLCOLORSTATIC:
      if (g_run.background) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, g_run.background->Color());
        return reinterpret_cast<LRESULT>(g_run.background->Brush());
      }
      break;
    case WM_SYSCOMMAND:
      if (IsSwallowedSysCommand(wParam)) return 0;
      break;
    case WM_CLOSE:
      // Every close that we make ourselves destroys the window directly, so
      // this one comes from outside (a task manager's "End task"): it is
      // input that ends the saver, password check and all. The window stays
      // unless that path ends the saver.
      if (g_run.form) g_run.form->deactivate(kKeyDown);
      return 0;
    case WM_ENDSESSION:
      if (wParam && g_run.form) g_run.form->FormClose();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Every message that any message loop of this thread takes from the queue,
// nested modal loops included, goes to the input watch before it is
// dispatched. Nothing is marked handled.
LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION && removal == PM_REMOVE && g_run.form) {
    g_run.form->deactivate(reinterpret_cast<const MSG*>(lParam)->message);
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSA app{};
  app.lpfnWndProc = DefWindowProcA;
  app.hInstance = instance;
  app.lpszClassName = kApplicationClass;

  // No close item: the saver ends only through its input watch.
  WNDCLASSA saver{};
  saver.style = CS_NOCLOSE;
  saver.lpfnWndProc = SaverProc;
  saver.hInstance = instance;
  saver.hCursor = LoadCursor(nullptr, IDC_ARROW);
  saver.lpszClassName = layout::kSaverClass;

  WNDCLASSA panel{};
  panel.lpfnWndProc = PanelProc;
  panel.hInstance = instance;
  panel.hCursor = LoadCursor(nullptr, IDC_ARROW);
  panel.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  panel.lpszClassName = kPanelClass;

  return RegisterClassA(&app) && RegisterClassA(&saver) && RegisterClassA(&panel);
}

struct SaverWindows {
  HWND application = nullptr;
  HWND saver = nullptr;
  HWND panel = nullptr;
  HWND lblinfo = nullptr;
};

// Created hidden, so that a later start finds the saver (class and title)
// while its set-up still runs, and nothing shows before the set-up is done.
bool CreateWindows(HINSTANCE instance, Win32System& system, const WindowFont& infoFont, SaverWindows& w) {
  const std::string title = ApplicationTitle(system.ProgramPath());
  w.application = CreateWindowExA(0, kApplicationClass, title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
  if (!w.application) return false;
  ShowWindow(w.application, SW_HIDE);

  const platform::ScreenSize screen = system.Screen();
  // Owned by the hidden application window: no taskbar entry of its own.
  w.saver = CreateWindowExA(WS_EX_TOPMOST, layout::kSaverClass, layout::kSaverTitle,
                            WS_POPUP | WS_CLIPCHILDREN, 0, 0, screen.width, screen.height,
                            w.application, nullptr, instance, nullptr);
  if (!w.saver) return false;
  w.panel = CreateWindowExA(0, kPanelClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                            w.saver, nullptr, instance, nullptr);
  const platform::Bounds& info = layout::kLblinfoBounds;
  w.lblinfo = CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS,
                              info.left, info.top, info.width, info.height, w.saver, nullptr,
                              instance, nullptr);
  if (!w.panel || !w.lblinfo) return false;
  SendMessageA(w.lblinfo, WM_SETFONT, reinterpret_cast<WPARAM>(infoFont.Handle()), FALSE);
  return true;
}

void ShowOnTop(HWND saver) {
  SetWindowPos(saver, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(saver);
  SetFocus(saver);
}

}  // namespace

int RunSaver(HINSTANCE instance, Win32System& system, ProfileStore& profile) {
  const WindowFont infoFont(layout::kLblinfoFont);
  SaverWindows w;
  if (!RegisterClasses(instance) || !CreateWindows(instance, system, infoFont, w)) {
    if (w.application) DestroyWindow(w.application);
    return kExitStatus;
  }
  system.SetMainWindow(w.saver);

  Win32Background background(layout::kBlack);
  background.Attach(w.saver, w.lblinfo);
  Win32Panel panel(w.panel);
  Win32Label lblinfo(w.lblinfo, false);
  Win32Timer timer(w.saver, kTimer1, layout::kTimerIntervalMs);
  MciPlayer sound(nullptr);
  MciPlayer video(w.panel);
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
  {
    TForm1 form({background, panel, lblinfo, sound, video, timer}, system, profile);
    g_run = {&form, &background};
    form.FormCreate();
    // The window may have been closed while the set-up's message was up.
    if (!form.Ended() && IsWindow(w.saver)) ShowOnTop(w.saver);
    RunMessageLoop();
    g_run = {};
  }
  if (hook) UnhookWindowsHookEx(hook);
  if (IsWindow(w.saver)) DestroyWindow(w.saver);
  DestroyWindow(w.application);
  return kExitStatus;
}

}  // namespace reelshow
