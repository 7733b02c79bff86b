// Where the pointer is, for the framework code that follows it (which control it is over, whose
// hint to show and where). Tests put a position of their own here: moving the real pointer
// under Wine and X is asynchronous, and a late motion event can put it back where it was.
#pragma once

#include <functional>

#include "framework/Types.h"

// The pointer in screen coordinates: the override's answer while one is set, else the system's.
TPoint PointerPos();
// Replaces the system's pointer position (nullptr: the system's again).
void SetPointerPosOverride(std::function<TPoint()> Source);
