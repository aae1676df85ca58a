#pragma once

// The whole-text selection the value boxes make when they take the focus or reject an entry.

namespace ui {
class TextBox;
}

// Selects the box's whole text.
void SelectAllText(ui::TextBox& box);
