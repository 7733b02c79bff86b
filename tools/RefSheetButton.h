// The push button's reference sheet: its 24 looks in the five states, with visual styles
// and classic, and a few arrangements (split zones, title, image margin, glow, 144 DPI).
#pragma once

class TCanvas;

constexpr int kButtonSheetWidth = 1580;
constexpr int kButtonSheetHeight = 1620;

void PaintButtonSheet(TCanvas* C);
