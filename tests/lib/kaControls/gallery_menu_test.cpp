// The gallery menu: its layout and where it drops down, picking with the mouse and the keys
// while the focus stays where it was, closing without a pick, the button showing the pick,
// item-only repaints of the hot item, hints, layouts, and that every drop-down is freed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Streaming.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaGalleryMenu.h"
#include "lib/kaHint/kaHint.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/PointerScope.h"
#include "tests/support/TestControls.h"

namespace {

using testsupport::gPointer;

// A button whose face can be drawn in a given state.
class TShotButton : public TkaButton {
  KA_CLASS(TShotButton, TkaButton)
 public:
  using TkaButton::TkaButton;
  std::unique_ptr<TBitmap> Shot(TkasCtrlState S) {
    auto b = std::make_unique<TBitmap>(Width(), Height());
    PaintStateToDC(b->Canvas()->Handle(), S, false);
    return b;
  }
};

const TColor kImageColors[] = {clRed, clLime, clBlue, clFuchsia, clAqua, clOlive, clTeal, clPurple, clMaroon};

// Every event of the menu, in the order raised.
struct TEventLog {
  std::vector<std::string> Events;
  void Hook(TkaGalleryMenu* M) {
    M->OnMenuPopup = [this](TObject*) { Events.push_back("popup"); };
    M->OnMenuClose = [this](TObject*) { Events.push_back("close"); };
    M->OnItemClick = [this](TObject*) { Events.push_back("itemclick"); };
    M->OnChange = [this](TObject*) { Events.push_back("change"); };
    for (int i = 0; i < M->Items()->Count(); ++i)
      M->Items()->Items(i)->OnClick = [this, i](TObject*) { Events.push_back("click" + std::to_string(i)); };
  }
  std::vector<std::string> Take() { return std::move(Events); }
};

// A form with a button whose gallery holds 32 x 32 images: header, five images, button, two
// images in three columns (items 0 .. 8), the example grid of 130 x 201 pixels.
struct TScene {
  TCustomForm* Form;
  TImageList* List;
  TkaGalleryMenu* Menu;
  TShotButton* Button;
  testsupport::TPointerScope Pointer;

  TScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(200, 200, 400, 200);
    List = new TImageList(Form);
    List->SetWidth(32), List->SetHeight(32);
    for (TColor c : kImageColors) {
      TBitmap bmp(32, 32);
      bmp.Canvas()->Brush()->SetColor(c);
      bmp.Canvas()->FillRect(TRect(0, 0, 32, 32));
      // A corner of another colour: the faded drawing of disabled images takes the top-left
      // pixel's colour for transparent.
      bmp.Canvas()->Brush()->SetColor(clWhite);
      bmp.Canvas()->FillRect(TRect(0, 0, 1, 1));
      List->Add(&bmp, nullptr);
    }
    Menu = new TkaGalleryMenu(Form);
    Menu->SetImages(List);
    Menu->SetColumnsCount(3);
    const char* kinds = "HIIIIIBII";
    for (int i = 0; kinds[i] != 0; ++i) {
      TkaGalleryMenuItem* item = Menu->Items()->Add();
      item->SetHeader(kinds[i] == 'H');
      item->SetButton(kinds[i] == 'B');
      item->SetImageIndex(i);
      item->SetCaption(L"Item " + std::to_wstring(i));
    }
    Button = new TShotButton(Form);
    Button->SetBounds(20, 20, 120, 40);
    Button->SetParent(Form);
    Button->SetGalleryMenu(Menu);
    Form->Show();
    Button->SetFocus();
    PumpPending();
  }
  ~TScene() { Form->Free(); }

  TkaGalleryMenuPopupWindow* Popup() const { return Menu->PopupWindow(); }
  TRect ButtonScreenRect() const {
    const TPoint p = Button->ClientToScreen(TPoint(0, 0));
    return Bounds(p.X, p.Y, Button->Width(), Button->Height());
  }
  // Opens the menu as a press on the button does; the press's release is still to come.
  void PressButton() {
    Button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PumpPending();
  }
  void Key(WORD K) {
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, K, 0);
    PumpPending();
  }
  // Mouse messages as the capture delivers them, in the drop-down's client coordinates.
  void Mouse(UINT Msg, TPoint P) {
    TkaGalleryMenuPopupWindow* w = Popup();
    ASSERT_NE(w, nullptr);
    gPointer = w->ClientToScreen(P);
    w->Perform(Msg, Msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(P.X, P.Y));
  }
  TPoint ItemCentre(int Index) const {
    const TRect r = Menu->Items()->Items(Index)->ItemRect;
    return TPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
  }
  void ClickItem(int Index) {
    Mouse(WM_MOUSEMOVE, ItemCentre(Index));
    Mouse(WM_LBUTTONDOWN, ItemCentre(Index));
    if (Popup() != nullptr) Mouse(WM_LBUTTONUP, ItemCentre(Index));
    PumpPending();
  }
};

TRect WindowRectOf(TWinControl* W) {
  RECT r;
  ::GetWindowRect(W->WindowHandle(), &r);
  return TRect(r);
}

// The drop-down's face as it paints itself.
std::unique_ptr<TBitmap> FaceOf(TkaGalleryMenuPopupWindow* W) {
  auto b = std::make_unique<TBitmap>(W->Width(), W->Height());
  W->PaintTo(b->Canvas()->Handle(), 0, 0);
  return b;
}

// The pixels of a cell's outer 4-pixel ring, where the cell's face shows around its image.
std::vector<TColor> Ring(TBitmap* B, const TRect& R) {
  std::vector<TColor> ring;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (x - R.Left < 4 || R.Right - x <= 4 || y - R.Top < 4 || R.Bottom - y <= 4) ring.push_back(PixelAt(B, x, y));
  return ring;
}

// ---- Layout ---------------------------------------------------------------------------------

TEST(GalleryMenuLayout, GridOfImagesWithHeaderAndButtonRows) {
  TScene s;
  s.Menu->PopupFromRect(TRect(300, 300, 400, 330));
  ASSERT_NE(s.Popup(), nullptr);
  const TRect want[] = {{2, 2, 128, 27},   {2, 28, 44, 70},   {44, 28, 86, 70},  {86, 28, 128, 70}, {2, 71, 44, 113},
                        {44, 71, 86, 113}, {2, 114, 128, 156}, {2, 157, 44, 199}, {44, 157, 86, 199}};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(s.Menu->Items()->Items(i)->ItemRect, want[i]) << i;
  EXPECT_EQ(WindowRectOf(s.Popup()), Bounds(300, 330, 130, 201));
  // The shared edge of two cells belongs to the first; the right edge is still inside.
  EXPECT_EQ(s.Popup()->ItemAtPos(44, 40), 1);
  EXPECT_EQ(s.Popup()->ItemAtPos(128, 40), 3);
  EXPECT_EQ(s.Popup()->ItemAtPos(60, 10), -1) << "headers are never hit";
  s.Menu->Hide();

  s.Menu->SetColumnsCount(1);
  s.Menu->FScaleFactor = 1.5;  // m = 15: cells 47 x 47, header 38 (37.5 to even)
  s.Menu->PopupFromRect(TRect(300, 300, 400, 330));
  ASSERT_NE(s.Popup(), nullptr);
  EXPECT_EQ(s.Menu->Items()->Items(0)->ItemRect, TRect(2, 2, 49, 40));
  EXPECT_EQ(s.Menu->Items()->Items(1)->ItemRect, TRect(2, 41, 49, 88));
  EXPECT_EQ(s.Menu->Items()->Items(2)->ItemRect, TRect(2, 89, 49, 136)) << "one image per row";
  s.Menu->Hide();
  s.Menu->FScaleFactor = 1.0;
}

TEST(GalleryMenuLayout, PropertiesRefuseWhatTheyCannotHold) {
  TScene s;
  TEventLog log;
  log.Hook(s.Menu);
  for (int bad : {0, 51, -3}) {
    s.Menu->SetColumnsCount(bad);
    EXPECT_EQ(s.Menu->ColumnsCount(), 3) << bad;
  }
  s.Menu->SetColumnsCount(50);
  EXPECT_EQ(s.Menu->ColumnsCount(), 50);

  s.Menu->SetItemIndex(2);
  for (int refused : {0, 9}) {  // a header, and Count
    s.Menu->SetItemIndex(refused);
    EXPECT_EQ(s.Menu->ItemIndex(), 2) << refused;
  }
  s.Menu->SetItemIndex(-1);
  EXPECT_EQ(s.Menu->SelectedItem(), nullptr);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"change", "change"}));

  TkaGalleryMenuItem* a = s.Menu->Items()->Items(6);
  TkaGalleryMenuItem* b = s.Menu->Items()->Items(1);
  a->SetHint(L"hint"), a->SetEnabled(false);
  b->Assign(a);
  EXPECT_TRUE(b->Button() && !b->Header() && b->ImageIndex() == 6 && b->Caption() == L"Item 6" && b->Hint() == L"hint");
  EXPECT_TRUE(b->Enabled()) << "Enabled is not copied";
}

TEST(GalleryMenuLayout, WithoutImagesNothingDropsDownAndTheButtonIsReleased) {
  TScene s;
  TEventLog log;
  log.Hook(s.Menu);
  s.List->Clear();
  s.PressButton();
  EXPECT_EQ(s.Popup(), nullptr);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"popup"}));
  EXPECT_FALSE(s.Button->IsDown() || s.Button->MenuTracking() || s.Button->Pressed());
  s.Menu->SetImages(nullptr);
  s.Menu->Popup(10, 10);
  EXPECT_EQ(s.Popup(), nullptr);
}

// ---- Placement ------------------------------------------------------------------------------

TEST(GalleryMenuPlacement, BelowAboveFromTheRightAndFlippedWhereThereIsNoRoom) {
  TScene s;
  const TRect wa = s.Form->Monitor().WorkareaRect();
  const int w = 130, h = 201;
  struct TCase {
    const char* Name;
    TRect R;
    bool Ext, FromTop, FromRight;
    TPoint Want;
  };
  const int l = wa.Left + 300, t = wa.Top + 300;
  const TRect mid(l, t, l + 100, t + 30);
  const TRect low(l, wa.Bottom - 40, l + 100, wa.Bottom - 10);
  const TRect high(l, wa.Top + 10, l + 100, wa.Top + 40);
  const TRect right(wa.Right - 60, t, wa.Right - 10, t + 30);
  const TRect left(wa.Left + 10, t, wa.Left + 50, t + 30);
  const TCase cases[] = {
      {"below", mid, false, false, false, {l, t + 30}},
      {"ext below", mid, true, false, false, {l, t + 30}},
      {"from top", mid, true, true, false, {l, t - h}},
      {"from right", mid, true, false, true, {l + 100 - w, t + 30}},
      {"from top and right", mid, true, true, true, {l + 100 - w, t - h}},
      {"no room below", low, false, false, false, {l, low.Top - h}},
      {"no room below, ext", low, true, false, true, {l + 100 - w, low.Top - h}},
      {"from top without room above", high, true, true, false, {l, high.Bottom}},
      {"past the right edge", right, false, false, false, {wa.Right - w, t + 30}},
      {"from right without room on the left", left, true, false, true, {left.Left, t + 30}},
  };
  for (const TCase& c : cases) {
    if (c.Ext)
      s.Menu->PopupFromRectExt(c.R, c.FromTop, c.FromRight);
    else
      s.Menu->PopupFromRect(c.R);
    ASSERT_NE(s.Popup(), nullptr) << c.Name;
    EXPECT_EQ(WindowRectOf(s.Popup()), Bounds(c.Want.X, c.Want.Y, w, h)) << c.Name;
    s.Menu->Hide();
  }
  s.Menu->PopupExt(l, t, true, true);
  EXPECT_EQ(WindowRectOf(s.Popup()), Bounds(l - w, t - h, w, h)) << "a point";
  s.Menu->Hide();
}

TEST(GalleryMenuPlacement, TheButtonDropsItBelowOrAboveItself) {
  TScene s;
  s.PressButton();
  ASSERT_NE(s.Popup(), nullptr);
  const TRect b = s.ButtonScreenRect();
  EXPECT_EQ(WindowRectOf(s.Popup()).TopLeft(), TPoint(b.Left, b.Bottom));
  EXPECT_EQ(s.Menu->FControl, s.Button);
  s.Menu->Hide();
  s.Button->SetShowGalleryMenuFromRight(true);
  s.PressButton();
  ASSERT_NE(s.Popup(), nullptr);
  EXPECT_EQ(WindowRectOf(s.Popup()).TopLeft(), TPoint(b.Right - 130, b.Bottom));
  s.Menu->Hide();
}

// ---- Painting -------------------------------------------------------------------------------

TEST(GalleryMenuPainting, SelectedHotAndPressedLooks) {
  TScene s;
  auto cell = [&](int I) { return s.Menu->Items()->Items(I)->ItemRect; };
  s.Menu->SetItemIndex(2);
  s.Menu->PopupFromRect(TRect(300, 300, 400, 330));
  ASSERT_NE(s.Popup(), nullptr);
  auto plain = FaceOf(s.Popup());
  const auto normal = Ring(plain.get(), cell(3));
  const auto selected = Ring(plain.get(), cell(2));
  EXPECT_EQ(Ring(plain.get(), cell(1)), normal);
  EXPECT_NE(selected, normal) << "the pick looks pressed";

  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(1));
  auto hot = FaceOf(s.Popup());
  EXPECT_NE(Ring(hot.get(), cell(1)), normal);
  EXPECT_NE(Ring(hot.get(), cell(1)), selected) << "hot is not pressed";

  // Held on another item, the pick gives its pressed look to that item.
  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(4));
  s.Mouse(WM_LBUTTONDOWN, s.ItemCentre(4));
  auto held = FaceOf(s.Popup());
  EXPECT_EQ(Ring(held.get(), cell(2)), normal);
  EXPECT_EQ(Ring(held.get(), cell(4)), selected);
  s.Menu->Hide();

  s.Menu->SetShowSelectedItem(false);
  s.Menu->PopupFromRect(TRect(300, 300, 400, 330));
  auto unshown = FaceOf(s.Popup());
  EXPECT_EQ(Ring(unshown.get(), cell(2)), normal);
  s.Menu->Hide();
}

TEST(GalleryMenuPainting, BackgroundsHeadersAndDisabledImages) {
  TScene s;
  s.Menu->Items()->Items(1)->SetEnabled(false);
  s.Menu->SetBackgroundStyle(kagmToolBar);
  s.Menu->SetHeaderStyle(kamhsBottomLine);
  s.Menu->PopupFromRect(TRect(300, 300, 400, 330));
  ASSERT_NE(s.Popup(), nullptr);
  auto face = FaceOf(s.Popup());
  EXPECT_EQ(PixelAt(face.get(), 0, 0), ColorToRGB(clBtnShadow)) << "tool-bar frame";
  EXPECT_EQ(PixelAt(face.get(), 1, 1), ColorToRGB(clWindow));
  const TRect header = s.Menu->Items()->Items(0)->ItemRect;
  const TColor line = AverageColor(clBtnText, clBtnFace);
  for (int y : {header.Bottom - 1, header.Bottom - 2}) {
    EXPECT_EQ(PixelAt(face.get(), header.Left + 2, y), line);
    EXPECT_EQ(PixelAt(face.get(), header.Right - 3, y), line);
    EXPECT_NE(PixelAt(face.get(), header.Right - 2, y), line) << "the end is excluded";
  }
  // The disabled image is blended with the background, the enabled ones are not.
  const TPoint c1 = s.ItemCentre(1), c2 = s.ItemCentre(2);
  EXPECT_EQ(PixelAt(face.get(), c2.X, c2.Y), ColorToRGB(kImageColors[2]));
  const TColor faded = PixelAt(face.get(), c1.X, c1.Y);
  EXPECT_NE(faded, ColorToRGB(kImageColors[1]));
  EXPECT_NE(faded, PixelAt(face.get(), c1.X - 19, c1.Y)) << "still drawn";
  s.Menu->Hide();

  s.Menu->SetBackgroundStyle(kagmPanel);
  s.Menu->SetHeaderStyle(kamhsDefault);
  s.Menu->PopupFromRect(TRect(300, 300, 400, 330));
  face = FaceOf(s.Popup());
  EXPECT_EQ(PixelAt(face.get(), 0, 0), ColorToRGB(clBtnShadow)) << "the panel's flat border";
  EXPECT_NE(PixelAt(face.get(), 1, 1), ColorToRGB(clWindow));
  EXPECT_NE(PixelAt(face.get(), header.Left + 2, header.Bottom - 2), line);
  s.Menu->Hide();
}

// Where a header's caption lies, in both header styles: its ink (pixels that differ from the
// header's own face in their row, sampled in the middle, where no short caption reaches)
// all on the left half left to right, all on the right half in a right-to-left window.
TEST(GalleryMenuPainting, HeaderCaptionsSitAtTheReadingStart) {
  for (TkaMenuHeaderStyle style : {kamhsDefault, kamhsBottomLine})
    for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
      SCOPED_TRACE(testing::Message() << (style == kamhsDefault ? "section" : "bottom line") << ", "
                                      << (mode == bdLeftToRight ? "left to right" : "right to left"));
      TScene s;
      s.Menu->SetHeaderStyle(style);
      s.Menu->PopupFromRect(TRect(300, 300, 400, 330));
      ASSERT_NE(s.Popup(), nullptr);
      s.Popup()->SetBiDiMode(mode);
      auto face = FaceOf(s.Popup());
      const TRect h = s.Menu->Items()->Items(0)->ItemRect;
      const int middle = (h.Left + h.Right) / 2;
      int left = 0, right = 0;
      // Inside the frame and above the bottom style's two lines.
      for (int y = h.Top + 2; y < h.Bottom - 3; ++y)
        for (int x = h.Left + 3; x < h.Right - 3; ++x)
          if (PixelAt(face.get(), x, y) != PixelAt(face.get(), middle, y)) ++(x < middle ? left : right);
      if (mode == bdLeftToRight) {
        EXPECT_GT(left, 20);
        EXPECT_EQ(right, 0);
      } else {
        EXPECT_EQ(left, 0);
        EXPECT_GT(right, 20);
      }
      s.Menu->Hide();
    }
}

// ---- Keys -----------------------------------------------------------------------------------

TEST(GalleryMenuKeys, ArrowsWalkColumnsSkipHeadersAndWrap) {
  TScene s;
  int keysSeen = 0;
  s.Button->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keysSeen; };
  s.Menu->Items()->Items(5)->SetEnabled(false);
  s.Menu->PopupFromRect(s.ButtonScreenRect());
  ASSERT_NE(s.Popup(), nullptr);
  // Items: 0 header; 1 2 3 / 4 (5 disabled); 6 button; 7 8.
  struct TStep {
    WORD Key;
    int Want;
  };
  const TStep steps[] = {
      {VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_DOWN, 6},  // 5 below 2 is disabled: the button
      {VK_DOWN, 7},  {VK_RIGHT, 8}, {VK_RIGHT, 1},  // wraps to the first usable item
      {VK_UP, 1},                                    // a header above: no change
      {VK_LEFT, 8},                                  // wraps to the last
      {VK_UP, 6},    {VK_UP, 4},    {VK_UP, 1},  {VK_RIGHT, 2}, {VK_LEFT, 1}, {VK_DOWN, 4},
      {VK_RIGHT, 6},                                 // 5 is disabled
      {VK_LEFT, 4},  {VK_RIGHT, 6}, {VK_RIGHT, 7}, {VK_UP, 6}, {VK_UP, 4},
  };
  for (const TStep& st : steps) {
    s.Key(st.Key);
    ASSERT_NE(s.Popup(), nullptr);
    EXPECT_EQ(s.Popup()->MouseInItem(), st.Want) << "key " << st.Key;
  }
  EXPECT_EQ(keysSeen, 0) << "no key reaches the focused control";
  EXPECT_EQ(::GetFocus(), s.Button->WindowHandle());
  s.Menu->Hide();

  // Fresh drop-downs: Up and Left start at the end, Down and Right at the start.
  for (const TStep& st : {TStep{VK_UP, 8}, TStep{VK_LEFT, 8}, TStep{VK_DOWN, 1}, TStep{VK_RIGHT, 1}}) {
    s.Menu->PopupFromRect(s.ButtonScreenRect());
    s.Key(st.Key);
    ASSERT_NE(s.Popup(), nullptr);
    EXPECT_EQ(s.Popup()->MouseInItem(), st.Want) << "key " << st.Key;
    s.Menu->Hide();
  }
}

TEST(GalleryMenuKeys, EnterPicksTheHotItemEscapeClosesWithoutOne) {
  TScene s;
  TEventLog log;
  log.Hook(s.Menu);
  s.Menu->PopupFromRect(s.ButtonScreenRect());
  s.Key(VK_RIGHT);
  s.Key(VK_RIGHT);
  s.Key(VK_RETURN);
  EXPECT_EQ(s.Popup(), nullptr);
  EXPECT_EQ(s.Menu->ItemIndex(), 2);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"popup", "change", "close", "click2", "itemclick", "change"}));

  s.Menu->PopupFromRect(s.ButtonScreenRect());
  s.Key(VK_RIGHT);
  s.Key(VK_ESCAPE);
  EXPECT_EQ(s.Popup(), nullptr);
  EXPECT_EQ(s.Menu->ItemIndex(), 2);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"popup", "close"}));

  // Space without a hot item closes with the current pick's click events, no change.
  s.Menu->PopupFromRect(s.ButtonScreenRect());
  s.Key(VK_SPACE);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"popup", "close", "click2", "itemclick"}));
  EXPECT_EQ(::GetFocus(), s.Button->WindowHandle());
}

TEST(GalleryMenuKeys, TheButtonsArrowKeyOpensItAndTheFocusStays) {
  TScene s;
  s.Button->SetUseGalleryMenuImage(true);
  const HWND active = ::GetActiveWindow();
  s.Key(VK_DOWN);
  ASSERT_NE(s.Popup(), nullptr);
  EXPECT_EQ(s.Menu->FControl, s.Button);
  EXPECT_EQ(::GetActiveWindow(), active) << "the drop-down is never activated";
  EXPECT_EQ(::GetWindowLongW(s.Popup()->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
  s.Key(VK_DOWN);
  s.Key(VK_DOWN);
  s.Key(VK_RETURN);
  EXPECT_EQ(s.Popup(), nullptr);
  EXPECT_EQ(s.Menu->ItemIndex(), 4);
  EXPECT_FALSE(s.Button->IsDown() || s.Button->MenuTracking());
  EXPECT_EQ(::GetFocus(), s.Button->WindowHandle());
  EXPECT_FALSE(ColorBox(s.Button->Shot(kasNormal).get(), kImageColors[4]).IsEmpty());
  // Space opens it as well; its own release does not click the button.
  int clicks = 0;
  s.Button->OnClick = [&](TObject*) { ++clicks; };
  s.Key(VK_SPACE);
  ASSERT_NE(s.Popup(), nullptr);
  EXPECT_EQ(clicks, 1);
  ::PostMessageW(::GetFocus(), WM_KEYUP, VK_SPACE, 0);
  PumpPending();
  EXPECT_NE(s.Popup(), nullptr);
  s.Key(VK_ESCAPE);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(s.Popup(), nullptr);
}

// ---- Mouse ----------------------------------------------------------------------------------

TEST(GalleryMenuMouse, AClickPicksClosesAndTheButtonShowsThePick) {
  TScene s;
  TEventLog log;
  s.Button->SetUseGalleryMenuImage(true);
  s.Button->SetUseGalleryMenuCaption(true);
  s.Button->SetCaption(L"Own");
  log.Hook(s.Menu);
  s.PressButton();
  ASSERT_NE(s.Popup(), nullptr);
  EXPECT_TRUE(s.Button->IsDown());
  EXPECT_EQ(::GetCapture(), s.Popup()->WindowHandle());
  // The release of the opening press lands on an item and picks nothing.
  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(4));
  s.Mouse(WM_LBUTTONUP, s.ItemCentre(4));
  ASSERT_NE(s.Popup(), nullptr);
  EXPECT_EQ(::GetCapture(), s.Popup()->WindowHandle()) << "the capture is taken back";
  EXPECT_EQ(s.Menu->ItemIndex(), -1);

  s.ClickItem(4);
  EXPECT_EQ(s.Popup(), nullptr);
  EXPECT_EQ(s.Menu->ItemIndex(), 4);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"popup", "change", "close", "click4", "itemclick", "change"}));
  EXPECT_FALSE(s.Button->IsDown() || s.Button->MenuTracking() || s.Button->Pressed());
  EXPECT_EQ(::GetFocus(), s.Button->WindowHandle());

  auto shot = s.Button->Shot(kasNormal);
  EXPECT_FALSE(ColorBox(shot.get(), kImageColors[4]).IsEmpty()) << "the picked item's image";
  // The picked caption and image: the same face as a button with them as its own.
  auto* twin = new TShotButton(s.Form);
  twin->SetBounds(20, 100, 120, 40);
  twin->SetParent(s.Form);
  twin->SetCaption(L"Item 4");
  twin->SetImages(s.List);
  twin->SetImageIndex(4);
  twin->SetGalleryMenu(new TkaGalleryMenu(s.Form));  // the same drop-down arrow
  twin->SetFocus();                                   // and the same focus rectangle
  auto want = twin->Shot(kasNormal);
  s.Button->SetFocus();
  shot = s.Button->Shot(kasNormal);
  int differ = 0;
  for (int y = 0; y < shot->Height(); ++y)
    for (int x = 0; x < shot->Width(); ++x) differ += PixelAt(shot.get(), x, y) != PixelAt(want.get(), x, y);
  EXPECT_EQ(differ, 0);
}

TEST(GalleryMenuMouse, PressesOutsideAndOtherButtonsCloseWithoutAPick) {
  TScene s;
  TEventLog log;
  s.Menu->SetItemIndex(1);
  log.Hook(s.Menu);
  // A left press outside (the capture brings it to the drop-down).
  s.Menu->PopupFromRect(s.ButtonScreenRect());
  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(2));
  s.Mouse(WM_LBUTTONDOWN, TPoint(-30, -30));
  PumpPending();
  EXPECT_EQ(s.Popup(), nullptr);
  // The right button anywhere in the application.
  s.Menu->PopupFromRect(s.ButtonScreenRect());
  ::PostMessageW(s.Form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PumpPending();
  EXPECT_EQ(s.Popup(), nullptr);
  // Another program becoming active.
  s.Menu->PopupFromRect(s.ButtonScreenRect());
  s.Popup()->Perform(WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(s.Popup(), nullptr);
  // A press inside but on no item keeps it open.
  s.Menu->PopupFromRect(s.ButtonScreenRect());
  s.Mouse(WM_LBUTTONDOWN, TPoint(110, 80));
  s.Mouse(WM_LBUTTONUP, TPoint(110, 80));
  EXPECT_NE(s.Popup(), nullptr);
  s.Menu->Hide();
  EXPECT_EQ(s.Menu->ItemIndex(), 1);
  EXPECT_EQ(log.Take(),
            (std::vector<std::string>{"popup", "close", "popup", "close", "popup", "close", "popup", "close"}));
  EXPECT_EQ(::GetFocus(), s.Button->WindowHandle());
  EXPECT_FALSE(s.Button->IsDown());
}

TEST(GalleryMenuMouse, HotItemChangesRepaintOnlyTheTwoItems) {
  TScene s;
  s.Menu->PopupFromRect(TRect(300, 300, 400, 330));
  PumpPending();
  TkaGalleryMenuPopupWindow* w = s.Popup();
  ASSERT_NE(w, nullptr);
  const unsigned paints = w->PaintStats().Paints;
  const TkaGalleryPaintStats before = w->GalleryPaintStats();
  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(1));
  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(7));
  s.Mouse(WM_MOUSEMOVE, TPoint(s.ItemCentre(7).X + 1, s.ItemCentre(7).Y + 1));  // same item: nothing
  s.Mouse(WM_MOUSEMOVE, TPoint(110, 80));                  // off the items
  PumpPending();
  EXPECT_EQ(w->PaintStats().Paints, paints) << "no whole repaint";
  EXPECT_EQ(w->GalleryPaintStats().ItemRepaints - before.ItemRepaints, 3u);
  EXPECT_EQ(w->GalleryPaintStats().ItemsDrawn - before.ItemsDrawn, 1u + 2u + 1u);

  // What the item repaints left on screen is what a whole repaint draws.
  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(2));
  auto grab = [&] {
    auto b = std::make_unique<TBitmap>(w->Width(), w->Height());
    TWindowDC dc(w->WindowHandle());
    ::BitBlt(b->Canvas()->Handle(), 0, 0, w->Width(), w->Height(), dc.Get(), 0, 0, SRCCOPY);
    return b;
  };
  auto partial = grab();
  EXPECT_FALSE(ColorBox(partial.get(), kImageColors[2]).IsEmpty()) << "the screen was read";
  w->RePaintControl();
  auto full = grab();
  int differ = 0;
  for (int y = 0; y < w->Height(); ++y)
    for (int x = 0; x < w->Width(); ++x) differ += PixelAt(partial.get(), x, y) != PixelAt(full.get(), x, y);
  EXPECT_EQ(differ, 0);
  s.Menu->Hide();
}

TEST(GalleryMenuMouse, HintsFollowTheHotItem) {
  TScene s;
  auto* hint = new TkaHint(s.Form);
  s.Menu->SetHintComponent(hint);
  s.Menu->Items()->Items(2)->SetHint(L"Second");
  s.Menu->PopupFromRect(TRect(300, 300, 400, 330));
  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(2));
  EXPECT_NE(hint->HintTimer(), nullptr) << "a hint is on its way";
  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(1));
  EXPECT_EQ(hint->HintTimer(), nullptr) << "an item without hint hides it";
  s.Mouse(WM_MOUSEMOVE, s.ItemCentre(2));
  s.Menu->Hide();
  EXPECT_EQ(hint->HintTimer(), nullptr) << "closing hides it";
  hint->Free();
  EXPECT_EQ(s.Menu->HintComponent(), nullptr);
}

// ---- Lifetime -------------------------------------------------------------------------------

TEST(GalleryMenuLifetime, FiftyDropDownsLeaveNoObjectWindowOrGdiHandle) {
  TScene s;
  int seen = 0;
  Application->OnMessage = [&seen](MSG&, bool&) { ++seen; };
  auto cycle = [&](int i) {
    s.PressButton();
    ASSERT_NE(s.Popup(), nullptr);
    s.Mouse(WM_MOUSEMOVE, s.ItemCentre(1 + i % 5));
    s.Mouse(WM_LBUTTONUP, s.ItemCentre(1 + i % 5));
    switch (i % 3) {
      case 0: s.ClickItem(1 + i % 5); break;
      case 1: s.Key(VK_ESCAPE); break;
      default: s.Mouse(WM_LBUTTONDOWN, TPoint(-40, 5)); break;
    }
    PumpPending();
    ASSERT_EQ(s.Popup(), nullptr);
  };
  cycle(0);
  const int objects = TObject::AliveCount(), gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 1; i <= 50; ++i) cycle(i);
  EXPECT_EQ(TObject::AliveCount(), objects);
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_LE(GdiObjectCount(), gdi);
  seen = 0;
  ::PostMessageW(s.Form->Handle(), WM_NULL, 0, 0);
  PumpPending();
  EXPECT_GT(seen, 0) << "the application's handler is back";
  EXPECT_EQ(::GetFocus(), s.Button->WindowHandle());
  Application->OnMessage = nullptr;
}

TEST(GalleryMenuLifetime, FreeingTheButtonOrTheMenuWhileOpenOrPicking) {
  {
    // The pick's event frees the button, the drop-down's parent, from the release handler.
    TScene s;
    s.Menu->OnItemClick = [&](TObject*) { FreeAndNil(s.Button); };
    s.PressButton();
    s.Mouse(WM_LBUTTONUP, TPoint(-5, -5));
    s.ClickItem(3);
    EXPECT_EQ(s.Button, nullptr);
    EXPECT_EQ(s.Popup(), nullptr);
    EXPECT_EQ(s.Menu->ItemIndex(), 3);
    EXPECT_EQ(s.Menu->FControl, nullptr);
  }
  {
    TScene s;
    s.PressButton();
    ASSERT_NE(s.Popup(), nullptr);
    FreeAndNil(s.Button);
    EXPECT_EQ(s.Popup(), nullptr);
    EXPECT_FALSE(static_cast<bool>(Application->OnMessage));
    EXPECT_EQ(::GetCapture(), nullptr);
  }
  {
    TScene s;
    s.PressButton();
    s.Menu->Free();
    EXPECT_EQ(s.Button->GalleryMenu(), nullptr);
    EXPECT_FALSE(static_cast<bool>(Application->OnMessage));
    EXPECT_FALSE(s.Button->IsDown());
    s.Key(VK_DOWN);  // the button's own arrow key: no menu to open any more
  }
}

// ---- Layouts --------------------------------------------------------------------------------

TEST(GalleryMenuStreaming, MenuItemsAndButtonAreReadFromALayout) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, R"(object Form1: TCustomForm
  object List1: TImageList
    Width = 24
  end
  object Hint1: TkaHint
  end
  object Gallery1: TkaGalleryMenu
    ItemIndex = 2
    Images = List1
    HintComponent = Hint1
    HeaderStyle = kamhsBottomLine
    HeaderHeight = 30
    BackgroundStyle = kagmToolBar
    ItemFont.Height = -15
    HeaderFont.Name = 'Tahoma'
    ColumnsCount = 4
    ShowSelectedItem = False
    ShowHints = False
    ButtonLeftAlignment = True
    ButtonGlyphLeftAlignment = True
    Items = <
      item
        Header = True
        Caption = 'Colours'
      end
      item
        ImageIndex = 0
        Hint = 'Red'
      end
      item
        ImageIndex = 1
        Button = True
        Enabled = False
        Caption = 'More'
      end>
  end
  object Button1: TkaButton
    GalleryMenu = Gallery1
    UseGalleryMenuImage = True
  end
end)",
             L"TEST");
  auto* g = dynamic_cast<TkaGalleryMenu*>(form->FindComponent(L"Gallery1"));
  auto* b = dynamic_cast<TkaButton*>(form->FindComponent(L"Button1"));
  ASSERT_NE(g, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(g->ItemIndex(), 2) << "set before the items were read";
  EXPECT_EQ(g->Images(), form->FindComponent(L"List1"));
  EXPECT_EQ(g->HintComponent(), form->FindComponent(L"Hint1"));
  EXPECT_EQ(g->HeaderStyle(), kamhsBottomLine);
  EXPECT_EQ(g->HeaderHeight(), 30);
  EXPECT_EQ(g->BackgroundStyle(), kagmToolBar);
  EXPECT_EQ(g->ItemFont()->Height(), -15);
  EXPECT_EQ(g->HeaderFont()->Name(), L"Tahoma");
  EXPECT_EQ(g->ColumnsCount(), 4);
  EXPECT_FALSE(g->ShowSelectedItem() || g->ShowHints());
  EXPECT_TRUE(g->ButtonLeftAlignment() && g->ButtonGlyphLeftAlignment());
  ASSERT_EQ(g->Items()->Count(), 3);
  EXPECT_TRUE(g->Items()->Items(0)->Header());
  EXPECT_EQ(g->Items()->Items(0)->Caption(), L"Colours");
  EXPECT_EQ(g->Items()->Items(1)->Hint(), L"Red");
  EXPECT_TRUE(g->Items()->Items(2)->Button() && !g->Items()->Items(2)->Enabled());
  EXPECT_EQ(g->Items()->Items(2)->ImageIndex(), 1);
  EXPECT_EQ(b->GalleryMenu(), g);
  form->Free();

  // An index the items cannot hold is dropped once they are read.
  form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, R"(object Form1: TCustomForm
  object Gallery1: TkaGalleryMenu
    ItemIndex = 0
    Items = <
      item
        Header = True
      end>
  end
end)",
             L"TEST");
  EXPECT_EQ(dynamic_cast<TkaGalleryMenu*>(form->FindComponent(L"Gallery1"))->ItemIndex(), -1);
  form->Free();
}

}  // namespace
