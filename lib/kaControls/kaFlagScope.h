// A re-entrancy flag held for the length of a scope, shared by the controls and the styled
// form.
#pragma once

// Sets a flag for the length of a scope and clears it again, also when an event handler
// called in it throws.
class TkaFlagScope {
 public:
  explicit TkaFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TkaFlagScope() { FFlag = false; }
  TkaFlagScope(const TkaFlagScope&) = delete;
  TkaFlagScope& operator=(const TkaFlagScope&) = delete;

 private:
  bool& FFlag;
};
