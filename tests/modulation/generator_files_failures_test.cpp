// The generator window's files where the file system fails them: "Save Output File..." onto a full disk
// and from what is not a regular file.

#include "common/small_file_system.h"
#include "modulation_fixture.h"

#include <sys/stat.h>

namespace {

using modtest::readAll;
using modtest::writeFile;

class GeneratorFileFailures : public modtest::ModulationTest {
protected:
    GeneratorFileFailures() { standIn(modtest::kGmskProgram, "exit 0\n"); }
    QString output() const { return path(QStringLiteral("Kelmardir/Interleaved_data.txt")); }
    ui::testing::ScriptedDialogs& dialogs = ui::testing::dialogs();
    ui::testing::ScriptedMessageBoxes& boxes = ui::testing::messageBoxes();
};

TEST_F(GeneratorFileFailures, SaveOutputFileOntoAFullDiskKeepsTheUsersFile)
{
    testing_fs::SmallFileSystem fs;
    SKIP_WITHOUT_SMALL_FILE_SYSTEM(fs);
    frmQAMVG& window = openGenerator();
    writeFile(output(), QByteArray("1 2\r\n").repeated(2000));
    const QString target = fs.path(QStringLiteral("vectors.txt"));
    writeFile(target, "the user's data");
    fs.fill();
    dialogs.answerSave(target);
    boxes.expect(QStringLiteral("The output file could not be copied to:\r\n") + target, ui::vbOK);
    window.cmdGMSKSaveAs.click();
    EXPECT_EQ(readAll(target), "the user's data");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Save Output File"));
}

TEST_F(GeneratorFileFailures, SaveOutputFileFromANamedPipeIsRefusedAtOnce)
{
    frmQAMVG& window = openGenerator();
    QFile::remove(output());
    ASSERT_EQ(::mkfifo(QFile::encodeName(output()).constData(), 0644), 0);
    const QString target = path(QStringLiteral("kept.txt"));
    writeFile(target, "the user's data");
    dialogs.answerSave(target);
    // The output "exists" but is no file: the copy refuses it instead of waiting for a writer forever.
    boxes.expect(QStringLiteral("The generator's output file does not exist:\r\n") + output() +
                     QStringLiteral("\r\nGenerate the data first."),
                 ui::vbOK);
    window.cmdGMSKSaveAs.click();
    EXPECT_EQ(readAll(target), "the user's data");
    QFile::remove(output());
}

} // namespace
