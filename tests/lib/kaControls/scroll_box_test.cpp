// The library's scroll box: its backgrounds by style, images over them, drawing only the
// invalid part, the stored background that transparent children copy, scrolling with the
// redraw held, scrolling a control into view, the wheel, the redraw after a change of
// scale, the opaque layered mode, and handle hygiene.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Themes.h"
#include "lib/kaControls/kaScrollBox.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tests/support/TestControls.h"

namespace {

constexpr TColor kUnpainted = clFuchsia;

// Images by index: a solid one fills the whole rectangle, any other paints a 20 x 20 spot
// 10 pixels in from the rectangle's top-left corner. Every call is recorded.
class TFakeImages : public TkaCustomImageCollection {
  KA_CLASS(TFakeImages, TkaCustomImageCollection)
 public:
  using TkaCustomImageCollection::TkaCustomImageCollection;
  struct TCall {
    int Index;
    TRect Rect;
    HDC DC;
    TRect Drawable;  // the canvas's clip box
    double Scale;
  };
  struct TImage {
    TColor Color;
    bool Solid;
  };
  std::vector<TImage> Images;
  std::vector<TCall> Calls;

  int GetCount() const override { return static_cast<int>(Images.size()); }
  bool IsIndexAvailable(int AIndex) const override { return AIndex >= 0 && AIndex < GetCount(); }
  bool IsSolidDrawing(int AIndex) const override { return IsIndexAvailable(AIndex) && Images[AIndex].Solid; }
  void Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, double AScaleFactor) override {
    RECT clip{};
    ::GetClipBox(ACanvas->Handle(), &clip);
    Calls.push_back({AIndex, ARect, ACanvas->Handle(), TRect(clip), AScaleFactor});
    ACanvas->Brush()->SetColor(Images[AIndex].Color);
    ACanvas->FillRect(Images[AIndex].Solid ? ARect : Bounds(ARect.Left + 10, ARect.Top + 10, 20, 20));
  }
};

// Records what reaches the box: erases (with the area they could draw on), WM_SETREDRAW and
// its own timers.
class TProbeBox : public TkaScrollBox {
  KA_CLASS(TProbeBox, TkaScrollBox)
 public:
  using TkaScrollBox::TkaScrollBox;
  std::vector<TRect> Erases;
  std::vector<WPARAM> Redraws;
  std::vector<UINT_PTR> Timers;
  // Erases (0) and timers (their id) in the order they came.
  std::vector<UINT_PTR> Sequence;

  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_ERASEBKGND) {
      RECT clip{};
      ::GetClipBox(reinterpret_cast<HDC>(Message.WParam), &clip);
      Erases.push_back(TRect(clip));
      Sequence.push_back(0);
    }
    if (Message.Msg == WM_SETREDRAW) Redraws.push_back(Message.WParam);
    if (Message.Msg == WM_TIMER) {
      Timers.push_back(Message.WParam);
      Sequence.push_back(Message.WParam);
    }
    inherited::Dispatch(Message);
  }
  // An erase came after the timer Id.
  bool ErasedAfterTimer(UINT_PTR Id) const {
    auto t = std::find(Sequence.begin(), Sequence.end(), Id);
    return t != Sequence.end() && std::find(t, Sequence.end(), UINT_PTR{0}) != Sequence.end();
  }
};

// A transparent custom control that draws nothing of its own.
class TSeeThrough : public TkaCustomControl {
  KA_CLASS(TSeeThrough, TkaCustomControl)
 public:
  using TkaCustomControl::TkaCustomControl;
  void Capture() { CaptureParentBackground(); }
  TBitmap* Background() const { return ParentBGBuffer; }
};

// A borderless 200 x 150 box on a white form.
struct TScene {
  TCustomForm* Form;
  TProbeBox* Box;
  TFakeImages* Images;

  TScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, 320, 240);
    Form->SetColor(clWhite);
    Images = new TFakeImages(Form);
    Box = new TProbeBox(Form);
    Box->SetBorderStyle(bsNone);
    Box->SetBounds(10, 10, 200, 150);
    Box->SetParent(Form);
    Form->Show();
    PumpPending();
  }
  ~TScene() { Form->Free(); }

  template <class T>
  T* Add(const TRect& Bounds) {
    T* c = new T(Form);
    c->SetBoundsRect(Bounds);
    c->SetParent(Box);
    return c;
  }
  // What the box's erase paints into a bitmap that starts unpainted.
  std::unique_ptr<TBitmap> Erased() {
    auto b = std::make_unique<TBitmap>(Box->ClientWidth(), Box->ClientHeight());
    b->Canvas()->Brush()->SetColor(kUnpainted);
    b->Canvas()->FillRect(Rect(0, 0, b->Width(), b->Height()));
    Box->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(b->Canvas()->Handle()));
    return b;
  }
  TColor OnScreen(int X, int Y) {
    HDC dc = ::GetDC(Box->WindowHandle());
    COLORREF c = ::GetPixel(dc, X, Y);
    ::ReleaseDC(Box->WindowHandle(), dc);
    return MakeColor(c);
  }
  TRect Client() const { return Box->ClientRect(); }
};

// The tab pane's face as the style draws it under a rectangle with its edges outside.
TColor TabPaneFace(int Width, int Height, int X, int Y) {
  TBitmap b(Width, Height);
  StyleServices()->DrawElement(b.Canvas()->Handle(), TCustomStyleServices::GetElementDetails(ttPane),
                               Rect(-4, -4, Width + 4, Height + 4));
  return b.Canvas()->Pixel(X, Y);
}

// ---- Backgrounds ----------------------------------------------------------------------------

TEST(ScrollBoxBackground, EachStyleLooksTheSameOnEveryDrawingPath) {
  struct TPath {
    const char* Name;
    bool FullUpdate, StorePaintBuffer;
  };
  const TPath paths[] = {{"straight onto the DC", false, false},
                         {"through a bitmap", true, false},
                         {"from the stored buffer", false, true}};
  for (TkasbBackgroundStyle style : {kasbsFormBackground, kasbsPanel, kasbsTabSheet}) {
    for (const TPath& p : paths) {
      SCOPED_TRACE(testing::Message() << "style " << style << ", " << p.Name);
      TScene s;
      s.Box->SetAutoScroll(false);
      s.Box->SetColor(clAqua);
      s.Box->SetBackgroundStyle(style);
      s.Box->SetFullUpdate(p.FullUpdate);
      s.Box->SetStorePaintBuffer(p.StorePaintBuffer);
      auto b = s.Erased();
      for (TPoint at : {TPoint(0, 0), TPoint(100, 70), TPoint(199, 149)}) {
        TColor expected = style == kasbsFormBackground ? ColorToRGB(clBtnFace)
                          : style == kasbsPanel        ? ColorToRGB(clAqua)
                                                       : TabPaneFace(200, 150, at.X, at.Y);
        EXPECT_EQ(b->Canvas()->Pixel(at.X, at.Y), expected) << at.X << ", " << at.Y;
      }
    }
  }
}

TEST(ScrollBoxBackground, SolidWallpaperWithoutBufferIsDrawnStraightOverTheStyle) {
  TScene s;
  s.Images->Images = {{clLime, true}, {clRed, false}};
  s.Box->SetBackgroundStyle(kasbsPanel);
  s.Box->SetColor(clAqua);
  s.Box->SetWallpapers(s.Images);
  s.Box->SetWallpaperIndex(0);
  s.Box->SetCustomImages(s.Images);
  s.Box->SetCustomBackgroundImageIndex(1);

  s.Images->Calls.clear();
  auto b = s.Erased();
  HDC dc = b->Canvas()->Handle();
  ASSERT_EQ(s.Images->Calls.size(), 2u);
  EXPECT_EQ(s.Images->Calls[0].Index, 0);
  EXPECT_EQ(s.Images->Calls[0].DC, dc) << "no buffer between the wallpaper and the screen";
  EXPECT_EQ(s.Images->Calls[0].Rect, s.Client());
  EXPECT_EQ(s.Images->Calls[1].Index, 1) << "the custom image goes over it";
  EXPECT_EQ(b->Canvas()->Pixel(100, 100), clLime) << "no panel colour anywhere";
  EXPECT_EQ(b->Canvas()->Pixel(15, 15), clRed);

  // A see-through wallpaper needs the style background under it, so it goes through a bitmap.
  s.Images->Images[0].Solid = false;
  s.Images->Calls.clear();
  b = s.Erased();
  ASSERT_EQ(s.Images->Calls.size(), 2u);
  EXPECT_NE(s.Images->Calls[0].DC, b->Canvas()->Handle());
  EXPECT_EQ(b->Canvas()->Pixel(100, 100), clAqua);
  EXPECT_EQ(b->Canvas()->Pixel(15, 15), clRed) << "custom image over the wallpaper";

  s.Images->Free();
  EXPECT_EQ(s.Box->Wallpapers(), nullptr);
  EXPECT_EQ(s.Box->CustomImages(), nullptr);
  EXPECT_EQ(s.Erased()->Canvas()->Pixel(15, 15), clAqua);
}

TEST(ScrollBoxBackground, ASmallExposureDrawsOnlyThatPart) {
  for (bool store : {false, true}) {
    SCOPED_TRACE(store ? "stored buffer" : "temporary bitmap");
    TScene s;
    s.Images->Images = {{clRed, false}};
    s.Box->SetBackgroundStyle(kasbsPanel);
    s.Box->SetColor(clAqua);
    s.Box->SetStorePaintBuffer(store);
    s.Box->SetWallpapers(s.Images);
    s.Box->SetWallpaperIndex(0);
    PumpPending();
    s.Images->Calls.clear();
    s.Box->Erases.clear();

    const TRect exposed(20, 20, 60, 60);  // covers part of the spot at (10, 10, 30, 30)
    ::InvalidateRect(s.Box->WindowHandle(), exposed.AsRECT(), TRUE);
    ::UpdateWindow(s.Box->WindowHandle());
    ASSERT_EQ(s.Box->Erases.size(), 1u);
    EXPECT_EQ(s.Box->Erases[0], exposed);
    if (store) {
      EXPECT_TRUE(s.Images->Calls.empty()) << "the stored background is only copied";
    } else {
      ASSERT_EQ(s.Images->Calls.size(), 1u);
      EXPECT_EQ(s.Images->Calls[0].Drawable, Rect(0, 0, 40, 40)) << "a bitmap the size of the exposure";
      EXPECT_EQ(s.Images->Calls[0].Rect, Rect(-20, -20, 180, 130)) << "placed as over the whole box";
    }
    EXPECT_EQ(s.OnScreen(25, 25), clRed);
    EXPECT_EQ(s.OnScreen(50, 50), clAqua);
  }
}

TEST(ScrollBoxBackground, TransparentChildrenCopyTheStoredBackground) {
  TScene s;
  s.Images->Images = {{clRed, false}};
  s.Box->SetBackgroundStyle(kasbsPanel);
  s.Box->SetColor(clAqua);
  s.Box->SetCustomImages(s.Images);
  s.Box->SetCustomBackgroundImageIndex(0);
  s.Box->SetStorePaintBuffer(true);
  auto* child = s.Add<TSeeThrough>(Rect(20, 20, 60, 60));
  PumpPending();
  ASSERT_NE(s.Box->LentPaintBuffer(), nullptr);

  s.Box->Erases.clear();
  child->Capture();
  EXPECT_TRUE(s.Box->Erases.empty()) << "a copy, not a repaint of the box";
  EXPECT_EQ(child->Background()->Canvas()->Pixel(0, 0), clRed) << "the box's (20, 20): the spot";
  EXPECT_EQ(child->Background()->Canvas()->Pixel(15, 15), clAqua) << "the box's (35, 35)";

  // A change of background reaches the child with the box's redraw.
  s.Box->SetColor(clYellow);
  PumpPending();
  EXPECT_EQ(child->Background()->Canvas()->Pixel(15, 15), clYellow);
  s.Box->SetBackgroundStyle(kasbsFormBackground);
  EXPECT_EQ(child->Background()->Canvas()->Pixel(15, 15), ColorToRGB(clBtnFace));

  // Without the stored buffer the box paints itself into the child's capture.
  s.Box->SetStorePaintBuffer(false);
  EXPECT_EQ(s.Box->LentPaintBuffer(), nullptr);
  s.Box->Erases.clear();
  child->Capture();
  EXPECT_EQ(s.Box->Erases.size(), 1u);
  EXPECT_EQ(child->Background()->Canvas()->Pixel(0, 0), clRed);
  EXPECT_EQ(child->Background()->Canvas()->Pixel(15, 15), ColorToRGB(clBtnFace));

  // Painting the box into a child's capture does not swallow an update the box still owes.
  const TRect owed(100, 100, 140, 140);
  ::InvalidateRect(s.Box->WindowHandle(), owed.AsRECT(), TRUE);
  child->Capture();
  s.Box->Erases.clear();
  ::UpdateWindow(s.Box->WindowHandle());
  ASSERT_EQ(s.Box->Erases.size(), 1u);
  EXPECT_EQ(s.Box->Erases[0], owed);
}

// ---- Scrolling ------------------------------------------------------------------------------

// A 400-pixel tall panel in the box: only the vertical bar shows.
struct TTallScene : TScene {
  TTestPanel* Tall;
  TTallScene() {
    Tall = Add<TTestPanel>(Rect(10, 10, 60, 410));
    Tall->FillColor = clBlue;
    Box->SetBackgroundStyle(kasbsPanel);
    Box->SetColor(clAqua);
    PumpPending();
    Box->Redraws.clear();
    Box->Erases.clear();
  }
};

TEST(ScrollBoxScrolling, FullUpdateHoldsTheRedrawAndDrawsEverythingOnce) {
  struct TCase {
    const char* Name;
    bool FullUpdate;
    std::function<void(TProbeBox*)> Scroll;
    int Position;  // ScrollBy moves the content, not the bar
  };
  const auto lineDown = [](TProbeBox* b) { ::SendMessageW(b->WindowHandle(), WM_VSCROLL, SB_LINEDOWN, 0); };
  const TCase cases[] = {
      {"the box's own bar", true, lineDown, 8},
      {"the wheel", true, [](TProbeBox* b) {
         b->SetMouseWheelSupport(true);
         ::SendMessageW(b->WindowHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
       }, 8},
      {"ScrollBy", true, [](TProbeBox* b) { b->ScrollBy(0, -8); }, 0},
      {"without FullUpdate the window scrolls its pixels", false, lineDown, 8},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTallScene s;
    s.Box->SetFullUpdate(c.FullUpdate);
    c.Scroll(s.Box);
    EXPECT_EQ(s.Box->VertScrollBar()->Position(), c.Position);
    EXPECT_EQ(s.Tall->Top(), 2);
    if (c.FullUpdate) {
      EXPECT_EQ(s.Box->Redraws, (std::vector<WPARAM>{0, 1}));
      ASSERT_FALSE(s.Box->Erases.empty());
      EXPECT_EQ(s.Box->Erases.back(), s.Client()) << "the whole box, at once";
    } else {
      EXPECT_TRUE(s.Box->Redraws.empty());
      PumpPending();
      ASSERT_FALSE(s.Box->Erases.empty());
      EXPECT_EQ(s.Box->Erases.back().Height(), 8) << "only the strip scrolled in";
    }
    PumpPending();
    EXPECT_EQ(s.OnScreen(30, 5), clBlue) << "the panel moved up from 10 to 2";
    EXPECT_EQ(s.OnScreen(100, 100), clAqua);
  }
}

TEST(ScrollBoxScrolling, ScrollInViewHoldsTheRedrawOnlyBeyondTwoPixelsOfSlack) {
  struct TCase {
    const char* Name;
    int Top;            // of a 40-pixel tall control; the client area is 150 high
    bool ByFocus;       // through the automatic scroll into view
    bool Held;
    int Position;
  };
  const TCase cases[] = {
      {"well inside", 50, false, false, 0},
      {"two pixels past the edge", 112, false, false, 2},
      {"three pixels past the edge", 113, false, true, 3},
      {"three pixels past, by focus", 113, true, true, 3},
      {"two pixels past, by focus", 112, true, false, 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTallScene s;
    auto* target = s.Add<TTestPanel>(Bounds(80, c.Top, 40, 40));
    PumpPending();
    s.Box->Redraws.clear();
    if (c.ByFocus)
      s.Box->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(target));
    else
      s.Box->ScrollInView(target);
    EXPECT_EQ(s.Box->VertScrollBar()->Position(), c.Position);
    EXPECT_EQ(s.Box->Redraws, c.Held ? (std::vector<WPARAM>{0, 1}) : std::vector<WPARAM>{});
  }
}

TEST(ScrollBoxScrolling, WheelScrollsOneIncrementOfTheBarItChooses) {
  enum TBars { kVert, kHorz, kBoth };
  struct TCase {
    const char* Name;
    TBars Bars;
    bool Shift;
    short Delta;
    int DH, DV;
  };
  const TCase cases[] = {
      {"down, vertical bar", kVert, false, -WHEEL_DELTA, 0, 8},
      {"up, vertical bar", kVert, false, WHEEL_DELTA, 0, -8},
      {"Shift alone does not turn a lone vertical bar", kVert, true, -WHEEL_DELTA, 0, 8},
      {"only a horizontal bar: no Shift needed", kHorz, false, -WHEEL_DELTA, 8, 0},
      {"both bars: the vertical one", kBoth, false, WHEEL_DELTA, 0, -8},
      {"both bars with Shift: the horizontal one", kBoth, true, WHEEL_DELTA, -8, 0},
      {"a fraction of a notch is still one increment", kBoth, false, -30, 0, 8},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    const int w = c.Bars == kVert ? 50 : 600, h = c.Bars == kHorz ? 50 : 600;
    s.Add<TTestPanel>(Bounds(0, 0, w, h));
    s.Box->SetMouseWheelSupport(true);
    PumpPending();
    s.Box->HorzScrollBar()->SetPosition(40);
    s.Box->VertScrollBar()->SetPosition(40);
    const int h0 = s.Box->HorzScrollBar()->Position(), v0 = s.Box->VertScrollBar()->Position();
    const WORD keys = c.Shift ? MK_SHIFT : 0;
    ::SendMessageW(s.Box->WindowHandle(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(c.Delta)), 0);
    EXPECT_EQ(s.Box->HorzScrollBar()->Position() - h0, c.DH);
    EXPECT_EQ(s.Box->VertScrollBar()->Position() - v0, c.DV);
  }
  // Without the support the box scrolls as any scrolling container does (three increments).
  TTallScene s;
  ::SendMessageW(s.Box->WindowHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(s.Box->VertScrollBar()->Position(), 24);
  EXPECT_TRUE(s.Box->Redraws.empty());
}

// ---- Scale, layers, defaults and handles ----------------------------------------------------

TEST(ScrollBoxScale, ADpiChangeRedrawsEverythingShortlyAfter) {
  for (bool visible : {true, false}) {
    SCOPED_TRACE(visible ? "visible" : "hidden");
    TScene s;
    s.Images->Images = {{clRed, false}};
    s.Box->SetStorePaintBuffer(true);
    s.Box->SetWallpapers(s.Images);
    s.Box->SetWallpaperIndex(0);
    s.Box->SetVisible(visible);
    PumpPending();
    s.Box->Timers.clear();
    s.Images->Calls.clear();
    const DWORD start = ::GetTickCount();
    s.Box->ChangeScale(144, 96, true);
    const bool fired = PumpUntil([&] { return !s.Box->Timers.empty(); }, visible ? 2000 : 200);
    EXPECT_EQ(fired, visible);
    if (!visible) continue;
    EXPECT_LT(::GetTickCount() - start, 1000u);
    EXPECT_EQ(s.Box->Timers[0], kaScrollBoxScaleTimerID);
    ASSERT_FALSE(s.Box->Erases.empty());
    EXPECT_EQ(s.Box->Erases.back(), s.Client());
    ASSERT_FALSE(s.Images->Calls.empty()) << "the background is made anew";
    EXPECT_EQ(s.Images->Calls.back().Scale, 1.5);
    s.Box->Timers.clear();
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(s.Box->Timers.empty()) << "once";
  }
}

TEST(ScrollBoxLayer, FluentUIOpaqueMakesAnOpaqueLayerFromBuild17134On) {
  struct TCase {
    int Major, Build;
    bool Layered;
  };
  for (TCase c : {TCase{10, 17133, false}, TCase{6, 9600, false}, TCase{10, 17134, true}}) {
    SCOPED_TRACE(c.Build);
    TkaCompositionTesting version;
    version.SetVersion(c.Major, c.Major == 10 ? 0 : 3, c.Build);
    TScene s;
    HWND before = s.Box->WindowHandle();
    s.Box->SetFluentUIOpaque(true);
    EXPECT_TRUE(s.Box->FluentUIOpaque());
    EXPECT_EQ(s.Box->IsFluentUIOpaqueActive(), c.Layered);
    EXPECT_EQ(s.Box->WindowHandle() != before, c.Layered) << "re-created only where it helps";
    const LONG_PTR ex = ::GetWindowLongPtrW(s.Box->WindowHandle(), GWL_EXSTYLE);
    EXPECT_EQ((ex & WS_EX_LAYERED) != 0, c.Layered);
    if (!c.Layered) continue;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(s.Box->WindowHandle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_TRUE(PumpUntil([&] { return s.Box->ErasedAfterTimer(kaFluentUIOpaqueTimerID); }, 2000))
        << "one full repaint shortly after the layer exists";
    s.Box->SetFluentUIOpaque(false);
    EXPECT_EQ(::GetWindowLongPtrW(s.Box->WindowHandle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  }
}

TEST(ScrollBox, DefaultsAsCreated) {
  TScene s;
  auto* b = new TkaScrollBox(s.Form);
  EXPECT_EQ(b->BackgroundStyle(), kasbsFormBackground);
  EXPECT_EQ(b->WallpaperIndex(), -1);
  EXPECT_EQ(b->CustomBackgroundImageIndex(), -1);
  EXPECT_TRUE(b->FullUpdate());
  EXPECT_FALSE(b->StorePaintBuffer());
  EXPECT_FALSE(b->MouseWheelSupport());
  EXPECT_FALSE(b->FluentUIOpaque());
  EXPECT_TRUE(b->HorzScrollBar()->Tracking());
  EXPECT_TRUE(b->VertScrollBar()->Tracking());
}

TEST(ScrollBoxResources, ScrollingAndRepaintingKeepGdiHandlesFlat) {
  TTallScene s;
  s.Images->Images = {{clRed, false}};
  s.Box->SetWallpapers(s.Images);
  s.Box->SetWallpaperIndex(0);
  auto* child = s.Add<TSeeThrough>(Rect(80, 20, 120, 60));
  auto cycle = [&](int i) {
    s.Box->SetStorePaintBuffer(i % 3 == 0);
    ::SendMessageW(s.Box->WindowHandle(), WM_VSCROLL, i % 2 == 0 ? SB_LINEDOWN : SB_LINEUP, 0);
    ::InvalidateRect(s.Box->WindowHandle(), nullptr, TRUE);
    ::UpdateWindow(s.Box->WindowHandle());
    child->Capture();
  };
  for (int i = 0; i < 10; ++i) cycle(i);
  const int gdi = GdiObjectCount();
  for (int i = 0; i < 300; ++i) cycle(i);
  EXPECT_LE(GdiObjectCount() - gdi, 2);
}

}  // namespace
