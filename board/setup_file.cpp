// Saving and loading setup files against the board, the register maps and the system clock's external clock.

#include "board/setup_file.h"

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/hourglass.h"
#include "board/progress.h"
#include "board/setup_file_format.h"
#include "board/system_clock.h"
#include "board/utility.h"

#include "board/message_sink.h"
#include "platform/os/files.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const QString kSaveTitle = QStringLiteral("Save Setup File");
// Larger files are not setup files; they are refused before being read whole.
constexpr qint64 kMaxSetupFileBytes = 64 * 1024;

// The progress bar reset on every way out (the hourglass is HourglassPointer's).
class ProgressReset {
public:
    ProgressReset() = default;
    ~ProgressReset() { ResetProgressBar(); }
    ProgressReset(const ProgressReset&) = delete;
    ProgressReset& operator=(const ProgressReset&) = delete;
};

void saveFailed(const QString& prompt)
{
    boardmsg::MsgBox(prompt, boardmsg::vbExclamation, kSaveTitle);
}

} // namespace

bool ebSaveSetupFile(const QString& path)
{
    DoEventsN(10);
    cZR4470XEvalBd* board = goEvalBd;
    if (board == nullptr)
        return false;
    const bool connected = goEZUSB().IsConnected();
    HourglassPointer pointer;
    ProgressReset progress;

    // Everything is gathered first, so that a failure leaves no half-written file behind.
    SetupFileContents contents;
    InitProgressBar(0, 21, QStringLiteral("Saving Setup..."));
    for (int16_t address : setupFileRegisters()) {
        if (address <= 0x15)
            SetProgressBarValue(address);
        const QString bits = connected ? board->USBSerialReadPKT(address) : board->GetRegMapValue(1, address);
        if (bits.isEmpty()) {
            saveFailed(QStringLiteral("Unable to read register %1h from the evaluation board.\n"
                                      "The setup file was not saved.")
                           .arg(QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0')).toUpper()));
            return false;
        }
        contents.rows.push_back({address, bits});
    }

    const QString clockText = systemClock().externalClockText();
    double clock = 0;
    try {
        clock = rt::CDbl(clockText);
    } catch (const rt::RuntimeError&) {
        clock = NAN;
    }
    if (!std::isfinite(clock)) {
        saveFailed(QStringLiteral("The external clock \"%1\" is not a number.\nThe setup file was not saved.")
                       .arg(clockText));
        return false;
    }
    contents.externalClock = clock;
    contents.lines = {board->ExtPD(), board->ISFC(), board->OSK(), board->P2(), board->P1(), board->P0()};

    if (!os::writeWholeFile(path, writeSetupFileText(contents))) {
        saveFailed(QStringLiteral("Unable to create the setup file\n%1").arg(path));
        return false;
    }
    return true;
}

int16_t ebLoadSetupFile(const QString& path)
{
    DoEventsN(10);
    cZR4470XEvalBd* board = goEvalBd;
    if (board == nullptr)
        return kSetupBadFile;
    const bool connected = goEZUSB().IsConnected();
    const int16_t revision = board->SiliconRev();
    if (connected && revision == 0)
        return kSetupNoChip;

    HourglassPointer pointer;
    QByteArray data;
    {
        QFile file(path);
        if (!os::openRegularFile(file) || file.size() > kMaxSetupFileBytes)
            return kSetupBadFile;
        data = file.read(kMaxSetupFileBytes + 1);
        if (data.size() > kMaxSetupFileBytes)
            return kSetupBadFile;
    }

    auto loadedOnThisChip = [revision](int16_t address) { return address < 0x16 || revision >= 3; };
    SetupFileParse parse;
    {
        ProgressReset progress;
        InitProgressBar(0, 15, QStringLiteral("Reading File Data"));
        // A file saved on the other silicon revision carries that revision's width for a register whose
        // width differs (0x18: 8 bits on revision 1/2, 16 on revision 3): such a row is skipped and the
        // rest of the file loads, so settings saved on one revision are not lost on the other.
        const int16_t otherRevision = revision == 1 || revision == 2 ? 3 : 2;
        parse = parseSetupFile(data, [board, &loadedOnThisChip, otherRevision](int16_t address) {
            SetupRowWidths widths;
            const int here = board->GetRegLength(address);
            const int there = cZR4470XEvalBd::RegLengthOn(otherRevision, address);
            widths.load = loadedOnThisChip(address) ? here : 0;
            widths.otherRevision = there != here ? there : 0;
            return widths;
        });
        if (!parse.contents)
            return kSetupBadFile;
        SetProgressBarValue(static_cast<int32_t>(std::min<size_t>(parse.contents->rows.size(), 15)));
    }
    const SetupFileContents& contents = *parse.contents;

    bool chipRefused = false;
    {
        ProgressReset progress;
        InitProgressBar(0, 21, QStringLiteral("Loading..."));
        for (size_t k = 0; k < contents.rows.size(); ++k) {
            SetProgressBarValue(static_cast<int32_t>(k));
            const SetupFileRow& row = contents.rows[k];
            if (connected) {
                if (board->USBSerialLoadPKT(row.address, row.bits) != 0)
                    chipRefused = true;
                board->SetRegMapValue(0, row.address, row.bits);
            } else {
                board->SetRegMapValue(0, row.address, row.bits);
                board->SetRegMapValue(1, row.address, row.bits);
            }
        }
        board->USBResetFIFO();
        if (connected)
            board->StrobeREGUD();
    }

    systemClock().setExternalClockText(rt::Format(contents.externalClock, QStringLiteral("0.00000")));

    const auto& lines = contents.lines;
    board->setExtPD(lines[kSetupExtPD]);
    board->setISFC(lines[kSetupISFC]);
    board->setOSK(lines[kSetupOSK]);
    board->setP2(lines[kSetupP2]);
    board->setP1(lines[kSetupP1]);
    board->setP0(lines[kSetupP0]);
    board->USBWritePortBuffVal(kPortA);
    board->USBWritePortBuffVal(kPortE);
    return chipRefused ? kSetupChipWriteFailed : kSetupLoaded;
}
