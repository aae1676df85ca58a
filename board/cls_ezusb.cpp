// clsEZUSB: creation and destruction, properties, the device list, enumeration and selection.

#include "board/cls_ezusb.h"

#include "board/cls_ezusb_version.h"
#include "board/message_sink.h"

namespace {

const QString kReadOnlyText = QStringLiteral("Sorry, this is a read only property!");
const QString kReadOnlyTitle = QStringLiteral("Can not set property value!");

// Firmware 0.3 brought the host identifier commands; older boards have nothing to release.
constexpr double kFirstVersionWithHostID = 0.3;

} // namespace

clsEZUSB::clsEZUSB() : baseName_(usb::kDefaultBaseName)
{
    RebuildDeviceNames();
    USBDriverInstalled();
}

clsEZUSB::~clsEZUSB()
{
    if (!releaseClaimOnDestruction_ || (driverName_.isEmpty() && !selected_)) {
        return;
    }
    // Give the board back to other running copies, but only a board that is still here and can keep a
    // host identifier. The version text is compared as a number: "0.10" counts as 0.1, below 0.3.
    if (!IsConnected()) {
        return;
    }
    const int16_t index = GetDeviceIndex(driverName_);
    if (index < 0) {
        return;
    }
    const std::optional<double> version = ezusbVersionNumber(GetFirmWareVersion(index), DecimalSepPriv());
    if (version && *version >= kFirstVersionWithHostID) {
        SetHostID(index, 0);
    }
}

void clsEZUSB::setDriverName(const QString&)
{
    boardmsg::MsgBox(kReadOnlyText, boardmsg::vbInformation, kReadOnlyTitle);
}

void clsEZUSB::setDeviceCount(int16_t)
{
    boardmsg::MsgBox(kReadOnlyText, boardmsg::vbInformation, kReadOnlyTitle);
}

void clsEZUSB::RebuildDeviceNames()
{
    for (int n = 0; n < kMaxDevices; ++n) {
        deviceNames_[n] = baseName_ + QLatin1Char('-') + QString::number(n);
        devicePaths_[n] = QStringLiteral("\\\\.\\") + deviceNames_[n];
    }
}

void clsEZUSB::UseEZUSBDriver()
{
    baseName_ = usb::kDevKitBaseName;
    RebuildDeviceNames();
}

bool clsEZUSB::USBDriverInstalled()
{
    driverIsInstalled_ = usb::driver().driverInstalled(baseName_);
    return driverIsInstalled_;
}

QString clsEZUSB::GetDriverName(int16_t index) const
{
    return ValidIndex(index) ? deviceList_[index] : QString();
}

int16_t clsEZUSB::GetDeviceIndex(const QString& name) const
{
    for (int16_t i = 0; i < deviceCount_; ++i) {
        if (deviceList_[i] == name) {
            return i;
        }
    }
    return -1;
}

int16_t clsEZUSB::GetDevices()
{
    usb::DeviceDriver& driver = usb::driver();
    int16_t count = 0;
    for (int n = 0; n < kMaxDevices; ++n) {
        const intptr_t handle = driver.open(devicePaths_[n]);
        if (handle == usb::kInvalidHandle) {
            continue;
        }
        // A device whose descriptor cannot be read is passed over; the boards after it are still found,
        // so that a selected board behind a faulty one does not look unplugged.
        const DescriptorIds ids = ReadDescriptorIds(handle);
        if (ids.ok && ids.product == productID_ && ids.vendor == vendorID_) {
            deviceList_[count] = deviceNames_[n];
            ++count;
        }
        driver.close(handle);
    }
    deviceCount_ = count;
    return count;
}

bool clsEZUSB::IsConnected()
{
    GetDevices();
    return !driverName_.isEmpty() && GetDeviceIndex(driverName_) >= 0;
}

// Selection claims the new board with the caller's host identifier and hands the previous board back (host
// identifier 0). The new name is kept even when the claim fails, so that the caller still talks to the
// board the user chose; the result 0 tells it that the claim is not in place.
int16_t clsEZUSB::SelectDevice(int16_t index, int32_t hostId, bool /*flag*/)
{
    const int16_t previous = GetDeviceIndex(driverName_);
    if (index < 0 || index > deviceCount_ - 1) {
        return 0;
    }
    driverName_ = deviceList_[index];
    selected_ = true;
    int16_t result = 1;

    const QString separator = DecimalSepPriv();
    const std::optional<double> version = ezusbVersionNumber(GetFirmWareVersion(index), separator);
    if (!version) {
        // The board took the version command but its reply could not be read: nothing can be claimed.
        return 0;
    }
    bool claimed = false;
    if (*version >= 0) {
        claimed = SetHostID(index, hostId) == 1;
        if (!claimed) {
            result = 0;
        }
    }
    if (*version < 0 || claimed) {
        if (previous != -1 && previous != index) {
            const std::optional<double> previousVersion =
                ezusbVersionNumber(GetFirmWareVersion(previous), separator);
            if (previousVersion && *previousVersion >= 0 && SetHostID(previous, 0) != 1) {
                result = 0;
            }
        }
    }
    return result;
}

QString clsEZUSB::DecimalSepPriv() const
{
    return ezusbDecimalSeparator();
}

int32_t clsEZUSB::BytesToLong(const uint8_t* mostSignificantFirst)
{
    const uint32_t value = (uint32_t{mostSignificantFirst[0]} << 24) |
                           (uint32_t{mostSignificantFirst[1]} << 16) |
                           (uint32_t{mostSignificantFirst[2]} << 8) | uint32_t{mostSignificantFirst[3]};
    return static_cast<int32_t>(value);
}

uint8_t clsEZUSB::GetByteOfValue(int32_t value, int byteNumber)
{
    if (byteNumber < 0 || byteNumber > 3) {
        return 0;
    }
    // Whole-number division rounding down, so negative values give their two's-complement bytes.
    return static_cast<uint8_t>((value >> (8 * byteNumber)) & 0xFF);
}
