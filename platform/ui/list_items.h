#pragma once

#include <QString>

#include <vector>

namespace ui::detail {

// The item list and selected index that ListBox and ComboBox keep apart from their Qt widgets, so that
// both count, insert, remove and select by the same rules. Invalid indexes are ignored.
class ListItems {
public:
    int count() const { return static_cast<int>(items_.size()); }
    bool valid(int index) const { return index >= 0 && index < count(); }
    int selected() const { return selected_; }

    // Inserts at index (-1 appends); the selected item stays selected. Returns where the item went, -1 when
    // index was invalid.
    int insert(const QString& text, int index);
    // Removes the item; removing the selected one leaves none selected. False when index was invalid.
    bool remove(int index);
    void clear();
    // Selects index (-1 for none). False when index was invalid.
    bool select(int index);

    QString text(int index) const; // "" out of range
    bool setText(int index, const QString& text);
    int data(int index) const; // 0 out of range
    void setData(int index, int data);

private:
    struct Item {
        QString text;
        int data = 0;
    };
    std::vector<Item> items_;
    int selected_ = -1;
};

} // namespace ui::detail
