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
        if (!expectedPrompts.empty()) {
            const std::optional<QString> expected = expectedPrompts.front();
            expectedPrompts.pop_front();
            if (expected && *expected != prompt)
                mismatches << QStringLiteral(
                                  "a message box said \"%1\" (title \"%2\") where \"%3\" was expected")
                                  .arg(prompt, title, *expected);
        }
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

void ScriptedMessageBoxes::answer(int result)
{
    answers.push_back(result);
    expectedPrompts.push_back(std::nullopt);
}

void ScriptedMessageBoxes::answer(std::initializer_list<int> results)
{
    for (int result : results)
        answer(result);
}

void ScriptedMessageBoxes::expect(const QString& prompt, int result)
{
    answers.push_back(result);
    expectedPrompts.emplace_back(prompt);
}

void ScriptedMessageBoxes::reset()
{
    shown.clear();
    answers.clear();
    expectedPrompts.clear();
    mismatches.clear();
    whileShown = nullptr;
}

} // namespace ui::testing
