#include "profiles/edit_dialog_layout.h"
#include "profiles/frm_edit_ram_addr_rr.h"

#include <QGridLayout>
#include <QVBoxLayout>

void frmEditRAMAddrRR::buildUi(QWidget* window)
{
    using profiles::widgetRow;
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(9, 9, 9, 9);
    auto* time = widgetRow({Label1.widget(), lbDelta.widget(), lblDTime.widget(), txtRampRateTime.widget(),
                            lblMhz.widget(), lblSec.widget(), vscRampRateTime.widget(), nullptr});
    time->setSpacing(2);
    time->insertSpacing(1, 8);
    outer->addLayout(time);
    if (QWidget* spin = vscRampRateTime.widget())
        spin->setFixedHeight(34);
    if (QWidget* box = txtRampRateTime.widget())
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000.00000")) + 14);

    outer->addWidget(fraRampRate.widget());
    auto* views = new QGridLayout(fraRampRate.container());
    views->setHorizontalSpacing(6);
    views->addLayout(widgetRow({txtBin(1).widget(), txtBin(0).widget(), lblTWBin.widget(), nullptr}), 0, 0, 1,
                     2);
    views->addLayout(widgetRow({txtHex.widget(), lblHex.widget(), nullptr}), 1, 0);
    views->addLayout(widgetRow({nullptr, txtDec.widget(), lblDec.widget()}), 1, 1);
    for (ui::TextBox* box : {&txtBin(0), &txtBin(1), &txtHex, &txtDec})
        if (QWidget* w = box->widget())
            w->setFixedWidth(w->fontMetrics().horizontalAdvance(QStringLiteral("000000000")) + 12);

    outer->addLayout(
        widgetRow({nullptr, profiles::highlightedButton(OKButton.widget(), shpOKHilight.widget()),
                   CancelButton.widget()}));
    profiles::makeFixedDialog(window);
}
