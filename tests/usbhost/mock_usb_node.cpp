#include "mock_usb_node.h"

#include "platform/usb/firmware_commands.h"

#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace usbmock {

namespace {

int pipeOf(uint8_t endpoint)
{
    for (int pipe = 0; pipe < usb::kPipeCount; ++pipe) {
        if (kEndpoints[pipe] == endpoint) {
            return pipe;
        }
    }
    return -1;
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

} // namespace usbmock
