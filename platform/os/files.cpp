#include "platform/os/files.h"

#include "platform/os/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {

// The new content in a file beside the old one, wholly on the disk. A short write or a failed flush (a
// full disk shows there for a file smaller than the write buffer) and a failed sync all count: the
// content may then be incomplete.
bool writeAndSync(QFileDevice& file, const QByteArray& bytes)
{
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    // A file system that cannot sync (EINVAL) has nothing more to write; any other failure lost data.
    return ::fsync(file.handle()) == 0 || errno == EINVAL || errno == ENOTSUP;
}

bool renamePath(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

TogetherStepHook& togetherStepHook()
{
    static TogetherStepHook hook;
    return hook;
}

// False when a test stops the write after this step, as a crash would: nothing is cleaned up.
bool stepDone(TogetherStep step, const QString& target)
{
    const TogetherStepHook& hook = togetherStepHook();
    return !hook || hook(step, target);
}

// The names beside a target that a write together uses for a while: "." + name + "." + six letters or
// digits for the new content, and the same + ".old" for the old file kept meanwhile.
constexpr qsizetype kUniqueLength = 6;
const QString kKeptSuffix = QStringLiteral(".old");

QString besideName(const QString& target, const QString& suffix)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const QFileInfo info(target);
    QString name = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.');
    for (qsizetype i = 0; i < kUniqueLength; ++i)
        name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))]);
    return name + suffix;
}

bool isOurLeftover(const QString& entry, const QString& targetName)
{
    const QString prefix = QStringLiteral(".") + targetName + QLatin1Char('.');
    if (!entry.startsWith(prefix))
        return false;
    QStringView unique = QStringView(entry).mid(prefix.size());
    if (unique.endsWith(kKeptSuffix))
        unique.chop(kKeptSuffix.size());
    return unique.size() == kUniqueLength && std::all_of(unique.begin(), unique.end(), [](QChar c) {
               return c.unicode() < 128 && c.isLetterOrNumber();
           });
}

void removeLeftovers(const QString& target)
{
    const QFileInfo info(target);
    const QDir folder(info.absolutePath());
    const QStringList entries =
        folder.entryList({QStringLiteral(".") + info.fileName() + QStringLiteral(".*")},
                         QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& entry : entries) {
        if (isOurLeftover(entry, info.fileName()))
            QFile::remove(folder.filePath(entry));
    }
}

// The permission bits of the file at `path`; none when there is no file.
std::optional<mode_t> permissionsOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return static_cast<mode_t>(st.st_mode & 07777);
}

// A new file of ours beside `target` (its name ending in `suffix`) holding `bytes`, wholly on the disk,
// with the permissions `mode` (none: those of any new file, 0666 less the umask). Its name, or empty on
// failure, when nothing is left.
QString writeBeside(const QString& target, const QString& suffix, const QByteArray& bytes,
                    std::optional<mode_t> mode)
{
    QString name;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        name = besideName(target, suffix);
        fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    mode ? S_IRUSR | S_IWUSR : 0666);
        if (fd < 0 && errno != EEXIST)
            return QString();
    }
    if (fd < 0)
        return QString();
    QFile file;
    bool written = file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    if (!written)
        ::close(fd);
    written = written && (!mode || ::fchmod(fd, *mode) == 0) && writeAndSync(file, bytes);
    file.close();
    if (!written) {
        QFile::remove(name);
        return QString();
    }
    return name;
}

// A second name for the old file while the new one takes its place: a second link to the same file, or,
// where the file system has none, a copy with the same permissions. Empty on failure.
QString keepOldFile(const QString& target, mode_t mode)
{
    const QByteArray from = QFile::encodeName(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = besideName(target, kKeptSuffix);
        if (::link(from.constData(), QFile::encodeName(name).constData()) == 0)
            return name;
        if (errno != EEXIST)
            break;
    }
    const std::optional<QByteArray> bytes = readWholeFile(target, qint64{1} << 30);
    return bytes ? writeBeside(target, kKeptSuffix, *bytes, mode) : QString();
}

// The renames themselves reach the disk: each folder is synced once (where it can be).
void syncFolders(const std::vector<QString>& targets)
{
    QStringList folders;
    for (const QString& target : targets) {
        const QString folder = QFileInfo(target).absolutePath();
        if (folders.contains(folder))
            continue;
        folders << folder;
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
}

// One target of a write together.
struct Step {
    QString path;
    std::optional<mode_t> old; // the old file's permissions; none when there was no old file
    QString fresh;             // the new content until it has the target's name
    QString kept;              // the old file's second name; empty when there is none
};

} // namespace

bool FileExists(const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QFileInfo info(toNativePath(path));
    return info.exists() && info.isFile();
}

bool DirExists(const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QFileInfo info(toNativePath(path));
    return info.exists() && info.isDir();
}

bool openRegularFile(QFile& file)
{
    if (file.fileName().trimmed().isEmpty() || !QFileInfo(file.fileName()).isFile())
        return false;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.isSequential()) {
        file.close();
        return false;
    }
    return true;
}

std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    if (!openRegularFile(file) || file.size() > maxBytes)
        return std::nullopt;
    // The size may grow while the file is read: never more than the limit is taken.
    QByteArray bytes = file.read(file.size());
    char more[4096];
    while (file.error() == QFileDevice::NoError && bytes.size() <= maxBytes) {
        const qint64 n = file.read(more, std::min<qint64>(sizeof more, maxBytes + 1 - bytes.size()));
        if (n <= 0)
            break;
        bytes.append(more, n);
    }
    if (file.error() != QFileDevice::NoError || bytes.size() > maxBytes)
        return std::nullopt;
    return bytes;
}

bool writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!writeAndSync(file, bytes)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeFilesTogether(const std::vector<std::pair<QString, QByteArray>>& files)
{
    // A link is followed (the file it names is replaced); anything but a file in a target's place stops all.
    std::vector<QString> targets;
    for (const auto& file : files) {
        QFileInfo target(file.first);
        if (target.isSymLink())
            target = QFileInfo(target.symLinkTarget());
        if (target.exists() && !target.isFile())
            return false;
        targets.push_back(target.absoluteFilePath());
    }
    // What an earlier write left when the program died in the middle of it.
    for (const QString& target : targets)
        removeLeftovers(target);

    // 1. Every new content goes into a file of its own beside its target, with the old file's
    // permissions; nothing is replaced yet.
    std::vector<Step> steps(files.size());
    const auto undo = [&steps](size_t replaced) {
        for (size_t i = 0; i < steps.size(); ++i) {
            Step& step = steps[i];
            if (i < replaced) {
                // The kept old file takes its name back in one step; a file that had none goes again.
                if (!step.kept.isEmpty())
                    renamePath(step.kept, step.path);
                else
                    QFile::remove(step.path);
            } else {
                if (!step.fresh.isEmpty())
                    QFile::remove(step.fresh);
                if (!step.kept.isEmpty())
                    QFile::remove(step.kept);
            }
        }
        return false;
    };
    for (size_t i = 0; i < files.size(); ++i) {
        Step& step = steps[i];
        step.path = targets[i];
        step.old = permissionsOf(step.path);
        step.fresh = writeBeside(step.path, QString(), files[i].second, step.old);
        if (step.fresh.isEmpty())
            return undo(0);
        if (!stepDone(TogetherStep::FreshWritten, step.path))
            return false;
    }
    // 2. Each old file is kept under a second name (a second link to it, or a copy): its own name stays.
    for (Step& step : steps) {
        if (!step.old)
            continue;
        step.kept = keepOldFile(step.path, *step.old);
        if (step.kept.isEmpty())
            return undo(0);
        if (!stepDone(TogetherStep::OldKept, step.path))
            return false;
    }
    // 3. Each new file takes its target's name in one step, so the name is never missing, not even for
    // a moment. When one cannot, the files already replaced get their old content back the same way.
    for (size_t i = 0; i < steps.size(); ++i) {
        if (!renamePath(steps[i].fresh, steps[i].path))
            return undo(i);
        steps[i].fresh.clear();
        if (!stepDone(TogetherStep::Replaced, steps[i].path))
            return false;
    }
    syncFolders(targets);
    // 4. All in place: the old files go.
    for (const Step& step : steps) {
        if (!step.kept.isEmpty())
            QFile::remove(step.kept);
    }
    return true;
}

namespace testing {

void setTogetherStepHook(TogetherStepHook hook)
{
    togetherStepHook() = std::move(hook);
}

} // namespace testing

} // namespace os
