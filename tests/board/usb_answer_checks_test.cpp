// Driver answers that do not add up: every caller of the transport against every kind of answer that
// claims success without the whole transfer behind it. Each one must report its failure and keep what it
// would otherwise have changed (the written register copy, the RAM image read into, the host identifier
// read into), and a failed port read is never taken as the port's lines.

#include "evalbd_fixture.h"

#include <functional>
#include <string>

namespace {

using evalbdtest::EvalBdTest;
using Kind = EvalBdEventRecord::Kind;

// The transfer of a caller that a fault is aimed at: its pipe, which transfer on that pipe it is, and how
// many of its bytes arrive when it is cut short. Slot-wide faults meet every transfer.
struct Target {
    int pipe;
    int nth;
    uint32_t cutTo;
};

// How a driver answer goes wrong.
struct Fault {
    const char* name;
    std::function<void(usb::EmulatedDriver&, const Target&)> arm;
};

bool readPipe(int pipe)
{
    return pipe == 1 || pipe == 5;
}

const Fault kFaults[] = {
    {"CutShort",
     [](usb::EmulatedDriver& d, const Target& t) {
         if (readPipe(t.pipe))
             d.shortRead(0, t.pipe, t.nth, t.cutTo);
         else
             d.shortWrite(0, t.pipe, t.nth, t.cutTo);
     }},
    {"EmptyButReportedDone",
     [](usb::EmulatedDriver& d, const Target& t) {
         if (readPipe(t.pipe))
             d.shortRead(0, t.pipe, t.nth, 0);
         else
             d.shortWrite(0, t.pipe, t.nth, 0);
     }},
    {"CountBeyondTheRequest",
     [](usb::EmulatedDriver& d, const Target& t) { d.overCount(0, t.pipe, t.nth, 2); }},
    {"PipeReportedTheOtherWay",
     [](usb::EmulatedDriver& d, const Target& t) { d.faults(0).wrongDirectionPipe = t.pipe; }},
    {"PipeInformationCutShort",
     [](usb::EmulatedDriver& d, const Target&) { d.faults(0).pipeInfoBytes = 16; }},
    {"DeviceDescriptorCutShort",
     // The vendor identifier arrives, the product identifier does not: one matching identifier would do.
     [](usb::EmulatedDriver& d, const Target&) { d.faults(0).deviceDescriptorBytes = 10; }},
};

class UsbAnswerChecksTest;

// One caller of the transport: the transfer the fault is aimed at, and the action, which checks its own
// result and what it leaves behind.
struct Caller {
    const char* name;
    Target target;
    std::function<void(UsbAnswerChecksTest&)> actAndCheck;
};

class UsbAnswerChecksTest : public EvalBdTest,
                            public ::testing::WithParamInterface<std::tuple<Caller, Fault>> {
public:
    cZR4470XEvalBd& board() { return *bd; }
    std::vector<EvalBdEventRecord>& raised() { return events; }
    usb::EmulatedBoard& emulated() { return *drv.board(0); }

    // The last event of a kind, or a failing test.
    EvalBdEventRecord last(Kind kind) const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->kind == kind)
                return *it;
        ADD_FAILURE() << "event " << kind << " not raised";
        return {};
    }

    QString rawRegisterValue = QStringLiteral("01011010010110100101101001011010"); // FTW - 07H
    QStringList ramImage = QStringList(4, QStringLiteral("11110000111100001111000011110000"));
};

const Caller kCallers[] = {
    {"RegisterLoad",
     {3, 1, 40},
     [](UsbAnswerChecksTest& t) {
         const QString written = t.board().GetRegMapValue(1, 0x07);
         EXPECT_EQ(t.board().USBSerialLoadPKT(0x07, t.rawRegisterValue), -1);
         EXPECT_EQ(t.board().GetRegMapValue(1, 0x07), written) << "the written copy stays as it was";
     }},
    {"RamLoad",
     {3, 2, 100}, // the first packet of words after the instruction
     [](UsbAnswerChecksTest& t) {
         EXPECT_FALSE(t.board().USBSerialLoadRAM(t.ramImage));
         EXPECT_FALSE(t.last(Kind::RAMCOMFinished).flag);
     }},
    {"RamDump",
     {5, 1, 100},
     [](UsbAnswerChecksTest& t) {
         QStringList image = t.ramImage;
         EXPECT_FALSE(t.board().USBSerialReadRAM(image));
         EXPECT_EQ(image, t.ramImage) << "words the transfer did not get keep their strings";
         EXPECT_FALSE(t.last(Kind::RAMCOMFinished).flag);
     }},
    {"FifoLoad",
     {3, 2, 100}, // the first data packet after the flag offsets
     [](UsbAnswerChecksTest& t) {
         std::vector<int32_t> values(200);
         for (size_t k = 0; k < values.size(); ++k)
             values[k] = static_cast<int32_t>(k);
         EXPECT_FALSE(t.board().USBLoadFIFOData(values));
         EXPECT_FALSE(t.last(Kind::FIFOLoadFinished).flag);
     }},
    {"HostIdWrite",
     {0, 1, 3},
     [](UsbAnswerChecksTest&) { EXPECT_EQ(goEZUSB().SetHostID(0, 0x01020304), 0); }},
    {"HostIdWriteByTheBoardObject",
     {0, 1, 3},
     [](UsbAnswerChecksTest& t) { EXPECT_EQ(t.board().SetHostID(0x01020304), 0); }},
    {"HostIdRead",
     {1, 1, 2},
     [](UsbAnswerChecksTest& t) {
         t.emulated().setHostId(0x0A0B0C0D);
         int32_t hostId = 77;
         EXPECT_EQ(goEZUSB().GetHostID(0, hostId), 0);
         EXPECT_EQ(hostId, 77);
     }},
    {"FirmwareVersionCommand",
     {0, 1, 0},
     [](UsbAnswerChecksTest&) { EXPECT_EQ(goEZUSB().GetFirmWareVersion(0), QStringLiteral("0")); }},
    {"FirmwareVersionReply",
     {1, 1, 1},
     [](UsbAnswerChecksTest&) {
         // "" when the reply is lost; "0" when a slot-wide fault stopped the command already.
         const QString version = goEZUSB().GetFirmWareVersion(0);
         EXPECT_TRUE(version.isEmpty() || version == QStringLiteral("0")) << version.toStdString();
     }},
    {"FirmwareVersionByTheBoardObject",
     {1, 1, 1},
     [](UsbAnswerChecksTest& t) { EXPECT_EQ(t.board().GetFirmWareVersion(), QString()); }},
    {"PortRead",
     {1, 1, 0},
     [](UsbAnswerChecksTest& t) { EXPECT_EQ(t.board().FetchPortValue(kPortA), std::nullopt); }},
    {"PortReadCommand",
     {0, 1, 0},
     [](UsbAnswerChecksTest& t) { EXPECT_EQ(t.board().FetchPortValue(kPortE), std::nullopt); }},
};

TEST_P(UsbAnswerChecksTest, TheCallerReportsFailureAndKeepsItsState)
{
    const auto& [caller, fault] = GetParam();
    plug();
    fault.arm(drv, caller.target);
    caller.actAndCheck(*this);
}

INSTANTIATE_TEST_SUITE_P(FaultsAndCallers, UsbAnswerChecksTest,
                         ::testing::Combine(::testing::ValuesIn(kCallers), ::testing::ValuesIn(kFaults)),
                         [](const ::testing::TestParamInfo<std::tuple<Caller, Fault>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

// The same answers, once the fault has passed: every caller works again (the checks refuse the answer,
// not the board).
class UsbAnswerRecoveryTest : public EvalBdTest {};

TEST_F(UsbAnswerRecoveryTest, AfterAFaultTheNextTransferGoesThroughWhole)
{
    usb::EmulatedBoard& board = plug();
    const QString value = QStringLiteral("00000000111111110000000011111111");
    drv.overCount(0, 3, 1, 2);
    EXPECT_EQ(bd->USBSerialLoadPKT(0x07, value), -1);
    EXPECT_EQ(bd->USBSerialLoadPKT(0x07, value), 0);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x07), value);
    EXPECT_EQ(board.chip()->bufferRegister(0x07), 0x00FF00FFu);

    drv.shortWrite(0, 0, 1, 0);
    EXPECT_EQ(goEZUSB().SetHostID(0, 0x01020304), 0);
    EXPECT_EQ(board.hostId(), 0u) << "the empty write never reached the firmware";
    EXPECT_EQ(goEZUSB().SetHostID(0, 0x01020304), 1);
    EXPECT_EQ(board.hostId(), 0x01020304u);
}

} // namespace
