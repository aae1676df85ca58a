// The emulated device-file driver.
//
// Assumptions of the emulator about the driver: every board exposes 6 bulk pipes, endpoint addresses
// 0 = 0x01 (commands, out), 1 = 0x81 (replies, in), 2 = 0x02 (unused), 3 = 0x04 (serial bits and FIFO data,
// out), 4 = 0x86 (unused), 5 = 0x88 (read-back, in); a bulk request on a pipe of the other direction is
// refused; a bulk read that cannot be filled completely fails instead of returning fewer bytes; requests
// on a handle whose board was unplugged fail; the vendor request succeeds without data. The faults a test
// arms bend these rules on purpose: answers cut short, counts that do not match the data, pipes reported
// in the wrong direction.

#include "platform/usb/emulated_driver.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace usb {

namespace {

constexpr uint8_t kEndpoints[kPipeCount] = {0x01, 0x81, 0x02, 0x04, 0x86, 0x88};

uint32_t readU32(const void* in)
{
    const auto* b = static_cast<const uint8_t*>(in);
    return uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
}

void writeU16(uint8_t* at, uint32_t v)
{
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}

void writeU32(uint8_t* at, uint32_t v)
{
    writeU16(at, v);
    writeU16(at + 2, v >> 16);
}

constexpr uint32_t kDescriptorLength = 18; // a USB device descriptor

// The endpoint address the pipe information reports for a pipe: the wrong-direction fault flips it.
uint8_t endpointOf(int pipe, const SlotFaults& faults)
{
    return faults.wrongDirectionPipe == pipe ? static_cast<uint8_t>(kEndpoints[pipe] ^ 0x80)
                                             : kEndpoints[pipe];
}

RequestKind kindOf(uint32_t code)
{
    switch (code) {
    case kRequestPipeInfo:
        return RequestKind::PipeInfo;
    case kRequestDeviceDescriptor:
        return RequestKind::DeviceDescriptor;
    case kRequestStringDescriptor:
        return RequestKind::StringDescriptor;
    case kRequestBulkRead:
        return RequestKind::BulkRead;
    case kRequestBulkWrite:
        return RequestKind::BulkWrite;
    case kRequestVendor:
        return RequestKind::Vendor;
    default:
        return RequestKind::Unknown;
    }
}

} // namespace

EmulatedDriver::EmulatedDriver()
{
    installed_[kDefaultBaseName.toLower()] = true;
    installed_[kDevKitBaseName.toLower()] = true;
}

EmulatedDriver::~EmulatedDriver()
{
    for (auto& board : boards_) {
        if (board) {
            board->setViolationSink({});
            board->setClock({});
        }
    }
    for (auto& [id, handle] : handles_) {
        handle.board->setViolationSink({});
        handle.board->setClock({});
    }
}

int64_t EmulatedDriver::now() const
{
    return clock_ ? clock_() : 0;
}

void EmulatedDriver::setClock(Clock clock)
{
    clock_ = std::move(clock);
}

EmulatedBoard& EmulatedDriver::attach(int slot, const BoardOptions& options)
{
    if (slot < 0 || slot >= kSlotCount) {
        throw std::out_of_range("EmulatedDriver::attach: slot outside 0-8");
    }
    detach(slot);
    auto board = std::make_shared<EmulatedBoard>(slot, options);
    board->setViolationSink(
        [this, slot](ViolationKind kind, const QString& text) { addViolation(slot, kind, text); });
    board->setClock([this] { return now(); });
    boards_[slot] = board;
    return *board;
}

void EmulatedDriver::detach(int slot)
{
    if (slot < 0 || slot >= kSlotCount || !boards_[slot]) {
        return;
    }
    boards_[slot]->setViolationSink({});
    boards_[slot].reset();
}

void EmulatedDriver::detachAll()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        detach(slot);
    }
}

EmulatedBoard* EmulatedDriver::board(int slot)
{
    return slot >= 0 && slot < kSlotCount ? boards_[slot].get() : nullptr;
}

const EmulatedBoard* EmulatedDriver::board(int slot) const
{
    return slot >= 0 && slot < kSlotCount ? boards_[slot].get() : nullptr;
}

void EmulatedDriver::attachBoards(const std::vector<BoardEntry>& entries)
{
    for (const BoardEntry& entry : entries) {
        attach(entry.slot, entry.options);
    }
}

void EmulatedDriver::setDriverInstalled(const QString& baseName, bool installed)
{
    installed_[baseName.toLower()] = installed;
}

bool EmulatedDriver::driverInstalled(const QString& baseName) const
{
    const auto it = installed_.find(baseName.toLower());
    return it != installed_.end() && it->second;
}

SlotFaults& EmulatedDriver::faults(int slot)
{
    if (slot < 0 || slot >= kSlotCount) {
        throw std::out_of_range("EmulatedDriver::faults: slot outside 0-8");
    }
    return slotFaults_[slot];
}

void EmulatedDriver::failTransfer(int slot, int pipe, int nth, int count)
{
    transferFaults_.push_back(
        {slot, pipe, nth > 1 ? nth - 1 : 0, count > 0 ? count : 1, TransferFault::Fail, 0});
}

void EmulatedDriver::shortRead(int slot, int pipe, int nth, uint32_t bytes)
{
    transferFaults_.push_back({slot, pipe, nth > 1 ? nth - 1 : 0, 1, TransferFault::ShortRead, bytes});
}

void EmulatedDriver::shortWrite(int slot, int pipe, int nth, uint32_t bytes)
{
    transferFaults_.push_back({slot, pipe, nth > 1 ? nth - 1 : 0, 1, TransferFault::ShortWrite, bytes});
}

void EmulatedDriver::overCount(int slot, int pipe, int nth, uint32_t extra)
{
    transferFaults_.push_back({slot, pipe, nth > 1 ? nth - 1 : 0, 1, TransferFault::OverCount, extra});
}

void EmulatedDriver::clearFaults()
{
    transferFaults_.clear();
    slotFaults_.fill(SlotFaults{});
}

std::optional<EmulatedDriver::TransferFault> EmulatedDriver::takeFault(int slot, int pipe)
{
    std::optional<TransferFault> fired;
    for (auto it = transferFaults_.begin(); it != transferFaults_.end();) {
        if (it->slot != slot || it->pipe != pipe) {
            ++it;
            continue;
        }
        if (it->remainingBefore > 0) {
            --it->remainingBefore;
            ++it;
            continue;
        }
        if (!fired) {
            fired = *it;
            if (--it->count <= 0) {
                it = transferFaults_.erase(it);
                continue;
            }
        }
        ++it;
    }
    return fired;
}

std::shared_ptr<EmulatedBoard> EmulatedDriver::boardForName(QStringView name, int& slot) const
{
    slot = -1;
    const qsizetype dash = name.lastIndexOf(QLatin1Char('-'));
    if (dash < 0 || dash + 2 != name.size()) {
        return {};
    }
    const QChar digit = name.at(dash + 1);
    if (digit < QLatin1Char('0') || digit > QLatin1Char('8')) {
        return {};
    }
    const int n = digit.unicode() - '0';
    const auto& board = boards_[n];
    if (!board || name.left(dash).compare(board->options().baseName, Qt::CaseInsensitive) != 0) {
        return {};
    }
    slot = n;
    return board;
}

intptr_t EmulatedDriver::open(const QString& path)
{
    QStringView name(path);
    const QLatin1String prefix("\\\\.\\");
    if (name.startsWith(prefix)) {
        name = name.mid(prefix.size());
    }
    int slot = -1;
    std::shared_ptr<EmulatedBoard> board = boardForName(name, slot);
    const bool ok = board && !slotFaults_[slot].failOpen;
    intptr_t handle = kInvalidHandle;
    if (ok) {
        handle = nextHandle_++;
        handles_[handle] = Handle{board, slot};
    }
    if (traceEnabled_ || observer_) {
        TraceEntry entry;
        entry.time = now();
        entry.slot = slot;
        entry.device = name.toString();
        entry.kind = RequestKind::Open;
        entry.ok = ok;
        record(std::move(entry));
    }
    return handle;
}

void EmulatedDriver::close(intptr_t handle)
{
    const auto it = handles_.find(handle);
    if (it == handles_.end()) {
        return;
    }
    const int slot = it->second.slot;
    const QString device = it->second.board->deviceName();
    handles_.erase(it);
    if (traceEnabled_ || observer_) {
        TraceEntry entry;
        entry.time = now();
        entry.slot = slot;
        entry.device = device;
        entry.kind = RequestKind::Close;
        entry.ok = true;
        record(std::move(entry));
    }
}

bool EmulatedDriver::ioControl(intptr_t handle, uint32_t code, const void* in, uint32_t inLen, void* out,
                               uint32_t outLen, uint32_t& bytesReturned)
{
    bytesReturned = 0;
    const auto it = handles_.find(handle);
    if (it == handles_.end()) {
        return false;
    }
    // Keep the board alive for the request even if an observer unplugs it afterwards.
    const std::shared_ptr<EmulatedBoard> board = it->second.board;
    const int slot = it->second.slot;
    const bool plugged = boards_[slot] == board;
    const bool tracing = traceEnabled_ || observer_;

    TraceEntry entry;
    entry.slot = slot;
    entry.kind = kindOf(code);
    entry.code = code;
    entry.requested = outLen;
    bool ok = false;
    auto* bytes = static_cast<uint8_t*>(out);
    const SlotFaults& faults = slotFaults_[slot];

    if (plugged) {
        switch (entry.kind) {
        case RequestKind::PipeInfo: {
            const uint32_t needed = 16 + 20 * kPipeCount;
            if (faults.failPipeInfo || bytes == nullptr || outLen < needed) {
                break;
            }
            std::array<uint8_t, kPipeInfoSize> record{};
            writeU16(record.data(), needed);
            writeU32(record.data() + 12, kPipeCount);
            for (int i = 0; i < kPipeCount; ++i) {
                uint8_t* pipe = record.data() + 16 + 20 * i;
                writeU16(pipe, board->options().highSpeed ? 512 : 64);
                pipe[2] = endpointOf(i, faults);
                writeU32(pipe + 4, 2); // bulk
                writeU32(pipe + 8, static_cast<uint32_t>(i + 1));
                writeU32(pipe + 12, 65536);
            }
            const uint32_t size =
                std::min({outLen, kPipeInfoSize, faults.pipeInfoBytes.value_or(kPipeInfoSize)});
            std::memcpy(bytes, record.data(), size);
            bytesReturned = size;
            ok = true;
            break;
        }
        case RequestKind::DeviceDescriptor: {
            if (faults.failDeviceDescriptor || bytes == nullptr || outLen < kDescriptorLength) {
                break;
            }
            std::array<uint8_t, kDescriptorLength> descriptor{};
            board->fillDeviceDescriptor(descriptor.data());
            const uint32_t size =
                std::min(kDescriptorLength, faults.deviceDescriptorBytes.value_or(kDescriptorLength));
            std::memcpy(bytes, descriptor.data(), size);
            bytesReturned = size;
            ok = true;
            break;
        }
        case RequestKind::StringDescriptor: {
            if (faults.failStringDescriptor || in == nullptr || inLen < 3) {
                break;
            }
            const QByteArray descriptor = board->stringDescriptor(static_cast<const uint8_t*>(in)[0]);
            if (descriptor.isEmpty() || (bytes == nullptr && outLen > 0)) {
                break;
            }
            const auto size = std::min<uint32_t>(outLen, static_cast<uint32_t>(descriptor.size()));
            std::memcpy(bytes, descriptor.constData(), size);
            bytesReturned = size;
            if (tracing) {
                entry.data = descriptor.left(size);
            }
            ok = true;
            break;
        }
        case RequestKind::BulkRead:
        case RequestKind::BulkWrite:
            ok = bulk(*board, slot, entry.kind == RequestKind::BulkRead, in, inLen, bytes, outLen,
                      bytesReturned, entry, tracing);
            break;
        case RequestKind::Vendor:
            ok = in != nullptr && inLen >= 10;
            break;
        default:
            break;
        }
    }
    if (tracing) {
        entry.time = now();
        entry.device = board->deviceName();
        entry.ok = ok;
        record(std::move(entry));
    }
    return ok;
}

bool EmulatedDriver::bulk(EmulatedBoard& board, int slot, bool read, const void* in, uint32_t inLen,
                          uint8_t* data, uint32_t length, uint32_t& bytesReturned, TraceEntry& entry,
                          bool tracing)
{
    if (in == nullptr || inLen < 4 || (data == nullptr && length > 0)) {
        return false;
    }
    const uint32_t pipe = readU32(in);
    if (pipe >= static_cast<uint32_t>(kPipeCount)) {
        return false;
    }
    entry.pipe = static_cast<int>(pipe);
    const SlotFaults& faults = slotFaults_[slot];
    const bool inPipe = endpointOf(static_cast<int>(pipe), faults) >= 0x81;
    if (inPipe != read) {
        return false;
    }
    const std::optional<TransferFault> fault = takeFault(slot, static_cast<int>(pipe));
    if (fault && fault->kind == TransferFault::Fail) {
        return false;
    }
    if (faults.wrongDirectionPipe == static_cast<int>(pipe)) {
        // No firmware endpoint answers here: writes vanish, reads come back as zeros.
        if (read) {
            std::memset(data, 0, length);
        }
        bytesReturned = length;
    } else if (!moveBulk(board, static_cast<int>(pipe), read, fault, data, length, bytesReturned)) {
        return false;
    }
    if (tracing) {
        const uint32_t moved = std::min(bytesReturned, length);
        entry.data = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(moved));
    }
    if (fault && fault->kind == TransferFault::OverCount) {
        bytesReturned += fault->bytes;
    }
    return true;
}

bool EmulatedDriver::moveBulk(EmulatedBoard& board, int pipe, bool read,
                              const std::optional<TransferFault>& fault, uint8_t* data, uint32_t length,
                              uint32_t& bytesReturned)
{
    if (!read) {
        // A short write: only the first bytes reach the firmware, and the count says so.
        const bool cut = fault && fault->kind == TransferFault::ShortWrite;
        const uint32_t sent = cut ? std::min(fault->bytes, length) : length;
        if ((sent > 0 || !cut) && !board.bulkWrite(pipe, data, sent)) {
            return false;
        }
        bytesReturned = sent;
        return true;
    }
    if (fault && fault->kind == TransferFault::ShortRead) {
        // The driver reports success but only part of the data reaches the caller's buffer.
        std::vector<uint8_t> whole(length);
        const int64_t got = board.bulkRead(pipe, whole.data(), length);
        if (got < 0) {
            return false;
        }
        bytesReturned = std::min(fault->bytes, static_cast<uint32_t>(got));
        std::memcpy(data, whole.data(), bytesReturned);
        return true;
    }
    const int64_t got = board.bulkRead(pipe, data, length);
    if (got < 0) {
        return false;
    }
    bytesReturned = static_cast<uint32_t>(got);
    return true;
}

void EmulatedDriver::record(TraceEntry&& entry)
{
    if (traceEnabled_) {
        trace_.push_back(entry);
        if (observer_) {
            observer_(trace_.back());
        }
        return;
    }
    if (observer_) {
        observer_(entry);
    }
}

void EmulatedDriver::addViolation(int slot, ViolationKind kind, const QString& text)
{
    constexpr size_t kLimit = 10000; // a runaway program must not exhaust memory through the log
    if (violations_.size() >= kLimit) {
        return;
    }
    violations_.push_back(Violation{now(), slot, kind, text});
}

QStringList EmulatedDriver::violationTexts() const
{
    QStringList texts;
    for (const Violation& v : violations_) {
        texts << QStringLiteral("slot %1: %2").arg(v.slot).arg(v.text);
    }
    return texts;
}

QList<QByteArray> EmulatedDriver::transfers(int slot, int pipe) const
{
    QList<QByteArray> list;
    for (const TraceEntry& e : trace_) {
        if (e.ok && e.slot == slot && e.pipe == pipe &&
            (e.kind == RequestKind::BulkRead || e.kind == RequestKind::BulkWrite)) {
            list.append(e.data);
        }
    }
    return list;
}

QByteArray EmulatedDriver::pipeBytes(int slot, int pipe) const
{
    QByteArray all;
    for (const TraceEntry& e : trace_) {
        if (e.ok && e.slot == slot && e.pipe == pipe &&
            (e.kind == RequestKind::BulkRead || e.kind == RequestKind::BulkWrite)) {
            all.append(e.data);
        }
    }
    return all;
}

int EmulatedDriver::count(RequestKind kind, int slot) const
{
    int n = 0;
    for (const TraceEntry& e : trace_) {
        if (e.kind == kind && (slot < 0 || e.slot == slot)) {
            ++n;
        }
    }
    return n;
}

} // namespace usb
