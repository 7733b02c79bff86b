// The style hook of a styled form's window. The styled form registers it for every form
// class it is dropped on, so the style engine attaches it whenever a custom style draws such
// a form (the form is re-created when the hook comes or goes).
#pragma once

#include "framework/Forms.h"
#include "framework/Themes.h"

// It is handed every message of the form's window first. It handles none yet: until it
// paints the non-client area from the style, the frame stays the system's, given the
// compositor's dark caption under a dark style.
class TkaFormStyleHook : public TStyleHook {
  KA_CLASS(TkaFormStyleHook, TStyleHook)
 public:
  explicit TkaFormStyleHook(TCustomForm* AForm) : FForm(AForm) {}
  TCustomForm* Form() const { return FForm; }

 private:
  TCustomForm* FForm;
};
