#include "debug/rev3_window.h"
#include "board/chip_registers.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/sound.h"
#include "shell/frm_graphics.h"

#include "platform/ui/forms.h"

#include <QHBoxLayout>
#include <QSizePolicy>
#include <QWidget>

namespace rev3 {

Window::Window(const QString& name, const QString& caption, const QString& oldSiliconCaption)
    : regwin::RegisterWindow(name), caption_(caption), oldSiliconCaption_(oldSiliconCaption)
{
}

void Window::Form_Activate()
{
    showSiliconState(*this, caption_, oldSiliconCaption_);
}

void Window::loadOwnRegister(int16_t addr, ui::CommandButton& button)
{
    loadWindow(button, {addr}, loadOptions());
}

bool revisionOneOrTwo()
{
    return goEvalBd && (goEvalBd->SiliconRev() == 1 || goEvalBd->SiliconRev() == 2);
}

void showSiliconState(ui::Form& form, const QString& caption, const QString& oldSiliconCaption)
{
    const bool oldSilicon = revisionOneOrTwo();
    regwin::enableControls(form, !oldSilicon);
    form.setCaption(oldSilicon ? oldSiliconCaption : caption);
}

void refreshWhileSXI(ui::Form& form, const regwin::FieldTable& fields)
{
    if (!goEvalBd)
        return;
    if (!revisionOneOrTwo())
        fields.refresh();
    const bool sxi = kSXIEnable.get() == 1;
    regwin::enableControls(form, !revisionOneOrTwo() && sxi);
}

void readOrBeep(int16_t addr)
{
    if (!gbBoardConnected)
        PlaySoundAsync(QStringLiteral("SystemQuestion"));
    else
        regwin::readRegister(addr);
}

regwin::LoadOptions loadOptions()
{
    regwin::LoadOptions options;
    options.sendWhen = regwin::LoadOptions::SendWhen::BoardConnected;
    options.strobeEach = true;
    return options;
}

void loadRegister(int16_t addr, ui::CommandButton& button, regwin::LoadIndicator& indicator)
{
    regwin::runLoad(button, indicator, {addr}, loadOptions());
}

void showGreenLamp(ui::Image& lamp, uint64_t lit)
{
    lamp.setPicture(ui::form<frmGraphics>().imgGreenLed(lit != 0 ? 1 : 0).Picture());
}

QHBoxLayout* readLoadRow(ui::CommandButton& read, ui::Label& flash, ui::CommandButton& load)
{
    QWidget* indicator = flash.widget();
    indicator->setFixedSize(12, 12);
    QSizePolicy keepPlace = indicator->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    indicator->setSizePolicy(keepPlace);
    auto* row = new QHBoxLayout;
    row->addWidget(read.widget());
    row->addStretch(1);
    row->addWidget(indicator);
    row->addWidget(load.widget());
    return row;
}

} // namespace rev3
