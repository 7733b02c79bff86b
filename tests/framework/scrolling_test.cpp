// Scrolling containers (ranges and the native bars they drive, moving the children, the
// scroll messages and the wheel, scrolling a control into view, re-creation and DPI
// scaling) and the scroll bar control with its notifications reflected by its parent.
#include <gtest/gtest.h>

#include <vector>

#include "framework/ScrollingControls.h"
#include "framework/TypeInfo.h"
#include "tests/support/TestControls.h"

namespace {

SCROLLINFO ScrollInfo(HWND Wnd, int Bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  ::GetScrollInfo(Wnd, Bar, &si);
  return si;
}

// Where a child window really is, in its parent's client coordinates.
TRect WindowBounds(TWinControl* c) {
  RECT r;
  ::GetWindowRect(c->WindowHandle(), &r);
  ::MapWindowPoints(nullptr, ::GetParent(c->WindowHandle()), reinterpret_cast<POINT*>(&r), 2);
  return TRect(r);
}

// A borderless 200 x 100 scroll box holding a tall panel and a graphic control: only the
// vertical bar is needed (range 310, page 100).
struct TBoxTree {
  TCustomForm* Form;
  TScrollBox* Box;
  TTestPanel* Tall;
  TTestGraphic* Mark;

  TBoxTree() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 400, 300);
    Box = new TScrollBox(Form);
    Box->SetBorderStyle(bsNone);
    Box->SetBounds(0, 0, 200, 100);
    Box->SetParent(Form);
    Tall = new TTestPanel(Form);
    Tall->SetBounds(10, 10, 50, 300);
    Tall->SetParent(Box);
    Mark = new TTestGraphic(Form);
    Mark->SetBounds(70, 20, 30, 30);
    Mark->SetParent(Box);
    Form->HandleNeeded();
  }
  ~TBoxTree() { Form->Free(); }
  TControlScrollBar* H() const { return Box->HorzScrollBar(); }
  TControlScrollBar* V() const { return Box->VertScrollBar(); }
  HWND Wnd() const { return Box->WindowHandle(); }
  void Send(UINT Msg, WORD Code, WORD Pos = 0) { ::SendMessageW(Wnd(), Msg, MAKEWPARAM(Code, Pos), 0); }
};

const int kBarWidth = ::GetSystemMetrics(SM_CXVSCROLL);
const int kBarHeight = ::GetSystemMetrics(SM_CYHSCROLL);

// ---- Scrolling controls ---------------------------------------------------------------

TEST(ScrollBox, BarsFollowTheChildrenWithTheClientExtentAsPage) {
  TBoxTree t;
  EXPECT_EQ(t.V()->Range(), 310);
  EXPECT_EQ(t.H()->Range(), 100);
  EXPECT_TRUE(t.V()->IsScrollBarVisible());
  EXPECT_FALSE(t.H()->IsScrollBarVisible());
  SCROLLINFO v = ScrollInfo(t.Wnd(), SB_VERT);
  EXPECT_EQ(v.nMin, 0);
  EXPECT_EQ(v.nMax, 309);
  EXPECT_EQ(v.nPage, 100u);
  EXPECT_EQ(t.Box->ClientWidth(), 200 - kBarWidth);
  EXPECT_EQ(t.Box->ClientHeight(), 100);

  // A child past the right edge brings the horizontal bar, which shortens the vertical page.
  auto* wide = new TTestGraphic(t.Form);
  wide->SetBounds(150, 60, 100, 10);
  wide->SetParent(t.Box);
  EXPECT_EQ(t.H()->Range(), 250);
  EXPECT_TRUE(t.H()->IsScrollBarVisible());
  EXPECT_EQ(ScrollInfo(t.Wnd(), SB_HORZ).nPage, static_cast<UINT>(200 - kBarWidth));
  EXPECT_EQ(ScrollInfo(t.Wnd(), SB_HORZ).nMax, 249);
  EXPECT_EQ(ScrollInfo(t.Wnd(), SB_VERT).nPage, static_cast<UINT>(100 - kBarHeight));

  // Hidden children do not count; with everything in view both bars go.
  t.Tall->Hide();
  wide->Hide();
  EXPECT_EQ(t.V()->Range(), 50);
  EXPECT_FALSE(t.V()->IsScrollBarVisible());
  EXPECT_FALSE(t.H()->IsScrollBarVisible());
  EXPECT_EQ(t.Box->ClientWidth(), 200);
  EXPECT_EQ(t.Box->ClientHeight(), 100);

  // A child that fits the full height but not the height left by the horizontal bar.
  t.Mark->SetTop(65);
  EXPECT_FALSE(t.V()->IsScrollBarVisible());
  wide->Show();
  EXPECT_TRUE(t.H()->IsScrollBarVisible());
  EXPECT_TRUE(t.V()->IsScrollBarVisible());
  EXPECT_EQ(ScrollInfo(t.Wnd(), SB_VERT).nPage, static_cast<UINT>(100 - kBarHeight));
  EXPECT_EQ(ScrollInfo(t.Wnd(), SB_HORZ).nPage, static_cast<UINT>(200 - kBarWidth));
  wide->Hide();
  EXPECT_FALSE(t.V()->IsScrollBarVisible());

  // A bar switched off stays away whatever the range.
  t.Tall->Show();
  t.V()->SetVisible(false);
  EXPECT_FALSE(t.V()->IsScrollBarVisible());
  EXPECT_EQ(t.V()->MaxPosition(), 0);
}

TEST(ScrollBox, PositionAndScrollByMoveEveryChildAndClampAtBothEnds) {
  TBoxTree t;
  t.Form->Show();
  PumpPending();
  t.V()->SetPosition(50);
  EXPECT_EQ(t.Tall->Top(), -40);
  EXPECT_EQ(WindowBounds(t.Tall).Top, -40) << "the child window moved with the area";
  EXPECT_EQ(t.Mark->Top(), -30) << "graphic children move too";
  EXPECT_EQ(::GetScrollPos(t.Wnd(), SB_VERT), 50);

  t.V()->SetPosition(1000);
  EXPECT_EQ(t.V()->Position(), 210);
  EXPECT_EQ(t.Tall->Top(), -200);
  EXPECT_EQ(::GetScrollPos(t.Wnd(), SB_VERT), 210);
  t.V()->SetPosition(-20);
  EXPECT_EQ(t.V()->Position(), 0);
  EXPECT_EQ(t.Tall->Top(), 10);
  EXPECT_EQ(t.Mark->Top(), 20);
  t.H()->SetPosition(30);
  EXPECT_EQ(t.H()->Position(), 0) << "nothing to scroll horizontally";

  // On screen the children show at their new places once painted.
  t.Tall->FillColor = clBlue;
  t.Tall->Invalidate();
  t.V()->SetPosition(15);
  t.Form->Update();
  t.Box->Update();
  t.Tall->Update();
  HDC dc = ::GetDC(t.Wnd());
  EXPECT_EQ(::GetPixel(dc, 85, 10), RGB(255, 0, 0)) << "graphic child moved up";
  EXPECT_NE(::GetPixel(dc, 85, 45), RGB(255, 0, 0)) << "and gone from below";
  EXPECT_EQ(::GetPixel(dc, 30, 2), RGB(0, 0, 255)) << "windowed child scrolled up to the edge";
  ::ReleaseDC(t.Wnd(), dc);
  t.V()->SetPosition(0);

  t.Box->ScrollBy(5, 7);
  EXPECT_EQ(t.Tall->BoundsRect(), Bounds(15, 17, 50, 300));
  EXPECT_EQ(WindowBounds(t.Tall), Bounds(15, 17, 50, 300));
  EXPECT_EQ(t.Mark->BoundsRect(), Bounds(75, 27, 30, 30));
  EXPECT_EQ(t.V()->Position(), 0);
}

TEST(ScrollBox, ScrollMessagesFromTheOwnBarAndTheWheelMoveThePosition) {
  TBoxTree t;
  struct TStep {
    WORD Code;
    WORD Pos;
    bool Tracking;
    int Expected;
  };
  const TStep steps[] = {
      {SB_LINEDOWN, 0, false, 8},         {SB_LINEDOWN, 0, false, 16},      {SB_LINEUP, 0, false, 8},
      {SB_PAGEDOWN, 0, false, 108},       {SB_PAGEUP, 0, false, 8},         {SB_THUMBTRACK, 120, false, 8},
      {SB_THUMBPOSITION, 120, false, 120}, {SB_THUMBTRACK, 60, true, 60},   {SB_ENDSCROLL, 0, true, 60},
      {SB_BOTTOM, 0, false, 210},         {SB_LINEDOWN, 0, false, 210},     {SB_PAGEDOWN, 0, false, 210},
      {SB_THUMBPOSITION, 5000, false, 210}, {SB_TOP, 0, false, 0},          {SB_LINEUP, 0, false, 0},
  };
  for (const TStep& s : steps) {
    t.V()->SetTracking(s.Tracking);
    t.Send(WM_VSCROLL, s.Code, s.Pos);
    EXPECT_EQ(t.V()->Position(), s.Expected) << "code " << s.Code << " pos " << s.Pos;
    EXPECT_EQ(t.Tall->Top(), 10 - s.Expected);
    EXPECT_EQ(::GetScrollPos(t.Wnd(), SB_VERT), s.Expected);
  }

  // Three increments per notch, down for negative deltas; half notches add up.
  t.Send(WM_MOUSEWHEEL, 0, static_cast<WORD>(-WHEEL_DELTA));
  EXPECT_EQ(t.V()->Position(), 24);
  t.Send(WM_MOUSEWHEEL, 0, static_cast<WORD>(-WHEEL_DELTA / 2));
  EXPECT_EQ(t.V()->Position(), 24);
  t.Send(WM_MOUSEWHEEL, 0, static_cast<WORD>(-WHEEL_DELTA / 2));
  EXPECT_EQ(t.V()->Position(), 48);
  t.V()->SetIncrement(10);
  t.Send(WM_MOUSEWHEEL, 0, WHEEL_DELTA);
  EXPECT_EQ(t.V()->Position(), 18);
}

TEST(ScrollBox, ScrollInViewShowsAControlWholeAndFocusBringsItIn) {
  TBoxTree t;
  auto* low = new TTestPanel(t.Form);
  low->SetBounds(20, 250, 40, 30);
  low->SetParent(t.Box);
  t.Box->ScrollInView(low);
  EXPECT_EQ(t.V()->Position(), 180);
  EXPECT_EQ(low->Top(), 70);
  // Taller than the client area: its top part shows.
  t.Box->ScrollInView(t.Tall);
  EXPECT_EQ(t.V()->Position(), 10);
  EXPECT_EQ(t.Tall->Top(), 0);
  t.V()->SetMargin(5);
  t.Box->ScrollInView(low);
  EXPECT_EQ(low->BoundsRect().Bottom, 95) << "the margin is kept below it";

  // A control deep inside gaining the focus is scrolled into view, unless that is off.
  t.V()->SetPosition(0);
  auto* inner = new TTestPanel(t.Form);
  inner->SetBounds(0, 150, 150, 100);
  inner->SetParent(t.Box);
  auto* field = new TTestPanel(t.Form);
  field->SetBounds(10, 60, 40, 20);
  field->SetParent(inner);
  t.Form->Show();
  PumpPending();
  t.Box->SetAutoScrollInView(false);
  field->SetFocus();
  PumpPending();
  ASSERT_TRUE(field->Focused());
  EXPECT_EQ(t.V()->Position(), 0);
  t.Box->SetAutoScrollInView(true);
  t.Tall->SetFocus();
  field->SetFocus();
  PumpPending();
  EXPECT_EQ(t.V()->Position(), 150 + 60 + 20 + 5 - 100);
  TPoint fieldBottom = t.Box->ScreenToClient(field->ClientToScreen(TPoint(0, field->Height())));
  EXPECT_EQ(fieldBottom.Y, 95);
}

TEST(ScrollBox, WithoutAutoScrollTheRangesAreWhatCodeSets) {
  TBoxTree t;
  t.Box->SetAutoScroll(false);
  EXPECT_EQ(t.V()->Range(), 0);
  EXPECT_FALSE(t.V()->IsScrollBarVisible());
  t.V()->SetRange(500);
  EXPECT_TRUE(t.V()->IsScrollBarVisible());
  EXPECT_EQ(ScrollInfo(t.Wnd(), SB_VERT).nMax, 499);
  auto* distant = new TTestPanel(t.Form);
  distant->SetBounds(0, 900, 20, 20);
  distant->SetParent(t.Box);
  EXPECT_EQ(t.V()->Range(), 500);
  t.V()->SetPosition(1000);
  EXPECT_EQ(t.V()->Position(), 400);

  t.Box->SetAutoScroll(true);
  EXPECT_EQ(t.V()->Range(), 920);
  // Setting a range by hand turns AutoScroll off; the position follows the smaller range.
  t.V()->SetRange(300);
  EXPECT_FALSE(t.Box->AutoScroll());
  EXPECT_EQ(t.V()->Range(), 300);
  EXPECT_EQ(t.V()->Position(), 200);
  EXPECT_EQ(distant->Top(), 700);
}

TEST(ScrollBox, RecreatingTheWindowOrChangingTheBorderKeepsThePosition) {
  TBoxTree t;
  t.V()->SetPosition(120);
  HWND old = t.Wnd();
  t.Box->Perform(CM_RECREATEWND);
  EXPECT_NE(t.Wnd(), old);
  EXPECT_EQ(t.V()->Position(), 120);
  EXPECT_EQ(::GetScrollPos(t.Wnd(), SB_VERT), 120);
  SCROLLINFO v = ScrollInfo(t.Wnd(), SB_VERT);
  EXPECT_EQ(v.nMax, 309);
  EXPECT_EQ(v.nPage, 100u);
  EXPECT_EQ(t.Tall->Top(), -110);
  EXPECT_EQ(WindowBounds(t.Tall).Top, -110);

  // The sunken edge takes room from the client area; the position stays.
  t.Box->SetBorderStyle(bsSingle);
  EXPECT_NE(::GetWindowLongW(t.Wnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_LT(t.Box->ClientHeight(), 100);
  EXPECT_EQ(ScrollInfo(t.Wnd(), SB_VERT).nPage, static_cast<UINT>(t.Box->ClientHeight()));
  EXPECT_EQ(t.V()->Position(), 120);
  EXPECT_EQ(t.Tall->Top(), -110);
  EXPECT_THROW(t.Box->SetBorderStyle(bsSizeable), EInvalidOperation);
}

TEST(ScrollBox, ScalingKeepsThePositionProportional) {
  TBoxTree t;
  t.V()->SetPosition(60);
  t.Form->ScaleForPPI(144);
  EXPECT_EQ(t.Box->BoundsRect(), Bounds(0, 0, 300, 150));
  EXPECT_EQ(t.V()->Position(), 90);
  EXPECT_EQ(t.Tall->BoundsRect(), Bounds(15, -75, 75, 450));
  EXPECT_EQ(t.V()->Range(), 465);
  EXPECT_EQ(t.V()->Increment(), 12);
  EXPECT_EQ(::GetScrollPos(t.Wnd(), SB_VERT), 90);
  SCROLLINFO v = ScrollInfo(t.Wnd(), SB_VERT);
  EXPECT_EQ(v.nMax, 464);
  EXPECT_EQ(v.nPage, 150u);
}

TEST(ScrollBox, ParentBackgroundErasesWithTheParentsFace) {
  TBoxTree t;
  t.Form->SetColor(clLime);
  t.Box->SetColor(clBlue);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 200, 100);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  t.Box->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  EXPECT_EQ(::GetPixel(dc, 150, 50), RGB(0, 0, 255));
  t.Box->SetParentBackground(true);
  t.Box->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  EXPECT_EQ(::GetPixel(dc, 150, 50), RGB(0, 255, 0));
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
}

TEST(ScrollingControls, ClassesAndPublishedPropertiesAreRegistered) {
  const TClassInfo* frameClass = FindClassInfo(L"TFrame");
  ASSERT_NE(frameClass, nullptr);
  TComponent* frame = frameClass->Create(nullptr);
  auto* scrolling = dynamic_cast<TScrollingWinControl*>(frame);
  ASSERT_NE(scrolling, nullptr);
  EXPECT_TRUE(scrolling->ParentBackground());
  const TPropInfo* vert = frameClass->FindProperty(L"VertScrollBar");
  ASSERT_NE(vert, nullptr);
  EXPECT_EQ(vert->Kind, pkPersistent);
  TObject* bar = std::get<TObject*>(vert->Read(frame));
  EXPECT_EQ(bar, scrolling->VertScrollBar());
  const TPropInfo* range = ClassInfoOf(bar)->FindProperty(L"Range");
  ASSERT_NE(range, nullptr);
  range->Write(bar, TPropValue(int64_t{300}));
  EXPECT_EQ(scrolling->VertScrollBar()->Range(), 300);
  EXPECT_FALSE(scrolling->AutoScroll());
  frame->Free();

  const TClassInfo* sb = FindClassInfo(L"TScrollBar");
  ASSERT_NE(sb, nullptr);
  const TPropInfo* kind = sb->FindProperty(L"Kind");
  ASSERT_NE(kind, nullptr);
  int64_t value = -1;
  EXPECT_TRUE(kind->Enum->ValueOf(L"sbVertical", value));
  EXPECT_EQ(value, sbVertical);
  for (const wchar_t* name : {L"Min", L"Max", L"PageSize", L"Position", L"SmallChange", L"LargeChange",
                              L"OnChange", L"OnScroll"})
    EXPECT_NE(sb->FindProperty(name), nullptr) << ToUtf8(name);
  EXPECT_NE(FindClassInfo(L"TScrollBox")->FindProperty(L"BorderStyle"), nullptr);
  EXPECT_NE(FindClassInfo(L"TScrollBox")->FindProperty(L"AutoScroll"), nullptr);
}

// ---- The scroll bar control -------------------------------------------------------------

TEST(ScrollBar, ParamsAreValidatedAndThePositionClamped) {
  auto* form = TCustomForm::CreateNew(nullptr);
  auto* sb = new TScrollBar(form);
  EXPECT_EQ(sb->Kind(), sbHorizontal);
  EXPECT_EQ(sb->Min(), 0);
  EXPECT_EQ(sb->Max(), 100);
  EXPECT_EQ(sb->Position(), 0);
  EXPECT_EQ(sb->PageSize(), 0);
  EXPECT_EQ(sb->SmallChange(), 1);
  EXPECT_EQ(sb->LargeChange(), 1);
  EXPECT_TRUE(sb->TabStop());
  EXPECT_EQ(sb->Height(), ::GetSystemMetrics(SM_CYHSCROLL));
  sb->SetParent(form);
  form->HandleNeeded();
  int changes = 0;
  sb->OnChange = [&](TObject* s) {
    EXPECT_EQ(s, sb);
    ++changes;
  };

  sb->SetParams(30, 10, 50);
  EXPECT_EQ(changes, 1);
  SCROLLINFO si = ScrollInfo(sb->WindowHandle(), SB_CTL);
  EXPECT_EQ(si.nMin, 10);
  EXPECT_EQ(si.nMax, 50);
  EXPECT_EQ(si.nPos, 30);
  sb->SetPosition(500);
  EXPECT_EQ(sb->Position(), 50);
  sb->SetPosition(-5);
  EXPECT_EQ(sb->Position(), 10);
  sb->SetPosition(10);
  EXPECT_EQ(changes, 3) << "no change, no event";
  EXPECT_THROW(sb->SetParams(20, 60, 50), EInvalidOperation);
  EXPECT_EQ(sb->Min(), 10);
  EXPECT_EQ(sb->Max(), 50);

  // With a page the last position is where the page reaches Max, as on the native bar.
  sb->SetPageSize(11);
  sb->SetPosition(50);
  EXPECT_EQ(sb->Position(), 40);
  EXPECT_EQ(::GetScrollPos(sb->WindowHandle(), SB_CTL), 40);
  EXPECT_EQ(ScrollInfo(sb->WindowHandle(), SB_CTL).nPage, 11u);
  EXPECT_THROW(sb->SetPageSize(42), EInvalidOperation);
  sb->SetPageSize(41);
  EXPECT_EQ(sb->Position(), 10);
  EXPECT_THROW(sb->SetMax(30), EInvalidOperation) << "the page no longer fits";
  form->Free();
}

TEST(ScrollBar, NotificationsReflectedByTheParentMoveItAndFireTheEvents) {
  auto* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 300, 200);
  auto* box = new TScrollBox(form);
  box->SetBounds(0, 0, 200, 100);
  box->SetParent(form);
  auto* sb = new TScrollBar(form);
  sb->SetKind(sbVertical);
  sb->SetBounds(0, 0, 17, 90);
  sb->SetParent(box);
  sb->SetSmallChange(2);
  sb->SetLargeChange(10);
  form->HandleNeeded();
  std::vector<int> changes;
  std::vector<TScrollCode> codes;
  sb->OnChange = [&](TObject*) { changes.push_back(sb->Position()); };
  sb->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
    codes.push_back(code);
    if (code == scTrack) pos = std::min(pos, 40);
  };
  struct TStep {
    WORD Code;
    WORD Pos;
    int Expected;
  };
  const TStep steps[] = {
      {SB_LINEDOWN, 0, 2},  {SB_PAGEDOWN, 0, 12}, {SB_THUMBPOSITION, 70, 70}, {SB_THUMBPOSITION, 70, 70},
      {SB_BOTTOM, 0, 100},  {SB_LINEDOWN, 0, 100}, {SB_PAGEUP, 0, 90},       {SB_THUMBTRACK, 80, 40},
      {SB_ENDSCROLL, 0, 40}, {SB_TOP, 0, 0},        {SB_LINEUP, 0, 0},
  };
  for (const TStep& s : steps) {
    ::SendMessageW(box->WindowHandle(), WM_VSCROLL, MAKEWPARAM(s.Code, s.Pos),
                   reinterpret_cast<LPARAM>(sb->WindowHandle()));
    EXPECT_EQ(sb->Position(), s.Expected) << "code " << s.Code;
    EXPECT_EQ(::GetScrollPos(sb->WindowHandle(), SB_CTL), s.Expected);
  }
  EXPECT_EQ(changes, (std::vector<int>{2, 12, 70, 100, 90, 40, 0}));
  EXPECT_EQ(codes, (std::vector<TScrollCode>{scLineDown, scPageDown, scPosition, scPosition, scBottom, scLineDown,
                                             scPageUp, scTrack, scEndScroll, scTop, scLineUp}));
  EXPECT_EQ(box->VertScrollBar()->Position(), 0) << "the box leaves a control's notifications alone";
  form->Free();
}

TEST(ScrollBar, KindAndRecreationKeepTheValues) {
  auto* form = TCustomForm::CreateNew(nullptr);
  auto* sb = new TScrollBar(form);
  sb->SetBounds(5, 5, 121, 17);
  sb->SetParent(form);
  sb->SetParams(40, 0, 200);
  sb->SetPageSize(20);
  form->HandleNeeded();
  EXPECT_EQ(::GetWindowLongW(sb->WindowHandle(), GWL_STYLE) & SBS_VERT, 0);

  auto expectValues = [&](const char* when) {
    SCROLLINFO si = ScrollInfo(sb->WindowHandle(), SB_CTL);
    EXPECT_EQ(si.nMin, 0) << when;
    EXPECT_EQ(si.nMax, 200) << when;
    EXPECT_EQ(si.nPage, 20u) << when;
    EXPECT_EQ(si.nPos, 40) << when;
    EXPECT_EQ(sb->Position(), 40) << when;
  };
  HWND old = sb->WindowHandle();
  sb->SetKind(sbVertical);
  EXPECT_NE(sb->WindowHandle(), old);
  EXPECT_EQ(sb->BoundsRect(), Bounds(5, 5, 17, 121));
  EXPECT_EQ(WindowBounds(sb), Bounds(5, 5, 17, 121));
  EXPECT_NE(::GetWindowLongW(sb->WindowHandle(), GWL_STYLE) & SBS_VERT, 0);
  expectValues("after the kind changed");
  old = sb->WindowHandle();
  sb->Perform(CM_RECREATEWND);
  EXPECT_NE(sb->WindowHandle(), old);
  expectValues("after re-creation");
  form->Free();
}

}  // namespace
