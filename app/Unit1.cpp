#include "app/Unit1.h"

#include "framework/TypeInfo.h"

TForm1* Form1 = nullptr;

KA_REGISTER_CLASS(TForm1, [](auto&) {});
