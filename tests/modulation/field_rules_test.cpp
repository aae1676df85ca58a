// The parameter fields' rules without the window: ranges, vector counts, the largest symbol counts and what
// the count label says.

#include "modulation/field_rules.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

using mvg::RangeVerdict;

struct RangeCase {
    const char* text;
    bool integer;
    double min;
    double max;
    RangeVerdict verdict;
};

TEST(FieldRules, RangesAreInclusiveAndNumbersTooLargeForTheirConversionAreOutOfRange)
{
    const RangeCase cases[] = {
        {"0.5", false, 0, 1, RangeVerdict::InRange},
        {"1", false, 0, 1, RangeVerdict::InRange},
        {"0", false, 0, 1, RangeVerdict::InRange},
        {"1.01", false, 0, 1, RangeVerdict::OutOfRange},
        {"-0.1", false, 0, 1, RangeVerdict::OutOfRange},
        {"", false, 0, 1, RangeVerdict::NotNumeric},
        {"abc", false, 0, 1, RangeVerdict::NotNumeric},
        {"30", true, 0, 30, RangeVerdict::InRange},
        {"31", true, 0, 30, RangeVerdict::OutOfRange},
        // Beyond 16 bits: no wrap-around into the range.
        {"40000", true, 0, 30, RangeVerdict::OutOfRange},
        {"65546", true, 0, 30, RangeVerdict::OutOfRange},
        {"1e400", false, 0, 1, RangeVerdict::OutOfRange},
    };
    for (const RangeCase& c : cases)
        EXPECT_EQ(mvg::judgeRange(QLatin1String(c.text), c.integer, c.min, c.max), c.verdict) << c.text;
}

struct CountCase {
    const char* symbols;
    const char* upsampling;
    int32_t vectors;
    int32_t largest; // for the FIFO's 65536 vectors
};

TEST(FieldRules, VectorCountsAndLargestSymbolCountsForTheFifo)
{
    const CountCase cases[] = {
        {"1000", "8", 16000, 4096},
        {"5000", "8", 80000, 4096},
        {"1000", "0", 0, -1},
        {"1000", "3", 6000, 10922}, // 65536 / 6 = 10922.67: one more would not fit
        {"x", "8", -1, 4096},
        {"1000", "", -1, -1},
        {"2000000000", "2", -1, 16384}, // the product leaves 32 bits
        {"2.5", "8", 32, 4096},         // whole numbers with ties to even
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(std::string(c.symbols) + " x " + c.upsampling);
        EXPECT_EQ(mvg::vectorCount(QLatin1String(c.symbols), QLatin1String(c.upsampling)), c.vectors);
        EXPECT_EQ(mvg::largestSymbolCount(QLatin1String(c.upsampling), mvg::kFifoVectors), c.largest);
    }
}

TEST(FieldRules, TheCountLabelSaysTheCountOrThatAParameterIsInvalid)
{
    struct Case {
        int32_t vectors;
        int32_t largest;
        QString caption;
        QString toolTip;
        bool marker;
        bool warning;
    };
    const Case cases[] = {
        {16000, 4096, QStringLiteral("16000"),
         QStringLiteral("Number of Data Vectors = 16000 : Max Symbols = 4096"), false, false},
        {65536, 4096, QStringLiteral("65536"),
         QStringLiteral("Number of Data Vectors = 65536 : Max Symbols = 4096"), false, false},
        {65538, 4096, QStringLiteral("65538"),
         QStringLiteral("Number of Data Vectors = 65538 : Max Symbols = 4096"), true, true},
        {0, -1, QStringLiteral("0"), QStringLiteral("Number of Data Vectors = 0 : Max Symbols = -1"), false,
         false},
        {-1, 4096, QStringLiteral("Invalid Parameter!"), QStringLiteral("Invalid Parameter!"), true, false},
    };
    for (const Case& c : cases) {
        const mvg::VectorCountText text = mvg::describeVectorCount(c.vectors, c.largest);
        EXPECT_EQ(text.caption, c.caption);
        EXPECT_EQ(text.toolTip, c.toolTip);
        EXPECT_EQ(text.marker, c.marker) << c.vectors;
        EXPECT_EQ(text.fifoWarning, c.warning) << c.vectors;
    }
    EXPECT_EQ(mvg::fifoWarningText(),
              QStringLiteral(
                  "The output vectors exceed the ZR2250 and ZR4470 Evaluation Boards\r\n65K FIFO size."));
}

TEST(FieldRules, AnOutputNameIsMarkedOnlyForAFolderThatIsNotThere)
{
    QTemporaryDir folder;
    const std::pair<QString, bool> cases[] = {
        {QStringLiteral("data.txt"), false},
        {QString(), false},
        {folder.path() + QStringLiteral("/data.txt"), false},
        {folder.path() + QStringLiteral("/missing/data.txt"), true},
        {QDir::toNativeSeparators(folder.path()) + QStringLiteral("\\missing\\data.txt"), true},
    };
    for (const auto& [text, missing] : cases)
        EXPECT_EQ(mvg::outputFolderMissing(text), missing) << text.toStdString();
}

TEST(FieldRules, WholeNumberAndDecimalFieldsTakeTheirKeysAndNoSign)
{
    struct Key {
        char key;
        bool whole;   // taken by a whole-number field
        bool decimal; // taken by a decimal field
    };
    const Key keys[] = {{'7', true, true},   {'-', false, false}, {'+', false, false},
                        {'a', false, false}, {'.', false, true},  {'\b', true, true}};
    for (const Key& k : keys) {
        EXPECT_EQ(mvg::filterWholeNumberKey(k.key) != 0, k.whole) << int(k.key);
        EXPECT_EQ(mvg::filterDecimalKey(k.key) != 0, k.decimal) << int(k.key);
    }
}

} // namespace
