// The libusb tests run under umockdev-wrapper; elsewhere they are skipped (exit 77).

#include "other_copy.h"
#include "usbhost_support.h"

#include "platform/ui/test_doubles.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <sys/prctl.h>

namespace {

class ResetAndCheckDoubles : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { ui::testing::resetTestDoubles(); }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        for (const QString& problem : ui::testing::unplannedEvents())
            ADD_FAILURE() << problem.toStdString();
    }
};

} // namespace

int main(int argc, char** argv)
{
    // Every emulated ioctl ends with a sleep of one timer slack: keep it short.
    prctl(PR_SET_TIMERSLACK, 1UL);
    // Started again by a test as another running copy: it uses the test's bus, it does not make one.
    if (argc > 1 && std::strcmp(argv[1], usbhosttest::kOtherCopyOption) == 0)
        return usbhosttest::runOtherCopy(argc, argv);
    // The bus first: whether this runs under umockdev is decided once, and only a bus made before that
    // announces its boards.
    usbhosttest::bus();
    if (!usbmock::MockUsbBus::active()) {
        std::puts("not started under umockdev-wrapper: the libusb tests are skipped");
        return 77;
    }
    if (usbhosttest::context() == nullptr) {
        std::puts("libusb could not be started");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ui::testing::installTestDoubles();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetAndCheckDoubles);
    const int result = RUN_ALL_TESTS();
    ui::testing::shutdownTestDoubles();
    return result;
}
