// The board object and its register maps with no application object and no window system: the program
// that runs these links the board library alone, as the fuzz targets and tools may. The board's messages
// reach whatever sink is installed, here a recording one.

#include "board/evalbd.h"
#include "board/message_sink.h"
#include "board/num_base.h"

#include <QCoreApplication>
#include <QString>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct Shown {
    QString prompt;
    int buttons;
    QString title;
};

class RecordingSink : public boardmsg::MessageSink {
public:
    std::vector<Shown> shown;
    int answer = boardmsg::vbOK;
    int show(const QString& prompt, int buttons, const QString& title) override
    {
        shown.push_back({prompt, buttons, title});
        return answer;
    }
};

class BoardWithoutGui : public ::testing::Test {
protected:
    RecordingSink sink;
    void SetUp() override { boardmsg::setMessageSink(&sink); }
    void TearDown() override { boardmsg::setMessageSink(nullptr); }
};

TEST_F(BoardWithoutGui, RunsWithoutAnApplicationObject)
{
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST_F(BoardWithoutGui, RegisterMapBitsSetAndReadBackOnEitherMap)
{
    cZR4470XEvalBd bd;
    struct Case {
        int16_t sel;
        int16_t addr;
        int16_t bit;
    };
    for (const Case c : {Case{0, 0x00, 0}, Case{1, 0x00, 7}, Case{0, 0x01, 5}, Case{1, 0x08, 15}}) {
        SCOPED_TRACE(testing::Message() << "sel " << c.sel << " addr " << c.addr << " bit " << c.bit);
        const int16_t before = bd.GetRegMapBitValue(c.sel, c.addr, c.bit);
        bd.SetRegMapBitValue(c.sel, c.addr, c.bit, before ? 0 : 1);
        EXPECT_EQ(bd.GetRegMapBitValue(c.sel, c.addr, c.bit), before ? 0 : 1);
        EXPECT_EQ(bd.GetRegMapBitValue(c.sel == 0 ? 1 : 0, c.addr, c.bit), before)
            << "the other map is untouched";
    }
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(BoardWithoutGui, BitOutsideTheRegisterIsReportedThroughTheSink)
{
    cZR4470XEvalBd bd;
    const int16_t width = bd.GetRegLength(0x00);
    ASSERT_GT(width, 0);
    const QString before = bd.GetRegMapValue(0, 0x00);
    EXPECT_EQ(bd.GetRegMapBitValue(0, 0x00, width), 0);
    bd.SetRegMapBitValue(0, 0x00, -1, 1);
    EXPECT_EQ(bd.GetRegMapValue(0, 0x00), before) << "a rejected bit changes nothing";
    ASSERT_EQ(sink.shown.size(), 2U);
    EXPECT_EQ(sink.shown[0].buttons, boardmsg::vbCritical);
    EXPECT_TRUE(sink.shown[0].title.contains(QStringLiteral("GetRegMapBitVal")));
    EXPECT_TRUE(sink.shown[1].title.contains(QStringLiteral("SetRegMapBitVal")));
}

TEST_F(BoardWithoutGui, WithNoSinkAMessageIsDroppedAndAnsweredOk)
{
    boardmsg::setMessageSink(nullptr);
    EXPECT_EQ(boardmsg::MsgBox(QStringLiteral("nobody sees this"), boardmsg::vbOKCancel), boardmsg::vbOK);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(BoardWithoutGui, SinkAnswerComesBackToTheCaller)
{
    sink.answer = boardmsg::vbCancel;
    EXPECT_EQ(boardmsg::MsgBox(QStringLiteral("?"), boardmsg::vbOKCancel, QStringLiteral("t")),
              boardmsg::vbCancel);
    ASSERT_EQ(sink.shown.size(), 1U);
    EXPECT_EQ(sink.shown[0].prompt, QStringLiteral("?"));
    EXPECT_EQ(sink.shown[0].title, QStringLiteral("t"));
}

} // namespace
