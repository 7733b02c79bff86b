#include "lib/kaAdvancedControls/kaScrollBar.h"

#include "framework/TypeInfo.h"

TkaScrollBar::TkaScrollBar(TComponent* AOwner) : TScrollBar(AOwner) {
  FControlStyle.Exclude(csFramed);
  SetTabStop(false);
  SetCtl3D(false);
}

void TkaScrollBar::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GESTURENOTIFY)
    WMGestureNotify(Message);
  else
    inherited::Dispatch(Message);
}

void TkaScrollBar::WMGestureNotify(TMessage& Message) {
  // One entry with gesture id 0 stands for every gesture: all of them blocked.
  GESTURECONFIG config{0, 0, GC_ALLGESTURES};
  if (HandleAllocated()) ::SetGestureConfig(WindowHandle(), 0, 1, &config, sizeof(config));
  Message.Result = 1;
}

KA_REGISTER_CLASS(TkaScrollBar);
