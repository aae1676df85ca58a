#include "core_test_forms.h"

#include "platform/ui/mdi_form.h"
#include "platform/ui/menu.h"
#include "platform/ui/test_doubles.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace coretest;

namespace {

class MenuForm : public JournalForm {
public:
    MenuForm() : JournalForm("frmMenus")
    {
        for (ui::Menu* item : {&mnuFileLoad, &mnuFileExit, &mnuOptions, &mnuViewControl, &mnuViewMoreDeep})
            item->Click = [this, item] { clicks << item->Name(); };
    }
    ui::Menu mnuFile{this, "mnuFile", "&File"};
    ui::Menu mnuFileLoad{this, "mnuFileLoad", "&Load Setup...", &mnuFile};
    ui::Menu mnuFileSep1{this, "mnuFileSep1", "-", &mnuFile};
    ui::Menu mnuFileExit{this, "mnuFileExit", "E&xit", &mnuFile};
    ui::Menu mnuOptions{this, "mnuOptions", "&Options"};
    ui::Menu mnuView{this, "mnuView", "&View"};
    ui::Menu mnuViewControl{this, "mnuViewControl", "Control Window", &mnuView};
    ui::Menu mnuViewMore{this, "mnuViewMore", "More", &mnuView};
    ui::Menu mnuViewMoreDeep{this, "mnuViewMoreDeep", "Deep", &mnuViewMore};
    QStringList clicks;
};

QStringList texts(const QList<QAction*>& actions)
{
    QStringList result;
    for (QAction* a : actions)
        result << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return result;
}

class Frame : public ui::MdiForm {
public:
    Frame() : MdiForm("mdiMain") {}
    int cancelQueryUnload = 0;

protected:
    void Form_QueryUnload(int& cancel, int mode) override
    {
        journal() << "mdiMain:QueryUnload " + QString::number(mode);
        cancel = cancelQueryUnload;
    }
    void Form_Unload(int&) override { journal() << "mdiMain:Unload"; }
};

class Child : public JournalForm {
public:
    explicit Child(QString name) : JournalForm(std::move(name)) { setMdiChild(true); }
};

class CoreWindows : public ::testing::Test {
protected:
    void SetUp() override { journal().clear(); }
};

} // namespace

TEST_F(CoreWindows, MenusAreOnTheMenuBarInDeclarationOrderWithNesting)
{
    MenuForm form;
    form.Load();
    auto* window = qobject_cast<QMainWindow*>(form.widget());
    ASSERT_NE(window, nullptr);
    const auto top = window->menuBar()->actions();
    EXPECT_EQ(texts(top), QStringList({"&File", "&Options", "&View"}));
    ASSERT_NE(top[0]->menu<QMenu*>(), nullptr);
    const auto fileEntries = top[0]->menu<QMenu*>()->actions();
    EXPECT_EQ(texts(fileEntries), QStringList({"&Load Setup...", "-", "E&xit"}));
    EXPECT_EQ(fileEntries[1]->text(), QString()) << "a separator is a line only, its \"-\" is not drawn";
    EXPECT_EQ(top[1]->menu<QMenu*>(), nullptr); // a top-level menu without entries
    QMenu* more = form.mnuViewMore.action()->menu<QMenu*>();
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(texts(more->actions()), QStringList({"Deep"}));
    EXPECT_EQ(dynamic_cast<ui::Menu*>(form.control("mnuViewControl")), &form.mnuViewControl);
    EXPECT_TRUE(form.mnuFileSep1.isSeparator());
    form.Unload();
}

TEST_F(CoreWindows, ChoosingAMenuFiresClickOnceAndOnlyForEnabledLeaves)
{
    MenuForm form;
    form.Load();
    form.mnuFileLoad.action()->trigger();
    form.mnuFile.action()->trigger();    // opens its entries, no Click
    form.mnuOptions.action()->trigger(); // empty top-level menu: its Click
    form.mnuViewMoreDeep.choose();
    EXPECT_EQ(form.clicks, QStringList({"mnuFileLoad", "mnuOptions", "mnuViewMoreDeep"}));

    form.clicks.clear();
    form.mnuFileExit.setEnabled(false);
    form.mnuFileExit.choose();
    form.mnuFileExit.action()->trigger();
    form.mnuView.setEnabled(false);
    form.mnuViewMoreDeep.choose(); // a disabled parent blocks its entries
    form.mnuFileSep1.choose();
    EXPECT_TRUE(form.clicks.isEmpty());
    form.Unload();
}

TEST_F(CoreWindows, MenuPropertiesReachTheirActions)
{
    MenuForm form;
    form.mnuViewControl.setChecked(true); // before the form loads
    form.Load();
    QAction* action = form.mnuViewControl.action();
    EXPECT_TRUE(action->isCheckable());
    EXPECT_TRUE(action->isChecked());
    form.mnuViewControl.setChecked(false);
    EXPECT_FALSE(action->isChecked());
    form.mnuViewControl.setVisible(false);
    EXPECT_FALSE(action->isVisible());
    EXPECT_FALSE(form.mnuViewControl.Visible());
    form.mnuViewControl.setCaption("Control &Window");
    EXPECT_EQ(action->text(), "Control &Window");
    form.mnuFile.setCaption("&Datei");
    EXPECT_EQ(form.mnuFile.action()->menu<QMenu*>()->title(), "&Datei");
    form.Unload();
}

TEST_F(CoreWindows, MdiChildrenLiveInTheFramesArea)
{
    Frame frame;
    frame.Load();
    Child control("frmControl");
    Child profile("frmProfile");
    control.Show();
    profile.Show();
    auto* sub = qobject_cast<QMdiSubWindow*>(control.frameWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->mdiArea(), frame.mdiArea());
    EXPECT_EQ(frame.children(), (std::vector<ui::Form*>{&control, &profile}));
    EXPECT_EQ(ui::Forms::activeForm(), &profile);
    frame.Show();
    control.SetFocus();
    EXPECT_EQ(ui::Forms::activeForm(), &control);
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());

    // A child's close box closes only the child.
    sub->close();
    EXPECT_FALSE(control.IsLoaded());
    EXPECT_TRUE(frame.IsLoaded());
    EXPECT_EQ(journal().filter("frmControl:QueryUnload"), QStringList({"frmControl:QueryUnload 0"}));
    EXPECT_EQ(frame.children(), (std::vector<ui::Form*>{&profile}));
    frame.Unload();
}

namespace {

// A child whose controls ask for more room than an empty window has.
class WideChild : public Child {
public:
    WideChild() : Child("frmWide") {}
    ProbeControl lblWide{this, "lblWide"};

protected:
    void buildUi(QWidget* window) override
    {
        Child::buildUi(window);
        lblWide.widget()->setMinimumSize(400, 300);
    }
};

} // namespace

TEST_F(CoreWindows, MdiChildTakesItsContentsSizeWhenFirstShownUnlessPlaced)
{
    Frame frame;
    frame.Load();
    WideChild loadedFirst;
    loadedFirst.Load();
    loadedFirst.Show();
    EXPECT_GE(loadedFirst.frameWidget()->width(), 400);
    EXPECT_GE(loadedFirst.frameWidget()->height(), 300);

    WideChild placed;
    placed.Load();
    placed.Move(0, 0, 500, 420);
    placed.Show();
    EXPECT_EQ(placed.frameWidget()->size(), QSize(500, 420));
    loadedFirst.Unload();
    placed.Unload();
    frame.Unload();
}

TEST_F(CoreWindows, TheMdiAreaScrollsToAChildReachingBeyondIt)
{
    Frame frame;
    frame.Load();
    frame.Move(0, 0, 420, 320);
    frame.Show();
    QMdiArea* area = frame.mdiArea();
    QCoreApplication::processEvents();
    EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0) << "nothing beyond the area yet";
    WideChild wide;
    wide.Load();
    wide.Move(100, 80, 500, 420);
    wide.Show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(area->horizontalScrollBar()->isVisibleTo(area));
    EXPECT_TRUE(area->verticalScrollBar()->isVisibleTo(area));
    EXPECT_GT(area->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
    wide.Unload();
    frame.Unload();
}

TEST_F(CoreWindows, ChildrenOpenedOneAfterAnotherOpenWhollyInsideTheArea)
{
    Frame frame;
    frame.Load();
    frame.Move(0, 0, 900, 700);
    frame.Show();
    QCoreApplication::processEvents();
    const QSize view = frame.mdiArea()->viewport()->size();
    std::vector<std::unique_ptr<WideChild>> children;
    for (int k = 0; k < 8; ++k) {
        children.push_back(std::make_unique<WideChild>());
        WideChild& child = *children.back();
        child.Load();
        child.Show();
        const QRect placed = child.frameWidget()->geometry();
        EXPECT_GE(placed.left(), 0) << "child " << k;
        EXPECT_GE(placed.top(), 0) << "child " << k;
        EXPECT_LE(placed.right(), view.width()) << "child " << k;
        EXPECT_LE(placed.bottom(), view.height()) << "child " << k;
    }
    for (auto& child : children)
        child->Unload();
    frame.Unload();
}

TEST_F(CoreWindows, UnloadingTheFrameAsksEveryChildFirst)
{
    Frame frame;
    frame.Load();
    Child first("frmFirst");
    Child second("frmSecond");
    first.Load();
    second.Show();
    journal().clear();
    EXPECT_TRUE(frame.Unload(ui::vbFormControlMenu));
    EXPECT_EQ(journal(),
              QStringList({"mdiMain:QueryUnload 0", "frmFirst:QueryUnload 4", "frmSecond:QueryUnload 4",
                           "frmFirst:Unload", "frmSecond:Unload", "mdiMain:Unload"}));
    EXPECT_TRUE(ui::Forms::loaded().empty());
}

TEST_F(CoreWindows, AChildCancellingKeepsTheFrameLoaded)
{
    Frame frame;
    frame.Load();
    Child first("frmFirst");
    Child second("frmSecond");
    first.Load();
    second.Load();
    second.cancelQueryUnload = 1;
    EXPECT_FALSE(frame.Unload());
    EXPECT_TRUE(frame.IsLoaded());
    EXPECT_TRUE(first.IsLoaded());
    EXPECT_TRUE(second.IsLoaded());
    EXPECT_EQ(journal().filter("Unload").size(), 3); // the three QueryUnloads, no Unload
    second.cancelQueryUnload = 0;
    frame.Unload();
}

TEST_F(CoreWindows, ChildWithoutAFrameIsATopLevelWindow)
{
    Child lonely("frmLonely");
    lonely.Show();
    EXPECT_TRUE(lonely.frameWidget()->isWindow());
    EXPECT_EQ(lonely.frameWidget(), lonely.widget());
    lonely.Unload();
}

TEST_F(CoreWindows, FrameDestroyedBeforeItsChildLeavesTheChildUsable)
{
    auto frame = std::make_unique<Frame>();
    frame->Load();
    Child child("frmChild");
    child.Show();
    frame->Unload();
    frame.reset();
    ASSERT_NE(child.widget(), nullptr);
    EXPECT_EQ(child.widget()->parentWidget(), nullptr);
    child.setCaption("still here");
    EXPECT_EQ(child.widget()->windowTitle(), "still here");
}
