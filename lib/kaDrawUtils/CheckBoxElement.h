// The box of a check box in a control state and a check state: the style's check-box
// element when the control's style services are enabled, the classic frame-control box
// otherwise. Both follow the control's scale factor.
#pragma once

#include "framework/Types.h"
#include "lib/kaDrawUtils/Colors.h"

class TCanvas;
class TControl;

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// The box's side in pixels at Scale: the style's element at that DPI, or 13 scaled when the
// style cannot tell (and always without style services, so the room a control keeps for
// the box is the room the box takes).
int CheckBoxSize(TCanvas* Canvas, const TControl* Control, double Scale);
// The box at Rect's left, centred vertically. Focused draws as normal. Classic: a grayed
// box is a checked inactive one, as is any disabled checked box.
void DrawCheckBoxElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                         double Scale, TCheckBoxState CheckState);
