#pragma once

#include "platform/ui/form.h"

#include <QPointer>
#include <vector>

class QMdiArea;

namespace ui {

// The multiple-document frame: a form whose content holds an MDI client area. Forms that call
// setMdiChild(true) load into the area of the loaded frame as sub-windows (they stay top-level windows
// when no frame is loaded). Unloading the frame asks every child first: QueryUnload with mode 4
// (vbFormMDIForm) for each child after the frame's own QueryUnload, then the children's Unload, then the
// frame's; a cancel anywhere keeps everything loaded that has not yet gone.
//
// A subclass lays its window out in buildUi: it places mdiArea() among its bars; when it does not place
// the area, the area is added at the end of the content's layout (or fills the content).
class MdiForm : public Form {
public:
    explicit MdiForm(QString name);
    ~MdiForm() override;

    QMdiArea* mdiArea();
    // Loaded MDI children in this frame, in load order.
    std::vector<Form*> children() const;
    // The child whose sub-window is active, or nullptr.
    Form* activeChild() const;
    // 0 cascade, 1 tile horizontally, 2 tile vertically, 3 arrange minimised children (the area's icons).
    void Arrange(int arrangement);

    // The loaded frame, or nullptr.
    static MdiForm* current();

protected:
    void buildUi(QWidget* window) override;

private:
    void windowBuilt(QWidget* content) override;
    QPointer<QMdiArea> area_;
    QMetaObject::Connection activation_;
};

} // namespace ui
