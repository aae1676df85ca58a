// What a generator run says, without the window: the error file and the closing line.

#include "modulation/generator_report.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

struct ErrorFileCase {
    const char* name;
    std::optional<QByteArray> bytes;
    bool noErrors;
    QStringList lines;
};

TEST(GeneratorReport, TheErrorFileSaysNoErrorsOnlyWithAZeroFirstLine)
{
    const ErrorFileCase cases[] = {
        {"zero", QByteArray("0\r\n"), true, {}},
        {"zero with blanks, more after", QByteArray(" 0 \r\nignored\r\n"), true, {}},
        {"errors up to the first empty line",
         QByteArray("1\r\n Taps must be even \r\n\r\nignored\r\n"),
         false,
         {QStringLiteral("Taps must be even")}},
        {"LF lines",
         QByteArray("2\nfirst\nsecond\n"),
         false,
         {QStringLiteral("first"), QStringLiteral("second")}},
        {"no lines after a non-zero", QByteArray("3\r\n"), false, {}},
        {"empty file", QByteArray(), false, {}},
        {"cannot be read", std::nullopt, false, {}},
    };
    for (const ErrorFileCase& c : cases) {
        const mvg::ErrorReport report = mvg::parseErrorFile(c.bytes);
        EXPECT_EQ(report.noErrors, c.noErrors) << c.name;
        EXPECT_EQ(report.errorLines, c.lines) << c.name;
    }
}

TEST(GeneratorReport, TheClosingLineCountsAReportedErrorEvenWithoutTheWord)
{
    struct Case {
        int16_t errors;
        int16_t warnings;
        bool noErrors;
        const char* line;
    };
    const Case cases[] = {
        {0, 0, true, "\r\nData Generation Completed without Errors!"},
        {0, 0, false, "\r\nData Generation Complete:  Errors = 1  Warnings = 0"},
        {0, 2, true, "\r\nData Generation Complete:  Errors = 0  Warnings = 2"},
        {0, 2, false, "\r\nData Generation Complete:  Errors = 1  Warnings = 2"},
        {3, 0, false, "\r\nData Generation Complete:  Errors = 3  Warnings = 0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mvg::runSummary(c.errors, c.warnings, c.noErrors), QLatin1String(c.line));
}

TEST(GeneratorReport, TheWaitForTheErrorFileEndsWhenItHasAFirstLineOrAfterItsTries)
{
    QTemporaryDir folder;
    const QString path = folder.path() + QLatin1Char('/') + mvg::kErrorFileName;
    auto write = [&](const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    struct Case {
        const char* name;
        std::optional<QByteArray> bytes; // nothing: no file
        int writtenAfter;                // pauses before the file appears (-1: it never does)
        bool goOn;                       // what every pause answers
        bool written;
        int pauses;
    };
    const Case cases[] = {
        {"there at once", QByteArray("0\r\n"), 0, true, true, 0},
        {"a blank first line", QByteArray("\r\n"), 0, true, false, 0},
        {"written during the wait", QByteArray("1\r\nbad\r\n"), 5, true, true, 5},
        {"never written", std::nullopt, -1, true, false, mvg::kErrorFileTries - 1},
        {"the window went", std::nullopt, -1, false, false, 1},
    };
    for (const Case& c : cases) {
        QFile::remove(path);
        if (c.writtenAfter == 0)
            write(*c.bytes);
        int pauses = 0;
        const bool written = mvg::waitForErrorFile(path, [&] {
            ++pauses;
            if (pauses == c.writtenAfter)
                write(*c.bytes);
            return c.goOn;
        });
        EXPECT_EQ(written, c.written) << c.name;
        EXPECT_EQ(pauses, c.pauses) << c.name;
    }
}

TEST(GeneratorReport, EachGeneratorHasItsConsoleTitleAndProgressText)
{
    const std::pair<mvg::Generator, mvg::RunTexts> cases[] = {
        {mvg::Generator::Qam,
         {QStringLiteral("MVG Console"), QStringLiteral("Creating upsampled and filtered QAM data")}},
        {mvg::Generator::Polar,
         {QStringLiteral("QAM(Polar) VectGen Console"),
          QStringLiteral("Creating upsampled and filtered Polar QAM data")}},
        {mvg::Generator::Gmsk,
         {QStringLiteral("GMSK/EDGE VectGen Console"),
          QStringLiteral("Creating upsampled and filtered EDGE data")}},
        {mvg::Generator::Sdpsk,
         {QStringLiteral("Sovanedir Console"), QStringLiteral("Creating upsampled and filtered SDPSK data")}},
    };
    for (const auto& [generator, texts] : cases) {
        EXPECT_EQ(mvg::runTextsOf(generator).consoleTitle, texts.consoleTitle);
        EXPECT_EQ(mvg::runTextsOf(generator).progressText, texts.progressText);
    }
}

} // namespace
