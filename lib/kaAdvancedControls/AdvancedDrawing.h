// Canvas helpers the list box and the combo box draw their rows and faces with.
#pragma once

#include <algorithm>

#include "framework/Graphics.h"

namespace kaadvanced {

// Fills R with Color and leaves the brush clear, so text drawn next has no background.
inline void FillWith(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
  C->Brush()->SetStyle(bsClear);
}

inline void DrawTextIn(TCanvas* C, const String& Text, TRect R, UINT Flags) {
  ::DrawTextW(C->Handle(), Text.c_str(), static_cast<int>(Text.size()), R.AsRECT(), Flags);
}

// The size Text takes drawn with Flags, its lines wrapped at Width where Flags wrap.
inline TSize MeasureText(TCanvas* C, const String& Text, int Width, UINT Flags) {
  TRect r(0, 0, std::max(0, Width), 0);
  ::DrawTextW(C->Handle(), Text.c_str(), static_cast<int>(Text.size()), r.AsRECT(), Flags | DT_CALCRECT);
  return TSize{r.Width(), r.Height()};
}

}  // namespace kaadvanced
