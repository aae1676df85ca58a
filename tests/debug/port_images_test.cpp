// The register debug window's port images without the window: lines set and cleared one at a time, the
// ports taken from the board (or, when the board cannot say, from the port buffer) and sent back whole.

#include "debug_fixture.h"

#include "debug/port_images.h"

#include <functional>

namespace {

using namespace debugtest;

class PortImagesTest : public DebugWindowTest {};

TEST_F(PortImagesTest, LinesSetAndClearOneBitOfTheirPortOnly)
{
    struct Step {
        int16_t port;
        int bit;
        bool on;
        uint8_t a, e, ctl; // the images after the step
    };
    const Step steps[] = {
        {kPortA, 0, true, 0x01, 0x00, 0x00},
        {kPortA, 7, true, 0x81, 0x00, 0x00},
        {kPortE, 3, true, 0x81, 0x08, 0x00},
        {kPortCtl, 0, true, 0x81, 0x08, 0x01},
        {kPortA, 0, false, 0x80, 0x08, 0x01},
        {kPortA, 0, false, 0x80, 0x08, 0x01},
        {kPortE, 3, false, 0x80, 0x00, 0x01},
        {kPortE, 7, true, 0x80, 0x80, 0x01},
        // Ports the window does not drive keep no image.
        {kPortD, 1, true, 0x80, 0x80, 0x01},
        {kPortC, 2, true, 0x80, 0x80, 0x01},
    };
    PortImages ports;
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "port " << s.port << " bit " << s.bit << " " << s.on);
        ports.setLine(s.port, s.bit, s.on);
        EXPECT_EQ(ports.image(kPortA), s.a);
        EXPECT_EQ(ports.image(kPortE), s.e);
        EXPECT_EQ(ports.image(kPortCtl), s.ctl);
        EXPECT_EQ(ports.line(s.port, s.bit), s.on && s.port != kPortD && s.port != kPortC);
    }
    EXPECT_EQ(ports.image(kPortD), 0);
}

TEST_F(PortImagesTest, ReadTakesTheBoardsLinesOrTheBufferWhenTheBoardCannotSay)
{
    struct ReadCase {
        const char* name;
        bool selected;
        std::function<void(usb::EmulatedDriver&)> arm;
        bool fromBoard; // else from the port buffer
    };
    const ReadCase cases[] = {
        {"selected", true, {}, true},
        {"not selected", false, {}, false},
        {"reply lost", true, [](usb::EmulatedDriver& d) { d.failTransfer(0, 1, 1); }, false},
        {"command lost", true, [](usb::EmulatedDriver& d) { d.failTransfer(0, 0, 1); }, false},
        {"empty reply", true, [](usb::EmulatedDriver& d) { d.shortRead(0, 1, 1, 0); }, false},
    };
    usb::EmulatedBoard& board = plugBoard();
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        // The board's lines one way, the buffer another.
        bd().USBWritePortBuffVal(kPortA, 0x5A);
        bd().USBWritePortBuffVal(kPortE, 0x3C);
        bd().USBWritePortBuffVal(kPortCtl, 0x01);
        bd().USBSetPortBuffVal(kPortA, 0x12);
        bd().USBSetPortBuffVal(kPortE, 0x34);
        bd().USBSetPortBuffVal(kPortCtl, 0x00);
        ASSERT_EQ(board.portA(), 0x5A);
        if (c.arm)
            c.arm(drv);
        PortImages ports;
        ports.read(bd(), c.selected);
        // A fault armed for the first read hits port A alone; the others are read as usual.
        EXPECT_EQ(ports.image(kPortA), c.fromBoard ? 0x5A : 0x12);
        EXPECT_EQ(ports.image(kPortE), c.selected ? 0x3C : 0x34);
        EXPECT_EQ(ports.image(kPortCtl), c.selected ? 0x01 : 0x00);
        EXPECT_EQ(bd().USBGetPortBuffVal(kPortA), 0x12) << "a read leaves the buffer alone";
    }
}

TEST_F(PortImagesTest, ApplySendsThePortWholeAndOnlyThatPort)
{
    usb::EmulatedBoard& board = plugBoard();
    PortImages ports;
    ports.read(bd(), true);
    const uint8_t portE = board.portE();
    const uint8_t ctl = board.ctl();
    ports.setLine(kPortA, 1, !ports.line(kPortA, 1));
    ports.setLine(kPortA, 6, !ports.line(kPortA, 6));
    const uint8_t wanted = ports.image(kPortA);
    clearTraffic();
    ports.apply(bd(), kPortA);
    EXPECT_EQ(board.portA(), wanted);
    EXPECT_EQ(bd().USBGetPortBuffVal(kPortA), wanted);
    EXPECT_EQ(board.portE(), portE);
    EXPECT_EQ(board.ctl(), ctl);
    EXPECT_EQ(pipeWrites(0).size(), 1);
    clearTraffic();
    ports.apply(bd(), kPortD);
    EXPECT_TRUE(pipeWrites(0).isEmpty()) << "a port the window does not drive is never sent";
}

} // namespace
