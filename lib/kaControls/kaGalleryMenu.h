// The gallery menu: a non-visual component that drops a grid of image-list pictures below or
// above a control (usually a button whose GalleryMenu it is). Items sit in a fixed number of
// columns; an item can instead be a full-width header band or a full-width button. The user
// picks with the mouse or the keyboard; the menu keeps the pick as ItemIndex.
//
// The drop-down surface is a panel made for each drop-down and freed when it closes. It never
// takes the focus: it holds the mouse capture and reads keys through a temporary application
// message filter, so the focused control keeps the focus and sees none of those keys.
#pragma once

#include <functional>
#include <memory>

#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaPanel.h"

class TkaHint;
class TkaGalleryMenu;
class TkaGalleryMenuPopupWindow;

enum TkaMenuHeaderStyle { kamhsDefault, kamhsBottomLine };
enum TkaGalleryMenuBGStyle { kagmPanel, kagmToolBar, kagmFormBackground };

class TkaGalleryMenuItem : public TCollectionItem {
  KA_CLASS(TkaGalleryMenuItem, TCollectionItem)
 public:
  explicit TkaGalleryMenuItem(TCollection* Collection) : TCollectionItem(Collection) {}

  // The items are read again at each drop-down, so the setters only store.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  // A full-width button with image and caption.
  bool Button() const { return FButton; }
  void SetButton(bool Value) { FButton = Value; }
  // A full-width caption band; never selectable, and it wins over Button.
  bool Header() const { return FHeader; }
  void SetHeader(bool Value) { FHeader = Value; }
  // Disabled items are drawn so and skipped by the hit test and the arrow keys.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }

  // Copies the look of another gallery item (not Enabled or OnClick).
  void Assign(TPersistent* Source) override;

  // A header or disabled item cannot be picked.
  bool Usable() const { return !FHeader && FEnabled; }

  // Raised (Sender: the menu) when the menu closes with this item picked.
  TNotifyEvent OnClick;
  // Where the last drop-down laid the item out, in the drop-down's client coordinates.
  TRect ItemRect;

 private:
  int FImageIndex = -1;
  String FCaption;
  String FHint;
  bool FButton = false;
  bool FHeader = false;
  bool FEnabled = true;
};

class TkaGalleryMenuItems : public TOwnedCollection {
  KA_CLASS(TkaGalleryMenuItems, TOwnedCollection)
 public:
  explicit TkaGalleryMenuItems(TkaGalleryMenu* AGalleryMenu);
  TkaGalleryMenuItem* Items(int Index) const { return static_cast<TkaGalleryMenuItem*>(TCollection::Items(Index)); }
  void SetItem(int Index, TkaGalleryMenuItem* Value) { TCollection::SetItem(Index, Value); }
  TkaGalleryMenuItem* Add() { return static_cast<TkaGalleryMenuItem*>(TCollection::Add()); }
};

class TkaGalleryMenu : public TComponent, public IkaGalleryMenuSelection {
  KA_CLASS(TkaGalleryMenu, TComponent)
 public:
  explicit TkaGalleryMenu(TComponent* AOwner);
  ~TkaGalleryMenu() override;

  // Not owned; a freed list is forgotten.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value) { ReplaceReference(FImages, Value); }
  // Owned; the setter copies.
  TkaGalleryMenuItems* Items() const { return FItems.get(); }
  void SetItems(TkaGalleryMenuItems* Value) { FItems->Assign(Value); }
  TkaMenuHeaderStyle HeaderStyle() const { return FHeaderStyle; }
  void SetHeaderStyle(TkaMenuHeaderStyle Value) { FHeaderStyle = Value; }
  // Unscaled pixels.
  int HeaderHeight() const { return FHeaderHeight; }
  void SetHeaderHeight(int Value) { FHeaderHeight = Value; }
  // The picked item; a header's index or one past the last item is refused, -1 clears.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // Not owned; a freed hint component is forgotten.
  TkaHint* HintComponent() const { return FHintComponent; }
  void SetHintComponent(TkaHint* Value);
  TkaGalleryMenuBGStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TkaGalleryMenuBGStyle Value) { FBackgroundStyle = Value; }
  // Owned; the setters copy.
  TFont* ItemFont() const { return FItemFont.get(); }
  void SetItemFont(TFont* Value) { FItemFont->Assign(Value); }
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
  // 1 to 50; other values are ignored.
  int ColumnsCount() const { return FColumnsCount; }
  void SetColumnsCount(int Value);
  bool ShowSelectedItem() const { return FShowSelectedItem; }
  void SetShowSelectedItem(bool Value) { FShowSelectedItem = Value; }
  bool ShowHints() const { return FShowHints; }
  void SetShowHints(bool Value) { FShowHints = Value; }
  bool ButtonLeftAlignment() const { return FButtonLeftAlignment; }
  void SetButtonLeftAlignment(bool Value) { FButtonLeftAlignment = Value; }
  bool ButtonGlyphLeftAlignment() const { return FButtonGlyphLeftAlignment; }
  void SetButtonGlyphLeftAlignment(bool Value) { FButtonGlyphLeftAlignment = Value; }

  // The item at ItemIndex, nullptr when none is picked.
  TkaGalleryMenuItem* SelectedItem() const;
  // The drop-down now open, nullptr when closed.
  TkaGalleryMenuPopupWindow* PopupWindow() const { return FPopupWindow; }
  bool DroppedDown() const { return FPopupWindow != nullptr; }

  // Drop down at a screen point or below a screen rectangle; the Ext forms can open above
  // (AFromTop) and end at the right edge (AFromRight).
  void Popup(int X, int Y);
  void PopupFromRect(const TRect& R);
  void PopupExt(int X, int Y, bool AFromTop, bool AFromRight);
  void PopupFromRectExt(const TRect& R, bool AFromTop, bool AFromRight);
  // Closes an open drop-down without a pick and forgets the control.
  void Hide();

  // The control the menu drops down for and the scale of the drop-down; the control that
  // opens the menu sets both before each drop-down.
  TControl* FControl = nullptr;
  double FScaleFactor = 1.0;

  // Set by the control the menu is attached to. Owner tells whose they are, so that a
  // control only takes away its own.
  TNotifyEvent OnInternalChange;
  TNotifyEvent OnInternalMenuClose;
  void SetInternalEvents(const TObject* Owner, TNotifyEvent Change, TNotifyEvent MenuClose);
  void ClearInternalEvents(const TObject* Owner);

  TNotifyEvent OnItemClick;
  TNotifyEvent OnChange;
  TNotifyEvent OnMenuPopup;
  TNotifyEvent OnMenuClose;

  // What a button showing the pick asks.
  bool SelectedItem(String& Caption, int& ImageIndex) const override;
  TCustomImageList* GalleryImages() const override { return FImages; }

  // A layout may set ItemIndex before the items exist: it is checked once they do.
  void Loaded() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TkaGalleryMenuPopupWindow;
  // The common steps of the four drop-downs; Place shows the new window.
  void DoPopup(const std::function<void(TkaGalleryMenuPopupWindow*)>& Place);
  bool HasImages() const;
  // The window has closed: it is freed (later, when one of its handlers runs), then the close
  // events, and with AProcessEvents the click and change events.
  void DoMenuClose(bool AProcessEvents);
  void RaiseChange();

  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TkaGalleryMenuItems> FItems;
  TkaMenuHeaderStyle FHeaderStyle = kamhsDefault;
  int FHeaderHeight = 25;
  int FItemIndex = -1;
  TkaHint* FHintComponent = nullptr;
  TkaGalleryMenuBGStyle FBackgroundStyle = kagmPanel;
  std::unique_ptr<TFont> FItemFont;
  std::unique_ptr<TFont> FHeaderFont;
  int FColumnsCount = 1;
  bool FShowSelectedItem = true;
  bool FShowHints = true;
  bool FButtonLeftAlignment = false;
  bool FButtonGlyphLeftAlignment = false;
  const TObject* FInternalEventsOwner = nullptr;
  // A control the menu heard of through FControl, to forget when it is freed.
  TControl* FWatchedControl = nullptr;

  TkaGalleryMenuPopupWindow* FPopupWindow = nullptr;
  int FOldItemIndex = -1;
};

// What a drop-down painted since it was made, besides the whole faces of PaintStats; tests
// pin the cost of a hot-item change.
struct TkaGalleryPaintStats {
  // Repaints of single items, and items drawn by these or by whole faces.
  unsigned ItemRepaints = 0;
  unsigned ItemsDrawn = 0;
};

class TkaGalleryMenuPopupWindow : public TkaPanel {
  KA_CLASS(TkaGalleryMenuPopupWindow, TkaPanel)
 public:
  explicit TkaGalleryMenuPopupWindow(TComponent* AOwner);
  ~TkaGalleryMenuPopupWindow() override;

  // Lays the items out and shows the window below PopupRect (screen), without taking the
  // focus; the capture and the message filter then read the mouse and the keys.
  void Show(const TRect& PopupRect);
  void ShowExt(const TRect& PopupRect, bool AFromTop, bool AFromRight);
  // Hides the window and closes the menu (AProcessEvents: with the pick's events).
  void Hide(bool AProcessEvents);
  // Frees the window now, or when the handler of its own that is running has returned.
  void ReleaseLater();

  // The first usable item whose rectangle holds the point, edges included; -1 for none.
  int ItemAtPos(int X, int Y) const;
  // The key handling of the filter (Enter, Space, Escape, arrows).
  void ProcessKey(WORD Key);
  int MouseInItem() const { return FMouseInItem; }
  const TkaGalleryPaintStats& GalleryPaintStats() const { return FGalleryPaintStats; }

  TkaGalleryMenu* GalleryMenu = nullptr;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  struct TFilterLink;
  struct TFilter;

  // Item rectangles and the window's size.
  void LayoutItems();
  // The monitor work area the drop-down must stay on.
  TRect WorkArea() const;
  void ShowAt(int X, int Y);
  void InstallFilter();
  void RemoveFilter();
  void AppMessageFilter(MSG& Msg);
  void ArrowKey(WORD Key);
  int FindUsable(int From, int Step) const;
  int FindVertical(int Step) const;
  // The hot item becomes Value; only the two items that change are painted again.
  void SetMouseInItem(int Value);
  // Draws the items A and B again (-1: none) over the stored painting and puts just their
  // rectangles on screen; a full repaint when there is no stored painting yet.
  void RepaintItems(int A, int B);
  void HideHint();
  void Capture();

  // Painting (kaGalleryMenuDraw.cpp).
  const TControl* StyleControl() const;
  void DrawItem(TCanvas* ACanvas, int Index);
  void DrawImageItem(TCanvas* ACanvas, const TkaGalleryMenuItem* Item, TkasCtrlState State);
  void DrawButtonItem(TCanvas* ACanvas, const TkaGalleryMenuItem* Item, TkasCtrlState State);
  void DrawHeaderItem(TCanvas* ACanvas, const TkaGalleryMenuItem* Item);
  void DrawFrames(TCanvas* ACanvas);
  TkasCtrlState ItemState(int Index) const;

  int FMouseInItem = -1;
  int FOldMouseInItem = -1;
  bool FDown = false;
  bool FItemDown = false;
  // Hide ran: a second one (from a message its own closing sends) does nothing.
  bool FClosed = false;
  std::shared_ptr<TFilterLink> FFilter;
  // Window-procedure nesting; a close inside a handler frees the window once it unwinds.
  int FHandlerDepth = 0;
  bool FFreePending = false;
  TkaGalleryPaintStats FGalleryPaintStats;
};
