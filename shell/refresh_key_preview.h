#pragma once

// Ctrl+R anywhere in a register window re-reads it: the window sees that key before its controls do. The
// window's key handler gets the key code 18 and keeps the key from the control by setting it to 0.

#include <QObject>
#include <functional>

class QEvent;

namespace ui {
class Form;
}

namespace regwin {

class RefreshKeyPreview : public QObject {
public:
    RefreshKeyPreview(ui::Form& form, std::function<void(int&)> keyPress);
    ~RefreshKeyPreview() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ui::Form& form_;
    std::function<void(int&)> keyPress_;
};

} // namespace regwin
