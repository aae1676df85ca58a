#pragma once

// A file system of its own for one test: a small tmpfs mounted in a temporary folder (where the test may
// mount one; as root it usually may), which the test fills to the last byte to see what a full disk does
// to a save. A test skips itself where no mount is permitted (SKIP_WITHOUT_SMALL_FILE_SYSTEM).

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace testing_fs {

class SmallFileSystem {
public:
    explicit SmallFileSystem(int kilobytes = 256)
    {
        if (!dir_.isValid())
            return;
        const QByteArray where = QFile::encodeName(dir_.path());
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
        mounted_ = ::mount("tmpfs", where.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const { return QDir(dir_.path()).filePath(name); }

    // Writes a filler file until not one byte more fits.
    void fill()
    {
        const int fd =
            ::open(QFile::encodeName(path(kFiller)).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0)
            return;
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), static_cast<size_t>(block.size())) > 0) {
        }
        while (::write(fd, "f", 1) > 0) {
        }
        ::close(fd);
    }
    // Gives the filler's room back.
    void makeRoom() { QFile::remove(path(kFiller)); }

private:
    static inline const QString kFiller = QStringLiteral("filler.bin");
    QTemporaryDir dir_;
    bool mounted_ = false;
};

} // namespace testing_fs

#define SKIP_WITHOUT_SMALL_FILE_SYSTEM(fs)                                                                   \
    if (!(fs).mounted())                                                                                     \
    GTEST_SKIP() << "no small file system can be mounted here"
