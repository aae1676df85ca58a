#pragma once

// One emulated evaluation board: the USB microcontroller's firmware (commands on pipe 0, replies on pipe 1,
// serial-bit words and FIFO data on pipe 3, read-back words on pipe 5), its ports A-E and control lines,
// the FIFO and the chip. Tests reach every part of its state here.

#include "platform/usb/emulated_chip.h"
#include "platform/usb/emulated_fifo.h"
#include "platform/usb/emulator_types.h"
#include "platform/usb/firmware_commands.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace usb {

inline constexpr int kPipeCount = 6;
using firmware::kCommandPipe;
using firmware::kDataPipe;
using firmware::kReadBackPipe;
using firmware::kReplyPipe;

// Port A bits
inline constexpr uint8_t kPortAUsbStatus = 0x01, kPortACsb = 0x02, kPortAIoReset = 0x04, kPortAReset = 0x08,
                         kPortAExtPd = 0x10, kPortAIsfc = 0x20, kPortAScanEn = 0x40;
// Port C bits
inline constexpr uint8_t kPortCFifoLdb = 0x01, kPortCFifoWenb = 0x02, kPortCTxEnable = 0x04,
                         kPortCRtEnable = 0x08, kPortCFifoReset = 0x10, kPortCCpldReset = 0x20;
// Port E bits
inline constexpr uint8_t kPortEProfileMask = 0x07, kPortEOsk = 0x08, kPortERegud = 0x10, kPortELsHold = 0x20,
                         kPortELsCtl = 0x40, kPortERegudEn = 0x80;
// Port D status inputs
inline constexpr uint8_t kPortDLsOvr = 0x08, kPortDRsOvr = 0x10, kPortDSyncSmplErr = 0x20,
                         kPortDPllLock = 0x40, kPortDCicOverfl = 0x80;

// Power-on levels of the firmware (the emulator's assumptions): CSB high, reset low, FIFO_LDB and FIFO_WENB
// high, REGUD_EN set, lamp blinking, automatic chip select on with mask CSB.
inline constexpr uint8_t kPowerOnPortA = 0x02, kPowerOnCtl = 0x00, kPowerOnPortC = 0x03, kPowerOnPortE = 0x80,
                         kPowerOnAutoCsbMask = 0x02;

class EmulatedBoard {
public:
    using ViolationSink = std::function<void(ViolationKind, const QString&)>;

    EmulatedBoard(int slot, const BoardOptions& options);

    int slot() const { return slot_; }
    QString deviceName() const;
    const BoardOptions& options() const { return options_; }

    // --- the board's USB side, used by the emulated driver ---
    // Bulk write on a pipe: returns false when the firmware refuses the transfer.
    bool bulkWrite(int pipe, const uint8_t* data, uint32_t length);
    // Bulk read into out: returns the bytes delivered, or -1 on failure.
    int64_t bulkRead(int pipe, uint8_t* out, uint32_t length);
    void fillDeviceDescriptor(uint8_t* out18) const;
    QByteArray stringDescriptor(int index) const; // empty when there is none
    void setViolationSink(const ViolationSink& sink);
    void setClock(Clock clock);

    // --- options that may change while attached ---
    void setFirmwareVersion(uint8_t major, uint8_t minor);
    void setHighSpeed(bool on) { options_.highSpeed = on; }
    void setIds(uint16_t vendorId, uint16_t productId);
    void setStatusInputs(uint8_t portD) { statusInputs_ = portD & 0xF8; }
    void setStatusInput(uint8_t bit, bool on);

    // --- state ---
    uint8_t portA() const { return portA_; }
    uint8_t portC() const { return portC_; }
    uint8_t portE() const { return portE_; }
    uint8_t ctl() const { return ctl_; }
    uint8_t portDLatch() const { return portDLatch_; }
    uint8_t portBLatch() const { return portBLatch_; }
    uint8_t statusInputs() const { return statusInputs_; }
    uint32_t hostId() const { return hostId_; }
    void setHostId(uint32_t id) { hostId_ = id; }
    bool ledBlinking() const { return ledBlinking_; }
    bool autoCsb() const { return autoCsb_; }
    uint8_t autoCsbMask() const { return autoCsbMask_; }
    int readBackCount() const { return readBackCount_; }
    bool readBackActive() const { return readBackActive_; }
    bool chipSelectLow() const; // chip select as the chip sees it between packets
    uint8_t readyLines();       // what command 23 answers
    uint8_t portBLines() const; // what command 9 answers: bit 0 SDIO, bit 1 SDO

    EmulatedChip* chip() { return chip_.get(); } // nullptr when the board carries no chip
    const EmulatedChip* chip() const { return chip_.get(); }
    EmulatedFifo* fifo() { return fifo_.get(); } // nullptr when the board carries no FIFO
    const EmulatedFifo* fifo() const { return fifo_.get(); }

private:
    void command(const uint8_t* data, uint32_t length);
    void setReply(std::initializer_list<uint8_t> bytes);
    bool expectLength(uint8_t code, uint32_t length, uint32_t expected);
    void writePortA(uint8_t value);
    void writePortC(uint8_t value);
    void writePortE(uint8_t value);
    void readBackClocks();
    void dataWords(const uint8_t* data, uint32_t length);
    void powerOnFirmware();
    bool framedByAutoCsb() const;
    void updateChipSelect(bool packetFraming);
    void report(ViolationKind kind, const QString& text) const;

    int slot_;
    BoardOptions options_;
    ViolationSink violation_;
    std::unique_ptr<EmulatedChip> chip_;
    std::unique_ptr<EmulatedFifo> fifo_;

    uint8_t portA_ = kPowerOnPortA;
    uint8_t portC_ = kPowerOnPortC;
    uint8_t portE_ = kPowerOnPortE;
    uint8_t ctl_ = kPowerOnCtl;
    uint8_t portDLatch_ = 0;
    uint8_t portBLatch_ = 0;
    uint8_t statusInputs_ = 0x40;
    uint32_t hostId_ = 0;
    bool ledBlinking_ = true;
    bool autoCsb_ = true;
    uint8_t autoCsbMask_ = kPowerOnAutoCsbMask;

    std::array<uint8_t, 8> reply_{};
    uint32_t replyLength_ = 0;

    int readBackCount_ = 0;
    bool readBackActive_ = false;
    std::vector<uint8_t> readBack_; // queued pipe-5 bytes
    bool readBackQueued_ = false;
};

} // namespace usb
