// The small pixel glyphs of the classic controls, built from horizontal, vertical and
// 45-degree GDI lines: drop-down and direction arrows, chevrons, the combo-box arrow, and the
// check and radio marks of menus. Each glyph is centred in Rect (cx = Left + width div 2,
// cy = Top + height div 2) and grows with Scale (below 1 counts as 1) by repeating strokes a
// pixel further on, never by widening the pen.
//
// Two kinds of pen: routines marked "canvas pen" set Color on the canvas's own pen (its
// width and style stay, and the colour stays set afterwards); those marked "DC pen" draw
// with the stock DC pen and leave the canvas's pen and the DC as they found them.
//
// Routines marked "whole scales" first round a scale whose rounding would carry it to the
// next integer (1.5 and 1.75 draw as 2; 1.25, 2.25 and 2.5 stay as they are).
#pragma once

#include "framework/Types.h"

class TCanvas;
class TControl;

// Direction codes of the triangle routines; any other value draws nothing.
constexpr int kaArrowLeft = 1;
constexpr int kaArrowRight = 2;
constexpr int kaArrowUp = 3;
constexpr int kaArrowDown = 4;
// Direction codes of DrawChevronArrow; any other value draws nothing.
constexpr int kaChevronRight = 1;
constexpr int kaChevronLeft = 2;

// Filled triangle pointing Direction (1 left, 2 right, 3 up, 4 down). Canvas pen, whole
// scales. At scale 1 pointing down: rows of 7, 5, 3 and 1 pixels from cy - 1 to cy + 2.
void DrawTriangleArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale, int Direction);
// The left (1) and right (2) triangles of DrawTriangleArrow. DC pen, whole scales.
void DrawMenuArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale, int Direction);
// Chevron pointing right (1) or left (2). DC pen, whole scales.
void DrawChevronArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale, int Direction);
// Chevron pointing down, thickening downwards. Canvas pen.
void DrawChevronDown(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale);
// As DrawChevronDown, with the DC pen.
void DrawNCChevronDown(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale);
// Small filled triangle pointing down. DC pen.
void DrawNCTriangleDown(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale);
// The drop-down arrow of a combo box, in the look of the platform and Control's style: a
// chevron on Windows 10 and later (or under a custom style named like the system's, or with
// modern arrows), a wider chevron on Windows 8 and 8.1, the small triangle otherwise.
// Canvas pen.
void DrawComboArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, const TControl* Control, double Scale);
// Check mark, thickening upwards. DC pen.
void DrawCheckMark(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale);
// Filled round dot: a square of 2h x 2h pixels from (cx - h, cy - h) with corners cut at
// 45 degrees. DC pen.
void DrawRadioMark(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale);

// A custom style draws Control (the application when nullptr) and its name contains
// "windows" in any letter case.
bool IsWindowsStyleName(const TControl* Control);

// Whether the application asked for modern (chevron) arrows. Process-wide, so drawing code
// without access to the component that holds the setting can read it; that component
// writes it.
bool UseModernArrows();
void SetUseModernArrows(bool Value);
