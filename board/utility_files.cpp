#include "board/utility.h"

#include "board/message_sink.h"
#include "platform/os/files.h"
#include "platform/os/paths.h"
#include "platform/os/program_folder.h"
#include "platform/os/shell_open.h"

#include <algorithm>

bool FileExists(const QString& path)
{
    return !path.isEmpty() && os::FileExists(path);
}

bool DirExists(const QString& path)
{
    return !path.isEmpty() && os::DirExists(path);
}

QString GetFileNameFromPath(const QString& path)
{
    return os::fileNameOf(path);
}

QString GetPathFromFileName(const QString& path)
{
    return os::folderOf(path);
}

QString ReverseString(const QString& text)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar* p = out.data() + text.size();
    const QChar* s = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character outside the basic plane keeps its two halves in order.
        if (s[i].isHighSurrogate() && i + 1 < text.size() && s[i + 1].isLowSurrogate()) {
            p -= 2;
            p[0] = s[i];
            p[1] = s[i + 1];
            ++i;
        } else {
            *--p = s[i];
        }
    }
    return out;
}

void TellNoViewer(const QString& what)
{
    boardmsg::MsgBox(QStringLiteral("No viewer is installed that can show %1.").arg(what),
                     boardmsg::vbExclamation, QStringLiteral("No Viewer Installed"));
}

QString GetWindowsDir()
{
    return os::programFolder();
}

bool ShellOpenEx(const QString& file, const QString& folder, const QString& parameters, int showIndex)
{
    if (showIndex < 0 || showIndex > 6) {
        boardmsg::MsgBox(QStringLiteral("ShellOpen: Bad Argument"), boardmsg::vbCritical);
        return false;
    }
    if (showIndex == 5) {
        boardmsg::MsgBox(QStringLiteral("ShellOpenEx(): Bad Argument"), boardmsg::vbCritical);
        return false;
    }
    // Show index to window state: hidden, normal, minimised, maximised, shown without activation,
    // (5 refused above), minimised without activation.
    static constexpr int kShowCommand[7] = {0, 1, 2, 3, 8, -1, 7};
    return os::shellOpen(file, folder, parameters, kShowCommand[showIndex]);
}
