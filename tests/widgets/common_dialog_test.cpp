#include "platform/ui/colors.h"
#include "platform/ui/test_doubles.h"
#include "widgets/common_dialog.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using ui::testing::dialogs;

const QChar kNul(u'\0');
const QString kSetupFilter =
    QStringLiteral("Setup Files (*.stp)|*.stp|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

QString nulJoined(const QStringList& parts)
{
    return parts.join(kNul);
}

// The arguments of one open call, as a window keeps them in its variables.
struct OpenCall {
    QString fileName;
    QString fileTitle;
    bool fileMustExist = true;
    bool multiSelect = false;
    bool readOnly = false;
    bool hideReadOnly = false;
    QString filter = kSetupFilter;
    int32_t filterIndex = 1;
    QString initDir;
    QString title = QStringLiteral("Load Setup File");
    QString defaultExt = QStringLiteral("stp");
    int32_t owner = -1;
    int32_t flags = 0;

    bool run(cCommonDialog& dialog)
    {
        return dialog.VBGetOpenFileName(fileName, fileTitle, fileMustExist, multiSelect, readOnly,
                                        hideReadOnly, filter, filterIndex, initDir, title, defaultExt, owner,
                                        flags);
    }
};

struct SaveCall {
    QString fileName = QStringLiteral("Setup1.stp");
    QString fileTitle;
    bool overwritePrompt = true;
    QString filter = kSetupFilter;
    int32_t filterIndex = 1;
    QString initDir;
    QString title = QStringLiteral("Save Setup File");
    QString defaultExt = QStringLiteral("STP");
    int32_t owner = -1;
    int32_t flags = 0;

    bool run(cCommonDialog& dialog)
    {
        return dialog.VBGetSaveFileName(fileName, fileTitle, overwritePrompt, filter, filterIndex, initDir,
                                        title, defaultExt, owner, flags);
    }
};

TEST(CommonDialogFilters, ClassicFilterBecomesSixNulSeparatedPartsEndingInTwoNuls)
{
    EXPECT_EQ(cCommonDialog::DialogFilterText(kSetupFilter),
              nulJoined({"Setup Files (*.stp)", "*.stp", "Text Files (*.txt)", "*.txt", "All Files (*.*)",
                         "*.*", "", ""}));
    EXPECT_EQ(cCommonDialog::DialogFilterText(QStringLiteral("Data:*.dat")),
              nulJoined({"Data", "*.dat", "", ""}));
}

TEST(CommonDialogFilters, FilterPairWalksDescriptionAndPatternPairs)
{
    const QString text = cCommonDialog::DialogFilterText(kSetupFilter);
    struct Case {
        QString text;
        int n;
        QString pair;
    };
    const Case cases[] = {
        {text, 1, nulJoined({"Setup Files (*.stp)", "*.stp"})},
        {text, 2, nulJoined({"Text Files (*.txt)", "*.txt"})},
        {text, 3, nulJoined({"All Files (*.*)", "*.*"})},
        {text, 0, QString()},
        {QString(), 1, QString()},
        {QStringLiteral("no separators"), 1, QString()},
        {nulJoined({"Only a description", "*.x"}), 1, nulJoined({"Only a description", "*.x"})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cCommonDialog::FilterPair(c.text, c.n), c.pair) << c.n;
}

TEST(CommonDialogOpen, ChosenFileComesBackWithTitleFilterIndexAndFilterPair)
{
    dialogs().answerOpen(QStringLiteral("/data/setups/notes.txt"), 2);
    cCommonDialog dialog;
    OpenCall call;
    ASSERT_TRUE(call.run(dialog));

    ASSERT_EQ(dialogs().open.requests.size(), 1u);
    const ui::FileDialogRequest& sent = dialogs().open.requests[0];
    EXPECT_EQ(sent.filter, kSetupFilter);
    EXPECT_EQ(sent.filterIndex, 1);
    EXPECT_EQ(sent.title, QStringLiteral("Load Setup File"));
    EXPECT_TRUE(sent.initialFolder.isEmpty()) << "empty: where the last dialog left off";
    EXPECT_EQ(sent.ownerHwnd, 0u) << "owner -1 is none";

    EXPECT_EQ(dialog.APIReturn(), 1);
    EXPECT_EQ(dialog.ExtendedError(), 0);
    EXPECT_EQ(call.fileName, QStringLiteral("/data/setups/notes.txt"));
    EXPECT_EQ(call.fileTitle, QStringLiteral("notes.txt"));
    EXPECT_EQ(call.filterIndex, 2);
    EXPECT_EQ(call.filter, nulJoined({"Text Files (*.txt)", "*.txt"}));
}

TEST(CommonDialogOpen, CancelClearsTheOutputsAndLeavesFilterIndexMinusOne)
{
    dialogs().cancelOpen();
    cCommonDialog dialog;
    OpenCall call;
    call.fileName = QStringLiteral("old.stp");
    call.fileTitle = QStringLiteral("old");
    call.flags = filedlg::PathMustExist;
    EXPECT_FALSE(call.run(dialog));
    EXPECT_EQ(dialog.APIReturn(), 0);
    EXPECT_TRUE(call.fileName.isEmpty());
    EXPECT_TRUE(call.fileTitle.isEmpty());
    EXPECT_EQ(call.flags, 0);
    EXPECT_EQ(call.filterIndex, -1);
    EXPECT_TRUE(call.filter.isEmpty());
}

TEST(CommonDialogSave, CancelLeavesFilterIndexZeroAndTheFilterThatWasSent)
{
    dialogs().cancelSave();
    cCommonDialog dialog;
    SaveCall call;
    EXPECT_FALSE(call.run(dialog));
    EXPECT_TRUE(call.fileName.isEmpty());
    EXPECT_EQ(call.filterIndex, 0);
    EXPECT_EQ(call.flags, 0);
    EXPECT_EQ(call.filter, cCommonDialog::DialogFilterText(kSetupFilter));
}

TEST(CommonDialogOpen, ArgumentsAndCallerFlagsBecomeTheRequestAndHookBitsAreDropped)
{
    struct Case {
        bool mustExist, multiSelect, readOnly, hideReadOnly;
        int32_t callerFlags;
        bool wantMustExist, wantMulti, wantReadOnly, wantHide, wantPathMustExist;
    };
    const Case cases[] = {
        {true, false, false, false, 0, true, false, false, false, false},
        {false, true, true, true, 0, false, true, true, true, false},
        {false, false, false, false, filedlg::FileMustExist | filedlg::PathMustExist, true, false, false,
         false, true},
        {false, false, false, false, filedlg::EnableHook | filedlg::EnableTemplate, false, false, false,
         false, false},
    };
    for (const Case& c : cases) {
        dialogs().reset();
        dialogs().answerOpen(QStringLiteral("/tmp/a.stp"));
        cCommonDialog dialog;
        OpenCall call;
        call.fileMustExist = c.mustExist;
        call.multiSelect = c.multiSelect;
        call.readOnly = c.readOnly;
        call.hideReadOnly = c.hideReadOnly;
        call.flags = c.callerFlags;
        call.run(dialog);
        ASSERT_EQ(dialogs().open.requests.size(), 1u);
        const ui::FileDialogRequest& sent = dialogs().open.requests[0];
        EXPECT_EQ(sent.fileMustExist, c.wantMustExist);
        EXPECT_EQ(sent.multiSelect, c.wantMulti);
        EXPECT_EQ(sent.readOnlyChecked, c.wantReadOnly);
        EXPECT_EQ(sent.hideReadOnly, c.wantHide);
        EXPECT_EQ(sent.pathMustExist, c.wantPathMustExist);
        EXPECT_EQ(call.flags & (filedlg::EnableHook | filedlg::EnableTemplate), 0);
    }
}

TEST(CommonDialogOpen, ReadOnlyFollowsTheBoxAsTheUserLeftIt)
{
    for (const bool ticked : {true, false}) {
        dialogs().reset();
        ui::FileDialogResult answer;
        answer.accepted = true;
        answer.fileName = QStringLiteral("/tmp/a.stp");
        answer.filterIndex = 1;
        answer.readOnly = ticked;
        dialogs().open.answers.push_back(answer);
        cCommonDialog dialog;
        OpenCall call;
        call.readOnly = !ticked;
        ASSERT_TRUE(call.run(dialog));
        EXPECT_EQ(call.readOnly, ticked);
        EXPECT_EQ((call.flags & filedlg::ReadOnly) != 0, ticked);
    }
}

TEST(CommonDialogOpen, SeveralFilesGiveTheirFolderAndAllOfThemInSelectedFiles)
{
    ui::FileDialogResult answer;
    answer.accepted = true;
    answer.fileName = QStringLiteral("/data/ram/a.txt");
    answer.fileNames = {QStringLiteral("/data/ram/a.txt"), QStringLiteral("/data/ram/b.txt")};
    answer.filterIndex = 1;
    dialogs().open.answers.push_back(answer);
    cCommonDialog dialog;
    OpenCall call;
    call.multiSelect = true;
    ASSERT_TRUE(call.run(dialog));
    EXPECT_EQ(call.fileName, QStringLiteral("/data/ram"));
    EXPECT_EQ(dialog.SelectedFiles(), answer.fileNames);
}

TEST(CommonDialogSave, FlagsAskBeforeOverwritingAndAlwaysHideTheReadOnlyBox)
{
    for (const bool prompt : {true, false}) {
        dialogs().reset();
        dialogs().answerSave(QStringLiteral("/tmp/x.stp"));
        cCommonDialog dialog;
        SaveCall call;
        call.overwritePrompt = prompt;
        call.initDir = QStringLiteral("/data/setups");
        call.owner = 4242;
        ASSERT_TRUE(call.run(dialog));
        const ui::FileDialogRequest& sent = dialogs().save.requests.at(0);
        EXPECT_EQ(sent.overwritePrompt, prompt);
        EXPECT_TRUE(sent.hideReadOnly);
        EXPECT_EQ(sent.initialFolder, QStringLiteral("/data/setups"));
        EXPECT_EQ(sent.ownerHwnd, 4242u);
        EXPECT_EQ(sent.fileName, QStringLiteral("Setup1.stp")) << "the proposed name";
        EXPECT_EQ(call.filterIndex, 1);
        EXPECT_EQ(call.fileTitle, QStringLiteral("x.stp"));
    }
}

// A saved setup must be found again by the "*.stp" filter wherever file names are case-sensitive.
TEST(CommonDialogSave, DefaultExtensionTakesTheSpellingOfTheFiltersPattern)
{
    struct Case {
        QString defaultExt;
        QString filter;
        QString sent;
    };
    const Case cases[] = {
        {"STP", kSetupFilter, "stp"}, {".txt", kSetupFilter, "txt"}, {"Txt", "Text (*.TXT)|*.TXT", "TXT"},
        {"dat", kSetupFilter, "dat"}, {"", kSetupFilter, ""},        {"stp", "Several|*.txt;*.Stp", "Stp"},
    };
    for (const Case& c : cases) {
        dialogs().reset();
        dialogs().answerSave(QStringLiteral("/tmp/s.stp"));
        cCommonDialog dialog;
        SaveCall call;
        call.defaultExt = c.defaultExt;
        call.filter = c.filter;
        call.run(dialog);
        EXPECT_EQ(dialogs().save.requests.at(0).defaultExtension, c.sent)
            << c.defaultExt.toStdString() << " " << c.filter.toStdString();
    }
}

TEST(CommonDialogSave, ExtensionDifferentFlagComparesWithoutLetterCase)
{
    struct Case {
        QString chosen;
        bool different;
    };
    for (const Case& c : {Case{"/tmp/a.STP", false}, Case{"/tmp/a.stp", false}, Case{"/tmp/a.txt", true}}) {
        dialogs().reset();
        dialogs().answerSave(c.chosen);
        cCommonDialog dialog;
        SaveCall call;
        ASSERT_TRUE(call.run(dialog));
        EXPECT_EQ((call.flags & filedlg::ExtensionDifferent) != 0, c.different) << c.chosen.toStdString();
    }
}

TEST(CommonDialogFiles, FileTitleIsTheNamePartOfAPath)
{
    cCommonDialog dialog;
    struct Case {
        QString path;
        QString title;
    };
    const Case cases[] = {
        {"/data/setups/Setup1.stp", "Setup1.stp"},
        {"C:\\Eval\\RAMDump.txt", "RAMDump.txt"},
        {"plain.txt", "plain.txt"},
        {"/data/setups/", ""},
        {"", ""},
        {"/data/*.stp", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dialog.VBGetFileTitle(c.path), c.title) << c.path.toStdString();
}

TEST(CommonDialogColour, CustomColoursStartAsTheSystemColoursAndOnlyIndexes0To15Exist)
{
    cCommonDialog dialog;
    EXPECT_EQ(dialog.CustomColor(15), ui::resolveColour(ui::colors::vbButtonFace));
    EXPECT_EQ(dialog.CustomColor(16), kNoColour);
    EXPECT_EQ(dialog.CustomColor(-1), kNoColour);
    dialog.setCustomColor(3, 0x123456);
    dialog.setCustomColor(16, 0x654321);
    EXPECT_EQ(dialog.CustomColor(3), 0x123456u);
}

TEST(CommonDialogColour, ChosenColourAndCustomColoursComeBackAndCancelGivesMinusOne)
{
    cCommonDialog dialog;
    dialog.setCustomColor(0, 0x010203);
    ui::ColorDialogResult answer;
    answer.accepted = true;
    answer.color = 0x00FF00;
    answer.customColors.fill(0x0A0B0C);
    dialogs().color.answers.push_back(answer);

    uint32_t colour = 0x0000FF;
    ASSERT_TRUE(dialog.VBChooseColor(colour, false, true, false, -1));
    const ui::ColorDialogRequest& sent = dialogs().color.requests.at(0);
    EXPECT_EQ(sent.color, 0x0000FFu);
    EXPECT_FALSE(sent.anyColor);
    EXPECT_TRUE(sent.fullOpen);
    EXPECT_EQ(sent.customColors[0], 0x010203u);
    EXPECT_EQ(colour, 0x00FF00u);
    EXPECT_EQ(dialog.CustomColor(5), 0x0A0B0Cu);

    dialogs().color.answers.push_back(ui::ColorDialogResult{});
    EXPECT_FALSE(dialog.VBChooseColor(colour, true, false, true, -1));
    EXPECT_EQ(colour, kNoColour);
    EXPECT_EQ(dialog.CustomColor(5), 0x0A0B0Cu) << "a cancel keeps the table";
}

TEST(CommonDialogFont, ChosenFontIsWrittenBackAndCancelLeavesItAlone)
{
    cCommonDialog dialog;
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8);
    int32_t printerDC = -1;
    uint32_t colour = 0x0000FF;
    int32_t flags = fontdlg::EnableHook;

    dialogs().font.answers.push_back(ui::FontDialogResult{});
    EXPECT_FALSE(dialog.VBChooseFont(font, printerDC, -1, colour, 6, 20, flags));
    EXPECT_EQ(font.family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(flags, fontdlg::EnableHook) << "nothing written back on cancel";
    EXPECT_EQ(printerDC, 0);
    const ui::FontDialogRequest& sent = dialogs().font.requests.at(0);
    EXPECT_TRUE(sent.effects);
    EXPECT_EQ(sent.minSize, 6);
    EXPECT_EQ(sent.maxSize, 20);
    EXPECT_FALSE(sent.printerFonts);
    EXPECT_DOUBLE_EQ(sent.font.size, 8.0);

    ui::FontDialogResult answer;
    answer.accepted = true;
    answer.font = {QStringLiteral("DejaVu Sans"), 10.5, true, true, false, true, 700};
    answer.color = 0x00FF00;
    dialogs().font.answers.push_back(answer);
    ASSERT_TRUE(dialog.VBChooseFont(font, printerDC, -1, colour, 0, 0, flags));
    EXPECT_EQ(font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 10.5);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.strikeOut());
    EXPECT_EQ(colour, 0x00FF00u);
    EXPECT_EQ(flags & (fontdlg::EnableHook | fontdlg::EnableTemplate), 0);
    EXPECT_NE(flags & fontdlg::InitToLogFont, 0);
    EXPECT_NE(flags & fontdlg::PrinterFonts, 0) << "a printer context of 0 asks for printer fonts";
}

TEST(CommonDialogPrint, ArgumentsReachTheDialogAndTheChoicesComeBack)
{
    ui::PrintDialogResult answer;
    answer.accepted = true;
    answer.printRange = 1;
    answer.fromPage = 2;
    answer.toPage = 5;
    answer.printToFile = true;
    answer.settings.copies = 3;
    answer.settings.collate = true;
    answer.settings.orientation = 2;
    answer.settings.paperSize = 9;
    answer.settings.printQuality = 600;
    dialogs().printing.answers.push_back(answer);

    cCommonDialog dialog;
    std::shared_ptr<QPrinter> printer;
    int32_t range = 2, from = 1, to = 1, copies = 1;
    bool toFile = false, collate = false;
    ui::PrinterSettings target;
    ASSERT_TRUE(dialog.VBPrintDlg(printer, range, false, from, to, false, copies, false, false, toFile,
                                  collate, true, 77, &target));
    const ui::PrintDialogRequest& sent = dialogs().printing.requests.at(0);
    EXPECT_EQ(sent.printRange, 2);
    EXPECT_FALSE(sent.showPrintToFile);
    EXPECT_EQ(sent.maxPage, 65535);
    EXPECT_EQ(sent.ownerHwnd, 77u);
    EXPECT_EQ(range, 1);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 5);
    EXPECT_TRUE(toFile);
    EXPECT_EQ(copies, 3);
    EXPECT_TRUE(collate);
    EXPECT_EQ(target.orientation, 2);
    EXPECT_EQ(target.paperSize, 9);
    EXPECT_EQ(target.printQuality, 600);
    EXPECT_EQ(dialog.DeviceMode().copies, 3);

    int32_t untouched = 9;
    dialogs().printing.answers.push_back(ui::PrintDialogResult{}); // the user cancels
    EXPECT_FALSE(dialog.VBPrintDlg(printer, range, true, untouched, to, true, copies, true, true, toFile,
                                   collate, false, 0));
    EXPECT_EQ(untouched, 9);
    EXPECT_EQ(dialog.APIReturn(), 0);
}

TEST(CommonDialogPageSetup, MarginsAreScaledBothWaysAndNeverWrap)
{
    ui::PageSetupResult answer;
    answer.accepted = true;
    answer.margins = {1499, 2500, 750, 1000}; // thousandths of an inch
    answer.settings.paperSize = 1;
    answer.settings.orientation = 1;
    answer.settings.printQuality = 300;
    dialogs().pageSetupScript.answers.push_back(answer);

    cCommonDialog dialog;
    int32_t left = 1, right = std::numeric_limits<int32_t>::max(), top = 2, bottom = -3;
    int32_t paper = 0, orientation = 0, quality = 0;
    ASSERT_TRUE(dialog.VBPageSetupDlg(-1, false, true, false, false, left, 0, right, 0, top, 0, bottom, 0,
                                      paper, orientation, quality, 0));
    const ui::PageSetupRequest& sent = dialogs().pageSetupScript.requests.at(0);
    EXPECT_EQ(sent.units, 0);
    EXPECT_EQ(sent.margins.left, 1000);
    EXPECT_EQ(sent.margins.top, 2000);
    EXPECT_EQ(sent.margins.right, std::numeric_limits<int32_t>::max()) << "kept within 32 bits";
    EXPECT_EQ(sent.margins.bottom, -3000);
    EXPECT_TRUE(sent.disableOrientation);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(top, 3); // 2.5 rounds up
    EXPECT_EQ(right, 1);
    EXPECT_EQ(bottom, 1);
    EXPECT_EQ(paper, 1);
    EXPECT_EQ(quality, 300);

    dialogs().pageSetupScript.answers.push_back(ui::PageSetupResult{});
    int32_t mm = 20;
    EXPECT_FALSE(dialog.VBPageSetupDlg(-1, false, false, false, false, mm, 0, right, 0, top, 0, bottom, 0,
                                       paper, orientation, quality, 1));
    EXPECT_EQ(dialogs().pageSetupScript.requests.at(1).margins.left, 2000) << "hundredths of a millimetre";
    EXPECT_EQ(mm, 20);
}

} // namespace
