#include "widgets/progress_global.h"

#include "board/progress.h"
#include "platform/ui/colors.h"

#include <QCoreApplication>

namespace {

class GlobalBarSink : public ProgressSink {
public:
    void init(int32_t min, int32_t max, const QString& text) override
    {
        cProgressBar& bar = goProgressBar();
        bar.setMin(min);
        bar.setMax(max);
        bar.setText(text);
        bar.setValue(min);
    }
    void setValue(int32_t value) override { goProgressBar().setValue(value); }
    void reset() override
    {
        cProgressBar& bar = goProgressBar();
        bar.setText(QString());
        bar.setBackColor(ui::colors::vbButtonFace);
        bar.setValue(bar.Min());
    }
};

GlobalBarSink& sink()
{
    static GlobalBarSink instance;
    return instance;
}

std::unique_ptr<cProgressBar>& holder()
{
    static std::unique_ptr<cProgressBar> bar;
    return bar;
}

// The bar holds fonts and images: it goes with the application object, not after it.
void releaseAtApplicationEnd()
{
    if (progressSink() == &sink())
        setProgressSink(nullptr);
    holder().reset();
}

void ensureReleasedAtEnd()
{
    static bool registered = false;
    if (!registered && QCoreApplication::instance()) {
        qAddPostRoutine(releaseAtApplicationEnd);
        registered = true;
    }
}

} // namespace

void InstallProgressBarSink()
{
    setProgressSink(&sink());
    ensureReleasedAtEnd();
}

cProgressBar& goProgressBar()
{
    std::unique_ptr<cProgressBar>& bar = holder();
    if (!bar)
        bar = std::make_unique<cProgressBar>();
    if (!progressSink())
        InstallProgressBarSink();
    ensureReleasedAtEnd();
    return *bar;
}

std::unique_ptr<cProgressBar> ReplaceProgressBar(std::unique_ptr<cProgressBar> next)
{
    std::unique_ptr<cProgressBar> previous = std::move(holder());
    holder() = std::move(next);
    ensureReleasedAtEnd();
    return previous;
}
