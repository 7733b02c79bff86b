// The seam to a form designer. Components being designed (csDesigning) change the form on
// their own when the user works them directly (a tab clicked to bring its page forward, a
// page removed with its tab); the designer hosting them learns of it here, to mark the form
// as changed. Without a host installed, nothing happens.
#pragma once

#include <functional>

class TComponent;

namespace Designer {

// Called with the root of the component's ownership tree (the designed form, usually).
using TModifiedHook = std::function<void(TComponent* Root)>;

// Installs Hook and returns the one it replaces, so that a host can put it back.
TModifiedHook SetModifiedHook(TModifiedHook Hook);

// Component changed the designed form: tells the host, when Component is being designed.
void Modified(TComponent* Component);

}  // namespace Designer
