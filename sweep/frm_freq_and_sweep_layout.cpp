// The OSK Control window's design: captions, lists and tool tips, and the layout. The frames keep the
// places and sizes of the window's two layouts (15 twips to the pixel): the OSK frame top left, the
// auxiliary sources below it, the message panel below those, the linear sweep setup on the right and LOAD
// in the bottom right corner; inside each frame the controls are laid out by Qt.

#include "sweep/frm_freq_and_sweep.h"

#include "sweep/load_button_frame.h"

#include "platform/ui/colors.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QWidget>
#include <initializer_list>

namespace {

constexpr int kSpinWidth = 16;

// A spin button at rest: limits 1 and -1, value 0.
void makeSpin(ui::ScrollBar& bar)
{
    bar.setMax(-1);
    bar.setMin(1);
    bar.setValue(0);
}

void fitChars(ui::TextBox& box, int chars)
{
    QWidget* widget = box.widget();
    widget->setFixedWidth(widget->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 10);
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = true)
{
    auto* layout = new QHBoxLayout;
    layout->setSpacing(3);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    if (stretch)
        layout->addStretch(1);
    return layout;
}

QVBoxLayout* column(QWidget* container)
{
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(1);
    return layout;
}

// Places a frame at a fixed place and size in twips.
void place(QWidget* widget, QWidget* parent, int left, int top, int width, int height)
{
    widget->setParent(parent);
    widget->setGeometry(left / 15, top / 15, width / 15, height / 15);
}

QLabel* unit(const QString& text)
{
    return new QLabel(text);
}

} // namespace

void frmFreqAndSweep::setDesignProperties()
{
    setCaption(QStringLiteral("OSK Control"));
    fraFTW.setCaption(QString());
    chkOSKPin.setCaption(QStringLiteral("OSK Pin"));
    chkEnableASF.setCaption(QStringLiteral("Enable Output Shift Keying"));
    chkEnableASF.setToolTipText(QStringLiteral("Enables Output Amplitude Scaling"));
    lblASFReg.setCaption(QStringLiteral("Amplitude Scale Factor:"));
    chkManualOSKExtCtrl.setCaption(QStringLiteral("Use External OSK Pin"));
    fraAutoAmplitudeSetup.setCaption(QStringLiteral("Auto OSK Setup"));
    chkAutoASFEnable.setCaption(QStringLiteral("Enable Auto OSK:"));
    chkAutoASFEnable.setToolTipText(QStringLiteral("Enables Auto ASF feature, or RU/RD feature"));
    chkLoadARRIOU.setCaption(QStringLiteral("Load ARR @ I/O Update"));
    lblIncDecSize.setCaption(QStringLiteral("Amplitude Step Adjust:"));
    for (const char* item : {"\u00F7 1", "\u00F7 2", "\u00F7 4", "\u00F7 8"})
        cmbASKIncDecSize.AddItem(QString::fromUtf8(item));
    lblASKRR.setCaption(QStringLiteral("Amplitude Ramp Rate:"));
    for (ui::Label& label : lblns)
        label.setCaption(QStringLiteral("\u00B5s"));

    fraOtherSrcs.setCaption(QStringLiteral("Auxiliary Sources"));
    lblOutFreqST.setCaption(QStringLiteral("Output Frequency:"));
    lblMHzST.setCaption(QStringLiteral("MHz"));
    lblPhaseOffsetST.setCaption(QStringLiteral("Phase Offset:"));
    lblDegST.setCaption(QStringLiteral("Deg"));

    lblModeMsg.setCaption(QStringLiteral("Output frequency is set by the currently selected profile when "
                                         "phase or amplitude sweeping is selected."));
    lblModeMsg.setWordWrap(true);
    fraMsg.setVisible(false);

    fraLinSwpSetup(0).setCaption(QStringLiteral("Linear Sweep Setup"));
    optSweepDwn.setCaption(QStringLiteral("Sweep Down"));
    optSweepUp.setCaption(QStringLiteral("Sweep Up"));
    chkClrFreqAccum.setCaption(QStringLiteral("Clear Digital Ramp Accumulator"));
    chkAutoClrFreqAccum.setCaption(QStringLiteral("Auto Clear Digital Ramp Accum."));
    chkAutoClrFreqAccum.setToolTipText(QStringLiteral("Clears the sweep accumulator on every RegUpdate"));
    chkLoadSRRonIOUD.setCaption(QStringLiteral("Load SRR @ RegUpdate"));
    lblLSDest.setCaption(QStringLiteral("Sweep Mode:"));
    for (const char* item : {"Frequency", "Phase", "Amplitude"})
        lstLSDest.AddItem(QString::fromLatin1(item));
    chkLSNoDwellLow.setCaption(QStringLiteral("No Dwell Low"));
    chkLSNoDwellHigh.setCaption(QStringLiteral("No Dwell High"));
    chkEnLinSweep.setCaption(QStringLiteral("Enable Digital Ramp Generator"));
    chkLSHold.setCaption(QStringLiteral("Pause"));
    lblLSRisingRR.setCaption(QStringLiteral("Rising Step Interval:"));
    lblLSFallingRR.setCaption(QStringLiteral("Falling Step Interval:"));
    lblLSFinished.setCaption(QStringLiteral("Sweep Finished "));
    for (ui::Frame& frame : fraSweepWord0)
        frame.setVisible(frame.Index() == 0);
    for (ui::Frame& frame : fraSweepWord1)
        frame.setVisible(frame.Index() == 0);

    cmdLoad.setCaption(QStringLiteral("LOAD"));
    lblLoadFlash.setBackColor(0x0080FF);
    lblLoadFlash.setVisible(false);
    pbxLoadBtn.setBorderStyle(0);
    setFieldDesign();
}

void frmFreqAndSweep::setFieldDesign()
{
    for (ui::TextBox* box :
         {&txtOutFreqST, &txtLSSweepFreq0, &txtLSSweepFreq1, &txtLSRisingDFW0, &txtLSFallingDFW1})
        values_.showText(*box, QStringLiteral("0.000000000"), 0);
    for (ui::TextBox* box :
         {&txtPhaseOffsetST, &txtLSSweepPhase0, &txtLSSweepPhase1, &txtLSRisingDPW0, &txtLSFallingDPW1})
        values_.showText(*box, QStringLiteral("0.000"), 0);
    for (ui::TextBox* box :
         {&txtAmpScaleST, &txtLSSweepAmp0, &txtLSSweepAmp1, &txtLSRisingDAW0, &txtLSFallingDAW1})
        values_.showText(*box, QStringLiteral("0.00000"), 0);
    values_.showText(txtASKRR, QStringLiteral("0.0000"), 0);
    values_.showText(txtLSRisingRR, QStringLiteral("0.000"), 0);
    values_.showText(txtLSFallingRR, QStringLiteral("0.000"), 0);
    for (ui::TextBox* box : {&txtOutFreqST, &txtLSSweepFreq0, &txtLSSweepFreq1})
        box->setToolTipText(QStringLiteral("Output Frequency (Double Click For Detailed Edit)"));
    for (ui::TextBox* box :
         {&txtPhaseOffsetST, &txtLSSweepPhase0, &txtLSSweepPhase1, &txtLSRisingDPW0, &txtLSFallingDPW1})
        box->setToolTipText(QStringLiteral("Phase Offset (Double Click For Detailed Edit"));
    for (ui::TextBox* box :
         {&txtAmpScaleST, &txtLSSweepAmp0, &txtLSSweepAmp1, &txtLSRisingDAW0, &txtLSFallingDAW1})
        box->setToolTipText(QStringLiteral("Amplitude Scale Factor (Double Click For Detailed Edit)"));
    txtAmpScaleStepST.setText(QStringLiteral("1"));
    txtAmpScaleStepST.setToolTipText(
        QStringLiteral("Number of amplitude word LSB's to increment or decrement by."));
    txtPhOSpinStepST.setText(QStringLiteral("1"));
    txtPhOSpinStepST.setToolTipText(
        QStringLiteral("Number of phase word LSB's to increment or decrement by."));
    makeSpin(vscAmpScaleSpinST);
    makeSpin(vscPhaseOSpinST);
}

void frmFreqAndSweep::placeOSKFrame()
{
    QVBoxLayout* layout = column(fraFTW.container());
    layout->addLayout(row({chkEnableASF.widget(), chkOSKPin.widget()}));
    fitChars(txtAmpScaleStepST, 3);
    fitChars(txtAmpScaleST, 7);
    vscAmpScaleSpinST.widget()->setFixedSize(kSpinWidth, txtAmpScaleST.widget()->sizeHint().height());
    layout->addLayout(row({lblASFReg.widget(), txtAmpScaleStepST.widget(), vscAmpScaleSpinST.widget(),
                           txtAmpScaleST.widget()}));
    layout->addWidget(chkManualOSKExtCtrl.widget());
    QVBoxLayout* autoSetup = column(fraAutoAmplitudeSetup.container());
    autoSetup->addWidget(chkAutoASFEnable.widget());
    autoSetup->addWidget(chkLoadARRIOU.widget());
    autoSetup->addLayout(row({lblIncDecSize.widget(), cmbASKIncDecSize.widget()}));
    fitChars(txtASKRR, 9);
    autoSetup->addLayout(row({lblASKRR.widget(), txtASKRR.widget(), lblns(0).widget()}));
    layout->addWidget(fraAutoAmplitudeSetup.widget());
}

void frmFreqAndSweep::placeAuxFrame()
{
    QVBoxLayout* layout = column(fraOtherSrcs.container());
    fitChars(txtOutFreqST, 13);
    fitChars(txtPhOSpinStepST, 3);
    fitChars(txtPhaseOffsetST, 7);
    vscPhaseOSpinST.widget()->setFixedSize(kSpinWidth, txtPhaseOffsetST.widget()->sizeHint().height());
    layout->addLayout(row({lblOutFreqST.widget(), txtOutFreqST.widget(), lblMHzST.widget()}));
    layout->addLayout(row({lblPhaseOffsetST.widget(), txtPhOSpinStepST.widget(), vscPhaseOSpinST.widget(),
                           txtPhaseOffsetST.widget(), lblDegST.widget()}));
}

void frmFreqAndSweep::placeSweepWordFrames()
{
    struct Word {
        ui::Frame* frame;
        QString limitLabel;
        ui::TextBox* limit;
        QString stepLabel;
        ui::TextBox* step;
        QString unitText;
    };
    const QString mhz = QStringLiteral("MHz");
    const QString deg = QStringLiteral("Deg");
    const QString rising = QStringLiteral("Rising Step Size:");
    const QString falling = QStringLiteral("Falling Step Size:");
    const Word words[] = {
        {&fraSweepWord0(0), QStringLiteral("Sweep Frequency 0:"), &txtLSSweepFreq0, rising, &txtLSRisingDFW0,
         mhz},
        {&fraSweepWord1(0), QStringLiteral("Sweep Frequency 1:"), &txtLSSweepFreq1, falling,
         &txtLSFallingDFW1, mhz},
        {&fraSweepWord0(1), QStringLiteral("Sweep Phase 0:"), &txtLSSweepPhase0, rising, &txtLSRisingDPW0,
         deg},
        {&fraSweepWord1(1), QStringLiteral("Sweep Phase 1:"), &txtLSSweepPhase1, falling, &txtLSFallingDPW1,
         deg},
        {&fraSweepWord0(2), QStringLiteral("Sweep ASF 0:"), &txtLSSweepAmp0, rising, &txtLSRisingDAW0, {}},
        {&fraSweepWord1(2), QStringLiteral("Sweep ASF 1:"), &txtLSSweepAmp1, falling, &txtLSFallingDAW1, {}},
    };
    for (const Word& word : words) {
        QVBoxLayout* layout = column(word.frame->container());
        fitChars(*word.limit, 12);
        fitChars(*word.step, 12);
        layout->addWidget(new QLabel(word.limitLabel));
        layout->addLayout(row({word.limit->widget(), unit(word.unitText)}));
        layout->addWidget(new QLabel(word.stepLabel));
        layout->addLayout(row({word.step->widget(), unit(word.unitText)}));
    }
}

void frmFreqAndSweep::placeSweepFrame()
{
    ui::Frame& frame = fraLinSwpSetup(0);
    auto* grid = new QGridLayout(frame.container());
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    grid->addWidget(optSweepDwn.widget(), 0, 0);
    grid->addWidget(optSweepUp.widget(), 0, 1);
    grid->addWidget(chkClrFreqAccum.widget(), 1, 0, 1, 2);
    grid->addWidget(chkAutoClrFreqAccum.widget(), 2, 0, 1, 2);
    grid->addWidget(chkLoadSRRonIOUD.widget(), 3, 0, 1, 2);
    grid->addWidget(lblLSDest.widget(), 4, 0);
    grid->addWidget(chkLSHold.widget(), 4, 1);
    lstLSDest.widget()->setFixedHeight(48);
    grid->addWidget(lstLSDest.widget(), 5, 0, 2, 1);
    grid->addWidget(chkLSNoDwellLow.widget(), 5, 1);
    grid->addWidget(chkLSNoDwellHigh.widget(), 6, 1);
    grid->addWidget(chkEnLinSweep.widget(), 7, 0, 1, 2);
    fitChars(txtLSRisingRR, 9);
    fitChars(txtLSFallingRR, 9);
    grid->addWidget(lblLSRisingRR.widget(), 8, 0);
    grid->addLayout(row({txtLSRisingRR.widget(), lblns(1).widget()}), 8, 1);
    grid->addWidget(lblLSFallingRR.widget(), 9, 0);
    grid->addLayout(row({txtLSFallingRR.widget(), lblns(2).widget()}), 9, 1);
    placeSweepWordFrames();
    // The three views of each word share one place; SetGUISweepType shows one of them.
    auto* word0 = new QStackedLayout;
    auto* word1 = new QStackedLayout;
    word0->setStackingMode(QStackedLayout::StackAll);
    word1->setStackingMode(QStackedLayout::StackAll);
    for (int k = 0; k < 3; ++k) {
        word0->addWidget(fraSweepWord0(k).widget());
        word1->addWidget(fraSweepWord1(k).widget());
    }
    grid->addLayout(word0, 10, 0);
    grid->addLayout(word1, 10, 1);
    imgLSFinished.widget()->setFixedSize(12, 12);
    grid->addLayout(row({imgLSFinished.widget(), lblLSFinished.widget()}), 11, 0, 1, 2);
    grid->setRowStretch(12, 1);
}

void frmFreqAndSweep::buildUi(QWidget* window)
{
    QFont font = window->font();
    font.setPointSize(8);
    window->setFont(font);
    placeOSKFrame();
    placeAuxFrame();
    placeSweepFrame();
    QVBoxLayout* message = column(fraMsg.container());
    message->addWidget(lblModeMsg.widget());

    place(fraFTW.widget(), window, 120, 120, 3975, 2895);
    place(fraOtherSrcs.widget(), window, 8640, 120, 3975, 1095);
    place(fraMsg.widget(), window, 120, 4320, 3975, 975);
    place(fraLinSwpSetup(0).widget(), window, 4200, 120, 4335, 5295);
    place(pbxLoadBtn.widget(), window, 0, 0, 1815, 495);
    sweep::placeLoadButton(pbxLoadBtn.container(), pbxLoadBtn.widget()->size(), lblLoadFlash, cmdLoad);
    window->setMinimumSize(0, 0);
}
