#pragma once

// The board FIFO: 18-bit values written as pairs of 9-bit half-words on pipe 3 while FIFO_WENB is low,
// two programmable offsets (loaded while FIFO_LDB is low too), the active-low ready lines and the drain
// toward the chip's data port while TXEnable is set.

#include "platform/usb/emulator_types.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace usb {

class EmulatedFifo {
public:
    using ViolationSink = std::function<void(ViolationKind, const QString&)>;

    // The emulator's assumptions: offsets after a FIFO reset are 127/127, so an empty FIFO reads
    // almost-empty low and almost-full high.
    static constexpr uint32_t kDefaultEmptyOffset = 127;
    static constexpr uint32_t kDefaultFullOffset = 127;

    explicit EmulatedFifo(int depth = 65536);
    void setViolationSink(ViolationSink sink) { violation_ = std::move(sink); }
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // --- driven by the board ---
    void writeHalfWord(uint16_t halfWord, bool loadOffsets); // one 9-bit half-word from pipe 3
    void reset();                                            // FIFO_RESET pulse: empty, default offsets
    void resetLogic();                                       // CPLD_RESET pulse: half-word pairing restarts
    void setOffsetLoad(bool low);                            // FIFO_LDB level (low = true)
    void setTransmit(bool txEnable, bool retransmit);        // TXEnable / RTEnable levels
    uint8_t readyLines();                                    // bit 0 PAF, bit 1 PAE, both active low

    // --- test access ---
    int depth() const { return depth_; }
    const std::vector<uint32_t>& contents() const { return values_; }
    int stored() const { return static_cast<int>(values_.size()); }
    uint32_t emptyOffset() const { return emptyOffset_; }
    uint32_t fullOffset() const { return fullOffset_; }
    bool almostFull() const;  // the PAF condition (line low)
    bool almostEmpty() const; // the PAE condition (line low)
    // Values sent toward the chip: each drained value, and each value a loop replays at a drain rate.
    uint64_t transmittedValues() const { return transmitted_; }
    // Values drained per clock unit while transmitting; 0 (default) drains at once.
    void setDrainRate(double valuesPerClockUnit) { drainRate_ = valuesPerClockUnit; }
    void load(const std::vector<uint32_t>& values); // put values straight in (tests)

private:
    void settle();
    uint64_t dueSinceStart() const; // values the drain rate owes since the transmission started
    void report(ViolationKind kind, const QString& text) const;

    int depth_;
    ViolationSink violation_;
    Clock clock_;
    std::vector<uint32_t> values_; // oldest first
    uint32_t emptyOffset_ = kDefaultEmptyOffset;
    uint32_t fullOffset_ = kDefaultFullOffset;
    bool haveLowHalf_ = false;
    uint32_t lowHalf_ = 0;
    bool offsetLoad_ = false;
    int offsetIndex_ = 0;
    bool transmitting_ = false;
    bool retransmit_ = false;
    int64_t drainStart_ = 0;
    uint64_t drainedSinceStart_ = 0;
    double drainRate_ = 0;
    uint64_t transmitted_ = 0;
    bool overflowReported_ = false;
};

} // namespace usb
