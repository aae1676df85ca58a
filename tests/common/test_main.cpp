#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// Every test starts from clean doubles: no scripted answers left over, no recorded boxes. It ends with what
// it did not plan for (an unscripted message box, an unused answer, an onModal check that never ran) as
// failures of that test.
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
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ui::testing::installTestDoubles();
    // Test-end events reach the listeners newest first: the check runs before the result printer reports
    // the test, so its failures show under the test.
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetAndCheckDoubles);
    const int result = RUN_ALL_TESTS();
    // Forms go while the application object still exists.
    ui::testing::shutdownTestDoubles();
    return result;
}
