// Captures of the demo's main window in named states.
//
// The window is the program's own: a TForm1 read from its layout, reachable through the
// global Form1 while it lives, shown, put into the state, painted and then copied from the
// screen, so a picture shows exactly the pixels a user would see. Each capture makes and
// frees its own window. The side menu's icons are held still while a capture runs (their
// clock stands), so every picture of a state is the same.
#pragma once

#include <functional>
#include <memory>

#include "framework/Graphics.h"

class TWinControl;
class TCustomForm;

enum class TDemoShotState {
  // Active, restored, the pointer resting over the page area where nothing reacts to it.
  Normal,
  // As Normal, with the pointer over the close button, which shows its hot face.
  CloseHot,
  // Maximised through the maximise button: restore glyph, no size grip, the work area covered.
  Maximized,
  // Restored, with another top-level window of the process active.
  Inactive,
  // As Normal, with the pointer over the side menu's "Data" button, which shows its hot face.
  PageHot,
  // "Reports" clicked: it is down, the header reads "Reports", its empty page shows.
  PageSelected,
  // The menu button pressed: its popup menu hangs under it.
  MenuOpen,
  // "About" clicked: the about page with the library's name and the link to its site.
  About,
  // As Normal on Windows 11 (a stand-in compositor reports build 22000): the start-up
  // handler has switched "Windows11 UI" on, so the side menu shows the rounded look.
  SettingsWindows11,
  // "Show second form" clicked: the picture is the second window, open modally.
  SecondForm,
  // "Show UWP Message" clicked: the picture is the message window, open modally.
  Message,
};

inline constexpr TDemoShotState DemoShotStates[] = {
    TDemoShotState::Normal,  TDemoShotState::CloseHot,     TDemoShotState::Maximized, TDemoShotState::Inactive,
    TDemoShotState::PageHot, TDemoShotState::PageSelected, TDemoShotState::MenuOpen,  TDemoShotState::About,
    TDemoShotState::SettingsWindows11, TDemoShotState::SecondForm, TDemoShotState::Message};

// "normal", "close-hot", "maximized", "inactive", "page-hot", "reports", "menu-open", "about",
// "settings-win11", "second-form", "message".
String DemoShotStateName(TDemoShotState State);
// "demo-<state>-<dpi>.png".
String DemoShotFileName(TDemoShotState State, int Dpi);

// The main window in State on a monitor of Dpi pixels per inch (96: as laid out), as an
// opaque pf32bit bitmap of the window's screen rectangle (for SecondForm and Message, of the
// modal window's rectangle instead). Fails with an Exception when the
// window cannot be brought into the state (for instance when it never becomes active).
std::unique_ptr<TBitmap> CaptureDemoMainWindow(TDemoShotState State, int Dpi);

// What the screen shows in R (screen coordinates), as an opaque pf32bit bitmap.
std::unique_ptr<TBitmap> CaptureScreenRect(const TRect& R);

// Presses the left button on Button's middle, as the pointer would, to drop down its popup
// menu, and calls Action with the menu's window once the menu has shown for a moment. The
// menu loop is modal: this returns when the menu has closed. Action answers whether it
// closed the menu itself (by choosing an item, say); if not, the menu is dismissed. False
// when no menu showed within a few seconds.
bool WithDropDownMenuOpen(TWinControl* Button, const std::function<bool(HWND Menu)>& Action);

// Clicks Button, which opens a modal window, and calls Action with that window from within
// its modal loop once it is on screen; a window Action leaves open is then closed, so this
// returns when the modal loop has ended. False when no modal window showed within a few
// seconds.
bool WithModalWindowOpen(TWinControl* Button, const std::function<void(TCustomForm* Modal)>& Action);
