// The hint window's reference sheet: plain, two-line and extended hints (title, title with a
// picture) with visual styles, classic, in the two custom styles and at 144 DPI, and the
// steps of the fade-in.
#pragma once

class TCanvas;

constexpr int kHintSheetWidth = 1260;
constexpr int kHintSheetHeight = 560;

void PaintHintSheet(TCanvas* C);
