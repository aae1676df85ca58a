// The debug window's design: captions, first texts and tool tips, and the layout: the register rows with
// their buttons, the serial-port lamps and the engineering buttons on the left; the port line groups and
// the DUT flag lamps on the right.

#include "debug/frm_debug.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include <array>
#include <initializer_list>

namespace {

constexpr int kLampSize = 12;

constexpr std::array<const char*, 8> kBitRanges = {"<7:0>",   "<15:8>",  "<23:16>", "<31:24>",
                                                   "<39:32>", "<47:40>", "<55:48>", "<63:56>"};
constexpr std::array<const char*, 6> kPortACaptions = {"USB_Status", "CSB",       "I/O Reset",
                                                       "Reset DUT",  "ExtPwrDwn", "ISFC"};
// The profile-pin boxes are captioned one higher than the lines they drive ("P1" drives P0).
constexpr std::array<const char*, 8> kPortECaptions = {"P1",         "P2",     "P3",    "OSK",
                                                       "I/O Update", "LSHOLD", "LSCTL", "I/OUpdateEn"};
struct FlagLamp {
    int bit;
    const char* caption;
};
constexpr std::array<FlagLamp, 5> kFlagLamps = {{{3, "Linear Sweep Over"},
                                                 {4, "RAM Sweep Over"},
                                                 {5, "Sync Sample Error"},
                                                 {6, "PLL Lock"},
                                                 {7, "CCI Over Flow"}}};

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    layout->setSpacing(4);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    layout->addStretch(1);
    return layout;
}

QVBoxLayout* frameColumn(QWidget* container)
{
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(2);
    return layout;
}

// A port group: its boxes in two columns, then Apply and Auto Apply.
void portGroup(ui::Frame& frame, ui::ControlArray<ui::CheckBox>& boxes, ui::CommandButton& apply,
               ui::CheckBox& autoApply, QWidget* extra = nullptr)
{
    QVBoxLayout* column = frameColumn(frame.container());
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    const int rows = (boxes.Count() + 1) / 2;
    for (ui::CheckBox& box : boxes)
        grid->addWidget(box.widget(), box.Index() % rows, box.Index() / rows);
    column->addLayout(grid);
    if (extra)
        column->addWidget(extra);
    column->addLayout(row({apply.widget(), autoApply.widget()}));
}

} // namespace

void frmDebug::setDesignProperties()
{
    for (const FlagLamp& lamp : kFlagLamps) {
        imgDUTFlagsPD.add(lamp.bit);
        lblDUTFlagsPD.add(lamp.bit);
    }
    setCaption(QStringLiteral("Debug"));
    lblRegAddr(0).setCaption(QStringLiteral("Reg Addr:"));
    for (int i = 0; i < kByteRows; ++i) {
        lblBitRange(i).setCaption(QString::fromLatin1(kBitRanges[static_cast<size_t>(i)]));
        lblHex(i).setCaption(QStringLiteral("Hex"));
        txtByte(i).setMaxLength(8);
        txtByte(i).setText(QStringLiteral("00000000"));
        txtHexDataByte(i).setMaxLength(2);
        txtHexDataByte(i).setText(QStringLiteral("00"));
    }
    cmdLoadReg.setCaption(QStringLiteral("Load Reg"));
    cmdReadReg.setCaption(QStringLiteral("Read Reg"));
    chkAutoUpdate.setCaption(QStringLiteral("Auto I/O Update"));
    chkAutoUpdate.setValue(1);
    cmdSendUpdate.setCaption(QStringLiteral("I/O Update"));
    cmdSendUpdate.setToolTipText(QStringLiteral("Performs a manual Reg Update."));

    fraMisc.setCaption(QStringLiteral("Misc"));
    cmdResetandWriteReg.setCaption(QStringLiteral("WDT Test"));
    chkWDTDelay.setCaption(QStringLiteral("Use Delay"));
    txtWDTDelay.setText(QStringLiteral("5000"));
    lblWDTDelay.setCaption(QStringLiteral("ms"));
    cmdClearCIC.setCaption(QStringLiteral("Clear CCI"));
    cmdClearCIC.setToolTipText(QStringLiteral("Sets and load the clear CIC bit."));

    fraPA.setCaption(QStringLiteral("DUT Signals (PA)"));
    for (int i = 0; i < chkPAIO.Count(); ++i)
        chkPAIO(i).setCaption(QString::fromLatin1(kPortACaptions[static_cast<size_t>(i)]));
    chkFlashUSBStatus.setCaption(QStringLiteral("Flash"));
    fraPE.setCaption(QStringLiteral("DUT Signals (PE)"));
    for (int i = 0; i < chkPEIO.Count(); ++i)
        chkPEIO(i).setCaption(QString::fromLatin1(kPortECaptions[static_cast<size_t>(i)]));
    fraCTL.setCaption(QStringLiteral("DUT Signals (CTL)"));
    chkCTLIO(0).setCaption(QStringLiteral("SCLK"));
    for (ui::CommandButton* apply : {&cmdApplyPA, &cmdApplyPE, &cmdApplyCTL})
        apply->setCaption(QStringLiteral("Apply"));
    for (ui::CheckBox* autoApply : {&chkPAAutoApply, &chkPEAutoApply, &chkCTLAutoApply}) {
        autoApply->setCaption(QStringLiteral("Auto Apply"));
        autoApply->setValue(1);
    }

    fraDUTFlags.setCaption(QStringLiteral("DUT Flags (PD)"));
    for (const FlagLamp& lamp : kFlagLamps)
        lblDUTFlagsPD(lamp.bit).setCaption(QString::fromLatin1(lamp.caption));
    cmdReadDUTFlags.setCaption(QStringLiteral("Read"));
    lblSerialPortStatus.setCaption(QStringLiteral("Serial Port Status"));
    lbl3WireMode.setCaption(QStringLiteral("3-Wire Mode"));
    lblLSBFirst.setCaption(QStringLiteral("LSB First"));

    cmdFillRAM.setCaption(QStringLiteral("Fill RAM 0 to 1023"));
    cmdRAMReadTest.setCaption(QStringLiteral("FULL RAM DUMP"));
    cmdRAMReadTest.setToolTipText(QStringLiteral(
        "Dumps the RAM to a file named RAMDump.txt in the folder that the Eval Software is installed into."));
    cmdSimulate.setCaption(QStringLiteral("SIMULATE"));
    cmdFIFODebug.setCaption(QStringLiteral("FIFO Debug Window..."));
    cmdRAMDebug.setCaption(QStringLiteral("RAM I/O Window"));
}

void frmDebug::buildUi(QWidget* window)
{
    auto* top = new QHBoxLayout(window);
    top->setContentsMargins(6, 6, 6, 6);
    top->setSpacing(8);

    // ---- left: registers, serial-port status, engineering buttons ----
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    // Wide enough for the longest register name with its drop-down arrow.
    QWidget* regList = cmbRegAddr.widget();
    regList->setMinimumWidth(regList->fontMetrics().horizontalAdvance(QStringLiteral("GPIO Config - 18H")) +
                             40);
    left->addLayout(row({lblRegAddr(0).widget(), regList}));
    auto* bytes = new QGridLayout;
    bytes->setHorizontalSpacing(4);
    bytes->setVerticalSpacing(2);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int i = 0; i < kByteRows; ++i) {
        const int at = kByteRows - 1 - i; // the most significant byte on top
        txtByte(i).setFont(fixed);
        txtHexDataByte(i).setFont(fixed);
        txtByte(i).widget()->setFixedWidth(80);
        txtHexDataByte(i).widget()->setFixedWidth(32);
        bytes->addWidget(lblBitRange(i).widget(), at, 0);
        bytes->addWidget(txtByte(i).widget(), at, 1);
        bytes->addWidget(lblHex(i).widget(), at, 2);
        bytes->addWidget(txtHexDataByte(i).widget(), at, 3);
    }
    bytes->setColumnStretch(4, 1);
    left->addLayout(bytes);
    left->addLayout(row({cmdLoadReg.widget(), cmdReadReg.widget()}));
    left->addLayout(row({chkAutoUpdate.widget(), cmdSendUpdate.widget()}));

    for (ui::Image* lamp : {&img3WireMode, &imgLSBFirst})
        lamp->widget()->setFixedSize(kLampSize, kLampSize);
    left->addSpacing(4);
    left->addWidget(lblSerialPortStatus.widget());
    left->addLayout(row({img3WireMode.widget(), lbl3WireMode.widget()}));
    left->addLayout(row({imgLSBFirst.widget(), lblLSBFirst.widget()}));

    {
        QVBoxLayout* misc = frameColumn(fraMisc.container());
        misc->addWidget(cmdResetandWriteReg.widget());
        txtWDTDelay.widget()->setFixedWidth(50);
        misc->addLayout(row({chkWDTDelay.widget(), txtWDTDelay.widget(), lblWDTDelay.widget()}));
        misc->addWidget(cmdClearCIC.widget());
        left->addWidget(fraMisc.widget());
    }
    left->addSpacing(4);
    for (ui::CommandButton* button :
         {&cmdFillRAM, &cmdRAMReadTest, &cmdSimulate, &cmdFIFODebug, &cmdRAMDebug})
        left->addWidget(button->widget());
    left->addStretch(1);
    top->addLayout(left);

    // ---- right: port lines and DUT flags ----
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    portGroup(fraPA, chkPAIO, cmdApplyPA, chkPAAutoApply, chkFlashUSBStatus.widget());
    portGroup(fraPE, chkPEIO, cmdApplyPE, chkPEAutoApply);
    portGroup(fraCTL, chkCTLIO, cmdApplyCTL, chkCTLAutoApply);
    {
        QVBoxLayout* flags = frameColumn(fraDUTFlags.container());
        for (ui::Image& lamp : imgDUTFlagsPD) {
            lamp.widget()->setFixedSize(kLampSize, kLampSize);
            flags->addLayout(row({lamp.widget(), lblDUTFlagsPD(lamp.Index()).widget()}));
        }
        flags->addLayout(row({cmdReadDUTFlags.widget()}));
    }
    for (ui::Frame* frame : {&fraPA, &fraPE, &fraCTL, &fraDUTFlags})
        right->addWidget(frame->widget());
    right->addStretch(1);
    top->addLayout(right, 1);
}
