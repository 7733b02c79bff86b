// The glyph container button: where the hosted control and the caption go, the hook that makes
// the hosted control transparent to the mouse (and its undoing), real clicks and pointer
// moves over the hosted control, groups, the fluent light, the drop-down menu of the side
// menu's menu button, repaints that reach the hosted control, scaling, layouts and handles.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framework/Streaming.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "tests/support/TestControls.h"

namespace {

constexpr TColor kBackground = clWhite;

// Counts the messages that reach a control's own procedure: put in front of it before the
// button hooks it, with a type of its own so a test can tell it is back in place. Outlives
// the control.
struct TMessageCount {
  struct TProc {
    TMessageCount* Owner;
    TWndMethod Own;
    void operator()(TMessage& m) const {
      ++Owner->Counts[m.Msg];
      Own(m);
    }
  };
  std::map<UINT, int> Counts;
  void Attach(TControl* C) { C->WindowProc = TProc{this, C->WindowProc}; }
  static bool Installed(const TControl* C) { return C->WindowProc.target<TProc>() != nullptr; }
  int operator[](UINT Msg) { return Counts[Msg]; }
};

// A playable document with nothing to draw: the icon shows the face under it.
std::vector<uint8_t> IconDocument() {
  const std::string doc = R"({"v":"5.12.2","fr":60,"ip":0,"op":75,"w":48,"h":48,"layers":[]})";
  return std::vector<uint8_t>(doc.begin(), doc.end());
}

// A container button that records its faces, caption rectangles, events and drop-downs.
class TTestButton : public TkaGPGlyphContainerButton {
  KA_CLASS(TTestButton, TkaGPGlyphContainerButton)
 public:
  explicit TTestButton(TComponent* AOwner) : TkaGPGlyphContainerButton(AOwner) {
    OnClick = [this](TObject*) { ++Clicks; };
    OnMouseEnter = [this](TObject*) { ++Enters; };
    OnMouseLeave = [this](TObject*) { ++Leaves; };
  }
  int Clicks = 0, Enters = 0, Leaves = 0, Paints = 0;
  TkasCtrlState LastState = kasNormal;
  TRect CaptionRect;
  std::vector<TPoint> MenuPoints;
  TBitmap Snapshot;

  bool MouseLDown() const { return FMouseLDown; }
  uint8_t LightStep() const { return FFluentLightPressedEffectAmount; }
  TColor At(int X, int Y) { return Snapshot.Canvas()->Pixel(X, Y); }
  void Design() { SetDesigning(true); }

 protected:
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override {
    CaptionRect = TRect();
    inherited::DrawControl(ACanvas, ACtrlState);
    ++Paints;
    LastState = ACtrlState;
    Snapshot.SetSize(Width(), Height());
    ::BitBlt(Snapshot.Canvas()->Handle(), 0, 0, Width(), Height(), ACanvas->Handle(), 0, 0, SRCCOPY);
  }
  void DrawCaption(Gdiplus::Graphics* G, TCanvas* ACanvas, const TRect& M) override {
    CaptionRect = M;
    inherited::DrawCaption(G, ACanvas, M);
  }
  // The menu's own loop would wait for the user.
  void PopupDropDownMenu(TPoint ScreenPoint) override { MenuPoints.push_back(ScreenPoint); }
};

// The values the demo's side-menu page buttons carry.
void MakeSideMenuButton(TkaGPGlyphContainerButton* B) {
  B->SetBounds(B->Left(), B->Top(), 200, 50);
  B->SetShowCaption(true);
  B->SetTextMargin(10);
  B->SetLayout(blGlyphLeft);
  B->SetGlyphContainerSize(35);
  B->SetFluentLightEffect(true);
  B->SetGroupIndex(1);
  B->SetAllowAllUp(false);
  TkaGPButtonOptions* O = B->Options();
  O->SetFrameWidth(5);
  O->SetShapeStyle(kagpLeftLineMargins);
  O->SetShapeStyleLineSize(26);
  O->SetPressedHotColors(true);
}

// A form with a white panel and a column of side-menu buttons, each hosting an animated
// icon that starts at the wrong place and plays while the pointer is over its button.
struct TScene {
  std::vector<TMessageCount> IconMessages;
  TCustomForm* Form;
  TTestPanel* Panel;
  std::vector<TTestButton*> Buttons;
  std::vector<TSkAnimatedImage*> Icons;

  explicit TScene(int Count = 1) {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(300, 300, 420, 60 * Count + 20);
    Panel = new TTestPanel(Form);
    Panel->FillColor = kBackground;
    Panel->SetAlign(alClient);
    Panel->SetParent(Form);
    IconMessages.resize(Count);
    for (int i = 0; i < Count; ++i) {
      auto* b = new TTestButton(Form);
      b->SetBounds(10, 10 + i * 60, 200, 50);
      b->SetParent(Panel);
      MakeSideMenuButton(b);
      auto* icon = new TSkAnimatedImage(Form);
      icon->SetBounds(0, 0, 10, 10);
      icon->SetParent(b);
      icon->Animation()->SetEnabled(false);
      icon->SetData(IconDocument());
      IconMessages[i].Attach(icon);
      b->SetGlyphContainer(icon);
      b->OnMouseEnter = [b, icon](TObject*) {
        ++b->Enters;
        icon->Animation()->SetEnabled(true);
      };
      b->OnMouseLeave = [b, icon](TObject*) {
        ++b->Leaves;
        icon->Animation()->SetEnabled(false);
      };
      Buttons.push_back(b);
      Icons.push_back(icon);
    }
    ::SetCursorPos(0, 0);
    Form->Show();
    PumpPending();
    PumpUntil([this] {
      for (TTestButton* b : Buttons)
        if (b->MouseIn()) return false;
      return true;
    }, 1000);
  }
  ~TScene() { Form->Free(); }
  TTestButton* B(int I = 0) { return Buttons[I]; }
  TSkAnimatedImage* Icon(int I = 0) { return Icons[I]; }
};

// The real pointer: moved by the system (which sends the move to the window under it), and
// pressed and released where it is.
void PointerTo(const TControl* C, int X, int Y) {
  const TPoint p = C->ClientToScreen(TPoint(X, Y));
  ::SetCursorPos(p.X, p.Y);
  PumpUntil([] { return false; }, 30);
}

void PointerClick() {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, in, sizeof(INPUT));
  PumpUntil([] { return false; }, 60);
}

// Messages straight to the button's window, with the real cursor where the leave poll looks.
void Move(TTestButton* B, int X, int Y) {
  const TPoint p = B->ClientToScreen(TPoint(X, Y));
  ::SetCursorPos(p.X, p.Y);
  ::SendMessageW(B->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
}
void Press(TTestButton* B, int X, int Y) { ::SendMessageW(B->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y)); }
void Release(TTestButton* B, int X, int Y) { ::SendMessageW(B->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(X, Y)); }

// ---- Placement --------------------------------------------------------------------------------

TEST(GPGlyphContainerButton, PlacesTheHostedControlAndTheCaptionBesideIt) {
  struct TCase {
    const char* Name;
    int W, H, FrameWidth, Size;
    bool Caption;
    TButtonLayout Layout;
    TBiDiMode BiDi;
    TRect Hosted, Caption_;
  };
  const TCase cases[] = {
      // R (13, 13, 37, 37); 35 centred in 24 starts -11 div 2 = -5 from it, not -6.
      {"side menu", 200, 50, 5, 35, true, blGlyphLeft, bdLeftToRight, Bounds(8, 8, 35, 35), TRect(43, 0, 200, 50)},
      {"overhang of 13 truncates to -6", 200, 50, 5, 37, true, blGlyphLeft, bdLeftToRight, Bounds(7, 7, 37, 37),
       TRect(44, 0, 200, 50)},
      {"glyph right", 200, 50, 5, 35, true, blGlyphRight, bdLeftToRight, Bounds(158, 8, 35, 35),
       TRect(0, 0, 158, 50)},
      {"glyph left read right to left", 200, 50, 5, 35, true, blGlyphLeft, bdRightToLeft, Bounds(158, 8, 35, 35),
       TRect(0, 0, 158, 50)},
      {"glyph top, fitted", 80, 90, 2, 0, true, blGlyphTop, bdLeftToRight, Bounds(24, 11, 32, 32),
       TRect(0, 43, 80, 90)},
      {"glyph bottom, smaller", 80, 90, 2, 20, true, blGlyphBottom, bdLeftToRight, Bounds(30, 53, 20, 20),
       TRect(0, 0, 80, 53)},
      {"no caption, fitted", 50, 50, 2, 0, false, blGlyphLeft, bdLeftToRight, Bounds(10, 10, 30, 30), TRect()},
  };
  TScene s;
  TTestButton* b = s.B();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    b->SetBounds(10, 10, c.W, c.H);
    b->Options()->SetFrameWidth(c.FrameWidth);
    b->SetGlyphContainerSize(c.Size);
    b->SetShowCaption(c.Caption);
    b->SetLayout(c.Layout);
    b->SetBiDiMode(c.BiDi);
    b->RePaintControl();
    EXPECT_EQ(s.Icon()->BoundsRect(), c.Hosted);
    EXPECT_EQ(b->CaptionRect, c.Caption_);
  }
}

TEST(GPGlyphContainerButton, SideMenuCaptionStartsTenPixelsRightOfTheIcon) {
  TScene s;
  TTestButton* b = s.B();
  b->Options()->SetStyleColors(false);
  b->Options()->SetNormalColor(clNone);
  b->Options()->SetFrameNormalColor(clNone);
  b->Options()->SetFontNormalColor(clBlack);
  b->Font()->SetHeight(-16);
  b->SetCaption(L"Data");
  auto firstDarkColumn = [&] {
    for (int x = 0; x < b->Width(); ++x)
      for (int y = 0; y < b->Height(); ++y)
        if (GetRValue(b->At(x, y)) < 128) return x;
    return -1;
  };
  for (TkaDrawTextMode mode : {kadtmGDI, kadtmGDIPlus}) {
    SCOPED_TRACE(static_cast<int>(mode));
    b->SetDrawTextMode(mode);
    const int x = firstDarkColumn();
    // 43 + TextMargin 10, plus the font's own lead; a margin counted from the button's height
    // (as the glyph button's) would start it at 60.
    EXPECT_GE(x, 53);
    EXPECT_LT(x, 60);
  }
  EXPECT_EQ(b->GlyphContainerSize(), 35);
  b->SetGlyphContainerSize(-1);
  EXPECT_EQ(b->GlyphContainerSize(), 35);
}

// ---- The hook ---------------------------------------------------------------------------------

TEST(GPGlyphContainerButton, HookAnswersHitTestsAndErasesOnlyForTheAnimatedImage) {
  TMessageCount plainMessages;  // outlives the form
  TScene s;
  TTestButton* b = s.B();
  TSkAnimatedImage* image = s.Icon();
  auto* plain = new TTestPanel(s.Form);
  plain->SetParent(b);
  plainMessages.Attach(plain);
  auto* graphic = new TTestGraphic(s.Form);
  graphic->SetParent(b);
  HDC dc = ::GetDC(image->Handle());
  struct TCase {
    const char* Name;
    TControl* Hosted;
    TMessageCount* Own;  // what reaches the control's own procedure
    bool NcHitTransparent, EraseAnswered, HitTestZero;
  };
  const TCase cases[] = {{"animated image", image, &s.IconMessages[0], true, true, false},
                         {"other windowed control", plain, &plainMessages, true, false, false},
                         {"graphic control", graphic, nullptr, false, false, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    b->SetGlyphContainer(c.Hosted);
    const int ownNcHits = c.Own != nullptr ? (*c.Own)[WM_NCHITTEST] : 0;
    const int ownErases = c.Own != nullptr ? (*c.Own)[WM_ERASEBKGND] : 0;
    const LRESULT nc = c.Hosted->Perform(WM_NCHITTEST, 0, 0);
    EXPECT_EQ(nc == HTTRANSPARENT, c.NcHitTransparent);
    const LRESULT erase = c.Hosted->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(c.Hosted->Perform(CM_HITTEST, 0, 0) == 0, c.HitTestZero);
    if (c.Own != nullptr) {
      // What the hook answers never reaches the control's own procedure.
      EXPECT_EQ((*c.Own)[WM_NCHITTEST] - ownNcHits, c.NcHitTransparent ? 0 : 1);
      EXPECT_EQ((*c.Own)[WM_ERASEBKGND] - ownErases, c.EraseAnswered ? 0 : 1);
      if (c.EraseAnswered) {
        EXPECT_EQ(erase, 1);
      }
    }
  }
  ::ReleaseDC(image->WindowHandle(), dc);
  // The graphic control's own answer is back once another control is hosted.
  b->SetGlyphContainer(image);
  EXPECT_EQ(graphic->Perform(CM_HITTEST, 0, 0), HTCLIENT);
  // Neither the button itself nor a control it lies in can be hosted.
  b->SetGlyphContainer(b);
  b->SetGlyphContainer(s.Panel);
  EXPECT_EQ(b->GlyphContainer(), image);
}

TEST(GPGlyphContainerButton, OldProcedureComesBackOnReassignAndWhenTheButtonGoes) {
  TMessageCount firstOwn, secondOwn;  // outlive the form
  int laterSeen = 0;
  TScene s;
  TTestButton* b = s.B();
  // Two controls beside the button (they outlive it), each with a procedure of its own in
  // front of its handlers.
  auto* first = new TTestPanel(s.Form);
  first->SetParent(s.Panel);
  auto* second = new TTestPanel(s.Form);
  second->SetParent(s.Panel);
  firstOwn.Attach(first);
  secondOwn.Attach(second);
  b->SetGlyphContainer(first);
  EXPECT_EQ(first->Perform(WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_FALSE(TMessageCount::Installed(first));
  b->SetGlyphContainer(second);
  EXPECT_TRUE(TMessageCount::Installed(first));
  EXPECT_EQ(second->Perform(WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  second->Perform(WM_USER + 1, 0, 0);
  EXPECT_EQ(secondOwn[WM_USER + 1], 1);  // what the hook does not answer goes on
  EXPECT_EQ(secondOwn[WM_NCHITTEST], 0);

  // A hook installed after the button's keeps the button's as its previous procedure: that
  // one stays in the chain and, once the button is gone, only passes messages on.
  TWndMethod hooked = second->WindowProc;
  second->WindowProc = [&laterSeen, hooked](TMessage& m) {
    ++laterSeen;
    hooked(m);
  };
  b->Free();
  EXPECT_NE(second->Perform(WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(laterSeen, 1);
  EXPECT_EQ(secondOwn[WM_NCHITTEST], 1);
}

TEST(GPGlyphContainerButton, HostedControlFreedFirstLeavingItsOwnerOrOutlivingTheButton) {
  TMessageCount looseOwn;
  TScene s(3);
  TTestButton* b = s.B(0);
  s.Icon(0)->Free();  // freed first: the reference goes, nothing is put back into it
  EXPECT_EQ(b->GlyphContainer(), nullptr);
  b->RePaintControl();
  Move(b, 20, 20);
  Press(b, 20, 20);
  Release(b, 20, 20);
  EXPECT_EQ(b->Clicks, 1);

  // Leaving the owner the two share ends the hosting too; the control lives on as it was.
  s.Form->RemoveComponent(s.Icon(1));
  EXPECT_EQ(s.B(1)->GlyphContainer(), nullptr);
  EXPECT_TRUE(TMessageCount::Installed(s.Icon(1)));
  s.Form->InsertComponent(s.Icon(1));

  // A control owned by nobody that outlives the button.
  TTestButton* other = s.B(2);
  auto* loose = new TTestPanel(nullptr);
  loose->SetParent(s.Panel);
  looseOwn.Attach(loose);
  other->SetGlyphContainer(loose);
  EXPECT_EQ(loose->Perform(WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  other->Free();
  EXPECT_TRUE(TMessageCount::Installed(loose));
  EXPECT_NE(loose->Perform(WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  loose->Free();
}

TEST(GPGlyphContainerButton, NoHookWhileDesigning) {
  TScene s;
  auto* b = new TTestButton(s.Form);
  b->SetParent(s.Panel);
  b->Design();
  auto* icon = new TTestPanel(s.Form);
  icon->SetParent(b);
  b->SetGlyphContainer(icon);
  EXPECT_EQ(b->GlyphContainer(), icon);
  EXPECT_NE(icon->Perform(WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

// ---- The real pointer over the hosted control ---------------------------------------------------

TEST(GPGlyphContainerButton, RealClickOnTheHostedControlClicksTheButton) {
  TScene s;
  TTestButton* b = s.B();
  TSkAnimatedImage* icon = s.Icon();
  b->SetGroupIndex(0);
  ASSERT_EQ(icon->BoundsRect(), Bounds(8, 8, 35, 35));
  PointerTo(icon, 17, 17);
  PointerClick();
  EXPECT_EQ(b->Clicks, 1);
  EXPECT_EQ(s.IconMessages[0][WM_LBUTTONDOWN], 0);
  EXPECT_EQ(s.IconMessages[0][WM_MOUSEMOVE], 0);

  // A graphic control hosted instead lets the click through as well.
  icon->Hide();
  auto* graphic = new TTestGraphic(s.Form);
  graphic->SetParent(b);
  b->SetGlyphContainer(graphic);
  b->RePaintControl();
  int graphicDowns = 0;
  graphic->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++graphicDowns; };
  PointerTo(graphic, 17, 17);
  PointerClick();
  EXPECT_EQ(b->Clicks, 2);
  EXPECT_EQ(graphicDowns, 0);
}

TEST(GPGlyphContainerButton, EnteringAndLeavingOverTheHostedControlIsReportedOnce) {
  TScene s;
  TTestButton* b = s.B();
  struct TCase {
    const char* Name;
    bool Graphic;
  };
  for (const TCase& c : {TCase{"windowed", false}, TCase{"graphic", true}}) {
    SCOPED_TRACE(c.Name);
    TControl* hosted = s.Icon();
    if (c.Graphic) {
      s.Icon()->Hide();
      hosted = new TTestGraphic(s.Form);
      hosted->SetParent(b);
      b->SetGlyphContainer(hosted);
      b->RePaintControl();
    }
    PointerTo(s.Panel, 300, 30);
    const int enters = b->Enters, leaves = b->Leaves;
    // Straight from outside onto the icon, around the face and back, then out from the icon.
    PointerTo(hosted, 17, 17);
    EXPECT_TRUE(b->MouseIn());
    PointerTo(hosted, 30, 5);
    PointerTo(b, 120, 25);
    PointerTo(hosted, 5, 30);
    PumpUntil([] { return false; }, 250);  // the leave poll runs twice meanwhile
    EXPECT_TRUE(b->MouseIn());
    EXPECT_EQ(b->Enters - enters, 1);
    EXPECT_EQ(b->Leaves - leaves, 0);
    // The side menu's handlers play the icon while the pointer is over its button.
    EXPECT_EQ(s.Icon()->Animating(), !c.Graphic);
    PointerTo(s.Panel, 300, 30);
    EXPECT_FALSE(b->MouseIn());
    EXPECT_EQ(b->Enters - enters, 1);
    EXPECT_EQ(b->Leaves - leaves, 1);
    EXPECT_FALSE(s.Icon()->Animating());
  }
}

// ---- Groups and drop-downs --------------------------------------------------------------------

TEST(GPGlyphContainerButton, OneButtonOfTheGroupStaysDown) {
  TScene s(3);
  auto* glyphButton = new TkaGPGlyphButton(s.Form);  // same group index, another class
  glyphButton->SetBounds(250, 10, 50, 50);
  glyphButton->SetParent(s.Panel);
  glyphButton->SetGroupIndex(1);
  glyphButton->SetDown(true);
  auto click = [](TTestButton* b) {
    Move(b, 100, 25);
    Press(b, 100, 25);
    Release(b, 100, 25);
  };
  auto downs = [&] {
    std::string d;
    for (TTestButton* b : s.Buttons) d += b->Down() ? '1' : '0';
    return d;
  };
  click(s.B(0));
  EXPECT_EQ(downs(), "100");
  click(s.B(2));
  EXPECT_EQ(downs(), "001");
  click(s.B(2));  // AllowAllUp off: a down button is not released by a click
  EXPECT_EQ(downs(), "001");
  EXPECT_EQ(s.B(2)->Clicks, 1);
  EXPECT_EQ(s.B(0)->Clicks, 1);
  EXPECT_TRUE(glyphButton->Down());  // siblings of this class only
  s.B(1)->SetDown(true);
  EXPECT_EQ(downs(), "010");
}

TEST(GPGlyphContainerButton, MenuButtonDropsItsMenuCentredUnderItAndStartsNoRipple) {
  TScene s;
  TTestButton* b = s.B();
  // The side menu's menu button.
  b->SetBounds(49, 10, 102, 35);
  b->SetGroupIndex(0);
  b->SetCanFocused(false);
  b->SetShowMenuArrow(false);
  b->Options()->SetShapeStyle(kagpRect);
  b->Options()->SetFrameWidth(1);
  auto* menu = new TPopupMenu(s.Form);
  menu->SetAlignment(paCenter);
  b->SetDropDownMenu(menu);
  Move(b, 30, 20);
  Press(b, 30, 20);
  ASSERT_EQ(b->MenuPoints.size(), 1u);
  EXPECT_EQ(b->MenuPoints[0], b->ClientToScreen(TPoint(51, 35)));
  EXPECT_FALSE(b->MouseLDown());
  Release(b, 30, 20);
  EXPECT_EQ(b->Clicks, 0);
  // The press that closes the menu only marks the button hot.
  Press(b, 30, 20);
  EXPECT_EQ(b->MenuPoints.size(), 1u);
  Release(b, 30, 20);
  ASSERT_TRUE(PumpUntil([&] { return !b->MenuTracking(); }, 1000));
  Press(b, 30, 20);
  EXPECT_EQ(b->MenuPoints.size(), 2u);
  Release(b, 30, 20);
  b->SetDropDownMenu(nullptr);
  // Without a menu the same press starts the ripple.
  ASSERT_TRUE(PumpUntil([&] { return !b->MenuTracking(); }, 1000));
  Press(b, 30, 20);
  EXPECT_TRUE(b->MouseLDown());
  Release(b, 30, 20);
}

// ---- Fluent light -------------------------------------------------------------------------------

TEST(GPGlyphContainerButton, LightFollowsThePointerRipplesElevenFramesAndStopsOnLeave) {
  TScene s;
  TTestButton* b = s.B();
  b->SetGroupIndex(0);
  TkaGPButtonOptions* o = b->Options();
  o->SetStyleColors(false);
  o->SetNormalColor(clBlack), o->SetNormalColorAlpha(255);
  o->SetHotColor(clBlack), o->SetHotColorAlpha(255);
  o->SetPressedColor(clBlack), o->SetPressedColorAlpha(255);
  // The spot is under the pointer: brighter there than at the far end of the face.
  Move(b, 80, 25);
  EXPECT_GT(GetRValue(b->At(80, 25)), GetRValue(b->At(180, 25)) + 10);
  Move(b, 180, 25);
  EXPECT_GT(GetRValue(b->At(180, 25)), GetRValue(b->At(80, 25)) + 10);
  const int hoverOnly = GetRValue(b->At(180, 25));

  const DWORD start = ::GetTickCount();
  Press(b, 180, 25);
  ASSERT_TRUE(b->MouseLDown());
  EXPECT_GT(GetRValue(b->At(180, 25)), hoverOnly + 10);
  std::vector<int> steps;
  ASSERT_TRUE(PumpUntil([&] {
    if (steps.empty() || steps.back() != b->LightStep()) steps.push_back(b->LightStep());
    return !b->MouseLDown();
  }, 3000));
  EXPECT_GE(::GetTickCount() - start, 200u);
  EXPECT_EQ(b->LightStep(), 11);
  EXPECT_EQ(steps.front(), 0);
  int paints = b->Paints;
  PumpUntil([] { return false; }, 150);
  EXPECT_EQ(b->Paints, paints);  // the timer is gone
  Release(b, 180, 25);

  // Leaving before the eleventh tick ends the ripple at once.
  Press(b, 180, 25);
  ASSERT_TRUE(PumpUntil([&] { return b->LightStep() >= 2; }, 2000));
  Move(b, 400, 25);
  EXPECT_FALSE(b->MouseLDown());
  PumpPending();
  paints = b->Paints;
  PumpUntil([] { return false; }, 150);
  EXPECT_EQ(b->Paints, paints);
  Release(b, 400, 25);

  // Off: no spot, and a stray tick of the ripple's timer changes nothing.
  b->SetFluentLightEffect(false);
  Move(b, 80, 25);
  EXPECT_EQ(GetRValue(b->At(80, 25)), GetRValue(b->At(180, 25)));
  paints = b->Paints;
  b->Perform(WM_TIMER, kaFluentLightTimerID, 0);
  EXPECT_EQ(b->Paints, paints);
  EXPECT_FALSE(b->MouseLDown());
}

// ---- Repaints -----------------------------------------------------------------------------------

TEST(GPGlyphContainerButton, RepaintsAndFocusChangesRepaintTheHostedControlToo) {
  TScene s(2);
  TTestButton* b = s.B(0);
  b->SetDrawTextMode(kadtmGDIPlus);  // the base only invalidates on focus in this mode
  TMessageCount& icon = s.IconMessages[0];
  int faces = b->Paints, icons = icon[WM_PAINT];
  b->RePaintControl();
  EXPECT_EQ(b->Paints, faces + 1);
  EXPECT_EQ(icon[WM_PAINT], icons + 1);
  EXPECT_EQ(icon[WM_ERASEBKGND], 0);

  faces = b->Paints, icons = icon[WM_PAINT];
  b->SetFocus();
  EXPECT_GT(b->Paints, faces);
  EXPECT_GT(icon[WM_PAINT], icons);
  EXPECT_EQ(b->LastState, kasFocused);
  faces = b->Paints, icons = icon[WM_PAINT];
  s.B(1)->SetFocus();
  EXPECT_GT(b->Paints, faces);
  EXPECT_GT(icon[WM_PAINT], icons);
  EXPECT_EQ(b->LastState, kasNormal);
}

TEST(GPGlyphContainerButton, ScalingScalesTheHostedSizeWithTheFace) {
  TScene s;
  TTestButton* b = s.B();
  b->SetWidthWithCaption(200);
  b->ChangeScale(3, 2, true);
  EXPECT_EQ(b->Width(), 300);
  EXPECT_EQ(b->Height(), 75);
  EXPECT_EQ(b->GlyphContainerSize(), 53);  // 52.5 rounds away from zero
  EXPECT_EQ(b->Options()->FrameWidth(), 8);
  EXPECT_EQ(b->TextMargin(), 15);
  EXPECT_EQ(b->WidthWithCaption(), 300);
  EXPECT_EQ(b->Options()->ShapeStyleLineSize(), 39);
  // R: (0, 0, 75, 75) less 12 + 8: (20, 20, 55, 55); 53 centred in 35 starts 9 before it.
  b->RePaintControl();
  EXPECT_EQ(s.Icon()->BoundsRect(), Bounds(11, 11, 53, 53));
  EXPECT_EQ(b->CaptionRect.Left, 64);
  // A fitted icon has no size of its own to scale.
  b->SetGlyphContainerSize(0);
  b->ChangeScale(2, 3, true);
  EXPECT_EQ(b->GlyphContainerSize(), 0);
  b->RePaintControl();
  EXPECT_EQ(s.Icon()->BoundsRect(), Bounds(13, 13, 24, 24));
}

// ---- Layouts and handles ------------------------------------------------------------------------

TEST(GPGlyphContainerButton, LayoutHostsAChildDefinedInsideTheButton) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  const std::string layout =
      "object Form: TCustomForm\n"
      "  object PageButton: TkaGPGlyphContainerButton\n"
      "    Left = 0\n"
      "    Top = 100\n"
      "    Width = 200\n"
      "    Height = 50\n"
      "    Caption = 'Data'\n"
      "    GlyphContainer = Icon\n"
      "    GlyphContainerSize = 35\n"
      "    FluentLightEffect = True\n"
      "    ShowCaption = True\n"
      "    TextMargin = 10\n"
      "    GroupIndex = 1\n"
      "    Down = True\n"
      "    DrawTextMode = kadtmGDIPlus\n"
      "    Options.FrameWidth = 5\n"
      "    Options.ShapeStyle = kagpLeftLineMargins\n"
      "    object Icon: TkaGPLabel\n"
      "      Left = 8\n"
      "      Top = 8\n"
      "      Width = 35\n"
      "      Height = 35\n"
      "    end\n"
      "  end\n"
      "  object Plain: TkaGPGlyphContainerButton\n"
      "  end\n"
      "end\n";
  ReadLayout(form, layout, L"TEST");
  auto* b = dynamic_cast<TkaGPGlyphContainerButton*>(form->FindComponent(L"PageButton"));
  ASSERT_NE(b, nullptr);
  TControl* icon = dynamic_cast<TControl*>(form->FindComponent(L"Icon"));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Parent(), b);
  EXPECT_EQ(b->GlyphContainer(), icon);
  EXPECT_EQ(icon->Perform(WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(b->GlyphContainerSize(), 35);
  EXPECT_TRUE(b->FluentLightEffect());
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(b->TextMargin(), 10);
  EXPECT_EQ(b->Options()->ShapeStyle(), kagpLeftLineMargins);
  // The constructor's values.
  auto* plain = dynamic_cast<TkaGPGlyphContainerButton*>(form->FindComponent(L"Plain"));
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->Width(), 50);
  EXPECT_EQ(plain->Height(), 50);
  EXPECT_EQ(plain->TextMargin(), -1);
  EXPECT_EQ(plain->GlyphContainerSize(), 0);
  EXPECT_FALSE(plain->FluentLightEffect());
  EXPECT_TRUE(plain->ControlStyle().Contains(csAcceptsControls));
  EXPECT_EQ(plain->Options()->FrameWidth(), 2);
  EXPECT_EQ(plain->Options()->HotColorAlpha(), 20);
  form->Free();
}

TEST(GPGlyphContainerButton, HoverCyclesKeepTheGdiObjectCount) {
  TScene s(2);
  TTestButton* b = s.B(0);
  b->SetCaption(L"Reports");
  b->Badge()->SetText(L"3");
  b->Badge()->SetVisible(true);
  auto cycle = [&](int N) {
    for (int i = 0; i < N; ++i) {
      PointerTo(s.Icon(0), 17, 17);
      Move(b, 60 + i % 100, 25);
      if (i % 10 == 0) {
        Press(b, 100, 25);
        Release(b, 100, 25);
      }
      PointerTo(s.Panel, 300, 30);
      b->SetDrawTextMode(i % 2 == 0 ? kadtmGDI : kadtmGDIPlus);
    }
  };
  cycle(10);
  const int before = GdiObjectCount();
  cycle(100);
  EXPECT_LE(GdiObjectCount() - before, 2);
  EXPECT_EQ(b->Enters, b->Leaves);
}

}  // namespace
