// Where the edit dialogs put their word views: binary on top, most significant byte first; decimal on the
// left and hexadecimal on the right below it, each unit label just right of its box.

#include "edit_dialog_support.h"

#include "profiles/frm_edit_out_freq.h"
#include "profiles/frm_edit_phase_offset1.h"

#include <QCoreApplication>
#include <QRect>

namespace {

using edit_dialog_test::answerDialog;
using edit_dialog_test::press;

QRect placeIn(ui::Form& dialog, ui::Control& control)
{
    QWidget* w = control.widget();
    return QRect(w->mapTo(dialog.widget(), QPoint(0, 0)), w->size());
}

// `left` and `right` stand side by side on one line, `left` first.
void expectLeftOf(const QRect& left, const QRect& right)
{
    EXPECT_LT(left.right(), right.left());
    EXPECT_LT(std::abs(left.center().y() - right.center().y()), left.height());
}

class EditDialogLayout : public edit_dialog_test::CallerTest {};

TEST_F(EditDialogLayout, FrequencyDialogHasDecimalLeftAndHexRight)
{
    field.Tag = QStringLiteral("0");
    answerDialog<frmEditOutFreq>([](frmEditOutFreq& d) {
        QCoreApplication::processEvents();
        const QRect dec = placeIn(d, d.txtTWDec);
        const QRect hex = placeIn(d, d.txtTWHex);
        expectLeftOf(dec, hex);
        expectLeftOf(dec, placeIn(d, d.lblDec));
        expectLeftOf(placeIn(d, d.lblDec), hex);
        expectLeftOf(hex, placeIn(d, d.lblHex));
        expectLeftOf(placeIn(d, d.txtTW(5)), placeIn(d, d.txtTW(2)));
        EXPECT_LT(placeIn(d, d.txtTW(2)).bottom(), dec.top()) << "binary above the other views";
        press(d.CancelButton);
    });
    ui::form<frmEditOutFreq>().ShowEditDialog(field, QStringLiteral("Edit"), 1000.0, 32);
}

TEST_F(EditDialogLayout, PhaseDialogHasHighByteFirstThenDecimalLeftAndHexRight)
{
    field.Tag = QStringLiteral("0");
    answerDialog<frmEditPhaseOffset1>([](frmEditPhaseOffset1& d) {
        QCoreApplication::processEvents();
        const QRect dec = placeIn(d, d.txtDecVal);
        const QRect hex = placeIn(d, d.txtHexVal);
        expectLeftOf(dec, hex);
        expectLeftOf(dec, placeIn(d, d.lblDec));
        expectLeftOf(hex, placeIn(d, d.lblHex));
        expectLeftOf(placeIn(d, d.txtBinVal(1)), placeIn(d, d.txtBinVal(0)));
        expectLeftOf(placeIn(d, d.txtBinVal(0)), placeIn(d, d.lblBin));
        expectLeftOf(placeIn(d, d.txtSearchPhaseOff), placeIn(d, d.lblPhaseDelDeg));
        press(d.cmdCancel);
    });
    ui::form<frmEditPhaseOffset1>().ShowEditDialog(field, 1000.0);
}

} // namespace
