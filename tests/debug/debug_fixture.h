#pragma once

// The register-window fixture with the debug windows registered, the emulated board's FIFO on the virtual
// clock, the port C traffic as it crossed pipe 0 and FIFO data files in a temporary folder.

#include "common/register_window_fixture.h"
#include "shown_boxes.h"

#include "debug/register_windows.h"

#include "platform/os/os_test_doubles.h"
#include "platform/os/program_folder.h"
#include "platform/ui/test_doubles.h"
#include "platform/usb/emulated_board.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <vector>

namespace debugtest {

constexpr uint8_t kSetPortC = 0x12;
constexpr uint8_t kGetPortC = 0x13;
constexpr uint8_t kGetReady = 0x17;

class DebugWindowTest : public regtest::RegisterWindowTest {
protected:
    QTemporaryDir dir;

    DebugWindowTest()
    {
        RegisterDebugWindows();
        mdi->Show();
    }

    // A revision-3 board with a FIFO that drains `valuesPerMs` values per virtual millisecond while
    // transmitting (0: at once).
    usb::EmulatedBoard& plugFifoBoard(double valuesPerMs = 0, bool fifoPresent = true)
    {
        usb::BoardOptions options;
        options.fifoPresent = fifoPresent;
        usb::EmulatedBoard& board = plugBoard(options);
        drv.setClock([] { return ui::testing::clock().now(); });
        if (board.fifo())
            board.fifo()->setDrainRate(valuesPerMs);
        return board;
    }
    usb::EmulatedFifo& fifo() { return *drv.board(0)->fifo(); }

    // The commands on pipe 0 since the last clear whose first byte is `code`.
    QList<QByteArray> commands(uint8_t code) const
    {
        QList<QByteArray> out;
        for (const QByteArray& packet : pipeWrites(0))
            if (!packet.isEmpty() && static_cast<uint8_t>(packet[0]) == code)
                out << packet;
        return out;
    }
    // The port C values sent since the last clear, in order.
    std::vector<int> portCWrites() const
    {
        std::vector<int> out;
        for (const QByteArray& packet : commands(kSetPortC))
            out.push_back(static_cast<uint8_t>(packet[1]));
        return out;
    }
    int readyReads() const { return static_cast<int>(commands(kGetReady).size()); }

    // Writes a text file of these lines (CRLF) into the temporary folder.
    QString writeFile(const QString& name, const QStringList& lines)
    {
        QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QTextStream out(&file);
        for (const QString& line : lines)
            out << line << "\r\n";
        return path;
    }
    // "0".."n-1" as lines.
    static QStringList countingLines(int n)
    {
        QStringList lines;
        lines.reserve(n);
        for (int i = 0; i < n; ++i)
            lines << QString::number(i % 1000);
        return lines;
    }
    static std::vector<uint32_t> range(uint32_t n)
    {
        std::vector<uint32_t> out(n);
        for (uint32_t i = 0; i < n; ++i)
            out[i] = i;
        return out;
    }
    QStringList prompts() const { return ui::testing::messageBoxes().prompts(); }
    QStringList sounds() const { return os::testing::soundRecorder().played; }
};

} // namespace debugtest
