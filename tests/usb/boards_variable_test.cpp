// TESSARON_BOARDS: which emulated boards the program finds.

#include "platform/usb/emulated_driver.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace usb;

namespace {

TEST(BoardsVariable, EmptyOrUnsetGivesOneRevisionThreeHighSpeedBoardWithFifo)
{
    for (const QString& text : {QString(), QStringLiteral(""), QStringLiteral("  ")}) {
        const auto entries = parseBoardsVariable(text);
        ASSERT_TRUE(entries);
        ASSERT_EQ(entries->size(), 1u);
        const BoardEntry& entry = entries->front();
        EXPECT_EQ(entry.slot, 0);
        EXPECT_EQ(entry.options.chip.revision, ChipRevision::Rev3);
        EXPECT_TRUE(entry.options.highSpeed);
        EXPECT_TRUE(entry.options.fifoPresent);
        EXPECT_EQ(entry.options.baseName, QStringLiteral("Ezssp"));
    }
}

TEST(BoardsVariable, NoneGivesNoBoard)
{
    for (const char* text : {"none", "NONE", " none "}) {
        const auto entries = parseBoardsVariable(QString::fromLatin1(text));
        ASSERT_TRUE(entries) << text;
        EXPECT_TRUE(entries->empty()) << text;
    }
}

TEST(BoardsVariable, EntriesWithOptions)
{
    const auto entries = parseBoardsVariable(QStringLiteral("0:rev2,2:fullspeed:nofifo"));
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_EQ((*entries)[0].slot, 0);
    EXPECT_EQ((*entries)[0].options.chip.revision, ChipRevision::Rev2);
    EXPECT_TRUE((*entries)[0].options.highSpeed);
    EXPECT_EQ((*entries)[1].slot, 2);
    EXPECT_EQ((*entries)[1].options.chip.revision, ChipRevision::Rev3);
    EXPECT_FALSE((*entries)[1].options.highSpeed);
    EXPECT_FALSE((*entries)[1].options.fifoPresent);

    const auto more = parseBoardsVariable(
        QStringLiteral("8:nochip:fw=0.10:hostid=0x80000001:vid=0547:pid=0x1002:ezusb:resethigh, 1:rev1"));
    ASSERT_TRUE(more);
    ASSERT_EQ(more->size(), 2u);
    const BoardOptions& o = (*more)[0].options;
    EXPECT_EQ((*more)[0].slot, 8);
    EXPECT_EQ(o.chip.revision, ChipRevision::None);
    EXPECT_EQ(o.firmwareMajor, 0);
    EXPECT_EQ(o.firmwareMinor, 10);
    EXPECT_EQ(o.hostId, 0x80000001u);
    EXPECT_EQ(o.vendorId, 0x0547);
    EXPECT_EQ(o.productId, 0x1002);
    EXPECT_EQ(o.baseName, QStringLiteral("Ezusb"));
    EXPECT_TRUE(o.resetLineHighAtPowerOn);
    EXPECT_EQ((*more)[1].options.chip.revision, ChipRevision::Rev1);
}

TEST(BoardsVariable, BadTextsAreRefusedWithAReason)
{
    const char* bad[] = {"9",          "-1",          "x:rev3",      "0:rev4", "0,0",      "0:fw=1",
                         "0:fw=1.256", "0:vid=12345", "0:hostid=-3", "0,,1",   "0:pid=zz", "0:"};
    for (const char* text : bad) {
        QString error;
        EXPECT_FALSE(parseBoardsVariable(QString::fromLatin1(text), &error)) << text;
        EXPECT_TRUE(error.contains(QString::fromLatin1(text))) << text << ": " << error.toStdString();
    }
}

TEST(BoardsVariable, AttachBoardsPlugsTheBoardsIn)
{
    EmulatedDriver drv;
    drv.attachBoards(*parseBoardsVariable(QStringLiteral("0:rev2,2:fullspeed:nofifo")));
    ASSERT_NE(drv.board(0), nullptr);
    EXPECT_EQ(drv.board(1), nullptr);
    ASSERT_NE(drv.board(2), nullptr);
    EXPECT_EQ(drv.board(0)->chip()->revision(), ChipRevision::Rev2);
    EXPECT_EQ(drv.board(2)->fifo(), nullptr);
    EXPECT_EQ(drv.board(2)->deviceName(), QStringLiteral("Ezssp-2"));
}

} // namespace

namespace {

TEST(BoardsVariable, DefaultDriverFollowsTheEnvironment)
{
    // The test runner sets TESSARON_BOARDS=none; run by hand without it, the real boards are wanted and no
    // emulated board stands anywhere.
    const bool set = !qEnvironmentVariable("TESSARON_BOARDS").trimmed().isEmpty();
    EXPECT_EQ(realBoardsWanted(), !set);
    const auto expected =
        set ? parseBoardsVariable(qEnvironmentVariable("TESSARON_BOARDS")) : std::vector<BoardEntry>{};
    ASSERT_TRUE(expected);
    EmulatedDriver& drv = defaultEmulatedDriver();
    int attached = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        attached += drv.board(slot) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(attached, static_cast<int>(expected->size()));
    EXPECT_FALSE(drv.traceEnabled()) << "a running program keeps no trace";
}

TEST(BoardsVariable, SlotsOutsideTheRangeAreRefused)
{
    EmulatedDriver drv;
    EXPECT_THROW(drv.attach(9), std::out_of_range);
    EXPECT_THROW(drv.attach(-1), std::out_of_range);
    EXPECT_EQ(drv.board(9), nullptr);
}

} // namespace
