// The main window's use of the status-bar progress bar.

#include "shell/mdi_main_progress.h"

#include "widgets/progress_global.h"

#include "platform/ui/colors.h"
#include "platform/ui/controls_picture.h"

void installProgressBar(ui::PictureBox& surface)
{
    auto bar = std::make_unique<cProgressBar>();
    bar->setMin(0);
    bar->setMax(80);
    bar->setTag(QStringLiteral("5"));
    bar->setShowText(true);
    bar->setBackColor(ui::colors::vbButtonFace);
    bar->setBarColor(ui::colors::vbHighlight);
    bar->setValue(0);
    bar->setDrawObject(&surface);
    ReplaceProgressBar(std::move(bar));
    InstallProgressBarSink();
}

void progressBarBegin(int32_t max, const QString& text)
{
    cProgressBar& bar = goProgressBar();
    bar.setMin(0);
    bar.setMax(max);
    bar.setValue(0);
    bar.setText(text);
    bar.setBackColor(ui::colors::vbButtonFace);
}

void progressBarValue(int32_t value)
{
    goProgressBar().setValue(value);
}

void progressBarEnd(bool success, const QString& errorText)
{
    cProgressBar& bar = goProgressBar();
    bar.setValue(0);
    if (success) {
        bar.setText(QString());
        return;
    }
    bar.setBackColor(ui::colors::vbRed);
    bar.setText(errorText);
}
