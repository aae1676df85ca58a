#include "platform/ui/scripted_message_boxes.h"

#include <QStringList>

namespace ui::testing {

int ScriptedMessageBoxes::show(const QString& prompt, int buttons, const QString& title)
{
    MessageBoxRecord record;
    record.prompt = prompt;
    record.buttons = buttons;
    record.title = title;
    record.scripted = !answers.empty();
    if (record.scripted) {
        record.answer = answers.front();
        answers.pop_front();
    } else {
        record.answer = defaultButtonResult(buttons);
    }
    shown.push_back(record);
    if (whileShown)
        whileShown(record);
    return record.answer;
}

int ScriptedMessageBoxes::unscriptedCount() const
{
    int count = 0;
    for (const auto& record : shown)
        count += record.scripted ? 0 : 1;
    return count;
}

QStringList ScriptedMessageBoxes::prompts() const
{
    QStringList result;
    for (const auto& record : shown)
        result << record.prompt;
    return result;
}

void ScriptedMessageBoxes::reset()
{
    shown.clear();
    answers.clear();
    whileShown = nullptr;
}

} // namespace ui::testing
