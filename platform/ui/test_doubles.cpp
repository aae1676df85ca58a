#include "platform/ui/test_doubles.h"

#include "platform/ui/app.h"
#include "platform/ui/dialog_service.h"
#include "platform/ui/forms.h"
#include "platform/ui/modal_hook.h"

#include "platform/os/os_test_doubles.h"

#include <map>
#include <set>

namespace ui::testing {

namespace {

struct ModalState {
    std::map<QString, std::function<void(Form&)>> answers;
    std::set<QString> answered; // forms whose answer ran
    QStringList shows;
    QStringList unanswered;
};

bool& unscriptedBoxesAllowed()
{
    static bool allowed = false;
    return allowed;
}

bool& unscriptedDialogsAllowed()
{
    static bool allowed = false;
    return allowed;
}

QString quoted(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

template <typename Script> void checkDialog(QStringList& problems, const char* kind, const Script& script)
{
    if (script.unscripted > 0 && !unscriptedDialogsAllowed())
        problems
            << QStringLiteral("%1 %2 dialog(s) shown with no answer queued").arg(script.unscripted).arg(kind);
    if (!script.answers.empty())
        problems << QStringLiteral("%1 answer(s) queued for %2 dialogs were not used")
                        .arg(script.answers.size())
                        .arg(kind);
}

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
            modalState().answered.insert(form.Name());
            answer(form);
        }
    });
    setModalTimeoutHook([](Form& form) { modalState().unanswered << form.Name(); }, 60'000);
    setEndProcessHook([](int code) {
        lastExit() = code;
        throw ProcessEnded(code);
    });
}

QStringList unplannedEvents()
{
    QStringList problems;
    const ScriptedMessageBoxes& boxes = messageBoxes();
    if (!unscriptedBoxesAllowed())
        for (const MessageBoxRecord& box : boxes.shown)
            if (!box.scripted)
                problems << QStringLiteral("unexpected message box: title %1, text %2 (no answer was queued)")
                                .arg(quoted(box.title), quoted(box.prompt));
    problems << boxes.mismatches;
    if (!boxes.answers.empty())
        problems << QStringLiteral("%1 answer(s) queued for message boxes were not used")
                        .arg(boxes.answers.size());
    if (boxes.whileShown && boxes.shown.empty())
        problems << QStringLiteral("the whileShown check never ran: no message box was shown");
    const ScriptedDialogs& scripted = dialogs();
    checkDialog(problems, "open file", scripted.open);
    checkDialog(problems, "save file", scripted.save);
    checkDialog(problems, "colour", scripted.color);
    checkDialog(problems, "font", scripted.font);
    checkDialog(problems, "print", scripted.printing);
    checkDialog(problems, "page setup", scripted.pageSetupScript);
    for (const auto& [name, answer] : modalState().answers)
        if (modalState().answered.count(name) == 0)
            problems << QStringLiteral("the onModal answer for %1 never ran: the form was not shown modally")
                            .arg(name);
    for (const QString& name : modalState().unanswered)
        problems << QStringLiteral("modal form %1 was shown and no one answered it").arg(name);
    return problems;
}

void allowUnscriptedMessageBoxes(const char* reason)
{
    (void)reason; // for the reader of the test
    unscriptedBoxesAllowed() = true;
}

void allowUnscriptedDialogs(const char* reason)
{
    (void)reason; // for the reader of the test
    unscriptedDialogsAllowed() = true;
}

void resetTestDoubles()
{
    unscriptedBoxesAllowed() = false;
    unscriptedDialogsAllowed() = false;
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
