// The typical change end to end: a profile's output frequency edited in its dialog, stored in the pending
// map, loaded into the chip over the emulated board, and made active by the I/O update.

#include "profile_fixture.h"
#include "qstring_print.h"

#include "board/board_flags.h"
#include "profiles/frm_edit_out_freq.h"
#include "shell/mdi_main.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using namespace profiletest;

const QList<int16_t> kLoadOrder = {0x01, 0x00, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15};
constexpr uint64_t kProfile0AtReset = 0x08B5000000000000ULL;
constexpr uint64_t kHundredMHzWord = 429496730;

struct Road {
    const char* name;
    bool highSpeed;
    bool lsbFirst;
};

std::ostream& operator<<(std::ostream& out, const Road& road)
{
    return out << road.name;
}

// The wire words of one register write: the instruction byte (write, one register) and the value, each
// most significant bit first or, with LSB first, least significant first; cut into packets.
QList<QByteArray> expectedPackets(int16_t addr, const QString& value, bool lsbFirst, int packetBits)
{
    QString stream = bits(static_cast<uint64_t>(addr & 0x1F), 8);
    QString data = value;
    if (lsbFirst) {
        std::reverse(stream.begin(), stream.end());
        std::reverse(data.begin(), data.end());
    }
    stream += data;
    QList<QByteArray> packets;
    for (qsizetype at = 0; at < stream.size(); at += packetBits) {
        QByteArray packet;
        for (QChar bit : stream.mid(at, packetBits)) {
            packet.append(bit == QLatin1Char('1') ? '\x01' : '\x00');
            packet.append('\x00');
        }
        packets.append(packet);
    }
    return packets;
}

class RoadTest : public ProfileWindowTest {
protected:
    // Double-clicks profile 0's output frequency and answers the dialog with `megahertz`.
    void editFrequency(frmProfile& w, const QString& megahertz)
    {
        ui::testing::onModal<frmEditOutFreq>([megahertz](frmEditOutFreq& dialog) {
            QApplication::setActiveWindow(dialog.frameWidget()->window());
            retype(dialog.txtOutputFreqVal, megahertz);
            dialog.OKButton.SetFocus();
            dialog.OKButton.click();
        });
        doubleClick(w.txtOutFreqQD(0));
        QApplication::setActiveWindow(mdi->frameWidget()->window());
    }

    void tick(int ticks = 1) { ui::testing::clock().advance(200 * ticks); }
};

class MainRoad : public RoadTest, public ::testing::WithParamInterface<Road> {};

TEST_P(MainRoad, FrequencyTypedInTheDialogReachesTheChipsProfileRegister)
{
    const Road road = GetParam();
    usb::BoardOptions options;
    options.highSpeed = road.highSpeed;
    plugBoard(options);
    if (road.lsbFirst)
        setPendingField(0x00, 0, 0, 1);
    frmProfile& w = openShown();
    mdi->chkAutoIOUd.setValue(1);

    // ---- the edit ----
    editFrequency(w, QStringLiteral("100"));
    EXPECT_EQ(ui::testing::modalShows(), QStringList{QStringLiteral("frmEditOutFreq")});
    EXPECT_EQ(w.txtOutFreqQD(0).Tag, QStringLiteral("0429496730"));
    EXPECT_EQ(w.txtOutFreqQD(0).Text(), QStringLiteral("100.00000009"));
    EXPECT_EQ(pending(0x0E), (kProfile0AtReset & ~uint64_t{0xFFFFFFFF}) | kHundredMHzWord);
    EXPECT_EQ(written(0x0E), kProfile0AtReset);

    // ---- the load indicator blinks while the maps differ ----
    ASSERT_FALSE(w.lblLoadFlash.Visible());
    tick();
    EXPECT_TRUE(w.lblLoadFlash.Visible());
    tick();
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    tick();
    EXPECT_TRUE(w.lblLoadFlash.Visible());

    // ---- LOAD ----
    QList<QString> sent;
    for (int16_t addr : kLoadOrder)
        sent.append(bd().GetRegMapValue(0, addr));
    const int updatesBefore = chip().ioUpdateCount();
    clearTraffic();
    w.cmdLoad.click();

    // Pipe 3: each register in order, one 16-bit word per bit, in packets of 256 words (high speed) or 32
    // (full speed); CFR2 and CFR1 go most significant bit first, the profiles least significant first once
    // the new CFR1 has told the chip so.
    const int packetBits = road.highSpeed ? 256 : 32;
    QList<QByteArray> expected;
    for (qsizetype k = 0; k < kLoadOrder.size(); ++k) {
        const bool lsb = road.lsbFirst && k >= 2;
        expected += expectedPackets(kLoadOrder[k], sent[k], lsb, packetBits);
    }
    const QList<QByteArray> packets = pipeWrites(3);
    ASSERT_EQ(packets.size(), expected.size());
    for (qsizetype k = 0; k < packets.size(); ++k)
        EXPECT_EQ(packets[k], expected[k]) << "packet " << k;
    if (road.highSpeed)
        EXPECT_EQ(packets[2].size(), 2 * (8 + 64));
    else
        EXPECT_EQ(packets[2].size(), 2 * 32);

    // Pipe 0: chip select low right before each register's packets and high right after; the I/O update
    // pulse on port E bit 4 comes last.
    QList<std::pair<int, QByteArray>> order;
    for (const usb::TraceEntry& e : drv.trace())
        if (e.kind == usb::RequestKind::BulkWrite && e.ok && (e.pipe == 0 || e.pipe == 3))
            order.append({e.pipe, e.data});
    int registersFramed = 0;
    for (qsizetype k = 0; k < order.size(); ++k) {
        if (order[k].first != 3 || (k > 0 && order[k - 1].first == 3))
            continue;
        // The last port A write before the packets (CFR2 may set the I/O update enable on port E after it).
        qsizetype portA = k - 1;
        while (portA >= 0 && !(order[portA].first == 0 && order[portA].second[0] == 1))
            --portA;
        ASSERT_GE(portA, 0);
        for (qsizetype between = portA + 1; between < k; ++between)
            EXPECT_EQ(order[between].second[0], 20) << "only port E between chip select and the packets";
        EXPECT_EQ(order[portA].second.size(), 2);
        EXPECT_EQ(order[portA].second[1] & 0x02, 0) << "chip select low";
        qsizetype last = k;
        while (last + 1 < order.size() && order[last + 1].first == 3)
            ++last;
        ASSERT_LT(last + 2, order.size());
        EXPECT_EQ(order[last + 1].second, QByteArray("\x10\x01", 2)) << "auto chip select back on";
        EXPECT_EQ(order[last + 2].second[0], 1);
        EXPECT_EQ(order[last + 2].second[1] & 0x02, 0x02) << "chip select high";
        ++registersFramed;
    }
    EXPECT_EQ(registersFramed, 10);
    ASSERT_GE(order.size(), 2);
    const QByteArray rise = order[order.size() - 2].second;
    const QByteArray fall = order.back().second;
    EXPECT_EQ(rise[0], 20);
    EXPECT_EQ(fall[0], 20);
    EXPECT_EQ(rise[1] & 0x10, 0x10);
    EXPECT_EQ(fall[1], static_cast<char>(rise[1] & ~0x10));

    // ---- afterwards ----
    for (qsizetype k = 0; k < kLoadOrder.size(); ++k)
        EXPECT_EQ(bd().GetRegMapValue(1, kLoadOrder[k]), sent[k]) << kLoadOrder[k];
    EXPECT_EQ(chip().ioUpdateCount(), updatesBefore + 1);
    EXPECT_EQ(chip().activeRegister(0x0E), (kProfile0AtReset & ~uint64_t{0xFFFFFFFF}) | kHundredMHzWord);
    EXPECT_EQ(chip().lsbFirst(), road.lsbFirst);
    EXPECT_TRUE(drv.violationTexts().isEmpty())
        << drv.violationTexts().join(QStringLiteral("; ")).toStdString();
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    tick(2);
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    EXPECT_TRUE(os::testing::soundRecorder().played.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Speeds, MainRoad,
                         ::testing::Values(Road{"HighSpeed", true, false}, Road{"FullSpeed", false, false},
                                           Road{"HighSpeedLSBFirst", true, true},
                                           Road{"FullSpeedLSBFirst", false, true}),
                         [](const ::testing::TestParamInfo<Road>& info) {
                             return std::string(info.param.name);
                         });

class MainRoadWithoutBoard : public RoadTest {};

TEST_F(MainRoadWithoutBoard, OnlyTheWrittenCopyChangesAndTheQuestionSounds)
{
    frmProfile& w = openShown();
    mdi->chkAutoIOUd.setValue(1);
    w.chkClearCCI.setValue(1);
    editFrequency(w, QStringLiteral("100"));
    EXPECT_EQ(w.txtOutFreqQD(0).Tag, QStringLiteral("0429496730"));
    const uint64_t edited = (kProfile0AtReset & ~uint64_t{0xFFFFFFFF}) | kHundredMHzWord;
    ASSERT_EQ(pending(0x0E), edited);
    tick();
    EXPECT_TRUE(w.lblLoadFlash.Visible());

    clearTraffic();
    w.cmdLoad.click();
    EXPECT_EQ(written(0x0E), edited);
    for (int16_t addr : kLoadOrder)
        EXPECT_EQ(written(addr), pending(addr)) << addr;
    EXPECT_EQ(pendingField(0x00, 21, 21), 0U);
    EXPECT_EQ(w.chkClearCCI.Value(), 0);
    EXPECT_EQ(drv.count(usb::RequestKind::BulkWrite), 0);
    EXPECT_EQ(os::testing::soundRecorder().played, QStringList{QStringLiteral("SystemQuestion")});
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    tick(2);
    EXPECT_FALSE(w.lblLoadFlash.Visible());
}

} // namespace
