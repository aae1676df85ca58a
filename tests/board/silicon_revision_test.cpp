// Silicon-revision detection over a scripted chip: which registers are read, when the serial port is reset
// and which layout is left in place, for each kind of chip; the product flag of the identification bits.

#include "board/silicon_revision.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <deque>

namespace {

using siliconrev::kIdentificationPattern;

struct Scenario {
    const char* name;
    QStringList answers; // what the chip answers to each read, in order
    int16_t revision;
    QStringList steps;
};

QString repeated(const char* unit, int times)
{
    return QString(QLatin1StringView(unit)).repeated(times);
}

const Scenario kScenarios[] = {
    {"revision 3", {kIdentificationPattern}, 3, {"read 31"}},
    {"revision 1 or 2",
     {repeated("0", 40), kIdentificationPattern},
     2,
     {"read 31", "io reset", "layout 2", "read 23"}},
    {"no board",
     {QString(), QString()},
     0,
     {"read 31", "io reset", "layout 2", "read 23", "io reset", "layout 3"}},
    {"chip held at one level",
     {repeated("1", 40), repeated("1", 40)},
     0,
     {"read 31", "io reset", "layout 2", "read 23", "io reset", "layout 3"}},
    // A revision 3 chip read in the revision 1/2 layout answers 8 bits of 0x1F: one more read, now 40 wide.
    {"revision 3 met in the revision 1/2 layout",
     {QStringLiteral("00000001"), repeated("01", 20), kIdentificationPattern},
     3,
     {"read 31", "io reset", "layout 2", "read 23", "io reset", "layout 3", "read 31"}},
    {"a chip that answers but never matches",
     {repeated("01", 20), repeated("0011", 10), repeated("0110", 10)},
     0,
     {"read 31", "io reset", "layout 2", "read 23", "io reset", "layout 3", "read 31", "io reset"}},
};

TEST(SiliconRevision, DetectionSequencePerKindOfChip)
{
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.name);
        std::deque<QString> answers(s.answers.begin(), s.answers.end());
        QStringList steps;
        const siliconrev::Probe probe{
            [&](int16_t addr) {
                steps << QStringLiteral("read %1").arg(addr);
                if (answers.empty()) {
                    ADD_FAILURE() << "a read more than the chip was scripted for";
                    return QString();
                }
                QString answer = answers.front();
                answers.pop_front();
                return answer;
            },
            [&] { steps << QStringLiteral("io reset"); },
            [&](int16_t rev) { steps << QStringLiteral("layout %1").arg(rev); },
        };
        EXPECT_EQ(siliconrev::detect(probe), s.revision);
        EXPECT_EQ(steps, s.steps);
        EXPECT_TRUE(answers.empty()) << "every scripted answer was asked for";
    }
}

TEST(SiliconRevision, ProductFlagIsTheNinthIdentificationBit)
{
    struct Case {
        QString bits;
        int16_t product;
    };
    const Case cases[] = {
        {kIdentificationPattern, 1},
        {repeated("0", 40), 0},
        {QStringLiteral("000000001"), 1},
        {QStringLiteral("00000000"), 0}, // too short to hold the bit
        {QString(), 0},
        {QStringLiteral("111111110111"), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(siliconrev::productOf(c.bits), c.product) << c.bits.toStdString();
}

} // namespace
