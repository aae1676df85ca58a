// The program over libusb against an emulated board on a umockdev bus (run under umockdev-wrapper; without
// it the program says so and measures nothing): a 64-bit register write and a whole-RAM load made by the
// board object through the USB object and the real-board driver, against the same bulk transfers made by
// a bare libusb loop on the same board; and the USB watch's IsConnected poll with 1 and 9 boards.
//
// Counters of LibusbRegisterWrite64 and LibusbWholeRamLoad (per operation):
//   program_ns   the board object's operation through the USB object and the driver
//   bare_ns      the same bulk transfers (same pipes, same bytes) by a bare libusb_bulk_transfer loop
//   share        (program_ns - bare_ns) / bare_ns: the program's own share (goal: at most 0.10)
//   transfers    bulk transfers per operation
//   action_ns    the operation as one user action: its claim taken and given back to other copies
//   action_share (action_ns - bare_ns) / bare_ns
// Counters of LibusbRequestAfterTimeout (per request on a board that let a request time out):
//   fail_ns      a request while the board is out of step: it fails at once, without device I/O
//   probe_ns     the request that brings it back in step (reset, firmware-version check) and then runs
// Counters of LibusbPoll (per IsConnected):
//   poll_ns      one IsConnected (goal: under 100,000 ns)
//   device_io    URBs the poll put on the bus (goal: 0)

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "platform/usb/usb_driver.h"
#include "platform/usbhost/libusb_driver.h"
#include "tests/usbhost/mock_usb_bus.h"

#include <benchmark/benchmark.h>
#include <libusb.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <sys/prctl.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

usbmock::MockUsbBus* g_bus = nullptr;
libusb_context* g_context = nullptr;

constexpr uint8_t kEndpoints[usb::kPipeCount] = {0x01, 0x81, 0x02, 0x04, 0x86, 0x88};

int listedBoards()
{
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(g_context, &list);
    int boards = 0;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor d{};
        if (libusb_get_device_descriptor(list[i], &d) == 0 && d.idVendor == usb::kBoardVendorId)
            ++boards;
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    return boards;
}

bool settle()
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (listedBoards() != g_bus->pluggedCount()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

// One bulk request as the driver saw it, for the bare loop to make again.
struct BulkStep {
    bool read = false;
    uint8_t endpoint = 0;
    QByteArray data; // written bytes, or a buffer of the read's length
};

// Forwards to the real-board driver and, while recording, keeps every bulk request.
class RecordingDriver final : public usb::DeviceDriver {
public:
    explicit RecordingDriver(usb::DeviceDriver& inner) : inner_(inner) {}
    intptr_t open(const QString& path) override { return inner_.open(path); }
    bool ioControl(intptr_t handle, uint32_t code, const void* in, uint32_t inLen, void* out, uint32_t outLen,
                   uint32_t& bytesReturned) override
    {
        const bool ok = inner_.ioControl(handle, code, in, inLen, out, outLen, bytesReturned);
        if (recording && (code == usb::kRequestBulkRead || code == usb::kRequestBulkWrite) && inLen >= 4) {
            const uint8_t pipe = static_cast<const uint8_t*>(in)[0];
            steps.push_back({code == usb::kRequestBulkRead, kEndpoints[pipe % usb::kPipeCount],
                             QByteArray(static_cast<const char*>(out), static_cast<qsizetype>(outLen))});
        }
        return ok;
    }
    void close(intptr_t handle) override { inner_.close(handle); }
    bool driverInstalled(const QString& baseName) const override { return inner_.driverInstalled(baseName); }

    bool recording = false;
    std::vector<BulkStep> steps;

private:
    usb::DeviceDriver& inner_;
};

// `boards` emulated boards on the bus, the first selected through a fresh USB object.
class Rig {
public:
    explicit Rig(int boards)
        : driver_(std::vector<usb::UsbIds>{{usb::kBoardVendorId, usb::kBoardProductId}}, g_context),
          recorder_(driver_)
    {
        for (int n = 0; n < boards; ++n)
            numbers_.push_back(g_bus->plug());
        ready_ = settle();
        usb::setDriver(&recorder_);
        ezusb_ = std::make_unique<ScopedEZUSB>();
        ready_ = ready_ && goEZUSB().GetDevices() == boards && goEZUSB().SelectDevice(0, 1) == 1;
        board_.InitIOBuffs();
    }
    ~Rig()
    {
        ezusb_.reset();
        usb::setDriver(nullptr);
        g_bus->unplugAll();
        settle();
    }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    bool ready() const { return ready_; }
    usbhost::LibusbDriver& driver() { return driver_; }
    cZR4470XEvalBd& board() { return board_; }
    RecordingDriver& recorder() { return recorder_; }
    usbmock::MockUsbBus& bus() { return *g_bus; }
    int firstBoard() const { return numbers_.front(); }

    bool selectWholeRam()
    {
        board_.setISFC(1);
        board_.USBWritePortBuffVal(kPortA);
        const bool ok = board_.USBSerialLoadPKT(
                            0x05, QStringLiteral("000000000000000011111111110000000000000000000000")) == 0;
        board_.StrobeREGUD();
        return ok;
    }

    // The recorded transfers made `runs` times by a bare libusb loop on a handle of its own; ns per run.
    double bareLoop(const std::vector<BulkStep>& steps, int64_t runs)
    {
        driver_.programWaitsForItsUser(); // the program's driver lets go of its claim between actions
        libusb_device_handle* handle =
            libusb_open_device_with_vid_pid(g_context, usb::kBoardVendorId, usb::kBoardProductId);
        if (handle == nullptr || libusb_claim_interface(handle, 0) != 0) {
            if (handle != nullptr)
                libusb_close(handle);
            return -1;
        }
        std::vector<BulkStep> work = steps;
        bool ok = true;
        const auto start = Clock::now();
        for (int64_t run = 0; run < runs && ok; ++run) {
            for (BulkStep& step : work) {
                int moved = 0;
                ok = ok && libusb_bulk_transfer(handle, step.endpoint,
                                                reinterpret_cast<unsigned char*>(step.data.data()),
                                                static_cast<int>(step.data.size()), &moved, 1000) == 0;
            }
        }
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / runs;
        libusb_release_interface(handle, 0);
        libusb_close(handle);
        return ok ? ns : -1;
    }

private:
    usbhost::LibusbDriver driver_;
    RecordingDriver recorder_;
    std::unique_ptr<ScopedEZUSB> ezusb_;
    cZR4470XEvalBd board_;
    std::vector<int> numbers_;
    bool ready_ = false;
};

template <typename Operation> void againstBareLoop(benchmark::State& state, Rig& rig, Operation op)
{
    rig.recorder().steps.clear();
    rig.recorder().recording = true;
    const bool recorded = op();
    rig.recorder().recording = false;
    if (!recorded) {
        state.SkipWithError("the transfer failed");
        return;
    }
    int64_t runs = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        if (!op()) {
            state.SkipWithError("the transfer failed");
            return;
        }
        ++runs;
    }
    const double programNs = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / runs;
    // The same operation as a user's action: afterwards the program waits for its user, where the claim
    // goes.
    const auto actionStart = Clock::now();
    for (int64_t run = 0; run < runs; ++run) {
        if (!op()) {
            state.SkipWithError("the transfer failed");
            return;
        }
        rig.driver().programWaitsForItsUser();
    }
    const double actionNs =
        std::chrono::duration<double, std::nano>(Clock::now() - actionStart).count() / runs;
    const double bareNs = rig.bareLoop(rig.recorder().steps, std::max<int64_t>(runs, 3));
    if (bareNs <= 0) {
        state.SkipWithError("the bare libusb loop failed");
        return;
    }
    state.counters["program_ns"] = programNs;
    state.counters["bare_ns"] = bareNs;
    state.counters["share"] = (programNs - bareNs) / bareNs;
    state.counters["action_ns"] = actionNs;
    state.counters["action_share"] = (actionNs - bareNs) / bareNs;
    state.counters["transfers"] = static_cast<double>(rig.recorder().steps.size());
}

void LibusbRegisterWrite64(benchmark::State& state)
{
    Rig rig(1);
    if (!rig.ready()) {
        state.SkipWithError("the board could not be selected over libusb");
        return;
    }
    const QString value = QStringLiteral("0001001000110100010101100111100010011010101111001101111011110000");
    againstBareLoop(state, rig, [&] { return rig.board().USBSerialLoadPKT(0x0B, value) == 0; });
}
BENCHMARK(LibusbRegisterWrite64)->Unit(benchmark::kMicrosecond);

void LibusbWholeRamLoad(benchmark::State& state)
{
    Rig rig(1);
    if (!rig.ready() || !rig.selectWholeRam()) {
        state.SkipWithError("the board could not be prepared over libusb");
        return;
    }
    std::mt19937 random(4470);
    std::vector<uint32_t> image(1024);
    for (uint32_t& word : image)
        word = random();
    againstBareLoop(state, rig, [&] { return rig.board().USBSerialLoadRAM(image); });
}
BENCHMARK(LibusbWholeRamLoad)->Unit(benchmark::kMillisecond)->Iterations(20);

void LibusbRequestAfterTimeout(benchmark::State& state)
{
    Rig rig(1);
    if (!rig.ready()) {
        state.SkipWithError("the board could not be selected over libusb");
        return;
    }
    usbhost::LibusbDriver& driver = rig.driver();
    driver.setTimeout(20);
    driver.setProbeTimeout(20);
    double failNs = 0;
    double probeNs = 0;
    int64_t runs = 0;
    for (auto _ : state) {
        // One request times out (not measured): the board is out of step.
        driver.setProbeInterval(60000);
        rig.bus().setSilent(rig.firstBoard(), true);
        rig.board().GetPortDValue();
        rig.bus().setSilent(rig.firstBoard(), false);
        auto start = Clock::now();
        const bool failed = rig.board().GetPortDValue() == 0;
        failNs += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        driver.setProbeInterval(0);
        start = Clock::now();
        const bool answered = rig.board().GetPortDValue() != 0;
        probeNs += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        if (!failed || !answered) {
            state.SkipWithError("the board did not fail at once or did not come back");
            return;
        }
        ++runs;
    }
    state.counters["fail_ns"] = failNs / static_cast<double>(runs);
    state.counters["probe_ns"] = probeNs / static_cast<double>(runs);
}
BENCHMARK(LibusbRequestAfterTimeout)->Unit(benchmark::kMillisecond)->Iterations(20);

void LibusbPoll(benchmark::State& state)
{
    const int boards = static_cast<int>(state.range(0));
    Rig rig(boards);
    if (!rig.ready()) {
        state.SkipWithError("the boards could not be found over libusb");
        return;
    }
    goEZUSB().IsConnected(); // the claim of the selection goes at the first poll
    for (int n = 0; n < boards; ++n)
        rig.bus().clearTraffic(rig.firstBoard() + n);
    int64_t polls = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        benchmark::DoNotOptimize(goEZUSB().IsConnected());
        ++polls;
    }
    const double pollNs = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / polls;
    int urbs = 0;
    for (int n = 0; n < boards; ++n) {
        const usbmock::BoardTraffic traffic = rig.bus().traffic(rig.firstBoard() + n);
        urbs += traffic.bulkUrbs + traffic.controlUrbs;
    }
    state.counters["poll_ns"] = pollNs;
    state.counters["device_io"] = static_cast<double>(urbs) / static_cast<double>(polls);
}
BENCHMARK(LibusbPoll)->Arg(1)->Arg(9)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    prctl(PR_SET_TIMERSLACK, 1UL);
    g_bus = new usbmock::MockUsbBus; // made before anything asks whether umockdev runs; lives until exit
    if (!usbmock::MockUsbBus::active()) {
        std::puts("bench_libusb_transfers: not started under umockdev-wrapper; nothing measured");
        return 0;
    }
    if (libusb_init(&g_context) != 0) {
        std::puts("bench_libusb_transfers: libusb could not be started");
        return 1;
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
