#include "widgets/common_dialog.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QChar kNul(u'\0');

// Bits a caller may not hand on: the dialog here has no hook procedure and no template.
constexpr int32_t kHookAndTemplate = filedlg::EnableHook | filedlg::EnableTemplate;

// The dialog service reads the classic '|' form; NULs of the dialog text become separators again.
QString serviceFilterText(const QString& dialogText)
{
    QString text = dialogText;
    text.replace(kNul, QLatin1Char('|'));
    while (text.endsWith(QLatin1Char('|')))
        text.chop(1);
    return text;
}

uint32_t ownerHandle(int32_t owner)
{
    return owner == -1 ? 0u : static_cast<uint32_t>(owner);
}

QString extensionOf(const QString& fileName)
{
    return QFileInfo(fileName).suffix();
}

} // namespace

void cCommonDialog::startCall()
{
    apiReturn_ = 0;
    extendedError_ = 0;
}

QString cCommonDialog::DialogFilterText(const QString& filter)
{
    QString text = filter;
    text.replace(QLatin1Char(':'), kNul);
    text.replace(QLatin1Char('|'), kNul);
    text.append(kNul).append(kNul);
    return text;
}

QString cCommonDialog::FilterPair(const QString& dialogFilterText, int n)
{
    const QString& text = dialogFilterText;
    if (text.isEmpty())
        return {};
    qsizetype start = 0;
    QString pair;
    for (int step = 1; step <= n; ++step) {
        const qsizetype descriptionEnd = text.indexOf(kNul, start);
        if (descriptionEnd < 0)
            return {};
        const qsizetype patternEnd = text.indexOf(kNul, descriptionEnd + 1);
        if (patternEnd < 0) {
            pair = text.mid(start);
            start = text.size();
        } else {
            pair = text.mid(start, patternEnd - start);
            start = patternEnd + 1;
        }
    }
    return pair;
}

QString cCommonDialog::DialogDefaultExtension(const QString& defaultExt, const QString& filter)
{
    QString extension = defaultExt.trimmed();
    while (extension.startsWith(QLatin1Char('.')))
        extension.remove(0, 1);
    if (extension.isEmpty())
        return extension;
    static const QRegularExpression separators(QStringLiteral("[|:;\\s]"));
    for (const QString& part : filter.split(separators, Qt::SkipEmptyParts)) {
        if (!part.startsWith(QLatin1String("*.")))
            continue;
        QString patternExtension = part.mid(2);
        if (patternExtension.compare(extension, Qt::CaseInsensitive) == 0)
            return patternExtension;
    }
    return extension;
}

bool cCommonDialog::fileDialog(bool open, QString& FileName, QString& FileTitle, QString& Filter,
                               int32_t& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                               const QString& DefaultExt, int32_t Owner, int32_t& Flags)
{
    const QString dialogFilter = DialogFilterText(Filter);

    ui::FileDialogRequest request;
    request.kind = open ? ui::FileDialogRequest::Kind::Open : ui::FileDialogRequest::Kind::Save;
    request.title = DlgTitle;
    // Names of any length are taken: the file systems here allow longer paths than 260 characters.
    request.fileName = FileName;
    request.filter = serviceFilterText(dialogFilter);
    request.filterIndex = FilterIndex;
    request.initialFolder = InitDir; // empty: where the last file dialog of the program left off
    request.defaultExtension = DialogDefaultExtension(DefaultExt, Filter);
    request.fileMustExist = (Flags & filedlg::FileMustExist) != 0;
    request.pathMustExist = (Flags & filedlg::PathMustExist) != 0;
    request.overwritePrompt = (Flags & filedlg::OverwritePrompt) != 0;
    request.multiSelect = (Flags & filedlg::AllowMultiSelect) != 0;
    request.readOnlyChecked = (Flags & filedlg::ReadOnly) != 0;
    request.hideReadOnly = (Flags & filedlg::HideReadOnly) != 0;
    request.ownerHwnd = ownerHandle(Owner);

    const ui::FileDialogResult result =
        open ? ui::dialogService().openFile(request) : ui::dialogService().saveFile(request);
    apiReturn_ = result.accepted ? 1 : 0;
    if (!result.accepted || result.fileName.isEmpty()) {
        apiReturn_ = 0;
        selectedFiles_.clear();
        FileName.clear();
        FileTitle.clear();
        Flags = 0;
        if (open) {
            FilterIndex = -1;
            Filter.clear();
        } else {
            FilterIndex = 0;
            Filter = dialogFilter;
        }
        return false;
    }

    selectedFiles_ = result.fileNames.isEmpty() ? QStringList{result.fileName} : result.fileNames;
    // With several files the classic answer names their folder first; the files are in SelectedFiles().
    FileName = selectedFiles_.size() > 1 ? QFileInfo(result.fileName).absolutePath() : result.fileName;
    FileTitle = QFileInfo(result.fileName).fileName();
    Flags = result.readOnly ? (Flags | filedlg::ReadOnly) : (Flags & ~filedlg::ReadOnly);
    if (!request.defaultExtension.isEmpty() &&
        extensionOf(result.fileName).compare(request.defaultExtension, Qt::CaseInsensitive) != 0)
        Flags |= filedlg::ExtensionDifferent;
    FilterIndex = result.filterIndex;
    Filter = FilterPair(dialogFilter, FilterIndex);
    return true;
}

bool cCommonDialog::VBGetOpenFileName(QString& FileName, QString& FileTitle, bool FileMustExist,
                                      bool MultiSelect, bool& ReadOnly, bool HideReadOnly, QString& Filter,
                                      int32_t& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                                      const QString& DefaultExt, int32_t Owner, int32_t& Flags)
{
    startCall();
    int32_t flags = Flags & ~kHookAndTemplate;
    if (FileMustExist)
        flags |= filedlg::FileMustExist;
    if (MultiSelect)
        flags |= filedlg::AllowMultiSelect;
    if (ReadOnly)
        flags |= filedlg::ReadOnly;
    if (HideReadOnly)
        flags |= filedlg::HideReadOnly;
    Flags = flags;
    const bool chosen = fileDialog(true, FileName, FileTitle, Filter, FilterIndex, InitDir, DlgTitle,
                                   DefaultExt, Owner, Flags);
    // The box as the user left it (unticking it counts too).
    if (chosen)
        ReadOnly = (Flags & filedlg::ReadOnly) != 0;
    return chosen;
}

bool cCommonDialog::VBGetSaveFileName(QString& FileName, QString& FileTitle, bool OverWritePrompt,
                                      QString& Filter, int32_t& FilterIndex, const QString& InitDir,
                                      const QString& DlgTitle, const QString& DefaultExt, int32_t Owner,
                                      int32_t& Flags)
{
    startCall();
    int32_t flags = (Flags & ~kHookAndTemplate) | filedlg::HideReadOnly;
    if (OverWritePrompt)
        flags |= filedlg::OverwritePrompt;
    Flags = flags;
    return fileDialog(false, FileName, FileTitle, Filter, FilterIndex, InitDir, DlgTitle, DefaultExt, Owner,
                      Flags);
}

QString cCommonDialog::VBGetFileTitle(const QString& FileName) const
{
    static const QRegularExpression notInNames(QStringLiteral("[*?\"<>|]"));
    if (FileName.isEmpty() || FileName.endsWith(QLatin1Char('/')) || FileName.endsWith(QLatin1Char('\\')) ||
        FileName.contains(notInNames) || FileName.contains(kNul))
        return {};
    const qsizetype cut =
        std::max(FileName.lastIndexOf(QLatin1Char('/')), FileName.lastIndexOf(QLatin1Char('\\')));
    return FileName.mid(cut + 1);
}
