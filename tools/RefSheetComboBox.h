// The advanced combo box's reference sheet: the eleven looks in their states, and open lists
// (the demo's backdrop chooser, checked-list mode, 144 DPI).
#pragma once

class TCanvas;

constexpr int kComboBoxSheetWidth = 1280;
constexpr int kComboBoxSheetHeight = 880;

void PaintComboBoxSheet(TCanvas* C);
