#include "debug/frm_fifo_debug.h"

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/text_util.h"
#include "boardui/form_names.h"
#include "shell/frm_graphics.h"
#include "shell/mdi_main.h"
#include "shell/refresh_key_preview.h"
#include "shell/register_window.h"

#include "platform/ui/forms.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

namespace {

void setBit(uint8_t& byte, int bit, bool on)
{
    byte = static_cast<uint8_t>(on ? (byte | (1U << bit)) : (byte & ~(1U << bit)));
}

} // namespace

frmFIFODebug::frmFIFODebug() : Form(FormName)
{
    setMdiChild(true);
    setCaption(QStringLiteral("FIFO Debug"));
    chkCTLIO.add(kWclkBit);

    fraCtrlLines.setCaption(QStringLiteral("Ctrl Lines (PC)"));
    const char* lineCaptions[kPortCLines] = {"FIFO_LDB",   "FIFO_WENB",  "Transmit",
                                             "Retransmit", "FIFO_Reset", "CPLD_Reset"};
    for (int i = 0; i < kPortCLines; ++i)
        chkPCIO(i).setCaption(QString::fromLatin1(lineCaptions[i]));
    chkCTLIO(kWclkBit).setCaption(QStringLiteral("FIFO WCLK"));
    chkAutoApply.setCaption(QStringLiteral("Auto Apply"));
    chkAutoApply.setValue(1);
    cmdApply.setCaption(QStringLiteral("APPLY"));
    cmdApply.setToolTipText(QStringLiteral("Applys changes to above eval board lines"));

    fraFlagStatus.setCaption(QStringLiteral("FIFO Flag Status"));
    imgFIFOFlags(0).setToolTipText(QStringLiteral("State of  FIFO Programmable Almost Empty Flag Pin"));
    imgFIFOFlags(1).setToolTipText(QStringLiteral("State of  FIFO Programmable Almost Full Flag Pin"));
    lblFIFOFlags(0).setCaption(QStringLiteral("Prog. Almost Empty"));
    lblFIFOFlags(1).setCaption(QStringLiteral("Prog. Almost Full"));
    cmRefresh.setCaption(QStringLiteral("Refresh"));
    cmRefresh.setToolTipText(QStringLiteral("Refresh Flag Status"));

    fraFifoReset.setCaption(QStringLiteral("FIFO Reset"));
    cmdTestForFIFO.setCaption(QStringLiteral("Test For FIFO"));
    cmdTestForFIFO.setToolTipText(QStringLiteral("Attempts to detect the a FIFO on the Evaluation Board"));
    cmdFifoReset.setCaption(QStringLiteral("Reset"));
    cmdFifoReset.setToolTipText(QStringLiteral("Resets the FIFO and gets it ready a data transfer"));

    chkRetransmit.setCaption(QStringLiteral("Loop Transmistion"));
    chkTransmitData.setCaption(QStringLiteral("Transmit FIFO Data"));

    // Each box carries the wording of the offset it supplies: the first word programs almost empty.
    fraProgFlags.setCaption(QStringLiteral("Programmable FIFO Flags"));
    lblPAE.setCaption(QStringLiteral("Programmable Almost Empty:"));
    txtPAE.setToolTipText(QStringLiteral("Programmable Almost Empty Flag Trip Point"));
    txtPAE.setText(kDefaultEmptyTrip);
    lblPAF.setCaption(QStringLiteral("Programmable Almost Full:"));
    txtPAF.setToolTipText(QStringLiteral("Programmable Almost Full Flag Trip Point"));
    txtPAF.setText(kDefaultFullTrip);
    cmdProgramFlags.setCaption(QStringLiteral("Program Flags"));
    cmdProgramFlags.setToolTipText(QStringLiteral("Program the FIFO flags"));

    fraRawData.setCaption(QStringLiteral("Write RAW Data to the FIFO"));
    Command1.setCaption(QStringLiteral("Fill FIFO with Data (0 - 65535)"));
    Command1.setToolTipText(QStringLiteral("Writes data to the FIFO that increments from 0 to 65535"));
    lblFIFOFile.setCaption(QStringLiteral("Choose FIFO File:"));
    cmdSelFIFOFile.setCaption(QStringLiteral("..."));
    cmdSelFIFOFile.setToolTipText(QStringLiteral("Choose FIFO file to load"));
    cmdLoadFIFOFile.setCaption(QStringLiteral("LOAD FIFO"));
    cmdLoadFIFOFile.setToolTipText(QStringLiteral("Load the FIFO file into the FIFO"));
    cmdLoadFIFOFile.setEnabled(false);
    lblFifoData.setCaption(QStringLiteral("Data to Write To FIFO:"));
    txtFifoData.setToolTipText(QStringLiteral("USB1.1 - 32 Word Limit; USB 2.0 - 256 Word Limit"));
    cmdWriteData.setCaption(QStringLiteral("WRITE"));
    cmdWriteData.setToolTipText(QStringLiteral("Write the data to the FIFO"));
    lblFIFOWordCount.setCaption(QStringLiteral("FIFO Word Count:"));
    FIFOWC.setToolTipText(QStringLiteral("Number of valid words entered into the FIfO Data field"));

    chkPCIO.bind(&ui::CheckBox::Click, this, &frmFIFODebug::chkPCIO_Click);
    chkCTLIO.bind(&ui::CheckBox::Click, this, &frmFIFODebug::chkCTLIO_Click);
    ui::bind(cmdApply.Click, this, &frmFIFODebug::cmdApply_Click);
    ui::bind(cmRefresh.Click, this, &frmFIFODebug::cmRefresh_Click);
    ui::bind(cmdFifoReset.Click, this, &frmFIFODebug::cmdFifoReset_Click);
    ui::bind(cmdTestForFIFO.Click, this, &frmFIFODebug::cmdTestForFIFO_Click);
    ui::bind(cmdProgramFlags.Click, this, &frmFIFODebug::cmdProgramFlags_Click);
    ui::bind(Command1.Click, this, &frmFIFODebug::Command1_Click);
    ui::bind(cmdWriteData.Click, this, &frmFIFODebug::cmdWriteData_Click);
    ui::bind(cmdSelFIFOFile.Click, this, &frmFIFODebug::cmdSelFIFOFile_Click);
    ui::bind(cmdLoadFIFOFile.Click, this, &frmFIFODebug::cmdLoadFIFOFile_Click);
    chkRetransmit.Click = [this] { transmitter_.loopClicked(); };
    chkTransmitData.Click = [this] { transmitter_.transmitClicked(); };
    for (ui::TextBox* box : {&txtPAE, &txtPAF})
        box->KeyPress = [](int& key) {
            key = KeyFilterNumeric2(key);
            if (key == ' ')
                key = 0;
        };
    ui::bind(txtPAE.Validate, this, &frmFIFODebug::txtPAE_Validate);
    ui::bind(txtPAF.Validate, this, &frmFIFODebug::txtPAF_Validate);
    txtFifoData.KeyPress = [](int& key) { key = KeyFilterHex(key); };
    ui::bind(txtFifoData.Change, this, &frmFIFODebug::txtFifoData_Change);
    txtFIFOFile.setText(QString());
    txtFifoData.setText(QStringLiteral("0003FE00 0000001F 0003FE00 0000001F"));

    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
    registerProc(formnames::RefreshFIFOFlags, [this] { RefreshFIFOFlags(); });
}

void frmFIFODebug::buildUi(QWidget* window)
{
    auto* lines = new QGridLayout(fraCtrlLines.container());
    for (int i = 0; i < kPortCLines; ++i)
        lines->addWidget(chkPCIO(i).widget(), i % 3, i / 3);
    lines->addWidget(chkCTLIO(kWclkBit).widget(), 3, 0);
    lines->addWidget(chkAutoApply.widget(), 4, 0);
    lines->addWidget(cmdApply.widget(), 4, 1);

    auto* flags = new QGridLayout(fraFlagStatus.container());
    for (int i = 0; i < 2; ++i) {
        flags->addWidget(imgFIFOFlags(i).widget(), i, 0);
        flags->addWidget(lblFIFOFlags(i).widget(), i, 1);
    }
    flags->addWidget(cmRefresh.widget(), 2, 0, 1, 2);

    auto* reset = new QVBoxLayout(fraFifoReset.container());
    reset->addWidget(cmdTestForFIFO.widget());
    reset->addWidget(cmdFifoReset.widget());

    auto* trips = new QGridLayout(fraProgFlags.container());
    trips->addWidget(lblPAE.widget(), 0, 0);
    trips->addWidget(txtPAE.widget(), 0, 1);
    trips->addWidget(lblPAF.widget(), 1, 0);
    trips->addWidget(txtPAF.widget(), 1, 1);
    trips->addWidget(cmdProgramFlags.widget(), 2, 0, 1, 2);

    auto* raw = new QGridLayout(fraRawData.container());
    raw->addWidget(Command1.widget(), 0, 0, 1, 3);
    raw->addWidget(lblFIFOFile.widget(), 1, 0);
    raw->addWidget(txtFIFOFile.widget(), 1, 1);
    raw->addWidget(cmdSelFIFOFile.widget(), 1, 2);
    raw->addWidget(cmdLoadFIFOFile.widget(), 2, 1);
    raw->addWidget(lblFifoData.widget(), 3, 0);
    raw->addWidget(txtFifoData.widget(), 3, 1);
    raw->addWidget(cmdWriteData.widget(), 3, 2);
    raw->addWidget(lblFIFOWordCount.widget(), 4, 0);
    raw->addWidget(FIFOWC.widget(), 4, 1);
    txtFifoData.widget()->setMinimumWidth(300);

    auto* lamps = new QHBoxLayout;
    lamps->addWidget(chkRetransmit.widget());
    lamps->addWidget(chkTransmitData.widget());
    lamps->addStretch(1);

    auto* grid = new QGridLayout(window);
    grid->addWidget(fraCtrlLines.widget(), 0, 0);
    grid->addWidget(fraFlagStatus.widget(), 0, 1);
    grid->addWidget(fraFifoReset.widget(), 0, 2);
    grid->addLayout(lamps, 1, 0, 1, 2, Qt::AlignTop);
    grid->addWidget(fraProgFlags.widget(), 1, 2);
    grid->addWidget(fraRawData.widget(), 2, 0, 1, 3);
}

frmFIFODebug::~frmFIFODebug() = default;

void frmFIFODebug::Form_Load()
{
    bRefreshing_ = false;
    keyPreview_ =
        std::make_unique<regwin::RefreshKeyPreview>(*this, [this](int& key) { Form_KeyPress(key); });
    RefreshFormVals();
}

void frmFIFODebug::Form_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::kKeyAsciiCtrlR) {
        keyAscii = 0;
        RefreshFormVals();
    }
}

void frmFIFODebug::Form_QueryUnload(int& cancel, int unloadMode)
{
    // A transmission's poll still runs inside this window: it closes once the poll has ended.
    if (transmitter_.polling()) {
        transmitter_.deferWhilePolling([this, unloadMode] { Unload(unloadMode); });
        cancel = 1;
    }
}

void frmFIFODebug::Form_Unload(int& cancel)
{
    (void)cancel;
    keyPreview_.reset();
}

// ---- lines and flags ----

void frmFIFODebug::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    regwin::ScopedFlag refreshing(bRefreshing_);
    // A port that cannot be read shows what the port buffer holds, never every line low: Auto Apply would
    // send that back and hold the FIFO in load and write mode.
    const bool boardSelected = regwin::boardSelected();
    const auto image = [&](int16_t port) {
        const std::optional<uint8_t> fetched = boardSelected ? goEvalBd->FetchPortValue(port) : std::nullopt;
        return fetched.value_or(static_cast<uint8_t>(goEvalBd->USBGetPortBuffVal(port)));
    };
    portCImage_ = image(kPortC);
    ctlImage_ = image(kPortCtl);
    for (int i = 0; i < kPortCLines; ++i)
        chkPCIO(i).setValue((portCImage_ >> i) & 1);
    chkCTLIO(kWclkBit).setValue(goEvalBd->WCLK());
    chkTransmitData.setValue(goEvalBd->TXEnable());
    chkRetransmit.setValue(goEvalBd->RTEnable());
    transmitter_.showLamps();
    RefreshFIFOFlags();
}

void frmFIFODebug::RefreshFIFOFlags()
{
    if (!goEvalBd)
        return;
    const frmGraphics& graphics = ui::form<frmGraphics>();
    imgFIFOFlags(0).setPicture(graphics.imgGreenLed(goEvalBd->FIFO_PAE() == 1 ? 1 : 0).Picture());
    imgFIFOFlags(1).setPicture(graphics.imgGreenLed(goEvalBd->FIFO_PAF() == 1 ? 1 : 0).Picture());
}

void frmFIFODebug::chkPCIO_Click(int index)
{
    if (bRefreshing_)
        return;
    setBit(portCImage_, index, chkPCIO(index).Value() == 1);
    if (chkAutoApply.Value() == 1)
        cmdApply_Click();
}

void frmFIFODebug::chkCTLIO_Click(int index)
{
    if (bRefreshing_)
        return;
    setBit(ctlImage_, index, chkCTLIO(index).Value() == 1);
    if (chkAutoApply.Value() == 1)
        cmdApply_Click();
}

void frmFIFODebug::cmdApply_Click()
{
    if (!goEvalBd)
        return;
    goEvalBd->USBSetPortBuffVal(kPortC, portCImage_);
    goEvalBd->USBWritePortBuffVal(kPortC);
    goEvalBd->USBSetPortBuffVal(kPortCtl, ctlImage_);
    goEvalBd->USBWritePortBuffVal(kPortCtl);
    RefreshFormVals();
}

// ---- reset and detection ----

void frmFIFODebug::cmdFifoReset_Click()
{
    if (!goEvalBd)
        return;
    transmitter_.stop();
    goEvalBd->setCPLD_RESET(1);
    goEvalBd->USBWritePortBuffVal(kPortC);
    goEvalBd->setCPLD_RESET(0);
    goEvalBd->setFIFO_WENB(0);
    goEvalBd->setFIFO_LDB(0);
    goEvalBd->USBWritePortBuffVal(kPortC);
    goEvalBd->setFIFO_RESET(1);
    goEvalBd->USBWritePortBuffVal(kPortC);
    goEvalBd->setFIFO_RESET(0);
    goEvalBd->USBWritePortBuffVal(kPortC);
    goEvalBd->setFIFO_LDB(1);
    goEvalBd->setFIFO_WENB(1);
    goEvalBd->USBWritePortBuffVal(kPortC);
}

void frmFIFODebug::cmdTestForFIFO_Click()
{
    const int answer =
        ui::MsgBox(QStringLiteral("This opperation will Reset the evaluation board?\r\n"
                                  "Do you want to continue?"),
                   ui::vbYesNo | ui::vbExclamation, QStringLiteral("Do you want to continue?"));
    if (answer != ui::vbYes || !goEvalBd)
        return;
    if (goEvalBd->USBDetectFIFO())
        ui::MsgBox(QStringLiteral("FIFO Detected!"), ui::vbOKOnly);
    else
        ui::MsgBox(QStringLiteral("FIFO Not Detected!"), ui::vbOKOnly);
}
