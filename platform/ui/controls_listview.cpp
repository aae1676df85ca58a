#include "platform/ui/controls_listview.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>

namespace ui {

// ---- ListItem ----

int ListItem::Index() const
{
    for (size_t i = 0; i < view_.items_.size(); ++i) {
        if (view_.items_[i].get() == this)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

void ListItem::setText(const QString& text)
{
    text_ = text;
    show();
}

QString ListItem::SubItems(int column) const
{
    if (column < 1 || static_cast<size_t>(column) > subItems_.size())
        return QString();
    return subItems_[static_cast<size_t>(column) - 1].text;
}

void ListItem::setSubItems(int column, const QString& text)
{
    setSubItem(column, text, SubItemKey(column));
}

QString ListItem::SubItemKey(int column) const
{
    if (column < 1 || static_cast<size_t>(column) > subItems_.size())
        return QString();
    return subItems_[static_cast<size_t>(column) - 1].key;
}

void ListItem::setSubItem(int column, const QString& text, const QString& key)
{
    if (column < 1)
        return;
    if (subItems_.size() < static_cast<size_t>(column))
        subItems_.resize(static_cast<size_t>(column));
    subItems_[static_cast<size_t>(column) - 1] = SubItem{text, key};
    show();
}

bool ListItem::Selected() const
{
    return view_.selected_ == this;
}

void ListItem::setSelected(bool selected)
{
    if (selected)
        view_.setSelectedItem(this);
    else if (Selected())
        view_.setSelectedItem(nullptr);
}

void ListItem::show()
{
    // Rows belong to the tree; once the form's window destroyed it there is nothing to show.
    if (!row_ || !view_.tree_)
        return;
    row_->setText(0, text_);
    for (size_t i = 0; i < subItems_.size(); ++i)
        row_->setText(static_cast<int>(i) + 1, subItems_[i].text);
}

// ---- ListView ----

ListView::ListView(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    foreColor_ = 0x80000008;
    backColor_ = 0x80000005;
    auto* tree = new QTreeWidget;
    tree->setRootIsDecorated(false);
    tree->setItemsExpandable(false);
    tree->setUniformRowHeights(true);
    tree->setAllColumnsShowFocus(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setColumnCount(0);
    tree->header()->setStretchLastSection(false);
    tree_ = tree;
    adoptWidget(tree);
    watchEvents(tree->viewport());
    // Selection, not the current row: Qt makes a row current (unselected) when the list gets the focus.
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, context(), [this] { userSelectionChanged(); });
}

ListView::~ListView()
{
    // The rows' Qt items belong to the tree, which the base class destroys later.
    for (auto& item : items_)
        item->row_ = nullptr;
}

QWidget* ListView::widget() const
{
    return tree_;
}

int ListView::addColumn(const QString& text, int width)
{
    columns_.push_back(Column{text, width});
    if (tree_) {
        QStringList headers;
        for (const Column& column : columns_)
            headers << column.text;
        tree_->setColumnCount(static_cast<int>(columns_.size()));
        tree_->setHeaderLabels(headers);
        if (width >= 0)
            tree_->setColumnWidth(static_cast<int>(columns_.size()) - 1, width);
    }
    return ColumnCount();
}

QString ListView::ColumnText(int column) const
{
    return column >= 1 && column <= ColumnCount() ? columns_[static_cast<size_t>(column) - 1].text
                                                  : QString();
}

int ListView::ColumnWidth(int column) const
{
    if (column < 1 || column > ColumnCount())
        return 0;
    if (tree_)
        return tree_->columnWidth(column - 1);
    return std::max(0, columns_[static_cast<size_t>(column) - 1].width);
}

void ListView::setColumnWidth(int column, int width)
{
    if (column < 1 || column > ColumnCount())
        return;
    columns_[static_cast<size_t>(column) - 1].width = std::max(0, width);
    if (tree_)
        tree_->setColumnWidth(column - 1, std::max(0, width));
}

ListItem* ListView::addItem(const QString& key, const QString& text)
{
    if (!key.isEmpty() && find(key))
        return nullptr;
    items_.push_back(std::unique_ptr<ListItem>(new ListItem(*this, key, text)));
    ListItem* item = items_.back().get();
    if (tree_) {
        syncing_ = true;
        item->row_ = new QTreeWidgetItem(tree_);
        syncing_ = false;
        item->show();
    }
    return item;
}

ListItem* ListView::item(int index) const
{
    return index >= 1 && index <= ItemCount() ? items_[static_cast<size_t>(index) - 1].get() : nullptr;
}

ListItem* ListView::find(const QString& key) const
{
    for (const auto& item : items_) {
        if (item->key_ == key)
            return item.get();
    }
    return nullptr;
}

void ListView::removeItem(int index)
{
    ListItem* gone = item(index);
    if (!gone)
        return;
    if (selected_ == gone)
        selected_ = nullptr;
    if (tree_) {
        syncing_ = true;
        delete gone->row_;
        syncing_ = false;
    }
    items_.erase(items_.begin() + (index - 1));
    showSelection();
}

void ListView::Clear()
{
    selected_ = nullptr;
    for (auto& item : items_)
        item->row_ = nullptr;
    items_.clear();
    if (tree_) {
        syncing_ = true;
        tree_->clear();
        syncing_ = false;
    }
}

void ListView::setSelectedItem(ListItem* item)
{
    if (item && &item->view_ != this)
        return;
    selected_ = item;
    showSelection();
}

void ListView::showSelection()
{
    if (!tree_)
        return;
    syncing_ = true;
    if (selected_ && selected_->row_) {
        tree_->setCurrentItem(selected_->row_);
        tree_->scrollToItem(selected_->row_);
    } else {
        tree_->setCurrentItem(nullptr);
        tree_->clearSelection();
    }
    syncing_ = false;
}

ListItem* ListView::itemOf(const QTreeWidgetItem* row) const
{
    if (!row)
        return nullptr;
    for (const auto& item : items_) {
        if (item->row_ == row)
            return item.get();
    }
    return nullptr;
}

void ListView::userSelectionChanged()
{
    if (syncing_ || !tree_)
        return;
    const QList<QTreeWidgetItem*> rows = tree_->selectedItems();
    ListItem* now = rows.isEmpty() ? nullptr : itemOf(rows.first());
    if (now == selected_)
        return;
    selected_ = now;
    // A click reports its row when the button comes up; keys report at once.
    if (now && !mouseDown_)
        ItemClick(now);
}

void ListView::onMouseEvent(QWidget* source, QMouseEvent* event)
{
    (void)source;
    if (event->button() != Qt::LeftButton)
        return;
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        mouseDown_ = true;
    else if (event->type() == QEvent::MouseButtonRelease)
        mouseDown_ = false;
}

void ListView::onClickAt(QWidget* source, const QPoint& position)
{
    (void)source;
    ListItem* clicked = tree_ ? itemOf(tree_->itemAt(position)) : nullptr;
    if (clicked) {
        selected_ = clicked;
        ItemClick(clicked);
    }
    Click();
}

} // namespace ui
