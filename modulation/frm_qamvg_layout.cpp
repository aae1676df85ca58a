#include "modulation/frm_qamvg.h"
#include "modulation/layout_rows.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

using modlayout::addRows;

namespace {

// A frame's own grid.
QGridLayout* gridIn(ui::Frame& frame)
{
    auto* grid = new QGridLayout(frame.container());
    grid->setContentsMargins(6, 6, 6, 6);
    return grid;
}

// A tab's two columns of rows, each a grid of its own: the debug frame and buttons of the right column
// then take their own height instead of stretching the left column's rows apart.
struct PageColumns {
    QGridLayout* left;
    QGridLayout* right;
};

QGridLayout* columnGrid()
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    return grid;
}

PageColumns pageColumns(ui::TabStrip& tabs, int tab)
{
    auto* page = new QHBoxLayout(tabs.page(tab));
    page->setSpacing(16);
    const PageColumns columns{columnGrid(), columnGrid()};
    columns.right->setColumnMinimumWidth(0, 150);
    page->addLayout(columns.left, 1);
    page->addLayout(columns.right, 1);
    return columns;
}

// Every row of a column as high as its highest, and the rows packed at the top: evenly spaced whatever a
// row holds (a list is a few pixels taller than a box).
void evenRows(QGridLayout* grid, int rows)
{
    int height = 0;
    for (int i = 0; i < grid->count(); ++i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        if (row < rows && rowSpan == 1)
            height = std::max(height, grid->itemAt(i)->sizeHint().height());
    }
    for (int row = 0; row < rows; ++row)
        grid->setRowMinimumHeight(row, height);
    grid->setRowStretch(grid->rowCount(), 1);
}

// The vector count reads like a box that cannot be typed into: a whole frame around it.
void shapeCountLabel(ui::Label& count)
{
    count.setBorderStyle(1);
    if (auto* frame = qobject_cast<QFrame*>(count.widget()))
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

} // namespace

void frmQAMVG::buildUi(QWidget* window)
{
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(sstTabs.widget());
    outer->addWidget(txtConsoleOutput.widget(), 1);
    txtConsoleOutput.widget()->setMinimumHeight(150);

    // Markers that stand beside no field here, and the measuring labels: placed, never shown.
    auto* unplaced = new QWidget(window);
    unplaced->setVisible(false);
    auto* unplacedLayout = new QHBoxLayout(unplaced);
    for (ui::Label* label :
         {&lblFieldErrSDPSK(13), &lblFieldErrSDPSK(14), &lblFieldErrSDPSK(15), &lblMinWidth, &lblMinHeight})
        unplacedLayout->addWidget(label->widget());
    outer->addWidget(unplaced);

    // QAM
    {
        const PageColumns page = pageColumns(sstTabs, kTabQam);
        evenRows(
            page.left,
            addRows(page.left, 0, 0,
                    {{QStringLiteral("Number of Symbols:"),
                      nullptr,
                      {txtNumSymbols.widget(), cmdMaxQAMSymbols.widget()},
                      &lblFieldErrQAM(0)},
                     {QStringLiteral("QAM Level:"), nullptr, {lstQAMLevel.widget()}, &lblFieldErrQAM(1)},
                     {QStringLiteral("Filter Type:"), nullptr, {lstFilterType.widget()}, &lblFieldErrQAM(2)},
                     {QStringLiteral("Filter Taps:"), nullptr, {txtFilterTAPs.widget()}, &lblFieldErrQAM(3)},
                     {QStringLiteral("Filter Coefficient Resolution:"),
                      nullptr,
                      {txtFilterCoefVal.widget()},
                      &lblFieldErrQAM(4)},
                     {QStringLiteral("Upsampling Factor:"),
                      nullptr,
                      {txtFilterUpsampleFact.widget()},
                      &lblFieldErrQAM(5)},
                     {QStringLiteral("Filter Roll-off Factor:"),
                      nullptr,
                      {txtFiltROFact.widget()},
                      &lblFieldErrQAM(6)},
                     {QStringLiteral("Filter Window:"),
                      nullptr,
                      {lstFilterWindowType.widget()},
                      &lblFieldErrQAM(7)},
                     {QString(), lblKaiserWROF.widget(), {txtKaiserWROF.widget()}, &lblFieldErrQAM(8)},
                     {QStringLiteral("Output Quantization (Bits):"),
                      nullptr,
                      {txtNumOfOutBits.widget()},
                      &lblFieldErrQAM(9)}}));
        QGridLayout* debug = gridIn(fraQAMDebugOptions);
        debug->addWidget(chkDebugModeQAM.widget(), 0, 0, 1, 3);
        addRows(debug, 1, 0,
                {{QStringLiteral("Graph Points:"), nullptr, {txtGraphPoints.widget()}, &lblFieldErrQAM(13)}});
        const int row = addRows(
            page.right, 0, 0,
            {{QStringLiteral("Number of Data Vectors:"),
              nullptr,
              {lblQAMOutputVects.widget()},
              &lblFieldErrQAM(10)},
             {QStringLiteral("Attenuation:"), nullptr, {txtAttenuationVal.widget()}, &lblFieldErrQAM(11)},
             {QStringLiteral("Output Data Format:"),
              nullptr,
              {lstQAMOutputDataFormat.widget()},
              &lblFieldErrQAM(12)},
             {QStringLiteral("Output File:"),
              nullptr,
              {txtQAMVGOutputFile.widget(), cmdQAMSaveAs.widget()},
              &lblFieldErrQAM(14)}});
        page.right->addWidget(fraQAMDebugOptions.widget(), row, 0, 1, 3);
        page.right->addWidget(cmdGenerateQAMData.widget(), row + 1, 1);
        evenRows(page.right, row);
    }

    // QAM (Polar)
    {
        const PageColumns page = pageColumns(sstTabs, kTabPolar);
        evenRows(
            page.left,
            addRows(page.left, 0, 0,
                    {{QStringLiteral("Number of Symbols:"),
                      nullptr,
                      {txtNumSymbolsQP.widget(), Command8.widget()},
                      &lblFieldErrQP(0)},
                     {QStringLiteral("QAM Level:"), nullptr, {lstQAMLevelQP.widget()}, &lblFieldErrQP(1)},
                     {QStringLiteral("Filter Type:"), nullptr, {lstFilterTypeQP.widget()}, &lblFieldErrQP(2)},
                     {QStringLiteral("Filter Taps:"), nullptr, {txtFilterTAPsQP.widget()}, &lblFieldErrQP(3)},
                     {QStringLiteral("Filter Coefficient Resolution:"),
                      nullptr,
                      {txtFilterCoefValQP.widget()},
                      &lblFieldErrQP(4)},
                     {QStringLiteral("Upsampling Factor:"),
                      nullptr,
                      {txtFilterUpsampleFactQP.widget()},
                      &lblFieldErrQP(5)},
                     {QStringLiteral("Filter Roll-off Factor:"),
                      nullptr,
                      {txtFiltROFactQP.widget()},
                      &lblFieldErrQP(6)},
                     {QStringLiteral("Filter Window:"),
                      nullptr,
                      {lstFilterWindowTypeQP.widget()},
                      &lblFieldErrQP(7)},
                     {QString(), lblKaiserWROFQP.widget(), {txtKaiserWROFQP.widget()}, &lblFieldErrQP(8)},
                     {QStringLiteral("Output Quantization (Bits):"),
                      nullptr,
                      {txtNumOfOutBitsQP.widget()},
                      &lblFieldErrQP(9)},
                     {QStringLiteral("Phase Bits:"), nullptr, {txtPhaseBitsQP.widget()}, &lblFieldErrQP(12)},
                     {QStringLiteral("Amplitude Bits:"),
                      nullptr,
                      {txtAmplitudeBitsQP.widget()},
                      &lblFieldErrQP(13)}}));
        QGridLayout* debug = gridIn(fraQPDebugOptions);
        debug->addWidget(chkDebugModeQP.widget(), 0, 0, 1, 3);
        addRows(
            debug, 1, 0,
            {{QStringLiteral("Graph Points:"), nullptr, {txtGraphPointsQP.widget()}, &lblFieldErrQP(14)}});
        const int row = addRows(
            page.right, 0, 0,
            {{QStringLiteral("Number of Data Vectors:"),
              nullptr,
              {lblQPOutputVects.widget()},
              &lblFieldErrQP(10)},
             {QStringLiteral("Attenuation:"), nullptr, {txtAttenuationValQP.widget()}, &lblFieldErrQP(11)},
             {QStringLiteral("Phase Output File:"),
              nullptr,
              {txtPhaseOutputFileQP.widget(), cmdPhaseSaveAsQP.widget()},
              &lblFieldErrQP(15)},
             {QStringLiteral("Amplitude Output File:"),
              nullptr,
              {txtAMPOutputFileQP.widget(), cmdAmpSaveAsQP.widget()},
              &lblFieldErrQP(16)},
             {QStringLiteral("Output File:"),
              nullptr,
              {txtOutputFileQP.widget(), cmdSaveAsQP.widget()},
              &lblFieldErrQP(17)}});
        page.right->addWidget(fraQPDebugOptions.widget(), row, 0, 1, 3);
        auto* views = new QHBoxLayout;
        for (ui::CommandButton* button :
             {&cmdViewSymolsBinQP, &cmdViewSymolsDecQP, &cmdViewSymolsHexQP, &cmdShowFilterResponseQP})
            views->addWidget(button->widget());
        page.right->addLayout(views, row + 1, 0, 1, 3);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(cmdQPSaveAs.widget());
        buttons->addWidget(cmdGenerateQPData.widget());
        page.right->addLayout(buttons, row + 2, 0, 1, 3);
        evenRows(page.right, row);
    }

    // GMSK \ EDGE
    {
        const PageColumns page = pageColumns(sstTabs, kTabGmsk);
        evenRows(
            page.left,
            addRows(
                page.left, 0, 0,
                {{QStringLiteral("Number of Symbols:"),
                  nullptr,
                  {txtNumSymbolsGMSK.widget(), cmdMaxGESymbols.widget()},
                  &lblFieldErrGE(0)},
                 {QStringLiteral("Modulation Type:"), nullptr, {lstModTypeGMSK.widget()}, &lblFieldErrGE(1)},
                 {QStringLiteral("Filter Span:"),
                  nullptr,
                  {txtFilterSpanValGMSK.widget()},
                  &lblFieldErrGE(2)},
                 {QStringLiteral("Coefficient Resolution:"),
                  nullptr,
                  {txtCoeficientResGMSK.widget()},
                  &lblFieldErrGE(3)},
                 {QStringLiteral("Upsampling Factor:"),
                  nullptr,
                  {txtUpSamplingFactGMSK.widget()},
                  &lblFieldErrGE(4)},
                 {QString(), lblNormBWGMSK.widget(), {txtNormBWGMSK.widget()}, &lblFieldErrGE(5)},
                 {QString(), lblModIndexGMSK.widget(), {txtModIndexGMSK.widget()}, &lblFieldErrGE(6)},
                 {QStringLiteral("Output Quantization (Bits):"),
                  nullptr,
                  {txtNumOfOutBitsGMSK.widget()},
                  &lblFieldErrGE(7)}}));
        QGridLayout* debug = gridIn(fraGMSKDebugOptions);
        debug->addWidget(chkDebugModeGE.widget(), 0, 0, 1, 3);
        debug->addWidget(chkFullLengthDataGE.widget(), 1, 0, 1, 3);
        addRows(debug, 2, 0,
                {{QStringLiteral("Graph Points:"), nullptr, {txtGraphPointsGMSK.widget()}, nullptr}});
        const int row = addRows(
            page.right, 0, 0,
            {{QStringLiteral("Number of Data Vectors:"),
              nullptr,
              {lblNumOutVectsGMSK.widget()},
              &lblFieldErrGE(8)},
             {QStringLiteral("Attenuation:"), nullptr, {txtAttenuationGMSK.widget()}, &lblFieldErrGE(9)},
             {QStringLiteral("Output File:"),
              nullptr,
              {txtOutputFileGMSKE.widget(), cmdSaveAsGMSKE.widget()},
              &lblFieldErrGE(10)},
             {QStringLiteral("Output Data Format:"), nullptr, {lstOutputDataFormatGMSK.widget()}, nullptr}});
        page.right->addWidget(fraGMSKDebugOptions.widget(), row, 0, 1, 3);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(cmdGMSKSaveAs.widget());
        buttons->addWidget(cmdGenerateGMSKData.widget());
        page.right->addLayout(buttons, row + 1, 0, 1, 3);
        evenRows(page.right, row);
    }

    // SDPSK
    {
        const PageColumns page = pageColumns(sstTabs, kTabSdpsk);
        evenRows(page.left, addRows(page.left, 0, 0,
                                    {{QStringLiteral("Number of Symbols:"),
                                      nullptr,
                                      {txtNumSymbolsSDPSK.widget(), cmdMaxSDPSKSymbols.widget()},
                                      &lblFieldErrSDPSK(0)},
                                     {QStringLiteral("Filter Type:"),
                                      nullptr,
                                      {lstFilterTypeSDPSK.widget()},
                                      &lblFieldErrSDPSK(1)},
                                     {QStringLiteral("Filter Taps:"),
                                      nullptr,
                                      {txtFilterTAPsSDPSK.widget()},
                                      &lblFieldErrSDPSK(2)},
                                     {QStringLiteral("Filter Coefficient Resolution:"),
                                      nullptr,
                                      {txtFilterCoefValSDPSK.widget()},
                                      &lblFieldErrSDPSK(3)},
                                     {QStringLiteral("Upsampling Factor:"),
                                      nullptr,
                                      {txtFilterUpsampleFactSDPSK.widget()},
                                      &lblFieldErrSDPSK(4)},
                                     {QStringLiteral("Filter Roll-off Factor:"),
                                      nullptr,
                                      {txtFiltROFactSDPSK.widget()},
                                      &lblFieldErrSDPSK(5)},
                                     {QStringLiteral("Filter Window:"),
                                      nullptr,
                                      {lstFilterWindowTypeSDPSK.widget()},
                                      &lblFieldErrSDPSK(6)},
                                     {QStringLiteral("Kaiser Window Value:"),
                                      nullptr,
                                      {txtKaiserWROFSDPSK.widget()},
                                      &lblFieldErrSDPSK(7)},
                                     {QStringLiteral("Output Quantization (Bits):"),
                                      nullptr,
                                      {txtNumOfOutBitsSDPSK.widget()},
                                      &lblFieldErrSDPSK(8)}}));
        QGridLayout* debug = gridIn(fraSDPSKDebug);
        debug->addWidget(chkDebugModeSDPSK.widget(), 0, 0, 1, 3);
        addRows(debug, 1, 0,
                {{QStringLiteral("Graph Points:"),
                  nullptr,
                  {txtGraphPointsSDPSK.widget()},
                  &lblFieldErrSDPSK(12)}});
        const int row = addRows(page.right, 0, 0,
                                {{QStringLiteral("Number of Data Vectors:"),
                                  nullptr,
                                  {lblOutputVectsSDPSK.widget()},
                                  &lblFieldErrSDPSK(10)},
                                 {QStringLiteral("Attenuation:"),
                                  nullptr,
                                  {txtAttenuationValSDPSK.widget()},
                                  &lblFieldErrSDPSK(9)},
                                 {QStringLiteral("Output File:"),
                                  nullptr,
                                  {txtOutputFileSDPSK.widget(), cmdSaveAsSDPSK.widget()},
                                  &lblFieldErrSDPSK(16)},
                                 {QStringLiteral("Output Data Format:"),
                                  nullptr,
                                  {lstOutputDataFormatSDPSK.widget()},
                                  &lblFieldErrSDPSK(11)}});
        page.right->addWidget(fraSDPSKDebug.widget(), row, 0, 1, 3);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(cmdSDPSKSaveAs.widget());
        buttons->addWidget(cmdGenSDPSKData.widget());
        page.right->addLayout(buttons, row + 1, 0, 1, 3);
        evenRows(page.right, row);
    }

    // Debug and About
    {
        auto* debug = new QHBoxLayout(sstTabs.page(kTabDebug));
        debug->addWidget(Command1.widget());
        debug->addWidget(Command2.widget());
        debug->addStretch(1);
        auto* about = new QVBoxLayout(sstTabs.page(kTabAbout));
        about->addWidget(lblTitle.widget());
        about->addWidget(lblDDSWeb.widget());
        about->addStretch(1);
    }
    for (ui::Label* count :
         {&lblQAMOutputVects, &lblQPOutputVects, &lblNumOutVectsGMSK, &lblOutputVectsSDPSK})
        shapeCountLabel(*count);
}
