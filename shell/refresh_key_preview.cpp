#include "shell/refresh_key_preview.h"

#include "platform/ui/form.h"
#include "platform/ui/key_codes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace regwin {

RefreshKeyPreview::RefreshKeyPreview(ui::Form& form, std::function<void(int&)> keyPress)
    : form_(form), keyPress_(std::move(keyPress))
{
    qApp->installEventFilter(this);
}

RefreshKeyPreview::~RefreshKeyPreview()
{
    qApp->removeEventFilter(this);
}

bool RefreshKeyPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_R || !(key->modifiers() & Qt::ControlModifier))
        return false;
    QWidget* window = form_.widget();
    auto* target = qobject_cast<QWidget*>(watched);
    if (!window || !target || !(target == window || window->isAncestorOf(target)))
        return false;
    int keyAscii = ui::kKeyAsciiCtrlR;
    keyPress_(keyAscii);
    return keyAscii == 0;
}

} // namespace regwin
