// The classic panel and label: border pixels and the client area they leave, the faces of
// the style kinds, caption placement and the reuse of cached glow bitmaps, the label's auto
// size and ellipses, dragging the form, the accelerator, layouts, and handle hygiene.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "framework/Streaming.h"
#include "framework/Themes.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tests/support/TestControls.h"

namespace {

class TProbePanel : public TkaPanel {
  KA_CLASS(TProbePanel, TkaPanel)
 public:
  using TkaPanel::TkaPanel;
  int SizeChanges = 0;
  TBitmap* Glow() const { return FGlowBuffer; }
  TBitmap* Background() const { return ParentBGBuffer; }
  bool Transparent() const { return TransparentBackground(); }
  void SetPopupMode(bool Value) { FPopupMode = Value; }

 protected:
  void SizeChanged() override { ++SizeChanges; }
};

class TProbeLabel : public TkaLabel {
  KA_CLASS(TProbeLabel, TkaLabel)
 public:
  using TkaLabel::TkaLabel;
  int BGChanges = 0;
  TBitmap* Glow() const { return FGlowBuffer; }

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_PARENTBGCHANGED) ++BGChanges;
    inherited::Dispatch(Message);
  }
};

constexpr TColor kUnpainted = clFuchsia;

struct TScene {
  TCustomForm* Form;

  TScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(100, 100, 360, 240);
    Form->SetColor(clWhite);
    Form->Show();
    PumpPending();
  }
  ~TScene() { Form->Free(); }

  template <class T>
  T* Add(TWinControl* Parent, const TRect& Bounds) {
    T* c = new T(Form);
    c->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    c->SetParent(Parent);
    return c;
  }
};

// What the control shows, painted as WM_PAINT would into a bitmap that starts kUnpainted.
std::unique_ptr<TBitmap> Snapshot(TWinControl* Control) {
  auto b = std::make_unique<TBitmap>(Control->Width(), Control->Height());
  b->Canvas()->Brush()->SetColor(kUnpainted);
  b->Canvas()->FillRect(Rect(0, 0, b->Width(), b->Height()));
  Control->PaintTo(b->Canvas()->Handle(), 0, 0);
  return b;
}

TColor PixelAt(TBitmap* B, int X, int Y) { return B->Canvas()->Pixel(X, Y); }

// The bounds of the dark (text) pixels; empty when there are none.
TRect InkBox(TBitmap* B) {
  TRect box(B->Width(), B->Height(), -1, -1);
  for (int y = 0; y < B->Height(); ++y)
    for (int x = 0; x < B->Width(); ++x) {
      TColor c = PixelAt(B, x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= 200) continue;
      box = TRect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1));
    }
  return box.Right < 0 ? TRect() : box;
}

TRect MeasureText(TFont* Font, const String& Text, UINT Flags, int Width = 0) {
  TBitmap b(1, 1);
  b.Canvas()->SetFont(Font);
  TRect r(0, 0, std::max(Width, 0), 0);
  ::DrawTextW(b.Canvas()->Handle(), Text.c_str(), static_cast<int>(Text.size()), r.AsRECT(), Flags | DT_CALCRECT);
  return r;
}

using TClassicStyle = TClassicControlsScope;

// ---- Panel ----------------------------------------------------------------------------------

TEST(PanelBorder, EachStyleDrawsItsLinesAndShrinksTheClientArea) {
  // Probes of a 40 x 30 panel; each case lists what every probe shows: L(ight), S(hadow) or
  // F(ill).
  const TPoint probes[] = {{0, 0},   {1, 1},   {20, 0}, {20, 1},  {20, 29}, {20, 28}, {0, 10}, {1, 10}, {39, 10},
                           {38, 10}, {39, 29}, {39, 0}, {10, 14}, {10, 15}, {19, 5},  {20, 5}, {10, 5}};
  struct TCase {
    TkaPanelBorderStyle Style;
    const char* Pixels;
    TRect Inset;  // client area inset: left, top, right, bottom
  };
  const TCase cases[] = {
      {kapbsNone, "FFFFFFFFFFFFFFFFF", {0, 0, 0, 0}},
      {kapbsFlat, "SFSFSFSFSFSSFFFFF", {1, 1, 1, 1}},
      {kapbsRaised, "LFLFSFLFSFSSFFFFF", {1, 1, 1, 1}},
      {kapbsLowered, "SFSFLFSFLFLLFFFFF", {1, 1, 1, 1}},
      {kapbsLoweredBevel, "SLSLLSSLLSLLFFFFF", {2, 2, 2, 2}},
      {kapbsRaisedBevel, "LSLSSLLSSLSSFFFFF", {2, 2, 2, 2}},
      {kapbsTopBevel, "SLSLFFFFFFFSFFFFF", {0, 2, 0, 0}},
      {kapbsBottomBevel, "FFFFLSFFFFLFFFFFF", {0, 0, 0, 2}},
      {kapbsTopLightLine, "LFLFFFFFFFFLFFFFF", {0, 1, 0, 0}},
      {kapbsBottomLightLine, "FFFFLFFFFFLFFFFFF", {0, 0, 0, 1}},
      {kapbsTopShadowLine, "SFSFFFFFFFFSFFFFF", {0, 1, 0, 0}},
      {kapbsBottomShadowLine, "FFFFSFFFFFSFFFFFF", {0, 0, 0, 1}},
      {kapbsLeftBevel, "SLFFFFSLFFFFFFFFF", {2, 0, 0, 0}},
      {kapbsRightBevel, "FFFFFFFFLSLLFFFFF", {0, 0, 2, 0}},
      {kapbsLeftLightLine, "LFFFFFLFFFFFFFFFF", {1, 0, 0, 0}},
      {kapbsRightLightLine, "FFFFFFFFLFLLFFFFF", {0, 0, 1, 0}},
      {kapbsLeftShadowLine, "SFFFFFSFFFFFFFFFF", {1, 0, 0, 0}},
      {kapbsRightShadowLine, "FFFFFFFFSFSSFFFFF", {0, 0, 1, 0}},
      {kapbsHorzCenterBevel, "FFFFFFFFFFFFSLFFF", {0, 0, 0, 0}},
      {kapbsVertCenterBevel, "FFLLLLFFFFFFFFSLF", {0, 0, 0, 0}},
  };
  TScene s;
  auto* p = s.Add<TProbePanel>(s.Form, Rect(10, 10, 50, 40));
  p->SetColor(clLime);
  p->SetLightBorderColor(clRed);
  p->SetShadowBorderColor(clBlue);
  PumpPending();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Pixels);
    p->SetBorderStyle(c.Style);
    auto shot = Snapshot(p);
    for (size_t i = 0; i < std::size(probes); ++i) {
      const TColor want = c.Pixels[i] == 'L' ? clRed : c.Pixels[i] == 'S' ? clBlue : clLime;
      EXPECT_EQ(PixelAt(shot.get(), probes[i].X, probes[i].Y), want) << "probe " << i;
    }
  }
  // The client area, seen by an aligned child, follows the border.
  auto* child = s.Add<TTestPanel>(p, Rect(0, 0, 5, 5));
  child->SetAlign(alClient);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Pixels);
    p->SetBorderStyle(c.Style);
    EXPECT_EQ(child->BoundsRect(), Rect(c.Inset.Left, c.Inset.Top, 40 - c.Inset.Right, 30 - c.Inset.Bottom));
  }
}

// Runs with visual styles as the system has them and with classic drawing.
class PanelStyleKind : public ::testing::TestWithParam<bool> {};

TEST_P(PanelStyleKind, EachKindPaintsItsFaceAndKeepsItsClientArea) {
  const bool classic = GetParam();
  std::unique_ptr<TClassicStyle> style;
  if (classic) style = std::make_unique<TClassicStyle>();
  struct TCase {
    const char* Name;
    TkaPanelStyleKind Kind;
    bool PopupMode;
    bool ThemeFree;  // the face does not depend on visual styles
    TColor TopLeft, Inner, BottomRight, InnerBottomRight, Centre;
    int RaisedInset;  // client inset with a raised border
  };
  const TCase cases[] = {
      {"panel", kapsPanel, false, true, clLime, clLime, clLime, clLime, clLime, 1},
      {"tool bar", kapsToolBar, false, false, clBtnFace, clBtnFace, clBtnFace, clBtnFace, clBtnFace, 0},
      {"header", kapsHeader, false, false, clBtnHighlight, clBtnFace, clBtnShadow, clBtnFace, clBtnFace, 0},
      {"form background", kapsFormBackground, false, true, clBtnFace, clBtnFace, clBtnFace, clBtnFace, clBtnFace,
       1},
      {"transparent: the parent shows", kapsTransparent, false, true, clYellow, clYellow, clYellow, clYellow,
       clYellow, 1},
      {"empty: nothing is painted", kapsEmpty, false, true, kUnpainted, kUnpainted, kUnpainted, kUnpainted, kUnpainted,
       0},
      {"edit", kapsEdit, false, false, clBtnShadow, cl3DDkShadow, clBtnHighlight, cl3DLight, clWindow, 2},
      {"edit in a pop-up", kapsEdit, true, true, clWindow, clWindow, clWindow, clWindow, clWindow, 2},
      {"tab sheet: no pane edge shows", kapsTabSheet, false, false, clBtnFace, clBtnFace, clBtnFace, clBtnFace,
       clBtnFace, 0},
  };
  for (const TCase& c : cases) {
    if (!classic && !c.ThemeFree) continue;
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* parent = s.Add<TkaPanel>(s.Form, Rect(10, 10, 210, 130));
    parent->SetColor(clYellow);
    auto* p = s.Add<TProbePanel>(parent, Rect(20, 20, 80, 60));
    p->SetColor(clLime);
    p->SetPopupMode(c.PopupMode);
    p->SetStyleKind(c.Kind);
    PumpPending();
    auto shot = Snapshot(p);
    EXPECT_EQ(PixelAt(shot.get(), 0, 0), ColorToRGB(c.TopLeft));
    EXPECT_EQ(PixelAt(shot.get(), 1, 1), ColorToRGB(c.Inner));
    EXPECT_EQ(PixelAt(shot.get(), 59, 39), ColorToRGB(c.BottomRight));
    EXPECT_EQ(PixelAt(shot.get(), 58, 38), ColorToRGB(c.InnerBottomRight));
    EXPECT_EQ(PixelAt(shot.get(), 30, 20), ColorToRGB(c.Centre));

    auto* child = s.Add<TTestPanel>(p, Rect(0, 0, 5, 5));
    child->SetAlign(alClient);
    p->SetBorderStyle(kapbsRaised);
    const int d = c.RaisedInset;
    EXPECT_EQ(child->BoundsRect(), Rect(d, d, 60 - d, 40 - d));
  }
}

INSTANTIATE_TEST_SUITE_P(ThemedAndClassic, PanelStyleKind, ::testing::Values(false, true),
                         [](const auto& Info) { return std::string(Info.param ? "Classic" : "Themed"); });

TEST(PanelTransparency, TransparentKindAndBackLeavesNoCachedBackground) {
  TScene s;
  auto* p = s.Add<TProbePanel>(s.Form, Rect(10, 10, 70, 50));
  PumpPending();
  p->SetStyleKind(kapsTransparent);
  EXPECT_TRUE(p->Transparent());
  EXPECT_EQ(p->Background()->Width(), 60);
  EXPECT_EQ(p->Background()->Height(), 40);
  p->SetStyleKind(kapsPanel);
  EXPECT_FALSE(p->Transparent());
  EXPECT_TRUE(p->Background()->Width() == 0 && p->Background()->Height() == 0);
}

TEST(PanelTransparency, ChangingTheKindRealignsTheChildren) {
  TScene s;
  auto* p = s.Add<TProbePanel>(s.Form, Rect(10, 10, 70, 50));
  p->SetBorderStyle(kapbsRaised);
  auto* child = s.Add<TTestPanel>(p, Rect(0, 0, 5, 5));
  child->SetAlign(alClient);
  const std::pair<TkaPanelStyleKind, int> kinds[] = {{kapsEdit, 2}, {kapsToolBar, 0}, {kapsTransparent, 1}};
  for (const auto& [kind, inset] : kinds) {
    p->SetStyleKind(kind);
    EXPECT_EQ(child->BoundsRect(), Rect(inset, inset, 60 - inset, 40 - inset)) << kind;
  }
}

TEST(PanelCaption, PlacementFollowsAlignmentWithAndWithoutGlow) {
  // A 200 x 60 panel shows its caption in (3, 3, 197, 57) like DrawText would. With glow
  // (size 7, offset 0) the caption's rectangle is the text plus 7 pixels placed by the
  // alignment, the text centred in it: 3 pixels further in on the left, 4 on the right.
  struct TCase {
    TAlignment Alignment;
    bool Glow;
    int ShiftX;  // from where DrawText puts it
    int Tolerance;
  };
  const TCase cases[] = {
      {taLeftJustify, false, 0, 0}, {taRightJustify, false, 0, 0}, {taCenter, false, 0, 0},
      {taLeftJustify, true, 3, 0},  {taRightJustify, true, -4, 0}, {taCenter, true, 0, 1},
  };
  const UINT alignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "alignment " << c.Alignment << (c.Glow ? " with glow" : ""));
    TScene s;
    auto* p = s.Add<TProbePanel>(s.Form, Rect(10, 10, 210, 70));
    p->SetColor(clWhite);
    p->Font()->SetColor(clBlack);
    p->SetCaption(L"Caption");
    p->SetAlignment(c.Alignment);
    p->CaptionGlowEffect()->SetColor(clYellow);
    p->CaptionGlowEffect()->SetEnabled(c.Glow);
    EXPECT_TRUE(InkBox(Snapshot(p).get()).IsEmpty()) << "hidden until ShowCaption";
    p->SetShowCaption(true);
    PumpPending();
    const TRect ink = InkBox(Snapshot(p).get());

    TBitmap reference(200, 60);
    reference.Canvas()->Brush()->SetColor(clWhite);
    reference.Canvas()->FillRect(Rect(0, 0, 200, 60));
    reference.Canvas()->SetFont(p->Font());
    reference.Canvas()->Brush()->SetStyle(bsClear);
    TRect r(3, 3, 197, 57);
    ::DrawTextW(reference.Canvas()->Handle(), L"Caption", 7, r.AsRECT(),
                alignFlags[c.Alignment] | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    TRect want = InkBox(&reference);
    want.Offset(c.ShiftX, 0);
    ASSERT_FALSE(want.IsEmpty());
    EXPECT_NEAR(ink.Left, want.Left, c.Tolerance);
    EXPECT_EQ(ink.Width(), want.Width());
    EXPECT_NEAR(ink.Top, want.Top, c.Glow ? 1 : 0);
    EXPECT_EQ(ink.Height(), want.Height());
  }
}

TEST(PanelCaption, WrappedCaptionIsCentredVertically) {
  TScene s;
  auto* p = s.Add<TProbePanel>(s.Form, Rect(10, 10, 110, 110));
  p->SetColor(clWhite);
  p->Font()->SetColor(clBlack);
  p->SetCaption(L"one two three four five six");
  p->SetWordWrap(true);
  p->SetShowCaption(true);
  PumpPending();
  const TRect ink = InkBox(Snapshot(p).get());
  const int lineHeight = MeasureText(p->Font(), L"X", 0).Height();
  EXPECT_GT(ink.Height(), lineHeight) << "wraps";
  EXPECT_LE(ink.Right, 97);
  EXPECT_NEAR(ink.Top, 100 - ink.Bottom, 4);
}

TEST(PanelCaption, SolidWallpaperHidesContentAndCaption) {
  TScene s;
  auto* images = new TkaImageCollection(s.Form);
  TBitmap* bitmap = images->Images()->Add()->Bitmap();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(8, 8);
  bitmap->Canvas()->Brush()->SetColor(clAqua);
  bitmap->Canvas()->FillRect(Rect(0, 0, 8, 8));
  images->Images()->Items(0)->SetDrawStyle(idsStretch);
  auto* p = s.Add<TProbePanel>(s.Form, Rect(10, 10, 110, 50));
  p->SetCaption(L"Caption");
  p->SetShowCaption(true);
  p->SetBorderStyle(kapbsFlat);
  TRect painted;
  int paints = 0;
  p->OnPanelPaint = [&](TObject*, TCanvas*, const TRect& R) {
    ++paints;
    painted = R;
  };
  Snapshot(p);
  EXPECT_GT(paints, 0);
  EXPECT_EQ(painted, Rect(2, 2, 98, 38)) << "inside the border";

  p->SetWallpapers(images);
  p->SetWallpaperIndex(0);
  paints = 0;
  auto shot = Snapshot(p);
  EXPECT_EQ(paints, 0);
  EXPECT_TRUE(InkBox(shot.get()).IsEmpty());
  EXPECT_EQ(PixelAt(shot.get(), 50, 20), clAqua);
  EXPECT_EQ(PixelAt(shot.get(), 0, 0), ColorToRGB(clBtnShadow)) << "the border stays";

  images->Free();  // the panel forgets it
  EXPECT_EQ(p->Wallpapers(), nullptr);
  EXPECT_FALSE(InkBox(Snapshot(p).get()).IsEmpty());
}

TEST(PanelCaption, GlowBitmapIsReusedUntilWhatItShowsChanges) {
  struct TCase {
    const char* Name;
    std::function<void(TProbePanel*)> Change;
    bool Rebuilds;
  };
  const TCase cases[] = {
      {"cached repaint", [](TProbePanel*) {}, false},
      {"panel colour", [](TProbePanel* p) { p->SetColor(clAqua); }, false},
      {"panel height", [](TProbePanel* p) { p->SetHeight(90); }, false},
      {"border", [](TProbePanel* p) { p->SetBorderStyle(kapbsRaised); }, false},
      {"glow size", [](TProbePanel* p) { p->CaptionGlowEffect()->SetGlowSize(3); }, true},
      {"glow colour", [](TProbePanel* p) { p->CaptionGlowEffect()->SetColor(clRed); }, true},
      {"caption", [](TProbePanel* p) { p->SetCaption(L"Another caption that wraps"); }, true},
      {"font style", [](TProbePanel* p) { p->Font()->SetStyle(TFontStyles{fsBold}); }, true},
      {"narrower panel rewraps the caption", [](TProbePanel* p) { p->SetWidth(90); }, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* p = s.Add<TProbePanel>(s.Form, Rect(10, 10, 190, 70));
    p->SetCaption(L"A glowing caption that wraps");
    p->SetWordWrap(true);
    p->SetShowCaption(true);
    p->CaptionGlowEffect()->SetEnabled(true);
    p->RePaintControl();
    TBitmap* glow = p->Glow();
    ASSERT_NE(glow, nullptr);
    constexpr uint32_t kMark = 0x12345678;
    *static_cast<uint32_t*>(glow->ScanLine(0)) = kMark;
    c.Change(p);
    p->RePaintControl();
    ASSERT_NE(p->Glow(), nullptr);
    const bool reused = p->Glow() == glow && *static_cast<uint32_t*>(p->Glow()->ScanLine(0)) == kMark;
    EXPECT_EQ(reused, !c.Rebuilds);
  }
}

TEST(PanelResize, ChildrenHearOfAResizeOnlyWhenTheyShowAStretchedImage) {
  struct TCase {
    const char* Name;
    TkaImageDrawStyle Style;  // of the wallpaper
    bool StorePaintBuffer;
    int SizeChanges, ChildNotices;
  };
  const TCase cases[] = {
      {"placed wallpaper", idsTopLeft, false, 1, 0},
      {"stretched wallpaper", idsStretch, false, 0, 1},
      {"stored paint buffer", idsTopLeft, true, 0, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* images = new TkaImageCollection(s.Form);
    TkaImageCollectionItem* item = images->Images()->Add();
    item->Bitmap()->SetPixelFormat(pf32bit);  // see-through: not solid, so the panel still paints
    item->Bitmap()->SetSize(4, 4);
    item->SetDrawStyle(c.Style);
    auto* p = s.Add<TProbePanel>(s.Form, Rect(10, 10, 110, 110));
    p->SetWallpapers(images);
    p->SetWallpaperIndex(0);
    p->SetStorePaintBuffer(c.StorePaintBuffer);
    auto* child = s.Add<TProbeLabel>(p, Rect(5, 5, 30, 20));
    PumpPending();
    p->SizeChanges = 0;
    child->BGChanges = 0;
    p->SetBounds(10, 10, 150, 120);
    EXPECT_EQ(p->SizeChanges, c.SizeChanges);
    EXPECT_EQ(child->BGChanges, c.ChildNotices);
  }
}

// ---- Label ----------------------------------------------------------------------------------

TEST(LabelAutoSize, BoundsFollowTheTextAndStayPutWhenAdjustedAgain) {
  struct TCase {
    const char* Name;
    String Caption;
    TAlignment Alignment;
    int WrapWidth;  // > 0: word wrap in a label this wide
    bool Glow;
    String Measured;  // the text the size comes from
  };
  const TCase cases[] = {
      {"plain text", L"Auto sized", taLeftJustify, 0, false, L"Auto sized"},
      {"empty caption is one line high", L"", taLeftJustify, 0, false, L" "},
      {"a lone accelerator mark measures as a space", L"&", taLeftJustify, 0, false, L" "},
      {"accelerator mark takes no room", L"&Name", taLeftJustify, 0, false, L"Name"},
      {"right aligned keeps its right edge", L"Right edge text", taRightJustify, 0, false, L"Right edge text"},
      {"centred keeps its left edge", L"Centre", taCenter, 0, false, L"Centre"},
      {"glow adds twice its size", L"Glow", taLeftJustify, 0, true, L"Glow"},
      {"right aligned with glow", L"Glow", taRightJustify, 0, true, L"Glow"},
      {"word wrap", L"one two three four five", taLeftJustify, 60, false, L"one two three four five"},
      {"word wrap with glow", L"one two three four five", taLeftJustify, 60 + 14, true, L"one two three four five"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* l = s.Add<TProbeLabel>(s.Form, Rect(50, 10, 115, 27));
    l->SetAutoSize(false);
    if (c.WrapWidth > 0) {
      l->SetWidth(c.WrapWidth);
      l->SetWordWrap(true);
    }
    l->GlowEffect()->SetEnabled(c.Glow);
    l->SetAlignment(c.Alignment);
    l->SetCaption(c.Caption);
    const int right = l->Left() + l->Width();
    l->SetAutoSize(true);
    const int grow = c.Glow ? 14 : 0;
    const UINT flags = DT_EXPANDTABS | (c.WrapWidth > 0 ? DT_WORDBREAK : 0);
    const TRect text = MeasureText(l->Font(), c.Measured, flags, c.WrapWidth - grow);
    EXPECT_EQ(l->Width(), text.Width() + grow);
    EXPECT_EQ(l->Height(), text.Height() + grow);
    EXPECT_EQ(c.Alignment == taRightJustify ? l->Left() + l->Width() : l->Left(),
              c.Alignment == taRightJustify ? right : 50);
    const TRect bounds = l->BoundsRect();
    l->SetAutoSize(false);
    l->SetAutoSize(true);
    EXPECT_EQ(l->BoundsRect(), bounds) << "a second adjustment changes nothing";
  }
}

TEST(LabelAutoSize, AlignedToFillItsParentItNeverResizes) {
  TScene s;
  auto* p = s.Add<TkaPanel>(s.Form, Rect(10, 10, 110, 60));
  for (TAlign align : {alTop, alBottom, alClient}) {
    auto* l = s.Add<TProbeLabel>(p, Rect(0, 0, 100, 30));
    l->SetAlign(align);
    const TRect bounds = l->BoundsRect();
    l->SetCaption(L"A caption much wider than the panel is");
    EXPECT_EQ(l->BoundsRect(), bounds) << align;
    l->Free();
  }
}

TEST(LabelDrawing, GlowedTextSitsGlowSizeInFromTheEdges) {
  TScene s;
  auto* plain = s.Add<TProbeLabel>(s.Form, Rect(10, 10, 20, 20));
  auto* glowing = s.Add<TProbeLabel>(s.Form, Rect(10, 60, 20, 20));
  for (TProbeLabel* l : {plain, glowing}) {
    l->Font()->SetColor(clBlack);
    l->SetCaption(L"Glowing");
  }
  glowing->GlowEffect()->SetColor(clYellow);
  glowing->GlowEffect()->SetEnabled(true);
  PumpPending();
  EXPECT_EQ(glowing->Width(), plain->Width() + 14);
  EXPECT_EQ(glowing->Height(), plain->Height() + 14);
  TRect want = InkBox(Snapshot(plain).get());
  want.Offset(7, 7);
  EXPECT_EQ(InkBox(Snapshot(glowing).get()), want);
}

TEST(LabelDrawing, EllipsesApplyOnlyWithoutAutoSize) {
  struct TCase {
    const char* Name;
    bool AutoSize;
    bool PathEllipsis;
    UINT Expected;  // ellipsis flag of the reference drawing
  };
  const TCase cases[] = {
      {"end ellipsis", false, false, DT_END_ELLIPSIS},
      {"path ellipsis", false, true, DT_PATH_ELLIPSIS},
      {"auto size ignores it", true, false, 0},
  };
  const String text = L"C:\\Folder\\Another folder\\File name.txt";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* p = s.Add<TkaPanel>(s.Form, Rect(10, 10, 110, 50));
    p->SetColor(clWhite);
    auto* l = s.Add<TProbeLabel>(p, Rect(0, 0, 100, 20));
    l->SetAutoSize(c.AutoSize);
    l->SetAlign(alTop);  // keeps the width while auto size is on
    l->SetShowEllipsis(true);
    l->SetPathEllipsis(c.PathEllipsis);
    l->SetCaption(text);
    PumpPending();
    auto shot = Snapshot(l);
    TBitmap want(l->Width(), l->Height());
    want.Canvas()->Brush()->SetColor(clWhite);
    want.Canvas()->FillRect(Rect(0, 0, want.Width(), want.Height()));
    want.Canvas()->SetFont(l->Font());
    want.Canvas()->Brush()->SetStyle(bsClear);
    TRect r(0, 0, want.Width(), want.Height());
    ::DrawTextW(want.Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), r.AsRECT(),
                DT_EXPANDTABS | DT_LEFT | c.Expected);
    int differing = 0;
    for (int y = 0; y < want.Height(); ++y)
      for (int x = 0; x < want.Width(); ++x) differing += PixelAt(shot.get(), x, y) != PixelAt(&want, x, y);
    EXPECT_EQ(differing, 0);
  }
}

TEST(LabelDrawing, GlowBitmapIsReusedUntilWhatItShowsChanges) {
  struct TCase {
    const char* Name;
    std::function<void(TProbeLabel*)> Change;
    bool Rebuilds;
  };
  const TCase cases[] = {
      {"cached repaint", [](TProbeLabel*) {}, false},
      {"font colour", [](TProbeLabel* l) { l->Font()->SetColor(clRed); }, false},
      {"caption", [](TProbeLabel* l) { l->SetCaption(L"Other text"); }, true},
      {"alignment", [](TProbeLabel* l) { l->SetAlignment(taCenter); }, true},
      {"vertical alignment", [](TProbeLabel* l) { l->SetVertAlignment(kavtaCenter); }, true},
      {"width", [](TProbeLabel* l) { l->SetWidth(150); }, true},
      {"glow offset", [](TProbeLabel* l) { l->GlowEffect()->SetOffset(2); }, true},
      {"ellipsis", [](TProbeLabel* l) { l->SetShowEllipsis(true); }, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* l = s.Add<TProbeLabel>(s.Form, Rect(10, 10, 130, 50));
    l->SetAutoSize(false);
    l->SetCaption(L"Glow label");
    l->GlowEffect()->SetEnabled(true);
    l->RePaintControl();
    TBitmap* glow = l->Glow();
    ASSERT_NE(glow, nullptr);
    constexpr uint32_t kMark = 0x12345678;
    *static_cast<uint32_t*>(glow->ScanLine(0)) = kMark;
    c.Change(l);
    l->RePaintControl();
    ASSERT_NE(l->Glow(), nullptr);
    const bool reused = l->Glow() == glow && *static_cast<uint32_t*>(l->Glow()->ScanLine(0)) == kMark;
    EXPECT_EQ(reused, !c.Rebuilds);
  }
}

TEST(LabelDrawing, DisabledLabelWithoutCustomStyleKeepsItsFontColour) {
  TScene s;
  auto* l = s.Add<TProbeLabel>(s.Form, Rect(10, 10, 20, 20));
  l->Font()->SetColor(clRed);
  l->SetCaption(L"Disabled");
  l->SetEnabled(false);
  PumpPending();
  auto shot = Snapshot(l);
  int red = 0;
  for (int y = 0; y < shot->Height(); ++y)
    for (int x = 0; x < shot->Width(); ++x) red += PixelAt(shot.get(), x, y) == clRed;
  EXPECT_GT(red, 10);
}

// ---- Form dragging and accelerator -----------------------------------------------------------

TEST(FormDrag, HoldingTheLeftButtonMovesTheFormByTheCursorTravel) {
  struct TCase {
    const char* Name;
    bool OnLabel;
    bool DragForm;
    bool DoubleClick;
    bool Maximized;
    bool Moves;
  };
  const TCase cases[] = {
      {"panel", false, true, false, false, true},
      {"label", true, true, false, false, true},
      {"label without DragForm", true, false, false, false, false},
      {"panel: a double click is no drag", false, true, true, false, false},
      {"label: a double click is no drag", true, true, true, false, false},
      {"label on a maximized form", true, true, false, true, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* panel = s.Add<TkaPanel>(s.Form, Rect(10, 10, 110, 50));
    auto* label = s.Add<TkaLabel>(s.Form, Rect(10, 60, 75, 77));
    label->SetCaption(L"Drag me");
    panel->SetDragForm(c.DragForm);
    label->SetDragForm(c.DragForm);
    TWinControl* control = c.OnLabel ? static_cast<TWinControl*>(label) : panel;
    if (c.Maximized) {
      s.Form->SetWindowState(wsMaximized);
      PumpPending();
      ASSERT_EQ(s.Form->WindowState(), wsMaximized);
    }
    const TPoint start(s.Form->Left(), s.Form->Top());
    const TPoint p0 = control->ClientToScreen(TPoint(5, 5));
    ::SetCursorPos(p0.X, p0.Y);
    control->Perform(c.DoubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SetCursorPos(p0.X + 25, p0.Y + 15);
    control->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 20));
    ::SetCursorPos(p0.X + 40, p0.Y + 5);
    control->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(45, 10));
    const TPoint moved = c.Moves ? TPoint(40, 5) : TPoint(0, 0);
    EXPECT_EQ(TPoint(s.Form->Left() - start.X, s.Form->Top() - start.Y), moved);
    control->Perform(WM_LBUTTONUP, 0, MAKELPARAM(45, 10));
    ::SetCursorPos(p0.X + 60, p0.Y + 60);
    control->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(65, 65));
    EXPECT_EQ(TPoint(s.Form->Left() - start.X, s.Form->Top() - start.Y), moved) << "the release ends the drag";
  }
}

TEST(LabelAccelerator, FocusesTheFocusControl) {
  struct TCase {
    const char* Name;
    wchar_t Key;
    bool Enabled;
    bool ShowAccelChar;
    bool Focuses;
  };
  const TCase cases[] = {
      {"its accelerator", L'n', true, true, true},
      {"another key", L'x', true, true, false},
      {"disabled label", L'n', false, true, false},
      {"accelerator marks shown as text", L'n', true, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* other = s.Add<TTestPanel>(s.Form, Rect(10, 10, 60, 40));
    auto* target = s.Add<TTestPanel>(s.Form, Rect(70, 10, 120, 40));
    other->SetTabStop(true);
    target->SetTabStop(true);
    auto* l = s.Add<TProbeLabel>(s.Form, Rect(10, 60, 75, 77));
    l->SetCaption(L"&Name");
    l->SetFocusControl(target);
    l->SetEnabled(c.Enabled);
    l->SetShowAccelChar(c.ShowAccelChar);
    other->SetFocus();
    PumpPending();
    ASSERT_TRUE(other->Focused());
    ::PostMessageW(other->WindowHandle(), WM_SYSCHAR, c.Key, 0);
    PumpPending();
    EXPECT_EQ(target->Focused(), c.Focuses);
    target->Free();
    EXPECT_EQ(l->FocusControl(), nullptr) << "a freed focus control is forgotten";
  }
}

// ---- Layouts and handles ---------------------------------------------------------------------

TEST(PanelAndLabelLayout, PublishedPropertiesAreReadFromALayout) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, R"(object Form1: TCustomForm
  object Images: TkaImageCollection
  end
  object Panel1: TkaPanel
    StyleKind = kapsHeader
    BorderStyle = kapbsRaisedBevel
    LightBorderColor = clRed
    ShadowBorderColor = clBlue
    Caption = 'Panel'
    ShowCaption = True
    Alignment = taLeftJustify
    WordWrap = True
    CaptionGlowEffect.Enabled = True
    CaptionGlowEffect.GlowSize = 3
    Wallpapers = Images
    WallpaperIndex = 2
    CustomImages = Images
    CustomImageIndex = 1
    StorePaintBuffer = True
    DragForm = True
    DragTopForm = False
    object Label1: TkaLabel
      Caption = '&Label'
      Alignment = taRightJustify
      VertAlignment = kavtaBottom
      Layout = tlCenter
      AutoSize = False
      WordWrap = True
      ShowAccelChar = False
      ShowEllipsis = True
      PathEllipsis = True
      FocusControl = Panel1
      GlowEffect.Color = clRed
      DragForm = True
      DragTopForm = False
      UseFontColorToStyleColor = True
    end
  end
end)",
             L"TEST");
  auto* p = dynamic_cast<TkaPanel*>(form->FindComponent(L"Panel1"));
  auto* l = dynamic_cast<TkaLabel*>(form->FindComponent(L"Label1"));
  auto* images = dynamic_cast<TkaCustomImageCollection*>(form->FindComponent(L"Images"));
  ASSERT_TRUE(p != nullptr && l != nullptr && images != nullptr);
  EXPECT_EQ(p->StyleKind(), kapsHeader);
  EXPECT_EQ(p->BorderStyle(), kapbsRaisedBevel);
  EXPECT_EQ(p->LightBorderColor(), clRed);
  EXPECT_EQ(p->ShadowBorderColor(), clBlue);
  EXPECT_TRUE(p->ShowCaption());
  EXPECT_EQ(p->Alignment(), taLeftJustify);
  EXPECT_TRUE(p->WordWrap());
  EXPECT_TRUE(p->CaptionGlowEffect()->Enabled());
  EXPECT_EQ(p->CaptionGlowEffect()->GlowSize(), 3);
  EXPECT_EQ(p->Wallpapers(), images);
  EXPECT_EQ(p->WallpaperIndex(), 2);
  EXPECT_EQ(p->CustomImages(), images);
  EXPECT_EQ(p->CustomImageIndex(), 1);
  EXPECT_TRUE(p->StorePaintBuffer());
  EXPECT_TRUE(p->DragForm());
  EXPECT_FALSE(p->DragTopForm());
  EXPECT_EQ(l->Parent(), p);
  EXPECT_EQ(l->Caption(), L"&Label");
  EXPECT_EQ(l->Alignment(), taRightJustify);
  EXPECT_EQ(l->VertAlignment(), kavtaBottom);
  EXPECT_EQ(l->Layout(), tlCenter);
  EXPECT_FALSE(l->AutoSize());
  EXPECT_TRUE(l->WordWrap());
  EXPECT_FALSE(l->ShowAccelChar());
  EXPECT_TRUE(l->ShowEllipsis());
  EXPECT_TRUE(l->PathEllipsis());
  EXPECT_EQ(l->FocusControl(), p);
  EXPECT_EQ(l->GlowEffect()->Color(), clRed);
  EXPECT_TRUE(l->DragForm());
  EXPECT_FALSE(l->DragTopForm());
  EXPECT_TRUE(l->UseFontColorToStyleColor());
  form->Free();
}

TEST(PanelAndLabel, DefaultsAsCreated) {
  TScene s;
  auto* p = new TkaPanel(s.Form);
  auto* l = new TkaLabel(s.Form);
  EXPECT_EQ(p->ControlStyle(), (TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                              csDoubleClicks, csReplicatable, csPannable, csGestures}));
  EXPECT_EQ(p->Color(), clBtnFace);
  EXPECT_EQ(p->Alignment(), taCenter);
  EXPECT_EQ(p->CaptionGlowEffect()->Color(), clBtnShadow);
  EXPECT_EQ(p->WallpaperIndex(), -1);
  EXPECT_TRUE(p->DragTopForm());
  EXPECT_EQ(l->ControlStyle(),
            (TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks, csReplicatable}));
  EXPECT_EQ(l->BoundsRect(), Rect(0, 0, 65, 17));
  EXPECT_TRUE(l->AutoSize());
  EXPECT_TRUE(l->ShowAccelChar());
  EXPECT_EQ(l->GlowEffect()->Color(), clBtnShadow);
}

TEST(PanelAndLabel, ThousandsOfRepaintsKeepGdiObjectCount) {
  TScene s;
  auto* p = s.Add<TProbePanel>(s.Form, Rect(10, 10, 210, 110));
  p->SetCaption(L"Panel caption");
  p->SetShowCaption(true);
  p->SetBorderStyle(kapbsRaisedBevel);
  p->CaptionGlowEffect()->SetEnabled(true);
  auto* l = s.Add<TProbeLabel>(p, Rect(10, 10, 75, 27));
  l->GlowEffect()->SetEnabled(true);
  const TkaPanelStyleKind kinds[] = {kapsPanel,   kapsToolBar, kapsHeader, kapsFormBackground,
                                     kapsTransparent, kapsEmpty, kapsEdit,   kapsTabSheet};
  auto cycle = [&](int i) {
    p->SetStyleKind(kinds[i % 8]);
    l->SetCaption(i % 2 == 0 ? L"Even" : L"Odd");  // rebuilds the label's glow
    p->SetWidth(200 + i % 3);  // and the wrapped caption's
    p->Invalidate();
    p->Update();
    l->RePaintControl();
  };
  for (int i = 0; i < 16; ++i) cycle(i);
  const int before = GdiObjectCount();
  for (int i = 0; i < 400; ++i) cycle(i);  // some 3,000 paints of the two
  EXPECT_LE(GdiObjectCount() - before, 4);
}

}  // namespace
