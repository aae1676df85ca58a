#include "boardui/external_programs.h"
#include "boardui/form_names.h"

#include "board/ini_access.h"
#include "board/utility.h"
#include "platform/os/child_process.h"
#include "platform/os/program_folder.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"

namespace {

struct GeneratorEntry {
    const char* section;
    const char* defaultPath;
    // The generator window keeps the polar QAM tab switched off: that generator alone leaves the window
    // nothing to work with.
    bool hasTab;
};

constexpr GeneratorEntry kGenerators[] = {
    {"QAM Vector Generator", "\\Tovrindir\\Tovrin.exe", true},
    {"GMSK Edge Vector Generator", "\\Kelmardir\\Kelmar.exe", true},
    {"SDPSK Vector Generator", "\\Sovanedir\\Sovane.exe", true},
    {"Polar QAM Vector Generator", "\\Quorlendir\\Quorlen.exe", false},
};

// A path below the program folder as the INI files write it ("\dir\prog.exe"), with either separator.
QString belowProgramFolder(QString relative)
{
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    return os::programFolder() + QLatin1Char('/') + relative;
}

void setBusy(const QString& formName, std::initializer_list<const char*> buttons, bool busy)
{
    ui::Form* form = ui::Forms::find(formName);
    if (!form)
        return;
    for (const char* name : buttons) {
        if (ui::Control* button = form->control(QLatin1String(name)))
            button->setEnabled(!busy);
    }
    form->setMousePointer(busy ? ui::vbArrowHourglass : ui::vbDefault);
}

} // namespace

namespace board {

QString simulatorProgramPath()
{
    return belowProgramFolder(QStringLiteral("Simulator/main.exe"));
}

QStringList vectorGeneratorPaths()
{
    IniAccess ini;
    ini.setFileName(os::programFolder() + QStringLiteral("/ModVectorGen.ini"));
    QStringList paths;
    for (const GeneratorEntry& entry : kGenerators) {
        const QString relative = ini.GetPPString(QStringLiteral("Path"), QLatin1String(entry.defaultPath),
                                                 QLatin1String(entry.section));
        paths.append(belowProgramFolder(relative));
    }
    return paths;
}

bool vectorGeneratorWithTabPresent()
{
    const QStringList paths = vectorGeneratorPaths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (kGenerators[i].hasTab && FileExists(paths[i]))
            return true;
    }
    return false;
}

} // namespace board

bool ebSimulatorPresent()
{
    return FileExists(board::simulatorProgramPath());
}

bool ebVectGenPresent()
{
    for (const QString& path : board::vectorGeneratorPaths()) {
        if (FileExists(path))
            return true;
    }
    return false;
}

void ebCloseFigureWindows()
{
    if (os::runningChildCount() == 0)
        return;
    os::endRunningChildren(kFigureWindowsCloseMs);
}

void ebSetSimFormsBusy(bool busy)
{
    setBusy(formnames::frmSimulatorSetup, {"cmdRunSimulator"}, busy);
    setBusy(formnames::frmQAMVG,
            {"cmdGenerateQAMData", "cmdGenerateGMSKData", "cmdGenerateQPData", "cmdGenSDPSKData"}, busy);
}
