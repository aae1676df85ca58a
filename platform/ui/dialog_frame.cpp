#include "platform/ui/dialog_frame.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(TESSARON_HAVE_XCB) && QT_CONFIG(xcb)
#define TESSARON_TELLS_X11 1
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>
#endif

namespace ui::detail {

#if defined(TESSARON_TELLS_X11)

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t* x11Connection()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name)
{
    const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The value of a window's property, or nothing.
ReplyPtr<xcb_get_property_reply_t> propertyOf(xcb_connection_t* connection, xcb_window_t window,
                                              xcb_atom_t name, xcb_atom_t type)
{
    ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 64), nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || xcb_get_property_value_length(reply.get()) <= 0)
        return nullptr;
    return reply;
}

} // namespace

bool underOpenbox()
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return false;
    // A window manager that follows the desktop conventions names itself on the window the root points at.
    const auto check = propertyOf(connection, screen->root, atomNamed(connection, "_NET_SUPPORTING_WM_CHECK"),
                                  XCB_ATOM_WINDOW);
    if (!check || xcb_get_property_value_length(check.get()) < static_cast<int>(sizeof(xcb_window_t)))
        return false;
    const xcb_window_t wmWindow = *static_cast<const xcb_window_t*>(xcb_get_property_value(check.get()));
    const auto name = propertyOf(connection, wmWindow, atomNamed(connection, "_NET_WM_NAME"),
                                 atomNamed(connection, "UTF8_STRING"));
    if (!name)
        return false;
    const QByteArray text(static_cast<const char*>(xcb_get_property_value(name.get())),
                          xcb_get_property_value_length(name.get()));
    return text.trimmed().compare("Openbox", Qt::CaseInsensitive) == 0;
}

void offerOnlyCloseButton(QWidget& window)
{
    if (!window.isWindow() || !underOpenbox())
        return;
    xcb_connection_t* connection = x11Connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    // The menu kind first, the dialog kind after it for whoever reads a list.
    const xcb_atom_t types[] = {atomNamed(connection, "_NET_WM_WINDOW_TYPE_MENU"),
                                atomNamed(connection, "_NET_WM_WINDOW_TYPE_DIALOG")};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atomNamed(connection, "_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 2, types);
    xcb_flush(connection);
}

#else

bool underOpenbox()
{
    return false;
}

void offerOnlyCloseButton(QWidget&)
{
}

#endif

} // namespace ui::detail
