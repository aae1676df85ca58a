#pragma once

// What the Control window's panels share: typed numbers, greying by text colour, the beep of a spin button
// at its end, and the key filter of the boxes that take whole numbers.

#include <QString>
#include <initializer_list>
#include <optional>

namespace ui {
class Control;
}

namespace controlkit {

// A box's text as a number in the user's locale, or nothing when it is not one.
std::optional<double> numberOf(const QString& text);

// Greys controls (and their labels) that do not apply, or shows them as applying; every control stays
// usable.
void paint(std::initializer_list<ui::Control*> controls, bool applies,
           std::initializer_list<ui::Control*> labels = {});

void beep();

// Digits and control keys pass; every other key is dropped.
void digitsOnly(int& keyAscii);

} // namespace controlkit
