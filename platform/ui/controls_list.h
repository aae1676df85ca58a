#pragma once

#include "platform/ui/control.h"
#include "platform/ui/list_items.h"

#include <QPointer>

class QComboBox;
class QListWidget;

namespace ui {

// Classic combo box styles.
enum ComboStyle : int { vbComboDropdown = 0, vbComboSimple = 1, vbComboDropdownList = 2 };

// Classic list box. ListIndex is -1 when nothing is selected. Setting ListIndex fires Click every time it
// is set to a valid value (-1 included), as the classic toolkit does; a user's selection fires Click once.
// AddItem, RemoveItem and Clear fire nothing; they keep the selected item selected (Clear and removing the
// selected item leave none). Invalid indexes are ignored.
class ListBox : public Control {
public:
    ListBox(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;

    void AddItem(const QString& text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    QString List(int index) const; // "" out of range
    void setList(int index, const QString& text);
    int ListCount() const { return items_.count(); }
    int ListIndex() const { return items_.selected(); }
    void setListIndex(int index);
    QString Text() const { return List(items_.selected()); }
    int ItemData(int index) const; // 0 out of range
    void setItemData(int index, int data);

    Event<> Click;
    Event<> DblClick;

protected:
    void onDblClick() override { DblClick(); }

private:
    void syncSelection();
    void userSelected(int row);
    QPointer<QListWidget> list_;
    detail::ListItems items_;
    bool syncing_ = false;
};

// Classic combo box: an editable drop-down combo (style 0, 1) or a drop-down list (style 2).
// ListIndex and Click follow ListBox. Text of an editable combo is its edit field: setting it in code fires
// Change when it differs, and a user's edit fires Change once and clears ListIndex when the text no
// longer is the selected item's; choosing an item fires Click only. Text of a drop-down list is the
// selected item's text; setting it selects the first item with that text (Click) and is ignored when none
// has it. KeyPress works as in TextBox for the edit field.
class ComboBox : public Control {
public:
    ComboBox(Form* owner, QString name, int index = -1, int style = vbComboDropdown);
    QWidget* widget() const override;

    int Style() const { return style_; }
    void AddItem(const QString& text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    QString List(int index) const;
    void setList(int index, const QString& text);
    int ListCount() const { return items_.count(); }
    int ListIndex() const { return items_.selected(); }
    void setListIndex(int index);
    QString Text() const;
    void setText(const QString& text);
    int ItemData(int index) const;
    void setItemData(int index, int data);

    Event<> Click;
    Event<> Change;
    Event<int&> KeyPress;

protected:
    bool onKeyPress(QWidget* target, QKeyEvent* event) override;

private:
    bool editable() const { return style_ != vbComboDropdownList; }
    void syncQt();
    void userSelected(int row);
    void userEdited(const QString& text);
    QPointer<QComboBox> combo_;
    detail::ListItems items_;
    int style_;
    QString editText_;
    bool syncing_ = false;
    bool synthesizing_ = false;
};

} // namespace ui
