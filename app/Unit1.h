// The demo's main window.
#pragma once

#include "framework/Forms.h"

class TForm1 : public TForm {
  KA_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* AOwner) : TForm(AOwner) {}
};

extern TForm1* Form1;
