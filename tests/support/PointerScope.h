// A pointer position the tests set, for the framework code that follows the pointer (which
// control it is over, whose hint to show and where): moving the real pointer under Wine and X
// is asynchronous, and a late motion event can put it back where it was.
#pragma once

#include "framework/PointerPos.h"

namespace testsupport {

// Where the framework believes the pointer is while a TPointerScope lives (screen coordinates).
inline TPoint gPointer;

// The framework follows gPointer for one scope.
struct TPointerScope {
  TPointerScope() {
    gPointer = TPoint(0, 0);
    SetPointerPosOverride([] { return gPointer; });
  }
  ~TPointerScope() { SetPointerPosOverride(nullptr); }
  TPointerScope(const TPointerScope&) = delete;
  TPointerScope& operator=(const TPointerScope&) = delete;
};

}  // namespace testsupport
