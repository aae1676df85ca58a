#pragma once

// The main window loaded (hidden) over the emulated driver, with stand-in windows that record the
// procedures the main window calls on them by name. Stand-ins are loaded directly, never registered as
// factories, so no other test ever meets them.

#include "board/cls_ezusb.h"
#include "platform/ui/form.h"
#include "platform/usb/emulated_driver.h"
#include "shell/mdi_main.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace mainwindowtest {

QStringList& journal();

// A window named like one of the program's, recording "name.procedure" for each procedure it offers and
// "name:QueryUnload mode" / "name:Unload" for its unload events.
class StandIn : public ui::Form {
public:
    StandIn(const QString& name, const QStringList& procedures, bool mdiChild = false);
    // Runs inside every recorded procedure, after it was recorded.
    std::function<void()> during;

protected:
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
};

class MainWindowTest : public ::testing::Test {
protected:
    usb::ScopedEmulatedDriver scoped;
    usb::EmulatedDriver& drv = scoped.get();
    ScopedEZUSB ezusb;
    mdiMain* mdi = nullptr;

    MainWindowTest();
    ~MainWindowTest() override;

    // Attaches a board at `slot`, enumerates and selects it with this copy's identifier, and brings the
    // board object's buffers to its levels, as start-up does.
    usb::EmulatedBoard& plugAndSelect(int slot = 0, const usb::BoardOptions& options = {});
    // Lets the USB watch run `ticks` times.
    void tick(int ticks = 1);
    int bulkCount() const;
    int requestCount() const { return static_cast<int>(drv.trace().size()); }
};

} // namespace mainwindowtest
