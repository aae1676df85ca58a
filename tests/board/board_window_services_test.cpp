// The board module's hooks as boardui installs them over the program's windows: window calls by name, text
// boxes loaded on demand, and the board object's events bound to a window's methods with the window
// events' error rule.

#include "evalbd_fixture.h"

#include "board/system_clock.h"
#include "board/window_services.h"
#include "boardui/board_event_binding.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"

#include <QStringList>

#include <algorithm>

using namespace evalbdtest;

namespace {

// A window with the two clock boxes the board module reads and writes of the Control window.
class ClockWindow : public ui::Form {
public:
    explicit ClockWindow(const QString& name = QStringLiteral("frmControl")) : Form(name)
    {
        txtExternClk.Change = [this] { changes << txtExternClk.Text(); };
    }
    ui::TextBox txtSysClkTxt{this, "txtSysClkTxt"};
    ui::TextBox txtExternClk{this, "txtExternClk"};
    QStringList changes;
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

TEST(BoardWindowServices, SystemClockFromTheControlWindow)
{
    ClockWindow control;
    control.Load();
    control.txtSysClkTxt.setText(QStringLiteral("1000.5"));
    EXPECT_EQ(SysClockText(), QStringLiteral("1000.5"));
}

TEST(BoardWindowServices, TextBoxesByWindowAndBoxName)
{
    boardwin::WindowServices& windows = boardwin::windowServices();
    const QString name = QStringLiteral("frmBoardServicesClock");
    ui::Forms::registerFactory(name, [name] { return std::make_unique<ClockWindow>(name); });
    EXPECT_FALSE(windows.isLoaded(name));

    // Reading a box loads its window, as reading any control of a window does.
    EXPECT_EQ(windows.textBoxText(name, QStringLiteral("txtSysClkTxt")), QString());
    ASSERT_TRUE(windows.isLoaded(name));
    auto* window = dynamic_cast<ClockWindow*>(ui::Forms::find(name));
    ASSERT_NE(window, nullptr);

    struct Case {
        const char* form;
        const char* box;
        bool exists;
    };
    for (const Case c : {Case{"frmBoardServicesClock", "txtExternClk", true},
                         Case{"frmBoardServicesClock", "txtNoSuchBox", false},
                         Case{"frmNoSuchWindow", "txtExternClk", false}}) {
        SCOPED_TRACE(std::string(c.form) + "." + c.box);
        const QString form = QString::fromLatin1(c.form);
        const QString box = QString::fromLatin1(c.box);
        EXPECT_EQ(windows.setTextBoxText(form, box, QStringLiteral("61.44000")), c.exists);
        EXPECT_EQ(windows.textBoxText(form, box).has_value(), c.exists);
        EXPECT_FALSE(windows.isLoaded(QStringLiteral("frmNoSuchWindow")));
    }
    EXPECT_EQ(window->changes, QStringList({"61.44000"})) << "a set fires the box's Change";
    EXPECT_EQ(windows.textBoxText(name, QStringLiteral("txtExternClk")), QStringLiteral("61.44000"));
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
