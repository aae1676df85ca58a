// The chip RAM through register 0x16: the whole image is one serial transfer (chip select stays low from
// the instruction to the last word), in packets of 8 words at high speed and 1 word at full speed.
//
// Word order: most significant bit first sends the array's last element first, each word as stored (the
// whole stream is one big number); least significant bit first sends element 0 first, each word reversed.
//
// The transfers work on the words as numbers; the bit-string forms convert at the edge, once per word.

#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "board/evalbd_wire.h"
#include "platform/usb/firmware_commands.h"

#include <algorithm>
#include <vector>

using namespace evalbd_detail;

namespace {

constexpr int kWordBits = cZR4470XEvalBd::kRamWordBits;
constexpr size_t kWireBytesPerWord = static_cast<size_t>(kWordBits) * kWireWordBytes;

// The array index of the p-th word on the wire.
int elementAt(int position, int count, bool lsbFirst)
{
    return lsbFirst ? position : count - 1 - position;
}

// One word as 32 wire words: bit 31 first, or bit 0 first when reversed.
void putWord(uint8_t* wire, uint32_t word, bool reverse)
{
    if (reverse) {
        for (int k = 0; k < kWordBits; ++k)
            wire[kWireWordBytes * k] = static_cast<uint8_t>((word >> k) & 1U);
    } else {
        for (int k = 0; k < kWordBits; ++k)
            wire[kWireWordBytes * k] = static_cast<uint8_t>((word >> (kWordBits - 1 - k)) & 1U);
    }
    for (int k = 0; k < kWordBits; ++k)
        wire[kWireWordBytes * k + 1] = 0;
}

// A checked 32-character bit string as its word.
uint32_t wordOfBits(const QString& bits)
{
    uint32_t word = 0;
    for (QChar c : bits)
        word = (word << 1) | (c == QLatin1Char('1') ? 1U : 0U);
    return word;
}

QString bitsOfWord(uint32_t word)
{
    QString bits(kWordBits, Qt::Uninitialized);
    QChar* out = bits.data();
    for (int b = 0; b < kWordBits; ++b)
        out[b] = ((word >> (kWordBits - 1 - b)) & 1U) != 0 ? QLatin1Char('1') : QLatin1Char('0');
    return bits;
}

} // namespace

bool cZR4470XEvalBd::USBSerialLoadRAM(const QStringList& words)
{
    if (!enabled_)
        return false;
    // A word of another length would shift every word after it: refuse the image before any traffic.
    for (const QString& word : words) {
        if (!isBitString(word, kWordBits))
            return false;
    }
    std::vector<uint32_t> values(static_cast<size_t>(words.size()));
    for (qsizetype k = 0; k < words.size(); ++k)
        values[static_cast<size_t>(k)] = wordOfBits(words[k]);
    return USBSerialLoadRAM(std::span<const uint32_t>(values));
}

bool cZR4470XEvalBd::USBSerialLoadRAM(std::span<const uint32_t> words)
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
    // The whole image, instruction first, built once; each packet is a slice of it.
    const size_t dataStart = static_cast<size_t>(kInstructionBits) * kWireWordBytes;
    std::vector<uint8_t> wire(dataStart + static_cast<size_t>(count) * kWireBytesPerWord);
    putInstruction(wire.data(), static_cast<uint8_t>(kRAMRegister), lsbFirst);
    for (int p = 0; p < count; ++p) {
        putWord(wire.data() + dataStart + static_cast<size_t>(p) * kWireBytesPerWord,
                words[static_cast<size_t>(elementAt(p, count, lsbFirst))], lsbFirst);
    }

    raise({EvalBdEventRecord::RAMCOMBegin, count, wpp, false});
    USBInitiateSerialLoad();
    bool ok = sendOut(usb::firmware::kDataPipe, wire.data(), static_cast<int32_t>(dataStart));
    for (int done = 0; ok && done < count; done += wpp) {
        const int n = std::min(wpp, count - done);
        raise({EvalBdEventRecord::RAMPacketXfered, done});
        ok = sendOut(usb::firmware::kDataPipe,
                     wire.data() + dataStart + static_cast<size_t>(done) * kWireBytesPerWord,
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
    const int count = static_cast<int>(words.size());
    std::vector<uint32_t> values(static_cast<size_t>(count));
    int reached = 0;
    bool lsbFirst = false;
    const bool ok = readRamWords(values, reached, lsbFirst);
    for (int p = 0; p < reached; ++p) {
        const int element = elementAt(p, count, lsbFirst);
        words[element] = bitsOfWord(values[static_cast<size_t>(element)]);
    }
    return ok;
}

bool cZR4470XEvalBd::USBSerialReadRAM(std::span<uint32_t> words)
{
    int reached = 0;
    bool lsbFirst = false;
    return readRamWords(words, reached, lsbFirst);
}

bool cZR4470XEvalBd::readRamWords(std::span<uint32_t> words, int& reached, bool& lsbFirst)
{
    reached = 0;
    if (!enabled_)
        return false;
    BusyScope busy(*this);
    if (!busy.acquired())
        return false;
    const int count = static_cast<int>(words.size());
    if (count == 0)
        return false;

    const int wpp = packetBits() / kWordBits;
    lsbFirst = SPI_LSB_First();
    const uint8_t mask = SPI_IOMode() == 1 ? 0x02 : 0x01;
    uint8_t instruction[kInstructionBits * kWireWordBytes];
    putInstruction(instruction, static_cast<uint8_t>(0x80 | kRAMRegister), lsbFirst);

    raise({EvalBdEventRecord::RAMCOMBegin, count, wpp, true});
    USBInitiateSerialRead();
    bool ok = sendOut(usb::firmware::kDataPipe, instruction, sizeof instruction);
    uint8_t sampled[kMaxReadBackWords];
    for (int done = 0; ok && done < count; done += wpp) {
        const int n = std::min(wpp, count - done);
        raise({EvalBdEventRecord::RAMPacketXfered, done});
        ok = USBReadSerialPKT16(std::span<uint8_t>(sampled, static_cast<size_t>(n) * kWordBits)) == 0;
        if (!ok)
            break;
        // Each block's bits go straight into its words: the first 32 into the block's first element, the
        // first bit sampled the word's top bit (its bottom bit when least significant bit first).
        for (int k = 0; k < n; ++k) {
            const uint8_t* in = sampled + k * kWordBits;
            uint32_t word = 0;
            if (lsbFirst) {
                for (int b = kWordBits - 1; b >= 0; --b)
                    word = (word << 1) | ((in[b] & mask) != 0 ? 1U : 0U);
            } else {
                for (int b = 0; b < kWordBits; ++b)
                    word = (word << 1) | ((in[b] & mask) != 0 ? 1U : 0U);
            }
            words[static_cast<size_t>(elementAt(done + k, count, lsbFirst))] = word;
        }
        reached = done + n;
    }
    USBTerminateSerialRead();
    raise({EvalBdEventRecord::RAMCOMFinished, 0, 0, ok});
    return ok;
}
