#pragma once

// The emulated ZR4470: its serial port (instruction byte, MSB/LSB first, 2-/3-wire), register file per
// silicon revision with an I/O buffer and active registers, I/O update, profile pins and the 1024-word RAM.
// The board drives its pins; tests read and set its state directly.

#include "platform/usb/emulator_types.h"

#include <array>
#include <cstdint>
#include <functional>

namespace usb {

inline constexpr int kRegisterCount = 32;
inline constexpr int kRamWords = 1024;
inline constexpr int kRamAddress = 0x16;

// Levels of the two serial data lines as the firmware samples them.
struct SerialLines {
    bool sdio = true;
    bool sdo = true;
};

enum class SerialPhase { Instruction, WriteData, ReadData };

class EmulatedChip {
public:
    using ViolationSink = std::function<void(ViolationKind, const QString&)>;

    explicit EmulatedChip(const ChipOptions& options = {});

    // Register layout of a silicon revision (Rev1 and Rev2 share one layout; None has the revision 3 one).
    static int registerWidth(ChipRevision revision, int address);
    static uint64_t registerDefault(ChipRevision revision, int address);
    static uint64_t widthMask(int width);

    ChipRevision revision() const { return options_.revision; }
    const ChipOptions& options() const { return options_; }
    void setUndrivenLine(UndrivenLine policy) { options_.undriven = policy; }
    void setCsbHighAbortsCycle(bool aborts) { options_.csbHighAbortsCycle = aborts; }
    void setViolationSink(ViolationSink sink) { violation_ = std::move(sink); }

    // --- pins, driven by the board ---
    void setChipSelect(bool selected); // chip select effectively low
    void setIoReset(bool high);        // serial-port reset, active high
    void setMasterReset(bool high);    // master reset, active high
    void setProfilePins(int pins);     // P2 P1 P0 as 0-7
    void setIsfc(bool high);           // RAM segment select: 1 = RSR0, 0 = RSR1
    void ioUpdate();                   // I/O update pin pulse: buffer -> active
    void clockWrite(bool sdio);        // one serial clock with the host driving SDIO
    SerialLines clockRead();           // one read-back clock: the lines as sampled, then the chip shifts
    SerialLines lines() const;         // the lines as they stand (fresh port-B read)

    // --- test access ---
    int width(int address) const { return registerWidth(options_.revision, address); }
    uint64_t bufferRegister(int address) const;
    uint64_t activeRegister(int address) const;
    void setBufferRegister(int address, uint64_t value);
    void setActiveRegister(int address, uint64_t value);
    // The value the chip answers for an address on a read (identification and live registers included).
    uint64_t readValue(int address) const;
    // Live inputs of revision 3: 0x19 GPIO Read and 0x1B ADC Results.
    void setLiveValue(int address, uint64_t value);
    const std::array<uint32_t, kRamWords>& ram() const { return ram_; }
    uint32_t ramWord(int address) const { return ram_.at(address); }
    void setRamWord(int address, uint32_t value) { ram_.at(address) = value; }
    void fillRam(uint32_t value) { ram_.fill(value); }

    bool present() const { return options_.revision != ChipRevision::None; }
    bool lsbFirst() const { return lsbFirst_; }
    bool threeWire() const { return threeWire_; }
    bool selected() const { return selected_; }
    bool inReset() const { return masterReset_ || heldInReset_; }
    void setHeldInReset(bool held); // held in reset regardless of the reset pin
    bool heldInReset() const { return heldInReset_; }
    int profilePins() const { return profilePins_; }
    bool isfc() const { return isfc_; }
    SerialPhase phase() const { return phase_; }
    int ioUpdateCount() const { return ioUpdates_; }
    int masterResetCount() const { return masterResets_; }
    int completedWrites() const { return completedWrites_; }
    int completedReads() const { return completedReads_; }
    // Read-back clocks that arrived while the chip was not shifting out read data (they feed the serial
    // port from the undriven line instead).
    int extraClocks() const { return extraClocks_; }
    int identificationAddress() const;

private:
    bool listening() const { return present() && selected_ && !inReset() && !ioReset_; }
    void resetRegisters();
    void resetSerialState();
    void shiftIn(bool bit);
    void instructionComplete();
    void writeComplete();
    void ramWordComplete();
    void loadRamReadWord();
    void advanceRead();
    bool currentReadBit() const;
    void startRamSegment();
    bool idleLevel() const;
    SerialLines drivenLines(bool bit) const;
    void report(ViolationKind kind, const QString& text) const;

    ChipOptions options_;
    ViolationSink violation_;
    std::array<uint64_t, kRegisterCount> buffer_{};
    std::array<uint64_t, kRegisterCount> active_{};
    std::array<uint64_t, kRegisterCount> live_{};
    std::array<uint32_t, kRamWords> ram_{};

    bool selected_ = false;
    bool ioReset_ = false;
    bool masterReset_ = false;
    bool heldInReset_ = false;
    bool isfc_ = false;
    int profilePins_ = 0;
    bool lsbFirst_ = false;
    bool threeWire_ = false;

    SerialPhase phase_ = SerialPhase::Instruction;
    uint32_t shift_ = 0; // instruction bits gathered
    int bitCount_ = 0;   // bits of the current phase so far
    int address_ = 0;
    int dataWidth_ = 0;
    uint64_t data_ = 0; // write: bits gathered; read: the value being shifted out
    // RAM stream state
    int ramNext_ = 0;           // next RAM address of the stream
    int ramStep_ = 1;           // +1 ascending (LSB first), -1 descending (MSB first)
    int ramLeft_ = 0;           // words left in the segment
    bool ramWordValid_ = false; // read: data_ holds a word of the segment
    bool ramOverrunReported_ = false;
    bool writeDuringReadReported_ = false;

    int ioUpdates_ = 0;
    int masterResets_ = 0;
    int completedWrites_ = 0;
    int completedReads_ = 0;
    int extraClocks_ = 0;
};

} // namespace usb
