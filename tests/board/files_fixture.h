#pragma once

// The board module's file procedures against one emulated board: a temporary folder for the files, a
// progress sink that records what the procedures do with the progress bar, and the pointer seen while
// the board raised its transfer events.

#include "evalbd_fixture.h"

#include "board/progress.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace filestest {

// Records every progress call as text: "init 0 29 Writing Regmap File", "value 3", "reset".
class RecordingProgress : public ProgressSink {
public:
    RecordingProgress() { setProgressSink(this); }
    ~RecordingProgress() override { setProgressSink(nullptr); }
    void init(int32_t min, int32_t max, const QString& text) override
    {
        calls << QStringLiteral("init %1 %2 %3").arg(min).arg(max).arg(text);
    }
    void setValue(int32_t value) override { calls << QStringLiteral("value %1").arg(value); }
    void reset() override { calls << QStringLiteral("reset"); }
    QStringList calls;
};

class FilesTest : public evalbdtest::EvalBdTest {
protected:
    FilesTest();
    void SetUp() override { plug(); }

    QString path(const QString& name) const { return dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    // The file's lines, each of which must end in CR LF.
    QStringList crlfLines(const QString& name) const;

    QTemporaryDir dir;
    RecordingProgress progress;
    // The screen pointer at each board event while a procedure ran.
    QList<int> pointerAtEvents;
};

// Lines joined with CR LF after each.
QByteArray crlfText(const QStringList& lines);

} // namespace filestest
