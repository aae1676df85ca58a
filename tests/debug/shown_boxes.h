#pragma once

// Message boxes as the user sees them (title, text, buttons and icon), queued before an action and compared
// afterwards with what the action showed. Loops of cases take a mark instead of clearing the record, so a
// box left over from an earlier case still fails the test.

#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <QString>

#include <cstddef>
#include <ostream>
#include <vector>

namespace debugtest {

struct Box {
    QString title;
    QString text;
    int style = ui::vbOKOnly; // buttons and icon
    bool operator==(const Box&) const = default;
};
inline void PrintTo(const Box& box, std::ostream* out)
{
    *out << "{title \"" << box.title.toStdString() << "\", text \"" << box.text.toStdString() << "\", style "
         << box.style << "}";
}
using Boxes = std::vector<Box>;

// Queues `box` as the next one to come up, answered with `answer`; a box saying anything else fails the
// test.
inline void expectBox(const Box& box, int answer = ui::vbOK)
{
    ui::testing::messageBoxes().expect(box.text, answer);
}
// The mark of the next box to come up.
inline size_t boxMark()
{
    return ui::testing::messageBoxes().shown.size();
}
// The boxes shown from `mark` on.
inline Boxes boxesSince(size_t mark)
{
    Boxes out;
    const auto& shown = ui::testing::messageBoxes().shown;
    for (size_t i = mark; i < shown.size(); ++i)
        out.push_back({shown[i].title, shown[i].prompt, shown[i].buttons});
    return out;
}

} // namespace debugtest
