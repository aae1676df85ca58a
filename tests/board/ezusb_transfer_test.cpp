// The USB object's transfers: request codes and buffer layouts, the direction and pipe rules, short reads,
// the transport's failure messages, string descriptors and vendor requests.

#include "ezusb_test_support.h"

#include "platform/ui/msgbox.h"

using ezusbtest::EzusbTest;
using ezusbtest::RecordingDriver;
using usb::RequestKind;

namespace {

class EzusbTransferTest : public EzusbTest {
protected:
    void SetUp() override
    {
        driver().attach(0);
        usbObject = makeUsb();
        usbObject->GetDevices();
        ASSERT_EQ(usbObject->SelectDevice(0, 0x1234), 1);
        driver().clearTrace();
    }

    std::unique_ptr<clsEZUSB> usbObject;
};

QByteArray bytes(std::initializer_list<uint8_t> list)
{
    QByteArray out;
    for (uint8_t b : list) {
        out.append(static_cast<char>(b));
    }
    return out;
}

TEST_F(EzusbTransferTest, EveryTransferOpensAsksAndCloses)
{
    uint8_t command[1] = {2};
    int32_t length = 1;
    ASSERT_EQ(usbObject->BulkXfer(0, command, length), 1);
    EXPECT_EQ(length, 1);
    uint8_t reply[1] = {};
    length = 1;
    ASSERT_EQ(usbObject->BulkXfer(1, reply, length), 1);
    EXPECT_EQ(reply[0], driver().board(0)->portA());

    const std::vector<RequestKind> one = {RequestKind::Open, RequestKind::DeviceDescriptor,
                                          RequestKind::PipeInfo};
    std::vector<RequestKind> expected = one;
    expected.push_back(RequestKind::BulkWrite);
    expected.push_back(RequestKind::Close);
    expected.insert(expected.end(), one.begin(), one.end());
    expected.push_back(RequestKind::BulkRead);
    expected.push_back(RequestKind::Close);
    EXPECT_EQ(kinds(), expected);

    const auto& trace = driver().trace();
    EXPECT_EQ(trace[0].device, QStringLiteral("Ezssp-0"));
    EXPECT_EQ(trace[2].code, 0x222000u);
    EXPECT_EQ(trace[2].requested, 356u);
    EXPECT_EQ(trace[3].code, 0x222051u);
    EXPECT_EQ(trace[3].pipe, 0);
    EXPECT_EQ(trace[3].data, bytes({2}));
    EXPECT_EQ(trace[8].code, 0x22204Eu);
    EXPECT_EQ(trace[8].pipe, 1);
    EXPECT_EQ(trace[8].requested, 1u);
}

TEST_F(EzusbTransferTest, RequestInputBuffers)
{
    RecordingDriver recorder(driver());
    uint8_t data[4] = {1, 0, 1, 0};
    int32_t length = 4;
    ASSERT_EQ(usbObject->BulkXfer(3, data, length), 1);
    ASSERT_EQ(recorder.requests.size(), 3u);
    EXPECT_EQ(recorder.requests[0].code, usb::kRequestDeviceDescriptor);
    EXPECT_EQ(recorder.requests[0].in.size(), 147);
    EXPECT_EQ(recorder.requests[0].outLength, 147u);
    EXPECT_EQ(recorder.requests[1].code, usb::kRequestPipeInfo);
    EXPECT_EQ(recorder.requests[1].in.size(), 356);
    EXPECT_EQ(recorder.requests[1].outLength, 356u);
    EXPECT_EQ(recorder.requests[2].code, usb::kRequestBulkWrite);
    EXPECT_EQ(recorder.requests[2].in, bytes({3, 0, 0, 0})); // pipe number, 32-bit little-endian
    EXPECT_EQ(recorder.requests[2].outLength, 4u);
    EXPECT_EQ(driver().pipeBytes(0, 3), bytes({1, 0, 1, 0}));
}

TEST_F(EzusbTransferTest, ByteArrayOverloadMovesTheGivenLength)
{
    QByteArray command = bytes({1, 0x02, 0xEE});
    int32_t length = 2;
    ASSERT_EQ(usbObject->BulkXfer(0, command, length), 1);
    EXPECT_EQ(driver().pipeBytes(0, 0), bytes({1, 0x02}));

    // A length beyond the array would run past it: refused before any traffic.
    driver().clearTrace();
    length = 4;
    EXPECT_EQ(usbObject->BulkXfer(0, command, length), 0);
    EXPECT_TRUE(driver().trace().empty());
}

TEST_F(EzusbTransferTest, PipeOutsideTheDeviceFails)
{
    for (int32_t pipe : {6, 17, -1}) {
        uint8_t data[2] = {};
        int32_t length = 2;
        EXPECT_EQ(usbObject->BulkXfer(pipe, data, length), 0) << pipe;
    }
    EXPECT_EQ(driver().count(RequestKind::BulkRead) + driver().count(RequestKind::BulkWrite), 0);
    EXPECT_EQ(driver().count(RequestKind::Open), driver().count(RequestKind::Close));
}

TEST_F(EzusbTransferTest, NegativeLengthFailsWithoutTraffic)
{
    uint8_t data[1] = {};
    int32_t length = -1;
    EXPECT_EQ(usbObject->BulkXfer(0, data, length), 0);
    EXPECT_TRUE(driver().trace().empty());
}

TEST_F(EzusbTransferTest, ShortReadIsAFailureOnReplyAndReadBackPipes)
{
    // Reply pipe, emulated board: the version reply arrives with one byte of two.
    driver().shortRead(0, 1, 1, 1);
    EXPECT_EQ(usbObject->GetFirmWareVersion(0), QString());
    driver().shortRead(0, 1, 1, 3);
    int32_t hostId = 99;
    EXPECT_EQ(usbObject->GetHostID(0, hostId), 0);
    EXPECT_EQ(hostId, 99);

    // Read-back pipe: a driver that reports success with 6 bytes of 16.
    RecordingDriver recorder(driver());
    recorder.overrideBulk = [](uint32_t code, uint32_t pipe, uint32_t,
                               uint32_t& bytesReturned) -> std::optional<bool> {
        if (code != usb::kRequestBulkRead || pipe != 5) {
            return std::nullopt;
        }
        bytesReturned = 6;
        return true;
    };
    uint8_t readBack[16] = {};
    int32_t length = 16;
    EXPECT_EQ(usbObject->BulkXfer(5, readBack, length), 0);
    EXPECT_EQ(length, 6); // the count the driver reported
}

TEST_F(EzusbTransferTest, WriteResultIsTheDriversResult)
{
    RecordingDriver recorder(driver());
    recorder.overrideBulk = [](uint32_t code, uint32_t, uint32_t,
                               uint32_t& bytesReturned) -> std::optional<bool> {
        if (code != usb::kRequestBulkWrite) {
            return std::nullopt;
        }
        bytesReturned = 0;
        return false;
    };
    uint8_t command[1] = {11};
    int32_t length = 1;
    EXPECT_EQ(usbObject->BulkXfer(0, command, length), 0);
    EXPECT_EQ(length, 0);
}

TEST_F(EzusbTransferTest, OnlyTheWholeCountIsSuccessAndTheCountNeverExceedsTheRequest)
{
    struct CountCase {
        const char* name;
        std::function<void(usb::EmulatedDriver&)> arm;
        int32_t pipe;
        int32_t asked;
        int32_t result;
        int32_t length;
    };
    const CountCase cases[] = {
        {"whole write", [](usb::EmulatedDriver&) {}, 0, 2, 1, 2},
        {"write cut short", [](usb::EmulatedDriver& d) { d.shortWrite(0, 0, 1, 1); }, 0, 2, 0, 1},
        {"empty write", [](usb::EmulatedDriver& d) { d.shortWrite(0, 3, 1, 0); }, 3, 4, 0, 0},
        {"write counted beyond", [](usb::EmulatedDriver& d) { d.overCount(0, 0, 1, 5); }, 0, 2, 0, 2},
        {"read counted beyond", [](usb::EmulatedDriver& d) { d.overCount(0, 1, 1, 5); }, 1, 1, 0, 1},
        {"read cut short", [](usb::EmulatedDriver& d) { d.shortRead(0, 1, 1, 0); }, 1, 1, 0, 0},
        {"empty request", [](usb::EmulatedDriver&) {}, 3, 0, 1, 0},
    };
    expectCleanProtocol = false; // a command cut short is a protocol fault by nature
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.pipe == 1) {
            uint8_t ask[1] = {2}; // port A's value waits as the reply
            int32_t length = 1;
            ASSERT_EQ(usbObject->BulkXfer(0, ask, length), 1);
        }
        c.arm(driver());
        uint8_t data[8] = {1, 0x02, 0, 1, 0, 0, 0, 0};
        int32_t length = c.asked;
        EXPECT_EQ(usbObject->BulkXfer(c.pipe, data, length), c.result);
        EXPECT_EQ(length, c.length);
        EXPECT_LE(length, c.asked);
        driver().clearFaults();
    }
}

struct FailureCase {
    const char* name;
    std::function<void(usb::EmulatedDriver&)> arrange;
    int32_t pipe;
    QString message;
};

class EzusbFailureMessageTest : public EzusbTransferTest,
                                public ::testing::WithParamInterface<FailureCase> {};

TEST_P(EzusbFailureMessageTest, VerboseShowsTheMessageQuietDoesNot)
{
    const FailureCase& c = GetParam();
    c.arrange(driver());
    uint8_t data[1] = {11};
    int32_t length = 1;
    EXPECT_EQ(usbObject->BulkXfer(c.pipe, data, length), 0);
    EXPECT_TRUE(boxes().empty());

    usbObject->setVerboseIO(true);
    length = 1;
    ui::testing::messageBoxes().answer(ui::vbOK);
    EXPECT_EQ(usbObject->BulkXfer(c.pipe, data, length), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].prompt, c.message);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(boxes()[0].buttons, ui::vbOKOnly);
    EXPECT_EQ(driver().openHandleCount(), 0);
    driver().clearFaults(); // the board is handed back when the object goes, without this test's fault
}

INSTANTIATE_TEST_SUITE_P(
    Messages, EzusbFailureMessageTest,
    ::testing::Values(FailureCase{"OpenFails", [](usb::EmulatedDriver& d) { d.faults(0).failOpen = true; }, 0,
                                  QStringLiteral("Error bad driver")},
                      FailureCase{"BothIdentifiersDiffer",
                                  [](usb::EmulatedDriver& d) { d.board(0)->setIds(0x1111, 0x2222); }, 0,
                                  QStringLiteral("Error at PID/VID")},
                      FailureCase{"DescriptorFailsSoIdentifiersReadZero",
                                  [](usb::EmulatedDriver& d) { d.faults(0).failDeviceDescriptor = true; }, 0,
                                  QStringLiteral("Error at PID/VID")},
                      FailureCase{"PipeInformationFails",
                                  [](usb::EmulatedDriver& d) { d.faults(0).failPipeInfo = true; }, 0,
                                  QStringLiteral("Error at caller's pipe")},
                      FailureCase{"PipeEqualToThePipeCount", [](usb::EmulatedDriver&) {}, 6,
                                  QStringLiteral("Error Illegal Pipe")},
                      FailureCase{"DescriptorCutShort",
                                  [](usb::EmulatedDriver& d) { d.faults(0).deviceDescriptorBytes = 12; }, 0,
                                  QStringLiteral("Error at PID/VID")},
                      FailureCase{"PipeInformationWithoutItsRecords",
                                  [](usb::EmulatedDriver& d) { d.faults(0).pipeInfoBytes = 16; }, 0,
                                  QStringLiteral("Error at caller's pipe")},
                      FailureCase{"PipeInformationWithoutItsCount",
                                  [](usb::EmulatedDriver& d) { d.faults(0).pipeInfoBytes = 12; }, 0,
                                  QStringLiteral("Error at caller's pipe")},
                      FailureCase{"CommandPipeReportedIn",
                                  [](usb::EmulatedDriver& d) { d.faults(0).wrongDirectionPipe = 0; }, 0,
                                  QStringLiteral("Error at caller's pipe")},
                      FailureCase{"ReplyPipeReportedOut",
                                  [](usb::EmulatedDriver& d) { d.faults(0).wrongDirectionPipe = 1; }, 1,
                                  QStringLiteral("Error at caller's pipe")},
                      FailureCase{"DataPipeReportedIn",
                                  [](usb::EmulatedDriver& d) { d.faults(0).wrongDirectionPipe = 3; }, 3,
                                  QStringLiteral("Error at caller's pipe")},
                      FailureCase{"ReadBackPipeReportedOut",
                                  [](usb::EmulatedDriver& d) { d.faults(0).wrongDirectionPipe = 5; }, 5,
                                  QStringLiteral("Error at caller's pipe")}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(EzusbTransferTest, StringDescriptorIsAskedTwiceAndFlattened)
{
    RecordingDriver recorder(driver());
    QString text = QStringLiteral("unchanged");
    EXPECT_EQ(usbObject->GetStringDescription(2, text), 1);
    EXPECT_EQ(text, QStringLiteral("ZR4470 Evaluation Board"));
    ASSERT_EQ(recorder.requests.size(), 2u);
    for (const auto& request : recorder.requests) {
        EXPECT_EQ(request.code, usb::kRequestStringDescriptor);
        EXPECT_EQ(request.in, bytes({2, 0x09, 0x04})); // index, language 1033
    }
    EXPECT_EQ(recorder.requests[0].outLength, 255u);
    EXPECT_EQ(recorder.requests[1].outLength, 2u + 2u * 23u);

    driver().faults(0).failStringDescriptor = true;
    EXPECT_EQ(usbObject->GetStringDescription(2, text), 0);
    EXPECT_EQ(text, QStringLiteral("ERROR"));

    driver().detach(0);
    text = QStringLiteral("kept");
    EXPECT_EQ(usbObject->GetStringDescription(2, text), 0);
    EXPECT_EQ(text, QStringLiteral("kept"));
}

TEST_F(EzusbTransferTest, VendorRequestRecord)
{
    RecordingDriver recorder(driver());
    uint8_t buffer[4] = {};
    int32_t length = 4;
    usbObject->VendorRequest(0xA5, 0x1234, 0xBEEF, 1, buffer, length);
    ASSERT_EQ(recorder.requests.size(), 1u);
    EXPECT_EQ(recorder.requests[0].code, 0x222059u);
    EXPECT_EQ(recorder.requests[0].in, bytes({1, 2, 0, 0, 0xA5, 0, 0x34, 0x12, 0xEF, 0xBE}));
    EXPECT_EQ(recorder.requests[0].outLength, 4u);
    EXPECT_EQ(length, 0); // the emulated board answers no data

    driver().detach(0);
    length = 4;
    usbObject->VendorRequest(1, 0, 0, 0, buffer, length);
    EXPECT_EQ(length, 0);
}

} // namespace
