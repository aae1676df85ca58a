#include "board/message_sink.h"

namespace boardmsg {
namespace {

MessageSink* gSink = nullptr;

} // namespace

void setMessageSink(MessageSink* sink)
{
    gSink = sink;
}

MessageSink* messageSink()
{
    return gSink;
}

int MsgBox(const QString& prompt, int buttons, const QString& title)
{
    if (!gSink)
        return vbOK;
    return gSink->show(prompt, buttons, title);
}

} // namespace boardmsg
