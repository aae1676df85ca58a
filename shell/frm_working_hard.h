#pragma once

// frmWorkingHard ("Please Wait..."): the small busy window the main window shows while a RAM or FIFO
// transfer runs. It stays above the main window, which owns it.

#include "boardui/form_names.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>

class frmWorkingHard : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmWorkingHard;

    frmWorkingHard();

    ui::Label lblMessage{this, "lblMessage"};

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
};
