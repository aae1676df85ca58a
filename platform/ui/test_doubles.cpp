#include "platform/ui/test_doubles.h"

#include "platform/ui/app.h"
#include "platform/ui/dialog_service.h"
#include "platform/ui/forms.h"
#include "platform/ui/modal_hook.h"

#include "platform/os/os_test_doubles.h"

#include <map>

namespace ui::testing {

namespace {

struct ModalState {
    std::map<QString, std::function<void(Form&)>> answers;
    QStringList shows;
    QStringList unanswered;
};

ModalState& modalState()
{
    static ModalState state;
    return state;
}

std::optional<int>& lastExit()
{
    static std::optional<int> code;
    return code;
}

} // namespace

ScriptedMessageBoxes& messageBoxes()
{
    static ScriptedMessageBoxes boxes;
    return boxes;
}

ScriptedDialogs& dialogs()
{
    static ScriptedDialogs scripted;
    return scripted;
}

VirtualClock& clock()
{
    static VirtualClock virtualClock;
    return virtualClock;
}

void onModal(const QString& formName, std::function<void(Form&)> answer)
{
    modalState().answers[formName] = std::move(answer);
}

QStringList modalShows()
{
    return modalState().shows;
}
QStringList unansweredModals()
{
    return modalState().unanswered;
}
std::optional<int> endedWith()
{
    return lastExit();
}

void installTestDoubles()
{
    os::testing::installTestDoubles();
    installVirtualClock(&clock());
    setMessageBoxService(&messageBoxes());
    setDialogService(&dialogs());
    setModalShowHook([](Form& form) {
        modalState().shows << form.Name();
        const auto it = modalState().answers.find(form.Name());
        if (it != modalState().answers.end()) {
            const auto answer = it->second; // the answer may register answers itself
            answer(form);
        }
    });
    setModalTimeoutHook([](Form& form) { modalState().unanswered << form.Name(); }, 60'000);
    setEndProcessHook([](int code) {
        lastExit() = code;
        throw ProcessEnded(code);
    });
}

void resetTestDoubles()
{
    Forms::discardAll();
    messageBoxes().reset();
    dialogs().reset();
    clock().reset();
    modalState() = ModalState{};
    lastExit().reset();
    setScreenMousePointer(0);
    setApplicationTitle(QString());
    os::testing::resetTestDoubles();
}

void shutdownTestDoubles()
{
    Forms::discardAll();
}

} // namespace ui::testing
