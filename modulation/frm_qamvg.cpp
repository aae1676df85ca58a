#include "modulation/frm_qamvg.h"

#include "board/globals.h"
#include "board/utility.h"
#include "boardui/external_programs.h"
#include "boardui/form_names.h"
#include "modulation/frm_simulator_setup.h"
#include "modulation/generator_run.h"
#include "modulation/param_file_fields.h"
#include "platform/os/files.h"
#include "platform/os/paths.h"
#include "platform/os/program_folder.h"
#include "platform/os/shell_open.h"
#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "shell/app_info.h"
#include "widgets/common_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using mvg::Generator;

const QString kTextFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
const QString kCrLf = QStringLiteral("\r\n");
// A generator's output is some megabytes of text at most; a larger file is no output of ours.
constexpr qint64 kLargestOutputFile = 256LL * 1024 * 1024;
const QString kWebAddress = QStringLiteral("http://www.zr4470-evaluation.example/");

void fill(ui::ComboBox& list, const QStringList& entries)
{
    for (const QString& entry : entries)
        list.AddItem(entry);
    list.setListIndex(0);
}

const QStringList kQamLevels = {QStringLiteral("BPSK"),
                                QStringLiteral("QPSK (4 - Level QAM)"),
                                QStringLiteral("16 - Level QAM"),
                                QStringLiteral("64 - Level QAM"),
                                QStringLiteral("256 - Level QAM"),
                                QStringLiteral("1024 - Level QAM"),
                                QStringLiteral("4096 - Level QAM"),
                                QStringLiteral("16384 - Level QAM")};
const QStringList kFilterTypes = {QStringLiteral("Raised Cosine"),
                                  QStringLiteral("Square Root Raised Cosine")};
const QStringList kWindowTypes = {QStringLiteral("Rectangular"),
                                  QStringLiteral("Bartlett (Triangular)"),
                                  QStringLiteral("Hamming"),
                                  QStringLiteral("Hann"),
                                  QStringLiteral("3-Term Blackman-Harris"),
                                  QStringLiteral("4-Term Blackman-Harris"),
                                  QStringLiteral("Kaiser"),
                                  QStringLiteral("Rosenfeld")};
const QStringList kOutputFormats = {QStringLiteral("Interleaved I/Q"),
                                    QStringLiteral("I&Q"),
                                    QStringLiteral("I&Q Bits (2's Comp, LSB First)"),
                                    QStringLiteral("I&Q Bits (Offset Bin, LSB First)"),
                                    QStringLiteral("I&Q Bits (2's Comp, MSB First)"),
                                    QStringLiteral("I&Q Bits (Offset Bin, MSB First)")};
constexpr int kKaiserIndex = 6;

} // namespace

frmQAMVG::frmQAMVG() : ui::Form(FormName)
{
    setMdiChild(true);
    setCaption(QStringLiteral("Modulation Vector Generator"));
    setCaptions();
    fillLists();
    bindHandlers();
    bindFieldChecks();
    setInitialValues();
    // The paths are known before the window loads.
    IniVars();
    registerProc(formnames::UpdateQAMVects, [this] { UpdateQAMVects(); });
    registerProc(formnames::UpdateGEVects, [this] { UpdateGEVects(); });
    registerProc(formnames::UpdateSDPSKVects, [this] { UpdateSDPSKVects(); });
}

void frmQAMVG::IniVars()
{
    files_ = mvg::readGeneratorFiles(os::programFolder());
    debug_ = gsCmdLine.trimmed().toUpper() == QStringLiteral("-QUILLFERN");
}

void frmQAMVG::setCaptions()
{
    for (int tab = 0; tab < 6; ++tab) {
        static const char* const captions[] = {"QAM",   "QAM (Polar)", "GMSK \\ EDGE",
                                               "SDPSK", "Debug",       "About"};
        sstTabs.addTab(QLatin1String(captions[tab]));
    }
    for (ui::CommandButton* generate :
         {&cmdGenerateQAMData, &cmdGenerateQPData, &cmdGenerateGMSKData, &cmdGenSDPSKData})
        generate->setCaption(QStringLiteral("Generate Data"));
    for (ui::CommandButton* pick :
         {&cmdQAMSaveAs, &cmdSaveAsQP, &cmdPhaseSaveAsQP, &cmdAmpSaveAsQP, &cmdSaveAsGMSKE, &cmdSaveAsSDPSK})
        pick->setCaption(QStringLiteral("..."));
    for (ui::CommandButton* save : {&cmdQPSaveAs, &cmdGMSKSaveAs, &cmdSDPSKSaveAs})
        save->setCaption(QStringLiteral("Save Output File..."));
    for (ui::CommandButton* max : {&cmdMaxQAMSymbols, &Command8, &cmdMaxGESymbols, &cmdMaxSDPSKSymbols}) {
        max->setCaption(QStringLiteral("Max"));
        max->setToolTipText(QStringLiteral(
            "Sets this field equal to the maximum number of symbols that can be used for a 65K FIFO"));
    }
    cmdViewSymolsBinQP.setCaption(QStringLiteral("View Symbol File (Binary)"));
    cmdViewSymolsDecQP.setCaption(QStringLiteral("View Symbol File (Decimal)"));
    cmdViewSymolsHexQP.setCaption(QStringLiteral("View Symbol File (Hex)"));
    cmdShowFilterResponseQP.setCaption(QStringLiteral("Show Filter Response"));
    Command1.setCaption(QStringLiteral("Command1"));
    Command2.setCaption(QStringLiteral("Command2"));
    for (ui::Frame* frame : {&fraQAMDebugOptions, &fraQPDebugOptions, &fraGMSKDebugOptions, &fraSDPSKDebug})
        frame->setCaption(QStringLiteral("Debug Options"));
    for (ui::CheckBox* debug : {&chkDebugModeQAM, &chkDebugModeQP, &chkDebugModeGE, &chkDebugModeSDPSK})
        debug->setCaption(QStringLiteral("Debug Mode"));
    chkFullLengthDataGE.setCaption(QStringLiteral("Enable Full Length Output"));
    lblKaiserWROF.setCaption(QStringLiteral("Kaiser Window Value:"));
    lblKaiserWROFQP.setCaption(QStringLiteral("Kaiser Window Value:"));
    lblNormBWGMSK.setCaption(QStringLiteral("Normalized Bandwidth:"));
    lblModIndexGMSK.setCaption(QStringLiteral("Modulation Index:"));
    lblDDSWeb.setCaption(kWebAddress);
    lblMinWidth.setVisible(false);
    lblMinHeight.setVisible(false);
    txtConsoleOutput.setLocked(true);
    for (auto* markers : {&lblFieldErrQAM, &lblFieldErrQP, &lblFieldErrGE, &lblFieldErrSDPSK}) {
        for (ui::Label& marker : *markers) {
            marker.setCaption(QStringLiteral("!"));
            marker.setAlignment(ui::vbCenter);
            marker.setBackColor(0x0000FF);
            marker.setForeColor(0xFFFFFF);
            marker.setToolTipText(QStringLiteral("Invalid entry"));
            marker.setVisible(false);
        }
    }
}

void frmQAMVG::fillLists()
{
    fill(lstQAMLevel, kQamLevels);
    fill(lstQAMLevelQP, kQamLevels.mid(1));
    for (ui::ComboBox* list : {&lstFilterType, &lstFilterTypeQP, &lstFilterTypeSDPSK})
        fill(*list, kFilterTypes);
    for (ui::ComboBox* list : {&lstFilterWindowType, &lstFilterWindowTypeQP, &lstFilterWindowTypeSDPSK}) {
        fill(*list, kWindowTypes);
        list->setToolTipText(QStringLiteral("Rectangular = No Window"));
    }
    fill(lstModTypeGMSK, {QStringLiteral("GMSK"), QStringLiteral("EDGE")});
    for (ui::ComboBox* list : {&lstQAMOutputDataFormat, &lstOutputDataFormatGMSK, &lstOutputDataFormatSDPSK})
        fill(*list, kOutputFormats);
    // The lists start at their first entries: only "Kaiser" has a value to enter.
    txtKaiserWROF.setEnabled(false);
    lblKaiserWROF.setEnabled(false);
    txtKaiserWROFQP.setEnabled(false);
    lblKaiserWROFQP.setEnabled(false);
}

void frmQAMVG::setInitialValues()
{
    for (ui::TextBox* box : {&txtNumSymbols, &txtNumSymbolsQP, &txtNumSymbolsGMSK, &txtNumSymbolsSDPSK})
        box->setText(QStringLiteral("1000"));
    for (ui::TextBox* box : {&txtFilterTAPs, &txtFilterTAPsQP, &txtFilterTAPsSDPSK})
        box->setText(QStringLiteral("64"));
    for (ui::TextBox* box : {&txtFilterCoefVal, &txtFilterCoefValQP, &txtFilterCoefValSDPSK})
        box->setText(QStringLiteral("0"));
    txtCoeficientResGMSK.setText(QStringLiteral("18"));
    for (ui::TextBox* box : {&txtFilterUpsampleFact, &txtFilterUpsampleFactQP, &txtUpSamplingFactGMSK,
                             &txtFilterUpsampleFactSDPSK})
        box->setText(QStringLiteral("8"));
    for (ui::TextBox* box : {&txtFiltROFact, &txtFiltROFactQP, &txtFiltROFactSDPSK})
        box->setText(mvg::CleanParam(QStringLiteral("0.22")));
    for (ui::TextBox* box : {&txtKaiserWROF, &txtKaiserWROFQP, &txtKaiserWROFSDPSK})
        box->setText(QStringLiteral("1"));
    for (ui::TextBox* box :
         {&txtNumOfOutBits, &txtNumOfOutBitsQP, &txtNumOfOutBitsGMSK, &txtNumOfOutBitsSDPSK})
        box->setText(QStringLiteral("18"));
    for (ui::TextBox* box : {&txtGraphPoints, &txtGraphPointsQP, &txtGraphPointsGMSK, &txtGraphPointsSDPSK})
        box->setText(QStringLiteral("800"));
    for (ui::TextBox* box : {&txtAttenuationVal, &txtAttenuationValQP, &txtAttenuationValSDPSK})
        box->setText(mvg::CleanParam(QStringLiteral("0.5")));
    txtAttenuationGMSK.setText(QStringLiteral("0"));
    txtPhaseBitsQP.setText(QStringLiteral("8"));
    txtAmplitudeBitsQP.setText(QStringLiteral("8"));
    txtFilterSpanValGMSK.setText(QStringLiteral("5"));
    txtNormBWGMSK.setText(mvg::CleanParam(QStringLiteral("0.3")));
    txtModIndexGMSK.setText(mvg::CleanParam(QStringLiteral("0.5")));
}

void frmQAMVG::bindHandlers()
{
    cmdGenerateQAMData.Click = [this] { generate(Generator::Qam); };
    cmdGenerateQPData.Click = [this] { generate(Generator::Polar); };
    cmdGenerateGMSKData.Click = [this] { generate(Generator::Gmsk); };
    cmdGenSDPSKData.Click = [this] { generate(Generator::Sdpsk); };

    cmdQAMSaveAs.Click = [this] {
        chooseOutputName(txtQAMVGOutputFile, Generator::Qam, QStringLiteral("Specify IQ Data File"));
    };
    cmdSaveAsQP.Click = [this] {
        chooseOutputName(txtOutputFileQP, Generator::Polar, QStringLiteral("Specify Output Data File"));
    };
    cmdPhaseSaveAsQP.Click = [this] {
        chooseOutputName(txtPhaseOutputFileQP, Generator::Polar, QStringLiteral("Specify Phase Data File"));
    };
    cmdAmpSaveAsQP.Click = [this] {
        chooseOutputName(txtAMPOutputFileQP, Generator::Polar, QStringLiteral("Specify Amplitude Data File"));
    };
    cmdSaveAsGMSKE.Click = [this] {
        chooseOutputName(txtOutputFileGMSKE, Generator::Gmsk, QStringLiteral("Specify IQ Data File"));
    };
    cmdSaveAsSDPSK.Click = [this] {
        chooseOutputName(txtOutputFileSDPSK, Generator::Sdpsk, QStringLiteral("Specify IQ Data File"));
    };
    cmdQPSaveAs.Click = [this] { saveOutputFile(Generator::Polar, true); };
    cmdGMSKSaveAs.Click = [this] { saveOutputFile(Generator::Gmsk, false); };
    cmdSDPSKSaveAs.Click = [this] { saveOutputFile(Generator::Sdpsk, true); };

    cmdMaxQAMSymbols.Click = [this] { maxSymbols_Click(Generator::Qam, txtNumSymbols); };
    Command8.Click = [this] { maxSymbols_Click(Generator::Polar, txtNumSymbolsQP); };
    cmdMaxGESymbols.Click = [this] { maxSymbols_Click(Generator::Gmsk, txtNumSymbolsGMSK); };
    cmdMaxSDPSKSymbols.Click = [this] { maxSymbols_Click(Generator::Sdpsk, txtNumSymbolsSDPSK); };

    cmdViewSymolsBinQP.Click = [this] { viewSymbolFile(QStringLiteral("bin")); };
    cmdViewSymolsDecQP.Click = [this] { viewSymbolFile(QStringLiteral("dec")); };
    cmdViewSymolsHexQP.Click = [this] { viewSymbolFile(QStringLiteral("hex")); };

    lstFilterWindowType.Click = [this] {
        lstFilterWindowType_Click(lstFilterWindowType, txtKaiserWROF, lblKaiserWROF);
    };
    lstFilterWindowTypeQP.Click = [this] {
        lstFilterWindowType_Click(lstFilterWindowTypeQP, txtKaiserWROFQP, lblKaiserWROFQP);
    };
    ui::bind(lstModTypeGMSK.Click, this, &frmQAMVG::lstModTypeGMSK_Click);
    ui::bind(lblDDSWeb.Click, this, &frmQAMVG::lblDDSWeb_Click);
}

void frmQAMVG::Form_Load()
{
    sstTabs.setTabVisible(kTabAbout, false);
    sstTabs.setTabVisible(kTabDebug, debug_);

    struct TabParts {
        Generator generator;
        ui::Frame* debugFrame;
        ui::CheckBox* debugBox;
    };
    const TabParts tabs[] = {{Generator::Qam, &fraQAMDebugOptions, &chkDebugModeQAM},
                             {Generator::Polar, &fraQPDebugOptions, &chkDebugModeQP},
                             {Generator::Gmsk, &fraGMSKDebugOptions, &chkDebugModeGE},
                             {Generator::Sdpsk, &fraSDPSKDebug, &chkDebugModeSDPSK}};
    for (const TabParts& tab : tabs) {
        const int index = static_cast<int>(tab.generator);
        if (FileExists(files(tab.generator).program)) {
            readParamFile(tab.generator, files(tab.generator).parameterFile);
        } else {
            sstTabs.setTabEnabled(index, false);
            tab.debugFrame->setEnabled(false);
            tab.debugBox->setEnabled(false);
        }
        if (tab.generator == Generator::Polar) {
            sstTabs.setTabVisible(kTabPolar, false);
            fraQPDebugOptions.setVisible(false);
            chkDebugModeQP.setEnabled(false);
        }
    }
    for (int tab = 0; tab < sstTabs.Tabs(); ++tab) {
        if (sstTabs.TabEnabled(tab) && sstTabs.TabVisible(tab)) {
            sstTabs.setTab(tab);
            break;
        }
    }

    QString version = kApplicationTitle + QStringLiteral(" Version ") + QString::number(kVersionMajor) +
                      QLatin1Char('.') + QString::number(kVersionMinor);
    if (kVersionRevision != 0)
        version += QLatin1Char('.') + QString::number(kVersionRevision);
    lblTitle.setCaption(version);

    if (const frmSimulatorSetup* simulator = ui::loadedForm<frmSimulatorSetup>())
        ebSetSimFormsBusy(simulator->Busy);
}

void frmQAMVG::Form_QueryUnload(int& cancel, int unloadMode)
{
    // A program that hangs must not keep the window, nor the program, open: the user may stop it.
    if (Busy && !stopRunToClose(unloadMode)) {
        cancel = 1;
        return;
    }
    // The numerical runtime's plot windows are the programs of ours that still run; a simulator run in the
    // other window is left to finish.
    const frmSimulatorSetup* simulator = ui::loadedForm<frmSimulatorSetup>();
    if (!simulator || !simulator->Busy)
        ebCloseFigureWindows();
    for (Generator generator : mvg::kAllGenerators) {
        if (sstTabs.TabEnabled(static_cast<int>(generator)))
            writeParamFile(generator, files(generator).parameterFile);
    }
}

void frmQAMVG::lstFilterWindowType_Click(ui::ComboBox& list, ui::TextBox& kaiser, ui::Label& label)
{
    const bool kaiserWindow = list.ListIndex() == kKaiserIndex;
    kaiser.setEnabled(kaiserWindow);
    label.setEnabled(kaiserWindow);
}

void frmQAMVG::lstModTypeGMSK_Click()
{
    const bool gmsk = lstModTypeGMSK.ListIndex() == 0;
    txtFilterSpanValGMSK.setText(gmsk ? QStringLiteral("3") : QStringLiteral("5"));
    const uint32_t colour = gmsk ? ui::colors::vbWindowText : ui::colors::vbGrayText;
    for (ui::Control* control : std::initializer_list<ui::Control*>{&txtNormBWGMSK, &txtModIndexGMSK,
                                                                    &lblNormBWGMSK, &lblModIndexGMSK})
        control->setForeColor(colour);
}

void frmQAMVG::chooseOutputName(ui::TextBox& box, Generator generator, const QString& title)
{
    const QString generatorFolder = files(generator).folder;
    QString initialFolder = GetPathFromFileName(box.Text());
    if (initialFolder.isEmpty())
        initialFolder = generatorFolder;
    cCommonDialog dialog;
    QString fileName = box.Text();
    QString fileTitle;
    QString filter = kTextFilter;
    int32_t filterIndex = 1;
    int32_t flags = 0;
    if (!dialog.VBGetSaveFileName(fileName, fileTitle, true, filter, filterIndex, initialFolder, title,
                                  QStringLiteral("TXT"), static_cast<int32_t>(hWnd()), flags))
        return;
    box.setText(mvg::sameFolder(GetPathFromFileName(fileName), generatorFolder)
                    ? GetFileNameFromPath(fileName)
                    : fileName);
}

void frmQAMVG::saveOutputFile(Generator generator, bool proposeOutputFile)
{
    const QString source = files(generator).outputFile;
    cCommonDialog dialog;
    QString fileName = proposeOutputFile ? source : QString();
    QString fileTitle;
    QString filter = kTextFilter;
    int32_t filterIndex = 1;
    int32_t flags = 0;
    const QString initialFolder = proposeOutputFile ? GetPathFromFileName(source) : os::programFolder();
    if (!dialog.VBGetSaveFileName(fileName, fileTitle, true, filter, filterIndex, initialFolder,
                                  QStringLiteral("Specify IQ Data File"), QStringLiteral("TXT"),
                                  static_cast<int32_t>(hWnd()), flags))
        return;

    // The user's file is replaced only by a whole copy: nothing is deleted before the copy is made.
    const QString title = QStringLiteral("Save Output File");
    if (!FileExists(source)) {
        ui::MsgBox(QStringLiteral("The generator's output file does not exist:") + kCrLf + source + kCrLf +
                       QStringLiteral("Generate the data first."),
                   ui::vbExclamation, title);
        return;
    }
    if (QFileInfo(fileName).absoluteFilePath() == QFileInfo(source).absoluteFilePath() ||
        (QFileInfo::exists(fileName) &&
         QFileInfo(fileName).canonicalFilePath() == QFileInfo(source).canonicalFilePath())) {
        ui::MsgBox(QStringLiteral("The output file cannot be copied onto itself.") + kCrLf +
                       QStringLiteral("Choose another file name."),
                   ui::vbExclamation, title);
        return;
    }
    const std::optional<QByteArray> bytes = os::readWholeFile(source, kLargestOutputFile);
    if (!bytes) {
        ui::MsgBox(QStringLiteral("The generator's output file could not be read:") + kCrLf + source,
                   ui::vbExclamation, title);
        return;
    }
    if (!os::writeWholeFile(fileName, *bytes))
        ui::MsgBox(QStringLiteral("The output file could not be copied to:") + kCrLf + fileName,
                   ui::vbExclamation, title);
}

void frmQAMVG::maxSymbols_Click(Generator generator, ui::TextBox& symbols)
{
    const int32_t most = maxSymbols(generator);
    if (most == -1)
        return;
    symbols.setText(QString::number(most));
    symbols.SetFocus();
}

void frmQAMVG::viewSymbolFile(const QString& extension)
{
    const QString file = files(Generator::Polar).folder + QStringLiteral("symbols.") + extension;
    if (!ShellOpenEx(GetWindowsDir() + QStringLiteral("\\notepad.exe"), QString(), file, 1))
        TellNoViewer(QDir::toNativeSeparators(file));
}

void frmQAMVG::lblDDSWeb_Click()
{
    if (!ShellOpenEx(lblDDSWeb.Caption(), QString(), QString(), 1))
        ui::MsgBox(QStringLiteral("No web browser found."), ui::vbCritical,
                   QStringLiteral("Couldn't connect to the Web!!!"));
}

// ---- parameter files ----

bool frmQAMVG::writeParamFile(Generator generator, const QString& path)
{
    if (os::writeWholeFile(path, mvg::composeParamFile(mvg::paramValuesOf(*this, generator))))
        return true;
    ui::MsgBox(QStringLiteral("The parameter file could not be written:") + kCrLf + path, ui::vbExclamation,
               QStringLiteral("Error!"));
    return false;
}

void frmQAMVG::readParamFile(Generator generator, const QString& path)
{
    // A parameter file is a few dozen short lines; anything far larger is none of ours.
    const std::optional<QByteArray> bytes = os::readWholeFile(path, 64 * 1024);
    if (!bytes)
        return;
    mvg::showParamValues(*this, generator, mvg::parseParamFile(generator, *bytes, os::programFolder()));
}

// ---- runs ----

void frmQAMVG::appendToConsole(const QString& text)
{
    txtConsoleOutput.setText(txtConsoleOutput.Text() + text);
}

void frmQAMVG::generate(Generator generator)
{
    if (Busy)
        return;
    if (const frmSimulatorSetup* simulator = ui::loadedForm<frmSimulatorSetup>();
        simulator && simulator->Busy)
        return;
    Busy = true;
    ebSetSimFormsBusy(true);
    // A generator must never run on the parameters of an earlier run.
    if (writeParamFile(generator, files(generator).parameterFile) && FileExists(files(generator).program)) {
        mvg::GeneratorRun run(generator, files(generator), txtConsoleOutput, [this] { return IsLoaded(); });
        activeRun_ = &run;
        // Cleared however the wait ends, the end of the program included.
        const struct ActiveRun {
            mvg::GeneratorRun*& slot;
            ~ActiveRun() { slot = nullptr; }
        } active{activeRun_};
        run.run();
    }
    endRun(generator);
}

bool frmQAMVG::stopRunToClose(int unloadMode)
{
    // The main window's close is never refused: the run is stopped without a question.
    if (unloadMode != ui::vbFormMDIForm &&
        ui::MsgBox(QStringLiteral("A vector generator is running.") + kCrLf +
                       QStringLiteral("Do you want to stop it and close this window?"),
                   ui::vbYesNo | ui::vbQuestion, QStringLiteral("Busy")) != ui::vbYes)
        return false;
    if (activeRun_)
        activeRun_->stop();
    appendToConsole(kCrLf + QStringLiteral("Data Generation Stopped!"));
    txtConsoleOutput.setSelStart(static_cast<int>(txtConsoleOutput.Text().size()));
    return true;
}

void frmQAMVG::endRun(Generator generator)
{
    DoEventsN(2);
    Busy = false;
    ebSetSimFormsBusy(false);
    if (generator == Generator::Qam)
        cmdGenerateQAMData.setEnabled(true);
}
