// Move-only owners of GDI handles and scoped guards for device-context state. Every GDI
// object the framework and the library create goes into one of these, so a throwing paint
// path still frees what it made and leaves borrowed DCs as it found them.
#pragma once

#include <utility>

#include "framework/Types.h"

// Owns a GDI object (font, pen, brush, bitmap, region) and frees it with DeleteObject.
// Stock objects may be held too: DeleteObject ignores them.
template <class H>
class TGdiObject {
 public:
  TGdiObject() = default;
  // Takes ownership of Handle (may be nullptr).
  explicit TGdiObject(H Handle) : FHandle(Handle) {}
  TGdiObject(TGdiObject&& Other) noexcept : FHandle(Other.Release()) {}
  TGdiObject& operator=(TGdiObject&& Other) noexcept {
    if (this != &Other) Reset(Other.Release());
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  ~TGdiObject() { Reset(); }

  H Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  // Gives up ownership without freeing.
  H Release() {
    H h = FHandle;
    FHandle = nullptr;
    return h;
  }
  // Frees the held object (it must not be selected into a DC) and takes Handle instead.
  void Reset(H Handle = nullptr) {
    if (FHandle != nullptr && FHandle != Handle) ::DeleteObject(FHandle);
    FHandle = Handle;
  }

 private:
  H FHandle = nullptr;
};

using TFontHandle = TGdiObject<HFONT>;
using TPenHandle = TGdiObject<HPEN>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TBitmapHandle = TGdiObject<HBITMAP>;
using TRgnHandle = TGdiObject<HRGN>;

// A memory DC, freed with DeleteDC.
class TMemoryDC {
 public:
  TMemoryDC() = default;
  // Takes ownership of a DC made by CreateCompatibleDC (may be nullptr).
  explicit TMemoryDC(HDC Owned) : FDC(Owned) {}
  TMemoryDC(TMemoryDC&& Other) noexcept : FDC(Other.Release()) {}
  TMemoryDC& operator=(TMemoryDC&& Other) noexcept {
    if (this != &Other) Reset(Other.Release());
    return *this;
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC() { Reset(); }

  // A new memory DC compatible with Reference (nullptr: the screen); throws when GDI
  // has none to give.
  static TMemoryDC CreateCompatible(HDC Reference = nullptr) {
    HDC dc = ::CreateCompatibleDC(Reference);
    if (dc == nullptr) throw EOutOfResources(L"Out of system resources (memory DC)");
    return TMemoryDC(dc);
  }

  HDC Get() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }
  HDC Release() {
    HDC dc = FDC;
    FDC = nullptr;
    return dc;
  }
  void Reset(HDC Owned = nullptr) {
    if (FDC != nullptr && FDC != Owned) ::DeleteDC(FDC);
    FDC = Owned;
  }

 private:
  HDC FDC = nullptr;
};

// A window's DC (or the screen's, for a nullptr window), given back with ReleaseDC.
class TWindowDC {
 public:
  TWindowDC() = default;
  // GetDC(Wnd); throws when no DC is available.
  explicit TWindowDC(HWND Wnd) : FWnd(Wnd), FDC(::GetDC(Wnd)) {
    if (FDC == nullptr) throw EOutOfResources(L"Out of system resources (window DC)");
  }
  // Takes ownership of a DC obtained with GetDC/GetDCEx/GetWindowDC for Wnd.
  TWindowDC(HWND Wnd, HDC Owned) : FWnd(Wnd), FDC(Owned) {}
  TWindowDC(TWindowDC&& Other) noexcept : FWnd(Other.FWnd), FDC(Other.FDC) { Other.FDC = nullptr; }
  TWindowDC& operator=(TWindowDC&& Other) noexcept {
    if (this != &Other) {
      Reset();
      FWnd = Other.FWnd;
      FDC = Other.FDC;
      Other.FDC = nullptr;
    }
    return *this;
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() { Reset(); }

  HDC Get() const { return FDC; }
  HWND Window() const { return FWnd; }
  explicit operator bool() const { return FDC != nullptr; }
  void Reset() {
    if (FDC != nullptr) ::ReleaseDC(FWnd, FDC);
    FDC = nullptr;
  }

 private:
  HWND FWnd = nullptr;
  HDC FDC = nullptr;
};

// SaveDC on construction, RestoreDC to that level on destruction: selected objects,
// colours, modes, clipping and the pen position all come back. Not for the DC of a canvas
// that draws inside the scope: TCanvasStateSaver below keeps the canvas in step.
class TDCStateSaver {
 public:
  explicit TDCStateSaver(HDC DC) : FDC(DC), FSaved(DC != nullptr ? ::SaveDC(DC) : 0) {}
  TDCStateSaver(const TDCStateSaver&) = delete;
  TDCStateSaver& operator=(const TDCStateSaver&) = delete;
  ~TDCStateSaver() {
    if (FSaved != 0) ::RestoreDC(FDC, FSaved);
  }

 private:
  HDC FDC;
  int FSaved;
};

class TCanvas;

// TDCStateSaver for the DC a canvas draws on while the scope lasts. A canvas realises its
// font, pen and brush (with the text colour, background colour and mode) into the DC once
// and trusts them to stay; a bare RestoreDC puts back those of the save time behind its back,
// so later text would come out in an old font or colour, or on an opaque background. Here
// the canvas realises its own again after the restore. With Clip, drawing is also limited to
// that rectangle (within the clipping already there) until the scope ends. Defined with the
// canvas (Canvas.cpp).
class TCanvasStateSaver {
 public:
  explicit TCanvasStateSaver(TCanvas* Canvas);
  TCanvasStateSaver(TCanvas* Canvas, const TRect& Clip);
  TCanvasStateSaver(const TCanvasStateSaver&) = delete;
  TCanvasStateSaver& operator=(const TCanvasStateSaver&) = delete;
  ~TCanvasStateSaver();

 private:
  TCanvas* FCanvas;
  HDC FDC;
  int FSaved;
};

// Selects an object into a DC and selects the previous one back when it goes (or on
// Restore). The object must outlive the guard.
class TSelectObject {
 public:
  TSelectObject() = default;
  TSelectObject(HDC DC, HGDIOBJ Object) : FDC(DC), FOld(::SelectObject(DC, Object)) {
    if (FOld == HGDI_ERROR) FOld = nullptr;
  }
  TSelectObject(TSelectObject&& Other) noexcept : FDC(Other.FDC), FOld(Other.FOld) { Other.FOld = nullptr; }
  TSelectObject& operator=(TSelectObject&& Other) noexcept {
    if (this != &Other) {
      Restore();
      FDC = Other.FDC;
      FOld = Other.FOld;
      Other.FOld = nullptr;
    }
    return *this;
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;
  ~TSelectObject() { Restore(); }

  void Restore() {
    if (FOld != nullptr) ::SelectObject(FDC, FOld);
    FOld = nullptr;
  }

 private:
  HDC FDC = nullptr;
  HGDIOBJ FOld = nullptr;
};

// A bottom-up DIB section of Width x Height at 24 or 32 bits per pixel, zero-filled;
// *Bits receives the pixel memory (the bottom row first). Throws when GDI cannot make it.
inline TBitmapHandle CreateBottomUpDIB(int Width, int Height, int BitsPerPixel, void** Bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = Width;
  bi.bmiHeader.biHeight = Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = static_cast<WORD>(BitsPerPixel);
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TBitmapHandle bmp(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bmp || bits == nullptr) throw EOutOfResources(L"Out of system resources (bitmap)");
  *Bits = bits;
  return bmp;
}
