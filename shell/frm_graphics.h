#pragma once

// frmGraphics: the picture store. A window that is never shown; other windows copy lamp, logo and icon
// pictures from its image arrays:
//     lamp.setPicture(ui::form<frmGraphics>().imgGreenLed(bit).Picture());
// The pictures are drawn when the window is constructed, so they are there whether or not it is loaded.

#include "boardui/form_names.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>

class frmGraphics : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmGraphics;

    frmGraphics();

    // Show and Hide are refused: the store is never on screen.
    void Show(int modal = 0) = delete;

    ui::ControlArray<ui::Image> imgSXLogo{this, "imgSXLogo", 2};         // 0 small, 1 large logo
    ui::ControlArray<ui::Image> imgRLed{this, "imgRLed", 2};             // 0 dark, 1 lit red lamp
    ui::ControlArray<ui::Image> imgStopIcon{this, "imgStopIcon", 2};     // 0 enabled, 1 disabled
    ui::ControlArray<ui::Image> imgPlayIcon{this, "imgPlayIcon", 2};     // 0 enabled, 1 disabled
    ui::ControlArray<ui::Image> imgUSBIcon{this, "imgUSBIcon", 2};       // 0 connected, 1 not connected
    ui::ControlArray<ui::Image> imgAttenSM{this, "imgAttenSM", 1};       // attention sign
    ui::ControlArray<ui::Image> imgRedRectLED{this, "imgRedRectLED", 2}; // 0 dark, 1 lit
    ui::ControlArray<ui::Image> imgGreenLed{this, "imgGreenLed", 2};     // 0 dark, 1 lit green (12 x 12)
};
