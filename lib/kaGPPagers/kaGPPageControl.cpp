// The vector page control: construction, properties, page switching and the life of pages.
#include <algorithm>

#include "framework/Forms.h"
#include "framework/TypeInfo.h"
#include "lib/kaGPPagers/kaGPPagers.h"

// ---- Construction ---------------------------------------------------------------------------

TkaGPPageControl::TkaGPPageControl(TComponent* AOwner)
    : TkaCustomControl(AOwner),
      FTabOptions(new TkaGPTabOptions(this)),
      FTabCloseButtonOptions(new TkaGPTabCloseButtonOptions(this)),
      FTabs(new TkaGPPageControlTabs(this)),
      FTabGlowEffect(new TkaButtonGlowEffect(this)) {
  FControlStyle.Include(csAcceptsControls);
  FColor = clBtnFace;
  SetParentBackground(false);
  FParentColor = false;
  FTransparentBackground = false;
  FTabStop = true;
  FWidth = 300;
  FHeight = 150;
  FTabGlowEffect->SetStates({kasFocused});
  FTabOptions->OnChange = [this](TObject*) { OptionsChanged(); };
  FTabCloseButtonOptions->OnChange = [this](TObject*) { OptionsChanged(); };
  FTabGlowEffect->OnChange = [this](TObject*) { OptionsChanged(); };
}

TkaGPPageControl::~TkaGPPageControl() {
  FComponentState.Include(csDestroying);
  // The pages outlive this part of the control (they belong to the form, and the windowed
  // control frees its children later): they must not call back into it.
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* page = dynamic_cast<TkaGPPageControlPage*>(Controls(i)); page != nullptr && page->Pager() == this)
      page->SetPager(nullptr);
  TkaGPPageControlTabs* tabs = FTabs;
  FTabs = nullptr;
  tabs->Free();
  FTabOptions->Free();
  FTabCloseButtonOptions->Free();
  FTabGlowEffect->Free();
}

void TkaGPPageControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // A resize repaints only what it uncovers; the page covers the rest.
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TkaGPPageControl::OptionsChanged() {
  if (!Loading()) RePaintControl();
}

bool TkaGPPageControl::ReversedOrder() const {
  return BiDiMode() == bdRightToLeft || FTabSequence == kagptsReverse;
}

bool TkaGPPageControl::TabShowsCloseButton(int Index) const {
  if (FTabs == nullptr || Index < 0 || Index >= FTabs->Count()) return false;
  return FShowCloseButtons && FTabs->Items(Index)->FShowCloseButton &&
         (!FShowCloseButtonOnActiveTabOnly || Index == FTabIndex);
}

// ---- Pages ----------------------------------------------------------------------------------

TRect TkaGPPageControl::PageBounds() const {
  const int t = FTabHeight + FTabsTopOffset, fw = FFrameWidth, r = FFrameRadius;
  const int w = Width(), h = Height();
  switch (FBorderStyle) {
    case kagpbsFrame: {
      TRect b = Bounds(fw, t + fw, w - 2 * fw, h - t - 2 * fw);
      if (r > 0) b = Bounds(b.Left + r / 2, b.Top + r / 2, b.Width() - r, b.Height() - r);
      return b;
    }
    case kagpbsLine: return Bounds(0, t + fw, w, h - t - fw);
    case kagpbsLineTopBottom: return Bounds(0, t + fw, w, h - t - 2 * fw);
    default: return Bounds(0, t, w, h - t);
  }
}

void TkaGPPageControl::PlaceActivePage() {
  if (FActivePage != nullptr && FActivePage->Parent() == this)
    FActivePage->SetBounds(FActivePage->Left(), FActivePage->Top(), FActivePage->Width(), FActivePage->Height());
}

void TkaGPPageControl::PlaceAllPages() {
  for (int i = 0; i < FTabs->Count(); ++i)
    if (TkaGPPageControlPage* p = FTabs->Items(i)->FPage; p != nullptr && p->Parent() == this)
      p->SetBounds(p->Left(), p->Top(), p->Width(), p->Height());
}

TkaGPPageControlPage* TkaGPPageControl::CreatePage() {
  auto* page = Construct<TkaGPPageControlPage>(Owner());
  try {
    // Hidden until a switch shows it, so a page made for a new tab never shows beside the
    // current one.
    page->SetVisible(false);
    page->SetParent(this);
    page->Font()->Assign(Font());
    page->SetPager(this);
    page->SetBounds(0, 0, 0, 0);
    String name = L"kaGPPageControlPage1";
    if (Owner() != nullptr)
      for (int i = 1; Owner()->FindComponent(name = Format(L"kaGPPageControlPage%d", i)) != nullptr; ++i) {
      }
    page->SetName(name);
  } catch (...) {
    page->Free();
    throw;
  }
  return page;
}

void TkaGPPageControl::SetActivePage(TkaGPPageControlPage* Value) {
  if (Loading()) {
    FLoadedActivePage = Value;
    return;
  }
  if (Value == nullptr) {
    if (FActivePage != nullptr) FActivePage->SetVisible(false);
    FActivePage = nullptr;
    SetTabIndex(-1);
    return;
  }
  const int index = FTabs->IndexOfPage(Value);
  if (index >= 0) FTabs->Items(index)->FVisible = true;
  SetTabIndex(index);
}

void TkaGPPageControl::ShowControl(TControl* AControl) {
  if (auto* page = dynamic_cast<TkaGPPageControlPage*>(AControl); page != nullptr && page->Pager() == this)
    SetActivePage(page);
  inherited::ShowControl(AControl);
}

// ---- Switching ------------------------------------------------------------------------------

bool TkaGPPageControl::ReleaseFocusFromActivePage() {
  // The page lives on this control, so its form is this control's.
  return FActivePage == nullptr || ReleaseFocusFrom(FActivePage);
}

void TkaGPPageControl::SetTabIndex(int Value) {
  if (Loading()) {
    FLoadedTabIndex = Value;
    FTabIndex = Value;
    return;
  }
  if (Value == -1) {
    FTabIndex = -1;
    LayoutTabs();
    RePaintControl();
    return;
  }
  if (Value < 0 || Value >= FTabs->Count()) return;
  if (OnCanChangePage) {
    bool canChange = true;
    OnCanChangePage(Value, canChange);
    if (!canChange) return;
  }
  if (Value != FTabIndex && !Designing() && !ReleaseFocusFromActivePage()) {
    FStopSetFocus = true;
    return;
  }
  if (Value >= FTabs->Count()) return;  // a handler above removed tabs
  FTabs->Items(Value)->FVisible = true;
  SwitchTo(Value);
  // Close buttons may come and go with the selection.
  LayoutTabs();
  RePaintControl();
}

void TkaGPPageControl::SwitchTo(int Index) {
  TkaGPPageControlPage* page = FTabs->Items(Index)->FPage;
  if (Index == FTabIndex) {
    if (page != nullptr && !page->Visible()) page->SetVisible(true);
    if (page != nullptr) FActivePage = page;
    return;
  }
  const int oldIndex = FTabIndex;
  TkaGPPageControlPage* previous = FActivePage;
  FTabIndex = Index;
  if (OnChangingPage) OnChangingPage(this);
  if (Index >= FTabs->Count()) return;
  page = FTabs->Items(Index)->FPage;
  // Shown and in front before the old page goes: the control's own face never shows.
  if (page != nullptr) {
    page->SetParent(this);
    page->SetVisible(true);
    page->BringToFront();
    FActivePage = page;
    PlaceActivePage();
  }
  if (FScrollVisible) ScrollToTab(Index);
  if (oldIndex >= 0 && oldIndex < FTabs->Count()) {
    TkaGPPageControlPage* old = FTabs->Items(oldIndex)->FPage;
    if (old != nullptr && old != page) old->SetVisible(false);
  }
  // A page that was on screen without being at the old index (its tab went away).
  if (previous != nullptr && previous != page && previous->Parent() == this) previous->SetVisible(false);
  if (OnChangePage) OnChangePage(this);
}

int TkaGPPageControl::FindNextTabFromIndex(int AIndex) const {
  if (AIndex < 0) return -1;
  for (int i = AIndex + 1; i < FTabs->Count(); ++i)
    if (FTabs->Items(i)->FVisible && FTabs->Items(i)->FEnabled) return i;
  return -1;
}

int TkaGPPageControl::FindPriorTabFromIndex(int AIndex) const {
  if (AIndex < 0) return -1;
  for (int i = std::min(AIndex, FTabs->Count()) - 1; i >= 0; --i)
    if (FTabs->Items(i)->FVisible && FTabs->Items(i)->FEnabled) return i;
  return -1;
}

void TkaGPPageControl::FindNextTab() {
  // With nothing selected the first tab is the next one.
  if (FTabIndex < 0) {
    FindFirstTab();
    return;
  }
  const int i = FindNextTabFromIndex(FTabIndex);
  if (i >= 0) SetTabIndex(i);
}

void TkaGPPageControl::FindPriorTab() {
  const int i = FindPriorTabFromIndex(FTabIndex);
  if (i >= 0) SetTabIndex(i);
}

void TkaGPPageControl::FindFirstTab() {
  for (int i = 0; i < FTabs->Count(); ++i)
    if (FTabs->Items(i)->FVisible && FTabs->Items(i)->FEnabled) {
      SetTabIndex(i);
      return;
    }
}

void TkaGPPageControl::FindLastTab() {
  for (int i = FTabs->Count() - 1; i >= 0; --i)
    if (FTabs->Items(i)->FVisible && FTabs->Items(i)->FEnabled) {
      SetTabIndex(i);
      return;
    }
}

void TkaGPPageControl::SelectNeighbourOf(int Index) {
  int next = -1;
  for (int i = std::max(Index, 0); i < FTabs->Count() && next < 0; ++i)
    if (FTabs->Items(i)->FVisible && FTabs->Items(i)->FEnabled) next = i;
  if (next < 0) next = FindPriorTabFromIndex(std::min(Index, FTabs->Count()));
  if (next < 0) {
    // Nothing left to show: nothing is selected.
    FTabIndex = -1;
    return;
  }
  // Forced: the index may already be the neighbour's after a removal.
  FTabIndex = -1;
  SetTabIndex(next);
}

void TkaGPPageControl::TabVisibilityChanged(TkaGPPageControlTab* Tab) {
  if (Loading() || FTabs == nullptr || Tab->FPage == nullptr || Tab->FPage != FActivePage) return;
  TkaGPPageControlPage* page = Tab->FPage;
  SelectNeighbourOf(Tab->Index());
  if (FTabIndex < 0 || FTabs->Items(FTabIndex) == Tab) {
    FTabIndex = -1;
    FActivePage = nullptr;
  }
  page->SetVisible(false);
  UpdateScrollButtons();
}

void TkaGPPageControl::TabDeleted(int Index, bool WasSelected, bool WasBefore) {
  if (WasBefore)
    --FTabIndex;
  else if (WasSelected && !Designing() && !Loading())
    SelectNeighbourOf(Index);
  if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
  FTabActive = FOldTabActive = -1;
  RelayoutFromStart();
}

void TkaGPPageControl::PageDestroying(TkaGPPageControlPage* APage) {
  const TComponentState s = ComponentState();
  if (FTabs == nullptr || s.Contains(csLoading) || s.Contains(csDestroying) || s.Contains(csReading) ||
      s.Contains(csWriting) || s.Contains(csUpdating))
    return;
  if (FActivePage == APage) FActivePage = nullptr;
  const int index = FTabs->IndexOfPage(APage);
  if (index < 0) {
    if (FTabs->Count() > 0) SetTabIndex(std::min(FTabIndex, FTabs->Count() - 1));
  } else {
    const bool selected = index == FTabIndex, before = index < FTabIndex;
    TkaGPPageControlTab* tab = FTabs->Items(index);
    tab->FPage = nullptr;
    tab->Free();
    TabDeleted(index, selected, before);
  }
  RelayoutFromStart();
}

void TkaGPPageControl::Loaded() {
  inherited::Loaded();
  // Whatever the order of TabIndex, ActivePage and the tabs in the layout: the active page
  // named, else the tab index named.
  int index = FTabs->IndexOfPage(FLoadedActivePage);
  if (index < 0 && FLoadedTabIndex < FTabs->Count()) index = FLoadedTabIndex;
  FLoadedActivePage = nullptr;
  FLoadedTabIndex = -1;
  FTabIndex = index;
  FActivePage = index >= 0 ? FTabs->Items(index)->FPage : nullptr;
  for (int i = 0; i < FTabs->Count(); ++i) {
    TkaGPPageControlPage* page = FTabs->Items(i)->FPage;
    if (page == nullptr) continue;
    page->SetPager(this);
    page->SetVisible(page == FActivePage);
  }
  FScrollOffset = 0;
  LayoutTabs();
  ScrollToTab(FTabIndex);
  UpdateScrollButtons();
  PlaceActivePage();
}

void TkaGPPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FActivePage) FActivePage = nullptr;
  if (AComponent == FLoadedActivePage) FLoadedActivePage = nullptr;
  if (AComponent == FTabImages) FTabImages = nullptr;
  if (AComponent == FLeftScrollButton) FLeftScrollButton = nullptr;
  if (AComponent == FRightScrollButton) FRightScrollButton = nullptr;
  if (FTabs == nullptr) return;
  for (int i = 0; i < FTabs->Count(); ++i)
    if (FTabs->Items(i)->FPage == AComponent) FTabs->Items(i)->FPage = nullptr;
}

// ---- Properties -----------------------------------------------------------------------------

void TkaGPPageControl::SetTabMargin(int Value) {
  if (Value <= 0 || Value == FTabMargin) return;
  FTabMargin = Value;
  UpdateTabs();
}

void TkaGPPageControl::SetTabWidth(int Value) {
  if (Value < 0 || Value == FTabWidth) return;
  FTabWidth = Value;
  UpdateTabs();
}

void TkaGPPageControl::SetTabTextActiveBold(bool Value) {
  if (Value == FTabTextActiveBold) return;
  FTabTextActiveBold = Value;
  UpdateTabs();
}

void TkaGPPageControl::SetTabImages(TCustomImageList* Value) {
  if (!ReplaceReference(FTabImages, Value)) return;
  UpdateTabs();
}

void TkaGPPageControl::SetTabSequence(TkaGPTabSequence Value) {
  FTabSequence = Value;
  UpdateTabs();
}

void TkaGPPageControl::SetStretchTabs(bool Value) {
  if (Value == FStretchTabs) return;
  FStretchTabs = Value;
  if (Value) FTabWidth = 0;
  UpdateTabs();
}

void TkaGPPageControl::SetTabTextMargin(int Value) {
  if (Value < 0 || Value == FTabTextMargin) return;
  FTabTextMargin = Value;
  if (FTabWidth == 0) UpdateTabs();
}

namespace {
// Stores a changed value; true when it changed.
template <class T>
bool Store(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

void TkaGPPageControl::SetTabSpacing(int Value) {
  if (Value > 0 && Store(FTabSpacing, Value)) RePaintControl();
}
void TkaGPPageControl::SetFrameColor(TColor Value) {
  if (Store(FFrameColor, Value)) RePaintControl();
}
void TkaGPPageControl::SetFrameColorAlpha(uint8_t Value) {
  if (Store(FFrameColorAlpha, Value)) RePaintControl();
}
void TkaGPPageControl::SetShowInActiveTab(bool Value) {
  if (Store(FShowInActiveTab, Value)) RePaintControl();
}
void TkaGPPageControl::SetShowFocusRect(bool Value) {
  if (Store(FShowFocusRect, Value)) RePaintControl();
}
void TkaGPPageControl::SetShowCloseButtonOnActiveTabOnly(bool Value) {
  if (Store(FShowCloseButtonOnActiveTabOnly, Value)) RePaintControl();
}

void TkaGPPageControl::SetFrameWidth(int Value) {
  if (!Store(FFrameWidth, Value)) return;
  RePaintControl();
  PlaceActivePage();
}
void TkaGPPageControl::SetFrameRadius(int Value) {
  if (!Store(FFrameRadius, Value)) return;
  RePaintControl();
  PlaceActivePage();
}
void TkaGPPageControl::SetBorderStyle(TkaGPTabControlBorderStyle Value) {
  if (!Store(FBorderStyle, Value)) return;
  RePaintControl();
  PlaceActivePage();
}
void TkaGPPageControl::SetTabsTopOffset(int Value) {
  if (!Store(FTabsTopOffset, Value)) return;
  RePaintControl();
  PlaceActivePage();
}

void TkaGPPageControl::SetTabHeight(int Value) {
  if (!Store(FTabHeight, Value)) return;
  PlaceAllPages();
  RePaintControl();
  UpdateScrollButtons();
}

void TkaGPPageControl::SetTabsLeftOffset(int Value) {
  if (Value < 0 || !Store(FTabsLeftOffset, Value)) return;
  RePaintControl();
  UpdateScrollButtons();
  ScrollToTab(FTabIndex);
}
void TkaGPPageControl::SetTabsRightOffset(int Value) {
  if (Value < 0 || !Store(FTabsRightOffset, Value)) return;
  RePaintControl();
  UpdateScrollButtons();
  ScrollToTab(FTabIndex);
}

void TkaGPPageControl::SetShowCloseButtons(bool Value) {
  if (!Store(FShowCloseButtons, Value)) return;
  CalcScrollVisible();
  UpdateScrollButtons();
  RePaintControl();
}
void TkaGPPageControl::SetScrollButtonWidth(int Value) {
  if (Value < 20 || !Store(FScrollButtonWidth, Value)) return;
  CalcScrollVisible();
  UpdateScrollButtons();
  RePaintControl();
}

void TkaGPPageControl::SetScrollButtonArrowColor(TColor Value) {
  if (Store(FScrollButtonArrowColor, Value)) UpdateScrollButtons();
}
void TkaGPPageControl::SetScrollButtonArrowThickness(uint8_t Value) {
  if (Value != 0 && Store(FScrollButtonArrowThickness, Value)) UpdateScrollButtons();
}
void TkaGPPageControl::SetScrollButtonColor(TColor Value) {
  if (Store(FScrollButtonColor, Value)) UpdateScrollButtons();
}
void TkaGPPageControl::SetScrollButtonTransparent(bool Value) {
  if (Store(FScrollButtonTransparent, Value)) UpdateScrollButtons();
}

void TkaGPPageControl::SetTabsBGFillColor(TColor Value) {
  if (!Store(FTabsBGFillColor, Value)) return;
  RePaintControl();
  UpdateControls();
}
void TkaGPPageControl::SetTabsBGFillColorAlpha(uint8_t Value) {
  if (!Store(FTabsBGFillColorAlpha, Value)) return;
  RePaintControl();
  UpdateControls();
}
void TkaGPPageControl::SetFrameBGFillColor(TColor Value) {
  if (!Store(FFrameBGFillColor, Value)) return;
  RePaintControl();
  UpdateControls();
}
void TkaGPPageControl::SetFrameBGFillColorAlpha(uint8_t Value) {
  if (!Store(FFrameBGFillColorAlpha, Value)) return;
  RePaintControl();
  UpdateControls();
}

void TkaGPPageControl::SetTransparentBackground(bool Value) {
  if (Value == FTransparentBackground) return;
  FTransparentBackground = Value;
  CaptureParentBackground();
  RePaintControl();
}

void TkaGPPageControl::UpdateControls() {
  if (FFullUpdating) {
    inherited::UpdateControls();
    return;
  }
  // The pages cover the page area and draw their own background: they need no notice.
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (dynamic_cast<TkaGPPageControlPage*>(c) != nullptr) continue;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (w->HandleAllocated()) ::SendMessageW(w->WindowHandle(), WM_PARENTBGCHANGED, 0, 0);
    } else {
      c->Perform(WM_PARENTBGCHANGED, 0, 0);
    }
  }
}

// ---- Published properties -------------------------------------------------------------------

KA_REGISTER_ENUM(TkaGPTabControlBorderStyle, {{L"kagpbsFrame", kagpbsFrame},
                                              {L"kagpbsLine", kagpbsLine},
                                              {L"kagpbsLineTopBottom", kagpbsLineTopBottom},
                                              {L"kagpbsNone", kagpbsNone}});
KA_REGISTER_ENUM(TkaGPTabSequence, {{L"kagptsDefault", kagptsDefault}, {L"kagptsReverse", kagptsReverse}});

using TPgc = TkaGPPageControl;
#define KA_PGC(Name) c.Property(L## #Name, &TPgc::Name, &TPgc::Set##Name)
KA_REGISTER_CLASS(TkaGPPageControl, [](auto& c) {
  KA_PGC(CanFocused);
  KA_PGC(DrawTextMode);
  KA_PGC(EnableDragReorderTabs);
  KA_PGC(TabsBGFillColor);
  KA_PGC(TabsBGFillColorAlpha);
  KA_PGC(TransparentBackground);
  KA_PGC(FrameWidth);
  KA_PGC(FrameRadius);
  KA_PGC(FrameScaleWidth);
  KA_PGC(FrameColor);
  KA_PGC(FrameColorAlpha);
  KA_PGC(FrameBGFillColor);
  KA_PGC(FrameBGFillColorAlpha);
  KA_PGC(BorderStyle);
  KA_PGC(MouseWheelSupport);
  KA_PGC(ShowFocusRect);
  KA_PGC(ShowInActiveTab);
  KA_PGC(ShowCloseButtons);
  KA_PGC(ShowCloseButtonOnActiveTabOnly);
  KA_PGC(TabsLeftOffset);
  KA_PGC(TabsRightOffset);
  KA_PGC(TabsTopOffset);
  c.Property(L"TabGlowEffect", &TPgc::TabGlowEffect);
  c.Property(L"TabOptions", &TPgc::TabOptions);
  c.Property(L"TabCloseButtonOptions", &TPgc::TabCloseButtonOptions);
  KA_PGC(TabSpacing);
  KA_PGC(TabMargin);
  KA_PGC(TabWidth);
  KA_PGC(TabTextMargin);
  KA_PGC(TabTextActiveBold);
  KA_PGC(StretchTabs);
  KA_PGC(TabSequence);
  KA_PGC(ScrollButtonWidth);
  KA_PGC(ScrollButtonArrowColor);
  KA_PGC(ScrollButtonArrowThickness);
  KA_PGC(ScrollButtonColor);
  KA_PGC(ScrollButtonTransparent);
  KA_PGC(TabHeight);
  KA_PGC(Tabs);
  KA_PGC(TabIndex);
  KA_PGC(ActivePage);
  KA_PGC(TabImages);
  KA_PGC(StorePaintBuffer);
  KA_PGC(FreeOnClose);
  c.Property(L"OnChangingPage", &TPgc::OnChangingPage);
  c.Property(L"OnChangePage", &TPgc::OnChangePage);
  c.Property(L"OnCanChangePage", &TPgc::OnCanChangePage);
  c.Property(L"OnClose", &TPgc::OnClose);
  c.Property(L"OnGetTabDrawParams", &TPgc::OnGetTabDrawParams);
  c.Property(L"OnGetTabImage", &TPgc::OnGetTabImage);
  c.Property(L"OnTabsAreaClick", &TPgc::OnTabsAreaClick);
});
#undef KA_PGC
