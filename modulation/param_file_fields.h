#pragma once

// A parameter file's lines to and from the window's fields: each line's control, named in the generator's
// table, gives its value as the line's kind writes it and takes back what a read found.

#include "modulation/param_files.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace ui {
class Control;
class Form;
} // namespace ui

namespace mvg {

// The value a control gives its line, as written (empty for a control of no kind a line has).
QString paramValueOf(const ui::Control* control, const ParamLine& line);

// The file's values from the form's controls, in the generator's line order.
QStringList paramValuesOf(const ui::Form& form, Generator generator);

// Puts values read back (parseParamFile) into the form's controls, from the first line on.
void showParamValues(ui::Form& form, Generator generator, const std::vector<ParamValue>& values);

} // namespace mvg
