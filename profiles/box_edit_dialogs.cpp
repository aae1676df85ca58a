#include "profiles/box_edit_dialogs.h"

#include "platform/ui/forms.h"

namespace profiles {

namespace {

template <typename Dialog> Dialog* dialogNamed(const QString& formName)
{
    // Only a window that exists is loaded: without a factory and not loaded, nothing is made.
    if (!ui::Forms::isLoaded(formName) && !ui::Forms::hasFactory(formName))
        return nullptr;
    return dynamic_cast<Dialog*>(ui::Forms::load(formName));
}

} // namespace

bool showBoxEditDialog(const QString& formName, ui::TextBox& box)
{
    BoxEditDialog* dialog = dialogNamed<BoxEditDialog>(formName);
    if (!dialog)
        return false;
    dialog->ShowEditDialog(box);
    return true;
}

bool showRampRateEditDialog(const QString& formName, ui::TextBox& box, const QString& caption,
                            const QString& clock)
{
    RampRateEditDialog* dialog = dialogNamed<RampRateEditDialog>(formName);
    if (!dialog)
        return false;
    dialog->ShowEditDialog(box, caption, clock);
    return true;
}

} // namespace profiles
