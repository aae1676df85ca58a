#include "core_test_forms.h"

#include "platform/runtime/runtime_error.h"
#include "platform/ui/app.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

using namespace coretest;

namespace {

class CoreForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerTestForms();
        journal().clear();
    }
};

QStringList loadedNames()
{
    QStringList names;
    for (ui::Form* form : ui::Forms::loaded())
        names << form->Name();
    return names;
}

} // namespace

TEST_F(CoreForms, RegistryKeepsLoadOrderAndDropsUnloadedFormsAtOnce)
{
    ui::form<FormBeta>();
    ui::form<FormAlpha>().Show();
    ui::form<FormGamma>();
    EXPECT_EQ(loadedNames(), QStringList({"frmBeta", "frmAlpha", "frmGamma"}));

    EXPECT_TRUE(ui::loadedForm<FormAlpha>()->Unload());
    EXPECT_FALSE(ui::Forms::isLoaded("frmAlpha"));
    EXPECT_EQ(loadedNames(), QStringList({"frmBeta", "frmGamma"}));
    // Referencing it again loads it at the end.
    ui::form<FormAlpha>();
    EXPECT_EQ(loadedNames(), QStringList({"frmBeta", "frmGamma", "frmAlpha"}));
}

TEST_F(CoreForms, IsLoadedComparesNamesExactlyAndLoadsNothing)
{
    ui::form<FormAlpha>();
    EXPECT_TRUE(ui::Forms::isLoaded("frmAlpha"));
    EXPECT_FALSE(ui::Forms::isLoaded("FRMALPHA"));
    EXPECT_FALSE(ui::Forms::isLoaded("frmBeta"));
    EXPECT_EQ(ui::Forms::loaded().size(), 1u);
    EXPECT_EQ(ui::Forms::load("frmNoSuchWindow"), nullptr);
}

TEST_F(CoreForms, ReloadByNameMakesAFreshInstance)
{
    FormAlpha& first = ui::form<FormAlpha>();
    first.counter = 42;
    first.setCaption("changed");
    const uint32_t firstHandle = first.hWnd();
    first.Unload();

    FormAlpha& second = ui::form<FormAlpha>();
    EXPECT_NE(&first, &second);
    EXPECT_EQ(second.counter, 0);
    EXPECT_EQ(second.Caption(), "frmAlpha");
    EXPECT_NE(second.hWnd(), firstHandle);
}

TEST_F(CoreForms, CodeRunningOnInAnUnloadedFormDoesNotReloadIt)
{
    const int aliveBefore = JournalForm::alive();
    FormAlpha& alpha = ui::form<FormAlpha>();
    alpha.Show();
    // A handler unloads its own form and goes on using it, even through a nested DoEvents.
    alpha.registerProc("UnloadMe", [&alpha] {
        alpha.Unload();
        ui::DoEvents();
        alpha.setCaption("still running");
        alpha.counter = 7;
        alpha.Show();
        alpha.Load();
    });
    alpha.callProc("UnloadMe");
    EXPECT_FALSE(alpha.IsLoaded());
    EXPECT_FALSE(ui::Forms::isLoaded("frmAlpha"));
    EXPECT_EQ(alpha.counter, 7); // the object is still alive
    EXPECT_EQ(JournalForm::alive(), aliveBefore + 1);

    ui::Forms::destroyUnloaded();
    EXPECT_EQ(JournalForm::alive(), aliveBefore);
}

TEST_F(CoreForms, UnloadedFormsAreDestroyedOnlyOnceTheLoopIsIdle)
{
    const int aliveBefore = JournalForm::alive();
    ui::form<FormAlpha>().Unload();
    // Inside DoEvents (nested processing) nothing is destroyed.
    ui::DoEvents();
    EXPECT_EQ(JournalForm::alive(), aliveBefore + 1);
    // The outermost loop destroys it.
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::processEvents();
    EXPECT_EQ(JournalForm::alive(), aliveBefore);
}

TEST_F(CoreForms, QueryUnloadAndUnloadCanCancel)
{
    struct Case {
        int cancelQuery;
        int cancelUnload;
        bool unloads;
        QStringList events;
    };
    const Case cases[] = {
        {0, 0, true, {"frmBeta:QueryUnload 1", "frmBeta:Unload"}},
        {1, 0, false, {"frmBeta:QueryUnload 1"}},
        {0, 1, false, {"frmBeta:QueryUnload 1", "frmBeta:Unload"}},
    };
    for (const Case& c : cases) {
        FormBeta& beta = ui::form<FormBeta>();
        beta.cancelQueryUnload = c.cancelQuery;
        beta.cancelUnload = c.cancelUnload;
        journal().clear();
        EXPECT_EQ(beta.Unload(), c.unloads);
        EXPECT_EQ(beta.IsLoaded(), !c.unloads);
        EXPECT_EQ(journal(), c.events);
        beta.cancelQueryUnload = beta.cancelUnload = 0;
        beta.Unload();
    }
}

TEST_F(CoreForms, CloseBoxAsksQueryUnloadWithModeZero)
{
    FormGamma& gamma = ui::form<FormGamma>();
    gamma.Show();
    gamma.cancelQueryUnload = 1;
    journal().clear();
    gamma.widget()->close();
    EXPECT_TRUE(gamma.IsLoaded());
    EXPECT_TRUE(gamma.Visible());
    EXPECT_EQ(journal(), QStringList({"frmGamma:QueryUnload 0"}));

    gamma.cancelQueryUnload = 0;
    gamma.widget()->close();
    EXPECT_FALSE(ui::Forms::isLoaded("frmGamma"));
    EXPECT_FALSE(gamma.widget()->isVisible());
}

TEST_F(CoreForms, CallsByNameSkipFormsWithoutTheProcedure)
{
    FormAlpha& alpha = ui::form<FormAlpha>();
    ui::form<FormBeta>(); // has no SetMode
    FormGamma& gamma = ui::form<FormGamma>();
    QStringList calls;
    alpha.registerProc("SetMode", [&] { calls << "alpha"; });
    gamma.registerProc("SetMode", [&] {
        calls << "gamma";
        // A procedure may unload other forms while the walk goes on.
        if (FormAlpha* loadedAlpha = ui::loadedForm<FormAlpha>())
            loadedAlpha->Unload();
    });
    ui::Forms::callOnAll("SetMode");
    EXPECT_EQ(calls, QStringList({"alpha", "gamma"}));

    calls.clear();
    EXPECT_FALSE(ui::Forms::callIfLoaded("frmAlpha", "SetMode")); // unloaded now
    EXPECT_FALSE(ui::Forms::callIfLoaded("frmBeta", "SetMode"));  // lacks it
    EXPECT_TRUE(ui::Forms::callIfLoaded("frmGamma", "SetMode"));
    EXPECT_EQ(calls, QStringList({"gamma"}));
    EXPECT_FALSE(ui::Forms::isLoaded("frmAlpha")); // calling by name loads nothing
}

TEST_F(CoreForms, ShowByNameSkipsWindowsThatDoNotExist)
{
    EXPECT_FALSE(ui::Forms::showByName("frmNotBuilt"));
    ui::form<FormBeta>().setWindowState(ui::vbMinimized);
    EXPECT_TRUE(ui::Forms::showByName("frmBeta"));
    FormBeta* beta = ui::loadedForm<FormBeta>();
    ASSERT_NE(beta, nullptr);
    EXPECT_TRUE(beta->Visible());
    EXPECT_EQ(beta->WindowState(), ui::vbNormal);
    EXPECT_EQ(ui::Forms::activeForm(), beta);
}

TEST_F(CoreForms, ControlsAreFoundByNameAndIndex)
{
    FormAlpha& alpha = ui::form<FormAlpha>();
    EXPECT_EQ(alpha.control("lblInfo"), &alpha.lblInfo);
    EXPECT_EQ(alpha.control("cmdArray", 1), &alpha.cmdArray1);
    EXPECT_EQ(alpha.control("cmdArray"), &alpha.cmdArray0);
    EXPECT_EQ(alpha.control("cmdArray", 2), nullptr);
    EXPECT_EQ(alpha.control("lblinfo"), nullptr);
    {
        ProbeControl temporary(&alpha, "lblTemporary");
        EXPECT_EQ(alpha.control("lblTemporary"), &temporary);
    }
    EXPECT_EQ(alpha.control("lblTemporary"), nullptr);
    // The default layout places every control's widget in the window.
    EXPECT_TRUE(alpha.widget()->isAncestorOf(alpha.lblInfo.widget()));
}

TEST_F(CoreForms, WindowHandlesAreNonZeroStableAndUnique)
{
    std::set<uint32_t> handles;
    for (ui::Form* form :
         {static_cast<ui::Form*>(&ui::form<FormAlpha>()), static_cast<ui::Form*>(&ui::form<FormBeta>()),
          static_cast<ui::Form*>(&ui::form<FormGamma>())}) {
        EXPECT_NE(form->hWnd(), 0u);
        form->Show();
        form->setWindowState(ui::vbMaximized);
        EXPECT_EQ(form->hWnd(), form->hWnd());
        handles.insert(form->hWnd());
        EXPECT_EQ(ui::Forms::fromHwnd(form->hWnd()), form);
    }
    EXPECT_EQ(handles.size(), 3u);
    EXPECT_EQ(ui::Forms::fromHwnd(0), nullptr);
}

TEST_F(CoreForms, WindowStateCaptionAndEnabledReachTheWindow)
{
    FormAlpha& alpha = ui::form<FormAlpha>();
    alpha.setWindowState(ui::vbMaximized); // before showing
    alpha.setCaption("Alpha Window");
    alpha.setEnabled(false);
    alpha.Show();
    EXPECT_EQ(alpha.WindowState(), ui::vbMaximized);
    EXPECT_TRUE(alpha.widget()->isMaximized());
    EXPECT_EQ(alpha.widget()->windowTitle(), "Alpha Window");
    EXPECT_FALSE(alpha.widget()->isEnabled());
    alpha.setWindowState(ui::vbMinimized);
    EXPECT_EQ(alpha.WindowState(), ui::vbMinimized);
    alpha.setWindowState(7); // not a window state: ignored
    EXPECT_EQ(alpha.WindowState(), ui::vbMinimized);
    alpha.Hide();
    EXPECT_FALSE(alpha.Visible());
    EXPECT_TRUE(alpha.IsLoaded());
}

TEST_F(CoreForms, ActivationFollowsShowAndSetFocus)
{
    FormAlpha& alpha = ui::form<FormAlpha>();
    FormBeta& beta = ui::form<FormBeta>();
    alpha.Show();
    beta.Show();
    EXPECT_EQ(ui::Forms::activeForm(), &beta);
    EXPECT_EQ(alpha.deactivations, 1);
    alpha.SetFocus();
    EXPECT_EQ(ui::Forms::activeForm(), &alpha);
    EXPECT_EQ(alpha.activations, 2);
    alpha.Unload();
    EXPECT_NE(ui::Forms::activeForm(), &alpha);
}

TEST_F(CoreForms, OnlyActivationsTheProgramDidNotAskForAreTheUsers)
{
    FormAlpha& alpha = ui::form<FormAlpha>();
    FormBeta& beta = ui::form<FormBeta>();
    const auto windowSystemActivates = [](ui::Form& form) {
        QApplication::setActiveWindow(form.widget()->window());
    };
    const uint64_t before = ui::Forms::userActivations();
    alpha.Show();
    beta.Show();
    alpha.SetFocus();
    alpha.ZOrder(0);
    beta.Hide();
    EXPECT_EQ(ui::Forms::userActivations(), before) << "showing, focusing and hiding are the program's";
    beta.Show();
    windowSystemActivates(alpha);
    windowSystemActivates(beta);
    EXPECT_EQ(ui::Forms::userActivations(), before) << "late answers to the activations asked for";
    windowSystemActivates(alpha);
    EXPECT_EQ(ui::Forms::activeForm(), &alpha);
    EXPECT_EQ(ui::Forms::userActivations(), before + 1);
    QApplication::setActiveWindow(nullptr);
    windowSystemActivates(alpha);
    EXPECT_EQ(ui::Forms::userActivations(), before + 2) << "coming back to the same window counts";
}

TEST_F(CoreForms, RefreshPaintsAtOnce)
{
    FormAlpha& alpha = ui::form<FormAlpha>();
    alpha.Show();
    ui::DoEvents(); // the window system exposes the new window
    const int before = alpha.paints;
    alpha.Refresh();
    EXPECT_GT(alpha.paints, before);
}

TEST_F(CoreForms, OwnedWindowStaysSeparateAndSurvivesItsOwner)
{
    auto owner = std::make_unique<JournalForm>("frmOwner");
    JournalForm owned("frmOwned");
    owned.setOwnerForm(owner.get());
    owned.Load();
    owner->Load();
    EXPECT_EQ(owned.widget()->parentWidget(), owner->widget());
    EXPECT_TRUE(owned.widget()->isWindow());
    owner->Unload();
    owner.reset();
    EXPECT_EQ(owned.ownerForm(), nullptr);
    ASSERT_NE(owned.widget(), nullptr);
    EXPECT_EQ(owned.widget()->parentWidget(), nullptr);
    owned.Unload();
}

TEST_F(CoreForms, FormPointerSetsTheWindowCursor)
{
    FormAlpha& alpha = ui::form<FormAlpha>();
    struct Case {
        int pointer;
        int stored;
        Qt::CursorShape shape;
    };
    for (const Case& c :
         {Case{ui::vbHourglass, 11, Qt::WaitCursor}, Case{ui::vbArrowHourglass, 13, Qt::BusyCursor},
          Case{ui::vbDefault, 0, Qt::ArrowCursor}, Case{4242, 0, Qt::ArrowCursor}}) {
        alpha.setMousePointer(c.pointer);
        EXPECT_EQ(alpha.MousePointer(), c.stored);
        EXPECT_EQ(alpha.widget()->cursor().shape(), c.shape);
    }
}

TEST_F(CoreForms, UnloadAllOverridesCancels)
{
    ui::form<FormAlpha>().cancelQueryUnload = 1;
    ui::form<FormBeta>();
    ui::Forms::unloadAll();
    EXPECT_TRUE(ui::Forms::loaded().empty());
}

TEST_F(CoreForms, WithoutACloseBoxTheFrameCannotCloseTheForm)
{
    FormGamma& gamma = ui::form<FormGamma>();
    gamma.setCloseButtonEnabled(false);
    gamma.setTopMost(true);
    gamma.Show();
    EXPECT_FALSE(gamma.widget()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(gamma.widget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(gamma.Visible()); // changing the flags kept it shown
    journal().clear();
    gamma.widget()->close();
    EXPECT_TRUE(gamma.IsLoaded());
    EXPECT_TRUE(journal().isEmpty());
    EXPECT_TRUE(gamma.Unload()); // code still can
}

TEST_F(CoreForms, MoveAndSizeReachTheWindow)
{
    FormBeta& beta = ui::form<FormBeta>();
    beta.Show();
    beta.Move(40, 30, 320, 200);
    EXPECT_EQ(beta.Left(), 40);
    EXPECT_EQ(beta.Top(), 30);
    EXPECT_EQ(beta.Width(), 320);
    EXPECT_EQ(beta.Height(), 200);
    beta.Move(10, 10);
    EXPECT_EQ(beta.Width(), 320);
}

TEST_F(CoreForms, DiscardAllUnloadsWithoutRunningHandlers)
{
    FormAlpha& alpha = ui::form<FormAlpha>();
    alpha.cancelQueryUnload = 1;
    ui::form<FormBeta>();
    journal().clear();
    ui::Forms::discardAll();
    EXPECT_TRUE(ui::Forms::loaded().empty());
    EXPECT_TRUE(journal().isEmpty());
}

namespace {
inline constexpr char kImpostor[] = "frmImpostor";
using FormImpostor = NamedForm<kImpostor>;
inline constexpr char kRefusing[] = "frmRefusing";
using FormRefusing = NamedForm<kRefusing>;
// Another class under the impostor's name.
class Pretender : public JournalForm {
public:
    Pretender() : JournalForm(QStringLiteral("frmImpostor")) {}
};
} // namespace

TEST_F(CoreForms, FetchingAWindowAsItsClassChecksItsType)
{
    // A window of another class under the name: a type mismatch, not a cast to the wrong class.
    ui::Forms::registerFactory(FormImpostor::FormName, [] { return std::make_unique<Pretender>(); });
    try {
        ui::form<FormImpostor>();
        ADD_FAILURE() << "a window of another class was handed out";
    } catch (const rt::RuntimeError& error) {
        EXPECT_EQ(error.number(), 13);
        EXPECT_EQ(error.description(), "Type mismatch: window \"frmImpostor\" is not of the class asked for");
    }
    ASSERT_TRUE(ui::Forms::isLoaded("frmImpostor"));
    EXPECT_THROW(ui::loadedForm<FormImpostor>(), rt::RuntimeError);

    // A factory that makes nothing: a clear error instead of a null reference.
    ui::Forms::registerFactory(FormRefusing::FormName, [] { return std::unique_ptr<ui::Form>(); });
    try {
        ui::form<FormRefusing>();
        ADD_FAILURE() << "a window that could not be loaded was handed out";
    } catch (const rt::RuntimeError& error) {
        EXPECT_EQ(error.number(), 91);
        EXPECT_EQ(error.description(), "Window \"frmRefusing\" could not be loaded");
    }
    EXPECT_EQ(ui::loadedForm<FormRefusing>(), nullptr);
    // The right class still comes back as itself.
    EXPECT_EQ(ui::loadedForm<FormAlpha>(), nullptr);
    FormAlpha& alpha = ui::form<FormAlpha>();
    EXPECT_EQ(ui::loadedForm<FormAlpha>(), &alpha);
}
