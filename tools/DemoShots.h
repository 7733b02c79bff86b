// Captures of the demo's main window in named states.
//
// The window is the program's own: a TForm1 read from its layout, reachable through the
// global Form1 while it lives, shown, put into the state, painted and then copied from the
// screen, so a picture shows exactly the pixels a user would see. Each capture makes and
// frees its own window.
#pragma once

#include <memory>

#include "framework/Graphics.h"

enum class TDemoShotState {
  // Active, restored, the pointer resting over the client area where nothing reacts to it.
  Normal,
  // As Normal, with the pointer over the close button, which shows its hot face.
  CloseHot,
  // Maximised through the maximise button: restore glyph, no size grip, the work area covered.
  Maximized,
  // Restored, with another top-level window of the process active.
  Inactive,
};

inline constexpr TDemoShotState DemoShotStates[] = {TDemoShotState::Normal, TDemoShotState::CloseHot,
                                                    TDemoShotState::Maximized, TDemoShotState::Inactive};

// "normal", "close-hot", "maximized", "inactive".
String DemoShotStateName(TDemoShotState State);
// "demo-<state>-<dpi>.png".
String DemoShotFileName(TDemoShotState State, int Dpi);

// The main window in State on a monitor of Dpi pixels per inch (96: as laid out), as an
// opaque pf32bit bitmap of the window's screen rectangle. Fails with an Exception when the
// window cannot be brought into the state (for instance when it never becomes active).
std::unique_ptr<TBitmap> CaptureDemoMainWindow(TDemoShotState State, int Dpi);
