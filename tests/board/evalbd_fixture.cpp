#include "evalbd_fixture.h"

#include "common/emulated_usb.h"

namespace evalbdtest {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

QString reversed(const QString& text)
{
    QString out;
    for (qsizetype k = text.size() - 1; k >= 0; --k)
        out.append(text[k]);
    return out;
}

QString wireBits(const QByteArray& words)
{
    QString out;
    for (qsizetype k = 0; k + 1 < words.size(); k += 2) {
        EXPECT_EQ(words[k + 1], 0) << "second byte of a wire word";
        out.append(words[k] == 1 ? QLatin1Char('1') : words[k] == 0 ? QLatin1Char('0') : QLatin1Char('?'));
    }
    return out;
}

EvalBdTest::EvalBdTest()
{
    bd->setEventTap([this](const EvalBdEventRecord& r) { events.push_back(r); });
    goEvalBd = bd.get();
}

EvalBdTest::~EvalBdTest()
{
    goEvalBd = nullptr;
}

usb::EmulatedBoard& EvalBdTest::plug(const usb::BoardOptions& options)
{
    usb::EmulatedBoard& b = testusb::plugAndSelect(drv, *bd, options);
    clearRecords();
    return b;
}

void EvalBdTest::clearRecords()
{
    testusb::clearTraffic(drv);
    events.clear();
}

int EvalBdTest::bulkCount() const
{
    return drv.count(usb::RequestKind::BulkRead, 0) + drv.count(usb::RequestKind::BulkWrite, 0);
}

std::vector<EvalBdEventRecord::Kind> EvalBdTest::eventKinds() const
{
    std::vector<EvalBdEventRecord::Kind> kinds;
    for (const EvalBdEventRecord& r : events)
        kinds.push_back(r.kind);
    return kinds;
}

std::vector<int32_t> EvalBdTest::eventValues(EvalBdEventRecord::Kind kind) const
{
    std::vector<int32_t> values;
    for (const EvalBdEventRecord& r : events) {
        if (r.kind == kind)
            values.push_back(r.first);
    }
    return values;
}

void EvalBdTest::expectCleanProtocol() const
{
    EXPECT_TRUE(drv.violations().empty()) << drv.violationTexts().join(QLatin1Char('\n')).toStdString();
}

void EvalBdTest::setSerialMode(bool lsbFirst, bool threeWire)
{
    QString cfr1 = bits(0, 32);
    cfr1[31] = lsbFirst ? QLatin1Char('1') : QLatin1Char('0');
    cfr1[30] = threeWire ? QLatin1Char('1') : QLatin1Char('0');
    ASSERT_EQ(bd->USBSerialLoadPKT(0x00, cfr1), 0);
    ASSERT_EQ(chip().lsbFirst(), lsbFirst);
    ASSERT_EQ(chip().threeWire(), threeWire);
}

} // namespace evalbdtest
