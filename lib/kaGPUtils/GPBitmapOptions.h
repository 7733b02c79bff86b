// How a GDI+ image is laid into a destination of any size: whole and centred at its scaled
// size, or cut by four margins into three or nine parts whose corners keep their size while
// the edges and the middle are stretched or tiled.
//
// The geometry is worked out by GPImagePartDraws as a plain list of draws, so it can be
// checked exactly; GPDrawImageWithOptions only issues that list on a surface.
#pragma once

#include <optional>
#include <vector>

#include "framework/Classes.h"
#include "lib/kaGPUtils/GPInterface.h"

class TkaGPBitmapOptions : public TPersistent {
  KA_CLASS(TkaGPBitmapOptions, TPersistent)
 public:
  TkaGPBitmapOptions() = default;

  // From another options object: the four margins and the four switches, without OnChange.
  void Assign(TPersistent* Source) override;

  // Margins are in source pixels; a margin counts as set from 1 on. Their setters raise
  // OnChange every time, also when the value stays the same.
  int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int Value);
  int TopMargin() const { return FTopMargin; }
  void SetTopMargin(int Value);
  int RightMargin() const { return FRightMargin; }
  void SetRightMargin(int Value);
  int BottomMargin() const { return FBottomMargin; }
  void SetBottomMargin(int Value);

  // The switches raise nothing: the owner sees them at its next paint.
  // The middle part is stretched (true) or tiled.
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value) { FStretch = Value; }
  // The edge parts are stretched (true) or tiled.
  bool StretchBorder() const { return FStretchBorder; }
  void SetStretchBorder(bool Value) { FStretchBorder = Value; }
  // The middle part is left out.
  bool DrawOnlyBorder() const { return FDrawOnlyBorder; }
  void SetDrawOnlyBorder(bool Value) { FDrawOnlyBorder = Value; }
  // Only the middle part is drawn, over the whole destination.
  bool DrawOnlyClient() const { return FDrawOnlyClient; }
  void SetDrawOnlyClient(bool Value) { FDrawOnlyClient = Value; }

  TNotifyEvent OnChange;

 private:
  void Changed();

  int FLeftMargin = 0;
  int FRightMargin = 0;
  int FTopMargin = 0;
  int FBottomMargin = 0;
  bool FStretch = true;
  bool FStretchBorder = false;
  bool FDrawOnlyBorder = false;
  bool FDrawOnlyClient = false;
};

// One draw of a part of the image: Source (in image pixels) into Dest, through Clip when
// there is one.
struct TGPImagePartDraw {
  TGPRectF Dest;
  TGPRectF Source;
  std::optional<TGPRectF> Clip;
};

// The draws that lay an ImageWidth x ImageHeight image into DestRect by Options, in drawing
// order. LogicalWidth and LogicalHeight are the image's design size at 96 DPI, or less than
// 1 to use the image at its own pixel size; ScaleFactor is the target's DPI scale.
//
// A draw whose clip leaves nothing visible, or whose source part has no pixels (margins
// that meet or cross), is left out; so is the tiling of a part whose tile size comes out
// below one pixel. An image without pixels gives no draws.
std::vector<TGPImagePartDraw> GPImagePartDraws(const TkaGPBitmapOptions* Options, int ImageWidth,
                                               int ImageHeight, const TGPRectF& DestRect,
                                               int LogicalWidth, int LogicalHeight,
                                               double ScaleFactor);

// Draws Image into DestRect by Options with G's own interpolation, smoothing and offset
// modes. Clipped parts use intersect-clip and reset-clip, so G must carry no clip of the
// caller's that has to survive the call.
void GPDrawImageWithOptions(Gdiplus::Graphics* G, Gdiplus::Image* Image,
                            const TkaGPBitmapOptions* Options, const TGPRectF& DestRect,
                            int LogicalWidth, int LogicalHeight, double ScaleFactor);
