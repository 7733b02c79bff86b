#include "lib/kaDrawUtils/CheckBoxElement.h"

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"

namespace {

constexpr int kClassicBoxSize = 13;

int ScaledDPI(double Scale) { return Round(96 * (Scale < 1 ? 1 : Scale)); }

int ClassicSize(double Scale) { return Round(kClassicBoxSize * (Scale < 1 ? 1 : Scale)); }

// The element size the style reports at the scale's DPI; false when it cannot tell.
bool StyledSize(TCanvas* Canvas, const TControl* Control, double Scale, TSize& Size) {
  const auto details = TCustomStyleServices::GetElementDetails(tbCheckBoxCheckedNormal);
  HDC dc = Canvas != nullptr ? Canvas->Handle() : nullptr;
  return StyleServices(Control)->GetElementSize(dc, details, esActual, Size, ScaledDPI(Scale)) && Size.cx > 0 &&
         Size.cy > 0;
}

TThemedButton CheckBoxDetail(TkasCtrlState State, TCheckBoxState CheckState) {
  // Four states per check state, in the order normal, hot, pressed, disabled.
  static const TThemedButton first[3] = {tbCheckBoxUncheckedNormal, tbCheckBoxCheckedNormal, tbCheckBoxMixedNormal};
  static const int column[5] = {0, 1, 2, 0, 3};
  return static_cast<TThemedButton>(first[CheckState] + column[State]);
}

UINT ClassicFlags(TkasCtrlState State, TCheckBoxState CheckState) {
  UINT flags = DFCS_BUTTONCHECK;
  if (CheckState != cbUnchecked) flags |= DFCS_CHECKED;
  if (CheckState == cbGrayed || State == kasDisabled) flags |= DFCS_INACTIVE;
  if (State == kasPressed) flags |= DFCS_PUSHED;
  return flags;
}

TRect VCentered(const TRect& Rect, int Width, int Height) {
  const int top = Rect.Top + (Rect.Height() - Height) / 2;
  return TRect(Rect.Left, top, Rect.Left + Width, top + Height);
}

}  // namespace

int CheckBoxSize(TCanvas* Canvas, const TControl* Control, double Scale) {
  TSize size;
  if (StyleServices(Control)->Enabled() && StyledSize(Canvas, Control, Scale, size)) return size.cx;
  return ClassicSize(Scale);
}

void DrawCheckBoxElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                         double Scale, TCheckBoxState CheckState) {
  if (Canvas == nullptr || CheckState < cbUnchecked || CheckState > cbGrayed) return;
  TCustomStyleServices* styles = StyleServices(Control);
  Canvas->Changing();
  if (styles->Enabled()) {
    TSize size;
    if (!StyledSize(Canvas, Control, Scale, size)) size = TSize{ClassicSize(Scale), ClassicSize(Scale)};
    styles->DrawElement(Canvas->Handle(), TCustomStyleServices::GetElementDetails(CheckBoxDetail(State, CheckState)),
                        VCentered(Rect, size.cx, size.cy), nullptr, ScaledDPI(Scale));
  } else {
    const int side = ClassicSize(Scale);
    RECT r = *VCentered(Rect, side, side).AsRECT();
    ::DrawFrameControl(Canvas->Handle(), &r, DFC_BUTTON, ClassicFlags(State, CheckState));
  }
  Canvas->Changed();
}
