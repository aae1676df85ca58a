#include "platform/usb/usb_driver.h"

#include "platform/usb/emulated_driver.h"

#include <QtGlobal>

namespace usb {

namespace {

DeviceDriver* installed = nullptr;

QString& kindText()
{
    static QString kind = QStringLiteral("Boards: emulated, not real.");
    return kind;
}

std::unique_ptr<EmulatedDriver> makeDefaultDriver()
{
    auto emulated = std::make_unique<EmulatedDriver>();
    // A running program polls the boards every 300 ms for hours: keep no trace unless asked to.
    emulated->setTraceEnabled(false);
    const QString text =
        qEnvironmentVariableIsSet("TESSARON_BOARDS") ? qEnvironmentVariable("TESSARON_BOARDS") : QString();
    if (realBoardsWanted()) {
        return emulated;
    }
    // A value that is not understood attaches no board; the board choice at start has said so.
    if (const auto entries = parseBoardsVariable(text))
        emulated->attachBoards(*entries);
    return emulated;
}

} // namespace

bool realBoardsWanted()
{
    return qEnvironmentVariable("TESSARON_BOARDS").trimmed().isEmpty();
}

QString boardKind()
{
    return kindText();
}

void setBoardKind(const QString& kind)
{
    kindText() = kind;
}

EmulatedDriver& defaultEmulatedDriver()
{
    static const std::unique_ptr<EmulatedDriver> emulated = makeDefaultDriver();
    return *emulated;
}

DeviceDriver& driver()
{
    if (installed != nullptr) {
        return *installed;
    }
    return defaultEmulatedDriver();
}

void setDriver(DeviceDriver* replacement)
{
    installed = replacement;
}

ScopedEmulatedDriver::ScopedEmulatedDriver()
    : emulated_(std::make_unique<EmulatedDriver>()), previous_(installed)
{
    installed = emulated_.get();
}

ScopedEmulatedDriver::~ScopedEmulatedDriver()
{
    installed = previous_;
}

} // namespace usb
