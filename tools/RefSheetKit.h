// What the reference sheets share: the ink of their labels, the borderless forms their
// windowed controls are put on, and copying a control's painting in a given state onto the
// sheet.
#pragma once

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"
#include "lib/kaControls/kaActiveControl.h"

inline const TColor kSheetInk = static_cast<TColor>(0x202020);

// Sheets of controls are drawn under the application's active style (ka_refsheets draws
// them once per style): the paper is the style's surface, the labels its text; under the
// system style white paper and kSheetInk.
inline TColor SheetPaper() {
  return TStyleManager::IsCustomStyleActive() ? TStyleManager::ActiveStyle()->ColorToRGB(clBtnFace) : clWhite;
}
inline TColor SheetInk() {
  return TStyleManager::IsCustomStyleActive() ? TStyleManager::ActiveStyle()->ColorToRGB(clBtnText) : kSheetInk;
}

// Text in the sheet's ink with its top-left corner at (X, Y), on no background.
inline void SheetLabel(TCanvas* C, int X, int Y, const String& Text) {
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetColor(SheetInk());
  C->TextOut(X, Y, Text);
}

// A borderless form of Color at Bounds, not shown yet, for a sheet's windowed controls (which
// paint through their windows). The caller frees it.
inline TCustomForm* NewSheetForm(const TRect& Bounds, TColor Color) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
  // White paper is the style's surface under a custom style, so that its light text shows.
  if (Color == clWhite && TStyleManager::IsCustomStyleActive()) Color = clBtnFace;
  form->SetColor(Color);
  return form;
}

// A control of the library whose painting in any state can be copied onto a sheet.
template <class TControlClass>
class TSheetPainted : public TControlClass {
 public:
  using TControlClass::TControlClass;
  // The control drawn in State over its captured background, at (X, Y) of C.
  void PaintState(TCanvas* C, int X, int Y, TkasCtrlState State) {
    const int w = this->Width(), h = this->Height();
    TBitmap shot(w, h);
    this->PaintStateToDC(shot.Canvas()->Handle(), State, false);
    ::BitBlt(C->Handle(), X, Y, w, h, shot.Canvas()->Handle(), 0, 0, SRCCOPY);
  }
};
