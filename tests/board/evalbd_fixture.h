#pragma once

// A board object wired to one emulated board at Ezssp-0 (selected in a fresh USB object), with every
// board event recorded and helpers that read the traffic back from the emulator's trace.

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "common/bit_strings.h"
#include "platform/usb/emulated_driver.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace evalbdtest {

// The bytes of a command, for comparing with the trace.
QByteArray bytes(std::initializer_list<int> values);
using testbits::bits;
using testbits::valueOf;
QString reversed(const QString& text);
// The bit values carried by wire words (every second byte), in wire order.
QString wireBits(const QByteArray& words);

class EvalBdTest : public ::testing::Test {
protected:
    usb::ScopedEmulatedDriver scoped;
    usb::EmulatedDriver& drv = scoped.get();
    ScopedEZUSB ezusb;
    std::unique_ptr<cZR4470XEvalBd> bd = std::make_unique<cZR4470XEvalBd>();
    std::vector<EvalBdEventRecord> events;

    EvalBdTest();
    ~EvalBdTest() override;

    // Plugs a board into slot 0, selects it and forgets the selection traffic. The board object's port
    // buffers are brought to the board's levels as start-up does (InitIOBuffs).
    usb::EmulatedBoard& plug(const usb::BoardOptions& options = {});
    usb::EmulatedBoard& board() { return *drv.board(0); }
    usb::EmulatedChip& chip() { return *drv.board(0)->chip(); }
    void clearRecords();

    QList<QByteArray> commands() const { return drv.transfers(0, 0); }
    QList<QByteArray> dataPackets() const { return drv.transfers(0, 3); }
    QList<QByteArray> readBacks() const { return drv.transfers(0, 5); }
    int bulkCount() const;
    // Event kinds in the order raised.
    std::vector<EvalBdEventRecord::Kind> eventKinds() const;
    std::vector<int32_t> eventValues(EvalBdEventRecord::Kind kind) const;
    // Fails the test with the emulator's protocol-violation texts when there are any.
    void expectCleanProtocol() const;

    // Serial-mode helpers: write CFR1 with the LSB-first and 3-wire bits as wanted.
    void setSerialMode(bool lsbFirst, bool threeWire);
};

} // namespace evalbdtest
