#include "profiles/frm_ram_debug.h"

#include "board/board_flags.h"
#include "board/ram_file.h"
#include "board/sound.h"
#include "board/utility.h"
#include "profiles/edit_dialog_layout.h"
#include "profiles/ram_data_files.h"
#include "shell/startup.h"
#include "widgets/open_file_dialog.h"

#include "platform/os/program_folder.h"
#include "platform/os/shell_open.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <QDir>
#include <QGridLayout>
#include <QVBoxLayout>

namespace {

QStringList debugWindowFormats()
{
    return {QStringLiteral("RAW Binary"), QStringLiteral("RAW Hex"), QStringLiteral("RAW Decimal"),
            QStringLiteral("Modulation File (Signed Integer)")};
}

} // namespace

frmRAMDebug::frmRAMDebug() : Form(FormName)
{
    setMdiChild(true);
    setCaption(QStringLiteral("RAM I/O Window"));
    lblRAMFile.setCaption(QStringLiteral("RAM Data File:"));
    cmdSelRAMFile.setCaption(QStringLiteral("..."));
    cmdSelRAMFile.setToolTipText(QStringLiteral("Select a RAM File to load"));
    lblOutputDataFormat(1).setCaption(QStringLiteral("Data Format:"));
    cmdLoadRAMFile.setCaption(QStringLiteral("Load File"));
    cmdLoadRAMFile.setToolTipText(QStringLiteral("Load the RAM file specified above"));
    lblLoadRAWRAMFile.setCaption(
        QStringLiteral("Loads the RAM Data file into the RAM using the currently selected RAM Segment."));
    lblLoadRAWRAMFile.setWordWrap(true);
    lblOutputDataFormat(0).setCaption(QStringLiteral("Output Data Format:"));
    cmbDumpDataFormat.setToolTipText(QStringLiteral("Select the RAM data format written to the file."));
    chkOpen.setCaption(QStringLiteral("Open File In Notepad"));
    chkOpen.setToolTipText(QStringLiteral("After dumping the RAM the file in Notepad"));
    cmdRAMReadTest.setCaption(QStringLiteral("Read RAM to File"));
    cmdRAMReadTest.setToolTipText(
        QStringLiteral("Dumps the RAM to a file named RAMDump.txt in the folder that "
                       "the Eval Software is installed into."));
    lblRAMDump.setCaption(QStringLiteral(
        "Dumps the contents of the entire RAM storing the RAM data in a file named RAMDump.txt. "
        "This RAM Data file is stored in the same folder as the Eval Software executable file."));
    lblRAMDump.setWordWrap(true);
    for (const QString& format : debugWindowFormats()) {
        cmbLoadOptions.AddItem(format);
        cmbDumpDataFormat.AddItem(format);
    }

    ui::bind(txtRAWRAMFile.Change, this, &frmRAMDebug::txtRAWRAMFile_Change);
    ui::bind(cmdSelRAMFile.Click, this, &frmRAMDebug::cmdSelRAMFile_Click);
    ui::bind(cmdLoadRAMFile.Click, this, &frmRAMDebug::cmdLoadRAMFile_Click);
    ui::bind(cmdRAMReadTest.Click, this, &frmRAMDebug::cmdRAMReadTest_Click);
}

QString frmRAMDebug::dumpPath()
{
    return QDir(os::programFolder()).filePath(QStringLiteral("RAMDump.txt"));
}

void frmRAMDebug::Form_Load()
{
    cmbLoadOptions.setListIndex(0);
    cmbDumpDataFormat.setListIndex(0);
}

void frmRAMDebug::txtRAWRAMFile_Change()
{
    txtRAWRAMFile.setToolTipText(txtRAWRAMFile.Text());
}

void frmRAMDebug::cmdSelRAMFile_Click()
{
    const std::optional<QString> chosen = chooseFileToOpen(
        QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"), os::programFolder(),
        QStringLiteral("Select RAM File"), QStringLiteral("txt"), static_cast<int32_t>(hWnd()));
    DoEventsN(2);
    const QString fileName = chosen.value_or(QString());
    if (!fileName.isEmpty()) {
        gbDlgShown = true;
        txtRAWRAMFile.setText(fileName);
        txtRAWRAMFile.setSelStart(static_cast<int>(fileName.size()));
    }
    txtRAWRAMFile.SetFocus();
}

void frmRAMDebug::cmdLoadRAMFile_Click()
{
    ramwin::showRamLoadResult(
        ebLoadRAMFile(txtRAWRAMFile.Text(), static_cast<int16_t>(cmbLoadOptions.ListIndex())));
}

void frmRAMDebug::cmdRAMReadTest_Click()
{
    if (!gbBoardConnected) {
        PlaySoundAsync(QStringLiteral("SystemExclamation"));
        return;
    }
    const QString path = dumpPath();
    if (!ramwin::canWriteFile(path)) {
        // Found before the RAM is read: an earlier dump stays as it was.
        ui::MsgBox(QStringLiteral("The RAM dump file could not be created:") + QStringLiteral("\r\n") + path,
                   ui::vbExclamation, QStringLiteral("Error!"));
        return;
    }
    switch (ebDumpRAMToFile(path, static_cast<int16_t>(cmbDumpDataFormat.ListIndex()))) {
    case RamDumpResult::Done:
        break;
    case RamDumpResult::ReadFailed:
        ui::MsgBox(QStringLiteral("RAM Opperation Failed!"), ui::vbCritical, QStringLiteral("Error"));
        return;
    case RamDumpResult::NotWritten:
        ui::MsgBox(QStringLiteral("The RAM dump file could not be written:") + QStringLiteral("\r\n") + path,
                   ui::vbExclamation, QStringLiteral("Error!"));
        return;
    }
    if (chkOpen.Value() == 1) {
        // The dump's path as one argument of the viewer; no command line is parsed.
        os::OpenRequest request;
        request.kind = os::OpenKind::TextViewer;
        request.target = path;
        request.folder = os::programFolder();
        request.showCommand = 1;
        if (!os::shellService().open(request))
            TellNoViewer(QDir::toNativeSeparators(path));
    }
}

void frmRAMDebug::buildUi(QWidget* window)
{
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(8, 8, 8, 8);
    auto* load = new QGridLayout;
    load->addWidget(lblRAMFile.widget(), 0, 0);
    load->addWidget(txtRAWRAMFile.widget(), 0, 1);
    load->addWidget(cmdSelRAMFile.widget(), 0, 2);
    load->addWidget(lblOutputDataFormat(1).widget(), 1, 0);
    load->addWidget(cmbLoadOptions.widget(), 1, 1);
    load->addWidget(cmdLoadRAMFile.widget(), 1, 2);
    load->addWidget(lblLoadRAWRAMFile.widget(), 2, 0, 1, 3);
    load->setColumnStretch(1, 1);
    outer->addLayout(load);
    if (QWidget* path = txtRAWRAMFile.widget())
        path->setMinimumWidth(path->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 36);

    auto* dump = new QGridLayout;
    dump->addWidget(lblOutputDataFormat(0).widget(), 0, 0);
    dump->addWidget(cmbDumpDataFormat.widget(), 0, 1);
    dump->addWidget(chkOpen.widget(), 1, 0, 1, 2);
    dump->addWidget(cmdRAMReadTest.widget(), 0, 2);
    dump->addWidget(lblRAMDump.widget(), 2, 0, 1, 3);
    dump->setColumnStretch(1, 1);
    outer->addLayout(dump);
    if (QWidget* shape = shpShape.widget())
        shape->setVisible(false);
}
