// The advanced list controls: the list box of rich rows, its drop-down variant and the combo
// box that drops it down.
#pragma once

#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaAdvancedControls/kaAdvancedCustomControl.h"
#include "lib/kaAdvancedControls/kaAdvancedListBox.h"
#include "lib/kaAdvancedControls/kaAdvancedListItems.h"
#include "lib/kaAdvancedControls/kaAdvancedPopupListBox.h"
#include "lib/kaAdvancedControls/kaScrollBar.h"
