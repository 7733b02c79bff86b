// Pixels of the vector page control's tab strip under the four tab styles, the close button,
// and what a change of the tab under the mouse makes Windows repaint.
#include <gtest/gtest.h>

#include "framework/GdiObjects.h"
#include "tests/support/Handles.h"
#include "tests/lib/kaGPPagers/PagerScene.h"

using namespace pagertest;

namespace {

// Opaque, distinct colours: inactive tabs blue, the selected one red, the hot one lime,
// frames black, on a white control.
void UsePlainColors(TkaGPPageControl* P) {
  P->SetColor(clWhite);
  P->SetFrameColor(clBlack);
  P->SetFrameColorAlpha(255);
  TkaGPTabOptions* o = P->TabOptions();
  o->SetStyleColors(false);
  o->SetNormalColor(clBlue);
  o->SetActiveColor(clRed);
  o->SetFocusedColor(clRed);
  o->SetMouseInColor(clLime);
  for (auto set : {&TkaGPTabOptions::SetNormalColorAlpha, &TkaGPTabOptions::SetActiveColorAlpha,
                   &TkaGPTabOptions::SetFocusedColorAlpha, &TkaGPTabOptions::SetMouseInColorAlpha,
                   &TkaGPTabOptions::SetFrameNormalColorAlpha, &TkaGPTabOptions::SetFrameActiveColorAlpha,
                   &TkaGPTabOptions::SetFrameFocusedColorAlpha, &TkaGPTabOptions::SetFrameMouseInColorAlpha})
    (o->*set)(255);
  for (auto set : {&TkaGPTabOptions::SetFrameNormalColor, &TkaGPTabOptions::SetFrameActiveColor,
                   &TkaGPTabOptions::SetFrameFocusedColor, &TkaGPTabOptions::SetFrameMouseInColor})
    (o->*set)(clBlack);
}

struct TStyleCase {
  const char* Name;
  TkaGPTabStyle Style;
  bool ShowInActive;
  // Expected colours: inside an inactive tab, on its bottom edge (y 28), and on the page
  // frame's top line (y 31) under the inactive and under the selected tab.
  TColor Inside, Bottom, FrameUnderInactive, FrameUnderSelected;
};

TEST(GPPageControlPaint, StripPixelsByTabStyle) {
  const TStyleCase cases[] = {
      // The selected shape opens into the page: no frame line under it.
      {"shape", gptsShape, true, clBlue, clBlue, clBlack, clRed},
      {"bottom line", gptsBottomLine, true, clBlue, clBlack, clBlack, clBlack},
      {"line, inactive tabs not drawn", gptsLine, false, clWhite, clWhite, clBlack, clBlack},
      {"rounded line", gptsRoundedLine, true, clBlue, clBlack, clBlack, clBlack},
  };
  for (const TStyleCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPagerScene s(3);
    UsePlainColors(s.Pager);
    s.Pager->TabOptions()->SetShapeCornerRadius(0);
    s.Pager->TabOptions()->SetTabStyle(c.Style);
    s.Pager->SetShowInActiveTab(c.ShowInActive);
    s.Pager->SetTabIndex(1);
    auto shot = Snapshot(s.Pager);
    const int x0 = s.TabCentre(0).X, x1 = s.TabCentre(1).X;
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), x0, 12), c.Inside));
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), x1, 12), clRed));
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), x0, 28), c.Bottom));
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), x0, 31), c.FrameUnderInactive));
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), x1, 31), c.FrameUnderSelected));
    // Beside the row, the strip shows the control's colour.
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), 5, 12), clWhite));
  }
}

TEST(GPPageControlPaint, FrameByBorderStyleAndBackgroundFills) {
  TPagerScene s(2);
  UsePlainColors(s.Pager);
  s.Pager->SetTabIndex(0);
  const int w = s.Pager->Width(), h = s.Pager->Height();
  // Points on the frame's top line right of the tabs, its left edge and its bottom edge.
  const TPoint top(w - 5, 31), left(1, 100), bottom(w - 5, h - 2), inside(100, 100);
  const struct {
    const char* Name;
    TkaGPTabControlBorderStyle Style;
    TColor Top, Left, Bottom;
  } rows[] = {
      {"frame", kagpbsFrame, clBlack, clBlack, clBlack},
      {"line", kagpbsLine, clBlack, clWhite, clWhite},
      {"line top and bottom", kagpbsLineTopBottom, clBlack, clWhite, clBlack},
      {"none", kagpbsNone, clWhite, clWhite, clWhite},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    s.Pager->SetBorderStyle(row.Style);
    auto shot = Snapshot(s.Pager);
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), top.X, top.Y), row.Top));
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), left.X, left.Y), row.Left));
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), bottom.X, bottom.Y), row.Bottom));
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), inside.X, inside.Y), clWhite));
  }
  s.Pager->SetBorderStyle(kagpbsFrame);
  s.Pager->SetTabsBGFillColor(clSilver);
  s.Pager->SetFrameBGFillColor(clYellow);
  s.Tab(0)->SetCustomFrameColor(clFuchsia);
  auto shot = Snapshot(s.Pager);
  EXPECT_TRUE(NearColor(PixelAt(shot.get(), 5, 12), clSilver));
  EXPECT_TRUE(NearColor(PixelAt(shot.get(), inside.X, inside.Y), clYellow));
  EXPECT_TRUE(NearColor(PixelAt(shot.get(), top.X, top.Y), clFuchsia)) << "the selected tab's own frame colour";
}

TEST(GPPageControlPaint, NothingOfATabShowsUnderTheArrowButtons) {
  TPagerScene s(4, 250);
  UsePlainColors(s.Pager);
  s.Pager->SetShowCloseButtons(true);
  s.Pager->SetTabIndex(0);
  ASSERT_NE(s.Pager->RightScrollButton(), nullptr);
  const TRect under = s.Pager->RightScrollButton()->BoundsRect();
  // A tab runs on under the right arrow, close button and all.
  ASSERT_TRUE(s.Tab(2)->CloseButtonRect.Right > under.Left || s.Tab(3)->TabRect.Left < under.Right);
  auto shot = Snapshot(s.Pager);
  int drawn = 0;
  for (int y = under.Top; y < under.Bottom; ++y)
    for (int x = under.Left; x < under.Right; ++x)
      if (!NearColor(PixelAt(shot.get(), x, y), clWhite)) ++drawn;
  EXPECT_EQ(drawn, 0);
}

TEST(GPPageControlPaint, HotTabAndCloseButtonColours) {
  TPagerScene s(3);
  UsePlainColors(s.Pager);
  s.Pager->TabOptions()->SetActiveColor(clYellow);
  s.Pager->TabOptions()->SetFocusedColor(clYellow);
  s.Pager->SetShowCloseButtons(true);
  s.Pager->SetTabIndex(0);
  s.Move(s.TabCentre(2));
  auto shot = Snapshot(s.Pager);
  EXPECT_TRUE(NearColor(PixelAt(shot.get(), s.TabCentre(2).X, 8), clLime)) << "hot";
  EXPECT_TRUE(NearColor(PixelAt(shot.get(), s.TabCentre(1).X, 8), clBlue));
  // The close button's face shows only under the mouse: red at alpha 220 over yellow.
  const TRect b = s.Tab(0)->CloseButtonRect;
  const TPoint face(b.Left + b.Width() / 2, b.Top + 2);
  EXPECT_TRUE(NearColor(PixelAt(shot.get(), face.X, face.Y), clYellow));
  s.Move(s.CloseCentre(0));
  EXPECT_TRUE(s.Tab(0)->CloseButtonMouseIn);
  shot = Snapshot(s.Pager);
  const TColor hot = PixelAt(shot.get(), face.X, face.Y);
  EXPECT_GT(GetRValue(hot), 240);
  EXPECT_LT(GetGValue(hot), 60);
  EXPECT_LT(GetBValue(hot), 30);
}

TEST(GPPageControlPaint, AHotTabChangeRepaintsOnlyTheTabsConcerned) {
  TPagerScene s(3);
  s.Pager->SetTabIndex(1);
  PumpPending();
  HWND h = s.Pager->Handle();
  ::ValidateRect(h, nullptr);
  TRgnHandle region(::CreateRectRgn(0, 0, 0, 0));
  HRGN rgn = region.Get();
  auto invalid = [&](TPoint P) { return ::PtInRegion(rgn, P.X, P.Y) != FALSE; };
  s.Move(s.TabCentre(0));
  ASSERT_NE(::GetUpdateRgn(h, rgn, FALSE), ERROR);
  EXPECT_TRUE(invalid(s.TabCentre(0)));
  EXPECT_FALSE(invalid(s.TabCentre(1)));
  EXPECT_FALSE(invalid(TPoint(100, 100))) << "the page area";
  ::ValidateRect(h, nullptr);
  s.Move(s.TabCentre(2));
  ASSERT_NE(::GetUpdateRgn(h, rgn, FALSE), ERROR);
  EXPECT_TRUE(invalid(s.TabCentre(0)));
  EXPECT_TRUE(invalid(s.TabCentre(2)));
  EXPECT_FALSE(invalid(s.TabCentre(1)));
  // Moving within the same tab repaints nothing.
  ::ValidateRect(h, nullptr);
  s.Move(TPoint(s.TabCentre(2).X + 1, s.TabCentre(2).Y));
  EXPECT_EQ(::GetUpdateRgn(h, rgn, FALSE), NULLREGION);
}

TEST(GPPageControlPaint, TabImagesWidenTheTabAndShowBesideTheCaption) {
  TPagerScene s(2);
  UsePlainColors(s.Pager);
  s.Pager->SetTabIndex(0);
  auto* images = new TCustomImageList(s.Form);
  images->SetWidth(12);
  images->SetHeight(12);
  TBitmap green(12, 12);
  green.Canvas()->Brush()->SetColor(clGreen);
  green.Canvas()->FillRect(TRect(0, 0, 12, 12));
  images->Add(&green, nullptr);
  const int plain = s.Tab(1)->TabRect.Width();
  s.Tab(1)->SetImageIndex(0);
  s.Pager->SetTabImages(images);
  EXPECT_EQ(s.Tab(1)->TabRect.Width(), plain + s.Pager->TabSpacing() + 12);
  auto shot = Snapshot(s.Pager);
  // The image sits at the tab's margin, vertically centred below the frame width.
  const TRect r = s.Tab(1)->TabRect;
  EXPECT_TRUE(NearColor(PixelAt(shot.get(), r.Left + 10 + 6, r.Top + r.Height() / 2 + 1), clGreen));
  // The host may take the image away.
  s.Pager->OnGetTabImage = [](int, TCustomImageList*& List, int&) { List = nullptr; };
  s.Pager->UpdateTabs();
  EXPECT_EQ(s.Tab(1)->TabRect.Width(), plain);
  // A freed image list is forgotten.
  s.Pager->OnGetTabImage = nullptr;
  images->Free();
  EXPECT_EQ(s.Pager->TabImages(), nullptr);
  EXPECT_EQ(s.Tab(1)->TabRect.Width(), plain);
}

TEST(GPPageControlPaint, GlowShowsAroundTheCaptionInItsStatesOnly) {
  TPagerScene s(2);
  UsePlainColors(s.Pager);
  s.Pager->TabOptions()->SetActiveColor(clWhite);
  s.Pager->TabOptions()->SetFocusedColor(clWhite);
  s.Pager->SetTabIndex(0);
  auto reddish = [&](TBitmap* B) {
    const TRect r = s.Tab(0)->TabRect;
    int n = 0;
    for (int y = r.Top + 3; y < r.Bottom - 3; ++y)
      for (int x = r.Left + 3; x < r.Right - 3; ++x) {
        const TColor c = PixelAt(B, x, y);
        if (GetRValue(c) > 200 && GetGValue(c) < 200 && GetBValue(c) < 200) ++n;
      }
    return n;
  };
  EXPECT_EQ(reddish(Snapshot(s.Pager).get()), 0);
  s.Pager->TabGlowEffect()->SetColor(clRed);
  s.Pager->TabGlowEffect()->SetStyleColors(false);
  s.Pager->TabGlowEffect()->SetEnabled(true);
  // Glow in the focused state only (the default): the selected tab of an unfocused control
  // is pressed.
  EXPECT_EQ(reddish(Snapshot(s.Pager).get()), 0);
  s.Pager->TabGlowEffect()->SetStates({kasFocused, kasPressed});
  EXPECT_GT(reddish(Snapshot(s.Pager).get()), 10);
  // A tab's own enabled glow wins.
  s.Tab(0)->CustomGlowEffect()->SetColor(clBlue);
  s.Tab(0)->CustomGlowEffect()->SetStyleColors(false);
  s.Tab(0)->CustomGlowEffect()->SetStates({kasPressed});
  s.Tab(0)->CustomGlowEffect()->SetEnabled(true);
  EXPECT_EQ(reddish(Snapshot(s.Pager).get()), 0);
}

TEST(GPPageControlResources, SwitchingHoveringAndScrollingKeepHandlesFlat) {
  TPagerScene s(6, 250);
  s.Pager->SetShowCloseButtons(true);
  s.Pager->TabGlowEffect()->SetEnabled(true);
  s.Pager->TabGlowEffect()->SetStates({kasPressed, kasHot});
  auto round = [&](int I) {
    s.Pager->SetTabIndex(I % 6);
    s.Move(s.TabCentre(I % 6));
    s.Move(s.CloseCentre(I % 6));
    s.Pager->SetWidth(I % 2 == 0 ? 250 : 600);
    PumpPending();
  };
  for (int i = 0; i < 12; ++i) round(i);
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 0; i < 200; ++i) round(i);
  EXPECT_LE(GdiObjectCount() - gdi, 2);
  EXPECT_EQ(ThreadWindowCount(), windows);
}

}  // namespace
