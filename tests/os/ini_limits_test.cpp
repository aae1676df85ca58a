// INI files at their limits: the size limit, many sections and keys, and a file changed behind the
// reader's back.

#include "platform/os/ini_profile.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniLimits : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString write(const QByteArray& bytes)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return path;
    }
    // A file of exactly `size` bytes whose first section holds key=value.
    QByteArray fileOfSize(qint64 size)
    {
        QByteArray bytes = "[s]\r\nkey=value\r\n;";
        bytes.append(QByteArray(size - bytes.size(), 'c'));
        return bytes;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SimulatorSetup.ini"));
};

TEST_F(IniLimits, AFileUpToTheLimitIsReadAndALargerOneIsUnreadable)
{
    struct SizeCase {
        qint64 size;
        bool read;
    };
    for (const SizeCase& c : {SizeCase{os::kIniFileMaxBytes, true}, SizeCase{os::kIniFileMaxBytes + 1, false},
                              SizeCase{8 * os::kIniFileMaxBytes, false}}) {
        SCOPED_TRACE(c.size);
        write(fileOfSize(c.size));
        EXPECT_EQ(os::GetPrivateProfileString(QStringLiteral("s"), QStringLiteral("key"), QStringLiteral("d"),
                                              path),
                  c.read ? QStringLiteral("value") : QStringLiteral("d"));
        EXPECT_EQ(os::GetPrivateProfileSectionNames(path),
                  c.read ? QStringList{QStringLiteral("s")} : QStringList());
        // A file that could not be read is never replaced by a write.
        EXPECT_EQ(os::WritePrivateProfileString(QStringLiteral("s"), QStringLiteral("new"),
                                                QStringLiteral("1"), path),
                  c.read && c.size < os::kIniFileMaxBytes);
    }
}

TEST_F(IniLimits, ManySectionsAndKeysAreListedOnceEachInFileOrder)
{
    QByteArray bytes;
    QStringList sections, keys;
    for (int i = 0; i < 20000; ++i) {
        bytes += "[Section " + QByteArray::number(i) + "]\r\n";
        sections << QStringLiteral("Section %1").arg(i);
    }
    // The same names again, in other case: listed once, as first spelled.
    for (int i = 0; i < 20000; i += 7)
        bytes += "[SECTION " + QByteArray::number(i) + "]\r\n";
    bytes += "[Keys]\r\n";
    for (int i = 0; i < 20000; ++i) {
        bytes += "Key" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
        keys << QStringLiteral("Key%1").arg(i);
    }
    bytes += "KEY5=again\r\n";
    write(bytes);
    sections << QStringLiteral("Keys");
    EXPECT_EQ(os::GetPrivateProfileSectionNames(path), sections);
    EXPECT_EQ(os::GetPrivateProfileKeyNames(QStringLiteral("keys"), path), keys);
    EXPECT_EQ(os::GetPrivateProfileString(QStringLiteral("Keys"), QStringLiteral("key5"), QString(), path),
              QStringLiteral("5"));
}

TEST_F(IniLimits, AFileChangedBehindTheReaderIsReadAgainEvenWithItsOldSizeAndTime)
{
    write("[s]\r\nk=1\r\n");
    const QDateTime stamp = QFileInfo(path).lastModified();
    EXPECT_EQ(os::GetPrivateProfileInt(QStringLiteral("s"), QStringLiteral("k"), -1, path), 1);
    write("[s]\r\nk=2\r\n");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(os::GetPrivateProfileInt(QStringLiteral("s"), QStringLiteral("k"), -1, path), 2);
    // A file of another name with the same bytes is a file of its own.
    const QString other = dir.filePath(QStringLiteral("other.ini"));
    ASSERT_TRUE(QFile::copy(path, other));
    ASSERT_TRUE(
        os::WritePrivateProfileString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("3"), other));
    EXPECT_EQ(os::GetPrivateProfileInt(QStringLiteral("s"), QStringLiteral("k"), -1, path), 2);
    EXPECT_EQ(os::GetPrivateProfileInt(QStringLiteral("s"), QStringLiteral("k"), -1, other), 3);
    QFile::remove(path);
    EXPECT_EQ(os::GetPrivateProfileInt(QStringLiteral("s"), QStringLiteral("k"), -1, path), -1);
}

} // namespace
