#include "platform/ui/controls_button.h"

#include "platform/ui/form.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace ui {

namespace {

const char* const kContainerProperty = "tessaronContainer";

// Clicking cycles unchecked/grayed -> checked -> unchecked; grayed is a state only code sets.
class ClassicCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    // The whole control takes clicks, not just the box and its caption.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// Clicking turns the button on, never off; the group is kept by OptionButton.
class ClassicRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override
    {
        if (!isChecked())
            setChecked(true);
    }
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

template <typename T> std::vector<T*> formControlsOfKind(Form* form)
{
    std::vector<T*> result;
    if (!form)
        return result;
    for (Control* control : form->controls()) {
        if (auto* typed = dynamic_cast<T*>(control))
            result.push_back(typed);
    }
    return result;
}

} // namespace

void markAsContainer(QWidget* widget)
{
    widget->setProperty(kContainerProperty, true);
}

bool isContainer(const QWidget* widget)
{
    return widget->property(kContainerProperty).toBool();
}

// ---- CommandButton ----

CommandButton::CommandButton(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    auto* button = new QPushButton;
    button->setAutoDefault(false);
    button_ = button;
    adoptWidget(button);
    QObject::connect(button, &QPushButton::clicked, context(), [this] { Click(); });
}

QWidget* CommandButton::widget() const
{
    return button_;
}

void CommandButton::setCaption(const QString& caption)
{
    caption_ = caption;
    if (button_)
        button_->setText(caption);
}

void CommandButton::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    if (button_) {
        button_->setIcon(QIcon(picture));
        if (!picture.isNull())
            button_->setIconSize(picture.size());
    }
}

void CommandButton::setDefault(bool isDefault)
{
    if (isDefault) {
        for (CommandButton* other : formControlsOfKind<CommandButton>(parentForm()))
            other->default_ = false;
    }
    default_ = isDefault;
}

void CommandButton::setCancel(bool isCancel)
{
    if (isCancel) {
        for (CommandButton* other : formControlsOfKind<CommandButton>(parentForm()))
            other->cancel_ = false;
    }
    cancel_ = isCancel;
}

bool CommandButton::click()
{
    if (!Enabled() || !Visible())
        return false;
    Click();
    return true;
}

bool CommandButton::onKeyPress(QWidget* target, QKeyEvent* event)
{
    if (fireKeyDown(event))
        return true;
    const auto plain = event->modifiers() & ~Qt::KeypadModifier;
    // Enter on a focused button presses that button, whatever the form's Default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain == Qt::NoModifier) {
        click();
        return true;
    }
    if (event->key() == Qt::Key_Escape && plain == Qt::NoModifier)
        return pressCancelButton();
    (void)target;
    return false;
}

// ---- CheckBox ----

CheckBox::CheckBox(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    auto* box = new ClassicCheckBox;
    box_ = box;
    adoptWidget(box);
    QObject::connect(box, &QCheckBox::stateChanged, context(), [this](int state) { userChanged(state); });
}

QWidget* CheckBox::widget() const
{
    return box_;
}

void CheckBox::setCaption(const QString& caption)
{
    caption_ = caption;
    if (box_)
        box_->setText(caption);
}

void CheckBox::setValue(int value)
{
    if (value < 0 || value > 2 || value == value_)
        return;
    value_ = value;
    showValue();
    Click();
}

void CheckBox::showValue()
{
    if (!box_)
        return;
    settingValue_ = true;
    box_->setCheckState(value_ == 1 ? Qt::Checked : value_ == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    settingValue_ = false;
}

void CheckBox::userChanged(int state)
{
    if (settingValue_)
        return;
    const int value = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
    if (value == value_)
        return;
    value_ = value;
    Click();
}

bool CheckBox::click()
{
    if (!Enabled() || !Visible())
        return false;
    value_ = value_ == 1 ? 0 : 1;
    showValue();
    Click();
    return true;
}

// ---- OptionButton ----

OptionButton::OptionButton(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    auto* button = new ClassicRadioButton;
    button->setAutoExclusive(false);
    button_ = button;
    adoptWidget(button);
    QObject::connect(button, &QRadioButton::toggled, context(), [this](bool checked) {
        if (settingValue_ || !checked || value_)
            return;
        turnOn(true);
    });
}

QWidget* OptionButton::widget() const
{
    return button_;
}

void OptionButton::setCaption(const QString& caption)
{
    caption_ = caption;
    if (button_)
        button_->setText(caption);
}

void OptionButton::setValue(bool value)
{
    if (value) {
        turnOn(true);
        return;
    }
    value_ = false;
    showValue();
}

bool OptionButton::click()
{
    if (!Enabled() || !Visible())
        return false;
    if (!value_)
        turnOn(true);
    return true;
}

void OptionButton::turnOn(bool fireClick)
{
    value_ = true;
    showValue();
    if (const QWidget* group = groupKey()) {
        for (OptionButton* other : formControlsOfKind<OptionButton>(parentForm())) {
            if (other != this && other->value_ && other->groupKey() == group) {
                other->value_ = false;
                other->showValue();
            }
        }
    }
    if (fireClick)
        Click();
}

void OptionButton::showValue()
{
    if (!button_)
        return;
    settingValue_ = true;
    button_->setChecked(value_);
    settingValue_ = false;
}

const QWidget* OptionButton::groupKey() const
{
    if (!button_)
        return nullptr;
    const QWidget* formWindow = parentForm() ? parentForm()->widget() : nullptr;
    for (const QWidget* w = button_->parentWidget(); w; w = w->parentWidget()) {
        if (isContainer(w) || w == formWindow || w->isWindow())
            return w;
    }
    return nullptr;
}

} // namespace ui
