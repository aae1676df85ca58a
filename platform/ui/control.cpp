#include "platform/ui/control.h"

#include "platform/ui/colors.h"
#include "platform/ui/controls_bridge.h"
#include "platform/ui/controls_button.h"
#include "platform/ui/form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QWidget>
#include <cstdlib>

namespace ui {

Control::Control(Form* owner, QString name, int index)
    : owner_(owner), name_(std::move(name)), index_(index),
      bridge_(std::make_unique<ControlEventBridge>(*this))
{
    if (owner_)
        owner_->addControl(this);
}

Control::~Control()
{
    detail::FocusTracker::instance().forget(this);
    // The bridge goes first: it is the context of every signal connection, so the widget's last signals
    // and events while it is destroyed reach nothing of this half-destroyed control.
    bridge_.reset();
    // The widget is ours unless the form's window already destroyed it with its other children.
    delete root_.data();
    if (owner_)
        owner_->removeControl(this);
}

void Control::adoptWidget(QWidget* root)
{
    root_ = root;
    detail::FocusTracker::instance().add(this, root);
    watchEvents(root);
    root->setObjectName(index_ >= 0 ? QStringLiteral("%1(%2)").arg(name_).arg(index_) : name_);
}

QObject* Control::context() const
{
    return bridge_.get();
}

void Control::watchEvents(QWidget* eventWidget)
{
    bridge_->watch(eventWidget);
}

void Control::ignoreKeysOf(QWidget* widget)
{
    bridge_->ignoreKeysOf(widget);
}

void Control::consumeMouseEvents()
{
    bridge_->consumeMouse();
}

bool Control::Enabled() const
{
    return enabled_;
}

void Control::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (QWidget* w = widget())
        w->setEnabled(enabled);
}

bool Control::Visible() const
{
    return visible_;
}

void Control::setVisible(bool visible)
{
    visible_ = visible;
    applyVisibility();
}

void Control::applyVisibility()
{
    QWidget* w = widget();
    if (!w)
        return;
    // A widget that is not placed yet is never shown: it would open as a window of its own. It takes its
    // state when the form places it (ParentChange).
    if (w->parentWidget())
        w->setVisible(visible_);
    else if (!visible_)
        w->hide();
}

QString Control::ToolTipText() const
{
    QWidget* w = widget();
    return w ? w->toolTip() : QString();
}

void Control::setToolTipText(const QString& text)
{
    if (QWidget* w = widget())
        w->setToolTip(text);
}

uint32_t Control::ForeColor() const
{
    return foreColor_;
}

void Control::setForeColor(uint32_t colour)
{
    foreColor_ = colour;
    foreColorSet_ = true;
    applyColours();
}

uint32_t Control::BackColor() const
{
    return backColor_;
}

void Control::setBackColor(uint32_t colour)
{
    backColor_ = colour;
    backColorSet_ = true;
    applyColours();
}

void Control::applyColours()
{
    QWidget* w = widget();
    if (!w)
        return;
    QPalette palette = w->palette();
    // Disabled controls keep the desktop's grey text, as classic controls do whatever their ForeColor.
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        if (foreColorSet_) {
            const QColor fore = toQColor(foreColor_);
            palette.setColor(group, QPalette::WindowText, fore);
            palette.setColor(group, QPalette::Text, fore);
            palette.setColor(group, QPalette::ButtonText, fore);
        }
        if (backColorSet_) {
            const QColor back = toQColor(backColor_);
            palette.setColor(group, QPalette::Window, back);
            palette.setColor(group, QPalette::Base, back);
            palette.setColor(group, QPalette::Button, back);
        }
    }
    if (backColorSet_) {
        const QColor back = toQColor(backColor_);
        palette.setColor(QPalette::Disabled, QPalette::Window, back);
        palette.setColor(QPalette::Disabled, QPalette::Button, back);
        // The desktop's grey text vanishes on a bright colour (a green or orange button): a grey of the
        // other brightness keeps a greyed caption readable.
        const auto brightness = [](const QColor& c) {
            return (299 * c.red() + 587 * c.green() + 114 * c.blue()) / 1000;
        };
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            const QColor grey = palette.color(QPalette::Disabled, role);
            if (std::abs(brightness(grey) - brightness(back)) < 90)
                palette.setColor(QPalette::Disabled, role,
                                 brightness(back) >= 128 ? QColor(56, 56, 56) : QColor(220, 220, 220));
        }
        w->setAutoFillBackground(true);
    }
    w->setPalette(palette);
}

void Control::SetFocus()
{
    if (QWidget* w = widget())
        w->setFocus(Qt::OtherFocusReason);
}

bool Control::hasFocus() const
{
    QWidget* w = widget();
    if (!w)
        return false;
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == w || w->isAncestorOf(focus));
}

void Control::setTabStop(bool tabStop)
{
    tabStop_ = tabStop;
    QWidget* w = widget();
    if (!w || w->focusPolicy() == Qt::NoFocus)
        return;
    w->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

QFont Control::Font() const
{
    QWidget* w = widget();
    return w ? w->font() : QFont();
}

void Control::setFont(const QFont& font)
{
    if (QWidget* w = widget())
        w->setFont(font);
}

int Control::Left() const
{
    QWidget* w = widget();
    return w ? w->x() : 0;
}

int Control::Top() const
{
    QWidget* w = widget();
    return w ? w->y() : 0;
}

int Control::Width() const
{
    QWidget* w = widget();
    if (!w)
        return 0;
    if (!w->testAttribute(Qt::WA_Resized) && w->sizeHint().isValid())
        return w->sizeHint().width();
    return w->width();
}

int Control::Height() const
{
    QWidget* w = widget();
    if (!w)
        return 0;
    if (!w->testAttribute(Qt::WA_Resized) && w->sizeHint().isValid())
        return w->sizeHint().height();
    return w->height();
}

void Control::Move(int left, int top, int width, int height)
{
    QWidget* w = widget();
    if (!w)
        return;
    w->setGeometry(left, top, width < 0 ? Width() : width, height < 0 ? Height() : height);
}

void Control::ZOrder(int position)
{
    if (QWidget* w = widget()) {
        if (position == 0)
            w->raise();
        else
            w->lower();
    }
}

void Control::Refresh()
{
    if (QWidget* w = widget())
        w->repaint();
}

bool Control::fireKeyDown(QKeyEvent* event)
{
    int code = detail::classicKeyCode(event);
    if (code == 0)
        return false;
    KeyDown(code, detail::classicShiftState(event->modifiers()));
    return code == 0;
}

bool Control::onKeyPress(QWidget* target, QKeyEvent* event)
{
    (void)target;
    if (fireKeyDown(event))
        return true;
    const auto plain = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain == Qt::NoModifier)
        return pressDefaultButton();
    if (event->key() == Qt::Key_Escape && plain == Qt::NoModifier)
        return pressCancelButton();
    return false;
}

bool Control::onKeyRelease(QWidget* target, QKeyEvent* event)
{
    (void)target;
    if (event->isAutoRepeat())
        return false;
    int code = detail::classicKeyCode(event);
    if (code == 0)
        return false;
    KeyUp(code, detail::classicShiftState(event->modifiers()));
    return code == 0;
}

namespace {

CommandButton* findButton(Form* form, bool cancel)
{
    if (!form)
        return nullptr;
    for (Control* control : form->controls()) {
        auto* button = dynamic_cast<CommandButton*>(control);
        if (button && (cancel ? button->Cancel() : button->Default()))
            return button;
    }
    return nullptr;
}

} // namespace

bool Control::pressDefaultButton()
{
    CommandButton* button = findButton(owner_, false);
    return button && button->click();
}

bool Control::pressCancelButton()
{
    CommandButton* button = findButton(owner_, true);
    return button && button->click();
}

} // namespace ui
