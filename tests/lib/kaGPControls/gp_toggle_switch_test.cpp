// The vector toggle switch: the exact geometry of the default switch, every control state of
// the default and the demo's switch at chosen pixels, thumb insets for hot and pressed, filled,
// outlined, inset, translucent and shadowed variants, the caption and its focus frame in GDI
// and GDI+, the target's colours during a slide, value limits, 144 DPI, the demo's layout and
// handle hygiene.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Streaming.h"
#include "framework/TypeInfo.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/SwitchScene.h"
#include "tests/support/TestControls.h"

namespace {

class TTestGPSwitch : public TSnapshotControl<TkaGPToggleSwitch> {
  KA_CLASS(TTestGPSwitch, TSnapshotControl<TkaGPToggleSwitch>)
 public:
  explicit TTestGPSwitch(TComponent* AOwner) : inherited(AOwner) {
    OnChangeState = [this](TObject*) { ++Changes; };
  }
  int Changes = 0;

  void RunSlide() {
    for (int i = 0; i < 200 && Sliding(); ++i) AnimationStep();
  }
  bool IsSliding() const { return Sliding(); }
  TRect Track() const { return FSWRect; }
  TRect Thumb() const { return FThumbRect; }
  // Where the current caption goes, measured as it is drawn.
  TRect CaptionPlace() {
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(Font());
    return CaptionRect(MeasureCaption(b.Canvas(), CurrentCaption()));
  }
};

constexpr TColor kBackground = kSwitchSceneBackground;

using TScene = TSwitchScene<TTestGPSwitch>;

// The demo's "Windows11 UI" switch.
void DemoLook(TkaGPToggleSwitch* S) {
  S->SetFrameWidth(1);
  S->SetThumbMargin(4);
  S->SetThumbMarginHot(3);
  S->SetThumbMarginPressed(4);
}

TColor Blend(TColor Over, uint8_t Alpha, TColor Under) {
  Over = ColorToRGB(Over), Under = ColorToRGB(Under);
  auto mix = [Alpha](int o, int u) { return (o * Alpha + u * (255 - Alpha) + 127) / 255; };
  return RGBColor(static_cast<uint8_t>(mix(GetRValue(Over), GetRValue(Under))),
                  static_cast<uint8_t>(mix(GetGValue(Over), GetGValue(Under))),
                  static_cast<uint8_t>(mix(GetBValue(Over), GetBValue(Under))));
}

int Distance(TColor A, TColor B) {
  A = ColorToRGB(A), B = ColorToRGB(B);
  return std::abs(GetRValue(A) - GetRValue(B)) + std::abs(GetGValue(A) - GetGValue(B)) +
         std::abs(GetBValue(A) - GetBValue(B));
}

// Pixels of row Y between X1 and X2 (exclusive) closer to Color than to Versus: the width of
// a shape at that row, edges counted where they are more than half covered.
int RunOf(TTestGPSwitch* S, int Y, int X1, int X2, TColor Color, TColor Versus = kBackground) {
  int n = 0;
  for (int x = X1; x < X2; ++x)
    if (Distance(S->At(x, Y), Color) < Distance(S->At(x, Y), Versus)) ++n;
  return n;
}

// A one-pixel outline may fall on either row of its half-pixel position (GDI+ without
// anti-aliasing rounds it down the pixel grid): true when either row shows Color.
::testing::AssertionResult OutlineAt(TTestGPSwitch* S, int X, int Y, TColor Color) {
  if (NearColor(S->At(X, Y), Color) || NearColor(S->At(X, Y + 1), Color)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no outline at " << X << ", " << Y;
}

// ---- Geometry and looks --------------------------------------------------------------------

TEST(GPToggleSwitchLook, TheDefaultSwitchHasItsDocumentedTrackAndThumb) {
  TScene s;
  TTestGPSwitch* sw = s.Switch;
  s.Repaint();
  EXPECT_EQ(sw->Track(), TRect(2, 7, 42, 27));
  EXPECT_EQ(sw->Thumb(), TRect(2, 7, 22, 27));
  // Off: a 2-pixel outline; the disc inset by 3 x 2 - 1 = 5: (7, 12, 17, 22).
  for (int y : {7, 8, 25, 26}) EXPECT_TRUE(NearColor(sw->At(22, y), clBtnText)) << "outline row " << y;
  for (int x : {2, 3, 40, 41}) EXPECT_TRUE(NearColor(sw->At(x, 17), clBtnText)) << "outline column " << x;
  EXPECT_TRUE(NearColor(sw->At(22, 9), kBackground));
  EXPECT_TRUE(NearColor(sw->At(5, 17), kBackground));
  EXPECT_EQ(RunOf(sw, 17, 2, 22, clBtnText), 2 + 10);
  EXPECT_TRUE(NearColor(sw->At(12, 13), clBtnText));
  EXPECT_TRUE(NearColor(sw->At(12, 10), kBackground));
  // On: a filled pill and the disc at the right end.
  sw->SetAnimation(false);
  sw->SetState(kaswOn);
  EXPECT_TRUE(NearColor(sw->At(3, 17), clHighlight));
  EXPECT_TRUE(NearColor(sw->At(24, 17), clHighlight));
  EXPECT_TRUE(NearColor(sw->At(32, 17), clHighlightText));
  EXPECT_EQ(RunOf(sw, 17, 22, 42, clHighlightText, clHighlight), 10);
  EXPECT_TRUE(NearColor(sw->At(22, 5), kBackground));
}

enum TCtrl { stNormal, stHot, stPressed, stFocused, stDisabled };

TEST(GPToggleSwitchLook, DefaultAndDemoSwitchesPaintEveryStateInTheirColours) {
  const char* stateNames[] = {"normal", "hot", "pressed", "focused", "disabled"};
  for (bool demo : {false, true}) {
    for (TCtrl state : {stNormal, stHot, stPressed, stFocused, stDisabled}) {
      for (bool on : {false, true}) {
        SCOPED_TRACE(testing::Message() << (demo ? "demo, " : "default, ") << stateNames[state]
                                        << (on ? ", on" : ", off"));
        TScene s;
        TTestGPSwitch* sw = s.Switch;
        if (demo) DemoLook(sw);
        sw->SetAnimation(false);
        sw->SetState(on ? kaswOn : kaswOff);
        switch (state) {
          case stHot: s.Hover(60, 30); break;
          case stPressed: s.Send(WM_LBUTTONDOWN, on ? 8 : 35, 17, MK_LBUTTON); break;
          case stFocused: sw->SetFocus(); break;
          case stDisabled: sw->SetEnabled(false); break;
          default: s.Repaint(); break;
        }
        TColor track = on ? clHighlight : clBtnText, thumb = on ? clHighlightText : clBtnText;
        if (state == stPressed) track = clBtnShadow, thumb = clBtnText;
        if (state == stHot) track = LighterColor(ColorToRGB(track), 10), thumb = LighterColor(ColorToRGB(thumb), 10);
        const bool filled = on || state == stPressed;
        if (state == stDisabled) {
          track = Blend(track, 127, kBackground);
          thumb = Blend(thumb, 127, filled ? track : kBackground);
        }
        // The outline's top, or inside a filled track; the disc's centre.
        if (filled)
          EXPECT_TRUE(NearColor(sw->At(on ? 14 : 30, 10), track)) << "track";
        else
          EXPECT_TRUE(OutlineAt(sw, 30, 7, track)) << "track";
        EXPECT_TRUE(NearColor(sw->At(on ? 32 : 12, 17), thumb)) << "thumb";
        if (!filled) {
          EXPECT_TRUE(NearColor(sw->At(30, 12), kBackground)) << "inside the outline";
        }
        if (state == stPressed) s.Send(WM_LBUTTONUP, -5, -5);
      }
    }
  }
}

struct TInsetCase {
  const char* Name;
  bool Hot, Pressed, ReadOnly;
  int Width;  // of the disc along its middle row
  bool Lit;
};

TEST(GPToggleSwitchLook, ThumbMarginsSetTheDiscForNormalHotAndPressed) {
  const TInsetCase cases[] = {
      {"normal", false, false, false, 12, false},
      {"hot", true, false, false, 14, true},
      {"hot, read-only", true, false, true, 14, false},
      {"pressed", true, true, false, 12, false},
  };
  for (const TInsetCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    TTestGPSwitch* sw = s.Switch;
    DemoLook(sw);
    sw->SetReadOnly(c.ReadOnly);
    sw->SetFramePressedColor(clRed);
    sw->SetThumbPressedColor(clBtnText);
    s.Repaint();
    if (c.Hot) s.Hover(30, 17);
    if (c.Pressed) s.Send(WM_LBUTTONDOWN, 30, 17, MK_LBUTTON);
    EXPECT_EQ(RunOf(sw, 17, 4, 22, clBtnText, c.Pressed ? clRed : kBackground), c.Width);
    const TColor expected = c.Lit ? LighterColor(ColorToRGB(clBtnText), 10) : ColorToRGB(clBtnText);
    EXPECT_TRUE(NearColor(sw->At(12, 17), expected));
    if (c.Pressed) s.Send(WM_LBUTTONUP, -5, -5);
  }
}

struct TVariantCase {
  const char* Name;
  void (*Setup)(TkaGPToggleSwitch*);
  bool On;
  void (*Check)(TTestGPSwitch*);
};

TEST(GPToggleSwitchLook, SolidInsetTranslucentAndShadowedVariants) {
  const TVariantCase cases[] = {
      {"off track filled", [](TkaGPToggleSwitch* S) { S->SetFrameSolid(true); }, false,
       [](TTestGPSwitch* S) { EXPECT_TRUE(NearColor(S->At(30, 12), clBtnText)); }},
      {"on track outlined", [](TkaGPToggleSwitch* S) { S->SetFrameOnSolid(false); }, true,
       [](TTestGPSwitch* S) {
         EXPECT_TRUE(OutlineAt(S, 14, 7, clHighlight));
         EXPECT_TRUE(NearColor(S->At(14, 12), kBackground));
       }},
      {"track inside the thumb", [](TkaGPToggleSwitch* S) { S->SetFrameInside(true); }, false,
       [](TTestGPSwitch* S) {
         // Shrunk by a quarter of the height (5) on every side; the thumb keeps its size.
         EXPECT_TRUE(NearColor(S->At(30, 7), kBackground));
         EXPECT_TRUE(OutlineAt(S, 30, 12, clBtnText));
         EXPECT_TRUE(NearColor(S->At(30, 15), kBackground));
         EXPECT_EQ(RunOf(S, 17, 2, 22, clBtnText), 10);
       }},
      {"translucent colours",
       [](TkaGPToggleSwitch* S) {
         S->SetFrameOnColor(clBlue);
         S->SetFrameOnColorAlpha(128);
         S->SetThumbOnColor(clRed);
         S->SetThumbOnColorAlpha(64);
       },
       true,
       [](TTestGPSwitch* S) {
         EXPECT_TRUE(NearColor(S->At(14, 10), Blend(clBlue, 128, kBackground)));
         EXPECT_TRUE(NearColor(S->At(32, 17), Blend(clRed, 64, Blend(clBlue, 128, kBackground))));
       }},
      {"thumb shadow", [](TkaGPToggleSwitch* S) { S->SetThumbShadow(true); }, false,
       [](TTestGPSwitch* S) {
         // Below the disc, inside the outline, the shadow darkens the background.
         const TColor under = S->At(12, 23);
         EXPECT_LT(GetRValue(under), 250);
         EXPECT_TRUE(NearColor(S->At(12, 17), clBtnText));
       }},
      {"no shadow", [](TkaGPToggleSwitch*) {}, false,
       [](TTestGPSwitch* S) { EXPECT_TRUE(NearColor(S->At(12, 23), kBackground)); }},
      {"no alpha: nothing", [](TkaGPToggleSwitch* S) { S->SetFrameColorAlpha(0), S->SetThumbColorAlpha(0); }, false,
       [](TTestGPSwitch* S) {
         EXPECT_TRUE(NearColor(S->At(30, 7), kBackground));
         EXPECT_TRUE(NearColor(S->At(12, 17), kBackground));
       }},
  };
  for (const TVariantCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    TTestGPSwitch* sw = s.Switch;
    sw->SetAnimation(false);
    c.Setup(sw);
    sw->SetState(c.On ? kaswOn : kaswOff);
    s.Repaint();
    c.Check(sw);
  }
}

TEST(GPToggleSwitchLook, DuringTheSlideTheTrackAlreadyShowsTheTargetColours) {
  TScene s;
  TTestGPSwitch* sw = s.Switch;
  s.Send(WM_LBUTTONDOWN, 35, 17, MK_LBUTTON);
  s.Send(WM_LBUTTONUP, 35, 17);
  ASSERT_TRUE(sw->IsSliding());
  EXPECT_FALSE(sw->IsOn());
  EXPECT_TRUE(NearColor(sw->At(14, 10), clHighlight));
  EXPECT_TRUE(NearColor(sw->At(12, 17), clHighlightText));
  sw->RunSlide();
  EXPECT_TRUE(sw->IsOn());
  EXPECT_EQ(sw->Changes, 1);
}

// ---- Caption ---------------------------------------------------------------------------------

TEST(GPToggleSwitchCaption, TheFocusFrameSurroundsTheCaptionInGdiAndGdiPlus) {
  for (TkaDrawTextMode mode : {kadtmGDI, kadtmGDIPlus}) {
    SCOPED_TRACE(mode == kadtmGDI ? "GDI" : "GDI+");
    TScene s;
    TTestGPSwitch* sw = s.Switch;
    sw->SetDrawTextMode(mode);
    sw->SetCaptionOff(L"Windows11 UI");
    sw->SetWidth(150);
    s.Repaint();
    TBitmap plain;
    plain.Assign(&sw->Snapshot);
    sw->SetFocus();
    ASSERT_TRUE(sw->Focused());
    sw->Update();  // GDI+ text repaints on the next paint, not at once
    // GDI: the text rectangle one pixel up, grown by 3; GDI+: the text rectangle itself.
    TRect frame = sw->CaptionPlace();
    EXPECT_EQ(frame.Left, 42 + 10);
    if (mode == kadtmGDI) frame.Offset(0, -1), frame.Inflate(3, 3);
    TRect inner = frame, outer = frame;
    inner.Inflate(-2, -2);
    outer.Inflate(1, 1);
    int dark = 0, changed = 0, stray = 0;
    for (int y = 0; y < sw->Height(); ++y) {
      const auto* a = static_cast<const uint8_t*>(plain.ScanLine(y));
      for (int x = 0; x < sw->Width(); ++x) {
        const TColor now = sw->At(x, y);
        if (x >= 52 && NearColor(now, clBtnText, 60)) ++dark;
        if (RGBColor(a[x * 4 + 2], a[x * 4 + 1], a[x * 4]) == now) continue;
        ++changed;
        if (!outer.Contains(TPoint(x, y)) || inner.Contains(TPoint(x, y))) ++stray;
      }
    }
    EXPECT_GT(dark, 10) << "caption";
    EXPECT_GT(changed, 10) << "focus frame";
    EXPECT_EQ(stray, 0);
  }
}

TEST(GPToggleSwitchCaption, ADisabledCaptionIsGreyAndUseFontColorTakesTheFontsColour) {
  for (TkaDrawTextMode mode : {kadtmGDI, kadtmGDIPlus}) {
    SCOPED_TRACE(mode == kadtmGDI ? "GDI" : "GDI+");
    TScene s;
    TTestGPSwitch* sw = s.Switch;
    sw->SetDrawTextMode(mode);
    sw->Font()->SetColor(clRed);
    auto count = [sw](TColor C) {
      int n = 0;
      for (int y = 2; y < 33; ++y)
        for (int x = 52; x < 78; ++x)
          if (NearColor(sw->At(x, y), C, 40)) ++n;
      return n;
    };
    s.Repaint();
    EXPECT_GT(count(clBtnText), 0);
    EXPECT_EQ(count(clRed), 0);
    sw->SetUseFontColorToStyleColor(true);
    s.Repaint();
    EXPECT_GT(count(clRed), 0);
    sw->SetEnabled(false);
    EXPECT_EQ(count(clRed), 0);
    EXPECT_GT(count(clGrayText), 0);
  }
}

// ---- Values, scaling, layouts ------------------------------------------------------------------

TEST(GPToggleSwitchProperties, ValuesOutsideTheirRangeAreIgnored) {
  TkaGPToggleSwitch* sw = Construct<TkaGPToggleSwitch>(nullptr);
  sw->SetSwitchWidth(19);
  sw->SetSwitchHeight(9);
  EXPECT_EQ(sw->SwitchWidth(), 40);
  EXPECT_EQ(sw->SwitchHeight(), 20);
  sw->SetSwitchWidth(20);
  sw->SetSwitchHeight(10);
  EXPECT_EQ(sw->SwitchWidth(), 20);
  EXPECT_EQ(sw->SwitchHeight(), 10);
  sw->SetFrameWidth(0);
  EXPECT_EQ(sw->FrameWidth(), 2);
  sw->SetThumbMargin(-1);
  sw->SetThumbMarginHot(-1);
  sw->SetThumbMarginPressed(-1);
  EXPECT_EQ(sw->ThumbMargin() + sw->ThumbMarginHot() + sw->ThumbMarginPressed(), 0);
  sw->SetThumbMarginHot(3);
  EXPECT_EQ(sw->ThumbMarginHot(), 3);
  sw->Free();
}

TEST(GPToggleSwitchScaling, At144DpiEveryMeasureScalesAndBackAgain) {
  TScene s;
  TTestGPSwitch* sw = s.Switch;
  sw->ChangeScale(144, 96, true);
  EXPECT_EQ(sw->Width(), 120);
  EXPECT_EQ(sw->Height(), 53);
  EXPECT_EQ(sw->SwitchWidth(), 60);
  EXPECT_EQ(sw->SwitchHeight(), 30);
  EXPECT_EQ(sw->FrameWidth(), 2);  // drawn scaled, not stored scaled
  s.Repaint();
  EXPECT_EQ(sw->Track(), TRect(2, 11, 62, 41));
  // A 3-pixel outline; the disc inset by 3 x 3 - 2 = 7: (9, 18, 25, 34).
  for (int y : {11, 13}) EXPECT_TRUE(NearColor(sw->At(40, y), clBtnText)) << y;
  EXPECT_TRUE(NearColor(sw->At(40, 14), kBackground));
  EXPECT_EQ(RunOf(sw, 26, 5, 32, clBtnText), 16);
  EXPECT_TRUE(NearColor(sw->At(17, 16), kBackground));
  EXPECT_EQ(sw->CaptionPlace().Left, 62 + 15);
  // The demo's margins scale when drawn: 4 at 1.5 is 6, a disc of 18.
  DemoLook(sw);
  EXPECT_EQ(RunOf(sw, 26, 5, 32, clBtnText), 18);
  sw->ChangeScale(96, 144, true);
  EXPECT_EQ(sw->SwitchWidth(), 40);
  EXPECT_EQ(sw->SwitchHeight(), 20);
  // The vector switch has no minimum when scaled down.
  sw->ChangeScale(1, 2, true);
  EXPECT_EQ(sw->SwitchWidth(), 20);
  EXPECT_EQ(sw->SwitchHeight(), 10);
}

class TDemoForm : public TCustomForm {
  KA_CLASS(TDemoForm, TCustomForm)
 public:
  explicit TDemoForm(TComponent* AOwner) : TCustomForm(AOwner, false) {}
  int Changes = 0;
  void kaGPToggleSwitch1ChangeState(TObject* Sender) {
    ++Changes;
    LastOn = static_cast<TkaGPToggleSwitch*>(Sender)->IsOn();
  }
  bool LastOn = false;
};
KA_REGISTER_CLASS(TDemoForm,
                  [](auto& c) { c.Handler(L"kaGPToggleSwitch1ChangeState", &TDemoForm::kaGPToggleSwitch1ChangeState); });

TEST(GPToggleSwitchProperties, TheDemosLayoutReadsEveryValueAndFiresNothingWhileLoading) {
  TDemoForm* form = Construct<TDemoForm>(nullptr);
  ReadLayout(form,
             "object Form: TDemoForm\n"
             "  object kaGPToggleSwitch1: TkaGPToggleSwitch\n"
             "    Left = 29\n"
             "    Top = 92\n"
             "    Width = 150\n"
             "    Height = 35\n"
             "    CaptionOn = 'Windows11 UI'\n"
             "    CaptionOff = 'Windows11 UI'\n"
             "    ShowCaption = True\n"
             "    Animation = True\n"
             "    State = kaswOn\n"
             "    StyleKind = kaswsStyled\n"
             "    SwitchWidth = 40\n"
             "    SwitchHeight = 20\n"
             "    FrameColor = clBtnText\n"
             "    FrameOnColor = clHighlight\n"
             "    FramePressedColor = clBtnShadow\n"
             "    ThumbColor = clBtnText\n"
             "    ThumbOnColor = clHighlightText\n"
             "    ThumbPressedColor = clBtnText\n"
             "    FrameColorAlpha = 255\n"
             "    FrameOnColorAlpha = 255\n"
             "    FramePressedColorAlpha = 200\n"
             "    ThumbColorAlpha = 255\n"
             "    ThumbOnColorAlpha = 255\n"
             "    ThumbPressedColorAlpha = 255\n"
             "    ThumbShadow = False\n"
             "    ThumbMargin = 4\n"
             "    ThumbMarginHot = 3\n"
             "    ThumbMarginPressed = 4\n"
             "    FrameSolid = False\n"
             "    FrameOnSolid = True\n"
             "    FrameInside = False\n"
             "    FrameWidth = 1\n"
             "    ParentColor = True\n"
             "    CanFocused = True\n"
             "    ReadOnly = False\n"
             "    AutoSize = False\n"
             "    UseFontColorToStyleColor = False\n"
             "    DrawTextMode = kadtmGDIPlus\n"
             "    TabOrder = 0\n"
             "    OnChangeState = kaGPToggleSwitch1ChangeState\n"
             "  end\n"
             "end\n",
             L"TEST");
  auto* sw = dynamic_cast<TkaGPToggleSwitch*>(form->FindComponent(L"kaGPToggleSwitch1"));
  ASSERT_NE(sw, nullptr);
  EXPECT_EQ(form->Changes, 0);
  EXPECT_TRUE(sw->IsOn());
  EXPECT_EQ(sw->BoundsRect(), Bounds(29, 92, 150, 35));
  EXPECT_EQ(sw->CaptionOn(), L"Windows11 UI");
  EXPECT_EQ(sw->FramePressedColorAlpha(), 200);
  EXPECT_EQ(sw->ThumbMarginHot(), 3);
  EXPECT_EQ(sw->FrameWidth(), 1);
  EXPECT_EQ(sw->DrawTextMode(), kadtmGDIPlus);
  EXPECT_TRUE(sw->FrameOnSolid());
  sw->SetAnimation(false);
  sw->SetState(kaswOff);
  EXPECT_EQ(form->Changes, 1);
  EXPECT_FALSE(form->LastOn);
  form->Free();
}

TEST(GPToggleSwitchHandles, TwoThousandStateChangesKeepTheGdiObjectCount) {
  TScene s;
  TTestGPSwitch* sw = s.Switch;
  sw->SetFocus();
  auto cycle = [&](int N) {
    for (int i = 0; i < N; ++i) {
      sw->SetDrawTextMode(i % 4 < 2 ? kadtmGDI : kadtmGDIPlus);
      if (i % 50 == 0) {
        // Now and then hot, pressed and through the slide.
        s.Hover(i % 100 == 0 ? 30 : 200, 17);
        s.Send(WM_LBUTTONDOWN, sw->IsOn() ? 8 : 35, 17, MK_LBUTTON);
        s.Send(WM_LBUTTONUP, sw->IsOn() ? 8 : 35, 17);
        sw->RunSlide();
      } else {
        sw->SetState(sw->IsOn() ? kaswOff : kaswOn);
      }
    }
  };
  cycle(50);
  const int before = GdiObjectCount();
  cycle(2000);
  EXPECT_LE(GdiObjectCount() - before, 2);
}

}  // namespace
