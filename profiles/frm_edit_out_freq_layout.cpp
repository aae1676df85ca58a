#include "profiles/edit_dialog_layout.h"
#include "profiles/frm_edit_out_freq.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <algorithm>

void frmEditOutFreq::buildUi(QWidget* window)
{
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(9, 9, 9, 9);
    outer->addLayout(
        profiles::widgetRow({Label1.widget(), txtOutputFreqVal.widget(), lblMhz.widget(), nullptr}));

    outer->addWidget(fraTunningWord.widget());
    auto* views = new QGridLayout(fraTunningWord.container());
    views->setHorizontalSpacing(6);
    // Most significant byte on the left, box 0 rightmost.
    auto* bytes = new QHBoxLayout;
    bytes->setSpacing(4);
    for (int i = 5; i >= 0; --i) {
        QWidget* box = txtTW(i).widget();
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000000")) + 12);
        bytes->addWidget(box);
    }
    bytes->addWidget(lblTWBin.widget());
    bytes->addStretch(1);
    views->addLayout(bytes, 0, 0, 1, 2);
    // Decimal on the left with its spin bar, hexadecimal on the right, each unit label right of its box.
    views->addLayout(profiles::widgetRow({txtTWDec.widget(), lblDec.widget(), vscDecTWVal.widget(), nullptr}),
                     1, 0);
    views->addLayout(profiles::widgetRow({nullptr, txtTWHex.widget(), lblHex.widget()}), 1, 1);
    if (QWidget* spin = vscDecTWVal.widget())
        spin->setFixedHeight(spin->sizeHint().height() > 0 ? std::min(spin->sizeHint().height(), 34) : 34);

    auto* buttons =
        profiles::widgetRow({nullptr, profiles::highlightedButton(OKButton.widget(), shpOKHilight.widget()),
                             CancelButton.widget()});
    outer->addLayout(buttons);
    // The self-sizing labels only measure; they stay hidden.
    for (ui::Label* sizer : {&lblAutoSizeOutFreq, &lblAutoSizeHex, &lblAutoSizeDec})
        outer->addWidget(sizer->widget());
    profiles::makeFixedDialog(window);
}
