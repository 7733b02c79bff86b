// The glyph container button: the vector button whose icon is another control (in the demo's
// side menu an animated vector image). The button keeps the hosted control where the glyph
// would be, repaints it over every new face, and hooks its window procedure so that the mouse
// passes through it to the button: clicks, hover, enter and leave are the button's.
#pragma once

#include <memory>

#include "lib/kaGPControls/GPCustomGlyphButton.h"

class TkaGPGlyphContainerButton : public TkaGPCustomGlyphButton {
  KA_CLASS(TkaGPGlyphContainerButton, TkaGPCustomGlyphButton)
 public:
  explicit TkaGPGlyphContainerButton(TComponent* AOwner);
  ~TkaGPGlyphContainerButton() override;

  // The hosted control, not owned. The previous one gets its own window procedure back; a
  // control that contains the button (or is the button) is refused.
  TControl* GlyphContainer() const { return FGlyphContainer; }
  void SetGlyphContainer(TControl* Value);
  // The hosted control's side; 0 fits it to the icon's square. Negative sizes are refused.
  int GlyphContainerSize() const { return FGlyphContainerSize; }
  void SetGlyphContainerSize(int Value);

  // Redraws the face and every child window at once, so the hosted control paints over the
  // new face.
  void RePaintControl() override;

 protected:
  // A focus change that shows is one repaint at once, the hosted control's included (not
  // while loading).
  void ShowFocusChange(bool Gained) override;
  void DrawContent(Gdiplus::Graphics* G, TCanvas* ACanvas, const TRect& Content) override;
  bool IsGroupSibling(const TControl* Control) const override;
  void ScaleIcon(int M, int D) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TControl* FGlyphContainer = nullptr;
  int FGlyphContainerSize = 0;

 private:
  struct THook;
  struct THookState;
  // What the hook answers itself for the hosted control; false sends Message on to the
  // hosted control's previous procedure.
  bool GlyphContainerMessage(TControl* Control, TMessage& Message);
  void HookGlyphContainer();
  // Gives the hosted control its previous procedure back (Restore) or, when the control is
  // going away, only lets go of it.
  void UnhookGlyphContainer(bool Restore);

  // Shared with the hook installed in the hosted control: the hosted control's previous
  // window procedure, and the button while it is hooked.
  std::shared_ptr<THookState> FOldGlyphContainerWndProc;
};
