// The vector drawing unit: GDI+ primitives, the vector glyph catalogue and GDI+ image
// drawing by margins.
#pragma once

#include "lib/kaGPUtils/GPBitmapOptions.h"
#include "lib/kaGPUtils/GPGlyphs.h"
#include "lib/kaGPUtils/GPInterface.h"
#include "lib/kaGPUtils/GPPrimitives.h"
