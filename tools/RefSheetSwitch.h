// The toggle switch's reference sheet: every look in every control state, off and on, at 96
// DPI, and two looks at 144 DPI, painted by the switches' own windows.
#pragma once

#include "framework/Types.h"

// Writes toggleswitch.png into Folder (a Windows path ending in a separator).
void RenderSwitchSheet(const String& Folder);
