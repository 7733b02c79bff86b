// Scaling shared by the vector panel and the vector label, which keep the same content
// margins and frame geometry.
#pragma once

#include "framework/Platform.h"

struct TkaGPFrameGeometry {
  int& ContentMarginLeft;
  int& ContentMarginRight;
  int& ContentMarginTop;
  int& ContentMarginBottom;
  int& FrameWidth;
  int& FrameRadius;
  bool ScaleFrameWidth;
};

// A frame width is scaled only on request: a hairline frame should stay one pixel.
inline void ScaleFrameGeometry(const TkaGPFrameGeometry& G, int M, int D) {
  if (M == D || D == 0) return;
  G.ContentMarginLeft = ::MulDiv(G.ContentMarginLeft, M, D);
  G.ContentMarginRight = ::MulDiv(G.ContentMarginRight, M, D);
  G.ContentMarginTop = ::MulDiv(G.ContentMarginTop, M, D);
  G.ContentMarginBottom = ::MulDiv(G.ContentMarginBottom, M, D);
  if (G.ScaleFrameWidth && G.FrameWidth > 0) G.FrameWidth = ::MulDiv(G.FrameWidth, M, D);
  if (G.FrameRadius > 0) G.FrameRadius = ::MulDiv(G.FrameRadius, M, D);
}
