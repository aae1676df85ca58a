#include "modulation_fixture.h"

#include <QApplication>
#include <QFrame>
#include <QScreen>
#include <QTabWidget>

#include <algorithm>
#include <vector>

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
    const std::pair<ui::CommandButton*, const char*> viewers[] = {
        {&window.cmdViewSymolsBinQP, "bin"},
        {&window.cmdViewSymolsDecQP, "dec"},
        {&window.cmdViewSymolsHexQP, "hex"},
    };
    for (const auto& [button, extension] : viewers) {
        os::testing::shellRecorder().requests.clear();
        os::testing::shellRecorder().result = true;
        button->click();
        const QString file = path(QStringLiteral("Quorlendir/symbols.") + QLatin1String(extension));
        ASSERT_EQ(os::testing::shellRecorder().requests.size(), 1u) << extension;
        EXPECT_EQ(os::testing::shellRecorder().requests[0].kind, os::OpenKind::TextViewer) << extension;
        EXPECT_EQ(os::testing::shellRecorder().requests[0].target, file) << extension;
        EXPECT_TRUE(boxes.shown.empty()) << extension;

        // Nothing on the computer shows text files: the user is told which file could not be shown.
        os::testing::shellRecorder().result = false;
        boxes.expect(
            QStringLiteral("No viewer is installed that can show %1.").arg(QDir::toNativeSeparators(file)),
            ui::vbOK);
        button->click();
        ASSERT_EQ(boxes.shown.size(), 1u) << extension;
        EXPECT_EQ(boxes.shown[0].title, QStringLiteral("No Viewer Installed")) << extension;
        EXPECT_EQ(boxes.shown[0].buttons, ui::vbExclamation) << extension;
        boxes.reset();
    }

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

// The middle of a widget's height, in its tab page's coordinates.
int middleIn(const QWidget* page, const ui::Control& control)
{
    const QWidget* widget = control.widget();
    return widget->mapTo(page, QPoint(0, widget->height() / 2)).y();
}

struct TabRows {
    int tab;
    std::vector<const char*> left;  // a field of each row of the left column, top to bottom
    std::vector<const char*> right; // the same for the right column, down to the debug frame
    const char* count;              // the vector count's label
};

class GeneratorTabLayout : public modtest::ModulationTest {};

TEST_F(GeneratorTabLayout, EveryTabsRowsAreEvenlySpacedAndTheCountBoxesWhole)
{
    for (const QString& program : {modtest::kQamProgram, modtest::kGmskProgram, modtest::kSdpskProgram})
        standIn(program, "exit 0\n");
    const TabRows tabs[] = {
        {frmQAMVG::kTabQam,
         {"txtNumSymbols", "lstQAMLevel", "lstFilterType", "txtFilterTAPs", "txtFilterCoefVal",
          "txtFilterUpsampleFact", "txtFiltROFact", "lstFilterWindowType", "txtKaiserWROF",
          "txtNumOfOutBits"},
         {"lblQAMOutputVects", "txtAttenuationVal", "lstQAMOutputDataFormat", "txtQAMVGOutputFile"},
         "lblQAMOutputVects"},
        {frmQAMVG::kTabGmsk,
         {"txtNumSymbolsGMSK", "lstModTypeGMSK", "txtFilterSpanValGMSK", "txtCoeficientResGMSK",
          "txtUpSamplingFactGMSK", "txtNormBWGMSK", "txtModIndexGMSK", "txtNumOfOutBitsGMSK"},
         {"lblNumOutVectsGMSK", "txtAttenuationGMSK", "txtOutputFileGMSKE", "lstOutputDataFormatGMSK"},
         "lblNumOutVectsGMSK"},
        {frmQAMVG::kTabSdpsk,
         {"txtNumSymbolsSDPSK", "lstFilterTypeSDPSK", "txtFilterTAPsSDPSK", "txtFilterCoefValSDPSK",
          "txtFilterUpsampleFactSDPSK", "txtFiltROFactSDPSK", "lstFilterWindowTypeSDPSK",
          "txtKaiserWROFSDPSK", "txtNumOfOutBitsSDPSK"},
         {"lblOutputVectsSDPSK", "txtAttenuationValSDPSK", "txtOutputFileSDPSK", "lstOutputDataFormatSDPSK"},
         "lblOutputVectsSDPSK"},
    };
    frmQAMVG& window = openGenerator();
    for (const TabRows& tab : tabs) {
        SCOPED_TRACE(tab.tab);
        window.sstTabs.setTab(tab.tab);
        QApplication::processEvents();
        const QWidget* page = window.sstTabs.page(tab.tab);
        ASSERT_NE(page, nullptr);
        for (const std::vector<const char*>* column : {&tab.left, &tab.right}) {
            std::vector<int> middles;
            for (const char* name : *column)
                middles.push_back(middleIn(page, *window.control(QLatin1String(name))));
            const int pitch = middles[1] - middles[0];
            EXPECT_GT(pitch, 15);
            for (size_t row = 1; row < middles.size(); ++row)
                EXPECT_NEAR(middles[row] - middles[row - 1], pitch, 2) << "above " << (*column)[row];
        }
        const auto* count = qobject_cast<const QFrame*>(window.control(QLatin1String(tab.count))->widget());
        ASSERT_NE(count, nullptr);
        EXPECT_EQ(count->frameShape(), QFrame::StyledPanel) << "a frame on all four sides";
        EXPECT_GE(count->height(), count->sizeHint().height()) << "not clipped";
        EXPECT_TRUE(page->rect().contains(QRect(count->mapTo(page, QPoint(0, 0)), count->size())));
    }
}

struct InstalledGenerators {
    std::vector<QString> programs;
    int firstTab; // the tab the window opens on
};

class GeneratorTabs : public modtest::ModulationTest {};

TEST_F(GeneratorTabs, TheWindowOpensOnTheFirstTabWhoseGeneratorIsInstalled)
{
    // The tabs: 0 QAM, 1 QAM (Polar, always switched off), 2 GMSK \ EDGE, 3 SDPSK.
    const InstalledGenerators cases[] = {
        {{modtest::kQamProgram}, 0},
        {{modtest::kGmskProgram}, 2},
        {{modtest::kSdpskProgram}, 3},
        {{modtest::kPolarProgram, modtest::kSdpskProgram}, 3},
        {{modtest::kPolarProgram, modtest::kGmskProgram}, 2},
        {{modtest::kGmskProgram, modtest::kSdpskProgram}, 2},
        {{modtest::kSdpskProgram, modtest::kQamProgram}, 0},
        {{modtest::kQamProgram, modtest::kPolarProgram, modtest::kGmskProgram, modtest::kSdpskProgram}, 0},
    };
    const QString all[] = {modtest::kQamProgram, modtest::kPolarProgram, modtest::kGmskProgram,
                           modtest::kSdpskProgram};
    for (const InstalledGenerators& installed : cases) {
        for (const QString& program : all)
            QFile::remove(path(program));
        QStringList names;
        for (const QString& program : installed.programs) {
            standIn(program, "exit 0\n");
            names << program;
        }
        SCOPED_TRACE(names.join(QLatin1String(", ")).toStdString());
        frmQAMVG& window = openGenerator();
        const ui::TabStrip& tabs = window.sstTabs;
        EXPECT_EQ(tabs.Tab(), installed.firstTab);
        EXPECT_TRUE(tabs.TabEnabled(tabs.Tab()));
        EXPECT_TRUE(tabs.TabVisible(tabs.Tab()));
        const auto* shown = qobject_cast<const QTabWidget*>(tabs.widget());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->currentIndex(), installed.firstTab) << "the tab the user sees";
        EXPECT_TRUE(shown->isTabEnabled(shown->currentIndex()));
        for (const auto& [program, tab] :
             {std::pair{modtest::kQamProgram, 0}, {modtest::kGmskProgram, 2}, {modtest::kSdpskProgram, 3}}) {
            const bool present = std::find(installed.programs.begin(), installed.programs.end(), program) !=
                                 installed.programs.end();
            EXPECT_EQ(tabs.TabEnabled(tab), present) << program.toStdString();
        }
        EXPECT_FALSE(tabs.TabVisible(1)) << "the polar QAM tab";
        closeWindows();
    }
}

} // namespace
