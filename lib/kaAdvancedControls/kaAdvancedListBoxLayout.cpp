// The list box's row layout, scrolling, selection and searching. The layout is a walk over the
// rows done only when rows were added, removed, moved or re-filtered; everything else (paints,
// hit tests, scrolling, key moves) finds rows by binary search in it.
#include <algorithm>
#include <vector>

#include "lib/kaAdvancedControls/kaAdvancedListBox.h"
#include "lib/kaAdvancedControls/kaScrollBar.h"
#include "lib/kaControls/kaFlagScope.h"

namespace {

// Lower case of every UTF-16 code unit, as the system lower-cases text; built once, so the row
// walks compare without making lower-cased copies.
const wchar_t* FoldTable() {
  static const std::vector<wchar_t> table = [] {
    std::vector<wchar_t> t(65536);
    for (size_t i = 0; i < t.size(); ++i) t[i] = static_cast<wchar_t>(i);
    ::CharLowerBuffW(t.data(), static_cast<DWORD>(t.size()));
    return t;
  }();
  return table.data();
}

inline wchar_t Fold(const wchar_t* Table, wchar_t C) { return Table[static_cast<uint16_t>(C)]; }

String Folded(const String& S) {
  const wchar_t* t = FoldTable();
  String r = S;
  for (wchar_t& c : r) c = Fold(t, c);
  return r;
}

// Text compared with an already folded pattern.
bool StartsWithFolded(const String& Text, const String& Pattern) {
  if (Pattern.size() > Text.size()) return false;
  const wchar_t* t = FoldTable();
  for (size_t i = 0; i < Pattern.size(); ++i)
    if (Fold(t, Text[i]) != Pattern[i]) return false;
  return true;
}

bool EqualsFolded(const String& Text, const String& Pattern) {
  return Text.size() == Pattern.size() && StartsWithFolded(Text, Pattern);
}

bool ContainsFolded(const String& Text, const String& Pattern) {
  const size_t m = Pattern.size(), n = Text.size();
  if (m == 0) return true;
  if (m > n) return false;
  const wchar_t* t = FoldTable();
  for (size_t i = 0; i + m <= n; ++i) {
    if (Fold(t, Text[i]) != Pattern[0]) continue;
    size_t k = 1;
    while (k < m && Fold(t, Text[i + k]) == Pattern[k]) ++k;
    if (k == m) return true;
  }
  return false;
}

enum { kCaption, kTitle, kDetail };

const String& FieldOf(const TkaAdvancedListItem* Item, int Field) {
  return Field == kTitle ? Item->Title() : Field == kDetail ? Item->Detail() : Item->Caption();
}

}  // namespace

// ---- Layout ---------------------------------------------------------------------------------

void TkaAdvancedListBox::InvalidateLayout() {
  FLayoutValid = false;
  FPendingAppend = nullptr;
}

bool TkaAdvancedListBox::PassesFilter(const TkaAdvancedListItem* Item) const {
  if (Item->FHeader || FFoldedFilter.empty()) return true;
  return ContainsFolded(Item->FCaption, FFoldedFilter) ||
         (FShowItemTitles && ContainsFolded(Item->FTitle, FFoldedFilter)) ||
         (FShowItemDetails && ContainsFolded(Item->FDetail, FFoldedFilter));
}

void TkaAdvancedListBox::RebuildLayout() {
  const int count = FItems->Count();
  FRows.clear();
  int y = 0;
  bool alternate = false;
  for (int i = 0; i < count; ++i) {
    TkaAdvancedListItem* item = FItems->Items(i);
    item->FFilterVisible = PassesFilter(item);
    if (!item->FFilterVisible) continue;
    item->FAlternate = alternate;
    item->FLayoutTop = y;
    y += RowHeight(item);
    FRows.push_back(i);
    alternate = item->FHeader ? false : !alternate;
  }
  FContentHeight = y;
  FLayoutValid = true;
  FPendingAppend = nullptr;
}

bool TkaAdvancedListBox::AppendPendingRow() {
  TkaAdvancedListItem* item = FPendingAppend;
  FPendingAppend = nullptr;
  const int last = FItems->Count() - 1;
  if (item == nullptr || !FLayoutValid || last < 0 || FItems->Items(last) != item ||
      (!FRows.empty() && FRows.back() >= last))
    return false;
  item->FFilterVisible = PassesFilter(item);
  if (!item->FFilterVisible) return true;
  bool alternate = false;
  if (!FRows.empty()) {
    const TkaAdvancedListItem* previous = FItems->Items(FRows.back());
    alternate = previous->FHeader ? false : !previous->FAlternate;
  }
  item->FAlternate = alternate;
  item->FLayoutTop = FContentHeight;
  FContentHeight += RowHeight(item);
  FRows.push_back(last);
  return true;
}

void TkaAdvancedListBox::EnsureLayout() {
  FItemsRect = GetContentRect();
  if (!FLayoutValid) RebuildLayout();
}

size_t TkaAdvancedListBox::RowAtOffset(int Offset) const {
  // Rows are contiguous: the first whose bottom lies below Offset.
  auto it = std::partition_point(FRows.begin(), FRows.end(), [&](int Row) {
    const TkaAdvancedListItem* item = FItems->Items(Row);
    return item->FLayoutTop + RowHeight(item) <= Offset;
  });
  return static_cast<size_t>(it - FRows.begin());
}

size_t TkaAdvancedListBox::RowPosition(int Index) const {
  return static_cast<size_t>(std::lower_bound(FRows.begin(), FRows.end(), Index) - FRows.begin());
}

void TkaAdvancedListBox::CalcItemRects() {
  if (FItemIndex > FItems->Count() - 1) FItemIndex = -1;
  EnsureLayout();
  FMax = FItemsRect.Top + FContentHeight;
  FRealMax = 0;
  // The last row whose top lies above the view's bottom, when its bottom reaches the view.
  const int viewHeight = FItemsRect.Height();
  auto after = std::partition_point(FRows.begin(), FRows.end(), [&](int Row) {
    return FItems->Items(Row)->FLayoutTop < FScrollOffset + viewHeight;
  });
  if (after == FRows.begin()) return;
  const TkaAdvancedListItem* last = FItems->Items(*(after - 1));
  const int bottom = last->FLayoutTop + RowHeight(last);
  if (bottom >= FScrollOffset) FRealMax = FItemsRect.Top + bottom - FScrollOffset;
}

TRect TkaAdvancedListBox::ItemsRect() {
  CalcItemRects();
  return FItemsRect;
}

int TkaAdvancedListBox::VisibleRowCount() {
  EnsureLayout();
  return static_cast<int>(FRows.size());
}

TRect TkaAdvancedListBox::RowRectOf(const TkaAdvancedListItem* Item) const {
  if (!Item->FFilterVisible) return TRect();
  const int top = FItemsRect.Top + Item->FLayoutTop - FScrollOffset;
  return TRect(FItemsRect.Left, top, FItemsRect.Right, top + RowHeight(Item));
}

TRect TkaAdvancedListBox::RowRect(int Index) {
  if (Index < 0 || Index >= FItems->Count()) return TRect();
  EnsureLayout();
  return RowRectOf(FItems->Items(Index));
}

void TkaAdvancedListBox::ClampScrollOffset() {
  const int overflow = std::max(0, FContentHeight - std::max(0, FItemsRect.Height()));
  FScrollOffset = std::clamp(FScrollOffset, 0, overflow);
}

// ---- Changes of the rows --------------------------------------------------------------------

void TkaAdvancedListBox::ItemCreated(TkaAdvancedListItem* Item) {
  // Outside an update an Add is reported at once: the new row is laid out on its own then.
  if (FItems->UpdateCount() == 0 && FLayoutValid && FPendingAppend == nullptr)
    FPendingAppend = Item;
  else
    InvalidateLayout();
}

void TkaAdvancedListBox::ItemRemoved(int Index) {
  if (FDestroying || FSorting) return;
  InvalidateLayout();
  // The selection stays with its row; a removed selected row leaves none.
  if (Index >= 0 && FItemIndex == Index)
    FItemIndex = -1;
  else if (Index >= 0 && FItemIndex > Index)
    --FItemIndex;
  FMouseActive = FOldButtonActive = FPressedButtonIndex = FSelectedAtPress = -1;
  FPressOnRow = false;
  if (Index >= 0) RowsShifted(Index, -1);
}

void TkaAdvancedListBox::ItemInserted(int Index) {
  InvalidateLayout();
  if (FItemIndex >= Index) ++FItemIndex;
  FMouseActive = FOldButtonActive = FPressedButtonIndex = FSelectedAtPress = -1;
  FPressOnRow = false;
  RowsShifted(Index, 1);
}

void TkaAdvancedListBox::CollectionUpdated(TkaAdvancedListItem* Item) {
  if (FDestroying) return;
  if (Item == nullptr && !AppendPendingRow()) InvalidateLayout();
  if (FItemIndex > FItems->Count() - 1) FItemIndex = -1;
  if (InUpdateItems()) return;
  // A change of one row's look repaints that row alone.
  if (Item != nullptr && FLayoutValid) {
    RePaintItem(Item);
    return;
  }
  RowsChanged();
}

void TkaAdvancedListBox::RowsChanged() {
  if (InUpdateItems() || FDestroying) return;
  CalcItemRects();
  ClampScrollOffset();
  UpdateScrollInfo();
  RePaintControl();
}

void TkaAdvancedListBox::SetFilter(const String& Value) {
  if (FFilter == Value) return;
  FFilter = Value;
  FFoldedFilter = Folded(Value);
  FScrollOffset = 0;
  InvalidateLayout();
  RowsChanged();
}

// ---- Scrolling ------------------------------------------------------------------------------

void TkaAdvancedListBox::GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition) {
  CalcItemRects();
  AMin = 0;
  AMax = FMax - FItemsRect.Top - 1;
  APage = FItemsRect.Height();
  // AMax is the last pixel row of the content: a content taller than the view by even one
  // pixel needs the bar.
  if (APage > AMax) AMax = APage = 0;
  APosition = FScrollOffset;
}

void TkaAdvancedListBox::UpdateScrollInfo() {
  if (InUpdateItems() || !HandleAllocated() || FDestroying) return;
  int mn = 0, mx = 0, page = 0, position = 0;
  GetScrollInfo(mn, mx, page, position);
  SetVertScrollInfo(mx, page, position, FItemHeight);
}

void TkaAdvancedListBox::VertScrollBarMoved(int Position) {
  if (FVertScrollBar == nullptr) return;
  Scroll(std::min(Position, FVertScrollBar->Max() - FVertScrollBar->PageSize() + 1));
}

void TkaAdvancedListBox::ContentRectChanged() {
  PlaceScrollBars();
  if (!FChangingScrollInfo) {
    CalcItemRects();
    ClampScrollOffset();
    UpdateScrollInfo();
  }
  RePaintControl();
}

void TkaAdvancedListBox::Scroll(int AScrollOffset) {
  CalcItemRects();
  const int old = FScrollOffset;
  FScrollOffset = AScrollOffset;
  ClampScrollOffset();
  UpdateScrollInfo();
  if (old != FScrollOffset) RePaintControl();
}

bool TkaAdvancedListBox::ScrollIntoView(int Index) {
  if (Index < 0 || Index >= FItems->Count()) return false;
  CalcItemRects();
  const TkaAdvancedListItem* item = FItems->Items(Index);
  const int old = FScrollOffset;
  // A row the filter hides has no place to scroll to.
  if (item->FFilterVisible) {
    const TRect r = RowRectOf(item);
    const int top = r.Top + FScrollOffset, bottom = r.Bottom + FScrollOffset;
    if (FItemsRect.Top >= r.Top) {
      FScrollOffset = top - FItemsRect.Top;
      // The header above the second row stays in view.
      if (Index == 1 && FItems->Items(0)->FHeader) FScrollOffset = 0;
    } else if (r.Bottom >= FItemsRect.Bottom) {
      FScrollOffset = bottom - FItemsRect.Bottom;
    }
    ClampScrollOffset();
  }
  UpdateScrollInfo();
  if (old == FScrollOffset) return false;
  RePaintControl();
  return true;
}

void TkaAdvancedListBox::ScrollToItem(int Index) { ScrollIntoView(Index); }

// ---- Repainting parts -----------------------------------------------------------------------

void TkaAdvancedListBox::RePaintRect(const TRect& R) {
  if (!HandleAllocated() || InUpdateItems() || R.IsEmpty()) return;
  TkaFlagScope stopErase(FStopEraseBackground);
  TkaFlagScope forceDraw(FForceDraw);
  ::InvalidateRect(WindowHandle(), R.AsRECT(), FALSE);
  ::UpdateWindow(WindowHandle());
}

void TkaAdvancedListBox::RePaintItem(const TkaAdvancedListItem* Item) {
  if (!HandleAllocated() || InUpdateItems()) return;
  FItemsRect = GetContentRect();
  const TRect r = IntersectRect(RowRectOf(Item), FItemsRect);
  RePaintRect(r);
}

void TkaAdvancedListBox::RePaintRow(int Index) {
  if (Index < 0 || Index >= FItems->Count()) return;
  EnsureLayout();
  RePaintItem(FItems->Items(Index));
}

// ---- Selection ------------------------------------------------------------------------------

bool TkaAdvancedListBox::IsSelectable(int Index) const {
  if (Index < 0 || Index >= FItems->Count()) return false;
  const TkaAdvancedListItem* item = FItems->Items(Index);
  return item->FEnabled && !item->FHeader && item->FFilterVisible;
}

void TkaAdvancedListBox::FireItemClick(int Index) {
  if (FClicksDisabled || Index < 0 || Index >= FItems->Count()) return;
  TkaAdvancedListItem* item = FItems->Items(Index);
  // Copies: a handler may replace the handlers.
  if (TNotifyEvent onClick = item->OnClick) onClick(item);
  if (TNotifyEvent onItemClick = OnItemClick) onItemClick(this);
  DoItemClick(Index);
}

bool TkaAdvancedListBox::SelectWithoutEvents(int Index) {
  if (Index == FItemIndex || Index < 0 || Index >= FItems->Count()) return false;
  const int old = FItemIndex;
  FItemIndex = Index;
  if (ScrollIntoView(Index)) return true;
  if (old < 0) {
    RePaintControl();  // the focus frame leaves the first row
  } else {
    RePaintRow(old);
    RePaintRow(Index);
  }
  return true;
}

void TkaAdvancedListBox::SetItemIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    FLoadedItemIndex = Value;
    return;
  }
  const int count = FItems->Count();
  if (Value > count - 1 || Value < 0) {
    // Out of range: ignored, but a stale selection goes; negative: deselect.
    if (FItemIndex != -1 && (Value < 0 || FItemIndex > count - 1)) {
      FItemIndex = -1;
      RePaintControl();
    }
    return;
  }
  const TkaAdvancedListItem* item = FItems->Items(Value);
  if (item->FHeader || !item->FEnabled || Value == FItemIndex) return;
  if (FKeyHandling && CheckIsReadOnly()) return;
  SelectWithoutEvents(Value);
  if (!ComponentState().Contains(csDesigning) && !FMouseDown) FireItemClick(Value);
}

void TkaAdvancedListBox::InitItemIndex(int Value) {
  if (Value < 0 || Value >= FItems->Count()) {
    if (FItemIndex == -1) return;
    FItemIndex = -1;
    RePaintControl();
    return;
  }
  const TkaAdvancedListItem* item = FItems->Items(Value);
  if (item->FHeader || !item->FEnabled) return;
  SelectWithoutEvents(Value);
}

int TkaAdvancedListBox::PageRows() { return std::max(1, FItemsRect.Height() / std::max(1, FItemHeight)); }

int TkaAdvancedListBox::FindPrevIndex(int From) {
  EnsureLayout();
  if (From < 1) return -1;
  for (size_t p = std::min(RowPosition(From), FRows.size()); p > 0; --p)
    if (IsSelectable(FRows[p - 1])) return FRows[p - 1];
  return -1;
}

int TkaAdvancedListBox::FindNextIndex(int From) {
  EnsureLayout();
  for (size_t p = From < 0 ? 0 : RowPosition(From + 1); p < FRows.size(); ++p)
    if (IsSelectable(FRows[p])) return FRows[p];
  return -1;
}

int TkaAdvancedListBox::FindFirstIndex() { return FindNextIndex(-1); }

int TkaAdvancedListBox::FindLastIndex() {
  EnsureLayout();
  for (size_t p = FRows.size(); p > 0; --p)
    if (IsSelectable(FRows[p - 1])) return FRows[p - 1];
  return -1;
}

// A page walks the rows of one view; the first selectable row met after a header is taken
// at once (a group's edge), otherwise the farthest one.
int TkaAdvancedListBox::FindPageUpIndex(int From) {
  EnsureLayout();
  if (From < 1) return -1;
  const long long start = static_cast<long long>(std::min(RowPosition(From), FRows.size())) - 1;
  const long long stop = std::max(0LL, start - PageRows());
  int result = -1;
  bool passedHeader = false;
  for (long long p = start; p >= stop; --p) {
    const int row = FRows[static_cast<size_t>(p)];
    if (FItems->Items(row)->FHeader) {
      passedHeader = true;
      continue;
    }
    if (!IsSelectable(row)) continue;
    if (passedHeader) return row;
    result = row;
  }
  return result;
}

int TkaAdvancedListBox::FindPageDownIndex(int From) {
  EnsureLayout();
  if (FRows.empty()) return -1;
  const size_t start = From < 0 ? 0 : RowPosition(From + 1);
  const size_t stop = std::min(start + static_cast<size_t>(PageRows()), FRows.size() - 1);
  int result = -1;
  bool passedHeader = false;
  for (size_t p = start; p <= stop && p < FRows.size(); ++p) {
    const int row = FRows[p];
    if (FItems->Items(row)->FHeader) {
      passedHeader = true;
      continue;
    }
    if (!IsSelectable(row)) continue;
    if (passedHeader) return row;
    result = row;
  }
  return result;
}

// ---- Finding rows ---------------------------------------------------------------------------

int TkaAdvancedListBox::ItemAtPos(int X, int Y) {
  CalcItemRects();
  const int offset = Y - FItemsRect.Top + FScrollOffset;
  if (offset < 0 || FRows.empty()) return -1;
  const size_t p = RowAtOffset(offset);
  if (p >= FRows.size()) return -1;
  const int row = FRows[p];
  const TkaAdvancedListItem* item = FItems->Items(row);
  const TRect r = RowRectOf(item);
  const bool visible = r.Top < FItemsRect.Bottom && r.Bottom >= FItemsRect.Top;
  return visible && item->FEnabled && r.Contains(TPoint(X, Y)) ? row : -1;
}

int TkaAdvancedListBox::NextIndex(const String& S) {
  const int count = FItems->Count();
  if (count == 0) return -1;
  EnsureLayout();
  const String pattern = Folded(S);
  int start = FItemIndex + 1;
  if (start < 0 || start > count - 1) start = 0;
  auto matches = [&](int i) {
    const TkaAdvancedListItem* item = FItems->Items(i);
    return item->FEnabled && !item->FHeader && item->FFilterVisible && StartsWithFolded(item->FCaption, pattern);
  };
  for (int i = start; i < count; ++i)
    if (matches(i)) return i;
  for (int i = 0; i < start; ++i)
    if (matches(i)) return i;
  return -1;
}

int TkaAdvancedListBox::FindIndex(const String& S, bool AStartOff, int Field, bool SkipHeaders) {
  const String pattern = Folded(S);
  for (int i = 0, count = FItems->Count(); i < count; ++i) {
    const TkaAdvancedListItem* item = FItems->Items(i);
    if (SkipHeaders && item->FHeader) continue;
    const String& text = FieldOf(item, Field);
    if (AStartOff ? StartsWithFolded(text, pattern) : EqualsFolded(text, pattern)) return i;
  }
  return -1;
}

int TkaAdvancedListBox::IndexOfCaption(const String& S, bool AStartOff) { return FindIndex(S, AStartOff, kCaption, true); }
int TkaAdvancedListBox::IndexOfTitle(const String& S, bool AStartOff) { return FindIndex(S, AStartOff, kTitle, false); }
int TkaAdvancedListBox::IndexOfDetail(const String& S, bool AStartOff) { return FindIndex(S, AStartOff, kDetail, false); }

int TkaAdvancedListBox::FindSelectableByPrefix(const String& S) {
  EnsureLayout();
  const String pattern = Folded(S);
  for (int row : FRows)
    if (IsSelectable(row) && StartsWithFolded(FItems->Items(row)->FCaption, pattern)) return row;
  return -1;
}

void TkaAdvancedListBox::Sort() {
  const int count = FItems->Count();
  if (count < 2) return;
  TkaAdvancedListItem* selected = FItemIndex >= 0 && FItemIndex < count ? FItems->Items(FItemIndex) : nullptr;
  std::vector<TkaAdvancedListItem*> order;
  order.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) order.push_back(FItems->Items(i));
  // Ordinal on UTF-16 code units; equal captions keep their order.
  std::stable_sort(order.begin(), order.end(),
                   [](const TkaAdvancedListItem* A, const TkaAdvancedListItem* B) { return A->FCaption < B->FCaption; });
  BeginUpdateItems();
  {
    TkaFlagScope sorting(FSorting);
    // The items leave the collection from the end and come back in order, keeping all their
    // values; the selection stays with its row.
    for (int i = count - 1; i >= 0; --i) FItems->Items(i)->SetCollection(nullptr);
    for (TkaAdvancedListItem* item : order) item->SetCollection(FItems.get());
  }
  FItemIndex = -1;
  for (int i = 0; selected != nullptr && i < count; ++i)
    if (order[static_cast<size_t>(i)] == selected) FItemIndex = i;
  InvalidateLayout();
  EndUpdateItems();
}
