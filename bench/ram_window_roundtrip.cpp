// The whole RAM filled from a file and saved back to a file through the RAM segment window's own
// handlers ("Load File", then "Save"), against the emulated board at high speed. The round trip is timed
// as a whole; then again with every driver call timed on its own, so the emulator's cost (the driver,
// firmware and chip it plays) is taken off. What remains is the program's own time: the window, the file
// reader and writer, the board and USB objects.
//
// Counters (per round trip):
//   host_ns      the whole round trip, emulator included
//   emulator_ns  time spent inside the emulated driver's calls (timed runs, less the clock reads)
//   system_ns    time spent outside them in the same timed runs, less the clock reads
//   wire_ns      the serial words on a USB 2.0 high-speed bus: two whole-RAM transfers (32,776 words each,
//                1.4 ms) and the four segment register writes around them
//   ratio_wire   system_ns / wire_ns (goal: below 0.1)
//
// Argument: the file format (0 binary, 1 hexadecimal, 2 decimal).

#include "bench/headless_main.h"
#include "bench/timing_driver.h"
#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/ram_file.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/scripted_message_boxes.h"
#include "platform/usb/emulated_driver.h"
#include "profiles/frm_qducrsr.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kWholeRamWords = 32776.0;
constexpr double kWireNsPerWord = 1.4e6 / kWholeRamWords;
// A segment register write: an 8-bit instruction and 48 bits, loaded and restored for each transfer.
constexpr double kRoundTripWireWords = 2 * kWholeRamWords + 4 * 56;

using bench::TimingDriver;

// The files live in memory where the system offers a memory file system, so that the figures are the
// program's and not the disk's.
QString filesFolder()
{
    const QString memory = QStringLiteral("/dev/shm");
    return QFileInfo(memory).isDir() && QFileInfo(memory).isWritable()
               ? memory + QStringLiteral("/ram-bench-XXXXXX")
               : QDir::tempPath() + QStringLiteral("/ram-bench-XXXXXX");
}

// One high-speed emulated board, selected, the RAM enabled in both maps, and the RAM segment window
// loaded with a whole-RAM file to fill from and a file to save to. Message boxes answer at once.
class Bench {
public:
    explicit Bench(int format) : timing_(*emulated_)
    {
        emulated_->setTraceEnabled(false);
        emulated_->attach(0);
        usb::setDriver(&timing_);
        goEZUSB().GetDevices();
        selected_ = goEZUSB().SelectDevice(0, 1) == 1;
        goEvalBd = &board_;
        gbBoardConnected = true;
        board_.InitIOBuffs();
        for (int16_t map : {0, 1})
            board_.SetRegMapBitValue(map, 0x00, 31, 1);
        ui::setMessageBoxService(&boxes_);

        std::mt19937 random(4470);
        QFile file(dir_.filePath(QStringLiteral("fill.txt")));
        file.open(QIODevice::WriteOnly);
        for (int a = 0; a < 1024; ++a) {
            const uint32_t word = random();
            const QByteArray line = format == 0   ? QByteArray::number(word, 2).rightJustified(32, '0')
                                    : format == 1 ? QByteArray::number(word, 16).rightJustified(8, '0')
                                                  : QByteArray::number(word);
            file.write(line + "\r\n");
        }
        file.close();

        window_ = &ui::form<frmQDUCRSR>();
        window_->txtQDRAMFile.setText(file.fileName());
        window_->txtRAMSaveFile.setText(dir_.filePath(QStringLiteral("saved.txt")));
        window_->cmbLoadOptions.setListIndex(format);
        window_->cmbDumpDataFormat.setListIndex(format);
    }
    ~Bench()
    {
        ui::Forms::discardAll();
        ui::setMessageBoxService(nullptr);
        goEvalBd = nullptr;
        usb::setDriver(&*emulated_);
    }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    bool ready() const { return selected_; }
    TimingDriver& timing() { return timing_; }

    // Fill, then save; true when both reported success. Without the window: the board's file procedures
    // alone, the same files and formats.
    bool roundTrip(bool throughWindow)
    {
        if (!throughWindow)
            return ebLoadRAMFile(window_->txtQDRAMFile.Text(),
                                 static_cast<int16_t>(window_->cmbLoadOptions.ListIndex())) == kRamLoadDone &&
                   ebDumpRAM(window_->txtRAMSaveFile.Text(),
                             static_cast<int16_t>(window_->cmbDumpDataFormat.ListIndex()));
        boxes_.reset();
        window_->cmdLoadRAMFile_Click();
        window_->cmdSaveRAMFile_Click();
        return boxes_.prompts() == QStringList{QStringLiteral("The RAM data file was loaded successfully!"),
                                               QStringLiteral("RAM Opperaiton Successful!")};
    }

private:
    usb::ScopedEmulatedDriver emulated_;
    ScopedEZUSB ezusb_;
    TimingDriver timing_;
    cZR4470XEvalBd board_;
    ui::testing::ScriptedMessageBoxes boxes_;
    QTemporaryDir dir_{filesFolder()};
    frmQDUCRSR* window_ = nullptr;
    bool selected_ = false;
};

void measure(benchmark::State& state, bool throughWindow)
{
    Bench bench(static_cast<int>(state.range(0)));
    if (!bench.ready()) {
        state.SkipWithError("the emulated board could not be selected");
        return;
    }
    TimingDriver& timing = bench.timing();
    timing.setTiming(false);
    int64_t runs = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        if (!bench.roundTrip(throughWindow)) {
            state.SkipWithError("the round trip failed");
            return;
        }
        ++runs;
    }
    const double hostNs = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / runs;

    // Again with each driver call timed: the time inside the emulated driver's calls and the time outside
    // them come from the same runs, each less the clock reads that timing adds.
    const int64_t timedRuns = std::max<int64_t>(1, std::min<int64_t>(runs, 20));
    timing.setTiming(true);
    timing.resetCounts();
    const auto timedStart = Clock::now();
    for (int64_t i = 0; i < timedRuns; ++i)
        bench.roundTrip(throughWindow);
    const double timedNs =
        std::chrono::duration<double, std::nano>(Clock::now() - timedStart).count() / timedRuns;
    timing.setTiming(false);
    const TimingDriver::Split split = timing.split(timedNs, timedRuns);
    const double emulatorNs = split.insideNs;
    const double systemNs = split.outsideNs;
    const double wireNs = kRoundTripWireWords * kWireNsPerWord;
    state.counters["host_ns"] = hostNs;
    state.counters["emulator_ns"] = emulatorNs;
    state.counters["system_ns"] = systemNs;
    state.counters["wire_ns"] = wireNs;
    state.counters["ratio_wire"] = systemNs / wireNs;
}

void RamWindowRoundTrip(benchmark::State& state)
{
    measure(state, true);
}
BENCHMARK(RamWindowRoundTrip)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The same round trip through the board's file procedures alone: what the window adds is the difference.
void RamProceduresRoundTrip(benchmark::State& state)
{
    measure(state, false);
}
BENCHMARK(RamProceduresRoundTrip)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace

// The window needs a (headless) application.
int main(int argc, char** argv)
{
    return bench::runHeadless(argc, argv);
}
