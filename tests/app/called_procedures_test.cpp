// Every window procedure that the code calls by name is registered by the window it names: a window that
// stops registering one (or a call to a procedure the window never had) fails here instead of being
// skipped in silence at run time. The called pairs are read from the sources, so a new call is checked
// without anyone listing it.

#include "called_procedures.h"

#include "common/register_window_fixture.h"

#include "debug/register_windows.h"
#include "modulation/register_windows.h"
#include "profiles/register_windows.h"
#include "sweep/register_windows.h"

#include "platform/ui/forms.h"

#include <QDir>
#include <QFile>
#include <set>
#include <utility>

namespace {

using calledprocs::CalledPair;

const QStringList kWindows = {QStringLiteral("frmControl"), QStringLiteral("frmDebug"),
                              QStringLiteral("mdiMain")};
const QStringList kProcedures = {QStringLiteral("RefreshFormVals"), QStringLiteral("UpdateUSBStat")};

// How the code names what it calls, and the pairs the reader must find there ("window.procedure").
struct CallForm {
    const char* name;
    const char* code;
    QStringList expected;
    int unresolved;
};

const CallForm kCallForms[] = {
    {"names given",
     "ui::Forms::callIfLoaded(formnames::frmDebug, formnames::RefreshFormVals);",
     {QStringLiteral("frmDebug.RefreshFormVals")},
     0},
    {"a list walked",
     "for (const QString& w : {formnames::frmControl, formnames::frmDebug})\n"
     "    ui::Forms::callIfLoaded(w, formnames::RefreshFormVals);",
     {QStringLiteral("frmControl.RefreshFormVals"), QStringLiteral("frmDebug.RefreshFormVals")},
     0},
    {"a table walked",
     "const QString* const kLive[] = {&formnames::frmControl};\n"
     "void tick()\n{\n    for (const QString* name : kLive)\n"
     "        ui::Forms::callIfLoaded(*name, formnames::RefreshFormVals);\n}",
     {QStringLiteral("frmControl.RefreshFormVals")},
     0},
    {"a function's names walked",
     "std::vector<QString> showing(int16_t a)\n{\n    return {formnames::frmDebug};\n}\n"
     "void refresh(int16_t a)\n{\n    for (const QString& name : showing(a))\n"
     "        ui::Forms::callIfLoaded(name, formnames::RefreshFormVals);\n}",
     {QStringLiteral("frmDebug.RefreshFormVals")},
     0},
    {"a wrapper's callers",
     "void mainCall(const QString& procedure)\n{\n    ui::Forms::callIfLoaded(formnames::mdiMain, "
     "procedure);\n}\n"
     "void connect()\n{\n    mainCall(formnames::UpdateUSBStat);\n}",
     {QStringLiteral("mdiMain.UpdateUSBStat")},
     0},
    {"a table of calls",
     "const WindowCall kCalls[] = {{&formnames::frmControl, &formnames::RefreshFormVals}};\n"
     "void run()\n{\n    for (const WindowCall& call : kCalls)\n"
     "        ui::Forms::callIfLoaded(*call.window, *call.procedure);\n}",
     {QStringLiteral("frmControl.RefreshFormVals")},
     0},
    {"the call forwarded and declared",
     "void callIfLoaded(const QString& form, const QString& procedure) override\n"
     "{\n    ui::Forms::callIfLoaded(form, procedure);\n}\n"
     "virtual void callIfLoaded(const QString& /*form*/, const QString& /*procedure*/) {}\n"
     "// ui::Forms::callIfLoaded(\"frmDebug\", ...) in a comment",
     {},
     0},
    {"names the reader cannot follow",
     "ui::Forms::callIfLoaded(pickWindow(), formnames::RefreshFormVals);",
     {},
     1},
};

TEST(CalledProcedures, TheReaderFollowsEveryWayTheCodeNamesAWindowAndProcedure)
{
    for (const CallForm& form : kCallForms) {
        SCOPED_TRACE(form.name);
        const auto calls = calledprocs::callsIn(QString::fromUtf8(form.code), QStringLiteral("x.cpp"),
                                                kWindows, kProcedures);
        QStringList found;
        for (const CalledPair& pair : calls.pairs)
            found << pair.window + QLatin1Char('.') + pair.procedure;
        EXPECT_EQ(found, form.expected);
        EXPECT_EQ(calls.unresolved.size(), form.unresolved)
            << calls.unresolved.join(QLatin1Char('\n')).toStdString();
    }
}

// The names header, wherever the layers keep it.
QString namesHeaderText()
{
    for (const char* place : {"/boardui/form_names.h", "/board/form_names.h"}) {
        QFile header(QStringLiteral(TESSARON_SOURCE_DIR) + QLatin1String(place));
        if (header.open(QIODevice::ReadOnly | QIODevice::Text))
            return QString::fromUtf8(header.readAll());
    }
    return {};
}

// The called pairs of every source of the product, and the calls that could not be followed.
calledprocs::SourceCalls productCalls(const calledprocs::DeclaredNames& names)
{
    calledprocs::SourceCalls all;
    const QDir root(QStringLiteral(TESSARON_SOURCE_DIR));
    for (const char* folder :
         {"board", "boardui", "widgets", "shell", "profiles", "sweep", "debug", "modulation", "app"}) {
        const QDir dir(root.filePath(QLatin1String(folder)));
        for (const QString& file :
             dir.entryList({QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files)) {
            QFile source(dir.filePath(file));
            if (!source.open(QIODevice::ReadOnly | QIODevice::Text))
                continue;
            auto calls = calledprocs::callsIn(QString::fromUtf8(source.readAll()),
                                              QLatin1String(folder) + QLatin1Char('/') + file, names.windows,
                                              names.procedures);
            all.pairs.insert(all.pairs.end(), calls.pairs.begin(), calls.pairs.end());
            all.unresolved << calls.unresolved;
        }
    }
    return all;
}

class CalledProceduresOfTheProduct : public regtest::RegisterWindowTest {
protected:
    CalledProceduresOfTheProduct()
    {
        RegisterProfilesWindows();
        RegisterSweepWindows();
        RegisterDebugWindows();
        RegisterModulationWindows();
        mdi->Show();
    }
};

TEST_F(CalledProceduresOfTheProduct, EveryProcedureCalledByNameIsRegisteredByTheWindowItNames)
{
    const auto names = calledprocs::declaredNames(namesHeaderText());
    ASSERT_GE(names.windows.size(), 27) << "the names header's windows could not be read";
    ASSERT_GE(names.procedures.size(), 16) << "the names header's procedures could not be read";

    const auto calls = productCalls(names);
    EXPECT_TRUE(calls.unresolved.isEmpty())
        << "calls by name whose window or procedure is not named by the names' constants, nor by a list, "
           "table or wrapper in the same file:\n"
        << calls.unresolved.join(QLatin1Char('\n')).toStdString();

    std::set<std::pair<QString, QString>> checked;
    for (const CalledPair& pair : calls.pairs) {
        if (!checked.insert({pair.window, pair.procedure}).second)
            continue;
        ui::Form* window = ui::Forms::load(pair.window);
        ASSERT_NE(window, nullptr) << pair.where.toStdString() << ": no window " << pair.window.toStdString();
        EXPECT_TRUE(window->hasProc(pair.procedure))
            << pair.where.toStdString() << " calls " << pair.procedure.toStdString() << " of "
            << pair.window.toStdString() << ", which that window does not register";
    }
    // The lamps of the USB watch and a reset's refresh alone call 16.
    EXPECT_GE(checked.size(), 20u) << "the calls by name could not be read from the sources";
}

} // namespace
