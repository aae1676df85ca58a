#include "profiles/edit_dialog_layout.h"
#include "profiles/frm_edit_osf.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace profiles {

void ScaleFactorDialog::buildUi(QWidget* window)
{
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(9, 9, 9, 9);
    outer->addLayout(
        widgetRow({lblActualPhaseDelay.widget(), txtValue.widget(), vscValue.widget(), nullptr}));
    if (QWidget* spin = vscValue.widget())
        spin->setFixedHeight(34);
    if (QWidget* value = txtValue.widget())
        value->setFixedWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0.00000000")) + 14);

    outer->addWidget(Frame1.widget());
    auto* views = new QGridLayout(Frame1.container());
    views->setHorizontalSpacing(6);
    // The upper bits on the left, so that both boxes read as one word, most significant bit first.
    auto* bits = new QHBoxLayout;
    bits->setSpacing(2);
    for (int i = txtBinVal.UBound(); i >= 0; --i) {
        QWidget* box = txtBinVal(i).widget();
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000000")) + 12);
        bits->addWidget(box);
    }
    bits->addWidget(lblBin.widget());
    bits->addStretch(1);
    views->addLayout(bits, 0, 0, 1, 2);
    views->addLayout(widgetRow({txtHexVal.widget(), lblHex.widget(), nullptr}), 1, 0);
    views->addLayout(widgetRow({nullptr, txtDecVal.widget(), lblDec.widget()}), 1, 1);
    for (ui::TextBox* box : {&txtHexVal, &txtDecVal})
        if (QWidget* w = box->widget())
            w->setFixedWidth(w->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);

    outer->addLayout(widgetRow({nullptr, cmdOK.widget(), cmdCancel.widget()}));
    makeFixedDialog(window);
}

} // namespace profiles
