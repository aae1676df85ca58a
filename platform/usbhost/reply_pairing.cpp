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
    const uint8_t code = data[0];
    // A command the firmware does not know leaves no reply it could be held to.
    const bool known = code < fw::kCommandCount && code != 3;
    owedReply_ = known ? std::optional<uint32_t>(static_cast<uint32_t>(fw::replyLength(code))) : std::nullopt;
    versionAsked_ = code == fw::GetFirmwareVersion && length == 1;
    if (code == fw::SetReadBackCount && length == 3) {
        readBackSize_ = 2 * ((uint32_t{data[1]} << 8) | data[2]);
    }
}

bool ReplyPairing::fits(uint32_t pipe, uint32_t asked, uint32_t moved)
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
    if (!owed) {
        versionAsked_ = false;
        return true;
    }
    const bool fit = moved == std::min(*owed, asked);
    if (!fit) {
        versionAsked_ = false;
    }
    return fit;
}

void ReplyPairing::received(uint32_t pipe, const uint8_t* data, uint32_t moved)
{
    if (pipe == fw::kReplyPipe && versionAsked_ && moved == 2 && data != nullptr) {
        version_ = Version{data[0], data[1]};
    }
    if (pipe == fw::kReplyPipe) {
        versionAsked_ = false;
    }
}

void ReplyPairing::forget()
{
    owedReply_.reset();
    readBackSize_.reset();
    versionAsked_ = false;
}

} // namespace usbhost
