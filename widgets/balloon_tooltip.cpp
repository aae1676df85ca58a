#include "widgets/balloon_tooltip.h"

#include "platform/ui/forms.h"
#include "widgets/balloon_form.h"
#include "widgets/balloon_geometry.h"

#include <QWidget>

clsTTBalloon::clsTTBalloon() : form_(std::make_unique<ttbForm>())
{
}

clsTTBalloon::~clsTTBalloon()
{
    HideballoonForm();
}

void clsTTBalloon::setCenterOverControl(bool center)
{
    centerOverControl_ = center;
    form_->tmrTrack.setEnabled(center);
}

void clsTTBalloon::HideballoonForm()
{
    form_->Hide();
    form_->Unload();
}

ui::Form* clsTTBalloon::GetParentForm(ui::Control* control)
{
    return control ? control->parentForm() : nullptr;
}

ui::Control* clsTTBalloon::Control() const
{
    return form_->pointedControl();
}

void clsTTBalloon::setControl(ui::Control* control)
{
    form_->setPointedControl(control);
}

uint32_t clsTTBalloon::MakeFormModeless(ui::Form& form, uint32_t owner)
{
    ui::Form* previous = form.ownerForm();
    form.setOwnerForm(owner != 0 ? ui::Forms::fromHwnd(owner) : nullptr);
    return previous ? previous->hWnd() : 0u;
}

void clsTTBalloon::ShowballoonForm()
{
    ttbForm& window = *form_;
    window.Load();
    window.lblTitle.setCaption(title_);
    window.lblText.setCaption(toolTipText_);

    // An icon number without a picture shows no icon (and keeps the title at the icon's place).
    const int icon = (icon_ >= 1 && icon_ <= 6) ? icon_ : 0;
    const int titleLeft = icon != 0 ? ttbForm::kIconLeft + ttbForm::kTitleIconGap : ttbForm::kIconLeft;
    window.lblTitle.Move(titleLeft, ttbForm::kTitleTop);
    window.imgIcon.setPicture(window.imgIcons(icon).Picture());
    window.imgIcon.Move(ttbForm::kIconLeft, ttbForm::kIconTop, ttbForm::kIconSize, ttbForm::kIconSize);
    window.lblText.Move(ttbForm::kTextLeft, ttbForm::kTextTop);

    const QSize size = balloon::bubbleSize(ttbForm::kIconLeft, ttbForm::kIconTop, titleLeft,
                                           window.lblTitle.Width(), ttbForm::kTextLeft, ttbForm::kTextTop,
                                           window.lblText.Width(), window.lblText.Height());
    window.Move(window.Left(), window.Top(), size.width(), size.height());
    window.CreateBubbleForm();

    // A control that has gone since it was set counts as none.
    if (ui::Control* control = window.pointedControl()) {
        ui::Form* parent = GetParentForm(control);
        window.CenterOverControl();
        if (parent)
            MakeFormModeless(window, parent->hWnd());
        window.tmrTrack.setEnabled(centerOverControl_);
    }
    window.showWithoutActivating();
}
