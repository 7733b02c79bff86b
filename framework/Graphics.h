// Drawing over GDI: fonts, pens and brushes that make their handles on demand, a canvas
// over any device context, graphics (bitmaps as DIB sections) and the picture that holds
// one graphic. GDI handles are owned through framework/GdiObjects.h.
#pragma once

#include <iosfwd>
#include <memory>
#include <vector>

#include "framework/Classes.h"
#include "framework/GdiObjects.h"

class EInvalidGraphic : public Exception { using Exception::Exception; };
class EInvalidGraphicOperation : public Exception { using Exception::Exception; };

class TCanvas;

// ---- Fonts, pens and brushes ------------------------------------------------------------

// Base of the objects a canvas draws with. OnChange fires after every change that alters
// what they draw; the handle of the old state is freed only after the listeners ran, so a
// canvas can take it out of its DC first.
class TGraphicsObject : public TPersistent {
  KA_CLASS(TGraphicsObject, TPersistent)
 public:
  TNotifyEvent OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontQuality {
  fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural
};
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;

class TFont : public TGraphicsObject {
  KA_CLASS(TFont, TGraphicsObject)
 public:
  // Copies every property, PixelsPerInch included; fires OnChange once if anything differs.
  void Assign(TPersistent* Source) override;

  const String& Name() const { return FData.Name; }
  void SetName(const String& Value);
  // Negative: character height in pixels; positive: cell height. Default -11.
  int Height() const { return FData.Height; }
  void SetHeight(int Value);
  // Points, through PixelsPerInch: Size = -Height * 72 / PixelsPerInch (MulDiv rounding).
  int Size() const;
  void SetSize(int Value);
  TFontStyles Style() const { return FData.Style; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FData.Color; }
  void SetColor(TColor Value);
  TFontQuality Quality() const { return FData.Quality; }
  void SetQuality(TFontQuality Value);
  TFontCharset Charset() const { return FData.Charset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FData.Pitch; }
  void SetPitch(TFontPitch Value);
  // Angle of the baseline in tenths of a degree.
  int Orientation() const { return FData.Orientation; }
  void SetOrientation(int Value);
  // The resolution Size converts through (default 96). Changing it keeps Height, so it
  // alters no drawing and fires no OnChange.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);

  // The font as an HFONT, made on first use and again after a change; owned by this object.
  // Colour is not part of an HFONT, so a colour change keeps the handle.
  HFONT Handle();

 private:
  struct TData {
    String Name = L"Tahoma";
    int Height = -11;
    TFontStyles Style;
    TColor Color = clWindowText;
    TFontQuality Quality = fqDefault;
    TFontCharset Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = fpDefault;
    int Orientation = 0;
    bool operator==(const TData&) const = default;
  };
  void Apply(const TData& Value);

  TData FData;
  int FPixelsPerInch = 96;
  TFontHandle FHandle;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
  KA_CLASS(TPen, TGraphicsObject)
 public:
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FData.Color; }  // default clBlack
  void SetColor(TColor Value);
  int Width() const { return FData.Width; }  // default 1
  void SetWidth(int Value);
  TPenStyle Style() const { return FData.Style; }  // default psSolid
  void SetStyle(TPenStyle Value);

  // Made on first use and again after a change; owned by this object.
  HPEN Handle();

 private:
  struct TData {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    bool operator==(const TData&) const = default;
  };
  void Apply(const TData& Value);

  TData FData;
  TPenHandle FHandle;
};

enum TBrushStyle {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

class TBrush : public TGraphicsObject {
  KA_CLASS(TBrush, TGraphicsObject)
 public:
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FData.Color; }  // default clWhite
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FData.Style; }  // default bsSolid
  void SetStyle(TBrushStyle Value);

  // Made on first use and again after a change; owned by this object.
  HBRUSH Handle();

 private:
  struct TData {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    bool operator==(const TData&) const = default;
  };
  void Apply(const TData& Value);

  TData FData;
  TBrushHandle FHandle;
};

// ---- Canvas -----------------------------------------------------------------------------

enum TCanvasStateFlag { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateFlag>;

using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

// Options of TCanvas::TextRect with a format; each maps to the DT_ flag of the same name.
enum TTextFormats {
  tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis, tfExpandTabs,
  tfExternalLeading, tfLeft, tfNoClip, tfNoPrefix, tfRight, tfRtlReading, tfSingleLine, tfTop,
  tfVerticalCenter, tfWordBreak, tfHidePrefix, tfNoFullWidthCharBreak, tfPrefixOnly, tfTabStop,
  tfWordEllipsis
};
using TTextFormat = TSet<TTextFormats>;
UINT TextFormatToFlags(TTextFormat Format);

class TGraphic;

// Draws on a device context it does not own. Binding a DC saves its state; unbinding
// (SetHandle to another DC or nullptr, or destruction) restores it, so the objects the
// canvas selected leave the DC and the DC is as it was found.
class TCanvas : public TPersistent {
  KA_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;

  // The bound DC with Font, Pen and Brush realised in it (font and text colour, pen, brush,
  // background mode and colour), ready for raw GDI calls. With no DC bound, CreateHandle is
  // asked for one; throws EInvalidOperation when there is still none.
  HDC Handle();
  // Binds Value (nullptr: none). Code may bind another DC mid-paint and bind the first again.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  // Owned by the canvas; the setters copy through Assign.
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  // Raster operation of CopyRect and of bitmaps drawn without alpha (default cmSrcCopy).
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }

  void MoveTo(int X, int Y);
  // With the pen; the end point is not drawn.
  void LineTo(int X, int Y);
  void Polyline(const std::vector<TPoint>& Points);
  void Polygon(const std::vector<TPoint>& Points);
  // With the brush only.
  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  // Outlined with the pen, filled with the brush.
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }

  // Text with the font, on the brush colour unless the brush is bsClear; moves PenPos to
  // the end of the text.
  void TextOut(int X, int Y, const String& Text);
  // Text at X, Y clipped to Rect, which is filled with the brush unless it is bsClear.
  void TextRect(const TRect& Rect, int X, int Y, const String& Text);
  // DrawTextW with the given options; with tfCalcRect only measures, into Rect.
  void TextRect(TRect& Rect, const String& Text, TTextFormat Format);
  TSize TextExtent(const String& Text);
  int TextWidth(const String& Text) { return TextExtent(Text).cx; }
  int TextHeight(const String& Text) { return TextExtent(Text).cy; }

  // The graphic at its own size with its top-left corner at X, Y.
  void Draw(int X, int Y, TGraphic* Graphic);
  // The graphic scaled to Rect.
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // Source's SourceRect to Dest here, scaled when the sizes differ, with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);

  TColor Pixel(int X, int Y);
  void SetPixel(int X, int Y, TColor Value);
  // The bounds of the DC's clipping region, in logical coordinates.
  TRect ClipRect();

  // Takes Font, Pen and Brush out of the DC; the next use realises them again. For code
  // that changed the DC's objects or colours behind the canvas's back.
  void Refresh();

  // Serialises drawing from several threads (recursive).
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return FLockCount; }

  // Fire OnChanging / OnChange. The drawing methods call them around their work; code that
  // draws through Handle() may call them itself.
  void Changing();
  void Changed();
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  // Called by Handle() and the drawing methods when no DC is bound: a descendant that can
  // get one on demand binds it here with SetHandle.
  virtual void CreateHandle() {}
  // Makes sure the listed parts are in place, binding a DC and realising objects as needed.
  void RequiredState(TCanvasState ReqState);

 private:
  void FontChanged();
  void PenChanged();
  void BrushChanged();
  void RealizeFont();
  void RealizePen();
  void RealizeBrush();

  HDC FHandle = nullptr;
  int FSavedDC = 0;
  TCanvasState FState;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TCopyMode FCopyMode = cmSrcCopy;
  CRITICAL_SECTION FLock;
  int FLockCount = 0;
};

// A 3D frame inside Rect: TopColor on the top and left edges, BottomColor on the right
// and bottom edges (which take the top-right and bottom-left corners), Width pixels deep.
// Rect shrinks by 1 on every side per pixel of width. clNone leaves that colour's edges
// undrawn. The canvas's pen and brush are not touched.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
// Fills Rect with Color at constant opacity Alpha (0: nothing, 255: a plain fill) over what
// is already there.
void DrawAlphaFill(HDC DC, const TRect& Rect, TColor Color, uint8_t Alpha);

// ---- Graphics ---------------------------------------------------------------------------

// A picture that can draw itself. Descendants (bitmaps here, other formats elsewhere)
// implement the pure virtual members; support for `Bitmap->Assign(graphic)` comes from
// overriding AssignTo for a TBitmap destination.
class TGraphic : public TPersistent {
  KA_CLASS(TGraphic, TPersistent)
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const = 0;
  // Resizes the picture; the default fails with EInvalidGraphicOperation.
  virtual void SetSize(int AWidth, int AHeight);
  void SetWidth(int Value) { SetSize(Value, Height()); }
  void SetHeight(int Value) { SetSize(Width(), Value); }
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  // Draws the whole picture scaled to Rect on ACanvas.
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  // A new, empty graphic of the same class (owned by the caller); TPicture copies graphics
  // through it and Assign.
  virtual TGraphic* NewGraphic() const = 0;
  // The defaults fail with EInvalidGraphicOperation.
  virtual void LoadFromStream(std::istream& Stream);
  virtual void SaveToStream(std::ostream& Stream);
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);
  // The picture in its own file format, as layouts carry it (`PngImage.Data = {89504E47...}`);
  // empty for an empty picture. Setting empty bytes on an empty picture changes nothing;
  // bytes that do not make a picture throw and leave the old one.
  std::vector<uint8_t> Data() const;
  void SetData(const std::vector<uint8_t>& Value);

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  bool FTransparent = false;
};

// Every TBitmap is a DIB section stored bottom-up. pfDevice is kept at 32 bits per pixel.
enum TPixelFormat { pfDevice, pf24bit, pf32bit };
// How the fourth byte of a pf32bit pixel is used: not at all, straight alpha, or alpha
// with the colour channels already multiplied by it.
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };

class TBitmap : public TGraphic {
  KA_CLASS(TBitmap, TGraphic)
 public:
  TBitmap() = default;
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;

  // From another TBitmap: a deep copy of pixels and formats; nullptr: empties this bitmap;
  // other graphics: through their AssignTo.
  void Assign(TPersistent* Source) override;
  TGraphic* NewGraphic() const override { return new TBitmap; }

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  bool Empty() const override { return !FHandle; }
  // Keeps the picture at the top-left; new pixels are zero.
  void SetSize(int AWidth, int AHeight) override;
  // pf32bit with alpha: AlphaBlend (straight alpha is premultiplied into a temporary);
  // Transparent: TransparentBlt keyed on TransparentColor; otherwise a copy with the
  // canvas's CopyMode.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

  // Changing it re-creates the DIB section and converts the picture: 24 to 32 bits gives
  // opaque alpha; a premultiplied picture leaving pf32bit is un-premultiplied first.
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value);
  // For pf32bit: to afPremultiplied multiplies each colour by alpha / 255 (rounded); from
  // afPremultiplied divides it back out; between afIgnored and afDefined leaves pixels.
  TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
  void SetAlphaFormat(TAlphaFormat Value);
  // The key colour of transparent drawing; clDefault (the default) means the colour of
  // the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);

  // The DIB section (nullptr when empty); owned by the bitmap.
  HBITMAP Handle() const { return FHandle.Get(); }
  HPALETTE Palette() const { return nullptr; }
  // A canvas on a memory DC holding this bitmap, made on first use; owned by the bitmap.
  // Its DC goes away whenever the DIB section is re-created.
  TCanvas* Canvas();
  // The pixels of Row (0 = top). Rows lie bottom-up, so addresses fall as Row rises.
  // Flushes GDI's pending drawing first.
  void* ScanLine(int Row);
  int BytesPerScanLine() const;

  // RT_BITMAP resources; fail with EInvalidGraphic when there is no such resource.
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
  void LoadFromResourceID(HINSTANCE Instance, int ResID);
  // BMP data (any bit depth GDI reads); 32-bit data becomes pf32bit with afIgnored, the
  // rest pf24bit. No data gives an empty bitmap, and an empty bitmap writes none.
  void LoadFromStream(std::istream& Stream) override;
  void SaveToStream(std::ostream& Stream) override;

 private:
  class TBitmapCanvas;
  int BitsPerPixel() const { return FPixelFormat == pf24bit ? 24 : 32; }
  void ReleaseCanvasDC();
  void Install(TBitmapHandle Handle, void* Bits, int AWidth, int AHeight, TPixelFormat Format);
  void Recreate(int AWidth, int AHeight, TPixelFormat Format);
  void LoadFromHandle(HBITMAP Source);
  void LoadFromBmpData(const std::vector<char>& Data);
  void DrawStraightAlpha(HDC Dest, const TRect& Rect);
  template <class F>
  void WithSourceDC(F&& Blit);

  TBitmapHandle FHandle;
  uint8_t* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TAlphaFormat FAlphaFormat = afIgnored;
  TColor FTransparentColor = clDefault;
  TBitmapCanvas* FCanvas = nullptr;
};

// Holds at most one graphic, of any TGraphic class, and tells of its changes.
class TPicture : public TPersistent {
  KA_CLASS(TPicture, TPersistent)
 public:
  TPicture() = default;
  ~TPicture() override;

  // The held graphic (nullptr when none), owned by the picture.
  TGraphic* Graphic() const { return FGraphic; }
  // Holds a copy of Value (made with NewGraphic and Assign); the caller keeps Value.
  // nullptr clears the picture.
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap: any other graphic (or none) is replaced by an empty bitmap.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value) { SetGraphic(Value); }

  int Width() const { return FGraphic != nullptr ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic != nullptr ? FGraphic->Height() : 0; }
  bool Empty() const { return FGraphic == nullptr || FGraphic->Empty(); }

  // From a TPicture or a TGraphic (copied), or nullptr (cleared).
  void Assign(TPersistent* Source) override;

  // After the graphic is replaced and whenever the held graphic changes.
  TNotifyEvent OnChange;

 protected:
  // To a TGraphic: the held graphic assigned to it.
  void AssignTo(TPersistent* Dest) override;

 private:
  void Replace(TGraphic* Owned);
  void Changed();

  TGraphic* FGraphic = nullptr;
};
