#pragma once

#include "platform/ui/control.h"

#include <QString>
#include <memory>
#include <vector>

class QAction;
class QMenu;

namespace ui {

// A menu item of a form, addressed by name like any control (form.control("mnuViewControl")). A Menu
// without a parent is a top-level entry of the form's menu bar; a Menu with a parent is an entry of the
// parent's drop-down. The caption "-" makes a separator; "&" marks the accelerator letter. An item with
// entries opens them; an item without entries (a top-level one included) fires Click when chosen.
// Menus are declared in the order they appear:
//     ui::Menu mnuFile{this, "mnuFile", "&File"};
//     ui::Menu mnuFileExit{this, "mnuFileExit", "E&xit", &mnuFile};
// Menus are controls without a widget (widget() is nullptr); the form puts them on its menu bar when it
// loads. Menus made after the form loaded appear at once.
class Menu : public Control {
public:
    Menu(Form* owner, QString name, QString caption, Menu* parentMenu = nullptr, int index = -1);
    ~Menu() override;

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool Checked() const { return checked_; }
    void setChecked(bool checked);
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    bool Visible() const override { return visible_; }
    void setVisible(bool visible) override;
    bool isSeparator() const { return caption_ == QStringLiteral("-"); }
    Menu* parentMenu() const { return parent_; }
    const std::vector<Menu*>& entries() const { return entries_; }
    QWidget* widget() const override { return nullptr; }

    // The Qt action that shows the item (its drop-down when it has entries).
    QAction* action() const { return action_.get(); }

    // Chooses the item as the user would: fires Click when it is enabled and has no entries.
    void choose();

    Event<> Click;

private:
    void updateAction();
    void ensureDropDown();

    QString caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    Menu* parent_;
    std::vector<Menu*> entries_;
    std::unique_ptr<QAction> action_;
    std::unique_ptr<QMenu> dropDown_;
};

} // namespace ui
