#pragma once

// Internal to the board object: wire-word encoding of the serial-bit and FIFO paths, the checks of the bit
// strings they send and the guard that keeps transfers from nesting. Packet buffers are filled in place, once
// per transfer. Register values themselves are read and written through RegisterField.

#include "board/evalbd.h"
#include "board/register_field.h"

#include <QString>

#include <cstdint>

namespace evalbd_detail {

// Bytes of one serial wire word (16-bit little-endian: the bit, then 0) and of one FIFO value.
inline constexpr int kWireWordBytes = 2;
inline constexpr int kFifoValueBytes = 4;
inline constexpr int kInstructionBits = 8;
inline constexpr int kMaxReadBackWords = 256;

// Writes the eight instruction bits as wire words: most significant first, or reversed.
inline void putInstruction(uint8_t* wire, uint8_t instruction, bool lsbFirst)
{
    for (int k = 0; k < kInstructionBits; ++k) {
        const int bit = lsbFirst ? k : kInstructionBits - 1 - k;
        wire[kWireWordBytes * k] = static_cast<uint8_t>((instruction >> bit) & 1U);
        wire[kWireWordBytes * k + 1] = 0;
    }
}

// Writes a checked "0"/"1" string as wire words, in its own order or reversed.
inline void putBits(uint8_t* wire, const QString& bits, bool reverse)
{
    const int n = static_cast<int>(bits.size());
    const QChar* in = bits.constData();
    for (int k = 0; k < n; ++k) {
        const QChar c = in[reverse ? n - 1 - k : k];
        wire[kWireWordBytes * k] = c == QLatin1Char('1') ? 1 : 0;
        wire[kWireWordBytes * k + 1] = 0;
    }
}

// One FIFO value on the wire: bits 0-7, bit 8, bits 9-16, bit 17 (two 9-bit half-words, low first). The
// sign bit is cleared first; only the low 18 bits travel.
inline void putFifoValue(uint8_t* out, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value) & 0x7FFFFFFFU;
    out[0] = static_cast<uint8_t>(v & 0xFFU);
    out[1] = static_cast<uint8_t>((v >> 8) & 1U);
    out[2] = static_cast<uint8_t>((v >> 9) & 0xFFU);
    out[3] = static_cast<uint8_t>((v >> 17) & 1U);
}

// True when the text is exactly `width` characters, each "0" or "1".
inline bool isBitString(const QString& value, int width)
{
    if (value.size() != width)
        return false;
    for (QChar c : value) {
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return false;
    }
    return true;
}

inline QString reversedText(const QString& text)
{
    QString out(text.size(), Qt::Uninitialized);
    const qsizetype n = text.size();
    for (qsizetype k = 0; k < n; ++k)
        out[k] = text[n - 1 - k];
    return out;
}

} // namespace evalbd_detail

// Marks the board object busy for one transfer. A transfer that starts while another one runs (from a
// timer or a user action during a wait, or from an event handler) does not acquire it and is refused.
class cZR4470XEvalBd::BusyScope {
public:
    explicit BusyScope(cZR4470XEvalBd& board) : board_(board), acquired_(!board.busy_)
    {
        if (acquired_)
            board_.busy_ = true;
    }
    ~BusyScope()
    {
        if (acquired_)
            board_.busy_ = false;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    bool acquired() const { return acquired_; }

private:
    cZR4470XEvalBd& board_;
    bool acquired_;
};
