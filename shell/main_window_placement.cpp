#include "shell/main_window_placement.h"

#include "platform/ui/forms.h"
#include "shell/mdi_main.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindowStateChangeEvent>
#include <algorithm>

namespace {

// Puts the window's whole frame within `area`: as large as it is or as the area allows, moved in no further
// than needed. False when the frame lies within the area already.
bool fitFrameInto(QWidget& window, const QRect& area)
{
    const QRect frame = window.frameGeometry();
    if (area.isEmpty() || area.contains(frame))
        return false;
    const QRect inside = window.geometry();
    const QMargins margins(inside.left() - frame.left(), inside.top() - frame.top(),
                           frame.right() - inside.right(), frame.bottom() - inside.bottom());
    QRect fitted(frame.topLeft(), frame.size().boundedTo(area.size()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() - fitted.height() + 1));
    window.setGeometry(fitted.marginsRemoved(margins));
    return true;
}

// Watches the main window: when it leaves the maximised state for the normal one, its frame is fitted into
// the screen's available area once the window manager has placed it. The window system reports the new
// state, the new place and the new frame in several steps, and not always in that order, with places in
// between that are neither the old one nor the new one: the frame is checked when the window has not moved
// for a moment, and again after it was fitted, in case the frame it was fitted with was not the last.
class UnmaximisedFrameFit : public QObject {
public:
    static inline const QString Name = QStringLiteral("unmaximisedFrameFit");

    explicit UnmaximisedFrameFit(QWidget& window) : QObject(&window), window_(&window)
    {
        setObjectName(Name);
        settled_.setSingleShot(true);
        settled_.setInterval(kSettleMs);
        connect(&settled_, &QTimer::timeout, this, [this] { check(); });
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_)
            return false;
        if (event->type() == QEvent::WindowStateChange) {
            const Qt::WindowStates before = static_cast<const QWindowStateChangeEvent*>(event)->oldState();
            fitsLeft_ = (before & Qt::WindowMaximized) && isNormal() ? kFits : 0;
            settled_.stop();
            if (fitsLeft_ > 0)
                settled_.start();
        } else if (fitsLeft_ > 0 && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
            settled_.start();
        }
        return false;
    }

private:
    // How long the window manager's placement may pause between its steps.
    static constexpr int kSettleMs = 150;
    // A fit, and a second one should the first have been made with a frame the window system was changing.
    static constexpr int kFits = 2;

    bool isNormal() const { return (window_->windowState() & ~Qt::WindowActive) == Qt::WindowNoState; }

    void check()
    {
        const QScreen* screen = window_ ? window_->screen() : nullptr;
        if (fitsLeft_ <= 0 || !screen || !window_->isVisible() || !isNormal()) {
            fitsLeft_ = 0;
            return;
        }
        --fitsLeft_;
        if (!fitFrameInto(*window_, screen->availableGeometry()))
            fitsLeft_ = 0;
        else if (fitsLeft_ > 0)
            settled_.start();
    }

    QPointer<QWidget> window_;
    QTimer settled_;
    int fitsLeft_ = 0;
};

} // namespace

void placeMainWindow(mdiMain& main)
{
    QWidget* window = main.frameWidget();
    if (!window)
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        main.Move(area.x(), area.y(), area.width(), area.height());
    }
    if (!window->findChild<QObject*>(UnmaximisedFrameFit::Name, Qt::FindDirectChildrenOnly))
        new UnmaximisedFrameFit(*window); // lives as long as the window, as its child
    main.setWindowState(ui::vbMaximized);
}
