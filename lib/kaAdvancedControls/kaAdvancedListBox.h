// The advanced list box: an owner-drawn list of rich rows (title, caption, detail, image,
// check box, progress bar, push button, group headers) that scrolls by pixels through its
// child scroll bar, filters by a text, searches while the user types, and selects with the
// mouse and the keys in one of five looks.
//
// Built for long lists: rows have two heights (normal and header) known without measuring, the
// list keeps each visible row's offset so hit tests and scrolling find rows by binary search,
// and a paint draws only the rows in the invalid part of the view. Filtering and searching
// walk the rows once without allocating.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "framework/Graphics.h"
#include "lib/kaAdvancedControls/kaAdvancedCustomControl.h"
#include "lib/kaAdvancedControls/kaAdvancedListItems.h"

class TCustomImageList;

enum TkaAdvancedHeaderStyle { kaahsDefault, kaahsBottomLine, kaahsCustomImage };
enum TkaAdvancedListBoxStyle { kaalbsPlain, kaalbsGroup, kaalbsTransparentGroup };
enum TkaListBoxDetailPosition { kalbdBottom, kalbdRight };

// Draws a normal row instead of the list: the canvas, the row's index and its rectangle.
using TkaDrawAdvancedListItemEvent = std::function<void(TCanvas* Cnvs, int Index, const TRect& TextRct)>;

// The styled selection look of a row (the combo box's face shares it): the style's selected
// cell, else the platform's selected list item (Focused or not), else a highlight fill.
// Shown: the selection is meant to be seen (focus or a focus frame); without it a custom
// style's element and the classic fill are blended in weaker.
void DrawAdvancedStyledSelection(TCanvas* ACanvas, const TRect& R, bool Focused, bool Shown, const TControl* Control);

// Window timers of the list controls: auto-scroll while a press is dragged outside the view,
// and the end of an incremental search.
constexpr UINT_PTR kaListAutoScrollTimerID = 2;
constexpr UINT_PTR kaListSearchTimerID = 7;

class TkaAdvancedListBox : public TkaAdvancedScrollingControl {
  KA_CLASS(TkaAdvancedListBox, TkaAdvancedScrollingControl)
 public:
  explicit TkaAdvancedListBox(TComponent* AOwner);
  ~TkaAdvancedListBox() override;

  // ---- Rows -------------------------------------------------------------------------------
  TkaAdvancedListItems* Items() const { return FItems.get(); }
  void SetItems(TkaAdvancedListItems* Value) { FItems->Assign(Value); }
  void Add(const String& Item);
  void Add(TStrings* Strings);
  void Add(std::initializer_list<String> Strings);
  void Add(const std::vector<String>& Strings);
  void Delete(int Index);
  void Clear();
  // Holds painting and scroll-bar updates until the matching EndUpdateItems (pairs nest).
  void BeginUpdateItems();
  void EndUpdateItems();
  bool InUpdateItems() const { return FInUpdateItems > 0; }
  // Ascending by caption, ordinal; rows with equal captions keep their order.
  void Sort();

  // ---- Selection --------------------------------------------------------------------------
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // Selects without events (negative: nothing).
  void InitItemIndex(int Value);
  // The selectable rows (enabled, not headers, passing the filter) the keys move to from
  // From: the nearest before or after, a page up or down, the first and the last; -1 when
  // there is none.
  int FindPrevIndex(int From);
  int FindNextIndex(int From);
  int FindPageUpIndex(int From);
  int FindPageDownIndex(int From);
  int FindFirstIndex();
  int FindLastIndex();

  // ---- Finding rows -----------------------------------------------------------------------
  // The enabled row that passes the filter and shows at the point, or -1.
  int ItemAtPos(int X, int Y);
  // The next enabled row (after the selection, wrapping) whose caption starts with S.
  int NextIndex(const String& S);
  // Case-insensitive: equal, or (AStartOff) starting with S. Captions skip header rows.
  int IndexOfCaption(const String& S, bool AStartOff);
  int IndexOfTitle(const String& S, bool AStartOff);
  int IndexOfDetail(const String& S, bool AStartOff);
  // The first selectable row whose caption starts with S (case-insensitive), or -1; what
  // typing finds.
  int FindSelectableByPrefix(const String& S);

  // ---- Scrolling --------------------------------------------------------------------------
  void ScrollToItem(int Index);
  // Pixels scrolled from the top, kept between 0 and the content's overflow.
  void Scroll(int AScrollOffset);
  int ScrollOffset() const { return FScrollOffset; }
  void GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition);
  // The view the rows are drawn in (client coordinates).
  TRect ItemsRect();
  // The rows that pass the filter (headers included).
  int VisibleRowCount();

  // ---- Properties -------------------------------------------------------------------------
  // Rows show only when the lower-cased caption (or shown title or detail) contains it;
  // headers always show.
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* ButtonImages() const { return FButtonImages; }
  void SetButtonImages(TCustomImageList* Value);
  TkaAdvancedListBoxStyle Style() const { return FStyle; }
  void SetStyle(TkaAdvancedListBoxStyle Value) { SetAndRepaint(FStyle, Value); }
  TkaAdvancedHeaderStyle HeaderStyle() const { return FHeaderStyle; }
  void SetHeaderStyle(TkaAdvancedHeaderStyle Value) { SetAndRepaint(FHeaderStyle, Value); }
  bool HeaderUseStyleColor() const { return FHeaderUseStyleColor; }
  void SetHeaderUseStyleColor(bool Value) { SetAndRepaint(FHeaderUseStyleColor, Value); }
  // Heights of a normal and of a header row (values below 1 are ignored).
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  int HeaderHeight() const { return FHeaderHeight; }
  void SetHeaderHeight(int Value);
  int ItemSpacing() const { return FItemSpacing; }
  void SetItemSpacing(int Value) { SetAndRepaint(FItemSpacing, Value); }
  // Pixels per indent level; 4 or less is ignored.
  int IndentMargin() const { return FIndentMargin; }
  void SetIndentMargin(int Value);
  bool ShowItemTitles() const { return FShowItemTitles; }
  void SetShowItemTitles(bool Value);
  bool ShowItemDetails() const { return FShowItemDetails; }
  void SetShowItemDetails(bool Value);
  TkaListBoxDetailPosition DetailPosition() const { return FDetailPosition; }
  void SetDetailPosition(TkaListBoxDetailPosition Value) { SetAndRepaint(FDetailPosition, Value); }
  bool DetailWordWrap() const { return FDetailWordWrap; }
  void SetDetailWordWrap(bool Value) { SetAndRepaint(FDetailWordWrap, Value); }
  bool ShowItemProgressBars() const { return FShowItemProgressBars; }
  void SetShowItemProgressBars(bool Value) { SetAndRepaint(FShowItemProgressBars, Value); }
  // 0: the row's width.
  int ItemProgressBarWidth() const { return FItemProgressBarWidth; }
  void SetItemProgressBarWidth(int Value);
  int ItemProgressBarHeight() const { return FItemProgressBarHeight; }
  void SetItemProgressBarHeight(int Value);
  bool ShowCheckBoxes() const { return FShowCheckBoxes; }
  void SetShowCheckBoxes(bool Value) { SetAndRepaint(FShowCheckBoxes, Value); }
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool Value) { SetAndRepaint(FShowLines, Value); }
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor Value) { SetAndRepaint(FLineColor, Value); }
  bool AlternateRow() const { return FAlternateRow; }
  void SetAlternateRow(bool Value) { SetAndRepaint(FAlternateRow, Value); }
  TColor GroupBackgroundColor() const { return FGroupBackgroundColor; }
  void SetGroupBackgroundColor(TColor Value) { SetAndRepaint(FGroupBackgroundColor, Value); }
  int GroupBackgroundCustomImageIndex() const { return FGroupBackgroundCustomImageIndex; }
  void SetGroupBackgroundCustomImageIndex(int Value) { SetAndRepaint(FGroupBackgroundCustomImageIndex, Value); }
  int CustomHeaderImageIndex() const { return FCustomHeaderImageIndex; }
  void SetCustomHeaderImageIndex(int Value) { SetAndRepaint(FCustomHeaderImageIndex, Value); }
  int CustomCheckedImageIndex() const { return FCheckImages[0]; }
  void SetCustomCheckedImageIndex(int Value) { SetAndRepaint(FCheckImages[0], Value); }
  int CustomUnCheckedImageIndex() const { return FCheckImages[1]; }
  void SetCustomUnCheckedImageIndex(int Value) { SetAndRepaint(FCheckImages[1], Value); }
  int CustomCheckedDisabledImageIndex() const { return FCheckImages[2]; }
  void SetCustomCheckedDisabledImageIndex(int Value) { SetAndRepaint(FCheckImages[2], Value); }
  int CustomUnCheckedDisabledImageIndex() const { return FCheckImages[3]; }
  void SetCustomUnCheckedDisabledImageIndex(int Value) { SetAndRepaint(FCheckImages[3], Value); }
  // Item button pictures of CustomImages for kalbsCustomImage; the hot and pressed ones show
  // at the next state change, so their setters do not repaint.
  int CustomButtonImageNormalIndex() const { return FButtonImageIndex[0]; }
  void SetCustomButtonImageNormalIndex(int Value) { SetAndRepaint(FButtonImageIndex[0], Value); }
  int CustomButtonImageHotIndex() const { return FButtonImageIndex[1]; }
  void SetCustomButtonImageHotIndex(int Value) { FButtonImageIndex[1] = Value; }
  int CustomButtonImagePressedIndex() const { return FButtonImageIndex[2]; }
  void SetCustomButtonImagePressedIndex(int Value) { FButtonImageIndex[2] = Value; }
  int CustomButtonImageDisabledIndex() const { return FButtonImageIndex[3]; }
  void SetCustomButtonImageDisabledIndex(int Value) { SetAndRepaint(FButtonImageIndex[3], Value); }
  // Owned; the setters copy.
  TFont* TitleFont() const { return FTitleFont.get(); }
  void SetTitleFont(TFont* Value) { FTitleFont->Assign(Value); }
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
  TFont* DetailFont() const { return FDetailFont.get(); }
  void SetDetailFont(TFont* Value) { FDetailFont->Assign(Value); }
  TFont* ButtonFont() const { return FButtonFont.get(); }
  void SetButtonFont(TFont* Value) { FButtonFont->Assign(Value); }
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  bool MouseMoveChangeIndex() const { return FMouseMoveChangeIndex; }
  void SetMouseMoveChangeIndex(bool Value) { FMouseMoveChangeIndex = Value; }
  bool RightClickSupport() const { return FRightClickSupport; }
  void SetRightClickSupport(bool Value) { FRightClickSupport = Value; }

  TkaDrawAdvancedListItemEvent OnDrawItem;
  TNotifyEvent OnItemClick;
  TNotifyEvent OnItemDblClick;
  TNotifyEvent OnItemCheckClick;
  TNotifyEvent OnItemButtonClick;

  void ChangeScale(int M, int D, bool isDpiChange) override;
  void Dispatch(TMessage& Message) override;
  void BeforeDestruction() override;

 protected:
  friend class TkaAdvancedListItem;
  friend class TkaAdvancedListItems;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void DrawContent(TCanvas* ACanvas) override;
  void ContentRectChanged() override;
  void VertScrollBarMoved(int Position) override;
  virtual void DrawItem(TCanvas* ACanvas, int Index);
  virtual void DrawHeaderItem(TCanvas* ACanvas, int Index);
  // The row's button in its state; RowColor is the row's text colour, DisabledColor the one a
  // disabled button's caption takes.
  virtual void DrawItemButton(TCanvas* ACanvas, int Index, TColor RowColor, TColor DisabledColor);
  // Brings the row layout up to date (a walk over the rows only after rows were added,
  // removed, moved or re-filtered) and fills FItemsRect, FMax and FRealMax.
  void CalcItemRects();
  void UpdateScrollInfo();
  // Whether the selection may not move (read-only use); False here.
  virtual bool CheckIsReadOnly() { return FCheckIsReadOnly; }
  // Runs after a row's click events.
  virtual void DoItemClick(int Index) {}
  // Rows from Index on moved by Delta (-1: the row at Index was removed, 1: one was inserted
  // there); the selection has been carried along already.
  virtual void RowsShifted(int Index, int Delta) {}

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;

  // The row's rectangle as scrolled now (empty for a filtered-out row or a bad index).
  TRect RowRect(int Index);
  // Where the row's visible button is, or an empty rectangle.
  TRect ItemButtonRect(int Index);
  // Selects Index without events (mouse selection); true when it changed.
  bool SelectWithoutEvents(int Index);
  // The row passes the filter, is enabled and is not a header.
  bool IsSelectable(int Index) const;
  // Repaints only R (client coordinates) from the cached background.
  void RePaintRect(const TRect& R);
  void RePaintRow(int Index);

  TRect FItemsRect;
  int FScrollOffset = 0;
  int FMax = 0;
  int FRealMax = 0;
  int FOldHeight = -1;
  bool FMouseDown = false;
  int FMouseActive = -1;
  int FOldButtonActive = -1;
  int FPressedButtonIndex = -1;
  int FCheckOffset = 0;
  bool FFocusFrameExist = false;
  int FInUpdateItems = 0;
  String FSearchString;
  bool FSearchTimerEnabled = false;
  int FTimerMode = 0;
  bool FCheckIsReadOnly = false;
  bool FClicksDisabled = false;
  bool FKeyHandling = false;

 private:
  friend struct TkaListRowPainter;
  // ---- Layout (kaAdvancedListBoxLayout.cpp) -----------------------------------------------
  void InvalidateLayout();
  void EnsureLayout();
  void RebuildLayout();
  // Lays out the item just appended on its own; false when the whole layout must be redone.
  bool AppendPendingRow();
  TRect RowRectOf(const TkaAdvancedListItem* Item) const;
  void RePaintItem(const TkaAdvancedListItem* Item);
  // Scrolls the least needed to show the row; true when the view moved (and was repainted).
  bool ScrollIntoView(int Index);
  // Position in FRows of the first laid-out row at or after Index.
  size_t RowPosition(int Index) const;
  int PageRows();
  bool PassesFilter(const TkaAdvancedListItem* Item) const;
  int RowHeight(const TkaAdvancedListItem* Item) const { return Item->FHeader ? FHeaderHeight : FItemHeight; }
  // The first laid-out row whose bottom reaches Offset (unscrolled), as a position in FRows.
  size_t RowAtOffset(int Offset) const;
  void ClampScrollOffset();
  // The rows changed: the scroll bar and the picture follow (unless updating).
  void RowsChanged();
  void ItemCreated(TkaAdvancedListItem* Item);
  void ItemRemoved(int Index);
  void ItemInserted(int Index);
  void ItemChanged(TkaAdvancedListItem* Item, bool Layout);
  void CollectionUpdated(TkaAdvancedListItem* Item);
  int FindIndex(const String& S, bool AStartOff, int Field, bool SkipHeaders);
  void FireItemClick(int Index);
  // ---- Input (kaAdvancedListBoxInput.cpp) -------------------------------------------------
  void MouseDownLeft(TShiftState Shift, int Row, int X, int Y);
  void MouseUpLeft(int X, int Y);
  void UpdateHotButton(int X, int Y);
  void ClearHotButton();
  bool InCheckColumn(int Index, int X);
  void StartAutoScroll(int Mode);
  void StopAutoScroll();
  void AutoScrollTick();
  void TypeSearch(wchar_t Key);
  void EndSearch();
  void SelectByKey(int Index);
  void WMTimer(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMSizeList(TMessage& Message);
  void WMPressFocus(TMessage& Message);
  // ---- Drawing (kaAdvancedListBoxDraw.cpp) ------------------------------------------------
  int CheckColumnWidth(TCanvas* ACanvas);
  void FontChanged(TObject* Sender) override;

  std::unique_ptr<TkaAdvancedListItems> FItems;
  int FItemIndex = -1;
  // The selection a layout gives, applied once the rows are in too.
  int FLoadedItemIndex = -1;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FButtonImages = nullptr;
  TkaAdvancedListBoxStyle FStyle = kaalbsPlain;
  TkaAdvancedHeaderStyle FHeaderStyle = kaahsDefault;
  bool FHeaderUseStyleColor = true;
  int FItemHeight = 30;
  int FHeaderHeight = 20;
  int FItemSpacing = 5;
  int FIndentMargin = 10;
  bool FShowItemTitles = true;
  bool FShowItemDetails = false;
  TkaListBoxDetailPosition FDetailPosition = kalbdBottom;
  bool FDetailWordWrap = false;
  bool FShowItemProgressBars = false;
  int FItemProgressBarWidth = 0;
  int FItemProgressBarHeight = 15;
  bool FShowCheckBoxes = false;
  bool FShowLines = false;
  TColor FLineColor = clBtnFace;
  bool FAlternateRow = false;
  TColor FGroupBackgroundColor = clWindow;
  int FGroupBackgroundCustomImageIndex = -1;
  int FCustomHeaderImageIndex = -1;
  // Checked, unchecked, checked disabled, unchecked disabled.
  int FCheckImages[4] = {-1, -1, -1, -1};
  // Normal, hot, pressed, disabled.
  int FButtonImageIndex[4] = {-1, -1, -1, -1};
  std::unique_ptr<TFont> FTitleFont;
  std::unique_ptr<TFont> FHeaderFont;
  std::unique_ptr<TFont> FDetailFont;
  std::unique_ptr<TFont> FButtonFont;
  bool FAutoComplete = true;
  bool FMouseMoveChangeIndex = false;
  bool FRightClickSupport = false;
  String FFilter;
  // The filter folded to lower case once, for the row walks.
  String FFoldedFilter;

  // Indexes of the rows that pass the filter, in order; each row keeps its own top.
  std::vector<int> FRows;
  int FContentHeight = 0;
  bool FLayoutValid = false;
  // The item just made by an Add outside an update, laid out on its own when the
  // collection reports it.
  TkaAdvancedListItem* FPendingAppend = nullptr;
  // The invalid part of the window during a paint, and the first row of the view.
  TRect FPaintClip;
  int FFirstViewRow = -1;
  bool FDestroying = false;
  bool FSorting = false;
  // The press began on a row (its release fires the click); the selection before it.
  bool FPressOnRow = false;
  int FSelectedAtPress = -1;
};
