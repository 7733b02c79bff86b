#include "lib/kaAdvancedControls/kaAdvancedCustomControl.h"

#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaAdvancedControls/kaScrollBar.h"
#include "lib/kaControls/kaFlagScope.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaImageCollection/kaImageCollection.h"

namespace {

bool Holds(const TkaCustomImageCollection* Images, int Index) {
  return Images != nullptr && Images->IsIndexAvailable(Index);
}

void FillWith(TCanvas* ACanvas, const TRect& R, TColor Color) {
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(Color);
  ACanvas->FillRect(R);
}

}  // namespace

// ---- TkaAdvancedCustomControl ---------------------------------------------------------------

TkaAdvancedCustomControl::TkaAdvancedCustomControl(TComponent* AOwner) : TkaCustomControl(AOwner) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csOpaque,  csDoubleClicks,
                                csReplicatable, csPannable,    csGestures};
  FTransparentBackground = false;
  FColor = clWindow;
  FParentColor = false;
  FSelectionGlow = std::make_unique<TkaGlowEffect>(this);
  FSelectionGlow->SetEnabled(true);
  FSelectionGlow->OnChange = [this](TObject*) {
    if (!ComponentState().Contains(csLoading)) RePaintControl();
  };
}

TkaAdvancedCustomControl::~TkaAdvancedCustomControl() = default;

void TkaAdvancedCustomControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TkaAdvancedCustomControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FWallpapers) FWallpapers = nullptr;
  if (AComponent == FCustomImages) FCustomImages = nullptr;
  if (AComponent == FBalloonHint) FBalloonHint = nullptr;
  if (AComponent == FHintComponent) FHintComponent = nullptr;
}

void TkaAdvancedCustomControl::SetBorderStyle(TkaBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  ContentRectChanged();
}

void TkaAdvancedCustomControl::SetBackgroundStyle(TkaBackgroundStyle Value) {
  if (FBackgroundStyle == Value) return;
  FBackgroundStyle = Value;
  SetTransparentBackground(Value == kabgsTransparent);
  RePaintControl();
}

void TkaAdvancedCustomControl::SetCustomImages(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FCustomImages, Value)) RePaintControl();
}

void TkaAdvancedCustomControl::SetWallpapers(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FWallpapers, Value)) RePaintControl();
}

bool TkaAdvancedCustomControl::HasCustomImage(int Index) const { return Holds(FCustomImages, Index); }

TRect TkaAdvancedCustomControl::InsideBorder() const {
  TRect r(0, 0, Width(), Height());
  if (FBorderStyle == kabsSingle) r.Inflate(-2, -2);
  return r;
}

TRect TkaAdvancedCustomControl::GetContentRect() { return InsideBorder(); }

// ---- Painting -------------------------------------------------------------------------------

void TkaAdvancedCustomControl::DrawControl(TCanvas* ACanvas, TkasCtrlState) {
  const TRect r = GetContentRect();
  DrawBackgroundLayers(ACanvas, r);
  if (FBorderStyle == kabsSingle) DrawBorder(ACanvas);
  DrawContent(ACanvas);
  if (HasCustomImage(FCustomOverContentImageIndex)) FCustomImages->Draw(ACanvas, r, FCustomOverContentImageIndex, 1.0);
}

void TkaAdvancedCustomControl::DrawBackgroundLayers(TCanvas* ACanvas, const TRect& R) {
  const bool wallpaper = Holds(FWallpapers, FWallpaperIndex);
  const bool image = HasCustomImage(FCustomBackgroundImageIndex);
  // A picture that covers its rectangle needs nothing under it.
  if (wallpaper && FWallpapers->IsSolidDrawing(FWallpaperIndex)) {
    FWallpapers->Draw(ACanvas, R, FWallpaperIndex, ScaleFactor());
    return;
  }
  if (image && FCustomImages->IsSolidDrawing(FCustomBackgroundImageIndex)) {
    FCustomImages->Draw(ACanvas, R, FCustomBackgroundImageIndex, ScaleFactor());
    return;
  }
  DrawStyleBackground(ACanvas);
  if (image) FCustomImages->Draw(ACanvas, R, FCustomBackgroundImageIndex, ScaleFactor());
  if (wallpaper) FWallpapers->Draw(ACanvas, R, FWallpaperIndex, ScaleFactor());
}

void TkaAdvancedCustomControl::DrawStyleBackground(TCanvas* ACanvas) {
  const TRect client(0, 0, Width(), Height());
  const bool custom = IsCustomStyleActive(this);
  switch (FBackgroundStyle) {
    case kabgsColor:
      FillWith(ACanvas, client, custom && StyleElements().Contains(seClient) ? GetEditColor(false, this) : Color());
      break;
    case kabgsFormBackground:
      if (custom) {
        ACanvas->Changing();
        StyleServices(this)->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(teWindow), client);
        ACanvas->Changed();
      } else {
        FillWith(ACanvas, client, clBtnFace);
      }
      break;
    case kabgsTransparent: break;
  }
}

bool TkaAdvancedCustomControl::UseThemedBorder() {
  return IsCustomStyleActive(this) || IsWindows8() || IsWindows10OrLater();
}

void TkaAdvancedCustomControl::DrawBorder(TCanvas* ACanvas) {
  TRect r(0, 0, Width(), Height());
  if (UseThemedBorder()) {
    // The element also fills its inside; only its outer two pixels are wanted.
    HDC dc = ACanvas->Handle();
    ACanvas->Changing();
    {
      TDCStateSaver saver(dc);
      ::ExcludeClipRect(dc, r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
      StyleServices(this)->DrawElement(dc, TCustomStyleServices::GetElementDetails(teEditBorderNoScrollNormal), r);
    }
    ACanvas->Changed();
    return;
  }
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(GetStyleSystemColor(clBtnShadow, this));
  ACanvas->FrameRect(r);
  r.Inflate(-1, -1);
  ACanvas->Brush()->SetColor(GetStyleSystemColor(clWindow, this));
  ACanvas->FrameRect(r);
}

// ---- TkaAdvancedScrollingControl ------------------------------------------------------------

TkaAdvancedScrollingControl::TkaAdvancedScrollingControl(TComponent* AOwner) : TkaAdvancedCustomControl(AOwner) {}

TRect TkaAdvancedScrollingControl::GetContentRect() {
  TRect r = inherited::GetContentRect();
  if (FVertScrollBar != nullptr && FVertScrollBar->Visible()) {
    if (UseRightToLeftAlignment())
      r.Left += FVertScrollBar->Width();
    else
      r.Right -= FVertScrollBar->Width();
  }
  return r;
}

int TkaAdvancedScrollingControl::ScrollBarThickness() {
  int ppi = CurrentPPI();
  if (FPopupMode)
    if (auto* owner = dynamic_cast<TControl*>(Owner())) ppi = owner->CurrentPPI();
  const int t = ::GetSystemMetricsForDpi(SM_CYHSCROLL, static_cast<UINT>(ppi));
  return t > 0 ? t : ::GetSystemMetrics(SM_CYHSCROLL);
}

void TkaAdvancedScrollingControl::CreateVertScrollBar() {
  auto* bar = new TkaScrollBar(this);
  bar->SetKind(sbVertical);
  bar->OnChange = [this](TObject*) {
    if (!FChangingScrollInfo && FVertScrollBar != nullptr) VertScrollBarMoved(FVertScrollBar->Position());
  };
  FVertScrollBar = bar;
  PlaceScrollBars();
  bar->SetParent(this);
  UpdateScrollGrip();
}

void TkaAdvancedScrollingControl::RemoveVertScrollBar() {
  FreeAndNil(FVertScrollBar);
  UpdateScrollGrip();
}

void TkaAdvancedScrollingControl::SetVertScrollInfo(int AMax, int APage, int APosition, int ASmallChange) {
  if (!HandleAllocated()) return;
  if (AMax <= 0) {
    if (FVertScrollBar == nullptr) return;
    RemoveVertScrollBar();
    ContentRectChanged();
    return;
  }
  TkaFlagScope changing(FChangingScrollInfo);
  const bool created = FVertScrollBar == nullptr;
  if (created) CreateVertScrollBar();
  TkaScrollBar* bar = FVertScrollBar;
  if (AMax < bar->PageSize()) bar->SetPageSize(0);
  bar->SetParams(APosition, 0, AMax);
  bar->SetPageSize(std::clamp(APage, 0, AMax + 1));
  bar->SetPosition(APosition);
  bar->SetLargeChange(APage);
  bar->SetSmallChange(ASmallChange);
  if (created) ContentRectChanged();
}

void TkaAdvancedScrollingControl::PlaceScrollBars() {
  if (FVertScrollBar == nullptr) return;
  const TRect r = InsideBorder();
  const int t = ScrollBarThickness();
  int h = r.Height();
  if (FHorzScrollBar != nullptr) h -= FHorzScrollBar->Height();
  if (UseRightToLeftAlignment())
    FVertScrollBar->SetBounds(r.Left, r.Top, t, h);
  else
    FVertScrollBar->SetBounds(r.Right - t, r.Top, t, h);
  if (FScrollGrip != nullptr) {
    const int gw = FVertScrollBar->Width(), gh = r.Height() - h;
    FScrollGrip->SetBounds(FVertScrollBar->Left(), r.Bottom - gh, gw, gh);
  }
}

void TkaAdvancedScrollingControl::UpdateScrollGrip() {
  if (FHorzScrollBar == nullptr || FVertScrollBar == nullptr) {
    FreeAndNil(FScrollGrip);
    return;
  }
  if (FScrollGrip != nullptr) return;
  FScrollGrip = new TkaPanel(this);
  FScrollGrip->SetParent(this);
  PlaceScrollBars();
}

void TkaAdvancedScrollingControl::PanBy(int Delta) {
  if (FVertScrollBar == nullptr || Delta == 0) return;
  FVertScrollBar->SetPosition(FVertScrollBar->Position() + Delta);
}

void TkaAdvancedScrollingControl::TouchPan(int Y, bool Begin) {
  if (!Begin) PanBy(FTouchBegin - Y);
  FTouchBegin = Y;
  FTouchEnd = Y;
}

void TkaAdvancedScrollingControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      inherited::Dispatch(Message);
      PlaceScrollBars();
      break;
    case WM_GESTURENOTIFY: WMGestureNotify(Message); break;
    case WM_GESTURE: WMGesture(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

void TkaAdvancedScrollingControl::WMGestureNotify(TMessage& Message) {
  GESTURECONFIG config[2] = {
      {GID_PAN, GC_PAN | GC_PAN_WITH_SINGLE_FINGER_VERTICALLY | GC_PAN_WITH_INERTIA,
       GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY | GC_PAN_WITH_GUTTER},
      {GID_PRESSANDTAP, GC_PRESSANDTAP, 0}};
  if (HandleAllocated()) ::SetGestureConfig(WindowHandle(), 0, 2, config, sizeof(GESTURECONFIG));
  inherited::Dispatch(Message);
}

void TkaAdvancedScrollingControl::WMGesture(TMessage& Message) {
  auto gesture = reinterpret_cast<HGESTUREINFO>(Message.LParam);
  GESTUREINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetGestureInfo(gesture, &info) || info.dwID != GID_PAN) {
    inherited::Dispatch(Message);
    return;
  }
  TPoint p = ScreenToClient(TPoint(info.ptsLocation.x, info.ptsLocation.y));
  TouchPan(p.Y, (info.dwFlags & GF_BEGIN) != 0);
  ::CloseGestureInfoHandle(gesture);
  Message.Result = 0;
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TkaBorderStyle, {{L"kabsSingle", kabsSingle}, {L"kabsNone", kabsNone}});
KA_REGISTER_ENUM(TkaBackgroundStyle, {{L"kabgsColor", kabgsColor},
                                      {L"kabgsFormBackground", kabgsFormBackground},
                                      {L"kabgsTransparent", kabgsTransparent}});
KA_REGISTER_ENUM(TkaAdvancedSelectionStyle, {{L"kaastStyled", kaastStyled},
                                             {L"kaastColor", kaastColor},
                                             {L"kaastGlow", kaastGlow},
                                             {L"kaastCustomImage", kaastCustomImage},
                                             {L"kaastCustomImageWithGlow", kaastCustomImageWithGlow}});

using TACC = TkaAdvancedCustomControl;
KA_REGISTER_CLASS(TkaAdvancedCustomControl, [](auto& c) {
  c.Property(L"BorderStyle", &TACC::BorderStyle, &TACC::SetBorderStyle);
  c.Property(L"BackgroundStyle", &TACC::BackgroundStyle, &TACC::SetBackgroundStyle);
  c.Property(L"CustomImages", &TACC::CustomImages, &TACC::SetCustomImages);
  c.Property(L"Wallpapers", &TACC::Wallpapers, &TACC::SetWallpapers);
  c.Property(L"WallpaperIndex", &TACC::WallpaperIndex, &TACC::SetWallpaperIndex);
  c.Property(L"SelectionStyle", &TACC::SelectionStyle, &TACC::SetSelectionStyle);
  c.Property(L"SelectionGlow", &TACC::SelectionGlow);
  c.Property(L"ShowFocusRect", &TACC::ShowFocusRect, &TACC::SetShowFocusRect);
  c.Property(L"SelectionColor", &TACC::SelectionColor, &TACC::SetSelectionColor);
  c.Property(L"SelectionTextColor", &TACC::SelectionTextColor, &TACC::SetSelectionTextColor);
  c.Property(L"CustomBackgroundImageIndex", &TACC::CustomBackgroundImageIndex, &TACC::SetCustomBackgroundImageIndex);
  c.Property(L"CustomOverContentImageIndex", &TACC::CustomOverContentImageIndex,
             &TACC::SetCustomOverContentImageIndex);
  c.Property(L"CustomSelectionImageIndex", &TACC::CustomSelectionImageIndex, &TACC::SetCustomSelectionImageIndex);
  c.Property(L"CustomFocusedSelectionImageIndex", &TACC::CustomFocusedSelectionImageIndex,
             &TACC::SetCustomFocusedSelectionImageIndex);
});
KA_REGISTER_CLASS(TkaAdvancedScrollingControl);
