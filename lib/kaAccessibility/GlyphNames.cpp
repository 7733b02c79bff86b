// Names a screen reader speaks for a captionless glyph button: what pressing it does, in the
// words of the command, not the picture ("Close", not "Cross").
#include <iterator>

#include "lib/kaAccessibility/AutomationAdapter.h"
#include "lib/kaGPUtils/GPGlyphs.h"

namespace kaAccessibility {
namespace {

// In the order of TkaGPButtonGlyphKind.
const wchar_t* const kGlyphNames[] = {
    L"Previous", L"Next", L"Left", L"Right", L"Up", L"Down", L"More", L"Details",
    L"More options", L"Search",
    L"Add", L"Remove", L"Options", L"OK", L"Cancel", L"Clear", L"Refresh", L"Edit", L"First", L"Last",
    L"Play", L"Pause", L"Stop", L"Rewind", L"Forward", L"Skip to start", L"Skip to end", L"Exit",
    L"Home", L"Shut down",
    L"Check options", L"Information", L"Download", L"Upload", L"Minimize", L"Maximize", L"Restore",
    L"Close", L"New file", L"Open file",
    L"Save", L"Save as", L"Folder", L"Print", L"Microphone", L"Mute microphone", L"Record",
    L"Recording", L"Photo", L"Video",
    L"Lock", L"Unlock", L"User", L"Delete", L"Inbox", L"Outbox", L"Pin", L"Volume", L"Mute",
    L"Volume up",
    L"Volume down", L"Zoom in", L"Zoom out", L"View", L"Flag", L"Filter", L"Objects", L"Reply",
    L"Undo", L"Redo",
    L"Clock", L"Calendar", L"Chart", L"Font", L"Font color", L"Increase font size",
    L"Decrease font size", L"Fill", L"Fill color", L"Message",
    L"Message read", L"Send", L"Align left", L"Align right", L"Center", L"Justify", L"Copy",
    L"Paste", L"Cut", L"Help",
    L"Replace", L"Share", L"Call", L"End call", L"Map", L"Map marker", L"Settings", L"Favorite",
    L"Globe", L"Navigate left",
    L"Navigate right", L"Navigate up", L"Navigate down", L"Navigate up left", L"Navigate up right",
    L"Navigate down left", L"Navigate down right", L"Full size", L"Compact size", L"Shopping basket",
    L"Add to basket", L"Remove from basket", L"Color", L"Maximize", L"Restore", L"Maximize",
    L"Restore",
};
static_assert(std::size(kGlyphNames) == kagpbgkRestoreRect + 1, "one name per glyph kind");

}  // namespace

String GlyphKindName(int Kind) {
  if (Kind < 0 || Kind >= static_cast<int>(std::size(kGlyphNames))) return String();
  return kGlyphNames[Kind];
}

}  // namespace kaAccessibility
