#pragma once

#include "platform/ui/event.h"

#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QWidget;

namespace ui {

class Control;

// Unload modes passed to QueryUnload.
enum UnloadMode : int {
    vbFormControlMenu = 0,
    vbFormCode = 1,
    vbAppWindows = 2,
    vbAppTaskManager = 3,
    vbFormMDIForm = 4
};
// Window states.
enum WindowStateValue : int { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
// Mouse pointers.
enum MousePointerValue : int { vbDefault = 0, vbHourglass = 11, vbArrowHourglass = 13 };

// A window of the system. Subclasses declare their controls as members (constructed with `this`),
// lay them out in buildUi() and write their handlers as methods named control_Event.
//
// Load, Show, Hide and Unload are distinct steps. A form is in the registry of loaded forms (forms.h)
// from the start of Load until Unload; Unload takes effect at once, and code that runs on in a handler of
// an unloaded form does not bring it back (the object lives until the event loop is idle again).
class Form {
public:
    explicit Form(QString name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString& Name() const { return name_; }

    void Load();              // no-op when already loaded
    void Show(int modal = 0); // loads first; modal (1) returns when the form is hidden or unloaded
    void Hide();
    bool Unload(int unloadMode = vbFormCode); // false when QueryUnload or Unload cancelled
    bool IsLoaded() const;
    bool IsShownModal() const;

    QString Caption() const;
    void setCaption(const QString& caption);
    bool Visible() const;
    void setVisible(bool visible);
    bool Enabled() const;
    void setEnabled(bool enabled);
    int WindowState() const;
    void setWindowState(int state);
    int MousePointer() const;
    void setMousePointer(int pointer);
    uint32_t hWnd() const;         // stable, non-zero, unique per window
    void ZOrder(int position = 0); // 0 front, 1 back
    void SetFocus();
    void Refresh(); // repaint now

    // Placement of the window (pixels, frame excluded); a size of -1 keeps the current one.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width = -1, int height = -1);
    // Kept above every other window (or not), without moving or sizing it.
    void setTopMost(bool topMost);
    // Whether the window's close box is offered; without it the user cannot close the window from its frame.
    void setCloseButtonEnabled(bool enabled);
    // Flashes the window's entry in the task bar (or its caption) once to draw the user's attention.
    void Flash();

    // The window (a QMainWindow: menu bar and content); nullptr before the first Load. After Unload it stays
    // (hidden) until the form object goes.
    QWidget* widget() const;
    // What the user sees as the window: the MDI sub-window for an MDI child, else widget().
    QWidget* frameWidget() const;
    // The size of the frame that holds the whole content (its menu bar, borders and title bar included), as
    // an MDI child takes it when first shown; a window that places itself asks this for the height.
    QSize frameSizeForContent() const;

    // Controls registered by name (first match; with index for control arrays).
    Control* control(const QString& name, int index = -1) const;
    const std::vector<Control*>& controls() const { return controls_; }

    // Procedures callable by name (RefreshFormVals, SetMode, UdStatusIndicators, ...).
    bool hasProc(const QString& name) const;
    bool callProc(const QString& name); // false when the form has no such procedure

    // Window placement in the main window's MDI area, or a top-level (dialog-style) window.
    bool isMdiChild() const { return mdiChild_; }

    // Owner of a top-level window (kept above it).
    void setOwnerForm(Form* owner);
    Form* ownerForm() const { return ownerForm_; }

protected:
    void setMdiChild(bool mdiChild) { mdiChild_ = mdiChild; }
    // Gives the window a handle of the caller's choosing (non-zero, below 0x80000000: the handles made
    // here have the top bit set, so the two never meet). The main window uses it for the running copy's
    // identity.
    void setHWnd(uint32_t hwnd);
    void registerProc(const QString& name, std::function<void()> proc);

    // Builds the window's layout from the controls' widgets inside `window`.
    virtual void buildUi(QWidget* window);
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Resize() {}
    virtual void Form_Paint() {}
    virtual void Form_QueryUnload(int& cancel, int unloadMode) { (void)cancel, (void)unloadMode; }
    virtual void Form_Unload(int& cancel) { (void)cancel; }

private:
    friend class Control;
    friend class FormWindowBridge;
    friend class MdiForm;
    friend class Forms;
    void addControl(Control* control);
    void removeControl(Control* control);

    // The steps of Unload, also run one by one by the MDI frame for its children.
    bool runQueryUnload(int unloadMode);
    bool runUnloadEvent();
    void tearDown();
    void createWindow();
    // Asks the window system to activate the (top-level) window, noting that its answer is still due.
    void askActivation();
    void applyOwner();
    bool closeButtonEnabled() const;
    // Called after buildUi, with the content widget (the MDI frame places its client area here).
    virtual void windowBuilt(QWidget* content) { (void)content; }

    QString name_;
    bool mdiChild_ = false;
    Form* ownerForm_ = nullptr;
    std::vector<Control*> controls_;
    std::map<QString, std::function<void()>> procs_;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace ui
