// The RAM data file procedures on the board: load, dump and the fill test.

#include "board/ram_file.h"
#include "board/board_notices.h"
#include "board/chip_registers.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/hourglass.h"
#include "board/message_sink.h"
#include "board/window_services.h"
#include "platform/os/files.h"

namespace {

constexpr int16_t kSegmentRegisterIsfcHigh = kRSR0;
constexpr int16_t kSegmentRegisterIsfcLow = kRSR1;
constexpr int16_t kWrittenMap = 1;
constexpr int16_t kPendingMap = 0;

// CFR1 with RAM enable and single-tone mode, and Profile0 spanning the whole RAM: the fill test's setup.
const QString kFillTestCfr1 = QStringLiteral("10000001000000000000000000000000");
const QString kFillTestProfile0 =
    QStringLiteral("0000100010110101000000001111111111000000000000000000000000000000");

// The segment register of the ISFC line loaded with a range for one transfer, and its written value loaded
// back when the scope ends. The register is the one chosen at the start, even when the line changes
// while queued events run in between.
class RamSegmentScope {
public:
    RamSegmentScope(cZR4470XEvalBd& bd, int words)
        : bd_(&bd), address_(bd.ISFC() == 1 ? kSegmentRegisterIsfcHigh : kSegmentRegisterIsfcLow),
          saved_(bd.GetRegMapValue(kWrittenMap, address_))
    {
        loaded_ = bd_->USBSerialLoadPKT(address_, board::ramSegmentRange(words)) == 0;
        bd_->StrobeREGUD();
    }
    ~RamSegmentScope()
    {
        // Queued events run during a transfer; a board object released meanwhile is left alone.
        if (goEvalBd != bd_)
            return;
        bd_->USBSerialLoadPKT(address_, saved_);
        bd_->StrobeREGUD();
    }
    RamSegmentScope(const RamSegmentScope&) = delete;
    RamSegmentScope& operator=(const RamSegmentScope&) = delete;

    // Whether the range reached the chip (a transfer through another range would land elsewhere).
    bool loaded() const { return loaded_; }

private:
    cZR4470XEvalBd* bd_;
    int16_t address_;
    QString saved_;
    bool loaded_ = false;
};

// The board object when it is there and free for a transfer.
cZR4470XEvalBd* freeBoard()
{
    cZR4470XEvalBd* bd = goEvalBd;
    return bd && !bd->TransferBusy() ? bd : nullptr;
}

bool writeDumpFile(const QString& path, const std::vector<uint32_t>& words, int format)
{
    QByteArray text;
    text.reserve(static_cast<qsizetype>(words.size()) * board::kRamDumpLineBytes);
    for (uint32_t word : words)
        board::appendRamDumpLine(text, word, format);
    // The old file stays whole until the new one is complete.
    return os::writeWholeFile(path, text);
}

} // namespace

int16_t ebLoadRAMFile(const QString& path, int16_t format)
{
    if (path.isEmpty())
        return kRamLoadNoPath;
    HourglassPointer hourglass;
    const board::RamFileContents contents = board::readRamDataFile(path, format);
    if (!contents.ok())
        return kRamLoadFailed;
    // A good file is not called invalid for want of a board; nothing is sent then.
    if (!goEZUSB().IsConnected())
        return kRamLoadNoBoard;
    cZR4470XEvalBd* bd = freeBoard();
    if (!bd)
        return kRamLoadFailed;

    bool loaded = false;
    {
        RamSegmentScope segment(*bd, static_cast<int>(contents.words.size()));
        loaded = segment.loaded() && bd->USBSerialLoadRAM(std::span<const uint32_t>(contents.words));
    }
    boardNotices().RAMFileLoaded();
    return loaded ? kRamLoadDone : kRamLoadFailed;
}

RamDumpResult ebDumpRAMToFile(const QString& path, int16_t format)
{
    if (format < kRamFormatBinary || format > kRamFormatSignedPairs)
        return RamDumpResult::ReadFailed;
    cZR4470XEvalBd* bd = freeBoard();
    if (!bd)
        return RamDumpResult::ReadFailed;
    HourglassPointer hourglass;

    std::vector<uint32_t> words(kRamWordCount);
    bool read = false;
    {
        RamSegmentScope segment(*bd, kRamWordCount);
        boardwin::windowServices().doEvents();
        read = goEvalBd == bd && segment.loaded() && bd->USBSerialReadRAM(std::span<uint32_t>(words));
    }
    if (!read)
        return RamDumpResult::ReadFailed;
    return writeDumpFile(path, words, format) ? RamDumpResult::Done : RamDumpResult::NotWritten;
}

bool ebDumpRAM(const QString& path, int16_t format)
{
    return ebDumpRAMToFile(path, format) == RamDumpResult::Done;
}

void ebRAMFillTest()
{
    cZR4470XEvalBd* bd = goEvalBd;
    if (!bd)
        return;
    HourglassPointer hourglass;
    bd->setP0(0);
    bd->setP1(0);
    bd->setP2(0);
    bd->USBWritePortBuffVal(kPortE);

    std::vector<uint32_t> ramp(kRamWordCount);
    for (int i = 0; i < kRamWordCount; ++i)
        ramp[static_cast<size_t>(i)] = static_cast<uint32_t>(i);

    bd->USBSerialLoadPKT(0x00, kFillTestCfr1);
    bd->USBSerialLoadPKT(0x0E, kFillTestProfile0);
    bd->StrobeREGUD();
    bd->SetRegMapValue(kPendingMap, 0x00, kFillTestCfr1);
    bd->SetRegMapValue(kPendingMap, 0x0E, kFillTestProfile0);

    boardNotices().FillTestRegistersSet();
    boardwin::windowServices().doEvents();
    if (goEvalBd != bd)
        return;

    // In RAM single-tone mode the chip takes the RAM segment from the selected profile, which the lines
    // above pointed at Profile0 and the whole RAM.
    if (!bd->USBSerialLoadRAM(std::span<const uint32_t>(ramp)))
        boardmsg::MsgBox(QStringLiteral("Error occured loading the RAM!"), boardmsg::vbExclamation,
                         QStringLiteral("Oh Crapp!!!!"));
}
