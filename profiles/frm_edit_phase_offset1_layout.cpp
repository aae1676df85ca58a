#include "profiles/edit_dialog_layout.h"
#include "profiles/frm_edit_phase_offset1.h"

#include <QGridLayout>
#include <QVBoxLayout>

void frmEditPhaseOffset1::buildUi(QWidget* window)
{
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(9, 9, 9, 9);
    outer->addLayout(profiles::widgetRow({lblActualPhaseDelay.widget(), txtSearchPhaseOff.widget(),
                                          lblPhaseDelDeg.widget(), vscPhaseOffset.widget(), nullptr}));
    if (QWidget* spin = vscPhaseOffset.widget())
        spin->setFixedHeight(34);
    if (QWidget* angle = txtSearchPhaseOff.widget())
        angle->setFixedWidth(angle->fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")) + 12);

    outer->addWidget(Frame1.widget());
    auto* views = new QGridLayout(Frame1.container());
    views->setHorizontalSpacing(6);
    views->addLayout(
        profiles::widgetRow({txtBinVal(1).widget(), txtBinVal(0).widget(), lblBin.widget(), nullptr}), 0, 0,
        1, 2);
    // As in the frequency dialog: decimal on the left, hexadecimal on the right.
    views->addLayout(profiles::widgetRow({txtDecVal.widget(), lblDec.widget(), nullptr}), 1, 0);
    views->addLayout(profiles::widgetRow({nullptr, txtHexVal.widget(), lblHex.widget()}), 1, 1);
    for (ui::TextBox* box : {&txtBinVal(0), &txtBinVal(1), &txtHexVal, &txtDecVal})
        if (QWidget* w = box->widget())
            w->setFixedWidth(w->fontMetrics().horizontalAdvance(QStringLiteral("000000000")) + 12);

    outer->addLayout(profiles::widgetRow({nullptr, cmdOK.widget(), cmdCancel.widget()}));
    profiles::makeFixedDialog(window);
}
