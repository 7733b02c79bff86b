// The check box's reference sheet: its three check states in every control state, with
// visual styles and classic, at 96 and 144 DPI, and a few arrangements (box on the right,
// right-to-left, pictures, glow, an image above the caption).
#pragma once

class TCanvas;

constexpr int kCheckBoxSheetWidth = 1420;
constexpr int kCheckBoxSheetHeight = 730;

void PaintCheckBoxSheet(TCanvas* C);
