// Which boards the program talks to, which identifiers start-up stores, and how boards are numbered.

#include "platform/usb/board_ids.h"
#include "platform/usb/emulated_driver.h"
#include "platform/usb/usb_driver.h"
#include "platform/usbhost/board_selection.h"
#include "platform/usbhost/slot_table.h"

#include <gtest/gtest.h>

namespace {

TEST(BoardChoice, TheVariableChoosesRealOrEmulatedBoards)
{
    using usbhost::BoardSource;
    const QString demoHint = QStringLiteral("TESSARON_BOARDS=demo starts with an emulated board");
    const struct {
        QString variable;
        bool libusb;
        BoardSource source;
        QString line;
    } cases[] = {
        {QString(), true, BoardSource::RealBoards,
         QStringLiteral("Boards: real boards over USB (libusb). TESSARON_BOARDS=demo starts with an emulated "
                        "board instead.")},
        {QStringLiteral(" "), true, BoardSource::RealBoards,
         QStringLiteral("Boards: real boards over USB (libusb). TESSARON_BOARDS=demo starts with an emulated "
                        "board instead.")},
        {QString(), false, BoardSource::NoUsbSupport,
         QStringLiteral(
             "Boards: this build has no USB support (libusb-1.0 was missing when it was built), so "
             "no board is attached. TESSARON_BOARDS=demo starts with an emulated board.")},
        {QStringLiteral("demo"), true, BoardSource::Emulated,
         QStringLiteral("Boards: emulated, not real (TESSARON_BOARDS=demo).")},
        {QStringLiteral("0:rev2,2:fullspeed:nofifo"), true, BoardSource::Emulated,
         QStringLiteral("Boards: emulated, not real (TESSARON_BOARDS=0:rev2,2:fullspeed:nofifo).")},
        {QStringLiteral("none"), false, BoardSource::Emulated,
         QStringLiteral("Boards: none (TESSARON_BOARDS=none).")},
        {QStringLiteral("foo"), true, BoardSource::Emulated,
         QStringLiteral("Boards: TESSARON_BOARDS=foo is not understood (\"foo\" does not start with a slot "
                        "number 0-8), so no board is attached. TESSARON_BOARDS=demo starts with an emulated "
                        "board.")},
        {QStringLiteral("0:rev4"), false, BoardSource::Emulated,
         QStringLiteral("Boards: TESSARON_BOARDS=0:rev4 is not understood (unknown option \"rev4\"), so no "
                        "board is attached. TESSARON_BOARDS=demo starts with an emulated board.")},
        {QStringLiteral("1,1"), true, BoardSource::Emulated,
         QStringLiteral(
             "Boards: TESSARON_BOARDS=1,1 is not understood (slot 1 is named twice), so no board is "
             "attached. TESSARON_BOARDS=demo starts with an emulated board.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variable.toStdString());
        const usbhost::BoardChoice choice = usbhost::chooseBoards(c.variable, c.libusb);
        EXPECT_EQ(choice.source, c.source);
        EXPECT_EQ(choice.line.toStdString(), c.line.toStdString());
        // Wherever no board comes of the choice, the line says how to get the emulated one.
        const bool emulatedBoards = c.line.contains(QStringLiteral("emulated, not real"));
        EXPECT_EQ(choice.line.contains(demoHint), !emulatedBoards && c.variable != QStringLiteral("none"));
    }
}

TEST(BoardChoice, TheStartUpLineIsSaidOnceAndKeptInTheSameWordsForTheStatusBar)
{
    const QByteArray before = qgetenv("TESSARON_BOARDS");
    const QString kindBefore = usb::boardKind();
    for (const char* value : {"foo", "demo", "none"}) {
        SCOPED_TRACE(value);
        qputenv("TESSARON_BOARDS", value);
        testing::internal::CaptureStderr();
        usbhost::installBoardDriver([](const QString&) {});
        const QString said = QString::fromStdString(testing::internal::GetCapturedStderr());
        // One line, and the status bar's tool tip in the same words.
        EXPECT_EQ(said, usb::boardKind() + QLatin1Char('\n'));
    }
    qputenv("TESSARON_BOARDS", before);
    usb::setBoardKind(kindBefore);
}

TEST(BoardChoice, DemoIsTheSingleDefaultBoard)
{
    const auto demo = usb::parseBoardsVariable(QStringLiteral("demo"));
    ASSERT_TRUE(demo);
    ASSERT_EQ(demo->size(), 1u);
    EXPECT_EQ(demo->front().slot, 0);
    EXPECT_EQ(demo->front().options.chip.revision, usb::ChipRevision::Rev3);
    EXPECT_TRUE(demo->front().options.highSpeed);
    EXPECT_TRUE(demo->front().options.fifoPresent);
    EXPECT_TRUE(usb::parseBoardsVariable(QStringLiteral(" DEMO ")));
    EXPECT_FALSE(usb::parseBoardsVariable(QStringLiteral("demo,1")));
}

TEST(BoardIds, TheVariableReplacesTheBuiltInIdentifiers)
{
    const usb::UsbIds builtIn{usb::kBoardVendorId, usb::kBoardProductId};
    const struct {
        QString text;
        usb::UsbIds ids;
        bool reported;
    } cases[] = {
        {QString(), builtIn, false},
        {QStringLiteral("04b4:8613"), {0x04B4, 0x8613}, false},
        {QStringLiteral("0x04B4:0xFFFF"), {0x04B4, 0xFFFF}, false},
        {QStringLiteral(" 1:2 "), {0x0001, 0x0002}, false},
        {QStringLiteral(""), builtIn, true},
        {QStringLiteral("04b4"), builtIn, true},
        {QStringLiteral("04b4:86133"), builtIn, true},
        {QStringLiteral("04b4:xyz"), builtIn, true},
        {QStringLiteral("04b4:8613:1"), builtIn, true},
        {QStringLiteral(":8613"), builtIn, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QString problem;
        EXPECT_EQ(usb::boardIdsFor(c.text, &problem), c.ids);
        EXPECT_EQ(!problem.isEmpty(), c.reported) << problem.toStdString();
        if (c.reported) {
            EXPECT_TRUE(problem.startsWith(QStringLiteral("TESSARON_USB_ID: ")));
            EXPECT_TRUE(problem.contains(QStringLiteral("7a47:b470")));
        }
    }
}

TEST(BoardIds, IdentifiersFromTheTopHalfStaySignedSixteenBitForTheUsbObject)
{
    const usb::UsbIds ids = usb::boardIdsFor(QStringLiteral("8001:FFFE"), nullptr);
    EXPECT_EQ(static_cast<int16_t>(ids.vendor), -32767);
    EXPECT_EQ(static_cast<int16_t>(ids.product), -2);
}

TEST(SlotTable, BoardsKeepTheirNumberAndNewOnesTakeTheLowestFree)
{
    usbhost::SlotTable table;
    EXPECT_EQ(table.assign(101), 0);
    EXPECT_EQ(table.assign(102), 1);
    EXPECT_EQ(table.assign(101), 0) << "a board already numbered keeps its number";
    table.release(0);
    EXPECT_EQ(table.find(102), 1);
    EXPECT_EQ(table.assign(103), 0);
    EXPECT_EQ(table.assign(0), std::nullopt) << "no board";
    for (usbhost::SlotTable::Key key = 104; key < 111; ++key) {
        EXPECT_TRUE(table.assign(key));
    }
    EXPECT_EQ(table.used(), 9);
    EXPECT_EQ(table.assign(200), std::nullopt) << "a tenth board gets no number";
    EXPECT_EQ(table.find(200), std::nullopt);
    table.release(4);
    EXPECT_EQ(table.assign(200), 4);
    EXPECT_EQ(table.at(4), 200u);
}

} // namespace
