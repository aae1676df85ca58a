#pragma once

#include "platform/ui/event.h"

#include <QString>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace ui {

class Form;

// A classic control array: controls of one kind sharing a name, told apart by Index (not necessarily
// contiguous). Elements are made at construction or later with add (the classic Load of an element) and
// removed with remove. Iteration runs in index order.
//
// Handlers taking the index are bound for every element, present and future:
//     cmdToolBarBtn.on(&CommandButton::Click, [this](int index) { cmdToolBarBtn_Click(index); });
//     txtOutFreqST.on(&TextBox::KeyPress, [this](int index, int& key) { txtOutFreqST_KeyPress(index, key);
//     });
template <typename T> class ControlArray {
public:
    using Maker = std::function<std::unique_ptr<T>(Form* owner, const QString& name, int index)>;

    ControlArray(Form* owner, QString name, Maker maker = defaultMaker())
        : owner_(owner), name_(std::move(name)), maker_(std::move(maker))
    {
    }
    // Elements 0 .. count-1.
    ControlArray(Form* owner, QString name, int count, Maker maker = defaultMaker())
        : ControlArray(owner, std::move(name), std::move(maker))
    {
        for (int i = 0; i < count; ++i)
            add(i);
    }

    const QString& Name() const { return name_; }

    // The element; an index without element is a programming error (the classic error 340).
    T& operator()(int index) const
    {
        auto it = items_.find(index);
        if (it == items_.end())
            throw std::out_of_range("Control array element " + name_.toStdString() + "(" +
                                    std::to_string(index) + ") doesn't exist");
        return *it->second;
    }
    bool exists(int index) const { return items_.count(index) != 0; }
    int Count() const { return static_cast<int>(items_.size()); }
    int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
    int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }

    // Makes the element `index` (bound to every handler given with on); an existing one is returned as it is.
    T& add(int index)
    {
        auto it = items_.find(index);
        if (it != items_.end())
            return *it->second;
        T& item = *(items_[index] = maker_(owner_, name_, index));
        for (const auto& binder : binders_)
            binder(item);
        return item;
    }
    void remove(int index) { items_.erase(index); }

    template <typename C, typename... Args, typename F> void on(Event<Args...> C::*event, F handler)
    {
        static_assert(std::is_base_of_v<C, T>, "the event must belong to the array's control kind");
        auto binder = [event, handler](T& item) {
            const int index = item.Index();
            (item.*event) = [handler, index](Args... args) { handler(index, std::forward<Args>(args)...); };
        };
        for (auto& [index, item] : items_)
            binder(*item);
        binders_.push_back(std::move(binder));
    }

    // Binds an event of every element, made or still to come, to a method of the window that takes the
    // element's index first: a handler whose name or parameters do not match does not compile.
    template <typename C, typename... Args, typename Window, typename Owner>
    void bind(Event<Args...> C::*event, Window* window, void (Owner::*handler)(int, Args...))
    {
        static_assert(std::is_base_of_v<Owner, Window>, "the handler must be a method of the window");
        on(event, [window, handler](int index, Args... args) {
            (window->*handler)(index, std::forward<Args>(args)...);
        });
    }

    class iterator {
    public:
        using inner = typename std::map<int, std::unique_ptr<T>>::const_iterator;
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = T*;
        using reference = T&;
        explicit iterator(inner it) : it_(it) {}
        T& operator*() const { return *it_->second; }
        T* operator->() const { return it_->second.get(); }
        iterator& operator++()
        {
            ++it_;
            return *this;
        }
        iterator operator++(int)
        {
            iterator before = *this;
            ++it_;
            return before;
        }
        bool operator==(const iterator& other) const { return it_ == other.it_; }
        bool operator!=(const iterator& other) const { return it_ != other.it_; }

    private:
        inner it_;
    };
    iterator begin() const { return iterator(items_.begin()); }
    iterator end() const { return iterator(items_.end()); }

    static Maker defaultMaker()
    {
        return [](Form* owner, const QString& name, int index) {
            return std::make_unique<T>(owner, name, index);
        };
    }

private:
    Form* owner_;
    QString name_;
    Maker maker_;
    std::map<int, std::unique_ptr<T>> items_;
    std::vector<std::function<void(T&)>> binders_;
};

} // namespace ui
