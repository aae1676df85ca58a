#pragma once

// The edit dialogs a value box opens by name. A dialog that edits one box's word (its Tag) and value (its
// text) implements one of these interfaces and is made known to the forms registry under its window name;
// callers reach it only through that name, so a dialog that does not exist (yet) is simply not opened.
//
// The dialog's window is loaded before ShowEditDialog runs: a dialog fills its views from the arguments
// there, not in Form_Load.

#include "platform/ui/controls_textbox.h"

#include <QString>

namespace profiles {

// frmEditOSF (amplitude scale factor) and frmEditOSF_QM (quadrature-modulation output scale factor): start
// from the word in the box's Tag; OK writes the new word to the Tag and the value to the text; Cancel
// changes neither.
class BoxEditDialog {
public:
    virtual ~BoxEditDialog() = default;
    virtual void ShowEditDialog(ui::TextBox& box) = 0;
};

// frmEditRAMAddrRR (RAM address ramp rate): also takes the caption and the system clock box's text, kept
// as it is for the ramp-rate conversions.
class RampRateEditDialog {
public:
    virtual ~RampRateEditDialog() = default;
    virtual void ShowEditDialog(ui::TextBox& box, const QString& caption, const QString& clock) = 0;
};

// Opens the named dialog on the box; false (and nothing happens) when no window of that name exists or it
// is not such a dialog.
bool showBoxEditDialog(const QString& formName, ui::TextBox& box);
bool showRampRateEditDialog(const QString& formName, ui::TextBox& box, const QString& caption,
                            const QString& clock);

} // namespace profiles
