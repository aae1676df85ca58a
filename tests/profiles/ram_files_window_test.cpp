// RAM data files through the windows: the segment window's "Load RAM" and "Save RAM" frames and the RAM
// test window's dump, against the emulated board's RAM.

#include "common/register_window_fixture.h"
#include "common/small_file_system.h"

#include "board/board_flags.h"
#include "profiles/frm_qducrsr.h"
#include "profiles/frm_ram_debug.h"
#include "profiles/register_windows.h"
#include "shell/startup.h"

#include "platform/os/os_test_doubles.h"
#include "platform/os/program_folder.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace regtest;

// A RAM word per line in each format, written out here as the files hold them.
QByteArray fileLine(uint32_t word, int format)
{
    switch (format) {
    case 0:
        return QByteArray::number(word, 2).rightJustified(32, '0');
    case 1:
        return QByteArray::number(word, 16).toUpper().rightJustified(8, '0');
    case 2:
        return " " + QByteArray::number(word) + " ";
    default: // two lines: upper and lower 16 bits, signed
        return QByteArray::number(static_cast<int16_t>(word >> 16)) + "\r\n" +
               QByteArray::number(static_cast<int16_t>(word & 0xFFFF));
    }
}

uint32_t wordAt(int address)
{
    return static_cast<uint32_t>(address) * 0x9E3779B1u;
}

QByteArray wholeRamFile(int format)
{
    QByteArray text;
    for (int a = 0; a < 1024; ++a)
        text += fileLine(wordAt(a), format) + "\r\n";
    return text;
}

class RamFileWindows : public RegisterWindowTest {
protected:
    RamFileWindows()
    {
        RegisterProfilesWindows();
        gbDlgShown = false;
    }
    ~RamFileWindows() override { gbDlgShown = false; }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QByteArray& text) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path(name);
    }
    static QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    frmQDUCRSR& openWithRamOn()
    {
        setOperatingMode(0, true);
        setPendingField(frmQDUCRSR::kRAMEnable, 1);
        bd().SetRegMapBitValue(1, 0x00, 31, 1);
        frmQDUCRSR& w = ui::form<frmQDUCRSR>();
        w.Show();
        return w;
    }
    // Port A bytes sent to the board since the traffic was last cleared.
    QList<int> portASends() const
    {
        QList<int> out;
        for (const QByteArray& packet : pipeWrites(0))
            if (packet.size() == 2 && packet[0] == 1)
                out << static_cast<uint8_t>(packet[1]);
        return out;
    }
    QStringList prompts() const { return ui::testing::messageBoxes().prompts(); }
    // The next message box must say `text`; OK answers it.
    static void expectBox(const char* text) { ui::testing::messageBoxes().expect(QString::fromUtf8(text)); }
    // Title and icon of the last message box.
    static void expectLastBox(const QString& title, int icon)
    {
        ASSERT_FALSE(ui::testing::messageBoxes().shown.empty());
        const ui::testing::MessageBoxRecord& box = ui::testing::messageBoxes().shown.back();
        EXPECT_EQ(box.title, title);
        EXPECT_EQ(box.buttons & 0x70, icon);
    }
    QTemporaryDir dir;
};

TEST_F(RamFileWindows, FillFromEachFormatThenSaveGivesTheSameFile)
{
    plugBoard();
    frmQDUCRSR& w = openWithRamOn();
    for (int format = 0; format < 4; ++format) {
        SCOPED_TRACE(format);
        chip().fillRam(0);
        const qsizetype before = prompts().size();
        w.txtQDRAMFile.setText(write(QStringLiteral("in%1.txt").arg(format), wholeRamFile(format)));
        w.cmbLoadOptions.setListIndex(format);
        ASSERT_TRUE(w.cmdLoadRAMFile.Enabled());
        expectBox("The RAM data file was loaded successfully!");
        w.cmdLoadRAMFile.click();
        ASSERT_EQ(prompts().size(), before + 1);
        expectLastBox(QStringLiteral("RAM Load Successfull"), ui::vbInformation);
        EXPECT_EQ(chip().ramWord(0), wordAt(0));
        EXPECT_EQ(chip().ramWord(1023), wordAt(1023));
        if (format == 3)
            continue; // the signed dump is one line per word: it does not read back as pairs
        const QString saved = path(QStringLiteral("out%1.txt").arg(format));
        w.txtRAMSaveFile.setText(saved);
        w.cmbDumpDataFormat.setListIndex(format);
        EXPECT_FALSE(w.cmdViewSavedFile.Enabled());
        expectBox("RAM Opperaiton Successful!");
        w.cmdSaveRAMFile.click();
        ASSERT_EQ(prompts().size(), before + 2);
        expectLastBox(ui::applicationTitle(), ui::vbInformation);
        EXPECT_EQ(read(saved), wholeRamFile(format));
        EXPECT_TRUE(w.cmdViewSavedFile.Enabled()) << "the saved file exists now";
    }
    w.cmdViewSavedFile.click();
    ASSERT_EQ(os::testing::shellRecorder().requests.size(), 1u);
    EXPECT_EQ(os::testing::shellRecorder().requests[0].target, path(QStringLiteral("out2.txt")));

    // Nothing on the computer can show it: the user is told, not left with silence.
    os::testing::shellRecorder().result = false;
    expectBox(qPrintable(QStringLiteral("No viewer is installed that can show %1.").arg(path("out2.txt"))));
    w.cmdViewSavedFile.click();
    expectLastBox(QStringLiteral("No Viewer Installed"), ui::vbExclamation);
}

TEST_F(RamFileWindows, LoadResultsAndButtonsFollowTheFileNames)
{
    plugBoard();
    frmQDUCRSR& w = openWithRamOn();
    w.txtQDRAMFile.setText(path(QStringLiteral("none.txt")));
    EXPECT_FALSE(w.cmdLoadRAMFile.Enabled());
    EXPECT_EQ(w.txtQDRAMFile.ToolTipText(), path(QStringLiteral("none.txt")));
    w.txtQDRAMFile.setText(write(QStringLiteral("bad.txt"), "xyz\r\n"));
    EXPECT_TRUE(w.cmdLoadRAMFile.Enabled());
    expectBox("Invalid RAM Data file!");
    w.cmdLoadRAMFile.click();
    ASSERT_EQ(prompts().size(), 1);
    expectLastBox(QStringLiteral("RAM Load Error"), ui::vbExclamation);
    // Operating mode 2 leaves the buttons as they are, so an empty name can reach the handlers.
    w.txtRAMSaveFile.setText(path(QStringLiteral("ram.txt")));
    setOperatingMode(2, true);
    w.txtQDRAMFile.setText(QString());
    w.txtRAMSaveFile.setText(QString());
    clearTraffic();
    expectBox("No file specified!");
    w.cmdLoadRAMFile.click();
    expectLastBox(QStringLiteral("No File Specifed"), ui::vbExclamation);
    expectBox("No file specified!");
    w.cmdSaveRAMFile.click();
    expectLastBox(QStringLiteral("No File Specifed"), ui::vbExclamation);
    EXPECT_EQ(prompts().size(), 3);
    EXPECT_TRUE(pipeWrites(3).isEmpty() && pipeWrites(5).isEmpty()) << "refused before any transfer";
}

TEST_F(RamFileWindows, SaveIsRefusedUntilTheChipHasTheRamAndReportsEveryFailure)
{
    plugBoard();
    frmQDUCRSR& w = openWithRamOn();
    bd().SetRegMapBitValue(1, 0x00, 31, 0); // checked but not loaded yet
    clearTraffic();
    // The chip's RAM is asked about first, whatever the file name (operating mode 2 leaves the button
    // enabled for an empty name).
    w.txtRAMSaveFile.setText(path(QStringLiteral("ram.txt")));
    setOperatingMode(2, true);
    for (const QString& name : {path(QStringLiteral("ram.txt")), QString()}) {
        w.txtRAMSaveFile.setText(name);
        expectBox("You must enable the RAM before any RAM I/O opperation!");
        w.cmdSaveRAMFile.click();
        expectLastBox(QStringLiteral("Error - RAM Not Enabled"), ui::vbInformation);
    }
    ASSERT_EQ(prompts().size(), 2);
    EXPECT_TRUE(pipeWrites(3).isEmpty());

    bd().SetRegMapBitValue(1, 0x00, 31, 1);
    w.txtRAMSaveFile.setText(path(QStringLiteral("no such folder/ram.txt")));
    expectBox("RAM Opperation Failed!");
    w.cmdSaveRAMFile.click();
    ASSERT_EQ(prompts().size(), 3) << "never reported as success";
    expectLastBox(QStringLiteral("Error"), ui::vbCritical);
    EXPECT_TRUE(pipeWrites(3).isEmpty()) << "found before the RAM is read";

    // A failed read: the message, then the chip's serial port reset (IO_RESET high, then low).
    w.txtRAMSaveFile.setText(path(QStringLiteral("ram.txt")));
    drv.failTransfer(0, 5, 3);
    clearTraffic();
    expectBox("RAM Opperation Failed!");
    w.cmdSaveRAMFile.click();
    ASSERT_EQ(prompts().size(), 4);
    expectLastBox(QStringLiteral("Error"), ui::vbCritical);
    const QList<int> sends = portASends();
    ASSERT_GE(sends.size(), 2);
    EXPECT_EQ(sends[sends.size() - 2] & 4, 4);
    EXPECT_EQ(sends.back() & 4, 0);
}

TEST_F(RamFileWindows, FileDialogsStartInTheProgramFolderUntilOneWasUsed)
{
    frmQDUCRSR& w = openWithRamOn();
    ui::testing::dialogs().cancelSave();
    w.cmdChooseSavePath.click();
    EXPECT_TRUE(gbDlgShown) << "the save dialog sets it once shown in the program folder";
    EXPECT_EQ(w.txtRAMSaveFile.Text(), QString());
    ui::testing::dialogs().answerOpen(path(QStringLiteral("a.RAMData.txt")));
    w.cmdSelRAMFile.click();
    EXPECT_EQ(w.txtQDRAMFile.Text(), path(QStringLiteral("a.RAMData.txt")));
    const auto& open = ui::testing::dialogs().open.requests;
    const auto& save = ui::testing::dialogs().save.requests;
    ASSERT_EQ(open.size(), 1u);
    ASSERT_EQ(save.size(), 1u);
    EXPECT_EQ(save[0].title, QStringLiteral("Specify RAM File & Path"));
    EXPECT_FALSE(save[0].overwritePrompt) << "saving over an earlier RAM file asks nothing";
    EXPECT_FALSE(save[0].initialFolder.isEmpty());
    EXPECT_EQ(open[0].title, QStringLiteral("Select RAM File"));
    EXPECT_TRUE(open[0].initialFolder.isEmpty());
}

struct FileDialogCase {
    const char* name;
    bool segmentWindow; // else the RAM test window
    bool save;
    const char* title;
    const char* filter;
    int filterIndex;
    const char* defaultExtension;
    bool fileMustExist, pathMustExist;
};

class RamFileDialogs : public RamFileWindows, public ::testing::WithParamInterface<FileDialogCase> {};

TEST_P(RamFileDialogs, AskWithTheirOwnTitleFilterAndRules)
{
    const FileDialogCase c = GetParam();
    if (c.save)
        ui::testing::dialogs().cancelSave();
    else
        ui::testing::dialogs().cancelOpen();
    if (c.segmentWindow) {
        frmQDUCRSR& w = openWithRamOn();
        (c.save ? w.cmdChooseSavePath : w.cmdSelRAMFile).click();
    } else {
        frmRAMDebug& w = ui::form<frmRAMDebug>();
        w.Show();
        w.cmdSelRAMFile.click();
    }
    const auto& requests =
        c.save ? ui::testing::dialogs().save.requests : ui::testing::dialogs().open.requests;
    ASSERT_EQ(requests.size(), 1u);
    const ui::FileDialogRequest& r = requests[0];
    EXPECT_EQ(r.title, QString::fromLatin1(c.title));
    EXPECT_EQ(r.filter, QString::fromLatin1(c.filter));
    EXPECT_EQ(r.filterIndex, c.filterIndex);
    EXPECT_EQ(r.defaultExtension, QString::fromLatin1(c.defaultExtension));
    EXPECT_EQ(r.fileMustExist, c.fileMustExist);
    EXPECT_EQ(r.pathMustExist, c.pathMustExist);
    EXPECT_FALSE(r.overwritePrompt);
    EXPECT_FALSE(r.readOnlyChecked);
    EXPECT_EQ(r.initialFolder, os::testing::testProgramFolder()) << "no file dialog was used before";
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, RamFileDialogs,
    ::testing::Values(
        FileDialogCase{
            "SegmentLoad", true, false, "Select RAM File",
            "RAM Data Files (*.RAMData.txt)|*.RAMData.txt|Text Files (*.txt)|*.txt|All Files (*.*)|*.*", 1,
            "RAMData.txt", true, true},
        FileDialogCase{
            "SegmentSave", true, true, "Specify RAM File & Path",
            "RAM Data Files (*.RAMData.txt)|*.RAMData.txt|Text Files (*.txt)|*.txt|All Files (*.*)|*.*", 1,
            "RAMData.txt", false, false},
        FileDialogCase{"TestWindowLoad", false, false, "Select RAM File",
                       "Text Files (*.txt)|*.txt|All Files (*.*)|*.*", 1, "txt", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RamFileWindows, RamTestWindowDumpsIntoTheProgramFolderAndShowsIt)
{
    plugBoard();
    chip().fillRam(0);
    for (int a = 0; a < 1024; ++a)
        chip().setRamWord(a, wordAt(a));
    mdi->mnuViewRAMDebug.choose();
    frmRAMDebug* w = ui::loadedForm<frmRAMDebug>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(mdi->mnuViewRAMDebug.Checked());
    w->cmbDumpDataFormat.setListIndex(1);
    w->chkOpen.setValue(1);
    w->cmdRAMReadTest.click();
    const QString dump = QDir(os::testing::testProgramFolder()).filePath(QStringLiteral("RAMDump.txt"));
    EXPECT_EQ(read(dump), wholeRamFile(1));
    ASSERT_EQ(os::testing::shellRecorder().requests.size(), 1u);
    EXPECT_EQ(os::testing::shellRecorder().requests[0].kind, os::OpenKind::TextViewer);
    EXPECT_EQ(os::testing::shellRecorder().requests[0].target, dump) << "the path as one argument";
    // No text viewer installed: the dump is written and the user told why nothing opens.
    os::testing::shellRecorder().result = false;
    expectBox(qPrintable(
        QStringLiteral("No viewer is installed that can show %1.").arg(QDir::toNativeSeparators(dump))));
    w->cmdRAMReadTest.click();
    EXPECT_EQ(read(dump), wholeRamFile(1));
    os::testing::shellRecorder().result = true;
    os::testing::shellRecorder().requests.erase(os::testing::shellRecorder().requests.begin() + 1,
                                                os::testing::shellRecorder().requests.end());

    // Without a board: the sound only, the earlier dump kept, no viewer.
    gbBoardConnected = false;
    w->cmbDumpDataFormat.setListIndex(0);
    w->cmdRAMReadTest.click();
    EXPECT_EQ(read(dump), wholeRamFile(1));
    EXPECT_EQ(os::testing::soundRecorder().played.back(), QStringLiteral("SystemExclamation"));
    EXPECT_EQ(os::testing::shellRecorder().requests.size(), 1u);

    w->txtRAWRAMFile.setText(QString());
    expectBox("No file specified!");
    w->cmdLoadRAMFile.click();
    EXPECT_EQ(prompts().size(), 2) << "the viewer's message, then this one";
    expectLastBox(QStringLiteral("No File Specifed"), ui::vbExclamation);
    w->txtRAWRAMFile.setText(QStringLiteral("x.txt"));
    w->cmbLoadOptions.setListIndex(2);
    w->Unload(ui::vbFormControlMenu);
    EXPECT_FALSE(mdi->mnuViewRAMDebug.Checked());
    mdi->mnuViewRAMDebug.choose();
    w = ui::loadedForm<frmRAMDebug>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->txtRAWRAMFile.Text(), QString()) << "reopened afresh";
    EXPECT_EQ(w->cmbLoadOptions.ListIndex(), 0);
    EXPECT_EQ(w->cmbDumpDataFormat.ListIndex(), 0);
    EXPECT_EQ(w->chkOpen.Value(), 0);
    QFile::remove(dump);
}

TEST_F(RamFileWindows, RamTestWindowReportsADumpFileItCannotCreate)
{
    plugBoard();
    frmRAMDebug& w = ui::form<frmRAMDebug>();
    w.Show();
    const QString dump = frmRAMDebug::dumpPath();
    QFile::remove(dump);
    QDir().mkpath(dump); // a folder where the file should go
    w.chkOpen.setValue(1);
    clearTraffic();
    ui::testing::messageBoxes().expect(QStringLiteral("The RAM dump file could not be created:\r\n") + dump);
    w.cmdRAMReadTest.click();
    EXPECT_EQ(prompts().size(), 1);
    expectLastBox(QStringLiteral("Error!"), ui::vbExclamation);
    EXPECT_TRUE(pipeWrites(5).isEmpty()) << "refused before the RAM is read";
    EXPECT_TRUE(os::testing::shellRecorder().requests.empty());
    QDir(dump).removeRecursively();
}

} // namespace

namespace {

TEST_F(RamFileWindows, RamTestWindowReportsAFailedReadAndKeepsTheOldDump)
{
    plugBoard();
    frmRAMDebug& w = ui::form<frmRAMDebug>();
    w.Show();
    const QString dump = frmRAMDebug::dumpPath();
    write(QStringLiteral("old.txt"), "old dump\r\n");
    QFile::remove(dump);
    ASSERT_TRUE(QFile::copy(path(QStringLiteral("old.txt")), dump));
    w.chkOpen.setValue(1);
    drv.failTransfer(0, 5, 3);
    expectBox("RAM Opperation Failed!");
    w.cmdRAMReadTest.click();
    ASSERT_EQ(prompts().size(), 1) << "a failed read is never silent";
    expectLastBox(QStringLiteral("Error"), ui::vbCritical);
    EXPECT_EQ(read(dump), QByteArray("old dump\r\n"));
    EXPECT_TRUE(os::testing::shellRecorder().requests.empty()) << "no viewer for a dump that was not made";
    QFile::remove(dump);
}

TEST_F(RamFileWindows, AGoodRamFileWithoutABoardIsNotCalledInvalidInEitherWindow)
{
    const QString good = write(QStringLiteral("good.txt"), "1\r\n0\r\n"); // binary words
    frmQDUCRSR& segment = openWithRamOn();
    segment.txtQDRAMFile.setText(good);
    frmRAMDebug& test = ui::form<frmRAMDebug>();
    test.Show();
    test.txtRAWRAMFile.setText(good);
    for (ui::CommandButton* load : {&segment.cmdLoadRAMFile, &test.cmdLoadRAMFile}) {
        expectBox("Evaluation board not connected!");
        load->click();
        expectLastBox(QStringLiteral("RAM Load Error"), ui::vbExclamation);
    }
    EXPECT_EQ(prompts().size(), 2);
}

// Both RAM windows with their files on a full disk: the old file stays and one message says so.
TEST_F(RamFileWindows, OnAFullDiskBothRamWindowsKeepTheOldFileAndSaySoOnce)
{
    testing_fs::SmallFileSystem fs;
    SKIP_WITHOUT_SMALL_FILE_SYSTEM(fs);
    const QString programFolder = os::programFolder();
    os::setProgramFolder(fs.folder());
    plugBoard();
    const QString saved = fs.path(QStringLiteral("ram.RAMData.txt"));
    const QString dump = fs.path(QStringLiteral("RAMDump.txt"));
    for (const QString& file : {saved, dump}) {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old words\r\n");
    }
    frmQDUCRSR& segment = openWithRamOn();
    segment.txtRAMSaveFile.setText(saved);
    frmRAMDebug& test = ui::form<frmRAMDebug>();
    test.Show();
    fs.fill();
    expectBox("RAM Opperation Failed!");
    segment.cmdSaveRAMFile.click();
    ASSERT_EQ(prompts().size(), 1);
    expectLastBox(QStringLiteral("Error"), ui::vbCritical);
    ui::testing::messageBoxes().expect(QStringLiteral("The RAM dump file could not be written:\r\n") + dump);
    test.cmdRAMReadTest.click();
    ASSERT_EQ(prompts().size(), 2);
    expectLastBox(QStringLiteral("Error!"), ui::vbExclamation);
    EXPECT_EQ(read(saved), QByteArray("old words\r\n"));
    EXPECT_EQ(read(dump), QByteArray("old words\r\n"));
    segment.Unload(ui::vbFormControlMenu);
    test.Unload(ui::vbFormControlMenu);
    os::setProgramFolder(programFolder);
}

} // namespace
