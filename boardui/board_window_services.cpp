#include "boardui/board_window_services.h"

#include "board/hourglass.h"
#include "board/window_services.h"
#include "platform/ui/app.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"
#include "platform/ui/virtual_clock.h"

#include <algorithm>
#include <cmath>

namespace {

// The text box of a window, the window loaded first; nullptr when there is no such window or box.
ui::TextBox* textBoxOf(const QString& form, const QString& box)
{
    ui::Form* window = ui::Forms::load(form);
    if (window == nullptr)
        return nullptr;
    return dynamic_cast<ui::TextBox*>(window->control(box));
}

class ProgramWindows : public boardwin::WindowServices {
public:
    void doEvents() override { ui::DoEvents(); }
    double timer() override { return ui::Timer(); }

    void waitTurn(double secondsLeft, bool yield) override
    {
        if (yield) {
            // The events that come in run; without any the thread rests on the event loop until the time
            // is up.
            ui::DoEventsWaiting(static_cast<int>(std::ceil(std::max(secondsLeft, 0.0) * 1000.0)));
            return;
        }
        // The tests' virtual clock moves only when something moves it: a turn that does not yield lets
        // it run on by a millisecond without firing any timer.
        if (ui::VirtualClock* clock = ui::installedVirtualClock()) {
            clock->setTimeOfDay(0, 0, 0, static_cast<int>(clock->timeOfDayMs() + 1));
            return;
        }
        WindowServices::waitTurn(secondsLeft, false);
    }

    bool isLoaded(const QString& form) override { return ui::Forms::isLoaded(form); }
    void callIfLoaded(const QString& form, const QString& procedure) override
    {
        ui::Forms::callIfLoaded(form, procedure);
    }
    void callOnAll(const QString& procedure) override { ui::Forms::callOnAll(procedure); }

    std::optional<QString> textBoxText(const QString& form, const QString& box) override
    {
        if (const ui::TextBox* textBox = textBoxOf(form, box))
            return textBox->Text();
        return std::nullopt;
    }
    bool setTextBoxText(const QString& form, const QString& box, const QString& text) override
    {
        ui::TextBox* textBox = textBoxOf(form, box);
        if (textBox == nullptr)
            return false;
        textBox->setText(text);
        return true;
    }

    int screenMousePointer() override { return ui::ScreenMousePointer(); }
    void setScreenMousePointer(int pointer) override { ui::setScreenMousePointer(pointer); }
};

// The board module asks for the hourglass by its number.
static_assert(HourglassPointer::kHourglass == ui::vbHourglass);

} // namespace

boardwin::WindowServices& boardWindowServices()
{
    static ProgramWindows services;
    return services;
}

void InstallBoardWindowServices()
{
    boardwin::setWindowServices(&boardWindowServices());
}
