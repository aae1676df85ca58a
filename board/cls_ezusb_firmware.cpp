// clsEZUSB: the firmware values that belong to the transport, the version and the host identifier. Each
// addresses a board by its list index; an index outside the list addresses no board at all (an empty name
// would otherwise mean the selected board).

#include "board/cls_ezusb.h"

#include "board/cls_ezusb_version.h"
#include "board/message_sink.h"
#include "platform/usb/firmware_commands.h"

namespace fw = usb::firmware;

QString clsEZUSB::GetFirmWareVersion(int16_t index)
{
    if (!ValidIndex(index)) {
        return QStringLiteral("0");
    }
    const QString& name = deviceList_[index];
    uint8_t command[1] = {fw::GetFirmwareVersion};
    int32_t length = sizeof command;
    if (Transfer(kCommandPipe, command, length, name) != 1) {
        return QStringLiteral("0");
    }
    uint8_t reply[2] = {};
    length = sizeof reply;
    if (Transfer(kReplyPipe, reply, length, name) != 1) {
        return QString();
    }
    return ezusbVersionText(reply[0], reply[1], DecimalSepPriv());
}

int16_t clsEZUSB::GetHostID(int16_t index, int32_t& hostId)
{
    const QString name = GetDriverName(index);
    int32_t result = 0;
    if (!name.isEmpty()) {
        uint8_t command[1] = {fw::GetHostId};
        int32_t length = sizeof command;
        result = Transfer(kCommandPipe, command, length, name);
        if (result == 1) {
            uint8_t reply[4] = {};
            length = sizeof reply;
            result = Transfer(kReplyPipe, reply, length, name);
            if (result == 1) {
                hostId = BytesToLong(reply);
            }
        }
    }
    if (result != 1 && verboseIO_) {
        boardmsg::MsgBox(QStringLiteral("Error: Could not get the HostID for ") + name, boardmsg::vbOKOnly);
    }
    return static_cast<int16_t>(result);
}

int32_t clsEZUSB::SetHostID(int16_t index, int32_t hostId)
{
    const QString name = GetDriverName(index);
    int32_t result = 0;
    if (!name.isEmpty()) {
        uint8_t command[5] = {fw::SetHostId, GetByteOfValue(hostId, 3), GetByteOfValue(hostId, 2),
                              GetByteOfValue(hostId, 1), GetByteOfValue(hostId, 0)};
        int32_t length = sizeof command;
        result = Transfer(kCommandPipe, command, length, name);
    }
    if (result != 1 && verboseIO_) {
        boardmsg::MsgBox(QStringLiteral("Error: Could not set the Host ID."), boardmsg::vbOKOnly);
    }
    return result;
}
