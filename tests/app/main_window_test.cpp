// The real main window, made from its layout the way the program makes it, driven with the
// window messages a user's pointer produces: where its frame lands at each DPI, maximise and
// restore through the caption button and the caption's double click, the tear-off of a
// maximised window, the inactive look, the minimum size at every scale and minimising.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "app/Unit1.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPSizeBox.h"
#include "lib/kaStyledForm/HitTestWnd.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/app/DemoWindow.h"
#include "tests/support/TestControls.h"

namespace {

using namespace demotest;

// The four things maximising changes in the frame, read together.
struct TFrameLook {
  TkaGPButtonGlyphKind Glyph;
  bool GripVisible;
  TColor BorderFrameColor;
  bool BorderSizeable;
  bool operator==(const TFrameLook&) const = default;
};

TFrameLook FrameLook() {
  return {Form1->MaxButton->GlyphOptions()->Kind(),
          Form1->kaGPSizeBox1->Visible() && ::IsWindowVisible(Form1->kaGPSizeBox1->Handle()),
          Form1->BorderPanel->FrameColor(), Form1->BorderPanel->Sizeable()};
}

void PrintTo(const TFrameLook& L, std::ostream* os) {
  *os << "{glyph " << L.Glyph << ", grip " << (L.GripVisible ? "shown" : "hidden") << ", frame colour $" << std::hex
      << static_cast<uint32_t>(L.BorderFrameColor) << std::dec << ", " << (L.BorderSizeable ? "" : "not ")
      << "sizeable}";
}

const TFrameLook kMaximizedLook{kagpbgkRestore, false, clBlack, false};
const TFrameLook kRestoredLook{kagpbgkMaximize, true, clHighlight, true};

// The area a maximised window fills: the work area of the monitor that holds it, less the
// two-pixel strip left at the edge of a taskbar that hides itself.
void ExpectCoversWorkArea(const TRect& Window) {
  const TRect work = Screen->MonitorFromWindow(Form1->Handle()).WorkareaRect();
  const int gaps = (Window.Left - work.Left) + (Window.Top - work.Top) + (work.Right - Window.Right) +
                   (work.Bottom - Window.Bottom);
  EXPECT_TRUE(Window.Left >= work.Left && Window.Top >= work.Top && Window.Right <= work.Right &&
              Window.Bottom <= work.Bottom && gaps <= 2)
      << "window " << testing::PrintToString(Window) << ", work area " << testing::PrintToString(work);
}

// ---- Placement -------------------------------------------------------------------------------

TEST(MainWindowLayout, FrameControlsLandWhereLayoutAndAlignmentPutThemAtEachDpi) {
  // Sizes as the framework scales the layout from 96 DPI: it scales a control's edges, not
  // its width, with MulDiv (halves away from zero). So the maximise button, stored between
  // 477 and 522, becomes 716..783 at 144 DPI, one pixel narrower than its neighbours; and
  // the status bar's hairline top frame becomes 2 pixels, moving the grip down with it.
  const struct {
    int Ppi;
    TSize Client;
    int CaptionHeight;
    int MinW, MaxW, CloseW;
    int ButtonHeight;
    int LabelLeft;
    int StatusHeight;
    int GripTop;
    TSize Grip;
    TSize MinSize;
  } cases[] = {
      {96, {768, 501}, 33, 45, 45, 45, 29, 10, 26, 1, {26, 25}, {700, 400}},
      {144, {1152, 752}, 50, 68, 67, 68, 44, 15, 39, 2, {39, 37}, {1050, 600}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Ppi << " dpi");
    TMainWindow w(c.Ppi);
    const TRect window = WindowRect(w.Handle());
    EXPECT_EQ(window.Width(), c.Client.cx);
    EXPECT_EQ(window.Height(), c.Client.cy);
    EXPECT_DOUBLE_EQ(w.Styled()->ScaleFactor(), c.Ppi / 96.0);
    EXPECT_EQ(Form1->Constraints()->MinWidth(), c.MinSize.cx);
    EXPECT_EQ(Form1->Constraints()->MinHeight(), c.MinSize.cy);

    // The caption bar and the status bar span the client panel, top and bottom.
    TkaPanel* client = Form1->ClientPanel;
    const int W = client->ClientWidth(), H = client->ClientHeight();
    EXPECT_EQ(PlacedRect(client).Right, c.Client.cx);
    EXPECT_EQ(H, c.Client.cy);
    EXPECT_EQ(PlacedRect(Form1->kaGPPanel2), Bounds(0, 0, W, c.CaptionHeight));
    EXPECT_EQ(PlacedRect(Form1->kaGPPanel3), Bounds(0, H - c.StatusHeight, W, c.StatusHeight));

    // Right-aligned caption buttons, Min, Max, Close from the left, short of the bar's
    // bottom by their margin; the label fills what is left after its left margin.
    const int closeLeft = W - c.CloseW, maxLeft = closeLeft - c.MaxW, minLeft = maxLeft - c.MinW;
    EXPECT_EQ(PlacedRect(Form1->CloseButton), Bounds(closeLeft, 0, c.CloseW, c.ButtonHeight));
    EXPECT_EQ(PlacedRect(Form1->MaxButton), Bounds(maxLeft, 0, c.MaxW, c.ButtonHeight));
    EXPECT_EQ(PlacedRect(Form1->MinButton), Bounds(minLeft, 0, c.MinW, c.ButtonHeight));
    EXPECT_EQ(PlacedRect(Form1->CaptionLabel), Bounds(c.LabelLeft, 0, minLeft - c.LabelLeft, c.CaptionHeight));

    // The grip sits at the right of the status bar, below its top frame line.
    EXPECT_EQ(PlacedRect(Form1->kaGPSizeBox1), Bounds(W - c.Grip.cx, c.GripTop, c.Grip.cx, c.Grip.cy));
    EXPECT_TRUE(::IsWindowVisible(Form1->kaGPSizeBox1->Handle()));
  }
}

// ---- Maximise and restore ----------------------------------------------------------------------

TEST(MainWindowMaximize, MaxButtonFillsTheWorkAreaAndAClickMoreRestoresTheBounds) {
  TMainWindow w;
  const TRect normal = WindowRect(w.Handle());

  Click(Form1->MaxButton);
  EXPECT_TRUE(w.Styled()->IsDWMClientMaximized());
  EXPECT_EQ(FrameLook(), kMaximizedLook);
  const TRect maximized = WindowRect(w.Handle());
  ExpectCoversWorkArea(maximized);
  EXPECT_EQ(Form1->BoundsRect(), maximized);
  // The frame was re-aligned to the new size: the buttons sit at its right edge.
  EXPECT_EQ(ScreenRect(Form1->CloseButton).Right, maximized.Right);
  EXPECT_EQ(ScreenRect(Form1->kaGPPanel3).Bottom, maximized.Bottom);
  // Not the platform's maximise: the window state stays normal.
  EXPECT_FALSE(::IsZoomed(w.Handle()));

  Click(Form1->MaxButton);
  EXPECT_FALSE(w.Styled()->IsDWMClientMaximized());
  EXPECT_EQ(FrameLook(), kRestoredLook);
  EXPECT_EQ(WindowRect(w.Handle()), normal);
  EXPECT_EQ(ScreenRect(Form1->CloseButton).Right, normal.Right);
}

TEST(MainWindowMaximize, CaptionDoubleClickTogglesAndItsSecondPressStartsNoDrag) {
  TMainWindow w;
  const TRect normal = WindowRect(w.Handle());
  TkaLabel* caption = Form1->CaptionLabel;
  const TPoint p(caption->Width() / 2, caption->Height() / 2);

  DoubleClick(caption, p);
  EXPECT_TRUE(w.Styled()->IsDWMClientMaximized());
  EXPECT_FALSE(w.Styled()->IsDWMClientDragging());
  // The hand still on the button moves: no tear-off follows the maximise.
  MouseAt(caption, WM_MOUSEMOVE, MK_LBUTTON, TPoint(p.X + 6, p.Y + 4));
  EXPECT_TRUE(w.Styled()->IsDWMClientMaximized());
  MouseAt(caption, WM_LBUTTONUP, 0, TPoint(p.X + 6, p.Y + 4));
  PumpPending();
  EXPECT_EQ(FrameLook(), kMaximizedLook);
  ExpectCoversWorkArea(WindowRect(w.Handle()));

  const TPoint q(caption->Width() / 2, caption->Height() / 2);
  DoubleClick(caption, q);
  EXPECT_FALSE(w.Styled()->IsDWMClientMaximized());
  EXPECT_FALSE(w.Styled()->IsDWMClientDragging());
  MouseAt(caption, WM_LBUTTONUP, 0, q);
  PumpPending();
  EXPECT_EQ(FrameLook(), kRestoredLook);
  EXPECT_EQ(WindowRect(w.Handle()), normal);
}

TEST(MainWindowMaximize, PressAndMoveOnTheMaximizedCaptionTearsTheWindowOffUnderTheCursor) {
  TMainWindow w;
  const TSize normalSize{Form1->Width(), Form1->Height()};
  Click(Form1->MaxButton);
  ASSERT_TRUE(w.Styled()->IsDWMClientMaximized());

  // A press a quarter into the caption, then the pointer moves a little.
  TkaLabel* caption = Form1->CaptionLabel;
  const TPoint down(caption->Width() / 4, caption->Height() / 2);
  MouseAt(caption, WM_MOUSEMOVE, 0, down);
  MouseAt(caption, WM_LBUTTONDOWN, MK_LBUTTON, down);
  EXPECT_TRUE(w.Styled()->IsDWMClientDragging());
  const TPoint moved(down.X + 4, down.Y + 3);
  const TPoint cursor = caption->ClientToScreen(moved);
  MouseAt(caption, WM_MOUSEMOVE, MK_LBUTTON, moved);
  PumpPending();

  EXPECT_FALSE(w.Styled()->IsDWMClientMaximized());
  EXPECT_EQ(FrameLook().Glyph, kagpbgkMaximize);
  EXPECT_TRUE(FrameLook().GripVisible);
  TRect torn = WindowRect(w.Handle());
  EXPECT_EQ(torn.Width(), normalSize.cx);
  EXPECT_EQ(torn.Height(), normalSize.cy);
  // Under the cursor: the pointer is on the caption of the restored window.
  EXPECT_TRUE(ScreenRect(Form1->CaptionLabel).Contains(cursor))
      << "cursor " << cursor.X << ", " << cursor.Y << ", caption "
      << testing::PrintToString(ScreenRect(Form1->CaptionLabel));

  // The button is still down: the restored window goes on following the pointer.
  MouseAt(caption, WM_MOUSEMOVE, MK_LBUTTON, caption->ScreenToClient(TPoint(cursor.X + 20, cursor.Y + 10)));
  PumpPending();
  EXPECT_EQ(WindowRect(w.Handle()), Bounds(torn.Left + 20, torn.Top + 10, torn.Width(), torn.Height()));
  MouseAt(caption, WM_LBUTTONUP, 0, caption->ScreenToClient(TPoint(cursor.X + 20, cursor.Y + 10)));
  EXPECT_FALSE(w.Styled()->IsDWMClientDragging());
}

// ---- Activation ---------------------------------------------------------------------------------

TEST(MainWindowActivation, InactiveWindowGreysTheCaptionAndDimsTheCaptionGlyphs) {
  TMainWindow w;
  TCustomForm* other = TCustomForm::CreateNew(nullptr);
  other->SetBounds(20, 20, 200, 150);
  other->Show();
  const struct {
    TCustomForm* Active;
    TColor Caption;
    uint8_t CloseAlpha;
    uint8_t MinMaxAlpha;
  } steps[] = {
      {Form1, clBtnText, 255, 190},
      {other, TColor(0x00808080), 150, 120},
      {Form1, clBtnText, 255, 190},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.Active == Form1 ? "main window active" : "other window active");
    Activate(s.Active);
    EXPECT_EQ(Form1->Active(), s.Active == Form1);
    EXPECT_EQ(Form1->CaptionLabel->Font()->Color(), s.Caption);
    EXPECT_EQ(Form1->CloseButton->GlyphOptions()->NormalColorAlpha(), s.CloseAlpha);
    EXPECT_EQ(Form1->MinButton->GlyphOptions()->NormalColorAlpha(), s.MinMaxAlpha);
    EXPECT_EQ(Form1->MaxButton->GlyphOptions()->NormalColorAlpha(), s.MinMaxAlpha);
  }
  other->Free();
}

// ---- Scaling -------------------------------------------------------------------------------------

TEST(MainWindowScale, MinimumSizeIsRescaledAtEveryDpiChange) {
  TMainWindow w;
  int zeroedBefore = 0;
  // The application's handler runs first; watch that it did, then let it run.
  const TNotifyEvent before = w.Styled()->OnBeforeChangeScale;
  ASSERT_TRUE(before);
  w.Styled()->OnBeforeChangeScale = [&](TObject* Sender) {
    before(Sender);
    if (Form1->Constraints()->MinWidth() == 0 && Form1->Constraints()->MinHeight() == 0) ++zeroedBefore;
  };
  const struct {
    int Ppi;
    int MinWidth, MinHeight;
  } steps[] = {{120, 875, 500}, {96, 700, 400}, {144, 1050, 600}, {96, 700, 400}};
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << "moved to " << s.Ppi << " dpi");
    zeroedBefore = 0;
    w.MoveToDpi(s.Ppi);
    EXPECT_EQ(zeroedBefore, 1);
    EXPECT_EQ(Form1->PixelsPerInch(), s.Ppi);
    EXPECT_EQ(Form1->Constraints()->MinWidth(), s.MinWidth);
    EXPECT_EQ(Form1->Constraints()->MinHeight(), s.MinHeight);
    // The window's size follows the system's suggestion, and the minimum holds for the
    // system's sizing as well as for the program's.
    EXPECT_EQ(WindowRect(w.Handle()).Width(), ::MulDiv(768, s.Ppi, 96));
    MINMAXINFO info{};
    ::SendMessageW(w.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, s.MinWidth);
    EXPECT_EQ(info.ptMinTrackSize.y, s.MinHeight);
    const TRect r = Form1->BoundsRect();
    Form1->SetBounds(r.Left, r.Top, 100, 100);
    EXPECT_EQ(Form1->Width(), s.MinWidth);
    EXPECT_EQ(Form1->Height(), s.MinHeight);
    Form1->SetBoundsRect(r);
  }
}

// ---- Minimise -------------------------------------------------------------------------------------

TEST(MainWindowMinimize, MinButtonMinimizesTheWindowAndTheLayoutSurvivesIt) {
  TMainWindow w;
  ASSERT_EQ(Application->MainForm(), Form1);
  const TRect normal = WindowRect(w.Handle());
  const TRect close = PlacedRect(Form1->CloseButton);
  const TRect status = PlacedRect(Form1->kaGPPanel3);

  Click(Form1->MinButton);
  PumpUntil([&] { return ::IsIconic(w.Handle()) != FALSE; }, 2000);
  EXPECT_TRUE(::IsIconic(w.Handle()));
  // The resize ring goes with the window; the controls keep their places.
  ASSERT_NE(w.Styled()->HitTestWnd(), nullptr);
  EXPECT_FALSE(w.Styled()->HitTestWnd()->Visible());
  EXPECT_EQ(PlacedRect(Form1->CloseButton), close);
  EXPECT_EQ(PlacedRect(Form1->kaGPPanel3), status);

  Application->Restore();
  PumpUntil([&] { return ::IsIconic(w.Handle()) == FALSE; }, 2000);
  Settle(150);
  EXPECT_EQ(WindowRect(w.Handle()), normal);
  EXPECT_TRUE(w.Styled()->HitTestWnd()->Visible());
  EXPECT_EQ(PlacedRect(Form1->CloseButton), close);
}

}  // namespace
