#pragma once

#include "platform/ui/control.h"

#include <QPointer>
#include <memory>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace ui {

class ListView;

// One row of a list view: Text is the first column, SubItems(1..) the further columns, each with an
// optional key. Index is the row's position counted from 1.
class ListItem {
public:
    int Index() const;
    const QString& Key() const { return key_; }
    const QString& Text() const { return text_; }
    void setText(const QString& text);
    QString SubItems(int column) const; // "" for a column without text
    void setSubItems(int column, const QString& text);
    QString SubItemKey(int column) const;
    void setSubItem(int column, const QString& text, const QString& key);
    bool Selected() const;
    void setSelected(bool selected); // in code: fires nothing

private:
    friend class ListView;
    struct SubItem {
        QString text;
        QString key;
    };
    ListItem(ListView& view, QString key, QString text)
        : view_(view), key_(std::move(key)), text_(std::move(text))
    {
    }
    void show();
    ListView& view_;
    QString key_;
    QString text_;
    std::vector<SubItem> subItems_;  // column 1 at position 0
    QTreeWidgetItem* row_ = nullptr; // owned by the Qt tree (gone with it)
};

// Classic list view in report style: column headers and rows with keys, sub-items and one selected row
// that may be none. A user's click on a row fires ItemClick(row) and then Click; a click beside the rows
// fires Click alone; moving the selection with the keyboard fires ItemClick. Selecting in code fires
// nothing. Rows are whole-row selected; FullRowSelect is kept for the window's sake.
class ListView : public Control {
public:
    ListView(Form* owner, QString name, int index = -1);
    ~ListView() override;
    QWidget* widget() const override;

    // Columns, numbered from 1. A width below 0 leaves Qt's width.
    int addColumn(const QString& text, int width = -1);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    QString ColumnText(int column) const;
    int ColumnWidth(int column) const;
    void setColumnWidth(int column, int width);

    // Rows. A key in use already (not empty) is refused: nullptr. Row pointers stay valid until the row is
    // removed or the list cleared.
    ListItem* addItem(const QString& key, const QString& text);
    int ItemCount() const { return static_cast<int>(items_.size()); }
    ListItem* item(int index) const; // from 1; nullptr out of range
    ListItem* find(const QString& key) const;
    void removeItem(int index);
    void Clear();

    ListItem* SelectedItem() const { return selected_; }
    void setSelectedItem(ListItem* item); // nullptr: none; fires nothing

    bool FullRowSelect() const { return fullRowSelect_; }
    void setFullRowSelect(bool fullRow) { fullRowSelect_ = fullRow; }

    Event<ListItem*> ItemClick;
    Event<> Click;
    Event<> DblClick;

protected:
    void onMouseEvent(QWidget* source, QMouseEvent* event) override;
    void onClickAt(QWidget* source, const QPoint& position) override;
    void onDblClick() override { DblClick(); }

private:
    friend class ListItem;
    struct Column {
        QString text;
        int width = -1;
    };
    void showSelection();
    void userSelectionChanged();
    ListItem* itemOf(const QTreeWidgetItem* row) const;
    QPointer<QTreeWidget> tree_;
    std::vector<Column> columns_;
    std::vector<std::unique_ptr<ListItem>> items_;
    ListItem* selected_ = nullptr;
    bool fullRowSelect_ = false;
    bool syncing_ = false;
    bool mouseDown_ = false;
};

} // namespace ui
