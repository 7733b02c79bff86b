// The visual tree: alignment (against the demo window's own coordinates), scaling, the
// WindowProc chain, re-creation of windows, painting of graphic children, mouse routing,
// focus keys and GDI/USER handle hygiene.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "tests/support/TestControls.h"

namespace {

// The main window's frame and side menu as laid out at 96 DPI, built from plain
// containers: the alignment rules alone must put everything where the design has it.
struct TDemoTree {
  TCustomForm* Form;
  std::map<std::wstring, TControl*> Named;

  TControl* Add(TControl* c, TWinControl* parent, const wchar_t* name, TAlign align, TRect bounds) {
    c->SetName(name);
    c->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    c->SetAlign(align);
    c->SetParent(parent);
    Named[name] = c;
    return c;
  }
  TTestPanel* Panel(TWinControl* parent, const wchar_t* name, TAlign align, TRect bounds) {
    return static_cast<TTestPanel*>(Add(new TTestPanel(Form), parent, name, align, bounds));
  }
  static void SetMargins(TControl* c, int l, int t, int r, int b) {
    c->Margins()->SetMargins(l, t, r, b);
    c->SetAlignWithMargins(true);
  }

  TDemoTree() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->DisableAlign();
    Form->SetClientSize(768, 501);
    auto* border = Panel(Form, L"BorderPanel", alClient, Bounds(0, 0, 768, 501));
    auto* side = Panel(border, L"kaGPPanel1", alLeft, Bounds(0, 0, 201, 501));
    side->Margins()->SetTop(0);
    Panel(side, L"MenuButton", alNone, Bounds(49, 0, 102, 35));
    auto* about = Panel(side, L"Button1", alTop, Bounds(0, 253, 200, 50));
    about->Margins()->SetMargins(5, 0, 5, 0);
    Panel(side, L"Button2", alTop, Bounds(0, 153, 200, 50))->Margins()->SetMargins(5, 0, 5, 0);
    SetMargins(Panel(side, L"Button3", alTop, Bounds(0, 100, 200, 50)), 0, 100, 0, 3);
    Panel(side, L"Button4", alTop, Bounds(0, 203, 200, 50))->Margins()->SetMargins(5, 0, 5, 0);
    Panel(side, L"ExitButton", alBottom, Bounds(0, 451, 200, 50))->Margins()->SetMargins(5, 0, 5, 5);
    auto* client = Panel(border, L"ClientPanel", alClient, Bounds(201, 0, 567, 501));
    auto* caption = Panel(client, L"CaptionBar", alTop, Bounds(0, 0, 567, 33));
    SetMargins(Panel(caption, L"CloseButton", alRight, Bounds(522, 0, 45, 29)), 0, 0, 0, 4);
    SetMargins(Panel(caption, L"MinButton", alRight, Bounds(432, 0, 45, 29)), 0, 0, 0, 4);
    SetMargins(Add(new TTestGraphic(Form), caption, L"CaptionLabel", alClient, Bounds(10, 0, 422, 33)), 10, 0, 0, 0);
    SetMargins(Panel(caption, L"MaxButton", alRight, Bounds(477, 0, 45, 29)), 0, 0, 0, 4);
    auto* status = Panel(client, L"StatusBar", alBottom, Bounds(0, 475, 567, 26));
    status->Padding()->SetTop(1);  // the status bar's top frame line
    Panel(status, L"SizeBox", alRight, Bounds(541, 1, 26, 25));
    SetMargins(Panel(client, L"Header", alTop, Bounds(10, 36, 547, 43)), 10, 3, 10, 3);
    Panel(client, L"PageViewer", alClient, Bounds(0, 82, 567, 393));
    Form->EnableAlign();
    Form->HandleNeeded();
  }
  ~TDemoTree() { Form->Free(); }
  TRect At(const wchar_t* name) { return Named.at(name)->BoundsRect(); }
};

struct TExpected {
  const wchar_t* Name;
  TRect At96;
  TRect At144;
};

TEST(Alignment, DemoWindowTreeLandsWhereTheDesignSaysAt96And144Dpi) {
  const TExpected cases[] = {
      {L"BorderPanel", Bounds(0, 0, 768, 501), Bounds(0, 0, 1152, 752)},
      {L"kaGPPanel1", Bounds(0, 0, 201, 501), Bounds(0, 0, 302, 752)},
      {L"ClientPanel", Bounds(201, 0, 567, 501), Bounds(302, 0, 850, 752)},
      {L"CaptionBar", Bounds(0, 0, 567, 33), Bounds(0, 0, 850, 50)},
      {L"CloseButton", Bounds(522, 0, 45, 29), Bounds(782, 0, 68, 44)},
      {L"MaxButton", Bounds(477, 0, 45, 29), Bounds(715, 0, 67, 44)},
      {L"MinButton", Bounds(432, 0, 45, 29), Bounds(647, 0, 68, 44)},
      {L"CaptionLabel", Bounds(10, 0, 422, 33), Bounds(15, 0, 632, 50)},
      {L"Button3", Bounds(0, 100, 201, 50), Bounds(0, 150, 302, 75)},
      {L"Button2", Bounds(0, 153, 201, 50), Bounds(0, 230, 302, 75)},
      {L"Button4", Bounds(0, 203, 201, 50), Bounds(0, 305, 302, 75)},
      {L"Button1", Bounds(0, 253, 201, 50), Bounds(0, 380, 302, 75)},
      {L"ExitButton", Bounds(0, 451, 201, 50), Bounds(0, 677, 302, 75)},
      {L"MenuButton", Bounds(49, 0, 102, 35), Bounds(74, 0, 153, 53)},
      {L"Header", Bounds(10, 36, 547, 43), Bounds(15, 55, 820, 65)},
      {L"PageViewer", Bounds(0, 82, 567, 393), Bounds(0, 125, 850, 588)},
      {L"StatusBar", Bounds(0, 475, 567, 26), Bounds(0, 713, 850, 39)},
      {L"SizeBox", Bounds(541, 1, 26, 25), Bounds(811, 2, 39, 37)},
  };
  TDemoTree tree;
  for (const auto& c : cases) EXPECT_EQ(tree.At(c.Name), c.At96) << ToUtf8(c.Name);

  tree.Form->ScaleForPPI(144);
  EXPECT_EQ(tree.Form->PixelsPerInch(), 144);
  EXPECT_DOUBLE_EQ(tree.Named[L"CloseButton"]->ScaleFactor(), 1.5);
  for (const auto& c : cases) EXPECT_EQ(tree.At(c.Name), c.At144) << ToUtf8(c.Name) << " at 144 DPI";
}

TEST(Alignment, MarginsCountOnlyWithAlignWithMarginsAndChangesRealign) {
  TDemoTree tree;
  TControl* header = tree.Named[L"Header"];
  header->SetAlignWithMargins(false);
  EXPECT_EQ(tree.At(L"Header"), Bounds(0, 33, 567, 43));
  EXPECT_EQ(tree.At(L"PageViewer"), Bounds(0, 76, 567, 399));
  header->SetAlignWithMargins(true);
  header->Margins()->SetLeft(20);
  EXPECT_EQ(tree.At(L"Header"), Bounds(20, 36, 537, 43));
  // Hiding a control gives its room to the others; a constraint refusing a size gives
  // the difference back.
  tree.Named[L"StatusBar"]->Hide();
  EXPECT_EQ(tree.At(L"PageViewer").Bottom, 501);
  tree.Named[L"StatusBar"]->Show();
  tree.Named[L"CaptionBar"]->Constraints()->SetMaxHeight(20);
  EXPECT_EQ(tree.At(L"CaptionBar").Height(), 20);
  EXPECT_EQ(tree.At(L"Header").Top, 23);
  // Padding is the room every aligned child keeps from the edges.
  static_cast<TWinControl*>(tree.Named[L"BorderPanel"])->Padding()->SetMargins(1, 1, 1, 1);
  EXPECT_EQ(tree.At(L"kaGPPanel1"), Bounds(1, 1, 201, 499));
}

// A form's minimum size scales with it: the new limits must not clamp the old bounds before
// those are scaled too, or the form grows by the factor twice. The demo's window (700 x 400
// minimum) opened at 1575 x 900 instead of 1152 x 752 on a 144 dpi monitor that way.
TEST(Scaling, MinimumSizeScalesOnceTogetherWithTheForm) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetClientSize(300, 200);
  form->Constraints()->SetMinWidth(250);
  form->Constraints()->SetMinHeight(150);
  const struct {
    int Ppi;
    int Width, Height, MinWidth, MinHeight;
  } steps[] = {{144, 450, 300, 375, 225}, {96, 300, 200, 250, 150}, {192, 600, 400, 500, 300}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.Ppi);
    form->ScaleForPPI(s.Ppi);
    EXPECT_EQ(form->ClientWidth(), s.Width);
    EXPECT_EQ(form->ClientHeight(), s.Height);
    EXPECT_EQ(form->Constraints()->MinWidth(), s.MinWidth);
    EXPECT_EQ(form->Constraints()->MinHeight(), s.MinHeight);
  }
  form->Free();
}

TEST(Alignment, AnchorsKeepDistanceToRightAndBottomOnParentResize) {
  auto* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetClientSize(300, 200);
  auto* p = new TTestPanel(form);
  p->SetBounds(200, 150, 50, 20);
  p->SetParent(form);
  p->SetAnchors(TAnchors{akRight, akBottom});
  auto* stretch = new TTestPanel(form);
  stretch->SetBounds(10, 10, 100, 20);
  stretch->SetParent(form);
  stretch->SetAnchors(TAnchors{akLeft, akTop, akRight});
  form->HandleNeeded();
  form->SetClientSize(400, 260);
  EXPECT_EQ(p->BoundsRect(), Bounds(300, 210, 50, 20));
  EXPECT_EQ(stretch->BoundsRect(), Bounds(10, 10, 200, 20));
  form->Free();
}

TEST(Tree, ControlsListsGraphicChildrenBeforeWindowedOnesAndBringToFrontReorders) {
  auto* form = TCustomForm::CreateNew(nullptr);
  auto* w1 = new TTestPanel(form);
  w1->SetParent(form);
  auto* g1 = new TTestGraphic(form);
  g1->SetParent(form);
  auto* w2 = new TTestPanel(form);
  w2->SetParent(form);
  auto* g2 = new TTestGraphic(form);
  g2->SetParent(form);
  ASSERT_EQ(form->ControlCount(), 4);
  EXPECT_EQ(form->Controls(0), g1);
  EXPECT_EQ(form->Controls(1), g2);
  EXPECT_EQ(form->Controls(2), w1);
  EXPECT_EQ(form->Controls(3), w2);
  form->HandleNeeded();
  w1->BringToFront();
  EXPECT_EQ(form->Controls(3), w1);
  // The window at the end of the list is at the top of the z-order.
  EXPECT_EQ(::GetWindow(form->WindowHandle(), GW_CHILD), w1->WindowHandle());
  EXPECT_TRUE(form->ContainsControl(g2));
  EXPECT_EQ(GetParentForm(g2), form);
  g1->Free();
  EXPECT_EQ(form->ControlCount(), 3);
  HWND w2Handle = w2->WindowHandle();
  w2->Free();
  EXPECT_EQ(form->ControlCount(), 2);
  EXPECT_FALSE(::IsWindow(w2Handle));
  EXPECT_EQ(form->Controls(1), w1);
  form->Free();
}

// ---- Messages ---------------------------------------------------------------------------

class TLoggingPanel : public TTestPanel {
  KA_CLASS(TLoggingPanel, TTestPanel)
 public:
  using TTestPanel::TTestPanel;
  std::vector<std::wstring>* Log = nullptr;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_APP + 1) {
      Log->push_back(L"derived");
      inherited::Dispatch(Message);
      return;
    }
    inherited::Dispatch(Message);
  }
  void DefaultHandler(TMessage& Message) override {
    if (Message.Msg == WM_APP + 1) {
      Log->push_back(L"default");
      Message.Result = 42;
    }
    inherited::DefaultHandler(Message);
  }
};

TEST(Messages, HookChainsToSavedProcedureAndUnhooksWithoutAHandle) {
  std::vector<std::wstring> log;
  auto* p = new TLoggingPanel(nullptr);
  p->Log = &log;
  EXPECT_FALSE(p->HandleAllocated());
  EXPECT_EQ(p->Perform(WM_APP + 1), 42);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"derived", L"default"}));

  log.clear();
  TWndMethod saved = p->WindowProc;
  p->WindowProc = [&](TMessage& m) {
    log.push_back(L"hook");
    saved(m);
    if (m.Msg == WM_APP + 1) m.Result += 1;
  };
  EXPECT_EQ(p->Perform(WM_APP + 1), 43);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"hook", L"derived", L"default"}));
  p->WindowProc = saved;
  log.clear();
  EXPECT_EQ(p->Perform(WM_APP + 1), 42);
  EXPECT_EQ(log.front(), L"derived");
  EXPECT_FALSE(p->HandleAllocated());
  p->Free();
}

TEST(Messages, RecreatingTheWindowKeepsEveryPieceOfState) {
  auto* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(50, 60, 300, 200);
  form->SetCaption(L"Recreated");
  auto* a = new TTestPanel(form);
  a->SetBounds(5, 6, 70, 30);
  a->SetParent(form);
  a->SetCaption(L"first");
  a->SetTabStop(true);
  auto* hidden = new TTestPanel(form);
  hidden->SetBounds(90, 6, 40, 30);
  hidden->SetParent(form);
  hidden->Hide();
  auto* b = new TTestPanel(form);
  b->SetBounds(5, 50, 70, 30);
  b->SetParent(a);
  auto* c = new TTestPanel(form);
  c->SetParent(form);
  c->SetTabStop(true);
  c->SetBounds(150, 6, 40, 30);

  int hooked = 0, styleChanged = 0;
  TWndMethod saved = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    ++hooked;
    if (m.Msg == WM_STYLECHANGED && m.WParam == static_cast<WPARAM>(GWL_EXSTYLE)) ++styleChanged;
    saved(m);
  };
  form->Show();
  PumpPending();
  EXPECT_EQ(styleChanged, 1) << "a new form window hears its extended style written";
  c->SetFocus();
  PumpPending();
  ASSERT_TRUE(c->Focused());

  HWND oldForm = form->WindowHandle(), oldA = a->WindowHandle();
  form->Perform(CM_RECREATEWND);
  PumpPending();
  EXPECT_NE(form->WindowHandle(), oldForm);
  EXPECT_FALSE(::IsWindow(oldForm));
  EXPECT_FALSE(::IsWindow(oldA));
  EXPECT_EQ(styleChanged, 2);
  RECT r;
  ::GetWindowRect(form->WindowHandle(), &r);
  EXPECT_EQ(TRect(r), Bounds(50, 60, 300, 200));
  wchar_t text[64];
  ::GetWindowTextW(form->WindowHandle(), text, 64);
  EXPECT_STREQ(text, L"Recreated");
  ::GetWindowTextW(a->WindowHandle(), text, 64);
  EXPECT_STREQ(text, L"first");
  EXPECT_TRUE(::IsWindowVisible(form->WindowHandle()));
  EXPECT_TRUE(::IsWindowVisible(a->WindowHandle()));
  EXPECT_FALSE(::IsWindowVisible(hidden->WindowHandle()));
  EXPECT_EQ(::GetParent(b->WindowHandle()), a->WindowHandle());
  ::GetWindowRect(b->WindowHandle(), &r);
  ::MapWindowPoints(nullptr, a->WindowHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(TRect(r), Bounds(5, 50, 70, 30));
  // Siblings keep their z-order: the last in the list is on top.
  EXPECT_EQ(::GetWindow(form->WindowHandle(), GW_CHILD), c->WindowHandle());
  EXPECT_TRUE(c->Focused());
  int before = hooked;
  form->Perform(WM_NULL);
  EXPECT_GT(hooked, before) << "the hooked procedure survives re-creation";
  form->WindowProc = saved;
  form->Free();
}

TEST(Messages, GraphicChildrenArePaintedByTheirParentAndGetItsMouse) {
  auto* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 100, 80);
  auto* panel = new TTestPanel(form);
  panel->FillColor = clBlue;
  panel->SetBounds(0, 0, 100, 80);
  panel->SetParent(form);
  auto* g = new TTestGraphic(form);
  g->SetBounds(10, 10, 30, 20);
  g->SetParent(panel);
  int clicks = 0, panelDowns = 0;
  g->OnClick = [&](TObject*) { ++clicks; };
  panel->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++panelDowns; };

  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 100, 80);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(::GetPixel(dc, 20, 20), RGB(255, 0, 0)) << "graphic child painted at its place";
  EXPECT_EQ(::GetPixel(dc, 60, 50), RGB(0, 0, 255)) << "parent's own face around it";
  EXPECT_EQ(::GetPixel(dc, 40, 20), RGB(0, 0, 255)) << "child clipped to its bounds";
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);

  form->HandleNeeded();
  LPARAM inside = MAKELPARAM(15, 15);
  panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, inside);
  panel->Perform(WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(panelDowns, 0);
  g->HitTestTransparent = true;
  panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, inside);
  panel->Perform(WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(panelDowns, 1) << "a child answering CM_HITTEST 0 lets the press through";
  form->Free();
}

TEST(Messages, DoubleClickGivesDblClickAndDoubleShiftOnTheSecondPressOnly) {
  auto* form = TCustomForm::CreateNew(nullptr);
  auto* p = new TTestPanel(form);
  p->SetBounds(0, 0, 50, 50);
  p->SetParent(form);
  std::vector<bool> doubles;
  int dbl = 0;
  p->OnMouseDown = [&](TObject*, TMouseButton, TShiftState s, int, int) { doubles.push_back(s.Contains(ssDouble)); };
  p->OnDblClick = [&](TObject*) { ++dbl; };
  form->HandleNeeded();
  p->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  p->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  p->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  p->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(doubles, (std::vector<bool>{false, true}));
  EXPECT_EQ(dbl, 1);
  form->Free();
}

TEST(Messages, PointerEnteringAndLeavingControlsIsReported) {
  auto* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 200, 100);
  auto* a = new TTestPanel(form);
  a->SetBounds(0, 0, 100, 100);
  a->SetParent(form);
  auto* g = new TTestGraphic(form);
  g->SetBounds(10, 10, 30, 30);
  g->SetParent(a);
  auto* b = new TTestPanel(form);
  b->SetBounds(100, 0, 100, 100);
  b->SetParent(form);
  std::vector<std::wstring> log;
  auto track = [&](TControl* c, const wchar_t* name) {
    c->OnMouseEnter = [&log, name](TObject*) { log.push_back(std::wstring(L"enter ") + name); };
    c->OnMouseLeave = [&log, name](TObject*) { log.push_back(std::wstring(L"leave ") + name); };
  };
  track(a, L"a");
  track(g, L"g");
  track(b, L"b");
  form->Show();
  PumpPending();
  auto moveTo = [&](int x, int y) {
    ::SetCursorPos(x, y);
    PumpPending();
    Application->DoMouseIdle();
  };
  moveTo(150, 180);
  moveTo(120, 120);
  moveTo(250, 150);
  g->HitTestTransparent = true;
  moveTo(120, 120);
  moveTo(150, 180);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"enter a", L"leave a", L"enter g", L"leave g", L"enter b",
                                            L"leave b", L"enter a"}));
  EXPECT_TRUE(a->MouseInClient());
  form->Free();
  EXPECT_EQ(Application->MouseControl(), nullptr);
}

// ---- Forms --------------------------------------------------------------------------------

TEST(Forms, ModalLoopEndsOnModalResultAndDisablesOtherWindowsMeanwhile) {
  auto* owner = TCustomForm::CreateNew(nullptr);
  owner->SetBounds(0, 0, 200, 100);
  owner->Show();
  auto* dialog = TCustomForm::CreateNew(nullptr);
  dialog->SetBorderStyle(bsNone);
  bool ownerDisabledDuringLoop = false;
  TWndMethod saved = dialog->WindowProc;
  dialog->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_APP + 7) {
      ownerDisabledDuringLoop = !::IsWindowEnabled(owner->WindowHandle());
      dialog->SetModalResult(mrOk);
      return;
    }
    saved(m);
  };
  dialog->HandleNeeded();
  ::PostMessageW(dialog->WindowHandle(), WM_APP + 7, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(ownerDisabledDuringLoop);
  EXPECT_TRUE(::IsWindowEnabled(owner->WindowHandle()));
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(::IsWindowVisible(dialog->WindowHandle()));

  // Close on a modal form answers mrCancel; a refused close keeps the loop running.
  int queries = 0;
  dialog->OnCloseQuery = [&](TObject*, bool& can) { can = ++queries > 1; };
  dialog->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_APP + 7) {
      dialog->Close();
      if (queries < 2) ::PostMessageW(dialog->WindowHandle(), WM_APP + 7, 0, 0);
      return;
    }
    saved(m);
  };
  ::PostMessageW(dialog->WindowHandle(), WM_APP + 7, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_EQ(queries, 2);
  EXPECT_THROW(owner->ShowModal(), EInvalidOperation) << "a visible form cannot go modal";
  dialog->WindowProc = saved;
  dialog->Free();
  owner->Free();
}

TEST(Forms, ConstraintsCentreMinMaxInfoAndDpiChange) {
  auto* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetPosition(poScreenCenter);
  form->SetClientSize(300, 200);
  form->Constraints()->SetMinWidth(250);
  form->Constraints()->SetMinHeight(150);
  form->Show();
  TRect screen = Screen->PrimaryMonitor().BoundsRect();
  EXPECT_EQ(form->Left(), screen.Left + (screen.Width() - 300) / 2);
  EXPECT_EQ(form->Top(), screen.Top + (screen.Height() - 200) / 2);

  MINMAXINFO info{};
  form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 250);
  EXPECT_EQ(info.ptMinTrackSize.y, 150);
  form->SetBounds(form->Left(), form->Top(), 100, 100);
  EXPECT_EQ(form->Width(), 250);
  EXPECT_EQ(form->Height(), 150);

  auto* child = new TTestPanel(form);
  child->SetBounds(10, 10, 40, 20);
  child->SetParent(form);
  RECT suggested{100, 100, 100 + 375, 100 + 225};
  form->Perform(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form->PixelsPerInch(), 144);
  EXPECT_EQ(form->BoundsRect(), TRect(suggested));
  EXPECT_EQ(child->BoundsRect(), Bounds(15, 15, 60, 30));
  EXPECT_EQ(form->Constraints()->MinWidth(), 375);
  form->Free();
}

TEST(Forms, TabMovesFocusThroughTabStopsInOrder) {
  auto* form = TCustomForm::CreateNew(nullptr);
  form->SetBounds(0, 0, 300, 100);
  TTestPanel* p[3];
  for (int i = 0; i < 3; ++i) {
    p[i] = new TTestPanel(form);
    p[i]->SetBounds(10 + 60 * i, 10, 50, 50);
    p[i]->SetParent(form);
    p[i]->SetTabStop(i != 1);
  }
  std::vector<std::wstring> events;
  p[0]->OnExit = [&](TObject*) { events.push_back(L"exit0"); };
  p[2]->OnEnter = [&](TObject*) { events.push_back(L"enter2"); };
  form->Show();
  p[0]->SetFocus();
  PumpPending();
  ASSERT_TRUE(p[0]->Focused());
  ::PostMessageW(p[0]->WindowHandle(), WM_KEYDOWN, VK_TAB, 0);
  PumpPending();
  EXPECT_TRUE(p[2]->Focused()) << "the control without TabStop is skipped";
  EXPECT_EQ(form->ActiveControl(), p[2]);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"exit0", L"enter2"}));
  form->Free();
}

// A button-like panel: its accelerator and, as the default button, Enter press it.
class TAccelPanel : public TTestPanel {
  KA_CLASS(TAccelPanel, TTestPanel)
 public:
  using TTestPanel::TTestPanel;
  bool Default = false;
  int Presses = 0;
  bool WantsReturn = false;

 protected:
  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(Message.WParam), Caption())) {
          ++Presses;
          Message.Result = 1;
          return;
        }
        break;
      case CM_DIALOGKEY:
        if (Default && Message.WParam == VK_RETURN) {
          ++Presses;
          Message.Result = 1;
          return;
        }
        break;
      case CM_WANTSPECIALKEY:
        Message.Result = WantsReturn && Message.WParam == VK_RETURN ? 1 : 0;
        return;
      default:
        break;
    }
    inherited::Dispatch(Message);
  }
};

TEST(Forms, DialogKeysAndAcceleratorsReachTheControlsOfTheForm) {
  auto* form = TCustomForm::CreateNew(nullptr);
  form->SetBounds(0, 0, 300, 100);
  auto* save = new TAccelPanel(form);
  save->SetCaption(L"&Save");
  save->SetParent(form);
  auto* ok = new TAccelPanel(form);
  ok->Default = true;
  ok->SetParent(form);
  auto* editor = new TAccelPanel(form);
  editor->SetTabStop(true);
  editor->SetParent(form);
  WORD keysSeen = 0;
  editor->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keysSeen = key; };
  form->Show();
  editor->SetFocus();
  PumpPending();
  ASSERT_TRUE(editor->Focused());

  ::PostMessageW(editor->WindowHandle(), WM_SYSCHAR, L's', 0);
  ::PostMessageW(editor->WindowHandle(), WM_SYSCHAR, L'x', 0);
  PumpPending();
  EXPECT_EQ(save->Presses, 1) << "Alt+S presses the control captioned &Save, Alt+X nothing";

  ::PostMessageW(editor->WindowHandle(), WM_KEYDOWN, VK_RETURN, 0);
  PumpPending();
  EXPECT_EQ(ok->Presses, 1) << "Enter goes to the default control";
  EXPECT_EQ(keysSeen, 0);

  editor->WantsReturn = true;  // a control that wants Enter keeps it
  ::PostMessageW(editor->WindowHandle(), WM_KEYDOWN, VK_RETURN, 0);
  PumpPending();
  EXPECT_EQ(ok->Presses, 1);
  EXPECT_EQ(keysSeen, VK_RETURN);
  form->Free();
}

TEST(Resources, CreatingPaintingAndFreeingTreesLeaksNoHandles) {
  auto cycle = [] {
    auto* form = TCustomForm::CreateNew(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 200, 150);
    for (int i = 0; i < 10; ++i) {
      auto* p = new TTestPanel(form);
      p->SetBounds(i * 5, i * 5, 50, 30);
      p->SetParent(form);
      p->Font()->SetHeight(-12 - i);
      auto* g = new TTestGraphic(form);
      g->SetBounds(2, 2, 10, 10);
      g->SetParent(p);
    }
    form->Show();
    ::UpdateWindow(form->WindowHandle());
    form->Perform(CM_RECREATEWND);
    PumpPending();
    form->Free();
  };
  cycle();
  int gdi = GdiObjectCount(), windows = ThreadWindowCount(), objects = TObject::AliveCount();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_LE(GdiObjectCount() - gdi, 8);
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(TObject::AliveCount(), objects);
}

}  // namespace
