#pragma once

#include "platform/ui/control.h"

#include <QPixmap>
#include <QPointer>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace ui {

// Classic command button: a caption (with "&" accelerators) or a picture, Default (Enter anywhere on the
// form presses it) and Cancel (Escape presses it).
class CommandButton : public Control {
public:
    CommandButton(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& picture);
    // One Default and one Cancel button per form: setting one clears the flag on the others.
    bool Default() const { return default_; }
    void setDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void setCancel(bool isCancel);

    // Presses the button as the user would: fires Click when the button is enabled and visible. Returns
    // whether it was pressed.
    bool click();

    Event<> Click;

protected:
    bool onKeyPress(QWidget* target, QKeyEvent* event) override;

private:
    QPointer<QPushButton> button_;
    QString caption_;
    QPixmap picture_;
    bool default_ = false;
    bool cancel_ = false;
};

// Classic check box: Value 0 unchecked, 1 checked, 2 grayed. Setting Value fires Click when it changes; a
// user's click checks an unchecked or grayed box and unchecks a checked one, firing Click once.
class CheckBox : public Control {
public:
    CheckBox(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    int Value() const { return value_; }
    void setValue(int value); // values outside 0-2 are refused (no change)

    // A user's click (when enabled and visible); returns whether it happened.
    bool click();

    Event<> Click;

private:
    void showValue();
    void userChanged(int state);
    QPointer<QCheckBox> box_;
    QString caption_;
    int value_ = 0;
    bool settingValue_ = false;
};

// Classic option button. Option buttons form one group per container: the Frame, PictureBox or tab page
// their widget sits in, else the form. Turning one on turns the others of its group off without firing
// their Click. Setting Value true fires Click every time, also when it was already on (the classic rule);
// a user's click fires Click only when it turns the button on. A button whose widget is not placed yet
// belongs to no group: set the starting values once the form has laid out its controls.
class OptionButton : public Control {
public:
    OptionButton(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool Value() const { return value_; }
    void setValue(bool value);

    // A user's click (when enabled and visible); returns whether it happened.
    bool click();

    Event<> Click;

private:
    void turnOn(bool fireClick);
    void showValue();
    const QWidget* groupKey() const;
    QPointer<QRadioButton> button_;
    QString caption_;
    bool value_ = false;
    bool settingValue_ = false;
};

// Marks a widget as a container of controls (option-button groups end there).
void markAsContainer(QWidget* widget);
bool isContainer(const QWidget* widget);

} // namespace ui
