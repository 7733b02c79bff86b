// The faces of standard button-like elements in a control state: push, tool, header, tab,
// segmented, spin and drop-down buttons. With the control's style services enabled they are
// the style's elements (uxtheme for the system style); without, the classic frame-control
// and 3D-line drawing over system colours, so each painter always draws something.
//
// Every painter takes the canvas, the rectangle, the state and the control whose style
// answers (nullptr: the application's). The hot look also serves the focused state unless a
// painter says otherwise.
#pragma once

#include "framework/Types.h"
#include "lib/kaDrawUtils/Colors.h"

class TCanvas;
class TControl;

// Which piece of a segmented group a button is; the inner edges get separators.
enum TkaSegmentPart { kaspLeft = 1, kaspMiddle = 2, kaspRight = 3 };

// The push button; focused is the defaulted look. DrawFocus adds a focus rectangle 3
// pixels inside (the dotted one at Scale with visual styles, the platform's without; none
// under a custom style).
void DrawPushButtonElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                           double Scale, bool DrawFocus);
// The tool button. Classic: a raised 3D line when hot or focused, a sunken one when pressed,
// nothing otherwise.
void DrawToolButtonElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control);
// A header section (the fixed cell of a grid); disabled draws as normal. Classic: button face
// and a 3D line, sunken when pressed.
void DrawHeaderSectionElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control);
// A tab item. Pressed counts as focused (the selected tab), which reaches 2 pixels further
// down; disabled is the normal tab at alpha 150. Classic: an unselected tab starts 2 pixels
// lower.
void DrawTabElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control);
// A push button of a segmented group: the element is drawn 20 pixels wider beyond each inner
// edge (cut at Rect), so only the outer edges show rounded, then a separator at each inner
// edge. Focused draws as hot; DrawFocus as for the push button.
void DrawSegmentedElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                          TkaSegmentPart Part, double Scale, bool DrawFocus);
// The same with tool-button elements.
void DrawSegmentedToolElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                              TkaSegmentPart Part);
// An up-down arrow button pointing Direction (kaArrowLeft .. kaArrowDown of LineGlyphs.h);
// a custom style gives its scroll-bar arrow buttons. Other directions draw nothing.
void DrawSpinButtonElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                           int Direction);
// The drop-down button of a combo box. Classic: a push button with a down triangle.
void DrawDropDownButtonElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control);

// A 2-pixel separator blended at alpha 125, Length long from From: vertical covers columns
// From.X (shadow) and From.X + 1 (highlight), horizontal rows From.Y (shadow) and From.Y + 1
// (highlight). The colours follow a custom style of Control.
void DrawElementSeparator(TCanvas* Canvas, TPoint From, int Length, bool Horizontal, const TControl* Control);
