// The firmware's command set: one bulk write on pipe 0, code first, of the length the firmware's command
// table gives; replies wait on pipe 1.
//
// Assumptions of the emulator: every command replaces the pending reply (a command without a reply leaves
// none); a command of the wrong length or an unknown code is accepted on the pipe but does nothing and
// is logged; the LED query [15, 2] answers 1 while the lamp blinks; [8] puts ports, chip-select mode and
// read-back state back to their power-on levels; [10] (port B) is ignored; a command exists from the
// firmware the table names on (the host identifier commands 13 and 14 from 0.3).

#include "platform/usb/emulated_board.h"
#include "platform/usb/firmware_commands.h"

namespace usb {

void EmulatedBoard::setReply(std::initializer_list<uint8_t> bytes)
{
    replyLength_ = 0;
    for (uint8_t b : bytes) {
        reply_[replyLength_++] = b;
    }
}

bool EmulatedBoard::expectLength(uint8_t code, uint32_t length, uint32_t expected)
{
    if (length == expected) {
        return true;
    }
    report(ViolationKind::CommandLength,
           QStringLiteral("command %1 sent with %2 bytes instead of %3").arg(code).arg(length).arg(expected));
    return false;
}

void EmulatedBoard::command(const uint8_t* data, uint32_t length)
{
    replyLength_ = 0;
    if (length == 0) {
        report(ViolationKind::CommandLength, QStringLiteral("empty write on the command pipe"));
        return;
    }
    const uint8_t code = data[0];
    const std::optional<firmware::CommandShape> shape = firmware::commandShape(code);
    if (!shape || !firmware::firmwareKnows(*shape, {options_.firmwareMajor, options_.firmwareMinor})) {
        report(ViolationKind::UnknownCommand, QStringLiteral("unknown command %1").arg(code));
        return;
    }
    if (!expectLength(code, length, shape->commandLength)) {
        return;
    }
    const uint8_t v = length > 1 ? data[1] : 0;
    switch (code) {
    case firmware::GetFirmwareVersion:
        setReply({options_.firmwareMajor, options_.firmwareMinor});
        break;
    case firmware::SetPortA:
        writePortA(v);
        break;
    case firmware::GetPortA:
        setReply({portA_});
        break;
    case firmware::SetReadBackMode:
        if (v == 1) {
            readBackActive_ = true;
            readBackClocks();
        } else if (v == 0) {
            readBackActive_ = false;
        } else {
            report(ViolationKind::BadArgument, QStringLiteral("read-back mode %1").arg(v));
        }
        break;
    case firmware::SetCtlLines:
        ctl_ = v;
        setReply({v});
        break;
    case firmware::GetCtlLines:
        setReply({ctl_});
        break;
    case firmware::SetReadBackCount:
        readBackCount_ = data[1] * 256 + data[2];
        if (readBackCount_ < 1 || readBackCount_ > 256) {
            report(ViolationKind::BadArgument,
                   QStringLiteral("read-back count %1 outside 1-256 words").arg(readBackCount_));
            readBackCount_ = 0;
        }
        break;
    case firmware::ResetFirmware:
        powerOnFirmware();
        break;
    case firmware::GetPortB:
        setReply({portBLines()});
        break;
    case firmware::SetPortB:
        portBLatch_ = v;
        break;
    case firmware::GetPortD:
        setReply({static_cast<uint8_t>(statusInputs_ & 0xF8)});
        break;
    case firmware::SetPortD:
        portDLatch_ = v;
        break;
    case firmware::SetHostId:
        hostId_ = (uint32_t{data[1]} << 24) | (uint32_t{data[2]} << 16) | (uint32_t{data[3]} << 8) | data[4];
        break;
    case firmware::GetHostId:
        setReply({static_cast<uint8_t>(hostId_ >> 24), static_cast<uint8_t>(hostId_ >> 16),
                  static_cast<uint8_t>(hostId_ >> 8), static_cast<uint8_t>(hostId_)});
        break;
    case firmware::LedBlink:
        if (v == 0 || v == 1) {
            ledBlinking_ = v == 1;
            setReply({1});
        } else if (v == 2) {
            setReply({static_cast<uint8_t>(ledBlinking_ ? 1 : 0)});
        } else {
            report(ViolationKind::BadArgument, QStringLiteral("LED blink value %1").arg(v));
            setReply({0});
        }
        break;
    case firmware::SetAutoCsbMode:
        if (v > 1) {
            report(ViolationKind::BadArgument, QStringLiteral("automatic chip-select mode %1").arg(v));
        }
        autoCsb_ = v != 0;
        updateChipSelect(false);
        setReply({1});
        break;
    case firmware::SetAutoCsbMask:
        autoCsbMask_ = v;
        updateChipSelect(false);
        setReply({1});
        break;
    case firmware::SetPortC:
        writePortC(v);
        break;
    case firmware::GetPortC:
        setReply({portC_});
        break;
    case firmware::SetPortE:
        writePortE(v);
        break;
    case firmware::GetPortE:
        setReply({portE_});
        break;
    case firmware::IsHighSpeed:
        setReply({static_cast<uint8_t>(options_.highSpeed ? 1 : 0)});
        break;
    case firmware::GetReadyLines:
        setReply({readyLines()});
        break;
    default:
        break;
    }
}

void EmulatedBoard::fillDeviceDescriptor(uint8_t* out18) const
{
    const uint16_t bcdDevice = static_cast<uint16_t>((options_.firmwareMajor << 8) | options_.firmwareMinor);
    const uint8_t descriptor[18] = {18,
                                    1, // device descriptor
                                    0x00,
                                    0x02, // USB 2.0
                                    0xFF,
                                    0,
                                    0, // vendor-specific class
                                    64,
                                    static_cast<uint8_t>(options_.vendorId & 0xFF),
                                    static_cast<uint8_t>(options_.vendorId >> 8),
                                    static_cast<uint8_t>(options_.productId & 0xFF),
                                    static_cast<uint8_t>(options_.productId >> 8),
                                    static_cast<uint8_t>(bcdDevice & 0xFF),
                                    static_cast<uint8_t>(bcdDevice >> 8),
                                    1,
                                    2,
                                    3, // string indexes: manufacturer, product, serial number
                                    1};
    for (int i = 0; i < 18; ++i) {
        out18[i] = descriptor[i];
    }
}

QByteArray EmulatedBoard::stringDescriptor(int index) const
{
    QString text;
    switch (index) {
    case 0: // supported languages: 1033
        return QByteArray("\x04\x03\x09\x04", 4);
    case 1:
        text = options_.manufacturer;
        break;
    case 2:
        text = options_.product;
        break;
    case 3:
        text = QStringLiteral("EMU%1").arg(slot_);
        break;
    default:
        return {};
    }
    text.truncate(126);
    QByteArray descriptor;
    descriptor.reserve(2 + 2 * text.size());
    descriptor.append(static_cast<char>(2 + 2 * text.size()));
    descriptor.append(char{3});
    for (QChar c : text) {
        descriptor.append(static_cast<char>(c.unicode() & 0xFF));
        descriptor.append(static_cast<char>(c.unicode() >> 8));
    }
    return descriptor;
}

} // namespace usb
