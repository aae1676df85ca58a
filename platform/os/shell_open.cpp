#include "platform/os/shell_open.h"

#include "platform/os/orphan_adoption.h"
#include "platform/os/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace os {

namespace {

// A viewer or a browser outlives this program, and so does what it starts: it is never left to this program
// as an orphan of its own children would be, nor ended with them.
bool startOutliving(const QString& program, const QStringList& arguments, const QString& workDir)
{
    const OrphansNotAdopted outliving;
    return QProcess::startDetached(program, arguments, workDir);
}

QString inFolder(const QString& path, const QString& folder)
{
    QString native = toNativePath(path);
    if (native.isEmpty() || QDir::isAbsolutePath(native) || folder.isEmpty())
        return native;
    return QDir(toNativePath(folder)).filePath(native);
}

bool startTool(const QString& program, const QStringList& arguments, const QString& folder)
{
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return false;
    const QString workDir = folder.isEmpty() ? QDir::currentPath() : toNativePath(folder);
    return startOutliving(found, arguments, workDir);
}

// The desktop's handlers: xdg-open for documents and addresses, a text editor for the text viewer.
class DesktopShellService : public ShellService {
public:
    bool open(const OpenRequest& request) override
    {
        switch (request.kind) {
        case OpenKind::Url:
            return !request.target.trimmed().isEmpty() &&
                   startTool(QStringLiteral("xdg-open"), {request.target.trimmed()}, request.folder);
        case OpenKind::Document: {
            const QString path = inFolder(request.target, request.folder);
            if (path.isEmpty() || !QFileInfo::exists(path))
                return false;
            return startTool(QStringLiteral("xdg-open"), {path}, request.folder);
        }
        case OpenKind::TextViewer: {
            const QString path = inFolder(request.target, request.folder);
            QStringList arguments;
            if (!path.isEmpty())
                arguments << path;
            static const char* const viewers[] = {
                "gnome-text-editor", "gedit", "kate", "mousepad", "pluma", "xed", "leafpad", "kwrite"};
            for (const char* viewer : viewers) {
                if (startTool(QString::fromLatin1(viewer), arguments, request.folder))
                    return true;
            }
            return !path.isEmpty() && QFileInfo::exists(path) &&
                   startTool(QStringLiteral("xdg-open"), arguments, request.folder);
        }
        case OpenKind::Program: {
            const QString program = inFolder(request.target, request.folder);
            if (program.isEmpty())
                return false;
            const QString workDir =
                request.folder.isEmpty() ? QDir::currentPath() : toNativePath(request.folder);
            return startOutliving(program, QProcess::splitCommand(request.parameters), workDir);
        }
        }
        return false;
    }
};

DesktopShellService& desktopService()
{
    static DesktopShellService service;
    return service;
}

ShellService*& installedService()
{
    static ShellService* service = nullptr;
    return service;
}

bool namesNotepad(const QString& program)
{
    const QString name = fileNameOf(program).toLower();
    return name == QLatin1String("notepad") || name == QLatin1String("notepad.exe");
}

} // namespace

ShellService& shellService()
{
    ShellService* service = installedService();
    return service ? *service : desktopService();
}

void setShellService(ShellService* service)
{
    installedService() = service;
}

OpenRequest classifyOpen(const QString& target, const QString& folder, const QString& parameters,
                         int showCommand)
{
    OpenRequest request;
    request.folder = folder;
    request.showCommand = showCommand;
    // A scheme of two letters or more: one letter would be a drive ("C:\...").
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const QString trimmed = target.trimmed();
    if (scheme.match(trimmed).hasMatch()) {
        request.kind = OpenKind::Url;
        request.target = trimmed;
        request.parameters = parameters;
    } else if (namesNotepad(trimmed)) {
        request.kind = OpenKind::TextViewer;
        request.target = parameters.trimmed();
    } else {
        request.kind = OpenKind::Document;
        request.target = target;
        request.parameters = parameters;
    }
    return request;
}

bool shellOpen(const QString& target, const QString& folder, const QString& parameters, int showCommand)
{
    return shellService().open(classifyOpen(target, folder, parameters, showCommand));
}

bool startDetached(const QString& commandLine, const QString& folder)
{
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        return false;
    OpenRequest request;
    request.folder = folder;
    const QString program = words.takeFirst();
    if (namesNotepad(program)) {
        request.kind = OpenKind::TextViewer;
        request.target = words.join(QLatin1Char(' '));
    } else {
        request.kind = OpenKind::Program;
        request.target = program;
        // Re-quote so that the service splits the arguments back as they were.
        QStringList quoted;
        for (const QString& word : words)
            quoted << (word.contains(QLatin1Char(' ')) ? QLatin1Char('"') + word + QLatin1Char('"') : word);
        request.parameters = quoted.join(QLatin1Char(' '));
    }
    return shellService().open(request);
}

} // namespace os
