#include "control_fixture.h"

#include "board/board_flags.h"
#include "board/globals.h"
#include "common/emulated_usb.h"

#include "platform/ui/forms.h"

#include <ostream>

namespace controltest {

bool operator==(const SerialWrite& a, const SerialWrite& b)
{
    return a.addr == b.addr && a.value == b.value;
}

std::ostream& operator<<(std::ostream& out, const SerialWrite& write)
{
    return out << "{0x" << std::hex << write.addr << std::dec << ", " << write.value.toStdString() << "}";
}

ControlWindowTest::ControlWindowTest()
{
    goEvalBd = bd;
    gbBoardConnected = false;
    giRunMode = 0;
}

ControlWindowTest::~ControlWindowTest()
{
    ui::Forms::discardAll();
    ui::Forms::destroyUnloaded();
    goEvalBd = nullptr;
    gbBoardConnected = false;
    giRunMode = 0;
}

void ControlWindowTest::useRevision(int16_t rev)
{
    bd->setSiliconRev(rev);
    bd->InitRegMap(rev);
}

usb::EmulatedBoard& ControlWindowTest::plugBoard(const usb::BoardOptions& options)
{
    usb::EmulatedBoard& board = testusb::plugAndSelect(drv, *bd, options);
    gbBoardConnected = true;
    clearTraffic();
    return board;
}

frmControl& ControlWindowTest::open()
{
    return ui::form<frmControl>();
}

uint64_t ControlWindowTest::pendingField(int16_t addr, int hi, int lo) const
{
    return (pending(addr) >> lo) & ((uint64_t{1} << (hi - lo + 1)) - 1);
}

void ControlWindowTest::setPending(int16_t addr, uint64_t value)
{
    bd->SetRegMapValue(0, addr, bits(value, bd->GetRegLength(addr)));
}

void ControlWindowTest::setPendingField(int16_t addr, int hi, int lo, uint64_t value)
{
    const uint64_t mask = ((uint64_t{1} << (hi - lo + 1)) - 1) << lo;
    setPending(addr, (pending(addr) & ~mask) | ((value << lo) & mask));
}

void ControlWindowTest::setWritten(int16_t addr, uint64_t value)
{
    bd->SetRegMapValue(1, addr, bits(value, bd->GetRegLength(addr)));
}

QList<SerialWrite> ControlWindowTest::serialWrites() const
{
    QList<SerialWrite> writes;
    for (const QByteArray& packet : drv.transfers(0, usb::kDataPipe)) {
        QString stream;
        for (qsizetype k = 0; k + 1 < packet.size(); k += 2)
            stream.append(packet[k] == 1 ? QLatin1Char('1') : QLatin1Char('0'));
        if (stream.size() < 8)
            continue;
        writes.append({static_cast<int>(valueOf(stream.left(8)) & 0x1F), stream.mid(8)});
    }
    return writes;
}

void ControlWindowTest::clearTraffic()
{
    testusb::clearTraffic(drv);
}

} // namespace controltest
