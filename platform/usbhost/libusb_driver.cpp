#if TESSARON_HAVE_LIBUSB
#include "platform/usbhost/libusb_driver.h"

#include "platform/usb/firmware_commands.h"

#include <libusb.h>

#include <algorithm>
#include <cstring>

namespace usbhost {

namespace {

constexpr int kInterface = 0;
constexpr uint32_t kPipeRecordsStart = 16;
constexpr uint32_t kPipeRecordSize = 20;
constexpr uint32_t kPipeCountOffset = 12;
constexpr uint32_t kMaxTransferSize = 65536;

void putU16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void putU32(uint8_t* at, uint32_t value)
{
    putU16(at, value);
    putU16(at + 2, value >> 16);
}

uint32_t u32At(const uint8_t* at)
{
    return uint32_t{at[0]} | (uint32_t{at[1]} << 8) | (uint32_t{at[2]} << 16) | (uint32_t{at[3]} << 24);
}

// "\\.\Ezssp-3" or "Ezusb-3": the number 0-8, or -1 for any other name.
int slotOfPath(const QString& path)
{
    QStringView name(path);
    const QLatin1String prefix("\\\\.\\");
    if (name.startsWith(prefix)) {
        name = name.mid(prefix.size());
    }
    const qsizetype dash = name.lastIndexOf(QLatin1Char('-'));
    if (dash < 0 || dash + 2 != name.size()) {
        return -1;
    }
    const QStringView base = name.left(dash);
    if (base.compare(usb::kDefaultBaseName, Qt::CaseInsensitive) != 0 &&
        base.compare(usb::kDevKitBaseName, Qt::CaseInsensitive) != 0) {
        return -1;
    }
    const QChar digit = name.at(dash + 1);
    if (digit < QLatin1Char('0') || digit >= QLatin1Char(static_cast<char>('0' + kSlotCount))) {
        return -1;
    }
    return digit.unicode() - '0';
}

QString nodeOf(libusb_device* device)
{
    return QStringLiteral("/dev/bus/usb/%1/%2")
        .arg(libusb_get_bus_number(device), 3, 10, QLatin1Char('0'))
        .arg(libusb_get_device_address(device), 3, 10, QLatin1Char('0'));
}

bool contains(const std::vector<libusb_device*>& devices, const libusb_device* device)
{
    return std::find(devices.begin(), devices.end(), device) != devices.end();
}

// Counts nested refreshes: a permission report may run the event loop, whose USB watch opens boards again.
class Nesting {
public:
    explicit Nesting(int& depth) : depth_(depth) { ++depth_; }
    ~Nesting() { --depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    int& depth_;
};

} // namespace

LibusbDriver::LibusbDriver(std::vector<usb::UsbIds> served, libusb_context* context)
    : served_(std::move(served))
{
    if (context != nullptr) {
        context_ = context;
        return;
    }
    if (libusb_init(&context_) != 0) {
        context_ = nullptr;
        return;
    }
    ownContext_ = true;
}

LibusbDriver::~LibusbDriver()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        drop(slot);
    }
    for (const Refused& refused : refused_) {
        libusb_unref_device(refused.device);
    }
    refused_.clear();
    if (ownContext_) {
        libusb_exit(context_);
    }
}

QString LibusbDriver::permissionText(const QString& node)
{
    return QStringLiteral(
               "An evaluation board is plugged in, but this user may not open its device node %1.\n\n"
               "Grant access with scripts/install-udev-rules.sh (it installs the udev rules for the "
               "board's identifiers), then unplug the board and plug it in again.")
        .arg(node);
}

bool LibusbDriver::served(uint16_t vendor, uint16_t product) const
{
    return std::any_of(served_.begin(), served_.end(), [&](const usb::UsbIds& ids) {
        return ids.vendor == vendor && ids.product == product;
    });
}

void LibusbDriver::refresh()
{
    if (context_ == nullptr || refreshing_ > 0) {
        return;
    }
    std::vector<QString> denied;
    {
        const Nesting nesting(refreshing_);
        libusb_device** list = nullptr;
        const ssize_t count = libusb_get_device_list(context_, &list);
        if (count < 0) {
            return;
        }
        std::vector<libusb_device*> present;
        for (ssize_t i = 0; i < count; ++i) {
            libusb_device_descriptor descriptor{};
            if (libusb_get_device_descriptor(list[i], &descriptor) == 0 &&
                served(descriptor.idVendor, descriptor.idProduct)) {
                present.push_back(list[i]);
            }
        }
        // The order boards are numbered in when several appear at once: bus, then address.
        std::sort(present.begin(), present.end(), [](libusb_device* a, libusb_device* b) {
            const int busA = libusb_get_bus_number(a);
            const int busB = libusb_get_bus_number(b);
            return busA != busB ? busA < busB : libusb_get_device_address(a) < libusb_get_device_address(b);
        });
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (boards_[slot].device != nullptr && !contains(present, boards_[slot].device)) {
                drop(slot);
            }
        }
        // A refusal is not for good: the node may not have been there yet, or its udev rule came late.
        const Clock::time_point now = Clock::now();
        for (auto it = refused_.begin(); it != refused_.end();) {
            if (contains(present, it->device) && now - it->since < reopenDelay_) {
                ++it;
            } else {
                libusb_unref_device(it->device);
                it = refused_.erase(it);
            }
        }
        for (libusb_device* device : present) {
            if (!slots_.find(reinterpret_cast<SlotTable::Key>(device)) && !isRefused(device)) {
                adopt(device, denied);
            }
        }
        libusb_free_device_list(list, 1);
    }
    for (const QString& node : denied) {
        if (permissionReported_) {
            break;
        }
        permissionReported_ = true;
        if (reporter_) {
            reporter_(permissionText(node));
        }
    }
}

bool LibusbDriver::isRefused(const libusb_device* device) const
{
    return std::any_of(refused_.begin(), refused_.end(),
                       [&](const Refused& refused) { return refused.device == device; });
}

void LibusbDriver::adopt(libusb_device* device, std::vector<QString>& denied)
{
    const std::optional<int> slot = slots_.assign(reinterpret_cast<SlotTable::Key>(device));
    if (!slot) {
        return; // nine boards are served already
    }
    libusb_device_handle* handle = nullptr;
    const int opened = openHandle(device, handle);
    if (opened != 0) {
        slots_.release(*slot);
        refused_.push_back({libusb_ref_device(device), Clock::now()});
        if (opened == LIBUSB_ERROR_ACCESS) {
            denied.push_back(nodeOf(device));
        }
        return;
    }
    Board& board = boards_[*slot];
    board.device = libusb_ref_device(device);
    board.handle = handle;
    board.endpoints.clear();
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0) {
        config = nullptr;
        if (libusb_get_config_descriptor(device, 0, &config) != 0) {
            config = nullptr;
        }
    }
    if (config != nullptr) {
        if (config->bNumInterfaces > kInterface && config->interface[kInterface].num_altsetting > 0) {
            const libusb_interface_descriptor& setting = config->interface[kInterface].altsetting[0];
            for (int i = 0; i < setting.bNumEndpoints; ++i) {
                const libusb_endpoint_descriptor& endpoint = setting.endpoint[i];
                board.endpoints.push_back(
                    {endpoint.bEndpointAddress, endpoint.wMaxPacketSize, endpoint.bmAttributes});
            }
        }
        libusb_free_config_descriptor(config);
    }
}

int LibusbDriver::openHandle(libusb_device* device, libusb_device_handle*& handle)
{
    handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened != 0) {
        handle = nullptr;
        return opened;
    }
    libusb_set_auto_detach_kernel_driver(handle, 1);
    return 0;
}

int LibusbDriver::renewHandle(int slot)
{
    Board& board = boards_[slot];
    libusb_close(board.handle);
    return openHandle(board.device, board.handle);
}

void LibusbDriver::drop(int slot)
{
    Board& board = boards_[slot];
    if (board.device == nullptr) {
        return;
    }
    if (supervisor_.claimed(slot) && board.handle != nullptr) {
        libusb_release_interface(board.handle, kInterface);
    }
    supervisor_.forget(slot);
    libusb_close(board.handle);
    libusb_unref_device(board.device);
    board = Board{};
    slots_.release(slot);
}

bool LibusbDriver::failed(int slot, int error)
{
    if (error == LIBUSB_ERROR_NO_DEVICE && boards_[slot].device != nullptr) {
        // Unplugged: let go of it at once, and do not take it again while libusb still lists it.
        refused_.push_back({libusb_ref_device(boards_[slot].device), Clock::now()});
        drop(slot);
    } else if ((error == LIBUSB_ERROR_TIMEOUT || error == LIBUSB_ERROR_OVERFLOW) &&
               boards_[slot].device != nullptr) {
        // A timed-out answer may still come and would be taken for the answer to a later request; a reply
        // longer than asked for is one already.
        supervisor_.putOutOfStep(slot);
    }
    return false;
}

BoardLinkSupervisor::Outcome LibusbDriver::outcomeOf(int slot, int result)
{
    using Outcome = BoardLinkSupervisor::Outcome;
    switch (result) {
    case 0:
        return Outcome::Done;
    case LIBUSB_ERROR_BUSY:
        return Outcome::Refused;
    case LIBUSB_ERROR_TIMEOUT:
    case LIBUSB_ERROR_OVERFLOW:
        return Outcome::Unanswered;
    case LIBUSB_ERROR_NO_DEVICE:
        failed(slot, result);
        return Outcome::Gone;
    default:
        return Outcome::Failed;
    }
}

BoardLinkSupervisor::Outcome LibusbDriver::claimInterface(int slot)
{
    if (boards_[slot].handle == nullptr) {
        // Its handle was closed after a failed reset, and opening it again failed then.
        const int opened = openHandle(boards_[slot].device, boards_[slot].handle);
        if (opened != 0) {
            return outcomeOf(slot, opened);
        }
    }
    return outcomeOf(slot, libusb_claim_interface(boards_[slot].handle, kInterface));
}

void LibusbDriver::releaseInterface(int slot)
{
    libusb_release_interface(boards_[slot].handle, kInterface);
}

BoardLinkSupervisor::Outcome LibusbDriver::resetBoard(int slot)
{
    libusb_device_handle* handle = boards_[slot].handle;
    const int reset = libusb_reset_device(handle);
    if (reset != 0 && reset != LIBUSB_ERROR_NOT_FOUND && reset != LIBUSB_ERROR_NO_DEVICE) {
        // The reset failed (an I/O error, not an unplug): libusb gave the claimed interface up for it and did
        // not take it back, but its handle still counts it as claimed, so that a claim through the handle
        // would not reach the kernel and a release would be refused. A new handle claims it for real.
        const int reopened = renewHandle(slot);
        if (reopened == LIBUSB_ERROR_NO_DEVICE) {
            return outcomeOf(slot, reopened);
        }
        return BoardLinkSupervisor::Outcome::Failed;
    }
    if (reset != LIBUSB_ERROR_NOT_FOUND) {
        return outcomeOf(slot, reset);
    }
    // libusb gives the claimed interface up for the reset and claims it again afterwards. NOT_FOUND is a
    // board that left, or that claim refused: another copy waiting for the board took it in between.
    // One claim now tells which.
    const int claim = libusb_claim_interface(handle, kInterface);
    return outcomeOf(slot, claim == LIBUSB_ERROR_NOT_FOUND ? LIBUSB_ERROR_NO_DEVICE : claim);
}

const LibusbDriver::Endpoint* LibusbDriver::endpointOf(const Board& board, int pipe, bool in)
{
    if (pipe < 0 || board.endpoints.size() <= static_cast<size_t>(pipe)) {
        return nullptr;
    }
    const Endpoint& endpoint = board.endpoints[static_cast<size_t>(pipe)];
    const bool inEndpoint = (endpoint.address & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
    return inEndpoint == in ? &endpoint : nullptr;
}

BoardLinkSupervisor::Outcome LibusbDriver::proveBoard(int slot)
{
    using Outcome = BoardLinkSupervisor::Outcome;
    Board& board = boards_[slot];
    board.replies.forget();
    const Endpoint* command = endpointOf(board, usb::firmware::kCommandPipe, false);
    const Endpoint* reply = endpointOf(board, usb::firmware::kReplyPipe, true);
    if (command == nullptr || reply == nullptr) {
        return Outcome::Failed;
    }
    uint8_t ask[1] = {usb::firmware::GetFirmwareVersion};
    ReplyPairing::Version answer{};
    int moved = 0;
    int result =
        libusb_bulk_transfer(board.handle, command->address, ask, sizeof ask, &moved, probeTimeoutMs_);
    if (result == 0) {
        result = libusb_bulk_transfer(board.handle, reply->address, answer.data(),
                                      static_cast<int>(answer.size()), &moved, probeTimeoutMs_);
        if (result == LIBUSB_ERROR_PIPE) {
            libusb_clear_halt(board.handle, reply->address);
        }
    }
    if (result != 0) {
        return outcomeOf(slot, result) == Outcome::Gone ? Outcome::Gone : Outcome::Unanswered;
    }
    const std::optional<ReplyPairing::Version> known = board.replies.version();
    if (moved != static_cast<int>(answer.size()) || (known && *known != answer)) {
        return Outcome::Unanswered;
    }
    // A firmware that was still preparing a late version answer when the reset came sends it after the
    // reset, where it reads like the probe's own: the probe's answer proves the board back only when
    // nothing follows it.
    const Outcome drained = repliesDrained(slot);
    if (drained != Outcome::Done) {
        return drained;
    }
    boards_[slot].replies.setVersion(answer);
    return Outcome::Done;
}

BoardLinkSupervisor::Outcome LibusbDriver::repliesDrained(int slot)
{
    using Outcome = BoardLinkSupervisor::Outcome;
    for (const int pipe : {usb::firmware::kReplyPipe, usb::firmware::kReadBackPipe}) {
        // Only an IN pipe can hold an answer.
        const Endpoint* endpoint = endpointOf(boards_[slot], pipe, true);
        if (endpoint == nullptr) {
            continue;
        }
        std::array<uint8_t, 512> rest{};
        int moved = 0;
        const int result = libusb_bulk_transfer(boards_[slot].handle, endpoint->address, rest.data(),
                                                static_cast<int>(rest.size()), &moved, probeTimeoutMs_);
        if (result == LIBUSB_ERROR_TIMEOUT) {
            continue; // nothing waits there
        }
        if (result == LIBUSB_ERROR_PIPE) {
            // A halted pipe with nothing owed holds nothing either: it is cleared for the requests to come.
            libusb_clear_halt(boards_[slot].handle, endpoint->address);
            continue;
        }
        return outcomeOf(slot, result) == Outcome::Gone ? Outcome::Gone : Outcome::Unanswered;
    }
    return Outcome::Done;
}

LibusbDriver::Board* LibusbDriver::boardOf(const RequestHandle& request)
{
    if (request.slot < 0 || boards_[request.slot].device != request.device || request.device == nullptr) {
        return nullptr;
    }
    return &boards_[request.slot];
}

intptr_t LibusbDriver::open(const QString& path)
{
    const int slot = slotOfPath(path);
    if (slot < 0) {
        return usb::kInvalidHandle;
    }
    refresh();
    if (boards_[slot].device == nullptr) {
        return usb::kInvalidHandle;
    }
    const intptr_t handle = nextHandle_++;
    handles_[handle] = RequestHandle{slot, boards_[slot].device};
    return handle;
}

void LibusbDriver::close(intptr_t handle)
{
    handles_.erase(handle);
}

bool LibusbDriver::driverInstalled(const QString& baseName) const
{
    return usable() && (baseName.compare(usb::kDefaultBaseName, Qt::CaseInsensitive) == 0 ||
                        baseName.compare(usb::kDevKitBaseName, Qt::CaseInsensitive) == 0);
}

bool LibusbDriver::answering(const QString& path)
{
    const int slot = slotOfPath(path);
    if (slot < 0) {
        return false;
    }
    refresh();
    return boards_[slot].device != nullptr && supervisor_.inStep(slot);
}

bool LibusbDriver::heldByAnotherCopy(const QString& path)
{
    const int slot = slotOfPath(path);
    if (slot < 0) {
        return false;
    }
    refresh();
    return boards_[slot].device != nullptr &&
           supervisor_.state(slot) == BoardLinkSupervisor::State::HeldByAnother;
}

bool LibusbDriver::tryToTakeBoard(const QString& path)
{
    if (!heldByAnotherCopy(path)) {
        return false;
    }
    // As a request's admission: one try at the claim (a board that was out of step here before is probed
    // with it when its time has come).
    return supervisor_.admit(slotOfPath(path), false, true);
}

int LibusbDriver::boardCount() const
{
    return slots_.used();
}

int LibusbDriver::openBoardCount() const
{
    return static_cast<int>(
        std::count_if(boards_.begin(), boards_.end(), [](const Board& b) { return b.handle != nullptr; }));
}

int LibusbDriver::claimedBoardCount() const
{
    int claimed = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        claimed += supervisor_.claimed(slot) ? 1 : 0;
    }
    return claimed;
}

BoardLinkSupervisor::State LibusbDriver::linkState(const QString& path) const
{
    const int slot = slotOfPath(path);
    return slot < 0 ? BoardLinkSupervisor::State::InStep : supervisor_.state(slot);
}

bool LibusbDriver::ioControl(intptr_t handle, uint32_t code, const void* in, uint32_t inLen, void* out,
                             uint32_t outLen, uint32_t& bytesReturned)
{
    bytesReturned = 0;
    const auto it = handles_.find(handle);
    if (it == handles_.end()) {
        return false;
    }
    const Board* board = boardOf(it->second);
    if (board == nullptr) {
        return false; // the board left since the handle was opened
    }
    const int slot = it->second.slot;
    auto* bytes = static_cast<uint8_t*>(out);
    switch (code) {
    case usb::kRequestDeviceDescriptor: {
        libusb_device_descriptor d{};
        if (bytes == nullptr || outLen < LIBUSB_DT_DEVICE_SIZE ||
            libusb_get_device_descriptor(board->device, &d) != 0) {
            return false;
        }
        bytes[0] = d.bLength;
        bytes[1] = d.bDescriptorType;
        putU16(bytes + 2, d.bcdUSB);
        bytes[4] = d.bDeviceClass;
        bytes[5] = d.bDeviceSubClass;
        bytes[6] = d.bDeviceProtocol;
        bytes[7] = d.bMaxPacketSize0;
        putU16(bytes + 8, d.idVendor);
        putU16(bytes + 10, d.idProduct);
        putU16(bytes + 12, d.bcdDevice);
        bytes[14] = d.iManufacturer;
        bytes[15] = d.iProduct;
        bytes[16] = d.iSerialNumber;
        bytes[17] = d.bNumConfigurations;
        bytesReturned = LIBUSB_DT_DEVICE_SIZE;
        return true;
    }
    case usb::kRequestPipeInfo: {
        const auto pipes = static_cast<uint32_t>(board->endpoints.size());
        const uint32_t needed = kPipeRecordsStart + kPipeRecordSize * pipes;
        if (bytes == nullptr || outLen < needed) {
            return false;
        }
        const uint32_t size = std::min(outLen, usb::kPipeInfoSize);
        std::memset(bytes, 0, size);
        putU16(bytes, needed);
        putU32(bytes + kPipeCountOffset, pipes);
        for (uint32_t i = 0; i < pipes; ++i) {
            const Endpoint& endpoint = board->endpoints[i];
            uint8_t* record = bytes + kPipeRecordsStart + kPipeRecordSize * i;
            putU16(record, endpoint.maxPacket);
            record[2] = endpoint.address;
            putU32(record + 4, endpoint.attributes & LIBUSB_TRANSFER_TYPE_MASK);
            putU32(record + 8, i + 1);
            putU32(record + 12, kMaxTransferSize);
        }
        bytesReturned = size;
        return true;
    }
    case usb::kRequestStringDescriptor:
        return stringDescriptor(slot, in, inLen, bytes, outLen, bytesReturned);
    case usb::kRequestBulkRead:
    case usb::kRequestBulkWrite:
        return bulk(slot, code == usb::kRequestBulkRead, in, inLen, bytes, outLen, bytesReturned);
    case usb::kRequestVendor:
        return vendor(slot, in, inLen, bytes, outLen, bytesReturned);
    default:
        return false;
    }
}

bool LibusbDriver::bulk(int slot, bool read, const void* in, uint32_t inLen, uint8_t* data, uint32_t length,
                        uint32_t& bytesReturned)
{
    if (in == nullptr || inLen < 4 || (data == nullptr && length > 0) || length > kMaxTransferSize * 16) {
        return false;
    }
    const uint32_t pipe = u32At(static_cast<const uint8_t*>(in));
    const Board& board = boards_[slot];
    if (pipe >= board.endpoints.size()) {
        return false;
    }
    const Endpoint endpoint = board.endpoints[pipe];
    const bool inEndpoint = (endpoint.address & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
    if (inEndpoint != read) {
        return false;
    }
    const bool versionCommand =
        pipe == usb::firmware::kCommandPipe && data != nullptr &&
        length == static_cast<uint32_t>(usb::firmware::commandLength(usb::firmware::GetFirmwareVersion)) &&
        data[0] == usb::firmware::GetFirmwareVersion;
    if (!supervisor_.admit(slot, versionCommand, true)) {
        return false;
    }
    int moved = 0;
    const int result = libusb_bulk_transfer(boards_[slot].handle, endpoint.address, data,
                                            static_cast<int>(length), &moved, timeoutMs_);
    bytesReturned = moved > 0 ? static_cast<uint32_t>(moved) : 0;
    ReplyPairing& replies = boards_[slot].replies;
    if (result == 0 && !read) {
        replies.sent(pipe, data, length);
        return true;
    }
    if (result == 0) {
        if (!replies.recordReply(pipe, data, length, bytesReturned)) {
            // Cut short, or the answer to another request: the replies no longer pair with the requests.
            supervisor_.putOutOfStep(slot);
            return false;
        }
        return true;
    }
    if (result == LIBUSB_ERROR_PIPE) {
        libusb_clear_halt(boards_[slot].handle, endpoint.address);
    }
    if (result != LIBUSB_ERROR_NO_DEVICE) {
        // Whatever ended the transfer (a timeout, an I/O error, a halt), the firmware may have taken the
        // command, or still have the reply: an answer it sends later would be taken for a later request's.
        supervisor_.putOutOfStep(slot);
        return false;
    }
    return failed(slot, result);
}

bool LibusbDriver::vendor(int slot, const void* in, uint32_t inLen, uint8_t* data, uint32_t length,
                          uint32_t& bytesReturned)
{
    // The record: direction, request type, recipient, reserved, request, reserved, value, index (LE).
    if (in == nullptr || inLen < 10 || (data == nullptr && length > 0) || length > 0xFFFF) {
        return false;
    }
    const auto* record = static_cast<const uint8_t*>(in);
    const uint8_t requestType =
        static_cast<uint8_t>((record[0] != 0 ? LIBUSB_ENDPOINT_IN : LIBUSB_ENDPOINT_OUT) |
                             ((record[1] & 0x03) << 5) | (record[2] & 0x1F));
    const uint16_t value = static_cast<uint16_t>(record[6] | (record[7] << 8));
    const uint16_t index = static_cast<uint16_t>(record[8] | (record[9] << 8));
    if (!supervisor_.admit(slot, false, false)) {
        return false;
    }
    const int result = libusb_control_transfer(boards_[slot].handle, requestType, record[4], value, index,
                                               data, static_cast<uint16_t>(length), timeoutMs_);
    if (result < 0) {
        return failed(slot, result);
    }
    bytesReturned = static_cast<uint32_t>(result);
    return true;
}

bool LibusbDriver::stringDescriptor(int slot, const void* in, uint32_t inLen, uint8_t* data, uint32_t length,
                                    uint32_t& bytesReturned)
{
    if (in == nullptr || inLen < 3 || data == nullptr || length == 0) {
        return false;
    }
    const auto* request = static_cast<const uint8_t*>(in);
    const uint16_t language = static_cast<uint16_t>(request[1] | (request[2] << 8));
    if (!supervisor_.admit(slot, false, false)) {
        return false;
    }
    const int result = libusb_get_string_descriptor(boards_[slot].handle, request[0], language, data,
                                                    static_cast<int>(std::min<uint32_t>(length, 255)));
    if (result < 0) {
        return failed(slot, result);
    }
    bytesReturned = static_cast<uint32_t>(result);
    return true;
}

} // namespace usbhost
#endif
