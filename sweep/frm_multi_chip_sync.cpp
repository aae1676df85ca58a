#include "sweep/frm_multi_chip_sync.h"
#include "board/chip_registers.h"

#include "board/evalbd.h"
#include "boardui/form_names.h"
#include "shell/mdi_main.h"
#include "sweep/load_button_frame.h"

#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int kSyncSampleErrorBit = 5;

constexpr RegisterField kSyncWindowDelay{kMCS, 31, 28};
constexpr RegisterField kSysClockOffset{kMCS, 23, 18};
constexpr RegisterField kOutputSyncDelay{kMCS, 15, 11};
constexpr RegisterField kInputSyncDelay{kMCS, 7, 3};

constexpr uint32_t kErrorLit = 0x0000FF;
constexpr uint32_t kErrorDark = 0x000040;

void fillNumbers(ui::ComboBox& list, int count)
{
    for (int i = 0; i < count; ++i)
        list.AddItem(QString::number(i));
}

} // namespace

frmMultiChipSync::frmMultiChipSync() : regwin::RegisterWindow(FormName)
{
    setMdiChild(true);
    setCaption(QStringLiteral("Multi-Chip Sync"));
    lblSyncWndDel.setCaption(QStringLiteral("Sync Window Delay:"));
    lblSysClkOffset.setCaption(QStringLiteral("System Clock Offset:"));
    lblOutpSyncPulseDelay.setCaption(QStringLiteral("Output Sync Pulse Delay:"));
    lblInpSyncPulseDelay.setCaption(QStringLiteral("Input Sync Pulse Delay:"));
    chkSyncEnable.setCaption(QStringLiteral("Sync Enable"));
    chkSyncDriverEn.setCaption(QStringLiteral("Sync Driver Enable"));
    chkInternSyncLoopEn.setCaption(QStringLiteral("Internal Sync Loop Enable"));
    fraSyncPolarity.setCaption(QStringLiteral("Generate Sync Pulse"));
    optSyncPolarity(1).setCaption(QStringLiteral("On Rising Sysclk Edge"));
    optSyncPolarity(0).setCaption(QStringLiteral("On Falling Sysclk Edge"));
    fraEnableSyncSample.setCaption(QStringLiteral("Sync Sample Error"));
    chkEnableSyncSampleErr.setCaption(QStringLiteral("Enable"));
    cmdClearSampleError.setCaption(QStringLiteral("Clear Error"));
    lblSyncSampleError.setCaption(QStringLiteral("Error Detected!"));
    lblSyncSampleError.setBackColor(kErrorDark);
    lblSyncSampleError.setForeColor(ui::colors::vbWhite);
    lblSyncSampleError.setAlignment(ui::vbCenter);
    QFont arial(QStringLiteral("Arial"));
    lblSyncSampleError.setFont(arial);
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    lblLoadFlash.setBackColor(0x0080FF);
    lblLoadFlash.setVisible(false);

    fields_.combo(cmbSyncWndDel, kSyncWindowDelay);
    fields_.combo(cmbSysClkOffset, kSysClockOffset);
    fields_.combo(cmbOutpSyncPulseDelay, kOutputSyncDelay);
    fields_.combo(cmbInpSyncPulseDelay, kInputSyncDelay);
    fields_.check(chkSyncEnable, regBit(kMCS, 27));
    fields_.check(chkSyncDriverEn, regBit(kMCS, 26));
    fields_.option(optSyncPolarity(1), regBit(kMCS, 25), 1);
    fields_.option(optSyncPolarity(0), regBit(kMCS, 25), 0);
    fields_.check(chkInternSyncLoopEn, regBit(kMCS, 24));
    fields_.check(chkEnableSyncSampleErr, regBit(kCFR2, kSyncSampleErrorBit)).indicated = false;
    fields_.bindClicks();
    // The bits of the table the window's LOAD sends: MCS, not the sample error enable in CFR2.
    indicateLoadOn(lblLoadFlash);

    ui::bind(cmdClearSampleError.Click, this, &frmMultiChipSync::cmdClearSampleError_Click);
    ui::bind(cmdLoad.Click, this, &frmMultiChipSync::cmdLoad_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmMultiChipSync::tmrLoadFlash_Timer);
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
    registerProc(formnames::UdStatusIndicators, [this] { UdStatusIndicators(); });
}

frmMultiChipSync::~frmMultiChipSync() = default;

void frmMultiChipSync::RefreshFormVals()
{
    fields_.refresh();
}

void frmMultiChipSync::UdStatusIndicators()
{
    if (!goEvalBd)
        return;
    const bool error = goEvalBd->SYNC_SMPL_ERR() == 1;
    lblSyncSampleError.setBackColor(error ? kErrorLit : kErrorDark);
    lblSyncSampleError.setCaption(error ? QStringLiteral("Error Detected!") : QStringLiteral("No Error"));
}

void frmMultiChipSync::cmdClearSampleError_Click()
{
    if (!goEvalBd || regwin::refusedWhileBusy())
        return;
    // The check is cleared by pulsing its enable low and high; both writes reach the chip at once.
    for (int value : {0, 1}) {
        goEvalBd->SetRegMapBitValue(0, kCFR2, kSyncSampleErrorBit, value);
        goEvalBd->USBSerialLoadPKT(kCFR2, goEvalBd->GetRegMapValue(0, kCFR2));
        goEvalBd->StrobeREGUD();
    }
    // The enable is left set: the box says so too.
    regwin::ScopedFlag refreshing(bRefreshing_);
    chkEnableSyncSampleErr.setValue(1);
}

void frmMultiChipSync::cmdLoad_Click()
{
    loadWindow(cmdLoad, {kMCS});
}

void frmMultiChipSync::tmrLoadFlash_Timer()
{
    tickLoadIndicator();
}

void frmMultiChipSync::Form_Load()
{
    fillNumbers(cmbSysClkOffset, 64);
    fillNumbers(cmbInpSyncPulseDelay, 32);
    fillNumbers(cmbOutpSyncPulseDelay, 32);
    fillNumbers(cmbSyncWndDel, 16);
    RefreshFormVals();
}

void frmMultiChipSync::buildUi(QWidget* window)
{
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(4);
    auto* lists = new QGridLayout;
    lists->setHorizontalSpacing(6);
    lists->setVerticalSpacing(3);
    int row = 0;
    for (auto [label, list] :
         {std::pair{&lblSyncWndDel, &cmbSyncWndDel}, std::pair{&lblSysClkOffset, &cmbSysClkOffset},
          std::pair{&lblOutpSyncPulseDelay, &cmbOutpSyncPulseDelay},
          std::pair{&lblInpSyncPulseDelay, &cmbInpSyncPulseDelay}}) {
        lists->addWidget(label->widget(), row, 0);
        lists->addWidget(list->widget(), row, 1);
        ++row;
    }
    layout->addLayout(lists);
    auto* separator = new QFrame;
    separator->setFrameShape(QFrame::HLine);
    layout->addWidget(separator);
    for (ui::CheckBox* box : {&chkSyncEnable, &chkSyncDriverEn, &chkInternSyncLoopEn})
        layout->addWidget(box->widget());
    auto* polarity = new QVBoxLayout(fraSyncPolarity.container());
    polarity->addWidget(optSyncPolarity(1).widget());
    polarity->addWidget(optSyncPolarity(0).widget());
    layout->addWidget(fraSyncPolarity.widget());
    auto* sample = new QHBoxLayout(fraEnableSyncSample.container());
    sample->addWidget(chkEnableSyncSampleErr.widget());
    sample->addWidget(cmdClearSampleError.widget());
    lblSyncSampleError.widget()->setMinimumSize(100, 20);
    sample->addWidget(lblSyncSampleError.widget());
    layout->addWidget(fraEnableSyncSample.widget());
    auto* separator2 = new QFrame;
    separator2->setFrameShape(QFrame::HLine);
    layout->addWidget(separator2);
    auto* load = new QHBoxLayout;
    load->addStretch(1);
    auto* loadHolder = new QWidget;
    const QSize loadSize(96, 32);
    loadHolder->setFixedSize(loadSize);
    sweep::placeLoadButton(loadHolder, loadSize, lblLoadFlash, cmdLoad);
    load->addWidget(loadHolder);
    layout->addLayout(load);
}
