// The advanced list box's reference sheet: every part a row can show, both header looks, the
// five selection looks focused and not, the group styles, the classic look and 144 DPI.
#pragma once

class TCanvas;

constexpr int kListBoxSheetWidth = 1280;
constexpr int kListBoxSheetHeight = 880;

void PaintListBoxSheet(TCanvas* C);
