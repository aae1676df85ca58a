#pragma once

// The emulated device-file driver: serves the boards attached at slots 0-8 by device name, answers the
// driver requests with the buffer layouts the USB object reads, records every call (trace) and every
// protocol violation, and lets tests inject faults.

#include "platform/usb/emulated_board.h"
#include "platform/usb/emulator_types.h"
#include "platform/usb/usb_driver.h"

#include <QList>
#include <QStringList>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace usb {

inline constexpr int kSlotCount = 9;

// Faults a test arms on one slot. They stay armed across detach and re-attach of the slot.
struct SlotFaults {
    bool failOpen = false;
    bool failDeviceDescriptor = false;
    bool failPipeInfo = false;
    bool failStringDescriptor = false;
    // Pipe information reports this pipe's endpoint in the other direction, and the pipe is then served in
    // that direction (a board whose endpoints are not where the program expects them): a write on it is
    // taken whole and reaches no firmware, a read on it delivers zeros. -1: every pipe as it is.
    int wrongDirectionPipe = -1;
    // Answers cut short but reported as success: only this many bytes of the pipe information or of the
    // device descriptor arrive (nothing set: the whole answer).
    std::optional<uint32_t> pipeInfoBytes;
    std::optional<uint32_t> deviceDescriptorBytes;
};

// One board of a TESSARON_BOARDS text.
struct BoardEntry {
    int slot = 0;
    BoardOptions options;
};

// Parses TESSARON_BOARDS: "none", or comma-separated entries "slot[:option]...", options rev1, rev2, rev3,
// nochip, highspeed, fullspeed, fifo, nofifo, ezusb, resethigh, fw=MAJOR.MINOR, hostid=N, vid=HEX, pid=HEX.
// An empty text or a null one gives the default single board. Returns nothing and sets error on a bad text.
std::optional<std::vector<BoardEntry>> parseBoardsVariable(const QString& text, QString* error = nullptr);

class EmulatedDriver final : public DeviceDriver {
public:
    EmulatedDriver();
    ~EmulatedDriver() override;

    // --- DeviceDriver ---
    intptr_t open(const QString& path) override;
    bool ioControl(intptr_t handle, uint32_t code, const void* in, uint32_t inLen, void* out, uint32_t outLen,
                   uint32_t& bytesReturned) override;
    void close(intptr_t handle) override;
    bool driverInstalled(const QString& baseName) const override;

    // --- boards ---
    // Plugs a board (fresh power-on state) into a slot 0-8, replacing one already there; another slot
    // throws std::out_of_range.
    EmulatedBoard& attach(int slot, const BoardOptions& options = {});
    // Unplugs the board of a slot; handles open on it fail from then on.
    void detach(int slot);
    void detachAll();
    EmulatedBoard* board(int slot); // nullptr when the slot is empty
    const EmulatedBoard* board(int slot) const;
    void attachBoards(const std::vector<BoardEntry>& entries);
    int openHandleCount() const { return static_cast<int>(handles_.size()); }
    void setDriverInstalled(const QString& baseName, bool installed);

    // --- faults ---
    SlotFaults& faults(int slot);
    // The nth bulk transfer on a pipe of a slot from now on (1 = the next one) fails, and the count-1 after
    // it too. A failed transfer has no effect on the board.
    void failTransfer(int slot, int pipe, int nth = 1, int count = 1);
    // The nth bulk read on a pipe of a slot from now on reports success but delivers only `bytes` bytes.
    void shortRead(int slot, int pipe, int nth, uint32_t bytes);
    // The nth bulk write on a pipe of a slot from now on reports success but only its first `bytes` bytes
    // reach the board and are counted (0: an empty write).
    void shortWrite(int slot, int pipe, int nth, uint32_t bytes);
    // The nth bulk transfer on a pipe of a slot from now on moves its data whole but reports `extra` bytes
    // more than were asked for.
    void overCount(int slot, int pipe, int nth, uint32_t extra);
    void clearFaults();

    // --- clock, trace, violations ---
    void setClock(Clock clock);
    int64_t now() const;
    void setTraceEnabled(bool on) { traceEnabled_ = on; }
    bool traceEnabled() const { return traceEnabled_; }
    const std::vector<TraceEntry>& trace() const { return trace_; }
    void clearTrace() { trace_.clear(); }
    // Each successful bulk transfer's bytes on a pipe of a slot, in order (from the trace).
    QList<QByteArray> transfers(int slot, int pipe) const;
    // All bytes moved on a pipe of a slot, joined (from the trace).
    QByteArray pipeBytes(int slot, int pipe) const;
    // Number of requests of a kind in the trace (any slot when slot is -1).
    int count(RequestKind kind, int slot = -1) const;
    // Called after every driver call with its trace entry (also when the trace is off); a test may detach
    // boards from here to unplug in the middle of a transfer.
    void setObserver(std::function<void(const TraceEntry&)> observer) { observer_ = std::move(observer); }

    const std::vector<Violation>& violations() const { return violations_; }
    QStringList violationTexts() const;
    void clearViolations() { violations_.clear(); }

private:
    struct Handle {
        std::shared_ptr<EmulatedBoard> board;
        int slot = -1;
    };
    struct TransferFault {
        enum Kind { Fail, ShortRead, ShortWrite, OverCount };
        int slot;
        int pipe;
        int remainingBefore; // transfers to let pass first
        int count;
        Kind kind;
        uint32_t bytes; // short answers: the bytes that arrive; over-counts: the bytes added to the count
    };

    bool bulk(EmulatedBoard& board, int slot, bool read, const void* in, uint32_t inLen, uint8_t* data,
              uint32_t length, uint32_t& bytesReturned, TraceEntry& entry, bool tracing);
    bool moveBulk(EmulatedBoard& board, int pipe, bool read, const std::optional<TransferFault>& fault,
                  uint8_t* data, uint32_t length, uint32_t& bytesReturned);
    std::optional<TransferFault> takeFault(int slot, int pipe);
    void record(TraceEntry&& entry);
    void addViolation(int slot, ViolationKind kind, const QString& text);
    std::shared_ptr<EmulatedBoard> boardForName(QStringView name, int& slot) const;

    std::array<std::shared_ptr<EmulatedBoard>, kSlotCount> boards_{};
    std::array<SlotFaults, kSlotCount> slotFaults_{};
    std::vector<TransferFault> transferFaults_;
    std::map<intptr_t, Handle> handles_;
    intptr_t nextHandle_ = 0x100;
    std::map<QString, bool> installed_;
    Clock clock_;
    bool traceEnabled_ = true;
    std::vector<TraceEntry> trace_;
    std::vector<Violation> violations_;
    std::function<void(const TraceEntry&)> observer_;
};

} // namespace usb
