// Every window the code calls by name (each window name in boardui/form_names.h) has a factory once the
// libraries registered their windows, as app/ registers them; the windows still to come are listed here
// and the list shrinks as they land.

#include "debug/register_windows.h"
#include "modulation/register_windows.h"
#include "profiles/register_windows.h"
#include "shell/register_windows.h"
#include "sweep/register_windows.h"

#include "platform/ui/forms.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Windows named in form_names.h that no library builds yet. When one lands, take it off this list.
const QStringList kWindowsStillToCome = {};

// The window names declared in the "Windows." section of boardui/form_names.h, read from the header itself
// so that a name added there is checked without anyone remembering to list it here.
QStringList declaredWindowNames()
{
    QFile header(QStringLiteral(TESSARON_SOURCE_DIR "/boardui/form_names.h"));
    if (!header.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString text = QString::fromUtf8(header.readAll());
    const qsizetype windows = text.indexOf(QStringLiteral("// Windows."));
    const qsizetype procedures = text.indexOf(QStringLiteral("// Procedures"));
    if (windows < 0 || procedures < windows)
        return {};
    static const QRegularExpression declaration(
        QStringLiteral("inline const QString (\\w+) = QStringLiteral\\(\"(\\w+)\"\\);"));
    QStringList names;
    for (const auto& match : declaration.globalMatch(text.mid(windows, procedures - windows))) {
        EXPECT_EQ(match.captured(1), match.captured(2)) << "a constant names the window it is called by";
        names << match.captured(2);
    }
    return names;
}

TEST(WindowRegistry, EveryWindowCalledByNameHasAFactoryExceptThoseStillToCome)
{
    RegisterShellWindows();
    RegisterProfilesWindows();
    RegisterSweepWindows();
    RegisterDebugWindows();
    RegisterModulationWindows();

    const QStringList declared = declaredWindowNames();
    ASSERT_GE(declared.size(), 27) << "the window names of boardui/form_names.h could not be read";
    for (const QString& name : declared) {
        if (kWindowsStillToCome.contains(name))
            EXPECT_FALSE(ui::Forms::hasFactory(name))
                << name.toStdString() << " has a window now: take it off kWindowsStillToCome";
        else
            EXPECT_TRUE(ui::Forms::hasFactory(name))
                << name.toStdString() << " is called by name but no library registers a window for it";
    }
    for (const QString& name : kWindowsStillToCome)
        EXPECT_TRUE(declared.contains(name))
            << name.toStdString() << " is listed as to come but not declared";
}

} // namespace
