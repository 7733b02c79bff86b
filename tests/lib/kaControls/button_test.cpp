// The push button: each of the 24 looks in the five states against the element or colours
// it must show (with visual styles and classic), geometry of arrows, separators, image
// margins and titles at 96 and 144 DPI, dialog keys in a modal form, radio groups, the split
// zone, caption-dependent widths, layouts, and handle hygiene.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "framework/Streaming.h"
#include "framework/Themes.h"
#include "framework/Timers.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/TestControls.h"

namespace {

constexpr TColor kParent = clYellow;
constexpr TColor kInk = clRed;

class TProbeButton : public TkaButton {
  KA_CLASS(TProbeButton, TkaButton)
 public:
  explicit TProbeButton(TComponent* AOwner) : TkaButton(AOwner) {
    OnClick = [this](TObject*) { ++Clicks; };
  }
  int Clicks = 0;
  int MenuPopups = 0;

  TkasCtrlState State() { return GetCtrlState(); }
  void Press(int X, int Y) { Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y)); }
  void Release(int X, int Y) { Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y)); }
  void ClickAt(int X = 10, int Y = 10) {
    Perform(WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
    Press(X, Y);
    Release(X, Y);
  }
  // What the button shows in a state, over its captured background.
  std::unique_ptr<TBitmap> Shot(TkasCtrlState S) {
    auto b = std::make_unique<TBitmap>(Width(), Height());
    PaintStateToDC(b->Canvas()->Handle(), S, false);
    return b;
  }

 protected:
  void PopupDropDownMenu(TPoint) override { ++MenuPopups; }
};

// A gallery pop-up stand-in with one selected item.
class TFakeGallery : public TComponent, public IkaGalleryMenuSelection {
  KA_CLASS(TFakeGallery, TComponent)
 public:
  using TComponent::TComponent;
  bool Selected = true;
  TCustomImageList* List = nullptr;
  bool SelectedItem(String& Caption, int& ImageIndex) const override {
    Caption = L"Gallery";
    ImageIndex = 0;
    return Selected;
  }
  TCustomImageList* GalleryImages() const override { return List; }
};

struct TScene {
  TCustomForm* Form;
  TScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(100, 100, 520, 300);
    Form->SetColor(kParent);
    Form->Show();
    PumpPending();
  }
  ~TScene() { Form->Free(); }
  TProbeButton* Add(const TRect& R, TWinControl* Parent = nullptr) {
    auto* b = new TProbeButton(Form);
    b->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    b->SetParent(Parent != nullptr ? Parent : Form);
    b->Font()->SetColor(kInk);
    PumpPending();
    return b;
  }
};

// The pixels (X range) of one colour on a row, or (-1, -1).
std::pair<int, int> RowRun(TBitmap* B, int Y, TColor Color) {
  int first = -1, last = -1;
  for (int x = 0; x < B->Width(); ++x)
    if (PixelAt(B, x, Y) == ColorToRGB(Color)) {
      if (first < 0) first = x;
      last = x;
    }
  return {first, last};
}

// ---- The expected faces ---------------------------------------------------------------------

template <class D>
void Element(TCanvas* C, D Detail, const TRect& R) {
  StyleServices()->DrawElement(C->Handle(), TCustomStyleServices::GetElementDetails(Detail), R);
}

void FrameCtl(TCanvas* C, TRect R, UINT Type, UINT State) { ::DrawFrameControl(C->Handle(), R.AsRECT(), Type, State); }

void Fill(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

bool Lit(TkasCtrlState S) { return S == kasHot || S == kasPressed || S == kasFocused; }

void PushFace(TCanvas* C, const TRect& R, TkasCtrlState S, bool Classic) {
  static const TThemedButton d[5] = {tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed, tbPushButtonDefaulted,
                                     tbPushButtonDisabled};
  if (Classic)
    FrameCtl(C, R, DFC_BUTTON, DFCS_BUTTONPUSH | (S == kasPressed ? DFCS_PUSHED : 0));
  else
    Element(C, d[S], R);
}

void ToolFace(TCanvas* C, TRect R, TkasCtrlState S, bool Classic) {
  static const TThemedToolBar d[5] = {ttbButtonNormal, ttbButtonHot, ttbButtonPressed, ttbButtonHot,
                                      ttbButtonDisabled};
  if (!Classic) return Element(C, d[S], R);
  // A raised line when hot or focused, a sunken one when pressed.
  if (S == kasHot || S == kasFocused) Frame3D(C, R, clBtnHighlight, clBtnShadow, 1);
  if (S == kasPressed) Frame3D(C, R, clBtnShadow, clBtnHighlight, 1);
}

void TabFace(TCanvas* C, const TRect& R, TkasCtrlState S, bool Classic) {
  const bool selected = S == kasPressed || S == kasFocused;
  if (Classic) {
    // Unselected tabs start 2 pixels lower; light left and top, dark right.
    TRect t = R;
    if (!selected) t.Top += 2;
    Fill(C, t, clBtnFace);
    Fill(C, TRect(t.Left, t.Top + 1, t.Left + 1, t.Bottom), clBtnHighlight);
    Fill(C, TRect(t.Left + 1, t.Top, t.Right - 1, t.Top + 1), clBtnHighlight);
    Fill(C, TRect(t.Right - 1, t.Top + 1, t.Right, t.Bottom), cl3DDkShadow);
    Fill(C, TRect(t.Right - 2, t.Top + 1, t.Right - 1, t.Bottom), clBtnShadow);
    return;
  }
  if (S == kasDisabled) {
    // The normal tab at alpha 150 over what lies there.
    TBitmap layer(R.Width(), R.Height());
    ::BitBlt(layer.Canvas()->Handle(), 0, 0, R.Width(), R.Height(), C->Handle(), R.Left, R.Top, SRCCOPY);
    Element(layer.Canvas(), ttTabItemNormal, TRect(0, 0, R.Width(), R.Height()));
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 150, 0};
    ::AlphaBlend(C->Handle(), R.Left, R.Top, R.Width(), R.Height(), layer.Canvas()->Handle(), 0, 0, R.Width(),
                 R.Height(), bf);
    return;
  }
  const TRect t(R.Left, R.Top, R.Right, R.Bottom + (selected ? 2 : 0));
  Element(C, selected ? ttTabItemSelected : S == kasHot ? ttTabItemHot : ttTabItemNormal, t);
}

// The separators of a segmented piece: a shadow then a light column at 125 of 255.
void Separators(TCanvas* C, const TRect& R, bool Left, bool Right) {
  auto strip = [&](int X) {
    DrawAlphaFill(C->Handle(), TRect(X, R.Top + 2, X + 1, R.Bottom - 2), ColorToRGB(clBtnShadow), 125);
    DrawAlphaFill(C->Handle(), TRect(X + 1, R.Top + 2, X + 2, R.Bottom - 2), ColorToRGB(clBtnHighlight), 125);
  };
  if (Right) strip(R.Right - 2);
  if (Left) strip(R.Left);
}

void SegmentFace(TCanvas* C, const TRect& R, TkasCtrlState S, bool Classic, bool Tool, int Part) {
  TBitmap layer(R.Width() + 40, R.Height());
  ::BitBlt(layer.Canvas()->Handle(), 20, 0, R.Width(), R.Height(), C->Handle(), 0, 0, SRCCOPY);
  // Drawn 20 pixels wider beyond each inner edge, so only the outer ends show.
  TRect e(20, 0, 20 + R.Width(), R.Height());
  if (Part != 3) e.Right += 20;
  if (Part != 1) e.Left -= 20;
  if (Tool)
    ToolFace(layer.Canvas(), e, S, Classic);
  else
    PushFace(layer.Canvas(), e, S == kasFocused ? kasHot : S, Classic);
  ::BitBlt(C->Handle(), 0, 0, R.Width(), R.Height(), layer.Canvas()->Handle(), 20, 0, SRCCOPY);
  Separators(C, R, Part != 1, Part != 3);
}

void SpinFace(TCanvas* C, const TRect& R, TkasCtrlState S, bool Classic, int Dir) {
  if (Classic) {
    static const UINT arrow[4] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT};
    FrameCtl(C, R, DFC_SCROLL,
             arrow[Dir] | (S == kasPressed ? DFCS_PUSHED : 0) | (S == kasDisabled ? DFCS_INACTIVE : 0));
    return;
  }
  static const TThemedSpin first[4] = {tsUpNormal, tsDownNormal, tsDownHorzNormal, tsUpHorzNormal};
  static const int column[5] = {0, 1, 2, 1, 3};
  Element(C, static_cast<TThemedSpin>(first[Dir] + column[S]), R);
}

// Solid colours the custom-image kinds are given per state.
const TColor kStateImage[5] = {clLime, clAqua, clNavy, clPurple, clGray};

using TFace = std::function<void(TCanvas*, const TRect&, TkasCtrlState, bool Classic)>;

struct TLook {
  TkaButtonStyleKind Kind;
  TFace Face;
  int Tolerance;  // blended faces may differ by rounding
};

// A face drawn only in the hot, pressed and focused states.
TFace LitOnly(TFace Face) {
  return [Face](TCanvas* C, const TRect& R, TkasCtrlState S, bool K) {
    if (Lit(S)) Face(C, R, S, K);
  };
}

TFace Segment(bool Tool, int Part) {
  return [=](TCanvas* C, const TRect& R, TkasCtrlState S, bool K) { SegmentFace(C, R, S, K, Tool, Part); };
}

void StateImageFace(TCanvas* C, const TRect& R, TkasCtrlState S, bool) { Fill(C, R, kStateImage[S]); }

void ComboFace(TCanvas* C, const TRect& R, TkasCtrlState S, bool K) { PushFace(C, R, S == kasFocused ? kasHot : S, K); }

const TLook kLooks[] = {
    {kabsPushButton, PushFace, 0},
    {kabsToolButton, ToolFace, 0},
    {kabsPushButtonTransparent, LitOnly(PushFace), 0},
    {kabsToolButtonTransparent,
     [](TCanvas* C, const TRect& R, TkasCtrlState S, bool K) {
       if (!Lit(S)) return;
       if (K) Fill(C, R, clBtnFace);
       ToolFace(C, R, S, K);
     },
     0},
    {kabsTransparent, [](TCanvas*, const TRect&, TkasCtrlState, bool) {}, 0},
    {kabsLink, [](TCanvas*, const TRect&, TkasCtrlState, bool) {}, 0},
    {kabsHeaderSection,
     [](TCanvas* C, const TRect& R, TkasCtrlState S, bool K) {
       static const TThemedGrid d[5] = {tgFixedCellNormal, tgFixedCellHot, tgFixedCellPressed, tgFixedCellHot,
                                        tgFixedCellNormal};
       if (!K) return Element(C, d[S], R);
       Fill(C, R, clBtnFace);
       TRect f = R;
       if (S == kasPressed)
         Frame3D(C, f, clBtnShadow, clBtnHighlight, 1);
       else
         Frame3D(C, f, clBtnHighlight, clBtnShadow, 1);
     },
     0},
    {kabsUpSpinButton, [](TCanvas* C, const TRect& R, TkasCtrlState S, bool K) { SpinFace(C, R, S, K, 0); }, 0},
    {kabsDownSpinButton, [](TCanvas* C, const TRect& R, TkasCtrlState S, bool K) { SpinFace(C, R, S, K, 1); }, 0},
    {kabsLeftSpinButton, [](TCanvas* C, const TRect& R, TkasCtrlState S, bool K) { SpinFace(C, R, S, K, 2); }, 0},
    {kabsRightSpinButton, [](TCanvas* C, const TRect& R, TkasCtrlState S, bool K) { SpinFace(C, R, S, K, 3); }, 0},
    {kabsDropDownButton,
     [](TCanvas* C, const TRect& R, TkasCtrlState S, bool K) {
       static const TThemedComboBox d[5] = {tcDropDownButtonNormal, tcDropDownButtonHot, tcDropDownButtonPressed,
                                            tcDropDownButtonHot, tcDropDownButtonDisabled};
       if (K)
         PushFace(C, R, S, true);  // and a triangle in the middle, which the probes leave out
       else
         Element(C, d[S], R);
     },
     0},
    {kabsColorButton,
     [](TCanvas* C, const TRect& R, TkasCtrlState S, bool) {
       // The default colour options: face fills (pressed: shadow), shadow frames when normal
       // or disabled, highlight frames otherwise.
       Fill(C, R, S == kasPressed ? clBtnShadow : clBtnFace);
       TRect f = R;
       const TColor frame = S == kasNormal || S == kasDisabled ? clBtnShadow : clHighlight;
       Frame3D(C, f, frame, frame, 1);
     },
     0},
    {kabsCustomImage, StateImageFace, 0},
    {kabsCustomImageOverContent, StateImageFace, 0},
    {kabsTab, TabFace, 2},
    {kabsTabTransparent, LitOnly(TabFace), 0},
    {kabsSegmentedLeft, Segment(false, 1), 2},
    {kabsSegmentedMiddle, Segment(false, 2), 2},
    {kabsSegmentedRight, Segment(false, 3), 2},
    {kabsSegmentedToolLeft, Segment(true, 1), 2},
    {kabsSegmentedToolMiddle, Segment(true, 2), 2},
    {kabsSegmentedToolRight, Segment(true, 3), 2},
    {kabsDropDownCombo, ComboFace, 0},
};

// A collection of five solid 8 x 8 pictures, stretched over the button.
std::unique_ptr<TkaImageCollection> StateImages() {
  auto images = std::make_unique<TkaImageCollection>(nullptr);
  for (TColor color : kStateImage) {
    TBitmap b(8, 8);
    Fill(b.Canvas(), TRect(0, 0, 8, 8), color);
    auto* item = images->Images()->Add();
    item->SetBitmap(&b);
    item->SetDrawStyle(idsStretch);
  }
  return images;
}

// Runs with visual styles as the system has them and with classic drawing.
class ButtonLooks : public ::testing::TestWithParam<bool> {};

TEST_P(ButtonLooks, EveryKindShowsItsFaceInEveryState) {
  std::unique_ptr<TClassicControlsScope> style;
  if (GetParam()) style = std::make_unique<TClassicControlsScope>();
  // Where the system has no visual styles both runs are classic.
  const bool classic = !StyleServices()->Enabled();
  ASSERT_TRUE(classic || !GetParam());
  ASSERT_EQ(std::size(kLooks), 24u);
  TScene s;
  auto images = StateImages();
  TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
  b->SetCustomImages(images.get());
  b->SetCustomImageNormalIndex(0), b->SetCustomImageHotIndex(1), b->SetCustomImagePressedIndex(2);
  b->SetCustomImageFocusedIndex(3), b->SetCustomImageDisabledIndex(4);
  const int w = b->Width(), h = b->Height();
  // Away from the middle, where the drop-down button's classic triangle sits.
  const TPoint probes[] = {{0, 0},         {1, 1},         {w / 2, 0},     {w / 2, 1},     {w - 1, 0},
                           {w - 2, 1},     {0, h / 2},     {1, h / 2},     {w - 1, h / 2}, {w - 2, h / 2},
                           {0, h - 1},     {1, h - 2},     {w / 2, h - 1}, {w / 2, h - 2}, {w - 1, h - 1},
                           {w - 2, h - 2}, {w / 4, h / 4}, {3 * w / 4, 3 * h / 4}};
  for (const TLook& look : kLooks) {
    b->SetStyleKind(look.Kind);
    for (int state = kasNormal; state <= kasDisabled; ++state) {
      const auto S = static_cast<TkasCtrlState>(state);
      SCOPED_TRACE(EnumInfoOf<TkaButtonStyleKind>().NameOf(look.Kind) + L" state " + std::to_wstring(state));
      auto shot = b->Shot(S);
      TBitmap want(w, h);
      Fill(want.Canvas(), TRect(0, 0, w, h), kParent);
      look.Face(want.Canvas(), TRect(0, 0, w, h), S, classic);
      for (const TPoint& p : probes)
        EXPECT_TRUE(NearColor(PixelAt(shot.get(), p.X, p.Y), PixelAt(&want, p.X, p.Y), look.Tolerance))
            << "at " << p.X << ", " << p.Y << ": " << std::hex << PixelAt(shot.get(), p.X, p.Y) << " want "
            << PixelAt(&want, p.X, p.Y);
    }
  }
}

TEST_P(ButtonLooks, SpinKindsDrawNeitherCaptionNorImage) {
  std::unique_ptr<TClassicControlsScope> style;
  if (GetParam()) style = std::make_unique<TClassicControlsScope>();
  TScene s;
  TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
  TImageList list(s.Form);
  list.SetWidth(16), list.SetHeight(16);
  TBitmap red(16, 16);
  Fill(red.Canvas(), TRect(0, 0, 16, 16), kInk);
  list.Add(&red, nullptr);
  for (TkaButtonStyleKind kind : {kabsUpSpinButton, kabsDownSpinButton, kabsLeftSpinButton, kabsRightSpinButton,
                                  kabsDropDownButton}) {
    b->SetStyleKind(kind);
    b->SetCaption(L"");
    b->SetImages(nullptr);
    auto bare = b->Shot(kasHot);
    b->SetCaption(L"Caption");
    b->SetImages(&list);
    b->SetImageIndex(0);
    b->SetTitle(L"Title");
    auto dressed = b->Shot(kasHot);
    b->SetTitle(L"");
    for (int y = 0; y < b->Height(); ++y)
      for (int x = 0; x < b->Width(); ++x) ASSERT_EQ(PixelAt(bare.get(), x, y), PixelAt(dressed.get(), x, y));
  }
}

INSTANTIATE_TEST_SUITE_P(ThemedAndClassic, ButtonLooks, ::testing::Values(false, true),
                         [](const auto& Info) { return std::string(Info.param ? "Classic" : "Themed"); });

// ---- Geometry -------------------------------------------------------------------------------

TEST(ButtonGeometry, DropDownArrowAndSplitSeparatorScaleWithTheDpi) {
  struct TCase {
    int Dpi;
    int Width, SplitWidth;
    int ArrowCx, ArrowTopY, TopRowHalf, ApexY;
  };
  // Arrow rectangle (W - split, 2, W, H - 2); the triangle's widest row sits at cy - 1.
  // At 144 DPI the scale 1.5 draws as 2: rows 11 pixels wide down to the apex 5 rows lower.
  const TCase cases[] = {{96, 100, 19, 81 + 9, 17 - 1, 3, 17 + 2}, {144, 150, 29, 121 + 14, 26 - 1, 5, 26 + 4}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Dpi);
    TScene s;
    TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
    TPopupMenu menu(s.Form);
    b->SetDropDownMenu(&menu);
    b->SetSplitButton(true);
    b->SetStyleKind(kabsToolButtonTransparent);
    if (c.Dpi != 96) b->ScaleForPPI(c.Dpi);
    ASSERT_EQ(b->Width(), c.Width);
    ASSERT_EQ(b->SplitWidth(), c.SplitWidth);
    auto shot = b->Shot(kasNormal);
    EXPECT_EQ(RowRun(shot.get(), c.ArrowTopY, kInk),
              std::make_pair(c.ArrowCx - c.TopRowHalf, c.ArrowCx + c.TopRowHalf));
    EXPECT_EQ(RowRun(shot.get(), c.ApexY, kInk), std::make_pair(c.ArrowCx, c.ArrowCx));
    EXPECT_EQ(RowRun(shot.get(), c.ApexY + 1, kInk).first, -1);
    // Normal: a transparent tool button shows no split separator; hot shows it at the
    // zone's inner edge, a shadow column then a light one.
    const int x = c.Width - c.SplitWidth;
    EXPECT_EQ(PixelAt(shot.get(), x, c.ArrowTopY), ColorToRGB(kParent));
    b->SetStyleKind(kabsTransparent);
    auto hot = b->Shot(kasHot);
    TBitmap want(2, 1);
    Fill(want.Canvas(), TRect(0, 0, 2, 1), kParent);
    DrawAlphaFill(want.Canvas()->Handle(), TRect(0, 0, 1, 1), ColorToRGB(clBtnShadow), 125);
    DrawAlphaFill(want.Canvas()->Handle(), TRect(1, 0, 2, 1), ColorToRGB(clBtnHighlight), 125);
    EXPECT_TRUE(NearColor(PixelAt(hot.get(), x, 10), PixelAt(&want, 0, 0), 2));
    EXPECT_TRUE(NearColor(PixelAt(hot.get(), x + 1, 10), PixelAt(&want, 1, 0), 2));
  }
}

TEST(ButtonGeometry, ImageMarginLinesUpImagesAndCaptionsOfDifferentSizes) {
  // ImageMargin 40, Spacing 1: a 16-pixel image gets margin 9 and spacing 16, a 24-pixel one
  // margin 5 and spacing 12, so both captions start 41 pixels into the content rectangle
  // (3 pixels inside the button).
  TScene s;
  for (int size : {16, 24}) {
    SCOPED_TRACE(size);
    TImageList list(s.Form);
    list.SetWidth(size), list.SetHeight(size);
    TBitmap blue(size, size);
    Fill(blue.Canvas(), TRect(0, 0, size, size), clBlue);
    list.Add(&blue, nullptr);
    TProbeButton* b = s.Add(TRect(10, 10, 160, 50));
    b->SetStyleKind(kabsTransparent);
    b->SetImages(&list);
    b->SetImageIndex(0);
    b->SetCaption(L"Wide");
    b->SetImageMargin(40);
    auto shot = b->Shot(kasNormal);
    const TRect image = ColorBox(shot.get(), clBlue);
    EXPECT_EQ(image.Left, 3 + (size == 16 ? 9 : 5));
    EXPECT_EQ(image.Left + size / 2, 3 + 20 - 3);  // centres at the same x
    const TRect ink = ColorBox(shot.get(), kInk);
    EXPECT_GE(ink.Left, 3 + 41);
    EXPECT_LE(ink.Left, 3 + 41 + 2);  // the first letter's side bearing
    b->Free();
  }
}

TEST(ButtonGeometry, TitleLineSitsAboveTheCaptionAndShrinksAboveScale125) {
  TScene s;
  TProbeButton* b = s.Add(TRect(10, 10, 210, 70));
  b->SetStyleKind(kabsTransparent);
  b->SetTitle(L"TITLE");
  b->TitleFont()->SetColor(clBlue);
  b->SetCaption(L"caption");
  auto shot = b->Shot(kasNormal);
  const TRect title = ColorBox(shot.get(), clBlue);
  const TRect caption = ColorBox(shot.get(), kInk);
  ASSERT_FALSE(title.IsEmpty());
  EXPECT_GE(title.Left, 5);
  // A bold face made by emboldening the regular one (Wine's, which has no Tahoma Bold of
  // its own) starts its ink a pixel further in.
  EXPECT_LE(title.Left, 8);
  EXPECT_GE(title.Top, 5);
  EXPECT_GT(caption.Top, title.Bottom);
  // Bold by default, copied from the font at creation.
  EXPECT_TRUE(b->TitleFont()->Style().Contains(fsBold));

  b->ScaleForPPI(144);
  auto scaled = b->Shot(kasNormal);
  const TRect bigTitle = ColorBox(scaled.get(), clBlue);
  EXPECT_GE(bigTitle.Left, 5 + 2);
  EXPECT_GT(bigTitle.Height(), title.Height());
}

TEST(ButtonGeometry, SplitZonePressedAloneWhileItsDropDownIsOpen) {
  for (bool classicRun : {false, true}) {
    SCOPED_TRACE(classicRun ? "classic" : "as the system draws");
    std::unique_ptr<TClassicControlsScope> style;
    if (classicRun) style = std::make_unique<TClassicControlsScope>();
    const bool classic = !StyleServices()->Enabled();
    TScene s;
    TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
    b->SetCustomDropDown(true);
    b->SetSplitButton(true);
    b->SetShowMenuArrow(false);
    b->Press(95, 17);  // in the zone: the custom drop-down opens and stays open
    ASSERT_TRUE(b->MenuDroppedDown());
    auto shot = b->Shot(b->State());
    TBitmap pressed(100, 35), hot(100, 35);
    Fill(pressed.Canvas(), TRect(0, 0, 100, 35), kParent);
    Fill(hot.Canvas(), TRect(0, 0, 100, 35), kParent);
    PushFace(pressed.Canvas(), classic ? TRect(81, 0, 100, 35) : TRect(0, 0, 100, 35), kasPressed, classic);
    PushFace(hot.Canvas(), TRect(0, 0, 100, 35), kasHot, classic);
    for (TPoint p : {TPoint(99, 34), TPoint(82, 1), TPoint(90, 33)})
      EXPECT_EQ(PixelAt(shot.get(), p.X, p.Y), PixelAt(&pressed, p.X, p.Y)) << p.X << ", " << p.Y;
    for (TPoint p : {TPoint(0, 0), TPoint(1, 1), TPoint(40, 33), TPoint(78, 1)})
      EXPECT_EQ(PixelAt(shot.get(), p.X, p.Y), PixelAt(&hot, p.X, p.Y)) << p.X << ", " << p.Y;
    b->CloseUp(false);
  }
}

TEST(ButtonGeometry, CaptionColoursByState) {
  TScene s;
  TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
  b->SetStyleKind(kabsTransparent);
  b->SetCaption(L"Caption");
  // DisabledFontColor only while disabled, over the styled disabled colour.
  b->SetDisabledFontColor(clBlue);
  EXPECT_FALSE(ColorBox(b->Shot(kasNormal).get(), kInk).IsEmpty());
  EXPECT_TRUE(ColorBox(b->Shot(kasNormal).get(), clBlue).IsEmpty());
  EXPECT_FALSE(ColorBox(b->Shot(kasDisabled).get(), clBlue).IsEmpty());
  b->SetDisabledFontColor(clNone);
  EXPECT_FALSE(ColorBox(b->Shot(kasDisabled).get(), clGrayText).IsEmpty());
  // A link is underlined when hot, pressed or focused: its ink reaches lower.
  b->SetStyleKind(kabsLink);
  b->SetCaption(L"Link");  // no descenders below the underline
  const TRect plain = ColorBox(b->Shot(kasNormal).get(), kInk);
  for (TkasCtrlState S : {kasHot, kasPressed, kasFocused})
    EXPECT_GT(ColorBox(b->Shot(S).get(), kInk).Bottom, plain.Bottom);
  // A colour button takes its caption colour from its options.
  b->SetStyleKind(kabsColorButton);
  b->ColorOptions()->SetFontHotColor(clBlue);
  EXPECT_FALSE(ColorBox(b->Shot(kasHot).get(), clBlue).IsEmpty());
  EXPECT_TRUE(ColorBox(b->Shot(kasHot).get(), kInk).IsEmpty());
}

TEST(ButtonGeometry, ImagesByStateAndFromTheGallery) {
  TScene s;
  TImageList list(s.Form);
  list.SetWidth(8), list.SetHeight(8);
  const TColor colors[] = {clBlue, clLime, clPurple, clTeal};
  for (TColor c : colors) {
    TBitmap bmp(8, 8);
    Fill(bmp.Canvas(), TRect(0, 0, 8, 8), c);
    list.Add(&bmp, nullptr);
  }
  TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
  b->SetStyleKind(kabsTransparent);
  b->SetImages(&list);
  b->SetImageIndex(0);
  struct TCase {
    int Hot, Pressed, Focused;
    int Want[5];  // normal, hot, pressed, focused, disabled
  };
  const TCase cases[] = {{-1, -1, -1, {0, 0, 0, 0, 0}},
                         {1, -1, -1, {0, 1, 1, 1, 0}},
                         {1, 2, 3, {0, 1, 2, 3, 0}},
                         {-1, 2, -1, {0, 0, 2, 0, 0}}};
  for (const TCase& c : cases) {
    b->SetHotImageIndex(c.Hot), b->SetPressedImageIndex(c.Pressed), b->SetFocusedImageIndex(c.Focused);
    for (int st = kasNormal; st <= kasDisabled; ++st)
      EXPECT_EQ(b->ImageIndexFor(static_cast<TkasCtrlState>(st)), c.Want[st]) << st;
  }
  EXPECT_FALSE(ColorBox(b->Shot(kasPressed).get(), clPurple).IsEmpty());

  TFakeGallery gallery(nullptr);
  TImageList galleryList(s.Form);
  galleryList.SetWidth(8), galleryList.SetHeight(8);
  TBitmap olive(8, 8);
  Fill(olive.Canvas(), TRect(0, 0, 8, 8), clOlive);
  galleryList.Add(&olive, nullptr);
  gallery.List = &galleryList;
  b->SetGalleryMenu(&gallery);
  b->SetUseGalleryMenuImage(true);
  EXPECT_FALSE(ColorBox(b->Shot(kasNormal).get(), clOlive).IsEmpty());
  gallery.Selected = false;
  EXPECT_TRUE(ColorBox(b->Shot(kasNormal).get(), clOlive).IsEmpty());
  b->SetGalleryMenu(nullptr);
}

TEST(ButtonGeometry, GlowFollowsTheCaptionShownInsteadOfTheOwn) {
  TScene s;
  TFakeGallery gallery(nullptr);
  auto glowing = [&](const TRect& R) {
    TProbeButton* b = s.Add(R);
    b->SetStyleKind(kabsTransparent);
    b->SetCaption(L"Main");
    b->GlowEffect()->SetEnabled(true);
    b->SetGalleryMenu(&gallery);
    b->SetUseGalleryMenuCaption(true);
    return b;
  };
  TProbeButton* shown = glowing(TRect(10, 10, 110, 45));
  shown->Shot(kasHot);  // caches the glow of the gallery's caption
  gallery.Selected = false;
  auto after = shown->Shot(kasHot);
  TProbeButton* fresh = glowing(TRect(10, 60, 110, 95));
  auto want = fresh->Shot(kasHot);
  for (int y = 0; y < 35; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(PixelAt(after.get(), x, y), PixelAt(want.get(), x, y)) << x << ", " << y;
  shown->SetGalleryMenu(nullptr);
  fresh->SetGalleryMenu(nullptr);
}

// ---- Behaviour ------------------------------------------------------------------------------

// A focusable control that is not a button.
class TFocusBox : public TTestPanel {
  KA_CLASS(TFocusBox, TTestPanel)
 public:
  using TTestPanel::TTestPanel;
};

TEST(ButtonDialog, DefaultAnswersEnterAndCancelEscapeInAModalForm) {
  struct TCase {
    WPARAM Key;
    bool FocusOtherButton;
    TModalResult Want;
  };
  const TCase cases[] = {{VK_RETURN, false, mrOk}, {VK_ESCAPE, false, mrCancel}, {VK_ESCAPE, true, mrCancel}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Key);
    TCustomForm* form = TCustomForm::CreateNew(nullptr);
    form->SetBounds(150, 150, 400, 200);
    auto* box = new TFocusBox(form);
    box->SetBounds(10, 10, 60, 30);
    box->SetTabStop(true);
    box->SetParent(form);
    auto* ok = new TProbeButton(form);
    ok->SetBounds(100, 10, 100, 35);
    ok->SetParent(form);
    ok->SetDefault(true), ok->SetModalSetting(true), ok->SetModalResult(mrOk);
    auto* cancel = new TProbeButton(form);
    cancel->SetBounds(220, 10, 100, 35);
    cancel->SetParent(form);
    cancel->SetCancel(true), cancel->SetModalSetting(true), cancel->SetModalResult(mrCancel);
    auto* other = new TProbeButton(form);
    other->SetBounds(100, 60, 100, 35);
    other->SetParent(form);
    TTimer timer(nullptr);
    timer.SetInterval(50);
    timer.OnTimer = [&](TObject*) {
      timer.SetEnabled(false);
      TWinControl* target = c.FocusOtherButton ? static_cast<TWinControl*>(other) : box;
      target->SetFocus();
      // The default button looks hot (Enter would press it) unless another button has the
      // focus.
      EXPECT_EQ(ok->State(), c.FocusOtherButton ? kasNormal : kasHot);
      ::PostMessageW(target->Handle(), WM_KEYDOWN, c.Key, 0);
    };
    timer.SetEnabled(true);
    EXPECT_EQ(form->ShowModal(), c.Want);
    EXPECT_EQ(ok->Clicks, c.Want == mrOk ? 1 : 0);
    EXPECT_EQ(cancel->Clicks, c.Want == mrCancel ? 1 : 0);
    EXPECT_EQ(other->Clicks, 0);
    form->Free();
  }
}

TEST(ButtonDialog, EnterGoesToAFocusedButtonAndEscapeNeedsNoShiftKeys) {
  TScene s;
  TProbeButton* ok = s.Add(TRect(10, 10, 110, 45));
  ok->SetDefault(true);
  TProbeButton* cancel = s.Add(TRect(120, 10, 220, 45));
  cancel->SetCancel(true);
  TProbeButton* other = s.Add(TRect(230, 10, 330, 45));
  other->SetFocus();
  PumpPending();
  EXPECT_FALSE(ok->Active());
  EXPECT_EQ(s.Form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(ok->Clicks, 0);
  ok->SetFocus();
  PumpPending();
  EXPECT_TRUE(ok->Active());
  EXPECT_EQ(s.Form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(ok->Clicks, 1);

  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  const BYTE saved = keys[VK_SHIFT];
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_EQ(s.Form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);
  keys[VK_SHIFT] = saved;
  ::SetKeyboardState(keys);
  EXPECT_EQ(cancel->Clicks, 0);
  EXPECT_EQ(s.Form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(cancel->Clicks, 1);
  // A button that cannot take the focus answers neither key.
  cancel->SetCanFocused(false);
  EXPECT_EQ(s.Form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);
}

TEST(ButtonBehaviour, GroupKeepsOneButtonDown) {
  TScene s;
  TProbeButton* b[3];
  for (int i = 0; i < 3; ++i) {
    b[i] = s.Add(TRect(10 + i * 110, 10, 110 + i * 110, 45));
    b[i]->SetGroupIndex(1);
  }
  b[0]->ClickAt();
  EXPECT_TRUE(b[0]->Down());
  b[1]->ClickAt();
  EXPECT_FALSE(b[0]->Down());
  EXPECT_TRUE(b[1]->Down());
  EXPECT_EQ(b[0]->Clicks, 1);  // released by its sibling without a click
  b[1]->ClickAt();               // a down button stays down without AllowAllUp
  EXPECT_TRUE(b[1]->Down());
  b[1]->SetAllowAllUp(true);
  b[1]->ClickAt();
  EXPECT_FALSE(b[1]->Down());
  // Another group and buttons of another parent are left alone.
  b[2]->SetGroupIndex(2);
  b[2]->SetDown(true);
  b[0]->SetDown(true);
  EXPECT_TRUE(b[2]->Down());
}

TEST(ButtonBehaviour, SplitButtonOpensItsMenuOnlyFromTheArrowZone) {
  struct TCase {
    TBiDiMode BiDi;
    TkaArrowPosition Position;
    TPoint Point;
    bool Menu;
  };
  const TCase cases[] = {{bdLeftToRight, kaapRight, {40, 17}, false}, {bdLeftToRight, kaapRight, {81, 17}, true},
                         {bdLeftToRight, kaapRight, {80, 17}, false}, {bdRightToLeft, kaapRight, {10, 17}, true},
                         {bdRightToLeft, kaapRight, {95, 17}, false}, {bdLeftToRight, kaapBottom, {95, 10}, false},
                         {bdLeftToRight, kaapBottom, {50, 20}, true}};
  TScene s;
  TPopupMenu menu(s.Form);
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Point.X << ", " << c.Point.Y);
    TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
    b->SetBiDiMode(c.BiDi);
    b->SetArrowPosition(c.Position);
    b->SetDropDownMenu(&menu);
    b->SetSplitButton(true);
    b->ClickAt(c.Point.X, c.Point.Y);
    PumpUntil([&] { return !b->MenuTracking(); }, 1000);
    EXPECT_EQ(b->MenuPopups, c.Menu ? 1 : 0);
    EXPECT_EQ(b->Clicks, c.Menu ? 0 : 1);
    b->Free();
  }
}

TEST(ButtonBehaviour, LinkButtonOnlyFiresItsClick) {
  TScene s;
  TProbeButton* b = s.Add(TRect(10, 10, 149, 46));
  b->SetStyleKind(kabsLink);
  b->SetCursor(crHandPoint);
  b->SetCanFocused(false);
  b->SetModalResult(mrOk);  // without ModalSetting it does not reach the form
  b->ClickAt();
  EXPECT_EQ(b->Clicks, 1);
  EXPECT_EQ(s.Form->ModalResult(), mrNone);
  EXPECT_EQ(b->MenuPopups, 0);
  EXPECT_FALSE(b->Focused());
}

TEST(ButtonBehaviour, ShowCaptionTakesTheMatchingWidth) {
  TScene s;
  TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
  b->SetWidthWithoutCaption(40);
  b->SetShowCaption(false);
  EXPECT_EQ(b->Width(), 40);
  b->SetShowCaption(true);  // WidthWithCaption 0 keeps the width
  EXPECT_EQ(b->Width(), 40);
  b->SetWidthWithCaption(120);
  b->SetShowCaption(false);
  b->SetShowCaption(true);
  EXPECT_EQ(b->Width(), 120);
  b->SetImageMargin(-5);  // ignored
  EXPECT_EQ(b->ImageMargin(), 0);
}

TEST(ButtonBehaviour, ScalingTakesTheButtonsOwnSizesAlong) {
  TScene s;
  TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
  b->SetImageMargin(40);
  b->SetWidthWithCaption(100);
  b->SetWidthWithoutCaption(41);
  b->SetMargin(4);
  b->SetSpacing(3);
  b->TitleFont()->SetHeight(-12);
  b->ScaleForPPI(144);
  EXPECT_EQ(b->ImageMargin(), 60);
  EXPECT_EQ(b->WidthWithCaption(), 150);
  EXPECT_EQ(b->WidthWithoutCaption(), 62);  // 61.5 rounds away from zero
  EXPECT_EQ(b->TitleFont()->Height(), -18);
  EXPECT_EQ(b->SplitWidth(), 29);
  EXPECT_EQ(b->Margin(), 4);  // without ScaleMarginAndSpacing
  EXPECT_EQ(b->Spacing(), 3);
  b->SetScaleMarginAndSpacing(true);
  b->ScaleForPPI(96);
  EXPECT_EQ(b->Margin(), 3);  // 2.67
  EXPECT_EQ(b->Spacing(), 2);
}

TEST(ButtonBehaviour, FreedCustomImagesAreForgotten) {
  TScene s;
  TProbeButton* b = s.Add(TRect(10, 10, 110, 45));
  auto* images = new TkaImageCollection(s.Form);
  b->SetCustomImages(images);
  b->SetStyleKind(kabsCustomImage);
  images->Free();
  EXPECT_EQ(b->CustomImages(), nullptr);
  b->Repaint();
}

TEST(ButtonLayout, PublishedPropertiesAreReadFromALayout) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, R"(object Form1: TCustomForm
  object Images: TkaImageCollection
  end
  object kaButton10: TkaButton
    Left = 88
    Top = 156
    Width = 139
    Height = 36
    Cursor = crHandPoint
    Caption = 'Home'
    StyleKind = kabsLink
    CanFocused = False
    AllowAllUp = True
    GlowEffect.Enabled = True
    GlowEffect.AlphaValue = 100
    GlowEffect.FocusedColor = clHighlight
    GlowEffect.PressedGlowSize = 10
    GlowEffect.PressedAlphaValue = 120
    GlowEffect.States = [kasHot, kasPressed, kasFocused]
    Title = 'Title'
    TitleFont.Height = -15
    ColorOptions.HotColor = clRed
    HotImageIndex = 1
    PressedImageIndex = 2
    FocusedImageIndex = 3
    ImageMargin = 30
    WidthWithCaption = 139
    WidthWithoutCaption = 40
    ShowCaption = False
    ScaleMarginAndSpacing = True
    Default = True
    Cancel = True
    ModalResult = 2
    ModalSetting = True
    DisabledFontColor = clGray
    UseFontColorToStyleColor = True
    UseGalleryMenuImage = True
    UseGalleryMenuCaption = True
    CustomImages = Images
    CustomImageNormalIndex = 0
    CustomImageHotIndex = 1
    CustomImagePressedIndex = 2
    CustomImageFocusedIndex = 3
    CustomImageDisabledIndex = 4
    TransparentBackground = False
    SplitButton = True
    ArrowPosition = kaapBottom
  end
end)",
             L"TEST");
  auto* b = dynamic_cast<TkaButton*>(form->FindComponent(L"kaButton10"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->StyleKind(), kabsLink);
  EXPECT_EQ(b->Cursor(), crHandPoint);
  EXPECT_FALSE(b->CanFocused());
  EXPECT_TRUE(b->AllowAllUp());
  EXPECT_TRUE(b->GlowEffect()->Enabled());
  EXPECT_EQ(b->GlowEffect()->AlphaValue(), 100);
  EXPECT_EQ(b->GlowEffect()->PressedGlowSize(), 10);
  EXPECT_EQ(b->Title(), L"Title");
  EXPECT_EQ(b->TitleFont()->Height(), -15);
  EXPECT_EQ(b->ColorOptions()->HotColor(), clRed);
  EXPECT_EQ(b->ImageIndexFor(kasFocused), 3);
  EXPECT_EQ(b->ImageMargin(), 30);
  EXPECT_FALSE(b->ShowCaption());
  EXPECT_EQ(b->Width(), 40);  // ShowCaption came after the widths
  EXPECT_TRUE(b->ScaleMarginAndSpacing());
  EXPECT_TRUE(b->Default() && b->Cancel() && b->ModalSetting());
  EXPECT_EQ(b->ModalResult(), mrCancel);
  EXPECT_EQ(b->DisabledFontColor(), clGray);
  EXPECT_TRUE(b->UseFontColorToStyleColor() && b->UseGalleryMenuImage() && b->UseGalleryMenuCaption());
  EXPECT_EQ(b->CustomImages(), form->FindComponent(L"Images"));
  for (int st = kasNormal; st <= kasDisabled; ++st)
    EXPECT_EQ(b->CustomImageIndexFor(static_cast<TkasCtrlState>(st)), st);
  EXPECT_FALSE(b->TransparentBackground());
  EXPECT_TRUE(b->SplitButton());
  EXPECT_EQ(b->ArrowPosition(), kaapBottom);
  form->Free();
}

TEST(ButtonHandles, TwoThousandStateChangesKeepTheGdiObjectCount) {
  TScene s;
  TProbeButton* b = s.Add(TRect(10, 10, 160, 60));
  TPopupMenu menu(s.Form);
  b->SetCaption(L"Glowing");
  b->SetTitle(L"Title");
  b->SetDropDownMenu(&menu);
  b->SetSplitButton(true);
  b->GlowEffect()->SetEnabled(true);
  const TkaButtonStyleKind kinds[] = {kabsPushButton, kabsTab, kabsSegmentedMiddle, kabsColorButton, kabsLink};
  auto cycle = [&](int i) {
    b->SetStyleKind(kinds[i % 5]);
    switch (i % 4) {
      case 0: b->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)); break;  // hot
      case 1: b->Perform(CM_MOUSELEAVE); break;
      case 2: b->SetEnabled(i % 8 != 2); break;
      default: b->SetDown(!b->Down()); break;
    }
  };
  for (int i = 0; i < 40; ++i) cycle(i);
  const int before = GdiObjectCount();
  for (int i = 0; i < 2000; ++i) cycle(i);
  EXPECT_LE(GdiObjectCount() - before, 4);
}

}  // namespace
