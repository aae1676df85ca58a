// The USB watch's poll: every 300 ms the main window asks IsConnected, which re-enumerates the nine device
// names (open, device descriptor, close for each board present). Measured against the emulated driver,
// with the emulator's own cost for the same driver calls measured separately and subtracted, so that the
// figure left is the system's own share.
//
// Counters of UsbPoll:
//   poll_ns      host time of one IsConnected, emulator included
//   emulator_ns  the same driver calls made directly on the emulated driver
//   system_ns    poll_ns - emulator_ns: what the USB object itself costs
//   wire_ns      bus time of the poll on a USB 2.0 high-speed bus, taken as one 125 us microframe per
//                device-descriptor request (a control transfer of a few bytes fits in one microframe)
//   ratio_wire   system_ns / wire_ns (goal: below 0.1)
//   ratio_period system_ns / 300 ms

#include "board/cls_ezusb.h"
#include "platform/usb/emulated_driver.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>

namespace {

constexpr double kMicroframeNs = 125'000.0;
constexpr double kPollPeriodNs = 300'000'000.0;

// Attaches `boards` boards at slots 0, 1, ... with tracing off, as a running program has it.
void attachBoards(usb::EmulatedDriver& driver, int boards)
{
    driver.setTraceEnabled(false);
    for (int slot = 0; slot < boards; ++slot) {
        driver.attach(slot);
    }
}

// One poll's driver calls made directly: nine opens, a descriptor request and a close for each board.
void rawPoll(usb::DeviceDriver& driver, const std::array<QString, 9>& paths)
{
    std::array<uint8_t, usb::kDeviceDescriptorBufferSize> descriptor{};
    for (const QString& path : paths) {
        const intptr_t handle = driver.open(path);
        if (handle == usb::kInvalidHandle) {
            continue;
        }
        uint32_t returned = 0;
        driver.ioControl(handle, usb::kRequestDeviceDescriptor, descriptor.data(),
                         usb::kDeviceDescriptorBufferSize, descriptor.data(),
                         usb::kDeviceDescriptorBufferSize, returned);
        driver.close(handle);
    }
    benchmark::DoNotOptimize(descriptor);
}

std::array<QString, 9> devicePaths()
{
    std::array<QString, 9> paths;
    for (int n = 0; n < 9; ++n) {
        paths[n] = QStringLiteral("\\\\.\\Ezssp-%1").arg(n);
    }
    return paths;
}

double nanosecondsPerRawPoll(usb::DeviceDriver& driver, const std::array<QString, 9>& paths)
{
    constexpr int kRounds = 20000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) {
        rawPoll(driver, paths);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::nano>(elapsed).count() / kRounds;
}

void UsbPoll(benchmark::State& state)
{
    const int boards = static_cast<int>(state.range(0));
    usb::ScopedEmulatedDriver emulated;
    attachBoards(*emulated, boards);
    clsEZUSB usbObject;
    usbObject.setVendorID(kEvalBoardVendorID);
    usbObject.setProductID(kEvalBoardProductID);
    usbObject.GetDevices();
    if (usbObject.SelectDevice(0, 1) != 1) {
        state.SkipWithError("the emulated board could not be selected");
        return;
    }

    const auto start = std::chrono::steady_clock::now();
    int64_t polls = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(usbObject.IsConnected());
        ++polls;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const double pollNs =
        std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(polls);
    const double emulatorNs = nanosecondsPerRawPoll(*emulated, devicePaths());
    const double systemNs = pollNs > emulatorNs ? pollNs - emulatorNs : 0.0;
    const double wireNs = kMicroframeNs * boards;

    state.counters["poll_ns"] = pollNs;
    state.counters["emulator_ns"] = emulatorNs;
    state.counters["system_ns"] = systemNs;
    state.counters["wire_ns"] = wireNs;
    state.counters["ratio_wire"] = systemNs / wireNs;
    state.counters["ratio_period"] = systemNs / kPollPeriodNs;
}
BENCHMARK(UsbPoll)->Arg(1)->Arg(2)->Arg(9);

// The emulator alone: the same driver calls without the USB object.
void UsbPollDriverCallsOnly(benchmark::State& state)
{
    const int boards = static_cast<int>(state.range(0));
    usb::ScopedEmulatedDriver emulated;
    attachBoards(*emulated, boards);
    const std::array<QString, 9> paths = devicePaths();
    for (auto _ : state) {
        rawPoll(*emulated, paths);
    }
}
BENCHMARK(UsbPollDriverCallsOnly)->Arg(1)->Arg(2)->Arg(9);

// A transfer as the board object makes it (open, descriptor, pipe information, one command, close): the
// unit that every firmware command and serial packet pays.
void OneCommandTransfer(benchmark::State& state)
{
    usb::ScopedEmulatedDriver emulated;
    attachBoards(*emulated, 1);
    clsEZUSB usbObject;
    usbObject.setVendorID(kEvalBoardVendorID);
    usbObject.setProductID(kEvalBoardProductID);
    usbObject.GetDevices();
    if (usbObject.SelectDevice(0, 1) != 1) {
        state.SkipWithError("the emulated board could not be selected");
        return;
    }
    uint8_t command[2] = {12, 0}; // store the port D latch: no reply, no side effect
    for (auto _ : state) {
        int32_t length = 2;
        benchmark::DoNotOptimize(usbObject.BulkXfer(0, command, length));
    }
}
BENCHMARK(OneCommandTransfer);

} // namespace

BENCHMARK_MAIN();
