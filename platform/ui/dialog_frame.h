#pragma once

// The frame a window manager draws around a modal dialog. The window's flags already ask for a title and a
// close box only, and say so in the Motif hints and the dialog window type; openbox still draws minimise
// and maximise buttons on every dialog (it lets neither the hints nor the dialog type take buttons away)
// and draws only the close box for a helper window of the menu kind. Under openbox the dialog is therefore
// announced as such a helper window; under any other window manager, or without X11, nothing changes.

class QWidget;

namespace ui::detail {

// Call when the window's flags are final (setting flags announces the window type anew) and before it is
// shown: openbox reads the type only when a window first appears.
void offerOnlyCloseButton(QWidget& window);

// Whether the window manager running now is openbox (false without X11 or without a window manager).
bool underOpenbox();

} // namespace ui::detail
