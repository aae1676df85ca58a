// The chip RAM through register 0x16: the whole image is one serial transfer (chip select stays low from
// the instruction to the last word), in packets of 8 words at high speed and 1 word at full speed.
//
// Word order: most significant bit first sends the array's last element first, each word as stored (the
// whole stream is one big number); least significant bit first sends element 0 first, each word reversed.

#include "board/evalbd.h"
#include "board/evalbd_wire.h"

#include <algorithm>
#include <vector>

using namespace evalbd_detail;

namespace {

constexpr int16_t kRamRegister = 0x16;
constexpr int kWordBits = cZR4470XEvalBd::kRamWordBits;

// The array index of the p-th word on the wire.
int elementAt(int position, int count, bool lsbFirst)
{
    return lsbFirst ? position : count - 1 - position;
}

} // namespace

bool cZR4470XEvalBd::USBSerialLoadRAM(const QStringList& words)
{
    if (!enabled_)
        return false;
    BusyScope busy(*this);
    if (!busy.acquired())
        return false;
    const int count = static_cast<int>(words.size());
    if (count == 0)
        return false;
    // A word of another length would shift every word after it: refuse the image before any traffic.
    for (const QString& word : words) {
        if (!isBitString(word, kWordBits))
            return false;
    }

    const int wpp = packetBits() / kWordBits;
    const bool lsbFirst = SPI_LSB_First();
    // The whole image, instruction first, built once; each packet is a slice of it.
    const size_t dataStart = static_cast<size_t>(kInstructionBits) * kWireWordBytes;
    std::vector<uint8_t> wire(dataStart + static_cast<size_t>(count) * kWordBits * kWireWordBytes);
    putInstruction(wire.data(), static_cast<uint8_t>(kRamRegister), lsbFirst);
    for (int p = 0; p < count; ++p) {
        putBits(wire.data() + dataStart + static_cast<size_t>(p) * kWordBits * kWireWordBytes,
                words[elementAt(p, count, lsbFirst)], lsbFirst);
    }

    raise({EvalBdEventRecord::RAMCOMBegin, count, wpp, false});
    USBInitiateSerialLoad();
    bool ok = sendOut(3, wire.data(), static_cast<int32_t>(dataStart));
    for (int done = 0; ok && done < count; done += wpp) {
        const int n = std::min(wpp, count - done);
        raise({EvalBdEventRecord::RAMPacketXfered, done});
        ok = sendOut(3, wire.data() + dataStart + static_cast<size_t>(done) * kWordBits * kWireWordBytes,
                     n * kWordBits * kWireWordBytes);
    }
    USBTerminateSerialLoad();
    raise({EvalBdEventRecord::RAMCOMFinished, 0, 0, ok});
    return ok;
}

bool cZR4470XEvalBd::USBSerialReadRAM(QStringList& words)
{
    if (!enabled_)
        return false;
    BusyScope busy(*this);
    if (!busy.acquired())
        return false;
    const int count = static_cast<int>(words.size());
    if (count == 0)
        return false;

    const int wpp = packetBits() / kWordBits;
    const bool lsbFirst = SPI_LSB_First();
    const uint8_t mask = SPI_IOMode() == 1 ? 0x02 : 0x01;
    uint8_t instruction[kInstructionBits * kWireWordBytes];
    putInstruction(instruction, static_cast<uint8_t>(0x80 | kRamRegister), lsbFirst);

    raise({EvalBdEventRecord::RAMCOMBegin, count, wpp, true});
    USBInitiateSerialRead();
    bool ok = sendOut(3, instruction, sizeof instruction);
    uint8_t sampled[kMaxReadBackWords];
    for (int done = 0; ok && done < count; done += wpp) {
        const int n = std::min(wpp, count - done);
        raise({EvalBdEventRecord::RAMPacketXfered, done});
        ok = USBReadSerialPKT16(std::span<uint8_t>(sampled, static_cast<size_t>(n) * kWordBits)) == 0;
        if (!ok)
            break;
        // Each block's bits go straight into its words: the first 32 into the block's first element.
        for (int k = 0; k < n; ++k) {
            const uint8_t* in = sampled + k * kWordBits;
            QString word(kWordBits, Qt::Uninitialized);
            QChar* out = word.data();
            for (int b = 0; b < kWordBits; ++b) {
                const uint8_t line = in[lsbFirst ? kWordBits - 1 - b : b];
                out[b] = (line & mask) != 0 ? QLatin1Char('1') : QLatin1Char('0');
            }
            words[elementAt(done + k, count, lsbFirst)] = std::move(word);
        }
    }
    USBTerminateSerialRead();
    raise({EvalBdEventRecord::RAMCOMFinished, 0, 0, ok});
    return ok;
}
