#include "platform/os/os_test_doubles.h"

#include "platform/os/child_process.h"
#include "platform/os/locale_ids.h"
#include "platform/os/program_folder.h"

#include <QTemporaryDir>
#include <memory>

namespace os::testing {

namespace {

std::unique_ptr<QTemporaryDir>& programFolderHolder()
{
    static std::unique_ptr<QTemporaryDir> folder;
    return folder;
}

} // namespace

bool RecordingShellService::open(const OpenRequest& request)
{
    requests.push_back(request);
    return result;
}

void RecordingSoundService::playSystemSound(const QString& name)
{
    played << name;
}

RecordingShellService& shellRecorder()
{
    static RecordingShellService recorder;
    return recorder;
}

RecordingSoundService& soundRecorder()
{
    static RecordingSoundService recorder;
    return recorder;
}

QString testProgramFolder()
{
    auto& holder = programFolderHolder();
    if (!holder)
        holder = std::make_unique<QTemporaryDir>();
    return holder->isValid() ? holder->path() : QString();
}

void installTestDoubles()
{
    setShellService(&shellRecorder());
    setSoundService(&soundRecorder());
    setProgramFolder(testProgramFolder());
}

void resetTestDoubles()
{
    shellRecorder().requests.clear();
    shellRecorder().result = true;
    soundRecorder().played.clear();
    soundRecorder().soundDevice = true;
    setShellService(&shellRecorder());
    setSoundService(&soundRecorder());
    setProgramFolder(testProgramFolder());
    setUserLocale(std::nullopt);
    endRunningChildren(0);
}

} // namespace os::testing
