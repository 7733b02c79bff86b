// The GDI+ operations the vector drawing relies on, with the ownership rules that make them
// leak-proof: GDI+ is started once per process before any surface exists and shut down after
// the last one, and every temporary mode change of a surface is undone by a scope object,
// also when drawing throws part-way.
#pragma once

#include <cstdint>

#include "framework/Platform.h"
#include "framework/Types.h"

using TGPRectF = Gdiplus::RectF;
using TGPPointF = Gdiplus::PointF;
// 32-bit alpha-red-green-blue, alpha in the top byte.
using TGPColor = Gdiplus::ARGB;

// Starts GDI+ on first call and keeps it running until the process ends; every entry point
// that makes a surface, bitmap or font goes through it, so no caller needs to remember.
void GPEnsureStarted();
// True once GDI+ has been started successfully.
bool GPStarted();

// Restores a surface's smoothing, pixel-offset, text-rendering and interpolation modes (and
// nothing else) when it goes out of scope.
class TGPModesScope {
 public:
  explicit TGPModesScope(Gdiplus::Graphics* G);
  ~TGPModesScope();
  TGPModesScope(const TGPModesScope&) = delete;
  TGPModesScope& operator=(const TGPModesScope&) = delete;

 private:
  Gdiplus::Graphics* FGraphics;
  Gdiplus::SmoothingMode FSmoothing;
  Gdiplus::PixelOffsetMode FPixelOffset;
  Gdiplus::TextRenderingHint FTextHint;
  Gdiplus::InterpolationMode FInterpolation;
};

// Resets the surface's clip when it goes out of scope; routines that clip part of their
// drawing hold one so an exception cannot leave the caller's surface clipped.
class TGPClipScope {
 public:
  explicit TGPClipScope(Gdiplus::Graphics* G) : FGraphics(G) {}
  ~TGPClipScope() { FGraphics->ResetClip(); }
  TGPClipScope(const TGPClipScope&) = delete;
  TGPClipScope& operator=(const TGPClipScope&) = delete;

 private:
  Gdiplus::Graphics* FGraphics;
};

// Restores a surface's pixel-offset mode alone: text switches it for its own duration while
// the rest of the surface's state stays as the text routine leaves it.
class TGPPixelOffsetScope {
 public:
  explicit TGPPixelOffsetScope(Gdiplus::Graphics* G)
      : FGraphics(G), FPixelOffset(G->GetPixelOffsetMode()) {}
  ~TGPPixelOffsetScope() { FGraphics->SetPixelOffsetMode(FPixelOffset); }
  TGPPixelOffsetScope(const TGPPixelOffsetScope&) = delete;
  TGPPixelOffsetScope& operator=(const TGPPixelOffsetScope&) = delete;

 private:
  Gdiplus::Graphics* FGraphics;
  Gdiplus::PixelOffsetMode FPixelOffset;
};
