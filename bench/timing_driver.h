#pragma once

// A device driver for the benchmarks: forwards every call to the emulated driver, counts the calls and,
// while timing is on, adds up the time spent in them, so that the emulator's own cost can be taken off a
// measured figure.

#include "platform/usb/emulated_driver.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace bench {

class TimingDriver final : public usb::DeviceDriver {
public:
    using Clock = std::chrono::steady_clock;

    explicit TimingDriver(usb::EmulatedDriver& inner) : inner_(inner) {}

    intptr_t open(const QString& path) override
    {
        const auto start = begin();
        const intptr_t handle = inner_.open(path);
        end(start);
        return handle;
    }
    bool ioControl(intptr_t handle, uint32_t code, const void* in, uint32_t inLen, void* out, uint32_t outLen,
                   uint32_t& bytesReturned) override
    {
        const auto start = begin();
        const bool ok = inner_.ioControl(handle, code, in, inLen, out, outLen, bytesReturned);
        end(start);
        return ok;
    }
    void close(intptr_t handle) override
    {
        const auto start = begin();
        inner_.close(handle);
        end(start);
    }
    bool driverInstalled(const QString& baseName) const override { return inner_.driverInstalled(baseName); }

    // Off: calls are only counted. On: each call's time is added up as well.
    void setTiming(bool on) { timing_ = on; }
    void resetCounts()
    {
        ns_ = 0;
        calls_ = 0;
    }
    double ns() const { return ns_; }
    int64_t calls() const { return calls_; }

    // The cost of one clock read, measured once. Timing a call reads the clock twice: about one read's cost
    // falls inside the timed interval, the other outside it.
    static double clockReadNs()
    {
        static const double cost = [] {
            constexpr int kReads = 200000;
            Clock::time_point last;
            const auto start = Clock::now();
            for (int i = 0; i < kReads; ++i)
                last = Clock::now();
            return std::chrono::duration<double, std::nano>(last - start).count() / kReads;
        }();
        return cost;
    }

    // One timed run split into the time inside the driver's calls and the time outside them (the system's
    // own), each less the clock reads that timing put there. Both come from the same run, so a busy moment
    // of the machine cannot make one of them read zero.
    struct Split {
        double insideNs = 0;
        double outsideNs = 0;
    };
    Split split(double timedRunNs, int64_t runs) const
    {
        const double perRunCalls = static_cast<double>(calls_) / static_cast<double>(runs);
        const double inside = ns_ / static_cast<double>(runs);
        const double clock = clockReadNs() * perRunCalls;
        return {std::max(0.0, inside - clock), std::max(0.0, timedRunNs - inside - clock)};
    }

private:
    Clock::time_point begin() const { return timing_ ? Clock::now() : Clock::time_point(); }
    void end(Clock::time_point start)
    {
        if (timing_)
            ns_ += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        ++calls_;
    }

    usb::EmulatedDriver& inner_;
    bool timing_ = false;
    double ns_ = 0;
    int64_t calls_ = 0;
};

} // namespace bench
