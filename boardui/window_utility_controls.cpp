#include "boardui/window_utility.h"

#include "platform/ui/controls_label.h"
#include "platform/ui/controls_textbox.h"

void SplitValueUnit(const QString& text, ui::TextBox& valueBox, ui::Label& unitLabel)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        // No unit: the whole text is the value (a number must not end up in the unit's place).
        valueBox.setText(text);
        unitLabel.setCaption(QString());
        return;
    }
    valueBox.setText(text.left(blank + 1));
    unitLabel.setCaption(text.mid(blank + 1));
}
