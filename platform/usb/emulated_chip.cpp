// Serial port, register commit, I/O update and RAM stream of the emulated ZR4470.
//
// Assumptions of the emulator where the chip's behaviour is not fixed by what the system relies on:
//  - Chip select going high suspends a register cycle (the serial state is kept until IO_RESET); an option
//    aborts the cycle instead. Register 0x16 (RAM) is the exception: its data phase runs until chip select
//    goes high, and a partial word is discarded then.
//  - Reads answer the I/O buffer (the last value written, or the reset value), not the active register, so
//    a read-back equals the last write whether or not an I/O update followed. The identification register
//    and, on revision 3, 0x19 and 0x1B answer live values; writes to the identification register are
//    ignored.
//  - A read of any profile register 0x0E-0x15 answers the profile register that the profile pins select,
//    sampled when the instruction completes; writes go to the addressed register.
//  - The serial mode bits of CFR1 (bit 0 LSB first, bit 1 3-wire) take effect at the end of the CFR1 write
//    itself; the CFR1 write is framed in the mode before it.
//  - CFR2 bit 23 (internal I/O update) takes effect at the end of the CFR2 write; while it is set, every
//    completed register write is followed by an I/O update.
//  - Read-back clocks while the chip is not shifting out read data clock the undriven SDIO level into the
//    serial port as if the host had sent it.
//  - A RAM transfer uses the active profile's segment when CFR1 has the RAM enable (bit 31) and single-tone
//    mode (bits 25:24 = 01), else the RAM segment register that ISFC selects (1: 0x05, 0: 0x06). MSB-first
//    transfers run from the segment's final address downwards, LSB-first ones from its begin address
//    upwards. Words past the segment's end are not stored.
//  - The master reset restores every register (buffer and active) and the serial mode; the RAM keeps its
//    contents.

#include "platform/usb/emulated_chip.h"

namespace usb {

EmulatedChip::EmulatedChip(const ChipOptions& options) : options_(options)
{
    resetRegisters();
}

void EmulatedChip::report(ViolationKind kind, const QString& text) const
{
    if (violation_) {
        violation_(kind, text);
    }
}

void EmulatedChip::resetRegisters()
{
    for (int address = 0; address < kRegisterCount; ++address) {
        buffer_[address] = registerDefault(options_.revision, address);
        active_[address] = buffer_[address];
    }
    lsbFirst_ = false;
    threeWire_ = false;
    resetSerialState();
}

void EmulatedChip::resetSerialState()
{
    phase_ = SerialPhase::Instruction;
    shift_ = 0;
    bitCount_ = 0;
    address_ = 0;
    dataWidth_ = 0;
    data_ = 0;
    ramWordValid_ = false;
    writeDuringReadReported_ = false;
}

void EmulatedChip::setChipSelect(bool selected)
{
    if (selected_ && !selected && phase_ != SerialPhase::Instruction) {
        if (address_ == kRamAddress || options_.csbHighAbortsCycle) {
            resetSerialState();
        }
    }
    selected_ = selected;
}

void EmulatedChip::setIoReset(bool high)
{
    ioReset_ = high;
    if (high) {
        resetSerialState();
    }
}

void EmulatedChip::setMasterReset(bool high)
{
    if (high && !masterReset_) {
        ++masterResets_;
        resetRegisters();
    }
    masterReset_ = high;
}

void EmulatedChip::setHeldInReset(bool held)
{
    if (held && !heldInReset_) {
        resetRegisters();
    }
    heldInReset_ = held;
}

void EmulatedChip::setProfilePins(int pins)
{
    profilePins_ = pins & 7;
}

void EmulatedChip::setIsfc(bool high)
{
    isfc_ = high;
}

void EmulatedChip::ioUpdate()
{
    if (!present() || inReset()) {
        return;
    }
    active_ = buffer_;
    ++ioUpdates_;
}

bool EmulatedChip::idleLevel() const
{
    return options_.undriven != UndrivenLine::PullDown;
}

SerialLines EmulatedChip::drivenLines(bool bit) const
{
    bool other = idleLevel();
    if (options_.undriven == UndrivenLine::InverseOfData) {
        other = !bit;
    }
    return threeWire_ ? SerialLines{other, bit} : SerialLines{bit, other};
}

SerialLines EmulatedChip::lines() const
{
    if (listening() && phase_ == SerialPhase::ReadData) {
        return drivenLines(currentReadBit());
    }
    return {idleLevel(), idleLevel()};
}

void EmulatedChip::clockWrite(bool sdio)
{
    if (!listening()) {
        return;
    }
    if (phase_ == SerialPhase::ReadData) {
        if (!writeDuringReadReported_) {
            writeDuringReadReported_ = true;
            report(ViolationKind::WriteDuringRead,
                   QStringLiteral("serial bits written while the chip shifts out register 0x%1")
                       .arg(address_, 2, 16, QLatin1Char('0')));
        }
        advanceRead();
        return;
    }
    shiftIn(sdio);
}

SerialLines EmulatedChip::clockRead()
{
    if (!listening()) {
        return {idleLevel(), idleLevel()};
    }
    if (phase_ == SerialPhase::ReadData) {
        const SerialLines sampled = drivenLines(currentReadBit());
        advanceRead();
        return sampled;
    }
    ++extraClocks_;
    const bool level = idleLevel();
    shiftIn(level);
    return {level, level};
}

void EmulatedChip::shiftIn(bool bit)
{
    const uint64_t b = bit ? 1 : 0;
    if (phase_ == SerialPhase::Instruction) {
        if (lsbFirst_) {
            shift_ |= static_cast<uint32_t>(b) << bitCount_;
        } else {
            shift_ = (shift_ << 1) | static_cast<uint32_t>(b);
        }
        if (++bitCount_ == 8) {
            instructionComplete();
        }
        return;
    }
    // WriteData
    const int width = address_ == kRamAddress ? 32 : dataWidth_;
    if (lsbFirst_) {
        data_ |= b << bitCount_;
    } else {
        data_ = (data_ << 1) | b;
    }
    if (++bitCount_ == width) {
        if (address_ == kRamAddress) {
            ramWordComplete();
        } else {
            writeComplete();
        }
    }
}

void EmulatedChip::instructionComplete()
{
    const uint32_t instruction = shift_ & 0xFF;
    const bool read = (instruction & 0x80) != 0;
    // Bits 6:5 (the byte count) are not looked at: every register moves its whole width.
    address_ = static_cast<int>(instruction & 0x1F);
    shift_ = 0;
    bitCount_ = 0;
    data_ = 0;
    writeDuringReadReported_ = false;
    if (address_ == kRamAddress) {
        startRamSegment();
        if (read) {
            phase_ = SerialPhase::ReadData;
            loadRamReadWord();
        } else {
            phase_ = SerialPhase::WriteData;
        }
        return;
    }
    dataWidth_ = width(address_);
    if (read) {
        int source = address_;
        if (source >= 0x0E && source <= 0x15) {
            source = 0x0E + profilePins_;
        }
        data_ = readValue(source);
        phase_ = SerialPhase::ReadData;
    } else {
        phase_ = SerialPhase::WriteData;
    }
}

void EmulatedChip::writeComplete()
{
    const int address = address_;
    const uint64_t value = data_ & widthMask(dataWidth_);
    ++completedWrites_;
    if (address != identificationAddress()) {
        buffer_[address] = value;
    }
    if (address == 0x00) {
        lsbFirst_ = (value & 0x1) != 0;
        threeWire_ = (value & 0x2) != 0;
    }
    resetSerialState();
    const bool internalUpdate = ((active_[0x01] >> 23) & 1) != 0;
    const bool internalUpdateWritten = address == 0x01 && ((buffer_[0x01] >> 23) & 1) != 0;
    if (internalUpdate || internalUpdateWritten) {
        ioUpdate();
    }
}

bool EmulatedChip::currentReadBit() const
{
    const int width = address_ == kRamAddress ? 32 : dataWidth_;
    if (address_ == kRamAddress && !ramWordValid_) {
        return false;
    }
    const int shift = lsbFirst_ ? bitCount_ : width - 1 - bitCount_;
    return ((data_ >> shift) & 1) != 0;
}

void EmulatedChip::advanceRead()
{
    if (address_ != kRamAddress) {
        if (++bitCount_ == dataWidth_) {
            ++completedReads_;
            resetSerialState();
        }
        return;
    }
    if (!ramWordValid_ && !ramOverrunReported_) {
        ramOverrunReported_ = true;
        report(ViolationKind::RamPastSegment, QStringLiteral("RAM read past the end of the RAM segment"));
    }
    if (++bitCount_ == 32) {
        bitCount_ = 0;
        if (ramWordValid_) {
            ramNext_ += ramStep_;
            --ramLeft_;
        }
        loadRamReadWord();
    }
}

void EmulatedChip::startRamSegment()
{
    const uint64_t cfr1 = active_[0x00];
    const bool profileSegment = ((cfr1 >> 31) & 1) != 0 && ((cfr1 >> 24) & 3) == 1;
    int begin = 0;
    int final = 0;
    if (profileSegment) {
        const uint64_t profile = active_[0x0E + profilePins_];
        begin = static_cast<int>((profile >> 14) & 0x3FF);
        final = static_cast<int>((profile >> 30) & 0x3FF);
    } else {
        const uint64_t segment = active_[isfc_ ? 0x05 : 0x06];
        final = static_cast<int>((segment >> 22) & 0x3FF);
        begin = static_cast<int>((segment >> 6) & 0x3FF);
    }
    ramLeft_ = final >= begin ? final - begin + 1 : 0;
    ramStep_ = lsbFirst_ ? 1 : -1;
    ramNext_ = lsbFirst_ ? begin : final;
    ramOverrunReported_ = false;
}

void EmulatedChip::loadRamReadWord()
{
    ramWordValid_ = ramLeft_ > 0 && ramNext_ >= 0 && ramNext_ < kRamWords;
    data_ = ramWordValid_ ? ram_[ramNext_] : 0;
}

void EmulatedChip::ramWordComplete()
{
    if (ramLeft_ > 0 && ramNext_ >= 0 && ramNext_ < kRamWords) {
        ram_[ramNext_] = static_cast<uint32_t>(data_);
        ramNext_ += ramStep_;
        --ramLeft_;
    } else if (!ramOverrunReported_) {
        ramOverrunReported_ = true;
        report(ViolationKind::RamPastSegment, QStringLiteral("RAM words past the end of the RAM segment"));
    }
    bitCount_ = 0;
    data_ = 0;
}

uint64_t EmulatedChip::bufferRegister(int address) const
{
    return buffer_.at(address);
}

uint64_t EmulatedChip::activeRegister(int address) const
{
    return active_.at(address);
}

void EmulatedChip::setBufferRegister(int address, uint64_t value)
{
    buffer_.at(address) = value & widthMask(width(address));
}

void EmulatedChip::setActiveRegister(int address, uint64_t value)
{
    active_.at(address) = value & widthMask(width(address));
}

void EmulatedChip::setLiveValue(int address, uint64_t value)
{
    live_.at(address) = value & widthMask(width(address));
}

uint64_t EmulatedChip::readValue(int address) const
{
    if (address == identificationAddress()) {
        return options_.identification & widthMask(40);
    }
    if (options_.revision == ChipRevision::Rev3 && (address == 0x19 || address == 0x1B)) {
        return live_.at(address);
    }
    return buffer_.at(address);
}

} // namespace usb
