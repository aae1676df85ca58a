#pragma once

// Typing into a window's controls as a user does: keys through the controls' key filters, a click into a
// box, a retyped box, a paste that bypasses the filters.

#include "platform/ui/controls_textbox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace regtest {

// Types `keys` into the control one key at a time through its key filters ("\r" Enter, "\b" Backspace).
inline void type(ui::Control& box, const QString& keys)
{
    QWidget* target = box.widget();
    for (QChar c : keys) {
        int key = c.toUpper().unicode();
        if (c == QLatin1Char('\r'))
            key = Qt::Key_Return;
        else if (c == QLatin1Char('\b'))
            key = Qt::Key_Backspace;
        const QString text = c == QLatin1Char('\b') ? QString() : QString(c);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }
}

// Gives the box the focus as a click does. A box whose entry sends the focus on when it is left may need a
// second click, as for the user.
inline void clickInto(ui::TextBox& box)
{
    box.SetFocus();
    if (!box.hasFocus())
        box.SetFocus();
}

// Clicks into the box, selects the whole text and types `keys`.
inline void retype(ui::TextBox& box, const QString& keys)
{
    clickInto(box);
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
    type(box, keys);
}

// Replaces the whole text as a paste does (past the key filters), as an edit of the box.
inline void paste(ui::TextBox& box, const QString& text)
{
    clickInto(box);
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
    box.setSelText(text);
}

} // namespace regtest
