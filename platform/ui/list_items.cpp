#include "platform/ui/list_items.h"

namespace ui::detail {

int ListItems::insert(const QString& text, int index)
{
    const int total = count();
    if (index < -1 || index > total)
        return -1;
    const int at = index < 0 ? total : index;
    items_.insert(items_.begin() + at, Item{text, 0});
    if (selected_ >= at)
        ++selected_;
    return at;
}

bool ListItems::remove(int index)
{
    if (!valid(index))
        return false;
    items_.erase(items_.begin() + index);
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    return true;
}

void ListItems::clear()
{
    items_.clear();
    selected_ = -1;
}

bool ListItems::select(int index)
{
    if (index < -1 || index >= count())
        return false;
    selected_ = index;
    return true;
}

QString ListItems::text(int index) const
{
    return valid(index) ? items_[static_cast<size_t>(index)].text : QString();
}

bool ListItems::setText(int index, const QString& text)
{
    if (!valid(index))
        return false;
    items_[static_cast<size_t>(index)].text = text;
    return true;
}

int ListItems::data(int index) const
{
    return valid(index) ? items_[static_cast<size_t>(index)].data : 0;
}

void ListItems::setData(int index, int data)
{
    if (valid(index))
        items_[static_cast<size_t>(index)].data = data;
}

} // namespace ui::detail
