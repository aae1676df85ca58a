// The debug window's engineering buttons: the manual I/O update, clearing the CCI overflow, the RAM fill
// test and dump, the simulator's input files, the FIFO debug and RAM test windows and the watchdog test.

#include "debug/frm_debug.h"

#include "board/board_flags.h"
#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "board/hourglass.h"
#include "board/ram_file.h"
#include "board/regmap_file.h"
#include "board/system_clock.h"
#include "board/utility.h"
#include "boardui/form_names.h"
#include "shell/frm_control.h"

#include "platform/os/files.h"
#include "platform/os/program_folder.h"
#include "platform/runtime/numeric_text.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <QDir>

namespace {

constexpr int16_t kClearCCIBit = 21;
const QString kCrLf = QStringLiteral("\r\n");

QString inProgramFolder(const QString& fileName)
{
    return QDir(os::programFolder()).filePath(fileName);
}

// The system clock line of the simulator's parameter file (Hz), when the Control window's clock is a
// number above 0.
std::optional<QString> simulatorClockLine()
{
    if (!systemClock().usable())
        return std::nullopt;
    return simParmClockHz(SysClockText());
}

} // namespace

void frmDebug::cmdSendUpdate_Click()
{
    if (!goEvalBd)
        return;
    goEvalBd->setREGUD(1);
    goEvalBd->USBWritePortBuffVal(kPortE);
    goEvalBd->setREGUD(0);
    goEvalBd->USBWritePortBuffVal(kPortE);
}

void frmDebug::cmdClearCIC_Click()
{
    if (!goEvalBd)
        return;
    cZR4470XEvalBd& bd = *goEvalBd;
    bd.SetRegMapBitValue(0, kCFR1, kClearCCIBit, 1);
    bd.USBSerialLoadPKT(kCFR1, bd.GetRegMapValue(0, kCFR1));
    bd.StrobeREGUD();
    bd.SetRegMapBitValue(1, kCFR1, kClearCCIBit, 0);
    bd.SetRegMapBitValue(0, kCFR1, kClearCCIBit, 0);
    ui::Forms::callIfLoaded(formnames::frmControl, formnames::RefreshFormVals);
}

void frmDebug::cmdFillRAM_Click()
{
    ebFillRAMTest();
}

void frmDebug::cmdRAMReadTest_Click()
{
    // The dump replaces the file only when the whole RAM was read and written out; an older dump stays.
    const QString path = inProgramFolder(QStringLiteral("RAMDump.txt"));
    switch (ebDumpRAMToFile(path, kRamFormatBinary)) {
    case RamDumpResult::Done:
        break;
    case RamDumpResult::ReadFailed:
        ui::MsgBox(QStringLiteral("The RAM could not be dumped!") + kCrLf + path +
                       QStringLiteral(" was not written."),
                   ui::vbExclamation, QStringLiteral("FULL RAM DUMP"));
        break;
    case RamDumpResult::NotWritten:
        ui::MsgBox(QStringLiteral("The RAM dump file could not be written:") + kCrLf + path,
                   ui::vbExclamation, QStringLiteral("FULL RAM DUMP"));
        break;
    }
}

void frmDebug::cmdSimulate_Click()
{
    // Both files go side by side into the program folder, whatever the current folder is.
    const std::optional<QString> clockHz = simulatorClockLine();
    if (!clockHz) {
        ui::MsgBox(QStringLiteral("The System Clock is not a number greater than 0!") + kCrLf +
                       QStringLiteral("RegMapFile.txt and SimParmFile.txt were not written."),
                   ui::vbExclamation, QStringLiteral("SIMULATE"));
        return;
    }
    // The register-map text says itself why it could not be had.
    const QString regMapPath = inProgramFolder(QStringLiteral("RegMapFile.txt"));
    const std::optional<QByteArray> regMap = regMapFileText(regMapPath, true);
    if (!regMap)
        return;
    HourglassPointer hourglass;
    const QString parmPath = inProgramFolder(QStringLiteral("SimParmFile.txt"));
    const QString parm = QStringLiteral("RegMapFile.txt") + kCrLf + *clockHz + kCrLf;
    // The simulator reads the two as one set: both are replaced, or neither is.
    if (!os::writeFilesTogether({{regMapPath, *regMap}, {parmPath, parm.toLatin1()}}))
        ui::MsgBox(QStringLiteral("The files could not be written:") + kCrLf + regMapPath + kCrLf + parmPath,
                   ui::vbExclamation, QStringLiteral("SIMULATE"));
}

void frmDebug::cmdFIFODebug_Click()
{
    ui::Forms::showByName(formnames::frmFIFODebug);
}

void frmDebug::cmdRAMDebug_Click()
{
    ui::Forms::showByName(formnames::frmRAMDebug);
}

// ---- watchdog test ----

void frmDebug::cmdResetandWriteReg_Click()
{
    struct Reenable {
        ui::CommandButton& button;
        ~Reenable() { button.setEnabled(true); }
    } reenable{cmdResetandWriteReg};
    cmdResetandWriteReg.setEnabled(false);

    if (!gbBoardConnected || !goEvalBd) {
        ui::MsgBox(QStringLiteral("Connect an evaluation board for this feature!!!"), ui::vbExclamation);
        return;
    }
    double delay = 0.0;
    const bool useDelay = chkWDTDelay.Value() == 1;
    if (useDelay) {
        if (!rt::IsNumeric(txtWDTDelay.Text())) {
            ui::MsgBox(QStringLiteral("Invalid delay value! Aborting opperation!"));
            return;
        }
        delay = static_cast<float>(rt::CDbl(txtWDTDelay.Text())) / 1000.0;
    }
    cZR4470XEvalBd& bd = *goEvalBd;
    const QString savedCfr3 = bd.GetRegMapValue(0, kCFR3);
    bd.SetRegMapBitValue(0, kWDT, 0, 1);
    const QString wdt = bd.GetRegMapValue(0, kWDT);
    bd.StrobeReset();
    bd.USBSerialLoadPKT(kCFR3, savedCfr3);
    bd.SetRegMapValue(0, kCFR3, savedCfr3);
    bd.StrobeREGUD();
    if (useDelay)
        Pause(delay, true);
    bd.USBSerialLoadPKT(kWDT, wdt);
    const QString result = bd.USBSerialReadPKT(kWDT);
    ui::Forms::callIfLoaded(formnames::frmControl, formnames::RefreshFormVals);
    ui::MsgBox(QStringLiteral("WDT Event Indicator = ") + result.left(1));
    ui::Forms::callIfLoaded(formnames::frmWatchDogTmr, formnames::RefreshFormVals);
}
