#include "board/progress.h"

namespace {

ProgressSink* gSink = nullptr;

} // namespace

void setProgressSink(ProgressSink* sink)
{
    gSink = sink;
}

ProgressSink* progressSink()
{
    return gSink;
}

void InitProgressBar(int32_t min, int32_t max, const QString& text)
{
    if (gSink)
        gSink->init(min, max, text);
}

void SetProgressBarValue(int32_t value)
{
    if (gSink)
        gSink->setValue(value);
}

void ResetProgressBar()
{
    if (gSink)
        gSink->reset();
}
