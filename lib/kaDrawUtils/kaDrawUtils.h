// The drawing utilities: the Windows version and the platform functions bound by name, and
// the colours every control of the library paints with.
#pragma once

#include "lib/kaDrawUtils/BitmapOptions.h"
#include "lib/kaDrawUtils/CheckBoxElement.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaDrawUtils/ElementPainters.h"
#include "lib/kaDrawUtils/GlowEffect.h"
#include "lib/kaDrawUtils/LineGlyphs.h"
#include "lib/kaDrawUtils/TextDrawing.h"
