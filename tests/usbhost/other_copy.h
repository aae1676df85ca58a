#pragma once

// Another running copy of the program on the same bus: a process of its own (this test program started
// again with --other-copy) with its own libusb context, that selects one board with its own host identifier
// and then, until told to stop, does what the USB watch does every period (looks for its board, reads the
// status port) and reads a chip register, counting every request that failed.

#include <QProcess>
#include <QString>

#include <cstdint>

namespace usbhosttest {

inline constexpr char kOtherCopyOption[] = "--other-copy";

// The other copy's main: argv = program, --other-copy, host identifier, list index of its board.
int runOtherCopy(int argc, char** argv);

class OtherCopy {
public:
    OtherCopy() = default;
    ~OtherCopy();
    OtherCopy(const OtherCopy&) = delete;
    OtherCopy& operator=(const OtherCopy&) = delete;

    // Starts it and waits until it has selected its board; false when it could not.
    bool start(int32_t hostId, int boardIndex);
    // Polls on for at least `periods` more watch periods, then stops it; false when it did not end well.
    bool stop(int periods);
    int periods() const { return periods_; }
    int failures() const { return failures_; }
    QString output() const { return output_; }

private:
    bool startFailed();

    QProcess process_;
    QString output_;
    int periods_ = -1;
    int failures_ = -1;
};

} // namespace usbhosttest
