// The debug window's layout: the register rows with their buttons, the serial-port lamps and the
// engineering buttons on the left; the port line groups and the DUT flag lamps on the right.

#include "debug/frm_debug.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include <initializer_list>

namespace {

constexpr int kLampSize = 12;

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
