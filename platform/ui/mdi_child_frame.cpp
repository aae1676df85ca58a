#include "platform/ui/mdi_child_frame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <algorithm>

namespace ui::detail {

namespace {

class MdiChildSizeWatch : public QObject {
public:
    explicit MdiChildSizeWatch(QMdiSubWindow& subWindow) : QObject(&subWindow), subWindow_(subWindow)
    {
        subWindow.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && QGuiApplication::mouseButtons() == Qt::NoButton)
            keepInsideMdiArea(subWindow_);
        return QObject::eventFilter(watched, event);
    }

private:
    QMdiSubWindow& subWindow_;
};

} // namespace

QMdiSubWindow* addMdiChildFrame(QMdiArea& area, QWidget& window)
{
    QMdiSubWindow* subWindow = area.addSubWindow(&window);
    subWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    subWindow->hide();
    new MdiChildSizeWatch(*subWindow);
    return subWindow;
}

void keepInsideMdiArea(QMdiSubWindow& subWindow)
{
    if (subWindow.isHidden())
        return;
    QMdiArea* area = subWindow.mdiArea();
    if (!area || subWindow.isMaximized() || subWindow.isMinimized())
        return;
    const QSize view = area->viewport()->size();
    const QRect frame = subWindow.geometry();
    const int left = std::max(0, std::min(frame.left(), view.width() - frame.width()));
    const int top = std::max(0, std::min(frame.top(), view.height() - frame.height()));
    if (left != frame.left() || top != frame.top())
        subWindow.move(left, top);
}

QSize mdiChildFrameSize(const QMdiSubWindow& subWindow, QSize content)
{
    QStyle* style = subWindow.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &subWindow);
    const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &subWindow);
    return content + QSize(2 * border, title + border);
}

} // namespace ui::detail
