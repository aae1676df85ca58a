// The board FIFO: 18-bit values on pipe 3 while FIFO_WENB is low, its two flag offsets, the ready lines
// and the plain and SXI loads. A load counts as done only when every packet went through and the
// almost-full line (active low) then reads 0.

#include "board/evalbd.h"

#include "board/fifo_wire.h"
#include "board/transfer_guard.h"
#include "platform/usb/firmware_commands.h"

#include <algorithm>
#include <vector>

using namespace fifowire;

void cZR4470XEvalBd::USBInitiateFIFOLoad()
{
    // Automatic chip select off, so FIFO words never reach the chip's serial port.
    SetAutoCSBMode(0);
    setFIFO_WENB(0);
    USBWritePortBuffVal(kPortC);
}

void cZR4470XEvalBd::USBTerminateFIFOLoad()
{
    setFIFO_WENB(1);
    USBWritePortBuffVal(kPortC);
    SetAutoCSBMode(1);
}

bool cZR4470XEvalBd::USBWriteFIFOPacket(std::span<const int32_t> values)
{
    std::vector<uint8_t> wire(values.size() * kValueBytes);
    putValues(wire.data(), values);
    return firmware_.send(usb::firmware::kDataPipe, wire.data(), static_cast<int32_t>(wire.size()));
}

bool cZR4470XEvalBd::USBWri5093DataPort(int32_t value)
{
    uint8_t wire[kValueBytes];
    putValue(wire, value);
    return firmware_.send(usb::firmware::kDataPipe, wire, kValueBytes);
}

bool cZR4470XEvalBd::progFIFOFlags(int32_t emptyOffset, int32_t fullOffset)
{
    setFIFO_LDB(0);
    USBWritePortBuffVal(kPortC);
    USBInitiateFIFOLoad();
    const int32_t offsets[2] = {emptyOffset, fullOffset};
    const bool ok = USBWriteFIFOPacket(offsets);
    USBTerminateFIFOLoad();
    setFIFO_LDB(1);
    USBWritePortBuffVal(kPortC);
    return ok;
}

bool cZR4470XEvalBd::USBProgFIFOFlags(int32_t emptyOffset, int32_t fullOffset)
{
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return false;
    return progFIFOFlags(emptyOffset, fullOffset);
}

void cZR4470XEvalBd::USBResetFIFO()
{
    setRTEnable(0);
    setTXEnable(0);
    USBWritePortBuffVal(kPortC);
    setCPLD_RESET(1);
    USBWritePortBuffVal(kPortC);
    setCPLD_RESET(0);
    setFIFO_WENB(0);
    setFIFO_LDB(0);
    USBWritePortBuffVal(kPortC);
    setFIFO_RESET(1);
    USBWritePortBuffVal(kPortC);
    setFIFO_RESET(0);
    USBWritePortBuffVal(kPortC);
    setFIFO_LDB(1);
    setFIFO_WENB(1);
    USBWritePortBuffVal(kPortC);
}

bool cZR4470XEvalBd::USBDetectFIFO()
{
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return false;
    USBResetFIFO();
    // An empty FIFO reads almost-empty low and almost-full high; a read that fails proves nothing.
    const std::optional<uint8_t> emptyLine = firmware_.readyLines();
    const std::optional<uint8_t> fullLine = firmware_.readyLines();
    if (!emptyLine || !fullLine || (*emptyLine & 2) != 0 || (*fullLine & 1) == 0)
        return false;
    bool ok = progFIFOFlags(0, 65534);
    USBInitiateFIFOLoad();
    const int32_t testBlock[4] = {0, 0, 0, 0};
    ok = USBWriteFIFOPacket(testBlock) && ok;
    USBTerminateFIFOLoad();
    const std::optional<uint8_t> after = firmware_.readyLines();
    return ok && after && (*after & 1) == 0;
}

bool cZR4470XEvalBd::finishFifoLoad(bool packetsOk)
{
    USBTerminateFIFOLoad();
    const std::optional<uint8_t> lines = firmware_.readyLines();
    const bool success = packetsOk && lines && (*lines & 1) == 0;
    raise({EvalBdEventRecord::FIFOLoadFinished, 0, 0, success});
    return success;
}

void cZR4470XEvalBd::refuseFifoLoad()
{
    // Nothing to load: the listeners still see a load that began and failed.
    raise({EvalBdEventRecord::FIFOLoadBegin, 0, kFullSpeedPacketValues});
    raise({EvalBdEventRecord::FIFOLoadFinished, 0, 0, false});
}

bool cZR4470XEvalBd::USBLoadFIFOData(std::span<const int32_t> data)
{
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return false;
    if (data.empty()) {
        refuseFifoLoad();
        return false;
    }
    const int count = static_cast<int>(std::min<size_t>(data.size(), kFifoMaxValues));
    const int last = count - 1;
    std::vector<uint8_t> wire(static_cast<size_t>(count) * kValueBytes);
    putValues(wire.data(), data.first(static_cast<size_t>(count)));

    bool ok = progFIFOFlags(0, 65537 - last);
    const int perPacket = IsHighSpeed().value_or(0) != 0 ? kHighSpeedPacketValues : kFullSpeedPacketValues;
    raise({EvalBdEventRecord::FIFOLoadBegin, count, perPacket});
    USBInitiateFIFOLoad();
    for (int sent = 0; ok && sent < count;) {
        const int n = std::min(perPacket, count - sent);
        // A lost packet leaves the FIFO out of step: stop there, the load has failed.
        ok = firmware_.send(usb::firmware::kDataPipe, wire.data() + static_cast<size_t>(sent) * kValueBytes,
                            n * kValueBytes);
        if (!ok)
            break;
        sent += n;
        raise({EvalBdEventRecord::FIFOPacketSent, sent});
    }
    return finishFifoLoad(ok);
}

bool cZR4470XEvalBd::USBLoadFifoDataSXI(std::span<const int32_t> data, bool reverseBits, bool offsetBinary)
{
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return false;
    // Samples come in I/Q pairs; an unpaired last value is left out rather than read past the array.
    const int samples = static_cast<int>(std::min<size_t>(data.size(), kSxiMaxSamples));
    const int pairs = samples / 2;
    if (pairs == 0) {
        refuseFifoLoad();
        return false;
    }
    const int words = pairs * kSxiWordsPerPair;
    std::vector<uint8_t> wire(static_cast<size_t>(words) * kValueBytes);
    putSxiPairs(wire.data(), data.first(static_cast<size_t>(pairs) * 2), reverseBits, offsetBinary);

    bool ok = progFIFOFlags(0, 65538 - words);
    raise({EvalBdEventRecord::FIFOLoadBegin, words, kSxiWordsPerPair});
    USBInitiateFIFOLoad();
    for (int p = 0; ok && p < pairs; ++p) {
        const size_t offset = static_cast<size_t>(p) * kSxiWordsPerPair * kValueBytes;
        ok = firmware_.send(usb::firmware::kDataPipe, wire.data() + offset, kSxiWordsPerPair * kValueBytes);
        if (!ok)
            break;
        raise({EvalBdEventRecord::FIFOPacketSent, p * kSxiWordsPerPair});
    }
    return finishFifoLoad(ok);
}
