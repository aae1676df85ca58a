// The node first: it brings glib's headers in before Qt's.
#include "mock_usb_node.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace usbmock {

namespace {

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

} // namespace

struct MockUsbBus::Testbed {
    UMockdevTestbed* bed = umockdev_testbed_new();
    ~Testbed() { g_object_unref(bed); }
};

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
