// The USB object finding boards: device names, identifiers, descriptor failures, unplugging.

#include "ezusb_test_support.h"

using ezusbtest::EzusbTest;
using usb::RequestKind;

namespace {

TEST_F(EzusbTest, NoBoardFindsNothingAndFailsTransfersSilently)
{
    auto usbObject = makeUsb();
    EXPECT_EQ(usbObject->GetDevices(), 0);
    EXPECT_EQ(usbObject->DeviceCount(), 0);
    EXPECT_FALSE(usbObject->IsConnected());
    uint8_t command[1] = {0};
    int32_t length = 1;
    EXPECT_EQ(usbObject->BulkXfer(0, command, length), 0);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(usbObject->GetDriverName(0), QString());
}

TEST_F(EzusbTest, GapsInTheSlotsKeepTheOrderFound)
{
    driver().attach(0);
    driver().attach(2);
    auto usbObject = makeUsb();
    EXPECT_EQ(usbObject->GetDevices(), 2);
    EXPECT_EQ(usbObject->DeviceCount(), 2);
    EXPECT_EQ(usbObject->GetDriverName(0), QStringLiteral("Ezssp-0"));
    EXPECT_EQ(usbObject->GetDriverName(1), QStringLiteral("Ezssp-2"));
    EXPECT_EQ(usbObject->GetDriverName(2), QString());
    EXPECT_EQ(usbObject->GetDriverName(-1), QString());
    EXPECT_EQ(usbObject->GetDeviceIndex(QStringLiteral("Ezssp-2")), 1);
    EXPECT_EQ(usbObject->GetDeviceIndex(QStringLiteral("Ezssp-1")), -1);

    // A board that goes away shrinks the list; entries past the count are never handed out.
    driver().detach(0);
    EXPECT_EQ(usbObject->GetDevices(), 1);
    EXPECT_EQ(usbObject->GetDriverName(0), QStringLiteral("Ezssp-2"));
    EXPECT_EQ(usbObject->GetDriverName(1), QString());
    EXPECT_EQ(usbObject->GetDeviceIndex(QStringLiteral("Ezssp-2")), 0);
}

TEST_F(EzusbTest, EnumerationOpensEveryNameAndClosesEachDevice)
{
    driver().attach(0);
    driver().attach(2);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    const std::vector<RequestKind> expected = {RequestKind::Open,  RequestKind::DeviceDescriptor,
                                               RequestKind::Close, // Ezssp-0
                                               RequestKind::Open,  // Ezssp-1 absent
                                               RequestKind::Open,  RequestKind::DeviceDescriptor,
                                               RequestKind::Close, // Ezssp-2
                                               RequestKind::Open,  RequestKind::Open,
                                               RequestKind::Open,  RequestKind::Open,
                                               RequestKind::Open,  RequestKind::Open};
    EXPECT_EQ(kinds(), expected);
    QStringList opened;
    for (const usb::TraceEntry& entry : driver().trace()) {
        if (entry.kind == RequestKind::Open) {
            opened << entry.device;
        }
        if (entry.kind == RequestKind::DeviceDescriptor) {
            EXPECT_EQ(entry.code, 0x222004u);
            EXPECT_EQ(entry.requested, 147u);
        }
    }
    EXPECT_EQ(opened, QStringList({"Ezssp-0", "Ezssp-1", "Ezssp-2", "Ezssp-3", "Ezssp-4", "Ezssp-5",
                                   "Ezssp-6", "Ezssp-7", "Ezssp-8"}));
}

TEST_F(EzusbTest, DescriptorFailureSkipsThatDeviceOnly)
{
    driver().attach(0);
    driver().attach(1);
    driver().attach(2);
    auto usbObject = makeUsb();
    ASSERT_EQ(usbObject->GetDevices(), 3);
    ASSERT_EQ(usbObject->SelectDevice(2, 77), 1);

    driver().faults(1).failDeviceDescriptor = true;
    EXPECT_EQ(usbObject->GetDevices(), 2);
    EXPECT_EQ(usbObject->GetDriverName(0), QStringLiteral("Ezssp-0"));
    EXPECT_EQ(usbObject->GetDriverName(1), QStringLiteral("Ezssp-2"));
    // The selected board behind the faulty one is still connected.
    EXPECT_TRUE(usbObject->IsConnected());
}

struct IdentifierCase {
    const char* name;
    uint16_t boardVendor;
    uint16_t boardProduct;
    int32_t vendorProperty;
    int32_t productProperty;
    bool listed;    // enumeration needs both identifiers
    bool transfers; // a transfer needs one of them
};

class EzusbIdentifierTest : public EzusbTest, public ::testing::WithParamInterface<IdentifierCase> {};

TEST_P(EzusbIdentifierTest, SignedSixteenBitComparison)
{
    const IdentifierCase& c = GetParam();
    usb::BoardOptions options;
    options.vendorId = c.boardVendor;
    options.productId = c.boardProduct;
    driver().attach(0, options);
    clsEZUSB usbObject;
    usbObject.setVendorID(c.vendorProperty);
    usbObject.setProductID(c.productProperty);
    EXPECT_EQ(usbObject.GetDevices(), c.listed ? 1 : 0);

    uint8_t command[1] = {0};
    int32_t length = 1;
    EXPECT_EQ(usbObject.BulkXfer(0, command, length, QStringLiteral("Ezssp-0")), c.transfers ? 1 : 0);
    if (c.transfers) {
        uint8_t reply[2] = {};
        length = 2;
        EXPECT_EQ(usbObject.BulkXfer(1, reply, length, QStringLiteral("Ezssp-0")), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, EzusbIdentifierTest,
    ::testing::Values(
        IdentifierCase{"BoardIdsAsStartUpStoresThem", 0x7A47, 0xB470, kEvalBoardVendorID, kEvalBoardProductID,
                       true, true},
        IdentifierCase{"HighProductIdStoredPositiveNeverMatches", 0x7A47, 0xB470, 0x7A47, 0xB470, false,
                       true},
        IdentifierCase{"NegativePropertyIsMinus19344", 0x7A47, 0xB470, 0x7A47, -19344, true, true},
        IdentifierCase{"VendorMatchesProductDoesNot", 0x7A47, 0x1234, kEvalBoardVendorID, kEvalBoardProductID,
                       false, true},
        IdentifierCase{"ProductMatchesVendorDoesNot", 0x1111, 0xB470, kEvalBoardVendorID, kEvalBoardProductID,
                       false, true},
        IdentifierCase{"NeitherMatches", 0x1111, 0x2222, kEvalBoardVendorID, kEvalBoardProductID, false,
                       false},
        IdentifierCase{"DevelopmentKit", 0x0547, 0x1002, kDevKitVendorID, kDevKitProductID, true, true}),
    [](const ::testing::TestParamInfo<IdentifierCase>& info) { return std::string(info.param.name); });

TEST_F(EzusbTest, DevelopmentKitDriverUsesEzusbNames)
{
    usb::BoardOptions kit;
    kit.baseName = QStringLiteral("Ezusb");
    kit.vendorId = 0x0547;
    kit.productId = 0x1002;
    driver().attach(1, kit);
    driver().attach(0); // an Ezssp board is not seen through the other driver
    clsEZUSB usbObject;
    usbObject.setVendorID(kDevKitVendorID);
    usbObject.setProductID(kDevKitProductID);
    EXPECT_EQ(usbObject.driverBaseName(), QStringLiteral("Ezssp"));
    EXPECT_EQ(usbObject.GetDevices(), 0);

    usbObject.UseEZUSBDriver();
    EXPECT_EQ(usbObject.driverBaseName(), QStringLiteral("Ezusb"));
    EXPECT_EQ(usbObject.GetDevices(), 1);
    EXPECT_EQ(usbObject.GetDriverName(0), QStringLiteral("Ezusb-1"));
    ASSERT_EQ(usbObject.SelectDevice(0, 5), 1);
    EXPECT_EQ(driver().board(1)->hostId(), 5u);
}

TEST_F(EzusbTest, DriverPresenceFollowsTheBaseName)
{
    driver().setDriverInstalled(QStringLiteral("Ezusb"), false);
    clsEZUSB usbObject;
    EXPECT_TRUE(usbObject.USBDriverIsInstalled()); // tested at creation
    usbObject.UseEZUSBDriver();
    EXPECT_TRUE(usbObject.USBDriverIsInstalled()); // only a new test changes the answer
    EXPECT_FALSE(usbObject.USBDriverInstalled());
    EXPECT_FALSE(usbObject.USBDriverIsInstalled());
}

TEST_F(EzusbTest, UnplugBetweenTransfersAndPlugBackIn)
{
    driver().attach(0);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 1), 1);
    EXPECT_TRUE(usbObject->IsConnected());

    driver().detach(0);
    uint8_t command[1] = {11};
    int32_t length = 1;
    EXPECT_EQ(usbObject->BulkXfer(0, command, length), 0);
    EXPECT_FALSE(usbObject->IsConnected());
    EXPECT_EQ(usbObject->DriverName(), QStringLiteral("Ezssp-0")); // nothing clears the selection

    driver().attach(0);
    EXPECT_TRUE(usbObject->IsConnected());
    length = 1;
    EXPECT_EQ(usbObject->BulkXfer(0, command, length), 1);
    uint8_t reply[1] = {};
    length = 1;
    EXPECT_EQ(usbObject->BulkXfer(1, reply, length), 1);
    EXPECT_EQ(reply[0], driver().board(0)->statusInputs());
}

TEST_F(EzusbTest, UnplugInTheMiddleOfATransferFailsItAndClosesTheHandle)
{
    driver().attach(0);
    auto usbObject = makeUsb();
    usbObject->GetDevices();
    ASSERT_EQ(usbObject->SelectDevice(0, 1), 1);
    driver().setObserver([this](const usb::TraceEntry& entry) {
        if (entry.kind == RequestKind::PipeInfo) {
            driver().detach(0);
        }
    });
    uint8_t command[2] = {1, 0x02};
    int32_t length = 2;
    EXPECT_EQ(usbObject->BulkXfer(0, command, length), 0);
    driver().setObserver({});
    EXPECT_EQ(driver().trace().back().kind, RequestKind::Close);
    EXPECT_FALSE(usbObject->IsConnected());
}

} // namespace
