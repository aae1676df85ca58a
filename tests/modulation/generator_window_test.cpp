#include "modulation_fixture.h"

#include <QScreen>

namespace {

using modtest::readAll;
using modtest::writeFile;

class GeneratorWindow : public modtest::ModulationTest {
protected:
    GeneratorWindow() { standIn(modtest::kGmskProgram, "exit 0\n"); }
    QString output() const { return path(QStringLiteral("Kelmardir/Interleaved_data.txt")); }
    ui::testing::ScriptedDialogs& dialogs = ui::testing::dialogs();
    ui::testing::ScriptedMessageBoxes& boxes = ui::testing::messageBoxes();
};

TEST_F(GeneratorWindow, SaveOutputFileCopiesOnlyAWholeOutputAndNeverLosesTheUsersFile)
{
    frmQAMVG& window = openGenerator();
    const QString target = path(QStringLiteral("kept.txt"));
    writeFile(target, "the user's data");

    const QString title = QStringLiteral("Save Output File");

    // No output yet: the user's file stays.
    dialogs.answerSave(target);
    boxes.expect(QStringLiteral("The generator's output file does not exist:\r\n") + output() +
                     QStringLiteral("\r\nGenerate the data first."),
                 ui::vbOK);
    window.cmdGMSKSaveAs.click();
    EXPECT_EQ(readAll(target), "the user's data");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, title);
    EXPECT_EQ(dialogs.save.requests[0].title, QStringLiteral("Specify IQ Data File"));
    EXPECT_EQ(dialogs.save.requests[0].initialFolder, os::programFolder());

    // The output file itself as the target: refused, the output stays.
    writeFile(output(), "vectors\r\n");
    dialogs.answerSave(output());
    boxes.expect(QStringLiteral("The output file cannot be copied onto itself.\r\nChoose another file name."),
                 ui::vbOK);
    window.cmdGMSKSaveAs.click();
    EXPECT_EQ(readAll(output()), "vectors\r\n");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].title, title);

    dialogs.answerSave(target);
    window.cmdGMSKSaveAs.click();
    EXPECT_EQ(readAll(target), "vectors\r\n");
    EXPECT_EQ(boxes.shown.size(), 2u);

    const QString unreachable = path(QStringLiteral("no folder/x.txt"));
    dialogs.answerSave(unreachable);
    boxes.expect(QStringLiteral("The output file could not be copied to:\r\n") + unreachable, ui::vbOK);
    window.cmdGMSKSaveAs.click();
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[2].title, title);
}

struct Picker {
    const char* button;
    QString title;
    QString folder;   // below the program folder
    QString proposed; // below the program folder; empty: no name
};

TEST_F(GeneratorWindow, EveryFilePickerAsksWithItsTitleFolderAndProposal)
{
    const QString iq = QStringLiteral("Specify IQ Data File");
    const Picker pickers[] = {
        {"cmdQAMSaveAs", iq, QStringLiteral("Tovrindir/"), {}},
        {"cmdSaveAsQP", QStringLiteral("Specify Output Data File"), QStringLiteral("Quorlendir/"), {}},
        {"cmdPhaseSaveAsQP", QStringLiteral("Specify Phase Data File"), QStringLiteral("Quorlendir/"), {}},
        {"cmdAmpSaveAsQP", QStringLiteral("Specify Amplitude Data File"), QStringLiteral("Quorlendir/"), {}},
        {"cmdSaveAsGMSKE", iq, QStringLiteral("Kelmardir/"), {}},
        {"cmdSaveAsSDPSK", iq, QStringLiteral("Sovanedir/"), {}},
        {"cmdQPSaveAs", iq, QStringLiteral("Quorlendir/"), QStringLiteral("Quorlendir/Polar_mode.txt")},
        {"cmdGMSKSaveAs", iq, QString(), {}},
        {"cmdSDPSKSaveAs", iq, QStringLiteral("Sovanedir/"),
         QStringLiteral("Sovanedir/Interleaved_data.txt")},
    };
    frmQAMVG& window = openGenerator();
    for (const Picker& p : pickers) {
        dialogs.reset();
        dialogs.cancelSave();
        dynamic_cast<ui::CommandButton&>(*window.control(QLatin1String(p.button))).Click();
        ASSERT_EQ(dialogs.save.requests.size(), 1u) << p.button;
        const ui::FileDialogRequest& request = dialogs.save.requests[0];
        EXPECT_EQ(request.title, p.title) << p.button;
        EXPECT_EQ(request.filter, QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*")) << p.button;
        // "TXT" as the filter spells it.
        EXPECT_EQ(request.defaultExtension, QStringLiteral("txt")) << p.button;
        EXPECT_EQ(request.initialFolder, p.folder.isEmpty() ? os::programFolder() : path(p.folder))
            << p.button;
        EXPECT_EQ(request.fileName, p.proposed.isEmpty() ? QString() : path(p.proposed)) << p.button;
    }
}

TEST_F(GeneratorWindow, AnOutputNameInTheGeneratorsFolderIsKeptBare)
{
    frmQAMVG& window = openGenerator();
    const std::pair<QString, QString> picks[] = {
        {path(QStringLiteral("Kelmardir/edge.txt")), QStringLiteral("edge.txt")},
        {path(QStringLiteral("elsewhere.txt")), path(QStringLiteral("elsewhere.txt"))},
    };
    for (const auto& [picked, stored] : picks) {
        dialogs.answerSave(picked);
        window.cmdSaveAsGMSKE.click();
        EXPECT_EQ(window.txtOutputFileGMSKE.Text(), stored);
    }
    EXPECT_EQ(dialogs.save.requests[0].initialFolder, path(QStringLiteral("Kelmardir/")));
    EXPECT_EQ(dialogs.save.requests[1].initialFolder, path(QStringLiteral("Kelmardir/")));
    dialogs.cancelSave();
    window.cmdSaveAsGMSKE.click();
    EXPECT_EQ(window.txtOutputFileGMSKE.Text(), path(QStringLiteral("elsewhere.txt")));
    EXPECT_EQ(dialogs.save.requests[2].initialFolder, os::programFolder() + QLatin1Char('/'));
}

TEST_F(GeneratorWindow, SymbolFilesOpenInTheTextViewerAndAFailedWebLinkSaysSo)
{
    frmQAMVG& window = openGenerator();
    window.cmdViewSymolsHexQP.click();
    ASSERT_EQ(os::testing::shellRecorder().requests.size(), 1u);
    EXPECT_EQ(os::testing::shellRecorder().requests[0].kind, os::OpenKind::TextViewer);
    EXPECT_EQ(os::testing::shellRecorder().requests[0].target,
              path(QStringLiteral("Quorlendir/symbols.hex")));

    os::testing::shellRecorder().result = false;
    boxes.expect(QStringLiteral("No web browser found."), ui::vbOK);
    window.lblDDSWeb.Click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Couldn't connect to the Web!!!"));
}

TEST_F(GeneratorWindow, BothWindowsOpenWhollyOnTheScreen)
{
    for (QWidget* frame : {openGenerator().frameWidget(), openSimulator().frameWidget()}) {
        EXPECT_LE(frame->width(), 1600);
        EXPECT_LE(frame->height(), 1000 - 120); // below the main window's menu, tool and status bars
    }
}

} // namespace
