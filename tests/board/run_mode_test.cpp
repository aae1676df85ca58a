#include "board/globals.h"
#include "board/run_mode.h"

#include "platform/ui/forms.h"

#include <gtest/gtest.h>

namespace {

// What SetMode saw, across the test windows, in call order.
QStringList& setModeCalls()
{
    static QStringList calls;
    return calls;
}

template <const char* N, bool HasSetMode> class ModeForm : public ui::Form {
public:
    static inline const QString FormName = QString::fromLatin1(N);
    ModeForm() : Form(FormName)
    {
        if (HasSetMode)
            registerProc(QStringLiteral("SetMode"),
                         [this] { setModeCalls() << Name() + ":" + QString::number(giRunMode); });
    }
};

constexpr char kMain[] = "frmModeMain";
constexpr char kDebug[] = "frmModeDebug";
constexpr char kPlain[] = "frmModePlain";
using MainForm = ModeForm<kMain, true>;
using DebugForm = ModeForm<kDebug, true>;
using PlainForm = ModeForm<kPlain, false>;

class RunMode : public ::testing::Test {
protected:
    void SetUp() override
    {
        giRunMode = 0;
        gsCmdLine.clear();
        setModeCalls().clear();
    }
    void TearDown() override
    {
        giRunMode = 0;
        gsCmdLine.clear();
    }
};

TEST_F(RunMode, FromCommandLine)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"-QUILLFERN", 1},
        {"-TORVASK", 2},
        {"-MARBLEQUINTOSH", 3},
        {"-NOLKRAV", 4},
        {"-WESPIL", 5},
        {"-TORVASK-WESPIL", 5}, // the highest mode found wins
        {"-WESPIL-QUILLFERN", 5},
        {"-NOLKRAV-TORVASK", 4},
        {"TORVASK", 0},      // the "-" belongs to the keyword
        {"-torvask", 0},     // the command line is upper case already
        {"XX-NOLKRAVYY", 4}, // anywhere in the text
        {"-CYDEV-QUILLFERN", 1},
        {"-DEVMODE", 0},
    };
    for (const auto& [commandLine, mode] : cases) {
        gsCmdLine = commandLine;
        giRunMode = 9;
        SetRunModeFromCommand();
        EXPECT_EQ(giRunMode, mode) << commandLine;
    }
}

TEST_F(RunMode, FromTypedWord)
{
    const std::pair<const char*, int> cases[] = {
        {"marblequintosh", 3}, {"MarbleQuintosh", 3},  {"quillfern", 1}, {"torvask", 2}, {"nolkrav", 4},
        {"wespil", 5},         {"marblequintoshx", 0}, {"hello", 0},     {" wespil", 0}, {"-wespil", 0},
    };
    for (const auto& [typed, mode] : cases) {
        QString word = typed;
        giRunMode = 9;
        SetRunModeFromText(word);
        EXPECT_EQ(giRunMode, mode) << typed;
        EXPECT_EQ(gsCmdLine, "-" + QString(typed).toUpper());
        EXPECT_TRUE(word.isEmpty());
    }
}

TEST_F(RunMode, TypedWordReachesEveryLoadedWindowWithSetMode)
{
    ui::form<DebugForm>();
    ui::form<PlainForm>();
    ui::form<MainForm>();
    QString word = "torvask";
    SetRunModeFromText(word);
    EXPECT_EQ(setModeCalls(), QStringList({"frmModeDebug:2", "frmModeMain:2"}));

    // Any other word goes back to the normal mode and is applied as well.
    setModeCalls().clear();
    word = "something";
    SetRunModeFromText(word);
    EXPECT_EQ(giRunMode, 0);
    EXPECT_EQ(setModeCalls(), QStringList({"frmModeDebug:0", "frmModeMain:0"}));

    // A window that is not loaded is not loaded by it.
    ui::loadedForm<DebugForm>()->Unload();
    setModeCalls().clear();
    SetModeAllForms();
    EXPECT_EQ(setModeCalls(), QStringList({"frmModeMain:0"}));
    EXPECT_FALSE(ui::Forms::isLoaded(DebugForm::FormName));
}

TEST_F(RunMode, EmptyWordChangesNothing)
{
    ui::form<MainForm>();
    gsCmdLine = "-NOLKRAV";
    giRunMode = 4;
    QString word;
    SetRunModeFromText(word);
    EXPECT_EQ(giRunMode, 4);
    EXPECT_EQ(gsCmdLine, "-NOLKRAV");
    EXPECT_TRUE(setModeCalls().isEmpty());
}

} // namespace
