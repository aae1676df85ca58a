#include "platform/ui/scripted_dialogs.h"

namespace ui::testing {

namespace {
FileDialogResult chosen(const QString& fileName, int filterIndex)
{
    FileDialogResult result;
    result.accepted = true;
    result.fileName = fileName;
    result.fileNames = {fileName};
    result.filterIndex = filterIndex;
    return result;
}
} // namespace

void ScriptedDialogs::answerOpen(const QString& fileName, int filterIndex)
{
    open.answers.push_back(chosen(fileName, filterIndex));
}

void ScriptedDialogs::answerSave(const QString& fileName, int filterIndex)
{
    save.answers.push_back(chosen(fileName, filterIndex));
}

int ScriptedDialogs::unscriptedCount() const
{
    return open.unscripted + save.unscripted + color.unscripted + font.unscripted + printing.unscripted +
           pageSetupScript.unscripted;
}

void ScriptedDialogs::reset()
{
    open.reset();
    save.reset();
    color.reset();
    font.reset();
    printing.reset();
    pageSetupScript.reset();
}

} // namespace ui::testing
