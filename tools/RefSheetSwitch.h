// The toggle switch's reference sheet: every look in every control state, off and on, at 96
// DPI, and two looks at 144 DPI, painted by the switches' own windows.
#pragma once

class TCanvas;

constexpr int kSwitchSheetWidth = 190 + 5 * (160 * 144 / 96) + 10;
constexpr int kSwitchSheetHeight = 34 + 20 + 14 * 44 + 30 + 20 + 4 * (44 * 144 / 96) + 10;

void PaintSwitchSheet(TCanvas* C);
