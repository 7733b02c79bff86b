// What the tests of the two toggle switches share: a switch that keeps a copy of its last
// painting, and a scene with one switch on a white panel that sends it pointer and key
// messages.
#pragma once

#include <cstdint>

#include "lib/kaControls/kaActiveControl.h"
#include "tests/support/TestControls.h"

// A control of the library that keeps a copy of its last painting.
template <class TControlClass>
class TSnapshotControl : public TControlClass {
 public:
  using TControlClass::TControlClass;
  TBitmap Snapshot;

  // A pixel of the last painting.
  TColor At(int X, int Y) {
    const auto* row = static_cast<const uint8_t*>(Snapshot.ScanLine(Y));
    return RGBColor(row[X * 4 + 2], row[X * 4 + 1], row[X * 4]);
  }

 protected:
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override {
    TControlClass::DrawControl(ACanvas, ACtrlState);
    const int w = this->Width(), h = this->Height();
    Snapshot.SetPixelFormat(pf32bit);
    Snapshot.SetSize(w, h);
    ::BitBlt(Snapshot.Canvas()->Handle(), 0, 0, w, h, ACanvas->Handle(), 0, 0, SRCCOPY);
  }
};

constexpr TColor kSwitchSceneBackground = clWhite;

// A default switch (80 x 35: track (2, 7, 42, 27)) at (10, 10) of a white panel that fills a
// borderless form, with the pointer away from it.
template <class TSwitch>
struct TSwitchScene {
  TCustomForm* Form;
  TTestPanel* Panel;
  TSwitch* Switch;

  TSwitchScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(300, 300, 300, 100);
    Panel = new TTestPanel(Form);
    Panel->FillColor = kSwitchSceneBackground;
    Panel->SetAlign(alClient);
    Panel->SetParent(Form);
    Switch = new TSwitch(Form);
    Switch->SetLeft(10);
    Switch->SetTop(10);
    Switch->SetParent(Panel);
    ::SetCursorPos(0, 0);
    Form->Show();
    PumpPending();
    // A move left over from an earlier window at the same place may have entered the switch;
    // the leave poll sees the cursor is elsewhere.
    PumpUntil([this] { return !Switch->MouseIn(); }, 1000);
  }
  ~TSwitchScene() { Form->Free(); }
  TSwitchScene(const TSwitchScene&) = delete;
  TSwitchScene& operator=(const TSwitchScene&) = delete;

  void Send(UINT Msg, int X, int Y, WPARAM Keys = 0) {
    ::SendMessageW(Switch->Handle(), Msg, Keys, MAKELPARAM(static_cast<WORD>(X), static_cast<WORD>(Y)));
  }
  void Press(int X, int Y) { Send(WM_LBUTTONDOWN, X, Y, MK_LBUTTON); }
  void Drag(int X, int Y) { Send(WM_MOUSEMOVE, X, Y, MK_LBUTTON); }
  void Release(int X, int Y) { Send(WM_LBUTTONUP, X, Y); }
  void Click(int X, int Y) {
    Press(X, Y);
    Release(X, Y);
  }
  void Key(WPARAM Key) {
    ::SendMessageW(Switch->Handle(), WM_KEYDOWN, Key, 0);
    ::SendMessageW(Switch->Handle(), WM_KEYUP, Key, 0);
  }
  // The pointer over the switch, as the system would report it.
  void Hover(int X, int Y) {
    const TPoint p = Switch->ClientToScreen(TPoint(X, Y));
    ::SetCursorPos(p.X, p.Y);
    Send(WM_MOUSEMOVE, X, Y);
  }
  void Repaint() {
    Switch->Invalidate();
    Switch->Update();
  }
};
