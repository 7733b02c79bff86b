// The check box: the state cycle by mouse, Space, Enter and accelerator with one click event
// per toggle, states set in code, the box in every check state and control state (style
// element and classic) and from pictures, box side, caption colour, focus and glow, scaling
// at 96 and 144 DPI, layouts, and handle hygiene.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "framework/Streaming.h"
#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaDrawUtils/BitmapOptions.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/TestControls.h"

namespace {

constexpr TColor kParent = clYellow;
constexpr TColor kInk = clRed;

class TProbeCheckBox : public TkaCheckBox {
  KA_CLASS(TProbeCheckBox, TkaCheckBox)
 public:
  explicit TProbeCheckBox(TComponent* AOwner) : TkaCheckBox(AOwner) {
    OnClick = [this](TObject*) {
      ++Clicks;
      StateInClick = State();
    };
  }
  int Clicks = 0;
  TCheckBoxState StateInClick = cbUnchecked;

  TkasCtrlState CtrlState() { return GetCtrlState(); }
  bool Glow(TkasCtrlState S, TColor& C) {
    uint8_t a = 0, size = 0;
    return GetGlowParams(S, C, a, size);
  }
  void Move(int X, int Y) { Perform(WM_MOUSEMOVE, 0, MAKELPARAM(X, Y)); }
  void Press(int X = 5, int Y = 5) { Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y)); }
  void Release(int X = 5, int Y = 5) { Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y)); }
  void Key(UINT Msg, WPARAM Vk) { Perform(Msg, Vk, 0); }
  // What the box shows in a state, over its captured background.
  std::unique_ptr<TBitmap> Shot(TkasCtrlState S) {
    auto b = std::make_unique<TBitmap>(Width(), Height());
    PaintStateToDC(b->Canvas()->Handle(), S, false);
    return b;
  }
};

struct TScene {
  TCustomForm* Form;
  TScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(100, 100, 420, 200);
    Form->SetColor(kParent);
    Form->Show();
    PumpPending();
  }
  ~TScene() { Form->Free(); }
  TProbeCheckBox* Add(const String& Caption = L"Check") {
    auto* b = new TProbeCheckBox(Form);
    b->SetBounds(10, 10, 110, 35);
    b->SetParent(Form);
    b->Font()->SetColor(kInk);
    b->SetCaption(Caption);
    PumpPending();
    return b;
  }
};

int CountOf(TBitmap* B, TColor Color) {
  int n = 0;
  for (int y = 0; y < B->Height(); ++y)
    for (int x = 0; x < B->Width(); ++x) n += PixelAt(B, x, y) == ColorToRGB(Color);
  return n;
}

void Fill(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

// ---- Clicks ---------------------------------------------------------------------------------

enum TInput { kMouse, kSpace, kEnter, kAccel };

void Toggle(TProbeCheckBox* B, TInput Input) {
  switch (Input) {
    case kMouse:
      B->Move(5, 5);
      B->Press();
      B->Release();
      break;
    case kSpace:
      B->Key(WM_KEYDOWN, VK_SPACE);
      B->Key(WM_KEYUP, VK_SPACE);
      break;
    case kEnter: B->Key(WM_KEYDOWN, VK_RETURN); break;
    case kAccel: EXPECT_EQ(B->Perform(CM_DIALOGCHAR, L'C', 0), 1); break;
  }
}

TEST(CheckBoxClicks, EachInputAdvancesTheStateAndClicksOncePerToggle) {
  struct TCase {
    TInput Input;
    bool AllowGrayed;
    TCheckBoxState After[3];
  };
  const TCase cases[] = {
      {kMouse, false, {cbChecked, cbUnchecked, cbChecked}},
      {kMouse, true, {cbGrayed, cbChecked, cbUnchecked}},
      {kSpace, false, {cbChecked, cbUnchecked, cbChecked}},
      {kSpace, true, {cbGrayed, cbChecked, cbUnchecked}},
      {kEnter, true, {cbGrayed, cbChecked, cbUnchecked}},
      {kAccel, false, {cbChecked, cbUnchecked, cbChecked}},
      {kAccel, true, {cbGrayed, cbChecked, cbUnchecked}},
  };
  TScene s;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Input) + (c.AllowGrayed ? " grayed" : ""));
    TProbeCheckBox* b = s.Add(L"&Check");
    b->SetAllowGrayed(c.AllowGrayed);
    for (int i = 0; i < 3; ++i) {
      Toggle(b, c.Input);
      EXPECT_EQ(b->State(), c.After[i]);
      EXPECT_EQ(b->Clicks, i + 1);
      // The handler already sees the new state.
      EXPECT_EQ(b->StateInClick, c.After[i]);
    }
    b->Free();
  }
}

TEST(CheckBoxClicks, ReleaseOutsideAndOtherKeysDoNotToggle) {
  TScene s;
  TProbeCheckBox* b = s.Add(L"&Check");
  b->Move(5, 5);
  b->Press();
  EXPECT_EQ(b->CtrlState(), kasPressed);
  b->Move(500, 5);  // dragged off before the release
  b->Release(500, 5);
  EXPECT_EQ(b->State(), cbUnchecked);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, L'X', 0), 0);
  b->Perform(WM_LBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(b->State(), cbUnchecked);
  EXPECT_EQ(b->Clicks, 0);
  // A box that takes no focus ignores Space but still answers its accelerator.
  b->SetCanFocused(false);
  b->Key(WM_KEYDOWN, VK_SPACE);
  b->Key(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(b->Clicks, 0);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, L'C', 0), 1);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(b->Clicks, 1);
}

TEST(CheckBoxClicks, StateSetInCodeClicksOnceAndOnlyOnAChange) {
  TScene s;
  TProbeCheckBox* b = s.Add();
  b->SetChecked(true);
  EXPECT_EQ(b->State(), cbChecked);
  EXPECT_EQ(b->Clicks, 1);
  b->SetChecked(true);
  b->SetState(cbChecked);
  EXPECT_EQ(b->Clicks, 1);
  // Grayed in code even without AllowGrayed (only clicks respect it).
  b->SetState(cbGrayed);
  EXPECT_EQ(b->Clicks, 2);
  EXPECT_FALSE(b->Checked());
  b->SetChecked(false);
  EXPECT_EQ(b->State(), cbUnchecked);
  EXPECT_EQ(b->Clicks, 3);
  // Values outside the enumeration are refused.
  b->SetState(static_cast<TCheckBoxState>(7));
  EXPECT_EQ(b->State(), cbUnchecked);
  EXPECT_EQ(b->Clicks, 3);
}

TEST(CheckBoxClicks, AHandlerThatSetsTheStateDoesNotLoop) {
  TScene s;
  TProbeCheckBox* b = s.Add();
  int clicks = 0;
  // A handler that refuses the grayed state.
  b->SetAllowGrayed(true);
  b->OnClick = [&](TObject*) {
    ++clicks;
    if (b->State() == cbGrayed) b->SetState(cbChecked);
  };
  Toggle(b, kMouse);
  EXPECT_EQ(b->State(), cbChecked);
  EXPECT_EQ(clicks, 2);  // the user's click and the handler's own change
}

TEST(CheckBoxStates, HotPressedAndDisabledButNeverFocused) {
  TScene s;
  TProbeCheckBox* b = s.Add();
  EXPECT_EQ(b->CtrlState(), kasNormal);
  b->SetFocus();
  PumpPending();
  ASSERT_TRUE(b->Focused());
  EXPECT_EQ(b->CtrlState(), kasNormal);
  b->Move(5, 5);
  EXPECT_EQ(b->CtrlState(), kasHot);
  b->Press();
  EXPECT_EQ(b->CtrlState(), kasPressed);
  b->Release();
  b->Perform(CM_MOUSELEAVE);
  b->Key(WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(b->CtrlState(), kasPressed);
  b->Key(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(b->CtrlState(), kasNormal);
  b->SetEnabled(false);
  EXPECT_EQ(b->CtrlState(), kasDisabled);
}

// ---- The box --------------------------------------------------------------------------------

// The box drawn as the style or the classic frame control draws it, at the left of a
// control of height H, for comparison.
void ExpectedBox(TCanvas* C, int Side, int H, TCheckBoxState Check, TkasCtrlState S, bool Classic, int Dpi) {
  const int top = 1 + (H - 1 - Side) / 2;
  const TRect r(0, top, Side, top + Side);
  if (Classic) {
    // Flags as written down for each check state: grayed is checked and inactive.
    static const UINT flags[3][5] = {
        {0, 0, DFCS_PUSHED, 0, DFCS_INACTIVE},
        {DFCS_CHECKED, DFCS_CHECKED, DFCS_CHECKED | DFCS_PUSHED, DFCS_CHECKED, DFCS_CHECKED | DFCS_INACTIVE},
        {DFCS_CHECKED | DFCS_INACTIVE, DFCS_CHECKED | DFCS_INACTIVE, DFCS_CHECKED | DFCS_INACTIVE | DFCS_PUSHED,
         DFCS_CHECKED | DFCS_INACTIVE, DFCS_CHECKED | DFCS_INACTIVE}};
    RECT rr = *r.AsRECT();
    ::DrawFrameControl(C->Handle(), &rr, DFC_BUTTON, DFCS_BUTTONCHECK | flags[Check][S]);
    return;
  }
  static const TThemedButton details[3][5] = {
      {tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedHot, tbCheckBoxUncheckedPressed, tbCheckBoxUncheckedNormal,
       tbCheckBoxUncheckedDisabled},
      {tbCheckBoxCheckedNormal, tbCheckBoxCheckedHot, tbCheckBoxCheckedPressed, tbCheckBoxCheckedNormal,
       tbCheckBoxCheckedDisabled},
      {tbCheckBoxMixedNormal, tbCheckBoxMixedHot, tbCheckBoxMixedPressed, tbCheckBoxMixedNormal,
       tbCheckBoxMixedDisabled}};
  StyleServices()->DrawElement(C->Handle(), TCustomStyleServices::GetElementDetails(details[Check][S]), r, nullptr,
                               Dpi);
}

class CheckBoxLooks : public ::testing::TestWithParam<bool> {};

TEST_P(CheckBoxLooks, BoxShowsTheElementOfEachCheckStateInEachControlState) {
  std::unique_ptr<TClassicControlsScope> style;
  if (GetParam()) style = std::make_unique<TClassicControlsScope>();
  const bool classic = !StyleServices()->Enabled();
  ASSERT_TRUE(classic || !GetParam());
  TScene s;
  TProbeCheckBox* b = s.Add(L"");
  const int side = 13, h = b->Height();
  const int top = 1 + (h - 1 - side) / 2;
  // Frame, corners, the middle and where the mark's strokes run.
  const TPoint probes[] = {{0, 6}, {6, 0}, {12, 6}, {6, 12}, {1, 1}, {11, 11}, {6, 6},
                           {3, 6}, {4, 8}, {5, 9}, {8, 5}, {9, 4}, {3, 3}, {9, 9}};
  for (int check = cbUnchecked; check <= cbGrayed; ++check) {
    b->SetState(static_cast<TCheckBoxState>(check));
    for (int state = kasNormal; state <= kasDisabled; ++state) {
      const auto S = static_cast<TkasCtrlState>(state);
      SCOPED_TRACE("check " + std::to_string(check) + " state " + std::to_string(state));
      auto shot = b->Shot(S);
      TBitmap want(b->Width(), h);
      Fill(want.Canvas(), TRect(0, 0, b->Width(), h), kParent);
      ExpectedBox(want.Canvas(), side, h, static_cast<TCheckBoxState>(check), S, classic, 96);
      for (const TPoint& p : probes)
        EXPECT_EQ(PixelAt(shot.get(), p.X, top + p.Y), PixelAt(&want, p.X, top + p.Y))
            << "at " << p.X << ", " << top + p.Y;
      // Nothing else is drawn without a caption.
      EXPECT_EQ(PixelAt(shot.get(), side + 2, h / 2), ColorToRGB(kParent));
    }
  }
}

TEST_P(CheckBoxLooks, EveryScaledGeometryFollowsTheDpi) {
  std::unique_ptr<TClassicControlsScope> style;
  if (GetParam()) style = std::make_unique<TClassicControlsScope>();
  const bool classic = !StyleServices()->Enabled();
  struct TCase {
    int Dpi, Width, Height, Side, Spacing;
  };
  const TCase cases[] = {{96, 110, 35, 13, 1}, {144, 165, 53, 20, 2}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Dpi);
    TScene s;
    TProbeCheckBox* b = s.Add(L"Wide");
    b->SetChecked(true);
    if (c.Dpi != 96) b->ScaleForPPI(c.Dpi);
    ASSERT_EQ(b->Width(), c.Width);
    ASSERT_EQ(b->Height(), c.Height);
    EXPECT_EQ(b->Spacing(), c.Spacing);
    TBitmap probe(1, 1);
    EXPECT_EQ(CheckBoxSize(probe.Canvas(), b, b->ScaleFactor()), c.Side);
    auto shot = b->Shot(kasNormal);
    TBitmap want(c.Width, c.Height);
    Fill(want.Canvas(), TRect(0, 0, c.Width, c.Height), kParent);
    ExpectedBox(want.Canvas(), c.Side, c.Height, cbChecked, kasNormal, classic, c.Dpi);
    const int top = 1 + (c.Height - 1 - c.Side) / 2;
    // The box's outer frame at both ends of its middle row and column, its middle, and the
    // gap before the caption.
    const int mid = c.Side / 2;
    for (const TPoint& p : {TPoint(0, top + mid), TPoint(c.Side - 1, top + mid), TPoint(mid, top),
                            TPoint(mid, top + c.Side - 1), TPoint(mid, top + mid)})
      EXPECT_EQ(PixelAt(shot.get(), p.X, p.Y), PixelAt(&want, p.X, p.Y)) << "at " << p.X << ", " << p.Y;
    for (int x = c.Side; x < c.Side + 5; ++x) EXPECT_EQ(PixelAt(shot.get(), x, top + mid), ColorToRGB(kParent));
    // The caption starts after the box and its gap and scales with the font.
    const TRect ink = ColorBox(shot.get(), kInk);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, c.Side + 5);
    EXPECT_LE(ink.Left, c.Side + 5 + 2);
    probe.Canvas()->SetFont(b->Font());
    const int textHeight = probe.Canvas()->TextHeight(L"W");
    EXPECT_NEAR(ink.Height(), textHeight * 0.7, textHeight * 0.3);
  }
}

INSTANTIATE_TEST_SUITE_P(CheckBoxThemedAndClassic, CheckBoxLooks, ::testing::Values(false, true),
                         [](const auto& Info) { return std::string(Info.param ? "Classic" : "Themed"); });

TEST(CheckBoxLayoutOfBox, AlignmentAndRightToLeftChooseTheSide) {
  struct TCase {
    TAlignment Alignment;
    TBiDiMode BiDi;
    bool OnRight;
  };
  const TCase cases[] = {{taRightJustify, bdLeftToRight, false},
                         {taLeftJustify, bdLeftToRight, true},
                         {taRightJustify, bdRightToLeft, true},
                         {taLeftJustify, bdRightToLeft, false}};
  TScene s;
  TProbeCheckBox* b = s.Add(L"");
  const int w = b->Width(), mid = b->Height() / 2;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Alignment) + " " + std::to_string(c.BiDi));
    b->SetAlignment(c.Alignment);
    b->SetBiDiMode(c.BiDi);
    EXPECT_EQ(b->BoxOnRight(), c.OnRight);
    auto shot = b->Shot(kasNormal);
    // The box's middle is drawn on its side only.
    EXPECT_NE(PixelAt(shot.get(), c.OnRight ? w - 7 : 6, mid), ColorToRGB(kParent));
    EXPECT_EQ(PixelAt(shot.get(), c.OnRight ? 6 : w - 7, mid), ColorToRGB(kParent));
  }
  // taCenter is not a side.
  b->SetAlignment(taCenter);
  EXPECT_EQ(b->Alignment(), taLeftJustify);
}

TEST(CheckBoxLayoutOfBox, CaptionSitsBesideTheBoxAndKeepsRoomForTheFocusRectangle) {
  TScene s;
  TProbeCheckBox* b = s.Add(L"Check");
  const int w = b->Width();
  auto left = b->Shot(kasNormal);
  EXPECT_GE(ColorBox(left.get(), kInk).Left, 13 + 5);
  b->SetAlignment(taLeftJustify);
  auto right = b->Shot(kasNormal);
  const TRect ink = ColorBox(right.get(), kInk);
  EXPECT_LE(ink.Right, w - 13 - 5);
  // With the box on the right a caption at the left edge moves 2 pixels in, so a focus
  // rectangle around it is not cut off.
  b->SetShowFocusRect(false);
  auto noFocusRoom = b->Shot(kasNormal);
  EXPECT_EQ(ink.Left - ColorBox(noFocusRoom.get(), kInk).Left, 2);
}

TEST(CheckBoxCaption, ColourFollowsFontUntilDisabled) {
  TScene s;
  TProbeCheckBox* b = s.Add(L"Check");
  for (TkasCtrlState S : {kasNormal, kasHot, kasPressed}) EXPECT_GT(CountOf(b->Shot(S).get(), kInk), 10) << S;
  auto disabled = b->Shot(kasDisabled);
  EXPECT_EQ(CountOf(disabled.get(), kInk), 0);
  EXPECT_GT(CountOf(disabled.get(), clGrayText), 10);
  // Only a custom style would pass the font colour through the style; the system style
  // keeps it.
  b->SetUseFontColorToStyleColor(true);
  EXPECT_GT(CountOf(b->Shot(kasNormal).get(), kInk), 10);
}

TEST(CheckBoxCaption, FocusShowsOnlyAsTheRectangleAroundTheCaption) {
  TScene s;
  TProbeCheckBox* b = s.Add(L"Check");
  b->Repaint();
  const TRect plain = ColorBox(b->Shot(kasNormal).get(), kInk);
  b->SetFocus();
  PumpPending();
  ASSERT_TRUE(b->Focused());
  ASSERT_EQ(b->CtrlState(), kasNormal);
  const TRect focused = ColorBox(b->Shot(kasNormal).get(), kInk);
  // The dotted outline lies 2 pixels around the caption's rectangle, in the caption colour.
  EXPECT_LT(focused.Left, plain.Left);
  EXPECT_LT(focused.Top, plain.Top);
  EXPECT_GT(focused.Right, plain.Right);
  EXPECT_GT(focused.Bottom, plain.Bottom);
  b->SetShowFocusRect(false);
  EXPECT_EQ(ColorBox(b->Shot(kasNormal).get(), kInk), plain);
}

TEST(CheckBoxCaption, GlowOfTheFocusedStateShowsWhileFocusedAndNormal) {
  TScene s;
  TProbeCheckBox* b = s.Add(L"Check");
  b->SetShowFocusRect(false);
  TkaButtonGlowEffect* g = b->GlowEffect();
  g->SetEnabled(true);
  g->SetColor(clBlue);
  g->SetFocusedColor(clLime);
  g->SetStates(TkasCtrlStates{kasHot, kasFocused});
  TColor color = clNone;
  EXPECT_FALSE(b->Glow(kasNormal, color));
  auto hot = b->Shot(kasHot);
  auto plain = b->Shot(kasNormal);
  b->SetFocus();
  PumpPending();
  ASSERT_TRUE(b->Glow(kasNormal, color));
  EXPECT_EQ(color, clLime);
  auto focused = b->Shot(kasNormal);
  // A halo is blended around the caption: greenish pixels where the unfocused box shows the
  // parent.
  auto greenish = [](TColor C) { return GetGValue(C) > 200 && GetBValue(C) < 60 && GetRValue(C) < 250; };
  auto bluish = [](TColor C) { return GetBValue(C) > 60 && GetRValue(C) < 250; };
  int halo = 0, hotHalo = 0;
  const TRect ink = ColorBox(plain.get(), kInk);
  for (int y = 0; y < b->Height(); ++y)
    for (int x = ink.Left - 4; x < ink.Right + 4; ++x) {
      if (PixelAt(plain.get(), x, y) != ColorToRGB(kParent)) continue;
      halo += greenish(PixelAt(focused.get(), x, y));
      hotHalo += bluish(PixelAt(hot.get(), x, y));
    }
  EXPECT_GT(halo, 20);
  EXPECT_GT(hotHalo, 20);
}

// ---- Pictures -------------------------------------------------------------------------------

// Solid 8 x 8 pictures with alpha: unchecked, checked and grayed, each normal, hot, pressed
// and disabled.
const TColor kPictures[3][4] = {{clSilver, clAqua, clNavy, clGray},
                                {clGreen, clLime, clOlive, clTeal},
                                {clMaroon, clFuchsia, clPurple, clBlack}};

std::unique_ptr<TkaImageCollection> BoxPictures() {
  auto images = std::make_unique<TkaImageCollection>(nullptr);
  for (const auto& row : kPictures)
    for (TColor color : row) {
      TBitmap b(8, 8);
      b.SetPixelFormat(pf32bit);
      Fill(b.Canvas(), TRect(0, 0, 8, 8), color);
      SetBitmapAlpha(&b, 255);
      b.SetAlphaFormat(afPremultiplied);
      images->Images()->Add()->SetBitmap(&b);
    }
  return images;
}

void SetPictureIndexes(TkaCheckBox* B, bool WithHotPressedDisabled) {
  B->SetCustomUnCheckedImageIndex(0), B->SetCustomCheckedImageIndex(4), B->SetCustomGrayedImageIndex(8);
  auto idx = [&](int I) { return WithHotPressedDisabled ? I : -1; };
  B->SetCustomUnCheckedImageHotIndex(idx(1)), B->SetCustomUnCheckedImagePressedIndex(idx(2));
  B->SetCustomUnCheckedImageDisabledIndex(idx(3));
  B->SetCustomCheckedImageHotIndex(idx(5)), B->SetCustomCheckedImagePressedIndex(idx(6));
  B->SetCustomCheckedImageDisabledIndex(idx(7));
  B->SetCustomGrayedImageHotIndex(idx(9)), B->SetCustomGrayedImagePressedIndex(idx(10));
  B->SetCustomGrayedImageDisabledIndex(idx(11));
}

TColor Faded(TColor C) {
  // 120 of 255 over the parent.
  auto mix = [](int S, int D) { return (S * 120 + D * 135 + 127) / 255; };
  const TColor s = ColorToRGB(C), d = ColorToRGB(kParent);
  return static_cast<TColor>(RGB(mix(GetRValue(s), GetRValue(d)), mix(GetGValue(s), GetGValue(d)),
                                 mix(GetBValue(s), GetBValue(d))));
}

TEST(CheckBoxPictures, EachCheckStateAndControlStateShowsItsPicture) {
  TScene s;
  TProbeCheckBox* b = s.Add(L"Pictures");
  auto pictures = BoxPictures();
  b->SetCustomImages(pictures.get());
  const int mid = b->Height() / 2;
  // The 8-pixel picture is centred in a box 13 wide at the side.
  const TPoint left(2 + 4, mid), right(b->Width() - 13 + 2 + 4, mid);
  static const int column[5] = {0, 1, 2, 0, 3};
  for (bool complete : {true, false}) {
    SetPictureIndexes(b, complete);
    for (bool onRight : {false, true}) {
      b->SetAlignment(onRight ? taLeftJustify : taRightJustify);
      for (int check = cbUnchecked; check <= cbGrayed; ++check) {
        b->SetState(static_cast<TCheckBoxState>(check));
        for (int state = kasNormal; state <= kasDisabled; ++state) {
          SCOPED_TRACE("complete " + std::to_string(complete) + " right " + std::to_string(onRight) + " check " +
                       std::to_string(check) + " state " + std::to_string(state));
          auto shot = b->Shot(static_cast<TkasCtrlState>(state));
          TColor want = kPictures[check][complete ? column[state] : 0];
          // Without its own picture a disabled box fades the normal one.
          if (!complete && state == kasDisabled) want = Faded(want);
          const TPoint p = onRight ? right : left;
          EXPECT_TRUE(NearColor(PixelAt(shot.get(), p.X, p.Y), want, 2))
              << std::hex << PixelAt(shot.get(), p.X, p.Y) << " want " << ColorToRGB(want);
          // The caption keeps 7 pixels beyond the picture.
          const TRect ink = ColorBox(shot.get(), state == kasDisabled ? clGrayText : kInk);
          if (onRight)
            EXPECT_LE(ink.Right, b->Width() - 8 - 7);
          else
            EXPECT_GE(ink.Left, 8 + 7);
        }
      }
    }
  }
}

TEST(CheckBoxPictures, WithoutTheCheckedPictureTheStyleBoxIsDrawnAndAFreedCollectionIsForgotten) {
  TScene s;
  TProbeCheckBox* b = s.Add(L"");
  auto* pictures = BoxPictures().release();
  b->SetCustomImages(pictures);
  b->SetCustomUnCheckedImageIndex(0);  // the checked picture decides
  auto styled = b->Shot(kasNormal);
  b->SetCustomImages(nullptr);
  auto plain = b->Shot(kasNormal);
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(PixelAt(styled.get(), x, y), PixelAt(plain.get(), x, y));
  b->SetCustomImages(pictures);
  b->SetCustomCheckedImageIndex(4);
  pictures->Free();
  EXPECT_EQ(b->CustomImages(), nullptr);
  b->Repaint();
}

// ---- Layouts and handles --------------------------------------------------------------------

TEST(CheckBoxLayout, PublishedPropertiesAreReadFromALayout) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, R"(object Form1: TCustomForm
  object Pictures: TkaImageCollection
  end
  object kaCheckBox2: TkaCheckBox
    Left = 215
    Top = 90
    Width = 110
    Height = 35
    Caption = 'Show wallpaper'
    Checked = True
    AllowGrayed = True
    Alignment = taLeftJustify
    UseFontColorToStyleColor = True
    Animation = True
    CanFocused = False
    Spacing = 4
    Layout = blGlyphTop
    ShowFocusRect = False
    WordWrap = False
    GlowEffect.Enabled = True
    CustomImages = Pictures
    CustomCheckedImageIndex = 1
    CustomCheckedImageHotIndex = 2
    CustomCheckedImagePressedIndex = 3
    CustomCheckedImageDisabledIndex = 4
    CustomUnCheckedImageIndex = 5
    CustomUnCheckedImageHotIndex = 6
    CustomUnCheckedImagePressedIndex = 7
    CustomUnCheckedImageDisabledIndex = 8
    CustomGrayedImageIndex = 9
    CustomGrayedImageHotIndex = 10
    CustomGrayedImagePressedIndex = 11
    CustomGrayedImageDisabledIndex = 12
  end
  object kaCheckBox4: TkaCheckBox
    State = cbGrayed
  end
end
)",
             L"check box layout");
  auto* b = dynamic_cast<TkaCheckBox*>(form->FindComponent(L"kaCheckBox2"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Caption(), L"Show wallpaper");
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(b->AllowGrayed());
  EXPECT_EQ(b->Alignment(), taLeftJustify);
  EXPECT_TRUE(b->UseFontColorToStyleColor());
  EXPECT_TRUE(b->Animation());
  EXPECT_FALSE(b->CanFocused());
  EXPECT_EQ(b->Spacing(), 4);
  EXPECT_EQ(b->Layout(), blGlyphTop);
  EXPECT_FALSE(b->ShowFocusRect());
  EXPECT_FALSE(b->WordWrap());
  EXPECT_TRUE(b->GlowEffect()->Enabled());
  EXPECT_EQ(b->CustomImages(), form->FindComponent(L"Pictures"));
  const int indexes[] = {b->CustomCheckedImageIndex(),          b->CustomCheckedImageHotIndex(),
                         b->CustomCheckedImagePressedIndex(),   b->CustomCheckedImageDisabledIndex(),
                         b->CustomUnCheckedImageIndex(),        b->CustomUnCheckedImageHotIndex(),
                         b->CustomUnCheckedImagePressedIndex(), b->CustomUnCheckedImageDisabledIndex(),
                         b->CustomGrayedImageIndex(),           b->CustomGrayedImageHotIndex(),
                         b->CustomGrayedImagePressedIndex(),    b->CustomGrayedImageDisabledIndex()};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(indexes[i], i + 1);
  auto* grayed = dynamic_cast<TkaCheckBox*>(form->FindComponent(L"kaCheckBox4"));
  ASSERT_NE(grayed, nullptr);
  EXPECT_EQ(grayed->State(), cbGrayed);
  // Defaults of a box the layout says nothing about.
  TkaCheckBox fresh(nullptr);
  EXPECT_EQ(fresh.State(), cbUnchecked);
  EXPECT_FALSE(fresh.AllowGrayed());
  EXPECT_EQ(fresh.Alignment(), taRightJustify);
  EXPECT_TRUE(fresh.WordWrap());
  EXPECT_TRUE(fresh.UseImageIndexFromAction());
  EXPECT_EQ(fresh.CustomGrayedImageDisabledIndex(), -1);
  form->Free();
}

TEST(CheckBoxHandles, TwoThousandStateChangesKeepTheGdiObjectCount) {
  TScene s;
  TProbeCheckBox* b = s.Add(L"Glowing");
  b->SetAllowGrayed(true);
  b->GlowEffect()->SetEnabled(true);
  auto pictures = BoxPictures();
  auto cycle = [&](int i) {
    switch (i % 5) {
      case 0: b->Move(5, 5); break;
      case 1: b->Perform(CM_MOUSELEAVE); break;
      case 2: b->SetEnabled(i % 10 != 2); break;
      case 3: Toggle(b, kSpace); break;
      default: b->SetCustomImages(i % 20 == 4 ? pictures.get() : nullptr); break;
    }
  };
  SetPictureIndexes(b, false);
  for (int i = 0; i < 40; ++i) cycle(i);
  const int before = GdiObjectCount();
  for (int i = 0; i < 2000; ++i) cycle(i);
  EXPECT_LE(GdiObjectCount() - before, 4);
  b->SetCustomImages(nullptr);
}

}  // namespace
