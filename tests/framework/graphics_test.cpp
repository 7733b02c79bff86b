// The GDI layer: canvas binding and realisation, bitmaps as bottom-up DIB sections, alpha
// formats and blending, frames, fonts, pictures, and that none of it leaks GDI objects.
#include <gtest/gtest.h>

#include "tests/support/Handles.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "framework/Graphics.h"

namespace {

struct TBGRA {
  uint8_t B, G, R, A;
  bool operator==(const TBGRA&) const = default;
};

void PrintTo(const TBGRA& p, std::ostream* os) {
  *os << "BGRA(" << int(p.B) << "," << int(p.G) << "," << int(p.R) << "," << int(p.A) << ")";
}

TBGRA& Pixel32(TBitmap& Bitmap, int X, int Y) { return static_cast<TBGRA*>(Bitmap.ScanLine(Y))[X]; }

// Colours compared channel by channel with a tolerance of Tol (blending rounds either way).
::testing::AssertionResult Near(TColor Actual, int R, int G, int B, int Tol = 0) {
  int ar = GetRValue(Actual), ag = GetGValue(Actual), ab = GetBValue(Actual);
  if (std::abs(ar - R) <= Tol && std::abs(ag - G) <= Tol && std::abs(ab - B) <= Tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got RGB(" << ar << "," << ag << "," << ab << "), want RGB(" << R
                                       << "," << G << "," << B << ") +-" << Tol;
}

// A memory DC as other code would leave it: its own bitmap, font, pen and brush selected
// and its own colours set. Lets a test check that a canvas gives all of it back.
class TForeignDC {
 public:
  TForeignDC() : FDC(TMemoryDC::CreateCompatible()) {
    void* bits = nullptr;
    FBitmap = CreateBottomUpDIB(8, 8, 32, &bits);
    LOGFONTW lf{};
    lf.lfHeight = -17;
    std::wmemcpy(lf.lfFaceName, L"Tahoma", 6);
    FFont.Reset(::CreateFontIndirectW(&lf));
    FPen.Reset(::CreatePen(PS_DOT, 1, RGB(9, 8, 7)));
    FBrush.Reset(::CreateSolidBrush(RGB(7, 8, 9)));
    HDC dc = FDC.Get();
    FSelected[0] = TSelectObject(dc, FBitmap.Get());
    FSelected[1] = TSelectObject(dc, FFont.Get());
    FSelected[2] = TSelectObject(dc, FPen.Get());
    FSelected[3] = TSelectObject(dc, FBrush.Get());
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkColor(dc, RGB(4, 5, 6));
    ::SetBkMode(dc, OPAQUE);
  }
  HDC Get() const { return FDC.Get(); }

  ::testing::AssertionResult Untouched() const {
    HDC dc = FDC.Get();
    if (::GetCurrentObject(dc, OBJ_FONT) != FFont.Get()) return ::testing::AssertionFailure() << "font left selected";
    if (::GetCurrentObject(dc, OBJ_PEN) != FPen.Get()) return ::testing::AssertionFailure() << "pen left selected";
    if (::GetCurrentObject(dc, OBJ_BRUSH) != FBrush.Get()) return ::testing::AssertionFailure() << "brush left selected";
    if (::GetCurrentObject(dc, OBJ_BITMAP) != FBitmap.Get()) return ::testing::AssertionFailure() << "bitmap changed";
    if (::GetTextColor(dc) != RGB(1, 2, 3)) return ::testing::AssertionFailure() << "text colour changed";
    if (::GetBkColor(dc) != RGB(4, 5, 6)) return ::testing::AssertionFailure() << "background colour changed";
    if (::GetBkMode(dc) != OPAQUE) return ::testing::AssertionFailure() << "background mode changed";
    return ::testing::AssertionSuccess();
  }

 private:
  TBitmapHandle FBitmap;
  TFontHandle FFont;
  TPenHandle FPen;
  TBrushHandle FBrush;
  TMemoryDC FDC;
  TSelectObject FSelected[4];  // last: deselected before the DC and objects go
};

// ---- Canvas -------------------------------------------------------------------------------

TEST(Canvas, HandleRealisesFontAndBrushForRawCalls) {
  TForeignDC dc;
  TCanvas canvas;
  canvas.SetHandle(dc.Get());

  canvas.Font()->SetColor(clRed);
  canvas.Brush()->SetStyle(bsClear);
  HDC h = canvas.Handle();
  EXPECT_EQ(h, dc.Get());
  EXPECT_EQ(::GetCurrentObject(h, OBJ_FONT), canvas.Font()->Handle());
  EXPECT_EQ(::GetCurrentObject(h, OBJ_PEN), canvas.Pen()->Handle());
  EXPECT_EQ(::GetTextColor(h), RGB(255, 0, 0));
  EXPECT_EQ(::GetBkMode(h), TRANSPARENT);

  // Changes between two Handle() calls reach the DC; system colours are resolved.
  canvas.Font()->SetColor(clWindowText);
  canvas.Font()->SetHeight(-20);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(clBlue);
  h = canvas.Handle();
  EXPECT_EQ(::GetTextColor(h), ::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(::GetBkMode(h), OPAQUE);
  EXPECT_EQ(::GetBkColor(h), RGB(0, 0, 255));
  EXPECT_EQ(::GetCurrentObject(h, OBJ_BRUSH), canvas.Brush()->Handle());
  LOGFONTW lf{};
  ASSERT_NE(::GetObjectW(::GetCurrentObject(h, OBJ_FONT), sizeof(lf), &lf), 0);
  EXPECT_EQ(lf.lfHeight, -20);

  canvas.SetHandle(nullptr);
  EXPECT_FALSE(canvas.HandleAllocated());
  EXPECT_TRUE(dc.Untouched());
}

TEST(Canvas, NestedBindingGivesEachDCBackAsFound) {
  TForeignDC a, b;
  auto canvas = std::make_unique<TCanvas>();
  canvas->SetHandle(a.Get());
  canvas->Font()->SetColor(clLime);
  canvas->TextOut(0, 0, L"a");

  // A paint routine borrowing the canvas for another DC, the way controls do.
  HDC previous = canvas->Handle();
  canvas->SetHandle(b.Get());
  EXPECT_TRUE(a.Untouched());
  canvas->Font()->SetSize(14);  // a change while bound: the old font must leave b first
  EXPECT_EQ(canvas->Handle(), b.Get());
  EXPECT_EQ(::GetCurrentObject(b.Get(), OBJ_FONT), canvas->Font()->Handle());
  EXPECT_EQ(::GetTextColor(b.Get()), RGB(0, 255, 0));
  canvas->SetHandle(previous);
  EXPECT_TRUE(b.Untouched());

  EXPECT_EQ(canvas->Handle(), a.Get());
  EXPECT_EQ(::GetCurrentObject(a.Get(), OBJ_FONT), canvas->Font()->Handle());
  canvas.reset();  // destroyed while bound
  EXPECT_TRUE(a.Untouched());
}

// Binds a DC only when asked for one, as a control's canvas does.
class TOnDemandCanvas : public TCanvas {
  KA_CLASS(TOnDemandCanvas, TCanvas)
 public:
  HDC Supply = nullptr;
  int Calls = 0;

 protected:
  void CreateHandle() override {
    ++Calls;
    SetHandle(Supply);
  }
};

TEST(Canvas, CreateHandleSuppliesADCOnDemandElseDrawingFails) {
  TForeignDC dc;
  TOnDemandCanvas canvas;
  canvas.Supply = dc.Get();
  EXPECT_EQ(canvas.Handle(), dc.Get());
  canvas.FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(canvas.Calls, 1);
  canvas.SetHandle(nullptr);
  EXPECT_TRUE(dc.Untouched());

  TCanvas unbound;
  EXPECT_THROW(unbound.Handle(), EInvalidOperation);
  EXPECT_THROW(unbound.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
}

// Pixels of a 32-bit bitmap in R that are mostly of one primary mix: red, or yellow.
int CountRed(TBitmap& B, const TRect& R) {
  int n = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) {
      const TBGRA p = Pixel32(B, x, y);
      n += p.R > 200 && p.G < 80 && p.B < 80;
    }
  return n;
}

int CountYellow(TBitmap& B, const TRect& R) {
  int n = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) {
      const TBGRA p = Pixel32(B, x, y);
      n += p.R > 200 && p.G > 200 && p.B < 80;
    }
  return n;
}

// Code that narrows the clipping for a while saves and restores the DC's state around it;
// when the canvas changes its font, colour and brush meanwhile, the restore takes the DC
// back to the old ones behind the canvas's back. After the saver the canvas must draw with
// its own again: red text on a transparent background here, not black text on yellow.
TEST(Canvas, StateSaverKeepsTheCanvasInStepWithItsDC) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(80, 30);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 80, 30));
  c->Font()->SetColor(clBlack);
  c->Brush()->SetColor(clYellow);
  HDC dc = c->Handle();  // black text on an opaque yellow background realised
  {
    TCanvasStateSaver saved(c, Rect(0, 0, 12, 30));
    c->Font()->SetColor(clRed);
    c->Font()->SetHeight(-24);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(0, 0, L"WWW");
    EXPECT_GT(CountRed(b, Rect(0, 0, 12, 30)), 0);
    EXPECT_EQ(CountRed(b, Rect(12, 0, 80, 30)), 0);  // cut at the clip
  }
  HDC h = c->Handle();
  EXPECT_EQ(h, dc);
  EXPECT_EQ(::GetCurrentObject(h, OBJ_FONT), c->Font()->Handle());
  EXPECT_EQ(::GetTextColor(h), RGB(255, 0, 0));
  EXPECT_EQ(::GetBkMode(h), TRANSPARENT);
  c->TextOut(40, 0, L"W");
  EXPECT_GT(CountRed(b, Rect(40, 0, 80, 30)), 0);  // the clip is gone with the scope
  EXPECT_EQ(CountYellow(b, Rect(0, 0, 80, 30)), 0);
}

TEST(Canvas, StateSaverNarrowsAnExistingClipAndGivesItBack) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(40, 40);
  TCanvas* c = b.Canvas();
  ::IntersectClipRect(c->Handle(), 0, 0, 30, 30);
  {
    TCanvasStateSaver saved(c, Rect(20, 20, 40, 40));
    EXPECT_EQ(c->ClipRect(), Rect(20, 20, 30, 30));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 40, 40));
  }
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 30, 30));
  EXPECT_EQ(CountRed(b, Rect(0, 0, 40, 40)), 100);
  EXPECT_EQ(CountRed(b, Rect(20, 20, 30, 30)), 100);
}

// ---- Bitmaps ------------------------------------------------------------------------------

TEST(Bitmap, ScanLineIsBottomUpAndMatchesCanvasPixels) {
  struct Case {
    TPixelFormat Format;
    int BytesPerPixel;
  };
  for (Case c : {Case{pf24bit, 3}, Case{pf32bit, 4}, Case{pfDevice, 4}}) {
    SCOPED_TRACE(c.Format);
    TBitmap bmp;
    bmp.SetPixelFormat(c.Format);
    bmp.SetSize(3, 4);
    int stride = ((3 * c.BytesPerPixel + 3) / 4) * 4;
    EXPECT_EQ(bmp.BytesPerScanLine(), stride);
    EXPECT_EQ(static_cast<uint8_t*>(bmp.ScanLine(0)) - static_cast<uint8_t*>(bmp.ScanLine(1)), stride);
    for (int y = 0; y < 4; ++y) {
      auto* row = static_cast<uint8_t*>(bmp.ScanLine(y));
      for (int x = 0; x < 3; ++x) {
        uint8_t* p = row + x * c.BytesPerPixel;
        p[0] = 7;                          // blue
        p[1] = static_cast<uint8_t>(x * 60);  // green
        p[2] = static_cast<uint8_t>(y * 50);  // red
      }
    }
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_TRUE(Near(bmp.Canvas()->Pixel(x, y), y * 50, x * 60, 7)) << x << "," << y;
    EXPECT_THROW(bmp.ScanLine(4), EInvalidGraphicOperation);
    EXPECT_THROW(bmp.ScanLine(-1), EInvalidGraphicOperation);
  }
}

TEST(Bitmap, CanvasDrawingReachesScanLineAndSurvivesRecreation) {
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(4, 4);
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->FillRect(Rect(0, 0, 2, 1));  // top-left two pixels
  auto* top = static_cast<uint8_t*>(bmp.ScanLine(0));
  EXPECT_EQ(top[2], 255);
  EXPECT_EQ(top[5], 255);
  EXPECT_EQ(top[8], 0);

  // Formats convert and sizes keep the top-left part; the canvas's DC is dropped each time
  // (the bitmap cannot be selected twice) and a new one works.
  int changes = 0;
  bmp.OnChange = [&](TObject*) { ++changes; };
  bmp.SetPixelFormat(pf32bit);
  EXPECT_FALSE(bmp.Canvas()->HandleAllocated());
  EXPECT_EQ(Pixel32(bmp, 1, 0), (TBGRA{0, 0, 255, 255}));
  bmp.SetSize(6, 2);
  EXPECT_EQ(Pixel32(bmp, 0, 0), (TBGRA{0, 0, 255, 255}));
  EXPECT_EQ(Pixel32(bmp, 5, 1), (TBGRA{0, 0, 0, 0}));
  EXPECT_TRUE(Near(bmp.Canvas()->Pixel(1, 0), 255, 0, 0));
  bmp.SetSize(6, 2);  // no change
  EXPECT_EQ(changes, 2);

  TBitmap copy;
  copy.Assign(&bmp);
  EXPECT_EQ(copy.Width(), 6);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  EXPECT_NE(copy.Handle(), bmp.Handle());
  EXPECT_EQ(Pixel32(copy, 0, 0), Pixel32(bmp, 0, 0));
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, StreamRoundTripKeepsPixelsAndAlpha) {
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    SCOPED_TRACE(format);
    TBitmap bmp;
    bmp.SetPixelFormat(format);
    bmp.SetSize(5, 3);
    int bpp = format == pf24bit ? 3 : 4;
    for (int y = 0; y < 3; ++y) {
      auto* row = static_cast<uint8_t*>(bmp.ScanLine(y));
      for (int i = 0; i < 5 * bpp; ++i) row[i] = static_cast<uint8_t>(y * 40 + i);
    }
    std::stringstream stream;
    bmp.SaveToStream(stream);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    ASSERT_EQ(loaded.Width(), 5);
    ASSERT_EQ(loaded.Height(), 3);
    EXPECT_EQ(loaded.PixelFormat(), format);
    for (int y = 0; y < 3; ++y)
      EXPECT_EQ(std::memcmp(loaded.ScanLine(y), bmp.ScanLine(y), 5 * bpp), 0) << "row " << y;
  }
  std::stringstream junk("BM not really a bitmap, just some text long enough for the headers");
  TBitmap bmp;
  EXPECT_THROW(bmp.LoadFromStream(junk), EInvalidGraphic);
  EXPECT_THROW(bmp.LoadFromResourceName(::GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP"), EInvalidGraphic);
}

TEST(Bitmap, AlphaFormatPremultipliesAndDividesBack) {
  struct Case {
    TBGRA Straight, Premultiplied, Back;
  };
  const Case cases[] = {
      {{200, 100, 50, 128}, {100, 50, 25, 128}, {199, 100, 50, 128}},
      {{255, 0, 128, 64}, {64, 0, 32, 64}, {255, 0, 128, 64}},
      {{100, 100, 100, 127}, {50, 50, 50, 127}, {100, 100, 100, 127}},
      {{1, 2, 3, 254}, {1, 2, 3, 254}, {1, 2, 3, 254}},
      {{255, 128, 1, 255}, {255, 128, 1, 255}, {255, 128, 1, 255}},
      {{10, 20, 30, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}},
      {{255, 255, 255, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  const int n = static_cast<int>(std::size(cases));
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetSize(n, 1);
  for (int i = 0; i < n; ++i) Pixel32(bmp, i, 0) = cases[i].Straight;

  bmp.SetAlphaFormat(afDefined);  // straight alpha declared: pixels stay
  for (int i = 0; i < n; ++i) EXPECT_EQ(Pixel32(bmp, i, 0), cases[i].Straight) << i;
  bmp.SetAlphaFormat(afPremultiplied);
  for (int i = 0; i < n; ++i) EXPECT_EQ(Pixel32(bmp, i, 0), cases[i].Premultiplied) << i;
  bmp.SetAlphaFormat(afDefined);
  for (int i = 0; i < n; ++i) EXPECT_EQ(Pixel32(bmp, i, 0), cases[i].Back) << i;
  bmp.SetAlphaFormat(afIgnored);
  for (int i = 0; i < n; ++i) EXPECT_EQ(Pixel32(bmp, i, 0), cases[i].Back) << i;

  // Premultiplied data brighter than its alpha saturates when divided back.
  bmp.SetAlphaFormat(afPremultiplied);
  Pixel32(bmp, 0, 0) = {200, 10, 0, 100};
  bmp.SetAlphaFormat(afIgnored);
  EXPECT_EQ(Pixel32(bmp, 0, 0), (TBGRA{255, 26, 0, 100}));

  // Leaving pf32bit takes a premultiplied picture back to straight colours.
  bmp.SetAlphaFormat(afPremultiplied);
  Pixel32(bmp, 1, 0) = {64, 0, 32, 64};
  bmp.SetPixelFormat(pf24bit);
  auto* p = static_cast<uint8_t*>(bmp.ScanLine(0)) + 3;
  EXPECT_EQ(p[0], 255);
  EXPECT_EQ(p[2], 128);
}

// Red at half opacity over white: 128 + 255 * 127 / 255 in green and blue.
TEST(Bitmap, DrawBlendsAlphaFormatsAndCopiesTheRest) {
  struct Case {
    const char* Name;
    TPixelFormat Format;
    TAlphaFormat Alpha;
    bool SourceCanvasOpen;  // the source then draws from its canvas's DC
    int R, G, B;
  };
  const Case cases[] = {
      {"premultiplied", pf32bit, afPremultiplied, false, 255, 127, 127},
      {"premultiplied, canvas open", pf32bit, afPremultiplied, true, 255, 127, 127},
      {"straight", pf32bit, afDefined, false, 255, 127, 127},
      {"alpha ignored", pf32bit, afIgnored, false, 255, 0, 0},
      {"24-bit", pf24bit, afIgnored, true, 255, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TBitmap src;
    src.SetPixelFormat(c.Format);
    src.SetSize(2, 2);
    for (int y = 0; y < 2; ++y) {
      auto* row = static_cast<uint8_t*>(src.ScanLine(y));
      for (int x = 0; x < 2; ++x) {
        uint8_t* px = row + x * (c.Format == pf24bit ? 3 : 4);
        px[0] = 0, px[1] = 0, px[2] = 255;
        if (c.Format != pf24bit) px[3] = 128;
      }
    }
    src.SetAlphaFormat(c.Alpha);
    if (c.SourceCanvasOpen) src.Canvas()->Handle();

    TBitmap dest;
    dest.SetPixelFormat(pf24bit);
    dest.SetSize(4, 4);
    dest.Canvas()->FillRect(Rect(0, 0, 4, 4));  // white brush
    dest.Canvas()->Draw(1, 1, &src);
    EXPECT_TRUE(Near(dest.Canvas()->Pixel(1, 1), c.R, c.G, c.B, 1));
    EXPECT_TRUE(Near(dest.Canvas()->Pixel(2, 2), c.R, c.G, c.B, 1));
    EXPECT_TRUE(Near(dest.Canvas()->Pixel(0, 0), 255, 255, 255));
    EXPECT_TRUE(Near(dest.Canvas()->Pixel(3, 3), 255, 255, 255));
  }
}

TEST(Bitmap, StretchAndTransparentDraw) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(2, 2);
  src.Canvas()->Brush()->SetColor(clFuchsia);
  src.Canvas()->FillRect(Rect(0, 0, 2, 2));
  src.Canvas()->SetPixel(1, 0, clBlue);  // top-right blue, the rest the key colour

  TBitmap dest;
  dest.SetPixelFormat(pf24bit);
  dest.SetSize(4, 4);
  dest.Canvas()->Brush()->SetColor(clLime);
  dest.Canvas()->FillRect(Rect(0, 0, 4, 4));
  dest.Canvas()->StretchDraw(Rect(0, 0, 4, 4), &src);
  EXPECT_TRUE(Near(dest.Canvas()->Pixel(3, 0), 0, 0, 255));
  EXPECT_TRUE(Near(dest.Canvas()->Pixel(2, 1), 0, 0, 255));
  EXPECT_TRUE(Near(dest.Canvas()->Pixel(0, 3), 255, 0, 255));

  dest.Canvas()->FillRect(Rect(0, 0, 4, 4));
  src.SetTransparent(true);
  EXPECT_EQ(src.TransparentColor(), clFuchsia);  // from the bottom-left pixel
  dest.Canvas()->Draw(1, 1, &src);
  EXPECT_TRUE(Near(dest.Canvas()->Pixel(2, 1), 0, 0, 255));
  EXPECT_TRUE(Near(dest.Canvas()->Pixel(1, 1), 0, 255, 0));
  EXPECT_TRUE(Near(dest.Canvas()->Pixel(1, 2), 0, 255, 0));
}

TEST(Drawing, AlphaFillBlendsAtConstantOpacity) {
  struct Case {
    uint8_t Alpha;
    int R, G, B;
  };
  for (Case c : {Case{128, 255, 127, 127}, Case{0, 255, 255, 255}, Case{255, 255, 0, 0}}) {
    SCOPED_TRACE(int(c.Alpha));
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(4, 4);
    bmp.Canvas()->FillRect(Rect(0, 0, 4, 4));
    DrawAlphaFill(bmp.Canvas()->Handle(), Rect(1, 1, 3, 3), clRed, c.Alpha);
    EXPECT_TRUE(Near(bmp.Canvas()->Pixel(1, 1), c.R, c.G, c.B, 1));
    EXPECT_TRUE(Near(bmp.Canvas()->Pixel(2, 2), c.R, c.G, c.B, 1));
    EXPECT_TRUE(Near(bmp.Canvas()->Pixel(3, 3), 255, 255, 255));
  }
}

TEST(Drawing, Frame3DDrawsInsideAndShrinksPerStep) {
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(10, 8);
  TCanvas* canvas = bmp.Canvas();
  canvas->FillRect(Rect(0, 0, 10, 8));
  canvas->Brush()->SetColor(clYellow);  // must not be what the frame draws with
  TRect r(1, 1, 9, 7);
  Frame3D(canvas, r, clRed, clBlue, 2);
  EXPECT_EQ(r, Rect(3, 3, 7, 5));

  struct Probe {
    int X, Y;
    TColor Color;
  };
  const Probe probes[] = {
      {1, 1, clRed},  {5, 1, clRed},  {1, 4, clRed},  {7, 1, clRed},   // outer top and left
      {8, 1, clBlue}, {8, 4, clBlue}, {1, 6, clBlue}, {5, 6, clBlue},  // outer right and bottom, corners
      {2, 2, clRed},  {6, 2, clRed},  {2, 4, clRed},                   // inner ring
      {7, 2, clBlue}, {7, 5, clBlue}, {2, 5, clBlue},
      {3, 3, clWhite}, {6, 4, clWhite}, {0, 0, clWhite}, {9, 7, clWhite},  // inside and outside
  };
  for (const Probe& p : probes)
    EXPECT_EQ(canvas->Pixel(p.X, p.Y), p.Color) << "at " << p.X << "," << p.Y;
}

// ---- Fonts, pens, brushes, pictures -------------------------------------------------------

TEST(Font, SizeAndHeightConvertThroughPixelsPerInch) {
  struct Case {
    int PPI, Size, Height;
  };
  for (Case c : {Case{96, 8, -11}, Case{96, 9, -12}, Case{96, 10, -13}, Case{144, 8, -16}, Case{144, 9, -18},
                 Case{120, 9, -15}}) {
    TFont font;
    font.SetPixelsPerInch(c.PPI);
    font.SetSize(c.Size);
    EXPECT_EQ(font.Height(), c.Height) << c.PPI << " ppi, " << c.Size << " pt";
    EXPECT_EQ(font.Size(), c.Size) << c.PPI << " ppi";
  }
  TFont font;
  EXPECT_EQ(font.Name(), L"Tahoma");
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Color(), clWindowText);
  font.SetPixelsPerInch(144);  // keeps the height
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 6);  // 5.5 rounds away from zero
}

TEST(Font, OnChangeFiresOncePerRealChangeAndHandleFollows) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &font);
    ++changes;
  };
  HFONT first = font.Handle();
  font.SetName(L"Tahoma");
  font.SetHeight(-11);
  font.SetSize(8);
  font.SetStyle({});
  font.SetPixelsPerInch(120);
  font.SetPixelsPerInch(96);
  EXPECT_EQ(changes, 0);

  font.SetColor(clRed);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(font.Handle(), first);  // colour is not part of the HFONT

  font.SetStyle({fsBold, fsItalic});
  font.SetStyle({fsBold, fsItalic});
  EXPECT_EQ(changes, 2);
  LOGFONTW lf{};
  ASSERT_NE(::GetObjectW(font.Handle(), sizeof(lf), &lf), 0);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"Tahoma");

  TFont other;
  other.Assign(&font);
  font.Assign(&other);  // identical: nothing to tell
  EXPECT_EQ(changes, 2);
  other.SetHeight(-20);
  other.SetName(L"Courier New");
  font.Assign(&other);  // two differences, one notice
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(font.Name(), L"Courier New");
  EXPECT_THROW(font.Assign(nullptr), EConvertError);
}

TEST(PenAndBrush, ChangesNotifyOnceAndRemakeTheHandle) {
  TPen pen;
  TBrush brush;
  int changes = 0;
  pen.OnChange = [&](TObject*) { ++changes; };
  brush.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(pen.Color(), clBlack);
  EXPECT_EQ(brush.Color(), clWhite);
  pen.Handle();
  pen.SetColor(clBlack);
  pen.SetWidth(1);
  brush.SetStyle(bsSolid);
  EXPECT_EQ(changes, 0);

  pen.SetColor(clRed);
  pen.SetWidth(3);
  brush.SetColor(clBlue);
  brush.SetStyle(bsClear);
  EXPECT_EQ(changes, 4);
  LOGPEN lp{};
  ASSERT_NE(::GetObjectW(pen.Handle(), sizeof(lp), &lp), 0);
  EXPECT_EQ(lp.lopnColor, RGB(255, 0, 0));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  LOGBRUSH lb{};
  ASSERT_NE(::GetObjectW(brush.Handle(), sizeof(lb), &lb), 0);
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_NULL));
}

TEST(Picture, HoldsACopyAndRelaysChanges) {
  TBitmap mine;
  mine.SetSize(3, 2);
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.SetGraphic(&mine);
  EXPECT_EQ(changes, 1);
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_NE(picture.Graphic(), &mine);  // the caller keeps its own
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Height(), 2);
  EXPECT_EQ(picture.Bitmap(), picture.Graphic());

  picture.Bitmap()->SetSize(5, 5);  // a change inside the held graphic
  EXPECT_EQ(changes, 2);
  picture.Bitmap()->Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(changes, 3);

  TBitmap out;
  out.Assign(picture.Graphic());
  EXPECT_EQ(out.Width(), 5);
  picture.Assign(nullptr);
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.Graphic(), nullptr);
  EXPECT_EQ(mine.Width(), 3);
}

// ---- GDI objects are never leaked ---------------------------------------------------------

// GDI objects alive in this process. Wine answers GetGuiResources with "not implemented";
// there a handle's low word alone names a live table entry, so the table can be walked.

// A paint that fails halfway, with objects selected, canvases bound and bitmaps alive.
void PaintAndThrow(HDC Target, int I) {
  TBitmap buffer;
  buffer.SetPixelFormat(pf32bit);
  buffer.SetSize(12, 12);
  TCanvas* canvas = buffer.Canvas();
  canvas->Font()->SetSize(9 + I % 3);
  canvas->TextOut(0, 0, L"W");
  TCanvas borrowed;
  borrowed.SetHandle(Target);
  borrowed.Brush()->SetColor(clGray);
  borrowed.Rectangle(0, 0, 5, 5);
  borrowed.SetHandle(canvas->Handle());  // re-bound mid-paint
  TDCStateSaver saver(Target);
  TFontHandle font(::CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  TSelectObject select(Target, font.Get());
  borrowed.Font()->SetColor(clRed);
  borrowed.TextOut(1, 1, L"x");
  throw std::runtime_error("paint failed");
}

void DrawEverything(int I) {
  TFont font;
  font.SetSize(8 + I % 5);
  font.SetStyle(I % 2 != 0 ? TFontStyles{fsBold} : TFontStyles{});
  font.Handle();
  TPen pen;
  pen.SetWidth(1 + I % 3);
  pen.Handle();
  TBrush brush;
  brush.Handle();
  brush.SetStyle(I % 2 != 0 ? bsClear : bsCross);
  brush.Handle();

  auto bmp = std::make_unique<TBitmap>();
  bmp->SetPixelFormat(pf32bit);
  bmp->SetSize(16, 16);
  TCanvas* c = bmp->Canvas();
  c->SetFont(&font);
  c->SetPen(&pen);
  c->SetBrush(&brush);
  c->Rectangle(0, 0, 10, 10);
  c->Ellipse(2, 2, 12, 12);
  c->TextOut(1, 1, L"Ab");
  c->Font()->SetSize(11);  // while selected
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clBlue);
  TRect r(0, 0, 16, 16);
  c->TextRect(r, L"Text", {tfCenter, tfSingleLine, tfVerticalCenter});
  c->TextWidth(L"measure");
  Frame3D(c, r, clWhite, clGray, 2);
  DrawAlphaFill(c->Handle(), r, clBlue, static_cast<uint8_t>(I));
  bmp->SetAlphaFormat(I % 2 != 0 ? afDefined : afPremultiplied);

  TBitmap dest(20, 20);
  dest.Canvas()->Draw(0, 0, bmp.get());
  dest.Canvas()->StretchDraw(Rect(0, 0, 20, 10), bmp.get());
  bmp->SetSize(8, 8);  // re-created while its canvas is bound
  bmp->SetPixelFormat(pf24bit);
  bmp->SetTransparent(true);
  dest.Canvas()->Draw(2, 2, bmp.get());
  dest.Canvas()->CopyRect(Rect(0, 0, 8, 8), bmp->Canvas(), Rect(0, 0, 8, 8));

  std::stringstream stream;
  bmp->SaveToStream(stream);
  TPicture picture;
  picture.SetGraphic(bmp.get());
  picture.Bitmap()->LoadFromStream(stream);
  picture.Bitmap()->Canvas()->FillRect(Rect(0, 0, 2, 2));
  bmp.reset();

  TForeignDC foreign;
  try {
    PaintAndThrow(foreign.Get(), I);
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(foreign.Untouched());
}

TEST(Resources, ThousandsOfPaintsLeakNoGdiObjects) {
  DrawEverything(0);  // first use creates lasting system objects (stock fonts and such)
  DrawEverything(1);
  int objects = TObject::AliveCount();
  int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 2000; ++i) {
    DrawEverything(i);
    if (HasFailure()) break;
  }
  EXPECT_LE(GdiObjectCount() - before, 8);
  EXPECT_EQ(TObject::AliveCount(), objects);
}

}  // namespace
