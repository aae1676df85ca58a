#pragma once

// A byte-level host for the emulated driver: opens the device for every transfer like the USB object does
// (open, device descriptor, pipe information, bulk request, close) and sends the firmware commands and
// serial-bit packets in the order the board object uses them.

#include "platform/usb/emulated_driver.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace usbtest {

using Bits = std::vector<uint8_t>; // one bit value per element, in wire order

Bits msbFirst(uint64_t value, int width);
uint64_t fromMsbFirst(const Bits& bits);
Bits reversed(Bits bits);

class Host {
public:
    explicit Host(usb::EmulatedDriver& driver, QString device = QStringLiteral("Ezssp-0"))
        : driver_(driver), device_(std::move(device))
    {
    }

    // One transfer as the USB object makes it; false on any failure or a short count.
    bool transfer(int pipe, uint8_t* data, uint32_t length);
    bool send(std::initializer_list<uint8_t> command);
    bool send(const QByteArray& command);
    std::optional<QByteArray> read(int pipe, uint32_t length);
    std::optional<QByteArray> ask(std::initializer_list<uint8_t> command, uint32_t replyLength);
    std::optional<uint8_t> ask1(std::initializer_list<uint8_t> command);

    // Port buffers as the board object keeps them.
    uint8_t portA = 0x02;
    uint8_t portE = 0x80;
    uint8_t portC = 0x03;
    void sendPortA(uint8_t value);
    void sendPortE(uint8_t value);
    void sendPortC(uint8_t value);
    void ioUpdate();     // pulse port E bit 4
    void ioResetPulse(); // pulse port A bit 2
    void resetPulse();   // pulse port A bit 3

    // Serial mode the host believes the chip is in (follows its own writes of CFR1).
    bool lsbFirst = false;
    bool threeWire = false;

    int packetWords(); // 256 at high speed, 32 otherwise
    bool writeRegister(int address, uint64_t value, int width);
    std::optional<uint64_t> readRegister(int address, int width);
    // Raw read: the sampled port-B bytes of `width` read-back words after the instruction.
    std::optional<QByteArray> readRaw(int address, int width);

    // Whole RAM image (index = address) as the board object moves it.
    bool writeRam(const std::vector<uint32_t>& words);
    std::optional<std::vector<uint32_t>> readRam(int count);

    // FIFO as the board object loads it.
    void resetFifo();
    void programFifoFlags(uint32_t emptyOffset, uint32_t fullOffset);
    bool writeFifoValues(const std::vector<uint32_t>& values);
    std::optional<uint8_t> readyLines() { return ask1({23}); }

private:
    void initiate();
    void terminate();
    bool sendBits(const Bits& bits);
    std::optional<Bits> readBits(int count, uint8_t mask);

    usb::EmulatedDriver& driver_;
    QString device_;
};

} // namespace usbtest
