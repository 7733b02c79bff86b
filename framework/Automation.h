// The seam through which an accessibility layer answers for the framework's windows. The
// framework itself knows nothing of screen readers: it only asks these hooks, when one is
// installed, on WM_GETOBJECT and when a windowed control takes the keyboard focus.
#pragma once

class TWinControl;
struct TMessage;

namespace Automation {

struct THooks {
  // Answers WM_GETOBJECT for Control; true when it set Message.Result.
  bool (*GetObject)(TWinControl* Control, TMessage& Message) = nullptr;
  // Control has just taken the keyboard focus.
  void (*FocusChanged)(TWinControl* Control) = nullptr;
};

// The hooks in force (none until a layer installs some).
const THooks& Hooks();
// Installs Value and returns the hooks it replaces, so that a caller can put them back.
THooks SetHooks(const THooks& Value);

}  // namespace Automation
