#include "platform/ui/menu.h"

#include "platform/ui/form.h"
#include "platform/ui/form_parts.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace ui {

Menu::Menu(Form* owner, QString name, QString caption, Menu* parentMenu, int index)
    : Control(owner, std::move(name), index), caption_(std::move(caption)), parent_(parentMenu),
      action_(std::make_unique<QAction>())
{
    QObject::connect(action_.get(), &QAction::triggered, action_.get(), [this] {
        if (entries_.empty())
            Click();
    });
    updateAction();
    if (parent_) {
        parent_->entries_.push_back(this);
        parent_->ensureDropDown();
        parent_->dropDown_->addAction(action_.get());
    } else if (owner && owner->widget()) {
        // A top-level menu made after its form built its window.
        if (auto* window = qobject_cast<QMainWindow*>(owner->widget()))
            window->menuBar()->addAction(action_.get());
    }
}

Menu::~Menu()
{
    for (Menu* entry : entries_)
        entry->parent_ = nullptr;
    if (parent_)
        std::erase(parent_->entries_, this);
}

void Menu::ensureDropDown()
{
    if (dropDown_)
        return;
    dropDown_ = std::make_unique<QMenu>();
    dropDown_->setTitle(caption_);
    action_->setMenu(dropDown_.get());
}

void Menu::updateAction()
{
    // A separator is a line only: styles that draw a separator's text as a section title would show the "-".
    action_->setSeparator(isSeparator());
    action_->setText(isSeparator() ? QString() : caption_);
    action_->setCheckable(checked_);
    action_->setChecked(checked_);
    action_->setEnabled(enabled_);
    action_->setVisible(visible_);
    if (dropDown_)
        dropDown_->setTitle(caption_);
}

void Menu::setCaption(const QString& caption)
{
    caption_ = caption;
    updateAction();
}

void Menu::setChecked(bool checked)
{
    checked_ = checked;
    updateAction();
}

void Menu::setEnabled(bool enabled)
{
    enabled_ = enabled;
    updateAction();
}

void Menu::setVisible(bool visible)
{
    visible_ = visible;
    updateAction();
}

void Menu::choose()
{
    if (!enabled_ || isSeparator())
        return;
    for (const Menu* up = parent_; up; up = up->parent_)
        if (!up->enabled_)
            return;
    if (entries_.empty())
        Click();
}

void detail::attachMenus(Form& form, QMainWindow& window)
{
    for (Control* control : form.controls()) {
        auto* menu = dynamic_cast<Menu*>(control);
        if (menu && !menu->parentMenu())
            window.menuBar()->addAction(menu->action());
    }
}

} // namespace ui
