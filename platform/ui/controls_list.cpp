#include "platform/ui/controls_list.h"

#include "platform/ui/controls_bridge.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/key_codes.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

namespace ui {

// ---- ListBox ----

ListBox::ListBox(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    foreColor_ = 0x80000008;
    backColor_ = 0x80000005;
    auto* list = new QListWidget;
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_ = list;
    adoptWidget(list);
    watchEvents(list->viewport());
    QObject::connect(list, &QListWidget::currentRowChanged, context(),
                     [this](int row) { userSelected(row); });
    // A click makes its row current before it selects it.
    QObject::connect(list, &QListWidget::itemSelectionChanged, context(),
                     [this] { userSelected(list_ ? list_->currentRow() : -1); });
}

QWidget* ListBox::widget() const
{
    return list_;
}

void ListBox::AddItem(const QString& text, int index)
{
    const int at = items_.insert(text, index);
    if (at < 0)
        return;
    if (list_) {
        syncing_ = true;
        list_->insertItem(at, text);
        syncing_ = false;
    }
    syncSelection();
}

void ListBox::RemoveItem(int index)
{
    if (!items_.remove(index))
        return;
    if (list_) {
        syncing_ = true;
        delete list_->takeItem(index);
        syncing_ = false;
    }
    syncSelection();
}

void ListBox::Clear()
{
    items_.clear();
    if (list_) {
        syncing_ = true;
        list_->clear();
        syncing_ = false;
    }
}

QString ListBox::List(int index) const
{
    return items_.text(index);
}

void ListBox::setList(int index, const QString& text)
{
    if (!items_.setText(index, text))
        return;
    if (list_ && list_->item(index))
        list_->item(index)->setText(text);
}

int ListBox::ItemData(int index) const
{
    return items_.data(index);
}

void ListBox::setItemData(int index, int data)
{
    items_.setData(index, data);
}

void ListBox::setListIndex(int index)
{
    if (!items_.select(index))
        return;
    syncSelection();
    Click();
}

void ListBox::syncSelection()
{
    if (!list_)
        return;
    syncing_ = true;
    const int selected = items_.selected();
    if (selected < 0) {
        list_->setCurrentRow(-1);
        list_->clearSelection();
    } else {
        list_->setCurrentRow(selected);
        list_->scrollToItem(list_->item(selected));
    }
    syncing_ = false;
}

void ListBox::userSelected(int row)
{
    if (syncing_ || row == items_.selected() || row < 0)
        return;
    // Taking the focus makes the first row current without selecting it: that is no choice of the user's.
    if (list_ && list_->item(row) && !list_->item(row)->isSelected())
        return;
    items_.select(row);
    Click();
}

// ---- ComboBox ----

ComboBox::ComboBox(Form* owner, QString name, int index, int style)
    : Control(owner, std::move(name), index),
      style_(style == vbComboDropdownList ? vbComboDropdownList : style)
{
    foreColor_ = 0x80000008;
    backColor_ = 0x80000005;
    auto* combo = new QComboBox;
    combo->setEditable(editable());
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo_ = combo;
    adoptWidget(combo);
    // Keyboard steps change the current index; choosing from the list activates, also the item that Qt
    // still holds as current after the user typed over it. Both end in one Click per real change.
    QObject::connect(combo, &QComboBox::currentIndexChanged, context(),
                     [this](int row) { userSelected(row); });
    QObject::connect(combo, &QComboBox::activated, context(), [this](int row) { userSelected(row); });
    if (QLineEdit* edit = combo->lineEdit()) {
        combo->setCompleter(nullptr);
        watchEvents(edit);
        // Keys the edit field passes on reach the combo as well: they are counted once, at the field.
        ignoreKeysOf(combo);
        QObject::connect(edit, &QLineEdit::textEdited, context(),
                         [this](const QString& text) { userEdited(text); });
    }
}

QWidget* ComboBox::widget() const
{
    return combo_;
}

void ComboBox::AddItem(const QString& text, int index)
{
    const int at = items_.insert(text, index);
    if (at < 0)
        return;
    if (combo_) {
        syncing_ = true;
        combo_->insertItem(at, text);
        syncing_ = false;
    }
    syncQt();
}

void ComboBox::RemoveItem(int index)
{
    if (!items_.remove(index))
        return;
    if (combo_) {
        syncing_ = true;
        combo_->removeItem(index);
        syncing_ = false;
    }
    syncQt();
}

void ComboBox::Clear()
{
    items_.clear();
    // Clearing an editable combo empties its edit field too, as the classic control does (no Change).
    editText_.clear();
    if (combo_) {
        syncing_ = true;
        combo_->clear();
        syncing_ = false;
    }
    syncQt();
}

QString ComboBox::List(int index) const
{
    return items_.text(index);
}

void ComboBox::setList(int index, const QString& text)
{
    if (!items_.setText(index, text))
        return;
    if (combo_) {
        syncing_ = true;
        combo_->setItemText(index, text);
        syncing_ = false;
    }
    syncQt();
}

int ComboBox::ItemData(int index) const
{
    return items_.data(index);
}

void ComboBox::setItemData(int index, int data)
{
    items_.setData(index, data);
}

void ComboBox::setListIndex(int index)
{
    if (!items_.select(index))
        return;
    if (editable() && index >= 0)
        editText_ = List(index);
    syncQt();
    Click();
}

QString ComboBox::Text() const
{
    return editable() ? editText_ : List(items_.selected());
}

void ComboBox::setText(const QString& text)
{
    if (!editable()) {
        for (int i = 0; i < ListCount(); ++i) {
            if (items_.text(i) == text) {
                setListIndex(i);
                return;
            }
        }
        return;
    }
    if (text == editText_)
        return;
    editText_ = text;
    if (items_.selected() >= 0 && List(items_.selected()) != text)
        items_.select(-1);
    syncQt();
    Change();
}

void ComboBox::syncQt()
{
    if (!combo_)
        return;
    syncing_ = true;
    if (combo_->currentIndex() != items_.selected())
        combo_->setCurrentIndex(items_.selected());
    if (QLineEdit* edit = combo_->lineEdit()) {
        if (edit->text() != editText_)
            edit->setText(editText_);
    }
    syncing_ = false;
}

void ComboBox::userSelected(int row)
{
    if (syncing_ || row < 0 || row == items_.selected())
        return;
    items_.select(row);
    if (editable()) {
        editText_ = List(row);
        syncQt();
    }
    Click();
}

void ComboBox::userEdited(const QString& text)
{
    if (syncing_ || text == editText_)
        return;
    editText_ = text;
    if (items_.selected() >= 0 && List(items_.selected()) != text)
        items_.select(-1);
    Change();
}

bool ComboBox::onKeyPress(QWidget* target, QKeyEvent* event)
{
    if (synthesizing_)
        return false;
    const bool inEditField = combo_ && target == combo_->lineEdit();
    if (!inEditField)
        return Control::onKeyPress(target, event);
    if (fireKeyDown(event))
        return true;
    const int typed = detail::classicKeyAscii(event);
    if (typed < 0)
        return false;
    int key = typed;
    KeyPress(key);
    if (key == 0)
        return true;
    if (key == vbKeyReturn) {
        pressDefaultButton();
        return true;
    }
    if (key == vbKeyEscape) {
        pressCancelButton();
        return true;
    }
    if (key == typed)
        return false;
    detail::sendTypedKey(target, key, synthesizing_);
    return true;
}

} // namespace ui
