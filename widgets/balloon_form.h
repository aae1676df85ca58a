#pragma once

#include "boardui/form_names.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QPointer>
#include <QString>

class QPainter;

// The balloon tooltip's window: borderless, shaped as a rounded speech bubble with a tail at the bottom
// left, showing an optional icon, a bold title and a text. Made and driven only by clsTTBalloon. A click
// anywhere on it hides and unloads it.
class ttbForm : public ui::Form {
public:
    static inline const QString& FormName = formnames::ttbForm;

    ttbForm();
    ~ttbForm() override;

    // Places, in pixels (the window's design grid).
    static constexpr int kIconLeft = 10;
    static constexpr int kIconTop = 10;
    static constexpr int kIconSize = 16;
    static constexpr int kTitleTop = 9;
    static constexpr int kTitleIconGap = 24; // title left with an icon: icon left + this
    static constexpr int kTextLeft = 10;
    static constexpr int kTextTop = 32;

    // Every tick keeps the balloon over its control while that moves (disabled until a balloon tracks).
    ui::TimerControl tmrTrack{this, QStringLiteral("tmrTrack"), 1, false};
    // Icon pictures 0-6; 0 is none.
    ui::ControlArray<ui::Image> imgIcons{this, QStringLiteral("imgIcons"), 7};
    ui::Image imgIcon{this, QStringLiteral("imgIcon")};
    ui::Label lblTitle{this, QStringLiteral("lblTitle")};
    ui::Label lblText{this, QStringLiteral("lblText")};

    // Draws a rounded rectangle with a pen three pixels wide, then puts the painter's pen width back.
    void DrawRoundedRect(QPainter& painter, int x1, int y1, int x2, int y2, int cornerWidth,
                         int cornerHeight);
    // Shapes the window to the bubble of its present size (body and tail) and redraws its outline.
    void CreateBubbleForm();
    QString GetWindowsVersion() const;
    // The 95-family and the 2000/XP tests of the classic systems; neither holds on this platform.
    bool Is9xMe() const;
    bool Is2kXp() const;
    // With a control set: moves the window so its tail points at the control's top centre, and shows it on
    // top without activating it.
    void CenterOverControl();

    // The control the balloon points at (nullptr: none; a control whose widget is gone counts as none).
    ui::Control* pointedControl() const;
    void setPointedControl(ui::Control* control);

    // Shows the window on top, neither activating it nor moving it.
    void showWithoutActivating();
    // Shapes the window to the non-transparent pixels of `picture` within `bounds`.
    void applyRegionFromPicture(const QImage& picture, const QRect& bounds, const QColor& transparent);
    // The shape the window has now (empty before CreateBubbleForm).
    QRegion windowRegion() const;

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;

private:
    class Bubble;
    friend class Bubble;
    void paintOutline(QPainter& painter);
    void closeByClick();

    QPointer<Bubble> bubble_;
    ui::Control* control_ = nullptr;
    QPointer<QWidget> controlWidget_;
};
