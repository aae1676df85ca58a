// The Profiles window's layout: one row per profile, the three frames of a profile sharing the row's cell
// (only the shown form takes room), each frame's children side by side in one line; the window-wide
// controls on their panel to the right.

#include "profiles/frm_profile.h"

#include "profiles/profile_register.h"
#include "profiles/put_in_container.h"

#include "platform/ui/colors.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <initializer_list>

using namespace profiles;

namespace {

constexpr int kSpinWidth = 16;
constexpr int kGroupGap = 10;

// A frame's children stand in one line, in the order they are put in.
void giveRowLayout(ui::Frame& frame)
{
    QWidget* box = frame.container();
    if (box->layout())
        return;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setSpacing(3);
}

void closeRow(ui::Frame& frame)
{
    if (auto* layout = qobject_cast<QHBoxLayout*>(frame.container()->layout()))
        layout->addStretch(1);
}

void fitChars(ui::TextBox& box, int chars)
{
    QWidget* widget = box.widget();
    widget->setFixedWidth(widget->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 12);
}

// A gap in front of a label that starts the next group of the line.
void startsGroup(ui::Control& control)
{
    control.widget()->setContentsMargins(kGroupGap, 0, 0, 0);
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
    giveRowLayout(frame);
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
    closeRow(frame);
}

void frmProfile::fillRAMFrame(int n)
{
    ui::Frame& frame = fraProfileRAM(n);
    giveRowLayout(frame);
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
    closeRow(frame);
}

void frmProfile::fillSingleToneFrame(int n)
{
    ui::Frame& frame = fraProfileSnglTone(n);
    giveRowLayout(frame);
    const std::initializer_list<ui::Control*> children{
        &lblOutFreqST(n),     &txtOutFreqST(n),      &lblMHzST(n),          &lblPhaseOffsetST(n),
        &txtPhOSpinStepST(n), &vscPhaseOSpinST(n),   &txtPhaseOffsetST(n),  &lblDegST(n),
        &lblASFST(n),         &txtAmpScaleStepST(n), &vscAmpScaleSpinST(n), &txtAmpScaleST(n)};
    for (ui::Control* child : children)
        PutInContainer(*child, frame);
    plainText(children);
    frame.setForeColor(ui::colors::vbWindowText);
    sizeSingleToneFrame(n);
    closeRow(frame);
}

void frmProfile::sizeQDUCFrame(int n)
{
    fitChars(txtOutFreqQD(n), 13);
    fitChars(txtPhaseOffsetQD(n), 7);
    fitChars(txtOSFValQD(n), 9);
    fitChars(txtCCIValQD(n), 2);
    for (ui::Control* label : std::initializer_list<ui::Control*>{
             &lblPhaseOffsetQD(n), &lblOutputScaleFactorQD(n), &lblCCIInterpRateQD(n), &chkSpectralInvQD(n)})
        startsGroup(*label);
}

void frmProfile::sizeRAMFrame(int n)
{
    fitChars(txtRAMSegBeginAddr(n), 4);
    fitChars(txtRAMSegFinalAddr(n), 4);
    fitChars(txtRAMSegAddrRampRate(n), 9);
    for (ui::Control* label : std::initializer_list<ui::Control*>{
             &lblRAMSegFinalAddr(n), &lblRAMSegAddrRampRate(n), &lblRAMSegModCtrl(n), &chkRAMZeroCrossing(n)})
        startsGroup(*label);
}

void frmProfile::sizeSingleToneFrame(int n)
{
    fitChars(txtOutFreqST(n), 13);
    fitChars(txtPhOSpinStepST(n), 3);
    fitChars(txtPhaseOffsetST(n), 7);
    fitChars(txtAmpScaleStepST(n), 3);
    fitChars(txtAmpScaleST(n), 7);
    spinBeside(vscPhaseOSpinST(n), txtPhaseOffsetST(n));
    spinBeside(vscAmpScaleSpinST(n), txtAmpScaleST(n));
    for (ui::Control* label : std::initializer_list<ui::Control*>{&lblPhaseOffsetST(n), &lblASFST(n)})
        startsGroup(*label);
}

void frmProfile::placeProfileRow(int n)
{
    if (!profileGrid_)
        return;
    const std::initializer_list<ui::Frame*> frames{&fraProfileQDUC(n), &fraProfileRAM(n),
                                                   &fraProfileSnglTone(n)};
    // The three forms of a row are equally tall, so the window fits whichever form it shows.
    int height = 0;
    for (ui::Frame* frame : frames)
        height = std::max(height, frame->widget()->sizeHint().height());
    for (ui::Frame* frame : frames) {
        frame->widget()->setMinimumHeight(height);
        profileGrid_->addWidget(frame->widget(), n, 0);
    }
}

void frmProfile::buildUi(QWidget* window)
{
    auto* grid = new QGridLayout(window);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    grid->setSizeConstraint(QLayout::SetMinimumSize);
    profileGrid_ = grid;

    fillQDUCFrame(0);
    fillRAMFrame(0);
    fillSingleToneFrame(0);
    placeProfileRow(0);

    // ---- the panel of window-wide controls ----
    pbxOtherCtrls.setBorderStyle(0);
    auto* panel = new QVBoxLayout(pbxOtherCtrls.container());
    panel->setContentsMargins(4, 4, 4, 4);
    panel->setSpacing(3);
    panel->addWidget(lblProfileSel.widget());
    auto* options = new QGridLayout;
    options->setHorizontalSpacing(8);
    options->setVerticalSpacing(1);
    for (ui::OptionButton& option : optProfileSel)
        options->addWidget(option.widget(), option.Index() % 4, option.Index() / 4);
    panel->addLayout(options);
    panel->addSpacing(6);
    for (ui::CheckBox* check :
         {&chkEnableSineOut, &chkClearCCI, &chkQFirstData, &chkInvSincEn, &chkUseProfileOSK})
        panel->addWidget(check->widget());
    panel->addSpacing(6);
    lblCCIOvrFlow.widget()->setMinimumHeight(20);
    panel->addWidget(lblCCIOvrFlow.widget());
    panel->addStretch(1);
    auto* load = new QHBoxLayout;
    load->setSpacing(4);
    // The indicator keeps its room while hidden, so LOAD does not jump as it blinks.
    QSizePolicy keepRoom = lblLoadFlash.widget()->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    lblLoadFlash.widget()->setSizePolicy(keepRoom);
    load->addWidget(lblLoadFlash.widget());
    cmdLoad.widget()->setMinimumSize(80, 28);
    load->addWidget(cmdLoad.widget(), 1);
    panel->addLayout(load);
    for (ui::Control* control :
         std::initializer_list<ui::Control*>{&lblProfileSel, &chkEnableSineOut, &chkClearCCI, &chkQFirstData,
                                             &chkInvSincEn, &chkUseProfileOSK})
        control->setForeColor(ui::colors::vbWindowText);
    for (ui::OptionButton& option : optProfileSel)
        option.setForeColor(ui::colors::vbWindowText);
    grid->addWidget(pbxOtherCtrls.widget(), 0, 1, kProfileCount, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);

    // Size references only: parented so that they never open as windows of their own.
    for (ui::Label* spacer : {&lblSpacer, &lblSpacer2}) {
        spacer->widget()->setParent(window);
        spacer->setVisible(false);
    }
}
