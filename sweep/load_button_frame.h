#pragma once

// LOAD with its load indicator behind it: the orange indicator label is a little larger than the button on
// every side, so that while a change waits to be loaded it blinks as a frame around LOAD.

#include "platform/ui/controls.h"

#include <QSize>

class QWidget;

namespace sweep {

// Puts both into `holder` (of `size` pixels): the indicator fills it, the button sits inside it.
void placeLoadButton(QWidget* holder, QSize size, ui::Label& indicator, ui::CommandButton& load);

} // namespace sweep
