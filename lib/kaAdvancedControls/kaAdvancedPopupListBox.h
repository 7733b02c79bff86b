// The drop-down list of the advanced combo box: the list box as a top-level popup window that
// never takes the focus, shown at a screen point and hidden again by its combo box.
#pragma once

#include <functional>

#include "lib/kaAdvancedControls/kaAdvancedListBox.h"

class TkaAdvancedPopupListBox : public TkaAdvancedListBox {
  KA_CLASS(TkaAdvancedPopupListBox, TkaAdvancedListBox)
 public:
  explicit TkaAdvancedPopupListBox(TComponent* AOwner);

  // Shows the list with its top-left corner at Origin (screen coordinates), at its size,
  // without activating it; the selected row is scrolled into view from the top.
  void Show(TPoint Origin);
  void Hide();

  void Dispatch(TMessage& Message) override;

  // Rows from Index on moved by Delta (-1 removed there, 1 inserted there): the combo box keeps
  // the selection it would go back to on the same row.
  std::function<void(int Index, int Delta)> OnRowsShifted;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // A drop-down always has the plain two-line frame.
  bool UseThemedBorder() override { return false; }
  void RowsShifted(int Index, int Delta) override {
    if (OnRowsShifted) OnRowsShifted(Index, Delta);
  }
};
