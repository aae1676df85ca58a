#pragma once

// mConditional: the run mode from access keywords, on the command line or typed in the About window.
// Only giRunMode is set here; each window applies the mode in its own SetMode.

#include <QString>

// Sets giRunMode from gsCmdLine: the first of "-" and the keywords of modes 5, 4, 3, 2, 1 found anywhere
// in it decides (case-sensitive; the command line is upper case already); none found gives 0.
void SetRunModeFromCommand();

// Sets giRunMode from a typed word (any case): gsCmdLine becomes "-" and the word in upper case, the
// mode is the keyword it equals (0 for any other word); the word is emptied and every loaded window's
// SetMode runs. An empty word changes nothing.
void SetRunModeFromText(QString& word);

// Tells the windows the run mode is new (BoardNotices::RunModeChanged): every loaded window that has
// SetMode runs it, in load order.
void SetModeAllForms();
