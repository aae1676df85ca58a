#include "debug/frm_gpio.h"

#include "boardui/form_names.h"
#include "debug/rev3_window.h"

#include "board/evalbd.h"
#include "shell/mdi_main.h"

#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr uint32_t kIndicatorColour = 0x0080FF;

} // namespace

QString frmGPIO::lineName(int line)
{
    return QStringLiteral("D%1").arg(line < 4 ? line : line + 2);
}

frmGPIO::frmGPIO() : Window(FormName, QStringLiteral("GPIO"), QStringLiteral("GPIO (Silicon Rev 3)"))
{
    setMdiChild(true);
    setCaption(QStringLiteral("GPIO"));
    fraConfig.setCaption(QStringLiteral("Configure GPIO Lines"));
    lblConfigPins.setCaption(QStringLiteral("Data Pins"));
    lblConfigDirection.setCaption(QStringLiteral("  Input \\ Output"));
    fraData.setCaption(QStringLiteral("Read\\Write Data"));
    lblDataLine.setCaption(QStringLiteral("Data Line"));
    lblDataHeading.setCaption(QStringLiteral("Data"));
    for (int i = 0; i < kLines; ++i) {
        lblGPIOConfig(i).setCaption(lineName(i));
        lblGPIOData(i).setCaption(lineName(i));
        cmdInConfig(i).setCaption(QStringLiteral("Input"));
        cmdOutConfig(i).setCaption(QStringLiteral("Output"));
        cmdGPIOData(i).setBackColor(ui::colors::vbWhite);
        cmdGPIOData(i).setCaption(QStringLiteral("0"));
        fields_.custom(lblGPIOConfig(i), regBit(kGPIOConfig, i),
                       [this, i](uint64_t output) {
                           lblGPIOConfig(i).setBackColor(output ? kOutputColour : kInputColour);
                       },
                       {});
        fields_.custom(cmdGPIOData(i), regBit(kGPIORead, i),
                       [this, i](uint64_t bit) {
                           cmdGPIOData(i).setCaption(bit ? QStringLiteral("1") : QStringLiteral("0"));
                       },
                       {});
    }
    cmdLoadConfig.setCaption(QStringLiteral("LOAD"));
    cmdReadConfig.setCaption(QStringLiteral("READ"));
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    cmdRead.setCaption(QStringLiteral("READ"));
    for (ui::Label* flash : {&lblLoadConfigFlash, &lblLoadFlash}) {
        flash->setBackColor(kIndicatorColour);
        flash->setVisible(false);
    }
    // Data and configuration load apart, each with its own indicator; the data one is the window's.
    indicateLoadOn(lblLoadFlash, regwin::LoadIndicator::registers({kGPIORead}));

    cmdInConfig.bind(&ui::CommandButton::Click, this, &frmGPIO::cmdInConfig_Click);
    cmdOutConfig.bind(&ui::CommandButton::Click, this, &frmGPIO::cmdOutConfig_Click);
    cmdGPIOData.bind(&ui::CommandButton::Click, this, &frmGPIO::cmdGPIOData_Click);
    ui::bind(cmdLoad.Click, this, &frmGPIO::cmdLoad_Click);
    ui::bind(cmdLoadConfig.Click, this, &frmGPIO::cmdLoadConfig_Click);
    ui::bind(cmdRead.Click, this, &frmGPIO::cmdRead_Click);
    ui::bind(cmdReadConfig.Click, this, &frmGPIO::cmdReadConfig_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmGPIO::tmrLoadFlash_Timer);
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
}

void frmGPIO::buildUi(QWidget* window)
{
    auto* config = new QGridLayout(fraConfig.container());
    config->addWidget(lblConfigPins.widget(), 0, 0);
    config->addWidget(lblConfigDirection.widget(), 0, 1, 1, 2);
    auto* data = new QGridLayout(fraData.container());
    data->addWidget(lblDataLine.widget(), 0, 0);
    data->addWidget(lblDataHeading.widget(), 0, 1);
    for (int i = 0; i < kLines; ++i) {
        config->addWidget(lblGPIOConfig(i).widget(), i + 1, 0);
        config->addWidget(cmdInConfig(i).widget(), i + 1, 1);
        config->addWidget(cmdOutConfig(i).widget(), i + 1, 2);
        data->addWidget(lblGPIOData(i).widget(), i + 1, 0);
        data->addWidget(cmdGPIOData(i).widget(), i + 1, 1);
        for (ui::Control* control :
             std::initializer_list<ui::Control*>{&cmdInConfig(i), &cmdOutConfig(i), &cmdGPIOData(i)})
            control->widget()->setFixedHeight(22);
    }
    config->addLayout(rev3::readLoadRow(cmdReadConfig, lblLoadConfigFlash, cmdLoadConfig), kLines + 1, 0, 1,
                      3);
    data->addLayout(rev3::readLoadRow(cmdRead, lblLoadFlash, cmdLoad), kLines + 1, 0, 1, 2);

    auto* row = new QHBoxLayout(window);
    row->addWidget(fraConfig.widget());
    row->addWidget(fraData.widget());
}

void frmGPIO::Form_Load()
{
    for (int i = 0; i < kLines; ++i) {
        const QString name = lblGPIOConfig(i).Caption();
        cmdInConfig(i).setBackColor(kInputColour);
        cmdInConfig(i).setToolTipText(QStringLiteral("Configure pin ") + name +
                                      QStringLiteral(" as an input"));
        cmdOutConfig(i).setBackColor(kOutputColour);
        cmdOutConfig(i).setToolTipText(QStringLiteral("Configure pin ") + name +
                                       QStringLiteral(" as an Output"));
    }
    RefreshFormVals();
}

void frmGPIO::RefreshFormVals()
{
    rev3::refreshWhileSXI(*this, fields_);
}

void frmGPIO::cmdInConfig_Click(int index)
{
    lblGPIOConfig(index).setBackColor(kInputColour);
    regBit(kGPIOConfig, index).set(0);
}

void frmGPIO::cmdOutConfig_Click(int index)
{
    lblGPIOConfig(index).setBackColor(kOutputColour);
    regBit(kGPIOConfig, index).set(1);
}

void frmGPIO::cmdGPIOData_Click(int index)
{
    // "0" becomes "1"; anything else, "1" included, becomes "0".
    const bool high = cmdGPIOData(index).Caption() == QStringLiteral("0");
    cmdGPIOData(index).setCaption(high ? QStringLiteral("1") : QStringLiteral("0"));
    regBit(kGPIORead, index).set(high ? 1 : 0);
}

void frmGPIO::read(int16_t addr)
{
    rev3::readOrBeep(addr);
    if (goEvalBd && goEvalBd->SiliconRev() == 3)
        RefreshFormVals();
}

void frmGPIO::tmrLoadFlash_Timer()
{
    configIndicator_.tick();
    tickLoadIndicator();
}
