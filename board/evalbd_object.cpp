// The board object as a whole: creation, the event dispatch and the transport underneath every command.

#include "board/evalbd.h"
#include "platform/usb/firmware_commands.h"

#include "board/cls_ezusb.h"
#include "board/message_sink.h"

cZR4470XEvalBd* goEvalBd = nullptr;

cZR4470XEvalBd::cZR4470XEvalBd()
{
    // Nothing is sent to the board here: start-up fetches the real port levels with InitIOBuffs once a
    // board is selected.
    InitRegMap(3);
}

cZR4470XEvalBd::~cZR4470XEvalBd()
{
    if (goEvalBd == this)
        goEvalBd = nullptr;
}

void cZR4470XEvalBd::raise(const EvalBdEventRecord& r) const
{
    if (eventTap_)
        eventTap_(r);
    switch (r.kind) {
    case EvalBdEventRecord::RegMapReset:
        RegMapReset(r.first);
        break;
    case EvalBdEventRecord::AfterRESET:
        AfterRESET();
        break;
    case EvalBdEventRecord::RESETAsserted:
        RESETAsserted();
        break;
    case EvalBdEventRecord::RESETReleased:
        RESETReleased();
        break;
    case EvalBdEventRecord::FIFOLoadBegin:
        FIFOLoadBegin(r.first, static_cast<int16_t>(r.second));
        break;
    case EvalBdEventRecord::FIFOPacketSent:
        FIFOPacketSent(r.first);
        break;
    case EvalBdEventRecord::FIFOLoadFinished:
        FIFOLoadFinished(r.flag);
        break;
    case EvalBdEventRecord::RAMCOMBegin:
        RAMCOMBegin(r.first, static_cast<int16_t>(r.second), r.flag);
        break;
    case EvalBdEventRecord::RAMPacketXfered:
        RAMPacketXfered(r.first);
        break;
    case EvalBdEventRecord::RAMCOMFinished:
        RAMCOMFinished(r.flag);
        break;
    }
}

bool cZR4470XEvalBd::transfer(int pipe, uint8_t* data, int32_t length)
{
    int32_t moved = length;
    if (goEZUSB().BulkXfer(pipe, data, moved) != 1)
        return false;
    // Only the whole buffer counts: a reply cut short leaves part of it unfilled, a packet cut short leaves
    // the firmware or the chip in the middle of a command or a serial cycle.
    return moved == length;
}

bool cZR4470XEvalBd::sendOut(int pipe, const uint8_t* data, int32_t length)
{
    // Bulk writes only read the buffer.
    return transfer(pipe, const_cast<uint8_t*>(data), length);
}

void cZR4470XEvalBd::reportFailure(const char* text) const
{
    if (verboseErrors_ && text != nullptr)
        boardmsg::MsgBox(QString::fromLatin1(text), boardmsg::vbOKOnly);
}

bool cZR4470XEvalBd::command(std::initializer_list<uint8_t> bytes, const char* failureText)
{
    uint8_t buffer[5] = {};
    int32_t n = 0;
    for (uint8_t b : bytes)
        buffer[n++] = b;
    if (sendOut(usb::firmware::kCommandPipe, buffer, n))
        return true;
    reportFailure(failureText);
    return false;
}

bool cZR4470XEvalBd::query(std::initializer_list<uint8_t> bytes, uint8_t* reply, int32_t replyLength,
                           const char* failureText)
{
    uint8_t buffer[5] = {};
    int32_t n = 0;
    for (uint8_t b : bytes)
        buffer[n++] = b;
    // The reply is read only after the command went through: the firmware has none pending otherwise.
    if (sendOut(usb::firmware::kCommandPipe, buffer, n) &&
        transfer(usb::firmware::kReplyPipe, reply, replyLength))
        return true;
    reportFailure(failureText);
    return false;
}
