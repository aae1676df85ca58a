// A port read that fails while a debug window re-reads its lines: the window shows the port buffer, and
// Auto Apply (or a transmission) sends the lines as they were, never a port of zeros (chip select, the
// FIFO's load and write enables and the I/O update enable driven low by a lost reply).

#include "debug_fixture.h"

#include "debug/frm_debug.h"
#include "debug/frm_fifo_debug.h"

#include "platform/ui/forms.h"

#include <functional>
#include <string>

namespace {

using namespace debugtest;

constexpr uint8_t kSetPortA = 1;
constexpr uint8_t kSetPortE = 20;
constexpr uint8_t kSetCtl = 5;

class PortReadFailureTest;

// How the port read goes wrong; `nth` is the port read's place among the commands of the action.
struct ReadFault {
    const char* name;
    std::function<void(usb::EmulatedDriver&, int nth)> arm;
};

const ReadFault kReadFaults[] = {
    {"ReplyLost", [](usb::EmulatedDriver& d, int nth) { d.failTransfer(0, 1, nth); }},
    {"CommandLost", [](usb::EmulatedDriver& d, int nth) { d.failTransfer(0, 0, nth); }},
    {"EmptyReplyReportedDone", [](usb::EmulatedDriver& d, int nth) { d.shortRead(0, 1, nth, 0); }},
    {"ReplyCountedBeyondTheRequest", [](usb::EmulatedDriver& d, int nth) { d.overCount(0, 1, nth, 3); }},
};

// A window action that reads a port: set up, the read's place among the action's commands, the action,
// and what must hold afterwards.
struct ReadingAction {
    const char* name;
    std::function<void(PortReadFailureTest&)> prepare;
    int nth;
    std::function<void(PortReadFailureTest&)> act;
    std::function<void(PortReadFailureTest&)> check;
};

class PortReadFailureTest : public DebugWindowTest,
                            public ::testing::WithParamInterface<std::tuple<ReadingAction, ReadFault>> {
public:
    frmDebug& debugWindow()
    {
        frmDebug& w = ui::form<frmDebug>();
        w.Show();
        return w;
    }
    frmFIFODebug& fifoWindow()
    {
        frmFIFODebug& w = ui::form<frmFIFODebug>();
        w.Show();
        return w;
    }
    usb::EmulatedBoard& board() { return *drv.board(0); }
    cZR4470XEvalBd& evalBoard() { return bd(); }
    // The values written with a port command since the last clear.
    std::vector<int> writes(uint8_t code) const
    {
        std::vector<int> out;
        for (const QByteArray& packet : commands(code))
            out.push_back(static_cast<uint8_t>(packet[1]));
        return out;
    }
    std::vector<int> portCSent() const { return portCWrites(); }
    void forgetTraffic() { clearTraffic(); }
    void fillFifo() { fifo().load(range(100)); }
};

const ReadingAction kActions[] = {
    {"RegisterDebugPortA", [](PortReadFailureTest& t) { t.debugWindow(); }, 1,
     [](PortReadFailureTest& t) { t.debugWindow().UpdatePortVals(); },
     [](PortReadFailureTest& t) {
         frmDebug& w = t.debugWindow();
         EXPECT_EQ(t.board().portA(), usb::kPowerOnPortA) << "chip select stays high";
         EXPECT_TRUE(t.writes(kSetPortA).empty()) << "nothing changed, nothing is written back";
         EXPECT_EQ(w.chkPAIO(1).Value(), 1) << "CSB shows the buffer";
         EXPECT_EQ(w.portAImage(), t.evalBoard().USBGetPortBuffVal(kPortA));
     }},
    {"RegisterDebugPortE", [](PortReadFailureTest& t) { t.debugWindow(); }, 2,
     [](PortReadFailureTest& t) { t.debugWindow().UpdatePortVals(); },
     [](PortReadFailureTest& t) {
         frmDebug& w = t.debugWindow();
         EXPECT_EQ(t.board().portE(), usb::kPowerOnPortE) << "the board keeps driving I/O update";
         EXPECT_TRUE(t.writes(kSetPortE).empty());
         EXPECT_EQ(w.chkPEIO(7).Value(), 1);
         EXPECT_EQ(w.portEImage(), t.evalBoard().USBGetPortBuffVal(kPortE));
     }},
    {"RegisterDebugCtl",
     [](PortReadFailureTest& t) {
         t.evalBoard().setSCLK(1);
         t.evalBoard().USBWritePortBuffVal(kPortCtl);
         t.debugWindow().RefreshFormVals();
     },
     3, [](PortReadFailureTest& t) { t.debugWindow().UpdatePortVals(); },
     [](PortReadFailureTest& t) {
         EXPECT_EQ(t.board().ctl() & 0x01, 0x01) << "the serial clock idles high as before";
         EXPECT_TRUE(t.writes(kSetCtl).empty());
         EXPECT_EQ(t.debugWindow().chkCTLIO(0).Value(), 1);
     }},
    {"FifoDebugPortC", [](PortReadFailureTest& t) { t.fifoWindow(); }, 1,
     [](PortReadFailureTest& t) {
         frmFIFODebug& w = t.fifoWindow();
         w.RefreshFormVals();
         w.chkPCIO(4).click(); // FIFO_Reset, applied at once
     },
     [](PortReadFailureTest& t) {
         ASSERT_FALSE(t.portCSent().empty());
         EXPECT_EQ(t.portCSent().front(), 0x13) << "the load and write enables stay high";
         EXPECT_EQ(t.board().portC() & 0x03, 0x03);
     }},
    {"FifoDebugCtl",
     [](PortReadFailureTest& t) {
         t.evalBoard().setWCLK(1);
         t.evalBoard().USBWritePortBuffVal(kPortCtl);
         t.fifoWindow().RefreshFormVals();
     },
     2,
     [](PortReadFailureTest& t) {
         frmFIFODebug& w = t.fifoWindow();
         w.RefreshFormVals();
         w.chkPCIO(4).click();
     },
     [](PortReadFailureTest& t) {
         EXPECT_EQ(t.board().ctl() & 0x02, 0x02) << "the FIFO write clock stays high";
         EXPECT_EQ(t.fifoWindow().chkCTLIO(1).Value(), 1);
     }},
    {"FifoTransmit",
     [](PortReadFailureTest& t) {
         t.fifoWindow();
         t.fillFifo();
     },
     1, [](PortReadFailureTest& t) { t.fifoWindow().chkTransmitData.click(); },
     [](PortReadFailureTest& t) {
         EXPECT_EQ(t.portCSent(), (std::vector<int>{0x07, 0x03})) << "transmit raised and lowered alone";
     }},
};

TEST_P(PortReadFailureTest, TheWindowShowsTheBufferAndWritesNoZerosBack)
{
    const auto& [action, fault] = GetParam();
    plugFifoBoard();
    action.prepare(*this);
    forgetTraffic();
    fault.arm(drv, action.nth);
    action.act(*this);
    action.check(*this);
}

INSTANTIATE_TEST_SUITE_P(ActionsAndFaults, PortReadFailureTest,
                         ::testing::Combine(::testing::ValuesIn(kActions), ::testing::ValuesIn(kReadFaults)),
                         [](const ::testing::TestParamInfo<std::tuple<ReadingAction, ReadFault>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

} // namespace
