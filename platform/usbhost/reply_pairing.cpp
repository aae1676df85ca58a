#include "platform/usbhost/reply_pairing.h"

#include "platform/usb/firmware_commands.h"

#include <algorithm>

namespace usbhost {

namespace fw = usb::firmware;

void ReplyPairing::sent(uint32_t pipe, const uint8_t* data, uint32_t length)
{
    if (pipe != fw::kCommandPipe || length == 0 || data == nullptr) {
        return;
    }
    const std::optional<fw::CommandShape> shape = fw::commandShape(data[0]);
    // A command the firmware does not take leaves no reply it could be held to. A firmware not asked yet
    // is taken to know every command.
    const bool taken = shape && length == shape->commandLength &&
                       (!version_ || fw::firmwareKnows(*shape, {(*version_)[0], (*version_)[1]}));
    owedReply_ = taken ? std::optional<uint32_t>(shape->replyLength) : std::nullopt;
    versionAsked_ = taken && shape->code == fw::GetFirmwareVersion;
    if (taken && shape->code == fw::SetReadBackCount) {
        readBackSize_ = 2 * ((uint32_t{data[1]} << 8) | data[2]);
    }
}

bool ReplyPairing::recordReply(uint32_t pipe, const uint8_t* data, uint32_t asked, uint32_t moved)
{
    std::optional<uint32_t> owed;
    if (pipe == fw::kReplyPipe) {
        owed = owedReply_;
        // Once read, the reply is no longer owed: anything more on the pipe belongs to no request.
        if (owedReply_) {
            owedReply_ = 0;
        }
    } else if (pipe == fw::kReadBackPipe) {
        owed = readBackSize_;
    }
    const bool fit = !owed || moved == std::min(*owed, asked);
    if (fit && owed && pipe == fw::kReplyPipe && versionAsked_ && moved == *owed && data != nullptr) {
        version_ = Version{data[0], data[1]};
    }
    if (pipe == fw::kReplyPipe || !fit || !owed) {
        versionAsked_ = false;
    }
    return fit;
}

void ReplyPairing::forget()
{
    owedReply_.reset();
    readBackSize_.reset();
    versionAsked_ = false;
}

} // namespace usbhost
