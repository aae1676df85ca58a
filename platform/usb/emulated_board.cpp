// The emulated board's pipes, ports and lines.
//
// Assumptions of the emulator about the board's firmware and logic:
//  - Pipe-3 words go where the lines send them: to the chip's serial port while chip select is low (one
//    serial clock per word, SDIO = bit 0 of the word's first byte), to the FIFO while FIFO_WENB is low (one
//    9-bit half-word per word; FIFO_LDB low as well loads the two offsets instead).
//  - In automatic chip-select mode the firmware lowers the mask's lines (CSB by default) for each pipe-3
//    packet and each read-back burst and raises them afterwards; between packets chip select is high.
//    Without automatic mode chip select follows port A bit 1.
//  - Read-back ([4, 1]) clocks the programmed number of bits at once and queues one 16-bit word per bit:
//    first byte = the sampled lines (bit 0 SDIO, bit 1 SDO), second byte 0.
//  - An I/O update is the rising edge of port E bit 4 while port E bit 7 (REGUD_EN) is set.
//  - Port D answers the status inputs in bits 3-7 (bits 0-2 read 0); writing it only stores a latch.
//  - A board without FIFO reads both ready lines high (pull-ups).

#include "platform/usb/emulated_board.h"

#include <cstring>

namespace usb {

EmulatedBoard::EmulatedBoard(int slot, const BoardOptions& options)
    : slot_(slot), options_(options), statusInputs_(options.statusInputs & 0xF8), hostId_(options.hostId)
{
    if (options_.chip.revision != ChipRevision::None) {
        chip_ = std::make_unique<EmulatedChip>(options_.chip);
    }
    if (options_.fifoPresent) {
        fifo_ = std::make_unique<EmulatedFifo>(options_.fifoDepth);
    }
    powerOnFirmware();
    if (options_.resetLineHighAtPowerOn) {
        writePortA(static_cast<uint8_t>(portA_ | kPortAReset));
    }
}

QString EmulatedBoard::deviceName() const
{
    return options_.baseName + QLatin1Char('-') + QString::number(slot_);
}

void EmulatedBoard::report(ViolationKind kind, const QString& text) const
{
    if (violation_) {
        violation_(kind, text);
    }
}

void EmulatedBoard::setViolationSink(const ViolationSink& sink)
{
    violation_ = sink;
    if (chip_) {
        chip_->setViolationSink(sink);
    }
    if (fifo_) {
        fifo_->setViolationSink(sink);
    }
}

void EmulatedBoard::setClock(Clock clock)
{
    if (fifo_) {
        fifo_->setClock(std::move(clock));
    }
}

void EmulatedBoard::setFirmwareVersion(uint8_t major, uint8_t minor)
{
    options_.firmwareMajor = major;
    options_.firmwareMinor = minor;
}

void EmulatedBoard::setIds(uint16_t vendorId, uint16_t productId)
{
    options_.vendorId = vendorId;
    options_.productId = productId;
}

void EmulatedBoard::setStatusInput(uint8_t bit, bool on)
{
    if (on) {
        statusInputs_ = static_cast<uint8_t>(statusInputs_ | bit);
    } else {
        statusInputs_ = static_cast<uint8_t>(statusInputs_ & ~bit);
    }
    statusInputs_ &= 0xF8;
}

void EmulatedBoard::powerOnFirmware()
{
    ctl_ = kPowerOnCtl;
    autoCsb_ = true;
    autoCsbMask_ = kPowerOnAutoCsbMask;
    replyLength_ = 0;
    readBackCount_ = 0;
    readBackActive_ = false;
    readBack_.clear();
    readBackQueued_ = false;
    writePortC(kPowerOnPortC);
    writePortE(kPowerOnPortE);
    writePortA(kPowerOnPortA);
}

bool EmulatedBoard::framedByAutoCsb() const
{
    return autoCsb_ && (autoCsbMask_ & kPortACsb) != 0;
}

bool EmulatedBoard::chipSelectLow() const
{
    if (framedByAutoCsb()) {
        return false;
    }
    return (portA_ & kPortACsb) == 0;
}

void EmulatedBoard::updateChipSelect(bool packetFraming)
{
    if (chip_) {
        chip_->setChipSelect(packetFraming || chipSelectLow());
    }
}

void EmulatedBoard::writePortA(uint8_t value)
{
    portA_ = value;
    if (chip_) {
        chip_->setMasterReset((value & kPortAReset) != 0);
        chip_->setIoReset((value & kPortAIoReset) != 0);
        chip_->setIsfc((value & kPortAIsfc) != 0);
    }
    updateChipSelect(false);
}

void EmulatedBoard::writePortC(uint8_t value)
{
    const uint8_t old = portC_;
    portC_ = value;
    if (!fifo_) {
        return;
    }
    const auto rising = [&](uint8_t bit) { return (old & bit) == 0 && (value & bit) != 0; };
    if (rising(kPortCCpldReset)) {
        fifo_->resetLogic();
    }
    if (rising(kPortCFifoReset)) {
        fifo_->reset();
    }
    fifo_->setOffsetLoad((value & kPortCFifoLdb) == 0);
    fifo_->setTransmit((value & kPortCTxEnable) != 0, (value & kPortCRtEnable) != 0);
}

void EmulatedBoard::writePortE(uint8_t value)
{
    const uint8_t old = portE_;
    portE_ = value;
    if (!chip_) {
        return;
    }
    chip_->setProfilePins(value & kPortEProfileMask);
    const bool rising = (old & kPortERegud) == 0 && (value & kPortERegud) != 0;
    if (rising && (value & kPortERegudEn) != 0) {
        chip_->ioUpdate();
    }
}

uint8_t EmulatedBoard::readyLines()
{
    return fifo_ ? fifo_->readyLines() : 0x03;
}

uint8_t EmulatedBoard::portBLines() const
{
    if (chip_) {
        const SerialLines lines = chip_->lines();
        return static_cast<uint8_t>((lines.sdio ? 0x01 : 0) | (lines.sdo ? 0x02 : 0));
    }
    const bool idle = options_.chip.undriven != UndrivenLine::PullDown;
    return idle ? 0x03 : 0x00;
}

bool EmulatedBoard::bulkWrite(int pipe, const uint8_t* data, uint32_t length)
{
    switch (pipe) {
    case kCommandPipe:
        command(data, length);
        return true;
    case kDataPipe:
        dataWords(data, length);
        return true;
    case 2:
        report(ViolationKind::UnusedPipe, QStringLiteral("%1 bytes written on unused pipe 2").arg(length));
        return true;
    default:
        return false;
    }
}

int64_t EmulatedBoard::bulkRead(int pipe, uint8_t* out, uint32_t length)
{
    if (pipe == kReplyPipe) {
        if (replyLength_ == 0 || length > replyLength_) {
            report(ViolationKind::ReadPastReply,
                   QStringLiteral("pipe-1 read of %1 bytes with %2 bytes pending")
                       .arg(length)
                       .arg(replyLength_));
            replyLength_ = 0;
            return -1;
        }
        std::memcpy(out, reply_.data(), length);
        replyLength_ = 0;
        return length;
    }
    if (pipe == kReadBackPipe) {
        if (!readBackQueued_ || length != readBack_.size()) {
            report(ViolationKind::ReadBackMismatch,
                   QStringLiteral("pipe-5 read of %1 bytes with %2 bytes queued")
                       .arg(length)
                       .arg(readBackQueued_ ? readBack_.size() : 0));
            readBackQueued_ = false;
            return -1;
        }
        std::memcpy(out, readBack_.data(), length);
        readBackQueued_ = false;
        return length;
    }
    if (pipe == 4) {
        report(ViolationKind::UnusedPipe, QStringLiteral("read on unused pipe 4"));
    }
    return -1;
}

void EmulatedBoard::dataWords(const uint8_t* data, uint32_t length)
{
    if (length % 2 != 0) {
        report(ViolationKind::SerialWordValue,
               QStringLiteral("pipe-3 packet of %1 bytes: not a whole number of 16-bit words").arg(length));
    }
    const uint32_t words = length / 2;
    const bool framed = framedByAutoCsb();
    const bool toChip = framed || (portA_ & kPortACsb) == 0;
    const bool toFifo = (portC_ & kPortCFifoWenb) == 0;
    if (!toChip && !toFifo) {
        report(ViolationKind::NoTarget,
               QStringLiteral("%1 pipe-3 words with chip select high and FIFO write disabled").arg(words));
        return;
    }
    if (toChip && toFifo) {
        report(ViolationKind::BothTargets,
               QStringLiteral("%1 pipe-3 words with chip select low and FIFO write enabled").arg(words));
    }
    if (toFifo) {
        if (fifo_) {
            const bool loadOffsets = (portC_ & kPortCFifoLdb) == 0;
            for (uint32_t i = 0; i < words; ++i) {
                fifo_->writeHalfWord(static_cast<uint16_t>(data[2 * i] | (data[2 * i + 1] << 8)),
                                     loadOffsets);
            }
        } else {
            report(ViolationKind::FifoAbsent, QStringLiteral("FIFO data on a board without FIFO"));
        }
    }
    if (!toChip || !chip_) {
        return;
    }
    if (framed) {
        chip_->setChipSelect(true);
    }
    bool badWord = false;
    for (uint32_t i = 0; i < words; ++i) {
        const uint8_t low = data[2 * i];
        badWord = badWord || low > 1 || data[2 * i + 1] != 0;
        chip_->clockWrite((low & 1) != 0);
    }
    if (framed) {
        updateChipSelect(false);
    }
    if (badWord && !toFifo) {
        report(ViolationKind::SerialWordValue, QStringLiteral("serial-bit word other than 0 or 1 on pipe 3"));
    }
}

void EmulatedBoard::readBackClocks()
{
    if (readBackQueued_) {
        report(ViolationKind::ReadBackUncollected,
               QStringLiteral("read-back data replaced before pipe 5 read it"));
    }
    readBackQueued_ = true;
    readBack_.assign(static_cast<size_t>(readBackCount_) * 2, 0);
    if (readBackCount_ == 0) {
        report(ViolationKind::BadArgument, QStringLiteral("read-back with a count of 0"));
        return;
    }
    const bool framed = framedByAutoCsb();
    const bool selected = framed || (portA_ & kPortACsb) == 0;
    if (!selected) {
        report(ViolationKind::ReadBackDeselected,
               QStringLiteral("%1 read-back clocks with chip select high").arg(readBackCount_));
    }
    if (!chip_) {
        const uint8_t idle = portBLines();
        for (int i = 0; i < readBackCount_; ++i) {
            readBack_[2 * static_cast<size_t>(i)] = idle;
        }
        return;
    }
    if (framed) {
        chip_->setChipSelect(true);
    }
    const int extraBefore = chip_->extraClocks();
    for (int i = 0; i < readBackCount_; ++i) {
        const SerialLines lines = chip_->clockRead();
        readBack_[2 * static_cast<size_t>(i)] =
            static_cast<uint8_t>((lines.sdio ? 0x01 : 0) | (lines.sdo ? 0x02 : 0));
    }
    if (framed) {
        updateChipSelect(false);
    }
    const int extra = chip_->extraClocks() - extraBefore;
    if (extra > 0 && selected && !chip_->inReset()) {
        report(ViolationKind::ExtraClocks,
               QStringLiteral("%1 read-back clocks beyond the register being read").arg(extra));
    }
}

} // namespace usb
