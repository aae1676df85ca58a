// glib names a structure member "signals", which Qt defines as a keyword: glib's headers come first.
#include <umockdev.h>

#include "mock_usb_bus.h"

#include "platform/usb/firmware_commands.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

namespace usbmock {

namespace {

// The emulated board's pipes in descriptor order.
constexpr uint8_t kEndpoints[usb::kPipeCount] = {0x01, 0x81, 0x02, 0x04, 0x86, 0x88};

int pipeOf(uint8_t endpoint)
{
    for (int pipe = 0; pipe < usb::kPipeCount; ++pipe) {
        if (kEndpoints[pipe] == endpoint) {
            return pipe;
        }
    }
    return -1;
}

QByteArray descriptors(const usb::EmulatedBoard& board)
{
    QByteArray bytes(18, '\0');
    board.fillDeviceDescriptor(reinterpret_cast<uint8_t*>(bytes.data()));
    const int packet = board.options().highSpeed ? 512 : 64;
    const char config[] = {9, 2, static_cast<char>(9 + 9 + 7 * usb::kPipeCount), 0, 1, 1, 0, char(0x80), 50};
    const char interface[] = {9, 4, 0, 0, usb::kPipeCount, char(0xFF), 0, 0, 0};
    bytes.append(config, sizeof config);
    bytes.append(interface, sizeof interface);
    for (const uint8_t endpoint : kEndpoints) {
        const char record[] = {7,
                               5,
                               static_cast<char>(endpoint),
                               2,
                               static_cast<char>(packet & 0xFF),
                               static_cast<char>(packet >> 8),
                               0};
        bytes.append(record, sizeof record);
    }
    return bytes;
}

// The block an ioctl's pointer argument points at (owned by the argument; nullptr when unreadable).
UMockdevIoctlData* pointee(UMockdevIoctlData* arg, gsize size)
{
    GError* problem = nullptr;
    UMockdevIoctlData* block = umockdev_ioctl_data_resolve(arg, 0, size, &problem);
    g_clear_error(&problem);
    return block;
}

// The argument itself, for ioctls that pass a value (an address) instead of pointing at a structure.
guint64 argumentValue(UMockdevIoctlData* arg)
{
    guint64 value = 0;
    std::memcpy(&value, arg->data, std::min<size_t>(sizeof value, static_cast<size_t>(arg->data_len)));
    return value;
}

} // namespace

struct MockUsbBus::Testbed {
    UMockdevTestbed* bed = umockdev_testbed_new();
    ~Testbed() { g_object_unref(bed); }
};

struct MockUsbBus::Device {
    struct Urb {
        UMockdevIoctlData* data = nullptr; // the client's URB record, kept from its submit to its reap
        UMockdevIoctlClient* client = nullptr;
        int status = 0;
        int actual = 0;
    };

    int address = 0;
    QString syspath;
    QString node;
    std::unique_ptr<usb::EmulatedBoard> board;
    UMockdevIoctlBase* handler = nullptr;
    bool removed = false;
    bool served = false; // its ioctl handler is attached

    mutable std::mutex mutex;
    bool gone = false;
    std::set<UMockdevIoctlClient*> claimers;
    std::deque<Urb> pending; // IN URBs the board cannot answer yet (NAKed)
    std::deque<Urb> done;    // answered, waiting to be reaped
    int unplugCountdown = 0;
    std::set<uint8_t> stalls;
    std::map<uint8_t, std::deque<QByteArray>> endpointData; // answers waiting in an IN endpoint
    std::set<uint8_t> late;                                 // endpoints whose next answer comes late
    std::set<uint8_t> lateAfterReset;                       // ... and only after the next reset
    std::map<uint8_t, std::deque<QByteArray>> afterReset;   // answers the firmware sends after a reset
    std::map<uint8_t, int> reshape;                         // the next answer's length, by endpoint
    std::map<uint8_t, int> failures;                        // the next URB's error, by endpoint
    bool silent = false;
    bool failReset = false;
    bool waitingCopyAtNextReset = false;
    UMockdevIoctlClient* lastRefused = nullptr; // the open file last refused the interface
    BoardTraffic traffic;

    long ioctl(UMockdevIoctlClient* client, int& error);
    long submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg, int& error);
    void bulk(usbdevfs_urb& urb, uint8_t* buffer, Urb& record, bool& answered);
    // A URB failed on the bus after the board took it: what the firmware makes of it goes out all the same.
    void failedButTaken(const usbdevfs_urb& urb, int pipe, uint8_t* buffer, uint32_t length);
    void control(usbdevfs_urb& urb, uint8_t* buffer, Urb& record);
    Device() = default;
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    ~Device()
    {
        for (auto* queue : {&pending, &done}) {
            for (Urb& urb : *queue) {
                umockdev_ioctl_data_unref(urb.data);
            }
        }
        if (handler != nullptr) {
            g_object_unref(handler);
        }
    }

    void failPending()
    {
        for (Urb& urb : pending) {
            urb.status = -ESHUTDOWN;
            done.push_back(urb);
        }
        pending.clear();
    }
};

namespace {

gboolean onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self)
{
    auto* device = static_cast<MockUsbBus::Device*>(self);
    int error = 0;
    const long result = device->ioctl(client, error);
    umockdev_ioctl_client_complete(client, result, error);
    return TRUE;
}

void onClientVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self)
{
    auto* device = static_cast<MockUsbBus::Device*>(self);
    const std::lock_guard lock(device->mutex);
    device->claimers.erase(client);
    if (device->lastRefused == client) {
        device->lastRefused = nullptr;
    }
    for (auto* queue : {&device->pending, &device->done}) {
        for (auto it = queue->begin(); it != queue->end();) {
            if (it->client == client) {
                umockdev_ioctl_data_unref(it->data);
                it = queue->erase(it);
            } else {
                ++it;
            }
        }
    }
}

} // namespace

long MockUsbBus::Device::ioctl(UMockdevIoctlClient* client, int& error)
{
    const std::lock_guard lock(mutex);
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    const auto fail = [&](int code) {
        error = code;
        return -1L;
    };
    if (request == USBDEVFS_REAPURBNDELAY) {
        const auto it =
            std::find_if(done.begin(), done.end(), [&](const Urb& u) { return u.client == client; });
        if (it == done.end()) {
            return fail(gone ? ENODEV : EAGAIN);
        }
        auto* urb = reinterpret_cast<usbdevfs_urb*>(it->data->data);
        urb->status = it->status;
        urb->actual_length = it->actual;
        UMockdevIoctlData* slot = pointee(arg, sizeof(void*));
        if (slot == nullptr) {
            return fail(EFAULT);
        }
        umockdev_ioctl_data_set_ptr(slot, 0, it->data);
        umockdev_ioctl_data_unref(it->data);
        done.erase(it);
        return 0;
    }
    if (gone) {
        return fail(ENODEV);
    }
    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        const uint32_t caps = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                              USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
        UMockdevIoctlData* target = pointee(arg, sizeof caps);
        if (target == nullptr) {
            return fail(EFAULT);
        }
        std::memcpy(target->data, &caps, sizeof caps);
        return 0;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM:
        ++traffic.claimAttempts;
        if (!claimers.empty() && !claimers.count(client)) {
            lastRefused = client;
            return fail(EBUSY); // another open file holds the interface
        }
        claimers.insert(client);
        return 0;
    case USBDEVFS_RELEASEINTERFACE:
        if (claimers.erase(client) == 0) {
            return fail(EINVAL); // the kernel refuses a release by a file that holds no claim
        }
        return 0;
    case USBDEVFS_GETDRIVER:
    case USBDEVFS_IOCTL:
        return fail(ENODATA); // no kernel driver is bound
    case USBDEVFS_SETINTERFACE:
        return 0;
    case USBDEVFS_RESET:
        ++traffic.resets;
        if (std::any_of(claimers.begin(), claimers.end(),
                        [&](UMockdevIoctlClient* c) { return c != client; })) {
            ++traffic.resetsOverAClaim;
        }
        // The reset unbinds every open file from the interface: whoever held it has to claim it again, and a
        // copy waiting for it may be first.
        claimers.clear();
        if (waitingCopyAtNextReset && lastRefused != nullptr && lastRefused != client) {
            claimers.insert(lastRefused);
        }
        waitingCopyAtNextReset = false;
        if (failReset) {
            failReset = false;
            return fail(EIO);
        }
        endpointData = std::move(afterReset);
        afterReset.clear();
        late.clear();
        lateAfterReset.clear();
        return 0;
    case USBDEVFS_CLEAR_HALT: {
        uint32_t endpoint = 0;
        UMockdevIoctlData* target = pointee(arg, sizeof endpoint);
        if (target == nullptr) {
            return fail(EFAULT);
        }
        std::memcpy(&endpoint, target->data, sizeof endpoint);
        traffic.clearedHalts.push_back(static_cast<uint8_t>(endpoint));
        stalls.erase(static_cast<uint8_t>(endpoint));
        return 0;
    }
    case USBDEVFS_SUBMITURB:
        return submit(client, arg, error);
    case USBDEVFS_DISCARDURB: {
        const auto it = std::find_if(pending.begin(), pending.end(), [&](const Urb& u) {
            return u.client == client && u.data->client_addr == argumentValue(arg);
        });
        if (it == pending.end()) {
            return fail(EINVAL);
        }
        it->status = -ENOENT;
        done.push_back(*it);
        pending.erase(it);
        return 0;
    }
    default:
        return fail(ENOTTY);
    }
}

long MockUsbBus::Device::submit(UMockdevIoctlClient* client, UMockdevIoctlData* argument, int& error)
{
    UMockdevIoctlData* arg = pointee(argument, sizeof(usbdevfs_urb));
    if (arg == nullptr) {
        error = EFAULT;
        return -1;
    }
    auto* urb = reinterpret_cast<usbdevfs_urb*>(arg->data);
    GError* problem = nullptr;
    UMockdevIoctlData* buffer = nullptr;
    if (urb->buffer_length > 0) {
        buffer = umockdev_ioctl_data_resolve(arg, offsetof(usbdevfs_urb, buffer),
                                             static_cast<gsize>(urb->buffer_length), &problem);
        if (buffer == nullptr) {
            g_clear_error(&problem);
            error = EFAULT;
            return -1;
        }
    }
    uint8_t* bytes = buffer != nullptr ? buffer->data : nullptr;
    Urb record{umockdev_ioctl_data_ref(arg), client, 0, 0};
    bool answered = true;
    if (urb->type == USBDEVFS_URB_TYPE_BULK) {
        bulk(*urb, bytes, record, answered);
    } else if (urb->type == USBDEVFS_URB_TYPE_CONTROL) {
        control(*urb, bytes, record);
    } else {
        umockdev_ioctl_data_unref(record.data);
        error = EINVAL;
        return -1;
    }
    urb->status = record.status;
    urb->actual_length = record.actual;
    (answered ? done : pending).push_back(record);
    return 0;
}

void MockUsbBus::Device::bulk(usbdevfs_urb& urb, uint8_t* buffer, Urb& record, bool& answered)
{
    ++traffic.bulkUrbs;
    const int pipe = pipeOf(urb.endpoint);
    if (unplugCountdown > 0 && --unplugCountdown == 0) {
        // The board leaves while this URB is on the wire.
        gone = true;
        record.status = -ESHUTDOWN;
        failPending();
        return;
    }
    if (pipe < 0 || stalls.count(urb.endpoint)) {
        record.status = -EPIPE;
        return;
    }
    const auto length = static_cast<uint32_t>(urb.buffer_length);
    if (const auto failure = failures.find(urb.endpoint); failure != failures.end() && !silent) {
        record.status = -failure->second;
        failures.erase(failure);
        failedButTaken(urb, pipe, buffer, length);
        return;
    }
    if ((urb.endpoint & 0x80) == 0 && silent) {
        record.actual = static_cast<int>(length); // the endpoint takes it; the firmware never looks
        return;
    }
    if ((urb.endpoint & 0x80) == 0) {
        if (!board->bulkWrite(pipe, buffer, length)) {
            record.status = -EPIPE;
            return;
        }
        traffic.out[pipe].append(
            QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(length)));
        record.actual = static_cast<int>(length);
        return;
    }
    if (silent) {
        answered = false;
        return;
    }
    // What the firmware has for this request goes into the endpoint, behind what is still waiting there.
    std::deque<QByteArray>& waiting = endpointData[urb.endpoint];
    QByteArray fresh(static_cast<qsizetype>(length), '\0');
    const int64_t got = board->bulkRead(pipe, reinterpret_cast<uint8_t*>(fresh.data()), length);
    if (got >= 0) {
        fresh.truncate(static_cast<qsizetype>(got));
        if (const auto shaped = reshape.find(urb.endpoint); shaped != reshape.end()) {
            fresh = fresh.leftJustified(shaped->second, char(0x5A), true);
            reshape.erase(shaped);
        }
        if (lateAfterReset.erase(urb.endpoint) > 0) {
            afterReset[urb.endpoint].push_back(fresh);
            answered = false; // still being made when the host gives up
            return;
        }
        waiting.push_back(fresh);
    }
    if (waiting.empty() || late.erase(urb.endpoint) > 0) {
        answered = false; // nothing to send (or not yet): the board NAKs until the host gives up
        return;
    }
    const QByteArray answer = waiting.front();
    waiting.pop_front();
    if (answer.size() > static_cast<qsizetype>(length)) {
        record.status = -EOVERFLOW;
        return;
    }
    std::memcpy(buffer, answer.constData(), static_cast<size_t>(answer.size()));
    traffic.in[pipe].append(answer);
    record.actual = static_cast<int>(answer.size());
}

void MockUsbBus::Device::failedButTaken(const usbdevfs_urb& urb, int pipe, uint8_t* buffer, uint32_t length)
{
    if ((urb.endpoint & 0x80) == 0) {
        if (!board->bulkWrite(pipe, buffer, length)) {
            return;
        }
        traffic.out[pipe].append(
            QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(length)));
        const int replyLength =
            pipe == usb::firmware::kCommandPipe && length > 0 ? usb::firmware::replyLength(buffer[0]) : 0;
        if (replyLength == 0) {
            return;
        }
        // The firmware answers the command it took on its reply pipe.
        QByteArray reply(replyLength, '\0');
        if (board->bulkRead(usb::firmware::kReplyPipe, reinterpret_cast<uint8_t*>(reply.data()),
                            static_cast<uint32_t>(replyLength)) == replyLength) {
            endpointData[kEndpoints[usb::firmware::kReplyPipe]].push_back(reply);
        }
        return;
    }
    QByteArray answer(static_cast<qsizetype>(length), '\0');
    const int64_t got = board->bulkRead(pipe, reinterpret_cast<uint8_t*>(answer.data()), length);
    if (got >= 0) {
        answer.truncate(static_cast<qsizetype>(got));
        endpointData[urb.endpoint].push_back(answer);
    }
}

void MockUsbBus::Device::control(usbdevfs_urb& urb, uint8_t* buffer, Urb& record)
{
    ++traffic.controlUrbs;
    if (buffer == nullptr || urb.buffer_length < 8) {
        record.status = -EPIPE;
        return;
    }
    const uint8_t requestType = buffer[0];
    const uint8_t request = buffer[1];
    const int value = buffer[2] | (buffer[3] << 8);
    const int length = std::min(buffer[6] | (buffer[7] << 8), urb.buffer_length - 8);
    if ((requestType & 0x60) == 0x40) {
        ++traffic.vendorRequests;
        return; // the firmware takes vendor requests without data
    }
    if (requestType == 0x80 && request == 6 && (value >> 8) == 3) {
        const QByteArray descriptor = board->stringDescriptor(value & 0xFF);
        if (descriptor.isEmpty()) {
            record.status = -EPIPE;
            return;
        }
        const int size = std::min(length, static_cast<int>(descriptor.size()));
        std::memcpy(buffer + 8, descriptor.constData(), static_cast<size_t>(size));
        record.actual = size;
        return;
    }
    record.status = -EPIPE;
}

MockUsbBus::MockUsbBus() : testbed_(std::make_unique<Testbed>())
{
}

MockUsbBus::~MockUsbBus()
{
    unplugAll();
    for (auto& device : devices_) {
        if (device->served) {
            umockdev_testbed_detach_ioctl(testbed_->bed, device->node.toUtf8().constData(), nullptr);
        }
    }
    devices_.clear();
}

bool MockUsbBus::active()
{
    return umockdev_in_mock_environment();
}

int MockUsbBus::freeAddress()
{
    // USB addresses are 7 bits (libusb takes no other); a board gone long ago gives its address up.
    constexpr int kFirst = 2;
    constexpr int kLast = 127;
    for (int tries = kFirst; tries <= kLast; ++tries) {
        const int address = nextAddress_;
        nextAddress_ = nextAddress_ == kLast ? kFirst : nextAddress_ + 1;
        const auto old = std::find_if(devices_.begin(), devices_.end(),
                                      [&](const auto& d) { return d->address == address; });
        if (old == devices_.end()) {
            return address;
        }
        if ((*old)->removed) {
            if ((*old)->served) {
                umockdev_testbed_detach_ioctl(testbed_->bed, (*old)->node.toUtf8().constData(), nullptr);
            }
            devices_.erase(old);
            return address;
        }
    }
    throw std::runtime_error("no free USB address on the bus");
}

int MockUsbBus::plug(const usb::BoardOptions& options)
{
    return plugWith(options, true);
}

int MockUsbBus::plugRefused(const usb::BoardOptions& options)
{
    const int number = plugWith(options, false);
    openToEveryone();
    std::error_code ignored;
    std::filesystem::permissions(nodePath(*device(number)).constData(), std::filesystem::perms::none,
                                 ignored);
    return number;
}

QByteArray MockUsbBus::nodePath(const Device& device) const
{
    gchar* root = umockdev_testbed_get_root_dir(testbed_->bed);
    QByteArray path = QByteArray(root) + device.node.toUtf8();
    g_free(root);
    return path;
}

void MockUsbBus::serve(Device& device)
{
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed_->bed, device.node.toUtf8().constData(), device.handler,
                                       &error)) {
        const std::string text = error != nullptr ? error->message : "attach failed";
        g_clear_error(&error);
        throw std::runtime_error(text);
    }
    device.served = true;
}

int MockUsbBus::plugWith(const usb::BoardOptions& options, bool served)
{
    auto device = std::make_unique<Device>();
    device->address = freeAddress();
    device->board = std::make_unique<usb::EmulatedBoard>(0, options);
    const usb::EmulatedBoard& board = *device->board;
    const QString number = QStringLiteral("%1").arg(device->address, 3, 10, QLatin1Char('0'));
    device->node = QStringLiteral("/dev/bus/usb/001/") + number;
    const QString sysName = QStringLiteral("1-%1").arg(device->address);
    device->syspath = QStringLiteral("/sys/devices/pci0000:00/usb1/") + sysName;
    device->handler = umockdev_ioctl_base_new();
    g_signal_connect(device->handler, "handle-ioctl", G_CALLBACK(onIoctl), device.get());
    g_signal_connect(device->handler, "client-vanished", G_CALLBACK(onClientVanished), device.get());
    if (served) {
        serve(*device);
    }
    GError* error = nullptr;
    const QString ids =
        QStringLiteral("%1/%2/1").arg(board.options().vendorId, 0, 16).arg(board.options().productId, 0, 16);
    const QString record = QStringLiteral("P: /devices/pci0000:00/usb1/%1\n"
                                          "N: bus/usb/001/%2\n"
                                          "E: DEVNAME=/dev/bus/usb/001/%2\n"
                                          "E: SUBSYSTEM=usb\n"
                                          "E: DEVTYPE=usb_device\n"
                                          "E: BUSNUM=001\n"
                                          "E: DEVNUM=%2\n"
                                          "E: PRODUCT=%3\n"
                                          "A: busnum=1\\n\n"
                                          "A: devnum=%4\\n\n"
                                          "A: speed=%5\\n\n"
                                          "A: bConfigurationValue=1\\n\n"
                                          "A: idVendor=%6\\n\n"
                                          "A: idProduct=%7\\n\n"
                                          "A: dev=189:%8\\n\n"
                                          "H: descriptors=%9\n")
                               .arg(sysName, number, ids)
                               .arg(device->address)
                               .arg(board.options().highSpeed ? 480 : 12)
                               .arg(board.options().vendorId, 4, 16, QLatin1Char('0'))
                               .arg(board.options().productId, 4, 16, QLatin1Char('0'))
                               .arg(device->address - 1)
                               .arg(QString::fromLatin1(descriptors(board).toHex()));
    if (!umockdev_testbed_add_from_string(testbed_->bed, record.toUtf8().constData(), &error)) {
        const std::string text = error != nullptr ? error->message : "add failed";
        g_clear_error(&error);
        throw std::runtime_error(text);
    }
    const int address = device->address;
    devices_.push_back(std::move(device));
    return address;
}

MockUsbBus::Device* MockUsbBus::device(int plugNumber) const
{
    for (const auto& device : devices_) {
        if (device->address == plugNumber) {
            return device.get();
        }
    }
    throw std::out_of_range("no such plug number");
}

void MockUsbBus::remove(Device& device)
{
    if (device.removed) {
        return;
    }
    {
        const std::lock_guard lock(device.mutex);
        device.gone = true;
        device.failPending();
    }
    device.removed = true;
    const QByteArray syspath = device.syspath.toUtf8();
    umockdev_testbed_uevent(testbed_->bed, syspath.constData(), "remove");
    umockdev_testbed_remove_device(testbed_->bed, syspath.constData());
}

void MockUsbBus::unplug(int plugNumber)
{
    remove(*device(plugNumber));
}

void MockUsbBus::unplugAll()
{
    for (auto& device : devices_) {
        remove(*device);
    }
}

void MockUsbBus::unplugAtUrb(int plugNumber, int nth)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->unplugCountdown = nth;
}

void MockUsbBus::stallNext(int plugNumber, uint8_t endpoint)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->stalls.insert(endpoint);
}

void MockUsbBus::answerLate(int plugNumber, uint8_t endpoint)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->late.insert(endpoint);
}

void MockUsbBus::answerAfterReset(int plugNumber, uint8_t endpoint)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->lateAfterReset.insert(endpoint);
}

void MockUsbBus::reshapeNextAnswer(int plugNumber, uint8_t endpoint, int length)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->reshape[endpoint] = length;
}

void MockUsbBus::letAWaitingCopyInAtNextReset(int plugNumber)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->waitingCopyAtNextReset = true;
}

void MockUsbBus::failNextReset(int plugNumber)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->failReset = true;
}

void MockUsbBus::failNextTransfer(int plugNumber, uint8_t endpoint, int error)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->failures[endpoint] = error;
}

void MockUsbBus::setSilent(int plugNumber, bool silent)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->silent = silent;
}

void MockUsbBus::openToEveryone()
{
    // The bed stays usable for an ordinary user (a test may look as one): the folders and the ioctl sockets
    // behind the nodes.
    gchar* root = umockdev_testbed_get_root_dir(testbed_->bed);
    const std::filesystem::path base(root);
    g_free(root);
    std::error_code ignored;
    std::filesystem::permissions(base, std::filesystem::perms::all, ignored);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(base, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::all, ignored);
    }
}

void MockUsbBus::denyAccess(int plugNumber)
{
    gchar* root = umockdev_testbed_get_root_dir(testbed_->bed);
    const std::filesystem::path base(root);
    g_free(root);
    openToEveryone();
    std::error_code ignored;
    const QByteArray node = device(plugNumber)->node.toUtf8().mid(1);
    std::filesystem::permissions(base / node.constData(), std::filesystem::perms::none, ignored);
}

void MockUsbBus::allowAccess(int plugNumber)
{
    Device* d = device(plugNumber);
    if (!d->served) {
        serve(*d);
    }
    openToEveryone();
    std::error_code ignored;
    std::filesystem::permissions(nodePath(*d).constData(), std::filesystem::perms::all, ignored);
}

void MockUsbBus::forgetRefusedOpens()
{
    // The kept connections are filed under the descriptor of the refused open, -1, and closing that
    // descriptor through umockdev closes one of them (the system itself only answers EBADF).
    constexpr int kMostPerTest = 16;
    for (int i = 0; i < kMostPerTest; ++i) {
        ::close(-1);
    }
}

bool MockUsbBus::plugged(int plugNumber) const
{
    return !device(plugNumber)->removed;
}

int MockUsbBus::pluggedCount() const
{
    return static_cast<int>(
        std::count_if(devices_.begin(), devices_.end(), [](const auto& d) { return !d->removed; }));
}

usb::EmulatedBoard& MockUsbBus::board(int plugNumber)
{
    return *device(plugNumber)->board;
}

BoardTraffic MockUsbBus::traffic(int plugNumber) const
{
    const Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    return d->traffic;
}

void MockUsbBus::clearTraffic(int plugNumber)
{
    Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    d->traffic = BoardTraffic{};
}

int MockUsbBus::claims(int plugNumber) const
{
    const Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    return static_cast<int>(d->claimers.size());
}

int MockUsbBus::pendingUrbs(int plugNumber) const
{
    const Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    return static_cast<int>(d->pending.size());
}

int MockUsbBus::waitingAnswers(int plugNumber) const
{
    const Device* d = device(plugNumber);
    const std::lock_guard lock(d->mutex);
    int count = 0;
    for (const auto& [endpoint, answers] : d->endpointData) {
        count += static_cast<int>(answers.size());
    }
    return count;
}

QString MockUsbBus::node(int plugNumber) const
{
    return device(plugNumber)->node;
}

} // namespace usbmock
