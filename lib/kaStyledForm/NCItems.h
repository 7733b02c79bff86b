// Caption buttons and tabs of a styled form: the collections the form publishes as Buttons
// and Tabs, the live NC object each item owns (its place in the caption, mouse state,
// painting and mouse behaviour), and the layout that places them in the caption. The form
// style hook runs the layout while it paints and hands the non-client mouse events to the
// NC objects.
#pragma once

#include <functional>
#include <memory>

#include "framework/Classes.h"
#include "framework/Menus.h"
#include "lib/kaDrawUtils/Colors.h"

class TkaStyledForm;
class TCanvas;
class TCustomImageList;

enum TkaNCButtonStyle {
  kancPushButton,
  kancToolButton,
  kancPushButtonTransparent,
  kancToolButtonTransparent,
  kancTransparent,
  kancLink
};
enum TkaNCButtonPosition { kabpLeft, kabpRight };

// AIndex is the item's index in its collection; X and Y of mouse events are window
// coordinates, those of a drop-down screen coordinates.
using TkaPaintNCButtonEvent =
    std::function<void(int AIndex, TCanvas* ACanvas, const TRect& ARect, bool AMouseIn, bool ADown, bool ADroppedDown)>;
using TkaPaintParamsNCButtonEvent = std::function<void(int AIndex, TCanvas* ACanvas, const TRect& ARect,
                                                       bool AMouseIn, bool ADown, bool ADroppedDown, bool& AHandled)>;
using TkaPaintNCTabEvent =
    std::function<void(int AIndex, TCanvas* ACanvas, const TRect& ARect, bool AMouseIn, bool AActive)>;
using TkaPaintParamsNCTabEvent = std::function<void(int AIndex, TCanvas* ACanvas, const TRect& ARect, bool AMouseIn,
                                                    bool AActive, bool& AHandled)>;
using TkaNCMouseEvent = std::function<void(int AIndex)>;
using TkaNCMouseXYEvent = std::function<void(int AIndex, int X, int Y)>;
using TkaNCButtonCloseUpEvent = std::function<void(int AIndex, bool AAcceptChanges)>;
using TkaNCButtonDropDownEvent = std::function<void(int AIndex, int X, int Y)>;

// The live side of a caption item: created and freed with the item, it holds the mouse state
// and does the drawing and the mouse behaviour. Coordinates are the window's.
class TkaNCObject : public TObject {
  KA_CLASS(TkaNCObject, TObject)
 public:
  explicit TkaNCObject(TCollectionItem* AParent) : FParent(AParent) {}
  ~TkaNCObject() override { *FAlive = false; }
  TCollectionItem* Parent() const { return FParent; }
  virtual TkaStyledForm* OwnerStyledForm() const { return nullptr; }
  virtual int ContentWidth(int AMinWidth, TCanvas* Canvas) { return AMinWidth; }
  virtual void MouseDown(int X, int Y) { FDown = true; }
  virtual void MouseUp(int X, int Y) { FDown = false; }
  virtual void MouseMove(int X, int Y) { FMouseIn = true; }
  virtual void MouseEnter() { FMouseIn = true; }
  virtual void MouseLeave() { FMouseIn = false; }
  virtual void Draw(TCanvas* ACanvas) {}
  // Repaints the non-client area through the item's change notification.
  virtual void Invalidate();
  bool MouseIn() const { return FMouseIn; }
  bool Down() const { return FDown; }
  // For an item the layout skips: no events, no repaint.
  void ClearMouseIn() { FMouseIn = false; }

  // Empty while the item is not shown.
  TRect ObjectRect;

 protected:
  // The index of the parent item, the styled form's scale factor (1 without one).
  int ItemIndex() const;
  double Scale() const;
  // Entering or leaving either kind of item: the mouse state and the item's hint, then
  // Repaint, then the item's event last, as the handler may free the item.
  void EnterOrLeave(bool AEnter, const String& AHint, const std::function<void()>& Repaint,
                    const TkaNCMouseEvent& AEvent);

  TCollectionItem* FParent;
  bool FMouseIn = false;
  bool FDown = false;
  // False once the object is freed: events and menus may free the item while it works.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// Lays out the styled form's caption buttons and tabs inside R (the caption text rectangle
// left between the icon and the system buttons; it shrinks by what the items take), sets
// every item's ObjectRect and draws the shown ones on Canvas (the caption bitmap's). B is
// the caption's bounding rectangle and YOffset the shift of a maximised form's caption.
void DrawCaptionItems(TkaStyledForm* AForm, TCanvas* Canvas, TRect& R, const TRect& B, int YOffset, bool AMinimized);

class TkaNCButtonItem;
class TkaNCTabItem;

class TkaNCButtonObject : public TkaNCObject {
  KA_CLASS(TkaNCButtonObject, TkaNCObject)
 public:
  explicit TkaNCButtonObject(TkaNCButtonItem* AParent);
  TkaNCButtonItem* ButtonItem() const;
  bool DroppedDown() const { return FDroppedDown; }

  TkaStyledForm* OwnerStyledForm() const override;
  int ContentWidth(int AMinWidth, TCanvas* Canvas) override;
  void MouseDown(int X, int Y) override;
  void MouseUp(int X, int Y) override;
  void MouseMove(int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Draw(TCanvas* ACanvas) override;

  // The custom drop-down of this button closed up (the styled form's CloseUp).
  void CloseUp(bool AAcceptChanges);

 protected:
  bool FDroppedDown = false;
  bool FAllowAllUpCheck = false;

 private:
  bool DropsDown() const;
  bool IsSplit() const;
  bool InArrowZone(int X, int Y) const;
  TPoint DropDownPoint() const;
  // Each returns false when the object was freed meanwhile.
  bool OpenCustomDropDown();
  bool OpenPopupMenu();
  void RepaintUnlessDroppedDown();
  void PaintBackground(TCanvas* ACanvas, TkasCtrlState State, bool Split, bool Open);
  void PaintElement(TCanvas* ACanvas, const TRect& Rect, TkasCtrlState State, bool Push);
  void PaintSplitElement(TCanvas* ACanvas, TkasCtrlState State, bool Open, bool Push);
  void PaintArrow(TCanvas* ACanvas, TColor Color);
};

class TkaNCTabObject : public TkaNCObject {
  KA_CLASS(TkaNCTabObject, TkaNCObject)
 public:
  explicit TkaNCTabObject(TkaNCTabItem* AParent);
  TkaNCTabItem* TabItem() const;
  // The tab's index is the styled form's TabIndex.
  bool IsActive() const;

  TkaStyledForm* OwnerStyledForm() const override;
  int ContentWidth(int AMinWidth, TCanvas* Canvas) override;
  void MouseDown(int X, int Y) override;
  void MouseUp(int X, int Y) override;
  void MouseMove(int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Draw(TCanvas* ACanvas) override;
};

// What the two kinds of caption item share: the change notification reachable from their
// NC object, and the states the lookups and the layout read.
class TkaNCItem : public TCollectionItem {
  KA_CLASS(TkaNCItem, TCollectionItem)
 public:
  explicit TkaNCItem(TCollection* Collection) : TCollectionItem(Collection) {}
  // Repaints the caption through the collection (not while the styled form loads).
  void NotifyChanged() { Changed(false); }
  // The styled form owning the collection (nullptr without one).
  TkaStyledForm* StyledForm() const;
  virtual TkaNCObject* NCObject() const = 0;
  bool ItemEnabled() const { return FEnabled; }
  bool ItemVisible() const { return FVisible; }

  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { SetField(FImageIndex, Value); }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { SetField(FCaption, Value); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { SetField(FEnabled, Value); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { SetField(FVisible, Value); }
  // Image to caption; negative refused.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { SetField(FHint, Value); }

 protected:
  template <class T>
  void SetField(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(false);
  }
  // Copies the properties above, without a change notification.
  void AssignShared(const TkaNCItem& Source);

 private:
  int FImageIndex = -1;
  String FCaption;
  bool FEnabled = true;
  bool FVisible = true;
  int FSpacing = 5;
  String FHint;
};

class TkaNCButtonItem : public TkaNCItem {
  KA_CLASS(TkaNCButtonItem, TkaNCItem)
 public:
  explicit TkaNCButtonItem(TCollection* Collection);
  ~TkaNCButtonItem() override;

  TkaNCButtonObject* NCObject() const override { return FNCObject.get(); }

  // Not owned; the styled form clears it when the menu is freed.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  int HotImageIndex() const { return FHotImageIndex; }
  void SetHotImageIndex(int Value) { SetField(FHotImageIndex, Value); }
  int PressedImageIndex() const { return FPressedImageIndex; }
  void SetPressedImageIndex(int Value) { SetField(FPressedImageIndex, Value); }
  // Latched; setting it releases every other item of the same GroupIndex (0 included).
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { SetField(FGroupIndex, Value); }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { SetField(FAllowAllUp, Value); }
  bool CustomDropDown() const { return FCustomDropDown; }
  void SetCustomDropDown(bool Value) { SetField(FCustomDropDown, Value); }
  bool SplitButton() const { return FSplitButton; }
  void SetSplitButton(bool Value) { SetField(FSplitButton, Value); }
  TkaNCButtonStyle Style() const { return FStyle; }
  void SetStyle(TkaNCButtonStyle Value) { SetField(FStyle, Value); }
  // 0: automatic; negative values are refused.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int MarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(int Value) { SetField(FMarginLeft, Value); }
  int MarginRight() const { return FMarginRight; }
  void SetMarginRight(int Value) { SetField(FMarginRight, Value); }
  int MarginTop() const { return FMarginTop; }
  void SetMarginTop(int Value) { SetField(FMarginTop, Value); }
  int MarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(int Value) { SetField(FMarginBottom, Value); }
  TkaNCButtonPosition Position() const { return FPosition; }
  void SetPosition(TkaNCButtonPosition Value) { SetField(FPosition, Value); }
  // Content margin of the image and caption layout; below -1 refused.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  // Extra width on each side; negative refused.
  int ContentMargin() const { return FContentMargin; }
  void SetContentMargin(int Value);

  // Where the layout last placed the button (window coordinates), as its NC object has it.
  TRect ObjectRect;

  // The styled form tells the button that the form it dropped down has closed up.
  virtual void DropDownClosed(bool AAcceptChanges);

  // Copies everything but GroupIndex, Down, AllowAllUp, ContentMargin and the events.
  void Assign(TPersistent* Source) override;

  // Sender of OnClick is the NC object.
  TNotifyEvent OnClick;
  TkaPaintNCButtonEvent OnPaint;
  TkaPaintParamsNCButtonEvent OnGetPaintParams;
  TkaNCMouseEvent OnMouseEnter;
  TkaNCMouseEvent OnMouseLeave;
  TkaNCMouseXYEvent OnMouseDown;
  TkaNCMouseXYEvent OnMouseUp;
  TkaNCMouseXYEvent OnMouseMove;
  TkaNCButtonCloseUpEvent OnCloseUp;
  TkaNCButtonDropDownEvent OnDropDown;

 private:
  friend class TkaNCButtonObject;
  // The stored Down, without releasing others or a change notification.
  void StoreDown(bool Value) { FDown = Value; }

  std::unique_ptr<TkaNCButtonObject> FNCObject;
  TPopupMenu* FPopupMenu = nullptr;
  int FHotImageIndex = -1;
  int FPressedImageIndex = -1;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FCustomDropDown = false;
  bool FSplitButton = false;
  TkaNCButtonStyle FStyle = kancToolButtonTransparent;
  int FWidth = 0;
  int FHeight = 0;
  int FMarginLeft = 0;
  int FMarginRight = 0;
  int FMarginTop = 2;
  int FMarginBottom = 2;
  TkaNCButtonPosition FPosition = kabpLeft;
  int FMargin = -1;
  int FContentMargin = 0;
};

class TkaNCTabItem : public TkaNCItem {
  KA_CLASS(TkaNCTabItem, TkaNCItem)
 public:
  explicit TkaNCTabItem(TCollection* Collection);
  ~TkaNCTabItem() override;

  TkaNCTabObject* NCObject() const override { return FNCObject.get(); }

  // 0: automatic. Width, Height, MarginTop and ContentMargin take any value.
  int Width() const { return FWidth; }
  void SetWidth(int Value) { SetField(FWidth, Value); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { SetField(FHeight, Value); }
  int MarginTop() const { return FMarginTop; }
  void SetMarginTop(int Value) { SetField(FMarginTop, Value); }
  int ContentMargin() const { return FContentMargin; }
  void SetContentMargin(int Value) { SetField(FContentMargin, Value); }

  // Copies ImageIndex, Caption, Visible, Enabled, Height, Width, MarginTop, Spacing and Hint.
  void Assign(TPersistent* Source) override;

  // Sender of OnClick is the NC object.
  TNotifyEvent OnClick;
  TkaPaintNCTabEvent OnPaint;
  TkaPaintParamsNCTabEvent OnGetPaintParams;
  TkaNCMouseEvent OnMouseEnter;
  TkaNCMouseEvent OnMouseLeave;
  TkaNCMouseXYEvent OnMouseDown;
  TkaNCMouseXYEvent OnMouseUp;
  TkaNCMouseXYEvent OnMouseMove;

 private:
  std::unique_ptr<TkaNCTabObject> FNCObject;
  int FWidth = 0;
  int FHeight = 0;
  int FMarginTop = 3;
  int FContentMargin = 0;
};

class TkaNCButtonItems : public TOwnedCollection {
  KA_CLASS(TkaNCButtonItems, TOwnedCollection)
 public:
  explicit TkaNCButtonItems(TkaStyledForm* AOwner);
  TkaNCButtonItem* Items(int Index) const { return static_cast<TkaNCButtonItem*>(inherited::Items(Index)); }
  TkaNCButtonItem* Add() { return static_cast<TkaNCButtonItem*>(inherited::Add()); }
  TkaStyledForm* StyledForm() const { return FStyledForm; }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TkaStyledForm* FStyledForm;
};

class TkaNCTabItems : public TOwnedCollection {
  KA_CLASS(TkaNCTabItems, TOwnedCollection)
 public:
  explicit TkaNCTabItems(TkaStyledForm* AOwner);
  TkaNCTabItem* Items(int Index) const { return static_cast<TkaNCTabItem*>(inherited::Items(Index)); }
  TkaNCTabItem* Add() { return static_cast<TkaNCTabItem*>(inherited::Add()); }
  TkaStyledForm* StyledForm() const { return FStyledForm; }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TkaStyledForm* FStyledForm;
};
