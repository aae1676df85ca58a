#include "boardui/text_selection.h"

#include "platform/ui/controls_textbox.h"

void SelectAllText(ui::TextBox& box)
{
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
}
