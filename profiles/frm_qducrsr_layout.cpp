// The RAM segment window's layout: the two check boxes on top, the two segment frames side by side below
// them, the "Load RAM" and "Save RAM" frames below those, and the ISFC buttons and LOAD in a column at the
// right. Markers and highlights lie behind their control, a little larger, so that they frame it.

#include "profiles/edit_dialog_layout.h"
#include "profiles/frm_qducrsr.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

void fitChars(ui::Control& control, const QString& sample)
{
    if (QWidget* w = control.widget())
        w->setFixedWidth(w->fontMetrics().horizontalAdvance(sample) + 14);
}

} // namespace

void frmQDUCRSR::buildUi(QWidget* window)
{
    using profiles::highlightedButton;
    auto* outer = new QHBoxLayout(window);
    outer->setContentsMargins(8, 8, 8, 8);
    auto* left = new QVBoxLayout;
    outer->addLayout(left, 1);

    left->addLayout(profiles::widgetRow({chkEnableRAM.widget(), chkEnQDUCRAMEval.widget(), nullptr}));

    auto* segments = new QHBoxLayout;
    for (int i = 0; i < kSegments; ++i) {
        auto* grid = new QGridLayout(fraProfileRAM(i).container());
        grid->setHorizontalSpacing(6);
        grid->addWidget(lblRAMSegBeginAddr(i).widget(), 0, 0);
        grid->addWidget(txtRAMSegBeginAddr(i).widget(), 0, 1);
        grid->addWidget(lblRAMSegFinalAddr(i).widget(), 1, 0);
        grid->addWidget(txtRAMSegFinalAddr(i).widget(), 1, 1);
        grid->addWidget(lblRAMSegAddrRampRate(i).widget(), 2, 0);
        grid->addWidget(txtRAMSegAddrRampRate(i).widget(), 2, 1);
        auto* unit = new QHBoxLayout;
        unit->setSpacing(0);
        unit->addWidget(lblRAMMicro(i).widget());
        unit->addWidget(lblRAMSec(i).widget());
        unit->addStretch(1);
        grid->addLayout(unit, 2, 2);
        grid->addWidget(lblRAMSegModCtrl(i).widget(), 3, 0);
        grid->addWidget(highlightedButton(cmbRAMSegModeControl(i).widget(), lblMCErr(i).widget()), 3, 1, 1,
                        2);
        for (ui::TextBox* box : {&txtRAMSegBeginAddr(i), &txtRAMSegFinalAddr(i), &txtRAMSegAddrRampRate(i)})
            fitChars(*box, QStringLiteral("0000.00000"));
        segments->addWidget(fraProfileRAM(i).widget());
    }
    left->addLayout(segments);

    auto* load = new QGridLayout(fraRAMFile.container());
    load->addWidget(lblLoadRAMTextFile.widget(), 0, 0);
    load->addWidget(txtQDRAMFile.widget(), 0, 1);
    load->addWidget(cmdSelRAMFile.widget(), 0, 2);
    load->addWidget(lblOutputDataFormat(1).widget(), 1, 0);
    load->addWidget(cmbLoadOptions.widget(), 1, 1);
    load->addWidget(cmdLoadRAMFile.widget(), 1, 2);
    load->setColumnStretch(1, 1);
    left->addWidget(fraRAMFile.widget());

    auto* save = new QGridLayout(fraReadRAM.container());
    save->addWidget(lblSaveFileName.widget(), 0, 0);
    save->addWidget(txtRAMSaveFile.widget(), 0, 1);
    save->addWidget(cmdChooseSavePath.widget(), 0, 2);
    save->addWidget(lblOutputDataFormat(0).widget(), 1, 0);
    save->addWidget(cmbDumpDataFormat.widget(), 1, 1);
    save->addLayout(profiles::widgetRow({cmdSaveRAMFile.widget(), cmdViewSavedFile.widget()}), 1, 2);
    save->setColumnStretch(1, 1);
    left->addWidget(fraReadRAM.widget());
    for (ui::CommandButton* button : {&cmdSelRAMFile, &cmdChooseSavePath, &cmdViewSavedFile})
        fitChars(*button, QStringLiteral("...."));

    auto* column = new QVBoxLayout;
    column->addWidget(highlightedButton(cmdSetISFCPin(1).widget(), lblISFCHilight(1).widget()));
    column->addWidget(highlightedButton(cmdSetISFCPin(0).widget(), lblISFCHilight(0).widget()));
    column->addStretch(1);
    column->addWidget(highlightedButton(cmdLoad.widget(), lblLoadFlash.widget()));
    outer->addLayout(column);
}
