// The About window: its texts, the keyword entry into the run modes, the system-information tool and the
// web link.

#include "startup_fixture.h"

#include "board/evalbd.h"
#include "board/globals.h"
#include "platform/os/os_test_doubles.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"
#include "shell/frm_about.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

using namespace shelltest;

namespace {

constexpr int kCtrlAlt = 6;

// PATH pointing at a folder that holds (or not) a system-information tool.
class ScopedPath {
public:
    explicit ScopedPath(bool withTool) : previous_(qgetenv("PATH"))
    {
        if (withTool) {
            QFile tool(QDir(folder_.path()).filePath(QStringLiteral("hardinfo")));
            tool.open(QIODevice::WriteOnly);
            tool.write("#!/bin/sh\n");
            tool.close();
            tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        qputenv("PATH", folder_.path().toLocal8Bit());
    }
    ~ScopedPath() { qputenv("PATH", previous_); }
    QString folder() const { return folder_.path(); }

private:
    QByteArray previous_;
    QTemporaryDir folder_;
};

class About : public ShellTest {
protected:
    About() { RegisterShellWindows(); }
    frmAbout& about() { return ui::form<frmAbout>(); }
    void press(frmAbout& window, int keyCode, int shift) { window.Form_KeyDown(keyCode, shift); }
    void type(frmAbout& window, const QString& text)
    {
        for (QChar c : text) {
            int code = c.unicode();
            window.lblCountrySet_KeyPress(code);
        }
    }
};

TEST_F(About, TitleCountryAndRevision)
{
    frmAbout& window = about();
    EXPECT_EQ(window.Caption(), QStringLiteral("About ZR4470 Evaluation Software"));
    EXPECT_EQ(window.lblTitle.Caption(), QStringLiteral("ZR4470 Evaluation Software Version 1.0"));
    EXPECT_TRUE(window.lblCountrySet.Text().endsWith(QLatin1Char(' ')));
    EXPECT_EQ(frmAbout::titleText(QStringLiteral("T"), 2, 5, 0), QStringLiteral("T Version 2.5"));
    EXPECT_EQ(frmAbout::titleText(QStringLiteral("T"), 2, 5, 7), QStringLiteral("T Version 2.5.7"));
}

TEST_F(About, SiliconRevisionOfTheBoardObject)
{
    mainWindow();
    const std::pair<int16_t, const char*> cases[] = {{0, ""}, {2, "1 or 2"}, {3, "3"}, {4, "Unknown"}};
    for (const auto& [rev, text] : cases) {
        goEvalBd->setSiliconRev(rev);
        frmAbout& window = about();
        EXPECT_EQ(window.lblSiliconRev.Caption(), QString::fromLatin1(text)) << rev;
        window.Unload();
    }
}

TEST_F(About, KeywordFromCtrlAltLettersAndTheRegionBox)
{
    frmAbout& window = about();
    press(window, 'Q', kCtrlAlt);
    press(window, 'Z', 2);            // Ctrl alone: not part of the keyword
    press(window, 'Z', kCtrlAlt | 1); // with Shift too: neither
    EXPECT_EQ(window.keyword(), QStringLiteral("Q"));
    press(window, 17, kCtrlAlt); // Ctrl pressed again starts afresh
    EXPECT_EQ(window.keyword(), QString());
    press(window, 'Q', kCtrlAlt);
    type(window, QStringLiteral("uill"));
    press(window, 'F', kCtrlAlt);
    type(window, QStringLiteral("ern"));
    EXPECT_EQ(window.keyword(), QStringLiteral("QuillFern")) << "typed characters stay as typed";
    press(window, 18, kCtrlAlt);
    EXPECT_EQ(window.keyword(), QString());
}

TEST_F(About, KeysReachTheWindowBeforeItsControls)
{
    frmAbout& window = about();
    window.Show();
    window.lblCountrySet.SetFocus();
    // A key goes to the control with the focus, or to the window when none of its controls has it.
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus != nullptr && focus->window() == window.widget() ? focus : window.widget();
    sendKey(target, Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
    sendKey(target, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(window.keyword(), QStringLiteral("WE"));
}

TEST_F(About, OkHandsTheKeywordToTheRunModes)
{
    QStringList calls;
    RecordingForm other(QStringLiteral("frmOther"), calls);
    other.Load();
    struct Case {
        const char* keyword;
        int mode;
    };
    for (const Case& c : {Case{"MARBLEQUINTOSH", 3}, Case{"marblequintosh", 3}, Case{"WESPILX", 0}}) {
        giRunMode = 4;
        calls.clear();
        frmAbout& window = about();
        type(window, QString::fromLatin1(c.keyword));
        window.cmdOK.click();
        EXPECT_EQ(giRunMode, c.mode) << c.keyword;
        EXPECT_EQ(calls, QStringList{"frmOther.SetMode"}) << "applied to every loaded window";
        EXPECT_FALSE(ui::Forms::isLoaded(frmAbout::FormName));
    }
}

TEST_F(About, EnterInTheRegionBoxPressesOkWithoutJoiningTheKeyword)
{
    giRunMode = 0;
    frmAbout& window = about();
    press(window, 17, kCtrlAlt);
    for (QChar letter : QStringLiteral("MARBLEQUINTOSH"))
        press(window, letter.unicode(), kCtrlAlt);
    sendKey(window.lblCountrySet.widget(), Qt::Key_Return);
    EXPECT_EQ(giRunMode, 3) << "the Enter that pressed OK is not part of the word";
    EXPECT_FALSE(ui::Forms::isLoaded(frmAbout::FormName));
}

TEST_F(About, OkWithoutKeywordLeavesTheRunMode)
{
    QStringList calls;
    RecordingForm other(QStringLiteral("frmOther"), calls);
    other.Load();
    giRunMode = 2;
    about().cmdOK.click();
    EXPECT_EQ(giRunMode, 2);
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(About, SystemInformationToolWhereThereIsOne)
{
    {
        ScopedPath path(true);
        frmAbout& window = about();
        EXPECT_TRUE(window.cmdSysInfo.Enabled());
        window.cmdSysInfo.click();
        ASSERT_EQ(os::testing::shellRecorder().requests.size(), 1u);
        const os::OpenRequest& request = os::testing::shellRecorder().requests[0];
        EXPECT_EQ(request.kind, os::OpenKind::Program);
        EXPECT_EQ(request.target, QDir(path.folder()).filePath(QStringLiteral("hardinfo")));
        EXPECT_EQ(request.showCommand, 1);
        EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());

        // The tool is there but will not start: the user is told so, not left with silence.
        os::testing::shellRecorder().result = false;
        ui::testing::messageBoxes().answer(ui::vbOK);
        window.cmdSysInfo.click();
        ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
        EXPECT_EQ(ui::testing::messageBoxes().shown[0].prompt,
                  QStringLiteral("No viewer is installed that can show the system information."));
        EXPECT_EQ(ui::testing::messageBoxes().shown[0].title, QStringLiteral("No Viewer Installed"));
        EXPECT_EQ(ui::testing::messageBoxes().shown[0].buttons, ui::vbExclamation);
        ui::testing::messageBoxes().reset();
        os::testing::shellRecorder().result = true;
        window.Unload();
    }
    ScopedPath empty(false);
    EXPECT_FALSE(about().cmdSysInfo.Enabled());
    ui::testing::messageBoxes().answer(ui::vbOK);
    frmAbout::StartSysInfo();
    EXPECT_EQ(ui::testing::messageBoxes().prompts(),
              QStringList{"System Information Is Unavailable At This Time"});
}

TEST_F(About, WebLinkWithoutBrowserSaysSo)
{
    frmAbout& window = about();
    window.lblDDSWeb.Click();
    ASSERT_EQ(os::testing::shellRecorder().requests.size(), 1u);
    EXPECT_EQ(os::testing::shellRecorder().requests[0].kind, os::OpenKind::Url);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
    os::testing::shellRecorder().result = false;
    ui::testing::messageBoxes().answer(ui::vbOK);
    window.lblDDSWeb.Click();
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].prompt, QStringLiteral("No web browser found."));
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].title, QStringLiteral("Couldn't connect to the Web!!!"));
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].buttons, ui::vbCritical);
}

} // namespace
