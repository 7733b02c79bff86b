// The vector page control's mouse, keyboard and messages: the tab under the mouse, close
// buttons, dragging tabs into a new order, the wheel, arrow keys and accelerators.
#include <cstdlib>

#include "framework/Designer.h"
#include "framework/Forms.h"
#include "lib/kaGPPagers/kaGPPagers.h"

namespace {
// Pixels the mouse moves with the button down before a press becomes a drag.
constexpr int kDragThreshold = 3;
}  // namespace

// ---- Repainting parts -----------------------------------------------------------------------

void TkaGPPageControl::InvalidateTab(int Index) {
  if (!HandleAllocated() || FTabs == nullptr || Index < 0 || Index >= FTabs->Count()) return;
  TRect r = FTabs->Items(Index)->TabRect;
  if (r.IsEmpty()) return;
  // A selected shape tab covers the frame line under it.
  r.Bottom += 2 * FFrameWidth + 1;
  ::InvalidateRect(WindowHandle(), r.AsRECT(), FALSE);
}

// ---- Mouse ----------------------------------------------------------------------------------

void TkaGPPageControl::TrackMouse(int X, int Y) {
  int hot = -1;
  if (X >= FTabsLeftOffset && X < Width() - FTabsRightOffset)
    for (int i = 0; i < FTabs->Count() && hot < 0; ++i) {
      const TkaGPPageControlTab* t = FTabs->Items(i);
      if (t->FVisible && t->FEnabled && t->TabRect.Contains(TPoint(X, Y))) hot = i;
    }
  if (hot != FTabActive) {
    FOldTabActive = FTabActive;
    if (FOldTabActive >= 0 && FOldTabActive < FTabs->Count()) {
      TkaGPPageControlTab* old = FTabs->Items(FOldTabActive);
      old->Active = old->CloseButtonMouseIn = old->CloseButtonMouseDown = false;
      InvalidateTab(FOldTabActive);
    }
    FTabActive = hot;
    if (hot >= 0) {
      FTabs->Items(hot)->Active = true;
      InvalidateTab(hot);
    }
  }
  if (hot < 0 || !TabShowsCloseButton(hot)) return;
  TkaGPPageControlTab* tab = FTabs->Items(hot);
  const bool inside = tab->CloseButtonRect.Contains(TPoint(X, Y));
  if (inside && !tab->CloseButtonMouseIn) {
    tab->CloseButtonMouseIn = true;
    InvalidateTab(hot);
  } else if (!inside && (tab->CloseButtonMouseIn || tab->CloseButtonMouseDown)) {
    tab->CloseButtonMouseIn = tab->CloseButtonMouseDown = false;
    InvalidateTab(hot);
  }
}

void TkaGPPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  TrackMouse(X, Y);
  const int previous = FTabIndex;
  if (FTabActive >= 0 && FTabActive != FTabIndex) {
    SetTabIndex(FTabActive);
    FStopCloseTab = FShowCloseButtonOnActiveTabOnly;
    // In the designer, the page brought forward is a change of the form being designed.
    if (FTabIndex != previous) Designer::Modified(this);
  }
  if (!FStopSetFocus && !FSaveFocusOnActiveControl && !Focused() && FCanFocused && CanFocus()) SetFocus();
  FStopSetFocus = FSaveFocusOnActiveControl = false;
  PressCloseButton(X, Y, previous);
  FDragSourceTab = nullptr;
  FDragging = false;
  if (FEnableDragReorderTabs && FTabActive >= 0) {
    TkaGPPageControlTab* tab = FTabs->Items(FTabActive);
    if (!tab->CloseButtonMouseIn) {
      FDragSourceTab = tab;
      FDragStart = TPoint(X, Y);
    }
  }
}

void TkaGPPageControl::PressCloseButton(int X, int Y, int PreviousTabIndex) {
  if (FTabActive < 0 || Designing()) return;
  TkaGPPageControlTab* tab = FTabs->Items(FTabActive);
  // Judged by the selection before the press: a tab that only now became selected showed no
  // button to press.
  const bool showed = FShowCloseButtons && tab->FShowCloseButton &&
                      (!FShowCloseButtonOnActiveTabOnly || FTabActive == PreviousTabIndex);
  if (!showed) return;
  const bool inside = tab->CloseButtonRect.Contains(TPoint(X, Y));
  if (inside == tab->CloseButtonMouseDown && inside == tab->CloseButtonMouseIn) return;
  tab->CloseButtonMouseIn = tab->CloseButtonMouseDown = inside;
  InvalidateTab(FTabActive);
}

void TkaGPPageControl::StartDragIfMoved(int X, int Y) {
  if (FDragSourceTab == nullptr || FDragging) return;
  if (std::abs(X - FDragStart.X) >= kDragThreshold || std::abs(Y - FDragStart.Y) >= kDragThreshold) {
    FDragging = true;
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
  }
}

void TkaGPPageControl::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  TrackMouse(X, Y);
  if (Shift.Contains(ssLeft)) StartDragIfMoved(X, Y);
}

void TkaGPPageControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FDragging) {
    FDragging = false;
    DragDrop(this, X, Y);
    TrackMouse(X, Y);
    return;
  }
  FDragSourceTab = nullptr;
  if (FTabsRect.Contains(TPoint(X, Y)) && OnTabsAreaClick) OnTabsAreaClick(this);
  TrackMouse(X, Y);
  if (FTabActive >= 0 && FTabActive == FTabIndex && FTabs->Items(FTabActive)->OnClick)
    FTabs->Items(FTabActive)->OnClick(this);
  ReleaseCloseButton(X, Y);
  FStopCloseTab = false;
}

void TkaGPPageControl::ReleaseCloseButton(int X, int Y) {
  if (FTabActive < 0 || Designing() || !TabShowsCloseButton(FTabActive)) return;
  TkaGPPageControlTab* tab = FTabs->Items(FTabActive);
  if (tab->CloseButtonRect.Contains(TPoint(X, Y)) && !FStopCloseTab) {
    tab->CloseButtonMouseIn = true;
    tab->CloseButtonMouseDown = false;
    InvalidateTab(FTabActive);
    // Only the selected tab's page closes: a refused switch leaves another page selected.
    if (FTabActive == FTabIndex) DoClose();
  } else if (tab->CloseButtonMouseIn || tab->CloseButtonMouseDown) {
    tab->CloseButtonMouseIn = tab->CloseButtonMouseDown = false;
    InvalidateTab(FTabActive);
  }
}

// ---- Closing and reordering -----------------------------------------------------------------

void TkaGPPageControl::DoClose() {
  if (FActivePage == nullptr) return;
  TkaGPPageControlPage* page = FActivePage;
  bool canClose = true;
  if (OnClose) OnClose(page, canClose);
  if (!canClose) {
    if (!MouseInClient() && FTabActive >= 0 && FTabActive < FTabs->Count()) {
      TkaGPPageControlTab* hot = FTabs->Items(FTabActive);
      hot->CloseButtonMouseIn = hot->CloseButtonMouseDown = false;
      RePaintControl();
    }
    return;
  }
  const int index = FTabs->IndexOfPage(page);
  if (index < 0) return;
  FScrollOffset = 0;
  FTabs->Items(index)->SetVisible(false);
  if (!FFreeOnClose) return;
  FTabs->Delete(FTabs->IndexOfPage(page));
  if (FTabs->Count() == 0) {
    SetActivePage(nullptr);
    FTabIndex = -1;
    FTabActive = -1;
  }
}

bool TkaGPPageControl::DragOver(TObject* Source, int X, int Y) const {
  (void)X;
  (void)Y;
  return Source == this && FDragSourceTab != nullptr;
}

void TkaGPPageControl::DragDrop(TObject* Source, int X, int Y) {
  TkaGPPageControlTab* source = FDragSourceTab;
  FDragSourceTab = nullptr;
  if (Source != this || source == nullptr || source->Collection() != FTabs) return;
  const int target = TabFromPoint(TPoint(X, Y));
  if (target < 0 || FTabs->Items(target) == source) return;
  // The dragged tab takes the place it was dropped on; the page on screen stays, and the
  // selection follows it to its new index.
  source->SetIndex(target);
  FTabIndex = FTabs->IndexOfPage(FActivePage);
  if (FActivePage == nullptr) FTabIndex = source->Index();
  FTabActive = FOldTabActive = -1;
  for (int i = 0; i < FTabs->Count(); ++i) FTabs->Items(i)->Active = false;
  UpdateTabs();
}

// ---- Keyboard -------------------------------------------------------------------------------

void TkaGPPageControl::KeyDown(WORD& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  const bool reversed = ReversedOrder();
  switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
      if (FTabIndex >= 0 && FTabIndex < FTabs->Count() && FTabs->Items(FTabIndex)->OnClick)
        FTabs->Items(FTabIndex)->OnClick(this);
      break;
    case VK_PRIOR: reversed ? FindLastTab() : FindFirstTab(); break;
    case VK_NEXT: reversed ? FindFirstTab() : FindLastTab(); break;
    case VK_LEFT:
    case VK_UP: reversed ? FindNextTab() : FindPriorTab(); break;
    case VK_RIGHT:
    case VK_DOWN: reversed ? FindPriorTab() : FindNextTab(); break;
    default: break;
  }
}

bool TkaGPPageControl::DialogChar(TMessage& Message) {
  for (int i = 0; i < FTabs->Count(); ++i) {
    TkaGPPageControlTab* tab = FTabs->Items(i);
    if (!IsAccel(static_cast<WORD>(Message.WParam), tab->FCaption)) continue;
    if (tab->FPage != nullptr)
      SetActivePage(tab->FPage);
    else
      SetTabIndex(i);
    Message.Result = 1;
    return true;
  }
  return false;
}

void TkaGPPageControl::MouseWheel(TMessage& Message) {
  if (!FMouseWheelSupport) {
    inherited::Dispatch(Message);
    return;
  }
  const int delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
  const bool next = ReversedOrder() ? delta > 0 : delta < 0;
  next ? FindNextTab() : FindPriorTab();
  Message.Result = 1;
}

void TkaGPPageControl::FocusChanged(bool Gained) {
  if (Gained && FTransparentBackground) {
    FUpdateParentBuffer = true;
    if (DrawTextMode() == kadtmGDIPlus) {
      Invalidate();
      return;
    }
  }
  RePaintControl();
}

// ---- Messages -------------------------------------------------------------------------------

void TkaGPPageControl::Paint() {
  // Only the invalid part is drawn again (a hot tab changes only its own rectangle).
  TRect clip(0, 0, Width(), Height());
  RECT box;
  if (Canvas()->HandleAllocated() && ::GetClipBox(Canvas()->Handle(), &box) != ERROR) clip = TRect(box);
  FPaintClip = clip;
  struct TReset {
    TkaGPPageControl* Self;
    ~TReset() { Self->FPaintClip = TRect(0, 0, Self->Width(), Self->Height()); }
  } reset{this};
  inherited::Paint();
}

void TkaGPPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_MOUSEWHEEL: MouseWheel(Message); break;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; break;
    case CM_DIALOGCHAR:
      if (!DialogChar(Message)) inherited::Dispatch(Message);
      break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      UpdateTabs();
      break;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      TrackMouse(-1, -1);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      inherited::Dispatch(Message);
      FocusChanged(Message.Msg == WM_SETFOCUS);
      break;
    default: inherited::Dispatch(Message);
  }
}
