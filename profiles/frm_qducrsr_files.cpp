// The RAM segment window's "Load RAM" and "Save RAM" frames: a RAM data file written into the chip's RAM,
// the RAM read back into a file, and that file opened in the desktop's viewer.

#include "profiles/frm_qducrsr.h"

#include "profiles/ram_data_files.h"

#include "board/evalbd.h"
#include "board/ram_file.h"
#include "board/utility.h"
#include "shell/startup.h"
#include "widgets/common_dialog.h"
#include "widgets/open_file_dialog.h"

#include "platform/os/program_folder.h"
#include "platform/ui/msgbox.h"

namespace {

const QString kRAMFileFilter = QStringLiteral(
    "RAM Data Files (*.RAMData.txt)|*.RAMData.txt|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
const QString kRAMFileExtension = QStringLiteral("RAMData.txt");

} // namespace

void frmQDUCRSR::setFileDesignProperties()
{
    fraRAMFile.setCaption(QStringLiteral("Load RAM"));
    lblLoadRAMTextFile.setCaption(QStringLiteral("File Name:"));
    cmdSelRAMFile.setCaption(QStringLiteral("..."));
    cmdSelRAMFile.setToolTipText(QStringLiteral("Select a RAM File to load"));
    lblOutputDataFormat(1).setCaption(QStringLiteral("File Format:"));
    cmdLoadRAMFile.setCaption(QStringLiteral("Load File"));
    cmdLoadRAMFile.setToolTipText(QStringLiteral("Load the RAM file specified above"));

    fraReadRAM.setCaption(QStringLiteral("Save RAM"));
    lblSaveFileName.setCaption(QStringLiteral("File Name:"));
    cmdChooseSavePath.setCaption(QStringLiteral("..."));
    cmdChooseSavePath.setToolTipText(QStringLiteral("Specify a RAM File to Save RAM Data to"));
    lblOutputDataFormat(0).setCaption(QStringLiteral("File Format:"));
    cmbDumpDataFormat.setToolTipText(QStringLiteral("Select the RAM data format written to the file"));
    cmdSaveRAMFile.setCaption(QStringLiteral("Save"));
    cmdSaveRAMFile.setToolTipText(QStringLiteral("Save the contents of the RAM to the specified file"));
    // An eye, drawn with a character the desktop's fonts have.
    cmdViewSavedFile.setCaption(QStringLiteral("\u25C9"));
    cmdViewSavedFile.setToolTipText(QStringLiteral("View the selected RAM file in the default viewer"));

    for (const QString& format : ramwin::segmentWindowFormats()) {
        cmbLoadOptions.AddItem(format);
        cmbDumpDataFormat.AddItem(format);
    }
}

void frmQDUCRSR::bindFileHandlers()
{
    ui::bind(txtQDRAMFile.Change, this, &frmQDUCRSR::txtQDRAMFile_Change);
    ui::bind(txtRAMSaveFile.Change, this, &frmQDUCRSR::txtRAMSaveFile_Change);
    ui::bind(cmdSelRAMFile.Click, this, &frmQDUCRSR::cmdSelRAMFile_Click);
    ui::bind(cmdChooseSavePath.Click, this, &frmQDUCRSR::cmdChooseSavePath_Click);
    ui::bind(cmdLoadRAMFile.Click, this, &frmQDUCRSR::cmdLoadRAMFile_Click);
    ui::bind(cmdSaveRAMFile.Click, this, &frmQDUCRSR::cmdSaveRAMFile_Click);
    ui::bind(cmdViewSavedFile.Click, this, &frmQDUCRSR::cmdViewSavedFile_Click);
}

void frmQDUCRSR::txtQDRAMFile_Change()
{
    txtQDRAMFile.setToolTipText(txtQDRAMFile.Text());
    UdControlState();
}

void frmQDUCRSR::txtRAMSaveFile_Change()
{
    txtRAMSaveFile.setToolTipText(txtRAMSaveFile.Text());
    UdControlState();
}

void frmQDUCRSR::cmdSelRAMFile_Click()
{
    const std::optional<QString> chosen =
        chooseFileToOpen(kRAMFileFilter, gbDlgShown ? QString() : os::programFolder(),
                         QStringLiteral("Select RAM File"), kRAMFileExtension, static_cast<int32_t>(hWnd()));
    DoEventsN(2);
    const QString fileName = chosen.value_or(QString());
    if (!fileName.isEmpty()) {
        gbDlgShown = true;
        txtQDRAMFile.setText(fileName);
        txtQDRAMFile.setSelStart(static_cast<int>(fileName.size()));
    }
    txtQDRAMFile.SetFocus();
}

void frmQDUCRSR::cmdChooseSavePath_Click()
{
    cCommonDialog dialog;
    QString fileName;
    QString fileTitle = QStringLiteral("ZR4470 RAM File");
    QString filter = kRAMFileFilter;
    int32_t filterIndex = 1;
    int32_t flags = 0;
    const bool inProgramFolder = !gbDlgShown;
    const QString initialFolder = inProgramFolder ? os::programFolder() : QString();
    // No overwrite prompt: saving over an earlier RAM file is the usual case.
    const bool chosen = dialog.VBGetSaveFileName(fileName, fileTitle, false, filter, filterIndex,
                                                 initialFolder, QStringLiteral("Specify RAM File & Path"),
                                                 kRAMFileExtension, static_cast<int32_t>(hWnd()), flags);
    if (inProgramFolder)
        gbDlgShown = true;
    DoEventsN(2);
    if (chosen && !fileName.isEmpty()) {
        gbDlgShown = true;
        txtRAMSaveFile.setText(fileName);
        txtRAMSaveFile.setSelStart(static_cast<int>(fileName.size()));
    }
    txtRAMSaveFile.SetFocus();
    UdControlState();
}

void frmQDUCRSR::cmdLoadRAMFile_Click()
{
    ramwin::showRamLoadResult(
        ebLoadRAMFile(txtQDRAMFile.Text(), static_cast<int16_t>(cmbLoadOptions.ListIndex())));
}

void frmQDUCRSR::cmdSaveRAMFile_Click()
{
    const QString path = txtRAMSaveFile.Text();
    if (!goEvalBd || kRAMEnable.get(RegMap::Written) != 1) {
        ui::MsgBox(QStringLiteral("You must enable the RAM before any RAM I/O opperation!"),
                   ui::vbInformation, QStringLiteral("Error - RAM Not Enabled"));
        UdControlState();
        return;
    }
    if (path.trimmed().isEmpty()) {
        // Nothing to write to: refused before the RAM is read.
        ui::MsgBox(QStringLiteral("No file specified!"), ui::vbExclamation,
                   QStringLiteral("No File Specifed"));
        UdControlState();
        return;
    }
    if (!ramwin::canWriteFile(path)) {
        // A file that cannot be written is a failed operation, found before any USB traffic.
        ui::MsgBox(QStringLiteral("RAM Opperation Failed!"), ui::vbCritical, QStringLiteral("Error"));
        UdControlState();
        return;
    }
    if (ebDumpRAM(path, static_cast<int16_t>(cmbDumpDataFormat.ListIndex()))) {
        ui::MsgBox(QStringLiteral("RAM Opperaiton Successful!"), ui::vbInformation);
    } else {
        ui::MsgBox(QStringLiteral("RAM Opperation Failed!"), ui::vbCritical, QStringLiteral("Error"));
        // The chip's serial port is reset after a failed read.
        if (cZR4470XEvalBd* bd = goEvalBd) {
            bd->setIO_RESET(1);
            bd->USBWritePortBuffVal(kPortA);
            bd->setIO_RESET(0);
            bd->USBWritePortBuffVal(kPortA);
        }
    }
    UdControlState();
}

void frmQDUCRSR::cmdViewSavedFile_Click()
{
    const QString path = txtRAMSaveFile.Text();
    if (path.isEmpty())
        return;
    if (!ShellOpenEx(path, os::programFolder(), QString(), 1))
        TellNoViewer(path);
}
