// TESSARON_BOARDS: which emulated boards the program finds.

#include "platform/usb/emulated_driver.h"

#include <gtest/gtest.h>

using namespace usb;

namespace
{

TEST(BoardsSpec, EmptyOrUnsetGivesOneRevisionThreeHighSpeedBoardWithFifo)
{
    for (const QString& text : {QString(), QStringLiteral(""), QStringLiteral("  ")}) {
        const auto specs = parseBoardsSpec(text);
        ASSERT_TRUE(specs);
        ASSERT_EQ(specs->size(), 1u);
        const BoardSpec& spec = specs->front();
        EXPECT_EQ(spec.slot, 0);
        EXPECT_EQ(spec.options.chip.revision, ChipRevision::Rev3);
        EXPECT_TRUE(spec.options.highSpeed);
        EXPECT_TRUE(spec.options.fifoPresent);
        EXPECT_EQ(spec.options.baseName, QStringLiteral("Ezssp"));
    }
}

TEST(BoardsSpec, NoneGivesNoBoard)
{
    for (const char* text : {"none", "NONE", " none "}) {
        const auto specs = parseBoardsSpec(QString::fromLatin1(text));
        ASSERT_TRUE(specs) << text;
        EXPECT_TRUE(specs->empty()) << text;
    }
}

TEST(BoardsSpec, EntriesWithOptions)
{
    const auto specs = parseBoardsSpec(QStringLiteral("0:rev2,2:fullspeed:nofifo"));
    ASSERT_TRUE(specs);
    ASSERT_EQ(specs->size(), 2u);
    EXPECT_EQ((*specs)[0].slot, 0);
    EXPECT_EQ((*specs)[0].options.chip.revision, ChipRevision::Rev2);
    EXPECT_TRUE((*specs)[0].options.highSpeed);
    EXPECT_EQ((*specs)[1].slot, 2);
    EXPECT_EQ((*specs)[1].options.chip.revision, ChipRevision::Rev3);
    EXPECT_FALSE((*specs)[1].options.highSpeed);
    EXPECT_FALSE((*specs)[1].options.fifoPresent);

    const auto more = parseBoardsSpec(
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

TEST(BoardsSpec, BadTextsAreRefusedWithAReason)
{
    const char* bad[] = {"9",          "-1",          "x:rev3",      "0:rev4", "0,0",      "0:fw=1",
                         "0:fw=1.256", "0:vid=12345", "0:hostid=-3", "0,,1",   "0:pid=zz", "0:"};
    for (const char* text : bad) {
        QString error;
        EXPECT_FALSE(parseBoardsSpec(QString::fromLatin1(text), &error)) << text;
        EXPECT_TRUE(error.contains(QString::fromLatin1(text))) << text << ": " << error.toStdString();
    }
}

TEST(BoardsSpec, AttachFromSpecsPlugsTheBoardsIn)
{
    EmulatedDriver drv;
    drv.attachFromSpecs(*parseBoardsSpec(QStringLiteral("0:rev2,2:fullspeed:nofifo")));
    ASSERT_NE(drv.board(0), nullptr);
    EXPECT_EQ(drv.board(1), nullptr);
    ASSERT_NE(drv.board(2), nullptr);
    EXPECT_EQ(drv.board(0)->chip()->revision(), ChipRevision::Rev2);
    EXPECT_EQ(drv.board(2)->fifo(), nullptr);
    EXPECT_EQ(drv.board(2)->deviceName(), QStringLiteral("Ezssp-2"));
}

} // namespace
