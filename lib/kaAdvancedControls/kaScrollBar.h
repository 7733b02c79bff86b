// The child scroll bar of the advanced list controls: the system bar without a frame, never a
// tab stop, and deaf to touch gestures, so a finger on it drags the thumb while the list it
// belongs to does its own panning.
#pragma once

#include "framework/ScrollingControls.h"

class TkaScrollBar : public TScrollBar {
  KA_CLASS(TkaScrollBar, TScrollBar)
 public:
  explicit TkaScrollBar(TComponent* AOwner);

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  void WMGestureNotify(TMessage& Message);
};
