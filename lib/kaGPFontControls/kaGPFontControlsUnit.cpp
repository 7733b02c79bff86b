// The process-wide icon font. This file is linked into every program that uses the unit
// (with the font resource), so the font is loaded at start-up whether or not anything draws
// with it.
#include "lib/kaGPFontControls/kaGPFontControls.h"

namespace {

struct TFreeObject {
  void operator()(TObject* Object) const { Object->Free(); }
};

// Declared first, so it ends after the instance: the report of objects alive at exit waits.
const TUnitLifetime gUnitLifetime;

// Constructing the instance starts GDI+ first, so GDI+ is shut down only after the
// instance (and its font collection) is gone.
const std::unique_ptr<TkaGPFontAwesome, TFreeObject> gFontAwesome(Construct<TkaGPFontAwesome>());

}  // namespace

TkaGPFontAwesome* GPFontAwesome() { return gFontAwesome.get(); }
