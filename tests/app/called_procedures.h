#pragma once

// The window procedures the product's code calls by name (`ui::Forms::callIfLoaded(window, procedure)`),
// read from its sources: what a call names directly, what the table or list its loop walks holds, what
// the callers of a small wrapper hand it, and the window-procedure pairs of a table of calls.

#include <QString>
#include <QStringList>
#include <vector>

namespace calledprocs {

struct CalledPair {
    QString window;
    QString procedure;
    QString where; // "shell/usb_watch.cpp:55"
};

struct SourceCalls {
    std::vector<CalledPair> pairs;
    // The calls whose window or procedure could not be followed to the names' constants.
    QStringList unresolved;
};

// The calls by name in one source (`file` only labels the places). `windows` and `procedures` are the
// constants' names of the names header; a table's pair counts when it names a window then a procedure.
SourceCalls callsIn(const QString& text, const QString& file, const QStringList& windows,
                    const QStringList& procedures);

// The constants of the names header's "Windows." and "Procedures" sections.
struct DeclaredNames {
    QStringList windows;
    QStringList procedures;
};
DeclaredNames declaredNames(const QString& headerText);

} // namespace calledprocs
