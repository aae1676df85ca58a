#pragma once

#include <QMainWindow>
#include <QWidget>

namespace ui {

class Form;

// Internal to the window layer: lets the Qt windows reach a form's event methods.
class FormWindowBridge {
public:
    static void activate(Form& form);
    static void deactivate(Form& form);
    static void paint(Form& form);
    static void resize(Form& form);
    // The user asked to close the window from its frame; true when the form unloaded.
    static bool closeFromFrame(Form& form);
    static void windowActivated(Form& form);
};

// The top-level window of a form: menu bar plus the content widget. Its close box asks the form
// (QueryUnload with mode 0) instead of closing on its own.
class FormWindow : public QMainWindow {
public:
    explicit FormWindow(Form& form);
    Form& form() const { return form_; }
    // While set, close events pass (the form itself is closing the window).
    void setClosingByCode(bool closing) { closingByCode_ = closing; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    Form& form_;
    bool closingByCode_ = false;
};

// The content area of a form: its paint and resize events are the form's Paint and Resize.
class FormCanvas : public QWidget {
public:
    explicit FormCanvas(Form& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Form& form_;
};

} // namespace ui
