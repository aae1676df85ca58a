// The Control window's layout: its captions and list items, and three columns of frames — modes, options
// and the auxiliary DAC; data port, power down and I/O update rate; the clock with its PLL group above LOAD.

#include "shell/frm_control.h"

#include "board/vco_tables.h"

#include "platform/runtime/number_format.h"
#include "platform/ui/colors.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <initializer_list>
#include <vector>

namespace {

const QStringList kDriveItems = {QStringLiteral("Disabled"), QStringLiteral("Low Drive"),
                                 QStringLiteral("Mid Drive"), QStringLiteral("High Drive")};

template <typename List> void fill(List& list, const QStringList& items)
{
    list.Clear();
    for (const QString& item : items)
        list.AddItem(item);
}

QString bandText(int low, int high)
{
    return QString::number(low) + QStringLiteral(" MHz - ") + QString::number(high) + QStringLiteral(" MHz");
}

constexpr int kSpacing = 4;
constexpr int kMarkWidth = 10;
constexpr int kSpinWidth = 16;

QVBoxLayout* column(QWidget* container)
{
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(2);
    return layout;
}

QGridLayout* grid(QWidget* container)
{
    auto* layout = new QGridLayout(container);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setHorizontalSpacing(kSpacing);
    layout->setVerticalSpacing(2);
    return layout;
}

// A list box that shows `rows` items and its widest text without scrolling sideways.
void fitList(ui::ListBox& list, int rows, const QString& widest)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(list.widget());
    if (!area)
        return;
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics metrics = area->fontMetrics();
    const int rowHeight = metrics.height() + 2;
    area->setFixedHeight(rows * rowHeight + 2 * area->frameWidth() + 4);
    const int scrollBar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // Fixed: a list's own wish is far wider than its items, and would widen its column.
    area->setFixedWidth(metrics.horizontalAdvance(widest) + scrollBar + 2 * area->frameWidth() + 12);
}

void fixWidth(ui::Control& control, int width)
{
    control.widget()->setFixedWidth(width);
}

// A spin button as tall as the box beside it.
void spinBeside(ui::ScrollBar& spin, ui::TextBox& box)
{
    spin.widget()->setFixedSize(kSpinWidth, box.widget()->sizeHint().height());
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    layout->setSpacing(2);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    return layout;
}

// A control that comes and goes keeps its room while hidden, so nothing beside it moves.
void keepRoomWhenHidden(ui::Control& control)
{
    QSizePolicy policy = control.widget()->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    control.widget()->setSizePolicy(policy);
}

// When the window first shows, with its values and its revision group in place, each column keeps at
// least the width it has then: values that change later (a new clock, a longer rate, a mark that shows)
// never narrow it, so the frames beside it stay put while the user works.
class ColumnWidthKeeper : public QObject {
public:
    ColumnWidthKeeper(QWidget* window, std::vector<QWidget*> columns)
        : QObject(window), window_(window), columns_(std::move(columns))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Show) {
            window_->removeEventFilter(this);
            for (QWidget* column : columns_)
                column->setMinimumWidth(column->sizeHint().width());
        }
        return false;
    }

private:
    QWidget* window_;
    std::vector<QWidget*> columns_;
};

} // namespace

void frmControl::setCaptions()
{
    setCaption(QStringLiteral("Control"));

    fraOperationalMode.setCaption(QStringLiteral("Operating Mode"));
    fill(lstOppMode, {QStringLiteral("Quadrature Modulation"), QStringLiteral("Single Tone"),
                      QStringLiteral("Interpolating DAC")});
    chkEnableRAM.setCaption(QStringLiteral("Enable RAM"));
    chkEnQDUCRAMEval.setCaption(QStringLiteral("QDUC RAM Destination"));

    fraModulationOptions.setCaption(QStringLiteral("Modulation Options"));
    chkEnablePDCLK.setCaption(QStringLiteral("Enable PDCLK"));
    chkInvertPDCLK.setCaption(QStringLiteral("Invert PDCLK"));
    chkPDClkRateCtrl.setCaption(QStringLiteral("PDClk = \u00BD Input Data Rate"));
    chkInvertTxEnable.setCaption(QStringLiteral("Invert TX Enable"));
    chkDataAssmHldsLastVal.setCaption(QStringLiteral("Data Assembler Holds Last Value"));

    fraSarvexInterface.setCaption(QStringLiteral("Sarvex\u00AE"));
    lblSXLogo.setCaption(QStringLiteral("SXI"));
    chkActivateSXIMode.setCaption(QStringLiteral("Activate SXI"));
    chkActivateSXIMode.setToolTipText(QStringLiteral("Activate Sarvex\u00AE Interface"));
    chkEarlyFrameSyncEn.setCaption(QStringLiteral("Early Frame Sync. Enable"));
    lblBitOrderSXI.setCaption(QStringLiteral("Bit Order:"));
    fill(lsbSXIBitOrder, {QStringLiteral("MSB First"), QStringLiteral("LSB First")});
    lblDataFormatSXI.setCaption(QStringLiteral("Data Format:"));
    fill(lsbDataFormatSXI, {QStringLiteral("Two's Complement"), QStringLiteral("Offset Binary")});

    fraPowerDowns.setCaption(QStringLiteral("Power Down"));
    chkDigitalPD.setCaption(QStringLiteral("Digitial"));
    chkDigitalPD.setToolTipText(QStringLiteral("Powers down the Digital Circuitry"));
    chkDACPD.setCaption(QStringLiteral("DAC"));
    chkDACPD.setToolTipText(QStringLiteral("Powers down the Output DAC"));
    chkClkInpPD.setCaption(QStringLiteral("Clock Input"));
    chkClkInpPD.setToolTipText(QStringLiteral("Powers down the Clock Input circuitry"));
    chkAuxDACPD.setCaption(QStringLiteral("Aux. DAC"));
    chkAuxDACPD.setToolTipText(QStringLiteral("Powers down the Auxiliary DAC"));
    fill(lsbExternPDMode, {QStringLiteral("Fast Recovery"), QStringLiteral("Full Power Down")});
    chkAutoPD.setCaption(QStringLiteral("Enable Auto PD"));
    chkAutoPD.setToolTipText(QStringLiteral("Auto powerdown on TX_Enable Desertion"));
    chkExternPDPin.setCaption(QStringLiteral("External Power Down Pin"));

    chkAutoClearPhaseAcc.setCaption(QStringLiteral("Auto Clear Phase Accumulator"));
    chkClearPhaseAcc.setCaption(QStringLiteral("Clear Phase Accumulator"));
    chkEnableSincClkOut.setCaption(QStringLiteral("Enable I/O Sync Clock Output Pin"));
    chkEnMatchedLatency.setCaption(QStringLiteral("Enable Matched Latency"));

    fraIOUpdateCtrls.setCaption(QStringLiteral("I/O Update"));
    chkInternalIOUpdate.setCaption(QStringLiteral("Use Internal IO Update"));
    lblInternalIOUpdateRate.setCaption(QStringLiteral("I/O Update Rate Period:"));
    lblIOUDRateUnits.setCaption(QStringLiteral("S"));
    lblIOUDClkDivVal.setCaption(QStringLiteral("I/O Update Clock Divider:"));
    fill(cmbIOUpdateClkDiv, {QStringLiteral("\u00F71"), QStringLiteral("\u00F72"), QStringLiteral("\u00F74"),
                             QStringLiteral("\u00F78")});
    lblIOUpdateRateTotal.setCaption(QStringLiteral("Total I/O Update Period"));

    fraDACControl.setCaption(QStringLiteral("AUX DAC Control"));
    txtDACControl.setToolTipText(QStringLiteral("Controls the DAC Current 0 - 255 where 255 is fullscale"));
    txtDACControl.setMaxLength(3);
    txtDACI_Out.setLocked(true);

    fraClock.setCaption(QStringLiteral("Clock"));
    lblExternClk.setCaption(QStringLiteral("External Clock:"));
    txtExternClk.setToolTipText(QStringLiteral("External Reference Clock Frequency"));
    chkRefclkDivDisable.setCaption(QStringLiteral("\u00F72 Divider Disable"));
    lblRefClk.setCaption(QStringLiteral("Refclk:"));
    lblSysClk.setCaption(QStringLiteral("System Clock:"));
    for (ui::Label* units : {&lblExternClkUnits, &lblRefClkUnits, &lblSysClkUnits, &lblVCOFreqUnits})
        units->setCaption(QStringLiteral("MHz"));
    // Computed values: shown, not typed.
    txtRefClk.setLocked(true);
    txtSysClkTxt.setLocked(true);
    txtVCOFreq.setLocked(true);
    txtMultiBypassed.setLocked(true);
    chkSR3.setCaption(QStringLiteral("SR3 Silicon Detected"));

    chkEnableMulti.setCaption(QStringLiteral("Enable Multiplier"));
    txtMultiBypassed.setText(QStringLiteral("Bypassed"));
    lblMultiplier.setCaption(QStringLiteral("Multiplier:"));
    lblMDivider.setCaption(QStringLiteral("M Divider:"));
    fill(cmbMDivider,
         {QStringLiteral("x1"), QStringLiteral("x2"), QStringLiteral("x4"), QStringLiteral("x8")});
    lblVCOFreq.setCaption(QStringLiteral("VCO Freq:"));
    lblVCORange.setCaption(QStringLiteral("VCO Range:"));
    cmdFindVCORange.setCaption(QStringLiteral("A U T O"));
    chkNDivResetB.setCaption(QStringLiteral("N Divider Reset"));
    lblPLLLock.setCaption(QStringLiteral("PLL Lock"));
    cmdRefreshPLLLock.setCaption(QStringLiteral("Refresh"));

    chkEnablePllSR3.setCaption(QStringLiteral("Enable Multiplier"));
    lblCLKMultiVal.setCaption(QStringLiteral("Multiplier:"));
    txtCLKMultiVal.setMaxLength(3);
    chkPFDInputDblr.setCaption(QStringLiteral("Enable PFD Input Doubler"));
    chkPFDXRST.setCaption(QStringLiteral("PFD X Reset"));
    chkPFDXRST.setToolTipText(QStringLiteral("Resets the PFD"));
    lblABPW.setCaption(QStringLiteral("PFD Antibacklash PW:"));
    fill(cmbABPW, {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    cmbABPW.setToolTipText(QStringLiteral("Antbacklash Pulse Width Control"));
    lblChargePumpCurrent.setCaption(QStringLiteral("CP Current:"));
    QStringList pumpCurrents;
    for (int microAmps = 212; microAmps <= 387; microAmps += 25)
        pumpCurrents << QString::number(microAmps) + QStringLiteral(" \u00B5A");
    fill(cmbChargePumpCurrent, pumpCurrents);
    lblVCORangeSR3.setCaption(QStringLiteral("VCO Range:"));
    lblDRV0.setCaption(QStringLiteral("DRV0:"));
    fill(cmbDRV0, kDriveItems);
    lblXTALOut.setCaption(QStringLiteral("XTAL Out:"));
    fill(cmbXTALOut, kDriveItems);
    cmbXTALOut.setToolTipText(QStringLiteral("Crystal Output Driver Settings"));
    lblPllLockSR3.setCaption(QStringLiteral("PLL Lock"));
    cmdRefreshPlllockSR3.setCaption(QStringLiteral("Refresh"));
    cmdRefreshPlllockSR3.setToolTipText(QStringLiteral("Updates the PLL Lock indicator"));

    for (ui::Label& mark : lblErr) {
        mark.setCaption(QStringLiteral("!"));
        mark.setForeColor(ui::colors::vbRed);
        mark.setVisible(false);
    }
    chkShowWarnings.setCaption(QStringLiteral("Show Warnings"));
    chkShowWarnings.setToolTipText(
        QStringLiteral("Shows warnings about invalid form settings when the form is loaded"));
    chkShowWarnings.setValue(1);
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    lblLoadFlash.setCaption(QStringLiteral("\u25C0"));
    lblLoadFlash.setForeColor(ui::colors::vbRed);
    lblLoadFlash.setVisible(false);

    // Spin buttons rest at 0 between the limits 1 and -1; the up arrow gives +1.
    for (ui::ScrollBar* spin : {&vscIOUDRate, &vscDACControl, &vscMultiplier}) {
        spin->setMin(1);
        spin->setMax(-1);
        spin->setValue(0);
    }
}

// The band tables, and the ratio and band lists made from them.
void frmControl::fillLists()
{
    ebInitVCOCalTable();
    ebInitVCORanges();
    lstVCORange.Clear();
    for (const auto& band : giVCOCalTable)
        lstVCORange.AddItem(bandText(band[0], band[1]));
    lsbVCORangeSR3.Clear();
    for (const auto& band : giVCORanges)
        lsbVCORangeSR3.AddItem(bandText(band[0], band[1]));
    cmbRFDividerRatio.Clear();
    for (int n = 1; n <= 64; ++n)
        cmbRFDividerRatio.AddItem(QString::number(n) + QStringLiteral("x"));
}

void frmControl::buildUi(QWidget* window)
{
    // The small font of the chip windows: the Control window and the Profiles window stand side by side.
    QFont small = window->font();
    small.setPointSize(8);
    window->setFont(small);

    for (ui::Label& mark : lblErr) {
        fixWidth(mark, kMarkWidth);
        keepRoomWhenHidden(mark);
    }
    keepRoomWhenHidden(lblLoadFlash);
    keepRoomWhenHidden(txtMultiBypassed);

    // ---- first column: operating mode, modulation options, phase accumulator and the rest ----
    {
        QVBoxLayout* box = column(fraOperationalMode.container());
        fitList(lstOppMode, 3, QStringLiteral("Quadrature Modulation"));
        box->addWidget(lstOppMode.widget());
        box->addWidget(chkEnableRAM.widget());
        box->addWidget(chkEnQDUCRAMEval.widget());
    }
    {
        QVBoxLayout* box = column(fraModulationOptions.container());
        for (ui::CheckBox* check : {&chkEnablePDCLK, &chkInvertPDCLK, &chkPDClkRateCtrl, &chkInvertTxEnable,
                                    &chkDataAssmHldsLastVal})
            box->addWidget(check->widget());
    }
    {
        QVBoxLayout* box = column(fraOther.container());
        for (ui::CheckBox* check :
             {&chkAutoClearPhaseAcc, &chkClearPhaseAcc, &chkEnableSincClkOut, &chkEnMatchedLatency})
            box->addWidget(check->widget());
    }

    // ---- second column: data port, power down, auxiliary DAC ----
    {
        QGridLayout* box = grid(fraSarvexInterface.container());
        // Both logo pictures show at one size, so the frame keeps its shape when SXI turns on.
        imgSXLogo.setStretch(true);
        imgSXLogo.widget()->setFixedSize(32, 16);
        QHBoxLayout* logo = row({imgSXLogo.widget(), lblSXLogo.widget()});
        logo->addStretch(1);
        box->addLayout(logo, 0, 0, 1, 2);
        box->addWidget(chkActivateSXIMode.widget(), 1, 0, 1, 2);
        box->addWidget(chkEarlyFrameSyncEn.widget(), 2, 0, 1, 2);
        fitList(lsbSXIBitOrder, 2, QStringLiteral("MSB First"));
        fitList(lsbDataFormatSXI, 2, QStringLiteral("Two's Complement"));
        box->addWidget(lblBitOrderSXI.widget(), 3, 0, Qt::AlignTop);
        box->addWidget(lsbSXIBitOrder.widget(), 3, 1);
        box->addWidget(lblDataFormatSXI.widget(), 4, 0, Qt::AlignTop);
        box->addWidget(lsbDataFormatSXI.widget(), 4, 1);
    }
    {
        QGridLayout* box = grid(fraPowerDowns.container());
        box->addWidget(chkDigitalPD.widget(), 0, 0);
        box->addWidget(chkDACPD.widget(), 0, 1);
        box->addWidget(chkClkInpPD.widget(), 1, 0);
        box->addWidget(chkAuxDACPD.widget(), 1, 1);
        fitList(lsbExternPDMode, 2, QStringLiteral("Full Power Down"));
        box->addWidget(lsbExternPDMode.widget(), 2, 0, 1, 2);
        box->addWidget(chkAutoPD.widget(), 3, 0, 1, 2);
        box->addWidget(chkExternPDPin.widget(), 4, 0, 1, 2);
    }
    {
        QGridLayout* box = grid(fraDACControl.container());
        fixWidth(txtDACControl, 44);
        spinBeside(vscDACControl, txtDACControl);
        txtDACI_Out.setAlignment(ui::vbRightJustify);
        fixWidth(txtDACI_Out, 80);
        QHBoxLayout* code = row({txtDACControl.widget(), vscDACControl.widget()});
        code->addSpacing(10);
        code->addWidget(txtDACI_Out.widget());
        code->addWidget(lblIoutUnits.widget());
        code->addStretch(1);
        box->addLayout(code, 0, 0);
    }

    // ---- third column: clock and PLL ----
    {
        QGridLayout* clock = grid(fraClock.container());
        const auto addClockRow = [&](int at, ui::Label& label, ui::TextBox& box, ui::Label& units) {
            clock->addWidget(label.widget(), at, 0);
            fixWidth(box, 90);
            box.setAlignment(ui::vbRightJustify);
            clock->addWidget(box.widget(), at, 1);
            clock->addWidget(units.widget(), at, 2);
        };
        addClockRow(0, lblExternClk, txtExternClk, lblExternClkUnits);
        clock->addWidget(lblErr(0).widget(), 0, 3);
        clock->addWidget(chkRefclkDivDisable.widget(), 1, 0, 1, 3);
        addClockRow(2, lblRefClk, txtRefClk, lblRefClkUnits);
        addClockRow(3, lblSysClk, txtSysClkTxt, lblSysClkUnits);
        clock->addWidget(lblErr(1).widget(), 3, 3);
        // Marks no setting uses: kept in the window, never shown.
        clock->addWidget(lblErr(2).widget(), 0, 4);
        clock->addWidget(lblErr(6).widget(), 1, 4);

        // Revisions 1 and 2.
        rev12Panel_ = new QWidget;
        QGridLayout* pll = grid(rev12Panel_);
        pll->setContentsMargins(0, 4, 0, 0);
        pll->addWidget(chkEnableMulti.widget(), 0, 0, 1, 2);
        fixWidth(txtMultiBypassed, 70);
        txtMultiBypassed.setAlignment(ui::vbCenter);
        pll->addWidget(txtMultiBypassed.widget(), 0, 2, 1, 2);
        pll->addWidget(lblMultiplier.widget(), 1, 0);
        // Lists and boxes of fixed widths: their items and values come later and must not widen the column.
        const int pllListWidth =
            cmbMDivider.widget()->fontMetrics().horizontalAdvance(QStringLiteral("High Drive")) + 36;
        for (ui::Control* control :
             std::initializer_list<ui::Control*>{&cmbRFDividerRatio, &cmbMDivider, &txtVCOFreq})
            fixWidth(*control, pllListWidth);
        pll->addWidget(cmbRFDividerRatio.widget(), 1, 1);
        pll->addWidget(lblMDivider.widget(), 2, 0);
        pll->addWidget(cmbMDivider.widget(), 2, 1);
        pll->addWidget(lblVCOFreq.widget(), 3, 0);
        txtVCOFreq.setAlignment(ui::vbRightJustify);
        pll->addWidget(txtVCOFreq.widget(), 3, 1);
        pll->addWidget(lblVCOFreqUnits.widget(), 3, 2);
        pll->addWidget(lblVCORange.widget(), 4, 0, Qt::AlignTop);
        fitList(lstVCORange, 4, QStringLiteral("2105 MHz - 2138 MHz"));
        pll->addWidget(lstVCORange.widget(), 4, 1, 1, 2);
        // The band finder under the band list, so the group is no wider than the revision 3 one.
        QHBoxLayout* find = row({cmdFindVCORange.widget(), lblErr(3).widget()});
        find->addStretch(1);
        pll->addLayout(find, 5, 1, 1, 3);
        pll->addWidget(chkNDivResetB.widget(), 6, 0, 1, 3);
        QHBoxLayout* lock = row({lblPLLLock.widget(), imgDUTFlagsPD.widget(), cmdRefreshPLLLock.widget()});
        lock->addStretch(1);
        pll->addLayout(lock, 7, 0, 1, 4);
        clock->addWidget(rev12Panel_, 4, 0, 1, 4);

        // Revision 3, in the rounded frame.
        QGridLayout* sr3 = grid(rrfMultiplier.container());
        sr3->addWidget(chkEnablePllSR3.widget(), 0, 0, 1, 3);
        sr3->addWidget(lblCLKMultiVal.widget(), 1, 0);
        fixWidth(txtCLKMultiVal, 44);
        spinBeside(vscMultiplier, txtCLKMultiVal);
        QHBoxLayout* multiplier = row({txtCLKMultiVal.widget(), vscMultiplier.widget(), lblErr(4).widget()});
        multiplier->addStretch(1);
        sr3->addLayout(multiplier, 1, 1, 1, 2);
        sr3->addWidget(chkPFDInputDblr.widget(), 2, 0, 1, 3);
        sr3->addWidget(chkPFDXRST.widget(), 3, 0, 1, 3);
        // The lists as wide as their longest item, so the column stays narrow.
        const int listWidth =
            cmbDRV0.widget()->fontMetrics().horizontalAdvance(QStringLiteral("High Drive")) + 36;
        for (ui::ComboBox* list : {&cmbABPW, &cmbChargePumpCurrent, &cmbDRV0, &cmbXTALOut})
            fixWidth(*list, listWidth);
        sr3->addWidget(lblABPW.widget(), 4, 0);
        sr3->addWidget(cmbABPW.widget(), 4, 1);
        sr3->addWidget(lblChargePumpCurrent.widget(), 5, 0);
        sr3->addWidget(cmbChargePumpCurrent.widget(), 5, 1);
        // The band list is wider than the lists above: it takes the line under its label, ending where
        // they end.
        sr3->addWidget(lblVCORangeSR3.widget(), 6, 0, Qt::AlignTop);
        sr3->addWidget(lblErr(5).widget(), 7, 2, Qt::AlignTop);
        fitList(lsbVCORangeSR3, 6, QStringLiteral("920 MHz - 1080 MHz"));
        sr3->addWidget(lsbVCORangeSR3.widget(), 7, 0, 1, 2, Qt::AlignRight);
        sr3->addWidget(lblDRV0.widget(), 8, 0);
        sr3->addWidget(cmbDRV0.widget(), 8, 1);
        sr3->addWidget(lblXTALOut.widget(), 9, 0);
        sr3->addWidget(cmbXTALOut.widget(), 9, 1);
        QHBoxLayout* lockSR3 =
            row({lblPllLockSR3.widget(), imgPllLockSR3.widget(), cmdRefreshPlllockSR3.widget()});
        lockSR3->addStretch(1);
        sr3->addLayout(lockSR3, 10, 0, 1, 3);
        rrfMultiplier.widget()->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        rrfMultiplier.widget()->setMinimumHeight(sr3->sizeHint().height() + 24);
        clock->addWidget(rrfMultiplier.widget(), 5, 0, 1, 4);
        clock->addWidget(chkSR3.widget(), 6, 0, 1, 4);
        clock->setColumnStretch(4, 1);
    }

    // ---- second column: internal I/O update ----
    {
        QGridLayout* box = grid(fraIOUpdateCtrls.container());
        box->addWidget(chkInternalIOUpdate.widget(), 0, 0, 1, 2);
        // The rate is a long number: its box stands on the line under its label.
        box->addWidget(lblInternalIOUpdateRate.widget(), 1, 0, 1, 2);
        fixWidth(txtInternalIOUDRate, txtInternalIOUDRate.widget()->fontMetrics().horizontalAdvance(
                                          QStringLiteral("-00.0000000e+00")) +
                                          12);
        txtInternalIOUDRate.setAlignment(ui::vbRightJustify);
        spinBeside(vscIOUDRate, txtInternalIOUDRate);
        QHBoxLayout* rate =
            row({txtInternalIOUDRate.widget(), vscIOUDRate.widget(), lblIOUDRateUnits.widget()});
        rate->insertSpacing(0, 12);
        rate->addStretch(1);
        box->addLayout(rate, 2, 0, 1, 2);
        box->addWidget(lblIOUDClkDivVal.widget(), 3, 0);
        box->addWidget(cmbIOUpdateClkDiv.widget(), 3, 1, Qt::AlignLeft);
        box->addWidget(pbxIOUDIllistration.widget(), 4, 0, 1, 2);
        drawIOUDIllustration(pbxIOUDIllistration.container());
    }

    // ---- assembled ----
    auto* left = new QVBoxLayout;
    left->setSpacing(kSpacing);
    for (ui::Frame* frame : {&fraOperationalMode, &fraModulationOptions, &fraOther, &fraDACControl})
        left->addWidget(frame->widget());
    left->addStretch(1);

    auto* middle = new QVBoxLayout;
    middle->setSpacing(kSpacing);
    for (ui::Frame* frame : {&fraSarvexInterface, &fraPowerDowns, &fraIOUpdateCtrls})
        middle->addWidget(frame->widget());
    middle->addStretch(1);

    auto* right = new QVBoxLayout;
    right->setSpacing(kSpacing);
    right->addWidget(fraClock.widget());
    right->addStretch(1);
    QHBoxLayout* load = row({chkShowWarnings.widget()});
    load->addStretch(1);
    load->addWidget(lblLoadFlash.widget());
    cmdLoad.widget()->setMinimumSize(80, 28);
    load->addWidget(cmdLoad.widget());
    right->addLayout(load);

    auto* columns = new QHBoxLayout(window);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->setSpacing(6);
    std::vector<QWidget*> columnWidgets;
    for (QVBoxLayout* layout : {left, middle, right}) {
        auto* holder = new QWidget;
        layout->setContentsMargins(0, 0, 0, 0);
        holder->setLayout(layout);
        columns->addWidget(holder, 0, Qt::AlignTop);
        columnWidgets.push_back(holder);
    }
    columns->addStretch(1);
    clock_.showRevisionGroup();
    new ColumnWidthKeeper(window, std::move(columnWidgets));
}

// The I/O update pulses as a scope would show them: a pulse each period on a dark screen, with the
// period marked between the first two.
void frmControl::drawIOUDIllustration(QWidget* surface)
{
    constexpr int kWidth = 250;
    constexpr int kLow = 34;
    constexpr int kHigh = 10;
    constexpr int kPulse = 6;
    constexpr int kPeriod = 60;
    constexpr int kFirst = 12;
    pbxIOUDIllistration.setBackColor(ui::colors::vbBlack);
    pbxIOUDIllistration.setBorderStyle(1);
    surface->setFixedSize(kWidth, 70);

    int index = 0;
    const auto segment = [&](int x1, int y1, int x2, int y2) {
        ui::Line& line = lneIOUDIll.add(index++);
        line.widget()->setParent(surface);
        line.setPoints(x1, y1, x2, y2);
        line.widget()->show();
    };
    segment(0, kLow, kFirst, kLow);
    for (int x = kFirst; x < kWidth; x += kPeriod) {
        segment(x, kLow, x, kHigh);
        segment(x, kHigh, x + kPulse, kHigh);
        segment(x + kPulse, kHigh, x + kPulse, kLow);
        segment(x + kPulse, kLow, std::min(x + kPeriod, kWidth - 2), kLow);
    }
    // The period between the first two pulses.
    segment(kFirst, 40, kFirst + kPeriod, 40);
    segment(kFirst, 37, kFirst, 43);
    segment(kFirst + kPeriod, 37, kFirst + kPeriod, 43);

    for (ui::Label* label : {&lblIOUpdateRateTotal, &lblIOUDRateVal}) {
        label->setBackStyle(0);
        label->widget()->setParent(surface);
        label->widget()->show();
    }
    lblIOUpdateRateTotal.Move(4, 48, 140, 18);
    lblIOUDRateVal.Move(148, 48, kWidth - 152, 18);
    lblIOUDRateVal.setAlignment(ui::vbRightJustify);
    ioUpdateRate_.showState();
}
