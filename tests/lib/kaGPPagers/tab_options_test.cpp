// The tab and close-button options: which values a state picks, refused values, and what
// Assign copies.
#include <gtest/gtest.h>

#include "lib/kaGPPagers/kaGPPagers.h"

namespace {

TEST(GPTabOptions, StatePicksItsColoursAndAlphas) {
  TkaGPTabOptions o;
  o.SetStyleColors(false);
  o.SetNormalColor(clRed);
  o.SetActiveColor(clLime);
  o.SetMouseInColor(clBlue);
  o.SetFocusedColor(clYellow);
  const struct {
    TkasCtrlState State;
    TColor Color;
    uint8_t Alpha, FrameAlpha;
  } rows[] = {
      {kasNormal, clRed, 70, 50},   {kasHot, clBlue, 40, 60},   {kasPressed, clLime, 230, 80},
      {kasFocused, clYellow, 255, 80}, {kasDisabled, clRed, 70, 50},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.State);
    o.SetState(row.State);
    EXPECT_EQ(o.GetColor(), row.Color);
    EXPECT_EQ(o.GetColorAlpha(), row.Alpha);
    EXPECT_EQ(o.GetFrameColorAlpha(), row.FrameAlpha);
    EXPECT_EQ(o.GetFontColor(), clBtnText);
  }
}

TEST(GPTabOptions, RefusedValuesAndChangeNotices) {
  TkaGPTabOptions o;
  int changes = 0;
  o.OnChange = [&](TObject*) { ++changes; };
  o.SetGradientColorOffset(101);
  o.SetShapeCornerRadius(-1);
  o.SetLineWidth(-1);
  o.SetFrameWidth(0);
  o.SetShapeFillGradientAngle(361);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(o.GradientColorOffset(), 30);
  EXPECT_EQ(o.ShapeCornerRadius(), 5);
  EXPECT_EQ(o.FrameWidth(), 2);
  // The angle shows only in a gradient fill.
  o.SetShapeFillGradientAngle(45);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(o.ShapeFillGradientAngle(), 45);
  o.SetShapeFillStyle(kagpsfGradient);
  o.SetShapeFillGradientAngle(-360);
  EXPECT_EQ(changes, 2);
  o.SetNormalColor(o.NormalColor());
  EXPECT_EQ(changes, 2) << "an unchanged value is no change";
}

TEST(GPTabOptions, AssignLeavesTheStyleAndAngle) {
  TkaGPTabOptions a, b;
  a.SetNormalColor(clRed);
  a.SetFrameWidth(4);
  a.SetFocusedColorAlpha(9);
  a.SetLineWidth(12);
  a.SetTabStyle(gptsLine);
  a.SetShapeFillStyle(kagpsfGradient);
  a.SetShapeFillGradientAngle(10);
  b.Assign(&a);
  EXPECT_EQ(b.NormalColor(), clRed);
  EXPECT_EQ(b.FrameWidth(), 4);
  EXPECT_EQ(b.FocusedColorAlpha(), 9);
  EXPECT_EQ(b.LineWidth(), 12);
  EXPECT_EQ(b.ShapeFillStyle(), kagpsfGradient);
  EXPECT_EQ(b.TabStyle(), gptsShape);
  EXPECT_EQ(b.ShapeFillGradientAngle(), 90);
}

TEST(GPTabCloseButtonOptions, StatePicksFaceAndGlyph) {
  TkaGPTabCloseButtonOptions o;
  o.SetStyleColors(false);
  const struct {
    TkasCtrlState State;
    TColor Face;
    uint8_t FaceAlpha;
    TColor Glyph;
    uint8_t GlyphAlpha;
  } rows[] = {
      {kasNormal, clBtnText, 0, clBtnText, 200}, {kasHot, clRed, 220, clWhite, 255},
      {kasPressed, clRed, 200, clWhite, 200},     {kasDisabled, clBtnText, 0, clBtnText, 100},
      {kasFocused, clBtnText, 0, clBtnText, 200},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.State);
    o.SetState(row.State);
    EXPECT_EQ(o.GetColor(), row.Face);
    EXPECT_EQ(o.GetColorAlpha(), row.FaceAlpha);
    EXPECT_EQ(o.GetGlyphColor(), row.Glyph);
    EXPECT_EQ(o.GetGlyphColorAlpha(), row.GlyphAlpha);
  }
}

}  // namespace
