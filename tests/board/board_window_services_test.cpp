// The board module's hooks as boardui installs them over the program's windows: the table from the board
// module's notices to the windows' procedures, and the board object's events bound to a window's methods
// with the window events' error rule.

#include "evalbd_fixture.h"

#include "board/board_notices.h"
#include "board/window_services.h"
#include "boardui/board_event_binding.h"
#include "boardui/form_names.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"

#include <QStringList>

#include <algorithm>

using namespace evalbdtest;

namespace {

// A window that records the procedures the board module's notices run on it.
class NoticedWindow : public ui::Form {
public:
    explicit NoticedWindow(const QString& name) : Form(name)
    {
        for (const QString& procedure : {formnames::RefreshFormVals, formnames::SetMode})
            registerProc(procedure, [this, procedure] { log() << Name() + QLatin1Char('.') + procedure; });
    }
    static QStringList& log()
    {
        static QStringList calls;
        return calls;
    }
};

// The main window's part in a RAM transfer: its handlers as methods.
class TransferWatcher {
public:
    void EvalBd_RAMCOMBegin(int32_t words, int16_t, bool) { begun.push_back(words); }
    void EvalBd_RAMPacketXfered(int32_t wordsDone)
    {
        if (wordsDone > 0 && failOnPacket)
            throw rt::RuntimeError(6, QStringLiteral("Overflow"),
                                   QStringLiteral("mdiMain.EvalBd_RAMPacketXfered"));
    }
    void EvalBd_RAMCOMFinished(bool success) { finished.push_back(success); }
    std::vector<int32_t> begun;
    std::vector<bool> finished;
    bool failOnPacket = false;
};

TEST(BoardWindowServices, InstalledInEveryTestProgram)
{
    EXPECT_TRUE(boardwin::windowServicesInstalled());
}

TEST(BoardEventTable, EachNoticeRunsItsLoadedWindowsInOrderAndLoadsNone)
{
    const QStringList names = {formnames::frmDebug, formnames::frmQDUCRSR, formnames::frmProfile,
                               formnames::frmControl};
    for (const QString& name : names)
        ui::Forms::registerFactory(name, [name] { return std::make_unique<NoticedWindow>(name); });
    // Loaded in another order than the table's; the Control window stays closed.
    for (const QString& name : {formnames::frmDebug, formnames::frmQDUCRSR, formnames::frmProfile})
        ui::Forms::load(name);

    struct Case {
        const char* what;
        const BoardEvent<>& notice;
        QStringList calls;
    };
    const BoardNotices& notices = boardNotices();
    const Case cases[] = {
        {"a RAM file", notices.RAMFileLoaded, {"frmQDUCRSR.RefreshFormVals"}},
        {"the fill test",
         notices.FillTestRegistersSet,
         {"frmProfile.RefreshFormVals", "frmDebug.RefreshFormVals"}},
        {"a run mode",
         notices.RunModeChanged,
         {"frmDebug.SetMode", "frmQDUCRSR.SetMode", "frmProfile.SetMode"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NoticedWindow::log().clear();
        c.notice();
        EXPECT_EQ(NoticedWindow::log(), c.calls);
        EXPECT_FALSE(ui::Forms::isLoaded(formnames::frmControl));
    }
    for (const QString& name : names)
        if (ui::Form* form = ui::Forms::find(name))
            form->Unload();
}

class BoardEventBinding : public EvalBdTest {
protected:
    void SetUp() override { plug(); }
};

TEST_F(BoardEventBinding, AnErrorInABoundHandlerIsShownAndTheTransferGoesOn)
{
    TransferWatcher watcher;
    bindBoardEvent(bd->RAMCOMBegin, &watcher, &TransferWatcher::EvalBd_RAMCOMBegin);
    bindBoardEvent(bd->RAMPacketXfered, &watcher, &TransferWatcher::EvalBd_RAMPacketXfered);
    bindBoardEvent(bd->RAMCOMFinished, &watcher, &TransferWatcher::EvalBd_RAMCOMFinished);
    const std::vector<uint32_t> words(1024, 0x12345678U);

    ASSERT_TRUE(bd->USBSerialLoadRAM(std::span<const uint32_t>(words)));
    EXPECT_EQ(watcher.begun, (std::vector<int32_t>{1024}));
    EXPECT_EQ(watcher.finished, (std::vector<bool>{true}));
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
    const auto ramAfterFirstLoad = chip().ram();
    chip().fillRam(0);

    watcher.failOnPacket = true;
    const std::vector<int32_t> done = eventValues(EvalBdEventRecord::RAMPacketXfered);
    const auto failing = std::count_if(done.begin(), done.end(), [](int32_t words) { return words > 0; });
    ASSERT_GT(failing, 1);
    for (int k = 0; k < failing; ++k)
        ui::testing::messageBoxes().answer(ui::vbOK);
    EXPECT_TRUE(bd->USBSerialLoadRAM(std::span<const uint32_t>(words))) << "the error stops in the handler";
    EXPECT_EQ(chip().ram(), ramAfterFirstLoad) << "every packet went";
    EXPECT_EQ(watcher.finished, (std::vector<bool>{true, true}));
    const auto& shown = ui::testing::messageBoxes().shown;
    ASSERT_EQ(static_cast<int64_t>(shown.size()), failing) << "one box for every failing handler";
    EXPECT_EQ(shown.front().prompt, QStringLiteral("6 mdiMain.EvalBd_RAMPacketXfered Overflow"));
}

} // namespace
