#include "debug/frm_adc.h"

#include "boardui/form_names.h"
#include "debug/rev3_window.h"

#include "board/evalbd.h"
#include "shell/mdi_main.h"

#include "platform/runtime/number_format.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr uint32_t kIndicatorColour = 0x0080FF;
constexpr int kInputs = 5;

// The input lists show no selection for the codes 5-7, which name no input.
int inputIndex(uint64_t code)
{
    return code < kInputs ? static_cast<int>(code) : -1;
}

} // namespace

frmADC::frmADC()
    : Window(FormName, QStringLiteral("ADC Control"), QStringLiteral("ADC Control (Silicon Rev 3)"))
{
    setMdiChild(true);
    setCaption(QStringLiteral("ADC Control"));
    fraADCControl.setCaption(QStringLiteral("ADC Control"));
    fraADCResult.setCaption(QStringLiteral("ADC Result"));
    lblInputSel.setCaption(QStringLiteral("Input Select:"));
    lblConversionMode.setCaption(QStringLiteral("Conversion Mode:"));
    lblResultSrc.setCaption(QStringLiteral("Result Source:"));
    lblConversionResult.setCaption(QStringLiteral("Conversion Result:"));
    lblConvertCmplete.setCaption(QStringLiteral("Conversion Complete"));
    for (int i = 0; i < kInputs; ++i) {
        lsbInputSel.AddItem(QStringLiteral("Ain%1").arg(i));
        lsbResultSrc.AddItem(QStringLiteral("Ain%1").arg(i));
    }
    lsbConversionMode.AddItem(QStringLiteral("Single"));
    lsbConversionMode.AddItem(QStringLiteral("Continuous"));
    chkStartSingleConvert.setCaption(QStringLiteral("Start Single Conversion"));
    chkPowerDown.setCaption(QStringLiteral("Power Down"));
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    cmdLoad.setToolTipText(QStringLiteral("Get a reading from the ADC"));
    cmdRead.setCaption(QStringLiteral("READ"));
    cmdReadResult.setCaption(QStringLiteral("Read Result"));
    cmdReadResult.setToolTipText(QStringLiteral("Reads the current ADC results register value."));
    txtConversionResultVal.setLocked(true);
    txtADCInpVal.setLocked(true);
    lblErr(0).setBackColor(ui::colors::vbRed);
    lblErr(0).setVisible(false);
    lblLoadFlash.setBackColor(kIndicatorColour);
    lblLoadFlash.setVisible(false);

    fields_.list(lsbInputSel, {kADCControl, 7, 5}).indexOf = inputIndex;
    fields_.custom(lblErr(0), {kADCControl, 7, 5},
                   [this](uint64_t code) { lblErr(0).setVisible(inputIndex(code) < 0); }, {});
    fields_.list(lsbConversionMode, regBit(kADCControl, 4));
    fields_.check(chkStartSingleConvert, regBit(kADCControl, 3));
    fields_.check(chkPowerDown, regBit(kADCControl, 0));
    // The results register is shown only; nothing here writes it.
    fields_.custom(imgConvertCmplete, regBit(kADCResults, 4),
                   [this](uint64_t lit) { rev3::showGreenLamp(imgConvertCmplete, lit); }, {});
    fields_.custom(lsbResultSrc, {kADCResults, 7, 5},
                   [this](uint64_t code) { lsbResultSrc.setListIndex(inputIndex(code)); }, {});
    fields_.custom(txtConversionResultVal, {kADCResults, 15, 8},
                   [this](uint64_t code) {
                       txtConversionResultVal.setText(
                           QString::number(code, 2).rightJustified(8, QLatin1Char('0')));
                       txtADCInpVal.setText(
                           rt::Format(static_cast<double>(code) * (1.0 / 255.0), QStringLiteral("0.0000")) +
                           QStringLiteral(" V"));
                   },
                   {});
    fields_.bindClicks();
    indicateLoadOn(lblLoadFlash, regwin::LoadIndicator::registers({kADCControl, kADCResults}));

    ui::bind(cmdLoad.Click, this, &frmADC::cmdLoad_Click);
    ui::bind(cmdRead.Click, this, &frmADC::cmdRead_Click);
    ui::bind(cmdReadResult.Click, this, &frmADC::cmdReadResult_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmADC::tmrLoadFlash_Timer);
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
}

void frmADC::buildUi(QWidget* window)
{
    lblErr(0).widget()->setFixedSize(8, 8);
    QSizePolicy keepPlace = lblErr(0).widget()->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    lblErr(0).widget()->setSizePolicy(keepPlace);
    for (ui::ListBox* list : {&lsbInputSel, &lsbConversionMode, &lsbResultSrc})
        list->widget()->setFixedHeight(list == &lsbConversionMode ? 40 : 90);

    auto* control = new QGridLayout(fraADCControl.container());
    control->addWidget(lblInputSel.widget(), 0, 0);
    control->addWidget(lblConversionMode.widget(), 0, 2);
    control->addWidget(lsbInputSel.widget(), 1, 0);
    control->addWidget(lblErr(0).widget(), 1, 1, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->addWidget(lsbConversionMode.widget());
    right->addWidget(chkStartSingleConvert.widget());
    right->addWidget(chkPowerDown.widget());
    right->addStretch(1);
    control->addLayout(right, 1, 2);
    control->addLayout(rev3::readLoadRow(cmdRead, lblLoadFlash, cmdLoad), 2, 0, 1, 3);

    auto* result = new QGridLayout(fraADCResult.container());
    result->addWidget(lblConversionResult.widget(), 0, 0);
    result->addWidget(txtConversionResultVal.widget(), 1, 0);
    result->addWidget(txtADCInpVal.widget(), 2, 0);
    result->addWidget(lblResultSrc.widget(), 0, 1);
    result->addWidget(lsbResultSrc.widget(), 1, 1, 3, 1);
    auto* lamp = new QHBoxLayout;
    lamp->addWidget(imgConvertCmplete.widget());
    lamp->addWidget(lblConvertCmplete.widget());
    lamp->addStretch(1);
    result->addLayout(lamp, 3, 0);
    result->addWidget(cmdReadResult.widget(), 4, 0, 1, 2);

    auto* column = new QVBoxLayout(window);
    column->addWidget(fraADCControl.widget());
    column->addWidget(fraADCResult.widget());
}

void frmADC::Form_Load()
{
    // Dark until the chip's register says otherwise (and on revisions without the ADC).
    rev3::showGreenLamp(imgConvertCmplete, 0);
    RefreshFormVals();
}

void frmADC::RefreshFormVals()
{
    rev3::refreshWhileSXI(*this, fields_);
}

void frmADC::cmdLoad_Click()
{
    loadOwnRegister(kADCControl, cmdLoad);
}

void frmADC::readAndShow(int16_t addr)
{
    rev3::readOrBeep(addr);
    RefreshFormVals();
}
