// The catalogue's kinds, their table of routines and the pieces every routine shares.
#include "lib/kaGPUtils/GPGlyphs.h"

#include <array>
#include <cmath>
#include <numbers>

#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaGPUtils/GPGlyphsDraw.h"

using namespace Gdiplus;

namespace kaGPGlyph {

Pt PointOn(const TGPRectF& R, float Angle) {
  const double A = Angle * std::numbers::pi / 180;
  return Pt(static_cast<REAL>(R.X + R.Width / 2 * (1 + std::cos(A))),
            static_cast<REAL>(R.Y + R.Height / 2 * (1 + std::sin(A))));
}

void TGlyphPath::LineTo(const Pt& P) {
  if (!FHasCurrent) {
    FCurrent = P;
    FHasCurrent = FStartOnly = true;
    return;
  }
  // Arc ends come back from GDI+ with float noise; a tiny piece would have no direction
  // and could throw a stray mitre spike.
  if (std::abs(P.X - FCurrent.X) < 0.01f && std::abs(P.Y - FCurrent.Y) < 0.01f) return;
  FPath.AddLine(FCurrent, P);
  FCurrent = P;
  FStartOnly = false;
}

void TGlyphPath::EndAtLastPoint() {
  FPath.GetLastPoint(&FCurrent);
  FHasCurrent = true;
  FStartOnly = false;
}

TGlyphPath& TGlyphPath::Line(float X1, float Y1, float X2, float Y2) {
  return Begin().To({{X1, Y1}, {X2, Y2}});
}

TGlyphPath& TGlyphPath::Lines(std::initializer_list<Pt> Points) { return Begin().To(Points); }

TGlyphPath& TGlyphPath::Polygon(std::initializer_list<Pt> Points) {
  return Polygon(Points.begin(), static_cast<int>(Points.size()));
}

TGlyphPath& TGlyphPath::Polygon(const Pt* Points, int Count) {
  FPath.AddPolygon(Points, Count);
  FHasCurrent = false;
  return *this;
}

TGlyphPath& TGlyphPath::Arc(const TGPRectF& R, float Start, float Sweep) {
  return Begin().ArcTo(R, Start, Sweep);
}

TGlyphPath& TGlyphPath::Rect(const TGPRectF& R) {
  FPath.AddRectangle(R);
  FHasCurrent = false;
  return *this;
}

TGlyphPath& TGlyphPath::Ellipse(const TGPRectF& R) {
  FPath.AddEllipse(R);
  FHasCurrent = false;
  return *this;
}

TGlyphPath& TGlyphPath::Bezier(Pt P0, Pt C1, Pt C2, Pt P3) {
  Begin();
  FPath.AddBezier(P0, C1, C2, P3);
  EndAtLastPoint();
  return *this;
}

TGlyphPath& TGlyphPath::Curve(std::initializer_list<Pt> Points) {
  Begin();
  FPath.AddCurve(Points.begin(), static_cast<INT>(Points.size()));
  EndAtLastPoint();
  return *this;
}

TGlyphPath& TGlyphPath::Begin() {
  FPath.StartFigure();
  FHasCurrent = FStartOnly = false;
  return *this;
}

TGlyphPath& TGlyphPath::To(std::initializer_list<Pt> Points) {
  for (const Pt& P : Points) LineTo(P);
  return *this;
}

TGlyphPath& TGlyphPath::ArcTo(const TGPRectF& R, float Start, float Sweep) {
  // A lone start point is not in the GDI+ path yet; GDI+ joins an arc only to points that
  // are, so the joining line is added here.
  if (FHasCurrent && FStartOnly) LineTo(PointOn(R, Start));
  FPath.AddArc(R, Start, Sweep);
  EndAtLastPoint();
  return *this;
}

TGlyphPath& TGlyphPath::Close() {
  FPath.CloseFigure();
  FHasCurrent = FStartOnly = false;
  return *this;
}

void Stroke(Graphics* G, TGlyphPath& Path, TGPColor Color, float PenWidth) {
  Pen GlyphPen(Gdiplus::Color(Color), PenWidth);
  G->DrawPath(&GlyphPen, Path.Path());
}

void Fill(Graphics* G, TGlyphPath& Path, TGPColor Color) {
  SolidBrush Brush{Gdiplus::Color(Color)};
  G->FillPath(&Brush, Path.Path());
}

}  // namespace kaGPGlyph

KA_REGISTER_ENUM(TkaGPButtonGlyphKind, {
  {L"kagpbgkPriorArrow", kagpbgkPriorArrow}, {L"kagpbgkNextArrow", kagpbgkNextArrow},
  {L"kagpbgkLeftArrow", kagpbgkLeftArrow}, {L"kagpbgkRightArrow", kagpbgkRightArrow},
  {L"kagpbgkUpArrow", kagpbgkUpArrow}, {L"kagpbgkDownArrow", kagpbgkDownArrow},
  {L"kagpbgkMore", kagpbgkMore}, {L"kagpbgkDetails", kagpbgkDetails},
  {L"kagpbgkDetailPoints", kagpbgkDetailPoints}, {L"kagpbgkSearch", kagpbgkSearch},
  {L"kagpbgkPlus", kagpbgkPlus}, {L"kagpbgkMinus", kagpbgkMinus},
  {L"kagpbgkOptions", kagpbgkOptions}, {L"kagpbgkOk", kagpbgkOk},
  {L"kagpbgkCancel", kagpbgkCancel}, {L"kagpbgkClear", kagpbgkClear},
  {L"kagpbgkRefresh", kagpbgkRefresh}, {L"kagpbgkEdit", kagpbgkEdit},
  {L"kagpbgkFirst", kagpbgkFirst}, {L"kagpbgkLast", kagpbgkLast},
  {L"kagpbgkPlay", kagpbgkPlay}, {L"kagpbgkPause", kagpbgkPause},
  {L"kagpbgkStop", kagpbgkStop}, {L"kagpbgkRewind", kagpbgkRewind},
  {L"kagpbgkForward", kagpbgkForward}, {L"kagpbgkSkipToStart", kagpbgkSkipToStart},
  {L"kagpbgkSkipToEnd", kagpbgkSkipToEnd}, {L"kagpbgkExit", kagpbgkExit},
  {L"kagpbgkHome", kagpbgkHome}, {L"kagpbgkShutDown", kagpbgkShutDown},
  {L"kagpbgkCheckOptions", kagpbgkCheckOptions}, {L"kagpbgkInfo", kagpbgkInfo},
  {L"kagpbgkDownload", kagpbgkDownload}, {L"kagpbgkUpload", kagpbgkUpload},
  {L"kagpbgkMinimize", kagpbgkMinimize}, {L"kagpbgkMaximize", kagpbgkMaximize},
  {L"kagpbgkRestore", kagpbgkRestore}, {L"kagpbgkClose", kagpbgkClose},
  {L"kagpbgkFileNew", kagpbgkFileNew}, {L"kagpbgkFileOpen", kagpbgkFileOpen},
  {L"kagpbgkFileSave", kagpbgkFileSave}, {L"kagpbgkFileSaveAs", kagpbgkFileSaveAs},
  {L"kagpbgkFolder", kagpbgkFolder}, {L"kagpbgkPrint", kagpbgkPrint},
  {L"kagpbgkMic", kagpbgkMic}, {L"kagpbgkMicMute", kagpbgkMicMute},
  {L"kagpbgkRec", kagpbgkRec}, {L"kagpbgkRecOn", kagpbgkRecOn},
  {L"kagpbgkPhoto", kagpbgkPhoto}, {L"kagpbgkVideo", kagpbgkVideo},
  {L"kagpbgkLock", kagpbgkLock}, {L"kagpbgkUnLock", kagpbgkUnLock},
  {L"kagpbgkUser", kagpbgkUser}, {L"kagpbgkTrash", kagpbgkTrash},
  {L"kagpbgkInBox", kagpbgkInBox}, {L"kagpbgkOutBox", kagpbgkOutBox},
  {L"kagpbgkPin", kagpbgkPin}, {L"kagpbgkVolume", kagpbgkVolume},
  {L"kagpbgkMute", kagpbgkMute}, {L"kagpbgkVolumePlus", kagpbgkVolumePlus},
  {L"kagpbgkVolumeMinus", kagpbgkVolumeMinus}, {L"kagpbgkZoomPlus", kagpbgkZoomPlus},
  {L"kagpbgkZoomMinus", kagpbgkZoomMinus}, {L"kagpbgkView", kagpbgkView},
  {L"kagpbgkFlag", kagpbgkFlag}, {L"kagpbgkFilter", kagpbgkFilter},
  {L"kagpbgkObjects", kagpbgkObjects}, {L"kagpbgkReply", kagpbgkReply},
  {L"kagpbgkUndo", kagpbgkUndo}, {L"kagpbgkRedo", kagpbgkRedo},
  {L"kagpbgkClock", kagpbgkClock}, {L"kagpbgkCalendar", kagpbgkCalendar},
  {L"kagpbgkChart", kagpbgkChart}, {L"kagpbgkFont", kagpbgkFont},
  {L"kagpbgkFontColorMarker", kagpbgkFontColorMarker},
  {L"kagpbgkFontIncSize", kagpbgkFontIncSize}, {L"kagpbgkFontDecSize", kagpbgkFontDecSize},
  {L"kagpbgkFill", kagpbgkFill}, {L"kagpbgkFillColorMarker", kagpbgkFillColorMarker},
  {L"kagpbgkMessage", kagpbgkMessage}, {L"kagpbgkMessageRead", kagpbgkMessageRead},
  {L"kagpbgkSend", kagpbgkSend}, {L"kagpbgkTextAlignLeft", kagpbgkTextAlignLeft},
  {L"kagpbgkTextAlignRight", kagpbgkTextAlignRight},
  {L"kagpbgkTextAlignCenter", kagpbgkTextAlignCenter},
  {L"kagpbgkTextAlignJustified", kagpbgkTextAlignJustified},
  {L"kagpbgkCopy", kagpbgkCopy}, {L"kagpbgkPaste", kagpbgkPaste},
  {L"kagpbgkCut", kagpbgkCut}, {L"kagpbgkHelp", kagpbgkHelp},
  {L"kagpbgkReplace", kagpbgkReplace}, {L"kagpbgkShare", kagpbgkShare},
  {L"kagpbgkCall", kagpbgkCall}, {L"kagpbgkCallEnd", kagpbgkCallEnd},
  {L"kagpbgkMap", kagpbgkMap}, {L"kagpbgkMapMarker", kagpbgkMapMarker},
  {L"kagpbgkGear", kagpbgkGear}, {L"kagpbgkStar", kagpbgkStar},
  {L"kagpbgkGlobe", kagpbgkGlobe}, {L"kagpbgkNaviLeft", kagpbgkNaviLeft},
  {L"kagpbgkNaviRight", kagpbgkNaviRight}, {L"kagpbgkNaviTop", kagpbgkNaviTop},
  {L"kagpbgkNaviBottom", kagpbgkNaviBottom}, {L"kagpbgkNaviTopLeft", kagpbgkNaviTopLeft},
  {L"kagpbgkNaviTopRight", kagpbgkNaviTopRight},
  {L"kagpbgkNaviBottomLeft", kagpbgkNaviBottomLeft},
  {L"kagpbgkNaviBottomRight", kagpbgkNaviBottomRight},
  {L"kagpbgkSizeFull", kagpbgkSizeFull}, {L"kagpbgkSizeCompact", kagpbgkSizeCompact},
  {L"kagpbgkShopBasket", kagpbgkShopBasket}, {L"kagpbgkShopBasketIn", kagpbgkShopBasketIn},
  {L"kagpbgkShopBasketOut", kagpbgkShopBasketOut}, {L"kagpbgkColorMarker", kagpbgkColorMarker},
  {L"kagpbgkMaximizeRounded", kagpbgkMaximizeRounded},
  {L"kagpbgkRestoreRounded", kagpbgkRestoreRounded},
  {L"kagpbgkMaximizeRect", kagpbgkMaximizeRect}, {L"kagpbgkRestoreRect", kagpbgkRestoreRect},
});

bool GPGlyphKindUsesMargin(TkaGPButtonGlyphKind Kind) {
  switch (Kind) {
    case kagpbgkLeftArrow: case kagpbgkRightArrow: case kagpbgkUpArrow: case kagpbgkDownArrow:
    case kagpbgkSearch: case kagpbgkOk: case kagpbgkCancel: case kagpbgkClear:
    case kagpbgkFirst: case kagpbgkLast: case kagpbgkPlay: case kagpbgkPause: case kagpbgkStop:
    case kagpbgkExit: case kagpbgkHome: case kagpbgkShutDown: case kagpbgkCheckOptions:
    case kagpbgkDownload: case kagpbgkUpload: case kagpbgkClose:
    case kagpbgkFileSave: case kagpbgkFileSaveAs: case kagpbgkFolder:
    case kagpbgkPhoto: case kagpbgkVideo: case kagpbgkLock: case kagpbgkUnLock: case kagpbgkUser:
    case kagpbgkZoomPlus: case kagpbgkZoomMinus: case kagpbgkFlag: case kagpbgkObjects:
    case kagpbgkClock: case kagpbgkCalendar: case kagpbgkChart:
    case kagpbgkFont: case kagpbgkFontColorMarker: case kagpbgkFontIncSize:
    case kagpbgkFontDecSize: case kagpbgkFill: case kagpbgkFillColorMarker:
    case kagpbgkMessage: case kagpbgkMessageRead: case kagpbgkSend:
    case kagpbgkTextAlignLeft: case kagpbgkTextAlignRight: case kagpbgkTextAlignCenter:
    case kagpbgkTextAlignJustified: case kagpbgkCut: case kagpbgkHelp: case kagpbgkShare:
    case kagpbgkCall: case kagpbgkCallEnd: case kagpbgkMap: case kagpbgkMapMarker:
    case kagpbgkGlobe: case kagpbgkNaviTopLeft: case kagpbgkNaviTopRight:
    case kagpbgkNaviBottomLeft: case kagpbgkNaviBottomRight: case kagpbgkSizeFull:
    case kagpbgkSizeCompact:
      return true;
    default:
      return false;
  }
}

bool GPGlyphKindUsesHairline(TkaGPButtonGlyphKind Kind) {
  switch (Kind) {
    case kagpbgkRewind: case kagpbgkForward: case kagpbgkSkipToStart: case kagpbgkSkipToEnd:
    case kagpbgkMap: case kagpbgkFileNew: case kagpbgkShopBasket: case kagpbgkShopBasketIn:
    case kagpbgkShopBasketOut: case kagpbgkFlag: case kagpbgkFilter: case kagpbgkVolume:
    case kagpbgkMute: case kagpbgkFileSave: case kagpbgkOutBox: case kagpbgkInBox:
    case kagpbgkFolder: case kagpbgkPrint: case kagpbgkFill: case kagpbgkFont: case kagpbgkUser:
    case kagpbgkTrash: case kagpbgkPin: case kagpbgkPaste:
      return true;
    default:
      return false;
  }
}

void GPDrawMaximizeGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  if (IsWindows11())
    GPDrawMaximizeRoundedGlyph(G, Box, Color, ScaleFactor, Thickness);
  else
    GPDrawMaximizeRectGlyph(G, Box, Color, ScaleFactor, Thickness);
}

void GPDrawRestoreGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  if (IsWindows11())
    GPDrawRestoreRoundedGlyph(G, Box, Color, ScaleFactor, Thickness);
  else
    GPDrawRestoreRectGlyph(G, Box, Color, ScaleFactor, Thickness);
}

namespace {

using TGlyphRoutine = void (*)(Graphics*, const TGPRectF&, TGPColor, double, uint8_t);

// The routine of every kind, in kind order; the colour markers, which take one more value,
// are dispatched apart (nullptr here).
constexpr std::array<TGlyphRoutine, kagpbgkRestoreRect + 1> GlyphRoutines = {
    GPDrawPriorArrowGlyph, GPDrawNextArrowGlyph, GPDrawLeftArrowGlyph, GPDrawRightArrowGlyph,
    GPDrawUpArrowGlyph, GPDrawDownArrowGlyph, GPDrawMoreGlyph, GPDrawDetailsGlyph,
    GPDrawDetailPointsGlyph, GPDrawSearchGlyph,
    // 10
    GPDrawPlusGlyph, GPDrawMinusGlyph, GPDrawOptionsGlyph, GPDrawOkGlyph, GPDrawCloseGlyph,
    GPDrawCloseGlyph, GPDrawRefreshGlyph, GPDrawEditGlyph, GPDrawFirstGlyph, GPDrawLastGlyph,
    // 20
    GPDrawPlayGlyph, GPDrawPauseGlyph, GPDrawStopGlyph, GPDrawRewindGlyph, GPDrawForwardGlyph,
    GPDrawSkipToStartGlyph, GPDrawSkipToEndGlyph, GPDrawExitGlyph, GPDrawHomeGlyph,
    GPDrawShutDownGlyph,
    // 30
    GPDrawCheckOptionsGlyph, GPDrawInfoGlyph, GPDrawDownloadGlyph, GPDrawUploadGlyph,
    GPDrawMinimizeGlyph, GPDrawMaximizeGlyph, GPDrawRestoreGlyph, GPDrawCloseGlyph,
    GPDrawFileNewGlyph, GPDrawFileOpenGlyph,
    // 40
    GPDrawFileSaveGlyph, GPDrawFileSaveAsGlyph, GPDrawFolderGlyph, GPDrawPrintGlyph,
    GPDrawMicGlyph, GPDrawMicMuteGlyph, GPDrawRecGlyph, GPDrawRecOnGlyph, GPDrawPhotoGlyph,
    GPDrawVideoGlyph,
    // 50
    GPDrawLockGlyph, GPDrawUnLockGlyph, GPDrawUserGlyph, GPDrawTrashGlyph, GPDrawInBoxGlyph,
    GPDrawOutBoxGlyph, GPDrawPinGlyph, GPDrawVolumeGlyph, GPDrawMuteGlyph,
    GPDrawVolumePlusGlyph,
    // 60
    GPDrawVolumeMinusGlyph, GPDrawZoomPlusGlyph, GPDrawZoomMinusGlyph, GPDrawViewGlyph,
    GPDrawFlagGlyph, GPDrawFilterGlyph, GPDrawObjectsGlyph, GPDrawReplyGlyph, GPDrawUndoGlyph,
    GPDrawRedoGlyph,
    // 70
    GPDrawClockGlyph, GPDrawCalendarGlyph, GPDrawChartGlyph, GPDrawFontGlyph, nullptr,
    GPDrawFontIncSizeGlyph, GPDrawFontDecSizeGlyph, GPDrawFillGlyph, nullptr,
    GPDrawMessageGlyph,
    // 80
    GPDrawMessageReadGlyph, GPDrawSendGlyph, GPDrawTextAlignLeftGlyph,
    GPDrawTextAlignRightGlyph, GPDrawTextAlignCenterGlyph, GPDrawTextAlignJustifiedGlyph,
    GPDrawCopyGlyph, GPDrawPasteGlyph, GPDrawCutGlyph, GPDrawHelpGlyph,
    // 90
    GPDrawReplaceGlyph, GPDrawShareGlyph, GPDrawCallGlyph, GPDrawCallEndGlyph, GPDrawMapGlyph,
    GPDrawMapMarkerGlyph, GPDrawGearGlyph, GPDrawStarGlyph, GPDrawGlobeGlyph,
    GPDrawPriorArrowGlyph,
    // 100
    GPDrawNextArrowGlyph, GPDrawNaviTopGlyph, GPDrawNaviBottomGlyph, GPDrawNaviTopLeftGlyph,
    GPDrawNaviTopRightGlyph, GPDrawNaviBottomLeftGlyph, GPDrawNaviBottomRightGlyph,
    GPDrawSizeFullGlyph, GPDrawSizeCompactGlyph, GPDrawShopBasketGlyph,
    // 110
    GPDrawShopBasketInGlyph, GPDrawShopBasketOutGlyph, nullptr, GPDrawMaximizeRoundedGlyph,
    GPDrawRestoreRoundedGlyph, GPDrawMaximizeRectGlyph, GPDrawRestoreRectGlyph,
};

}  // namespace

void GPDrawGlyph(Graphics* G, TkaGPButtonGlyphKind Kind, const TGPRectF& Box, TGPColor Color,
                 double ScaleFactor, uint8_t Thickness, TColor ColorValue) {
  switch (Kind) {
    case kagpbgkColorMarker:
      GPDrawColorMarkerGlyph(G, Box, Color, ScaleFactor, Thickness, ColorValue);
      return;
    case kagpbgkFontColorMarker:
      GPDrawFontColorMarkerGlyph(G, Box, Color, ScaleFactor, Thickness, ColorValue);
      return;
    case kagpbgkFillColorMarker:
      GPDrawFillColorMarkerGlyph(G, Box, Color, ScaleFactor, Thickness, ColorValue);
      return;
    default:
      break;
  }
  // A kind outside the catalogue (a bad stored value) draws nothing.
  const auto Index = static_cast<size_t>(Kind);
  if (Index < GlyphRoutines.size() && GlyphRoutines[Index] != nullptr)
    GlyphRoutines[Index](G, Box, Color, ScaleFactor, Thickness);
}
