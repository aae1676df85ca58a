#pragma once

#include "platform/ui/msgbox.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

namespace ui::testing {

struct MessageBoxRecord {
    QString prompt;
    int buttons = 0;
    QString title; // as shown: the application title when the caller gave none
    int answer = 0;
    bool scripted = false; // false: no answer was queued and the default button answered
};

// Records every message box and answers from a queue; with an empty queue the box's default button
// answers and the record says it was unscripted, so a test can insist that every box was expected.
class ScriptedMessageBoxes : public MessageBoxService {
public:
    int show(const QString& prompt, int buttons, const QString& title) override;

    void answer(int result);
    void answer(std::initializer_list<int> results);
    // The next box must say `prompt` (its text, exactly); it is answered with `result`. A box that says
    // anything else is answered all the same and recorded in `mismatches`, which fails the test.
    void expect(const QString& prompt, int result = vbOK);
    int unscriptedCount() const;
    QStringList prompts() const;
    void reset();

    std::vector<MessageBoxRecord> shown;
    std::deque<int> answers;
    std::deque<std::optional<QString>> expectedPrompts; // beside `answers`: the text each answer expects
    QStringList mismatches;                             // boxes whose text was not the one expected
    // Runs while a box is "up", after it was recorded (for instance to check state during a wait).
    std::function<void(const MessageBoxRecord&)> whileShown;
};

} // namespace ui::testing
