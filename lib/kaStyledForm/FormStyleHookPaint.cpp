// TkaFormStyleHook: painting the non-client area. The caption (background, wallpaper, icon,
// system buttons, caption items, text) is drawn into a bitmap first and copied at once, then
// the menu bar and the frame edges are drawn on the window's DC.
#include <algorithm>

#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/TextDrawing.h"
#include "lib/kaStyledForm/FormStyleHook.h"
#include "lib/kaStyledForm/MainMenuBarStyleHook.h"
#include "lib/kaStyledForm/kaStyledForm.h"

namespace {

TThemedElementDetails Details(TThemedWindow W) { return TCustomStyleServices::GetElementDetails(W); }

TThemedWindow Offset(TThemedWindow Base, int Index) { return static_cast<TThemedWindow>(Base + Index); }

// An icon copied for one painting, destroyed after it.
struct TIconCopy {
  HICON Handle = nullptr;
  ~TIconCopy() {
    if (Handle != nullptr) ::DestroyIcon(Handle);
  }
};

// One system button as the caption shows it.
struct TSysButton {
  bool Shown;
  int Code;
  TThemedWindow Element;  // the normal state; hot, pushed and disabled follow it
  TThemedWindow Place;    // whose slot the button takes
  TRect* Rect;
};

}  // namespace

void TkaFormStyleHook::PaintBackground(TCanvas* Canvas) {
  TCustomStyleServices* s = StyleServices(FForm);
  if (s == nullptr || !s->Enabled() || Handle() == nullptr) return;
  RECT client{};
  ::GetClientRect(Handle(), &client);
  s->DrawElement(Canvas->Handle(), TCustomStyleServices::GetElementDetails(teWindow), client);
}

HICON TkaFormStyleHook::FormIcon(int Width, int Height) {
  HWND h = Handle();
  auto source = reinterpret_cast<HICON>(::SendMessageW(h, WM_GETICON, ICON_SMALL, 0));
  if (source == nullptr) source = reinterpret_cast<HICON>(::SendMessageW(h, WM_GETICON, ICON_BIG, 0));
  if (source == nullptr) source = reinterpret_cast<HICON>(::GetClassLongPtrW(h, GCLP_HICONSM));
  if (source == nullptr) source = reinterpret_cast<HICON>(::GetClassLongPtrW(h, GCLP_HICON));
  if (source == nullptr) source = ::LoadIconW(nullptr, IDI_APPLICATION);
  return static_cast<HICON>(::CopyImage(source, IMAGE_ICON, Width, Height, 0));
}

void TkaFormStyleHook::PaintCaptionBackground(TCanvas* Canvas, const TRect& M, const TRect& B, double S) {
  TCustomStyleServices* s = StyleServices(FForm);
  const bool tool = IsToolWindow();
  const TThemedWindow element = tool ? (FFormActive ? twSmallCaptionActive : twSmallCaptionInactive)
                                     : (FFormActive ? twCaptionActive : twCaptionInactive);
  TRect r = B;
  if (FYOffset > 0) {
    r.Left -= M.Left;
    r.Right += M.Right;
  }
  if (S > 1) r.Bottom = std::min(r.Bottom, M.Top);
  s->DrawElement(Canvas->Handle(), Details(element), r, nullptr, Round(S * 96));

  TkaStyledForm* sf = StyledForm();
  if (sf == nullptr || sf->CaptionWallpapers() == nullptr) return;
  int index = sf->CaptionWallpaperIndex();
  if (!FFormActive && sf->CaptionWallpaperInActiveIndex() >= 0) index = sf->CaptionWallpaperInActiveIndex();
  if (!sf->CaptionWallpapers()->IsIndexAvailable(index)) return;
  const TRect w(r.Left + sf->CaptionWallpaperLeftMargin(), r.Top + sf->CaptionWallpaperTopMargin(),
                r.Right - sf->CaptionWallpaperRightMargin(), r.Bottom - sf->CaptionWallpaperBottomMargin());
  if (w.IsEmpty()) return;
  TCanvasStateSaver clip(Canvas, w);
  sf->CaptionWallpapers()->Draw(Canvas, w, index, S);
}

void TkaFormStyleHook::PaintIcon(TCanvas* Canvas, const TRect& M, const TRect& B, double S, bool& IconDrawn,
                                 TRect& R) {
  TkaStyledForm* sf = StyledForm();
  const TBorderIcons icons = FForm->BorderIcons();
  const bool maximized = IsMaximized();
  if (sf == nullptr || !sf->ShowIcon() || !icons.Contains(biSystemMenu) || IsToolWindow()) {
    if (!(maximized && icons.Contains(biSystemMenu))) R.Left += M.Left;
    if (maximized && !icons.Contains(biSystemMenu)) R.Left += 5;
    return;
  }
  if (FForm->BorderStyle() == bsDialog) return;
  TCustomStyleServices* s = StyleServices(FForm);
  const TThemedElementDetails sys = Details(twSysButtonNormal);
  TRect icon;
  s->GetElementContentRect(nullptr, sys, TRect(B.Left, 0, B.Right, FStyledCaptionHeight), icon);
  icon.Offset(0, FYOffset);
  if (!s->IsElementFixedPosition(sys) && maximized && !IsMDIChild()) icon.Offset(FXOffset, 0);
  if (icon.IsEmpty()) return;
  if (S > 1) icon = Bounds(icon.Left, icon.Top, Round(icon.Width() * S), Round(icon.Height() * S));

  const UINT dpi = ::GetDpiForWindow(Handle());
  int w = ::GetSystemMetricsForDpi(SM_CXSMICON, dpi > 0 ? dpi : 96);
  int h = ::GetSystemMetricsForDpi(SM_CYSMICON, dpi > 0 ? dpi : 96);
  if (w == 0 || h == 0) {
    w = ::GetSystemMetrics(SM_CXICON);
    h = ::GetSystemMetrics(SM_CYICON);
  }
  if (!(FForm->Scaled() && S != 1)) {
    w = std::min(w, 16);
    h = std::min(h, 16);
  }
  TIconCopy copy{FormIcon(w, h)};
  if (copy.Handle != nullptr)
    ::DrawIconEx(Canvas->Handle(), icon.Left + (icon.Width() - w) / 2, icon.Top + (icon.Height() - h) / 2, copy.Handle,
                 w, h, 0, nullptr, DI_NORMAL);
  IconDrawn = true;
  // Past the icon, whatever the style's margin before it.
  R.Left = std::max(R.Left + icon.Width() + 5, icon.Right);
  FSysMenuButtonRect = icon;
}

void TkaFormStyleHook::PaintSystemButtons(TCanvas* Canvas, const TRect& M, int Q, TRect& R) {
  TCustomStyleServices* s = StyleServices(FForm);
  const TBorderIcons icons = FForm->BorderIcons();
  const TFormBorderStyle bs = FForm->BorderStyle();
  const bool sys = icons.Contains(biSystemMenu);
  const bool boxes = bs != bsDialog && bs != bsToolWindow && bs != bsSizeToolWin;
  const bool designing = FForm->ComponentState().Contains(csDesigning);
  const bool maximized = IsMaximized(), minimized = IsMinimized();
  const bool mainForm = Application != nullptr && Application->MainForm() == FForm;
  const TSysButton buttons[] = {
      {sys, HTCLOSE, IsToolWindow() ? twSmallCloseButtonNormal : twCloseButtonNormal,
       IsToolWindow() ? twSmallCloseButtonNormal : twCloseButtonNormal, &FCloseButtonRect},
      {sys && icons.Contains(biMaximize) && boxes, HTMAXBUTTON,
       maximized && !designing ? twRestoreButtonNormal : twMaxButtonNormal, twMaxButtonNormal, &FMaxButtonRect},
      {sys && icons.Contains(biMinimize) && boxes, HTMINBUTTON,
       minimized && !designing && (IsMDIChild() || !mainForm) ? twRestoreButtonNormal : twMinButtonNormal,
       twMinButtonNormal, &FMinButtonRect},
      {sys && icons.Contains(biHelp) && ((!icons.Contains(biMaximize) && !icons.Contains(biMinimize)) || bs == bsDialog),
       HTHELP, twHelpButtonNormal, twHelpButtonNormal, &FHelpButtonRect}};
  const int bitmapWidth = FWidth;
  const TRect* previous = nullptr;
  for (const TSysButton& b : buttons) {
    if (!b.Shown) continue;
    const int state = FPressedButton == b.Code && FHotButton == b.Code ? 2
                      : FHotButton == b.Code                          ? 1
                      : FFormActive                                   ? 0
                                                                      : 3;
    TRect r;
    s->GetElementContentRect(nullptr, Details(b.Place), TRect(0, 0, FWidth, M.Top), r);
    r.Offset(0, FYOffset);
    if (!s->IsElementFixedPosition(Details(b.Element)) && maximized && !IsMDIChild() && !r.IsEmpty())
      r.Offset(-(FYOffset > 0 ? FXOffset - 1 : FXOffset), 0);
    if (Q > 96 && !r.IsEmpty()) {
      const int width = ::MulDiv(r.Width(), Q, 96), height = ::MulDiv(r.Height(), Q, 96);
      if (b.Code != HTCLOSE)
        r.Right = previous != nullptr ? previous->Left : bitmapWidth - ::MulDiv(bitmapWidth - r.Right, Q, 96);
      r.Left = r.Right - width;
      if (r.Top > 1 && !maximized) r.Top = ::MulDiv(r.Top, Q, 96);
      r.Bottom = r.Top + height;
    }
    s->DrawElement(Canvas->Handle(), Details(Offset(b.Element, state)), r, nullptr, Q);
    *b.Rect = r;
    previous = b.Rect;
    if (r.Left > 0) R.Right = std::min(R.Right, r.Left);
  }
}

void TkaFormStyleHook::PaintCaptionText(TCanvas* Canvas, TRect R, double S) {
  String text = FForm->Caption();
  if (text.empty() || R.IsEmpty()) return;
  TkaStyledForm* sf = StyledForm();
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX;
  if (sf == nullptr) {
    const TThemedWindow element = IsToolWindow() ? (FFormActive ? twSmallCaptionActive : twSmallCaptionInactive)
                                                 : (FFormActive ? twCaptionActive : twCaptionInactive);
    TRect r = R;
    StyleServices(FForm)->DrawText(Canvas->Handle(), Details(element), text, r, flags);
    return;
  }
  Canvas->Font()->Assign(sf->CaptionFont());
  Canvas->Font()->SetHeight(Round(sf->CaptionFont()->Height() * S));
  Canvas->Font()->SetColor(GetCaptionTextColor(FFormActive ? kasNormal : kasDisabled, FForm));
  ::SetBkMode(Canvas->Handle(), TRANSPARENT);
  if (Canvas->TextWidth(text) > R.Width()) {
    while (!text.empty() && Canvas->TextWidth(text + L"...") > R.Width()) text.pop_back();
    text += L"...";
  }
  R.Top -= FYOffset;
  if (sf->CaptionAlignment() == taRightJustify) flags |= DT_RIGHT;
  if (sf->CaptionAlignment() == taCenter) flags |= DT_CENTER;
  flags = BiDiTextFlags(flags, FForm->UseRightToLeftReading());
  TCanvasStateSaver keep(Canvas);
  Canvas->Brush()->SetStyle(bsClear);
  ::DrawTextW(Canvas->Handle(), text.c_str(), static_cast<int>(text.size()), R.AsRECT(), flags);
}

void TkaFormStyleHook::PaintFrame(TCanvas* Canvas, const TRect& M) {
  TCustomStyleServices* s = StyleServices(FForm);
  const bool tool = IsToolWindow();
  const int a = FFormActive ? 0 : 1;
  HDC dc = Canvas->Handle();
  const int w = FWidth, h = FHeight;
  s->DrawElement(dc, Details(Offset(tool ? twSmallFrameLeftActive : twFrameLeftActive, a)),
                 TRect(0, M.Top, M.Left, h - M.Bottom));
  s->DrawElement(dc, Details(Offset(tool ? twSmallFrameRightActive : twFrameRightActive, a)),
                 TRect(w - M.Right, M.Top, w, h - M.Bottom));
  const TThemedElementDetails bottom = Details(Offset(tool ? twSmallFrameBottomActive : twFrameBottomActive, a));
  if (IsMinimized() && Application != nullptr && Application->MainForm() != FForm) {
    RECT win{};
    ::GetWindowRect(Handle(), &win);
    const int W = win.right - win.left, H = win.bottom - win.top;
    const TRect clip(1, H - 3, W - 1, H);
    s->DrawElement(dc, bottom, TRect(-M.Left, H - M.Bottom, W + M.Right, H), &clip);
  } else {
    s->DrawElement(dc, bottom, TRect(0, h - M.Bottom, w, h));
  }
}

void TkaFormStyleHook::PaintCaption(TCanvas* Canvas, const TRect& M, double S, bool& IconDrawn, TRect& R) {
  const TRect b(0, FYOffset, FWidth, M.Top + FYOffset);
  PaintCaptionBackground(Canvas, M, b, S);
  R = b;
  PaintIcon(Canvas, M, b, S, IconDrawn, R);
  PaintSystemButtons(Canvas, M, Round(S * 96), R);
  if (IsMaximized() && !FForm->ComponentState().Contains(csDesigning) && !IsMDIChild() && FYOffset != 0 &&
      FForm->BorderIcons().Contains(biSystemMenu))
    R.Left += M.Left;
  FCaptionRect = R;
  if (IconDrawn) R.Left += 5;
  if (TkaStyledForm* sf = StyledForm()) DrawCaptionItems(sf, Canvas, R, b, FYOffset, IsMinimized());
  if (FForm->BorderStyle() == bsDialog && FForm->BorderIcons().Contains(biSystemMenu)) R.Left += 10;
  PaintCaptionText(Canvas, R, S);
}

void TkaFormStyleHook::PaintNC(TCanvas* Canvas) {
  const bool mainForm = Application != nullptr && Application->MainForm() == FForm;
  if ((IsMDIChild() && IsMaximized()) || (mainForm && IsMinimized())) return;
  const TRect m = GetBorderSize();
  if (FForm->BorderStyle() == bsNone) {
    if (FMainMenuBarHook) FMainMenuBarHook->Paint(Canvas);
    return;
  }
  TCustomStyleServices* s = StyleServices(FForm);
  if (s == nullptr || !s->Enabled() || s->IsSystemStyle() || FWidth <= 0 || m.Top <= 0) return;
  FCaptionRect = FCloseButtonRect = FHelpButtonRect = FMaxButtonRect = FMinButtonRect = FSysMenuButtonRect = TRect();
  TBitmap caption(FWidth, m.Top);
  bool iconDrawn = false;
  TRect r;
  PaintCaption(caption.Canvas(), m, Scale(), iconDrawn, r);
  ::BitBlt(Canvas->Handle(), 0, 0, FWidth, m.Top, caption.Canvas()->Handle(), 0, 0, SRCCOPY);
  if (FMainMenuBarHook) {
    TRect bar = FMainMenuBarHook->BoundsRect();
    if (bar.Right < FWidth - m.Right) bar.Right = FWidth - m.Right;
    FMainMenuBarHook->SetBoundsRect(bar);
    FMainMenuBarHook->Paint(Canvas);
  }
  PaintFrame(Canvas, m);
}
