// Scrolling: containers whose children live on an area larger than their client area and
// that scroll it with the window's own scroll bars (TScrollingWinControl, TScrollBox,
// TFrame), and the stand-alone scroll bar control over the system SCROLLBAR class.
#pragma once

#include <functional>

#include "framework/Controls.h"
#include "framework/Forms.h"

enum TScrollBarKind { sbHorizontal, sbVertical };

// The notification codes of WM_HSCROLL / WM_VSCROLL, in the order of their SB_ values.
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

// A scroll box's border uses the form's two simplest border styles (bsNone, bsSingle).
using TBorderStyle = TFormBorderStyle;

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollingWinControl;

// One direction of a scrolling control's scroll bars. Range is the extent of the scrolled
// area, Position the offset of the client area into it (0..Range - client extent); the
// window's native scroll bar shows them with the client extent as its page.
class TControlScrollBar : public TPersistent {
  KA_CLASS(TControlScrollBar, TPersistent)
 public:
  TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind);

  TScrollBarKind Kind() const { return FKind; }
  int Increment() const { return FIncrement; }
  // At least 1.
  void SetIncrement(int Value);
  int Position() const { return FPosition; }
  // Clamped to 0..MaxPosition(); moves the control's children by the difference.
  void SetPosition(int Value);
  int Range() const { return FRange; }
  // Setting a range by hand turns the control's AutoScroll off, so it stays as set.
  void SetRange(int Value);
  bool Tracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Room kept past the farthest child when the range is computed.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  // Kept for layouts; scrolling is immediate either way.
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value) { FSmooth = Value; }

  // The bar is on screen: Visible and the range exceeds the client extent.
  bool IsScrollBarVisible() const;
  // The farthest Position can go (0 while the bar is not Visible).
  int MaxPosition() const;
  // Client width (horizontal) or height (vertical) of the control.
  int ClientExtent() const;

  // Handles the SB_* code of a WM_HSCROLL / WM_VSCROLL from the window's own bar.
  void ScrollMessage(const TMessage& Message);

  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

 private:
  friend class TScrollingWinControl;
  int BarCode() const { return FKind == sbHorizontal ? SB_HORZ : SB_VERT; }
  // Sets the range without touching AutoScroll (automatic ranges come through here).
  void DoSetRange(int Value);
  // Writes range, page and position to the native bar, shown or hidden as decided.
  void Apply(bool Show, int Extent);
  // The range the visible children need.
  int CalcAutoRange() const;
  // ChangeScale: sizes follow the new DPI; the children are scaled in place.
  void Scale(int M, int D);

  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  int FIncrement = 8;
  int FPosition = 0;
  int FRange = 0;
  int FMargin = 0;
  bool FTracking = false;
  bool FVisible = true;
  bool FSmooth = false;
};

// A windowed container that scrolls its children. With AutoScroll the ranges follow the
// children after every realign; aligned children are laid out on the whole scrolled area.
class TScrollingWinControl : public TWinControl {
  KA_CLASS(TScrollingWinControl, TWinControl)
 public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;

  TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar; }
  TControlScrollBar* VertScrollBar() const { return FVertScrollBar; }
  bool AutoScroll() const { return FAutoScroll; }
  // Off: both ranges drop to 0 until code sets them.
  void SetAutoScroll(bool Value);
  // A child (at any depth) gaining the focus is scrolled into view.
  bool AutoScrollInView() const { return FAutoScrollInView; }
  void SetAutoScrollInView(bool Value) { FAutoScrollInView = Value; }

  // Moves every child by DX, DY (the window's pixels with them) and realigns.
  void ScrollBy(int DX, int DY);
  // Scrolls the least needed to show AControl (a child at any depth) whole, margins
  // included; a control larger than the client area shows its top-left part.
  void ScrollInView(TControl* AControl);
  // Recomputes the automatic ranges (AutoScroll only) and the native bars.
  void CalcAutoRange();
  // Decides which bars show and writes range, page and position to them.
  void UpdateScrollBars();
  void DisableAutoRange() { ++FAutoRangeCount; }
  void EnableAutoRange();

  void ChangeScale(int M, int D, bool isDpiChange) override;
  void AdjustClientRect(TRect& Rect) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

  void WMSize(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  // ParentBackground: the parent's background shows through and stays put while scrolling.
  void WMEraseBkgnd(TMessage& Message);
  void CMFocusChanged(TMessage& Message);

 private:
  friend class TControlScrollBar;
  void UpdateScrollBarsOnce();
  // Ranges changed: the bars follow (with a window) or the positions are clamped.
  void RangesChanged();

  TControlScrollBar* FHorzScrollBar = nullptr;
  TControlScrollBar* FVertScrollBar = nullptr;
  bool FAutoScroll = true;
  bool FAutoScrollInView = true;
  int FAutoRangeCount = 0;
  bool FUpdatingScrollBars = false;
  bool FScrollBarsDirty = false;
  int FWheelDelta = 0;
  TSize FClientSize;
};

// A scrolling container for laying out controls, with an optional sunken border.
class TScrollBox : public TScrollingWinControl {
  KA_CLASS(TScrollBox, TScrollingWinControl)
 public:
  explicit TScrollBox(TComponent* AOwner);

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  // bsNone or bsSingle; the window is made anew.
  void SetBorderStyle(TBorderStyle Value);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TBorderStyle FBorderStyle = bsSingle;
};

// A reusable group of controls; shows its parent's background.
class TFrame : public TScrollingWinControl {
  KA_CLASS(TFrame, TScrollingWinControl)
 public:
  explicit TFrame(TComponent* AOwner);
};

// The system scroll bar as a control. Position stays within Min..Max (less PageSize - 1
// when a page is set, as the native bar does); values outlive the window.
class TScrollBar : public TWinControl {
  KA_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* AOwner);

  TScrollBarKind Kind() const { return FKind; }
  // Swaps width and height and makes the window anew.
  void SetKind(TScrollBarKind Value);
  int Min() const { return FMin; }
  void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
  int Max() const { return FMax; }
  void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
  int PageSize() const { return FPageSize; }
  // 0..Max - Min + 1.
  void SetPageSize(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int Value);
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int Value);
  // Fails (EInvalidOperation) when Max < Min or the page does not fit; clamps APosition.
  void SetParams(int APosition, int AMin, int AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
  void CNScroll(TMessage& Message);

 private:
  int MaxPosition() const { return FPageSize > 0 ? FMax - FPageSize + 1 : FMax; }
  void WriteScrollInfo(bool Redraw);

  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0;
  int FMax = 100;
  int FPageSize = 0;
  int FPosition = 0;
  int FSmallChange = 1;
  int FLargeChange = 1;
};
