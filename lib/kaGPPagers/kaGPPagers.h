// The vector page control: a row of GDI+-painted tabs along the top, each owning a page (a
// scroll box hosting controls) below them. Tabs come in four looks with colours and alphas
// by state, may carry close buttons, images and glowing captions, can be dragged into a new
// order, stretched to the full width, laid out right to left or reversed, and scroll with
// two arrow buttons when the row does not fit. Switching pages asks a veto hook, takes the
// focus out of the old page and shows the new page before hiding the old one.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/ImageList.h"
#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaControls/kaScrollBox.h"
#include "lib/kaDrawUtils/GlowEffect.h"
#include "lib/kaGPPagers/kaGPTabOptions.h"
#include "lib/kaModernControls/kaPageViewer.h"

enum TkaGPTabControlBorderStyle { kagpbsFrame, kagpbsLine, kagpbsLineTopBottom, kagpbsNone };
enum TkaGPTabSequence { kagptsDefault, kagptsReverse };
enum TkaGPPageBGStyle { kagppsForm, kagppsColor };

// Sender: the page about to close; set CanClose to False to keep it.
using TkaTabCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
// Lets the host change the canvas font of tab ATabIndex before it is measured or drawn.
using TkaGPGetAdvTabDrawParamsEvent = std::function<void(int ATabIndex, TkasCtrlState ATabState, TCanvas* ACanvas)>;
// Lets the host pick another image list or image for tab ATabIndex.
using TkaGPOnGetTabImageEvent =
    std::function<void(int ATabIndex, TCustomImageList*& AImageList, int& AImageIndex)>;

class TkaGPPageControl;

class TkaGPPageControlPage : public TkaCustomScrollBox {
  KA_CLASS(TkaGPPageControlPage, TkaCustomScrollBox)
 public:
  explicit TkaGPPageControlPage(TComponent* AOwner);
  // A page freed on its own takes its tab with it.
  ~TkaGPPageControlPage() override;

  // Whatever is asked, a page inside its page control takes the page area.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TkaGPPageBGStyle BGStyle() const { return FBGStyle; }
  void SetBGStyle(TkaGPPageBGStyle Value);
  TkaGPPageControl* Pager() const { return FPager; }
  void SetPager(TkaGPPageControl* Value);

  // Set while the page control itself frees the page, so it does not look for its tab.
  bool FDestroyFromPager = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TkaGPPageBGStyle FBGStyle = kagppsForm;
  TkaGPPageControl* FPager = nullptr;
};

class TkaGPPageControlTabs;

class TkaGPPageControlTab : public TCollectionItem {
  KA_CLASS(TkaGPPageControlTab, TCollectionItem)
 public:
  explicit TkaGPPageControlTab(TCollection* Collection);
  ~TkaGPPageControlTab() override;
  // From another tab: the page of the same name on this control's form, caption, image,
  // visibility, enabled state, close button, custom options and custom frame colour.
  void Assign(TPersistent* Source) override;

  TkaGPPageControlPage* Page() const { return FPage; }
  void SetPage(TkaGPPageControlPage* Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  TkaGPTabOptions* CustomOptions() const { return FCustomOptions; }
  void SetCustomOptions(TkaGPTabOptions* Value) { FCustomOptions->Assign(Value); }
  bool UseCustomOptions() const { return FUseCustomOptions; }
  void SetUseCustomOptions(bool Value);
  TColor CustomFrameColor() const { return FCustomFrameColor; }
  void SetCustomFrameColor(TColor Value);
  uint8_t CustomFrameColorAlpha() const { return FCustomFrameColorAlpha; }
  void SetCustomFrameColorAlpha(uint8_t Value);
  TkaButtonGlowEffect* CustomGlowEffect() const { return FCustomGlowEffect; }
  void SetCustomGlowEffect(TkaButtonGlowEffect* Value) { FCustomGlowEffect->Assign(Value); }
  bool ShowCloseButton() const { return FShowCloseButton; }
  void SetShowCloseButton(bool Value);

  // Called with the page control as sender when the selected tab is clicked or activated
  // from the keyboard.
  TNotifyEvent OnClick;

  // Run-time state, kept by layout, painting and the mouse.
  bool Active = false;  // the mouse is over the tab
  TRect TabRect;
  TRect CloseButtonRect;
  bool CloseButtonMouseIn = false;
  bool CloseButtonMouseDown = false;

 private:
  friend class TkaGPPageControl;
  friend class TkaGPPageControlTabs;
  friend struct TkaGPTabPainter;
  TkaGPPageControl* Pager() const;
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(false);
  }

  TkaGPPageControlPage* FPage = nullptr;
  bool FVisible = true;
  bool FEnabled = true;
  int FImageIndex = -1;
  String FCaption;
  TkaGPTabOptions* FCustomOptions;
  bool FUseCustomOptions = false;
  TColor FCustomFrameColor = clNone;
  uint8_t FCustomFrameColorAlpha = 255;
  TkaButtonGlowEffect* FCustomGlowEffect;
  bool FShowCloseButton = true;
};

class TkaGPPageControlTabs : public TCollection {
  KA_CLASS(TkaGPPageControlTabs, TCollection)
 public:
  explicit TkaGPPageControlTabs(TkaGPPageControl* APager);

  TkaGPPageControlTab* Items(int Index) const {
    return static_cast<TkaGPPageControlTab*>(TCollection::Items(Index));
  }
  // At run time a new tab comes with a new page, which Add also shows.
  TkaGPPageControlTab* Add();
  TkaGPPageControlTab* Insert(int Index);
  // At run time the tab's page is freed with it; the selection stays on the same page.
  void Delete(int Index);
  void Clear();
  // The index of the tab holding APage; -1 when none does.
  int IndexOfPage(const TkaGPPageControlPage* APage) const;

  TPersistent* GetOwner() override;
  TkaGPPageControl* Pager() const { return FPager; }
  // A page whose tab was removed in the designer, freed by the next update.
  TkaGPPageControlPage* DestroyPage = nullptr;
  bool FClearing = false;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TkaGPPageControl* FPager;
};

class TkaGPPageControl : public TkaCustomControl {
  KA_CLASS(TkaGPPageControl, TkaCustomControl)
 public:
  explicit TkaGPPageControl(TComponent* AOwner);
  ~TkaGPPageControl() override;

  // ---- Pages and tabs -----------------------------------------------------------------------
  // Selecting a tab switches pages: asked through OnCanChangePage, refused while the focus
  // cannot leave the old page, and the new page is on screen before the old one hides.
  // -1 deselects and leaves the page as it is; other indexes outside the tabs are ignored.
  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int Value);
  TkaGPPageControlPage* ActivePage() const { return FActivePage; }
  // A page of a tab selects that tab; nullptr hides the active page and deselects.
  void SetActivePage(TkaGPPageControlPage* Value);
  TkaGPPageControlTabs* Tabs() const { return FTabs; }
  void SetTabs(TkaGPPageControlTabs* Value) { FTabs->Assign(Value); }
  // A new page owned by the control's owner, named "kaGPPageControlPage<n>" with the first
  // free n, placed in the page area.
  TkaGPPageControlPage* CreatePage();
  int GetPageIndex(const TkaGPPageControlPage* Value) const { return FTabs->IndexOfPage(Value); }

  // Select the next, previous, first or last visible and enabled tab, if any.
  void FindNextTab();
  void FindPriorTab();
  void FindFirstTab();
  void FindLastTab();
  // The next or previous visible and enabled tab after AIndex; -1 when none.
  int FindNextTabFromIndex(int AIndex) const;
  int FindPriorTabFromIndex(int AIndex) const;
  // The first visible tab whose rectangle holds P; -1 when none.
  int TabFromPoint(TPoint P) const;

  // Lays the row out again from its start and scrolls to the selected tab.
  void UpdateTabs();
  void UpdateControls() override;
  // Asks OnClose about the active page; a tab allowed to close is hidden (freed with its page
  // under FreeOnClose).
  void DoClose();
  // A tab dragged onto the tab at P takes that tab's place and becomes selected.
  void DragDrop(TObject* Source, int X, int Y);
  // Whether a drag of Source over (X, Y) would be taken.
  bool DragOver(TObject* Source, int X, int Y) const;

  // The page area and where the active page goes in it.
  TRect PageBounds() const;
  TRect TabsRect() const { return FTabsRect; }
  TRect PageRect() const { return FPageRect; }
  int LeftTabIndex() const { return FLeftTabIndex; }
  int RightTabIndex() const { return FRightTabIndex; }
  int ScrollOffset() const { return FScrollOffset; }
  bool ScrollVisible() const { return FScrollVisible; }
  // The tab under the mouse; -1 when none.
  int HotTab() const { return FTabActive; }
  TkaGPTabScrollButton* LeftScrollButton() const { return FLeftScrollButton; }
  TkaGPTabScrollButton* RightScrollButton() const { return FRightScrollButton; }
  // Scrolls the row so that tab Index is in view.
  void ScrollToTab(int Index);
  // Scrolls by one tab, as the arrow buttons do.
  void ScrollLeft();
  void ScrollRight();

  // ---- Appearance ----------------------------------------------------------------------------
#define KA_PGC_GETTER(Type, Name) \
  Type Name() const { return F##Name; }
  KA_PGC_GETTER(bool, CanFocused)
  KA_PGC_GETTER(bool, EnableDragReorderTabs)
  KA_PGC_GETTER(TColor, TabsBGFillColor)
  KA_PGC_GETTER(uint8_t, TabsBGFillColorAlpha)
  KA_PGC_GETTER(int, FrameWidth)
  KA_PGC_GETTER(int, FrameRadius)
  KA_PGC_GETTER(bool, FrameScaleWidth)
  KA_PGC_GETTER(TColor, FrameColor)
  KA_PGC_GETTER(uint8_t, FrameColorAlpha)
  KA_PGC_GETTER(TColor, FrameBGFillColor)
  KA_PGC_GETTER(uint8_t, FrameBGFillColorAlpha)
  KA_PGC_GETTER(TkaGPTabControlBorderStyle, BorderStyle)
  KA_PGC_GETTER(bool, MouseWheelSupport)
  KA_PGC_GETTER(bool, ShowFocusRect)
  KA_PGC_GETTER(bool, ShowInActiveTab)
  KA_PGC_GETTER(bool, ShowCloseButtons)
  KA_PGC_GETTER(bool, ShowCloseButtonOnActiveTabOnly)
  KA_PGC_GETTER(int, TabsLeftOffset)
  KA_PGC_GETTER(int, TabsRightOffset)
  KA_PGC_GETTER(int, TabsTopOffset)
  KA_PGC_GETTER(int, TabSpacing)
  KA_PGC_GETTER(int, TabMargin)
  KA_PGC_GETTER(int, TabWidth)
  KA_PGC_GETTER(int, TabTextMargin)
  KA_PGC_GETTER(bool, TabTextActiveBold)
  KA_PGC_GETTER(bool, StretchTabs)
  KA_PGC_GETTER(TkaGPTabSequence, TabSequence)
  KA_PGC_GETTER(int, ScrollButtonWidth)
  KA_PGC_GETTER(TColor, ScrollButtonArrowColor)
  KA_PGC_GETTER(uint8_t, ScrollButtonArrowThickness)
  KA_PGC_GETTER(TColor, ScrollButtonColor)
  KA_PGC_GETTER(bool, ScrollButtonTransparent)
  KA_PGC_GETTER(int, TabHeight)
  KA_PGC_GETTER(TCustomImageList*, TabImages)
  KA_PGC_GETTER(bool, FreeOnClose)
  KA_PGC_GETTER(int, CloseButtonSize)
  KA_PGC_GETTER(bool, SaveFocusOnActiveControl)
  // A change of scale is settling; the row is laid out again when it has.
  KA_PGC_GETTER(bool, TabsScaling)
#undef KA_PGC_GETTER
  void SetCanFocused(bool Value) { FCanFocused = Value; }
  void SetEnableDragReorderTabs(bool Value) { FEnableDragReorderTabs = Value; }
  void SetTabsBGFillColor(TColor Value);
  void SetTabsBGFillColorAlpha(uint8_t Value);
  void SetFrameWidth(int Value);
  void SetFrameRadius(int Value);
  void SetFrameScaleWidth(bool Value) { FFrameScaleWidth = Value; }
  void SetFrameColor(TColor Value);
  void SetFrameColorAlpha(uint8_t Value);
  void SetFrameBGFillColor(TColor Value);
  void SetFrameBGFillColorAlpha(uint8_t Value);
  void SetBorderStyle(TkaGPTabControlBorderStyle Value);
  void SetMouseWheelSupport(bool Value) { FMouseWheelSupport = Value; }
  void SetShowFocusRect(bool Value);
  void SetShowInActiveTab(bool Value);
  void SetShowCloseButtons(bool Value);
  void SetShowCloseButtonOnActiveTabOnly(bool Value);
  void SetTabsLeftOffset(int Value);
  void SetTabsRightOffset(int Value);
  void SetTabsTopOffset(int Value);
  void SetTabSpacing(int Value);
  void SetTabMargin(int Value);
  void SetTabWidth(int Value);
  void SetTabTextMargin(int Value);
  void SetTabTextActiveBold(bool Value);
  void SetStretchTabs(bool Value);
  void SetTabSequence(TkaGPTabSequence Value);
  void SetScrollButtonWidth(int Value);
  void SetScrollButtonArrowColor(TColor Value);
  void SetScrollButtonArrowThickness(uint8_t Value);
  void SetScrollButtonColor(TColor Value);
  void SetScrollButtonTransparent(bool Value);
  void SetTabHeight(int Value);
  void SetTabImages(TCustomImageList* Value);
  void SetFreeOnClose(bool Value) { FFreeOnClose = Value; }
  // A mouse press that switches tabs leaves the focus where it is, once.
  void SetSaveFocusOnActiveControl(bool Value) { FSaveFocusOnActiveControl = Value; }

  TkaGPTabOptions* TabOptions() const { return FTabOptions; }
  void SetTabOptions(TkaGPTabOptions* Value) { FTabOptions->Assign(Value); }
  TkaGPTabCloseButtonOptions* TabCloseButtonOptions() const { return FTabCloseButtonOptions; }
  void SetTabCloseButtonOptions(TkaGPTabCloseButtonOptions* Value) { FTabCloseButtonOptions->Assign(Value); }
  TkaButtonGlowEffect* TabGlowEffect() const { return FTabGlowEffect; }
  void SetTabGlowEffect(TkaButtonGlowEffect* Value) { FTabGlowEffect->Assign(Value); }

  using TkaCustomControl::DrawTextMode;
  using TkaCustomControl::SetDrawTextMode;
  using TkaCustomControl::StorePaintBuffer;
  using TkaCustomControl::SetStorePaintBuffer;
  using TkaCustomControl::TransparentBackground;
  void SetTransparentBackground(bool Value) override;

  // Reversed order: right to left, or the reverse sequence.
  bool ReversedOrder() const;
  // Whether tab Index shows a close button now.
  bool TabShowsCloseButton(int Index) const;

  void ShowControl(TControl* AControl) override;
  void ChangeScale(int M, int D, bool isDpiChange) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChangePage;
  TNotifyEvent OnChangingPage;
  TkaCanChangePageEvent OnCanChangePage;
  TkaTabCloseEvent OnClose;
  TkaGPGetAdvTabDrawParamsEvent OnGetTabDrawParams;
  TkaGPOnGetTabImageEvent OnGetTabImage;
  TNotifyEvent OnTabsAreaClick;

 protected:
  void Paint() override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

 private:
  friend class TkaGPPageControlPage;
  friend class TkaGPPageControlTab;
  friend class TkaGPPageControlTabs;
  friend struct TkaGPTabPainter;

  bool Loading() const { return ComponentState().Contains(csLoading); }
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  // Layout (kaGPPageControlLayout.cpp).
  TCanvas* MeasureCanvas();
  void ImageOf(int Index, TCustomImageList*& List, int& ImageIndex) const;
  bool HasImage(int Index, TCustomImageList*& List, int& ImageIndex) const;
  // The width tab Index asks for, measured on C.
  int NaturalTabWidth(int Index, TCanvas* C);
  // The widths of the tabs in the row (0 for hidden ones): natural, fixed or stretched.
  std::vector<int> LayoutWidths();
  void CalcScrollVisible(const std::vector<int>& Widths);
  void CalcScrollVisible();
  void LayoutTabs();
  void UpdateScrollButtons();
  void PlaceActivePage();
  void PlaceAllPages();
  void RelayoutFromStart();
  int ScrollButtonSpace() const { return FScrollVisible ? FScrollButtonWidth : 0; }
  void ScrollButtonClick(TObject* Sender);
  // Switching (kaGPPageControl.cpp).
  bool ReleaseFocusFromActivePage();
  void SwitchTo(int Index);
  // Selects the next visible and enabled tab from Index on, else the nearest before it.
  void SelectNeighbourOf(int Index);
  void TabVisibilityChanged(TkaGPPageControlTab* Tab);
  void PageDestroying(TkaGPPageControlPage* APage);
  void TabDeleted(int Index, bool WasSelected, bool WasBefore);
  // Repaints (kaGPPageControlInput.cpp).
  void InvalidateTab(int Index);
  void OptionsChanged();
  // Mouse and keyboard (kaGPPageControlInput.cpp).
  void TrackMouse(int X, int Y);
  void PressCloseButton(int X, int Y, int PreviousTabIndex);
  void ReleaseCloseButton(int X, int Y);
  void StartDragIfMoved(int X, int Y);
  void MouseWheel(TMessage& Message);
  bool DialogChar(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMTimer(TMessage& Message);
  void FocusChanged(bool Gained);
  // Painting (kaGPPageControlDraw.cpp).
  void DrawFrame(Gdiplus::Graphics* G);
  void DrawTabs(Gdiplus::Graphics* G, TCanvas* C);

  bool FCanFocused = true;
  bool FEnableDragReorderTabs = false;
  TkaGPPageControlTab* FDragSourceTab = nullptr;
  TColor FTabsBGFillColor = clNone;
  uint8_t FTabsBGFillColorAlpha = 255;
  int FFrameWidth = 2;
  int FFrameRadius = 0;
  bool FFrameScaleWidth = false;
  TColor FFrameColor = clBtnText;
  uint8_t FFrameColorAlpha = 80;
  TColor FFrameBGFillColor = clNone;
  uint8_t FFrameBGFillColorAlpha = 255;
  TkaGPTabOptions* FTabOptions;
  TkaGPTabCloseButtonOptions* FTabCloseButtonOptions;
  bool FShowCloseButtons = false;
  TkaGPTabControlBorderStyle FBorderStyle = kagpbsFrame;
  bool FMouseWheelSupport = true;
  bool FShowInActiveTab = true;
  int FScrollOffset = 0;
  bool FScrollVisible = false;
  int FOldWidth = -1;
  bool FMouseIn = false;
  int FTabIndex = -1;
  TkaGPPageControlTabs* FTabs;
  int FOldTabActive = -1;
  int FTabActive = -1;
  TkaGPPageControlPage* FActivePage = nullptr;
  int FTabHeight = 30;
  TCustomImageList* FTabImages = nullptr;
  bool FShowCloseButtonOnActiveTabOnly = false;
  bool FStopCloseTab = false;
  int FTabSpacing = 10;
  int FTabMargin = 10;
  int FTabTextMargin = 0;
  int FTabWidth = 0;
  bool FTabTextActiveBold = false;
  bool FStretchTabs = false;
  TkaGPTabSequence FTabSequence = kagptsDefault;
  TkaButtonGlowEffect* FTabGlowEffect;
  int FTabsLeftOffset = 15;
  int FTabsRightOffset = 15;
  int FTabsTopOffset = 0;
  TkaGPTabScrollButton* FLeftScrollButton = nullptr;
  TkaGPTabScrollButton* FRightScrollButton = nullptr;
  int FLeftTabIndex = -1;
  int FRightTabIndex = -1;
  bool FShowFocusRect = true;
  bool FFreeOnClose = false;
  int FScrollButtonWidth = 20;
  TColor FScrollButtonArrowColor = clBtnText;
  uint8_t FScrollButtonArrowThickness = 2;
  TColor FScrollButtonColor = clBtnText;
  bool FScrollButtonTransparent = false;
  int FCloseButtonSize = 16;
  bool FTabsScaling = false;
  bool FStopSetFocus = false;
  bool FSaveFocusOnActiveControl = false;
  TRect FTabsRect;
  TRect FPageRect;
  // What a layout asked for, applied in Loaded (the tabs may come after it).
  int FLoadedTabIndex = -1;
  TkaGPPageControlPage* FLoadedActivePage = nullptr;
  // Where a press on a drag source began; the drag starts past 3 pixels.
  TPoint FDragStart;
  bool FDragging = false;
  // The part of the control the current paint has to draw.
  TRect FPaintClip;
  std::unique_ptr<TBitmap> FMeasureBitmap;
};
