#include "profiles/ram_data_files.h"

#include "board/ram_file.h"

#include "platform/ui/msgbox.h"

#include <QFileInfo>

namespace ramwin {

void showRamLoadResult(int16_t code)
{
    switch (code) {
    case kRamLoadDone:
        ui::MsgBox(QStringLiteral("The RAM data file was loaded successfully!"), ui::vbInformation,
                   QStringLiteral("RAM Load Successfull"));
        break;
    case kRamLoadNoBoard:
        ui::MsgBox(QStringLiteral("Evaluation board not connected!"), ui::vbExclamation,
                   QStringLiteral("RAM Load Error"));
        break;
    case kRamLoadNoPath:
        ui::MsgBox(QStringLiteral("No file specified!"), ui::vbExclamation,
                   QStringLiteral("No File Specifed"));
        break;
    default:
        ui::MsgBox(QStringLiteral("Invalid RAM Data file!"), ui::vbExclamation,
                   QStringLiteral("RAM Load Error"));
        break;
    }
}

QStringList segmentWindowFormats()
{
    return {QStringLiteral("RAW Binary"), QStringLiteral("RAW Hex"), QStringLiteral("RAW Decimal"),
            QStringLiteral("Signed Integer (Modulation File)")};
}

bool canWriteFile(const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QFileInfo file(path);
    if (file.exists())
        return file.isFile() && file.isWritable();
    const QFileInfo folder(file.absolutePath());
    return folder.isDir() && folder.isWritable();
}

} // namespace ramwin
