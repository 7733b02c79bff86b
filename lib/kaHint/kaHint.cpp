// TkaHint: requests, their delays and the hint's settings.
#include "lib/kaHint/kaHint.h"

#include <algorithm>
#include <vector>

#include "framework/TypeInfo.h"

namespace {

// The TkaHints active for the application, in the order they became so, and the hint window
// class the application had before the first of them.
std::vector<TkaHint*>& ActiveHints() {
  static std::vector<TkaHint*> hints;
  return hints;
}
THintWindowClass& ClassBeforeActiveHints() {
  static THintWindowClass saved;
  return saved;
}

}  // namespace

TkaHint::TkaHint(TComponent* AOwner) : TComponent(AOwner) { FHintWindow = Construct<TkaHintWindow>(this); }

// The window is owned and goes with the component.
TkaHint::~TkaHint() {
  Withdraw();
  FreeAndNil(FHintTimer);
}

void TkaHint::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FHintImageList) FHintImageList = nullptr;
}

void TkaHint::SetActiveForApplication(bool Value) {
  if (FActiveForApplication == Value) return;
  FActiveForApplication = Value;
  if (!Value)
    Withdraw();
  else if (!ComponentState().Contains(csDesigning))
    Enlist();
}

void TkaHint::Enlist() {
  std::vector<TkaHint*>& hints = ActiveHints();
  if (std::find(hints.begin(), hints.end(), this) != hints.end()) return;
  if (hints.empty() && Application != nullptr) {
    ClassBeforeActiveHints() = Application->HintWindowClass();
    Application->SetHintWindowClass(THintWindowClass::Of<TkaHintWindow>());
  }
  hints.push_back(this);
}

void TkaHint::Withdraw() {
  std::vector<TkaHint*>& hints = ActiveHints();
  const auto it = std::find(hints.begin(), hints.end(), this);
  if (it == hints.end()) return;
  hints.erase(it);
  // Someone who set another class meanwhile keeps it.
  if (hints.empty() && Application != nullptr &&
      Application->HintWindowClass() == THintWindowClass::Of<TkaHintWindow>())
    Application->SetHintWindowClass(ClassBeforeActiveHints());
}

TkaHint* TkaHint::ApplicationHint() {
  const std::vector<TkaHint*>& hints = ActiveHints();
  TCustomForm* main = Application != nullptr ? Application->MainForm() : nullptr;
  for (auto it = hints.rbegin(); it != hints.rend(); ++it)
    if (main != nullptr && (*it)->Owner() == main) return *it;
  return hints.empty() ? nullptr : hints.back();
}

TkaHintSettings TkaHint::Settings() const {
  return TkaHintSettings{FLineSeparator, FAlphaBlend, FAlphaBlendValue, FAlphaBlendAnimation};
}

// ---- Requests ----------------------------------------------------------------------------------

void TkaHint::ActivateHint(const String& AHint) {
  FHintText = AHint;
  FHintTitle.clear();
  FHintImageIndex = -1;
  ReplaceReference(FHintImageList, static_cast<TCustomImageList*>(nullptr));
  StartRequest(krCursor);
}

void TkaHint::ActivateHint(const TRect& AFromRect, const String& AHint, bool ATop) {
  FHintText = AHint;
  FFromRect = AFromRect;
  FTop = ATop;
  FHintTitle.clear();
  FHintImageIndex = -1;
  ReplaceReference(FHintImageList, static_cast<TCustomImageList*>(nullptr));
  StartRequest(krRect);
}

void TkaHint::ActivateHint(TPoint P, const String& AHint) {
  FreeAndNil(FHintTimer);
  FHintText = AHint;
  FHintTitle.clear();
  FHintImageIndex = -1;
  ReplaceReference(FHintImageList, static_cast<TCustomImageList*>(nullptr));
  FHintWindow->ActivateHint(TRect(P.X, P.Y, P.X, P.Y), AHint);
}

void TkaHint::ActivateHintEx(const String& AHintTitle, const String& AHint, int AImageIndex,
                             TCustomImageList* AImageList) {
  FHintText = AHint;
  FHintTitle = AHintTitle;
  FHintImageIndex = AImageIndex;
  ReplaceReference(FHintImageList, AImageList);
  StartRequest(krCursorEx);
}

void TkaHint::ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, int AImageIndex,
                             TCustomImageList* AImageList) {
  FreeAndNil(FHintTimer);
  FHintText = AHint;
  FHintTitle = AHintTitle;
  FHintImageIndex = AImageIndex;
  ReplaceReference(FHintImageList, AImageList);
  FHintWindow->ActivateHintEx(TRect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
}

void TkaHint::StartRequest(TRequest Request) {
  FreeAndNil(FHintTimer);
  FRequest = Request;
  FHintShown = false;
  FHintTimer = new TTimer(nullptr);
  // A pause of 0 shows the hint with the next tick rather than never.
  FHintTimer->SetInterval(std::max(1, Application->HintPause()));
  FHintTimer->OnTimer = [this](TObject*) { HintTimerTick(); };
}

void TkaHint::HintTimerTick() {
  if (FHintShown) {
    HideHint();
    return;
  }
  FHintShown = true;
  ShowRequest();
  // A hide pause of 0 or less keeps the hint up until HideHint.
  if (FHintTimer != nullptr) FHintTimer->SetInterval(Application->HintHidePause());
}

void TkaHint::ShowRequest() {
  if (FRequest == krRect) {
    FHintWindow->ActivateHintFromRect(FFromRect, FHintText, FTop);
    return;
  }
  const TkaHintAnchor anchor = kaCursorHintAnchor();
  FCursorHeight = anchor.Rect.Height();
  FHintWindow->ActivateAt(anchor, FHintText, FRequest == krCursorEx, FHintTitle, FHintImageIndex, FHintImageList);
}

void TkaHint::HideHint() {
  FreeAndNil(FHintTimer);
  if (!FHintWindow->Visible()) return;
  FHintWindow->Hide();
  FHintTitle.clear();
  FHintImageIndex = -1;
  ReplaceReference(FHintImageList, static_cast<TCustomImageList*>(nullptr));
}

using TH = TkaHint;
KA_REGISTER_CLASS(TkaHint, [](auto& c) {
  c.Property(L"ActiveForApplication", &TH::ActiveForApplication, &TH::SetActiveForApplication);
  c.Property(L"LineSeparator", &TH::LineSeparator, &TH::SetLineSeparator);
  c.Property(L"AlphaBlend", &TH::AlphaBlend, &TH::SetAlphaBlend);
  c.Property(L"AlphaBlendValue", &TH::AlphaBlendValue, &TH::SetAlphaBlendValue);
  c.Property(L"AlphaBlendAnimation", &TH::AlphaBlendAnimation, &TH::SetAlphaBlendAnimation);
});
