// The board FIFO. Assumptions of the emulator: the almost-full line reads low once the FIFO holds at least
// depth - (almost-full offset) values, the almost-empty line reads low while it holds at most the
// almost-empty offset; both lines are active low. Values beyond the depth are dropped. While TXEnable is set
// (and RTEnable clear) the values drain toward the chip, at once unless a drain rate is set; with RTEnable
// set the contents loop and are kept, and at a drain rate every value sent counts as transmitted.

#include "platform/usb/emulated_fifo.h"

#include <algorithm>
#include <cmath>

namespace usb {

EmulatedFifo::EmulatedFifo(int depth) : depth_(depth > 0 ? depth : 1)
{
}

void EmulatedFifo::report(ViolationKind kind, const QString& text) const
{
    if (violation_) {
        violation_(kind, text);
    }
}

void EmulatedFifo::writeHalfWord(uint16_t halfWord, bool loadOffsets)
{
    const uint32_t half = halfWord & 0x1FF;
    if (!haveLowHalf_) {
        lowHalf_ = half;
        haveLowHalf_ = true;
        return;
    }
    haveLowHalf_ = false;
    const uint32_t value = lowHalf_ | (half << 9);
    if (loadOffsets) {
        if (offsetIndex_ == 0) {
            emptyOffset_ = value;
        } else if (offsetIndex_ == 1) {
            fullOffset_ = value;
        } else if (offsetIndex_ == 2) {
            report(ViolationKind::FifoOffsetExtra, QStringLiteral("more than two FIFO offset values"));
        }
        ++offsetIndex_;
        return;
    }
    settle();
    if (static_cast<int>(values_.size()) >= depth_) {
        if (!overflowReported_) {
            overflowReported_ = true;
            report(ViolationKind::FifoOverflow,
                   QStringLiteral("FIFO full (%1 values): further values dropped").arg(depth_));
        }
        return;
    }
    values_.push_back(value);
}

void EmulatedFifo::reset()
{
    values_.clear();
    emptyOffset_ = kDefaultEmptyOffset;
    fullOffset_ = kDefaultFullOffset;
    haveLowHalf_ = false;
    offsetIndex_ = 0;
    overflowReported_ = false;
    drainStart_ = clock_ ? clock_() : 0;
    drainedSinceStart_ = 0;
}

void EmulatedFifo::resetLogic()
{
    haveLowHalf_ = false;
    offsetIndex_ = 0;
}

void EmulatedFifo::setOffsetLoad(bool low)
{
    if (low && !offsetLoad_) {
        offsetIndex_ = 0;
        haveLowHalf_ = false;
    }
    offsetLoad_ = low;
}

void EmulatedFifo::setTransmit(bool txEnable, bool retransmit)
{
    settle();
    if (txEnable && !transmitting_) {
        drainStart_ = clock_ ? clock_() : 0;
        drainedSinceStart_ = 0;
    }
    transmitting_ = txEnable;
    retransmit_ = retransmit;
    settle();
}

uint64_t EmulatedFifo::dueSinceStart() const
{
    const double elapsed = static_cast<double>(clock_() - drainStart_);
    const auto due = static_cast<uint64_t>(std::floor(std::max(0.0, elapsed) * drainRate_));
    return due > drainedSinceStart_ ? due - drainedSinceStart_ : 0;
}

void EmulatedFifo::settle()
{
    if (!transmitting_ || values_.empty()) {
        return;
    }
    const bool paced = drainRate_ > 0 && clock_;
    if (retransmit_) {
        // Loop mode replays the contents from the first value on and keeps them; only a paced
        // transmission counts the values it sent.
        if (paced) {
            const uint64_t sent = dueSinceStart();
            drainedSinceStart_ += sent;
            transmitted_ += sent;
        }
        return;
    }
    size_t drain = values_.size();
    if (paced) {
        drain = static_cast<size_t>(std::min<uint64_t>(dueSinceStart(), values_.size()));
    }
    if (drain == 0) {
        return;
    }
    values_.erase(values_.begin(), values_.begin() + static_cast<std::ptrdiff_t>(drain));
    drainedSinceStart_ += drain;
    transmitted_ += drain;
}

bool EmulatedFifo::almostFull() const
{
    const int64_t threshold = std::max<int64_t>(0, static_cast<int64_t>(depth_) - fullOffset_);
    return static_cast<int64_t>(values_.size()) >= threshold;
}

bool EmulatedFifo::almostEmpty() const
{
    return values_.size() <= emptyOffset_;
}

uint8_t EmulatedFifo::readyLines()
{
    settle();
    return static_cast<uint8_t>((almostFull() ? 0 : 0x01) | (almostEmpty() ? 0 : 0x02));
}

void EmulatedFifo::load(const std::vector<uint32_t>& values)
{
    for (uint32_t v : values) {
        if (static_cast<int>(values_.size()) >= depth_) {
            break;
        }
        values_.push_back(v & 0x3FFFF);
    }
}

} // namespace usb
