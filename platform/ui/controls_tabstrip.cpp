#include "platform/ui/controls_tabstrip.h"

#include "platform/ui/controls_button.h"

#include <QTabWidget>

namespace ui {

TabStrip::TabStrip(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    auto* tabs = new QTabWidget;
    tabs_widget_ = tabs;
    adoptWidget(tabs);
    QObject::connect(tabs, &QTabWidget::currentChanged, context(), [this](int) { qtChanged(); });
}

QWidget* TabStrip::widget() const
{
    return tabs_widget_;
}

int TabStrip::addTab(const QString& caption)
{
    TabInfo info;
    info.caption = caption;
    if (tabs_widget_) {
        auto* page = new QWidget;
        markAsContainer(page);
        info.page = page;
        syncing_ = true;
        tabs_widget_->addTab(page, caption);
        syncing_ = false;
    }
    tabs_.push_back(info);
    // The first tab is selected as soon as it exists (no Click: nothing was selected before).
    if (current_ < 0)
        current_ = tabs_widget_ ? tabs_widget_->currentIndex() : 0;
    return Tabs() - 1;
}

QString TabStrip::TabCaption(int tab) const
{
    return valid(tab) ? tabs_[static_cast<size_t>(tab)].caption : QString();
}

void TabStrip::setTabCaption(int tab, const QString& caption)
{
    if (!valid(tab))
        return;
    tabs_[static_cast<size_t>(tab)].caption = caption;
    if (tabs_widget_)
        tabs_widget_->setTabText(tab, caption);
}

bool TabStrip::TabVisible(int tab) const
{
    return valid(tab) && tabs_[static_cast<size_t>(tab)].visible;
}

void TabStrip::setTabVisible(int tab, bool visible)
{
    if (!valid(tab))
        return;
    tabs_[static_cast<size_t>(tab)].visible = visible;
    if (tabs_widget_)
        tabs_widget_->setTabVisible(tab, visible);
}

bool TabStrip::TabEnabled(int tab) const
{
    return valid(tab) && tabs_[static_cast<size_t>(tab)].enabled;
}

void TabStrip::setTabEnabled(int tab, bool enabled)
{
    if (!valid(tab))
        return;
    tabs_[static_cast<size_t>(tab)].enabled = enabled;
    if (tabs_widget_) {
        tabs_widget_->setTabEnabled(tab, enabled);
        // The selected tab going out of use moves the selection to a usable one (Qt does so itself).
        if (!enabled && tab == current_) {
            for (int i = 0; i < Tabs(); ++i) {
                if (TabVisible(i) && TabEnabled(i)) {
                    tabs_widget_->setCurrentIndex(i);
                    break;
                }
            }
        }
    }
}

QWidget* TabStrip::page(int tab) const
{
    return valid(tab) ? tabs_[static_cast<size_t>(tab)].page.data() : nullptr;
}

void TabStrip::setTab(int tab)
{
    if (!valid(tab) || !TabVisible(tab) || !TabEnabled(tab) || tab == current_)
        return;
    if (tabs_widget_) {
        tabs_widget_->setCurrentIndex(tab); // reaches qtChanged, which fires Click
        return;
    }
    const int previous = current_;
    current_ = tab;
    Click(previous);
}

void TabStrip::qtChanged()
{
    if (syncing_ || !tabs_widget_)
        return;
    const int now = tabs_widget_->currentIndex();
    if (now == current_)
        return;
    const int previous = current_;
    current_ = now;
    Click(previous);
}

} // namespace ui
