// PNG pictures: a decoder for every colour type, bit depth, transparency form and interlace
// method of the format, an encoder writing 8-bit RGB or RGBA, and the graphic class that
// the image collections, the toggle switch masks and the GDI+ bridge hold pictures in.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "framework/Graphics.h"

// How a picture lets the background through: not at all; through one fully transparent
// colour (a colour key, or a palette whose transparency values are only 0 and 255); or
// through an alpha channel (or a palette with intermediate transparency values).
enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

namespace KaPng {

// The colour types of the format.
enum : uint8_t { ctGrey = 0, ctRGB = 2, ctPalette = 3, ctGreyAlpha = 4, ctRGBA = 6 };

// A decoded picture: Width x Height pixels of straight-alpha R, G, B, A bytes, top row
// first, with what the file said about its own form. Width and Height are both 0 (no
// picture) or both positive.
struct TImageData {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;
  uint8_t ColorType = ctRGBA;
  uint8_t BitDepth = 8;  // of the samples in the file; Pixels always hold 8
  bool Interlaced = false;
  TPNGTransparencyMode TransparencyMode = ptmNone;
};

// Reads one PNG datastream from the stream's position up to and including IEND. Anything
// malformed fails with EInvalidGraphic ("PNG: <reason>"); nothing is allocated on the word
// of a length or size field before the data behind it is known to be there.
TImageData Decode(std::istream& Stream);

// Writes the picture as 8-bit RGBA, or RGB when it has no alpha channel and every pixel is
// opaque. Fails with EInvalidGraphic when the stream refuses the data.
void Encode(const TImageData& Image, std::ostream& Stream);

}  // namespace KaPng

class TPngImage : public TGraphic {
  KA_CLASS(TPngImage, TGraphic)
 public:
  TPngImage() = default;

  // From a TPngImage: a deep copy. From a TBitmap: its pixels; a pf32bit bitmap with
  // AlphaFormat afDefined or afPremultiplied gives an alpha channel (un-premultiplied),
  // any other bitmap an opaque picture. nullptr: empties the picture.
  void Assign(TPersistent* Source) override;
  TGraphic* NewGraphic() const override { return new TPngImage; }

  int Width() const override { return FImage.Width; }
  int Height() const override { return FImage.Height; }
  bool Empty() const override { return FImage.Width == 0; }
  // Replaces the picture with a blank one of that size: RGBA, every pixel transparent
  // black. A side of 0 or less gives an empty picture.
  void SetSize(int AWidth, int AHeight) override;

  TPNGTransparencyMode TransparencyMode() const { return FImage.TransparencyMode; }
  // Follows the picture: True unless TransparencyMode is ptmNone.
  bool Transparent() const override { return FImage.TransparencyMode != ptmNone; }
  // Transparency is the picture's own; there is nothing to switch.
  void SetTransparent(bool Value) override {}
  // The form of the file the picture came from (colour type, bit depth of its samples).
  uint8_t ColorType() const { return FImage.ColorType; }
  uint8_t BitDepth() const { return FImage.BitDepth; }
  bool Interlaced() const { return FImage.Interlaced; }

  // Stretched to Rect: blended over what is there when the picture is transparent,
  // copied with the canvas's CopyMode otherwise.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

  // A failed load leaves the picture as it was.
  void LoadFromStream(std::istream& Stream) override;
  // Nothing is written for an empty picture.
  void SaveToStream(std::ostream& Stream) override;
  // From an RT_RCDATA resource; EInvalidGraphic when there is none of that name.
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);

  // Straight-alpha 0xAARRGGBB. Out of range: EInvalidGraphicOperation.
  uint32_t Pixel(int X, int Y) const;
  // A pixel that is not opaque turns a picture without alpha channel into an RGBA one.
  void SetPixel(int X, int Y, uint32_t Value);

  // The decoded picture itself, for code that works on all pixels at once.
  const KaPng::TImageData& ImageData() const { return FImage; }

 protected:
  // To a TBitmap: pf32bit of the same size with straight alpha in the fourth byte when the
  // picture is transparent (the bitmap's AlphaFormat is left as it was: callers switch it
  // around the copy), pf24bit otherwise.
  void AssignTo(TPersistent* Dest) override;

 private:
  size_t Offset(int X, int Y) const;
  void AssignBitmap(TBitmap* Source);
  void CopyToBitmap(TBitmap* Dest) const;

  KaPng::TImageData FImage;
};
