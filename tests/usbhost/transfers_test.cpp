// The board object's transfers through libusb: registers, the whole RAM, the FIFO, the firmware version
// and the host identifier, each checked on the emulated board behind the umockdev bus.

#include "usbhost_support.h"

#include "board/evalbd.h"
#include "common/bit_strings.h"
#include "platform/usb/usb_driver.h"

#include <random>

using namespace usbhosttest;
using testbits::bits;

namespace {

class BoardOverLibusb : public BoardTest {};

} // namespace

TEST_F(BoardOverLibusb, RegisterWritesReachTheChipAndReadBack)
{
    const struct {
        int address;
        int width;
        uint64_t value;
    } cases[] = {
        {0x02, 32, 0x1F3F4000},
        {0x05, 48, 0xFEDCBA987654ULL},
        {0x08, 16, 0xBEEF},
        {0x0B, 64, 0x0123456789ABCDEFULL},
        {0x0E, 64, 0x3FFF0000DEADBEEFULL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        ASSERT_EQ(chip().width(c.address), c.width);
        ASSERT_EQ(bd->USBSerialLoadPKT(static_cast<int16_t>(c.address), bits(c.value, c.width)), 0);
        EXPECT_EQ(chip().bufferRegister(c.address), c.value);
        EXPECT_EQ(bd->USBSerialReadPKT(static_cast<int16_t>(c.address)), bits(c.value, c.width));
    }
    const usbmock::BoardTraffic traffic = bus().traffic(number);
    EXPECT_FALSE(traffic.out[3].isEmpty()) << "serial bits went out on pipe 3";
    EXPECT_FALSE(traffic.in[5].isEmpty()) << "read-back came in on pipe 5";
    EXPECT_EQ(bus().claims(number), 1) << "the selected board stays claimed while this copy talks to it";
}

TEST_F(BoardOverLibusb, WholeRamLoadAndDumpAtBothSpeeds)
{
    for (const bool highSpeed : {true, false}) {
        SCOPED_TRACE(highSpeed);
        bus().board(number).setHighSpeed(highSpeed);
        bd->setISFC(1);
        bd->USBWritePortBuffVal(kPortA);
        ASSERT_EQ(
            bd->USBSerialLoadPKT(0x05, QStringLiteral("000000000000000011111111110000000000000000000000")),
            0);
        bd->StrobeREGUD();
        std::mt19937 random(highSpeed ? 1 : 2);
        QStringList image;
        for (int k = 0; k < 1024; ++k)
            image.append(bits(random(), 32));
        ASSERT_TRUE(bd->USBSerialLoadRAM(image));
        for (int a = 0; a < 1024; ++a)
            ASSERT_EQ(chip().ramWord(a), testbits::valueOf(image[a])) << a;
        QStringList dump(1024, QStringLiteral("old"));
        ASSERT_TRUE(bd->USBSerialReadRAM(dump));
        EXPECT_EQ(dump, image);
    }
}

TEST_F(BoardOverLibusb, FifoLoadFirmwareVersionAndHostIdentifier)
{
    bd->USBResetFIFO();
    std::vector<int32_t> values(300);
    for (size_t k = 0; k < values.size(); ++k)
        values[k] = static_cast<int32_t>(k * 877 % 0x40000);
    ASSERT_TRUE(bd->USBLoadFIFOData(values));
    EXPECT_EQ(bus().board(number).fifo()->contents(), std::vector<uint32_t>(values.begin(), values.end()));

    EXPECT_EQ(bd->GetFirmWareVersion(), QStringLiteral("0.3"));
    EXPECT_EQ(bus().board(number).hostId(), 0x1234u) << "selection stored this copy's host identifier";
    int32_t hostId = 0;
    EXPECT_EQ(goEZUSB().GetHostID(0, hostId), 1);
    EXPECT_EQ(hostId, 0x1234);
    QString product;
    EXPECT_EQ(goEZUSB().GetStringDescription(2, product), 1);
    EXPECT_EQ(product, bus().board(number).options().product);
}
