#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// Every test starts from clean doubles: no scripted answers left over, no recorded boxes.
class ResetDoubles : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { ui::testing::resetTestDoubles(); }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ui::testing::installTestDoubles();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetDoubles);
    const int result = RUN_ALL_TESTS();
    // Forms go while the application object still exists.
    ui::testing::shutdownTestDoubles();
    return result;
}
