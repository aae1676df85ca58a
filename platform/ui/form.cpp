#include "platform/ui/form.h"

#include "platform/ui/control.h"
#include "platform/ui/event_nesting.h"
#include "platform/ui/form_parts.h"
#include "platform/ui/form_registry.h"
#include "platform/ui/form_window.h"
#include "platform/ui/mdi_form.h"
#include "platform/ui/modal_hook.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/virtual_clock.h"

#include "platform/ui/app.h"

#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRandomGenerator>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace ui {

namespace {

ModalShowHook& modalShowHook()
{
    static ModalShowHook hook;
    return hook;
}

struct ModalTimeout {
    ModalTimeoutHook hook;
    int64_t limitMs = 60'000;
};

ModalTimeout& modalTimeout()
{
    static ModalTimeout timeout;
    return timeout;
}

// Window handles look like the classic ones: non-zero, 32-bit, a multiple of 4, not reused before 2^29
// windows were made. They start at a random place and have the top bit set, so they never meet a handle a
// window chose itself (setHWnd: the main window's identity of the running copy).
uint32_t nextWindowHandle()
{
    static uint32_t next = QRandomGenerator::system()->generate() & 0x7FFFFFFCu;
    next = (next + 4) & 0x7FFFFFFCu;
    return 0x80000000u | next;
}

Qt::WindowStates withState(Qt::WindowStates states, int state)
{
    states &= ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (state == vbMinimized)
        states |= Qt::WindowMinimized;
    else if (state == vbMaximized)
        states |= Qt::WindowMaximized;
    return states;
}

// Re-applying window flags hides a window; it is shown again when it was visible.
void setFlagKeepingVisibility(QWidget* window, Qt::WindowType flag, bool on)
{
    const bool wasVisible = window->isVisible();
    window->setWindowFlag(flag, on);
    if (wasVisible)
        window->show();
}

// Naming the frame's buttons ourselves (customised) is the only way to leave the close box out.
Qt::WindowFlags withoutCloseButton(Qt::WindowFlags flags)
{
    if (!flags.testFlag(Qt::CustomizeWindowHint))
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint;
    flags.setFlag(Qt::WindowCloseButtonHint, false);
    return flags;
}

// A modal dialog's frame: a title, the system menu and (when offered) the close box, no minimise or
// maximise buttons.
Qt::WindowFlags modalDialogFlags(Qt::WindowFlags flags, bool closeButton)
{
    flags &= ~Qt::WindowType_Mask;
    flags |= Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    flags &= ~(Qt::WindowMinMaxButtonsHint | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    flags.setFlag(Qt::WindowCloseButtonHint, closeButton);
    return flags;
}

// A modal dialog that did not place itself opens centred over the window it belongs to (or the screen), never
// over the main window's menu in the corner a desktop without a window manager would give it.
void placeModalDialog(QWidget& window)
{
    if (window.testAttribute(Qt::WA_Moved))
        return;
    QWidget* over = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (!over) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != &window && top->isVisible() && qobject_cast<QMainWindow*>(top) &&
                top->width() > window.width()) {
                over = top;
                break;
            }
    }
    QRect area = over ? over->frameGeometry() : QRect();
    if (const QScreen* screen = window.screen(); screen && (area.isEmpty() || !over->isVisible()))
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    QRect placed(QPoint(0, 0), window.frameGeometry().size());
    placed.moveCenter(area.center());
    if (const QScreen* screen = window.screen()) {
        const QRect visible = screen->availableGeometry();
        placed.moveLeft(std::max(visible.left(), std::min(placed.left(), visible.right() - placed.width())));
        placed.moveTop(std::max(visible.top(), std::min(placed.top(), visible.bottom() - placed.height())));
    }
    window.move(placed.topLeft());
}

} // namespace

// Sends an MDI child that grows by code (a layout or a run mode asking for more room) back inside the
// area. A resize the user makes with the mouse is left alone: nothing moves under the user's hand.
class MdiChildSizeWatch : public QObject {
public:
    MdiChildSizeWatch(Form& form, QMdiSubWindow* subWindow) : QObject(subWindow), form_(form)
    {
        subWindow->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && QGuiApplication::mouseButtons() == Qt::NoButton)
            form_.keepInsideMdiArea();
        return QObject::eventFilter(watched, event);
    }

private:
    Form& form_;
};

void setModalShowHook(ModalShowHook hook)
{
    modalShowHook() = std::move(hook);
}

void setModalTimeoutHook(ModalTimeoutHook hook, int64_t limitMs)
{
    modalTimeout().hook = std::move(hook);
    modalTimeout().limitMs = limitMs;
}

struct Form::Impl {
    uint32_t hwnd = nextWindowHandle();
    QPointer<FormWindow> window;
    QPointer<FormCanvas> canvas;
    QPointer<QMdiSubWindow> subWindow;
    QString caption;
    bool captionSet = false;
    bool enabled = true;
    int windowState = vbNormal;
    int mousePointer = vbDefault;
    bool topMost = false;
    bool closeButton = true;
    bool loaded = false;
    bool loading = false;
    bool unloading = false;
    bool uiBuilt = false;
    bool modal = false;
    // An MDI child's frame is made before its controls are laid out; it takes its content's size when
    // first shown unless the form has placed it itself.
    bool frameSized = false;
    // Watches the MDI frame's size: a child that grows by code stays wholly inside the area.
    QPointer<QObject> sizeWatch;
    QEventLoop* modalLoop = nullptr;
};

Form::Form(QString name) : name_(std::move(name)), impl_(std::make_unique<Impl>())
{
    detail::registry().all.push_back(this);
}

Form::~Form()
{
    auto& reg = detail::registry();
    std::erase(reg.all, this);
    std::erase(reg.loaded, this);
    reg.awaitingActivation.erase(this);
    reg.retired.erase(this);
    if (reg.active == this)
        reg.active = nullptr;
    endModalLoop();

    // Windows of other forms that live inside ours (MDI children, owned windows) must not go with it.
    QWidget* ours = impl_->window;
    for (Form* other : reg.all) {
        if (other->ownerForm_ == this)
            other->ownerForm_ = nullptr;
        QWidget* theirs = other->impl_->window;
        if (!ours || !theirs)
            continue;
        for (QWidget* up = theirs->parentWidget(); up; up = up->parentWidget()) {
            if (up == ours) {
                theirs->hide();
                theirs->setParent(nullptr, Qt::Window);
                break;
            }
        }
    }
    if (impl_->subWindow) {
        impl_->subWindow->setWidget(nullptr);
        delete impl_->subWindow.data();
    }
    delete impl_->window.data();
}

// ---- loading and showing --------------------------------------------------------------------------------

void Form::createWindow()
{
    QGuiApplication::setQuitOnLastWindowClosed(false);
    impl_->window = new FormWindow(*this);
    impl_->canvas = new FormCanvas(*this, impl_->window);
    impl_->window->setCentralWidget(impl_->canvas);
    impl_->window->setWindowTitle(Caption());
    impl_->window->setEnabled(impl_->enabled);
    if (const auto shape = cursorShapeForPointer(impl_->mousePointer))
        impl_->window->setCursor(*shape);
    if (mdiChild_) {
        if (MdiForm* frame = MdiForm::current(); frame && frame != this) {
            impl_->subWindow = frame->mdiArea()->addSubWindow(impl_->window);
            // The form decides when its window goes, not the close box.
            impl_->subWindow->setAttribute(Qt::WA_DeleteOnClose, false);
            impl_->subWindow->hide();
            impl_->sizeWatch = new MdiChildSizeWatch(*this, impl_->subWindow);
        }
    }
    if (!impl_->subWindow) {
        if (impl_->topMost)
            impl_->window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (!impl_->closeButton)
            impl_->window->setWindowFlags(withoutCloseButton(impl_->window->windowFlags()));
    }
    frameWidget()->setWindowState(withState(frameWidget()->windowState(), impl_->windowState));
}

void Form::Load()
{
    if (impl_->loaded || impl_->loading || detail::isRetired(this))
        return;
    impl_->loading = true;
    struct LoadingFlag {
        bool& flag;
        ~LoadingFlag() { flag = false; }
    } loadingFlag{impl_->loading};

    impl_->loaded = true;
    detail::addLoaded(this);
    if (!impl_->window)
        createWindow();
    if (!impl_->uiBuilt) {
        impl_->uiBuilt = true;
        buildUi(impl_->canvas);
        windowBuilt(impl_->canvas);
        detail::attachMenus(*this, *impl_->window);
    }
    applyOwner();
    for (Form* other : detail::registry().all)
        if (other != this && other->ownerForm_ == this)
            other->applyOwner();
    detail::updateFormTimers(*this);
    Form_Load();
    if (impl_->loaded)
        Forms::notify(*this, Forms::Lifecycle::Loaded);
}

void Form::Show(int modal)
{
    if (detail::isRetired(this))
        return;
    Load();
    if (!IsLoaded())
        return;
    QWidget* frame = frameWidget();
    const bool wantModal = modal != 0 && !impl_->modal;
    if (wantModal && !impl_->subWindow) {
        // Modality can only change while the window is hidden.
        if (frame->isVisible())
            frame->hide();
        impl_->window->setWindowModality(Qt::ApplicationModal);
        impl_->window->setWindowFlags(modalDialogFlags(impl_->window->windowFlags(), impl_->closeButton));
    }
    if (impl_->subWindow && !impl_->frameSized)
        sizeFrameToContent();
    {
        const detail::ProgramActivation byProgram;
        const bool wasHidden = frame->isHidden();
        if (wantModal && !impl_->subWindow) {
            // A modal dialog keeps the size it opens with, wide enough for its caption: a fixed border
            // the user cannot drag, and a window manager offers no maximise button for it.
            if (wasHidden && !impl_->window->testAttribute(Qt::WA_Resized))
                impl_->window->adjustSize();
            impl_->window->setFixedSize(std::max(impl_->window->width(), widthForCaption(Caption())),
                                        impl_->window->height());
            if (wasHidden)
                placeModalDialog(*impl_->window);
        }
        frame->setWindowState(withState(frame->windowState(), impl_->windowState));
        frame->show();
        frame->raise();
        if (impl_->subWindow && wasHidden)
            keepInsideMdiArea();
        if (impl_->subWindow) {
            impl_->window->show();
            if (QMdiArea* area = impl_->subWindow->mdiArea())
                area->setActiveSubWindow(impl_->subWindow);
        } else {
            askActivation();
        }
        detail::setActiveForm(this);
    }
    if (!wantModal)
        return;

    impl_->modal = true;
    struct ModalFlag {
        Form& form;
        ~ModalFlag()
        {
            form.impl_->modal = false;
            if (form.impl_->window && !form.impl_->window->isVisible()) {
                form.impl_->window->setWindowModality(Qt::NonModal);
                form.impl_->window->setMinimumSize(0, 0);
                form.impl_->window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            }
        }
    } modalFlag{*this};

    if (modalShowHook()) {
        modalShowHook()(*this);
        if (!IsLoaded() || !Visible())
            return;
    }
    runModalLoop();
}

void Form::sizeFrameToContent()
{
    impl_->frameSized = true;
    impl_->subWindow->resize(frameSizeForContent());
}

QSize Form::frameSizeForContent() const
{
    if (!impl_->canvas)
        return {};
    // The canvas's wish plus the menu bar, the frame's borders and its title bar.
    QSize content = impl_->canvas->sizeHint().expandedTo(impl_->canvas->minimumSizeHint());
    if (QWidget* bar = impl_->window->menuWidget(); bar && !bar->isHidden())
        content.rheight() += bar->sizeHint().height();
    if (!impl_->subWindow)
        return content;
    QStyle* style = impl_->subWindow->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, impl_->subWindow);
    const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, impl_->subWindow);
    return content + QSize(2 * border, title + border);
}

void Form::runModalLoop()
{
    detail::NestingScope nesting;
    auto stillShown = [this] { return IsLoaded() && impl_->modal && Visible(); };
    if (VirtualClock* clock = installedVirtualClock()) {
        // Tests: the wait moves the virtual clock, so timers and scripted answers can end it.
        const int64_t start = clock->now();
        while (stillShown()) {
            if (clock->now() - start > modalTimeout().limitMs) {
                if (modalTimeout().hook)
                    modalTimeout().hook(*this);
                Hide();
                break;
            }
            DoEvents();
        }
        return;
    }
    if (!stillShown())
        return;
    QEventLoop loop;
    impl_->modalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    impl_->modalLoop = nullptr;
}

void Form::endModalLoop()
{
    if (impl_->modalLoop)
        impl_->modalLoop->quit();
}

void Form::Hide()
{
    if (!impl_->window)
        return;
    {
        const detail::ProgramActivation byProgram;
        frameWidget()->hide();
    }
    detail::registry().awaitingActivation.erase(this);
    if (detail::registry().active == this)
        detail::registry().active = nullptr;
    endModalLoop();
}

bool Form::IsLoaded() const
{
    return impl_->loaded;
}

bool Form::IsShownModal() const
{
    return impl_->modal;
}

// ---- unloading ------------------------------------------------------------------------------------------

bool Form::runQueryUnload(int unloadMode)
{
    int cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    Forms::notify(*this, Forms::Lifecycle::QueryUnload, unloadMode);
    return cancel == 0;
}

bool Form::runUnloadEvent()
{
    int cancel = 0;
    Form_Unload(cancel);
    return cancel == 0;
}

bool Form::Unload(int unloadMode)
{
    if (!impl_->loaded)
        return true;
    if (impl_->unloading)
        return true; // Unload from its own QueryUnload/Unload handler: the running unload goes on
    impl_->unloading = true;
    struct UnloadingFlag {
        bool& flag;
        ~UnloadingFlag() { flag = false; }
    } unloadingFlag{impl_->unloading};

    if (!runQueryUnload(unloadMode))
        return false;
    std::vector<Form*> children;
    if (auto* frame = dynamic_cast<MdiForm*>(this))
        children = frame->children();
    for (Form* child : children)
        if (child->IsLoaded() && !child->runQueryUnload(vbFormMDIForm))
            return false;
    for (Form* child : children) {
        if (!child->IsLoaded())
            continue;
        if (!child->runUnloadEvent())
            return false;
        child->tearDown();
        Forms::notify(*child, Forms::Lifecycle::Unloaded, vbFormMDIForm);
    }
    if (!impl_->loaded)
        return true; // a handler above unloaded it another way
    if (!runUnloadEvent())
        return false;
    tearDown();
    Forms::notify(*this, Forms::Lifecycle::Unloaded, unloadMode);
    return true;
}

void Form::tearDown()
{
    if (!impl_->loaded)
        return;
    impl_->loaded = false;
    detail::removeLoaded(this);
    detail::updateFormTimers(*this);
    if (impl_->window) {
        const detail::ProgramActivation byProgram;
        impl_->window->setClosingByCode(true);
        frameWidget()->hide();
        impl_->window->setClosingByCode(false);
    }
    if (detail::registry().active == this)
        detail::registry().active = nullptr;
    endModalLoop();
}

// ---- properties -----------------------------------------------------------------------------------------

QString Form::Caption() const
{
    return impl_->captionSet ? impl_->caption : name_;
}

void Form::setCaption(const QString& caption)
{
    impl_->caption = caption;
    impl_->captionSet = true;
    if (impl_->window)
        impl_->window->setWindowTitle(caption);
}

bool Form::Visible() const
{
    const QWidget* frame = frameWidget();
    return impl_->loaded && frame && !frame->isHidden();
}

void Form::setVisible(bool visible)
{
    if (visible)
        Show();
    else
        Hide();
}

bool Form::Enabled() const
{
    return impl_->enabled;
}

void Form::setEnabled(bool enabled)
{
    impl_->enabled = enabled;
    if (impl_->window)
        impl_->window->setEnabled(enabled);
}

int Form::WindowState() const
{
    const QWidget* frame = frameWidget();
    if (!frame)
        return impl_->windowState;
    const Qt::WindowStates states = frame->windowState();
    if (states & Qt::WindowMinimized)
        return vbMinimized;
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return vbMaximized;
    return vbNormal;
}

void Form::setWindowState(int state)
{
    if (state != vbNormal && state != vbMinimized && state != vbMaximized)
        return;
    impl_->windowState = state;
    if (QWidget* frame = frameWidget())
        frame->setWindowState(withState(frame->windowState(), state));
}

int Form::MousePointer() const
{
    return impl_->mousePointer;
}

void Form::setMousePointer(int pointer)
{
    const auto shape = cursorShapeForPointer(pointer);
    impl_->mousePointer = shape ? pointer : vbDefault;
    if (!impl_->window)
        return;
    if (shape)
        impl_->window->setCursor(*shape);
    else
        impl_->window->unsetCursor();
}

uint32_t Form::hWnd() const
{
    return impl_->hwnd;
}

void Form::setHWnd(uint32_t hwnd)
{
    impl_->hwnd = hwnd;
}

void Form::ZOrder(int position)
{
    QWidget* frame = frameWidget();
    if (!frame)
        return;
    const detail::ProgramActivation byProgram;
    if (position == 0) {
        frame->raise();
        if (impl_->subWindow && impl_->subWindow->mdiArea() && frame->isVisible())
            impl_->subWindow->mdiArea()->setActiveSubWindow(impl_->subWindow);
    } else {
        frame->lower();
    }
}

void Form::SetFocus()
{
    if (!Visible())
        return;
    const detail::ProgramActivation byProgram;
    ZOrder(0);
    if (!impl_->subWindow)
        askActivation();
    detail::setActiveForm(this);
}

void Form::askActivation()
{
    // The window system answers later, once the window is on the screen; until then that answer is
    // still the program's doing, not the user's.
    if (!impl_->window->isActiveWindow())
        detail::registry().awaitingActivation.insert(this);
    impl_->window->activateWindow();
}

void Form::Refresh()
{
    if (QWidget* frame = frameWidget(); frame && frame->isVisible())
        frame->repaint();
}

int Form::Left() const
{
    return frameWidget() ? frameWidget()->x() : 0;
}
int Form::Top() const
{
    return frameWidget() ? frameWidget()->y() : 0;
}
int Form::Width() const
{
    return frameWidget() ? frameWidget()->width() : 0;
}
int Form::Height() const
{
    return frameWidget() ? frameWidget()->height() : 0;
}

void Form::keepInsideMdiArea()
{
    if (!impl_->subWindow || impl_->subWindow->isHidden())
        return;
    QMdiArea* area = impl_->subWindow->mdiArea();
    if (!area || impl_->subWindow->isMaximized() || impl_->subWindow->isMinimized())
        return;
    // The area places a new child after the ones before it, and a window may place or size itself (and
    // grow when the run mode changes); one that would reach beyond the visible area moves back in (to its
    // left or top edge when it is larger than the area), so it lies wholly in view.
    const QSize view = area->viewport()->size();
    const QRect frame = impl_->subWindow->geometry();
    const int left = std::max(0, std::min(frame.left(), view.width() - frame.width()));
    const int top = std::max(0, std::min(frame.top(), view.height() - frame.height()));
    if (left != frame.left() || top != frame.top())
        impl_->subWindow->move(left, top);
}

void Form::Move(int left, int top, int width, int height)
{
    QWidget* frame = frameWidget();
    if (!frame)
        return;
    frame->move(left, top);
    if (width >= 0 || height >= 0) {
        impl_->frameSized = true;
        frame->resize(width >= 0 ? width : frame->width(), height >= 0 ? height : frame->height());
    }
    keepInsideMdiArea();
}

void Form::setTopMost(bool topMost)
{
    impl_->topMost = topMost;
    if (impl_->window && !impl_->subWindow)
        setFlagKeepingVisibility(impl_->window, Qt::WindowStaysOnTopHint, topMost);
}

void Form::setCloseButtonEnabled(bool enabled)
{
    impl_->closeButton = enabled;
    if (impl_->window && !impl_->subWindow &&
        enabled != impl_->window->windowFlags().testFlag(Qt::WindowCloseButtonHint)) {
        const bool wasVisible = impl_->window->isVisible();
        Qt::WindowFlags flags = impl_->window->windowFlags();
        if (enabled)
            flags |= Qt::WindowCloseButtonHint;
        else
            flags = withoutCloseButton(flags);
        impl_->window->setWindowFlags(flags);
        if (wasVisible)
            impl_->window->show();
    }
}

bool Form::closeButtonEnabled() const
{
    return impl_->closeButton;
}

void Form::Flash()
{
    if (QWidget* frame = frameWidget(); frame && frame->isVisible())
        QApplication::alert(frame->window(), 1000);
}

QWidget* Form::widget() const
{
    return impl_->window;
}

QWidget* Form::frameWidget() const
{
    if (impl_->subWindow)
        return impl_->subWindow;
    return impl_->window;
}

// ---- controls and procedures ----------------------------------------------------------------------------

Control* Form::control(const QString& name, int index) const
{
    for (Control* c : controls_)
        if (c->Name() == name && (index < 0 || c->Index() == index))
            return c;
    return nullptr;
}

void Form::addControl(Control* control)
{
    controls_.push_back(control);
}

void Form::removeControl(Control* control)
{
    std::erase(controls_, control);
}

bool Form::hasProc(const QString& name) const
{
    return procs_.count(name) != 0;
}

bool Form::callProc(const QString& name)
{
    const auto it = procs_.find(name);
    if (it == procs_.end())
        return false;
    const auto proc = it->second; // the procedure may register procedures itself
    proc();
    return true;
}

void Form::registerProc(const QString& name, std::function<void()> proc)
{
    procs_[name] = std::move(proc);
}

// ---- layout and ownership -------------------------------------------------------------------------------

void Form::buildUi(QWidget* window)
{
    // Without a layout of its own a form stacks its controls' widgets top to bottom.
    auto* layout = new QVBoxLayout(window);
    for (Control* c : controls_) {
        QWidget* w = c->widget();
        if (w && !w->parentWidget())
            layout->addWidget(w);
    }
    layout->addStretch(1);
}

void Form::setOwnerForm(Form* owner)
{
    ownerForm_ = owner == this ? nullptr : owner;
    applyOwner();
}

void Form::applyOwner()
{
    if (!impl_->window || impl_->subWindow)
        return;
    QWidget* ownerWindow = nullptr;
    if (ownerForm_ && ownerForm_->frameWidget())
        ownerWindow = ownerForm_->frameWidget()->window();
    if (impl_->window->parentWidget() == ownerWindow)
        return;
    // An owned window is a separate window that stays above its owner.
    const bool wasVisible = impl_->window->isVisible();
    impl_->window->setParent(ownerWindow, impl_->window->windowFlags() | Qt::Window);
    if (wasVisible)
        impl_->window->show();
}

} // namespace ui
