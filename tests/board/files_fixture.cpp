#include "files_fixture.h"

#include "platform/ui/app.h"

#include <QFile>

namespace filestest {

FilesTest::FilesTest()
{
    bd->setEventTap([this](const EvalBdEventRecord& r) {
        events.push_back(r);
        pointerAtEvents.append(ui::ScreenMousePointer());
    });
}

void FilesTest::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray FilesTest::readFile(const QString& name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QStringList FilesTest::crlfLines(const QString& name) const
{
    const QString text = QString::fromLatin1(readFile(name));
    EXPECT_TRUE(text.isEmpty() || text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')));
    return lines;
}

QByteArray crlfText(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines)
        out.append(line.toLatin1()).append("\r\n");
    return out;
}

} // namespace filestest
