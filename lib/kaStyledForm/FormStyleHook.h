// The object that paints the frame of a styled form when a platform style draws the form.
// Only its registration exists so far: the styled form registers it for every form class it
// is dropped on, so that the platform style engine finds it once a style becomes active.
#pragma once

#include "framework/Forms.h"

class TkaFormStyleHook : public TObject {
  KA_CLASS(TkaFormStyleHook, TObject)
 public:
  explicit TkaFormStyleHook(TCustomForm* AForm) : FForm(AForm) {}
  TCustomForm* Form() const { return FForm; }

 private:
  TCustomForm* FForm;
};
