#pragma once

#include "platform/ui/control.h"

#include <QPointer>
#include <vector>

class QTabWidget;

namespace ui {

// Classic tab strip with one page per tab (tabs numbered from 0). Each page is a container for the tab's
// controls. Tab (alias SelectedItem) is the selected tab, -1 when there is none. Setting it in code and a
// user's choice both fire Click(previousTab) once per change; so does a change forced by hiding or
// disabling the selected tab. Hidden or disabled tabs cannot be selected.
class TabStrip : public Control {
public:
    TabStrip(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;

    int addTab(const QString& caption); // returns the new tab's number
    int Tabs() const { return static_cast<int>(tabs_.size()); }
    QString TabCaption(int tab) const;
    void setTabCaption(int tab, const QString& caption);
    bool TabVisible(int tab) const;
    void setTabVisible(int tab, bool visible);
    bool TabEnabled(int tab) const;
    void setTabEnabled(int tab, bool enabled);
    QWidget* page(int tab) const; // nullptr for an unknown tab or without a widget

    int Tab() const { return current_; }
    void setTab(int tab);
    int SelectedItem() const { return Tab(); }
    void setSelectedItem(int tab) { setTab(tab); }

    Event<int> Click; // the previously selected tab

private:
    struct TabInfo {
        QString caption;
        bool visible = true;
        bool enabled = true;
        QPointer<QWidget> page;
    };
    bool valid(int tab) const { return tab >= 0 && tab < Tabs(); }
    void qtChanged();
    QPointer<QTabWidget> tabs_widget_;
    std::vector<TabInfo> tabs_;
    int current_ = -1;
    bool syncing_ = false;
};

} // namespace ui
