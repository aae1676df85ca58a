// TESSARON_BOARDS: which emulated boards the program finds. "none" attaches none; otherwise entries
// "slot[:option]..." separated by commas, e.g. "0:rev2,2:fullspeed:nofifo". "demo" (or an empty text): one
// board at slot 0, silicon revision 3, high speed, FIFO present.

#include "platform/usb/emulated_driver.h"

#include <set>

namespace usb {

namespace {

bool parseUnsigned(const QString& text, uint64_t limit, uint64_t& value)
{
    bool ok = false;
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        value = t.mid(2).toULongLong(&ok, 16);
    } else {
        value = t.toULongLong(&ok, 10);
    }
    return ok && value <= limit;
}

bool parseHex16(const QString& text, uint16_t& value)
{
    bool ok = false;
    QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        t = t.mid(2);
    }
    const uint v = t.toUInt(&ok, 16);
    if (!ok || t.isEmpty() || v > 0xFFFF) {
        return false;
    }
    value = static_cast<uint16_t>(v);
    return true;
}

bool applyOption(const QString& option, BoardOptions& options, QString& problem)
{
    const QString o = option.trimmed().toLower();
    if (o == QLatin1String("rev1")) {
        options.chip.revision = ChipRevision::Rev1;
    } else if (o == QLatin1String("rev2")) {
        options.chip.revision = ChipRevision::Rev2;
    } else if (o == QLatin1String("rev3")) {
        options.chip.revision = ChipRevision::Rev3;
    } else if (o == QLatin1String("nochip")) {
        options.chip.revision = ChipRevision::None;
    } else if (o == QLatin1String("highspeed")) {
        options.highSpeed = true;
    } else if (o == QLatin1String("fullspeed")) {
        options.highSpeed = false;
    } else if (o == QLatin1String("fifo")) {
        options.fifoPresent = true;
    } else if (o == QLatin1String("nofifo")) {
        options.fifoPresent = false;
    } else if (o == QLatin1String("ezusb")) {
        options.baseName = kDevKitBaseName;
    } else if (o == QLatin1String("resethigh")) {
        options.resetLineHighAtPowerOn = true;
    } else if (o.startsWith(QLatin1String("fw="))) {
        const QStringList parts = o.mid(3).split(QLatin1Char('.'));
        uint64_t major = 0;
        uint64_t minor = 0;
        if (parts.size() != 2 || !parseUnsigned(parts[0], 255, major) ||
            !parseUnsigned(parts[1], 255, minor)) {
            problem = QStringLiteral("firmware version \"%1\" is not MAJOR.MINOR (0-255 each)").arg(o.mid(3));
            return false;
        }
        options.firmwareMajor = static_cast<uint8_t>(major);
        options.firmwareMinor = static_cast<uint8_t>(minor);
    } else if (o.startsWith(QLatin1String("hostid="))) {
        uint64_t id = 0;
        if (!parseUnsigned(o.mid(7), 0xFFFFFFFFULL, id)) {
            problem = QStringLiteral("host identifier \"%1\" is not a 32-bit number").arg(o.mid(7));
            return false;
        }
        options.hostId = static_cast<uint32_t>(id);
    } else if (o.startsWith(QLatin1String("vid=")) || o.startsWith(QLatin1String("pid="))) {
        uint16_t id = 0;
        if (!parseHex16(o.mid(4), id)) {
            problem = QStringLiteral("\"%1\" is not a 16-bit hexadecimal identifier").arg(o.mid(4));
            return false;
        }
        (o.startsWith(QLatin1Char('v')) ? options.vendorId : options.productId) = id;
    } else {
        problem = QStringLiteral("unknown option \"%1\"").arg(option.trimmed());
        return false;
    }
    return true;
}

} // namespace

std::optional<std::vector<BoardEntry>> parseBoardsVariable(const QString& text, QString* error)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return std::vector<BoardEntry>{BoardEntry{}};
    }
    if (trimmed.compare(QLatin1String("demo"), Qt::CaseInsensitive) == 0) {
        return std::vector<BoardEntry>{BoardEntry{}};
    }
    if (trimmed.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0) {
        return std::vector<BoardEntry>{};
    }
    const auto fail = [&](const QString& message) -> std::optional<std::vector<BoardEntry>> {
        if (error != nullptr) {
            *error = QStringLiteral("\"%1\": %2").arg(text, message);
        }
        return std::nullopt;
    };
    std::vector<BoardEntry> entries;
    std::set<int> seenSlots;
    for (const QString& item : trimmed.split(QLatin1Char(','))) {
        const QStringList fields = item.split(QLatin1Char(':'));
        bool ok = false;
        const int slot = fields[0].trimmed().toInt(&ok);
        if (!ok || slot < 0 || slot >= kSlotCount) {
            return fail(QStringLiteral("\"%1\" does not start with a slot number 0-8").arg(item.trimmed()));
        }
        if (!seenSlots.insert(slot).second) {
            return fail(QStringLiteral("slot %1 is named twice").arg(slot));
        }
        BoardEntry entry;
        entry.slot = slot;
        for (qsizetype i = 1; i < fields.size(); ++i) {
            QString problem;
            if (!applyOption(fields[i], entry.options, problem)) {
                return fail(problem);
            }
        }
        entries.push_back(entry);
    }
    return entries;
}

} // namespace usb
