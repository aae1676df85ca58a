#include "qstring_print.h"

#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"
#include "profiles/mod_edit_dialog_subs.h"
#include "profiles/mod_edit_out_freq.h"

#include <gtest/gtest.h>

namespace {

using profiles::EditValue;

// Every conversion runs under both decimal separators the users have.
class InLocale : public ::testing::TestWithParam<QChar> {
protected:
    rt::ScopedNumberLocale locale{GetParam()};
    // "0.5" written with the locale's separator.
    QString local(const char* invariant) const
    {
        return QString::fromLatin1(invariant).replace(QLatin1Char('.'), GetParam());
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, InLocale, ::testing::Values(QChar(u'.'), QChar(u',')),
                         [](const auto& info) { return info.param == u'.' ? "Point" : "Comma"; });

// ---- tuning words ----

struct FtwCase {
    double fout;
    double fsys;
    int16_t bits;
    const char* word;
};

class FreqToFtw : public ::testing::TestWithParam<FtwCase> {};

TEST_P(FreqToFtw, RoundsTheScaledRatioTiesToEvenWithoutClipping)
{
    const FtwCase c = GetParam();
    EXPECT_EQ(edtFreqToFTW(c.fout, c.fsys, c.bits).toInvariantString(), QLatin1String(c.word));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FreqToFtw,
    ::testing::Values(FtwCase{100, 1000, 32, "429496730"},  // 429496729.6
                      FtwCase{500, 1000, 32, "2147483648"}, // half the clock
                      FtwCase{2.5, 256, 8, "2"},            // exactly .5: the even neighbour
                      FtwCase{3.5, 256, 8, "4"},
                      FtwCase{1000, 1000, 32, "4294967296"}, // the clock itself: 2^32, callers clip
                      FtwCase{-100, 1000, 32, "-429496730"},
                      FtwCase{100, 1000, 48, "28147497671066"},  // 28147497671065.6
                      FtwCase{0.000001, 1000, 32, "4"},          // 4.294967296
                      FtwCase{122.88, 491.52, 32, "1073741824"}, // a quarter
                      // clocks that cannot divide give no word at all
                      FtwCase{100, 0, 32, "0"}, FtwCase{100, -1000, 32, "0"}, FtwCase{100, 1000, 96, "0"}));

TEST(FreqToFtw, HugeRatioSaturatesInsteadOfFailing)
{
    EXPECT_EQ(edtFreqToFTW(1e300, 1e-300, 32), rt::Decimal::maxValue());
    EXPECT_EQ(edtFreqToFTW(-1e300, 1e-300, 32), -rt::Decimal::maxValue());
    EXPECT_EQ(edtFreqToFTW(std::nan(""), 1000, 32), rt::Decimal());
}

TEST(FtwToFreq, DoubleWordEntersWithFifteenSignificantDigits)
{
    EXPECT_EQ(edtFTWToFreq(1.0, 1000, 32).toInvariantString(), QStringLiteral("0.00000023283064365387"));
    EXPECT_EQ(edtFTWToFreq(2147483648.0, 1000, 32).toInvariantString(), QStringLiteral("500"));
}

TEST(FtwToFreq, DecimalWordDividesExactly)
{
    // 1000 / 2^32 written out: every digit the decimal holds.
    EXPECT_EQ(edtFTWToFreq(rt::Decimal(1), 1000, 32).toInvariantString(),
              QStringLiteral("0.0000002328306436538696289"));
    EXPECT_EQ(edtFTWToFreq(rt::Decimal(429496730), 1000, 32).toInvariantString(),
              QStringLiteral("100.0000000931322574615478516"));
}

TEST_P(InLocale, FtwToFreqReadsTextWordsAsNumbers)
{
    EXPECT_EQ(edtFTWToFreq(QStringLiteral("2147483648"), 1000, 32).toInvariantString(),
              QStringLiteral("500"));
    EXPECT_EQ(edtFTWToFreq(local("1.5"), 256, 8).toInvariantString(), QStringLiteral("1.5"));
    EXPECT_TRUE(edtFTWToFreq(QStringLiteral("abc"), 1000, 32).isZero());
}

// ---- frequency patterns ----

struct PatternCase {
    int16_t bits;
    std::optional<double> fsys;
    int decimals; // -1: "0." alone
};

class FrequencyPattern : public ::testing::TestWithParam<std::tuple<QChar, PatternCase>> {};

TEST_P(FrequencyPattern, OneDecimalPastTheResolutionsFirstSignificantDigit)
{
    rt::ScopedNumberLocale locale{std::get<0>(GetParam())};
    const PatternCase c = std::get<1>(GetParam());
    const std::optional<EditValue> fsys = c.fsys ? std::optional<EditValue>(*c.fsys) : std::nullopt;
    EXPECT_EQ(edtFormatString(c.bits, fsys), QStringLiteral("0.") + QString(c.decimals, QLatin1Char('0')));
}

INSTANTIATE_TEST_SUITE_P(Table, FrequencyPattern,
                         ::testing::Combine(::testing::Values(QChar(u'.'), QChar(u',')),
                                            ::testing::Values(PatternCase{32, 1000.0, 8},
                                                              PatternCase{12, 1000.0, 2},      // 0.244140625
                                                              PatternCase{8, std::nullopt, 4}, // 1 MHz
                                                              PatternCase{32, std::nullopt, 11},
                                                              PatternCase{48, 1000.0, 13},
                                                              PatternCase{4, 1000.0, 0}, // 62.5 MHz
                                                              PatternCase{32, 0.0, 40})));

TEST_P(InLocale, PatternOfAClockThatIsNotANumberIsThatOfNoClock)
{
    EXPECT_EQ(edtFormatString(32, EditValue(QStringLiteral("abc"))),
              QStringLiteral("0.") + QString(40, u'0'));
    EXPECT_EQ(edtFormatString(32, EditValue(-1000.0)), QStringLiteral("0.") + QString(40, u'0'));
    EXPECT_EQ(edtFormatString(32, EditValue(local("1000.0"))), QStringLiteral("0.00000000"));
}

TEST_P(InLocale, FormatFreqUsesTheClockPatternAndRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(edtFormatFreq(edtFTWToFreq(rt::Decimal(429496730), 1000, 32), 32, 1000.0),
              local("100.00000009"));
    EXPECT_EQ(edtFormatFreq(0.125, 12, 1000.0), local("0.13"));
    EXPECT_EQ(edtFormatFreq(-0.125, 12, 1000.0), local("-0.13"));
    EXPECT_EQ(edtFormatFreq(0.0, 32), local("0.00000000000")); // the 1 MHz pattern
    EXPECT_EQ(edtFormatFreq(250.0, 4, 1000.0), local("250."));
}

TEST_P(InLocale, DecimalSeparatorProbesAnswerTextOrCode)
{
    EXPECT_EQ(edtDecimalSep(false).toString(), QString(GetParam()));
    EXPECT_EQ(edtDecimalSep(true).toInt(), GetParam().unicode());
    EXPECT_EQ(edtDecimalSep2(false).toString(), QString(GetParam()));
    EXPECT_EQ(edtDecimalSep2(true).toInt(), GetParam().unicode());
}

// ---- phase, amplitude, output scale ----

TEST(PhaseConversions, WordsRoundTiesToEvenAndDoNotWrap)
{
    const double halfStep = 360.0 / 65536.0 / 2.0; // 0.00274658203125
    EXPECT_EQ(edtDegreesToPOW(180), 32768);
    EXPECT_EQ(edtDegreesToPOW(halfStep), 0);
    EXPECT_EQ(edtDegreesToPOW(3 * halfStep), 2);
    EXPECT_EQ(edtDegreesToPOW(0.0027), 0);
    EXPECT_EQ(edtDegreesToPOW(0.003), 1);
    EXPECT_EQ(edtDegreesToPOW(360), 65536);
    EXPECT_EQ(edtDegreesToPOW(1e20), INT32_MAX);
    EXPECT_DOUBLE_EQ(edtPOWToDegrees(65535), 359.9945068359375);
    EXPECT_DOUBLE_EQ(edtPOWToDegrees(16384), 90.0);
}

TEST_P(InLocale, DisplayedPhaseAmplitudeAndGainRoundHalvesAwayFromZero)
{
    EXPECT_EQ(rt::Format(edtPOWToDegrees(512), QStringLiteral("0.000")), local("2.813"));  // 2.8125
    EXPECT_EQ(rt::Format(edtASFToAmpl(256), QStringLiteral("0.00000")), local("0.01563")); // 0.015625
    EXPECT_EQ(rt::Format(edtOSFToGain(192), QStringLiteral("0.0000000")), local("1.5000000"));
    EXPECT_EQ(rt::Format(edtOSFToGain(255), QStringLiteral("0.0000000")), local("1.9921875"));
}

TEST(AmplitudeConversions, ScaleFactorRoundsTiesToEven)
{
    const double step = 1.0 / 16384.0;
    EXPECT_EQ(edtAmplToASF(0.5), 8192);
    EXPECT_EQ(edtAmplToASF(1.5 * step), 2);
    EXPECT_EQ(edtAmplToASF(2.5 * step), 2);
    EXPECT_EQ(edtAmplToASF(2.6 * step), 3);
    EXPECT_DOUBLE_EQ(edtASFToAmpl(16383), 0.99993896484375);
}

TEST(OutputScaleConversions, FactorTruncatesTowardZero)
{
    EXPECT_EQ(edtGainToOSF(1.9999), 255);
    EXPECT_EQ(edtGainToOSF(1.5), 192);
    EXPECT_EQ(edtGainToOSF(2.0), 256); // callers clip to 255
    EXPECT_EQ(edtGainToOSF(-1.9999), -255);
    EXPECT_EQ(edtGainToOSF(1e9), INT16_MAX);
    EXPECT_DOUBLE_EQ(edtOSFToGain(128), 1.0);
    EXPECT_DOUBLE_EQ(edtOSFToGain(255), 1.9921875);
}

// ---- ramp rates ----

class RampRate : public InLocale {
protected:
    void SetUp() override { gvEditSysClock.reset(); }
    void TearDown() override { gvEditSysClock.reset(); }
};

INSTANTIATE_TEST_SUITE_P(Separators, RampRate, ::testing::Values(QChar(u'.'), QChar(u',')),
                         [](const auto& info) { return info.param == u'.' ? "Point" : "Comma"; });

TEST_P(RampRate, TimeIsFourWordsOverTheClock)
{
    EXPECT_DOUBLE_EQ(CalculateRRTime(1, 1000.0), 0.004);
    EXPECT_DOUBLE_EQ(CalculateRAMRRTime(65535, EditValue(local("1000"))), 262.14);
    EXPECT_DOUBLE_EQ(CalculateRRTime(1, rt::Decimal(1000)), 0.004);
    // four times the largest word does not fit 32 bits; the time is still right
    EXPECT_DOUBLE_EQ(CalculateRRTime(INT32_MAX, 1000.0), 8589934.588);
    EXPECT_EQ(edtFormatRRTime(CalculateRRTime(1, 1000.0)), local("0.0040"));
    EXPECT_EQ(edtFormatRAMRRTime(262.14), local("262.1400"));
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

TEST_P(RampRate, WordRoundsTiesToEvenWithDoubleAndDecimalClocks)
{
    for (const EditValue& clock :
         {EditValue(1000.0), EditValue(rt::Decimal(1000)), EditValue(local("1000"))}) {
        EXPECT_EQ(CalculateRRWord(EditValue(local("0.004")), clock), 1);
        EXPECT_EQ(CalculateRRWord(EditValue(local("0.002")), clock), 0); // 0.5
        EXPECT_EQ(CalculateRRWord(EditValue(local("0.006")), clock), 2); // 1.5
        EXPECT_EQ(CalculateRAMRRWord(EditValue(local("0.002")), clock), 0);
        EXPECT_EQ(CalculateRAMRRWord(EditValue(local("0.006")), clock), 2);
        EXPECT_EQ(CalculateRAMRRWord(EditValue(local("262.14")), clock), 65535);
    }
    EXPECT_EQ(CalculateRRWord(EditValue(local("1E30")), 1000.0), INT32_MAX);
    EXPECT_EQ(CalculateRRWord(EditValue(local("1E30")), rt::Decimal(1000)), INT32_MAX);
    EXPECT_EQ(CalculateRRWord(EditValue(QStringLiteral("abc")), 1000.0), 0);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

TEST_P(RampRate, MissingClockTakesTheSharedOne)
{
    gvEditSysClock = rt::Decimal(1000);
    EXPECT_DOUBLE_EQ(CalculateRRTime(1), 0.004);
    EXPECT_DOUBLE_EQ(CalculateRAMRRTime(1), 0.004);
    EXPECT_EQ(CalculateRAMRRWord(EditValue(local("0.004"))), 1);
    gvEditSysClock = EditValue(local("500")); // the RAM ramp-rate dialog keeps the clock text as it came
    EXPECT_DOUBLE_EQ(CalculateRAMRRTime(1), 0.008);
    EXPECT_EQ(CalculateRRWord(EditValue(local("0.008"))), 1);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

struct BadClock {
    const char* name;
    std::optional<EditValue> clock;
};

TEST_P(RampRate, ClockThatCannotDivideIsReportedAndGivesZero)
{
    const std::vector<BadClock> clocks = {{"text", EditValue(QStringLiteral("fast"))},
                                          {"zero", EditValue(0.0)},
                                          {"negative", EditValue(rt::Decimal(-1000))},
                                          {"missing, none shared", std::nullopt}};
    for (const BadClock& bad : clocks) {
        SCOPED_TRACE(bad.name);
        ui::testing::messageBoxes().reset();
        ui::testing::messageBoxes().answer({ui::vbOK, ui::vbOK, ui::vbOK, ui::vbOK});
        EXPECT_EQ(CalculateRRTime(1, bad.clock), 0.0);
        EXPECT_EQ(CalculateRAMRRTime(1, bad.clock), 0.0);
        EXPECT_EQ(CalculateRRWord(EditValue(local("0.004")), bad.clock), 0);
        EXPECT_EQ(CalculateRAMRRWord(EditValue(local("0.004")), bad.clock), 0);
        const auto& shown = ui::testing::messageBoxes().shown;
        ASSERT_EQ(shown.size(), 4u);
        const QStringList names = {"CalculateRRTime", "CalculateRAMRRTime", "CalculateRRWord",
                                   "CalculateRAMRRWord"};
        for (size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].prompt,
                      QStringLiteral("Error: %1()\r\nInvalid system clock value.").arg(names[i]));
            EXPECT_EQ(shown[i].title, QStringLiteral("Invalid Parameter Passed"));
            EXPECT_EQ(shown[i].buttons, ui::vbCritical);
        }
    }
}

} // namespace
