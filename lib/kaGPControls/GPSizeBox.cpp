#include "lib/kaGPControls/GPSizeBox.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/TypeInfo.h"
#include "lib/kaGPUtils/GPGlyphs.h"
#include "lib/kaGPUtils/GPPrimitives.h"

using namespace Gdiplus;

TkaGPSizeBox::TkaGPSizeBox(TComponent* AOwner) : TkaCustomControl(AOwner) {
  FCursor = crSizeNWSE;
  FWidth = 25;
  FHeight = 25;
  FTransparentBackground = true;
}

void TkaGPSizeBox::SetGlyphColor(TColor Value) {
  if (FGlyphColor == Value) return;
  FGlyphColor = Value;
  RePaintControl();
}

void TkaGPSizeBox::SetGlyphColorAlpha(uint8_t Value) {
  if (FGlyphColorAlpha == Value) return;
  FGlyphColorAlpha = Value;
  RePaintControl();
}

void TkaGPSizeBox::SetGlyphThickness(uint8_t Value) {
  if (Value == 0 || FGlyphThickness == Value) return;
  FGlyphThickness = Value;
  RePaintControl();
}

void TkaGPSizeBox::SetResizeTargetControl(TWinControl* Value) {
  // The target may live on another form and die first: hear of it so a later drag does not
  // reach a freed control.
  ReplaceReference(FResizeTargetControl, Value);
}

void TkaGPSizeBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FResizeTargetControl) {
    FResizeTargetControl = nullptr;
    FDown = false;
  }
}

void TkaGPSizeBox::DrawControl(TCanvas* ACanvas, TkasCtrlState) {
  if (FGlyphColorAlpha == 0) return;
  const int w = Width(), h = Height();
  TRect r(0, 0, w, h);
  const int inset = std::min(w, h) / 5;
  r.Inflate(-inset, -inset);
  // Square on the shorter side, centred.
  if (w < h) {
    r.Top = r.Top + r.Height() / 2 - r.Width() / 2;
    r.Bottom = r.Top + r.Width();
  } else {
    r.Left = r.Left + r.Width() / 2 - r.Height() / 2;
    r.Right = r.Left + r.Height();
  }
  TGPRectF box = RectToGPRect(r);
  box.Width = box.Height;
  GPEnsureStarted();
  Graphics g(ACanvas->Handle());
  g.SetSmoothingMode(SmoothingModeHighQuality);
  GPDrawSizeGripGlyph(&g, box, ToGPColor(GetStyleSystemColor(FGlyphColor, this), FGlyphColorAlpha), ScaleFactor(),
                      FGlyphThickness);
}

void TkaGPSizeBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FResizeTargetControl == nullptr) SetResizeTargetControl(GetParentForm(this, true));
  if (FResizeTargetControl == nullptr) return;
  // A minimised or maximised form keeps its size.
  auto* form = dynamic_cast<TCustomForm*>(FResizeTargetControl);
  if (form != nullptr && form->WindowState() != wsNormal) return;
  POINT p{};
  ::GetCursorPos(&p);
  FDragPoint = TPoint(p.x, p.y);
  FDown = true;
}

void TkaGPSizeBox::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FDown || FResizeTargetControl == nullptr) return;
  POINT p{};
  ::GetCursorPos(&p);
  int dx = p.x - FDragPoint.X, dy = p.y - FDragPoint.Y;
  // Past the grip's left or top side the target does not grow again until the pointer is
  // back over the grip.
  if (X < 0 && dx > 0) dx = 0;
  if (Y < 0 && dy > 0) dy = 0;
  FDragPoint = TPoint(p.x, p.y);
  if (dx == 0 && dy == 0) return;
  TWinControl* t = FResizeTargetControl;
  t->SetBounds(t->Left(), t->Top(), t->Width() + dx, t->Height() + dy);
}

void TkaGPSizeBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  FDown = false;
}

using TBox = TkaGPSizeBox;
KA_REGISTER_CLASS(TkaGPSizeBox, [](auto& c) {
  c.Property(L"GlyphColor", &TBox::GlyphColor, &TBox::SetGlyphColor);
  c.Property(L"GlyphColorAlpha", &TBox::GlyphColorAlpha, &TBox::SetGlyphColorAlpha);
  c.Property(L"GlyphThickness", &TBox::GlyphThickness, &TBox::SetGlyphThickness);
  c.Property(L"ResizeTargetControl", &TBox::ResizeTargetControl, &TBox::SetResizeTargetControl);
});
