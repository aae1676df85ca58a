#include "debug/frm_fifo_control.h"

#include "board/evalbd.h"
#include "board/fifo_file.h"
#include "board/globals.h"
#include "board/utility.h"
#include "shell/startup.h"
#include "widgets/open_file_dialog.h"

#include "platform/os/program_folder.h"
#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include <random>

namespace {

// The SXI sample formats of the list, by index: LSB first, offset binary.
struct SxiFormat {
    bool lsbFirst;
    bool offsetBinary;
};
constexpr SxiFormat kSxiFormats[] = {{true, false}, {true, true}, {false, false}, {false, true}};

void showLoaded()
{
    ui::MsgBox(QStringLiteral("FIFO Data Loaded Successfully!!!"), ui::vbInformation,
               QStringLiteral("Successfull FIFO Load"));
}

void showLoadResult(bool ok)
{
    if (ok)
        showLoaded();
    else
        ui::MsgBox(QStringLiteral("FIFO Load Error!"), ui::vbInformation, QStringLiteral("Error"));
}

} // namespace

bool loadFifoFileWithMessages(const QString& path, bool sxi, bool lsbFirst, bool offsetBinary)
{
    if (!FileExists(path)) {
        ui::MsgBox(QStringLiteral("File Not Found!!!"), ui::vbInformation, QStringLiteral("Error"));
        return false;
    }
    const int32_t limit = sxi ? board::kFifoSxiFileMaxLines : board::kFifoFileMaxLines;
    // Counting stops past the limit: a huge file is refused without reading it through.
    if (ebCountFileLines(path, limit + 1) > limit) {
        ui::MsgBox(QStringLiteral("The file you are trying to load is to large!"), ui::vbExclamation,
                   QStringLiteral("Invalid file size!"));
        return false;
    }
    const bool ok = sxi ? ebLoadFIFOFileSXI(path, lsbFirst, offsetBinary) : ebLoadFIFOFile(path);
    if (ok)
        showLoaded();
    else
        ui::MsgBox(QStringLiteral("FIFO File failed to load!"), ui::vbCritical,
                   QStringLiteral("Error Loading FIFO File"));
    return ok;
}

frmFIFOControl::frmFIFOControl() : Form(FormName)
{
    setMdiChild(true);
    setCaption(QStringLiteral("FIFO Control"));
    optFIFODataSrc(kRandom).setCaption(QStringLiteral("Fill FIFO with Random Data"));
    optFIFODataSrc(kIncrementing).setCaption(QStringLiteral("Load FIFO with (0-262143)"));
    optFIFODataSrc(kFile).setCaption(QStringLiteral("Load Data from a file:"));
    cmdSelFIFOFile.setCaption(QStringLiteral("..."));
    cmdSelFIFOFile.setToolTipText(QStringLiteral("Choose FIFO file to load"));
    cmdLoadFIFO.setCaption(QStringLiteral("LOAD FIFO"));
    lblFILLFIFO.setCaption(QStringLiteral("LOAD FIFO"));
    fraSXIDataFormat.setCaption(QStringLiteral("   "));
    chkLoadSXI.setCaption(QStringLiteral("Format Data for SXI Mode"));
    lblSXIModeOptions.setCaption(QStringLiteral("Data Formatting Options:"));
    for (const char* item : {"2's Complement, LSB First", "Offset Binary, LSB First",
                             "2's Complement, MSB First", "Offset Binary, MSB First"})
        lsbLoadOptions.AddItem(QString::fromLatin1(item));
    // The bit order comes from the list; this box is kept for its place in the frame but does nothing.
    chkLSBFirstMode.setCaption(QStringLiteral("LSB First Mode"));
    chkLSBFirstMode.setVisible(false);
    chkTransmitData.setCaption(QStringLiteral("Transmit FIFO Data"));
    chkRetransmit.setCaption(QStringLiteral("Loop Transmission"));

    optFIFODataSrc.bind(&ui::OptionButton::Click, this, &frmFIFOControl::optFIFODataSrc_Click);
    ui::bind(chkLoadSXI.Click, this, &frmFIFOControl::chkLoadSXI_Click);
    ui::bind(txtFIFOFile.Change, this, &frmFIFOControl::txtFIFOFile_Change);
    ui::bind(cmdSelFIFOFile.Click, this, &frmFIFOControl::cmdSelFIFOFile_Click);
    ui::bind(cmdLoadFIFO.Click, this, &frmFIFOControl::cmdLoadFIFO_Click);
    ui::bind(chkRetransmit.Click, this, &frmFIFOControl::chkRetransmit_Click);
    ui::bind(chkTransmitData.Click, this, &frmFIFOControl::chkTransmitData_Click);
}

void frmFIFOControl::buildUi(QWidget* window)
{
    auto* file = new QHBoxLayout;
    file->addWidget(txtFIFOFile.widget(), 1);
    file->addWidget(cmdSelFIFOFile.widget());
    txtFIFOFile.widget()->setMinimumWidth(220);

    auto* sxi = new QVBoxLayout(fraSXIDataFormat.container());
    sxi->addWidget(chkLoadSXI.widget());
    sxi->addWidget(lblSXIModeOptions.widget());
    sxi->addWidget(lsbLoadOptions.widget());
    sxi->addWidget(chkLSBFirstMode.widget());
    lsbLoadOptions.widget()->setFixedHeight(72);

    auto* lamps = new QHBoxLayout;
    lamps->addWidget(chkTransmitData.widget());
    lamps->addWidget(chkRetransmit.widget());
    lamps->addStretch(1);
    lamps->addWidget(cmdLoadFIFO.widget());

    auto* column = new QVBoxLayout(window);
    column->addWidget(lblFILLFIFO.widget());
    for (ui::OptionButton& option : optFIFODataSrc)
        column->addWidget(option.widget());
    column->addLayout(file);
    column->addWidget(fraSXIDataFormat.widget());
    column->addLayout(lamps);
}

void frmFIFOControl::Form_Load()
{
    optFIFODataSrc(kFile).setValue(true);
    lsbLoadOptions.setListIndex(0);
    chkLoadSXI_Click();
    transmitter_.showLamps();
}

void frmFIFOControl::Form_QueryUnload(int& cancel, int unloadMode)
{
    if (unloadMode == ui::vbFormControlMenu) {
        // The window and its settings stay loaded; the close box only hides it.
        Hide();
        cancel = 1;
        return;
    }
    // A transmission's poll still runs inside this window: it unloads once the poll has ended.
    if (transmitter_.polling()) {
        transmitter_.deferWhilePolling([this] { Unload(ui::vbFormCode); });
        cancel = 1;
    }
}

void frmFIFOControl::optFIFODataSrc_Click(int index)
{
    chkLoadSXI.setEnabled(index != kRandom && index != kIncrementing);
}

void frmFIFOControl::chkLoadSXI_Click()
{
    const uint32_t colour = chkLoadSXI.Value() == 1 ? ui::colors::vbWindowText : ui::colors::vbGrayText;
    lblSXIModeOptions.setForeColor(colour);
    lsbLoadOptions.setForeColor(colour);
}

void frmFIFOControl::txtFIFOFile_Change()
{
    txtFIFOFile.setToolTipText(txtFIFOFile.Text());
}

void frmFIFOControl::cmdSelFIFOFile_Click()
{
    const std::optional<QString> chosen =
        chooseFileToOpen(QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"),
                         gbDlgShown ? QString() : os::programFolder(), QStringLiteral("Load FIFO File"),
                         QStringLiteral("TXT"), static_cast<int32_t>(hWnd()));
    ui::DoEvents();
    ui::DoEvents();
    if (chosen) {
        gbDlgShown = true;
        txtFIFOFile.setText(*chosen);
    }
    txtFIFOFile.SetFocus();
}

int frmFIFOControl::selectedSource() const
{
    for (const ui::OptionButton& option : optFIFODataSrc)
        if (option.Value())
            return option.Index();
    return -1;
}

std::vector<int32_t> frmFIFOControl::randomWords()
{
    // Never seeded: every run of the program draws the same sequence.
    static std::mt19937 generator;
    std::vector<int32_t> words(kRandomWords);
    for (int32_t& word : words) {
        const double uniform = static_cast<double>(generator()) / 4294967296.0;
        word = static_cast<int32_t>(uniform * 65535);
    }
    return words;
}

std::vector<int32_t> frmFIFOControl::incrementingWords()
{
    std::vector<int32_t> words(kIncrementingWords);
    for (int32_t i = 0; i < kIncrementingWords; ++i)
        words[static_cast<size_t>(i)] = i;
    return words;
}

void frmFIFOControl::cmdLoadFIFO_Click()
{
    if (!goEvalBd)
        return;
    transmitter_.stop();
    ui::DoEvents();
    if (!goEvalBd)
        return;
    goEvalBd->USBResetFIFO();
    switch (selectedSource()) {
    case kRandom:
        showLoadResult(goEvalBd->USBLoadFIFOData(randomWords()));
        break;
    case kIncrementing:
        // The board object sends at most the first 65536 of them.
        showLoadResult(goEvalBd->USBLoadFIFOData(incrementingWords()));
        break;
    case kFile:
        loadFile();
        break;
    default:
        break;
    }
}

void frmFIFOControl::loadFile()
{
    const bool sxi = chkLoadSXI.Value() == 1;
    const int index = lsbLoadOptions.ListIndex();
    const SxiFormat format = index >= 0 && index < 4 ? kSxiFormats[index] : SxiFormat{false, false};
    loadFifoFileWithMessages(txtFIFOFile.Text(), sxi, format.lsbFirst, format.offsetBinary);
}
