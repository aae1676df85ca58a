#include "modulation_fixture.h"

namespace {

using modtest::readAll;
using modtest::writeFile;

const QByteArray kProgress = "echo 'Creating upsampled and filtered QAM data'\n";
const QByteArray kNoErrors = "printf '0\\r\\n' > Error_file.txt\n";
const QString kSuccess = QStringLiteral("\r\nData Generation Completed without Errors!");

class GeneratorRun : public modtest::ModulationTest {
protected:
    QString errorFile() const { return path(QStringLiteral("Tovrindir/Error_file.txt")); }
    QString console() const { return ui::loadedForm<frmQAMVG>()->txtConsoleOutput.Text(); }
    // Opens the window with the QAM stand-in and presses Generate.
    frmQAMVG& generate(const QByteArray& body)
    {
        standIn(modtest::kQamProgram, body);
        frmQAMVG& window = openGenerator();
        EXPECT_TRUE(window.cmdGenerateQAMData.click());
        return window;
    }
};

TEST_F(GeneratorRun, TheGeneratorGetsItsParameterFileAndFolderAndTheRunEndsWithoutErrors)
{
    frmQAMVG& window = generate("[ $# -eq 0 ] || exit 3\npwd > cwd.txt\ncp mod_parameters.txt seen.txt\n" +
                                kProgress + kNoErrors);
    EXPECT_EQ(QDir(QString::fromLocal8Bit(readAll(path(QStringLiteral("Tovrindir/cwd.txt")))).trimmed())
                  .canonicalPath(),
              QDir(path(QStringLiteral("Tovrindir"))).canonicalPath());
    EXPECT_EQ(readAll(path(QStringLiteral("Tovrindir/seen.txt"))).count("\r\n"), 15);
    EXPECT_EQ(console(), QStringLiteral("*** Please Wait Generating Data ***\r\n"
                                        "Creating upsampled and filtered QAM data\r\n") +
                             kSuccess);
    EXPECT_EQ(window.txtConsoleOutput.SelStart(), console().size());
    EXPECT_FALSE(window.Busy);
    EXPECT_TRUE(window.cmdGenerateQAMData.Enabled());
    EXPECT_TRUE(window.cmdGenSDPSKData.Enabled());
    EXPECT_EQ(window.MousePointer(), ui::vbDefault);
}

struct TabRun {
    mvg::Generator generator;
    QString program;
    const char* printed;
    int lines; // of the parameter file the program finds
    bool runtimeMissing;
};

TEST_F(GeneratorRun, EachTabRunsItsOwnGeneratorOnItsOwnFileAndLooksForItsOwnProgressText)
{
    const TabRun cases[] = {
        {mvg::Generator::Polar, modtest::kPolarProgram, "Creating upsampled and filtered Polar QAM data", 18,
         false},
        {mvg::Generator::Gmsk, modtest::kGmskProgram, "Creating upsampled and filtered EDGE data", 14, false},
        {mvg::Generator::Sdpsk, modtest::kSdpskProgram, "Creating upsampled and filtered SDPSK data", 14,
         false},
        {mvg::Generator::Gmsk, modtest::kGmskProgram, "Creating upsampled and filtered GMSK data", 14, true},
        {mvg::Generator::Sdpsk, modtest::kSdpskProgram, "Creating upsampled and filtered QAM data", 14, true},
    };
    for (const TabRun& c : cases) {
        standIn(c.program,
                "cp mod_parameters.txt seen.txt\necho '" + QByteArray(c.printed) + "'\n" + kNoErrors);
        frmQAMVG& window = openGenerator();
        ui::CommandButton* buttons[] = {&window.cmdGenerateQAMData, &window.cmdGenerateQPData,
                                        &window.cmdGenerateGMSKData, &window.cmdGenSDPSKData};
        EXPECT_TRUE(buttons[static_cast<int>(c.generator)]->click());
        const QString folder = QFileInfo(path(c.program)).path();
        EXPECT_EQ(readAll(folder + QStringLiteral("/seen.txt")).count("\r\n"), c.lines) << c.printed;
        EXPECT_EQ(console().contains(QStringLiteral("Runtime Not Installed")), c.runtimeMissing) << c.printed;
        EXPECT_EQ(console().endsWith(kSuccess), !c.runtimeMissing) << c.printed;
        closeWindows();
        QFile::remove(folder + QStringLiteral("/seen.txt"));
    }
}

struct RunCase {
    const char* what;
    QByteArray body;
    QStringList expected;   // in the console, in this order
    QStringList unexpected; // nowhere in the console
    bool stillRunning = false;
};

TEST_F(GeneratorRun, TheReportJudgesTheErrorFileAndTheConsoleText)
{
    const RunCase cases[] = {
        {"warnings",
         kProgress + "echo 'Warning: few taps'; echo 'no WARNING here'\n" + kNoErrors,
         {QStringLiteral("Data Generation Complete:  Errors = 0  Warnings = 2")},
         {QStringLiteral("without Errors")}},
        {"error lines without the word",
         kProgress + "printf '1\\r\\n  Taps must be even \\r\\n\\r\\nignored\\r\\n' > Error_file.txt\n",
         {QStringLiteral("\r\nTaps must be even\r\n"), QStringLiteral("Errors = 1  Warnings = 0")},
         {QStringLiteral("ignored"), QStringLiteral("without Errors")}},
        {"error lines with the word",
         kProgress + "printf '2\\r\\nerror one\\r\\nerror two\\r\\n' > Error_file.txt\n",
         {QStringLiteral("error one\r\nerror two\r\n"), QStringLiteral("Errors = 2  Warnings = 0")},
         {}},
        {"progress as the very last output",
         "printf 'Creating upsampled and filtered QAM data'\nprintf '0' > Error_file.txt\n",
         {kSuccess},
         {QStringLiteral("Runtime Not Installed")}},
        {"stop text, still running",
         kProgress + kNoErrors + "echo 'Simulation run time: 1.2 s'\nexec sleep 30\n",
         {QStringLiteral("Simulation run time: 1.2 s\r\n") + kSuccess},
         {},
         true},
    };
    for (const RunCase& c : cases) {
        QFile::remove(errorFile());
        generate(c.body);
        qsizetype at = 0;
        for (const QString& text : c.expected) {
            at = console().indexOf(text, at);
            EXPECT_GE(at, 0) << c.what << ": " << text.toStdString() << " in " << console().toStdString();
        }
        for (const QString& text : c.unexpected)
            EXPECT_FALSE(console().contains(text)) << c.what << ": " << text.toStdString();
        // A program that printed the stop text runs on until its plot windows close with the window.
        EXPECT_EQ(os::runningChildCount(), c.stillRunning ? 1 : 0) << c.what;
        closeWindows();
        EXPECT_EQ(os::runningChildCount(), 0);
    }
}

TEST_F(GeneratorRun, OutputJustBeforeTheEndIsAlwaysRead)
{
    for (int run = 0; run < 10; ++run) {
        generate("printf 'Creating upsampled and filtered QAM data'\nprintf '0' > Error_file.txt\n");
        EXPECT_TRUE(console().endsWith(kSuccess)) << run << console().toStdString();
        closeWindows();
    }
}

TEST_F(GeneratorRun, AMissingErrorFileIsWaitedForThreeMinutesAndAnOldOneNeverCounts)
{
    // A previous run's file says "no errors"; this run writes none.
    writeFile(errorFile(), "0\r\n");
    const int64_t start = ui::testing::clock().now();
    generate("exit 0\n");
    const int64_t waited = ui::testing::clock().now() - start;
    EXPECT_GE(waited, 179'000);
    EXPECT_LT(waited, 200'000);
    // The runtime line and the message after it stand on lines of their own.
    EXPECT_EQ(console(), QStringLiteral("*** Please Wait Generating Data ***\r\n"
                                        "\r\nError - Matlab 7.3 Runtime Not Installed\r\n"
                                        "Error File Not Accessable!\r\n"
                                        "\r\nData Generation Complete:  Errors = 2  Warnings = 0"));
}

TEST_F(GeneratorRun, AnErrorFileWrittenLateEndsTheWaitWhenItAppears)
{
    const int64_t start = ui::testing::clock().now();
    int timer = 0;
    timer = ui::testing::clock().startTimer(5000, [&] {
        ui::testing::clock().stopTimer(timer);
        writeFile(errorFile(), "0\r\n");
    });
    generate(kProgress);
    const int64_t waited = ui::testing::clock().now() - start;
    EXPECT_GE(waited, 5000);
    EXPECT_LT(waited, 8000);
    EXPECT_TRUE(console().endsWith(kSuccess)) << console().toStdString();
}

TEST_F(GeneratorRun, AMissingProgramOnlyWritesTheParameterFile)
{
    QDir().mkpath(path(QStringLiteral("Tovrindir")));
    frmQAMVG& window = openGenerator();
    window.txtConsoleOutput.setText(QStringLiteral("earlier text"));
    window.generate(mvg::Generator::Qam);
    EXPECT_EQ(window.txtConsoleOutput.Text(), QStringLiteral("earlier text"));
    EXPECT_TRUE(readAll(path(QStringLiteral("Tovrindir/mod_parameters.txt"))).startsWith("1000\r\n"));
    EXPECT_FALSE(window.Busy);
    EXPECT_TRUE(window.cmdGenerateQAMData.Enabled());
}

} // namespace
