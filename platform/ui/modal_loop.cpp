#include "platform/ui/modal_loop.h"

#include "platform/ui/app.h"
#include "platform/ui/event_nesting.h"
#include "platform/ui/form.h"
#include "platform/ui/modal_hook.h"
#include "platform/ui/virtual_clock.h"

#include <QEventLoop>
#include <cstdint>

namespace ui {

namespace {

ModalShowHook& modalShowHook()
{
    static ModalShowHook hook;
    return hook;
}

struct ModalTimeout {
    ModalTimeoutHook hook;
    int64_t limitMs = 60'000;
};

ModalTimeout& modalTimeout()
{
    static ModalTimeout timeout;
    return timeout;
}

} // namespace

void setModalShowHook(ModalShowHook hook)
{
    modalShowHook() = std::move(hook);
}

void setModalTimeoutHook(ModalTimeoutHook hook, int64_t limitMs)
{
    modalTimeout().hook = std::move(hook);
    modalTimeout().limitMs = limitMs;
}

namespace detail {

bool ModalLoop::offerToShowHook(Form& form)
{
    if (!modalShowHook())
        return false;
    modalShowHook()(form);
    return true;
}

void ModalLoop::run(Form& form, const std::function<bool()>& stillShown)
{
    NestingScope nesting(NestingScope::Kind::WaitForUser);
    if (VirtualClock* clock = installedVirtualClock()) {
        const int64_t start = clock->now();
        while (stillShown()) {
            if (clock->now() - start > modalTimeout().limitMs) {
                if (modalTimeout().hook)
                    modalTimeout().hook(form);
                form.Hide();
                break;
            }
            DoEvents();
        }
        return;
    }
    if (!stillShown())
        return;
    QEventLoop loop;
    loop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
}

void ModalLoop::quit()
{
    if (loop_)
        loop_->quit();
}

} // namespace detail
} // namespace ui
