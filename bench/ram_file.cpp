// A whole-RAM file load (1024 words read, checked and sent) and dump (1024 words read back and written)
// against the emulated board, in every file format, with the emulator's tracing off as a running program
// has it. The cost of the RAM transfer alone (USBSerialLoadRAM / USBSerialReadRAM) is measured beside it,
// so that what the file handling adds shows.

#include "board/ram_file.h"
#include "bench/headless_main.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "platform/usb/emulated_driver.h"
#include "platform/usb/usb_driver.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

// One emulated board, selected, with a board object whose ports match it.
struct Bench {
    usb::ScopedEmulatedDriver driver;
    ScopedEZUSB ezusb;
    std::unique_ptr<cZR4470XEvalBd> bd = std::make_unique<cZR4470XEvalBd>();
    QTemporaryDir dir;

    Bench()
    {
        driver->setTraceEnabled(false);
        driver->attach(0);
        goEZUSB().GetDevices();
        goEZUSB().SelectDevice(0, 0);
        goEvalBd = bd.get();
        bd->InitIOBuffs();
        std::mt19937 random(7);
        for (int a = 0; a < 1024; ++a)
            driver->board(0)->chip()->setRamWord(a, random());
    }
    ~Bench() { goEvalBd = nullptr; }
    QString path(int format) const { return dir.filePath(QStringLiteral("ram%1.txt").arg(format)); }
};

void RamFileDump(benchmark::State& state)
{
    Bench bench;
    const auto format = static_cast<int16_t>(state.range(0));
    for (auto _ : state) {
        if (!ebDumpRAM(bench.path(format), format))
            state.SkipWithError("dump failed");
    }
    state.SetItemsProcessed(state.iterations() * kRamWordCount);
}

void RamFileLoad(benchmark::State& state)
{
    Bench bench;
    const auto format = static_cast<int16_t>(state.range(0));
    // Format 3 reads two lines per word, which no dump writes: it gets a file of pairs of its own.
    if (format == kRamFormatSignedPairs) {
        QFile file(bench.path(format));
        file.open(QIODevice::WriteOnly);
        for (int a = 0; a < 1024; ++a)
            file.write(QByteArray::number(-a) + "\r\n" + QByteArray::number(a) + "\r\n");
    } else if (!ebDumpRAM(bench.path(format), format)) {
        state.SkipWithError("dump failed");
        return;
    }
    for (auto _ : state) {
        if (ebLoadRAMFile(bench.path(format), format) != kRamLoadDone)
            state.SkipWithError("load failed");
    }
    state.SetItemsProcessed(state.iterations() * kRamWordCount);
}

void RamTransferOnly(benchmark::State& state)
{
    Bench bench;
    const bool read = state.range(0) != 0;
    QStringList words(1024, QString(32, QLatin1Char('1')));
    for (auto _ : state) {
        const bool ok = read ? bench.bd->USBSerialReadRAM(words) : bench.bd->USBSerialLoadRAM(words);
        if (!ok)
            state.SkipWithError("transfer failed");
    }
    state.SetItemsProcessed(state.iterations() * kRamWordCount);
}

} // namespace

BENCHMARK(RamFileDump)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(RamFileLoad)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(RamTransferOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The procedures show the hourglass and let queued events run, so a (headless) application must exist.
int main(int argc, char** argv)
{
    return bench::runHeadless(argc, argv);
}
