#include "shell/frm_io_interface.h"
#include "board/chip_registers.h"

#include "board/evalbd.h"
#include "boardui/form_names.h"
#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "shell/mdi_main.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSizePolicy>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr RegisterField kThreeWire = regBit(kCFR1, 1);
constexpr RegisterField kLsbFirst = regBit(kCFR1, 0);

} // namespace

frmIOInterface::frmIOInterface() : regwin::RegisterWindow(FormName)
{
    setMdiChild(true);
    setCaption(QStringLiteral("DUT I/O"));
    fraSerialIOMode.setCaption(QStringLiteral("I/O Port Config"));
    fraDataFormat.setCaption(QStringLiteral("Data Format"));
    opt2Wire3Wire(0).setCaption(QStringLiteral("2-Wire"));
    opt2Wire3Wire(1).setCaption(QStringLiteral("3-Wire"));
    optMSBLSB(0).setCaption(QStringLiteral("MSB First"));
    optMSBLSB(1).setCaption(QStringLiteral("LSB First"));
    cmdIOReset.setCaption(QStringLiteral("Reset I/O Port"));
    cmdIOReset.setToolTipText(QStringLiteral("Strobes the I/OReset pin"));
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    lblLoadFlash.setBackColor(ui::colors::vbRed);
    lblLoadFlash.setVisible(false);
    chkAutoIOUd.setCaption(QStringLiteral("Auto REG Update"));
    for (auto& box : pbxXPThemeFix)
        box.setBorderStyle(0);

    for (int value : {0, 1}) {
        fields_.option(opt2Wire3Wire(value), kThreeWire, static_cast<uint64_t>(value));
        fields_.option(optMSBLSB(value), kLsbFirst, static_cast<uint64_t>(value));
    }
    fields_.bindClicks();
    // The window's two bits of CFR1 are its table.
    indicateLoadOn(lblLoadFlash);
    ui::bind(cmdIOReset.Click, this, &frmIOInterface::cmdIOReset_Click);
    ui::bind(cmdLoad.Click, this, &frmIOInterface::cmdLoad_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmIOInterface::tmrLoadFlash_Timer);
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
}

void frmIOInterface::buildUi(QWidget* window)
{
    // Each frame holds a picture box that holds its pair of option buttons.
    auto place = [](ui::Frame& frame, ui::PictureBox& box, ui::OptionButton& first,
                    ui::OptionButton& second) {
        auto* options = new QVBoxLayout(box.container());
        options->setContentsMargins(2, 2, 2, 2);
        options->addWidget(first.widget());
        options->addWidget(second.widget());
        auto* inner = new QVBoxLayout(frame.container());
        inner->addWidget(box.widget());
    };
    place(fraSerialIOMode, pbxXPThemeFix(0), opt2Wire3Wire(0), opt2Wire3Wire(1));
    place(fraDataFormat, pbxXPThemeFix(1), optMSBLSB(0), optMSBLSB(1));

    auto* frames = new QHBoxLayout;
    frames->addWidget(fraSerialIOMode.widget());
    frames->addWidget(fraDataFormat.widget());

    lblLoadFlash.widget()->setFixedSize(12, 12);
    // The indicator keeps its place while it is dark, so nothing moves as it blinks.
    QSizePolicy keepPlace = lblLoadFlash.widget()->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    lblLoadFlash.widget()->setSizePolicy(keepPlace);
    auto* load = new QHBoxLayout;
    load->addWidget(cmdIOReset.widget());
    load->addStretch(1);
    load->addWidget(chkAutoIOUd.widget());
    load->addWidget(lblLoadFlash.widget());
    load->addWidget(cmdLoad.widget());

    auto* column = new QVBoxLayout(window);
    column->addLayout(frames);
    column->addLayout(load);
}

void frmIOInterface::Form_Load()
{
    bRefreshing_ = false;
    RefreshFormVals();
}

void frmIOInterface::RefreshFormVals()
{
    fields_.refresh();
}

void frmIOInterface::cmdIOReset_Click()
{
    if (goEvalBd == nullptr)
        return;
    for (int level : {0, 1, 0}) {
        goEvalBd->setIO_RESET(level);
        goEvalBd->USBWritePortBuffVal(kPortA);
    }
    ui::Forms::callIfLoaded(formnames::frmDebug, formnames::RefreshFormVals);
}

void frmIOInterface::cmdLoad_Click()
{
    if (goEvalBd == nullptr)
        return;
    loadWindow(cmdLoad, {kCFR1});
    ui::Forms::callIfLoaded(formnames::frmDebug, formnames::UpdateSPIStatus);
}

void frmIOInterface::tmrLoadFlash_Timer()
{
    tickLoadIndicator();
}

void frmIOInterface::Form_Activate()
{
    // Shown for the first time: the frame (a sub-window of the main window) takes the size its laid-out
    // content asks for, which it can know only once the content is shown.
    if (!sized_) {
        sized_ = true;
        if (QWidget* frame = frameWidget())
            frame->adjustSize();
    }
}
