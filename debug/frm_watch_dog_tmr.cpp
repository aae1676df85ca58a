#include "debug/frm_watch_dog_tmr.h"

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

frmWatchDogTmr::frmWatchDogTmr()
    : Window(FormName, QStringLiteral("Watchdog Timer"), QStringLiteral("Watchdog Timer (SR3)"))
{
    setMdiChild(true);
    setCaption(QStringLiteral("Watchdog Timer"));
    fraWatchDog.setCaption(QStringLiteral("Watch Dog Timers"));
    chkWDTSingleShotEn.setCaption(QStringLiteral("Single Shot Operation"));
    lblPeriod.setCaption(QStringLiteral("Period:"));
    for (const char* item : {"2^18  Cycles", "2^20  Cycles", "2^22  Cycles", "2^24  Cycles"})
        cmbWDTPeriod.AddItem(QString::fromLatin1(item));
    chkWDTContUseOpEn.setCaption(QStringLiteral("Continuous Operation"));
    chkExtSysResetDisable.setCaption(QStringLiteral("External System Reset Disable"));
    chkEnablePwrMon.setCaption(QStringLiteral("Enable Power Monitor"));
    chkWDTTest.setCaption(QStringLiteral("Test Mode"));
    lblIndicate.setCaption(QStringLiteral("Event Occured"));
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    cmdRead.setCaption(QStringLiteral("READ"));
    lblLoadFlash.setBackColor(kIndicatorColour);
    lblLoadFlash.setVisible(false);

    fields_.check(chkWDTSingleShotEn, regBit(kWDT, 7));
    fields_.combo(cmbWDTPeriod, {kWDT, 6, 5});
    fields_.check(chkWDTContUseOpEn, regBit(kWDT, 4));
    fields_.check(chkExtSysResetDisable, regBit(kWDT, 3));
    fields_.check(chkEnablePwrMon, regBit(kWDT, 2));
    fields_.check(chkWDTTest, regBit(kWDT, 1));
    fields_.custom(imgIndicate, regBit(kWDT, 0),
                   [this](uint64_t lit) { rev3::showGreenLamp(imgIndicate, lit); }, {});
    fields_.bindClicks();
    // The whole register, the chip's event bit (bit 0) included.
    indicateLoadOn(lblLoadFlash, regwin::LoadIndicator::registers({kWDT}));

    ui::bind(cmdLoad.Click, this, &frmWatchDogTmr::cmdLoad_Click);
    ui::bind(cmdRead.Click, this, &frmWatchDogTmr::cmdRead_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmWatchDogTmr::tmrLoadFlash_Timer);
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
}

void frmWatchDogTmr::buildUi(QWidget* window)
{
    auto* bits = new QGridLayout(fraWatchDog.container());
    bits->addWidget(chkWDTSingleShotEn.widget(), 0, 0, 1, 2);
    bits->addWidget(lblPeriod.widget(), 1, 0);
    bits->addWidget(cmbWDTPeriod.widget(), 1, 1);
    bits->addWidget(chkWDTContUseOpEn.widget(), 2, 0, 1, 2);
    bits->addWidget(chkExtSysResetDisable.widget(), 3, 0, 1, 2);
    bits->addWidget(chkEnablePwrMon.widget(), 4, 0, 1, 2);
    bits->addWidget(chkWDTTest.widget(), 5, 0, 1, 2);
    auto* event = new QHBoxLayout;
    event->addWidget(imgIndicate.widget());
    event->addWidget(lblIndicate.widget());
    event->addStretch(1);
    bits->addLayout(event, 6, 0, 1, 2);

    QHBoxLayout* buttons = rev3::readLoadRow(cmdRead, lblLoadFlash, cmdLoad);

    auto* column = new QVBoxLayout(window);
    column->addWidget(fraWatchDog.widget());
    column->addLayout(buttons);
}

void frmWatchDogTmr::Form_Load()
{
    // Below revision 3 the block is absent: its lamp is drawn dark rather than not at all.
    rev3::showGreenLamp(imgIndicate, 0);
    if (goEvalBd && goEvalBd->SiliconRev() == 3)
        RefreshFormVals();
}

void frmWatchDogTmr::RefreshFormVals()
{
    fields_.refresh();
}

void frmWatchDogTmr::cmdLoad_Click()
{
    loadOwnRegister(kWDT, cmdLoad);
}

void frmWatchDogTmr::cmdRead_Click()
{
    rev3::readOrBeep(kWDT);
    if (goEvalBd && goEvalBd->SiliconRev() == 3)
        RefreshFormVals();
}
