#pragma once

// Which bits of the register map make a window's load indicator blink: each bit is flipped in the pending
// map alone for one tick of the indicator's timer and put back, so the indicator is at rest between bits.

#include "board/evalbd.h"
#include "board/globals.h"
#include "board/register_field.h"

#include "platform/ui/controls.h"
#include "platform/ui/test_doubles.h"

#include <QList>
#include <cstdint>
#include <functional>

namespace profiletest {

// The bits of register `addr` whose change alone makes `indicator` blink (at rest before and after).
inline QList<int> blinkingBits(ui::Label& indicator, int16_t addr)
{
    QList<int> bits;
    const int width = goEvalBd->GetRegLength(addr);
    for (int bit = 0; bit < width; ++bit) {
        const RegisterField field = regBit(addr, bit);
        const uint64_t was = field.get();
        field.set(was ^ 1U);
        ui::testing::clock().advance(200);
        if (indicator.Visible())
            bits << bit;
        field.set(was);
        ui::testing::clock().advance(200);
        if (indicator.Visible())
            bits << -1; // the indicator did not come to rest
    }
    return bits;
}

// The bits hi..lo, in ascending order.
inline QList<int> bitRange(int hi, int lo)
{
    QList<int> bits;
    for (int bit = lo; bit <= hi; ++bit)
        bits << bit;
    return bits;
}

} // namespace profiletest
