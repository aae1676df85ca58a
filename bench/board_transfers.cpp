// The board object's bulk paths against the emulated board: a whole-RAM load and dump (1024 words through
// register 0x16) and a 64-bit register write and read. The operation is timed as a whole first; then it
// runs again with every driver call timed on its own, so the emulator's cost (the driver, firmware and chip
// it plays) and the rest, what the system itself costs (the board object and the USB object under it), are
// both measured in the same runs, each less the clock reads that timing adds. host_ns is the firm figure.
//
// Counters (per operation):
//   host_ns      the whole operation, emulator included (no per-call timing)
//   emulator_ns  time spent inside the emulated driver's calls (timed runs, less the clock reads)
//   system_ns    time spent outside them in the same timed runs, less the clock reads
//   wire_ns      the serial words' time on a USB 2.0 high-speed bus, scaled so that the whole RAM
//                (32,776 words) takes 1.4 ms; a 64-bit register is 72 words
//   ratio_wire   system_ns / wire_ns (goal: below 0.1)
//   driver_calls driver requests (opens and closes included) per operation
//
// Argument: 1 = high speed (256-bit packets), 0 = full speed (32-bit packets).

#include "bench/timing_driver.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "platform/usb/emulated_driver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kWholeRamWords = 32776.0;
constexpr double kWholeRamWireNs = 1.4e6;
constexpr double kWireNsPerWord = kWholeRamWireNs / kWholeRamWords;
constexpr int kRamWords = 1024;
constexpr int16_t kSixtyFourBitRegister = 0x0B;

using bench::TimingDriver;

// One emulated board at Ezssp-0, selected, with the board object ready and the timing wrapper installed.
class Bench {
public:
    explicit Bench(bool highSpeed) : timing_(*emulated_)
    {
        emulated_->setTraceEnabled(false);
        usb::BoardOptions options;
        options.highSpeed = highSpeed;
        emulated_->attach(0, options);
        usb::setDriver(&timing_);
        goEZUSB().GetDevices();
        selected_ = goEZUSB().SelectDevice(0, 1) == 1;
        board_.InitIOBuffs();
    }
    ~Bench() { usb::setDriver(&*emulated_); }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    bool ready() const { return selected_; }
    cZR4470XEvalBd& board() { return board_; }
    TimingDriver& timing() { return timing_; }

    // The segment register chosen by ISFC set to the whole RAM and made active.
    bool selectWholeRam()
    {
        board_.setISFC(1);
        board_.USBWritePortBuffVal(kPortA);
        const bool ok = board_.USBSerialLoadPKT(
                            0x05, QStringLiteral("000000000000000011111111110000000000000000000000")) == 0;
        board_.StrobeREGUD();
        return ok;
    }

private:
    usb::ScopedEmulatedDriver emulated_;
    ScopedEZUSB ezusb_;
    TimingDriver timing_;
    cZR4470XEvalBd board_;
    bool selected_ = false;
};

QString randomWord(std::mt19937& random)
{
    const uint32_t v = random();
    QString word(32, QLatin1Char('0'));
    for (int k = 0; k < 32; ++k) {
        if ((v >> (31 - k)) & 1U)
            word[k] = QLatin1Char('1');
    }
    return word;
}

template <typename Operation>
void measure(benchmark::State& state, Bench& bench, double wireWords, Operation op)
{
    TimingDriver& timing = bench.timing();
    timing.setTiming(false);
    timing.resetCounts();
    int64_t runs = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        if (!op()) {
            state.SkipWithError("the transfer failed");
            return;
        }
        ++runs;
    }
    const double hostNs = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / runs;
    const double callsPerRun = static_cast<double>(timing.calls()) / runs;

    // The same operation again, each driver call timed: the time inside the emulated driver's calls and
    // the time outside them come from the same runs.
    const int64_t timedRuns = std::max<int64_t>(1, std::min<int64_t>(runs, 200));
    timing.setTiming(true);
    timing.resetCounts();
    const auto timedStart = Clock::now();
    for (int64_t i = 0; i < timedRuns; ++i)
        op();
    const double timedNs =
        std::chrono::duration<double, std::nano>(Clock::now() - timedStart).count() / timedRuns;
    timing.setTiming(false);
    const TimingDriver::Split split = timing.split(timedNs, timedRuns);
    const double emulatorNs = split.insideNs;
    const double systemNs = split.outsideNs;
    const double wireNs = wireWords * kWireNsPerWord;
    state.counters["host_ns"] = hostNs;
    state.counters["emulator_ns"] = emulatorNs;
    state.counters["system_ns"] = systemNs;
    state.counters["wire_ns"] = wireNs;
    state.counters["ratio_wire"] = systemNs / wireNs;
    state.counters["driver_calls"] = callsPerRun;
}

void WholeRamLoad(benchmark::State& state)
{
    Bench bench(state.range(0) != 0);
    if (!bench.ready() || !bench.selectWholeRam()) {
        state.SkipWithError("the emulated board could not be prepared");
        return;
    }
    std::mt19937 random(4470);
    QStringList image;
    for (int k = 0; k < kRamWords; ++k)
        image.append(randomWord(random));
    measure(state, bench, kWholeRamWords, [&] { return bench.board().USBSerialLoadRAM(image); });
}
BENCHMARK(WholeRamLoad)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void WholeRamDump(benchmark::State& state)
{
    Bench bench(state.range(0) != 0);
    if (!bench.ready() || !bench.selectWholeRam()) {
        state.SkipWithError("the emulated board could not be prepared");
        return;
    }
    QStringList dump(kRamWords);
    measure(state, bench, kWholeRamWords, [&] { return bench.board().USBSerialReadRAM(dump); });
}
BENCHMARK(WholeRamDump)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void RegisterWrite64(benchmark::State& state)
{
    Bench bench(state.range(0) != 0);
    if (!bench.ready()) {
        state.SkipWithError("the emulated board could not be selected");
        return;
    }
    const QString value = QStringLiteral("0001001000110100010101100111100010011010101111001101111011110000");
    measure(state, bench, 72,
            [&] { return bench.board().USBSerialLoadPKT(kSixtyFourBitRegister, value) == 0; });
}
BENCHMARK(RegisterWrite64)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void RegisterRead64(benchmark::State& state)
{
    Bench bench(state.range(0) != 0);
    if (!bench.ready()) {
        state.SkipWithError("the emulated board could not be selected");
        return;
    }
    measure(state, bench, 72,
            [&] { return bench.board().USBSerialReadPKT(kSixtyFourBitRegister).size() == 64; });
}
BENCHMARK(RegisterRead64)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
