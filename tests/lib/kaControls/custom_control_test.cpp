// The custom control base: where a transparent control's background comes from (a
// parent's stored painting, or a repaint of the parent and its lower graphic siblings),
// when it is captured again, erase-time painting, what a small exposure draws, and handle
// hygiene over many paints.
#include <gtest/gtest.h>

#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "framework/TypeInfo.h"
#include "tests/support/TestControls.h"

namespace {

// Paints a known face: a fill colour and, optionally, a second colour in one rectangle,
// so that the position a background was taken from shows in its pixels.
class TFaceControl : public TkaCustomControl {
  KA_CLASS(TFaceControl, TkaCustomControl)
 public:
  explicit TFaceControl(TComponent* AOwner) : TkaCustomControl(AOwner) {
    FControlStyle += TControlStyle{csAcceptsControls};
  }
  TColor FaceColor = clNone;  // clNone: draws nothing, the background shows
  TColor SpotColor = clNone;
  TRect Spot;
  int Captures = 0, Draws = 0, BGChanges = 0;

  void Capture() { CaptureParentBackground(); }
  TBitmap* Background() const { return ParentBGBuffer; }
  TBitmap* PaintBuffer() const { return FPaintBuffer; }
  void SetStore(bool V) { SetStorePaintBuffer(V); }
  void SetTransparent(bool V) { SetTransparentBackground(V); }
  bool Transparent() const { return TransparentBackground(); }
  void SetUpdateParentBuffer(bool V) { FUpdateParentBuffer = V; }
  void SetDrawOnBackground(bool V) { FDrawOnBackground = V; }
  void SetBlurAmount(int V) { SetBlurBackgroundAmount(V); }
  void SetBlur(bool V) { SetBlurBackground(V); }
  int BlurAmount() const { return BlurBackgroundAmount(); }
  TkaDrawTextMode TextMode() const { return DrawTextMode(); }
  // As a cross-fade does: the screen shows a state the stored buffer was not painted in.
  void ShowWithoutPaint() { ShownInState(kasNormal); }

 protected:
  void CaptureParentBackground() override {
    ++Captures;
    inherited::CaptureParentBackground();
  }
  void DrawControl(TCanvas* C, TkasCtrlState) override {
    ++Draws;
    if (FaceColor != clNone) {
      C->Brush()->SetColor(FaceColor);
      C->FillRect(Rect(0, 0, Width(), Height()));
    }
    if (SpotColor != clNone) {
      C->Brush()->SetColor(SpotColor);
      C->FillRect(Spot);
    }
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_PARENTBGCHANGED) ++BGChanges;
    inherited::Dispatch(Message);
  }
};

struct TScene {
  TCustomForm* Form;
  TFaceControl* Parent;
  TFaceControl* Child;

  TScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, 200, 150);
    Parent = new TFaceControl(Form);
    Parent->SetBounds(10, 10, 160, 120);
    Parent->SetTransparent(false);
    Parent->FaceColor = clRed;
    Parent->SpotColor = clBlue;
    Parent->Spot = Rect(30, 20, 60, 50);
    Parent->SetParent(Form);
    Child = new TFaceControl(Form);
    Child->SetBounds(20, 10, 50, 50);
    Child->SetParent(Parent);
    Form->Show();
    PumpPending();
  }
  ~TScene() { Form->Free(); }
};

// Every pixel of the child's background equals the parent's face at the child's place.
int MismatchesWithParentFace(TScene& S, TBitmap* ParentFace) {
  TBitmap* bg = S.Child->Background();
  int bad = 0;
  for (int y = 0; y < S.Child->Height(); ++y)
    for (int x = 0; x < S.Child->Width(); ++x)
      bad += bg->Canvas()->Pixel(x, y) != ParentFace->Canvas()->Pixel(x + S.Child->Left(), y + S.Child->Top());
  return bad;
}

TEST(CustomControlCapture, ChildBackgroundIsTheParentFaceAtItsPlaceByCopyOrRepaint) {
  struct TCase {
    const char* Name;
    bool Store;
    bool UpdateParentBuffer;
    bool ExpectRepaint;
  };
  const TCase cases[] = {
      {"stored paint buffer is copied", true, false, false},
      {"one-shot flag refuses the stored buffer", true, true, true},
      {"no stored buffer: the parent repaints", false, false, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    s.Parent->SetStore(c.Store);
    s.Parent->RePaintControl();
    TBitmap face(160, 120);  // the parent's face, drawn independently
    face.Canvas()->Brush()->SetColor(clRed);
    face.Canvas()->FillRect(Rect(0, 0, 160, 120));
    face.Canvas()->Brush()->SetColor(clBlue);
    face.Canvas()->FillRect(s.Parent->Spot);
    s.Child->SetUpdateParentBuffer(c.UpdateParentBuffer);
    int parentDraws = s.Parent->Draws;
    s.Child->Capture();
    EXPECT_EQ(s.Parent->Draws - parentDraws, c.ExpectRepaint ? 1 : 0);
    EXPECT_EQ(MismatchesWithParentFace(s, &face), 0);
    EXPECT_EQ(s.Child->Background()->Canvas()->Pixel(0, 0), clRed);
    EXPECT_EQ(s.Child->Background()->Canvas()->Pixel(15, 15), clBlue);  // parent (35, 25)
  }
}

TEST(CustomControlCapture, RepaintOfParentIncludesLowerGraphicSiblingsButNotOthers) {
  TScene s;
  auto* under = new TTestGraphic(s.Form);
  under->FillColor = clLime;
  under->SetBounds(60, 50, 20, 20);  // overlaps the child's bottom-right corner
  under->SetParent(s.Parent);
  auto* away = new TTestGraphic(s.Form);
  away->SetBounds(120, 90, 10, 10);
  away->SetParent(s.Parent);
  PumpPending();
  int underPaints = under->PaintCount, awayPaints = away->PaintCount;
  s.Child->Capture();
  EXPECT_EQ(under->PaintCount - underPaints, 1);
  EXPECT_EQ(away->PaintCount - awayPaints, 0);
  EXPECT_EQ(s.Child->Background()->Canvas()->Pixel(45, 45), clLime);
  EXPECT_EQ(s.Child->Background()->Canvas()->Pixel(35, 45), clRed);  // parent (55, 55): below the spot
  EXPECT_FALSE(under->ControlState().Contains(csPaintCopy));
  EXPECT_FALSE(s.Parent->ControlState().Contains(csPaintCopy));
}

TEST(CustomControlCapture, MovingRecapturesAndNotifiesChildrenWhileCachedRepaintsDoNot) {
  TScene s;
  auto* grand = new TFaceControl(s.Form);
  grand->SetBounds(5, 5, 10, 10);
  grand->SetParent(s.Child);
  PumpPending();

  int captures = s.Child->Captures, draws = s.Child->Draws;
  for (int i = 0; i < 3; ++i) s.Child->RePaintControl();
  EXPECT_EQ(s.Child->Captures, captures) << "state repaints reuse the cached background";
  EXPECT_EQ(s.Child->Draws - draws, 3);

  s.Child->Invalidate();
  s.Child->Update();
  EXPECT_EQ(s.Child->Captures - captures, 1) << "a system paint captures again";

  captures = s.Child->Captures;
  int grandCaptures = grand->Captures, grandChanges = grand->BGChanges;
  s.Child->SetBounds(80, 20, 50, 50);
  PumpPending();
  EXPECT_GE(s.Child->Captures - captures, 1);
  EXPECT_GE(grand->BGChanges - grandChanges, 1);
  EXPECT_GE(grand->Captures - grandCaptures, 1);
  // Now over the parent's plain red part, next to the blue spot's right edge.
  EXPECT_EQ(s.Child->Background()->Canvas()->Pixel(0, 0), clRed);
  EXPECT_EQ(s.Child->Background()->Canvas()->Pixel(49, 49), clRed);
}

TEST(CustomControlCapture, ZeroSizeAndOpaqueControlsLeaveOrDropTheCache) {
  TScene s;
  s.Child->Capture();
  ASSERT_EQ(s.Child->Background()->Width(), 50);
  for (TRect r : {Rect(20, 10, 20, 60), Rect(20, 10, 70, 10)}) {
    s.Child->SetBoundsRect(r);
    PumpPending();
    int draws = s.Child->Draws;
    s.Child->RePaintControl();
    s.Child->Invalidate();
    s.Child->Update();
    s.Child->Capture();
    EXPECT_EQ(s.Child->Draws, draws) << "nothing is painted";
    EXPECT_EQ(s.Child->Background()->Width(), 50) << "the cache is left as it was";
    EXPECT_EQ(s.Child->Background()->Height(), 50);
  }
  s.Child->SetBounds(20, 10, 50, 50);
  s.Child->SetTransparent(false);
  s.Child->FaceColor = clYellow;
  s.Child->Capture();
  EXPECT_EQ(s.Child->Background()->Width(), 0);
  EXPECT_EQ(s.Child->Background()->Height(), 0);
}

TEST(CustomControlErase, EraseTimePaintingAndItsSuppressions) {
  TScene s;
  TBitmap target(50, 50);
  HDC dc = target.Canvas()->Handle();
  auto erasePaints = [&] {
    int draws = s.Child->Draws;
    LRESULT r = s.Child->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(r, 1);
    return s.Child->Draws != draws;
  };
  EXPECT_TRUE(erasePaints());
  s.Child->SetControlState(s.Child->ControlState() + TControlState{csPaintCopy});
  EXPECT_FALSE(erasePaints()) << "painted as another control's background";
  s.Child->SetControlState(s.Child->ControlState() - TControlState{csPaintCopy});
  s.Child->SetDrawOnBackground(false);
  EXPECT_FALSE(erasePaints()) << "erase painting switched off";
  s.Child->SetDrawOnBackground(true);
  // A parent painted as the background of its child never paints itself at erase time.
  int parentDraws = s.Parent->Draws;
  s.Child->Capture();
  EXPECT_EQ(s.Parent->Draws - parentDraws, 1) << "only the PaintWindow, not also the erase";
}

TEST(CustomControlProperties, BlurAmountRangeTextModeTreeAndScaleEvent) {
  TScene s;
  struct TCase {
    int Value;
    int Expected;
  };
  for (TCase c : {TCase{0, 5}, TCase{21, 5}, TCase{-1, 5}, TCase{1, 1}, TCase{20, 20}}) {
    s.Child->SetBlurAmount(c.Value);
    EXPECT_EQ(s.Child->BlurAmount(), c.Expected) << c.Value;
  }
  // Turning the blur on captures again, in 32 bits, with the spot's edge smeared.
  int captures = s.Child->Captures;
  s.Child->SetBlur(true);
  EXPECT_GE(s.Child->Captures - captures, 1);
  EXPECT_EQ(s.Child->Background()->PixelFormat(), pf32bit);
  TColor edge = s.Child->Background()->Canvas()->Pixel(10, 15);  // parent (30, 25): the spot's left edge
  EXPECT_NE(edge, clBlue);
  EXPECT_NE(edge, clRed);

  auto* grand = new TFaceControl(s.Form);
  grand->SetParent(s.Child);
  SetControlsDrawTextMode(s.Form, kadtmGDIPlus);
  for (TFaceControl* c : {s.Parent, s.Child, grand}) EXPECT_EQ(c->TextMode(), kadtmGDIPlus);
  SetControlsDrawTextMode(s.Child, kadtmGDI);
  EXPECT_EQ(s.Parent->TextMode(), kadtmGDIPlus);
  EXPECT_EQ(grand->TextMode(), kadtmGDI);

  int fired = 0;
  s.Child->OnChangeScale = [&](TObject* Sender) {
    EXPECT_EQ(Sender, s.Child);
    ++fired;
  };
  s.Form->ScaleForPPI(144);
  EXPECT_EQ(fired, 1);
  s.Form->ScaleForPPI(144);
  EXPECT_EQ(fired, 1) << "no change of scale, no event";
}

TEST(CustomControlProperties, FluentUIOpaqueMakesAnOpaqueLayerFromBuild17134On) {
  struct TCase {
    int Major, Build;
    bool Layered;
  };
  for (TCase c : {TCase{10, 17133, false}, TCase{6, 9600, false}, TCase{10, 17134, true}}) {
    SCOPED_TRACE(c.Build);
    TkaCompositionTesting version;
    version.SetVersion(c.Major, c.Major == 10 ? 0 : 3, c.Build);
    TScene s;
    HWND before = s.Child->Handle();
    s.Child->SetFluentUIOpaque(true);
    EXPECT_TRUE(s.Child->FluentUIOpaque());
    EXPECT_EQ(s.Child->IsFluentUIOpaqueActive(), c.Layered);
    EXPECT_EQ(s.Child->Handle() != before, c.Layered) << "the window is re-created only where it helps";
    LONG_PTR ex = ::GetWindowLongPtrW(s.Child->Handle(), GWL_EXSTYLE);
    EXPECT_EQ((ex & WS_EX_LAYERED) != 0, c.Layered);
    EXPECT_EQ(s.Child->Transparent(), !c.Layered);
    if (c.Layered) {
      // One full repaint shortly after the layer exists (timer 101).
      int draws = s.Child->Draws;
      EXPECT_TRUE(PumpUntil([&] { return s.Child->Draws > draws; }, 2000));
      s.Child->SetFluentUIOpaque(false);
      EXPECT_EQ(::GetWindowLongPtrW(s.Child->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    }
  }
  const TClassInfo* info = FindClassInfo(L"TkaCustomControl");
  ASSERT_NE(info, nullptr);
  EXPECT_NE(info->FindProperty(L"FluentUIOpaque"), nullptr);
  EXPECT_NE(info->FindProperty(L"OnChangeScale"), nullptr);
}

TEST(CustomControlResources, ThousandsOfPaintsAndCapturesKeepGdiHandlesFlat) {
  TScene s;
  s.Parent->SetStore(true);
  auto cycle = [&](int i) {
    s.Child->RePaintControl();
    s.Child->Invalidate();
    s.Child->Update();
    s.Parent->SetStore(i % 2 == 0);
    s.Child->Capture();
  };
  for (int i = 0; i < 20; ++i) cycle(i);
  int gdi = GdiObjectCount();
  for (int i = 0; i < 2000; ++i) cycle(i);
  EXPECT_LE(GdiObjectCount() - gdi, 4);
}


// ---- Exposures ------------------------------------------------------------------------------

// Part of the parent's window invalidated (as when a window above it moves away) and painted.
void Expose(TFaceControl* Control, const TRect& Part) {
  RECT r = Part;
  ::InvalidateRect(Control->Handle(), &r, FALSE);
  ::UpdateWindow(Control->Handle());
}

// The colour on screen at a point of Control's window.
TColor ScreenPixel(TFaceControl* Control, int X, int Y) {
  HDC dc = ::GetDC(Control->Handle());
  const COLORREF c = ::GetPixel(dc, X, Y);
  ::ReleaseDC(Control->Handle(), dc);
  return static_cast<TColor>(c);
}

// A small exposure draws only what it uncovered: the face is changed behind the control's
// back (no repaint asked for), so the pixels show which part a paint drew.
TEST(CustomControlExposure, ASmallExposureDrawsOnlyItsPartWithOrWithoutAStoredBuffer) {
  for (bool store : {true, false}) {
    SCOPED_TRACE(store ? "stored buffer" : "buffer per paint");
    TScene s;
    s.Parent->SetStore(store);
    s.Parent->RePaintControl();
    const TkaPaintStats before = s.Parent->PaintStats();
    s.Parent->FaceColor = clGreen;
    s.Parent->SpotColor = clNone;
    Expose(s.Parent, Rect(100, 80, 130, 110));
    EXPECT_EQ(s.Parent->PaintStats().Paints - before.Paints, 1u);
    EXPECT_EQ(s.Parent->PaintStats().PartialPaints - before.PartialPaints, 1u);
    EXPECT_EQ(ScreenPixel(s.Parent, 110, 90), clGreen) << "the uncovered part";
    EXPECT_EQ(ScreenPixel(s.Parent, 90, 90), clRed) << "beside it, as it was";
    EXPECT_EQ(ScreenPixel(s.Parent, 40, 30), clBlue) << "the spot, as it was";
    if (store) {
      EXPECT_EQ(s.Parent->PaintBuffer()->Canvas()->Pixel(110, 90), clGreen);
      EXPECT_EQ(s.Parent->PaintBuffer()->Canvas()->Pixel(90, 90), clRed) << "the kept buffer keeps the rest";
    }
    // Asked for as a whole, the control is drawn whole.
    s.Parent->RePaintControl();
    EXPECT_EQ(ScreenPixel(s.Parent, 90, 90), clGreen);
    EXPECT_EQ(s.Parent->PaintStats().PartialPaints - before.PartialPaints, 1u);
  }
}

// An exposure that only children cover draws nothing of the parent, and the child still
// takes its background from the parent's kept buffer, right to the pixel.
TEST(CustomControlExposure, AnExposureUnderAChildDrawsNothingOfTheParentAndTheChildsBackgroundStaysRight) {
  TScene s;
  s.Parent->SetStore(true);
  s.Parent->RePaintControl();
  TBitmap face(160, 120);
  face.Canvas()->Brush()->SetColor(clRed);
  face.Canvas()->FillRect(Rect(0, 0, 160, 120));
  face.Canvas()->Brush()->SetColor(clBlue);
  face.Canvas()->FillRect(s.Parent->Spot);
  const TkaPaintStats before = s.Parent->PaintStats();
  const int childCaptures = s.Child->Captures;
  RECT r{25, 15, 60, 50};  // inside the child at (20, 10, 70, 60)
  ::RedrawWindow(s.Parent->Handle(), &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(s.Parent->PaintStats().Paints, before.Paints);
  EXPECT_EQ(s.Parent->PaintStats().EmptyPaints - before.EmptyPaints, 1u);
  EXPECT_GE(s.Child->Captures - childCaptures, 1);
  EXPECT_EQ(MismatchesWithParentFace(s, &face), 0);
}

// A stored buffer that does not hold the whole control as the screen shows it (drawn past the
// paint by a cross-fade, or not yet painted whole) is painted whole, however small the
// exposure: children copy their backgrounds from it.
TEST(CustomControlExposure, AStoredBufferNotShowingTheScreenIsPaintedWhole) {
  TScene s;
  s.Parent->SetStore(true);
  s.Parent->RePaintControl();
  s.Parent->ShowWithoutPaint();
  const TkaPaintStats before = s.Parent->PaintStats();
  Expose(s.Parent, Rect(100, 80, 130, 110));
  EXPECT_EQ(s.Parent->PaintStats().Paints - before.Paints, 1u);
  EXPECT_EQ(s.Parent->PaintStats().PartialPaints, before.PartialPaints);
  // Painted whole, it is kept again: the next small exposure is partial.
  Expose(s.Parent, Rect(100, 80, 130, 110));
  EXPECT_EQ(s.Parent->PaintStats().PartialPaints - before.PartialPaints, 1u);
}

}  // namespace
