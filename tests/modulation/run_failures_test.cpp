// Generator and simulator runs whose programs misbehave: odd file names, files that cannot be run, verbose
// output, programs that hang or flood, and the program's end while they run.

#include "modulation_fixture.h"

#include "shell/mdi_main.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <unistd.h>

namespace {

using modtest::readAll;
using modtest::writeFile;

const QString kCrLf = QStringLiteral("\r\n");
const QString kGeneratorFirst = QStringLiteral("*** Please Wait Generating Data ***\r\n");
const QString kSimulatorFirst = QStringLiteral("Running Simulator...\r\n");
const QByteArray kProgress = "echo 'Creating upsampled and filtered QAM data'\n";
const QByteArray kNoErrors = "printf '0\\r\\n' > Error_file.txt\n";
const QString kRuntimeMissing = QStringLiteral("Error - Matlab 7.3 Runtime Not Installed");

// True while the process runs (a zombie has ended).
bool processRuns(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const QByteArray state = line.mid(line.lastIndexOf(')') + 2, 1);
    return state != "Z" && state != "X";
}

class RunFailures : public modtest::ModulationTest {
protected:
    RunFailures()
    {
        for (const char* name : {"DefaultAuxControlFile.ac", "iq.txt"})
            writeFile(path(QStringLiteral("Simulator/") + QLatin1String(name)), "data\r\n");
    }
    ~RunFailures() override { qputenv("PATH", oldPath_); }

    QString generatorConsole() const { return ui::loadedForm<frmQAMVG>()->txtConsoleOutput.Text(); }

    // A file that is there but is no program one can run.
    void unrunnable(const QString& relative, const char* how)
    {
        const QString file = path(relative);
        if (QByteArray(how) == "no execute bit") {
            writeFile(file, "#!/bin/sh\necho ran > ran.txt\n");
        } else {
            writeFile(file, "#!/no/such/interpreter\necho ran > ran.txt\n");
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    // Puts a program of `name` on the PATH that leaves a mark when it runs.
    void sameNameOnThePath(const QString& name)
    {
        const QString file = pathDir_.filePath(name);
        writeFile(file,
                  "#!/bin/sh\ntouch '" + pathDir_.filePath(QStringLiteral("ran")).toLocal8Bit() + "'\n");
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(pathDir_.path()) + ":" + oldPath_);
    }
    bool pathProgramRan() const { return QFile::exists(pathDir_.filePath(QStringLiteral("ran"))); }

    // The simulator window with a run it can start.
    frmSimulatorSetup& openSimulatorWithBoxes()
    {
        frmSimulatorSetup& window = openSimulator();
        window.txtIQBaseBBDataFilePath.setText(QStringLiteral("iq.txt"));
        return window;
    }

    // Once the stand-in has written the pid of the program it started into `file` (seen at a 10 ms tick of
    // the virtual clock while the run waits), runs `action` with that pid, once. The pid stays in
    // `grandchild`.
    static void whenGrandchildStarts(const QString& file, qint64& grandchild, std::function<void()> action)
    {
        QFile::remove(file);
        grandchild = 0;
        auto timer = std::make_shared<int>(0);
        *timer = ui::testing::clock().startTimer(10, [file, &grandchild, timer, action = std::move(action)] {
            grandchild = pidIn(file);
            if (grandchild == 0)
                return;
            // Stopping the timer may destroy this handler: the action is run from a copy.
            const std::function<void()> run = action;
            ui::testing::clock().stopTimer(*timer);
            run();
        });
    }

    // Waits, as a window timer does, until the stand-in has written the pid of the program it started.
    static qint64 pidIn(const QString& file)
    {
        QFile pidFile(file);
        if (!pidFile.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray text = pidFile.readAll();
        return text.endsWith('\n') ? text.trimmed().toLongLong() : 0;
    }

    QTemporaryDir pathDir_;
    QByteArray oldPath_ = qgetenv("PATH");
};

TEST_F(RunFailures, AGeneratorFileNameRunsExactlyThatFile)
{
    // Read as a command line, each name would run something else.
    const QString names[] = {
        QStringLiteral("sh\" -c \"touch pwned; echo x"),
        QStringLiteral("two words.exe"),
        QStringLiteral("gen;touch pwned"),
        QStringLiteral("$(touch pwned)"),
        QStringLiteral("it's \"odd\".exe"),
    };
    for (const QString& name : names) {
        writeFile(path(QStringLiteral("ModVectorGen.ini")),
                  "[QAM Vector Generator]\r\nPath=\\Tovrindir\\" + name.toLocal8Bit() + "\r\n");
        standIn(QStringLiteral("Tovrindir/") + name,
                "[ $# -eq 0 ] || exit 3\necho \"$0\" > self.txt\n" + kProgress + kNoErrors);
        frmQAMVG& window = openGenerator();
        EXPECT_TRUE(window.cmdGenerateQAMData.click());
        EXPECT_TRUE(generatorConsole().endsWith(QStringLiteral("Data Generation Completed without Errors!")))
            << name.toStdString() << ": " << generatorConsole().toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(readAll(path(QStringLiteral("Tovrindir/self.txt")))).trimmed(),
                  path(QStringLiteral("Tovrindir/")) + name);
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("Tovrindir/pwned")))) << name.toStdString();
        closeWindows();
        QFile::remove(path(QStringLiteral("Tovrindir/") + name));
        QFile::remove(path(QStringLiteral("Tovrindir/self.txt")));
    }
}

TEST_F(RunFailures, AGeneratorThatCannotBeRunIsReportedAtOnceAndNeverReplacedFromThePath)
{
    sameNameOnThePath(QStringLiteral("Tovrin.exe"));
    const struct {
        const char* how;
        QString reason;
    } cases[] = {
        {"no execute bit", QStringLiteral("Permission denied")},
        {"bad interpreter",
         QStringLiteral("bad interpreter /no/such/interpreter: No such file or directory")},
    };
    for (const auto& c : cases) {
        unrunnable(modtest::kQamProgram, c.how);
        frmQAMVG& window = openGenerator();
        const int64_t start = ui::testing::clock().now();
        EXPECT_TRUE(window.cmdGenerateQAMData.click());
        EXPECT_LT(ui::testing::clock().now() - start, 1000) << c.how << ": no wait for an error file";
        EXPECT_EQ(generatorConsole(),
                  kGeneratorFirst + QStringLiteral("Error - \"") + path(modtest::kQamProgram) +
                      QStringLiteral("\" cannot be run: ") + c.reason + kCrLf + kCrLf +
                      QStringLiteral("Data Generation Complete:  Errors = 1  Warnings = 0"))
            << c.how;
        EXPECT_FALSE(pathProgramRan()) << c.how;
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("Tovrindir/ran.txt")))) << c.how;
        EXPECT_FALSE(window.Busy);
        EXPECT_TRUE(window.cmdGenerateQAMData.Enabled());
        EXPECT_TRUE(ui::testing::messageBoxes().shown.empty()) << "the console box is the report";
        closeWindows();
    }
}

TEST_F(RunFailures, ASimulatorThatCannotBeRunIsReportedAndCounted)
{
    sameNameOnThePath(QStringLiteral("main.exe"));
    for (const char* how : {"no execute bit", "bad interpreter"}) {
        unrunnable(modtest::kSimulator, how);
        frmSimulatorSetup& window = openSimulatorWithBoxes();
        window.cmdRunSimulator_Click();
        const QString console = window.txtSimulatorConsoleOut.Text();
        EXPECT_TRUE(console.startsWith(kSimulatorFirst + QStringLiteral("Error - \"") +
                                       path(modtest::kSimulator) + QStringLiteral("\" cannot be run: ")))
            << how << ": " << console.toStdString();
        EXPECT_FALSE(console.contains(kRuntimeMissing)) << how;
        EXPECT_TRUE(console.endsWith(QStringLiteral("\r\nSimulation Completed:  Errors = 1  Warnings = 0")))
            << how;
        EXPECT_FALSE(pathProgramRan()) << how;
        EXPECT_FALSE(window.Busy);
        closeWindows();
    }
}

TEST_F(RunFailures, AVerboseProgramIsJudgedOnAllItsOutput)
{
    // 1000 lines of 40 characters come first: the box shows only the first 16000 characters.
    const QByteArray filler =
        "i=0; while [ $i -lt 1000 ]; do echo \"filler line $i ..................\"; i=$((i+1)); done\n";
    standIn(modtest::kSimulator, filler + "echo 'DAC output written'\necho 'late ERROR'\necho 'a Warning'\n");
    frmSimulatorSetup& simulator = openSimulatorWithBoxes();
    simulator.cmdRunSimulator_Click();
    QString console = simulator.txtSimulatorConsoleOut.Text();
    EXPECT_FALSE(console.contains(QStringLiteral("DAC output"))) << "beyond what the box shows";
    EXPECT_FALSE(console.contains(kRuntimeMissing));
    EXPECT_TRUE(console.endsWith(QStringLiteral("\r\nSimulation Completed:  Errors = 1  Warnings = 1")))
        << console.right(200).toStdString();
    closeWindows();

    standIn(modtest::kQamProgram,
            filler + kProgress + "echo 'ERROR: taps'; echo 'error again'\n" + kNoErrors);
    openGenerator().cmdGenerateQAMData.click();
    console = generatorConsole();
    EXPECT_FALSE(console.contains(kRuntimeMissing));
    EXPECT_TRUE(console.endsWith(QStringLiteral("\r\nData Generation Complete:  Errors = 2  Warnings = 0")))
        << console.right(200).toStdString();
}

// ---- stopping a run ----

struct StopCase {
    const char* what;
    QByteArray body; // starts a program of its own, writes its pid to child.pid
};

const StopCase kStopCases[] = {
    {"hung", "sleep 300 &\necho $! > child.pid\nwait\n"},
    {"flooding", "sleep 300 &\necho $! > child.pid\nwhile :; do echo 'flooding the console'; done\n"},
};

TEST_F(RunFailures, ClosingTheGeneratorWindowDuringARunAsksAndYesStopsTheProgram)
{
    for (const StopCase& c : kStopCases) {
        standIn(modtest::kQamProgram, c.body);
        frmQAMVG& window = openGenerator();
        qint64 grandchild = 0;
        bool closed = false;
        whenGrandchildStarts(path(QStringLiteral("Tovrindir/child.pid")), grandchild, [&] {
            // First the user keeps the run going, then stops it.
            ui::testing::messageBoxes().expect(
                QStringLiteral(
                    "A vector generator is running.\r\nDo you want to stop it and close this window?"),
                ui::vbNo);
            EXPECT_FALSE(window.Unload(ui::vbFormControlMenu));
            EXPECT_TRUE(window.IsLoaded());
            ui::testing::messageBoxes().expect(
                QStringLiteral(
                    "A vector generator is running.\r\nDo you want to stop it and close this window?"),
                ui::vbYes);
            closed = window.Unload(ui::vbFormControlMenu);
        });
        EXPECT_TRUE(window.cmdGenerateQAMData.click());
        ASSERT_TRUE(closed) << c.what;
        ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 2u);
        EXPECT_EQ(ui::testing::messageBoxes().shown[1].title, QStringLiteral("Busy"));
        EXPECT_FALSE(window.IsLoaded());
        EXPECT_TRUE(window.txtConsoleOutput.Text().endsWith(QStringLiteral("\r\nData Generation Stopped!")))
            << c.what;
        EXPECT_FALSE(window.txtConsoleOutput.Text().contains(QStringLiteral("Error File Not Accessable!")));
        EXPECT_FALSE(window.Busy);
        EXPECT_EQ(os::runningChildCount(), 0) << c.what;
        EXPECT_FALSE(processRuns(grandchild)) << c.what;
        ui::testing::messageBoxes().reset();
        ui::Forms::destroyUnloaded();
    }
}

TEST_F(RunFailures, ClosingTheGeneratorWindowDuringTheErrorFileWaitStopsTheRunThere)
{
    // The program ended without its error file: the run waits for it.
    standIn(modtest::kQamProgram, kProgress);
    frmQAMVG& window = openGenerator();
    const int64_t start = ui::testing::clock().now();
    int timer = 0;
    timer = ui::testing::clock().startTimer(5000, [&] {
        ui::testing::clock().stopTimer(timer);
        ui::testing::messageBoxes().expect(
            QStringLiteral("A vector generator is running.\r\nDo you want to stop it and close this window?"),
            ui::vbYes);
        EXPECT_TRUE(window.Unload(ui::vbFormControlMenu));
    });
    EXPECT_TRUE(window.cmdGenerateQAMData.click());
    EXPECT_LT(ui::testing::clock().now() - start, 10000);
    EXPECT_EQ(window.txtConsoleOutput.Text(),
              kGeneratorFirst + QStringLiteral("Creating upsampled and filtered QAM data\r\n") + kCrLf +
                  QStringLiteral("Data Generation Stopped!"));
    EXPECT_FALSE(window.Busy);
}

TEST_F(RunFailures, ClosingTheSimulatorWindowDuringARunAsksAndYesStopsTheProgram)
{
    for (const StopCase& c : kStopCases) {
        standIn(modtest::kSimulator, c.body);
        frmSimulatorSetup& window = openSimulatorWithBoxes();
        qint64 grandchild = 0;
        whenGrandchildStarts(path(QStringLiteral("Simulator/child.pid")), grandchild, [&] {
            ui::testing::messageBoxes().expect(
                QStringLiteral("The simulator is running.\r\nDo you want to stop it and close this window?"),
                ui::vbYes);
            EXPECT_TRUE(window.Unload(ui::vbFormControlMenu));
        });
        window.cmdRunSimulator_Click();
        EXPECT_FALSE(window.IsLoaded()) << c.what;
        EXPECT_TRUE(window.txtSimulatorConsoleOut.Text().endsWith(QStringLiteral("\r\nSimulation Stopped!")))
            << c.what;
        EXPECT_FALSE(window.txtSimulatorConsoleOut.Text().contains(QStringLiteral("Simulation Completed")));
        EXPECT_FALSE(window.Busy);
        EXPECT_EQ(os::runningChildCount(), 0) << c.what;
        EXPECT_FALSE(processRuns(grandchild)) << c.what;
        // Its settings were saved as the window closed.
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("SimulatorSetup.ini"))));
        ui::Forms::destroyUnloaded();
    }
}

TEST_F(RunFailures, TheProgramEndsWithItsChildProgramsWhicheverWayItEnds)
{
    enum class Way { CloseMainWindow, FileExit };
    for (const Way way : {Way::CloseMainWindow, Way::FileExit}) {
        standIn(modtest::kQamProgram, kStopCases[0].body);
        frmQAMVG& window = openGenerator();
        qint64 grandchild = 0;
        whenGrandchildStarts(path(QStringLiteral("Tovrindir/child.pid")), grandchild, [&] {
            EXPECT_TRUE(processRuns(grandchild));
            // The main window's close is never refused, and nothing is asked.
            if (way == Way::CloseMainWindow)
                mdi->Unload(ui::vbFormControlMenu);
            else
                mdi->mnuFileExit_Click();
        });
        EXPECT_THROW(window.generate(mvg::Generator::Qam), ui::testing::ProcessEnded);
        EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
        EXPECT_EQ(os::runningChildCount(), 0);
        EXPECT_FALSE(processRuns(grandchild));
        if (way == Way::CloseMainWindow) {
            EXPECT_FALSE(window.IsLoaded());
            EXPECT_TRUE(
                window.txtConsoleOutput.Text().endsWith(QStringLiteral("\r\nData Generation Stopped!")));
        }
        ui::Forms::discardAll();
        ui::Forms::destroyUnloaded();
        mdi = &ui::form<mdiMain>();
        mdi->tmrUSBCheck.setEnabled(false);
        mdi->Show();
    }
}

} // namespace
