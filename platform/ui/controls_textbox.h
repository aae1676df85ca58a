#pragma once

#include "platform/ui/control.h"

#include <QPointer>

class QLineEdit;
class QPlainTextEdit;

namespace ui {

class MaxLengthValidator;

// Classic text box, single-line (QLineEdit) or multi-line (QPlainTextEdit), chosen at construction.
//
// Events:
// - Change: setting Text in code fires it when the text differs; a user's edit (typing, deleting,
//   pasting, undo) fires it once.
// - KeyPress(keyAscii): for each typed character and for Backspace (8), Enter (13), Escape (27) and the
//   Ctrl+letter codes (1-26), before the box sees the key. The handler may drop the key (0) or rewrite it
//   into another character. Enter that is not dropped presses the form's Default button; without one a
//   single-line box beeps, a multi-line box starts a new line. Escape presses the form's Cancel button.
// - Validate(cancel), GotFocus, LostFocus (see Control), Click, DblClick, KeyDown, KeyUp, mouse events.
//   A click that brings the focus back to the box from another window (or into a window that was not
//   active) fires GotFocus as a click that moves the focus to it within its window does, although the box
//   stayed its window's active control; a box that selects its text then keeps that selection through the
//   click.
//
// MaxLength (0: no limit) holds for typing, pasting and dropping; text set in code may be longer, and
// lowering MaxLength never cuts the text already there. Text of a multi-line box separates lines with
// "\r\n"; SelStart and SelLength count those as two characters.
class TextBox : public Control {
public:
    TextBox(Form* owner, QString name, int index = -1, bool multiLine = false);
    ~TextBox() override;
    QWidget* widget() const override;

    bool MultiLine() const { return multiLine_; }
    QString Text() const;
    void setText(const QString& text);
    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const;
    void setSelText(const QString& text); // replaces the selection (or inserts at the caret); fires Change
    int MaxLength() const { return maxLength_; }
    void setMaxLength(int maxLength);
    bool Locked() const { return locked_; }
    void setLocked(bool locked);
    int Alignment() const { return alignment_; }
    void setAlignment(int alignment); // single-line boxes only

    Event<> Change;
    Event<int&> KeyPress;
    Event<> Click;
    Event<> DblClick;

protected:
    bool onKeyPress(QWidget* target, QKeyEvent* event) override;
    void onClick() override { Click(); }
    void onDblClick() override { DblClick(); }
    void onFocusBackByClick() override { GotFocus(); }

private:
    friend class MaxLengthValidator;
    friend class ClassicPlainTextEdit;
    void userEdited(const QString& qtText);
    int roomLeft() const; // characters that may still be typed over the selection (INT_MAX without limit)
    QString qtText(const QString& text) const;
    int toQtPosition(int classicPosition) const;
    int toClassicPosition(int qtPosition) const;
    void selectQt(int start, int length);

    bool multiLine_;
    QPointer<QLineEdit> line_;
    QPointer<QPlainTextEdit> plain_;
    std::unique_ptr<MaxLengthValidator> validator_;
    QString text_; // as the classic toolkit gives it (multi-line: "\r\n" line breaks)
    int maxLength_ = 0;
    bool locked_ = false;
    int alignment_ = 0;
    bool settingText_ = false;
    bool synthesizing_ = false;
};

namespace detail {
// Sends `target` the key that types `keyAscii` (8 Backspace, 13 Enter, 1-26 Ctrl+letter, else the
// character); `synthesizing` is set while it is delivered so that the sender's filter lets it pass.
void sendTypedKey(QWidget* target, int keyAscii, bool& synthesizing);
// The beep of a box that refuses a key.
void refuseBeep();
} // namespace detail

} // namespace ui
