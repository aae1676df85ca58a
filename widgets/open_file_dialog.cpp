#include "widgets/open_file_dialog.h"

#include "widgets/common_dialog.h"

std::optional<QString> chooseFileToOpen(const QString& filter, const QString& initialFolder,
                                        const QString& title, const QString& defaultExtension, int32_t owner)
{
    cCommonDialog dialog;
    QString fileName;
    QString fileTitle;
    bool readOnly = false;
    QString dialogFilter = filter;
    int32_t filterIndex = 1;
    int32_t flags = filedlg::PathMustExist;
    if (!dialog.VBGetOpenFileName(fileName, fileTitle, true, false, readOnly, false, dialogFilter,
                                  filterIndex, initialFolder, title, defaultExtension, owner, flags))
        return std::nullopt;
    return fileName;
}
