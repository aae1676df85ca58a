#pragma once

// What a board owes this copy on its two reply pipes, learnt from the commands this copy sent it: the
// command pipe's replies have the length the firmware's command table gives each command (none for a
// command that the table does not give in that length, or that the board's firmware does not know), and the
// read-back pipe brings two bytes for each word the last read-back count asked for. A reply of another
// length is not the answer to the request that reads it (it is a late answer to an earlier one, or cut
// short), so the board is out of step. Where nothing fixes the length (no command seen yet), a read keeps
// its plain meaning.

#include <array>
#include <cstdint>
#include <optional>

namespace usbhost {

class ReplyPairing {
public:
    using Version = std::array<uint8_t, 2>;

    // A write on a pipe went out whole.
    void sent(uint32_t pipe, const uint8_t* data, uint32_t length);
    // Records a read on a pipe of `asked` bytes that brought the `moved` bytes of `data`: the reply is no
    // longer owed, and when it is the answer to a version command its bytes are the firmware version.
    // Whether it had the length the board owed: when not, it answers no request.
    bool recordReply(uint32_t pipe, const uint8_t* data, uint32_t asked, uint32_t moved);
    // The board was reset: it owes nothing now, and what it owes later is learnt anew.
    void forget();

    // The firmware version the board last answered, when it was asked.
    std::optional<Version> version() const { return version_; }
    void setVersion(const Version& version) { version_ = version; }

private:
    std::optional<uint32_t> owedReply_;    // bytes of the next reply on the reply pipe
    std::optional<uint32_t> readBackSize_; // bytes of each read-back on the read-back pipe
    bool versionAsked_ = false;            // the reply owed is the firmware version's
    std::optional<Version> version_;
};

} // namespace usbhost
