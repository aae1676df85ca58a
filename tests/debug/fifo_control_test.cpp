// The FIFO control window against the emulated board's FIFO: each data source and file layout with the
// exact port C traffic, the size limits, a single transmission polled on the virtual clock, loop mode,
// stopping from code and closing while a poll runs.

#include "debug_fixture.h"

#include "debug/frm_fifo_control.h"
#include "debug/frm_fifo_debug.h"

#include "platform/ui/forms.h"

#include <QFile>

#include <algorithm>

namespace {

using namespace debugtest;

// Port C after USBResetFIFO from the idle lines, then the flag programming and the load's write enable.
const std::vector<int> kResetWrites = {0x03, 0x23, 0x00, 0x10, 0x00, 0x03};
const std::vector<int> kFlagsAndLoadWrites = {0x02, 0x00, 0x02, 0x03, 0x01, 0x03};

const Box kLoaded{QStringLiteral("Successfull FIFO Load"), QStringLiteral("FIFO Data Loaded Successfully!!!"),
                  ui::vbInformation};

class FifoControlTest : public DebugWindowTest {
protected:
    frmFIFOControl& window()
    {
        auto& w = ui::form<frmFIFOControl>();
        w.Show();
        return w;
    }
    // LOAD FIFO, which must show `box` and no other.
    void load(frmFIFOControl& w, const Box& box = kLoaded)
    {
        const size_t mark = boxMark();
        expectBox(box);
        w.cmdLoadFIFO.click();
        EXPECT_EQ(boxesSince(mark), Boxes{box});
    }
    void loadFile(frmFIFOControl& w, const QString& path, bool sxi = false, int format = 0,
                  const Box& box = kLoaded)
    {
        SCOPED_TRACE(path.toStdString());
        w.optFIFODataSrc(frmFIFOControl::kFile).click();
        w.txtFIFOFile.setText(path);
        w.chkLoadSXI.setValue(sxi ? 1 : 0);
        w.lsbLoadOptions.setListIndex(format);
        load(w, box);
    }
};

TEST_F(FifoControlTest, ArraySourcesResetTheFifoAndLoadTheirWords)
{
    plugFifoBoard();
    frmFIFOControl& w = window();
    EXPECT_TRUE(w.optFIFODataSrc(frmFIFOControl::kFile).Value()) << "the file source at first";
    w.optFIFODataSrc(frmFIFOControl::kIncrementing).click();
    EXPECT_FALSE(w.optFIFODataSrc(frmFIFOControl::kFile).Value());
    EXPECT_FALSE(w.chkLoadSXI.Enabled());
    load(w);
    std::vector<int> expected = kResetWrites;
    expected.insert(expected.end(), kFlagsAndLoadWrites.begin(), kFlagsAndLoadWrites.end());
    EXPECT_EQ(portCWrites(), expected);
    EXPECT_EQ(fifo().contents(), range(65536)) << "of 262144 words the first 65536 arrive";
    EXPECT_EQ(fifo().fullOffset(), 2U);

    w.optFIFODataSrc(frmFIFOControl::kRandom).click();
    load(w);
    const std::vector<uint32_t>& random = fifo().contents();
    ASSERT_EQ(random.size(), 65536U) << "the reset emptied the FIFO first";
    EXPECT_LE(*std::max_element(random.begin(), random.end()), 65534U);
    EXPECT_LT(std::count(random.begin(), random.end(), random.front()), 100) << "not one repeated word";
    w.optFIFODataSrc(frmFIFOControl::kFile).click();
    EXPECT_TRUE(w.chkLoadSXI.Enabled());
}

TEST_F(FifoControlTest, PlainFileLoadsEighteenBitWords)
{
    plugFifoBoard();
    frmFIFOControl& w = window();
    const QString path = writeFile(QStringLiteral("plain.txt"), {"1", " 2 ", "-1", "262143", "262144"});
    loadFile(w, path);
    EXPECT_EQ(fifo().contents(), (std::vector<uint32_t>{1, 2, 0x3FFFF, 0x3FFFF, 0}));
    EXPECT_EQ(w.txtFIFOFile.ToolTipText(), path);
}

TEST_F(FifoControlTest, SxiFileLayoutFollowsTheFormatList)
{
    // One sample pair, I = 1 and Q = -1: word k carries bit k of I in bit 5 and of Q in bit 4.
    struct Case {
        int format;
        std::vector<uint32_t> first3;
        uint32_t last;
    } cases[] = {
        {0, {48, 16, 16}, 16}, // two's complement, LSB first
        {1, {48, 16, 16}, 32}, // offset binary (0x8001, 0x7FFF), LSB first
        {2, {16, 16, 16}, 48}, // two's complement, MSB first
        {3, {32, 16, 16}, 48}, // offset binary, MSB first
    };
    plugFifoBoard();
    frmFIFOControl& w = window();
    const QString path = writeFile(QStringLiteral("sxi.txt"), {"1", "-1"});
    for (const Case& c : cases) {
        loadFile(w, path, true, c.format);
        const std::vector<uint32_t>& words = fifo().contents();
        ASSERT_EQ(words.size(), 16U) << c.format;
        EXPECT_EQ(std::vector<uint32_t>(words.begin(), words.begin() + 3), c.first3) << c.format;
        EXPECT_EQ(words.back(), c.last) << c.format;
    }
}

TEST_F(FifoControlTest, FilesAreCheckedBeforeAnythingIsLoaded)
{
    const Box tooLarge{QStringLiteral("Invalid file size!"),
                       QStringLiteral("The file you are trying to load is to large!"), ui::vbExclamation};
    const Box notFound{QStringLiteral("Error"), QStringLiteral("File Not Found!!!"), ui::vbInformation};
    const Box failed{QStringLiteral("Error Loading FIFO File"), QStringLiteral("FIFO File failed to load!"),
                     ui::vbCritical};
    struct Case {
        const char* name;
        int lines;
        bool sxi;
        Box box;
    } cases[] = {
        {"max.txt", 65536, false, kLoaded},   {"over.txt", 65537, false, tooLarge},
        {"sximax.txt", 8192, true, kLoaded},  {"sxiover.txt", 8193, true, tooLarge},
        {"missing.txt", -1, false, notFound}, {"bad.txt", 0, false, failed},
    };
    plugFifoBoard();
    frmFIFOControl& w = window();
    for (const Case& c : cases) {
        QString path = dir.filePath(QString::fromLatin1(c.name));
        if (c.lines > 0)
            path = writeFile(QString::fromLatin1(c.name), countingLines(c.lines));
        else if (c.lines == 0)
            path = writeFile(QString::fromLatin1(c.name), {"1", "two", "3"});
        loadFile(w, path, c.sxi, 0, c.box);
        EXPECT_EQ(fifo().stored() > 0, c.box == kLoaded) << c.name;
    }
}

TEST_F(FifoControlTest, AHugeFileIsRefusedForItsSizeWithoutBeingReadThrough)
{
    // 70000 short lines and then a gigabyte hole (nothing on the disk) that reads as one endless line:
    // the count stops past the limit and the file is refused for its size.
    const QString path = writeFile(QStringLiteral("huge.txt"), countingLines(70000));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(qint64{1} << 30));
    }
    plugFifoBoard();
    frmFIFOControl& w = window();
    for (const bool sxi : {false, true})
        loadFile(w, path, sxi, 0,
                 {QStringLiteral("Invalid file size!"),
                  QStringLiteral("The file you are trying to load is to large!"), ui::vbExclamation});
    EXPECT_EQ(fifo().stored(), 0);
}

TEST_F(FifoControlTest, FilePickersOfBothWindows)
{
    plugFifoBoard();
    frmFIFOControl& control = window();
    auto& debug = ui::form<frmFIFODebug>();
    debug.Show();
    const QString path = writeFile(QStringLiteral("chosen.txt"), {"5"});
    const QString filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    struct Case {
        ui::CommandButton* button;
        ui::TextBox* box;
        bool shownBefore;
        bool chosen;
        QString folder;
        QString extension;
        uint32_t owner;
        bool shownAfter;
    } cases[] = {
        {&control.cmdSelFIFOFile, &control.txtFIFOFile, false, true, os::programFolder(),
         QStringLiteral("TXT"), control.hWnd(), true},
        {&control.cmdSelFIFOFile, &control.txtFIFOFile, true, true, QString(), QStringLiteral("TXT"),
         control.hWnd(), true},
        {&control.cmdSelFIFOFile, &control.txtFIFOFile, false, false, os::programFolder(),
         QStringLiteral("TXT"), control.hWnd(), false},
        {&debug.cmdSelFIFOFile, &debug.txtFIFOFile, true, true, os::programFolder(), QString(), mdi->hWnd(),
         true},
        {&debug.cmdSelFIFOFile, &debug.txtFIFOFile, false, true, os::programFolder(), QString(), mdi->hWnd(),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button->parentForm()->Name().toStdString() + (c.chosen ? " chosen" : " cancelled"));
        ui::testing::dialogs().open.reset();
        c.box->setText(QString());
        gbDlgShown = c.shownBefore;
        if (c.chosen)
            ui::testing::dialogs().answerOpen(path);
        else
            ui::testing::dialogs().cancelOpen();
        c.button->click();
        ASSERT_EQ(ui::testing::dialogs().open.requests.size(), 1U);
        const auto& request = ui::testing::dialogs().open.requests.front();
        EXPECT_EQ(request.title, QStringLiteral("Load FIFO File"));
        EXPECT_EQ(request.filter, filter);
        EXPECT_EQ(request.filterIndex, 1);
        EXPECT_TRUE(request.fileMustExist);
        EXPECT_TRUE(request.pathMustExist);
        EXPECT_FALSE(request.multiSelect);
        EXPECT_EQ(request.initialFolder, c.folder);
        EXPECT_EQ(request.defaultExtension.toUpper(), c.extension);
        EXPECT_EQ(request.ownerHwnd, c.owner);
        EXPECT_EQ(c.box->Text(), c.chosen ? path : QString());
        EXPECT_EQ(gbDlgShown, c.shownAfter);
    }
    EXPECT_TRUE(debug.cmdLoadFIFOFile.Enabled()) << "an existing file was chosen";
}

TEST_F(FifoControlTest, SxiOptionsGreyWhileTheBoxIsClear)
{
    plugFifoBoard();
    frmFIFOControl& w = window();
    for (int checked : {0, 1, 0}) {
        if (w.chkLoadSXI.Value() != checked)
            w.chkLoadSXI.click();
        const uint32_t expected = checked ? 0x80000008U : 0x80000011U;
        EXPECT_EQ(w.lblSXIModeOptions.ForeColor(), expected) << checked;
        EXPECT_EQ(w.lsbLoadOptions.ForeColor(), expected) << checked;
        EXPECT_TRUE(w.lsbLoadOptions.Enabled());
    }
}

TEST_F(FifoControlTest, SingleTransmissionPollsUntilTheFifoHasDrained)
{
    plugFifoBoard(1); // one value per millisecond
    frmFIFOControl& w = window();
    loadFile(w, writeFile(QStringLiteral("f.txt"), countingLines(1000)));
    clearTraffic();
    bool disabledMeanwhile = false;
    auto& clock = ui::testing::clock();
    const auto probe = clock.startTimer(100, [&] { disabledMeanwhile = !w.chkTransmitData.Enabled(); });
    const int64_t start = clock.now();
    w.chkTransmitData.click();
    clock.stopTimer(probe);
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_GE(clock.now() - start, 1000) << "ends only once the 1000 values left";
    EXPECT_LE(clock.now() - start, 1030);
    EXPECT_EQ(fifo().stored(), 0);
    EXPECT_EQ(fifo().transmittedValues(), 1000U);
    EXPECT_EQ(portCWrites(), (std::vector<int>{0x07, 0x03}));
    EXPECT_EQ(commands(kGetPortC).size(), 1);
    EXPECT_TRUE(w.chkTransmitData.Enabled());
    EXPECT_EQ(w.chkTransmitData.Value(), 0);
}

TEST_F(FifoControlTest, TransmissionThatNeverDrainsEndsAfter3000Polls)
{
    plugFifoBoard(0.001);
    frmFIFOControl& w = window();
    loadFile(w, writeFile(QStringLiteral("f.txt"), countingLines(1000)));
    clearTraffic();
    const size_t mark = boxMark();
    w.chkTransmitData.click();
    EXPECT_EQ(readyReads(), 3000);
    EXPECT_EQ(portCWrites(), (std::vector<int>{0x07, 0x03}));
    EXPECT_GT(fifo().stored(), 900);
    EXPECT_EQ(w.chkTransmitData.Value(), 0);
    EXPECT_TRUE(w.chkTransmitData.Enabled());
    EXPECT_TRUE(boxesSince(mark).empty()) << "the timeout ends silently";
}

TEST_F(FifoControlTest, LoopModeTogglesTransmitAndRepeats)
{
    plugFifoBoard(2);
    frmFIFOControl& w = window();
    loadFile(w, writeFile(QStringLiteral("f.txt"), countingLines(100)));
    clearTraffic();
    w.chkRetransmit.click();
    w.chkTransmitData.click();
    EXPECT_EQ(w.chkTransmitData.Value(), 1) << "the box keeps the user's state";
    ui::testing::clock().advance(500);
    EXPECT_EQ(bd().FIFO_PAE(), 1) << "a loop never empties the FIFO";
    EXPECT_EQ(fifo().transmittedValues(), 1000U) << "ten passes over 100 values";
    EXPECT_EQ(fifo().stored(), 100);
    w.chkTransmitData.click();
    w.chkTransmitData.click();
    w.chkRetransmit.click();
    EXPECT_EQ(portCWrites(), (std::vector<int>{0x0B, 0x0F, 0x0B, 0x0F, 0x07, 0x03}));
    EXPECT_EQ(readyReads(), 1) << "loop mode never polls; the one read is the test's";
    EXPECT_EQ(w.chkTransmitData.Value(), 0);

    // Transmit already high without loop mode: the click only re-reads port C.
    bd().USBWritePortBuffVal(kPortC, 0x07);
    clearTraffic();
    w.chkTransmitData.click();
    EXPECT_TRUE(portCWrites().empty());
    EXPECT_EQ(commands(kGetPortC).size(), 1);
}

TEST_F(FifoControlTest, StoppingFromCodeNeverStartsATransmission)
{
    plugFifoBoard(1);
    frmFIFOControl& control = window();
    auto& debug = ui::form<frmFIFODebug>();
    debug.Show();
    loadFile(control, writeFile(QStringLiteral("f.txt"), countingLines(1000)));
    // The debug window raises the transmit line, so its own transmit box shows checked...
    debug.chkPCIO(2).click();
    ASSERT_EQ(debug.chkTransmitData.Value(), 1);
    // ...then the control window's load lowers it behind the debug window's back.
    control.optFIFODataSrc(frmFIFOControl::kIncrementing).click();
    load(control);
    clearTraffic();
    const int64_t start = ui::testing::clock().now();
    debug.cmdFifoReset.click();
    EXPECT_EQ(readyReads(), 0);
    EXPECT_LT(ui::testing::clock().now() - start, 100);
    EXPECT_EQ(portCWrites(), (std::vector<int>{0x03, 0x23, 0x00, 0x10, 0x00, 0x03}));
    EXPECT_EQ(debug.chkTransmitData.Value(), 0);
    EXPECT_EQ(debug.chkRetransmit.Value(), 0);

    // Loading while the loop runs lowers both lines once, then resets.
    control.chkRetransmit.click();
    control.chkTransmitData.click();
    clearTraffic();
    load(control);
    const std::vector<int> writes = portCWrites();
    ASSERT_GE(writes.size(), 7U);
    EXPECT_EQ(std::vector<int>(writes.begin(), writes.begin() + 7),
              (std::vector<int>{0x03, 0x03, 0x23, 0x00, 0x10, 0x00, 0x03}));
    EXPECT_EQ(readyReads(), 1) << "only the load's own check";
    EXPECT_EQ(control.chkRetransmit.Value(), 0);
    EXPECT_EQ(control.chkTransmitData.Value(), 0);
}

TEST_F(FifoControlTest, WithoutABoardLoadsReportFailureAndTransmitEndsAtOnce)
{
    frmFIFOControl& w = window(); // no board plugged
    const Box arrayFailed{QStringLiteral("Error"), QStringLiteral("FIFO Load Error!"), ui::vbInformation};
    const Box fileFailed{QStringLiteral("Error Loading FIFO File"),
                         QStringLiteral("FIFO File failed to load!"), ui::vbCritical};
    w.optFIFODataSrc(frmFIFOControl::kIncrementing).click();
    load(w, arrayFailed);
    loadFile(w, writeFile(QStringLiteral("f.txt"), {"1", "2"}), false, 0, fileFailed);
    const int64_t start = ui::testing::clock().now();
    w.chkTransmitData.click();
    EXPECT_LE(ui::testing::clock().now() - start, 20) << "the almost-empty line reads low at the first poll";
    EXPECT_EQ(w.chkTransmitData.Value(), 0);
    EXPECT_TRUE(w.chkTransmitData.Enabled());
}

TEST_F(FifoControlTest, LoadDuringATransmissionEndsItsPoll)
{
    plugFifoBoard(0.001); // drains far slower than the poll's 30 s
    frmFIFOControl& w = window();
    loadFile(w, writeFile(QStringLiteral("f.txt"), countingLines(1000)));
    w.optFIFODataSrc(frmFIFOControl::kIncrementing).click();
    auto& clock = ui::testing::clock();
    const auto loader = clock.startTimer(200, [&] {
        expectBox(kLoaded);
        w.cmdLoadFIFO.click();
    });
    const int64_t start = clock.now();
    clearTraffic();
    w.chkTransmitData.click();
    clock.stopTimer(loader);
    EXPECT_LT(clock.now() - start, 300) << "the load's stop ended the poll";
    EXPECT_EQ(fifo().contents(), range(65536)) << "and the FIFO keeps what was loaded";
    EXPECT_EQ(bd().TXEnable(), 0);
    EXPECT_TRUE(w.chkTransmitData.Enabled());
    EXPECT_EQ(w.chkTransmitData.Value(), 0);
}

TEST_F(FifoControlTest, ClosingDuringThePollWaitsForItsEnd)
{
    plugFifoBoard(1);
    auto& debug = ui::form<frmFIFODebug>();
    debug.Show();
    frmFIFOControl& control = window();
    struct Case {
        ui::Form* form;
        ui::CheckBox* transmit;
        int unloadMode;
    } cases[] = {{&debug, &debug.chkTransmitData, ui::vbFormControlMenu},
                 {&control, &control.chkTransmitData, ui::vbFormCode}};
    auto& clock = ui::testing::clock();
    for (const Case& c : cases) {
        const QString name = c.form->Name();
        SCOPED_TRACE(name.toStdString());
        fifo().load(range(65536)); // a drain of about 65 s, longer than the poll
        bool loadedAfterClose = false;
        const auto closer = clock.startTimer(200, [&] {
            c.form->Unload(c.unloadMode);
            loadedAfterClose = c.form->IsLoaded();
        });
        c.transmit->click();
        clock.stopTimer(closer);
        EXPECT_TRUE(loadedAfterClose) << "the close waits while the poll runs";
        EXPECT_FALSE(ui::Forms::isLoaded(name)) << "and happens once it has ended";
        EXPECT_EQ(bd().TXEnable(), 0);
    }

    // The control window's close box only hides it.
    frmFIFOControl& again = window();
    again.Unload(ui::vbFormControlMenu);
    EXPECT_TRUE(again.IsLoaded());
    EXPECT_FALSE(again.Visible());
    EXPECT_FALSE(mdi->mnuViewFIFOControl.Checked());
}

} // namespace
