#include "platform/ui/mdi_form.h"

#include "platform/ui/form_registry.h"

#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace ui {

MdiForm::MdiForm(QString name) : Form(std::move(name))
{
}

MdiForm::~MdiForm()
{
    QObject::disconnect(activation_);
    if (area_ && !area_->parentWidget())
        delete area_.data();
}

QMdiArea* MdiForm::mdiArea()
{
    if (!area_) {
        area_ = new QMdiArea(widget());
        // A child that reaches beyond the area stays within reach: the area scrolls to it.
        area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        activation_ =
            QObject::connect(area_, &QMdiArea::subWindowActivated, area_, [this](QMdiSubWindow* sub) {
                if (!sub)
                    return;
                for (Form* child : children())
                    if (child->frameWidget() == sub)
                        return detail::setActiveForm(child);
            });
    }
    return area_;
}

std::vector<Form*> MdiForm::children() const
{
    std::vector<Form*> result;
    if (!area_)
        return result;
    for (Form* form : detail::registry().loaded) {
        if (form == this || !form->isMdiChild())
            continue;
        auto* sub = qobject_cast<QMdiSubWindow*>(form->frameWidget());
        if (sub && sub->mdiArea() == area_)
            result.push_back(form);
    }
    return result;
}

Form* MdiForm::activeChild() const
{
    if (!area_ || !area_->activeSubWindow())
        return nullptr;
    for (Form* child : children())
        if (child->frameWidget() == area_->activeSubWindow())
            return child;
    return nullptr;
}

void MdiForm::Arrange(int arrangement)
{
    if (!area_)
        return;
    if (arrangement == 0)
        area_->cascadeSubWindows();
    else
        area_->tileSubWindows();
}

MdiForm* MdiForm::current()
{
    for (Form* form : detail::registry().loaded)
        if (auto* frame = dynamic_cast<MdiForm*>(form))
            return frame;
    return nullptr;
}

void MdiForm::buildUi(QWidget* window)
{
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mdiArea(), 1);
}

void MdiForm::windowBuilt(QWidget* content)
{
    QMdiArea* area = mdiArea();
    if (area->parentWidget() && area->parentWidget() != widget())
        return; // placed by the subclass
    if (!content->layout())
        new QVBoxLayout(content);
    content->layout()->addWidget(area);
}

} // namespace ui
