#include "platform/os/files.h"

#include "platform/os/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
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
    // 1. Every new content goes into a file of its own beside its target; nothing is replaced yet. A
    // link is followed (the file it names is replaced); anything but a file in a target's place stops all.
    std::vector<QString> targets;
    for (const auto& file : files) {
        QFileInfo target(file.first);
        if (target.isSymLink())
            target = QFileInfo(target.symLinkTarget());
        if (target.exists() && !target.isFile())
            return false;
        targets.push_back(target.absoluteFilePath());
    }
    std::vector<std::unique_ptr<QTemporaryFile>> fresh;
    for (size_t i = 0; i < files.size(); ++i) {
        const QByteArray& bytes = files[i].second;
        const QFileInfo target(targets[i]);
        auto file = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") +
                                                     target.fileName() + QStringLiteral(".XXXXXX"));
        if (!file->open() || !writeAndSync(*file, bytes))
            return false; // the temporary files remove themselves
        file->close();
        fresh.push_back(std::move(file));
    }
    // 2. Each old file steps aside and the new one takes its name; renames in one folder need no room.
    struct Step {
        QString path;
        QString aside; // empty when there was no old file
        bool replaced = false;
    };
    std::vector<Step> steps;
    bool ok = true;
    for (size_t i = 0; i < files.size() && ok; ++i) {
        Step step;
        step.path = targets[i];
        if (QFileInfo::exists(step.path)) {
            step.aside = fresh[i]->fileName() + QStringLiteral(".old");
            if (!renamePath(step.path, step.aside)) {
                ok = false;
                break;
            }
        }
        steps.push_back(step);
        if (!renamePath(fresh[i]->fileName(), step.path)) {
            ok = false;
            break;
        }
        fresh[i]->setAutoRemove(false);
        steps.back().replaced = true;
    }
    // 3. All in place: the old files go. Otherwise every old file gets its name back.
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        if (ok) {
            if (!it->aside.isEmpty())
                QFile::remove(it->aside);
            continue;
        }
        if (it->replaced)
            QFile::remove(it->path);
        if (!it->aside.isEmpty())
            renamePath(it->aside, it->path);
    }
    return ok;
}

} // namespace os
