// What the side menu's work costs in paints: a hover, a move, a focus change and a click that
// switches the page each paint the buttons they change once, the hosted icons draw their
// document again only for a new frame, and nothing recaptures a background that did not
// change. Counted with the controls' paint statistics, never timed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "tests/support/TestControls.h"

namespace {

// A playable document with nothing to draw: what counts is how often it is drawn.
std::vector<uint8_t> IconDocument() {
  const std::string doc = R"({"v":"5.12.2","fr":60,"ip":0,"op":75,"w":48,"h":48,"layers":[]})";
  return std::vector<uint8_t>(doc.begin(), doc.end());
}

// What one control has done since the last Take.
struct TCounts {
  unsigned Paints = 0, Captures = 0, ParentRepaints = 0, Renders = 0;
};

class TCounter {
 public:
  explicit TCounter(TkaCustomControl* C) : FControl(C) { Take(); }
  // The work done since the previous call.
  TCounts Take() {
    const TkaPaintStats& s = FControl->PaintStats();
    auto* image = dynamic_cast<TSkAnimatedImage*>(FControl);
    const unsigned renders = image != nullptr ? image->RenderCount() : 0;
    TCounts d{s.Paints - FLast.Paints, s.Captures - FLast.Captures, s.ParentRepaints - FLast.ParentRepaints,
              renders - FRenders};
    FLast = s;
    FRenders = renders;
    return d;
  }

 private:
  TkaCustomControl* FControl;
  TkaPaintStats FLast;
  unsigned FRenders = 0;
};

// The side menu in small: a vector panel that keeps its painting, and a column of page
// buttons (one group, fluent light, caption) hosting held icons. Button 0 starts down and
// focused.
struct TSideMenu {
  TCustomForm* Form;
  TkaGPPanel* Panel;
  std::vector<TkaGPGlyphContainerButton*> Buttons;
  std::vector<TSkAnimatedImage*> Icons;

  explicit TSideMenu(int Count = 3) {
    TSkAnimatedImage::SetClock([] { return 0.0; });
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(300, 300, 240, 60 * Count + 20);
    Panel = new TkaGPPanel(Form);
    Panel->SetAlign(alClient);
    Panel->SetParent(Form);
    for (int i = 0; i < Count; ++i) {
      auto* b = new TkaGPGlyphContainerButton(Form);
      b->SetBounds(10, 10 + i * 60, 200, 50);
      b->SetParent(Panel);
      b->SetShowCaption(true);
      b->SetCaption(L"Page");
      b->SetTextMargin(10);
      b->SetGlyphContainerSize(35);
      b->SetFluentLightEffect(true);
      b->SetDrawTextMode(kadtmGDIPlus);
      b->SetGroupIndex(1);
      b->Options()->SetFrameWidth(5);
      b->Options()->SetShapeStyle(kagpLeftLineMargins);
      b->Options()->SetPressedHotColors(true);
      auto* icon = new TSkAnimatedImage(Form);
      icon->SetParent(b);
      icon->Animation()->SetEnabled(false);
      icon->SetData(IconDocument());
      b->SetGlyphContainer(icon);
      Buttons.push_back(b);
      Icons.push_back(icon);
    }
    ::SetCursorPos(0, 0);
    Form->Show();
    Buttons[0]->SetDown(true);
    Buttons[0]->SetFocus();
    PumpPending();
  }
  ~TSideMenu() {
    Form->Free();
    TSkAnimatedImage::SetClock(nullptr);
  }
};

// Pointer messages straight to the button, the real cursor where the leave poll looks.
void MoveTo(TkaGPGlyphContainerButton* B, int X, int Y) {
  const TPoint p = B->ClientToScreen(TPoint(X, Y));
  ::SetCursorPos(p.X, p.Y);
  ::SendMessageW(B->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
}

void ExpectCounts(const TCounts& Got, const TCounts& Want) {
  EXPECT_EQ(Got.Paints, Want.Paints);
  EXPECT_EQ(Got.Captures, Want.Captures);
  EXPECT_EQ(Got.ParentRepaints, Want.ParentRepaints);
  EXPECT_EQ(Got.Renders, Want.Renders);
}

TEST(SideMenuPaints, HoverPaintsTheButtonAndItsIconOnceWithoutDrawingTheDocumentAgain) {
  TSideMenu m;
  TkaGPGlyphContainerButton* b = m.Buttons[1];
  TCounter face(b), icon(m.Icons[1]), panel(m.Panel), other(m.Buttons[2]);
  struct TStep {
    const char* Name;
    int X, Y;
    unsigned FacePaints;
  } steps[] = {
      {"the pointer comes in", 100, 25, 1},
      {"a move to the same place", 100, 25, 0},
      {"the light follows a move", 120, 25, 1},
      {"the pointer leaves", 400, 25, 1},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.Name);
    if (s.X < b->Width())
      MoveTo(b, s.X, s.Y);
    else
      b->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(b->MouseIn(), s.X < b->Width());
    ExpectCounts(face.Take(), {s.FacePaints, 0, 0, 0});
    // The icon is painted over the new face, its background copied from the button's
    // stored painting; its frame is the one it kept.
    ExpectCounts(icon.Take(), {s.FacePaints, s.FacePaints, 0, 0});
    ExpectCounts(panel.Take(), {});
    ExpectCounts(other.Take(), {});
  }
}

TEST(SideMenuPaints, IconDrawsItsDocumentOnlyForANewFrameOrSize) {
  TSideMenu m(1);
  TSkAnimatedImage* image = m.Icons[0];
  TCounter icon(image);
  struct TStep {
    const char* Name;
    double Progress;
    int Size;
    unsigned Renders;
  } steps[] = {
      {"the face repaints, same frame", 0.0, 35, 0},
      {"another frame", 0.5, 35, 1},
      {"that frame again", 0.5, 35, 0},
      {"another size", 0.5, 30, 1},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.Name);
    image->Animation()->SetProgress(s.Progress);
    m.Buttons[0]->SetGlyphContainerSize(s.Size);
    m.Buttons[0]->RePaintControl();
    const TCounts d = icon.Take();
    EXPECT_GE(d.Paints, 1u);
    EXPECT_EQ(d.Renders, s.Renders);
  }
}

TEST(SideMenuPaints, FocusThatLeavesTheStateAsShownPaintsNothing) {
  TSideMenu m;
  TkaGPGlyphContainerButton* b = m.Buttons[1];
  TCounter face(b);
  b->SetFocus();  // normal to focused: shown
  EXPECT_EQ(face.Take().Paints, 1u);
  m.Buttons[2]->SetFocus();  // and back
  EXPECT_EQ(face.Take().Paints, 1u);
  MoveTo(b, 100, 25);
  face.Take();
  b->SetFocus();  // hot with the focus or without it
  m.Buttons[2]->SetFocus();
  EXPECT_EQ(face.Take().Paints, 0u);
  EXPECT_TRUE(b->PaintedIn(kasHot));
}

TEST(SideMenuPaints, PageClickPaintsTheTwoButtonsItChangesOnceAndRecapturesNothingElse) {
  TSideMenu m;
  TkaGPGlyphContainerButton* b = m.Buttons[1];
  std::vector<TCounter> faces, icons;
  for (size_t i = 0; i < m.Buttons.size(); ++i) {
    faces.emplace_back(m.Buttons[i]);
    icons.emplace_back(m.Icons[i]);
  }
  TCounter panel(m.Panel);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  MoveTo(b, 100, 25);
  faces[1].Take(), icons[1].Take();
  // The press takes the focus, puts the button down and starts the ripple: one paint
  // shows all three. The button it releases paints once; the third does nothing.
  ::SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 25));
  ::SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 25));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(b->Focused());
  EXPECT_FALSE(m.Buttons[0]->Down());
  const unsigned want[] = {1, 1, 0};
  for (size_t i = 0; i < m.Buttons.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectCounts(faces[i].Take(), {want[i], 0, 0, 0});
    ExpectCounts(icons[i].Take(), {want[i], want[i], 0, 0});
  }
  ExpectCounts(panel.Take(), {});
  EXPECT_TRUE(b->PaintedIn(kasHot));

  // A press that changes nothing of the state still shows its ripple, once.
  ::SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 25));
  ::SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 25));
  EXPECT_EQ(faces[1].Take().Paints, 1u);
}

}  // namespace
