#pragma once

// The generator and simulator windows in a program folder of their own (a fresh temporary folder per test),
// with stand-in programs: small shell scripts named as the real programs are, written where the windows
// look for them.

#include "common/register_window_fixture.h"
#include "modulation/frm_qamvg.h"
#include "modulation/frm_simulator_setup.h"
#include "modulation/register_windows.h"

#include "board/globals.h"
#include "platform/os/child_process.h"
#include "platform/os/os_test_doubles.h"
#include "platform/os/program_folder.h"
#include "platform/ui/colors.h"
#include "platform/ui/test_doubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace modtest {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class ModulationTest : public regtest::RegisterWindowTest {
protected:
    ModulationTest()
    {
        os::setProgramFolder(folder.path());
        RegisterModulationWindows();
        gsCmdLine.clear();
        mdi->Show();
    }
    ~ModulationTest() override
    {
        ui::Forms::discardAll();
        ui::Forms::destroyUnloaded();
        os::endRunningChildren(0);
    }

    // Closes this library's windows as the user does (their closing files are written); the main and Control
    // windows stay.
    void closeWindows()
    {
        for (const QString& name : {frmQAMVG::FormName, frmSimulatorSetup::FormName}) {
            if (ui::Form* form = ui::Forms::find(name)) {
                EXPECT_TRUE(form->Unload());
            }
        }
        ui::Forms::destroyUnloaded();
    }

    QString path(const QString& relative) const { return folder.path() + QLatin1Char('/') + relative; }

    // A stand-in program at `relative` below the program folder.
    void standIn(const QString& relative, const QByteArray& body)
    {
        const QString file = path(relative);
        writeFile(file, "#!/bin/sh\n" + body);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    frmQAMVG& openGenerator()
    {
        EXPECT_TRUE(ui::Forms::showByName(frmQAMVG::FormName));
        return *ui::loadedForm<frmQAMVG>();
    }
    frmSimulatorSetup& openSimulator()
    {
        EXPECT_TRUE(ui::Forms::showByName(frmSimulatorSetup::FormName));
        return *ui::loadedForm<frmSimulatorSetup>();
    }

    QTemporaryDir folder;
};

// Default program paths below the program folder.
inline const QString kQamProgram = QStringLiteral("Tovrindir/Tovrin.exe");
inline const QString kPolarProgram = QStringLiteral("Quorlendir/Quorlen.exe");
inline const QString kGmskProgram = QStringLiteral("Kelmardir/Kelmar.exe");
inline const QString kSdpskProgram = QStringLiteral("Sovanedir/Sovane.exe");
inline const QString kSimulator = QStringLiteral("Simulator/main.exe");

} // namespace modtest
