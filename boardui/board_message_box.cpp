#include "boardui/board_message_box.h"

#include "board/message_sink.h"
#include "platform/ui/msgbox.h"

namespace {

class MessageBoxSink : public boardmsg::MessageSink {
public:
    int show(const QString& prompt, int buttons, const QString& title) override
    {
        return ui::MsgBox(prompt, buttons, title);
    }
};

// The two sets of numbers are the same box's: a mismatch would show another box than the board asked for.
static_assert(int(boardmsg::vbOKOnly) == int(ui::vbOKOnly) &&
              int(boardmsg::vbOKCancel) == int(ui::vbOKCancel) &&
              int(boardmsg::vbYesNo) == int(ui::vbYesNo) &&
              int(boardmsg::vbCritical) == int(ui::vbCritical) &&
              int(boardmsg::vbQuestion) == int(ui::vbQuestion) &&
              int(boardmsg::vbExclamation) == int(ui::vbExclamation) &&
              int(boardmsg::vbInformation) == int(ui::vbInformation) &&
              int(boardmsg::vbOK) == int(ui::vbOK) && int(boardmsg::vbCancel) == int(ui::vbCancel));

} // namespace

boardmsg::MessageSink& boardMessageBoxes()
{
    static MessageBoxSink sink;
    return sink;
}

void InstallBoardMessageBoxes()
{
    boardmsg::setMessageSink(&boardMessageBoxes());
}
