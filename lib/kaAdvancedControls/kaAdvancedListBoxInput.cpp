// The list box's mouse, keyboard, wheel and timer handling.
#include "lib/kaAdvancedControls/kaAdvancedListBox.h"
#include "lib/kaAdvancedControls/kaScrollBar.h"
#include "lib/kaControls/kaFlagScope.h"

void TkaAdvancedListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      // Characters too: typing searches, so letters must not go to other controls'
      // accelerators.
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      break;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: WMPressFocus(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    case WM_SIZE: WMSizeList(Message); break;
    case WM_SETFOCUS: case WM_KILLFOCUS:
      inherited::Dispatch(Message);
      RePaintControl();
      break;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      ClearHotButton();
      break;
    default: inherited::Dispatch(Message); break;
  }
}

void TkaAdvancedListBox::WMPressFocus(TMessage& Message) {
  // A press first takes the focus; a list that cannot get it ignores the press.
  if (!FPopupMode && !ComponentState().Contains(csDesigning) && !Focused()) {
    if (CanFocus()) SetFocus();
    if (!Focused()) return;
  }
  inherited::Dispatch(Message);
}

void TkaAdvancedListBox::WMTimer(TMessage& Message) {
  if (Message.WParam == kaListAutoScrollTimerID)
    AutoScrollTick();
  else if (Message.WParam == kaListSearchTimerID)
    EndSearch();
  else
    inherited::Dispatch(Message);
}

void TkaAdvancedListBox::WMMouseWheel(TMessage& Message) {
  Message.Result = 1;
  if (FVertScrollBar == nullptr) return;
  const short delta = static_cast<short>(HIWORD(Message.WParam));
  const int step = FVertScrollBar->SmallChange();
  FVertScrollBar->SetPosition(FVertScrollBar->Position() + (delta < 0 ? step : -step));
}

void TkaAdvancedListBox::WMSizeList(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Height() != FOldHeight) {
    // A taller view pulls the content down rather than leave room under the last row.
    CalcItemRects();
    const int old = FScrollOffset;
    ClampScrollOffset();
    if (old != FScrollOffset) RePaintControl();
  }
  UpdateScrollInfo();
  FOldHeight = Height();
}

// ---- Mouse ----------------------------------------------------------------------------------

TRect TkaAdvancedListBox::ItemButtonRect(int Index) {
  if (Index < 0 || Index >= FItems->Count()) return TRect();
  TkaAdvancedListItem* item = FItems->Items(Index);
  if (!item->HasVisibleButton()) return TRect();
  EnsureLayout();
  const TRect row = RowRectOf(item);
  if (row.IsEmpty()) return TRect();
  TkaListBoxButton* b = item->Button();
  const int inset = 2 + (SelectionStyle() == kaastGlow ? SelectionGlow()->GlowSize() / 2 : 2);
  const int bw = Round(b->Width() * ScaleFactor()), bh = Round(b->Height() * ScaleFactor());
  const int top = row.Top + row.Height() / 2 - bh / 2;
  if (UseRightToLeftAlignment()) return TRect(row.Left + inset + 2, top, row.Left + inset + 2 + bw, top + bh);
  return TRect(row.Right - inset - bw - 2, top, row.Right - inset - 2, top + bh);
}

bool TkaAdvancedListBox::InCheckColumn(int Index, int X) {
  const TkaAdvancedListItem* item = FItems->Items(Index);
  const TRect row = RowRectOf(item);
  FCheckOffset = CheckColumnWidth(nullptr) + (FStyle == kaalbsPlain ? 2 : 10);
  const int indent = item->FIndent * FIndentMargin;
  if (UseRightToLeftAlignment()) return X <= row.Right - indent && X >= row.Right - indent - FCheckOffset;
  return X >= row.Left + indent && X <= row.Left + indent + FCheckOffset;
}

void TkaAdvancedListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  HideHints();
  const int row = ItemAtPos(X, Y);
  if (row < 0 || FItems->Items(row)->FHeader) return;
  if (Button == mbRight) {
    if (FRightClickSupport && !(row != FItemIndex && CheckIsReadOnly())) SetItemIndex(row);
    return;
  }
  if (Button == mbLeft) MouseDownLeft(Shift, row, X, Y);
}

void TkaAdvancedListBox::MouseDownLeft(TShiftState Shift, int Row, int X, int Y) {
  if (Row != FItemIndex && CheckIsReadOnly()) return;
  FSelectedAtPress = FItemIndex;
  SelectWithoutEvents(Row);
  FMouseDown = true;
  FMouseActive = Row;
  FPressOnRow = true;
  TkaAdvancedListItem* item = FItems->Items(Row);
  if (item->HasVisibleButton() && item->Button()->Enabled() && ItemButtonRect(Row).Contains(TPoint(X, Y))) {
    item->Button()->Down = true;
    item->Button()->MouseIn = true;
    FOldButtonActive = FPressedButtonIndex = Row;
    RePaintRow(Row);
    return;
  }
  if (Shift.Contains(ssDouble) && OnItemDblClick) {
    StopAutoScroll();
    FMouseDown = false;
    FPressOnRow = false;
    if (TNotifyEvent onDblClick = OnItemDblClick) onDblClick(this);
  }
}

void TkaAdvancedListBox::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  CalcItemRects();
  if (Y >= FItemsRect.Top && Y < FItemsRect.Bottom) {
    StopAutoScroll();
    const int row = ItemAtPos(X, Y);
    if (row >= 0 && !FItems->Items(row)->FHeader && row != FMouseActive && (FMouseDown || FMouseMoveChangeIndex) &&
        !(row != FItemIndex && CheckIsReadOnly())) {
      SelectWithoutEvents(row);
      if (FMouseDown) FMouseActive = row;
    }
  } else if (FMouseDown) {
    StartAutoScroll(Y < FItemsRect.Top ? 1 : 2);
  }
  UpdateHotButton(X, Y);
}

void TkaAdvancedListBox::UpdateHotButton(int X, int Y) {
  const int row = ItemAtPos(X, Y);
  const bool over = row >= 0 && FItems->Items(row)->HasVisibleButton() && FItems->Items(row)->Button()->Enabled() &&
                    ItemButtonRect(row).Contains(TPoint(X, Y));
  if (!over) {
    if (FOldButtonActive >= 0 && FOldButtonActive < FItems->Count()) {
      TkaListBoxButton* b = FItems->Items(FOldButtonActive)->Button();
      if (b->MouseIn) {
        b->MouseIn = false;
        RePaintRow(FOldButtonActive);
      }
    }
    return;
  }
  if (FOldButtonActive != row) ClearHotButton();
  TkaListBoxButton* b = FItems->Items(row)->Button();
  FOldButtonActive = row;
  if (b->MouseIn) return;
  b->MouseIn = true;
  RePaintRow(row);
}

void TkaAdvancedListBox::ClearHotButton() {
  const int row = FOldButtonActive;
  FOldButtonActive = -1;
  if (row < 0 || row >= FItems->Count() || !FItems->Items(row)->HasVisibleButton()) return;
  TkaListBoxButton* b = FItems->Items(row)->Button();
  if (!b->MouseIn && !b->Down) return;
  b->MouseIn = false;
  b->Down = false;
  RePaintRow(row);
}

void TkaAdvancedListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  FMouseDown = false;
  StopAutoScroll();
  if (Button == mbLeft) MouseUpLeft(X, Y);
  FPressedButtonIndex = -1;
  FPressOnRow = false;
}

void TkaAdvancedListBox::MouseUpLeft(int X, int Y) {
  const int row = ItemAtPos(X, Y);
  if (row >= 0 && !FItems->Items(row)->FHeader && !(row != FItemIndex && CheckIsReadOnly())) SelectWithoutEvents(row);
  const int pressed = FPressedButtonIndex;
  const bool checkRelease = FShowCheckBoxes && row >= 0 && row == FItemIndex && row == FSelectedAtPress;
  if (FPressOnRow) {
    FPressOnRow = false;
    FireItemClick(FItemIndex);
  }
  // Handlers may have removed rows: every index is checked again.
  if (checkRelease && row < FItems->Count() && InCheckColumn(row, X)) {
    TkaAdvancedListItem* item = FItems->Items(row);
    item->SetChecked(!item->Checked());
    if (TNotifyEvent onCheck = item->OnCheckClick) onCheck(item);
    if (TNotifyEvent onItemCheck = OnItemCheckClick) onItemCheck(this);
  }
  if (pressed < 0 || pressed >= FItems->Count() || !FItems->Items(pressed)->HasVisibleButton()) return;
  TkaAdvancedListItem* item = FItems->Items(pressed);
  const bool inside = pressed == row && item->Button()->Enabled() && ItemButtonRect(pressed).Contains(TPoint(X, Y));
  item->Button()->Down = false;
  RePaintRow(pressed);
  if (!inside) return;
  if (TNotifyEvent onButton = item->OnButtonClick) onButton(item);
  if (TNotifyEvent onItemButton = OnItemButtonClick) onItemButton(this);
}

void TkaAdvancedListBox::StartAutoScroll(int Mode) {
  if (FTimerMode == Mode || !HandleAllocated()) return;
  FTimerMode = Mode;
  ::SetTimer(WindowHandle(), kaListAutoScrollTimerID, 50, nullptr);
}

void TkaAdvancedListBox::StopAutoScroll() {
  if (FTimerMode == 0) return;
  FTimerMode = 0;
  if (HandleAllocated()) ::KillTimer(WindowHandle(), kaListAutoScrollTimerID);
}

void TkaAdvancedListBox::AutoScrollTick() {
  if (!FMouseDown || FTimerMode == 0) {
    StopAutoScroll();
    return;
  }
  const int row = FTimerMode == 1 ? FindPrevIndex(FItemIndex) : FindNextIndex(FItemIndex);
  if (row >= 0 && !CheckIsReadOnly()) {
    SelectWithoutEvents(row);
    FMouseActive = row;
  }
}

// ---- Keyboard -------------------------------------------------------------------------------

void TkaAdvancedListBox::SelectByKey(int Index) {
  if (Index < 0) return;
  TkaFlagScope keys(FKeyHandling);
  SetItemIndex(Index);
}

void TkaAdvancedListBox::KeyDown(WORD& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  switch (Key) {
    case VK_UP: case VK_LEFT: SelectByKey(FindPrevIndex(FItemIndex)); break;
    case VK_DOWN: case VK_RIGHT: SelectByKey(FindNextIndex(FItemIndex)); break;
    case VK_PRIOR: SelectByKey(FindPageUpIndex(FItemIndex)); break;
    case VK_NEXT: SelectByKey(FindPageDownIndex(FItemIndex)); break;
    case VK_HOME: SelectByKey(FindFirstIndex()); break;
    case VK_END: SelectByKey(FindLastIndex()); break;
    default: break;
  }
}

void TkaAdvancedListBox::KeyUp(WORD& Key, TShiftState Shift) {
  inherited::KeyUp(Key, Shift);
  if (Key != VK_SPACE || !FShowCheckBoxes || FItemIndex < 0 || FItemIndex >= FItems->Count()) return;
  TkaAdvancedListItem* item = FItems->Items(FItemIndex);
  item->SetChecked(!item->Checked());
  if (TNotifyEvent onItemCheck = OnItemCheckClick) onItemCheck(this);
}

void TkaAdvancedListBox::KeyPress(wchar_t& Key) {
  inherited::KeyPress(Key);
  if (Key > 33) TypeSearch(Key);
}

void TkaAdvancedListBox::TypeSearch(wchar_t Key) {
  int row = -1;
  if (FAutoComplete) {
    FSearchString += Key;
    // Only rows that can be selected are found, so a disabled or hidden match does not
    // hide a later one.
    row = FindSelectableByPrefix(FSearchString);
    if (HandleAllocated()) {
      ::SetTimer(WindowHandle(), kaListSearchTimerID, 1000, nullptr);
      FSearchTimerEnabled = true;
    }
  } else {
    row = NextIndex(String(1, Key));
  }
  SelectByKey(row);
}

void TkaAdvancedListBox::EndSearch() {
  if (HandleAllocated()) ::KillTimer(WindowHandle(), kaListSearchTimerID);
  FSearchTimerEnabled = false;
  FSearchString.clear();
}
