#include "modulation/frm_simulator_setup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// A path box with its "..." button, stretched with the frame.
QHBoxLayout* pathRow(ui::TextBox& box, ui::CommandButton& pick)
{
    auto* row = new QHBoxLayout;
    row->addWidget(box.widget(), 1);
    pick.widget()->setFixedWidth(32);
    row->addWidget(pick.widget());
    return row;
}

} // namespace

void frmSimulatorSetup::buildUi(QWidget* window)
{
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(8, 8, 8, 8);

    auto* options = new QHBoxLayout(fraRegMapOptions.container());
    options->addWidget(optRegMapOptions(0).widget());
    options->addWidget(optRegMapOptions(1).widget());
    options->addStretch(1);
    outer->addWidget(fraRegMapOptions.widget());

    auto* aux = new QVBoxLayout(fraAuxCtrlFile.container());
    aux->addLayout(pathRow(txtAuxCtrlFilePath, cmdSelectAuxCtrlFile));
    auto* edit = new QHBoxLayout;
    edit->addWidget(cmdEditCtrlFile.widget());
    edit->addStretch(1);
    aux->addLayout(edit);
    outer->addWidget(fraAuxCtrlFile.widget());

    (new QVBoxLayout(fraIQBaseBandDf.container()))
        ->addLayout(pathRow(txtIQBaseBBDataFilePath, cmdSelectIQBBDataFile));
    outer->addWidget(fraIQBaseBandDf.widget());
    (new QVBoxLayout(fraIterpDacDatafile.container()))
        ->addLayout(pathRow(txtInterpDACDataFilePath, cmdSelectInterpDACDF));
    outer->addWidget(fraIterpDacDatafile.widget());

    auto* sarvex = new QVBoxLayout(fraSarvexDataFiles.container());
    sarvex->addWidget(lblIBSBBDataFile.widget());
    sarvex->addLayout(pathRow(txtIBSBBDataFilePath, cmdIBSBBdataFile));
    sarvex->addWidget(lblQBSBBDataFile.widget());
    sarvex->addLayout(pathRow(txtQBSBBDataFilePath, cmdQBSBBdataFile));
    outer->addWidget(fraSarvexDataFiles.widget());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRunSimulator.widget());
    buttons->addWidget(cmdCloseAllPlotWindows.widget());
    buttons->addWidget(chkShowConsole.widget());
    buttons->addStretch(1);
    outer->addLayout(buttons);

    txtSimulatorConsoleOut.widget()->setMinimumSize(560, 180);
    outer->addWidget(txtSimulatorConsoleOut.widget(), 1);

    // The register-map choice is kept in a label; the measuring labels only measure.
    auto* unplaced = new QWidget(window);
    unplaced->setVisible(false);
    auto* unplacedLayout = new QHBoxLayout(unplaced);
    for (ui::Label* label : {&lblRegMapSel, &lblMinWidth, &lblMinHeight})
        unplacedLayout->addWidget(label->widget());
    outer->addWidget(unplaced);
}
