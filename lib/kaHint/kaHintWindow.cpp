// TkaHintWindow: sizing, placing, fading in and painting a hint.
#include <algorithm>

#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaHint/kaHint.h"

namespace {

// A plain hint's text sits at (2, 2); the window is the text plus these.
constexpr int kPlainMarginX = 6;
constexpr int kPlainMarginY = 4;
constexpr int kPlainTextOffset = 2;
// An extended hint: the title at (5, 3), the content under it, the picture at x 5 and the
// text at the picture's width + 10 (5 pixels right of the picture).
constexpr TPoint kTitlePos{5, 3};
constexpr int kTitleSpace = 10;    // height the title adds beyond its own
constexpr int kContentGap = 7;     // from the title's height to the content's top
constexpr int kImageLeft = 5;
constexpr int kImageSpace = 10;    // picture width to the text
constexpr int kImageMarginY = 5;   // content height beyond the picture's
constexpr int kNoImageSpace = 4;   // width an extended hint without a picture adds
// The themed tooltip background has a border of its own; drawn this much larger than the
// window it leaves only its face inside, and the frame is drawn over it.
constexpr int kThemedBackgroundOverhang = 4;

String ReplaceAll(String Text, const String& From, const String& To) {
  if (From.empty()) return Text;
  for (size_t at = Text.find(From); at != String::npos; at = Text.find(From, at + To.size()))
    Text.replace(at, From.size(), To);
  return Text;
}

// The extent of Text in Font, lines broken only where the text breaks them.
TSize MeasureText(TFont* Font, const String& Text) {
  TWindowDC dc(nullptr);
  TSelectObject selected(dc.Get(), Font->Handle());
  TRect r;
  ::DrawTextW(dc.Get(), Text.c_str(), -1, r.AsRECT(), DT_CALCRECT | DT_NOPREFIX);
  return TSize{r.Width(), r.Height()};
}

// An open uxtheme handle of a window's class, closed when it goes.
class TThemeHandle {
 public:
  TThemeHandle(HWND Wnd, const wchar_t* ClassList) : FTheme(::OpenThemeData(Wnd, ClassList)) {}
  ~TThemeHandle() {
    if (FTheme != nullptr) ::CloseThemeData(FTheme);
  }
  TThemeHandle(const TThemeHandle&) = delete;
  TThemeHandle& operator=(const TThemeHandle&) = delete;
  HTHEME Get() const { return FTheme; }

 private:
  HTHEME FTheme;
};

void FillVerticalGradient(HDC DC, const TRect& R, TColor Top, TColor Bottom) {
  const TColor a = ColorToRGB(Top), b = ColorToRGB(Bottom);
  TRIVERTEX v[2] = {
      {R.Left, R.Top, static_cast<COLOR16>(GetRValue(a) << 8), static_cast<COLOR16>(GetGValue(a) << 8),
       static_cast<COLOR16>(GetBValue(a) << 8), 0},
      {R.Right, R.Bottom, static_cast<COLOR16>(GetRValue(b) << 8), static_cast<COLOR16>(GetGValue(b) << 8),
       static_cast<COLOR16>(GetBValue(b) << 8), 0}};
  GRADIENT_RECT g{0, 1};
  ::GradientFill(DC, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

}  // namespace

TkaHintWindow::TkaHintWindow(TComponent* AOwner) : THintWindow(AOwner) {
  FHint = dynamic_cast<TkaHint*>(AOwner);
  FAppHint = FHint == nullptr;
}

void TkaHintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);
}

void TkaHintWindow::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImageList) FImageList = nullptr;
  if (AComponent == FHint && FAppHint) FHint = nullptr;
}

TkaHintSettings TkaHintWindow::Settings() const { return FHint != nullptr ? FHint->Settings() : TkaHintSettings(); }

void TkaHintWindow::UpdateFont() {
  TFont* font = Font();
  font->Assign(Screen->HintFont());
  if (TCustomForm* form = Screen->ActiveCustomForm()) {
    const int screenPpi = Screen->PixelsPerInch(), ppi = form->Monitor().PixelsPerInch();
    if (screenPpi > 0 && ppi != screenPpi) font->SetHeight(::MulDiv(font->Height(), ppi, screenPpi));
  }
}

TkaHintLayout TkaHintWindow::CalcLayout(const String& AText) const {
  TkaHintLayout l;
  TFont* font = Font();
  const TSize text = MeasureText(font, AText);
  l.Size = TSize{text.cx + kPlainMarginX, text.cy + kPlainMarginY};
  if (!FExtendedStyle) {
    l.TextRect = TRect(kPlainTextOffset, kPlainTextOffset, l.Size.cx, l.Size.cy);
    return l;
  }
  int contentTop = 0;
  if (!FTitle.empty()) {
    TFont bold;
    bold.Assign(font);
    bold.SetStyle(bold.Style() + TFontStyles{fsBold});
    const TSize title = MeasureText(&bold, FTitle);
    l.Size.cy += title.cy + kTitleSpace;
    // Measured like the text, so the title keeps the same room at its right end.
    l.Size.cx = std::max(l.Size.cx, title.cx + kPlainMarginX);
    l.TitleRect = Bounds(kTitlePos.X, kTitlePos.Y, title.cx, title.cy);
    contentTop = title.cy + kContentGap;
  }
  int textLeft = kImageLeft;
  l.HasImage = FImageList != nullptr && FImageIndex >= 0 && FImageIndex < FImageList->Count();
  if (l.HasImage) {
    l.Size.cx += FImageList->Width() + kImageSpace;
    l.Size.cy = std::max(l.Size.cy, contentTop + FImageList->Height() + kImageMarginY);
    textLeft = FImageList->Width() + kImageSpace;
  } else {
    l.Size.cx += kNoImageSpace;
  }
  const int contentHeight = l.Size.cy - contentTop;
  if (l.HasImage) l.ImagePos = TPoint(kImageLeft, contentTop + (contentHeight - FImageList->Height()) / 2);
  l.TextRect = Bounds(textLeft, contentTop + (contentHeight - text.cy) / 2, text.cx, text.cy);
  return l;
}

TRect TkaHintWindow::CalcHintRect(int, const String& AHint, void*) {
  UpdateFont();
  FExtendedStyle = false;
  const TkaHintLayout l = CalcLayout(ReplaceAll(AHint, Settings().LineSeparator, L"\r\n"));
  return TRect(0, 0, l.Size.cx, l.Size.cy);
}

// ---- Showing -----------------------------------------------------------------------------------

void TkaHintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  if (FAppHint) {
    ReplaceReference(FHint, TkaHint::ApplicationHint());
    ActivateAt(kaCursorHintAnchor(), AHint, false);
    return;
  }
  ActivateAt(TkaHintAnchor{TRect(Rect.Left, Rect.Top, Rect.Left, Rect.Top), false}, AHint, false);
}

void TkaHintWindow::ActivateHintFromRect(const TRect& ARect, const String& AHint, bool ATop) {
  ActivateAt(TkaHintAnchor{ARect, ATop}, AHint, false);
}

void TkaHintWindow::ActivateHintEx(const TRect& Rect, const String& AHintTitle, const String& AHint, int AImageIndex,
                                   TCustomImageList* AImageList) {
  ActivateAt(TkaHintAnchor{TRect(Rect.Left, Rect.Top, Rect.Left, Rect.Top), false}, AHint, true, AHintTitle,
             AImageIndex, AImageList);
}

void TkaHintWindow::ActivateAt(const TkaHintAnchor& Anchor, const String& AHint, bool Extended,
                               const String& AHintTitle, int AImageIndex, TCustomImageList* AImageList) {
  const TkaHintSettings settings = Settings();
  HandleNeeded();
  ::KillTimer(FHandle, kFadeTimerID);
  // A window left layered by the previous hint (or about to be layered again) starts over
  // opaque, so no alpha of the last hint shows while this one is placed.
  const LONG exStyle = ::GetWindowLongW(FHandle, GWL_EXSTYLE);
  if (FOldAlphaBlend || settings.AlphaBlend) ::SetWindowLongW(FHandle, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
  FOldAlphaBlend = settings.AlphaBlend;

  UpdateFont();
  FExtendedStyle = Extended;
  FTitle = Extended ? AHintTitle : String();
  FImageIndex = Extended ? AImageIndex : -1;
  ReplaceReference(FImageList, Extended ? AImageList : nullptr);
  const String text = ReplaceAll(AHint, settings.LineSeparator, L"\r\n");
  SetText(text);
  FLayout = CalcLayout(text);

  const TRect workArea = Screen->MonitorFromPoint(Anchor.Rect.TopLeft()).WorkareaRect();
  const TRect r = kaPlaceHint(FLayout.Size, Anchor, workArea);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());

  if (settings.AlphaBlend) {
    ::SetWindowLongW(FHandle, GWL_EXSTYLE, ::GetWindowLongW(FHandle, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(FHandle, 0, settings.AlphaBlendAnimation ? 0 : settings.AlphaBlendValue, LWA_ALPHA);
  }
  ::SetWindowPos(FHandle, HWND_TOPMOST, r.Left, r.Top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  FVisible = true;
  Invalidate();
  Update();
  if (settings.AlphaBlend && settings.AlphaBlendAnimation) StartFade(settings.AlphaBlendValue);
}

void TkaHintWindow::SetVisible(bool Value) {
  if (!Value && HandleAllocated()) ::KillTimer(FHandle, kFadeTimerID);
  inherited::SetVisible(Value);
}

void TkaHintWindow::StartFade(uint8_t Target) {
  FAnimationTarget = Target;
  FAnimationAlpha = 0;
  FAnimationStep = std::max(1, Target / 7);
  ::SetTimer(FHandle, kFadeTimerID, kFadeInterval, nullptr);
}

void TkaHintWindow::FadeStep() {
  if (!FVisible || !::IsWindowVisible(FHandle)) {
    ::KillTimer(FHandle, kFadeTimerID);
    return;
  }
  FAnimationAlpha = std::min<int>(FAnimationAlpha + FAnimationStep, FAnimationTarget);
  Invalidate();
  Update();
  ::SetLayeredWindowAttributes(FHandle, 0, static_cast<BYTE>(FAnimationAlpha), LWA_ALPHA);
  if (FAnimationAlpha >= FAnimationTarget) ::KillTimer(FHandle, kFadeTimerID);
}

void TkaHintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == kFadeTimerID) {
        FadeStep();
        return;
      }
      break;
    // Everything is painted in the client area, over a buffer that covers it.
    case WM_NCPAINT: Message.Result = 0; return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    default: break;
  }
  inherited::Dispatch(Message);
}

// ---- Painting ----------------------------------------------------------------------------------

void TkaHintWindow::PaintBackground(TCanvas* C, TColor& TextColor) {
  const TRect client = ClientRect();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(GetStyleSystemColor(clInfoBk, this));
  C->FillRect(client);
  TCustomStyleServices* services = StyleServices(this);
  if (!services->Enabled()) return;
  const TThemedElementDetails details = TCustomStyleServices::GetElementDetails(tttStandardNormal);
  if (!IsCustomStyleActive(this)) {
    if (WindowsMajorVersion() > 5) {
      TRect r = client;
      r.Inflate(kThemedBackgroundOverhang, kThemedBackgroundOverhang);
      services->DrawElement(C->Handle(), details, r);
    }
    return;
  }
  TColor top = clNone, bottom = clNone;
  if (!services->GetElementColor(details, ecGradientColor1, top)) top = GetStyleSystemColor(clInfoBk, this);
  if (!services->GetElementColor(details, ecGradientColor2, bottom)) bottom = GetStyleSystemColor(clInfoBk, this);
  FillVerticalGradient(C->Handle(), client, top, bottom);
  TColor text = clNone;
  if (services->GetElementColor(details, ecTextColor, text)) TextColor = text;
}

void TkaHintWindow::PaintFrame(TCanvas* C) {
  TRect r = ClientRect();
  HDC dc = C->Handle();
  TCustomStyleServices* services = StyleServices(this);
  if (services->Enabled()) {
    const TThemedElementDetails details = TCustomStyleServices::GetElementDetails(tttStandardNormal);
    if (IsCustomStyleActive(this)) {
      TColor border = clNone;
      if (services->GetElementColor(details, ecBorderColor, border)) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(border);
        C->FrameRect(r);
        return;
      }
    } else {
      TThemeHandle theme(FHandle, L"TOOLTIP");
      if (theme.Get() != nullptr &&
          SUCCEEDED(::DrawThemeEdge(theme.Get(), dc, details.Part, details.State, r.AsRECT(), BDR_RAISEDOUTER, BF_RECT,
                                    nullptr)))
        return;
    }
  }
  ::DrawEdge(dc, r.AsRECT(), BDR_RAISEDOUTER, BF_RECT);
}

void TkaHintWindow::Paint() {
  const TRect client = ClientRect();
  if (client.IsEmpty()) return;
  TBitmap buffer(client.Width(), client.Height());
  TCanvas* c = buffer.Canvas();
  TColor textColor = Font()->Color();
  PaintBackground(c, textColor);
  c->Font()->Assign(Font());
  c->Font()->SetColor(textColor);
  c->Brush()->SetStyle(bsClear);
  if (!FExtendedStyle) {
    TRect r(kPlainTextOffset, kPlainTextOffset, client.Right, client.Bottom);
    ::DrawTextW(c->Handle(), Text().c_str(), -1, r.AsRECT(),
                DT_WORDBREAK | DT_NOPREFIX | DrawTextBiDiModeFlagsReadingOnly());
  } else {
    if (!FTitle.empty()) {
      c->Font()->SetStyle(c->Font()->Style() + TFontStyles{fsBold});
      TRect r = FLayout.TitleRect;
      ::DrawTextW(c->Handle(), FTitle.c_str(), -1, r.AsRECT(), DT_NOPREFIX | DT_NOCLIP);
      c->Font()->Assign(Font());
      c->Font()->SetColor(textColor);
    }
    if (FLayout.HasImage && FImageList != nullptr) FImageList->Draw(c, FLayout.ImagePos.X, FLayout.ImagePos.Y, FImageIndex);
    c->Brush()->SetStyle(bsClear);
    TRect r = FLayout.TextRect;
    ::DrawTextW(c->Handle(), Text().c_str(), -1, r.AsRECT(),
                DT_NOPREFIX | DT_NOCLIP | DrawTextBiDiModeFlagsReadingOnly());
  }
  PaintFrame(c);
  ::BitBlt(Canvas()->Handle(), 0, 0, client.Width(), client.Height(), c->Handle(), 0, 0, SRCCOPY);
}
