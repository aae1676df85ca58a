#pragma once

// Window tweaks and the value-and-unit split of the number formatting (board/utility.h) into two controls.

#include <QString>

class QWidget;

namespace ui {
class Form;
class TextBox;
class Label;
} // namespace ui

// Puts a window into (or out of) the always-on-top band, keeping its place and size.
void SetTopMost(ui::Form& form, bool topMost);
void SetTopMost(QWidget* window, bool topMost);
// Replaces the window's owner and returns the previous one (nullptr when it had none).
ui::Form* SetOwnerWindow(ui::Form& form, ui::Form* owner);
// Removes the window's Close command (the title-bar close button).
void DisableCloseButton(ui::Form& form);
void DisableCloseButton(QWidget* window);
// The widget set needs no registration here; kept so that start-up reads as it always did.
void InitCommonControlsVB();
// Splits "4.700 m" at its first blank: the value box gets the text up to and including the blank, the
// unit label the rest. A text without a blank is all value and leaves the label empty.
void SplitValueUnit(const QString& text, ui::TextBox& valueBox, ui::Label& unitLabel);
