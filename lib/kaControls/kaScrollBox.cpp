#include "lib/kaControls/kaScrollBox.h"

#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaImageCollection/kaImageCollection.h"

namespace {

bool LoadingOrDestroying(const TComponent* C) {
  return C->ComponentState().Contains(csLoading) || C->ComponentState().Contains(csDestroying);
}

// The part of Area the DC will actually show: erasing draws only what is invalid.
TRect VisiblePart(HDC DC, const TRect& Area) {
  RECT box;
  switch (::GetClipBox(DC, &box)) {
    case ERROR: return Area;
    case NULLREGION: return TRect();
    default: return IntersectRect(TRect(box), Area);
  }
}

void FillWith(TCanvas* ACanvas, const TRect& R, TColor Color) {
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(Color);
  ACanvas->FillRect(R);
}

}  // namespace

// ---- Construction ---------------------------------------------------------------------------

TkaCustomScrollBox::TkaCustomScrollBox(TComponent* AOwner) : TScrollBox(AOwner) {
  HorzScrollBar()->SetTracking(true);
  VertScrollBar()->SetTracking(true);
}

TkaCustomScrollBox::~TkaCustomScrollBox() = default;

// ---- Properties -----------------------------------------------------------------------------

void TkaCustomScrollBox::SetBackgroundStyle(TkasbBackgroundStyle Value) {
  if (FBackgroundStyle == Value) return;
  FBackgroundStyle = Value;
  FullRedraw();
}

void TkaCustomScrollBox::SetWallpapers(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FWallpapers, Value)) FullRedraw();
}

void TkaCustomScrollBox::SetWallpaperIndex(int Value) {
  if (FWallpaperIndex == Value) return;
  FWallpaperIndex = Value;
  FullRedraw();
}

void TkaCustomScrollBox::SetCustomImages(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FCustomImages, Value)) FullRedraw();
}

void TkaCustomScrollBox::SetCustomBackgroundImageIndex(int Value) {
  if (FCustomBackgroundImageIndex == Value) return;
  FCustomBackgroundImageIndex = Value;
  FullRedraw();
}

void TkaCustomScrollBox::SetStorePaintBuffer(bool Value) {
  if (FStorePaintBuffer == Value) return;
  FStorePaintBuffer = Value;
  // A buffer that is not kept up to date is of no use to anyone.
  if (!Value) FBackgroundBuffer.reset();
  FBackgroundStale = true;
}

bool TkaCustomScrollBox::IsFluentUIOpaqueActive() const { return FluentUIOpaqueActive(this, FFluentUIOpaque); }

void TkaCustomScrollBox::SetFluentUIOpaque(bool Value) {
  if (FFluentUIOpaque == Value) return;
  FFluentUIOpaque = Value;
  FluentUIOpaqueChanged(this);
}

void TkaCustomScrollBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FWallpapers) {
    FWallpapers = nullptr;
    FBackgroundStale = true;
  }
  if (AComponent == FCustomImages) {
    FCustomImages = nullptr;
    FBackgroundStale = true;
  }
}

bool TkaCustomScrollBox::HasWallpaper() const {
  return FWallpapers != nullptr && FWallpapers->IsIndexAvailable(FWallpaperIndex);
}

bool TkaCustomScrollBox::HasCustomImage() const {
  return FCustomImages != nullptr && FCustomImages->IsIndexAvailable(FCustomBackgroundImageIndex);
}

// ---- Redrawing and scrolling ------------------------------------------------------------------

void TkaCustomScrollBox::FullRedraw() {
  FBackgroundStale = true;
  RedrawAll();
}

void TkaCustomScrollBox::RedrawAll() {
  if (Parent() == nullptr || !HandleAllocated()) return;
  ::RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // The frame (scroll bars) is not part of the client redraw.
  ::SendMessageW(WindowHandle(), WM_NCPAINT, 1, 0);
}

template <class F>
void TkaCustomScrollBox::WithRedrawHeld(bool Hold, F&& Action) {
  if (!Hold || !HandleAllocated()) {
    Action();
    return;
  }
  ::SendMessageW(WindowHandle(), WM_SETREDRAW, FALSE, 0);
  struct TRelease {
    TkaCustomScrollBox* Self;
    ~TRelease() {
      if (!Self->HandleAllocated()) return;
      ::SendMessageW(Self->WindowHandle(), WM_SETREDRAW, TRUE, 0);
      // The content moved while nothing was drawn: every pixel is drawn once now. The
      // background stays as it was (it does not scroll).
      Self->RedrawAll();
    }
  } release{this};
  Action();
}

bool TkaCustomScrollBox::ScrollsWithRedrawHeld() const {
  return FFullUpdate && (AutoScroll() || FIgnoreAutoScroll) && Visible();
}

bool TkaCustomScrollBox::IsInView(TControl* AControl) const {
  if (AControl == nullptr || !ContainsControl(AControl)) return true;
  const TPoint origin = ScreenToClient(AControl->ClientToScreen(TPoint(0, 0)));
  const TRect r = Bounds(origin.X, origin.Y, AControl->ClientWidth(), AControl->ClientHeight());
  TRect area = ClientRect();
  area.Inflate(2, 2);
  return r.Left >= area.Left && r.Top >= area.Top && r.Right <= area.Right && r.Bottom <= area.Bottom;
}

void TkaCustomScrollBox::ScrollInView(TControl* AControl) {
  const bool hold = FFullUpdate && (AutoScroll() || FIgnoreAutoScroll) && AControl != nullptr &&
                    !IsInView(AControl) && !LoadingOrDestroying(AControl) && !LoadingOrDestroying(this);
  WithRedrawHeld(hold, [&] { inherited::ScrollInView(AControl); });
}

void TkaCustomScrollBox::ScrollBy(int DeltaX, int DeltaY) {
  WithRedrawHeld(FFullUpdate, [&] { inherited::ScrollBy(DeltaX, DeltaY); });
}

// The automatic scroll into view when a control inside gains the focus.
void TkaCustomScrollBox::CMFocusChanged(TMessage& Message) {
  auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
  const bool hold = FFullUpdate && (AutoScroll() || FIgnoreAutoScroll) && AutoScrollInView() &&
                    focused != nullptr && focused != this && ContainsControl(focused) && !IsInView(focused) &&
                    !LoadingOrDestroying(focused) && !LoadingOrDestroying(this);
  WithRedrawHeld(hold, [&] { inherited::Dispatch(Message); });
}

// One increment per notch, whatever the notch's size: the horizontal bar with Shift when
// both bars show, else whichever bar shows (vertical first).
void TkaCustomScrollBox::WMMouseWheel(TMessage& Message) {
  TControlScrollBar* horz = HorzScrollBar();
  TControlScrollBar* vert = VertScrollBar();
  const bool h = horz->IsScrollBarVisible(), v = vert->IsScrollBarVisible();
  TControlScrollBar* bar = nullptr;
  if ((GET_KEYSTATE_WPARAM(Message.WParam) & MK_SHIFT) != 0 && h && v)
    bar = horz;
  else if (v)
    bar = vert;
  else if (h)
    bar = horz;
  if (bar == nullptr) {
    inherited::Dispatch(Message);  // nothing to scroll here: the parent may
    return;
  }
  const int delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
  if (delta > 0)
    bar->SetPosition(bar->Position() - bar->Increment());
  else if (delta < 0)
    bar->SetPosition(bar->Position() + bar->Increment());
  Message.Result = 0;
}

void TkaCustomScrollBox::ChangeScale(int M, int D, bool isDpiChange) {
  inherited::ChangeScale(M, D, isDpiChange);
  if (M == D) return;
  FBackgroundStale = true;
  // The children settle over several messages after a change of scale; one complete redraw
  // once they have.
  if (!LoadingOrDestroying(this) && Visible() && HandleAllocated())
    ::SetTimer(WindowHandle(), kaScrollBoxScaleTimerID, 10, nullptr);
}

// ---- Window ---------------------------------------------------------------------------------

void TkaCustomScrollBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (IsFluentUIOpaqueActive()) Params.ExStyle |= WS_EX_LAYERED;
}

void TkaCustomScrollBox::CreateWnd() {
  inherited::CreateWnd();
  if (IsFluentUIOpaqueActive()) FluentUIOpaqueCreated(this);
}

void TkaCustomScrollBox::WndProc(TMessage& Message) {
  bool hold = false;
  switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      // Only the box's own bars; a scroll bar control's notification goes back to it.
      hold = Message.LParam == 0 && ScrollsWithRedrawHeld();
      break;
    case CM_GESTURE: hold = ScrollsWithRedrawHeld(); break;
    case WM_MOUSEWHEEL: hold = FMouseWheelSupport && ScrollsWithRedrawHeld(); break;
    case WM_SIZE:
      // A stretched or placed image moves with the size; a custom style's background is
      // drawn relative to the scrolled area.
      hold = FFullUpdate && Visible() &&
             (HasWallpaper() || HasCustomImage() ||
              (FBackgroundStyle != kasbsPanel && IsCustomStyleActive(this) &&
               (HorzScrollBar()->Position() > 0 || VertScrollBar()->Position() > 0)));
      break;
    default: break;
  }
  WithRedrawHeld(hold, [&] { inherited::WndProc(Message); });
  AfterMessage(Message);
}

void TkaCustomScrollBox::AfterMessage(const TMessage& Message) {
  if (!HandleAllocated() || FluentUIOpaqueTick(this, Message)) return;
  if (Message.Msg == WM_TIMER && Message.WParam == kaScrollBoxScaleTimerID) {
    ::KillTimer(WindowHandle(), kaScrollBoxScaleTimerID);
    FullRedraw();
  } else if ((Message.Msg == WM_HSCROLL || Message.Msg == WM_VSCROLL) && LOWORD(Message.WParam) == SB_ENDSCROLL &&
             IsCustomStyleActive(this)) {
    // A custom style draws the bars in the frame: have it measured and drawn again.
    ::SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void TkaCustomScrollBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_MOUSEWHEEL:
      if (FMouseWheelSupport)
        WMMouseWheel(Message);
      else
        inherited::Dispatch(Message);
      break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case CM_COLORCHANGED:
      inherited::Dispatch(Message);
      // The colour shows through transparent children too, which only a full redraw tells.
      if (FBackgroundStyle == kasbsPanel)
        FullRedraw();
      else
        FBackgroundStale = true;
      break;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
      FBackgroundStale = true;
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// The whole face is drawn at erase time. The system's own WM_PAINT would only validate the
// window, and when a child captures the box as its background that would swallow an update
// the box still owes the screen.
void TkaCustomScrollBox::PaintWindow(HDC) {}

// ---- Background -----------------------------------------------------------------------------

TBitmap* TkaCustomScrollBox::LentPaintBuffer() const {
  if (!FStorePaintBuffer || FBackgroundStale || FBackgroundBuffer == nullptr) return nullptr;
  const TRect client = ClientRect();
  if (FBackgroundBuffer->Width() != client.Width() || FBackgroundBuffer->Height() != client.Height()) return nullptr;
  return FBackgroundBuffer.get();
}

void TkaCustomScrollBox::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 1;
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (dc == nullptr) return;
  const TRect client = ClientRect();
  if (!FStorePaintBuffer && HasWallpaper() && FWallpapers->IsSolidDrawing(FWallpaperIndex)) {
    DrawSolidWallpaper(dc, client);
    return;
  }
  const bool positive = client.Width() > 0 && client.Height() > 0;
  if (!positive || FFullUpdate || FStorePaintBuffer || (FBackgroundStyle != kasbsPanel && AutoScroll())) {
    if (positive) PaintBuffered(dc, client);
    return;
  }
  // Without images nothing is layered: the background goes straight to the screen.
  TCanvas canvas;
  canvas.SetHandle(dc);
  DrawStyleBackground(&canvas, client);
}

void TkaCustomScrollBox::DrawSolidWallpaper(HDC DC, const TRect& Client) {
  TCanvas canvas;
  canvas.SetHandle(DC);
  FWallpapers->Draw(&canvas, Client, FWallpaperIndex, ScaleFactor());
  if (HasCustomImage()) FCustomImages->Draw(&canvas, Client, FCustomBackgroundImageIndex, ScaleFactor());
}

void TkaCustomScrollBox::PaintBuffered(HDC DC, const TRect& Client) {
  const TRect part = VisiblePart(DC, Client);
  if (part.IsEmpty()) return;
  if (FStorePaintBuffer) {
    TBitmap* background = CurrentBackground(Client);
    ::BitBlt(DC, part.Left, part.Top, part.Width(), part.Height(), background->Canvas()->Handle(),
             part.Left - Client.Left, part.Top - Client.Top, SRCCOPY);
    return;
  }
  // Only the invalid part is drawn: the layers are placed as over the whole client area.
  TBitmap temporary(part.Width(), part.Height());
  TRect area = Client;
  area.Offset(-part.Left, -part.Top);
  DrawBackgroundLayers(temporary.Canvas(), area);
  ::BitBlt(DC, part.Left, part.Top, part.Width(), part.Height(), temporary.Canvas()->Handle(), 0, 0, SRCCOPY);
}

TBitmap* TkaCustomScrollBox::CurrentBackground(const TRect& Client) {
  if (FBackgroundBuffer == nullptr) FBackgroundBuffer = std::make_unique<TBitmap>();
  TBitmap* b = FBackgroundBuffer.get();
  if (FBackgroundStale || b->Width() != Client.Width() || b->Height() != Client.Height()) {
    b->SetSize(Client.Width(), Client.Height());
    DrawBackgroundLayers(b->Canvas(), Rect(0, 0, Client.Width(), Client.Height()));
    FBackgroundStale = false;
  }
  return b;
}

// The wallpaper goes over the style background and the custom image over both, as in the
// unbuffered solid-wallpaper case, so keeping a buffer never changes the look.
void TkaCustomScrollBox::DrawBackgroundLayers(TCanvas* ACanvas, const TRect& Area) {
  DrawStyleBackground(ACanvas, Area);
  if (HasWallpaper()) FWallpapers->Draw(ACanvas, Area, FWallpaperIndex, ScaleFactor());
  if (HasCustomImage()) FCustomImages->Draw(ACanvas, Area, FCustomBackgroundImageIndex, ScaleFactor());
}

void TkaCustomScrollBox::DrawStyleBackground(TCanvas* ACanvas, const TRect& Area) {
  TCustomStyleServices* styles = StyleServices(this);
  switch (FBackgroundStyle) {
    case kasbsFormBackground:
      if (styles->Enabled() || IsCustomStyleActive(this))
        styles->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(teWindow), Area);
      else
        FillWith(ACanvas, Area, clBtnFace);
      break;
    case kasbsTabSheet: {
      // The pane's edges fall outside the box: only its face shows.
      TRect pane = Area;
      pane.Inflate(4, 4);
      styles->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(ttPane), pane);
      break;
    }
    case kasbsPanel: FillWith(ACanvas, Area, GetStyleSystemColor(Color(), this)); break;
  }
}

// ---- Published properties -------------------------------------------------------------------

KA_REGISTER_ENUM(TkasbBackgroundStyle,
                 {{L"kasbsFormBackground", kasbsFormBackground}, {L"kasbsPanel", kasbsPanel}, {L"kasbsTabSheet", kasbsTabSheet}});
KA_REGISTER_CLASS(TkaCustomScrollBox);
KA_REGISTER_CLASS(TkaScrollBox, [](auto& c) {
  c.Property(L"BackgroundStyle", &TkaScrollBox::BackgroundStyle, &TkaScrollBox::SetBackgroundStyle);
  c.Property(L"Wallpapers", &TkaScrollBox::Wallpapers, &TkaScrollBox::SetWallpapers);
  c.Property(L"WallpaperIndex", &TkaScrollBox::WallpaperIndex, &TkaScrollBox::SetWallpaperIndex);
  c.Property(L"CustomImages", &TkaScrollBox::CustomImages, &TkaScrollBox::SetCustomImages);
  c.Property(L"CustomBackgroundImageIndex", &TkaScrollBox::CustomBackgroundImageIndex,
             &TkaScrollBox::SetCustomBackgroundImageIndex);
  c.Property(L"FullUpdate", &TkaScrollBox::FullUpdate, &TkaScrollBox::SetFullUpdate);
  c.Property(L"StorePaintBuffer", &TkaScrollBox::StorePaintBuffer, &TkaScrollBox::SetStorePaintBuffer);
  c.Property(L"MouseWheelSupport", &TkaScrollBox::MouseWheelSupport, &TkaScrollBox::SetMouseWheelSupport);
  c.Property(L"FluentUIOpaque", &TkaScrollBox::FluentUIOpaque, &TkaScrollBox::SetFluentUIOpaque);
});
