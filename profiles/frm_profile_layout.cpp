// The Profiles window's layout: the eight profiles in a grid of three columns of three cells, top to bottom
// and then left to right (profiles 0-2, 3-5, 6 and 7), the window-wide panel in the ninth cell. The three
// frames of a profile share its cell (only the shown form takes it). Inside a frame each field has its line:
// the label on the left, the box and its unit at the right edge, so the boxes of a frame stand in a column.

#include "profiles/frm_profile.h"

#include "profiles/profile_register.h"
#include "profiles/put_in_container.h"

#include "platform/ui/colors.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLayout>
#include <QMdiSubWindow>
#include <QRect>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <initializer_list>

using namespace profiles;

namespace {

constexpr int kSpinWidth = 16;
// 120 twips between neighbouring cells, at 15 twips to the pixel.
constexpr int kCellGap = 8;
// The window's width: 11445 twips.
constexpr int kWindowWidth = 763;
constexpr int kCellMargin = 4;
constexpr int kUnitWidth = 24;

QVBoxLayout* giveFieldColumn(ui::Frame& frame)
{
    QWidget* box = frame.container();
    if (auto* column = qobject_cast<QVBoxLayout*>(box->layout()))
        return column;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(4, 2, 4, 3);
    column->setSpacing(2);
    return column;
}

// One field's line: its label on the left, the boxes (with a spin bar) at the right, then the unit in a
// column of its own width, so the boxes of a frame end at one edge.
void fieldLine(QVBoxLayout& column, ui::Control& label, std::initializer_list<ui::Control*> boxes,
               ui::Control* unit = nullptr)
{
    auto* line = new QHBoxLayout;
    line->setSpacing(2);
    line->addWidget(label.widget());
    line->addStretch(1);
    for (ui::Control* box : boxes)
        line->addWidget(box->widget());
    if (unit) {
        unit->widget()->setFixedWidth(kUnitWidth);
        line->addWidget(unit->widget());
    } else {
        line->addSpacing(kUnitWidth + line->spacing());
    }
    column.addLayout(line);
}

// Check boxes on a line of their own.
void checkLine(QVBoxLayout& column, std::initializer_list<ui::Control*> checks)
{
    auto* line = new QHBoxLayout;
    line->setSpacing(8);
    for (ui::Control* check : checks)
        line->addWidget(check->widget());
    line->addStretch(1);
    column.addLayout(line);
}

void fitChars(ui::TextBox& box, int chars)
{
    QWidget* widget = box.widget();
    widget->setFixedWidth(widget->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 10);
}

void spinBeside(ui::ScrollBar& spin, ui::TextBox& box)
{
    spin.widget()->setFixedSize(kSpinWidth, box.widget()->sizeHint().height());
}

// Until the window's state colours them, the children show window text (not the frame's colour, which
// marks the active profile on the caption only).
void plainText(std::initializer_list<ui::Control*> children)
{
    for (ui::Control* child : children)
        child->setForeColor(ui::colors::vbWindowText);
}

} // namespace

void frmProfile::fillQDUCFrame(int n)
{
    ui::Frame& frame = fraProfileQDUC(n);
    const std::initializer_list<ui::Control*> children{&lblOutFreqQD(n),
                                                       &txtOutFreqQD(n),
                                                       &lblMHzQD(n),
                                                       &lblPhaseOffsetQD(n),
                                                       &txtPhaseOffsetQD(n),
                                                       &lblDegQD(n),
                                                       &lblOutputScaleFactorQD(n),
                                                       &txtOSFValQD(n),
                                                       &lblCCIInterpRateQD(n),
                                                       &txtCCIValQD(n),
                                                       &chkSpectralInvQD(n),
                                                       &chkInvCCIQD(n)};
    for (ui::Control* child : children)
        PutInContainer(*child, frame);
    plainText(children);
    frame.setForeColor(ui::colors::vbWindowText);
    sizeQDUCFrame(n);
    QVBoxLayout& lines = *giveFieldColumn(frame);
    fieldLine(lines, lblOutFreqQD(n), {&txtOutFreqQD(n)}, &lblMHzQD(n));
    fieldLine(lines, lblPhaseOffsetQD(n), {&txtPhaseOffsetQD(n)}, &lblDegQD(n));
    fieldLine(lines, lblOutputScaleFactorQD(n), {&txtOSFValQD(n)});
    fieldLine(lines, lblCCIInterpRateQD(n), {&txtCCIValQD(n)});
    checkLine(lines, {&chkSpectralInvQD(n)});
    checkLine(lines, {&chkInvCCIQD(n)});
    lines.addStretch(1);
}

void frmProfile::fillRAMFrame(int n)
{
    ui::Frame& frame = fraProfileRAM(n);
    const std::initializer_list<ui::Control*> children{&lblRAMSegBeginAddr(n),    &txtRAMSegBeginAddr(n),
                                                       &lblRAMSegFinalAddr(n),    &txtRAMSegFinalAddr(n),
                                                       &lblRAMSegAddrRampRate(n), &txtRAMSegAddrRampRate(n),
                                                       &lblRAMMicro(n),           &lblRAMSec(n),
                                                       &lblRAMSegModCtrl(n),      &cmbRAMSegModeControl(n),
                                                       &chkRAMZeroCrossing(n),    &chkRAMNoDwellActive(n)};
    for (ui::Control* child : children)
        PutInContainer(*child, frame);
    plainText(children);
    frame.setForeColor(ui::colors::vbWindowText);
    sizeRAMFrame(n);
    QVBoxLayout& lines = *giveFieldColumn(frame);
    fieldLine(lines, lblRAMSegBeginAddr(n), {&txtRAMSegBeginAddr(n)});
    fieldLine(lines, lblRAMSegFinalAddr(n), {&txtRAMSegFinalAddr(n)});
    fieldLine(lines, lblRAMSegAddrRampRate(n), {&txtRAMSegAddrRampRate(n), &lblRAMMicro(n)}, &lblRAMSec(n));
    // The mode list's items are long: the list takes the frame's width on a line under its label.
    lines.addWidget(lblRAMSegModCtrl(n).widget());
    lines.addWidget(cmbRAMSegModeControl(n).widget());
    checkLine(lines, {&chkRAMZeroCrossing(n), &chkRAMNoDwellActive(n)});
    lines.addStretch(1);
}

void frmProfile::fillSingleToneFrame(int n)
{
    ui::Frame& frame = fraProfileSnglTone(n);
    const std::initializer_list<ui::Control*> children{
        &lblOutFreqST(n),     &txtOutFreqST(n),      &lblMHzST(n),          &lblPhaseOffsetST(n),
        &txtPhOSpinStepST(n), &vscPhaseOSpinST(n),   &txtPhaseOffsetST(n),  &lblDegST(n),
        &lblASFST(n),         &txtAmpScaleStepST(n), &vscAmpScaleSpinST(n), &txtAmpScaleST(n)};
    for (ui::Control* child : children)
        PutInContainer(*child, frame);
    plainText(children);
    frame.setForeColor(ui::colors::vbWindowText);
    sizeSingleToneFrame(n);
    QVBoxLayout& lines = *giveFieldColumn(frame);
    fieldLine(lines, lblOutFreqST(n), {&txtOutFreqST(n)}, &lblMHzST(n));
    fieldLine(lines, lblPhaseOffsetST(n), {&txtPhOSpinStepST(n), &vscPhaseOSpinST(n), &txtPhaseOffsetST(n)},
              &lblDegST(n));
    fieldLine(lines, lblASFST(n), {&txtAmpScaleStepST(n), &vscAmpScaleSpinST(n), &txtAmpScaleST(n)});
    lines.addStretch(1);
}

void frmProfile::sizeQDUCFrame(int n)
{
    fitChars(txtOutFreqQD(n), 12);
    fitChars(txtPhaseOffsetQD(n), 7);
    fitChars(txtOSFValQD(n), 9);
    fitChars(txtCCIValQD(n), 2);
}

void frmProfile::sizeRAMFrame(int n)
{
    fitChars(txtRAMSegBeginAddr(n), 4);
    fitChars(txtRAMSegFinalAddr(n), 4);
    fitChars(txtRAMSegAddrRampRate(n), 9);
}

void frmProfile::sizeSingleToneFrame(int n)
{
    fitChars(txtOutFreqST(n), 12);
    fitChars(txtPhOSpinStepST(n), 3);
    fitChars(txtPhaseOffsetST(n), 7);
    fitChars(txtAmpScaleStepST(n), 3);
    fitChars(txtAmpScaleST(n), 7);
    spinBeside(vscPhaseOSpinST(n), txtPhaseOffsetST(n));
    spinBeside(vscAmpScaleSpinST(n), txtAmpScaleST(n));
}

void frmProfile::placeProfileCell(int n)
{
    if (!profileCanvas_)
        return;
    for (ui::Frame* frame : {&fraProfileQDUC(n), &fraProfileRAM(n), &fraProfileSnglTone(n)})
        frame->widget()->setParent(profileCanvas_);
}

QRect frmProfile::cellRect(int column, int row, const QSize& cell) const
{
    return QRect(QPoint(kCellMargin + column * (cell.width() + kCellGap),
                        kCellMargin + row * (cell.height() + kCellGap)),
                 cell);
}

void frmProfile::sizeWindow()
{
    if (!profileCanvas_)
        return;
    int border = 0;
    int title = 0;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frameWidget())) {
        QStyle* style = sub->style();
        border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    }
    // The window's width is fixed; three equal columns share it. Every cell is as tall as the tallest
    // frame or the panel, so the steps are the same everywhere and every form fits.
    const int contentWidth = kWindowWidth - 2 * border;
    const int cellWidth = (contentWidth - 2 * kCellMargin - 2 * kCellGap) / 3;
    // (The panel is a drawing surface with a size wish of its own: its controls' layout tells its room.)
    QLayout* panel = pbxOtherCtrls.container()->layout();
    int cellHeight = panel ? panel->sizeHint().height() : 0;
    for (auto* frames : {&fraProfileQDUC, &fraProfileRAM, &fraProfileSnglTone})
        for (ui::Frame& frame : *frames)
            cellHeight = std::max(cellHeight, frame.widget()->sizeHint().height());
    const QSize cell(cellWidth, cellHeight);

    // Top to bottom, then left to right: three profiles to a column, the panel in the ninth cell.
    for (auto* frames : {&fraProfileQDUC, &fraProfileRAM, &fraProfileSnglTone})
        for (ui::Frame& frame : *frames)
            frame.widget()->setGeometry(cellRect(frame.Index() / 3, frame.Index() % 3, cell));
    pbxOtherCtrls.widget()->setGeometry(cellRect(2, 2, cell));

    const int contentHeight = 2 * kCellMargin + 3 * cellHeight + 2 * kCellGap;
    profileCanvas_->setMinimumSize(contentWidth, contentHeight);
    // Keeping its place: the fixed width, and the height of three cells with the window's frame.
    Move(Left(), Top(), kWindowWidth, contentHeight + title + border);
}

void frmProfile::buildUi(QWidget* window)
{
    // The cells are placed by sizeWindow once every profile has its frames. The window's small font lets a
    // frame's longest label and its box share the third of the window's fixed width.
    profileCanvas_ = window;
    QFont small = window->font();
    small.setPointSize(8);
    window->setFont(small);

    fillQDUCFrame(0);
    fillRAMFrame(0);
    fillSingleToneFrame(0);
    placeProfileCell(0);

    // ---- the panel of window-wide controls, in the ninth cell ----
    pbxOtherCtrls.setBorderStyle(0);
    auto* panel = new QVBoxLayout(pbxOtherCtrls.container());
    panel->setContentsMargins(2, 2, 2, 2);
    panel->setSpacing(1);
    panel->addWidget(lblProfileSel.widget());
    auto* options = new QGridLayout;
    options->setHorizontalSpacing(4);
    options->setVerticalSpacing(0);
    for (ui::OptionButton& option : optProfileSel)
        options->addWidget(option.widget(), option.Index() % 3, option.Index() / 3);
    panel->addLayout(options);
    panel->addSpacing(2);
    for (ui::CheckBox* check :
         {&chkEnableSineOut, &chkClearCCI, &chkQFirstData, &chkInvSincEn, &chkUseProfileOSK})
        panel->addWidget(check->widget());
    panel->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    lblCCIOvrFlow.widget()->setMinimumHeight(22);
    bottom->addWidget(lblCCIOvrFlow.widget(), 1);
    // The indicator keeps its room while hidden, so LOAD does not jump as it blinks.
    QSizePolicy keepRoom = lblLoadFlash.widget()->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    lblLoadFlash.widget()->setSizePolicy(keepRoom);
    bottom->addWidget(lblLoadFlash.widget());
    cmdLoad.widget()->setMinimumSize(70, 24);
    bottom->addWidget(cmdLoad.widget());
    panel->addLayout(bottom);
    for (ui::Control* control :
         std::initializer_list<ui::Control*>{&lblProfileSel, &chkEnableSineOut, &chkClearCCI, &chkQFirstData,
                                             &chkInvSincEn, &chkUseProfileOSK})
        control->setForeColor(ui::colors::vbWindowText);
    for (ui::OptionButton& option : optProfileSel)
        option.setForeColor(ui::colors::vbWindowText);
    pbxOtherCtrls.widget()->setParent(window);
    pbxOtherCtrls.widget()->show();

    // Size references only: parented so that they never open as windows of their own.
    for (ui::Label* spacer : {&lblSpacer, &lblSpacer2}) {
        spacer->widget()->setParent(window);
        spacer->setVisible(false);
    }
}
