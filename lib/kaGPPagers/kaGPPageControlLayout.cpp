// The tab row of the vector page control: tab widths, their places (scrolled, stretched,
// reversed), the arrow buttons of a row that does not fit, and the reaction to size and
// scale changes.
#include <algorithm>
#include <cmath>
#include <vector>

#include "lib/kaGPPagers/kaGPPagers.h"

namespace {
constexpr UINT_PTR kScaleTimerID = 1;
constexpr UINT kScaleTimerMs = 100;
}  // namespace

TCanvas* TkaGPPageControl::MeasureCanvas() {
  // The control's own canvas has a device context only while it paints; captions are
  // measured on a small bitmap of the same font instead.
  if (!FMeasureBitmap) FMeasureBitmap = std::make_unique<TBitmap>(1, 1);
  TCanvas* c = FMeasureBitmap->Canvas();
  c->Font()->Assign(Font());
  if (FTabTextActiveBold) c->Font()->SetStyle(c->Font()->Style() + TFontStyles{fsBold});
  return c;
}

void TkaGPPageControl::ImageOf(int Index, TCustomImageList*& List, int& ImageIndex) const {
  List = FTabImages;
  ImageIndex = FTabs->Items(Index)->FImageIndex;
  if (OnGetTabImage) OnGetTabImage(Index, List, ImageIndex);
}

bool TkaGPPageControl::HasImage(int Index, TCustomImageList*& List, int& ImageIndex) const {
  ImageOf(Index, List, ImageIndex);
  return List != nullptr && ImageIndex >= 0 && ImageIndex < List->Count();
}

int TkaGPPageControl::NaturalTabWidth(int Index, TCanvas* C) {
  if (FTabWidth > 0) return FTabWidth;
  if (OnGetTabDrawParams) {
    // The handler may change the font for this tab alone.
    C = MeasureCanvas();
    OnGetTabDrawParams(Index, kasNormal, C);
  }
  const TkaGPPageControlTab* tab = FTabs->Items(Index);
  RECT r{0, 0, 0, 0};
  if (!tab->FCaption.empty())
    ::DrawTextW(C->Handle(), tab->FCaption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  int w = r.right - r.left;
  const int m = 2 * FTabMargin + 2 * FTabTextMargin;
  w += m > 8 ? m : 10;
  TCustomImageList* list = nullptr;
  int image = -1;
  if (HasImage(Index, list, image)) w += FTabSpacing + list->Width();
  if (FShowCloseButtons && tab->FShowCloseButton) w += FCloseButtonSize + 6;
  return w;
}

std::vector<int> TkaGPPageControl::LayoutWidths() {
  const int count = FTabs->Count();
  std::vector<int> widths(count, 0);
  if (FTabWidth > 0) {
    for (int i = 0; i < count; ++i)
      if (FTabs->Items(i)->FVisible) widths[i] = FTabWidth;
    return widths;
  }
  // Each caption is measured once per layout.
  TCanvas* c = MeasureCanvas();
  int naturalSum = 0;
  for (int i = 0; i < count; ++i)
    if (FTabs->Items(i)->FVisible) naturalSum += widths[i] = NaturalTabWidth(i, c);
  if (!FStretchTabs) return widths;
  const int room = Width() - FTabsLeftOffset - FTabsRightOffset;
  for (int i = 0; i < count; ++i) {
    if (!FTabs->Items(i)->FVisible || naturalSum <= 0) continue;
    // Too narrow for the natural widths: equal shares (of all tabs, hidden ones counted).
    if (Width() < naturalSum)
      widths[i] = room / count;
    else
      widths[i] = static_cast<int>(std::trunc(static_cast<double>(room) / naturalSum * widths[i]));
  }
  return widths;
}

void TkaGPPageControl::CalcScrollVisible(const std::vector<int>& Widths) {
  int sum = 0;
  for (int w : Widths) sum += w;
  FScrollVisible = Width() - FTabsRightOffset < FTabsLeftOffset + sum;
}

void TkaGPPageControl::CalcScrollVisible() {
  if (FTabs != nullptr) CalcScrollVisible(LayoutWidths());
}

void TkaGPPageControl::LayoutTabs() {
  if (FTabs == nullptr) return;
  const std::vector<int> widths = LayoutWidths();
  CalcScrollVisible(widths);
  const int b = ScrollButtonSpace();
  const bool reversed = ReversedOrder(), rtl = BiDiMode() == bdRightToLeft;
  const int leftLimit = b + FTabsLeftOffset, rightLimit = Width() - FTabsRightOffset - b;
  const int top = FTabsTopOffset, bottom = FTabsTopOffset + FTabHeight;
  FLeftTabIndex = FRightTabIndex = -1;
  int x = reversed ? Width() + FScrollOffset - FTabsRightOffset - b : FTabsLeftOffset - FScrollOffset + b;
  for (int i = 0; i < FTabs->Count(); ++i) {
    TkaGPPageControlTab* tab = FTabs->Items(i);
    tab->CloseButtonRect = TRect();
    if (!tab->FVisible) {
      tab->TabRect = TRect();
      continue;
    }
    const int w = widths[i];
    tab->TabRect = reversed ? TRect(x - w, top, x, bottom) : TRect(x, top, x + w, bottom);
    x += reversed ? -w : w;
    const TRect& r = tab->TabRect;
    if (r.Left < leftLimit && (!reversed || FLeftTabIndex < 0)) FLeftTabIndex = i;
    if (r.Right > rightLimit && (reversed || FRightTabIndex < 0)) FRightTabIndex = i;
    if (TabShowsCloseButton(i)) {
      // The close area is at the tab's far end (its start when reading right to left).
      const int area = FCloseButtonSize + 15;
      const int aLeft = rtl ? r.Left : r.Right - area;
      const int cx = aLeft + area / 2 - FCloseButtonSize / 2;
      const int cy = r.Top + r.Height() / 2 + FFrameWidth - FCloseButtonSize / 2;
      tab->CloseButtonRect = Bounds(cx, cy, FCloseButtonSize, FCloseButtonSize);
    }
  }
}

int TkaGPPageControl::TabFromPoint(TPoint P) const {
  for (int i = 0; i < FTabs->Count(); ++i)
    if (FTabs->Items(i)->FVisible && FTabs->Items(i)->TabRect.Contains(P)) return i;
  return -1;
}

void TkaGPPageControl::ScrollToTab(int Index) {
  if (FTabs == nullptr || Index < 0 || Index >= FTabs->Count() || !FTabs->Items(Index)->FVisible) return;
  const bool reversed = ReversedOrder();
  const int b = ScrollButtonSpace();
  const TRect r = FTabs->Items(Index)->TabRect;
  int offset = FScrollOffset;
  if (r.Left < b + FTabsLeftOffset) {
    // Just far enough for the tab to start beside the left arrow.
    const int d = b + FTabsLeftOffset - r.Left;
    offset += reversed ? d : -d;
  } else {
    const int e = Width() - FTabsRightOffset;
    if (e - b >= r.Right) return;
    offset += reversed ? e - b - r.Right : b + r.Right - e;
  }
  offset = std::max(offset, 0);
  if (offset == FScrollOffset) return;
  FScrollOffset = offset;
  LayoutTabs();
  RePaintControl();
}

void TkaGPPageControl::ScrollLeft() {
  LayoutTabs();
  if (FLeftTabIndex >= 0) ScrollToTab(FLeftTabIndex);
}

void TkaGPPageControl::ScrollRight() {
  LayoutTabs();
  if (FRightTabIndex >= 0) ScrollToTab(FRightTabIndex);
}

void TkaGPPageControl::ScrollButtonClick(TObject* Sender) {
  if (Sender == FRightScrollButton)
    ScrollRight();
  else
    ScrollLeft();
}

void TkaGPPageControl::UpdateScrollButtons() {
  if (FTabsScaling || FTabs == nullptr || ComponentState().Contains(csDestroying)) return;
  if (!FScrollVisible) {
    FreeAndNil(FLeftScrollButton);
    FreeAndNil(FRightScrollButton);
    return;
  }
  bool created = false;
  for (TkaGPTabScrollButton** button : {&FLeftScrollButton, &FRightScrollButton}) {
    if (*button != nullptr) continue;
    const bool right = button == &FRightScrollButton;
    auto* b = Construct<TkaGPTabScrollButton>(this, FScrollButtonColor, FScrollButtonArrowColor,
                                              FScrollButtonArrowThickness, FScrollButtonTransparent);
    b->FRight = right;
    b->GlyphOptions()->SetKind(right ? kagpbgkRightArrow : kagpbgkLeftArrow);
    b->OnClick = [this](TObject* Sender) { ScrollButtonClick(Sender); };
    b->SetParent(this);
    // An opaque arrow sits on the strip in the strip's colour.
    b->SetParentColor(true);
    *button = b;
    created = true;
  }
  FLeftScrollButton->UpdateOptions(FScrollButtonColor, FScrollButtonArrowColor, FScrollButtonArrowThickness,
                                   FScrollButtonTransparent);
  FRightScrollButton->UpdateOptions(FScrollButtonColor, FScrollButtonArrowColor, FScrollButtonArrowThickness,
                                    FScrollButtonTransparent);
  FLeftScrollButton->SetBounds(FTabsLeftOffset, FTabsTopOffset, FScrollButtonWidth, FTabHeight);
  FRightScrollButton->SetBounds(Width() - FTabsRightOffset - FScrollButtonWidth, FTabsTopOffset, FScrollButtonWidth,
                                FTabHeight);
  if (created && !Loading()) RePaintControl();
}

void TkaGPPageControl::UpdateTabs() {
  if (FTabs == nullptr || Loading() || ComponentState().Contains(csDestroying)) return;
  FScrollOffset = 0;
  LayoutTabs();
  ScrollToTab(FTabIndex);
  UpdateScrollButtons();
  RePaintControl();
}

void TkaGPPageControl::RelayoutFromStart() { UpdateTabs(); }

void TkaGPPageControl::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FTabs == nullptr) return;
  const int w = Width();
  if (FOldWidth >= 0 && w != FOldWidth) {
    const bool wasVisible = FScrollVisible;
    CalcScrollVisible();
    UpdateScrollButtons();
    if (FScrollOffset > 0) FScrollOffset = std::max(0, FScrollOffset + FOldWidth - w);
    if (wasVisible != FScrollVisible) {
      FScrollOffset = 0;
      LayoutTabs();
      ScrollToTab(FTabIndex);
    }
  }
  FOldWidth = w;
  // Its height follows the control's whichever side moved.
  if (FTabs->Count() > 0) PlaceActivePage();
  RePaintControl();
}

void TkaGPPageControl::ChangeScale(int M, int D, bool isDpiChange) {
  auto scale = [M, D](int v) { return ::MulDiv(v, M, D); };
  if (FFrameScaleWidth) FFrameWidth = scale(FFrameWidth);
  if (FFrameRadius > 0) FFrameRadius = scale(FFrameRadius);
  if (FTabWidth > 0) FTabWidth = scale(FTabWidth);
  if (FTabTextMargin > 0) FTabTextMargin = scale(FTabTextMargin);
  // A shape tab's frame lines up with the page frame, which scales only on request.
  FTabOptions->Scale(M, D, FTabOptions->TabStyle() != gptsShape || FFrameScaleWidth);
  FCloseButtonSize = scale(FCloseButtonSize);
  FTabMargin = scale(FTabMargin);
  FScrollButtonWidth = scale(FScrollButtonWidth);
  FTabsTopOffset = scale(FTabsTopOffset);
  FTabsLeftOffset = scale(FTabsLeftOffset);
  FTabsRightOffset = scale(FTabsRightOffset);
  FTabHeight = scale(FTabHeight);
  const bool runTime = !Designing() && !Loading();
  // The arrow buttons stay while the children are scaled; the row is laid out once after.
  if (runTime) FTabsScaling = true;
  inherited::ChangeScale(M, D, isDpiChange);
  if (!runTime) return;
  if (HandleAllocated() && ::SetTimer(WindowHandle(), kScaleTimerID, kScaleTimerMs, nullptr) != 0) return;
  FTabsScaling = false;
  UpdateTabs();
}

void TkaGPPageControl::WMTimer(TMessage& Message) {
  if (Message.WParam != kScaleTimerID) {
    inherited::Dispatch(Message);
    return;
  }
  ::KillTimer(WindowHandle(), kScaleTimerID);
  FTabsScaling = false;
  UpdateTabs();
  PlaceAllPages();
}
