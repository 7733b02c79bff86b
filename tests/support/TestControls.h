// Small controls and helpers the framework tests build trees from.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "tests/support/Handles.h"

#include <ostream>

inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Width() << " x " << r.Height() << ")";
}

// A windowed container that paints itself in one colour.
class TTestPanel : public TCustomControl {
  KA_CLASS(TTestPanel, TCustomControl)
 public:
  explicit TTestPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle += TControlStyle{csAcceptsControls};
  }
  TColor FillColor = clBtnFace;
  int PaintCount = 0;

 protected:
  void Paint() override {
    ++PaintCount;
    Canvas()->Brush()->SetColor(FillColor);
    Canvas()->FillRect(ClientRect());
  }
};

// A graphic control that paints one colour and can let clicks through.
class TTestGraphic : public TGraphicControl {
  KA_CLASS(TTestGraphic, TGraphicControl)
 public:
  explicit TTestGraphic(TComponent* AOwner) : TGraphicControl(AOwner) {}
  TColor FillColor = clRed;
  bool HitTestTransparent = false;
  int PaintCount = 0;

 protected:
  void Paint() override {
    ++PaintCount;
    Canvas()->Brush()->SetColor(FillColor);
    Canvas()->FillRect(ClientRect());
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_HITTEST && HitTestTransparent) {
      Message.Result = 0;
      return;
    }
    inherited::Dispatch(Message);
  }
};

// Runs the message loop until Done() or the deadline (milliseconds) passes.
inline bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs = 5000) {
  DWORD start = ::GetTickCount();
  while (!Done()) {
    MSG msg;
    while (Application->ProcessMessage(msg)) {
      if (Done()) return true;
    }
    if (::GetTickCount() - start > TimeoutMs) return Done();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

inline void PumpPending() {
  MSG msg;
  while (Application->ProcessMessage(msg)) {
  }
}

