// The rows of the advanced list box: a collection of items that each carry a caption, a bold
// title, a detail line, an image index, a check mark, a small push button and a progress
// bar, or mark a group header. Items are kept small: the button and the progress bar are made
// the first time they are asked for, and the row's place in the list is two numbers the list
// keeps up to date, so lists of many thousands of rows stay cheap.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/Classes.h"

class TkaAdvancedListBox;
class TkaAdvancedListItems;

enum TkaListButtonStyleKind { kalbsPushButton, kalbsTransparent, kalbsCustomImage };

// The small push button at a row's right end. Width and Height are at 96 DPI.
class TkaListBoxButton : public TPersistent {
  KA_CLASS(TkaListBoxButton, TPersistent)
 public:
  TkaListBoxButton() = default;
  void Assign(TPersistent* Source) override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TkaListButtonStyleKind StyleKind() const { return FStyleKind; }
  void SetStyleKind(TkaListButtonStyleKind Value);
  // Sizes of 10 or less are ignored.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  // Pictures of the list box's ButtonImages (-1: none).
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int ImageHotIndex() const { return FImageHotIndex; }
  void SetImageHotIndex(int Value) { FImageHotIndex = Value; }
  int ImagePressedIndex() const { return FImagePressedIndex; }
  void SetImagePressedIndex(int Value) { FImagePressedIndex = Value; }

  // Caption, Enabled, StyleKind and ImageIndex changes of a visible button.
  TNotifyEvent OnChange;
  // Visible changes, and size changes of a visible button.
  TNotifyEvent OnVisibleChange;

  // Run time: where the button was last drawn (client coordinates), the pointer is over it,
  // it is held down.
  TRect ButtonRect;
  bool MouseIn = false;
  bool Down = false;

 private:
  void Change(const TNotifyEvent& Event);
  String FCaption;
  bool FEnabled = true;
  bool FVisible = false;
  TkaListButtonStyleKind FStyleKind = kalbsPushButton;
  int FWidth = 50;
  int FHeight = 25;
  int FImageIndex = -1;
  int FImageHotIndex = -1;
  int FImagePressedIndex = -1;
};

// A row's progress bar; Value between Min and Max fills it.
class TkaListBoxProgressBar : public TPersistent {
  KA_CLASS(TkaListBoxProgressBar, TPersistent)
 public:
  TkaListBoxProgressBar() = default;
  void Assign(TPersistent* Source) override;

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Value() const { return FValue; }
  void SetValue(int Value);

  TNotifyEvent OnChange;

 private:
  void SetField(int& Field, int Value);
  int FMin = 0;
  int FMax = 100;
  int FValue = 0;
};

class TkaAdvancedListItem : public TCollectionItem {
  KA_CLASS(TkaAdvancedListItem, TCollectionItem)
 public:
  explicit TkaAdvancedListItem(TCollection* Collection);
  ~TkaAdvancedListItem() override;
  // Copies image index, caption, title, enabled, checked, header, the custom colours and the
  // tag (not the detail, the indent, the button or the progress bar).
  void Assign(TPersistent* Source) override;
  String GetDisplayName() const override;

  int ImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(int Value);
  // Bold line above the caption.
  const String& Title() const { return FTitle; }
  virtual void SetTitle(const String& Value);
  const String& Caption() const { return FCaption; }
  virtual void SetCaption(const String& Value);
  // Grey line below the caption or at its right.
  const String& Detail() const { return FDetail; }
  virtual void SetDetail(const String& Value);
  // A disabled row cannot be selected.
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // A group header: its own height and look, never selected.
  bool Header() const { return FHeader; }
  virtual void SetHeader(bool Value);
  bool Checked() const { return FChecked; }
  virtual void SetChecked(bool Value);
  // Made on first use; the setters copy.
  TkaListBoxButton* Button() const;
  void SetButton(TkaListBoxButton* Value) { Button()->Assign(Value); }
  TkaListBoxProgressBar* ProgressBar() const;
  void SetProgressBar(TkaListBoxProgressBar* Value) { ProgressBar()->Assign(Value); }
  // Levels of indentation (negative values are ignored).
  int Indent() const { return FIndent; }
  void SetIndent(int Value);
  int Tag() const { return FTag; }
  void SetTag(int Value);
  // Row background and text colours (clNone: the list's own).
  TColor CustomColor() const { return FCustomColor; }
  virtual void SetCustomColor(TColor Value);
  uint8_t CustomColorAlpha() const { return FCustomColorAlpha; }
  virtual void SetCustomColorAlpha(uint8_t Value);
  TColor CustomTextColor() const { return FCustomTextColor; }
  virtual void SetCustomTextColor(TColor Value);
  TColor CustomDetailTextColor() const { return FCustomDetailTextColor; }
  virtual void SetCustomDetailTextColor(TColor Value);
  // The application's own pointer; the list never touches it.
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }

  // ---- Run time ---------------------------------------------------------------------------
  // The list box the item belongs to (nullptr outside one).
  TkaAdvancedListBox* ListBox() const;
  // The row is the selected one.
  bool Active() const;
  // The row passes the list's filter.
  bool IsFilterVisible() const;
  // The row gets the alternate-row shading.
  bool AlternateColor() const;
  // The row's rectangle in client coordinates as scrolled now; empty when filtered out.
  TRect ItemRect() const;
  // The row shows in the view.
  bool IsVisible() const;
  // The button exists and is visible (asking does not make one).
  bool HasVisibleButton() const { return FButton != nullptr && FButton->Visible(); }
  bool HasProgressBar() const { return FProgressBar != nullptr; }

  TNotifyEvent OnClick;
  TNotifyEvent OnButtonClick;
  TNotifyEvent OnCheckClick;

 protected:
  // Tells the list that the row changed; Layout when rows may move (a height or the filter's
  // verdict changed), otherwise only this row is drawn again.
  void ItemChanged(bool Layout);

 private:
  friend class TkaAdvancedListBox;
  friend class TkaAdvancedListItems;
  friend struct TkaListRowPainter;
  // A caption, title or detail change: rows move only when the filter now judges it
  // otherwise.
  void TextChanged();
  void WireButton(TkaListBoxButton* Button) const;

  int FImageIndex = -1;
  String FTitle;
  String FCaption;
  String FDetail;
  void* FData = nullptr;
  mutable std::unique_ptr<TkaListBoxButton> FButton;
  mutable std::unique_ptr<TkaListBoxProgressBar> FProgressBar;
  int FIndent = 0;
  int FTag = 0;
  TColor FCustomColor = clNone;
  TColor FCustomTextColor = clNone;
  TColor FCustomDetailTextColor = clNone;
  // Top of the row below the first row, unscrolled; set by the list's layout.
  int FLayoutTop = 0;
  uint8_t FCustomColorAlpha = 255;
  bool FEnabled = true;
  bool FHeader = false;
  bool FChecked = false;
  bool FFilterVisible = true;
  bool FAlternate = false;
};

class TkaAdvancedListItems : public TOwnedCollection {
  KA_CLASS(TkaAdvancedListItems, TOwnedCollection)
 public:
  explicit TkaAdvancedListItems(TkaAdvancedListBox* AListBox);
  ~TkaAdvancedListItems() override;

  TkaAdvancedListBox* AdvancedListBox() const { return FListBox; }
  TkaAdvancedListItem* Items(int Index) const { return static_cast<TkaAdvancedListItem*>(TCollection::Items(Index)); }
  TkaAdvancedListItem* operator[](int Index) const { return Items(Index); }
  void SetItem(int Index, TkaAdvancedListItem* Value);
  TkaAdvancedListItem* Add() { return static_cast<TkaAdvancedListItem*>(TCollection::Add()); }
  // The selection stays on its row.
  TkaAdvancedListItem* Insert(int Index);
  // Indexes outside the list are ignored.
  void Delete(int Index);
  void Clear();

 protected:
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, bool Added) override;

 private:
  friend class TkaAdvancedListItem;
  friend class TkaAdvancedListBox;
  // The index of Item, searched from the end (where removals mostly happen).
  int IndexFromEnd(const TCollectionItem* Item) const;
  TkaAdvancedListBox* FListBox;
};
