#include "platform/ui/form.h"

#include "platform/ui/control.h"
#include "platform/ui/form_parts.h"
#include "platform/ui/form_registry.h"
#include "platform/ui/form_window.h"
#include "platform/ui/mdi_child_frame.h"
#include "platform/ui/mdi_form.h"
#include "platform/ui/minimised_modal_watch.h"
#include "platform/ui/modal_dialog_window.h"
#include "platform/ui/modal_loop.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/window_frame.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVBoxLayout>

namespace ui {

using detail::withState;

struct Form::Impl {
    uint32_t hwnd = detail::nextWindowHandle();
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
    detail::ModalLoop modalLoop;

    void keepInsideMdiArea() const
    {
        if (subWindow)
            detail::keepInsideMdiArea(*subWindow);
    }
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
    impl_->modalLoop.quit();

    // Windows of other forms that live inside ours (MDI children, owned windows) must not go with it.
    for (Form* other : reg.all) {
        if (other->ownerForm_ == this)
            other->ownerForm_ = nullptr;
        if (impl_->window && other->impl_->window)
            detail::takeOutOf(*other->impl_->window, *impl_->window);
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
        if (MdiForm* frame = MdiForm::current(); frame && frame != this)
            impl_->subWindow = detail::addMdiChildFrame(*frame->mdiArea(), *impl_->window);
    }
    if (!impl_->subWindow) {
        if (impl_->topMost)
            impl_->window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (!impl_->closeButton)
            impl_->window->setWindowFlags(detail::withoutCloseButton(impl_->window->windowFlags()));
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
        detail::MinimisedModalWatch::install();
        detail::becomeModalDialog(*impl_->window, impl_->closeButton);
    }
    if (impl_->subWindow && !impl_->frameSized) {
        impl_->frameSized = true;
        impl_->subWindow->resize(frameSizeForContent());
    }
    {
        const detail::ProgramActivation byProgram;
        const bool wasHidden = frame->isHidden();
        if (wantModal && !impl_->subWindow)
            detail::settleModalDialog(*impl_->window, Caption(), wasHidden);
        frame->setWindowState(withState(frame->windowState(), impl_->windowState));
        frame->show();
        frame->raise();
        if (wasHidden)
            impl_->keepInsideMdiArea();
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
            if (form.impl_->window)
                detail::leaveModalDialog(*form.impl_->window);
        }
    } modalFlag{*this};

    if (detail::ModalLoop::offerToShowHook(*this) && (!IsLoaded() || !Visible()))
        return;
    impl_->modalLoop.run(*this, [this] { return IsLoaded() && impl_->modal && Visible(); });
}

QSize Form::frameSizeForContent() const
{
    if (!impl_->canvas)
        return {};
    // The canvas's wish plus the menu bar, the frame's borders and its title bar.
    QSize content = impl_->canvas->sizeHint().expandedTo(impl_->canvas->minimumSizeHint());
    if (QWidget* bar = impl_->window->menuWidget(); bar && !bar->isHidden())
        content.rheight() += bar->sizeHint().height();
    return impl_->subWindow ? detail::mdiChildFrameSize(*impl_->subWindow, content) : content;
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
    impl_->modalLoop.quit();
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
    impl_->modalLoop.quit();
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
    impl_->keepInsideMdiArea();
}

void Form::setTopMost(bool topMost)
{
    impl_->topMost = topMost;
    if (impl_->window && !impl_->subWindow)
        detail::setFlagKeepingVisibility(impl_->window, Qt::WindowStaysOnTopHint, topMost);
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
            flags = detail::withoutCloseButton(flags);
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
    detail::setOwnerWindow(*impl_->window, ownerWindow);
}

} // namespace ui
