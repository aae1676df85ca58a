// Feeds arbitrary bytes as "ModVectorGen.ini" and as "SimulatorSetup.ini" to the readers of the generator
// paths and of the simulator window's file choices, and checks that every path stays below the program
// folder and that what is saved reads back.

#include "fuzz/fuzz_support.h"
#include "modulation/program_settings.h"
#include "platform/os/ini_profile.h"

#include <QDir>
#include <cstdint>

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString generators = fuzzsupport::writeInput(QStringLiteral("ModVectorGen.ini"), data, size);
    const QString simulator = fuzzsupport::writeInput(QStringLiteral("SimulatorSetup.ini"), data, size);
    if (generators.isEmpty() || simulator.isEmpty())
        return 0;
    const QString programFolder = QFileInfo(generators).path();

    for (const mvg::GeneratorFiles& files : mvg::readGeneratorFiles(programFolder)) {
        check(files.program.startsWith(programFolder));
        check(files.folder.endsWith(QLatin1Char('/')));
        check(files.program.startsWith(files.folder));
        check(files.parameterFile.startsWith(files.folder));
        check(files.outputFile.startsWith(files.folder));
    }

    const simsetup::FileTexts texts = simsetup::readIniSettings(programFolder);
    if (simsetup::writeIniSettings(programFolder, texts))
        check(simsetup::readIniSettings(programFolder) == texts);
    // Nothing of this input is kept for the next one (memory kept would look like a leak).
    os::forgetReadIniFiles();
    return 0;
}
