#include "platform/ui/controls_textbox.h"

#include "platform/os/sounds.h"
#include "platform/ui/controls_bridge.h"
#include "platform/ui/controls_label.h"
#include "platform/ui/key_codes.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QValidator>
#include <climits>

namespace ui {

namespace detail {

void sendTypedKey(QWidget* target, int keyAscii, bool& synthesizing)
{
    int key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text;
    if (keyAscii == vbKeyBack) {
        key = Qt::Key_Backspace;
    } else if (keyAscii == vbKeyReturn) {
        key = Qt::Key_Return;
        text = QStringLiteral("\r");
    } else if (keyAscii >= 1 && keyAscii <= 26) {
        key = Qt::Key_A + (keyAscii - 1);
        modifiers = Qt::ControlModifier;
        text = QChar(keyAscii);
    } else {
        const QChar ch(keyAscii);
        key = ch.toUpper().unicode();
        text = ch;
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    synthesizing = true;
    QCoreApplication::sendEvent(target, &press);
    synthesizing = false;
}

void refuseBeep()
{
    os::playSystemSound(QStringLiteral("SystemDefault"));
}

} // namespace detail

// Keeps typed and pasted text within MaxLength: what would overflow is cut from the inserted part, so the
// text already in the box stays whole.
class MaxLengthValidator : public QValidator {
public:
    explicit MaxLengthValidator(TextBox& box) : box_(box) {}

    State validate(QString& input, int& pos) const override
    {
        const int limit = box_.maxLength_;
        if (box_.settingText_ || limit <= 0 || input.size() <= limit)
            return Acceptable;
        const QString& before = box_.text_;
        qsizetype prefix = 0;
        while (prefix < before.size() && prefix < input.size() && before.at(prefix) == input.at(prefix))
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < before.size() - prefix && suffix < input.size() - prefix &&
               before.at(before.size() - 1 - suffix) == input.at(input.size() - 1 - suffix))
            ++suffix;
        const qsizetype inserted = input.size() - prefix - suffix;
        const qsizetype room = std::max<qsizetype>(0, limit - (prefix + suffix));
        if (room >= inserted)
            return Acceptable;
        input = input.left(prefix) + input.mid(prefix, room) + input.right(suffix);
        pos = static_cast<int>(prefix + room);
        detail::refuseBeep();
        return Acceptable;
    }

private:
    TextBox& box_;
};

// Pasting and dropping into a multi-line box keeps within MaxLength too.
class ClassicPlainTextEdit : public QPlainTextEdit {
public:
    explicit ClassicPlainTextEdit(TextBox& box) : box_(box) {}

protected:
    void insertFromMimeData(const QMimeData* source) override
    {
        if (!source || !source->hasText())
            return;
        QString text = source->text();
        const int room = box_.roomLeft();
        if (text.size() > room) {
            text = text.left(room);
            detail::refuseBeep();
        }
        if (!text.isEmpty())
            textCursor().insertText(text);
    }

private:
    TextBox& box_;
};

TextBox::TextBox(Form* owner, QString name, int index, bool multiLine)
    : Control(owner, std::move(name), index), multiLine_(multiLine)
{
    foreColor_ = 0x80000008; // window text
    backColor_ = 0x80000005; // window background
    if (multiLine_) {
        auto* edit = new ClassicPlainTextEdit(*this);
        edit->setTabChangesFocus(true);
        plain_ = edit;
        adoptWidget(edit);
        watchEvents(edit->viewport());
        QObject::connect(edit, &QPlainTextEdit::textChanged, context(), [this] {
            if (plain_)
                userEdited(plain_->toPlainText());
        });
    } else {
        auto* edit = new QLineEdit;
        edit->setMaxLength(INT_MAX);
        validator_ = std::make_unique<MaxLengthValidator>(*this);
        edit->setValidator(validator_.get());
        line_ = edit;
        adoptWidget(edit);
        QObject::connect(edit, &QLineEdit::textChanged, context(),
                         [this](const QString& text) { userEdited(text); });
    }
}

TextBox::~TextBox()
{
    // The box must not keep a validator that is about to go.
    if (line_)
        line_->setValidator(nullptr);
}

QWidget* TextBox::widget() const
{
    return multiLine_ ? static_cast<QWidget*>(plain_.data()) : static_cast<QWidget*>(line_.data());
}

QString TextBox::Text() const
{
    return text_;
}

QString TextBox::qtText(const QString& text) const
{
    if (!multiLine_)
        return text;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void TextBox::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    settingText_ = true;
    if (line_) {
        line_->setText(text);
        line_->setCursorPosition(0);
    } else if (plain_) {
        plain_->setPlainText(qtText(text));
    }
    settingText_ = false;
    Change();
}

void TextBox::userEdited(const QString& qtText)
{
    if (settingText_)
        return;
    QString text = qtText;
    if (multiLine_)
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (text == text_)
        return;
    text_ = text;
    Change();
}

int TextBox::toQtPosition(int classicPosition) const
{
    if (!multiLine_)
        return classicPosition;
    int qtPosition = 0;
    for (int i = 0; i < classicPosition && i < text_.size(); ++i) {
        if (text_.at(i) == QLatin1Char('\r') && i + 1 < text_.size() && text_.at(i + 1) == QLatin1Char('\n'))
            continue; // the pair is one character in the box
        ++qtPosition;
    }
    return qtPosition;
}

int TextBox::toClassicPosition(int qtPosition) const
{
    if (!multiLine_)
        return qtPosition;
    int classic = 0;
    int seen = 0;
    while (seen < qtPosition && classic < text_.size()) {
        if (text_.at(classic) == QLatin1Char('\r') && classic + 1 < text_.size() &&
            text_.at(classic + 1) == QLatin1Char('\n'))
            ++classic;
        ++classic;
        ++seen;
    }
    return classic;
}

int TextBox::SelStart() const
{
    if (line_)
        return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
    if (plain_)
        return toClassicPosition(plain_->textCursor().selectionStart());
    return 0;
}

int TextBox::SelLength() const
{
    if (line_)
        return static_cast<int>(line_->selectedText().size());
    if (plain_) {
        const QTextCursor cursor = plain_->textCursor();
        return toClassicPosition(cursor.selectionEnd()) - toClassicPosition(cursor.selectionStart());
    }
    return 0;
}

QString TextBox::SelText() const
{
    const int start = SelStart();
    return text_.mid(start, SelLength());
}

void TextBox::selectQt(int start, int length)
{
    if (line_) {
        const int size = static_cast<int>(line_->text().size());
        start = std::clamp(start, 0, size);
        length = std::clamp(length, 0, size - start);
        if (length == 0)
            line_->setCursorPosition(start);
        else
            line_->setSelection(start, length);
    } else if (plain_) {
        QTextCursor cursor = plain_->textCursor();
        const int size = plain_->document()->characterCount() - 1;
        start = std::clamp(start, 0, size);
        length = std::clamp(length, 0, size - start);
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        plain_->setTextCursor(cursor);
        plain_->ensureCursorVisible();
    }
}

void TextBox::setSelStart(int start)
{
    selectQt(toQtPosition(std::max(0, start)), 0);
}

void TextBox::setSelLength(int length)
{
    const int start = SelStart();
    const int qtStart = toQtPosition(start);
    selectQt(qtStart, toQtPosition(start + std::max(0, length)) - qtStart);
}

void TextBox::setSelText(const QString& text)
{
    settingText_ = true;
    QString after;
    if (line_) {
        line_->insert(text);
        after = line_->text();
    } else if (plain_) {
        plain_->textCursor().insertText(qtText(text));
        after = plain_->toPlainText();
        after.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    } else {
        after = text_;
    }
    settingText_ = false;
    if (after != text_) {
        text_ = after;
        Change();
    }
}

void TextBox::setMaxLength(int maxLength)
{
    maxLength_ = std::max(0, maxLength);
}

int TextBox::roomLeft() const
{
    if (maxLength_ <= 0)
        return INT_MAX;
    const int length = line_    ? static_cast<int>(line_->text().size())
                       : plain_ ? plain_->document()->characterCount() - 1
                                : static_cast<int>(text_.size());
    int selected = 0;
    if (line_)
        selected = static_cast<int>(line_->selectedText().size());
    else if (plain_)
        selected = plain_->textCursor().selectionEnd() - plain_->textCursor().selectionStart();
    return std::max(0, maxLength_ - (length - selected));
}

void TextBox::setLocked(bool locked)
{
    locked_ = locked;
    if (line_)
        line_->setReadOnly(locked);
    else if (plain_)
        plain_->setReadOnly(locked);
}

void TextBox::setAlignment(int alignment)
{
    alignment_ = alignment;
    if (line_)
        line_->setAlignment(qtAlignment(alignment));
}

bool TextBox::onKeyPress(QWidget* target, QKeyEvent* event)
{
    if (synthesizing_)
        return false;
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
        if (multiLine_) {
            if (locked_)
                return true;
            if (roomLeft() < 1) {
                detail::refuseBeep();
                return true;
            }
            if (typed == 13)
                return false;
            detail::sendTypedKey(target, vbKeyReturn, synthesizing_);
            return true;
        }
        if (!pressDefaultButton())
            detail::refuseBeep();
        return true;
    }
    if (key == vbKeyEscape) {
        pressCancelButton();
        return true;
    }
    const bool printable = key >= 32;
    if (multiLine_ && printable && !locked_ && roomLeft() < 1) {
        detail::refuseBeep();
        return true;
    }
    if (key == typed)
        return false; // the box handles its own key (typing, Backspace, clipboard shortcuts)
    detail::sendTypedKey(target, key, synthesizing_);
    return true;
}

} // namespace ui
