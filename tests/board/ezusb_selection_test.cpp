// The USB object's selection, claims between running copies (host identifiers), firmware version text,
// read-only properties, the release at destruction and the process-wide object.

#include "ezusb_test_support.h"

#include "platform/runtime/locale_info.h"
#include "platform/ui/msgbox.h"

using ezusbtest::EzusbTest;
using usb::RequestKind;

namespace {

QByteArray bytes(std::initializer_list<uint8_t> list)
{
    QByteArray out;
    for (uint8_t b : list) {
        out.append(static_cast<char>(b));
    }
    return out;
}

usb::BoardOptions firmware(uint8_t major, uint8_t minor, uint32_t hostId = 0)
{
    usb::BoardOptions options;
    options.firmwareMajor = major;
    options.firmwareMinor = minor;
    options.hostId = hostId;
    return options;
}

TEST_F(EzusbTest, SelectionClaimsTheBoardAndReleasesThePreviousOne)
{
    driver().attach(0);
    driver().attach(2);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    driver().clearTrace();

    ASSERT_EQ(usbObject->SelectDevice(0, 0x01020304), 1);
    EXPECT_EQ(usbObject->DriverName(), QStringLiteral("Ezssp-0"));
    EXPECT_EQ(driver().transfers(0, 0), QList<QByteArray>({bytes({0}), bytes({13, 1, 2, 3, 4})}));
    EXPECT_EQ(driver().transfers(0, 1), QList<QByteArray>({bytes({0, 3})}));
    EXPECT_EQ(driver().board(0)->hostId(), 0x01020304u);

    ASSERT_EQ(usbObject->SelectDevice(1, 0x01020304), 1);
    EXPECT_EQ(usbObject->DriverName(), QStringLiteral("Ezssp-2"));
    EXPECT_EQ(driver().board(2)->hostId(), 0x01020304u);
    EXPECT_EQ(driver().board(0)->hostId(), 0u);

    // Selecting the same board again claims it again and releases nothing.
    driver().clearTrace();
    ASSERT_EQ(usbObject->SelectDevice(1, 7), 1);
    EXPECT_TRUE(driver().transfers(0, 0).isEmpty());
    EXPECT_EQ(driver().board(2)->hostId(), 7u);
}

TEST_F(EzusbTest, IndexOutsideTheListChangesNothing)
{
    driver().attach(0);
    driver().attach(2);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 1), 1);
    driver().clearTrace();
    for (int16_t index : {int16_t{5}, int16_t{2}, int16_t{-1}}) {
        EXPECT_EQ(usbObject->SelectDevice(index, 9), 0) << index;
        EXPECT_EQ(usbObject->DriverName(), QStringLiteral("Ezssp-0"));
    }
    EXPECT_TRUE(driver().trace().empty());
    EXPECT_EQ(driver().board(0)->hostId(), 1u);
}

TEST_F(EzusbTest, TwoRunningCopiesShareBoardsByHostIdentifier)
{
    driver().attach(0);
    driver().attach(2);
    constexpr int32_t firstCopy = 0x00010001;
    constexpr int32_t secondCopy = static_cast<int32_t>(0x80020002u); // a handle with the top bit set

    auto first = makeUsb();
    auto second = makeUsb();
    first->GetDevices();
    ASSERT_EQ(first->SelectDevice(0, firstCopy), 1);

    // The second copy starts: the first board whose identifier is 0 is free.
    ASSERT_EQ(second->GetDevices(), 2);
    int16_t freeBoard = -1;
    for (int16_t i = 0; i < second->DeviceCount() && freeBoard < 0; ++i) {
        int32_t hostId = -1;
        ASSERT_EQ(second->GetHostID(i, hostId), 1);
        if (hostId == 0) {
            freeBoard = i;
        } else {
            EXPECT_EQ(hostId, firstCopy);
        }
    }
    ASSERT_EQ(freeBoard, 1);
    ASSERT_EQ(second->SelectDevice(freeBoard, secondCopy), 1);
    int32_t readBack = 0;
    ASSERT_EQ(first->GetHostID(1, readBack), 1);
    EXPECT_EQ(readBack, secondCopy); // negative, most significant byte first
    EXPECT_EQ(driver().board(2)->hostId(), 0x80020002u);

    // The first copy ends: its board is free again, the second copy's claim stays.
    first.reset();
    EXPECT_EQ(driver().board(0)->hostId(), 0u);
    EXPECT_EQ(driver().board(2)->hostId(), 0x80020002u);
    second.reset();
    EXPECT_EQ(driver().board(2)->hostId(), 0u);
}

TEST_F(EzusbTest, HostIdentifierBytesMostSignificantFirst)
{
    driver().attach(0);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    const struct {
        int32_t value;
        QByteArray sent;
    } cases[] = {
        {0x01020304, bytes({13, 1, 2, 3, 4})},
        {-1, bytes({13, 0xFF, 0xFF, 0xFF, 0xFF})},
        {-2, bytes({13, 0xFF, 0xFF, 0xFF, 0xFE})},
        {INT32_MIN, bytes({13, 0x80, 0, 0, 0})},
        {0, bytes({13, 0, 0, 0, 0})},
    };
    for (const auto& c : cases) {
        driver().clearTrace();
        ASSERT_EQ(usbObject->SetHostID(0, c.value), 1);
        EXPECT_EQ(driver().pipeBytes(0, 0), c.sent) << c.value;
        int32_t readBack = 12345;
        ASSERT_EQ(usbObject->GetHostID(0, readBack), 1);
        EXPECT_EQ(readBack, c.value);
        EXPECT_EQ(driver().board(0)->hostId(), static_cast<uint32_t>(c.value));
    }
}

TEST_F(EzusbTest, HostIdentifierFailuresAndTheirMessages)
{
    driver().attach(0);
    auto usbObject = makeUsb();
    usbObject->GetDevices();

    driver().failTransfer(0, 0, 1, 2);
    int32_t hostId = 42;
    EXPECT_EQ(usbObject->GetHostID(0, hostId), 0);
    EXPECT_EQ(usbObject->SetHostID(0, 5), 0);
    EXPECT_EQ(hostId, 42);
    EXPECT_TRUE(boxes().empty());
    // A failed command is never followed by a read of its reply.
    EXPECT_EQ(driver().count(RequestKind::BulkRead), 0);

    usbObject->setVerboseIO(true);
    ui::testing::messageBoxes().answer({ui::vbOK, ui::vbOK});
    driver().failTransfer(0, 1, 1, 1); // the reply of the next command cannot be read
    EXPECT_EQ(usbObject->GetHostID(0, hostId), 0);
    driver().failTransfer(0, 0, 1, 1);
    EXPECT_EQ(usbObject->SetHostID(0, 5), 0);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].prompt, QStringLiteral("Error: Could not get the HostID for Ezssp-0"));
    EXPECT_EQ(boxes()[0].title, ui::applicationTitle());
    EXPECT_EQ(boxes()[1].prompt, QStringLiteral("Error: Could not set the Host ID."));
    EXPECT_EQ(boxes()[1].buttons, ui::vbOKOnly);
}

TEST_F(EzusbTest, FirmwareRequestsNeverFallBackToTheSelectedBoard)
{
    driver().attach(0);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 1), 1);
    driver().clearTrace();
    int32_t hostId = 3;
    EXPECT_EQ(usbObject->GetFirmWareVersion(1), QStringLiteral("0"));
    EXPECT_EQ(usbObject->GetHostID(4, hostId), 0);
    EXPECT_EQ(usbObject->SetHostID(-1, 0), 0);
    EXPECT_TRUE(driver().trace().empty());
    EXPECT_EQ(driver().board(0)->hostId(), 1u);
}

struct VersionCase {
    uint8_t major;
    uint8_t minor;
    QChar separator;
    const char* text;
    bool releasedAtExit; // version 0.3 or more, compared as a number
};

class EzusbVersionTest : public EzusbTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(EzusbVersionTest, TextAndReleaseAtDestruction)
{
    const VersionCase& c = GetParam();
    rt::ScopedNumberLocale locale(c.separator);
    driver().attach(0, firmware(c.major, c.minor));
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    EXPECT_EQ(usbObject->GetFirmWareVersion(0), QString::fromLatin1(c.text));
    ASSERT_EQ(usbObject->SelectDevice(0, 0x55), 1);
    EXPECT_EQ(driver().board(0)->hostId(), 0x55u);
    usbObject.reset();
    EXPECT_EQ(driver().board(0)->hostId(), c.releasedAtExit ? 0u : 0x55u);
}

INSTANTIATE_TEST_SUITE_P(Versions, EzusbVersionTest,
                         ::testing::Values(VersionCase{0, 3, QLatin1Char('.'), "0.3", true},
                                           VersionCase{0, 3, QLatin1Char(','), "0,3", true},
                                           VersionCase{1, 12, QLatin1Char('.'), "1.12", true},
                                           VersionCase{1, 0, QLatin1Char(','), "1,0", true},
                                           VersionCase{0, 10, QLatin1Char('.'), "0.10", false},
                                           VersionCase{0, 29, QLatin1Char(','), "0,29", false},
                                           VersionCase{0, 4, QLatin1Char('.'), "0.4", true}));

TEST_F(EzusbTest, VersionTextWhenTheBoardDoesNotAnswer)
{
    driver().attach(0);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    driver().failTransfer(0, 0);
    EXPECT_EQ(usbObject->GetFirmWareVersion(0), QStringLiteral("0"));
    driver().failTransfer(0, 1);
    EXPECT_EQ(usbObject->GetFirmWareVersion(0), QString());
}

TEST_F(EzusbTest, AtExitOnlyABoardThatAnswersItsVersionIsGivenBack)
{
    driver().attach(0);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 0x55), 1);
    driver().failTransfer(0, 1); // the version reply at exit cannot be read
    driver().clearTrace();
    usbObject.reset();
    EXPECT_EQ(driver().board(0)->hostId(), 0x55u);
    EXPECT_TRUE(driver().pipeBytes(0, 0).startsWith(char(0))) << "the version was asked";
    EXPECT_FALSE(driver().pipeBytes(0, 0).contains(char(13))) << "no host identifier was written";
}

TEST_F(EzusbTest, FailedClaimKeepsTheNewNameAndReportsZero)
{
    driver().attach(0);
    driver().attach(1);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 9), 1);

    driver().failTransfer(1, 0, 2); // the version command goes, the host identifier does not
    EXPECT_EQ(usbObject->SelectDevice(1, 9), 0);
    EXPECT_EQ(usbObject->DriverName(), QStringLiteral("Ezssp-1"));
    EXPECT_EQ(driver().board(0)->hostId(), 9u); // the previous board is not handed back
    EXPECT_EQ(driver().board(1)->hostId(), 0u);
}

TEST_F(EzusbTest, UnreadableVersionClaimsNothing)
{
    driver().attach(0);
    driver().attach(1);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 9), 1);

    driver().failTransfer(1, 1); // the version reply is lost
    driver().clearTrace();
    EXPECT_EQ(usbObject->SelectDevice(1, 9), 0);
    EXPECT_EQ(usbObject->DriverName(), QStringLiteral("Ezssp-1"));
    EXPECT_EQ(driver().transfers(1, 0), QList<QByteArray>({bytes({0})}));
    EXPECT_EQ(driver().board(0)->hostId(), 9u);
}

TEST_F(EzusbTest, FailedReleaseOfThePreviousBoardReportsZero)
{
    driver().attach(0);
    driver().attach(1);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 9), 1);
    driver().failTransfer(0, 0, 2); // version of the previous board goes, its release does not
    EXPECT_EQ(usbObject->SelectDevice(1, 9), 0);
    EXPECT_EQ(usbObject->DriverName(), QStringLiteral("Ezssp-1"));
    EXPECT_EQ(driver().board(1)->hostId(), 9u);
    EXPECT_EQ(driver().board(0)->hostId(), 9u);
}

TEST_F(EzusbTest, DestructionTalksOnlyToASelectedPresentBoard)
{
    driver().attach(0, firmware(0, 3, 0x77));
    {
        auto unselected = makeUsb();
        unselected->GetDevices();
        driver().clearTrace();
    }
    EXPECT_TRUE(driver().trace().empty());
    EXPECT_EQ(driver().board(0)->hostId(), 0x77u);

    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 0x66), 1);
    driver().detach(0);
    driver().clearTrace();
    usbObject.reset();
    EXPECT_EQ(driver().count(RequestKind::BulkWrite), 0);
    EXPECT_EQ(driver().count(RequestKind::Open), 9); // the presence check only
}

TEST_F(EzusbTest, ReadOnlyPropertiesRefuseASet)
{
    driver().attach(0);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 1), 1);
    ui::testing::messageBoxes().answer({ui::vbOK, ui::vbOK});
    usbObject->setDriverName(QStringLiteral("Ezssp-5"));
    usbObject->setDeviceCount(4);
    EXPECT_EQ(usbObject->DriverName(), QStringLiteral("Ezssp-0"));
    EXPECT_EQ(usbObject->DeviceCount(), 1);
    ASSERT_EQ(boxes().size(), 2u);
    for (const auto& box : boxes()) {
        EXPECT_EQ(box.prompt, QStringLiteral("Sorry, this is a read only property!"));
        EXPECT_EQ(box.title, QStringLiteral("Can not set property value!"));
        EXPECT_EQ(box.buttons, ui::vbInformation);
    }
}

TEST_F(EzusbTest, ProcessWideObjectCanBeReplacedAndReleasesOnShutdown)
{
    driver().attach(0);
    {
        ScopedEZUSB scoped;
        EXPECT_EQ(&*scoped, &goEZUSB());
        EXPECT_EQ(goEZUSB().ProductID(), kEvalBoardProductID);
        goEZUSB().GetDevices();
        ASSERT_EQ(goEZUSB().SelectDevice(0, 0x4242), 1);
        EXPECT_EQ(driver().board(0)->hostId(), 0x4242u);

        // Shutdown hands the object back and destroying it gives the board free.
        std::unique_ptr<clsEZUSB> ended = ReplaceEZUSB(nullptr);
        ASSERT_NE(ended, nullptr);
        EXPECT_EQ(ended->DriverName(), QStringLiteral("Ezssp-0"));
        ended.reset();
        EXPECT_EQ(driver().board(0)->hostId(), 0u);
        // A later use gets a fresh object with nothing selected.
        EXPECT_TRUE(goEZUSB().DriverName().isEmpty());
    }
}

} // namespace
