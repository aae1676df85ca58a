// Presence of the simulator and the vector generators with stand-in executables, closing what the
// programs left running, and the busy state of the two windows that run them.

#include "boardui/external_programs.h"

#include "platform/os/child_process.h"
#include "platform/os/program_folder.h"
#include "platform/ui/controls_button.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ExternalPrograms : public ::testing::Test {
protected:
    void SetUp() override { os::setProgramFolder(dir.path()); }
    void TearDown() override { os::setProgramFolder(QString()); }

    void standIn(const QString& relative)
    {
        const QString full = dir.filePath(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(full).path()));
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    void writeIni(const QByteArray& text)
    {
        QFile file(dir.filePath(QStringLiteral("ModVectorGen.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir dir;
};

TEST_F(ExternalPrograms, SimulatorPresence)
{
    EXPECT_FALSE(ebSimulatorPresent());
    // A folder of that name is not the program.
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("Simulator/main.exe"))));
    EXPECT_FALSE(ebSimulatorPresent());
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("Simulator"))).rmdir(QStringLiteral("main.exe")));
    standIn(QStringLiteral("Simulator/main.exe"));
    EXPECT_TRUE(ebSimulatorPresent());
}

TEST_F(ExternalPrograms, GeneratorsAtTheirDefaultPaths)
{
    EXPECT_FALSE(ebVectGenPresent());
    standIn(QStringLiteral("Quorlendir/Quorlen.exe"));
    EXPECT_TRUE(ebVectGenPresent());
    EXPECT_EQ(board::vectorGeneratorPaths().back(), dir.filePath(QStringLiteral("Quorlendir/Quorlen.exe")));
}

TEST_F(ExternalPrograms, OnlyGeneratorsWithATabCountForTheGeneratorWindow)
{
    struct Case {
        std::vector<const char*> installed;
        bool anyGenerator;
        bool generatorWithTab;
    };
    const Case cases[] = {
        {{}, false, false},
        // The polar QAM tab is always switched off: that generator alone leaves the window nothing to show.
        {{"Quorlendir/Quorlen.exe"}, true, false},
        {{"Tovrindir/Tovrin.exe"}, true, true},
        {{"Kelmardir/Kelmar.exe"}, true, true},
        {{"Sovanedir/Sovane.exe", "Quorlendir/Quorlen.exe"}, true, true},
    };
    for (const Case& c : cases) {
        for (const QString& program : board::vectorGeneratorPaths())
            QFile::remove(program);
        for (const char* program : c.installed)
            standIn(QLatin1String(program));
        const std::string trace = c.installed.empty() ? std::string("none") : c.installed.front();
        EXPECT_EQ(ebVectGenPresent(), c.anyGenerator) << trace;
        EXPECT_EQ(board::vectorGeneratorWithTabPresent(), c.generatorWithTab) << trace;
    }
}

TEST_F(ExternalPrograms, IniPathsReplaceTheDefaults)
{
    writeIni("[QAM Vector Generator]\r\nPath=\\Missing\\Tovrin.exe\r\n"
             "[SDPSK Vector Generator]\r\nPath=\\Elsewhere\\sdpsk.exe\r\n");
    EXPECT_FALSE(ebVectGenPresent());
    // The QAM entry names a missing file; the GMSK/EDGE one at its default still counts.
    standIn(QStringLiteral("Kelmardir/Kelmar.exe"));
    EXPECT_TRUE(ebVectGenPresent());
    const QStringList paths = board::vectorGeneratorPaths();
    ASSERT_EQ(paths.size(), 4);
    EXPECT_EQ(paths[0], dir.filePath(QStringLiteral("Missing/Tovrin.exe")));
    EXPECT_EQ(paths[2], dir.filePath(QStringLiteral("Elsewhere/sdpsk.exe")));
}

TEST_F(ExternalPrograms, ClosingEndsTheProgramsStillRunning)
{
    ebCloseFigureWindows(); // nothing runs: returns at once
    auto child = std::make_unique<os::ChildProcess>();
    ASSERT_TRUE(child->start(QStringLiteral("/bin/sleep"), {QStringLiteral("60")}));
    os::keepRunning(std::move(child));
    ASSERT_EQ(os::runningChildCount(), 1);
    ebCloseFigureWindows();
    EXPECT_EQ(os::runningChildCount(), 0);
}

class SimulatorSetupWindow : public ui::Form {
public:
    SimulatorSetupWindow() : Form(QStringLiteral("frmSimulatorSetup")) {}
    ui::CommandButton cmdRunSimulator{this, QStringLiteral("cmdRunSimulator")};
};

class VectorGeneratorWindow : public ui::Form {
public:
    VectorGeneratorWindow() : Form(QStringLiteral("frmQAMVG")) {}
    ui::CommandButton cmdGenerateQAMData{this, QStringLiteral("cmdGenerateQAMData")};
    ui::CommandButton cmdGenerateGMSKData{this, QStringLiteral("cmdGenerateGMSKData")};
    ui::CommandButton cmdGenerateQPData{this, QStringLiteral("cmdGenerateQPData")};
    ui::CommandButton cmdGenSDPSKData{this, QStringLiteral("cmdGenSDPSKData")};
};

TEST(SimFormsBusy, OnlyLoadedWindowsChange)
{
    ebSetSimFormsBusy(true);
    EXPECT_FALSE(ui::Forms::isLoaded(QStringLiteral("frmSimulatorSetup")));
    EXPECT_FALSE(ui::Forms::isLoaded(QStringLiteral("frmQAMVG")));

    SimulatorSetupWindow simulator;
    VectorGeneratorWindow generator;
    simulator.Load();
    ebSetSimFormsBusy(true);
    EXPECT_FALSE(simulator.cmdRunSimulator.Enabled());
    EXPECT_EQ(simulator.MousePointer(), ui::vbArrowHourglass);
    EXPECT_TRUE(generator.cmdGenerateQAMData.Enabled());
    EXPECT_EQ(generator.MousePointer(), ui::vbDefault);

    generator.Load();
    ebSetSimFormsBusy(true);
    for (const ui::CommandButton* b : {&generator.cmdGenerateQAMData, &generator.cmdGenerateGMSKData,
                                       &generator.cmdGenerateQPData, &generator.cmdGenSDPSKData})
        EXPECT_FALSE(b->Enabled()) << b->Name().toStdString();
    EXPECT_EQ(generator.MousePointer(), ui::vbArrowHourglass);

    ebSetSimFormsBusy(false);
    EXPECT_TRUE(simulator.cmdRunSimulator.Enabled());
    EXPECT_EQ(simulator.MousePointer(), ui::vbDefault);
    for (const ui::CommandButton* b : {&generator.cmdGenerateQAMData, &generator.cmdGenerateGMSKData,
                                       &generator.cmdGenerateQPData, &generator.cmdGenSDPSKData})
        EXPECT_TRUE(b->Enabled()) << b->Name().toStdString();
    EXPECT_EQ(generator.MousePointer(), ui::vbDefault);
}

} // namespace
