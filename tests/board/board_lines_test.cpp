// The board-line table: every line at its port and bit, each classic line property reaching the line it
// names, and a set or clear of a line reaching exactly its bit on the emulated board once the port is sent.

#include "evalbd_fixture.h"

#include "board/board_lines.h"
#include "platform/usb/emulated_board.h"

#include <algorithm>
#include <set>

using namespace evalbdtest;

namespace {

struct Placement {
    const char* name;
    int16_t port;
    int bit;
    LineKind kind;
};

// Where the board's schematic puts each line, written out independently of the table.
const Placement kSchematic[] = {
    {"USBStatus", kPortA, 0, LineKind::Output},
    {"CSB", kPortA, 1, LineKind::Output},
    {"IO_RESET", kPortA, 2, LineKind::Output},
    {"Reset", kPortA, 3, LineKind::Output},
    {"ExtPD", kPortA, 4, LineKind::Output},
    {"ISFC", kPortA, 5, LineKind::Output},
    {"SCAN_EN", kPortA, 6, LineKind::Output},
    {"SCLK", kPortCtl, 0, LineKind::Output},
    {"WCLK", kPortCtl, 1, LineKind::Output},
    {"FIFO_LDB", kPortC, 0, LineKind::Output},
    {"FIFO_WENB", kPortC, 1, LineKind::Output},
    {"TXEnable", kPortC, 2, LineKind::Output},
    {"RTEnable", kPortC, 3, LineKind::Output},
    {"FIFO_RESET", kPortC, 4, LineKind::Output},
    {"CPLD_RESET", kPortC, 5, LineKind::Output},
    {"P0", kPortE, 0, LineKind::Output},
    {"P1", kPortE, 1, LineKind::Output},
    {"P2", kPortE, 2, LineKind::Output},
    {"OSK", kPortE, 3, LineKind::Output},
    {"REGUD", kPortE, 4, LineKind::Output},
    {"LSHOLD", kPortE, 5, LineKind::Output},
    {"LSCTL", kPortE, 6, LineKind::Output},
    {"REGUD_EN", kPortE, 7, LineKind::Output},
    {"LS_OVR", kPortD, 3, LineKind::Input},
    {"RS_OVR", kPortD, 4, LineKind::Input},
    {"SYNC_SMPL_ERR", kPortD, 5, LineKind::Input},
    {"PLL_Lock", kPortD, 6, LineKind::Input},
    {"CIC_OVERFL", kPortD, 7, LineKind::Input},
    {"SDIO", kPortB, 0, LineKind::FreshRead},
    {"SDO", kPortB, 1, LineKind::FreshRead},
    {"FIFO_PAF", kReadyLines, 0, LineKind::FreshRead},
    {"FIFO_PAE", kReadyLines, 1, LineKind::FreshRead},
};

TEST(BoardLineTable, EveryNamedLineSitsAtItsPortAndBit)
{
    ASSERT_EQ(std::size(kSchematic), kBoardLines.size());
    std::set<std::pair<int, int>> places;
    for (const Placement& p : kSchematic) {
        SCOPED_TRACE(p.name);
        const auto entry = std::find_if(kBoardLines.begin(), kBoardLines.end(), [&](const BoardLineEntry& e) {
            return QLatin1StringView(e.name) == QLatin1StringView(p.name);
        });
        ASSERT_NE(entry, kBoardLines.end()) << "line missing from the table";
        EXPECT_EQ(entry->port, p.port);
        EXPECT_EQ(entry->bit, p.bit);
        EXPECT_EQ(entry->kind, p.kind);
        EXPECT_EQ(&boardLine(entry->line), &*entry) << "a line is found by its own index";
        EXPECT_TRUE(places.insert({p.port, p.bit}).second) << "two lines on one bit";
    }
}

TEST(BoardLineTable, PortByteHelpersTouchOnlyTheLinesBit)
{
    for (const BoardLineEntry& e : kBoardLines) {
        SCOPED_TRACE(e.name);
        const auto mask = static_cast<int16_t>(1 << e.bit);
        EXPECT_EQ(withLineLevel(0, e.line, 5), mask) << "any non-zero value sets";
        EXPECT_EQ(withLineLevel(0xFF, e.line, 0), 0xFF & ~mask);
        EXPECT_EQ(lineLevel(mask, e.line), 1);
        EXPECT_EQ(lineLevel(static_cast<int16_t>(0xFF & ~mask), e.line), 0);
    }
}

// The classic properties, each paired with the line it must reach.
struct Property {
    BoardLine line;
    int16_t (cZR4470XEvalBd::*get)() const;
    void (cZR4470XEvalBd::*set)(int32_t);
};

#define BUFFERED(n)                                                                                          \
    {                                                                                                        \
        BoardLine::n, &cZR4470XEvalBd::n, &cZR4470XEvalBd::set##n                                            \
    }
const Property kBufferedProperties[] = {
    BUFFERED(USBStatus), BUFFERED(CSB),        BUFFERED(IO_RESET),   BUFFERED(Reset),
    BUFFERED(ExtPD),     BUFFERED(ISFC),       BUFFERED(SCAN_EN),    BUFFERED(SCLK),
    BUFFERED(WCLK),      BUFFERED(FIFO_LDB),   BUFFERED(FIFO_WENB),  BUFFERED(TXEnable),
    BUFFERED(RTEnable),  BUFFERED(FIFO_RESET), BUFFERED(CPLD_RESET), BUFFERED(P0),
    BUFFERED(P1),        BUFFERED(P2),         BUFFERED(OSK),        BUFFERED(REGUD),
    BUFFERED(LSHOLD),    BUFFERED(LSCTL),      BUFFERED(REGUD_EN),   BUFFERED(LS_OVR),
    BUFFERED(RS_OVR),    BUFFERED(PLL_Lock),   BUFFERED(CIC_OVERFL), BUFFERED(SYNC_SMPL_ERR),
};
#undef BUFFERED

class BoardLines : public EvalBdTest {
protected:
    void SetUp() override { plug(); }

    // The level of a port's byte as the emulated board holds it after a send.
    uint8_t boardPort(int16_t port)
    {
        switch (port) {
        case kPortA:
            return board().portA();
        case kPortCtl:
            return board().ctl();
        case kPortC:
            return board().portC();
        case kPortE:
            return board().portE();
        default:
            ADD_FAILURE() << "not an output port: " << port;
            return 0;
        }
    }
};

TEST_F(BoardLines, EachPropertyReachesTheLineItNames)
{
    for (const Property& p : kBufferedProperties) {
        const BoardLineEntry& e = boardLine(p.line);
        SCOPED_TRACE(e.name);
        bd->USBSetPortBuffVal(e.port, 0);
        (bd.get()->*p.set)(1);
        const int16_t expected = e.kind == LineKind::Output ? int16_t(1 << e.bit) : int16_t(0);
        EXPECT_EQ(bd->USBGetPortBuffVal(e.port), expected) << "inputs ignore a set";
        bd->USBSetPortBuffVal(e.port, 1 << e.bit);
        EXPECT_EQ((bd.get()->*p.get)(), 1);
        EXPECT_EQ(bd->line(p.line), 1);
        bd->USBSetPortBuffVal(e.port, 0xFF & ~(1 << e.bit));
        EXPECT_EQ((bd.get()->*p.get)(), 0);
    }
}

TEST_F(BoardLines, SetAndClearReachExactlyTheBitOnTheBoard)
{
    for (const BoardLineEntry& e : kBoardLines) {
        if (e.kind != LineKind::Output)
            continue;
        SCOPED_TRACE(e.name);
        bd->USBSetPortBuffVal(e.port, 0);
        bd->setLine(e.line, 1);
        bd->USBWritePortBuffVal(e.port);
        EXPECT_EQ(boardPort(e.port), 1 << e.bit);

        bd->USBSetPortBuffVal(e.port, 0xFF);
        bd->setLine(e.line, 0);
        bd->USBWritePortBuffVal(e.port);
        EXPECT_EQ(boardPort(e.port), 0xFF & ~(1 << e.bit));
    }
}

TEST_F(BoardLines, StatusInputsComeFromTheLastFetchOfPortD)
{
    for (const BoardLineEntry& e : kBoardLines) {
        if (e.kind != LineKind::Input)
            continue;
        SCOPED_TRACE(e.name);
        board().setStatusInputs(static_cast<uint8_t>(1 << e.bit));
        bd->USBReadPortBuffVal(kPortD);
        for (const BoardLineEntry& other : kBoardLines) {
            if (other.kind == LineKind::Input) {
                EXPECT_EQ(bd->line(other.line), other.line == e.line ? 1 : 0) << other.name;
            }
        }
        bd->setLine(e.line, 0);
        EXPECT_EQ(bd->line(e.line), 1) << "a set of an input changes nothing";
    }
}

TEST_F(BoardLines, FreshReadsAskTheBoardEveryTime)
{
    struct Case {
        BoardLine line;
        int16_t (cZR4470XEvalBd::*get)();
        int command;
    };
    const Case cases[] = {
        {BoardLine::SDIO, &cZR4470XEvalBd::SDIO, 9},
        {BoardLine::SDO, &cZR4470XEvalBd::SDO, 9},
        {BoardLine::FIFO_PAF, &cZR4470XEvalBd::FIFO_PAF, 23},
        {BoardLine::FIFO_PAE, &cZR4470XEvalBd::FIFO_PAE, 23},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(boardLine(c.line).name);
        clearRecords();
        const uint8_t lines = c.command == 9 ? board().portBLines() : board().readyLines();
        const int expected = (lines >> boardLine(c.line).bit) & 1;
        EXPECT_EQ((bd.get()->*c.get)(), expected);
        EXPECT_EQ(bd->fetchLine(c.line), expected);
        EXPECT_EQ(commands(), (QList<QByteArray>{bytes({c.command}), bytes({c.command})}));
    }
    // Nothing to read from a board that is gone: the line reads 0.
    drv.detach(0);
    for (const Case& c : cases)
        EXPECT_EQ((bd.get()->*c.get)(), 0) << boardLine(c.line).name;
}

} // namespace
