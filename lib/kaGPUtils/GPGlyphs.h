// The vector glyph catalogue: 117 icons drawn from lines, arcs, ellipses, polygons and
// Bezier curves inside a square glyph box, so that they stay crisp at any size and scale
// and take any ARGB colour. The glyph buttons pick a routine by kind through GPDrawGlyph;
// a few routines also serve other controls (the modern drop-down "v", the size grip).
//
// Every routine strokes with a solid pen in the glyph colour (default caps and joins) on
// the caller's surface, which keeps its own smoothing and pixel offset; routines that need
// other modes change them only for their own duration. The few that clip part of their
// drawing (Restore, Copy, FileOpen, FileSaveAs, InBox, OutBox) leave the surface unclipped
// (its clip reset), so a caller that clips sets its clip again after them. Pens, brushes and
// paths live on the stack of the call, so nothing outlives it, also when drawing throws.
//
// The pen width P of a glyph is GPGlyphPenWidth(Thickness, ScaleFactor), a thickness of 0
// counting as 1, except for the thin-line kinds (GPGlyphKindUsesHairline), which take
// Trunc(Thickness * ScaleFactor) as given: 0 there is a one-pixel hairline. The rule goes
// by the kind drawn: the folder inside FileOpen or the letter of FontColorMarker take the
// usual pen even though Folder and Font alone are thin-line kinds.
#pragma once

#include <cstdint>

#include "framework/Types.h"
#include "lib/kaGPUtils/GPInterface.h"

// Stored as a plain int so that a bad value read from a layout stays a value (it draws nothing).
enum TkaGPButtonGlyphKind : int {
  kagpbgkPriorArrow,        // 0
  kagpbgkNextArrow,
  kagpbgkLeftArrow,
  kagpbgkRightArrow,
  kagpbgkUpArrow,
  kagpbgkDownArrow,
  kagpbgkMore,
  kagpbgkDetails,
  kagpbgkDetailPoints,
  kagpbgkSearch,
  kagpbgkPlus,              // 10
  kagpbgkMinus,
  kagpbgkOptions,
  kagpbgkOk,
  kagpbgkCancel,
  kagpbgkClear,
  kagpbgkRefresh,
  kagpbgkEdit,
  kagpbgkFirst,
  kagpbgkLast,
  kagpbgkPlay,              // 20
  kagpbgkPause,
  kagpbgkStop,
  kagpbgkRewind,
  kagpbgkForward,
  kagpbgkSkipToStart,
  kagpbgkSkipToEnd,
  kagpbgkExit,
  kagpbgkHome,
  kagpbgkShutDown,
  kagpbgkCheckOptions,      // 30
  kagpbgkInfo,
  kagpbgkDownload,
  kagpbgkUpload,
  kagpbgkMinimize,
  kagpbgkMaximize,
  kagpbgkRestore,
  kagpbgkClose,
  kagpbgkFileNew,
  kagpbgkFileOpen,
  kagpbgkFileSave,          // 40
  kagpbgkFileSaveAs,
  kagpbgkFolder,
  kagpbgkPrint,
  kagpbgkMic,
  kagpbgkMicMute,
  kagpbgkRec,
  kagpbgkRecOn,
  kagpbgkPhoto,
  kagpbgkVideo,
  kagpbgkLock,              // 50
  kagpbgkUnLock,
  kagpbgkUser,
  kagpbgkTrash,
  kagpbgkInBox,
  kagpbgkOutBox,
  kagpbgkPin,
  kagpbgkVolume,
  kagpbgkMute,
  kagpbgkVolumePlus,
  kagpbgkVolumeMinus,       // 60
  kagpbgkZoomPlus,
  kagpbgkZoomMinus,
  kagpbgkView,
  kagpbgkFlag,
  kagpbgkFilter,
  kagpbgkObjects,
  kagpbgkReply,
  kagpbgkUndo,
  kagpbgkRedo,
  kagpbgkClock,             // 70
  kagpbgkCalendar,
  kagpbgkChart,
  kagpbgkFont,
  kagpbgkFontColorMarker,
  kagpbgkFontIncSize,
  kagpbgkFontDecSize,
  kagpbgkFill,
  kagpbgkFillColorMarker,
  kagpbgkMessage,
  kagpbgkMessageRead,       // 80
  kagpbgkSend,
  kagpbgkTextAlignLeft,
  kagpbgkTextAlignRight,
  kagpbgkTextAlignCenter,
  kagpbgkTextAlignJustified,
  kagpbgkCopy,
  kagpbgkPaste,
  kagpbgkCut,
  kagpbgkHelp,
  kagpbgkReplace,           // 90
  kagpbgkShare,
  kagpbgkCall,
  kagpbgkCallEnd,
  kagpbgkMap,
  kagpbgkMapMarker,
  kagpbgkGear,
  kagpbgkStar,
  kagpbgkGlobe,
  kagpbgkNaviLeft,
  kagpbgkNaviRight,         // 100
  kagpbgkNaviTop,
  kagpbgkNaviBottom,
  kagpbgkNaviTopLeft,
  kagpbgkNaviTopRight,
  kagpbgkNaviBottomLeft,
  kagpbgkNaviBottomRight,
  kagpbgkSizeFull,
  kagpbgkSizeCompact,
  kagpbgkShopBasket,
  kagpbgkShopBasketIn,      // 110
  kagpbgkShopBasketOut,
  kagpbgkColorMarker,
  kagpbgkMaximizeRounded,
  kagpbgkRestoreRounded,
  kagpbgkMaximizeRect,
  kagpbgkRestoreRect,       // 116
};

// Whether the glyph button shrinks the glyph box by its margin before drawing this kind.
bool GPGlyphKindUsesMargin(TkaGPButtonGlyphKind Kind);
// Whether this kind's pen is Trunc(Thickness * ScaleFactor) as given (0: a hairline) rather
// than GPGlyphPenWidth. The Exit glyph's bracket takes it but its arrow does not.
bool GPGlyphKindUsesHairline(TkaGPButtonGlyphKind Kind);

// Draws Kind in Box. ColorValue is the opaque colour of the colour-marker kinds (clNone
// fills them with transparent black). Maximize and Restore take their rounded variants on
// Windows 11 and their square, unsmoothed ones otherwise.
void GPDrawGlyph(Gdiplus::Graphics* G, TkaGPButtonGlyphKind Kind, const TGPRectF& Box,
                 TGPColor Color, double ScaleFactor, uint8_t Thickness,
                 TColor ColorValue = clNone);

// ---- The routines, one per glyph; kinds sharing a routine are named above it -----------
//
// Every routine takes the surface, the glyph box, the glyph colour, the scale factor and
// the thickness; the colour markers also take the colour value.

// Caption buttons.

// Also Cancel and Clear.
void GPDrawCloseGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawMinimizeGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
// MaximizeRounded on Windows 11, else MaximizeRect.
void GPDrawMaximizeGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
// RestoreRounded on Windows 11, else RestoreRect.
void GPDrawRestoreGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawMaximizeRectGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                             double ScaleFactor, uint8_t Thickness);
void GPDrawMaximizeRoundedGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness);
void GPDrawRestoreRectGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness);
void GPDrawRestoreRoundedGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                               double ScaleFactor, uint8_t Thickness);

// Arrows.

// Also NaviLeft.
void GPDrawPriorArrowGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                           double ScaleFactor, uint8_t Thickness);
// Also NaviRight.
void GPDrawNextArrowGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                          double ScaleFactor, uint8_t Thickness);
void GPDrawLeftArrowGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                          double ScaleFactor, uint8_t Thickness);
void GPDrawRightArrowGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                           double ScaleFactor, uint8_t Thickness);
void GPDrawUpArrowGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawDownArrowGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                          double ScaleFactor, uint8_t Thickness);
// The modern drop-down arrow of the vector buttons: a "v" over the lower half of the box.
void GPDrawModernDropDownGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                               double ScaleFactor, uint8_t Thickness);
void GPDrawNaviTopGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawNaviBottomGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                           double ScaleFactor, uint8_t Thickness);
void GPDrawNaviTopLeftGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness);
void GPDrawNaviTopRightGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                             double ScaleFactor, uint8_t Thickness);
void GPDrawNaviBottomLeftGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                               double ScaleFactor, uint8_t Thickness);
void GPDrawNaviBottomRightGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness);
// The size box's grip: the main diagonal with a corner mark (arms H/3) at both ends.
void GPDrawSizeGripGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
void GPDrawDownloadGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
void GPDrawUploadGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                       double ScaleFactor, uint8_t Thickness);
void GPDrawExitGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);

// Plus, minus, check, menus and text.
void GPDrawPlusGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawMinusGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawOkGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                   double ScaleFactor, uint8_t Thickness);
void GPDrawCheckOptionsGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                             double ScaleFactor, uint8_t Thickness);
void GPDrawMoreGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawDetailsGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawDetailPointsGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                             double ScaleFactor, uint8_t Thickness);
void GPDrawOptionsGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawTextAlignLeftGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                              double ScaleFactor, uint8_t Thickness);
void GPDrawTextAlignRightGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                               double ScaleFactor, uint8_t Thickness);
void GPDrawTextAlignCenterGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness);
void GPDrawTextAlignJustifiedGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                                   double ScaleFactor, uint8_t Thickness);

// Media.
void GPDrawPlayGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawPauseGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawStopGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawRewindGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                       double ScaleFactor, uint8_t Thickness);
void GPDrawForwardGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawSkipToStartGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness);
void GPDrawSkipToEndGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                          double ScaleFactor, uint8_t Thickness);
void GPDrawFirstGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawLastGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawRecGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                    double ScaleFactor, uint8_t Thickness);
void GPDrawRecOnGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawMicGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                    double ScaleFactor, uint8_t Thickness);
void GPDrawMicMuteGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawVolumeGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                       double ScaleFactor, uint8_t Thickness);
void GPDrawMuteGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawVolumePlusGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                           double ScaleFactor, uint8_t Thickness);
void GPDrawVolumeMinusGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness);
void GPDrawPhotoGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawVideoGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);

// Objects.
void GPDrawSearchGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                       double ScaleFactor, uint8_t Thickness);
void GPDrawZoomPlusGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
void GPDrawZoomMinusGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                          double ScaleFactor, uint8_t Thickness);
void GPDrawRefreshGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawEditGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawHomeGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawShutDownGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
void GPDrawInfoGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawHelpGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawGearGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawStarGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawFileNewGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawFileOpenGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
void GPDrawFileSaveGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
void GPDrawFileSaveAsGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                           double ScaleFactor, uint8_t Thickness);
void GPDrawFolderGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                       double ScaleFactor, uint8_t Thickness);
void GPDrawPrintGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawLockGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawUnLockGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                       double ScaleFactor, uint8_t Thickness);
void GPDrawUserGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawTrashGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawInBoxGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawOutBoxGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                       double ScaleFactor, uint8_t Thickness);
void GPDrawPinGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                    double ScaleFactor, uint8_t Thickness);
void GPDrawViewGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawFlagGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawFilterGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                       double ScaleFactor, uint8_t Thickness);
void GPDrawObjectsGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawClockGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawCalendarGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
void GPDrawChartGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawGlobeGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawSizeFullGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                         double ScaleFactor, uint8_t Thickness);
void GPDrawSizeCompactGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness);
void GPDrawShopBasketGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                           double ScaleFactor, uint8_t Thickness);
void GPDrawShopBasketInGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                             double ScaleFactor, uint8_t Thickness);
void GPDrawShopBasketOutGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                              double ScaleFactor, uint8_t Thickness);

// Editing and communication.
void GPDrawReplyGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawUndoGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawRedoGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawFontGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawFontIncSizeGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness);
void GPDrawFontDecSizeGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness);
void GPDrawFillGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawMessageGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawMessageReadGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness);
void GPDrawSendGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawCopyGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawPasteGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawCutGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                    double ScaleFactor, uint8_t Thickness);
void GPDrawReplaceGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawShareGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                      double ScaleFactor, uint8_t Thickness);
void GPDrawCallGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                     double ScaleFactor, uint8_t Thickness);
void GPDrawCallEndGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                        double ScaleFactor, uint8_t Thickness);
void GPDrawMapGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                    double ScaleFactor, uint8_t Thickness);
void GPDrawMapMarkerGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                          double ScaleFactor, uint8_t Thickness);

// Colour markers: ColorValue is drawn opaque.
void GPDrawColorMarkerGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness, TColor ColorValue);
void GPDrawFontColorMarkerGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness, TColor ColorValue);
void GPDrawFillColorMarkerGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness, TColor ColorValue);

