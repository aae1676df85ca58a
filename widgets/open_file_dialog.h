#pragma once

// The open dialog behind a window's "select file" button: one file, from a folder that must exist, the
// filter's first entry selected.

#include <QString>
#include <cstdint>
#include <optional>

// The file the user chose, or nothing after Cancel. `initialFolder` empty: the dialog's own choice;
// `defaultExtension` is added to a name typed without one; `owner` is the window the dialog belongs to.
std::optional<QString> chooseFileToOpen(const QString& filter, const QString& initialFolder,
                                        const QString& title, const QString& defaultExtension, int32_t owner);
