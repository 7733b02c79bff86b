// TkaStyledForm, drop-down mode: the whole form pops up under a control, at a point or under
// a caption button like a menu, and closes up when it loses the activation.
#include <algorithm>

#include "framework/GdiObjects.h"
#include "lib/kaControls/kaFlagScope.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaStyledForm/kaStyledForm.h"

namespace {
// At most one form is dropped down at a time, process-wide.
TCustomForm* gDropDownForm = nullptr;
TCustomForm* gDropDownSource = nullptr;
}  // namespace

TCustomForm* TkaStyledForm::CurrentDropDownForm() { return gDropDownForm; }
TCustomForm* TkaStyledForm::CurrentDropDownSourceForm() { return gDropDownSource; }

void TkaStyledForm::ForgetDropDownSource(TCustomForm* ASource) {
  if (gDropDownSource == ASource) gDropDownSource = nullptr;
}

void TkaStyledForm::ForgetDropDownForm(TCustomForm* AForm) {
  if (gDropDownForm != AForm) return;
  gDropDownForm = nullptr;
  gDropDownSource = nullptr;
}

void TkaStyledForm::CloseCurrentDropDown() {
  TCustomForm* current = gDropDownForm;
  if (current == nullptr) return;
  for (int i = current->ComponentCount() - 1; i >= 0; --i) {
    if (i >= current->ComponentCount()) continue;
    if (auto* styled = dynamic_cast<TkaStyledForm*>(current->Components(i))) styled->CloseUp(false);
  }
  // A form without a styled form of its own cannot close up; it is forgotten all the same.
  ForgetDropDownForm(current);
}

void TkaStyledForm::DropDown(TCustomForm* ADropDownForm, int X, int Y) {
  if (FForm == nullptr) return;
  CloseCurrentDropDown();
  ReplaceReference(FDropDownControl, static_cast<TControl*>(nullptr));
  ShowDropDown(ADropDownForm, X, Y, false);
}

void TkaStyledForm::DropDown(TControl* ADropDownControl, int X, int Y) {
  if (FForm == nullptr) return;
  CloseCurrentDropDown();
  ReplaceReference(FDropDownControl, ADropDownControl);
  ShowDropDown(ADropDownControl != nullptr ? GetParentForm(ADropDownControl) : nullptr, X, Y, false);
}

void TkaStyledForm::DropDown(TControl* ADropDownControl, bool AFromRight, bool AIsRightToLeft) {
  if (FForm == nullptr || ADropDownControl == nullptr) return;
  CloseCurrentDropDown();
  ReplaceReference(FDropDownControl, ADropDownControl);
  TCustomForm* source = GetParentForm(ADropDownControl);
  const TPoint origin = ADropDownControl->ClientToScreen(TPoint(0, 0));
  const int cw = ADropDownControl->Width(), ch = ADropDownControl->Height();
  const int w = FForm->Width(), h = FForm->Height();
  int x = 0, y = 0;
  if (AFromRight) {
    x = AIsRightToLeft ? origin.X - w : origin.X + cw;
    y = origin.Y;
  } else {
    x = AIsRightToLeft ? origin.X + cw - w : origin.X;
    y = origin.Y + ch;
  }
  const TRect work = (source != nullptr ? source->Monitor() : Screen->MonitorFromPoint(origin)).WorkareaRect();
  if (y + h > work.Bottom) y = AFromRight ? origin.Y + ch - h : origin.Y - h;
  if (x + w > work.Right) x = work.Right - w;
  ShowDropDown(source, x, y, false);
}

void TkaStyledForm::DropDown(TCustomForm* ADropDownForm, TkaNCButtonItem* ANCButton, int X, int Y,
                             bool AIsRightToLeft) {
  if (FForm == nullptr) return;
  // A second press on the button that dropped this form down closes it.
  const bool again = gDropDownForm == FForm && FDropDownButtonItem == ANCButton;
  CloseCurrentDropDown();
  if (again) return;
  ReplaceReference(FDropDownControl, static_cast<TControl*>(nullptr));
  FDropDownButtonItem = ANCButton;
  if (AIsRightToLeft && ANCButton != nullptr) X += ANCButton->ObjectRect.Width() - FForm->Width();
  ShowDropDown(ADropDownForm, X, Y, true);
}

void TkaStyledForm::ShowDropDown(TCustomForm* ASource, int X, int Y, bool AFocus) {
  ApplyRuleB();
  const int w = FForm->Width(), h = FForm->Height();
  const TRect work =
      (ASource != nullptr ? ASource->Monitor() : Screen->MonitorFromPoint(TPoint(X, Y))).WorkareaRect();
  if (X + w > work.Right) X = work.Right - w;
  if (Y + h > work.Bottom) Y = work.Bottom - h;
  X = std::max(X, work.Left);
  Y = std::max(Y, work.Top);
  gDropDownForm = FForm;
  gDropDownSource = ASource;
  ReplaceReference(FDropDownSourceForm, ASource);
  const std::shared_ptr<bool> alive = FAlive;
  if (OnDropDown) {
    OnDropDown(ASource, FDropDownControl);
    if (!*alive || gDropDownForm != FForm) return;
  }
  const bool wasAlphaBlend = FForm->AlphaBlend();
  const uint8_t targetAlpha = FForm->AlphaBlendValue();
  if (FDropDownAnimation) {
    FForm->SetAlphaBlendValue(0);
    FForm->SetAlphaBlend(true);
  }
  ::SetWindowPos(FForm->Handle(), HWND_TOPMOST, X, Y, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
  FForm->Realign();
  FForm->SetVisible(true);
  if (AFocus && FForm->CanFocus()) FForm->SetFocus();
  if (FDropDownAnimation) AnimateDropDown(wasAlphaBlend, targetAlpha);
}

void TkaStyledForm::AnimateDropDown(bool AWasAlphaBlend, uint8_t ATargetAlpha) {
  const std::shared_ptr<bool> alive = FAlive;
  const int step = std::max(1, ATargetAlpha / 10);
  int alpha = 0;
  DWORD last = ::GetTickCount();
  while (alpha < ATargetAlpha) {
    if (::GetTickCount() - last >= 5) {
      alpha = std::min<int>(ATargetAlpha, alpha + step);
      FForm->SetAlphaBlendValue(static_cast<uint8_t>(alpha));
      last = ::GetTickCount();
    }
    Application->ProcessMessages();
    // Closed up (or freed) while fading in: the fade has nothing left to do.
    if (!*alive || gDropDownForm != FForm) break;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  if (!*alive) return;
  FForm->SetAlphaBlendValue(ATargetAlpha);
  FForm->SetAlphaBlend(AWasAlphaBlend);
  // Switching alpha blending back re-creates the window, which forgets it was topmost.
  if (gDropDownForm == FForm && FForm->HandleAllocated())
    ::SetWindowPos(FForm->WindowHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TkaStyledForm::CloseUp(bool AAcceptChanges) {
  // Hiding the active drop-down deactivates it, which would close it up a second time.
  if (FForm == nullptr || FClosingUp) return;
  TkaFlagScope closing(FClosingUp);
  TCustomForm* source = FDropDownSourceForm;
  if (gDropDownForm == FForm) {
    source = gDropDownSource;
    gDropDownForm = nullptr;
    gDropDownSource = nullptr;
  }
  if (HWND h = FormHandle())
    ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
  FForm->SetVisible(false);
  TControl* control = FDropDownControl;
  ReplaceReference(FDropDownControl, static_cast<TControl*>(nullptr));
  ReplaceReference(FDropDownSourceForm, static_cast<TCustomForm*>(nullptr));
  if (TkaNCButtonItem* button = FDropDownButtonItem) {
    FDropDownButtonItem = nullptr;
    button->DropDownClosed(AAcceptChanges);
  }
  if (OnCloseUp) OnCloseUp(source, control, AAcceptChanges);
}

void TkaStyledForm::DrawDropDownBorder() {
  HWND h = FormHandle();
  if (h == nullptr) return;
  RECT r;
  ::GetWindowRect(h, &r);
  ::OffsetRect(&r, -r.left, -r.top);
  TWindowDC dc(h, ::GetWindowDC(h));
  if (!dc) return;
  TGdiObject<HBRUSH> brush(::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(GetStyleSystemColor(FDropDownBorderColor, FForm)))));
  ::FrameRect(dc.Get(), &r, brush.Get());
}
