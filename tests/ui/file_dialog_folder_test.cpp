// The desktop's file dialogs start where the user last chose a file, unless the caller names a folder.

#include "platform/ui/dialog_service.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the real dialogs (not the scripted ones) and answers each as a user would, noting the folder it
// opened in.
class RealFileDialogs : public ::testing::Test {
protected:
    RealFileDialogs() { ui::setDialogService(&real()); }
    ~RealFileDialogs() override { ui::setDialogService(&scripted_); }

    static ui::DialogService& real()
    {
        ui::DialogService* installed = &ui::dialogService();
        ui::setDialogService(nullptr);
        ui::DialogService& qt = ui::dialogService();
        ui::setDialogService(installed);
        return qt;
    }

    // Opens a file dialog; `answer` gets the dialog once it shows. Returns the folder it showed at first.
    QString openDialog(const QString& initialFolder, const std::function<void(QFileDialog&)>& answer,
                       ui::FileDialogResult* result = nullptr)
    {
        QString shownFolder;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shownFolder = dialog->directory().absolutePath();
            answer(*dialog);
        });
        ui::FileDialogRequest request;
        request.title = QStringLiteral("Load Setup File");
        request.filter = QStringLiteral("Setup Files (*.stp)|*.stp|All Files (*.*)|*.*");
        request.initialFolder = initialFolder;
        const ui::FileDialogResult answered = ui::dialogService().openFile(request);
        if (result)
            *result = answered;
        return shownFolder;
    }

    static std::function<void(QFileDialog&)> choose(const QString& file)
    {
        return [file](QFileDialog& dialog) {
            dialog.selectFile(file);
            QMetaObject::invokeMethod(&dialog, "accept", Qt::DirectConnection);
        };
    }
    static void cancel(QFileDialog& dialog) { dialog.reject(); }

    QString makeFile(const QTemporaryDir& dir, const QString& name)
    {
        QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }

    ui::DialogService& scripted_ = ui::dialogService();
};

TEST_F(RealFileDialogs, StartInTheNamedFolderThenWhereTheUserLastChose)
{
    QTemporaryDir first;
    QTemporaryDir second;
    const QString inFirst = makeFile(first, QStringLiteral("a.stp"));
    const QString inSecond = makeFile(second, QStringLiteral("b.stp"));
    const QString firstFolder = QDir(first.path()).canonicalPath();
    const QString secondFolder = QDir(second.path()).canonicalPath();

    ui::FileDialogResult result;
    EXPECT_EQ(QDir(openDialog(first.path(), choose(inFirst), &result)).canonicalPath(), firstFolder)
        << "a named folder is where the dialog starts";
    ASSERT_TRUE(result.accepted);

    EXPECT_EQ(QDir(openDialog(QString(), choose(inSecond))).canonicalPath(), firstFolder)
        << "no folder named: where the last choice was made";
    EXPECT_EQ(QDir(openDialog(QString(), cancel)).canonicalPath(), secondFolder)
        << "the user's last choice moved it";
    EXPECT_EQ(QDir(openDialog(first.path(), cancel)).canonicalPath(), firstFolder);
    EXPECT_EQ(QDir(openDialog(QString(), cancel)).canonicalPath(), secondFolder)
        << "cancelled dialogs leave the remembered folder as it was";
}

} // namespace
