#pragma once

// The global progress bar as the board module drives it. The bar itself (goProgressBar, a widget in the
// main window's status bar) lives in a layer above this one, so the board module talks to whatever sink
// that layer installs here; with none installed every call does nothing.

#include <QString>
#include <cstdint>

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Min = min, Max = max, Text = text, then Value = min.
    virtual void init(int32_t min, int32_t max, const QString& text) = 0;
    virtual void setValue(int32_t value) = 0;
    // Text empty, the button-face background back, then Value = the bar's current Min.
    virtual void reset() = 0;
};

// Installs the sink the three calls below reach (nullptr: none). The sink is not owned; whoever installs it
// removes it before it goes.
void setProgressSink(ProgressSink* sink);
ProgressSink* progressSink();

void InitProgressBar(int32_t min, int32_t max, const QString& text);
void SetProgressBarValue(int32_t value);
void ResetProgressBar();

// The same three under the names the setup-file code calls them by.
inline void ebInitProgress(int32_t min, int32_t max, const QString& text)
{
    InitProgressBar(min, max, text);
}
inline void ebSetProgressValue(int32_t value)
{
    SetProgressBarValue(value);
}
inline void ebResetProgress()
{
    ResetProgressBar();
}

// Starts the bar and resets it when the scope ends, whichever way it ends.
class ProgressBarScope {
public:
    ProgressBarScope(int32_t min, int32_t max, const QString& text) { InitProgressBar(min, max, text); }
    ~ProgressBarScope() { ResetProgressBar(); }
    ProgressBarScope(const ProgressBarScope&) = delete;
    ProgressBarScope& operator=(const ProgressBarScope&) = delete;
};
