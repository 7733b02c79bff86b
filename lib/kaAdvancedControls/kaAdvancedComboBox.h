// The advanced combo box: a drop-down selector without an edit field. Its face shows the
// selected row of an advanced list (title, caption, detail, image) in one of eleven looks; its
// drop-down is the popup list box, shown as a top-level window that never takes the focus, under
// the control or above it when the work area ends below. The combo box owns that list and
// offers the list's rows, fonts and options as its own. In checked-list mode the list shows
// check boxes and the face lists the captions of the checked rows.
//
// The pieces: TkaAdvancedCustomCombo (face, drop-down button, selection options; drawing in
// kaAdvancedComboBoxDraw.cpp), TkaAdvancedCustomComboBox (the list, opening and closing, mouse
// and keys; kaAdvancedComboBoxDropDown.cpp) and TkaAdvancedComboBox (what layouts set).
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "lib/kaAdvancedControls/kaAdvancedListBox.h"
#include "lib/kaAdvancedControls/kaAdvancedPopupListBox.h"
#include "lib/kaControls/kaActiveControl.h"
#include "lib/kaControls/kaButtonColorOptions.h"
#include "lib/kaDrawUtils/GlowEffect.h"

class TCustomImageList;
class TkaCustomImageCollection;

enum TkaAdvancedComboStyle {
  kacbCombo, kacbPushButton, kacbToolButton, kacbPushButtonTransparent, kacbToolButtonTransparent,
  kacbTransparent, kacbTransparentBottomLine, kacbTransparentActiveBottomLine, kacbColorCombo,
  kacbCustomImage, kacbCustomImageOverContent
};
enum TkaDropDownPosition { kadpRight, kadpLeft };

// The platform's owner-draw state flags a row is drawn in.
using TOwnerDrawState = UINT;

// Where the selected row is drawn on the face.
struct TkaCBItem {
  TRect R;
  TOwnerDrawState State = 0;
};

// The drop-down button of the face.
struct TkaCBButton {
  TRect R;
  bool MouseIn = false;
  bool Down = false;
};

// Window timers of the combo box: auto-scroll of the open list while a press is dragged above
// or below it, and the end of an incremental search.
constexpr UINT_PTR kaComboAutoScrollTimerID = 2;
constexpr UINT_PTR kaComboSearchTimerID = 7;

class TkaAdvancedCustomCombo : public TkaCustomActiveControl {
  KA_CLASS(TkaAdvancedCustomCombo, TkaCustomActiveControl)
 public:
  explicit TkaAdvancedCustomCombo(TComponent* AOwner);
  ~TkaAdvancedCustomCombo() override;

  // Every look but kacbCombo shows what lies under the control.
  TkaAdvancedComboStyle Style() const { return FStyle; }
  void SetStyle(TkaAdvancedComboStyle Value);
  bool ShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool Value) { SetAndRepaint(FShowFocusRect, Value); }
  // The line of the two bottom-line looks, and of the active one while hot or focused.
  TColor BottomLineColor() const { return FBottomLineColor; }
  void SetBottomLineColor(TColor Value) { SetAndRepaint(FBottomLineColor, Value); }
  TColor BottomActiveLineColor() const { return FBottomActiveLineColor; }
  void SetBottomActiveLineColor(TColor Value) { SetAndRepaint(FBottomActiveLineColor, Value); }
  // How a focused kacbCombo face marks the row (and the glow of the glow look).
  TkaAdvancedSelectionStyle SelectionStyle() const { return FSelectionStyle; }
  void SetSelectionStyle(TkaAdvancedSelectionStyle Value) { SetAndRepaint(FSelectionStyle, Value); }
  // Owned; the setter copies. Its changes repaint.
  TkaGlowEffect* SelectionGlow() const { return FSelectionGlow.get(); }
  void SetSelectionGlow(TkaGlowEffect* Value) { FSelectionGlow->Assign(Value); }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { SetAndRepaint(FHideSelection, Value); }
  // clNone: the style's highlight colour.
  TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor Value) { SetAndRepaint(FSelectionColor, Value); }
  TColor SelectionTextColor() const { return FSelectionTextColor; }
  void SetSelectionTextColor(TColor Value) { SetAndRepaint(FSelectionTextColor, Value); }
  // Owned; the setter copies. The face of kacbColorCombo and the text of the picture looks.
  TkaButtonColorOptions* ColorOptions() const { return FColorOptions.get(); }
  void SetColorOptions(TkaButtonColorOptions* Value) { FColorOptions->Assign(Value); }
  // Faces and arrows of the picture looks (not owned; a freed collection is forgotten).
  TkaCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TkaCustomImageCollection* Value);
  int CustomImageNormalIndex() const { return FCustomImageIndex[0]; }
  void SetCustomImageNormalIndex(int Value) { SetAndRepaint(FCustomImageIndex[0], Value); }
  int CustomImageHotIndex() const { return FCustomImageIndex[1]; }
  void SetCustomImageHotIndex(int Value) { SetAndRepaint(FCustomImageIndex[1], Value); }
  int CustomImagePressedIndex() const { return FCustomImageIndex[2]; }
  void SetCustomImagePressedIndex(int Value) { SetAndRepaint(FCustomImageIndex[2], Value); }
  int CustomImageFocusedIndex() const { return FCustomImageIndex[3]; }
  void SetCustomImageFocusedIndex(int Value) { SetAndRepaint(FCustomImageIndex[3], Value); }
  int CustomImageDisabledIndex() const { return FCustomImageIndex[4]; }
  void SetCustomImageDisabledIndex(int Value) { SetAndRepaint(FCustomImageIndex[4], Value); }
  int CustomArrowImageNormalIndex() const { return FCustomArrowImageIndex[0]; }
  void SetCustomArrowImageNormalIndex(int Value) { SetAndRepaint(FCustomArrowImageIndex[0], Value); }
  int CustomArrowImageHotIndex() const { return FCustomArrowImageIndex[1]; }
  void SetCustomArrowImageHotIndex(int Value) { SetAndRepaint(FCustomArrowImageIndex[1], Value); }
  int CustomArrowImagePressedIndex() const { return FCustomArrowImageIndex[2]; }
  void SetCustomArrowImagePressedIndex(int Value) { SetAndRepaint(FCustomArrowImageIndex[2], Value); }
  int CustomArrowImageFocusedIndex() const { return FCustomArrowImageIndex[3]; }
  void SetCustomArrowImageFocusedIndex(int Value) { SetAndRepaint(FCustomArrowImageIndex[3], Value); }
  int CustomArrowImageDisabledIndex() const { return FCustomArrowImageIndex[4]; }
  void SetCustomArrowImageDisabledIndex(int Value) { SetAndRepaint(FCustomArrowImageIndex[4], Value); }
  // The list's right edge under the control's right edge, or its left edge under the left.
  TkaDropDownPosition DropDownPosition() const { return FDropDownPosition; }
  void SetDropDownPosition(TkaDropDownPosition Value) { FDropDownPosition = Value; }
  // The transparent looks write in the font's colour (through the style) instead of the
  // style's text colour.
  bool UseFontColorToStyleColor() const { return FUseFontColorToStyleColor; }
  void SetUseFontColorToStyleColor(bool Value) { SetAndRepaint(FUseFontColorToStyleColor, Value); }
  // The list is open.
  bool DroppedDown() const { return FDropDown; }

  // Where the row and the button are (as of the last paint or mouse event).
  TkaCBItem CBItem;
  TkaCBButton Button;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  // The row in the face, inside CBItem.R, in colour TextColor (which a selection look may
  // change); false when there was no row to draw.
  virtual bool DrawFaceItem(TCanvas* ACanvas, TColor& TextColor, bool Focus) { return false; }
  // Places Button.R and CBItem.R for a paint (or a mouse event) in face state S.
  void CalcFaceRects(TkasCtrlState S);
  // The state the face of a look is drawn in: pressed while open, the focus look where the
  // look has one, else the control's state (Base).
  TkasCtrlState FaceState(TkasCtrlState Base, bool Focus) const;
  bool HasCustomImage(int Index) const;
  // The picture of the face for the state (the picture looks), or -1.
  int FaceImageIndex(TkasCtrlState S) const;
  bool CanAnimate() override;
  void Click() override {}

  template <class T>
  void SetAndRepaint(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    RePaintControl();
  }

  TkaAdvancedComboStyle FStyle = kacbCombo;
  bool FShowFocusRect = true;
  TColor FBottomLineColor = clBtnShadow;
  TColor FBottomActiveLineColor = clHighlight;
  TkaAdvancedSelectionStyle FSelectionStyle = kaastStyled;
  std::unique_ptr<TkaGlowEffect> FSelectionGlow;
  bool FHideSelection = false;
  TColor FSelectionColor = clNone;
  TColor FSelectionTextColor = clHighlightText;
  std::unique_ptr<TkaButtonColorOptions> FColorOptions;
  TkaCustomImageCollection* FCustomImages = nullptr;
  // Normal, hot, pressed, focused, disabled.
  int FCustomImageIndex[5] = {-1, -1, -1, -1, -1};
  int FCustomArrowImageIndex[5] = {-1, -1, -1, -1, -1};
  TkaDropDownPosition FDropDownPosition = kadpRight;
  bool FUseFontColorToStyleColor = false;
  bool FDropDown = false;

 private:
  // The look's face over the client rectangle in face state S; returns the text colour.
  TColor DrawFace(TCanvas* ACanvas, TkasCtrlState S, TkasCtrlState Base, bool Focus);
  TColor DrawComboFace(TCanvas* ACanvas, TkasCtrlState Base, bool Focus);
  TColor ComboTextColor(TkasCtrlState Base, bool Focus);
  TColor PlainTextColor(TkasCtrlState Base);
  void DrawBottomLine(TCanvas* ACanvas, TkasCtrlState Base, bool Focus);
  void DrawFacePicture(TCanvas* ACanvas, TkasCtrlState S);
  void DrawArrow(TCanvas* ACanvas, TkasCtrlState S, TColor Color);
};

class TkaAdvancedCustomComboBox : public TkaAdvancedCustomCombo {
  KA_CLASS(TkaAdvancedCustomComboBox, TkaAdvancedCustomCombo)
 public:
  explicit TkaAdvancedCustomComboBox(TComponent* AOwner);
  ~TkaAdvancedCustomComboBox() override;
  void BeforeDestruction() override;

  // ---- Rows (the list's) ------------------------------------------------------------------
  TkaAdvancedListItems* Items() const { return FListBox->Items(); }
  void SetItems(TkaAdvancedListItems* Value) { FListBox->SetItems(Value); }
  void Add(const String& Item) { FListBox->Add(Item); }
  void Add(TStrings* Strings) { FListBox->Add(Strings); }
  void Add(std::initializer_list<String> Strings) { FListBox->Add(Strings); }
  void Add(const std::vector<String>& Strings) { FListBox->Add(Strings); }
  void Delete(int Index);
  // Also closes an open list, which has nothing left to show.
  void Clear();
  void BeginUpdateItems() { FListBox->BeginUpdateItems(); }
  void EndUpdateItems();
  int NextIndex(const String& S) { return FListBox->NextIndex(S); }
  int IndexOfCaption(const String& S, bool AStartOff) { return FListBox->IndexOfCaption(S, AStartOff); }
  int IndexOfTitle(const String& S, bool AStartOff) { return FListBox->IndexOfTitle(S, AStartOff); }
  int IndexOfDetail(const String& S, bool AStartOff) { return FListBox->IndexOfDetail(S, AStartOff); }
  void Sort();

  // ---- Selection ----------------------------------------------------------------------------
  int ItemIndex() const { return FListBox->ItemIndex(); }
  // The list's rules decide what is selected (out of range and unselectable rows are
  // ignored); OnClick and OnChange then fire, also when nothing changed (not while loading).
  void SetItemIndex(int Value);
  // Selects without events.
  void InitItemIndex(int Value);

  // ---- Opening and closing ------------------------------------------------------------------
  // Opens the list under the control (above it when the work area ends below); an empty list
  // never opens. Another combo box's open list closes first.
  virtual void DropDown();
  // Closes the list; Value accepts the highlighted row (OnCloseUp, OnClick, OnChange), else
  // the selection goes back to what it was.
  virtual void CloseUp(bool Value);
  bool IsPopupVisible() const { return FListBox->Visible(); }
  // The list is open and the pointer is not over the combo box.
  bool CanCancelDropDown();
  // The drop-down list itself (owned).
  TkaAdvancedPopupListBox* ListBox() const { return FListBox; }

  // ---- Options of the face ------------------------------------------------------------------
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  // The face's row parts.
  bool ShowItemTitle() const { return FShowItemTitle; }
  void SetShowItemTitle(bool Value) { SetAndRepaint(FShowItemTitle, Value); }
  bool ShowItemImage() const { return FShowItemImage; }
  void SetShowItemImage(bool Value) { SetAndRepaint(FShowItemImage, Value); }
  bool ShowItemText() const { return FShowItemText; }
  void SetShowItemText(bool Value) { SetAndRepaint(FShowItemText, Value); }
  bool ShowItemDetail() const { return FShowItemDetail; }
  void SetShowItemDetail(bool Value) { SetAndRepaint(FShowItemDetail, Value); }
  // Rows the open list shows at most (0: the list keeps its height); negative values are
  // ignored.
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  // The list's size when positive, else the control's width and DropDownCount rows.
  int ListBoxWidth() const { return FListBoxWidth; }
  void SetListBoxWidth(int Value) { FListBoxWidth = Value; }
  int ListBoxHeight() const { return FListBoxHeight; }
  void SetListBoxHeight(int Value) { FListBoxHeight = Value; }
  // The list's wallpapers; they take effect at the next drop-down.
  TkaCustomImageCollection* ListBoxWallpapers() const { return FListBoxWallpapers; }
  void SetListBoxWallpapers(TkaCustomImageCollection* Value);
  int ListBoxWallpaperIndex() const { return FListBoxWallpaperIndex; }
  void SetListBoxWallpaperIndex(int Value) { FListBoxWallpaperIndex = Value; }
  // Check boxes in the list, the captions of the checked rows on the face.
  bool CheckedListMode() const { return FCheckedListMode; }
  void SetCheckedListMode(bool Value);
  // The face's list of checked captions wraps.
  bool CheckedListWrap() const { return FCheckedListWrap; }
  void SetCheckedListWrap(bool Value) { SetAndRepaint(FCheckedListWrap, Value); }

  // ---- Forwarded to the list ----------------------------------------------------------------
  TCustomImageList* Images() const { return FListBox->Images(); }
  void SetImages(TCustomImageList* Value);
  TFont* TitleFont() const { return FListBox->TitleFont(); }
  void SetTitleFont(TFont* Value) { FListBox->SetTitleFont(Value); }
  TFont* HeaderFont() const { return FListBox->HeaderFont(); }
  void SetHeaderFont(TFont* Value) { FListBox->SetHeaderFont(Value); }
  TFont* DetailFont() const { return FListBox->DetailFont(); }
  void SetDetailFont(TFont* Value) { FListBox->SetDetailFont(Value); }
  TkaListBoxDetailPosition DetailPosition() const { return FListBox->DetailPosition(); }
  void SetDetailPosition(TkaListBoxDetailPosition Value);
  bool DetailWordWrap() const { return FListBox->DetailWordWrap(); }
  void SetDetailWordWrap(bool Value);
  bool AlternateRow() const { return FListBox->AlternateRow(); }
  void SetAlternateRow(bool Value) { FListBox->SetAlternateRow(Value); }
  bool ListBoxHeaderUseStyleColor() const { return FListBox->HeaderUseStyleColor(); }
  void SetListBoxHeaderUseStyleColor(bool Value) { FListBox->SetHeaderUseStyleColor(Value); }
  TkaAdvancedHeaderStyle ListBoxHeaderStyle() const { return FListBox->HeaderStyle(); }
  void SetListBoxHeaderStyle(TkaAdvancedHeaderStyle Value) { FListBox->SetHeaderStyle(Value); }
  TColor ListBoxLineColor() const { return FListBox->LineColor(); }
  void SetListBoxLineColor(TColor Value) { FListBox->SetLineColor(Value); }
  bool ListBoxShowItemTitles() const { return FListBox->ShowItemTitles(); }
  void SetListBoxShowItemTitles(bool Value) { FListBox->SetShowItemTitles(Value); }
  bool ListBoxShowItemDetails() const { return FListBox->ShowItemDetails(); }
  void SetListBoxShowItemDetails(bool Value) { FListBox->SetShowItemDetails(Value); }
  bool ListBoxShowLines() const { return FListBox->ShowLines(); }
  void SetListBoxShowLines(bool Value) { FListBox->SetShowLines(Value); }
  int ListBoxItemHeight() const { return FListBox->ItemHeight(); }
  void SetListBoxItemHeight(int Value) { FListBox->SetItemHeight(Value); }
  int ListBoxHeaderHeight() const { return FListBox->HeaderHeight(); }
  void SetListBoxHeaderHeight(int Value) { FListBox->SetHeaderHeight(Value); }
  TkaAdvancedSelectionStyle ListBoxSelectionStyle() const { return FListBox->SelectionStyle(); }
  void SetListBoxSelectionStyle(TkaAdvancedSelectionStyle Value) { FListBox->SetSelectionStyle(Value); }
  TColor ListBoxSelectionColor() const { return FListBox->SelectionColor(); }
  void SetListBoxSelectionColor(TColor Value) { FListBox->SetSelectionColor(Value); }
  TColor ListBoxSelectionTextColor() const { return FListBox->SelectionTextColor(); }
  void SetListBoxSelectionTextColor(TColor Value) { FListBox->SetSelectionTextColor(Value); }
  int ListBoxCustomHeaderImageIndex() const { return FListBox->CustomHeaderImageIndex(); }
  void SetListBoxCustomHeaderImageIndex(int Value) { FListBox->SetCustomHeaderImageIndex(Value); }
  // Both the normal and the focused selection picture of the list.
  int ListBoxCustomSelectionImageIndex() const { return FListBox->CustomSelectionImageIndex(); }
  void SetListBoxCustomSelectionImageIndex(int Value);

  // ---- Events -------------------------------------------------------------------------------
  // Draws the face's row instead of the combo box (and the list's rows unless
  // OnListBoxDrawItem is set).
  TkaDrawAdvancedListItemEvent OnDrawItem;
  TNotifyEvent OnChange;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;
  // A row's check mark was toggled in checked-list mode.
  TNotifyEvent OnItemCheckClick;
  TkaDrawAdvancedListItemEvent OnListBoxDrawItem;

  void ChangeScale(int M, int D, bool isDpiChange) override;
  void Dispatch(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DestroyWnd() override;
  bool DrawFaceItem(TCanvas* ACanvas, TColor& TextColor, bool Focus) override;
  // The captions of the checked rows, in row order, joined by "; " (what checked-list mode
  // shows on the face).
  String CheckedItemsText() const;
  // Fires OnChange.
  virtual void Change();
  // Whether the selection may not move (read-only use); False here.
  virtual bool CheckIsReadOnly() { return FCheckIsReadOnly; }

  void MouseDown(TMouseButton AButton, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton AButton, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;

  bool FAutoComplete = false;
  String FSearchString;
  bool FSearchTimerEnabled = false;
  TkaCustomImageCollection* FListBoxWallpapers = nullptr;
  int FListBoxWallpaperIndex = -1;
  bool FShowItemTitle = true;
  bool FShowItemImage = true;
  bool FShowItemText = true;
  bool FShowItemDetail = false;
  int FDropDownCount = 7;
  // The mouse has been over the list during the current press.
  bool WasInLB = false;
  // 0 none, 1 scroll up, 2 scroll down.
  int FTimerMode = 0;
  int FListBoxWidth = 0;
  int FListBoxHeight = 0;
  // The selection when the list was opened, or the last committed one.
  int FOldItemIndex = -1;
  // A press that concerns the list is in progress.
  bool FLBDown = false;
  TkaAdvancedPopupListBox* FListBox = nullptr;
  // The list's own procedure, behind the combo box's filter.
  TWndMethod FListBoxWindowProc;
  bool FCheckedListMode = false;
  bool FCheckedListWrap = true;
  bool FCheckIsReadOnly = false;

 private:
  struct TFormWatch;
  struct TFormWatchHook;
  void ListBoxWndProc(TMessage& Message);
  void RowsShifted(int Index, int Delta);
  // The selection a key, the wheel or typing moves to, committed with events.
  void CommitByKey(int Index);
  bool ListKey(WORD Key, bool Alt);
  void ToggleChecked();
  void TypeSearch(wchar_t Key);
  void EndSearch();
  void StartAutoScroll(int Mode);
  void StopAutoScroll();
  void AutoScrollTick();
  void PrepareListBox();
  int DropDownHeight();
  TPoint DropDownOrigin(int ListWidth, int ListHeight);
  void InstallHooks();
  void RemoveHooks();
  // Hides the list and forgets the press, without events.
  void HideList();
  void FireCloseEvents();
  // Window is the combo box, the list or a window inside the list.
  bool IsOwnWindow(HWND Window) const;
  void WMMouseWheel(TMessage& Message);
  void WMTimer(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void CMCancelMode(TMessage& Message);
  void CMWantSpecialKey(TMessage& Message);

  int FLoadedItemIndex = -1;
  bool FLoadedItemIndexSet = false;
  bool FKeyHandling = false;
  // The key being handled came as a system key with Alt held.
  bool FAltKey = false;
  std::shared_ptr<TFormWatch> FFormWatch;
};

// The combo box as layouts place it.
class TkaAdvancedComboBox : public TkaAdvancedCustomComboBox {
  KA_CLASS(TkaAdvancedComboBox, TkaAdvancedCustomComboBox)
 public:
  explicit TkaAdvancedComboBox(TComponent* AOwner) : TkaAdvancedCustomComboBox(AOwner) {}
};
