#pragma once

class QString;
class QWidget;

// Internal to the window layer: the top-level window of a form shown modally. It is an application-modal
// dialog with a title, the system menu and (when the form offers it) the close box, no minimise or maximise
// buttons, and a fixed border: it keeps the size it opens with, wide enough for its caption.
namespace ui::detail {

// Makes the (hidden or shown) window a modal dialog; it is hidden, as modality only changes on a hidden
// window.
void becomeModalDialog(QWidget& window, bool closeButton);

// Fixes the dialog's size just before it is shown; the first time (`firstShow`) it also takes its
// content's size, unless the form sized it itself, and opens centred over the window it belongs to. A
// window without an owner belongs to the window it is shown over (for the window manager too).
void settleModalDialog(QWidget& window, const QString& caption, bool firstShow);

// After the modal Show, a hidden window is a plain window again that may take any size.
void leaveModalDialog(QWidget& window);

} // namespace ui::detail
