// TPicture: one owned graphic of any class, and word of its changes.
#include "framework/Graphics.h"

TPicture::~TPicture() { FreeAndNil(FGraphic); }

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic) return;
  TGraphic* copy = nullptr;
  if (Value != nullptr) {
    copy = Value->NewGraphic();
    try {
      copy->Assign(Value);
    } catch (...) {
      copy->Free();
      throw;
    }
  }
  Replace(copy);
}

TBitmap* TPicture::Bitmap() {
  if (auto* bitmap = dynamic_cast<TBitmap*>(FGraphic)) return bitmap;
  auto* bitmap = new TBitmap;
  Replace(bitmap);
  return bitmap;
}

void TPicture::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    if (picture != this) SetGraphic(picture->FGraphic);
  } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(graphic);
  } else {
    inherited::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (FGraphic != nullptr && dynamic_cast<TGraphic*>(Dest) != nullptr)
    Dest->Assign(FGraphic);
  else
    inherited::AssignTo(Dest);
}

void TPicture::Replace(TGraphic* Owned) {
  TGraphic* old = FGraphic;
  FGraphic = Owned;
  if (FGraphic != nullptr) FGraphic->OnChange = [this](TObject*) { Changed(); };
  if (old != nullptr) old->Free();
  Changed();
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}
