#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class ttbForm;

namespace ui {
class Control;
class Form;
} // namespace ui

// Makes, fills, shows and hides one balloon tooltip window (ttbForm) that points at a control and, when
// CenterOverControl is on, follows it while it moves.
class clsTTBalloon {
public:
    clsTTBalloon();
    // Hides the balloon and lets its window go.
    ~clsTTBalloon();
    clsTTBalloon(const clsTTBalloon&) = delete;
    clsTTBalloon& operator=(const clsTTBalloon&) = delete;

    bool CenterOverControl() const { return centerOverControl_; }
    // Stores the flag and switches the window's tracking timer to it at once.
    void setCenterOverControl(bool center);
    // Hides the window and unloads it.
    void HideballoonForm();
    // The form a control belongs to (nullptr for none).
    static ui::Form* GetParentForm(ui::Control* control);
    // Fills the window with Title, ToolTipText and Icon, sizes and shapes it, points it at Control (owned
    // by the control's form, tracking it when CenterOverControl is on) and shows it on top without
    // activating it. Without a control it shows where it is, without tracking.
    void ShowballoonForm();
    // Icon 0 is none; 1-6 information, warning, error, question, computer, network. Other values show no
    // icon.
    int32_t Icon() const { return icon_; }
    void setIcon(int32_t icon) { icon_ = icon; }
    // The control last set; nullptr once it has gone.
    ui::Control* Control() const;
    void setControl(ui::Control* control);
    QString ToolTipText() const { return toolTipText_; }
    void setToolTipText(const QString& text) { toolTipText_ = text; }
    QString Title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    // Makes `owner` (a window handle, 0 for none) the owner of `form`, kept above it; returns the handle
    // of the previous owner (0 for none).
    static uint32_t MakeFormModeless(ui::Form& form, uint32_t owner);

    // The window (made with the object; loaded while shown).
    ttbForm& form() { return *form_; }

private:
    QString title_;
    QString toolTipText_;
    int32_t icon_ = 0;
    std::unique_ptr<ttbForm> form_;
    bool centerOverControl_ = true;
};
