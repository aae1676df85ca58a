// The Profiles window's grid: three columns of three cells, profiles 0-2 in the first column, 3-5 in the
// second, 6 and 7 in the third, the window-wide panel in the ninth cell; cells 120 twips (8 pixels) apart
// and the window 11445 twips (763 pixels) wide, whichever form it shows.

#include "profile_fixture.h"

#include "shell/frm_control.h"
#include "shell/mdi_main.h"

#include "platform/ui/forms.h"

#include <QCoreApplication>
#include <QLayout>
#include <QMdiArea>
#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using namespace profiletest;

class ProfileLayout : public ProfileWindowTest {
protected:
    frmProfile& shown()
    {
        mdi->Move(0, 0, 1600, 1000);
        frmProfile& w = openShown();
        settle();
        return w;
    }
    // Lets pending layout work run.
    static void settle()
    {
        for (int k = 0; k < 3; ++k)
            QCoreApplication::processEvents();
    }
    // A widget's place in the window's content.
    static QRect placeOf(frmProfile& w, QWidget* widget)
    {
        return QRect(widget->mapTo(w.widget(), QPoint(0, 0)), widget->size());
    }
};

TEST_F(ProfileLayout, ProfilesFillThreeColumnsTopToBottomWithThePanelInTheNinthCell)
{
    frmProfile& w = shown();
    const QRect first = placeOf(w, w.fraProfileQDUC(0).widget());
    ASSERT_GT(first.width(), 0);
    ASSERT_GT(first.height(), 0);
    const int columnStep = first.width() + 8;
    const int rowStep = first.height() + 8;
    for (int n = 0; n < 8; ++n) {
        SCOPED_TRACE(n);
        const QRect expected(first.left() + (n / 3) * columnStep, first.top() + (n % 3) * rowStep,
                             first.width(), first.height());
        EXPECT_EQ(placeOf(w, w.fraProfileQDUC(n).widget()), expected);
        EXPECT_EQ(placeOf(w, w.fraProfileRAM(n).widget()), expected) << "the three forms share the cell";
        EXPECT_EQ(placeOf(w, w.fraProfileSnglTone(n).widget()), expected);
    }
    EXPECT_EQ(placeOf(w, w.pbxOtherCtrls.widget()),
              QRect(first.left() + 2 * columnStep, first.top() + 2 * rowStep, first.width(), first.height()));
}

TEST_F(ProfileLayout, WindowIs763PixelsWideAndEveryFormLiesWithinIt)
{
    frmProfile& w = shown();
    EXPECT_EQ(w.Width(), 763);
    QWidget* content = w.widget();
    EXPECT_TRUE(content->rect().contains(placeOf(w, w.pbxOtherCtrls.widget())));
    EXPECT_TRUE(content->rect().contains(placeOf(w, w.cmdLoad.widget()))) << "LOAD within reach";
    for (int16_t form : {frmProfile::kFormRAM, frmProfile::kFormSingleTone, frmProfile::kFormQDUC}) {
        SCOPED_TRACE(form);
        w.SetFormMode(form);
        settle();
        for (int n = 0; n < 8; ++n) {
            SCOPED_TRACE(n);
            ui::Frame& frame = form == frmProfile::kFormQDUC  ? w.fraProfileQDUC(n)
                               : form == frmProfile::kFormRAM ? w.fraProfileRAM(n)
                                                              : w.fraProfileSnglTone(n);
            ASSERT_TRUE(frame.widget()->isVisible());
            EXPECT_TRUE(content->rect().contains(placeOf(w, frame.widget())));
            // Every control of the shown frame lies wholly within it, labels not squeezed.
            for (QWidget* child : frame.widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!child->isVisible())
                    continue;
                EXPECT_TRUE(frame.widget()->rect().contains(child->geometry()))
                    << child->objectName().toStdString();
                if (child->minimumWidth() == child->maximumWidth())
                    continue; // boxes have their fixed widths
                EXPECT_GE(child->width(), child->minimumSizeHint().width())
                    << child->objectName().toStdString();
            }
        }
    }
}

TEST_F(ProfileLayout, PanelControlsKeepTheirRoom)
{
    frmProfile& w = shown();
    QWidget* panel = w.pbxOtherCtrls.widget();
    for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible())
            continue;
        EXPECT_TRUE(panel->rect().contains(child->geometry())) << child->objectName().toStdString();
        EXPECT_GE(child->width(), child->minimumSizeHint().width()) << child->objectName().toStdString();
        EXPECT_GE(child->height(), child->minimumSizeHint().height()) << child->objectName().toStdString();
    }
}

} // namespace

TEST_F(ProfileLayout, OpensBesideTheControlWindowWhollyInTheMainWindow)
{
    // As start-up opens them, in a main window the size of a 1600 x 1000 screen.
    mdi->Move(0, 0, 1600, 1000);
    mdi->Show();
    ui::Forms::showByName(QStringLiteral("frmControl"));
    ui::Forms::showByName(frmProfile::FormName);
    settle();
    QWidget* area = mdi->mdiArea()->viewport();
    const QRect control = ui::loadedForm<frmControl>()->frameWidget()->geometry();
    const QRect profiles = ui::loadedForm<frmProfile>()->frameWidget()->geometry();
    EXPECT_TRUE(area->rect().contains(control));
    EXPECT_TRUE(area->rect().contains(profiles));
    EXPECT_FALSE(control.intersects(profiles)) << "side by side";
}
