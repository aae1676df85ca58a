#include "other_copy.h"

#include "app/board_driver_hookup.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "platform/usb/usb_driver.h"
#include "platform/usbhost/libusb_driver.h"
#include "usbhost_support.h"

#include <QCoreApplication>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace usbhosttest {

namespace {

// The other copy's watch period: short, so that a test sees many of them.
constexpr int kPeriodMs = 10;

// Waits one period for a line on the standard input; the number of further periods it asks for, or -1.
int stopRequest()
{
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, kPeriodMs) <= 0)
        return -1;
    char line[64] = {};
    const ssize_t got = read(STDIN_FILENO, line, sizeof line - 1);
    if (got <= 0)
        return 0; // the test went away
    return std::max(0, std::atoi(line));
}

} // namespace

int runOtherCopy(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const auto hostId = static_cast<int32_t>(std::strtol(argv[2], nullptr, 0));
    const auto index = static_cast<int16_t>(std::atoi(argv[3]));
    QCoreApplication app(argc, argv);
    int result = 0;
    {
        usbhost::LibusbDriver driver(servedIds());
        usb::setDriver(&driver);
        tellOfTheProgramsWaits(&driver);
        ScopedEZUSB ezusb;
        cZR4470XEvalBd board;
        goEvalBd = &board;
        if (goEZUSB().GetDevices() <= index || goEZUSB().SelectDevice(index, hostId) != 1) {
            std::printf("could not select board %d\n", index);
            result = 3;
        } else {
            board.InitIOBuffs();
            const QString register02 = board.USBSerialReadPKT(0x02);
            waitForTheUser();
            std::printf("ready\n");
            std::fflush(stdout);
            int periods = 0;
            int failures = register02.isEmpty() ? 1 : 0;
            int left = -1;
            while (left != 0) {
                // What the USB watch does every period, and a register read as a window's would be.
                failures += goEZUSB().IsConnected() ? 0 : 1;
                failures += board.GetPortDValue() == 0 ? 1 : 0;
                failures += board.USBSerialReadPKT(0x02) == register02 ? 0 : 1;
                ++periods;
                waitForTheUser(); // back in the event loop: the claim goes
                if (left > 0)
                    --left;
                else if (const int asked = stopRequest(); asked >= 0)
                    left = std::max(asked, 1);
            }
            std::printf("periods %d failures %d\n", periods, failures);
        }
        goEvalBd = nullptr;
        tellOfTheProgramsWaits(nullptr);
    }
    usb::setDriver(nullptr);
    std::fflush(stdout);
    return result;
}

OtherCopy::~OtherCopy()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(10000);
    }
}

bool OtherCopy::start(int32_t hostId, int boardIndex)
{
    process_.setProgram(QCoreApplication::applicationFilePath());
    process_.setArguments(
        {QString::fromLatin1(kOtherCopyOption), QString::number(hostId), QString::number(boardIndex)});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(10000))
        return startFailed();
    // Waits for its word, not for a time: it may take a while to start under the sanitizers.
    while (!output_.contains(QLatin1String("ready\n"))) {
        if (!process_.waitForReadyRead(30000))
            return startFailed();
        output_ += QString::fromLocal8Bit(process_.readAllStandardOutput());
    }
    return true;
}

bool OtherCopy::startFailed()
{
    // What the copy said before it ended, and how it ended, for the failing test's message.
    process_.waitForFinished(1000);
    output_ += QString::fromLocal8Bit(process_.readAllStandardOutput());
    output_ +=
        QStringLiteral("[the other copy did not get ready: %1; state %2, exit status %3, exit code %4]")
            .arg(process_.errorString())
            .arg(static_cast<int>(process_.state()))
            .arg(static_cast<int>(process_.exitStatus()))
            .arg(process_.exitCode());
    return false;
}

bool OtherCopy::stop(int periods)
{
    process_.write(QByteArray::number(periods) + '\n');
    if (!process_.waitForFinished(30000))
        return false;
    output_ += QString::fromLocal8Bit(process_.readAllStandardOutput());
    const qsizetype at = output_.lastIndexOf(QLatin1String("periods "));
    if (at < 0)
        return false;
    if (std::sscanf(output_.mid(at).toLatin1().constData(), "periods %d failures %d", &periods_,
                    &failures_) != 2)
        return false;
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

} // namespace usbhosttest
